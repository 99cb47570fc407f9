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
    // edge of the opener's frame and the tops level, moved back only as far
    // as it takes to keep the whole window on the opener's screen.
    void moveWindowRightBy(const QRect& openerFrame);
    static QPoint originRightOf(const QRect& openerFrame);
    // That origin for a frame of the given size on the screen's available
    // area; a window larger than the area keeps its top-left corner on it.
    static QPoint originRightOf(const QRect& openerFrame, const QSize& frameSize, const QRect& screenArea);

private:
    ORVMapView* m_mapWebView = nullptr;
};

}  // namespace zentrova
