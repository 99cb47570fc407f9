#include "settings/pages/ORVSettingForBasicViewController.h"

#include "controls/Alert.h"
#include "controls/SegmentedControl.h"
#include "controls/UiText.h"
#include "settings/NumberScanner.h"
#include "settings/ORVCarNumberTextField.h"
#include "settings/ORVValidator.h"
#include "settings/StoredChoices.h"
#include "settings/pages/SettingPageLayout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace zentrova {
namespace {

constexpr std::int64_t kWaitingTimeSeconds[] = {0, 10, 30, 60, 120, 180, 300, 420, 600};
constexpr StoredChoices kWaitingTimeChoices(kWaitingTimeSeconds, 2);

constexpr StoredChoices kLedChoices = StoredChoices::indices(2, 0);

constexpr std::int64_t kCutOffVoltages[] = {0, 1, 11800, 12000, 12200, 12400};
constexpr StoredChoices kCutOffVoltageChoices(kCutOffVoltages, 3);
constexpr int kLowCutOffVoltageItem = 2;

constexpr std::int64_t kCutOffHours[] = {0, 3, 6, 12, 24, 48};
constexpr StoredChoices kCutOffTimerChoices(kCutOffHours, 0);

constexpr std::int64_t kCableVoltCorrs[] = {1, 2, 3, 4, 5, 6, 7};
constexpr StoredChoices kCableVoltageLossChoices(kCableVoltCorrs, 3);
// What an unset correction (0) becomes: 0.3 V, the factory value.
constexpr std::uint32_t kDefaultCableVoltCorr = 4;

// X, Y and Z of each preset, in hundredths of g, least sensitive first.
using Thresholds = std::array<std::int32_t, 3>;
constexpr Thresholds kDrivingPresets[] = {{70, 65, 65}, {60, 55, 55}, {50, 45, 45}, {40, 35, 35}, {30, 25, 25}};
constexpr Thresholds kParkingPresets[] = {{25, 25, 25}, {20, 20, 20}, {15, 15, 15}, {12, 12, 12}, {8, 8, 8}};

constexpr const char* kDrivingFieldOutlets[3] = {"gsensorSensitivityThresholdXDrivingField",
                                                 "gsensorSensitivityThresholdYDrivingField",
                                                 "gsensorSensitivityThresholdZDrivingField"};
constexpr const char* kParkingFieldOutlets[3] = {"gsensorSensitivityThresholdXParkingField",
                                                 "gsensorSensitivityThresholdYParkingField",
                                                 "gsensorSensitivityThresholdZParkingField"};
constexpr TextKey kAxisKeys[3] = {TextKey{"setting.basic.axis_x"}, TextKey{"setting.basic.axis_y"},
                                  TextKey{"setting.basic.axis_z"}};

Thresholds drivingThresholds(const FILEDATA& r) { return {r.gsen_x_threshold, r.gsen_y_threshold, r.gsen_z_threshold}; }
Thresholds parkingThresholds(const FILEDATA& r) {
    return {r.parkmode_x_threshold, r.parkmode_y_threshold, r.parkmode_z_threshold};
}

int matchingPreset(const Thresholds& stored, std::span<const Thresholds> presets) {
    const auto found = std::find(presets.begin(), presets.end(), stored);
    return found == presets.end() ? ORVSettingForBasicViewController::kCustomSensitivity
                                  : static_cast<int>(found - presets.begin());
}

std::span<const Thresholds> presetsOf(bool driving) {
    return driving ? std::span<const Thresholds>(kDrivingPresets) : std::span<const Thresholds>(kParkingPresets);
}

// The fields show hundredths of g as g with two decimals.
QString thresholdText(std::int32_t hundredths) { return QString::asprintf("%.2f", hundredths / 100.0); }

void showThresholds(const std::array<QLineEdit*, 3>& fields, const Thresholds& values) {
    for (std::size_t axis = 0; axis < fields.size(); ++axis) fields[axis]->setText(thresholdText(values[axis]));
}

// Read in double and rounded to the nearest hundredth, so that every text of
// two decimals stores the number it shows ("0.29" stores 29, "0.70" 70); an
// empty field stores 0.
std::int32_t storedThreshold(const QLineEdit& field) {
    const std::optional<double> number = scanLeadingNumber(field.text().toStdString());
    if (!number) return 0;
    const double hundredths = std::clamp(*number * 100.0, double(std::numeric_limits<std::int32_t>::min()),
                                         double(std::numeric_limits<std::int32_t>::max()));
    return static_cast<std::int32_t>(std::lround(hundredths));
}

Thresholds storedThresholds(const std::array<QLineEdit*, 3>& fields) {
    return {storedThreshold(*fields[0]), storedThreshold(*fields[1]), storedThreshold(*fields[2])};
}

QStringList waitingTimeLabels() {
    return {uiText("unuse"),   secondsLabel(10), secondsLabel(30), minutesLabel(1), minutesLabel(2),
            minutesLabel(3),   minutesLabel(5),  minutesLabel(7),  minutesLabel(10)};
}

QStringList sensitivityLabels() { return sensitivityStepLabels() << uiText("setting.basic.customize"); }

QStringList ledLabels() { return {uiText("setting.basic.LED_use"), uiText("setting.basic.LED_notuse")}; }

QStringList cutOffVoltageLabels() {
    return {uiText("unuse"), uiText("auto"), QStringLiteral("11.8v / 23.6v"), QStringLiteral("12.0v / 24.0v"),
            QStringLiteral("12.2v / 24.4v"), QStringLiteral("12.4v / 24.8v")};
}

QStringList cutOffTimerLabels() {
    return {uiText("unuse"), hoursLabel(3), hoursLabel(6), hoursLabel(12), hoursLabel(24), hoursLabel(48)};
}

QStringList cableVoltageLossLabels() {
    return {uiText("none"),          QStringLiteral("0.1v"), QStringLiteral("0.2v"), QStringLiteral("0.3v"),
            QStringLiteral("0.4v"), QStringLiteral("0.5v"), QStringLiteral("0.6v")};
}

QHBoxLayout* pairOfColumns(QWidget* left, QWidget* right) {
    auto* row = new QHBoxLayout;
    row->setSpacing(12);
    row->addWidget(left, 1);
    row->addWidget(right, 1);
    return row;
}

QVBoxLayout* boxLayout(QGroupBox* box) {
    auto* layout = new QVBoxLayout(box);
    layout->setSpacing(8);
    return layout;
}

}  // namespace

