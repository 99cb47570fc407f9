#include "settings/pages/ORVSettingForAdasViewController.h"

#include "controls/SegmentedControl.h"
#include "controls/UiText.h"
#include "settings/SettingPageControls.h"
#include "settings/StoredChoices.h"
#include "settings/pages/SettingPageLayout.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>


namespace zentrova {
namespace {

// A stored byte outside the segments shows none and is kept as it is.
constexpr StoredChoices kCarChoices = StoredChoices::indices(3, StoredChoices::kNoChoice);
constexpr StoredChoices kSensitivityChoices = StoredChoices::indices(3, StoredChoices::kNoChoice);
constexpr StoredChoices kFcmdEnableChoices = StoredChoices::indices(2, StoredChoices::kNoChoice);

// Segment 0 of each speed table is off.
constexpr std::int64_t kLdwsKilometres[] = {0, 30, 40, 50, 60, 70, 80, 90, 100};
constexpr std::int64_t kLdwsMiles[] = {0, 20, 25, 30, 40, 45, 50, 55, 60};
constexpr std::int64_t kFcwsKilometres[] = {0, 30, 50, 70, 90};
constexpr std::int64_t kFcwsMiles[] = {0, 20, 30, 45, 55};
constexpr StoredChoices kLdwsKilometreChoices(kLdwsKilometres, StoredChoices::kNoChoice);
constexpr StoredChoices kLdwsMileChoices(kLdwsMiles, StoredChoices::kNoChoice);
constexpr StoredChoices kFcwsKilometreChoices(kFcwsKilometres, StoredChoices::kNoChoice);
constexpr StoredChoices kFcwsMileChoices(kFcwsMiles, StoredChoices::kNoChoice);

constexpr std::uint32_t kMilesPerHour = 1;

template <typename Table>
const Table& inUnit(std::uint32_t unit, const Table& kilometres, const Table& miles) {
    return unit == kMilesPerHour ? miles : kilometres;
}

QStringList sensitivityLabels() {
    return {fillText(QStringLiteral("0(%@)"), uiText("insensitive")), QStringLiteral("1"),
            fillText(QStringLiteral("2(%@)"), uiText("sensitive"))};
}

QString offLabel() { return uiText("setting.aux.auto_format_notuse"); }

template <std::size_t N>
QStringList speedLabels(const std::int64_t (&speeds)[N], std::uint32_t unit) {
    const QString format = unit == kMilesPerHour ? QStringLiteral("%1Mi/h") : QStringLiteral("%1Km/h");
    QStringList labels{offLabel()};
    for (std::size_t i = 1; i < N; ++i) labels << format.arg(speeds[i]);
    return labels;
}

}  // namespace

ORVSettingForAdasViewController::ORVSettingForAdasViewController(const FILEDATA* configData, QWidget* parent)
    : ORVSettingControllerDelegate(parent) {
    setObjectName("ORVSettingForAdasViewController");
    // Made in reading order, which is also the order of the focus.
    boxOfAdasCar = makeSegmentBox("boxOfAdasCar", TextKey{"setting.adas.vehicle"}, adasCarSeg, "adasCarSeg",
                                  uiTexts({"setting.adas.vehicle_sedan", "setting.adas.vehicle_suv",
                                           "setting.adas.vehicle_truck"}),
                                  this);
    boxOfAdasLdwsSens = makeSegmentBox("boxOfAdasLdwsSens", TextKey{"setting.adas.ldws_sensitivity"}, adasLdwsSensSeg,
                                       "adasLdwsSensSeg", sensitivityLabels(), this);
    boxOfAdasLdwsSpeed = makeSegmentBox("boxOfAdasLdwsSpeed", TextKey{"setting.adas.ldws_speed"}, adasLdwsSpeedSeg,
                                        "adasLdwsSpeedSeg", {}, this);
    adasLdwsSpeedNote = addUnmatchedNote(*boxOfAdasLdwsSpeed, *adasLdwsSpeedSeg, "adasLdwsSpeedNote");
    boxOfAdasFcwsSens = makeSegmentBox("boxOfAdasFcwsSens", TextKey{"setting.adas.fcws_sensitivity"}, adasFcwsSensSeg,
                                       "adasFcwsSensSeg", sensitivityLabels(), this);
    boxOfAdasFcwsSpeed = makeSegmentBox("boxOfAdasFcwsSpeed", TextKey{"setting.adas.fcws_speed"}, adasFcwsSpeedSeg,
                                        "adasFcwsSpeedSeg", {}, this);
    adasFcwsSpeedNote = addUnmatchedNote(*boxOfAdasFcwsSpeed, *adasFcwsSpeedSeg, "adasFcwsSpeedNote");
    boxOfAdasFcmdEnable = makeSegmentBox("boxOfAdasFcmdEnable", TextKey{"setting.adas.fcmd_enable"}, adasFcmdEnableSeg,
                                         "adasFcmdEnableSeg", {offLabel(), uiText("use")}, this);
    boxOfAdasFcmdSens = makeSegmentBox("boxOfAdasFcmdSens", TextKey{"setting.adas.fcmd_enable_sensitivity"},
                                       adasFcmdSensSeg, "adasFcmdSensSeg", sensitivityLabels(), this);

    auto* grid = new QGridLayout(this);
    grid->setSpacing(12);
    grid->addWidget(boxOfAdasCar, 0, 0);
    grid->addWidget(boxOfAdasLdwsSens, 0, 1);
    grid->addWidget(boxOfAdasLdwsSpeed, 1, 0, 1, 2);
    grid->addWidget(boxOfAdasFcwsSens, 2, 0);
    grid->addWidget(boxOfAdasFcwsSpeed, 2, 1);
    grid->addWidget(boxOfAdasFcmdEnable, 3, 0);
    grid->addWidget(boxOfAdasFcmdSens, 3, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(4, 1);
    changeSpeed(configData ? configData->speed_disp_unit : 0);
}

QLabel* ORVSettingForAdasViewController::addUnmatchedNote(QGroupBox& box, SegmentedControl& control,
                                                          const char* outlet) {
    auto* note = new QLabel(&box);
    note->setObjectName(QString::fromLatin1(outlet));
    note->setWordWrap(true);
    note->setProperty("caption", true);
    note->hide();
    // Under the control, above the box's stretch.
    static_cast<QVBoxLayout*>(box.layout())->insertWidget(1, note);
    connect(&control, &SegmentedControl::segmentClicked, note, &QLabel::hide);
    return note;
}

void ORVSettingForAdasViewController::changeSpeed(std::uint32_t unit) {
    m_speedUnit = unit == kMilesPerHour ? kMilesPerHour : 0;
    setSegmentLabels(*adasLdwsSpeedSeg, speedLabels(inUnit(m_speedUnit, kLdwsKilometres, kLdwsMiles), m_speedUnit));
    setSegmentLabels(*adasFcwsSpeedSeg, speedLabels(inUnit(m_speedUnit, kFcwsKilometres, kFcwsMiles), m_speedUnit));
}

int ORVSettingForAdasViewController::FindLdwsSpeed(std::int64_t speed) { return kLdwsKilometreChoices.choiceOf(speed); }
int ORVSettingForAdasViewController::FindFcwsSpeed(std::int64_t speed) { return kFcwsKilometreChoices.choiceOf(speed); }
int ORVSettingForAdasViewController::FindLdwsSpeedMile(std::int64_t speed) { return kLdwsMileChoices.choiceOf(speed); }
int ORVSettingForAdasViewController::FindFcwsSpeedMile(std::int64_t speed) { return kFcwsMileChoices.choiceOf(speed); }

const StoredChoices& ORVSettingForAdasViewController::ldwsSpeedChoices() const {
    return inUnit(m_speedUnit, kLdwsKilometreChoices, kLdwsMileChoices);
}

const StoredChoices& ORVSettingForAdasViewController::fcwsSpeedChoices() const {
    return inUnit(m_speedUnit, kFcwsKilometreChoices, kFcwsMileChoices);
}

void ORVSettingForAdasViewController::showSpeed(SegmentedControl& control, QLabel& note,
                                                const StoredChoices& choices, std::uint8_t speed) {
    showChoice(control, choices, speed);
    const bool matched = control.selectedSegment() != SegmentedControl::kNoSelection;
    note.setText(matched ? QString() : uiFormat("setting.adas.speed_unmatched_fmt", QString::number(speed)));
    note.setVisible(!matched);
}

void ORVSettingForAdasViewController::displayFileData() {
    const FILEDATA& record = *fileData();
    changeSpeed(record.speed_disp_unit);
    showChoice(*adasCarSeg, kCarChoices, record.ADAS_Car);
    showChoice(*adasLdwsSensSeg, kSensitivityChoices, record.ADAS_LDWS_Sens);
    showChoice(*adasFcwsSensSeg, kSensitivityChoices, record.ADAS_FCWS_Sens);
    showChoice(*adasFcmdEnableSeg, kFcmdEnableChoices, record.ADAS_FCMD_Enable);
    showChoice(*adasFcmdSensSeg, kSensitivityChoices, record.ADAS_FCMD_Sens);
    showSpeed(*adasLdwsSpeedSeg, *adasLdwsSpeedNote, ldwsSpeedChoices(), record.ADAS_Ldws_Speed);
    showSpeed(*adasFcwsSpeedSeg, *adasFcwsSpeedNote, fcwsSpeedChoices(), record.ADAS_FCWS_Speed);
}

bool ORVSettingForAdasViewController::storeFileData(FILEDATA& record) {
    storeChosen(*adasCarSeg, kCarChoices, record.ADAS_Car);
    storeChosen(*adasLdwsSensSeg, kSensitivityChoices, record.ADAS_LDWS_Sens);
    storeChosen(*adasLdwsSpeedSeg, ldwsSpeedChoices(), record.ADAS_Ldws_Speed);
    storeChosen(*adasFcwsSensSeg, kSensitivityChoices, record.ADAS_FCWS_Sens);
    storeChosen(*adasFcwsSpeedSeg, fcwsSpeedChoices(), record.ADAS_FCWS_Speed);
    storeChosen(*adasFcmdEnableSeg, kFcmdEnableChoices, record.ADAS_FCMD_Enable);
    storeChosen(*adasFcmdSensSeg, kSensitivityChoices, record.ADAS_FCMD_Sens);
    return true;
}

}  // namespace zentrova
