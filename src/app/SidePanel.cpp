#include "app/SidePanel.h"

#include "app/RecordingsPanel.h"
#include "controls/StyledBox.h"
#include "controls/TKImageButton.h"
#include "controls/UiText.h"
#include "playback/ORVMapView.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QStackedLayout>
#include <QVBoxLayout>

namespace zentrova {

SidePanel::SidePanel(QWidget* parent) : QWidget(parent) {
    setObjectName("sidePanel");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildButtonBox());

    QWidget* mediaListBox = makeStyledBox("mediaListBox", this);
    m_stack = new QStackedLayout(mediaListBox);
    m_stack->setContentsMargins(0, 0, 0, 0);
    m_recordings = new RecordingsPanel(mediaListBox);
    m_stack->addWidget(m_recordings);
    m_stack->addWidget(buildMapContainer(mediaListBox));
    layout->addWidget(mediaListBox, 1);
    setMode(ListMode);
    showMapState(TelemetryPanel::MapState::NothingPlayed);
}

QWidget* SidePanel::buildButtonBox() {
    QWidget* box = makeStyledBox("sideButtonBox", this);
    box->setFixedHeight(kButtonHeight);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const struct {
        const char* name;
        const char* image;
        const char* tooltipKey;
        TKImageButton** button;
        int mode;
    } buttons[] = {
        {"recordButtonImageView", "record_n", "main.show_recordings", &m_recordButton, ListMode},
        {"informationButtonImageView", "information_n", "main.show_map", &m_informationButton, MapMode},
    };
    for (const auto& entry : buttons) {
        auto* button = new TKImageButton(QString::fromLatin1(entry.image), box);
        button->setObjectName(QString::fromLatin1(entry.name));
        button->setToolTip(uiText(entry.tooltipKey));
        button->setCursor(Qt::PointingHandCursor);
        button->setIconSize(QSize(24, 24));
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(button);
        connect(button, &TKImageButton::clicked, this, [this, mode = entry.mode] { emit modeRequested(mode); });
        *entry.button = button;
    }
    return box;
}

QWidget* SidePanel::buildMapContainer(QWidget* parent) {
    m_mapContainer = makeStyledBox("mapContainerView", parent);
    auto* layout = new QVBoxLayout(m_mapContainer);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    QWidget* top = makeStyledBox("mapContainerTopView", m_mapContainer);
    auto* topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    m_mapView = new ORVMapView(top);
    topLayout->addWidget(m_mapView);
    layout->addWidget(top, 1);
    QWidget* bottom = makeStyledBox("mapContainerBottomView", m_mapContainer);
    bottom->setFixedHeight(kMapBottomHeight);
    auto* bottomLayout = new QVBoxLayout(bottom);
    bottomLayout->setContentsMargins(10, 4, 10, 4);
    m_mapPlaceLabel = new QLabel(bottom);
    m_mapPlaceLabel->setObjectName("mapPlaceLabel");
    m_mapPlaceLabel->setAlignment(Qt::AlignCenter);
    m_mapPlaceLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    bottomLayout->addWidget(m_mapPlaceLabel);
    layout->addWidget(bottom);

    m_mapEmptyLabel = new QLabel(m_mapContainer);
    m_mapEmptyLabel->setObjectName("mapEmptyLabel");
    m_mapEmptyLabel->setAlignment(Qt::AlignCenter);
    m_mapEmptyLabel->setWordWrap(true);
    m_mapContainer->installEventFilter(this);
    return m_mapContainer;
}

bool SidePanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_mapContainer && event->type() == QEvent::Resize) m_mapEmptyLabel->setGeometry(m_mapContainer->rect());
    return QWidget::eventFilter(watched, event);
}

void SidePanel::showMapState(TelemetryPanel::MapState state) {
    const char* key = nullptr;
    switch (state) {
    case TelemetryPanel::MapState::NothingPlayed: key = "map.empty.nothing_played"; break;
    case TelemetryPanel::MapState::NoGpsData: key = "map.empty.no_gps_data"; break;
    case TelemetryPanel::MapState::NoFix: key = "map.empty.no_fix"; break;
    case TelemetryPanel::MapState::Route: break;
    }
    m_mapEmptyLabel->setText(key ? uiText(key) : QString());
    m_mapEmptyLabel->setVisible(key != nullptr);
    m_mapEmptyLabel->setGeometry(m_mapContainer->rect());
    m_mapEmptyLabel->raise();
}

void SidePanel::showMapPlace(const QString& place) { m_mapPlaceLabel->setText(place); }

QString SidePanel::mapEmptyText() const { return m_mapEmptyLabel->isVisibleTo(m_mapContainer) ? m_mapEmptyLabel->text() : QString(); }

void SidePanel::setMode(int mode) {
    m_mode = mode;
    // The button of the mode shown stands pressed ("record_p", "information_p").
    m_recordButton->setSelected(mode == ListMode);
    m_informationButton->setSelected(mode == MapMode);
}

void SidePanel::showModePanel() {
    m_stack->setCurrentWidget(m_mode == MapMode ? m_mapContainer : static_cast<QWidget*>(m_recordings));
}

}  // namespace zentrova
