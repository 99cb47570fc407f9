// zentrova-iconrender: renders the application's SVG icon into the PNG sizes
// that desktops look up in the icon theme.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <cstdio>

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kLargestIcon = 1024;

bool renderPng(QSvgRenderer& svg, int size, const QString& path) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter, QRectF(0, 0, size, size));
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32).save(path, "PNG");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || argc % 2 != 0) {
        std::fprintf(stderr, "usage: zentrova-iconrender ICON.svg SIZE OUT.png [SIZE OUT.png...]\n");
        return kExitUsage;
    }
    // A build machine may have no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "zentrova-iconrender: cannot read %s\n", argv[1]);
        return kExitFailed;
    }
    for (int i = 2; i + 1 < argc; i += 2) {
        bool isNumber = false;
        const int size = QString::fromLocal8Bit(argv[i]).toInt(&isNumber);
        if (!isNumber || size < 1 || size > kLargestIcon) {
            std::fprintf(stderr, "zentrova-iconrender: bad size %s\n", argv[i]);
            return kExitUsage;
        }
        if (!renderPng(svg, size, QString::fromLocal8Bit(argv[i + 1]))) {
            std::fprintf(stderr, "zentrova-iconrender: cannot write %s\n", argv[i + 1]);
            return kExitFailed;
        }
    }
    return 0;
}
