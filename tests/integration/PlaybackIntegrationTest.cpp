#include "app/ORVAppDelegate.h"
#include "app/MainWindow.h"
#include "playback/FrameCaptureController.h"
#include "common/linux/ProcessUser.h"
#include "playback/WebEngineStartup.h"
#include "playback/ORVMediaControlView.h"
#include "playback/ORVPlayController.h"
#include "playback/ORVPlayInfo.h"
#include "playback/VLCLibrary.h"
#include "playback/TKVideoBackgroundImageView.h"
#include "playback/VLCVideoView.h"
#include "support/AnsweredAlerts.h"
#include "support/Mp4TelemetryBuilder.h"
#include "support/SampleClip.h"
#include "support/WebEngineTeardown.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QToolButton>
#include <QStandardPaths>
#include <QTest>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace zentrova {
namespace {

QApplication& application() {
    static int argc = 1;
    static char name[] = "playback_integration_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        QStandardPaths::setTestModeEnabled(true);
        VLCLibrary::setExtraArguments({"--aout=dummy"});
        prepareWebEngine(runsAsRoot());
        auto* created = new QApplication(argc, argv);
        QCoreApplication::setOrganizationName("zentrova-tests");
        test::destroyApplicationAtTestEnd(created);
        return created;
    }();
    return *app;
}

bool makeClip(const std::string& path, bool withSound) {
    return test::makeClipOnce(path, "-f lavfi -i testsrc2=size=320x180:rate=25:duration=3 " +
                                        std::string(withSound ? "-f lavfi -i sine=frequency=440:duration=3 -c:a aac "
                                                              : "-an ") +
                                        "-c:v libx264 -pix_fmt yuv420p -t 3");
}

// A card of a front/rear pair and a recording with only a front file.
std::string makeCard() {
    const std::string dir = std::string(ZENTROVA_BIN_DIR) + "/../test-media/integration-card/Normal";
    std::filesystem::create_directories(dir);
    const bool made = makeClip(dir + "/alwa_20240101_120000_F.MP4", true) &&
                      makeClip(dir + "/alwa_20240101_120000_R.MP4", false) &&
                      makeClip(dir + "/motion_20240101_120100_F.MP4", true);
    return made ? std::filesystem::path(dir).parent_path().string() : std::string();
}

TEST(PlaybackIntegrationTest, APairPlaysInBothPlayersThenTheNextRecordingStarts) {
    application();
    const std::string card = makeCard();
    ASSERT_FALSE(card.empty()) << "ffmpeg could not make the clips";

    ORVAppDelegate delegate;
    delegate.applicationDidFinishLaunching();
    bool reloaded = false;
    QObject::connect(&delegate, &ORVAppDelegate::mediaListReloaded, [&] { reloaded = true; });
    delegate.openDirectory(QString::fromStdString(card));
    ASSERT_TRUE(QTest::qWaitFor([&] { return reloaded && !delegate.isScanning(); }, 10000));
    ASSERT_EQ(delegate.mediaList().count(), 3u);

    ORVPlayController* control = delegate.playController();
    control->changeAndPlay(0);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return ORVPlayController::isPlaying(control->player1()) && ORVPlayController::isPlaying(control->player2()); },
        10000));
    // libVLC plays a moment before its notice reaches the controller.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !control->waitingForPlayStart(); }, 5000));
    EXPECT_TRUE(control->playInfo()->isPlaying());
    EXPECT_EQ(control->playInfo()->audioMediaDirection(), ORVMediaDirectionFront);

    // The time beside the slider is the player's at each of its notices.
    std::vector<std::string> behind;
    int notices = 0;
    QObject::connect(control->player1(), &ORVMediaPlayer::mediaPlayerTimeChanged, &delegate, [&] {
        const std::int64_t ms = control->player1()->time().intValue();
        if (control->player1()->media() == nullptr || ms >= 2500) return;
        ++notices;
        const QString expected = QString("0:%1").arg(ms / 1000, 2, 10, QChar('0'));
        const QString shown = delegate.mediaControlView()->elapsedTimeText();
        if (shown != expected) behind.push_back(shown.toStdString() + " at " + std::to_string(ms) + " ms");
    });

    // At the end of the 3 s pair the one-file recording (index 2) follows.
    ASSERT_TRUE(QTest::qWaitFor([&] { return control->mediaIndex() == 2; }, 15000));
    EXPECT_GT(notices, 2);
    EXPECT_TRUE(behind.empty()) << behind.size() << " of " << notices << ", first " << behind.front();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ORVPlayController::isPlaying(control->player1()); }, 10000));
    EXPECT_EQ(control->player2()->media(), nullptr);
    EXPECT_TRUE(control->player1()->media()->path().endsWith("motion_20240101_120100_F.MP4"));
}

