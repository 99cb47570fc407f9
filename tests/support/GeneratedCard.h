#pragma once

#include "SampleCardGenerator.h"

#include "support/TempDir.h"

#include <string>

namespace zentrova::test {

// A small card made with the real ffmpeg into a temporary folder, with the
// options (and faults) a test asks for.
struct GeneratedCard {
    TempDir dir;
    samplecard::SampleCardResult result;

    explicit GeneratedCard(samplecard::SampleCardOptions options = defaults()) {
        options.outputDirectory = root();
        result = samplecard::SampleCardGenerator(options).generate();
    }

    static samplecard::SampleCardOptions defaults() {
        samplecard::SampleCardOptions options;
        options.width = 160;
        options.height = 90;
        options.durationSeconds = 4;
        options.continuousCount = 3;
        return options;
    }

    std::string root() const { return (dir.path() / "card").string(); }
    const samplecard::SampleCard& card() const { return *result.card; }
    // The path of the n-th recording's file (from 1), as the card check names it.
    std::string relative(int recording, bool rear) const {
        const auto& r = card().recordings.at(static_cast<std::size_t>(recording - 1));
        return (rear ? r.rearPath : r.frontPath).substr(root().size() + 1);
    }
};

}  // namespace zentrova::test
