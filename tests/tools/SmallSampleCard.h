#pragma once

#include "SampleCardGenerator.h"

#include "support/TempDir.h"

#include <optional>

namespace zentrova::test {

// One small card per test process (ctest runs every case in a process of
// its own), made with the real ffmpeg into a temporary folder.
struct SmallSampleCard {
    static constexpr int kContinuous = 4;
    static constexpr int kDuration = 3;

    TempDir dir;
    samplecard::SampleCardResult result;

    static const SmallSampleCard& get() {
        static const SmallSampleCard card;
        return card;
    }
    const samplecard::SampleCard& card() const { return *result.card; }

private:
    SmallSampleCard() {
        samplecard::SampleCardOptions options;
        options.outputDirectory = (dir.path() / "card").string();
        options.width = 160;
        options.height = 90;
        options.durationSeconds = kDuration;
        options.continuousCount = kContinuous;
        result = samplecard::SampleCardGenerator(options).generate();
    }
};

}  // namespace zentrova::test
