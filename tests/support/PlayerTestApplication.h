#pragma once

#include "playback/VLCLibrary.h"

#include <QApplication>

namespace zentrova::test {

// The one QApplication of a player test program, with libVLC playing into
// no sound device; made on first use.
inline QApplication& playerTestApplication() {
    static int argc = 1;
    static char name[] = "playback_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        VLCLibrary::setExtraArguments({"--aout=dummy"});
        return new QApplication(argc, argv);
    }();
    return *app;
}

}  // namespace zentrova::test
