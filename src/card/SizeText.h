#pragma once

#include <cstdint>
#include <string>

namespace zentrova {

// A byte count as a short text of at most 6 characters ("7.4 GB", "15 GB",
// "1023 B"), in steps of 1024.
std::string sizeText(std::uint64_t bytes);

}  // namespace zentrova
