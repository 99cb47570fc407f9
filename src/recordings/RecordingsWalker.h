#pragma once

#include <cstddef>
#include <memory>
#include <stop_token>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "recordings/DirectoryLister.h"
#include "recordings/ORVMedia.h"

namespace zentrova {

// Depth-first walk of a directory tree collecting the recording files.
// Hidden entries are included and links followed; each real directory is
// entered once, so a cycle made of links ends and repeats nothing.
class RecordingsWalker {
public:
    static constexpr size_t kMaxFiles = 15000;

    RecordingsWalker(DirectoryLister& lister, std::stop_token stop = {}, size_t maxFiles = kMaxFiles);

    // Appends the accepted files under directory to found; stops at the limit.
    void walk(const std::string& directory, std::vector<std::shared_ptr<ORVMedia>>& found);

    bool stopped() const { return m_stopped; }
    // The folders the walk could not enter, in the order met; the walk
    // itself goes on without them.
    std::vector<UnreadableDirectory> takeUnreadableDirectories() { return std::move(m_unreadable); }

private:
    void walkDirectory(const std::string& directory, const std::string& identity,
                       std::vector<std::shared_ptr<ORVMedia>>& found, int depth);
    bool shouldStop(const std::vector<std::shared_ptr<ORVMedia>>& found);

    DirectoryLister& m_lister;
    std::stop_token m_stop;
    size_t m_maxFiles;
    std::unordered_set<std::string> m_visited;
    // One entry list per depth, reused from folder to folder so that the
    // names' buffers are not allocated afresh; sized once, as the walk holds
    // references into it.
    std::vector<std::vector<DirectoryEntry>> m_entriesByDepth;
    std::string m_pathBuffer;
    std::vector<UnreadableDirectory> m_unreadable;
    bool m_stopped = false;
};

// Whether a file name is a recording the list takes: the extension test is
// the walk's, the rest is the list's acceptance test.
bool isRecordingExtension(std::string_view fileName);
bool isAcceptableRecordingName(std::string_view fileName);

}  // namespace zentrova
