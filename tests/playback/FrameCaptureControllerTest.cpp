#include "playback/FrameCaptureController.h"

#include "common/Log.h"
#include "playback/VLCLibrary.h"
#include "playback/VLCVideoView.h"
#include "playback/VlcMediaPlayer.h"
#include "support/AnsweredAlerts.h"
#include "support/PlayerTestApplication.h"
#include "support/SampleClip.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QImageReader>
#include <QPrintDialog>
#include <QPrinter>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>

#include <filesystem>

namespace zentrova {
namespace {

// Twelve seconds of a picture that is red on its left half and blue on its
// right, at a size no view of these tests has.
const QString& redBlueClip() {
    static const QString path = [] {
        const std::string dir = std::string(ZENTROVA_BIN_DIR) + "/../test-media/capture";
        std::filesystem::create_directories(dir);
        const std::string clip = dir + "/alwa_20240101_120000_F.mp4";
        const bool made = test::makeClipOnce(
            clip, " -f lavfi -i color=c=red:s=352x288:r=25:d=12,drawbox=x=176:y=0:w=176:h=288:color=blue:t=fill"
                  " -c:v libx264 -pix_fmt yuv420p -an");
        return made ? QString::fromStdString(clip) : QString();
    }();
    return path;
}

constexpr QSize kVideoSize(352, 288);

class FakePrintSystem : public PrintSystem {
public:
    int calls = 0;
    int findPrinter(const std::string&) override { return ++calls, 0; }
    std::optional<std::vector<std::string>> acceptedFormats(const std::string&) override {
        return ++calls, std::vector<std::string>{"image/jpeg"};
    }
    int printFile(const std::string&, const std::string&, const std::string&, const Options&) override {
        return ++calls, 0;
    }
};

bool isRed(QRgb pixel) { return qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60; }
bool isBlue(QRgb pixel) { return qBlue(pixel) > 200 && qRed(pixel) < 60 && qGreen(pixel) < 60; }

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class FrameCaptureControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::playerTestApplication();
        ASSERT_FALSE(redBlueClip().isEmpty()) << "ffmpeg could not make the sample clip";
        window = std::make_unique<QWidget>();
        window->resize(400, 300);
        view = new VLCVideoView(window.get());
        view->resize(160, 120);
        window->show();
        player = std::make_unique<VlcMediaPlayer>(view);
        ASSERT_TRUE(player->isValid());
        printSystem = std::make_shared<FakePrintSystem>();
        capture = std::make_unique<FrameCaptureController>(window.get(), printSystem);
        capture->setPlayer(player.get());
        capture->setUrlOpener([this](const QUrl& url) {
            opened.push_back(url);
            return true;
        });
        capture->setDialogOpenedHook([this](QDialog& dialog) {
            ++dialogsOpened;
            if (answer) answer(dialog);
        });
        setLogSink([this](std::string_view line) { log.emplace_back(line); });
    }
    void TearDown() override {
        setLogSink({});
        capture.reset();
        player.reset();
        window.reset();
    }

    void playUntilShown() {
        player->setMedia(VLCMedia::mediaWithPath(redBlueClip()));
        player->play();
        ASSERT_TRUE(QTest::qWaitFor([&] { return player->isPlaying() && view->framesPresented() > 3; }, 10000));
    }

    // What the frame file held when the dialog opened.
    struct FrameSeen {
        QByteArray format;
        QImage picture;
    };
    FrameSeen frameNow() const {
        QImageReader reader(capture->frameFilePath());
        reader.setDecideFormatFromContent(true);
        const QByteArray format = reader.format();
        return {format, reader.read()};
    }

    std::unique_ptr<QWidget> window;
    VLCVideoView* view = nullptr;
    std::unique_ptr<VlcMediaPlayer> player;
    std::shared_ptr<FakePrintSystem> printSystem;
    std::unique_ptr<FrameCaptureController> capture;
    std::function<void(QDialog&)> answer;
    int dialogsOpened = 0;
    std::vector<QUrl> opened;
    std::vector<std::string> log;
    test::TempDir folder;
};

