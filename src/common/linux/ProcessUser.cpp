#include "common/linux/ProcessUser.h"

#include <unistd.h>

namespace zentrova {

bool runsAsRoot() { return ::geteuid() == 0; }

}  // namespace zentrova
