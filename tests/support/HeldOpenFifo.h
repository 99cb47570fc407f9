#pragma once

#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zentrova::test {

// A FIFO that this object holds open at both ends. A reader that opens it
// anyway then does not wait for a writer but reads nothing, so a test of
// "FIFOs are refused" fails at once instead of hanging when they are not.
class HeldOpenFifo {
public:
    explicit HeldOpenFifo(const std::filesystem::path& path) {
        if (::mkfifo(path.c_str(), 0644) == 0) m_fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    }
    ~HeldOpenFifo() {
        if (m_fd >= 0) ::close(m_fd);
    }
    HeldOpenFifo(const HeldOpenFifo&) = delete;
    HeldOpenFifo& operator=(const HeldOpenFifo&) = delete;

    bool ok() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

}  // namespace zentrova::test
