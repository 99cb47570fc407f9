#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace zentrova {

// The application's own images, by the names the windows use ("record_p.png",
// "car_front_alwa"). They are drawn as SVG; the extension of a name is ignored.
class ImageLibrary {
public:
    static QString resourcePath(const QString& name);
    static bool exists(const QString& name);
    static QIcon icon(const QString& name);
    // Rendered at the given logical size for the current screen's pixel ratio.
    static QPixmap pixmap(const QString& name, const QSize& size, qreal devicePixelRatio = 1.0);
};

}  // namespace zentrova
