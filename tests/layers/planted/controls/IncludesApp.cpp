// The kit of controls may not include the application.
#include "controls/UiText.h"
#include "app/ORVAppDelegate.h"
