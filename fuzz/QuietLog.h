#pragma once

#include "common/Log.h"

namespace zentrova::fuzz {

// Log lines of the readers are not wanted while fuzzing.
inline void silenceLog() {
    static const bool quiet = [] {
        setLogSink([](std::string_view) {});
        return true;
    }();
    (void)quiet;
}

}  // namespace zentrova::fuzz
