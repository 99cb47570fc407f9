// The kit of controls builds on the core alone.
#include "common/linux/SystemLog.h"
