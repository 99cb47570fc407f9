#include "check/ui/CardCheckRun.h"

#include "check/CardCheck.h"
#include "controls/LatestValuePost.h"
#include "recordings/linux/PosixDirectoryLister.h"

#include <QMetaObject>

#include <string>

namespace zentrova {
namespace {

struct Step {
    unsigned generation = 0;
    std::size_t done = 0;
    std::size_t total = 0;
    std::string path;
};

}  // namespace

CardCheckRun::CardCheckRun(QObject* parent) : QObject(parent) {}

CardCheckRun::~CardCheckRun() {
    // What the worker still posts to this object is dropped with it.
    m_worker.request_stop();
    if (m_worker.joinable()) m_worker.join();
}

bool CardCheckRun::start(const QString& directory, ListerMaker makeLister) {
    if (m_running) return false;
    if (m_worker.joinable()) m_worker.join();
    m_running = true;
    const unsigned generation = ++m_generation;
    // A late step of this check must not show once it has finished.
    LatestValuePost<Step> steps(this, [this](const Step& step) {
        if (m_running && step.generation == m_generation) {
            emit progressed(step.done, step.total, QString::fromStdString(step.path));
        }
    });
    std::unique_ptr<DirectoryLister> lister =
        makeLister ? makeLister() : std::make_unique<PosixDirectoryLister>();
    m_worker = std::jthread([this, steps, generation, folder = directory.toStdString(),
                             lister = std::move(lister)](std::stop_token stop) {
        const auto progress = [&](const CardCheckProgress& step) {
            steps.post(Step{generation, step.done, step.total, std::string(step.path)});
        };
        auto report = std::make_shared<const CardCheckReport>(CardCheck(folder, *lister).run(progress, stop));
        QMetaObject::invokeMethod(this, [this, report] { reportFinished(report); }, Qt::QueuedConnection);
    });
    return true;
}

void CardCheckRun::cancel() {
    if (m_running) m_worker.request_stop();
}

void CardCheckRun::reportFinished(std::shared_ptr<const CardCheckReport> report) {
    m_running = false;
    emit finished(std::move(report));
}

}  // namespace zentrova