ORVSettingForBasicViewController::ORVSettingForBasicViewController(QWidget* parent)
    : ORVSettingControllerDelegate(parent) {
    setObjectName("ORVSettingForBasicViewController");
    // Pairs of boxes under the waiting time, each row sharing its own width,
    // so that the page fits the editor: the two sensitivities, the two LEDs,
    // then the power cut-off beside the cable correction and the plate.
    auto* rows = new QVBoxLayout(this);
    rows->setSpacing(10);
    // Made in the order they are read, which is also the order of the focus.
    rows->addWidget(makeWaitingTimeBox());
    QWidget* driving = makeDrivingBox();
    rows->addLayout(pairOfColumns(driving, makeParkingBox()));
    boxOfFrontLEDSettings = makeLedBox(frontLEDSeg, "boxOfFrontLEDSettings", "frontLEDSeg",
                                       TextKey{"setting.basic.front_LED_settings"});
    boxOfRearLEDSettings =
        makeLedBox(rearLEDSeg, "boxOfRearLEDSettings", "rearLEDSeg", TextKey{"setting.basic.rear_LED_settings"});
    rows->addLayout(pairOfColumns(boxOfFrontLEDSettings, boxOfRearLEDSettings));
    QWidget* power = makePowerBox();
    auto* cableAndPlate = new QWidget(this);
    auto* column = new QVBoxLayout(cableAndPlate);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(makeCableVoltageLossBox());
    column->addWidget(makeCarNumberRow());
    column->addStretch(1);
    rows->addLayout(pairOfColumns(power, cableAndPlate));
    rows->addStretch(1);
}

QWidget* ORVSettingForBasicViewController::makeWaitingTimeBox() {
    boxOfAlwaysModeTimeout =
        makeGroupBox("boxOfAlwaysModeTimeout", TextKey{"setting.basic.auto_parking_waiting_time"}, this);
    alwaysModeTimeoutSeg = makeSegmentedControl("alwaysModeTimeoutSeg", waitingTimeLabels(), boxOfAlwaysModeTimeout);
    boxLayout(boxOfAlwaysModeTimeout)->addWidget(alwaysModeTimeoutSeg);
    return boxOfAlwaysModeTimeout;
}

