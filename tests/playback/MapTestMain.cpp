#include "MapTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <cstdio>

// The application lives in main so that it is destroyed before exit():
// destroying it stops the web engine's browser threads. Left to exit(), they
// ran on while the static objects they use were destroyed, and now and then
// corrupted the heap after every test had passed.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    zentrova::test::prepareHeadlessWebEngine();
    int result = 0;
    {
        QApplication app(argc, argv);
        result = RUN_ALL_TESTS();
    }
    const QStringList running = zentrova::test::webEngineThreadsLeftAfterWaiting();
    if (!running.isEmpty()) {
        std::fprintf(stderr, "map tests: the web engine still runs after the application is gone (%s)\n",
                     qPrintable(running.join(QLatin1String(", "))));
        return 1;
    }
    return result;
}
