#include "playback/WebEngineStartup.h"

#include <QCoreApplication>
#include <QtGlobal>

namespace zentrova {

void prepareWebEngine(bool runsAsRoot) {
    // The web views share OpenGL contexts with the widgets.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (runsAsRoot && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
}

}  // namespace zentrova