QWidget* ORVSettingForBasicViewController::makeThresholdRow(ThresholdFields& fields,
                                                           const char* const (&outlets)[3]) {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    for (std::size_t axis = 0; axis < fields.size(); ++axis) {
        layout->addWidget(new QLabel(uiText(kAxisKeys[axis].key), row));
        auto* field = new QLineEdit(row);
        field->setObjectName(QString::fromLatin1(outlets[axis]));
        field->setAlignment(Qt::AlignRight);
        field->setFixedWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("00.000")) + 16);
        fields[axis] = field;
        layout->addWidget(field);
        layout->addSpacing(10);
    }
    layout->addStretch(1);
    return row;
}

QWidget* ORVSettingForBasicViewController::makeDrivingBox() {
    boxOfGsensorSensitivityDriving = makeGroupBox("boxOfGsensorSensitivityDriving",
                                                  TextKey{"setting.basic.driving_impact_sensitivity"}, this);
    gsensorEnableChk =
        makeCheckBox("gsensorEnableChk", TextKey{"setting.basic.enable_gsensor"}, boxOfGsensorSensitivityDriving);
    gsensorSensitivityDrivingSeg =
        makeSegmentedControl("gsensorSensitivityDrivingSeg", sensitivityLabels(), boxOfGsensorSensitivityDriving);
    QVBoxLayout* layout = boxLayout(boxOfGsensorSensitivityDriving);
    layout->addWidget(gsensorEnableChk);
    layout->addWidget(gsensorSensitivityDrivingSeg);
    layout->addWidget(makeThresholdRow(drivingThresholdFields, kDrivingFieldOutlets));
    connect(gsensorEnableChk, &QCheckBox::clicked, this, &ORVSettingForBasicViewController::clickGsensorEnableCheck);
    connect(gsensorSensitivityDrivingSeg, &SegmentedControl::segmentClicked, this,
            &ORVSettingForBasicViewController::clickDrivingGsensorSensitivity);
    return boxOfGsensorSensitivityDriving;
}

QWidget* ORVSettingForBasicViewController::makeParkingBox() {
    boxOfGsensorSensitivityParking = makeGroupBox("boxOfGsensorSensitivityParking",
                                                  TextKey{"setting.basic.parking_impact_sensitivity"}, this);
    gsensorSensitivityParkingSeg =
        makeSegmentedControl("gsensorSensitivityParkingSeg", sensitivityLabels(), boxOfGsensorSensitivityParking);
    QVBoxLayout* layout = boxLayout(boxOfGsensorSensitivityParking);
    layout->addWidget(gsensorSensitivityParkingSeg);
    layout->addWidget(makeThresholdRow(parkingThresholdFields, kParkingFieldOutlets));
    connect(gsensorSensitivityParkingSeg, &SegmentedControl::segmentClicked, this,
            &ORVSettingForBasicViewController::clickDrivingGsensorSensitivity);
    return boxOfGsensorSensitivityParking;
}

QGroupBox* ORVSettingForBasicViewController::makeLedBox(SegmentedControl*& control, const char* boxOutlet,
                                                        const char* controlOutlet, TextKey title) {
    QGroupBox* box = makeGroupBox(boxOutlet, title, this);
    control = makeSegmentedControl(controlOutlet, ledLabels(), box);
    boxLayout(box)->addWidget(control);
    return box;
}

QWidget* ORVSettingForBasicViewController::makeCarNumberRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(10, 6, 10, 0);
    carNumberLabelField = makeLabel("carNumberLabelField", TextKey{"setting.basic.car_number_input"}, row);
    carNumberField = new ORVCarNumberTextField(row);
    carNumberField->setObjectName("carNumberField");
    carNumberField->setFixedWidth(carNumberField->fontMetrics().horizontalAdvance(QStringLiteral("MMMMMMMMM")) + 16);
    layout->addWidget(carNumberLabelField);
    layout->addStretch(1);
    layout->addWidget(carNumberField);
    return row;
}

