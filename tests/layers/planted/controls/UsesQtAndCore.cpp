// The kit of controls may include Qt, the core and its own headers.
#include <QWidget>
#include "common/Localization.h"
#include "controls/UiText.h"
