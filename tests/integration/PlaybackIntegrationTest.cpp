#include "app/ORVAppDelegate.h"
#include "app/MainWindow.h"
#include "playback/FrameCaptureController.h"
#include "common/linux/ProcessUser.h"
#include "playback/WebEngineStartup.h"
#include "playback/ORVPlayController.h"
#include "playback/ORVPlayInfo.h"
#include "playback/VLCLibrary.h"
#include "playback/VLCVideoView.h"
#include "support/AnsweredAlerts.h"
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
#include <string>

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

    // At the end of the 3 s pair the one-file recording (index 2) follows.
    ASSERT_TRUE(QTest::qWaitFor([&] { return control->mediaIndex() == 2; }, 15000));
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

}  // namespace
}  // namespace zentrova
