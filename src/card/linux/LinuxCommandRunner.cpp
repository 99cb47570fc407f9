#include "card/linux/LinuxCommandRunner.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zentrova {
namespace {

class Pipe {
public:
    Pipe() {
        if (::pipe2(m_fds, O_CLOEXEC) != 0) m_fds[0] = m_fds[1] = -1;
    }
    ~Pipe() {
        closeRead();
        closeWrite();
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    bool valid() const { return m_fds[0] >= 0; }
    int readEnd() const { return m_fds[0]; }
    int writeEnd() const { return m_fds[1]; }
    void closeRead() { closeFd(m_fds[0]); }
    void closeWrite() { closeFd(m_fds[1]); }

private:
    static void closeFd(int& fd) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
    int m_fds[2] = {-1, -1};
};

// Reads both pipes until both are closed, so that a command that fills one
// of them while we wait on the other cannot stall.
void drain(Pipe& output, Pipe& errors, std::string& errorText) {
    pollfd fds[2] = {{output.readEnd(), POLLIN, 0}, {errors.readEnd(), POLLIN, 0}};
    int open = 2;
    char buffer[4096];
    while (open > 0) {
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            const ssize_t got = ::read(fds[i].fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) {
                fds[i].fd = -1;
                --open;
            } else if (i == 1) {
                errorText.append(buffer, static_cast<size_t>(got));
            }
        }
    }
}

int waitForExit(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return status;
}

CommandOutcome notStarted(const std::string& program, int error) {
    CommandOutcome outcome;
    outcome.kind = CommandOutcome::Kind::NotStarted;
    outcome.code = error;
    outcome.program = program;
    outcome.reason = std::strerror(error);
    return outcome;
}

}  // namespace

LinuxCommandRunner::LinuxCommandRunner() : LinuxCommandRunner(Options{}) {}

LinuxCommandRunner::LinuxCommandRunner(Options options) : m_options(std::move(options)) {}

std::vector<std::string> LinuxCommandRunner::commandArguments(const std::vector<std::string>& arguments,
                                                              bool withAdministratorPrivileges) const {
    std::vector<std::string> all;
    const bool elevate = withAdministratorPrivileges && !(m_options.skipPrefixWhenRoot && ::geteuid() == 0);
    if (elevate) all = m_options.privilegePrefix;
    all.insert(all.end(), arguments.begin(), arguments.end());
    return all;
}

CommandOutcome LinuxCommandRunner::runArguments(const std::vector<std::string>& arguments,
                                                bool withAdministratorPrivileges) {
    const std::vector<std::string> all = commandArguments(arguments, withAdministratorPrivileges);
    std::vector<char*> argv;
    for (const std::string& argument : all) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    Pipe output;
    Pipe errors;
    if (!output.valid() || !errors.valid()) return notStarted(all.front(), errno);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, output.writeEnd(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errors.writeEnd(), STDERR_FILENO);
    pid_t pid = 0;
    const int spawnError = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawnError != 0) return notStarted(all.front(), spawnError);

    output.closeWrite();
    errors.closeWrite();
    CommandOutcome outcome;
    drain(output, errors, outcome.errorOutput);
    const int status = waitForExit(pid);
    if (status >= 0 && WIFSIGNALED(status)) {
        outcome.kind = CommandOutcome::Kind::Signalled;
        outcome.code = WTERMSIG(status);
    } else {
        outcome.code = status >= 0 && WIFEXITED(status) ? WEXITSTATUS(status) : 1;
    }
    return outcome;
}

}  // namespace zentrova
