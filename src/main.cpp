#include "app/ORVAppDelegate.h"
#include "common/Log.h"
#include "common/linux/AllocatorTuning.h"
#include "common/linux/ProcessUser.h"
#include "common/linux/SystemLog.h"
#include "playback/WebEngineStartup.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char** argv) {
    zentrova::mapLargeBlocksApart();
    zentrova::prepareWebEngine(zentrova::runsAsRoot());
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName("zentrova");
    QCoreApplication::setApplicationName("Zentrova");
    QCoreApplication::setApplicationVersion(ZENTROVA_VERSION);
    QGuiApplication::setDesktopFileName(QStringLiteral(ZENTROVA_DESKTOP_ID));
    zentrova::installSystemLog("zentrova");
    // Closing the main window ends the application.
    QApplication::setQuitOnLastWindowClosed(zentrova::ORVAppDelegate::applicationShouldTerminateAfterLastWindowClosed());

    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument("directory", "The card or folder of recordings to open.");
    parser.process(app);

    zentrova::ORVAppDelegate delegate;
    delegate.applicationDidFinishLaunching();

    const QStringList args = parser.positionalArguments();
    if (!args.isEmpty()) {
        const QFileInfo info(args.first());
        if (info.isDir()) {
            delegate.openDirectory(QDir::cleanPath(info.absoluteFilePath()));
        } else {
            zentrova::logLine("not a directory: " + args.first().toStdString());
        }
    }
    return app.exec();
}
