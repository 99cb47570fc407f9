#include "controls/ImageLibrary.h"

#include <QFile>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>

// The images live in a static library; nothing refers to their registration
// unless we ask for it, so the linker would drop them.
static void registerImageResources() { Q_INIT_RESOURCE(resources); }

namespace zentrova {

namespace {
void ensureImagesRegistered() {
    static const bool registered = (registerImageResources(), true);
    (void)registered;
}
}  // namespace

QString ImageLibrary::resourcePath(const QString& name) {
    ensureImagesRegistered();
    QString base = name;
    int dot = base.lastIndexOf('.');
    if (dot > 0) base = base.left(dot);
    return QStringLiteral(":/images/%1.svg").arg(base);
}

bool ImageLibrary::exists(const QString& name) { return !name.isEmpty() && QFile::exists(resourcePath(name)); }

QIcon ImageLibrary::icon(const QString& name) {
    if (!exists(name)) return QIcon();
    return QIcon(resourcePath(name));
}

QPixmap ImageLibrary::pixmap(const QString& name, const QSize& size, qreal devicePixelRatio) {
    if (!exists(name) || size.isEmpty()) return QPixmap();
    // Views repaint their frames often; rendering SVG each time is costly.
    const QString key = QStringLiteral("zentrova:%1:%2x%3@%4").arg(name).arg(size.width()).arg(size.height()).arg(devicePixelRatio);
    QPixmap cached;
    if (QPixmapCache::find(key, &cached)) return cached;
    QSvgRenderer renderer(resourcePath(name));
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    pixmap.setDevicePixelRatio(devicePixelRatio);
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

}  // namespace zentrova
