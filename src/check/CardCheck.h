#pragma once

#include "check/CardCheckReport.h"
#include "recordings/DirectoryLister.h"

#include <cstddef>
#include <functional>
#include <stop_token>
#include <string>
#include <string_view>

namespace zentrova {

struct CardCheckProgress {
    std::size_t done = 0;   // files looked at
    std::size_t total = 0;  // files to look at; 0 while the card is still being listed
    std::string_view path;  // the file being looked at, valid during the call
};

// Checks a card (or any folder of recordings) without writing to it: every
// recording file, the continuity of the continuous recordings, the camera's
// clock against GPS, config.bin and the space by mode. Meant to run on a
// worker thread: progress is called on that thread, and a stop request
// ends the check early with what it has (the report says so).
class CardCheck {
public:
    using ProgressCallback = std::function<void(const CardCheckProgress&)>;

    // How far above a recording's folder its card's config.bin is looked for.
    static constexpr int kCardRootSearchDepth = 3;

    CardCheck(std::string directory, DirectoryLister& lister);

    CardCheckReport run(const ProgressCallback& progress = {}, std::stop_token cancelled = {}) const;

    // The folder of the card a recording file is on: the nearest folder
    // above it that holds config.bin, else the file's own folder.
    static std::string cardRootOf(const std::string& recordingPath);

private:
    void inspectFiles(CardCheckReport& report, const ProgressCallback& progress, std::stop_token cancelled) const;
    static void compareClock(CardCheckReport& report);
    static void checkContinuity(CardCheckReport& report);
    void collectFindings(CardCheckReport& report) const;
    std::string subjectOf(const std::string& path) const;

    std::string m_directory;
    DirectoryLister& m_lister;
};

}  // namespace zentrova
