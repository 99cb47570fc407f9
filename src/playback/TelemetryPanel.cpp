#include "playback/TelemetryPanel.h"

#include "controls/UiText.h"
#include "playback/GraphView.h"
#include "playback/ORVMapView.h"
#include "telemetry/ORVBlackBoxData.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <utility>
#include <vector>

namespace zentrova {
namespace {

// A readout's text changes width with its value ("X=0.00" against
// "X=-1.25", "0 Km/h" against "118 Km/h"); reserving its widest text keeps
// the graph between the readouts from shifting while a recording plays.
void reserveWidthOfWidestText(QLabel* field, std::initializer_list<QString> texts) {
    field->ensurePolished();
    const QString shown = field->text();
    int widest = 0;
    for (const QString& text : texts) {
        field->setText(text);
        widest = std::max(widest, field->sizeHint().width());
    }
    field->setText(shown);
    field->setMinimumWidth(widest);
}

QString unitText(ORVTelemetryReadout::SpeedUnit unit) {
    return uiText(unit == ORVTelemetryReadout::SpeedUnit::KilometresPerHour ? "play.unit.km_per_hour"
                                                                            : "play.unit.mi_per_hour");
}

void setGreyed(QLabel* field, bool greyed) {
    if (field->property("noFix").toBool() == greyed) return;
    field->setProperty("noFix", greyed);
    field->style()->unpolish(field);
    field->style()->polish(field);
}

}  // namespace

TelemetryPanel::TelemetryPanel(QWidget* parent) : QWidget(parent) {
    setObjectName("gsensorBox");
    setAttribute(Qt::WA_StyledBackground, true);
    setFixedHeight(kHeight);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 8);
    layout->setSpacing(12);

    m_gsensorXField = makeReadout("gsensorXField");
    m_gsensorYField = makeReadout("gsensorYField");
    m_gsensorZField = makeReadout("gsensorZField");
    m_speedField = makeReadout("speedField");
    m_hdopField = makeReadout("hdopField");
    m_sateliteField = makeReadout("sateliteField");
    reserveWidthOfWidestText(m_gsensorXField, {"X=-00.00"});
    reserveWidthOfWidestText(m_gsensorYField, {"Y=-00.00"});
    reserveWidthOfWidestText(m_gsensorZField, {"Z=-00.00"});
    reserveWidthOfWidestText(m_speedField, {"000 " + unitText(ORVTelemetryReadout::SpeedUnit::KilometresPerHour),
                                            "000 " + unitText(ORVTelemetryReadout::SpeedUnit::MilesPerHour)});
    reserveWidthOfWidestText(m_hdopField, {"00.0"});
    reserveWidthOfWidestText(m_sateliteField, {"00"});

    auto* gsensorColumn = new QVBoxLayout();
    gsensorColumn->setSpacing(2);
    gsensorColumn->addWidget(makeCaption("play.caption.gsensor"));
    for (QLabel* field : {m_gsensorXField, m_gsensorYField, m_gsensorZField}) gsensorColumn->addWidget(field);
    gsensorColumn->addStretch(1);
    layout->addLayout(gsensorColumn);

    m_graphView = new GraphView(this);
    m_graphView->setToolTip(uiText("play.caption.gsensor"));
    layout->addWidget(m_graphView, 1);

    auto* gpsGrid = new QGridLayout();
    gpsGrid->setHorizontalSpacing(8);
    gpsGrid->setVerticalSpacing(4);
    addGpsRows(gpsGrid);
    layout->addLayout(gpsGrid);
}

QLabel* TelemetryPanel::makeReadout(const char* name) {
    auto* field = new QLabel(this);
    field->setObjectName(QString::fromLatin1(name));
    field->setProperty("readout", true);
    return field;
}

QLabel* TelemetryPanel::makeCaption(const char* key) {
    auto* caption = new QLabel(uiText(key), this);
    caption->setProperty("caption", true);
    return caption;
}

void TelemetryPanel::addGpsRows(QGridLayout* grid) {
    const std::pair<const char*, QLabel*> rows[] = {
        {"play.caption.speed", m_speedField},
        {"play.caption.hdop", m_hdopField},
        {"play.caption.satellites", m_sateliteField},
    };
    int row = 0;
    for (const auto& [caption, field] : rows) {
        grid->addWidget(makeCaption(caption), row, 0);
        grid->addWidget(field, row, 1);
        ++row;
    }
    m_gpsStateLabel = new QLabel(this);
    m_gpsStateLabel->setObjectName("gpsStateLabel");
    QSizePolicy keepSpace = m_gpsStateLabel->sizePolicy();
    keepSpace.setRetainSizeWhenHidden(true);
    m_gpsStateLabel->setSizePolicy(keepSpace);
    m_gpsStateLabel->hide();
    grid->addWidget(m_gpsStateLabel, row, 0, 1, 2);
    grid->setRowStretch(row + 1, 1);
}

