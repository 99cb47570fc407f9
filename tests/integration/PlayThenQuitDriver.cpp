// Opens a card, plays one of its recordings, closes the window and returns
// from main as the application does, so that a test can see the process end.
// Usage: play_then_quit_driver CARD FILE_NAME MESSAGE; exit 0 when the
// window showed MESSAGE, 1 when it did not, 2 on bad use.
#include "app/MainWindow.h"
#include "app/ORVAppDelegate.h"
#include "app/RecordingsPanel.h"
#include "common/linux/ProcessUser.h"
#include "playback/TKVideoBackgroundImageView.h"
#include "playback/VLCLibrary.h"
#include "playback/WebEngineStartup.h"
#include "recordings/ORVMedia.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    QStandardPaths::setTestModeEnabled(true);
    zentrova::VLCLibrary::setExtraArguments({"--aout=dummy"});
    zentrova::prepareWebEngine(zentrova::runsAsRoot());
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName("zentrova-tests");
    QApplication::setQuitOnLastWindowClosed(true);
    zentrova::ORVAppDelegate delegate;
    delegate.applicationDidFinishLaunching();

    bool reloaded = false;
    QObject::connect(&delegate, &zentrova::ORVAppDelegate::mediaListReloaded, [&] { reloaded = true; });
    delegate.openDirectory(QString::fromLocal8Bit(argv[1]));
    if (!QTest::qWaitFor([&] { return reloaded && !delegate.isScanning(); }, 10000)) return 1;
    std::int64_t row = -1;
    for (std::size_t i = 0; i < delegate.mediaList().count(); ++i) {
        if (delegate.mediaList().mediaAtIndex(i)->fileName() == argv[2]) row = static_cast<std::int64_t>(i);
    }
    if (row < 0) return 1;
    delegate.window()->recordings()->selectRow(row);
    delegate.changeAndPlay();
    zentrova::TKVideoBackgroundImageView* area = delegate.window()->mainVideoArea();
    const QString expected = QString::fromLocal8Bit(argv[3]);
    const bool told = QTest::qWaitFor([&] { return area->message() == expected; }, 5000);
    if (!told) std::fprintf(stderr, "the window showed \"%s\"\n", qPrintable(area->message()));
    // As the close button does; the event loop then ends with the last window.
    QTimer::singleShot(0, &delegate, &zentrova::ORVAppDelegate::closeWindow);
    app.exec();
    return told ? 0 : 1;
}