// Capture while the main player plays, print while it has a recording:
// the head bar's buttons and the menu's keys follow it.
TEST(PlaybackIntegrationTest, CaptureAndPrintAreOfferedOnlyWhenTheMainPlayerAllowsThem) {
    application();
    const std::string card = makeCard();
    ASSERT_FALSE(card.empty()) << "ffmpeg could not make the clips";
    ORVAppDelegate delegate;
    delegate.applicationDidFinishLaunching();
    MainWindow* window = delegate.window();
    auto* captureButton = window->findChild<QToolButton*>("captureButton");
    auto* printButton = window->findChild<QToolButton*>("printButton");
    ASSERT_NE(captureButton, nullptr);
    ASSERT_NE(printButton, nullptr);
    test::AnsweredAlerts alerts;
    int dialogs = 0;
    delegate.captureController()->setDialogOpenedHook([&](QDialog& dialog) {
        ++dialogs;
        dialog.reject();
    });
    const auto offered = [&] { return std::pair(captureButton->isEnabled(), printButton->isEnabled()); };
    EXPECT_EQ(offered(), std::pair(false, false)) << "nothing is offered before a recording plays";

    bool reloaded = false;
    QObject::connect(&delegate, &ORVAppDelegate::mediaListReloaded, [&] { reloaded = true; });
    delegate.openDirectory(QString::fromStdString(card));
    ASSERT_TRUE(QTest::qWaitFor([&] { return reloaded && !delegate.isScanning(); }, 10000));
    ORVPlayController* control = delegate.playController();
    control->changeAndPlay(2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return offered() == std::pair(true, true); }, 10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->mainVideoView()->framesPresented() > 0; }, 10000));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(dialogs, 1) << "Ctrl+S captures while playing";

    control->clickPlayButton();
    ASSERT_TRUE(QTest::qWaitFor([&] { return offered() == std::pair(false, true); }, 5000))
        << "paused: only print";
    // The closed dialog leaves the window to be activated again.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(dialogs, 1);
    QTest::keyClick(window, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(dialogs, 2) << "Ctrl+P prints the paused picture";

    control->stopPlay();
    EXPECT_EQ(offered(), std::pair(false, false)) << "nothing is left to capture or print";
    EXPECT_TRUE(alerts.seen.empty()) << alerts.seen.front().message.toStdString();
}

// A front file as a camera that lost its video leaves it: the telemetry
// track alone, which the player opens and ends at once without an error.
bool writeTelemetryOnlyFile(const std::string& path) {
    test::Mp4TelemetryBuilder builder;
    for (std::uint32_t i = 0; i < 20; ++i) builder.records.push_back({100 + i, 0, 0, 0, 256, 0, '9', "", 0});
    const test::BuiltFile file = builder.build();
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.bytes.data()), static_cast<std::streamsize>(file.bytes.size()));
    return static_cast<bool>(out);
}

// A front file cut short as a power cut leaves it: its index (at the end of
// the file) is lost with the rest.
bool writeCutFile(const std::string& source, const std::string& path, int percent) {
    std::ifstream in(source, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size() * static_cast<std::size_t>(percent) / 100));
    return !bytes.empty() && static_cast<bool>(out);
}

TEST(PlaybackIntegrationTest, AFileThatCannotPlayIsToldAndPassedOverToTheNextRecording) {
    application();
    const std::string media = std::string(ZENTROVA_BIN_DIR) + "/../test-media/integration-unplayable";
    std::filesystem::create_directories(media);
    const std::string whole = media + "/whole.mp4";
    ASSERT_TRUE(makeClip(whole, true));
    struct Case {
        const char* what;
        std::function<bool(const std::string&)> write;
    };
    const Case cases[] = {
        {"telemetry only", writeTelemetryOnlyFile},
        {"cut to half", [&](const std::string& path) { return writeCutFile(whole, path, 50); }},
        {"cut to nine tenths", [&](const std::string& path) { return writeCutFile(whole, path, 90); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string dir = media + "/" + std::string(c.what) + "/Normal";
        std::filesystem::create_directories(dir);
        ASSERT_TRUE(c.write(dir + "/alwa_20240101_130000_F.MP4"));
        ASSERT_TRUE(makeClip(dir + "/alwa_20240101_130100_F.MP4", false));

        ORVAppDelegate delegate;
        delegate.applicationDidFinishLaunching();
        bool reloaded = false;
        QObject::connect(&delegate, &ORVAppDelegate::mediaListReloaded, [&] { reloaded = true; });
        delegate.openDirectory(QString::fromStdString(std::filesystem::path(dir).parent_path().string()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return reloaded && !delegate.isScanning(); }, 10000));
        ASSERT_EQ(delegate.mediaList().count(), 2u);

        ORVPlayController* control = delegate.playController();
        TKVideoBackgroundImageView* area = delegate.window()->mainVideoArea();
        control->changeAndPlay(0);
        // Well before the start's time limit: the player's own end releases it.
        ASSERT_TRUE(QTest::qWaitFor([&] { return !area->message().isEmpty(); }, 8000));
        EXPECT_TRUE(area->message().startsWith("alwa_20240101_130000_F.MP4 cannot be played"))
            << area->message().toStdString();
        ASSERT_TRUE(QTest::qWaitFor([&] { return control->mediaIndex() == 1; }, 5000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return ORVPlayController::isPlaying(control->player1()); }, 10000));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !control->waitingForPlayStart(); }, 5000));
        EXPECT_TRUE(control->player1()->media()->path().endsWith("alwa_20240101_130100_F.MP4"));
    }
}

}  // namespace
}  // namespace zentrova
