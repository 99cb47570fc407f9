// Core code may not include the platform layer above it.
#include "common/Log.h"
#include "common/linux/SystemLog.h"
