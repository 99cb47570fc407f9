#pragma once

#include <QWidget>

#include <cstdint>

class QLabel;
class QSlider;
class QToolButton;

namespace zentrova {

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
    void setVolume(int volume);
    void setAudioChoice(bool visible, bool rear);
    void setSwapAvailable(bool available);

    QString speedText() const;
    QString scaleText() const;
    QString playImageName() const { return m_playImageName; }

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
    void positionSliderMoved(double position);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QToolButton* makeImageButton(const QString& image, const char* tooltipKey, const QSize& size);
    QToolButton* makeTextButton(const char* tooltipKey, int width);
    void buildNormal();
    void buildFullScreen();
    void buildSliders();
    QLabel* makeTimeLabel(const char* name);
    void reportSliderAction(int action);

    Mode m_mode;
    QSlider* m_positionSlider = nullptr;
    QSlider* m_volumeSlider = nullptr;
    QToolButton* m_playButton = nullptr;
    QToolButton* m_backwardButton = nullptr;
    QToolButton* m_forwardButton = nullptr;
    QToolButton* m_speedTextButton = nullptr;
    QToolButton* m_sizeDownButton = nullptr;
    QToolButton* m_sizeTextButton = nullptr;
    QToolButton* m_sizeUpButton = nullptr;
    QToolButton* m_fullScreenButton = nullptr;
    QToolButton* m_swapButton = nullptr;
    QToolButton* m_audioToggleButton = nullptr;
    QLabel* m_volumeIcon = nullptr;
    QLabel* m_elapsedTimeLabel = nullptr;
    QLabel* m_totalTimeLabel = nullptr;
    QString m_playImageName = QStringLiteral("icon_play_n");
};

}  // namespace zentrova
