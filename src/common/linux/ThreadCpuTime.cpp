#include "common/linux/ThreadCpuTime.h"

#include <time.h>

namespace zentrova {

std::int64_t threadCpuNanoseconds() {
    timespec now{};
    if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now) != 0) return 0;
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

}  // namespace zentrova
