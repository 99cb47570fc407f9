// The kit of controls may not include the windows built on it.
#include <QWidget>
#include "playback/ORVMediaControlView.h"
