#pragma once

#include "check/CardCheckReport.h"

#include "recordings/DirectoryLister.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <thread>

namespace zentrova {

// One card check at a time on a worker thread, reporting to the main
// thread: progress as it goes (the latest step only, so a fast check does
// not flood the event loop), then the report, complete or, after
// cancel(), partial. Going away stops the check and waits for the worker.
class CardCheckRun : public QObject {
    Q_OBJECT
public:
    explicit CardCheckRun(QObject* parent = nullptr);
    ~CardCheckRun() override;

    using ListerMaker = std::function<std::unique_ptr<DirectoryLister>()>;

    // Starts a check of the folder, listing it with the system's lister or
    // the one made; false while one is running.
    bool start(const QString& directory, ListerMaker makeLister = {});
    void cancel();
    bool isRunning() const { return m_running; }

signals:
    // total is 0 while the card is being listed.
    void progressed(qulonglong done, qulonglong total, const QString& path);
    void finished(std::shared_ptr<const CardCheckReport> report);

private:
    void reportFinished(std::shared_ptr<const CardCheckReport> report);

    std::jthread m_worker;
    bool m_running = false;
    unsigned m_generation = 0;
};

}  // namespace zentrova
