#pragma once

#include "common/Localization.h"
#include "settings/ORVSettingControllerDelegate.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;

namespace zentrova {

class SegmentedControl;

// Tab 4: how the camera records while parked (motion or time-lapse), night
// vision, the motion sensitivity of each camera and the twelve picture areas
// of each camera that motion detection watches.
class ORVSettingForMotionViewController : public ORVSettingControllerDelegate {
    Q_OBJECT
public:
    static constexpr int kMotionBlockCount = 12;
    // The mask bit of each area box, boxes 01 to 12: a set bit leaves the
    // area out of motion detection.
    static constexpr std::array<int, kMotionBlockCount> kMotionBlockBits = {8, 9, 10, 11, 4, 5, 6, 7, 0, 1, 2, 3};

    explicit ORVSettingForMotionViewController(QWidget* parent = nullptr);

    std::optional<QString> validateUserInput() const override { return std::nullopt; }

protected:
    void displayFileData() override;
    bool storeFileData(FILEDATA& record) override;

private:
    using MotionBlockBoxes = std::array<QCheckBox*, kMotionBlockCount>;

    QWidget* makeParkingModeBoxes();
    QWidget* makeSensitivityBox();
    QWidget* makeMotionBlockBox();
    QGroupBox* makeAreaBox(const char* outlet, TextKey title, const char* side, MotionBlockBoxes& boxes,
                           QWidget* parent);

    static void showMotionBlock(const MotionBlockBoxes& boxes, std::uint32_t mask);
    static std::uint32_t motionBlockOf(const MotionBlockBoxes& boxes);

    QGroupBox* boxOfParkingMode = nullptr;
    SegmentedControl* parkingModeSeg = nullptr;
    QGroupBox* boxOfNightVision = nullptr;
    SegmentedControl* nightVisionSeg = nullptr;
    QGroupBox* boxOfMotion = nullptr;
    QLabel* frontMotionSensitivityLabel = nullptr;
    SegmentedControl* frontSensitivitySeg = nullptr;
    QLabel* rearMotionSensitivityLabel = nullptr;
    SegmentedControl* rearSensitivitySeg = nullptr;
    QGroupBox* boxOfMotionBlock = nullptr;
    QGroupBox* boxOfFrontMotionBlock = nullptr;
    MotionBlockBoxes frontMotionBlockChks{};
    QGroupBox* boxOfRearMotionBlock = nullptr;
    MotionBlockBoxes rearMotionBlockChks{};
};

}  // namespace zentrova
