#include "playback/FrameCaptureController.h"

#include "controls/Alert.h"
#include "controls/UiText.h"
#include "playback/ORVMediaPlayer.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QtConcurrent/QtConcurrentRun>

namespace zentrova {
namespace {

// A folder only this user can enter: the session's runtime folder, else
// the temporary one, where the unique name and the file's own rights keep
// others out.
QString privateFolder() {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

void addDuplex(QPrinter::DuplexMode duplex, PrintSystem::Options& options) {
    switch (duplex) {
        case QPrinter::DuplexNone: options.emplace_back("sides", "one-sided"); break;
        case QPrinter::DuplexLongSide: options.emplace_back("sides", "two-sided-long-edge"); break;
        case QPrinter::DuplexShortSide: options.emplace_back("sides", "two-sided-short-edge"); break;
        case QPrinter::DuplexAuto: break;
    }
}

}  // namespace

FrameCaptureController::FrameCaptureController(QWidget* window, std::shared_ptr<PrintSystem> printSystem,
                                               QObject* parent)
    : QObject(parent), m_window(window), m_printSystem(std::move(printSystem)) {
    m_openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
}

FrameCaptureController::~FrameCaptureController() = default;

bool FrameCaptureController::canCapture() const { return m_player && m_player->isPlaying(); }

bool FrameCaptureController::canPrint() const { return m_player && m_player->media(); }

QPrinter* FrameCaptureController::loadPrintInfo() {
    if (!m_printInfo) m_printInfo = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return m_printInfo.get();
}

QString FrameCaptureController::frameFilePath() const { return m_frameFile ? m_frameFile->fileName() : QString(); }

// One file for the whole session, made the first time and written over
// by every capture and print; removed when the application ends.
bool FrameCaptureController::writeFrame() {
    if (!m_player) return false;
    if (!m_frameFile) {
        auto file = std::make_unique<QTemporaryFile>(privateFolder() + "/" + kFrameFileName + "_XXXXXX.jpg");
        if (!file->open()) return false;
        file->close();
        m_frameFile = std::move(file);
    }
    return m_player->saveVideoSnapshotAt(m_frameFile->fileName(), 0, 0);
}

void FrameCaptureController::tellFailure(const QString& message) {
    showAlert(m_window, uiText(kAlertTitleWarning.key), message);
}

void FrameCaptureController::showDialog(QDialog* dialog) {
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->open();
    if (m_dialogOpened) m_dialogOpened(*dialog);
}

QString FrameCaptureController::saveFolder() {
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    return !desktop.isEmpty() && QFileInfo(desktop).isDir() ? desktop : QDir::homePath();
}

QFileDialog* FrameCaptureController::makeSaveDialog(QWidget* parent) {
    auto* dialog = new QFileDialog(parent, uiText("capture.save_title"), saveFolder());
    dialog->setObjectName("captureSaveDialog");
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    // Qt's own dialog, because the desktop's ignores the choice to show
    // hidden files. Replacing is never offered: the copy refuses it.
    dialog->setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    dialog->setFilter(dialog->filter() | QDir::Hidden);
    dialog->selectFile(kProposedName);
    return dialog;
}

bool FrameCaptureController::saveCopy(const QString& from, const QString& to, QString* error) {
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        if (error) *error = source.errorString();
        return false;
    }
    QFile target(to);
    // NewOnly fails on a file that exists, also one made a moment ago.
    if (QFileInfo::exists(to) || !target.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (error) *error = QFileInfo::exists(to) ? QString() : target.errorString();
        return false;
    }
    const QByteArray bytes = source.readAll();
    if (target.write(bytes) != bytes.size() || !target.flush()) {
        if (error) *error = target.errorString();
        target.close();
        target.remove();
        return false;
    }
    return true;
}

void FrameCaptureController::captureVideo() {
    if (!canCapture()) return;
    if (!writeFrame()) {
        tellFailure(uiText("capture.no_frame"));
        return;
    }
    QFileDialog* dialog = makeSaveDialog(m_window);
    connect(dialog, &QFileDialog::fileSelected, this, &FrameCaptureController::saveDialogDidEnd);
    showDialog(dialog);
}

void FrameCaptureController::saveDialogDidEnd(const QString& chosen) {
    if (chosen.isEmpty()) return;
    QString error;
    if (!saveCopy(frameFilePath(), chosen, &error)) {
        tellFailure(error.isEmpty() ? uiFormat("capture.exists_fmt", QFileInfo(chosen).fileName())
                                    : uiFormat("capture.copy_failed_fmt", QFileInfo(chosen).fileName(), error));
        return;
    }
    if (m_openUrl) m_openUrl(QUrl::fromLocalFile(frameFilePath()));
}

void FrameCaptureController::print() {
    if (!canPrint()) return;
    if (!writeFrame()) {
        tellFailure(uiText("capture.no_frame"));
        return;
    }
    auto* dialog = new QPrintDialog(loadPrintInfo(), m_window);
    dialog->setObjectName("capturePrintDialog");
    dialog->setOption(QAbstractPrintDialog::PrintShowPageSize, true);
    connect(dialog, &QDialog::finished, this, &FrameCaptureController::printPanelDidEnd);
    showDialog(dialog);
}

FramePrinter::Request FrameCaptureController::printRequestFor(const QPrinter& printer, const QString& framePath) {
    FramePrinter::Request request;
    if (printer.outputFormat() == QPrinter::PdfFormat || !printer.outputFileName().isEmpty()) {
        request.destination = FramePrinter::Destination::File;
    } else if (printer.isValid() && !printer.printerName().isEmpty()) {
        request.destination = FramePrinter::Destination::Printer;
    }
    request.printerName = printer.printerName().toStdString();
    request.framePath = QFile::encodeName(framePath).toStdString();
    if (printer.copyCount() > 1) request.options.emplace_back("copies", std::to_string(printer.copyCount()));
    const QPageLayout layout = printer.pageLayout();
    if (layout.pageSize().isValid()) request.options.emplace_back("media", layout.pageSize().key().toStdString());
    request.options.emplace_back("orientation-requested",
                                 layout.orientation() == QPageLayout::Landscape ? "4" : "3");
    addDuplex(printer.duplex(), request.options);
    if (printer.colorMode() == QPrinter::GrayScale) request.options.emplace_back("print-color-mode", "monochrome");
    return request;
}

void FrameCaptureController::printPanelDidEnd(int returnCode) {
    if (returnCode != QDialog::Accepted || !m_printInfo) return;
    const FramePrinter::Request request = printRequestFor(*m_printInfo, frameFilePath());
    // Asking a printer on the network may take seconds.
    auto* watcher = new QFutureWatcher<FramePrinter::Outcome>(this);
    connect(watcher, &QFutureWatcher<FramePrinter::Outcome>::finished, this, [this, watcher] {
        emit printFinished(static_cast<int>(watcher->result()));
        watcher->deleteLater();
    });
    watcher->setFuture(QtConcurrent::run([system = m_printSystem, request] {
        FramePrinter printer(*system);
        return printer.print(request);
    }));
}

}  // namespace zentrova
