#pragma once

#include "support/ChildProcess.h"

#include <functional>
#include <string>

#include <unistd.h>

namespace zentrova::test {

// Runs work and returns its text. As root, runs it in a child process that
// has dropped to the nobody user, so that permission bits take effect.
inline std::string runAsUnprivilegedUser(const std::function<std::string()>& work) {
    if (::geteuid() != 0) return work();
    return runInChild([] { return ::setgid(65534) == 0 && ::setuid(65534) == 0; }, work);
}

}  // namespace zentrova::test
