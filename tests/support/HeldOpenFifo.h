#pragma once

#include <cstddef>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zentrova::test {

// A FIFO that this object holds open at both ends, with kWaiting bytes in
// it. A reader that opens it anyway then waits neither for a writer nor for
// bytes (up to kWaiting of them), so a test of "FIFOs are refused" fails at
// once instead of hanging when they are not.
class HeldOpenFifo {
public:
    static constexpr std::size_t kWaiting = 4096;

    explicit HeldOpenFifo(const std::filesystem::path& path) {
        if (::mkfifo(path.c_str(), 0644) != 0) return;
        m_fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        const char zeros[kWaiting] = {};
        if (m_fd >= 0 && ::write(m_fd, zeros, kWaiting) != static_cast<ssize_t>(kWaiting)) {
            ::close(m_fd);
            m_fd = -1;
        }
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
