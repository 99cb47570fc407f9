#pragma once

#include "common/linux/ProcessUser.h"
#include "playback/WebEngineStartup.h"
#include "support/WebEngineTeardown.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QStandardPaths>

namespace zentrova::test {

// The application of the main window's tests: its map needs the web
// engine prepared before the application is made, and its settings a
// test location.
inline QApplication& appTestApplication() {
    static int argc = 1;
    static char name[] = "app_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        QStandardPaths::setTestModeEnabled(true);
        prepareWebEngine(runsAsRoot());
        auto* created = new QApplication(argc, argv);
        QCoreApplication::setOrganizationName("zentrova-tests");
        QCoreApplication::setApplicationName("Zentrova");
        QCoreApplication::setApplicationVersion("9.8.7");
        destroyApplicationAtTestEnd(created);
        return created;
    }();
    return *app;
}

// A fixture whose widgets may be plain members: its base makes the
// application before they are made.
class AppWidgetTest : public ::testing::Test {
protected:
    AppWidgetTest() { appTestApplication(); }
};

}  // namespace zentrova::test
