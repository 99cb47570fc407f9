#include "ChildProcess.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zentrova::tools {
namespace {

// Most of a failed run's text is noise; the end says what went wrong.
constexpr std::size_t kKeptErrorText = 4000;

struct Stream {
    int descriptor;
    std::string* text;
    bool keepTailOnly;
};

// False once the stream has ended.
bool readAvailable(Stream& stream) {
    char buffer[4096];
    const ssize_t got = ::read(stream.descriptor, buffer, sizeof buffer);
    if (got < 0) return errno == EINTR || errno == EAGAIN;
    if (got == 0) return false;
    stream.text->append(buffer, static_cast<std::size_t>(got));
    if (stream.keepTailOnly && stream.text->size() > 2 * kKeptErrorText) {
        stream.text->erase(0, stream.text->size() - kKeptErrorText);
    }
    return true;
}

// Both pipes are drained together so that a child filling one of them never
// blocks while we wait on the other.
void readBoth(Stream out, Stream err) {
    pollfd fds[2] = {{out.descriptor, POLLIN, 0}, {err.descriptor, POLLIN, 0}};
    Stream* streams[2] = {&out, &err};
    int open = 2;
    while (open > 0) {
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            if (!readAvailable(*streams[i])) {
                fds[i].fd = -1;
                --open;
            }
        }
    }
}

void closePipe(int ends[2]) {
    ::close(ends[0]);
    ::close(ends[1]);
}

}  // namespace

ProcessResult ChildProcess::run(const std::vector<std::string>& arguments) {
    ProcessResult result;
    if (arguments.empty()) return result;
    int outputPipe[2];
    int errorPipe[2];
    if (::pipe2(outputPipe, O_CLOEXEC) != 0) {
        result.errorOutput = std::strerror(errno);
        return result;
    }
    if (::pipe2(errorPipe, O_CLOEXEC) != 0) {
        result.errorOutput = std::strerror(errno);
        closePipe(outputPipe);
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outputPipe[1], 1);
    posix_spawn_file_actions_adddup2(&actions, errorPipe[1], 2);

    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    pid_t child = 0;
    const int spawned = ::posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(outputPipe[1]);
    ::close(errorPipe[1]);
    if (spawned != 0) {
        ::close(outputPipe[0]);
        ::close(errorPipe[0]);
        result.errorOutput = std::string("cannot start ") + arguments.front() + ": " + std::strerror(spawned);
        return result;
    }
    result.started = true;
    readBoth({outputPipe[0], &result.output, false}, {errorPipe[0], &result.errorOutput, true});
    ::close(outputPipe[0]);
    ::close(errorPipe[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return result;
    }
    if (WIFEXITED(status)) result.exitStatus = WEXITSTATUS(status);
    return result;
}

}  // namespace zentrova::tools
