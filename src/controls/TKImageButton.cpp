#include "controls/TKImageButton.h"

#include "controls/ImageLibrary.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>

namespace zentrova {
namespace {

constexpr int kSuffixLength = 2;
const QColor kFocusRingColour(0x19, 0xb5, 0xc8);

}  // namespace

TKImageButton::TKImageButton(QWidget* parent) : QToolButton(parent) {
    setAutoRaise(true);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
}

TKImageButton::TKImageButton(const QString& imageName, QWidget* parent) : TKImageButton(parent) {
    setImageName(imageName);
}

QString TKImageButton::buttonImageNameWithSuffix(const QString& suffix) const {
    if (m_activeImage.size() <= kSuffixLength) return QString();
    const QString name = m_activeImage.left(m_activeImage.size() - kSuffixLength) + suffix;
    return ImageLibrary::exists(name) ? name : QString();
}

void TKImageButton::setImageName(const QString& name) {
    if (name == m_activeImage) return;
    m_activeImage = name;
    m_rolloverImage = buttonImageNameWithSuffix(QStringLiteral("_f"));
    m_pressedImage = buttonImageNameWithSuffix(QStringLiteral("_p"));
    m_inactiveImage = buttonImageNameWithSuffix(QStringLiteral("_d"));
    if (m_inactiveImage.isEmpty()) m_inactiveImage = m_activeImage;
    m_pixmaps.clear();
    update();
}

void TKImageButton::setSelected(bool selected) {
    if (selected == m_selected) return;
    m_selected = selected;
    update();
}

bool TKImageButton::shouldDisplayRollOver() const { return m_numberOfCaptures > 0 && isEnabled(); }

QString TKImageButton::shownImageName() const {
    auto orActive = [this](const QString& name) { return name.isEmpty() ? m_activeImage : name; };
    if (!isEnabled()) return m_inactiveImage;
    if (isDown() || m_selected) return orActive(m_pressedImage);
    if (shouldDisplayRollOver()) return orActive(m_rolloverImage);
    return m_activeImage;
}

QRect TKImageButton::imageRect() const {
    QSize shown = iconSize();
    if (shown.width() > width() || shown.height() > height()) shown.scale(size(), Qt::KeepAspectRatio);
    return QStyle::alignedRect(layoutDirection(), Qt::AlignCenter, shown, rect());
}

QPixmap TKImageButton::pixmapOf(const QString& name) const {
    const QSize size = iconSize();
    const qreal ratio = devicePixelRatioF();
    if (size != m_pixmapSize || ratio != m_pixmapRatio) {
        m_pixmaps.clear();
        m_pixmapSize = size;
        m_pixmapRatio = ratio;
    }
    auto found = m_pixmaps.constFind(name);
    if (found != m_pixmaps.constEnd()) return *found;
    const QPixmap drawn = ImageLibrary::pixmap(name, size, ratio);
    m_pixmaps.insert(name, drawn);
    return drawn;
}

QPixmap TKImageButton::shownPixmap() const { return pixmapOf(shownImageName()); }

QSize TKImageButton::sizeHint() const {
    return iconSize() + QSize(2 * kTrackingMargin, 2 * kTrackingMargin);
}

QSize TKImageButton::minimumSizeHint() const { return iconSize(); }

void TKImageButton::didCaptureMousePointer() { ++m_numberOfCaptures; }

void TKImageButton::didReleaseMousePointer() {
    if (m_numberOfCaptures > 0) --m_numberOfCaptures;
}

void TKImageButton::resetMouseCaptures() {
    m_numberOfCaptures = 0;
    update();
}

void TKImageButton::enterEvent(QEnterEvent* event) {
    didCaptureMousePointer();
    update();
    QToolButton::enterEvent(event);
}

void TKImageButton::leaveEvent(QEvent* event) {
    didReleaseMousePointer();
    update();
    QToolButton::leaveEvent(event);
}

// A hidden button gets no exit for the pointer that was over it.
void TKImageButton::hideEvent(QHideEvent* event) {
    m_numberOfCaptures = 0;
    QToolButton::hideEvent(event);
}

void TKImageButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) update();
    QToolButton::changeEvent(event);
}

void TKImageButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::Antialiasing);
    // Drawn at its own size unless the layout gives the button less room.
    const QRect target = imageRect();
    painter.drawPixmap(target, shownPixmap());
    if (hasFocus()) {
        painter.setPen(QPen(kFocusRingColour, 2.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(target).adjusted(-2, -2, 2, 2), 4, 4);
    }
}

}  // namespace zentrova
