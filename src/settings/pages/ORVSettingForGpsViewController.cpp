#include "settings/pages/ORVSettingForGpsViewController.h"

#include "controls/SegmentedControl.h"
#include "controls/UiText.h"
#include "settings/StoredChoices.h"
#include "settings/TimeZoneList.h"
#include "settings/pages/SettingPageLayout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace zentrova {
namespace {

// Every control stores its choice's position; unknown values show the
// factory choice and are stored as it.
constexpr StoredChoices kDayChoices = StoredChoices::indices(8, 0);
constexpr StoredChoices kSpeedUnitChoices = StoredChoices::indices(2, 0);
constexpr StoredChoices kTimeZoneChoices = StoredChoices::indices(TimeZoneList::kCount, 28);
constexpr StoredChoices kOsdSpeedChoices = StoredChoices::indices(2, 1);
constexpr StoredChoices kSaveDurationChoices = StoredChoices::indices(8, 7);
constexpr StoredChoices kNightTimeChoices = StoredChoices::indices(2, 0);

QStringList dayLabels() {
    return {uiText("none"), uiText("mon"), uiText("tue"), uiText("wed"),
            uiText("thu"),  uiText("fri"), uiText("sat"), uiText("sun")};
}

QStringList onOffLabels() { return {uiText("off"), uiText("on")}; }

QStringList saveDurationLabels() {
    return {uiText("none"),    secondsLabel(1),  secondsLabel(3),  secondsLabel(5),
            secondsLabel(10), secondsLabel(15), secondsLabel(30), secondsLabel(60)};
}

QStringList timeZoneLabels() {
    QStringList labels;
    for (std::int32_t index = 0; index < TimeZoneList::kCount; ++index) {
        const std::string_view label = TimeZoneList::label(index);
        labels << QString::fromLatin1(label.data(), static_cast<qsizetype>(label.size()));
    }
    return labels;
}

}  // namespace

ORVSettingForGpsViewController::ORVSettingForGpsViewController(QWidget* parent) : ORVSettingControllerDelegate(parent) {
    setObjectName("ORVSettingForGpsViewController");
    gpsGuide1Field = makeGuide("gpsGuide1Field", TextKey{"setting.gps.gps_guide1"}, this);
    drivingDaySeg = makeSegmentedControl("drivingDaySeg", dayLabels(), this);
    speedDisplayUnitSeg =
        makeSegmentedControl("speedDisplayUnitSeg", {QStringLiteral("Km/h"), QStringLiteral("Mi/h")}, this);
    speedGuide1Field = makeGuide("speedGuide1Field", TextKey{"setting.gps.gps_speed_guide1"}, this);
    osdSpeedDisplaySeg = makeSegmentedControl("osdSpeedDisplaySeg", onOffLabels(), this);
    saveDurationSeg = makeSegmentedControl("saveDurationSeg", saveDurationLabels(), this);
    nightTimeSeg = makeSegmentedControl("nightTimeSeg", onOffLabels(), this);
    gpsGuide2Field = makeGuide("gpsGuide2Field", TextKey{"setting.gps.gps_guide2"}, this);

    auto* grid = new QGridLayout;
    grid->setSpacing(12);
    grid->addWidget(makeBox(boxOfDay, "boxOfDay", TextKey{"setting.gps.weekly_alarm"}, drivingDaySeg), 0, 0, 1, 2);
    grid->addWidget(makeBox(boxOfSpeedDisplayUnit, "boxOfSpeedDisplayUnit", TextKey{"setting.gps.speed_display"},
                            speedDisplayUnitSeg, speedGuide1Field),
                    1, 0);
    grid->addWidget(makeBox(boxOfGpsSpeedDisplay, "boxOfGpsSpeedDisplay", TextKey{"setting.gps.osd_speed_display"},
                            osdSpeedDisplaySeg),
                    1, 1);
    QWidget* timeControls = makeTimeControls();
    grid->addWidget(makeBox(boxOfTime, "boxOfTime", TextKey{"setting.gps.timezone_setting"}, timeControls,
                            timeGuide1Field),
                    2, 0, 1, 2);
    grid->addWidget(makeBox(boxOfSaveDuration, "boxOfSaveDuration",
                            TextKey{"setting.gps.driving_route_info_saving_interval"}, saveDurationSeg),
                    3, 0, 1, 2);
    grid->addWidget(makeBox(boxOfNightTime, "boxOfNightTime", TextKey{"setting.gps.gps_on_parking_mode"}, nightTimeSeg,
                            gpsGuide2Field),
                    4, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(12);
    layout->addWidget(gpsGuide1Field);
    layout->addLayout(grid);
    layout->addStretch(1);
}

QWidget* ORVSettingForGpsViewController::makeTimeControls() {
    auto* row = new QWidget(this);
    timeGmtCombo = makeComboBox("timeGmtCombo", timeZoneLabels(), row);
    timeGmtCombo->setMaxVisibleItems(12);
    summerTimeChk = makeCheckBox("summerTimeChk", TextKey{"summerTime"}, row);
    timeGuide1Field = makeGuide("timeGuide1Field", TextKey{"setting.gps.gps_time_guide1"}, this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(16);
    layout->addWidget(timeGmtCombo);
    layout->addWidget(summerTimeChk);
    layout->addStretch(1);
    return row;
}

QGroupBox* ORVSettingForGpsViewController::makeBox(QGroupBox*& box, const char* outlet, TextKey title,
                                                   QWidget* control, QLabel* guide) {
    box = makeGroupBox(outlet, title, this);
    auto* layout = new QVBoxLayout(box);
    layout->setSpacing(8);
    layout->addWidget(control);
    if (guide) layout->addWidget(guide);
    layout->addStretch(1);
    return box;
}

void ORVSettingForGpsViewController::displayFileData() {
    const FILEDATA& record = *fileData();
    showChoice(*drivingDaySeg, kDayChoices, record.nodriving_day);
    showChoice(*speedDisplayUnitSeg, kSpeedUnitChoices, record.speed_disp_unit);
    showChoice(*osdSpeedDisplaySeg, kOsdSpeedChoices, record.osd_speed_flag);
    showChoice(*timeGmtCombo, kTimeZoneChoices, record.time_gmt);
    summerTimeChk->setChecked(record.summer_time != 0);
    showChoice(*saveDurationSeg, kSaveDurationChoices, record.SaveDuration);
    showChoice(*nightTimeSeg, kNightTimeChoices, record.NightTime);
}

bool ORVSettingForGpsViewController::storeFileData(FILEDATA& record) {
    record.nodriving_day = kDayChoices.storedValue<std::uint32_t>(drivingDaySeg->selectedSegment());
    record.speed_disp_unit = kSpeedUnitChoices.storedValue<std::uint32_t>(speedDisplayUnitSeg->selectedSegment());
    record.osd_speed_flag = kOsdSpeedChoices.storedValue<std::int32_t>(osdSpeedDisplaySeg->selectedSegment());
    record.time_gmt = kTimeZoneChoices.storedValue<std::int32_t>(timeGmtCombo->currentIndex());
    record.summer_time = summerTimeChk->isChecked() ? 1 : 0;
    record.SaveDuration = kSaveDurationChoices.storedValue<std::uint32_t>(saveDurationSeg->selectedSegment());
    record.NightTime = kNightTimeChoices.storedValue<std::uint32_t>(nightTimeSeg->selectedSegment());
    return true;
}

}  // namespace zentrova