QWidget* ORVSettingForBasicViewController::makePowerBox() {
    boxOfPower = makeGroupBox("boxOfPower", TextKey{"setting.basic.cutoff_voltage_setting"}, this);
    powerVoltageLabel = makeLabel("powerVoltageLabel", TextKey{"setting.basic.set_voltage"}, boxOfPower);
    powerVoltageCombo = makeComboBox("powerVoltageCombo", cutOffVoltageLabels(), boxOfPower);
    powerTimeLabel = makeLabel("powerTimeLabel", TextKey{"setting.basic.set_timer"}, boxOfPower);
    powerTimeCombo = makeComboBox("powerTimeCombo", cutOffTimerLabels(), boxOfPower);
    useExternalPowerChk =
        makeCheckBox("useExternalPowerChk", TextKey{"setting.basic.use_external_power"}, boxOfPower);
    powerGuide1Field = makeGuide("powerGuide1Field", TextKey{"setting.basic.power_guide"}, boxOfPower);
    QVBoxLayout* layout = boxLayout(boxOfPower);
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->addRow(powerVoltageLabel, powerVoltageCombo);
    form->addRow(powerTimeLabel, powerTimeCombo);
    layout->addLayout(form);
    layout->addWidget(useExternalPowerChk);
    layout->addWidget(powerGuide1Field);
    connect(useExternalPowerChk, &QCheckBox::clicked, this,
            &ORVSettingForBasicViewController::clickUseExternalPowerChk);
    connect(powerVoltageCombo, &QComboBox::activated, this, &ORVSettingForBasicViewController::powerVoltageSelected);
    return boxOfPower;
}

QWidget* ORVSettingForBasicViewController::makeCableVoltageLossBox() {
    boxOfCableVoltageLoss =
        makeGroupBox("boxOfCableVoltageLoss", TextKey{"setting.basic.cable_voltage_loss"}, this);
    cableVoltageLossSeg = makeSegmentedControl("cableVoltageLossSeg", cableVoltageLossLabels(), boxOfCableVoltageLoss);
    boxLayout(boxOfCableVoltageLoss)->addWidget(cableVoltageLossSeg);
    return boxOfCableVoltageLoss;
}

void ORVSettingForBasicViewController::displayFileData() {
    FILEDATA& record = *fileData();
    showChoice(*alwaysModeTimeoutSeg, kWaitingTimeChoices, record.always_mode_timeout);
    gsensorEnableChk->setChecked(record.g_sensor_enable != 0);
    gsensorSensitivityDrivingSeg->setSelectedSegment(matchingPreset(drivingThresholds(record), presetsOf(true)));
    gsensorSensitivityParkingSeg->setSelectedSegment(matchingPreset(parkingThresholds(record), presetsOf(false)));
    showThresholds(drivingThresholdFields, drivingThresholds(record));
    showThresholds(parkingThresholdFields, parkingThresholds(record));
    updateGsensorThreshold();
    showChoice(*frontLEDSeg, kLedChoices, record.ledoff);
    showChoice(*rearLEDSeg, kLedChoices, record.ledoff_rear);
    m_displayedCarNumber = QString::fromUtf8(record.szPlateNumber,
                                             static_cast<qsizetype>(strnlen(record.szPlateNumber, sizeof record.szPlateNumber)));
    carNumberField->setText(m_displayedCarNumber);
    showChoice(*powerVoltageCombo, kCutOffVoltageChoices, record.sd_mem_always_reserved);
    showChoice(*powerTimeCombo, kCutOffTimerChoices, record.sd_mem_motion_reserved);
    updatePowerUI(record.sd_mem_event_reserved == 1);
    // The camera leaves 0 for "never set"; the page takes the factory value
    // into the record at once, as it shows it.
    if (record.CableVoltCorr == 0) record.CableVoltCorr = kDefaultCableVoltCorr;
    showChoice(*cableVoltageLossSeg, kCableVoltageLossChoices, record.CableVoltCorr);
}

void ORVSettingForBasicViewController::changeGsensorEnable() {
    const bool enabled = gsensorEnableChk->isChecked();
    gsensorSensitivityDrivingSeg->setEnabled(enabled);
    gsensorSensitivityParkingSeg->setEnabled(enabled);
    const bool drivingCustom = gsensorSensitivityDrivingSeg->selectedSegment() == kCustomSensitivity;
    const bool parkingCustom = gsensorSensitivityParkingSeg->selectedSegment() == kCustomSensitivity;
    for (QLineEdit* field : drivingThresholdFields) field->setEnabled(enabled && drivingCustom);
    for (QLineEdit* field : parkingThresholdFields) field->setEnabled(enabled && parkingCustom);
}

