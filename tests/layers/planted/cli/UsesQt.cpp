// The command-line companion may not include Qt.
#include <string>
#include <QCoreApplication>
