#include "app/ImageLibrary.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

namespace zentrova {

QString ImageLibrary::resourcePath(const QString& name) {
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
    QSvgRenderer renderer(resourcePath(name));
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

}  // namespace zentrova
