#include "ChildProcess.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zentrova::samplecard {
namespace {

// Most of a failed run's text is noise; the end says what went wrong.
constexpr std::size_t kKeptErrorText = 4000;

std::string readAll(int descriptor) {
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(descriptor, buffer, sizeof buffer);
        if (got > 0) {
            text.append(buffer, static_cast<std::size_t>(got));
            if (text.size() > 2 * kKeptErrorText) text.erase(0, text.size() - kKeptErrorText);
        } else if (got == 0 || errno != EINTR) {
            break;
        }
    }
    return text;
}

}  // namespace

ProcessResult ChildProcess::run(const std::vector<std::string>& arguments) {
    ProcessResult result;
    if (arguments.empty()) return result;
    int errorPipe[2];
    if (::pipe2(errorPipe, O_CLOEXEC) != 0) {
        result.errorOutput = std::strerror(errno);
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, errorPipe[1], 2);

    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    pid_t child = 0;
    const int spawned = ::posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(errorPipe[1]);
    if (spawned != 0) {
        ::close(errorPipe[0]);
        result.errorOutput = std::string("cannot start ") + arguments.front() + ": " + std::strerror(spawned);
        return result;
    }
    result.started = true;
    result.errorOutput = readAll(errorPipe[0]);
    ::close(errorPipe[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return result;
    }
    if (WIFEXITED(status)) result.exitStatus = WEXITSTATUS(status);
    return result;
}

}  // namespace zentrova::samplecard
