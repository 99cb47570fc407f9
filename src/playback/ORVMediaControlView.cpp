#include "playback/ORVMediaControlView.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "controls/ImageLibrary.h"
#include "controls/TKImageButton.h"
#include "controls/UiText.h"
#include "playback/PlayTimeText.h"

namespace zentrova {
namespace {

constexpr QSize kMainButton(40, 40);
constexpr QSize kButton(28, 28);
constexpr QSize kSmallButton(24, 24);
constexpr int kBarEndWidth = 12;

}  // namespace

ORVMediaControlView::ORVMediaControlView(Mode mode, QWidget* parent) : QWidget(parent), m_mode(mode) {
    setObjectName(mode == Mode::Normal ? "mediaControlView" : "mediaControlViewForFullScreen");
    setAttribute(Qt::WA_StyledBackground, true);
    buildSliders();
    if (mode == Mode::Normal) {
        buildNormal();
    } else {
        buildFullScreen();
    }
    setSpeed(1.0);
    setScale(0.0);
    setVolume(0);
    setAudioChoice(false, false);
    setPlayTime(0.0, 0);
}

QLabel* ORVMediaControlView::makeTimeLabel(const char* name) {
    auto* label = new QLabel(this);
    label->setObjectName(QString::fromLatin1(name));
    label->setProperty("timeText", true);
    label->setAlignment(Qt::AlignCenter);
    // As wide as the widest time it may show, so that the slider keeps its length.
    label->ensurePolished();
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("0:00:00")) + 4);
    return label;
}

TKImageButton* ORVMediaControlView::makeImageButton(const QString& image, const char* tooltipKey, const QSize& size) {
    auto* button = new TKImageButton(image, this);
    button->setObjectName(image.section('_', 1, -2) + "Button");
    button->setIconSize(size);
    button->setToolTip(uiText(tooltipKey));
    button->setCursor(Qt::PointingHandCursor);
    // Reached with Tab only: a click leaves the focus where it was (on the
    // table, whose Up and Down move its selection).
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

QToolButton* ORVMediaControlView::makeTextButton(const char* tooltipKey, int width) {
    auto* button = new QToolButton(this);
    button->setToolTip(uiText(tooltipKey));
    button->setFixedWidth(width);
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::TabFocus);
    button->setProperty("textButton", true);
    return button;
}

void ORVMediaControlView::buildSliders() {
    m_positionSlider = new QSlider(Qt::Horizontal, this);
    m_positionSlider->setObjectName("videoPositionSlider");
    m_positionSlider->setRange(0, kSliderSteps);
    m_positionSlider->setPageStep(kSliderSteps / 20);
    m_positionSlider->setToolTip(uiText("play.tooltip.position"));
    m_positionSlider->setFocusPolicy(Qt::TabFocus);
    connect(m_positionSlider, &QSlider::actionTriggered, this, &ORVMediaControlView::reportSliderAction);
    m_elapsedTimeLabel = makeTimeLabel("elapsedTimeLabel");
    m_totalTimeLabel = makeTimeLabel("totalTimeLabel");

    m_volumeSlider = new QSlider(Qt::Horizontal, this);
    m_volumeSlider->setObjectName("volumeSlider");
    m_volumeSlider->setRange(0, 200);
    m_volumeSlider->setSingleStep(10);
    m_volumeSlider->setPageStep(10);
    m_volumeSlider->setFixedWidth(90);
    m_volumeSlider->setToolTip(uiText("play.tooltip.volume"));
    m_volumeSlider->setFocusPolicy(Qt::TabFocus);
    connect(m_volumeSlider, &QSlider::valueChanged, this, &ORVMediaControlView::volumeSliderMoved);

    m_playButton = makeImageButton("icon_play_n", "play.tooltip.play", kMainButton);
    m_playButton->setObjectName("playButton");
    m_backwardButton = makeImageButton("icon_backward_n", "play.tooltip.backward", kButton);
    m_forwardButton = makeImageButton("icon_forward_n", "play.tooltip.forward", kButton);
    m_speedTextButton = makeTextButton("play.tooltip.speed", 48);
    m_speedTextButton->setObjectName("speedTextButton");
    m_audioToggleButton = makeImageButton("icon_audio_front_n", "play.tooltip.audio", kButton);
    m_audioToggleButton->setObjectName("audioToggleButton");
    m_audioToggleButton->setCheckable(true);
    // It comes and goes with the second file: its room stays, so that the
    // buttons beside it do not move.
    QSizePolicy keepSpace = m_audioToggleButton->sizePolicy();
    keepSpace.setRetainSizeWhenHidden(true);
    m_audioToggleButton->setSizePolicy(keepSpace);
    m_muteButton = makeImageButton("icon_volume_n", "play.tooltip.mute", kSmallButton);
    m_muteButton->setObjectName("muteButton");

    connect(m_playButton, &QToolButton::clicked, this, &ORVMediaControlView::playClicked);
    connect(m_backwardButton, &QToolButton::clicked, this, &ORVMediaControlView::backwardClicked);
    connect(m_forwardButton, &QToolButton::clicked, this, &ORVMediaControlView::forwardClicked);
    connect(m_speedTextButton, &QToolButton::clicked, this, &ORVMediaControlView::speedClicked);
    connect(m_audioToggleButton, &QToolButton::toggled, this, &ORVMediaControlView::audioChoiceToggled);
    connect(m_muteButton, &QToolButton::clicked, this, &ORVMediaControlView::muteClicked);
}

