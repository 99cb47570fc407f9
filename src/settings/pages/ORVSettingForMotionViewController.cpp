#include "settings/pages/ORVSettingForMotionViewController.h"

#include "controls/SegmentedControl.h"
#include "controls/UiText.h"
#include "settings/StoredChoices.h"
#include "settings/pages/SettingPageLayout.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace zentrova {
namespace {

// Unknown values show the factory choice and are stored as it.
constexpr StoredChoices kParkingModeChoices = StoredChoices::indices(2, 0);
constexpr StoredChoices kNightVisionChoices = StoredChoices::indices(2, 0);
constexpr StoredChoices kSensitivityChoices = StoredChoices::indices(6, 3);

constexpr int kAreaColumns = 4;

QStringList sensitivityLabels() { return QStringList{uiText("unuse")} << sensitivityStepLabels(); }

}  // namespace

ORVSettingForMotionViewController::ORVSettingForMotionViewController(QWidget* parent)
    : ORVSettingControllerDelegate(parent) {
    setObjectName("ORVSettingForMotionViewController");
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(12);
    layout->addWidget(makeParkingModeBoxes());
    layout->addWidget(makeSensitivityBox());
    layout->addWidget(makeMotionBlockBox());
    layout->addStretch(1);
}

QWidget* ORVSettingForMotionViewController::makeParkingModeBoxes() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    boxOfParkingMode = makeGroupBox("boxOfParkingMode", TextKey{"setting.motion.paking_mode"}, row);
    parkingModeSeg = makeSegmentedControl(
        "parkingModeSeg",
        {uiText("setting.motion.paking_mode_motion"), uiText("setting.motion.paking_mode_timelapse")},
        boxOfParkingMode);
    (new QVBoxLayout(boxOfParkingMode))->addWidget(parkingModeSeg);
    boxOfNightVision = makeGroupBox("boxOfNightVision", TextKey{"setting.motion.night_vision"}, row);
    nightVisionSeg = makeSegmentedControl(
        "nightVisionSeg",
        {uiText("setting.motion.night_vision_notuse"), uiText("setting.motion.night_vision_use")}, boxOfNightVision);
    (new QVBoxLayout(boxOfNightVision))->addWidget(nightVisionSeg);
    layout->addWidget(boxOfParkingMode, 1);
    layout->addWidget(boxOfNightVision, 1);
    return row;
}

QWidget* ORVSettingForMotionViewController::makeSensitivityBox() {
    boxOfMotion = makeGroupBox("boxOfMotion", TextKey{"setting.motion.sensitivity"}, this);
    frontMotionSensitivityLabel =
        makeLabel("frontMotionSensitivityLabel", TextKey{"setting.aux.front_sensitivity"}, boxOfMotion);
    frontSensitivitySeg = makeSegmentedControl("frontSensitivitySeg", sensitivityLabels(), boxOfMotion);
    rearMotionSensitivityLabel =
        makeLabel("rearMotionSensitivityLabel", TextKey{"setting.aux.rear_sensitivity"}, boxOfMotion);
    rearSensitivitySeg = makeSegmentedControl("rearSensitivitySeg", sensitivityLabels(), boxOfMotion);
    auto* grid = new QGridLayout(boxOfMotion);
    grid->setHorizontalSpacing(12);
    grid->addWidget(frontMotionSensitivityLabel, 0, 0);
    grid->addWidget(frontSensitivitySeg, 0, 1);
    grid->addWidget(rearMotionSensitivityLabel, 1, 0);
    grid->addWidget(rearSensitivitySeg, 1, 1);
    grid->setColumnStretch(1, 1);
    return boxOfMotion;
}

QGroupBox* ORVSettingForMotionViewController::makeAreaBox(const char* outlet, TextKey title, const char* side,
                                                          MotionBlockBoxes& boxes, QWidget* parent) {
    QGroupBox* box = makeGroupBox(outlet, title, parent);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(16);
    for (int area = 0; area < kMotionBlockCount; ++area) {
        // Boxes 01 to 12 in three rows of four, as the areas lie in the picture.
        const QString number = QStringLiteral("%1").arg(area + 1, 2, 10, QLatin1Char('0'));
        auto* check = new QCheckBox(number, box);
        check->setObjectName(QStringLiteral("%1MotionBlock%2Chk").arg(QLatin1String(side), number));
        boxes[static_cast<std::size_t>(area)] = check;
        grid->addWidget(check, area / kAreaColumns, area % kAreaColumns);
    }
    return box;
}

QWidget* ORVSettingForMotionViewController::makeMotionBlockBox() {
    boxOfMotionBlock = makeGroupBox("boxOfMotionBlock", TextKey{"setting.motion.block"}, this);
    boxOfFrontMotionBlock = makeAreaBox("boxOfFrontMotionBlock", TextKey{"setting.motion.block_front"}, "front",
                                        frontMotionBlockChks, boxOfMotionBlock);
    boxOfRearMotionBlock = makeAreaBox("boxOfRearMotionBlock", TextKey{"setting.motion.block_rear"}, "rear",
                                       rearMotionBlockChks, boxOfMotionBlock);
    auto* layout = new QHBoxLayout(boxOfMotionBlock);
    layout->setSpacing(12);
    layout->addWidget(boxOfFrontMotionBlock, 1);
    layout->addWidget(boxOfRearMotionBlock, 1);
    return boxOfMotionBlock;
}

void ORVSettingForMotionViewController::showMotionBlock(const MotionBlockBoxes& boxes, std::uint32_t mask) {
    for (std::size_t area = 0; area < boxes.size(); ++area) {
        boxes[area]->setChecked((mask & (1u << kMotionBlockBits[area])) == 0);
    }
}

// Bits without a box are dropped: they have no area.
std::uint32_t ORVSettingForMotionViewController::motionBlockOf(const MotionBlockBoxes& boxes) {
    std::uint32_t mask = 0;
    for (std::size_t area = 0; area < boxes.size(); ++area) {
        if (!boxes[area]->isChecked()) mask |= 1u << kMotionBlockBits[area];
    }
    return mask;
}

void ORVSettingForMotionViewController::displayFileData() {
    const FILEDATA& record = *fileData();
    showChoice(*frontSensitivitySeg, kSensitivityChoices, record.motion720pCValue);
    showChoice(*rearSensitivitySeg, kSensitivityChoices, record.motion1080pCValue);
    showMotionBlock(frontMotionBlockChks, record.motionBlock);
    showMotionBlock(rearMotionBlockChks, record.motionBlock_Rear);
    showChoice(*parkingModeSeg, kParkingModeChoices, record.ParkingMode);
    showChoice(*nightVisionSeg, kNightVisionChoices, record.En_SuperNightVision);
}

bool ORVSettingForMotionViewController::storeFileData(FILEDATA& record) {
    record.motion720pCValue = kSensitivityChoices.storedValue<std::uint32_t>(frontSensitivitySeg->selectedSegment());
    record.motion1080pCValue = kSensitivityChoices.storedValue<std::uint32_t>(rearSensitivitySeg->selectedSegment());
    record.motionBlock = motionBlockOf(frontMotionBlockChks);
    record.motionBlock_Rear = motionBlockOf(rearMotionBlockChks);
    record.ParkingMode = kParkingModeChoices.storedValue<std::uint32_t>(parkingModeSeg->selectedSegment());
    record.En_SuperNightVision = kNightVisionChoices.storedValue<std::uint32_t>(nightVisionSeg->selectedSegment());
    return true;
}

}  // namespace zentrova
