#pragma once

#include "playback/FramePrinter.h"
#include "playback/PrintSystem.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

class QDialog;
class QFileDialog;
class QPrinter;
class QTemporaryFile;
class QWidget;

namespace zentrova {

class ORVMediaPlayer;

// The main window's capture and print commands: the main player's current
// picture is written as a JPEG at the video's size to a private temporary
// file, then saved under a name the user chooses and opened in the
// default viewer, or printed on a printer that accepts JPEG.
class FrameCaptureController : public QObject {
    Q_OBJECT
public:
    // Part of the temporary file's name.
    static constexpr const char* kFrameFileName = "zentrova_capture";
    static constexpr const char* kProposedName = "zentrova_capture.png";

    FrameCaptureController(QWidget* window, std::shared_ptr<PrintSystem> printSystem, QObject* parent = nullptr);
    ~FrameCaptureController() override;

    // The player whose picture is taken.
    void setPlayer(ORVMediaPlayer* player) { m_player = player; }

    // Capture needs a playing main player, print only its media.
    bool canCapture() const;
    bool canPrint() const;

    // The kept print settings, made on first use.
    QPrinter* loadPrintInfo();
    QPrinter* printInfo() const { return m_printInfo.get(); }
    // Where the frame was last written; empty before the first.
    QString frameFilePath() const;

    // The save dialog as it opens: titled, in the desktop folder (home when
    // there is none), the name proposed, folders can be made, hidden files
    // are shown, and an existing file is never offered for replacing.
    static QFileDialog* makeSaveDialog(QWidget* parent);
    static QString saveFolder();
    // Copies the frame file to a new file; false, with the reason in
    // error, when the target exists or cannot be written. A target that
    // exists is never touched.
    static bool saveCopy(const QString& from, const QString& to, QString* error);

    // What the print dialog chose, as the print system takes it.
    static FramePrinter::Request printRequestFor(const QPrinter& printer, const QString& framePath);

    // Called with the save and print dialogs as soon as they are open, so
    // that tests can read and answer them.
    using DialogOpenedHook = std::function<void(QDialog& dialog)>;
    void setDialogOpenedHook(DialogOpenedHook hook) { m_dialogOpened = std::move(hook); }
    // Opens a file in the default viewer; QDesktopServices by default.
    using UrlOpener = std::function<bool(const QUrl& url)>;
    void setUrlOpener(UrlOpener opener) { m_openUrl = std::move(opener); }

public slots:
    void captureVideo();
    void print();
    void printPanelDidEnd(int returnCode);

signals:
    // A FramePrinter::Outcome, once the print (done away from the main
    // thread) was handed on or refused.
    void printFinished(int outcome);

private:
    bool writeFrame();
    void saveDialogDidEnd(const QString& chosen);
    void tellFailure(const QString& message);
    void showDialog(QDialog* dialog);

    QPointer<QWidget> m_window;
    std::shared_ptr<PrintSystem> m_printSystem;
    QPointer<ORVMediaPlayer> m_player;
    std::unique_ptr<QPrinter> m_printInfo;
    std::unique_ptr<QTemporaryFile> m_frameFile;
    DialogOpenedHook m_dialogOpened;
    UrlOpener m_openUrl;
};

}  // namespace zentrova