TEST_F(FrameCaptureControllerTest, CaptureWithoutAPlayingMainPlayerDoesNothing) {
    test::AnsweredAlerts alerts;
    capture->captureVideo();
    EXPECT_FALSE(capture->canCapture());
    playUntilShown();
    player->pause();
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->state() == VLCMediaPlayerState::Paused; }, 5000));
    EXPECT_FALSE(capture->canCapture());
    EXPECT_TRUE(capture->canPrint()) << "a paused recording can still be printed";
    capture->captureVideo();
    EXPECT_EQ(dialogsOpened, 0);
    EXPECT_TRUE(capture->frameFilePath().isEmpty()) << "no frame is written";
    EXPECT_TRUE(alerts.seen.empty());
}

TEST_F(FrameCaptureControllerTest, CaptureWritesTheVideosPictureAsJpegBeforeTheDialogThenSavesAndOpensIt) {
    playUntilShown();
    const QString target = QString::fromStdString(folder.str() + "/front.png");
    FrameSeen seen;
    answer = [&](QDialog& dialog) {
        seen = frameNow();
        auto& save = static_cast<QFileDialog&>(dialog);
        EXPECT_EQ(save.windowTitle(), "Save Settings");
        EXPECT_EQ(save.acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(save.directory().absolutePath(), QDir(FrameCaptureController::saveFolder()).absolutePath());
        EXPECT_EQ(save.selectedFiles().value(0), save.directory().absoluteFilePath("zentrova_capture.png"));
        EXPECT_TRUE(save.filter() & QDir::Hidden) << "hidden files are shown";
        EXPECT_FALSE(save.testOption(QFileDialog::ReadOnly)) << "folders can be made";
        EXPECT_TRUE(save.testOption(QFileDialog::DontConfirmOverwrite)) << "replacing is never offered";
        EXPECT_EQ(save.windowModality(), Qt::WindowModal);
        save.selectFile(target);
        dialog.accept();
    };
    capture->captureVideo();
    ASSERT_EQ(dialogsOpened, 1);

    EXPECT_EQ(seen.format, "jpeg");
    ASSERT_EQ(seen.picture.size(), kVideoSize) << "the video's own size, not the view's 160x120";
    EXPECT_TRUE(isRed(seen.picture.pixel(80, 144)));
    EXPECT_TRUE(isBlue(seen.picture.pixel(270, 144)));

    EXPECT_EQ(bytesOf(target), bytesOf(capture->frameFilePath())) << "the JPEG itself, whatever the name says";
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(capture->frameFilePath()));
}

TEST_F(FrameCaptureControllerTest, TheFrameFileIsPrivateToTheUserAndKeepsItsName) {
    playUntilShown();
    answer = [](QDialog& dialog) { dialog.reject(); };
    capture->captureVideo();
    const QFileInfo frame(capture->frameFilePath());
    ASSERT_TRUE(frame.exists());
    EXPECT_TRUE(frame.fileName().startsWith("zentrova_capture")) << frame.fileName().toStdString();
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
    EXPECT_FALSE(frame.permissions() & others) << "nobody else may read or replace it";
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty()) {
        EXPECT_EQ(frame.absolutePath(), QDir(runtime).absolutePath());
    }
    EXPECT_NE(frame.absoluteFilePath(), "/tmp/zentrova_capture.jpg");

    const QString first = frame.absoluteFilePath();
    capture->captureVideo();
    EXPECT_EQ(capture->frameFilePath(), first) << "one file, written over by every capture";
    EXPECT_TRUE(opened.empty()) << "cancelling opens nothing";
}

TEST_F(FrameCaptureControllerTest, SavingOverAnExistingFileLeavesItAsItWasAndTellsTheUser) {
    playUntilShown();
    const std::filesystem::path existing = folder.touch("zentrova_capture.png", "the user's own picture");
    test::AnsweredAlerts alerts;
    answer = [&](QDialog& dialog) {
        auto& save = static_cast<QFileDialog&>(dialog);
        save.selectFile(QString::fromStdString(existing.string()));
        dialog.accept();
    };
    capture->captureVideo();
    EXPECT_EQ(bytesOf(QString::fromStdString(existing.string())), "the user's own picture");
    ASSERT_EQ(alerts.seen.size(), 1u);
    EXPECT_TRUE(alerts.seen[0].message.contains("zentrova_capture.png")) << alerts.seen[0].message.toStdString();
    EXPECT_TRUE(alerts.seen[0].message.contains("already exists"));
    EXPECT_TRUE(opened.empty());
}

