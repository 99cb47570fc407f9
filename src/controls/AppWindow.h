#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace zentrova {

// The set-up every secondary window shares: it goes when closed, and it has
// the application's dark look (applyWindowLook).
void prepareAppWindow(QWidget& window);

// Where a window of the outer size stands centred in the visible area.
QPoint centredOrigin(const QSize& outer, const QRect& visible);

// Sized to its contents and centred in the visible area of its opener's
// screen (its own without one).
void centreInVisibleArea(QWidget& window);

}  // namespace zentrova
