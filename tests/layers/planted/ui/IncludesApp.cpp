// Window code below src/app/ may not include the application.
#include "controls/Alert.h"
#include "app/CustomWindow.h"
