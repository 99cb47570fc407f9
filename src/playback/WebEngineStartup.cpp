#include "playback/WebEngineStartup.h"

#include <QCoreApplication>
#include <QList>
#include <QtGlobal>

namespace zentrova {

namespace {

// Chromium starts a second helper process beside the renderers' one, for
// helpers that run without a sandbox; the map needs none (its network and
// graphics run inside the application), so it only cost a process start
// (0.15 s of CPU) and its memory. Should one be needed, it is started
// directly instead.
constexpr char kNoUnsandboxedHelperStarter[] = "--no-unsandboxed-zygote";

}  // namespace

QByteArray webEngineFlags(const QByteArray& alreadySet) {
    QByteArray flags = alreadySet.trimmed();
    if (!flags.split(' ').contains(QByteArray(kNoUnsandboxedHelperStarter))) {
        if (!flags.isEmpty()) flags += ' ';
        flags += kNoUnsandboxedHelperStarter;
    }
    return flags;
}

void prepareWebEngine(bool runsAsRoot) {
    // The web views share OpenGL contexts with the widgets.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (runsAsRoot && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", webEngineFlags(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS")));
}

}  // namespace zentrova
