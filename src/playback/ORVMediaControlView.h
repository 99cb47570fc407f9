#pragma once

#include <QWidget>

#include <cstdint>
#include <optional>

class QKeyEvent;
class QLabel;
class QSlider;
class QToolButton;

namespace zentrova {

class TKImageButton;

// The play controls under the video: position slider, play, jumps, speed,
// window size, full screen, swap, sound side and volume. FullScreen mode is
// the slim bar that stays in full screen. The view only shows values and
// reports the user's commands; the play control acts on them.
class ORVMediaControlView : public QWidget {
    Q_OBJECT
public:
    enum class Mode { Normal, FullScreen };
    static constexpr int kSliderSteps = 10000;

    explicit ORVMediaControlView(Mode mode, QWidget* parent = nullptr);

    Mode mode() const { return m_mode; }
    void setPlaying(bool playing);
    // Follows the play position, except while the user holds the knob.
    void setPosition(double position);
    double sliderValue() const;
    // The time played and the length, at the two ends of the slider.
    void setPlayTime(double position, std::int64_t lengthMs);
    QString elapsedTimeText() const;
    QString totalTimeText() const;
    void setSpeed(double speed);
    void setScale(double scale);
    // The volume shown on the slider; the speaker button shows the sound
    // off when muted or at 0.
    void setVolume(int volume, bool muted = false);
    void setAudioChoice(bool visible, bool rear);
    void setSwapAvailable(bool available);

    QString speedText() const;
    QString scaleText() const;
    QString playImageName() const;
    // The controls in the order Tab visits them, left to right as shown.
    QList<QWidget*> focusOrder() const;

signals:
    void playClicked();
    void backwardClicked();
    void forwardClicked();
    void speedClicked();
    void sizeDownClicked();
    void sizeUpClicked();
    void fullScreenClicked();
    void swapClicked();
    void audioChoiceToggled(bool rear);
    void volumeSliderMoved(int volume);
    void muteClicked();
    void positionSliderMoved(double position);

protected:
    void paintEvent(QPaintEvent* event) override;
    // Enter and Return press the focused button: Space is play and pause
    // wherever the focus is.
    void keyPressEvent(QKeyEvent* event) override;

private:
    TKImageButton* makeImageButton(const QString& image, const char* tooltipKey, const QSize& size);
    QToolButton* makeTextButton(const char* tooltipKey, int width);
    void buildNormal();
    void buildFullScreen();
    void buildSliders();
    QLabel* makeTimeLabel(const char* name);
    void reportSliderAction(int action);
    void chainFocus();

    Mode m_mode;
    QSlider* m_positionSlider = nullptr;
    QSlider* m_volumeSlider = nullptr;
    TKImageButton* m_playButton = nullptr;
    TKImageButton* m_backwardButton = nullptr;
    TKImageButton* m_forwardButton = nullptr;
    QToolButton* m_speedTextButton = nullptr;
    TKImageButton* m_sizeDownButton = nullptr;
    QToolButton* m_sizeTextButton = nullptr;
    TKImageButton* m_sizeUpButton = nullptr;
    TKImageButton* m_fullScreenButton = nullptr;
    TKImageButton* m_swapButton = nullptr;
    TKImageButton* m_audioToggleButton = nullptr;
    TKImageButton* m_muteButton = nullptr;
    QLabel* m_elapsedTimeLabel = nullptr;
    QLabel* m_totalTimeLabel = nullptr;
    // Told on every volume change: the images are made again only when it changes.
    std::optional<bool> m_silentShown;
};

}  // namespace zentrova
