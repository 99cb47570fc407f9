// The command-line companion may not include the Qt layer.
#include "playback/ORVPlayController.h"
