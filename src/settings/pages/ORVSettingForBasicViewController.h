#pragma once

#include "common/Localization.h"
#include "settings/ORVSettingControllerDelegate.h"

#include <QString>

#include <array>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace zentrova {

class ORVCarNumberTextField;
class SegmentedControl;

// Tab 1: the waiting time before parking mode, the impact sensitivity while
// driving and while parked (five presets or three custom thresholds each),
// the LEDs, the plate number, the power cut-off and the cable's voltage loss.
class ORVSettingForBasicViewController : public ORVSettingControllerDelegate {
    Q_OBJECT
public:
    static constexpr int kCustomSensitivity = 5;

    explicit ORVSettingForBasicViewController(QWidget* parent = nullptr);

    // Custom thresholds only; the first refused field takes the focus.
    std::optional<QString> validateUserInput() const override;

protected:
    void displayFileData() override;
    bool storeFileData(FILEDATA& record) override;

private slots:
    void clickGsensorEnableCheck();
    void clickDrivingGsensorSensitivity();
    void clickUseExternalPowerChk();
    void powerVoltageSelected(int item);

private:
    using ThresholdFields = std::array<QLineEdit*, 3>;

    QWidget* makeWaitingTimeBox();
    QWidget* makeDrivingBox();
    QWidget* makeParkingBox();
    QGroupBox* makeLedBox(SegmentedControl*& control, const char* boxOutlet, const char* controlOutlet, TextKey title);
    QWidget* makeCarNumberRow();
    QWidget* makePowerBox();
    QWidget* makeCableVoltageLossBox();
    QWidget* makeThresholdRow(ThresholdFields& fields, const char* const (&outlets)[3]);

    // The sensitivity controls follow the G-sensor box; the threshold fields
    // are open only with the box on and the custom choice made.
    void changeGsensorEnable();
    // A preset puts its values into its fields.
    void updateGsensorThreshold();
    void updatePowerUI(bool externalPower);
    std::optional<QString> validateThresholds(const SegmentedControl& control, const ThresholdFields& fields) const;

    QGroupBox* boxOfAlwaysModeTimeout = nullptr;
    SegmentedControl* alwaysModeTimeoutSeg = nullptr;
    QGroupBox* boxOfGsensorSensitivityDriving = nullptr;
    QCheckBox* gsensorEnableChk = nullptr;
    SegmentedControl* gsensorSensitivityDrivingSeg = nullptr;
    ThresholdFields drivingThresholdFields{};
    QGroupBox* boxOfGsensorSensitivityParking = nullptr;
    SegmentedControl* gsensorSensitivityParkingSeg = nullptr;
    ThresholdFields parkingThresholdFields{};
    QGroupBox* boxOfFrontLEDSettings = nullptr;
    SegmentedControl* frontLEDSeg = nullptr;
    QGroupBox* boxOfRearLEDSettings = nullptr;
    SegmentedControl* rearLEDSeg = nullptr;
    QLabel* carNumberLabelField = nullptr;
    ORVCarNumberTextField* carNumberField = nullptr;
    QGroupBox* boxOfPower = nullptr;
    QLabel* powerVoltageLabel = nullptr;
    QComboBox* powerVoltageCombo = nullptr;
    QLabel* powerTimeLabel = nullptr;
    QComboBox* powerTimeCombo = nullptr;
    QCheckBox* useExternalPowerChk = nullptr;
    QLabel* powerGuide1Field = nullptr;
    QGroupBox* boxOfCableVoltageLoss = nullptr;
    SegmentedControl* cableVoltageLossSeg = nullptr;

    // The plate as shown, so that an untouched plate keeps the record's own
    // bytes (which need not be UTF-8).
    QString m_displayedCarNumber;
};

}  // namespace zentrova
