// Platform code may not include the Qt layer.
#include "common/Log.h"
#include "controls/UiText.h"
