#pragma once

#include <cstdint>

namespace zentrova {

// The CPU time the calling thread has used, in nanoseconds.
std::int64_t threadCpuNanoseconds();

}  // namespace zentrova