void TelemetryPanel::showTelemetry(std::shared_ptr<const ORVBlackBoxData> telemetry) {
    m_telemetry = std::move(telemetry);
    m_lastMapScript.clear();
    m_graphView->setGraphData(m_telemetry);
    // The whole drive of the recording, under the moving marker.
    std::vector<ORVMapView::LatLon> route;
    if (m_telemetry) {
        for (const auto& place : ORVTelemetryReadout::route(*m_telemetry)) {
            route.push_back({place.latitude, place.longitude});
        }
    }
    m_mapState = !route.empty()                                 ? MapState::Route
                 : m_telemetry && !m_telemetry->m_vGpsData.empty() ? MapState::NoFix
                                                                  : MapState::NoGpsData;
    emit mapStateChanged(m_mapState);
    emit mapPlaceChanged(QString());
    if (!m_map) return;
    if (route.empty()) {
        m_map->clearRoute();
    } else {
        m_map->setRoute(route);
    }
}

void TelemetryPanel::reset() {
    const ORVTelemetryReadout::GSensorTexts start = ORVTelemetryReadout::startGSensorTexts();
    m_gsensorXField->setText(QString::fromStdString(start.x));
    m_gsensorYField->setText(QString::fromStdString(start.y));
    m_gsensorZField->setText(QString::fromStdString(start.z));
    for (QLabel* field : {m_speedField, m_hdopField, m_sateliteField}) field->clear();
    showGpsReadingsReal(true, nullptr);
}

void TelemetryPanel::showPlayPosition(double playPosition, double markerPosition) {
    m_graphView->updateTimePosition(markerPosition);
    if (!m_telemetry) return;
    showGsensor(playPosition);
    showGps(playPosition);
}

void TelemetryPanel::showGsensor(double playPosition) {
    const auto texts = ORVTelemetryReadout::gsensorTexts(*m_telemetry, playPosition);
    if (!texts) return;
    m_gsensorXField->setText(QString::fromStdString(texts->x));
    m_gsensorYField->setText(QString::fromStdString(texts->y));
    m_gsensorZField->setText(QString::fromStdString(texts->z));
}

void TelemetryPanel::showGps(double playPosition) {
    const ORVTelemetryReadout::GpsTexts texts = ORVTelemetryReadout::gpsTexts(*m_telemetry, playPosition);
    showOnMap(texts);
    if (texts.speed) m_speedField->setText(speedText(texts));
    m_hdopField->setText(QString::fromStdString(texts.hdop));
    m_sateliteField->setText(QString::fromStdString(texts.satellites));
    showGpsReadingsReal(texts.fixValid, texts.hasGpsData ? "play.gps.no_fix" : "play.gps.no_data");
}

// The number as the readout gives it, the unit as the string table has it.
QString TelemetryPanel::speedText(const ORVTelemetryReadout::GpsTexts& texts) {
    return QString::fromStdString(texts.speedValue) + QLatin1Char(' ') + unitText(texts.speedUnit);
}

void TelemetryPanel::showGpsReadingsReal(bool real, const char* noteKey) {
    for (QLabel* field : {m_speedField, m_hdopField, m_sateliteField}) setGreyed(field, !real);
    if (!real && noteKey) m_gpsStateLabel->setText(uiText(noteKey));
    m_gpsStateLabel->setVisible(!real);
}

void TelemetryPanel::showOnMap(const ORVTelemetryReadout::GpsTexts& texts) {
    // Each position notice would repeat the call; the page only needs changes.
    const QString call = QString::fromStdString(texts.mapScript);
    if (call.isEmpty() || call == m_lastMapScript) return;
    m_lastMapScript = call;
    // A fix without a position (before the receiver locks) would put the
    // marker at 0, 0; the last real place stays instead.
    const bool plottable = texts.hasGpsData && texts.position && ORVTelemetryReadout::isPlottable(*texts.position);
    if (plottable) emit mapPlaceChanged(placeText(*texts.position));
    if (!m_map) return;
    if (!texts.hasGpsData) {
        m_map->debug(QStringLiteral("GPS Data Count=Zero"));
    } else if (plottable) {
        m_map->setLatLag(texts.position->longitude, texts.position->latitude);
    }
}

QString TelemetryPanel::placeText(const ORVTelemetryReadout::MapPosition& position) {
    const auto degrees = [](double value) { return QString::number(std::fabs(value), 'f', 5) + QChar(0x00B0); };
    return uiFormat("map.place_fmt", degrees(position.latitude),
                    uiText(position.latitude < 0 ? "map.south" : "map.north"), degrees(position.longitude),
                    uiText(position.longitude < 0 ? "map.west" : "map.east"));
}

}  // namespace zentrova
