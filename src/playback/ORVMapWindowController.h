#pragma once

#include <QPoint>
#include <QRect>
#include <QWidget>

namespace zentrova {

class ORVMapView;

// The map window: the map page in a window of its own, showing one place.
class ORVMapWindowController : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize defaultWindowSize() { return QSize(640, 480); }

    // Makes the window and loads it (windowDidLoad); it is not shown yet.
    explicit ORVMapWindowController(QWidget* parent = nullptr);

    ORVMapView* mapWebView() const { return m_mapWebView; }

    // Logs the window frame and loads the map page.
    void windowDidLoad();
    // Shows a position, in decimal degrees.
    void updateMapLat(double lat, double lng);
    // Places the window, keeping its size, with its left edge at the right
    // edge of the opener's frame and the tops level.
    void moveWindowRightBy(const QRect& openerFrame);
    static QPoint originRightOf(const QRect& openerFrame);

private:
    ORVMapView* m_mapWebView = nullptr;
};

}  // namespace zentrova
