#include "incident/ui/IncidentExporter.h"

#include "check/CardCheck.h"
#include "controls/Alert.h"
#include "controls/LatestValuePost.h"
#include "controls/ProgressSheet.h"
#include "controls/UiText.h"
#include "incident/IncidentPackageBuilder.h"
#include "incident/IncidentPackageWriter.h"
#include "incident/linux/PosixPackageFolderWriter.h"
#include "recordings/linux/PosixDirectoryLister.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include <chrono>
#include <filesystem>

namespace zentrova {
namespace {

QString systemFolderChooser(QWidget* parent) {
    return QFileDialog::getExistingDirectory(parent, uiText("incident_export.choose_title"), QString(),
                                             QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
}

std::int64_t systemNowUtcMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

std::string pngBytes(const QImage& image) {
    if (image.isNull()) return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return {};
    return bytes.toStdString();
}

}  // namespace

IncidentExporter::IncidentExporter(QWidget* window, Parts parts)
    : QObject(window), m_window(window), m_parts(std::move(parts)) {
    if (!m_parts.chooseFolder) m_parts.chooseFolder = systemFolderChooser;
    if (!m_parts.folders) m_parts.folders = std::make_shared<PosixPackageFolderWriter>();
    if (!m_parts.nowUtcMilliseconds) m_parts.nowUtcMilliseconds = systemNowUtcMilliseconds;
}

IncidentExporter::~IncidentExporter() {
    // A package half written is removed by the writer when it stops.
    m_worker.request_stop();
    if (m_worker.joinable()) m_worker.join();
}

QString IncidentExporter::freeFolderIn(const QString& folder, const QString& name) {
    const QDir dir(folder);
    QString candidate = dir.filePath(name);
    for (int n = 2; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++n) {
        candidate = dir.filePath(name + QStringLiteral("-%1").arg(n));
    }
    return candidate;
}

bool IncidentExporter::exportRecording(const QString& recordingPath, const QImage& capture) {
    if (m_exporting || recordingPath.isEmpty()) return false;
    const QString folder = m_parts.chooseFolder(m_window);
    if (folder.isEmpty()) return false;
    if (m_worker.joinable()) m_worker.join();
    m_exporting = true;
    m_sheet = new ProgressSheet(m_window);
    m_sheet->setObjectName(QStringLiteral("incidentExportSheet"));
    m_sheet->setMessage(uiText("incident_export.checking"));
    m_sheet->setBusy();
    m_sheet->showSheet();

    LatestValuePost<Step> steps(this, [this](const Step& step) { showStep(step); });
    auto job = [this, steps, folder, path = recordingPath.toStdString(), picture = pngBytes(capture),
                createdBy = QCoreApplication::applicationName() + ' ' + QCoreApplication::applicationVersion(),
                now = m_parts.nowUtcMilliseconds(), folders = m_parts.folders](std::stop_token stop) {
        Outcome outcome;
        PosixDirectoryLister lister;
        const CardCheckReport check = CardCheck(CardCheck::cardRootOf(path), lister).run(
            [&](const CardCheckProgress& step) {
                steps.post(Step{0, step.total ? double(step.done) / double(step.total) : 0.0, {}});
            },
            stop);
        IncidentRequest request;
        request.recordingPath = path;
        request.cardCheck = &check;
        request.createdUtcMilliseconds = now;
        request.createdBy = createdBy.toStdString();
        IncidentBuild build = IncidentPackageBuilder::build(request);
        if (build.package && !picture.empty()) {
            if (auto error = build.package->addFile(kCaptureName, "capture", picture)) build.error = *error;
        }
        if (!build.package || !build.error.empty()) {
            outcome.error = QString::fromStdString(build.error);
        } else {
            const QString target = freeFolderIn(folder, QString::fromStdString(build.folderName));
            IncidentPackageWriter writer(*folders);
            const PackageResult result = writer.write(
                *build.package, target.toStdString(),
                [&](const PackageProgress& progress) {
                    steps.post(Step{1, progress.totalBytes ? double(progress.doneBytes) / double(progress.totalBytes) : 1.0,
                                    std::string(progress.file)});
                },
                stop);
            if (result.error) {
                outcome.error = QString::fromStdString(*result.error);
            } else {
                outcome.packagePath = target;
                outcome.files = result.files.size();
            }
        }
        QMetaObject::invokeMethod(this, [this, outcome] { finish(outcome); }, Qt::QueuedConnection);
    };
    m_worker = std::jthread(std::move(job));
    return true;
}

void IncidentExporter::showStep(const Step& step) {
    if (!m_exporting || !m_sheet) return;
    m_sheet->setMessage(step.stage == 0 ? uiText("incident_export.checking")
                                        : uiFormat("incident_export.writing_fmt", QString::fromStdString(step.file)));
    m_sheet->setFraction(step.fraction);
}

void IncidentExporter::finish(const Outcome& outcome) {
    m_exporting = false;
    if (m_sheet) {
        m_sheet->closeSheet();
        m_sheet->deleteLater();
    }
    if (outcome.packagePath.isEmpty()) {
        showAlert(m_window, uiText("incident_export.failed_title"),
                  uiFormat("incident_export.failed_fmt", outcome.error));
    } else {
        QMessageBox* done = showAlert(m_window, uiText("incident_export.done_title"),
                                      uiFormat("incident_export.done_fmt", outcome.packagePath,
                                               QString::number(outcome.files)));
        done->setIcon(QMessageBox::Information);
    }
    emit exportFinished(outcome.packagePath, outcome.error);
}

}  // namespace zentrova
