#pragma once

#include <QString>

#include <cstdint>
#include <memory>

namespace zentrova {

class ORVBlackBoxData;

// What the play control asks of the window around it: the table, the video
// areas, the telemetry panel and the controls that are not bound to the
// play state.
class ORVPlayControlHost {
public:
    virtual ~ORVPlayControlHost() = default;

    virtual void selectRow(std::int64_t row) = 0;
    virtual void setVideoLogos(const QString& mainLogo, const QString& secondLogo) = 0;
    virtual void setVideoViewsVisible(bool mainVisible, bool secondVisible) = 0;
    // The second video area and the audio toggle exist only with a second file.
    virtual void setSecondVideoPresent(bool present) = 0;
    virtual void showTelemetry(std::shared_ptr<const ORVBlackBoxData> telemetry) = 0;
    // Readouts back to their start texts and the side buttons refreshed.
    virtual void resetTelemetryReadouts() = 0;
    virtual void setVideoScaleIndex(int step) = 0;
    virtual void showLoadingProgress(bool visible, double progress) = 0;
    virtual void showAudioChoice(bool visible, bool rear) = 0;
    virtual void showVolume(int volume, bool muted) = 0;
    virtual double videoContainerHeight() const = 0;
    virtual void animateSwap() = 0;
    // A short note over the video that goes by itself (a recording that
    // cannot be played); it never waits for the user.
    virtual void showPlayMessage(const QString& message) = 0;
};

}  // namespace zentrova
