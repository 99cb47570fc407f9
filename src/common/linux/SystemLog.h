#pragma once

namespace zentrova {

// Sends log lines to standard error and to the system journal (syslog).
void installSystemLog(const char* identity);

}  // namespace zentrova
