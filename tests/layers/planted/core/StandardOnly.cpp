// Core code may include the standard library and other core headers.
#include <string>
#include <vector>
#include "common/Localization.h"
