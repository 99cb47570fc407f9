#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStringList>

#include <chrono>
#include <cstdio>
#include <thread>

namespace zentrova::test {

// The names of this process's threads that only a running web engine has:
// its browser's I/O thread and the service thread of its task pool. Both
// stop when the application is destroyed.
inline QStringList runningWebEngineThreads() {
    QStringList running;
    for (const QString& task : QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm("/proc/self/task/" + task + "/comm");
        if (!comm.open(QIODevice::ReadOnly)) continue;
        const QString name = QString::fromLatin1(comm.readAll().trimmed());
        if (name == QLatin1String("Chrome_IOThread") || name == QLatin1String("ThreadPoolServi")) running << name;
    }
    return running;
}

// The browser's threads are told to stop with the application and end a
// moment later; only threads that never end are a fault.
inline QStringList webEngineThreadsLeftAfterWaiting() {
    QStringList running = runningWebEngineThreads();
    for (int wait = 0; !running.isEmpty() && wait < 500; ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        running = runningWebEngineThreads();
    }
    return running;
}

// Destroys the test program's application once every test has run, while
// main still runs: left to exit(), the web engine's browser threads ran on
// while the static objects they use were destroyed, and now and then
// corrupted the heap after every test had passed.
class ApplicationAtTestEnd : public ::testing::Environment {
public:
    explicit ApplicationAtTestEnd(QApplication* application) : application_(application) {}

    void TearDown() override {
        delete application_;
        application_ = nullptr;
        const QStringList left = webEngineThreadsLeftAfterWaiting();
        if (!left.isEmpty()) {
            ADD_FAILURE() << "the web engine still runs after the application is gone: "
                          << left.join(QLatin1String(", ")).toStdString();
        }
    }

private:
    QApplication* application_;
};

inline void destroyApplicationAtTestEnd(QApplication* application) {
    ::testing::AddGlobalTestEnvironment(new ApplicationAtTestEnd(application));
}

}  // namespace zentrova::test
