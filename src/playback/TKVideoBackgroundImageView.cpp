#include "playback/TKVideoBackgroundImageView.h"

#include <QLabel>
#include <QPainter>
#include <QPropertyAnimation>
#include <QResizeEvent>
#include <QTimer>

#include "controls/ImageLibrary.h"

namespace zentrova {
namespace {

constexpr const char* kPartSuffixes[] = {
    "_top_left_corner", "_top_right_corner", "_bottom_left_corner", "_bottom_right_corner", "_left_edge_fill",
    "_right_edge_fill", "_top_edge_fill",   "_bottom_edge_fill",   "_center_fill",
};

QSize logoSizeFor(const QSize& bounds) {
    // Our logos are drawn at 5:3; they take a third of the smaller side.
    const int height = std::max(24, std::min(bounds.height() / 3, bounds.width() * 3 / 10));
    return QSize(height * 5 / 3, height);
}

constexpr int kMessageMargin = 12;

}  // namespace

TKVideoBackgroundImageView::TKVideoBackgroundImageView(QWidget* parent)
    : QWidget(parent), m_message(new QLabel(this)), m_messageTimer(new QTimer(this)) {
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    m_message->setObjectName("playMessageLabel");
    m_message->setWordWrap(true);
    m_message->setAlignment(Qt::AlignCenter);
    m_message->setAttribute(Qt::WA_TransparentForMouseEvents, true);
    m_message->hide();
    m_messageTimer->setSingleShot(true);
    m_messageTimer->setInterval(kMessageMs);
    connect(m_messageTimer, &QTimer::timeout, m_message, &QWidget::hide);
}

void TKVideoBackgroundImageView::setPlaceholderText(const QString& text) {
    if (text == m_placeholder) return;
    m_placeholder = text;
    update();
}

void TKVideoBackgroundImageView::showMessage(const QString& text) {
    m_message->setText(text);
    m_message->setVisible(!text.isEmpty());
    if (text.isEmpty()) {
        m_messageTimer->stop();
        return;
    }
    placeMessage();
    m_message->raise();
    m_messageTimer->start();
}

QString TKVideoBackgroundImageView::message() const { return m_message->isVisible() ? m_message->text() : QString(); }

// As wide as its text on one line, centred at the top; wrapped when the
// area is narrower.
void TKVideoBackgroundImageView::placeMessage() {
    if (m_message->text().isEmpty()) return;
    m_message->ensurePolished();
    m_message->setWordWrap(false);
    const int oneLine = m_message->sizeHint().width();
    m_message->setWordWrap(true);
    const int width = std::min(oneLine, std::max(0, this->width() - 2 * kMessageMargin));
    const int height = std::max(m_message->heightForWidth(width), m_message->minimumSizeHint().height());
    m_message->setGeometry((this->width() - width) / 2, kMessageMargin, width, height);
}

void TKVideoBackgroundImageView::setBackgroundNineImageName(const QString& base) {
    m_baseName = base;
    update();
}

void TKVideoBackgroundImageView::setLogoImage(const QString& name) {
    m_logoName = name;
    update();
}

void TKVideoBackgroundImageView::setContentView(QWidget* content) {
    m_content = content;
    if (!content) return;
    content->setParent(this);
    content->setGeometry(rect());
    content->raise();
    m_message->raise();
}

void TKVideoBackgroundImageView::animateContent(GrowFrom edge) {
    if (!m_content) return;
    if (m_animation) m_animation->stop();
    const QRect full = rect();
    const QRect empty = edge == GrowFrom::RightEdge ? QRect(full.right() + 1, full.top(), 0, full.height())
                                                    : QRect(full.left(), full.top(), full.width(), 0);
    auto* animation = new QPropertyAnimation(m_content, "geometry", this);
    animation->setDuration(kSwapAnimationMs);
    animation->setEasingCurve(QEasingCurve::OutCubic);
    animation->setStartValue(empty);
    animation->setEndValue(full);
    m_animation = animation;
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void TKVideoBackgroundImageView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (m_animation) m_animation->stop();
    if (m_content) m_content->setGeometry(rect());
    placeMessage();
}

QPixmap TKVideoBackgroundImageView::partPixmap(Part part, const QSize& size) const {
    if (m_baseName.isEmpty() || size.isEmpty()) return QPixmap();
    return ImageLibrary::pixmap(m_baseName + QLatin1String(kPartSuffixes[part]), size, devicePixelRatioF());
}

void TKVideoBackgroundImageView::drawNineParts(QPainter& painter) const {
    const int w = width();
    const int h = height();
    const int c = std::min({kCornerSize, w / 2, h / 2});
    const int midW = w - 2 * c;
    const int midH = h - 2 * c;
    struct Placement {
        Part part;
        QRect frame;
    } placements[] = {
        {Center, QRect(c, c, midW, midH)},
        {TopEdge, QRect(c, 0, midW, c)},
        {BottomEdge, QRect(c, h - c, midW, c)},
        {LeftEdge, QRect(0, c, c, midH)},
        {RightEdge, QRect(w - c, c, c, midH)},
        {TopLeft, QRect(0, 0, c, c)},
        {TopRight, QRect(w - c, 0, c, c)},
        {BottomLeft, QRect(0, h - c, c, c)},
        {BottomRight, QRect(w - c, h - c, c, c)},
    };
    for (const Placement& placement : placements) {
        if (placement.frame.isEmpty()) continue;
        const QPixmap pixmap = partPixmap(placement.part, placement.frame.size());
        if (!pixmap.isNull()) painter.drawPixmap(placement.frame, pixmap);
    }
}

void TKVideoBackgroundImageView::drawLogo(QPainter& painter) const {
    if (m_logoName.isEmpty()) return;
    const QSize size = logoSizeFor(this->size());
    const QPoint origin((width() - size.width()) / 2, (height() - size.height()) / 2);
    painter.drawPixmap(QRect(origin, size), ImageLibrary::pixmap(m_logoName, size, devicePixelRatioF()));
}

void TKVideoBackgroundImageView::drawPlaceholder(QPainter& painter) const {
    if (m_placeholder.isEmpty()) return;
    const QSize logo = logoSizeFor(size());
    const int top = (height() + logo.height()) / 2 + 12;
    QFont font = painter.font();
    font.setPointSizeF(11);
    painter.setFont(font);
    painter.setPen(QColor(0x9a, 0xa3, 0xad));
    painter.drawText(QRect(8, top, width() - 16, height() - top - 4), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                     m_placeholder);
}

void TKVideoBackgroundImageView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    drawNineParts(painter);
    drawLogo(painter);
    drawPlaceholder(painter);
}

}  // namespace zentrova
