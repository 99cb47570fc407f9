#pragma once

#include <QWidget>

#include "playback/TelemetryPanel.h"

class QLabel;
class QStackedLayout;

namespace zentrova {

class ORVMapView;
class RecordingsPanel;
class TKImageButton;

// The top of the side column: two buttons over either the recordings table
// or the map. The buttons ask for a mode; the window decides when the panel
// below shows it.
class SidePanel : public QWidget {
    Q_OBJECT
public:
    enum Mode { ListMode = 0, MapMode = 1 };
    static constexpr int kButtonHeight = 32;
    static constexpr int kMapBottomHeight = 57;

    explicit SidePanel(QWidget* parent = nullptr);

    RecordingsPanel* recordings() const { return m_recordings; }
    ORVMapView* mapView() const { return m_mapView; }

    int mode() const { return m_mode; }
    // The buttons show the mode at once.
    void setMode(int mode);
    // The table or the map, as the mode says.
    void showModePanel();

    // Until there is a route, a note over the whole map container says why
    // there is none; under the map, the place marked in words.
    void showMapState(TelemetryPanel::MapState state);
    void showMapPlace(const QString& place);
    QString mapEmptyText() const;

signals:
    void modeRequested(int mode);

private:
    QWidget* buildButtonBox();
    QWidget* buildMapContainer(QWidget* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TKImageButton* m_recordButton = nullptr;
    TKImageButton* m_informationButton = nullptr;
    QStackedLayout* m_stack = nullptr;
    RecordingsPanel* m_recordings = nullptr;
    QWidget* m_mapContainer = nullptr;
    ORVMapView* m_mapView = nullptr;
    QLabel* m_mapEmptyLabel = nullptr;
    QLabel* m_mapPlaceLabel = nullptr;
    int m_mode = ListMode;
};

}  // namespace zentrova
