#pragma once

#include <ostream>
#include <span>
#include <string>

namespace zentrova {

class FlashDataTable;

int runDrvCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err);

// The table as text: the column titles, then one line per record, every
// column right-aligned to its widest text.
std::string drvTableText(const FlashDataTable& table);

}  // namespace zentrova
