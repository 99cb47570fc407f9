#pragma once

#include <functional>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace zentrova::test {

// Runs work and returns its text. As root, runs it in a child process that
// has dropped to the nobody user, so that permission bits take effect.
inline std::string runAsUnprivilegedUser(const std::function<std::string()>& work) {
    if (::geteuid() != 0) return work();
    int fds[2];
    if (::pipe(fds) != 0) return "pipe failed";
    pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
        std::string text = work();
        ssize_t written = ::write(fds[1], text.data(), text.size());
        ::_exit(written == static_cast<ssize_t>(text.size()) ? 0 : 4);
    }
    ::close(fds[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "child failed";
    return text;
}

}  // namespace zentrova::test