TEST_F(FrameCaptureControllerTest, ACopyNeverReplacesAndReportsWhyItFailed) {
    const std::filesystem::path frame = folder.touch("frame.jpg", "jpeg bytes");
    const QString from = QString::fromStdString(frame.string());
    const std::filesystem::path kept = folder.touch("kept.jpg", "kept");
    struct Case {
        const char* name;
        QString from;
        QString to;
        bool saved;
        bool reason;  // a reason is told; none for a target that exists
        QByteArray after;
    } cases[] = {
        {"a new file", from, QString::fromStdString(folder.str() + "/new.jpg"), true, false, "jpeg bytes"},
        {"a file that exists", from, QString::fromStdString(kept.string()), false, false, "kept"},
        {"a folder that is not there", from, QString::fromStdString(folder.str() + "/none/new.jpg"), false, true, ""},
        {"no frame file", QString::fromStdString(folder.str() + "/gone.jpg"),
         QString::fromStdString(folder.str() + "/other.jpg"), false, true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QString error;
        EXPECT_EQ(FrameCaptureController::saveCopy(c.from, c.to, &error), c.saved);
        EXPECT_EQ(!error.isEmpty(), c.reason) << error.toStdString();
        EXPECT_EQ(bytesOf(c.to), c.after);
    }
}

TEST_F(FrameCaptureControllerTest, TheSaveDialogStartsOnTheDesktopOrAtHome) {
    const QByteArray home = qgetenv("HOME");
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", QByteArray::fromStdString(folder.str()));
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(folder.str() + "/.config"));
    const QString desktop = QString::fromStdString(folder.str() + "/Desktop");
    const QString named = QString::fromStdString(folder.str() + "/Schreibtisch");
    struct Case {
        const char* name;
        std::function<void()> arrange;
        QString expected;
    } cases[] = {
        {"no desktop folder", [] {}, QString::fromStdString(folder.str())},
        {"the usual desktop folder", [&] { QDir().mkpath(desktop); }, desktop},
        {"the desktop folder the user named",
         [&] {
             QDir().mkpath(named);
             folder.touch(".config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
         },
         named},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.arrange();
        EXPECT_EQ(QDir(FrameCaptureController::saveFolder()).absolutePath(), QDir(c.expected).absolutePath());
    }
    qputenv("HOME", home);
    config.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", config);
}

TEST_F(FrameCaptureControllerTest, APictureThatCannotBeWrittenIsToldAndOpensNoDialog) {
    // A player without a view plays, but has no picture to write.
    VlcMediaPlayer blind(nullptr);
    blind.setMedia(VLCMedia::mediaWithPath(redBlueClip()));
    blind.play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return blind.isPlaying(); }, 10000));
    capture->setPlayer(&blind);
    test::AnsweredAlerts alerts;
    capture->captureVideo();
    capture->print();
    EXPECT_EQ(dialogsOpened, 0);
    ASSERT_EQ(alerts.seen.size(), 2u);
    for (const auto& alert : alerts.seen) {
        EXPECT_TRUE(alert.message.contains("could not be written")) << alert.message.toStdString();
        EXPECT_TRUE(alert.windowModal);
    }
    capture->setPlayer(player.get());
}

