#pragma once

#include <QWidget>

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

signals:
    void modeRequested(int mode);

private:
    QWidget* buildButtonBox();
    QWidget* buildMapContainer(QWidget* parent);

    TKImageButton* m_recordButton = nullptr;
    TKImageButton* m_informationButton = nullptr;
    QStackedLayout* m_stack = nullptr;
    RecordingsPanel* m_recordings = nullptr;
    QWidget* m_mapContainer = nullptr;
    ORVMapView* m_mapView = nullptr;
    int m_mode = ListMode;
};

}  // namespace zentrova
