#pragma once

#include <csignal>
#include <functional>
#include <string>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zentrova::test {

// Runs work in a forked child after prepare (which may drop rights or set
// limits there, leaving the test process as it was) and returns the text
// work gave; "child failed" when prepare or the child did not succeed.
inline std::string runInChild(const std::function<bool()>& prepare, const std::function<std::string()>& work) {
    int fds[2];
    if (::pipe(fds) != 0) return "pipe failed";
    pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        if (!prepare()) ::_exit(3);
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

// A prepare step that lets no file of the child grow beyond limit bytes, the
// way a full card stops a write part-way ("File too large" instead of a
// signal).
inline std::function<bool()> fileSizeLimit(rlim_t limit) {
    return [limit] {
        std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit rl {limit, limit};
        return ::setrlimit(RLIMIT_FSIZE, &rl) == 0;
    };
}

}  // namespace zentrova::test
