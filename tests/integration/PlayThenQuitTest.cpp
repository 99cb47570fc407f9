// The application ends when its window is closed, whatever it was asked to
// play: run as a process of its own, with a time limit.
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <optional>
#include <string>
#include <thread>

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zentrova {
namespace {

// The exit status of the driver, or none when it had to be killed.
std::optional<int> runDriver(const std::string& card, const std::string& fileName, const std::string& message,
                             std::chrono::seconds limit) {
    const std::string driver = std::string(ZENTROVA_BIN_DIR) + "/play_then_quit_driver";
    char* argv[] = {const_cast<char*>(driver.c_str()), const_cast<char*>(card.c_str()),
                    const_cast<char*>(fileName.c_str()), const_cast<char*>(message.c_str()), nullptr};
    pid_t pid = -1;
    if (::posix_spawn(&pid, argv[0], nullptr, nullptr, argv, environ) != 0) return std::nullopt;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return WIFEXITED(status) ? std::optional<int>(WEXITSTATUS(status)) : std::nullopt;
}

TEST(PlayThenQuitTest, AFifoNamedLikeARecordingIsToldAndClosingTheWindowEndsTheProcess) {
    test::TempDir card;
    // Nobody ever writes to them: whoever opens one to read waits for ever.
    for (const char* name : {"alwa_20240101_120000_F.MP4", "alwa_20240101_120000_R.MP4"}) {
        const std::string fifo = (card.mkdir("Normal") / name).string();
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    }

    const std::optional<int> status =
        runDriver(card.str(), "alwa_20240101_120000_F.MP4",
                  "alwa_20240101_120000_F.MP4 cannot be played: not a regular file (a FIFO)", std::chrono::seconds(40));
    ASSERT_TRUE(status.has_value()) << "the process did not end after its window was closed";
    EXPECT_EQ(*status, 0) << "the window did not tell why the recording is not played";
}

}  // namespace
}  // namespace zentrova
