#include "playback/ORVMapWindowController.h"

#include "controls/UiText.h"
#include "common/Log.h"
#include "playback/ORVMapView.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace zentrova {

ORVMapWindowController::ORVMapWindowController(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("ORVMapWindowController");
    setWindowTitle(uiText("mapwindow.title"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_mapWebView = new ORVMapView(this);
    layout->addWidget(m_mapWebView);
    resize(defaultWindowSize());
    windowDidLoad();
}

void ORVMapWindowController::windowDidLoad() {
    const QRect frame = frameGeometry();
    logLine(QStringLiteral("ORVMapWindowController windowDidLoad frame={{%1, %2}, {%3, %4}}")
                .arg(frame.x())
                .arg(frame.y())
                .arg(frame.width())
                .arg(frame.height())
                .toStdString());
    m_mapWebView->loadMapPage(QString::fromLatin1(ORVMapView::englishPageName));
}

void ORVMapWindowController::updateMapLat(double lat, double lng) { m_mapWebView->setLatLag(lng, lat); }

QPoint ORVMapWindowController::originRightOf(const QRect& openerFrame) {
    // Qt counts y downwards, so "tops level" is the same y; x + width is the
    // first column right of the opener (QRect::right() is one short of it).
    return QPoint(openerFrame.x() + openerFrame.width(), openerFrame.y());
}

QPoint ORVMapWindowController::originRightOf(const QRect& openerFrame, const QSize& frameSize,
                                             const QRect& screenArea) {
    const QPoint beside = originRightOf(openerFrame);
    const int lastX = screenArea.x() + screenArea.width() - frameSize.width();
    const int lastY = screenArea.y() + screenArea.height() - frameSize.height();
    return QPoint(std::max(screenArea.x(), std::min(beside.x(), lastX)),
                  std::max(screenArea.y(), std::min(beside.y(), lastY)));
}

void ORVMapWindowController::moveWindowRightBy(const QRect& openerFrame) {
    const QScreen* screen = QGuiApplication::screenAt(openerFrame.center());
    if (!screen) screen = this->screen();
    if (!screen) return move(originRightOf(openerFrame));
    move(originRightOf(openerFrame, frameGeometry().size(), screen->availableGeometry()));
}

}  // namespace zentrova
