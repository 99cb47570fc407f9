#pragma once

#include "common/linux/ProcessUser.h"
#include "playback/WebEngineStartup.h"
#include "support/WebEngineTeardown.h"

#include <QApplication>
#include <QCoreApplication>
#include <QStringList>
#include <QTest>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInterceptor>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace zentrova::test {

// Sets Qt WebEngine up to run headless (offscreen, no GPU; no sandbox when
// the tests run as root); before the application is made.
inline void prepareHeadlessWebEngine() {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_CHROMIUM_FLAGS")) qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
    prepareWebEngine(runsAsRoot());
}

// The application of the test process, owned by its main (MapTestMain.cpp),
// which destroys it before the process exits.
inline QApplication& webApplication() {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (app == nullptr) {
        std::fputs("map tests: no application; the program's main makes it\n", stderr);
        std::abort();
    }
    return *app;
}

// Stands in for a machine without network while it lives: every request of
// the default profile that does not go to the application's resources fails,
// and each one is noted.
class OfflineInterceptor : public QWebEngineUrlRequestInterceptor {
public:
    OfflineInterceptor() { QWebEngineProfile::defaultProfile()->setUrlRequestInterceptor(this); }
    ~OfflineInterceptor() override { QWebEngineProfile::defaultProfile()->setUrlRequestInterceptor(nullptr); }
    OfflineInterceptor(const OfflineInterceptor&) = delete;
    OfflineInterceptor& operator=(const OfflineInterceptor&) = delete;

    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        const QUrl url = info.requestUrl();
        if (url.scheme() == QLatin1String("qrc")) return;
        blocked << url.toString();
        info.block(true);
    }
    QStringList blocked;
};

// Runs a script in the page and waits for its result; an invalid QVariant
// when the page does not answer in time.
inline QVariant evaluate(QWebEnginePage* page, const QString& script, int timeoutMs = 10000) {
    struct Answer {
        bool done = false;
        QVariant value;
    };
    // Shared, so that a late answer after a timeout writes to live memory.
    auto answer = std::make_shared<Answer>();
    page->runJavaScript(script, [answer](const QVariant& value) {
        answer->value = value;
        answer->done = true;
    });
    if (!QTest::qWaitFor([&] { return answer->done; }, timeoutMs)) return QVariant();
    return answer->value;
}

}  // namespace zentrova::test
