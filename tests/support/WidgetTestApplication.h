#pragma once

#include <gtest/gtest.h>

#include <QApplication>

namespace zentrova::test {

// The one QApplication of a widget test program, made on first use.
inline QApplication& widgetTestApplication() {
    static int argc = 1;
    static char name[] = "zentrova_widget_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// A fixture whose widgets may be plain members: its base makes the
// application before they are made.
class WidgetTest : public ::testing::Test {
protected:
    WidgetTest() { widgetTestApplication(); }
};

}  // namespace zentrova::test
