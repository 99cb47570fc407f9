// Platform code may include OS headers, the core and other platform code.
#include <sys/stat.h>
#include <unistd.h>
#include "common/Log.h"
#include "common/linux/SystemLog.h"