TEST_F(FrameCaptureControllerTest, PrintNeedsARecordingAndShowsTheKeptSettingsAsASheetAfterWritingTheFrame) {
    capture->print();
    EXPECT_EQ(dialogsOpened, 0) << "nothing to print without a recording";
    EXPECT_EQ(capture->printInfo(), nullptr);

    playUntilShown();
    player->pause();
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->state() == VLCMediaPlayerState::Paused; }, 5000));
    FrameSeen seen;
    QPrinter* shown = nullptr;
    answer = [&](QDialog& dialog) {
        seen = frameNow();
        shown = static_cast<QPrintDialog&>(dialog).printer();
        EXPECT_EQ(dialog.windowModality(), Qt::WindowModal);
        EXPECT_EQ(dialog.parentWidget(), window.get());
        dialog.reject();
    };
    QSignalSpy finished(capture.get(), &FrameCaptureController::printFinished);
    capture->print();
    ASSERT_EQ(dialogsOpened, 1);
    EXPECT_EQ(seen.format, "jpeg");
    EXPECT_EQ(seen.picture.size(), kVideoSize) << "the paused picture";
    EXPECT_EQ(shown, capture->printInfo());
    QTest::qWait(50);
    EXPECT_EQ(finished.count(), 0) << "a cancelled dialog prints nothing";
    EXPECT_EQ(printSystem->calls, 0);
}

TEST_F(FrameCaptureControllerTest, PrintingToAFileDoesNothingButLogTheDestination) {
    playUntilShown();
    QPrinter* printer = capture->loadPrintInfo();
    printer->setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = QString::fromStdString(folder.str() + "/frame.pdf");
    printer->setOutputFileName(pdf);
    answer = [](QDialog& dialog) { dialog.done(QDialog::Accepted); };
    QSignalSpy finished(capture.get(), &FrameCaptureController::printFinished);
    capture->print();
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_EQ(finished.at(0).at(0).toInt(), static_cast<int>(FramePrinter::Outcome::NotAPrinter));
    EXPECT_EQ(log, std::vector<std::string>{"Either got an error from PMSessionGetDestinationType or the print "
                                            "destination wasn't kPMDestinationPrinter"});
    EXPECT_EQ(printSystem->calls, 0);
    EXPECT_FALSE(QFileInfo::exists(pdf));
}

TEST_F(FrameCaptureControllerTest, ASecondPrintStartsWithTheChoicesOfTheFirst) {
    playUntilShown();
    capture->loadPrintInfo()->setOutputFileName(QString::fromStdString(folder.str() + "/frame.pdf"));
    int copiesShown = 0;
    answer = [&](QDialog& dialog) {
        auto* copies = dialog.findChild<QSpinBox*>("copies");
        ASSERT_NE(copies, nullptr);
        copiesShown = copies->value();
        copies->setValue(3);
        dialog.accept();
    };
    capture->print();
    ASSERT_EQ(copiesShown, 1);
    EXPECT_EQ(capture->printInfo()->copyCount(), 3);
    capture->print();
    EXPECT_EQ(copiesShown, 3) << "the dialog shows what was chosen the first time";
}

TEST_F(FrameCaptureControllerTest, TheDialogsChoicesReachThePrintSystem) {
    using Options = PrintSystem::Options;
    struct Case {
        const char* name;
        std::function<void(QPrinter&)> choose;
        Options expected;
    } cases[] = {
        {"one portrait copy on one side",
         [](QPrinter& p) { p.setDuplex(QPrinter::DuplexNone); },
         {{"media", "A4"}, {"orientation-requested", "3"}, {"sides", "one-sided"}}},
        {"copies, landscape, grey",
         [](QPrinter& p) {
             p.setCopyCount(2);
             p.setPageOrientation(QPageLayout::Landscape);
             p.setColorMode(QPrinter::GrayScale);
         },
         {{"copies", "2"}, {"media", "A4"}, {"orientation-requested", "4"}, {"sides", "one-sided"},
          {"print-color-mode", "monochrome"}}},
        {"letter paper", [](QPrinter& p) { p.setPageSize(QPageSize(QPageSize::Letter)); },
         {{"media", "Letter"}, {"orientation-requested", "3"}, {"sides", "one-sided"}}},
    };
    // Without a printer here Qt's printer is a PDF writer, which cannot
    // print on both sides: the request always asks for one.
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QPrinter printer;
        printer.setPageSize(QPageSize(QPageSize::A4));
        c.choose(printer);
        const FramePrinter::Request request = FrameCaptureController::printRequestFor(printer, "/run/frame.jpg");
        EXPECT_EQ(request.options, c.expected);
        EXPECT_EQ(request.framePath, "/run/frame.jpg");
    }
}

}  // namespace
}  // namespace zentrova
