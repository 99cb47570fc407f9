#include "common/linux/SystemLog.h"

#include "common/Log.h"

#include <cstdio>
#include <string>
#include <syslog.h>

namespace zentrova {

void installSystemLog(const char* identity) {
    openlog(identity, LOG_PID, LOG_USER);
    setLogSink([](std::string_view line) {
        std::string text(line);
        std::fprintf(stderr, "%s\n", text.c_str());
        syslog(LOG_INFO, "%s", text.c_str());
    });
}

}  // namespace zentrova
