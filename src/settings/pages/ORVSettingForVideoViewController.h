#pragma once

#include "settings/ORVSettingControllerDelegate.h"

#include <cstdint>
#include <vector>

class QGridLayout;
class QLabel;

namespace zentrova {

class SegmentedControl;

// The settings page of recording quality and picture: per camera the
// quality, brightness and window filter, the rear picture's mirroring and
// frame rate, and night vision. Each control's segment index is the stored
// value.
class ORVSettingForVideoViewController : public ORVSettingControllerDelegate {
    Q_OBJECT
public:
    explicit ORVSettingForVideoViewController(QWidget* parent = nullptr);

    // Nothing on this page can be invalid.
    std::optional<QString> validateUserInput() const override { return std::nullopt; }

protected:
    void displayFileData() override;
    bool storeFileData(FILEDATA& record) override;

private:
    // A control whose selected segment is the field's value; a value past its
    // segments selects none and is kept as it is.
    struct SegmentField {
        SegmentedControl* control;
        std::uint32_t FILEDATA::*field;
    };

    SegmentedControl* addSegmentBox(QGridLayout& grid, int row, int column, const char* boxName,
                                    const QString& title, const char* outlet, const QStringList& labels,
                                    QLabel* caption = nullptr);
    void showRearFrameRates(std::uint32_t gamma);
    void warnOfQualityChange(const FILEDATA& record);

    SegmentedControl* m_videoEncodingBitrate = nullptr;
    SegmentedControl* m_videoEncodingBitrateRear = nullptr;
    SegmentedControl* m_videoBrightness = nullptr;
    SegmentedControl* m_videoBrightnessRear = nullptr;
    SegmentedControl* m_flipVideoRealSeg = nullptr;
    SegmentedControl* m_rearfpsSeg = nullptr;
    SegmentedControl* m_frontTinting = nullptr;
    SegmentedControl* m_rearTinting = nullptr;
    SegmentedControl* m_wdr = nullptr;
    // In the order the page stores them.
    std::vector<SegmentField> m_segmentFields;

    // The qualities as the record held them when the page last showed it.
    std::uint32_t m_forntVideoQuality = 0;
    std::uint32_t m_rearVideoQuality = 0;
};

}  // namespace zentrova
