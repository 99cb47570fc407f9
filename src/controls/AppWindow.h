#pragma once

class QWidget;

namespace zentrova {

// The set-up every secondary window shares: it goes when closed, and it has
// the application's dark look (applyWindowLook).
void prepareAppWindow(QWidget& window);

// Sized to its contents and centred in the visible area of its opener's
// screen (its own without one).
void centreInVisibleArea(QWidget& window);

}  // namespace zentrova
