#include "app/NowShowingText.h"

#include "controls/UiText.h"
#include "recordings/ORVMedia.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace zentrova {

QString NowShowingText::forRecording(const ORVMedia& media) {
    const QString mode = QString::fromStdString(media.modeText());
    // A name whose time could not be read has no date to show.
    if (media.dateText().empty()) return uiFormat("head.recording_undated_fmt", QString::fromStdString(media.fileName()), mode);
    return uiFormat("head.recording_fmt", QString::fromStdString(media.dateText()),
                    QString::fromStdString(media.timeText()), mode);
}

QString NowShowingText::forCard(const QString& directory, const QString& demoCardDirectory) {
    if (directory.isEmpty()) return QString();
    const QString canonical = QFileInfo(directory).canonicalFilePath();
    if (!demoCardDirectory.isEmpty() && !canonical.isEmpty() &&
        canonical == QFileInfo(demoCardDirectory).canonicalFilePath()) {
        return uiText("head.demo_card");
    }
    const QString name = QDir(QDir::cleanPath(directory)).dirName();
    return name.isEmpty() ? QDir::cleanPath(directory) : name;
}

QString NowShowingText::demoCardDirectory() {
    // XDG_CACHE_HOME, or ~/.cache: where the start scripts make it.
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/zentrova/demo-card");
}

}  // namespace zentrova
