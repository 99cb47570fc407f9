#pragma once

#include "common/Localization.h"
#include "settings/ORVSettingControllerDelegate.h"

#include <QString>

#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;

namespace zentrova {

class SegmentedControl;

// Tab 2: the weekly reminder day, the speed unit, the time zone and summer
// time, the speed stamp on the video, the route saving interval and GPS in
// parking mode. Nothing on it can be refused.
class ORVSettingForGpsViewController : public ORVSettingControllerDelegate {
    Q_OBJECT
public:
    explicit ORVSettingForGpsViewController(QWidget* parent = nullptr);

    std::optional<QString> validateUserInput() const override { return std::nullopt; }

protected:
    void displayFileData() override;
    bool storeFileData(FILEDATA& record) override;

private:
    QGroupBox* makeBox(QGroupBox*& box, const char* outlet, TextKey title, QWidget* control, QLabel* guide = nullptr);
    QWidget* makeTimeControls();

    QLabel* gpsGuide1Field = nullptr;
    QGroupBox* boxOfDay = nullptr;
    SegmentedControl* drivingDaySeg = nullptr;
    QGroupBox* boxOfSpeedDisplayUnit = nullptr;
    SegmentedControl* speedDisplayUnitSeg = nullptr;
    QLabel* speedGuide1Field = nullptr;
    QGroupBox* boxOfTime = nullptr;
    QComboBox* timeGmtCombo = nullptr;
    QCheckBox* summerTimeChk = nullptr;
    QLabel* timeGuide1Field = nullptr;
    QGroupBox* boxOfGpsSpeedDisplay = nullptr;
    SegmentedControl* osdSpeedDisplaySeg = nullptr;
    QGroupBox* boxOfSaveDuration = nullptr;
    SegmentedControl* saveDurationSeg = nullptr;
    QGroupBox* boxOfNightTime = nullptr;
    SegmentedControl* nightTimeSeg = nullptr;
    QLabel* gpsGuide2Field = nullptr;
};

}  // namespace zentrova