void ORVMediaControlView::buildNormal() {
    m_sizeDownButton = makeImageButton("icon_size_down_n", "play.tooltip.size_down", kSmallButton);
    m_sizeTextButton = makeTextButton("play.tooltip.scale", 52);
    m_sizeTextButton->setObjectName("sizeTextButton");
    // It only shows the scale: nothing for the keys to press.
    m_sizeTextButton->setFocusPolicy(Qt::NoFocus);
    m_sizeUpButton = makeImageButton("icon_size_up_n", "play.tooltip.size_up", kSmallButton);
    m_fullScreenButton = makeImageButton("icon_fullscreen_n", "play.tooltip.fullscreen", kButton);
    m_swapButton = makeImageButton("icon_swap_n", "play.tooltip.swap", kButton);
    connect(m_sizeDownButton, &QToolButton::clicked, this, &ORVMediaControlView::sizeDownClicked);
    connect(m_sizeUpButton, &QToolButton::clicked, this, &ORVMediaControlView::sizeUpClicked);
    connect(m_fullScreenButton, &QToolButton::clicked, this, &ORVMediaControlView::fullScreenClicked);
    connect(m_swapButton, &QToolButton::clicked, this, &ORVMediaControlView::swapClicked);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(12, 4, 12, 4);
    column->setSpacing(0);
    auto* sliderRow = new QHBoxLayout();
    sliderRow->setSpacing(6);
    sliderRow->addWidget(m_elapsedTimeLabel);
    sliderRow->addWidget(m_positionSlider, 1);
    sliderRow->addWidget(m_totalTimeLabel);
    column->addLayout(sliderRow);

    auto* row = new QHBoxLayout();
    row->setSpacing(6);
    row->addWidget(m_speedTextButton);
    row->addSpacing(8);
    row->addWidget(m_sizeDownButton);
    row->addWidget(m_sizeTextButton);
    row->addWidget(m_sizeUpButton);
    row->addStretch(1);
    row->addWidget(m_backwardButton);
    row->addWidget(m_playButton);
    row->addWidget(m_forwardButton);
    row->addStretch(1);
    row->addWidget(m_swapButton);
    row->addWidget(m_audioToggleButton);
    row->addWidget(m_muteButton);
    row->addWidget(m_volumeSlider);
    row->addWidget(m_fullScreenButton);
    column->addLayout(row);
    chainFocus();
}

void ORVMediaControlView::buildFullScreen() {
    m_fullScreenButton = makeImageButton("icon_exit_fullscreen_n", "play.tooltip.exit_fullscreen", kSmallButton);
    connect(m_fullScreenButton, &QToolButton::clicked, this, &ORVMediaControlView::fullScreenClicked);
    m_playButton->setIconSize(kButton);
    for (QToolButton* button : {m_backwardButton, m_forwardButton, m_audioToggleButton}) {
        button->setIconSize(kSmallButton);
    }
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(kBarEndWidth, 2, kBarEndWidth, 2);
    row->setSpacing(6);
    row->addWidget(m_backwardButton);
    row->addWidget(m_playButton);
    row->addWidget(m_forwardButton);
    row->addWidget(m_elapsedTimeLabel);
    row->addWidget(m_positionSlider, 1);
    row->addWidget(m_totalTimeLabel);
    row->addWidget(m_speedTextButton);
    row->addWidget(m_audioToggleButton);
    row->addWidget(m_muteButton);
    row->addWidget(m_volumeSlider);
    row->addWidget(m_fullScreenButton);
    chainFocus();
}

