#pragma once

#include <QHash>
#include <QPixmap>
#include <QString>
#include <QToolButton>

namespace zentrova {

// A borderless button drawn entirely from images found by one name. The
// normal image's name ends in a two-character state suffix ("icon_play_n");
// its companions replace it: "_f" while the pointer is over the enabled
// button, "_p" while it is held down, "_d" while it is disabled. A missing
// companion leaves the normal image in its place. The pointer counts as
// over the button from kTrackingMargin outside its image.
class TKImageButton : public QToolButton {
    Q_OBJECT
public:
    static constexpr int kTrackingMargin = 4;

    explicit TKImageButton(QWidget* parent = nullptr);
    explicit TKImageButton(const QString& imageName, QWidget* parent = nullptr);

    // The name it already has changes nothing: callers told the same state
    // again and again (every time notice) cost nothing.
    void setImageName(const QString& name);
    QString imageName() const { return m_activeImage; }
    // The companion of the current image with this suffix, or empty when
    // there is no such image.
    QString buttonImageNameWithSuffix(const QString& suffix) const;

    QString activeImage() const { return m_activeImage; }
    QString rolloverImage() const { return m_rolloverImage; }
    QString pressedImage() const { return m_pressedImage; }
    QString inactiveImage() const { return m_inactiveImage; }

    // A selected button (one of a group, standing for the current choice)
    // shows its pressed image and no rollover.
    void setSelected(bool selected);
    bool isSelected() const { return m_selected; }

    // The image the button shows in its present state, and its picture at
    // the icon size for the screen's pixel ratio.
    QString shownImageName() const;
    QPixmap shownPixmap() const;

    // Pointer entries not yet matched by an exit; never negative.
    qint64 numberOfCaptures() const { return m_numberOfCaptures; }
    void resetMouseCaptures();
    bool shouldDisplayRollOver() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void didCaptureMousePointer();
    void didReleaseMousePointer();
    QRect imageRect() const;
    QPixmap pixmapOf(const QString& name) const;

    QString m_activeImage;
    QString m_rolloverImage;
    QString m_pressedImage;
    QString m_inactiveImage;
    bool m_selected = false;
    qint64 m_numberOfCaptures = 0;
    // Each state's picture is drawn from its SVG once per size and ratio.
    mutable QHash<QString, QPixmap> m_pixmaps;
    mutable QSize m_pixmapSize;
    mutable qreal m_pixmapRatio = 0.0;
};

}  // namespace zentrova
