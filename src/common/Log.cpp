#include "common/Log.h"

#include <cstdio>
#include <mutex>
#include <string>

namespace zentrova {
namespace {

std::mutex& sinkMutex() {
    static std::mutex mutex;
    return mutex;
}

std::function<void(std::string_view)>& sink() {
    static std::function<void(std::string_view)> current;
    return current;
}

}  // namespace

void logLine(std::string_view line) {
    std::lock_guard lock(sinkMutex());
    if (sink()) {
        sink()(line);
        return;
    }
    std::string text(line);
    text.push_back('\n');
    std::fwrite(text.data(), 1, text.size(), stderr);
}

void setLogSink(std::function<void(std::string_view)> newSink) {
    std::lock_guard lock(sinkMutex());
    sink() = std::move(newSink);
}

}  // namespace zentrova