QList<QWidget*> ORVMediaControlView::focusOrder() const {
    if (m_mode == Mode::Normal) {
        return {m_positionSlider, m_speedTextButton,   m_sizeDownButton, m_sizeUpButton, m_backwardButton,
                m_playButton,     m_forwardButton,     m_swapButton,     m_audioToggleButton, m_muteButton,
                m_volumeSlider,   m_fullScreenButton};
    }
    return {m_backwardButton,    m_playButton, m_forwardButton, m_positionSlider, m_speedTextButton,
            m_audioToggleButton, m_muteButton, m_volumeSlider,  m_fullScreenButton};
}

// The widgets were made in another order than they are shown.
void ORVMediaControlView::chainFocus() {
    const QList<QWidget*> order = focusOrder();
    for (qsizetype i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void ORVMediaControlView::keyPressEvent(QKeyEvent* event) {
    auto* button = qobject_cast<QToolButton*>(focusWidget());
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && button && isAncestorOf(button)) {
        button->animateClick();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ORVMediaControlView::paintEvent(QPaintEvent* event) {
    if (m_mode == Mode::Normal) {
        QWidget::paintEvent(event);
        return;
    }
    // The slim bar: "bottom-background" as left end, stretched middle and right end.
    QPainter painter(this);
    const QPixmap whole = ImageLibrary::pixmap("bottom-background", size(), devicePixelRatioF());
    painter.drawPixmap(rect(), whole);
}

void ORVMediaControlView::reportSliderAction(int action) {
    if (action == QAbstractSlider::SliderNoAction) return;
    emit positionSliderMoved(static_cast<double>(m_positionSlider->sliderPosition()) / kSliderSteps);
}

// Told on every time notice: the button draws its pictures anew only when
// the name changes.
void ORVMediaControlView::setPlaying(bool playing) {
    m_playButton->setImageName(playing ? QStringLiteral("icon_pause_n") : QStringLiteral("icon_play_n"));
}

QString ORVMediaControlView::playImageName() const { return m_playButton->imageName(); }

void ORVMediaControlView::setPosition(double position) {
    if (m_positionSlider->isSliderDown()) return;
    const double clamped = std::isfinite(position) ? std::clamp(position, 0.0, 1.0) : 0.0;
    const QSignalBlocker blocker(m_positionSlider);
    m_positionSlider->setValue(static_cast<int>(std::lround(clamped * kSliderSteps)));
}

double ORVMediaControlView::sliderValue() const {
    return static_cast<double>(m_positionSlider->value()) / kSliderSteps;
}

void ORVMediaControlView::setPlayTime(double position, std::int64_t lengthMs) {
    const PlayTimeText::Texts texts = PlayTimeText::forPosition(position, lengthMs);
    m_elapsedTimeLabel->setText(QString::fromStdString(texts.elapsed));
    m_totalTimeLabel->setText(QString::fromStdString(texts.total));
}

QString ORVMediaControlView::elapsedTimeText() const { return m_elapsedTimeLabel->text(); }

QString ORVMediaControlView::totalTimeText() const { return m_totalTimeLabel->text(); }

void ORVMediaControlView::setSpeed(double speed) {
    m_speedTextButton->setText(QString::asprintf("%.1fx", speed));
}

void ORVMediaControlView::setScale(double scale) {
    if (m_sizeTextButton) m_sizeTextButton->setText(QString::asprintf("%.2fx", scale));
}

QString ORVMediaControlView::speedText() const { return m_speedTextButton->text(); }

QString ORVMediaControlView::scaleText() const { return m_sizeTextButton ? m_sizeTextButton->text() : QString(); }

void ORVMediaControlView::setVolume(int volume, bool muted) {
    const QSignalBlocker blocker(m_volumeSlider);
    m_volumeSlider->setValue(volume);
    const bool silent = muted || volume == 0;
    if (m_silentShown == silent) return;
    m_silentShown = silent;
    m_muteButton->setImageName(silent ? QStringLiteral("icon_mute_n") : QStringLiteral("icon_volume_n"));
}

void ORVMediaControlView::setAudioChoice(bool visible, bool rear) {
    m_audioToggleButton->setVisible(visible);
    const QSignalBlocker blocker(m_audioToggleButton);
    m_audioToggleButton->setChecked(rear);
    m_audioToggleButton->setImageName(rear ? "icon_audio_rear_n" : "icon_audio_front_n");
}

void ORVMediaControlView::setSwapAvailable(bool available) {
    if (m_swapButton) m_swapButton->setEnabled(available);
}

}  // namespace zentrova
