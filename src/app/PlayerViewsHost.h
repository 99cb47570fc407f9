#pragma once

#include <QObject>

#include "playback/ORVPlayControlHost.h"

namespace zentrova {

class MainWindow;
class ORVPlayController;
class VLCVideoView;

// The play control's host in the main window: the two video areas, both
// sets of play controls and the loading indicator, with the table, the
// telemetry panel and the window size reached through the window.
class PlayerViewsHost : public QObject, public ORVPlayControlHost {
    Q_OBJECT
public:
    explicit PlayerViewsHost(MainWindow& window, QObject* parent = nullptr);

    // Both control bars drive the controller and show its play state; the
    // telemetry follows the play position.
    void bind(ORVPlayController& controller);

    void selectRow(std::int64_t row) override;
    void setVideoLogos(const QString& mainLogo, const QString& secondLogo) override;
    void setVideoViewsVisible(bool mainVisible, bool secondVisible) override;
    void setSecondVideoPresent(bool present) override;
    void showTelemetry(std::shared_ptr<const ORVBlackBoxData> telemetry) override;
    void resetTelemetryReadouts() override;
    void setVideoScaleIndex(int step) override;
    void showLoadingProgress(bool visible, double progress) override;
    void showAudioChoice(bool visible, bool rear) override;
    void showVolume(int volume, bool muted) override;
    double videoContainerHeight() const override;
    void animateSwap() override;
    void showPlayMessage(const QString& message) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showPlayState(ORVPlayController& controller);
    void connectControls(ORVPlayController& controller);
    void followVideoArea(ORVPlayController& controller);
    static void showVideoView(VLCVideoView* view, bool visible);

    MainWindow& m_window;
    ORVPlayController* m_controller = nullptr;
};

}  // namespace zentrova
