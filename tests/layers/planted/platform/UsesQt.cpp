// Platform code may not include Qt.
#include <unistd.h>
#include <QFile>
