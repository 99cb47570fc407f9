// Core code may not include Qt.
#include <vector>
#include <QString>
