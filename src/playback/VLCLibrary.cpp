#include "playback/VLCLibrary.h"

#include "common/Log.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <vlc/vlc.h>

#include <string>
#include <vector>

namespace zentrova {
namespace {

QStringList& extraArguments() {
    static QStringList arguments;
    return arguments;
}

// libVLC looks for plugins in its own folder and in the folders of
// VLC_PLUGIN_PATH: ours lies beside the program.
void addOwnPluginFolder() {
    if (!QCoreApplication::instance()) return;
    const QString folder =
        QDir::cleanPath(QCoreApplication::applicationDirPath() + QString::fromUtf8("/" ZENTROVA_VLC_PLUGIN_FROM_BIN));
    if (!QDir(folder).exists()) {
        logLine("libVLC's plugin of our own is missing from " + folder.toStdString() + "; pictures are copied");
        return;
    }
    QByteArray paths = qgetenv("VLC_PLUGIN_PATH");
    if (paths.split(':').contains(QFile::encodeName(folder))) return;
    if (!paths.isEmpty()) paths += ':';
    qputenv("VLC_PLUGIN_PATH", paths + QFile::encodeName(folder));
}

}  // namespace

void VLCLibrary::setExtraArguments(const QStringList& arguments) { extraArguments() = arguments; }

libvlc_instance_t* VLCLibrary::sharedLibrary() {
    static libvlc_instance_t* instance = [] {
        addOwnPluginFolder();
        // Pausing at the end keeps the last frame shown; hardware decoding
        // would hand frames we cannot copy; the title would be drawn into them.
        // Pictures decoded without the pictures they refer to (a recording
        // cut off or damaged on the card) would be grey smears, so they are
        // left out and the last good one stays.
        // Two players already decode on two threads; more threads per
        // decoder each hold pictures of their own (50 MB for a 1080p pair)
        // for no gain in CPU time, and one thread still decodes a 1080p
        // camera file faster than 2x. A decoded picture waits for its time
        // as long as the input is buffered ahead: at 100 ms instead of the
        // default 300 ms fewer pictures are in flight (55 MB less for a
        // 1080p pair), they are more often still in the cache when they are
        // converted, and playing costs 5 to 8 % less CPU time. A local file
        // or card reader keeps that much ahead.
        QStringList arguments{"--play-and-pause", "--avcodec-hw=none", "--no-video-title-show",
                              "--no-xlib", "--no-osd", "--no-snapshot-preview",
                              "--no-avcodec-corrupted", "--avcodec-threads=1",
                              "--file-caching=100", "--quiet"};
        arguments += extraArguments();
        std::vector<std::string> storage;
        for (const QString& argument : arguments) storage.push_back(argument.toStdString());
        std::vector<const char*> argv;
        for (const std::string& argument : storage) argv.push_back(argument.c_str());
        libvlc_instance_t* made = libvlc_new(static_cast<int>(argv.size()), argv.data());
        if (!made) logLine("libvlc_new failed");
        return made;
    }();
    return instance;
}

}  // namespace zentrova
