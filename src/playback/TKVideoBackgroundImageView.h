#pragma once

#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QWidget>

class QLabel;
class QPropertyAnimation;
class QTimer;

namespace zentrova {

// A video area's drawn frame: a nine-part background image and the side's
// logo centred on it. The video view sits on top and fills it; when the
// video view is hidden, the frame and logo show.
class TKVideoBackgroundImageView : public QWidget {
    Q_OBJECT
public:
    enum class GrowFrom { RightEdge, TopEdge };
    static constexpr int kSwapAnimationMs = 1500;

    explicit TKVideoBackgroundImageView(QWidget* parent = nullptr);

    // Loads "<base>_top_left_corner" ... "<base>_center_fill".
    void setBackgroundNineImageName(const QString& base);
    void setLogoImage(const QString& name);
    const QString& logoName() const { return m_logoName; }
    // A line under the logo telling what to do while nothing is shown.
    void setPlaceholderText(const QString& text);
    const QString& placeholderText() const { return m_placeholder; }

    // The view laid over the background, kept at the full size.
    void setContentView(QWidget* content);
    QWidget* contentView() const { return m_content; }
    // Lets the content grow to the full size from an empty frame at an edge.
    void animateContent(GrowFrom edge);

    // A note along the top, over the picture too, gone after kMessageMs
    // or when replaced; an empty text takes it away.
    static constexpr int kMessageMs = 8000;
    void showMessage(const QString& text);
    QString message() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    enum Part { TopLeft, TopRight, BottomLeft, BottomRight, LeftEdge, RightEdge, TopEdge, BottomEdge, Center, PartCount };
    static constexpr int kCornerSize = 12;

    QPixmap partPixmap(Part part, const QSize& size) const;
    void drawNineParts(QPainter& painter) const;
    void drawLogo(QPainter& painter) const;
    void drawPlaceholder(QPainter& painter) const;
    void placeMessage();

    QString m_baseName;
    QString m_logoName;
    QString m_placeholder;
    QPointer<QWidget> m_content;
    QPointer<QPropertyAnimation> m_animation;
    QLabel* m_message = nullptr;
    QTimer* m_messageTimer = nullptr;
};

}  // namespace zentrova
