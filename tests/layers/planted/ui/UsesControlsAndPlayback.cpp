// Window code may include the controls, other windows and the core.
#include <QWidget>
#include "controls/Alert.h"
#include "playback/ORVMapView.h"
#include "recordings/ORVMedia.h"
