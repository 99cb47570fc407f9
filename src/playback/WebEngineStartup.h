#pragma once

#include <QByteArray>

namespace zentrova {

// Prepares Qt WebEngine; must run before the QApplication is made. Chromium
// refuses to start as root with its sandbox on, so the sandbox is turned off
// then unless the environment already decides it.
void prepareWebEngine(bool runsAsRoot);

// The Chromium flags to start with, given those already set: ours are added
// after them, each only once.
QByteArray webEngineFlags(const QByteArray& alreadySet);

}  // namespace zentrova
