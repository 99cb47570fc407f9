#pragma once

#include <QString>
#include <QWidget>

#include <memory>

#include "playback/ORVTelemetryReadout.h"

class QGridLayout;
class QLabel;

namespace zentrova {

class GraphView;
class ORVBlackBoxData;
class ORVMapView;

// The telemetry under the video: the three G-sensor readouts, the graph,
// speed, HDOP and satellites, and the map page they feed with the route
// and the place at the play position.
class TelemetryPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 130;

    explicit TelemetryPanel(QWidget* parent = nullptr);

    // The map page that follows the position; none until given.
    void feedMap(ORVMapView* map) { m_map = map; }

    void showTelemetry(std::shared_ptr<const ORVBlackBoxData> telemetry);
    // The readouts and the map at the play position; the graph's marker
    // where the main player is.
    void showPlayPosition(double playPosition, double markerPosition);
    // The readouts' texts at the start of a recording.
    void reset();

    // What the map has to show for the recording last given.
    enum class MapState { NothingPlayed, NoGpsData, NoFix, Route };
    MapState mapState() const { return m_mapState; }

signals:
    void mapStateChanged(zentrova::TelemetryPanel::MapState state);
    // The place marked on the map, in words ("48.11730° N, 11.51667° E").
    void mapPlaceChanged(const QString& place);

private:
    QLabel* makeReadout(const char* name);
    QLabel* makeCaption(const char* key);
    void addGpsRows(QGridLayout* grid);
    void showGsensor(double playPosition);
    void showGps(double playPosition);
    void showOnMap(const ORVTelemetryReadout::GpsTexts& texts);
    // Speed, HDOP and satellites greyed with a note while they are no
    // real readings (no valid fix with a place); noteKey empty for real ones.
    void showGpsReadingsReal(bool real, const char* noteKey);
    static QString speedText(const ORVTelemetryReadout::GpsTexts& texts);
    static QString placeText(const ORVTelemetryReadout::MapPosition& position);

    QLabel* m_gsensorXField = nullptr;
    QLabel* m_gsensorYField = nullptr;
    QLabel* m_gsensorZField = nullptr;
    QLabel* m_speedField = nullptr;
    QLabel* m_hdopField = nullptr;
    QLabel* m_sateliteField = nullptr;
    QLabel* m_gpsStateLabel = nullptr;
    GraphView* m_graphView = nullptr;
    ORVMapView* m_map = nullptr;
    std::shared_ptr<const ORVBlackBoxData> m_telemetry;
    QString m_lastMapScript;
    MapState m_mapState = MapState::NothingPlayed;
};

}  // namespace zentrova