void ORVSettingForBasicViewController::updateGsensorThreshold() {
    const int driving = gsensorSensitivityDrivingSeg->selectedSegment();
    if (driving >= 0 && driving < kCustomSensitivity) showThresholds(drivingThresholdFields, kDrivingPresets[driving]);
    const int parking = gsensorSensitivityParkingSeg->selectedSegment();
    if (parking >= 0 && parking < kCustomSensitivity) showThresholds(parkingThresholdFields, kParkingPresets[parking]);
    changeGsensorEnable();
}

void ORVSettingForBasicViewController::updatePowerUI(bool externalPower) {
    powerVoltageCombo->setEnabled(!externalPower);
    powerTimeCombo->setEnabled(!externalPower);
    useExternalPowerChk->setChecked(externalPower);
}

void ORVSettingForBasicViewController::clickGsensorEnableCheck() { changeGsensorEnable(); }

void ORVSettingForBasicViewController::clickDrivingGsensorSensitivity() { updateGsensorThreshold(); }

void ORVSettingForBasicViewController::clickUseExternalPowerChk() {
    const bool externalPower = useExternalPowerChk->isChecked();
    if (FILEDATA* record = fileData()) record->sd_mem_event_reserved = externalPower ? 1 : 0;
    updatePowerUI(externalPower);
}

void ORVSettingForBasicViewController::powerVoltageSelected(int item) {
    if (item != kLowCutOffVoltageItem) return;
    showAlert(window(), uiText(kAlertTitleWarning.key), uiText("msg.use_external_power_10v"));
}

std::optional<QString> ORVSettingForBasicViewController::validateThresholds(const SegmentedControl& control,
                                                                            const ThresholdFields& fields) const {
    if (control.selectedSegment() != kCustomSensitivity) return std::nullopt;
    for (QLineEdit* field : fields) {
        const std::optional<std::string> message =
            ORVValidator::validateGsensorThreshold(field->text().toStdString());
        if (!message) continue;
        focusRefusedField(*field);
        return QString::fromStdString(*message);
    }
    return std::nullopt;
}

std::optional<QString> ORVSettingForBasicViewController::validateUserInput() const {
    if (std::optional<QString> message = validateThresholds(*gsensorSensitivityDrivingSeg, drivingThresholdFields)) {
        return message;
    }
    return validateThresholds(*gsensorSensitivityParkingSeg, parkingThresholdFields);
}

bool ORVSettingForBasicViewController::storeFileData(FILEDATA& record) {
    record.always_mode_timeout = kWaitingTimeChoices.storedValue<std::uint32_t>(alwaysModeTimeoutSeg->selectedSegment());
    record.g_sensor_enable = gsensorEnableChk->isChecked() ? 1 : 0;
    const Thresholds driving = storedThresholds(drivingThresholdFields);
    record.gsen_x_threshold = driving[0];
    record.gsen_y_threshold = driving[1];
    record.gsen_z_threshold = driving[2];
    const Thresholds parking = storedThresholds(parkingThresholdFields);
    record.parkmode_x_threshold = parking[0];
    record.parkmode_y_threshold = parking[1];
    record.parkmode_z_threshold = parking[2];
    record.ledoff = kLedChoices.storedValue<std::uint32_t>(frontLEDSeg->selectedSegment());
    record.ledoff_rear = kLedChoices.storedValue<std::uint32_t>(rearLEDSeg->selectedSegment());
    if (carNumberField->text() != m_displayedCarNumber) {
        // A text typed but not yet ended (the user went straight to another
        // tab or to Save) is filtered as the end of editing would.
        carNumberField->filterText();
        const QByteArray plate = carNumberField->text().toUtf8().left(sizeof record.szPlateNumber);
        std::memset(record.szPlateNumber, 0, sizeof record.szPlateNumber);
        std::memcpy(record.szPlateNumber, plate.constData(), static_cast<std::size_t>(plate.size()));
        m_displayedCarNumber = carNumberField->text();
    }
    record.sd_mem_always_reserved = kCutOffVoltageChoices.storedValue<std::uint32_t>(powerVoltageCombo->currentIndex());
    record.sd_mem_motion_reserved = kCutOffTimerChoices.storedValue<std::uint32_t>(powerTimeCombo->currentIndex());
    record.sd_mem_event_reserved = useExternalPowerChk->isChecked() ? 1 : 0;
    record.CableVoltCorr = kCableVoltageLossChoices.storedValue<std::uint32_t>(cableVoltageLossSeg->selectedSegment());
    return true;
}

}  // namespace zentrova
