// The command-line companion builds on the core and the platform.
#include <cstdio>
#include "card/CardFormatCommands.h"
#include "card/linux/LinuxVolumeSource.h"
