#include "settings/pages/ORVSettingForGpsViewController.h"

#include "support/SettingPageDriver.h"
#include "support/WidgetTestApplication.h"

#include <gtest/gtest.h>

#include <QComboBox>

#include <string>
#include <vector>

namespace zentrova {
namespace {

using test::changedFields;
using test::choose;
using test::fieldValue;
using test::shownChoice;

struct Control {
    const char* field;
    const char* outlet;
    int choices;
};
const Control kControls[] = {
    {"nodriving_day", "drivingDaySeg", 8},         {"speed_disp_unit", "speedDisplayUnitSeg", 2},
    {"osd_speed_flag", "osdSpeedDisplaySeg", 2},   {"time_gmt", "timeGmtCombo", 34},
    {"summer_time", "summerTimeChk", 2},           {"SaveDuration", "saveDurationSeg", 8},
    {"NightTime", "nightTimeSeg", 2},
};

class ORVSettingForGpsViewControllerTest : public test::WidgetTest {
public:
    void show(std::initializer_list<test::FieldValue> values) { test::showRecordWith(page, record, values); }

    FILEDATA record{};
    ORVSettingForGpsViewController page;
};

TEST_F(ORVSettingForGpsViewControllerTest, EveryChoiceIsShownAndStoredBackUnchanged) {
    for (const Control& c : kControls) {
        for (int value = 0; value < c.choices; ++value) test::expectStoredBackUnchanged(page, c.field, value, c.outlet);
    }
}

TEST_F(ORVSettingForGpsViewControllerTest, EachChoiceMadeStoresItsPositionInItsFieldAlone) {
    for (const Control& c : kControls) {
        for (int choice = 0; choice < c.choices; ++choice) {
            SCOPED_TRACE(std::string(c.outlet) + " " + std::to_string(choice));
            show({});
            const FILEDATA shown = record;
            choose(page, c.outlet, choice);
            ASSERT_TRUE(page.populate());
            EXPECT_EQ(fieldValue(record, c.field), choice);
            const std::vector<std::string> changed = changedFields(shown, record);
            EXPECT_TRUE(changed.empty() || changed == std::vector<std::string>{c.field});
        }
    }
}

TEST_F(ORVSettingForGpsViewControllerTest, TimeZonesAreListedByTheirOffsets) {
    show({});
    auto* combo = test::outlet<QComboBox>(page, "timeGmtCombo");
    ASSERT_EQ(combo->count(), 34);
    EXPECT_FALSE(combo->isEditable());
    struct Case {
        int index;
        const char* expectedLabel;
    };
    const Case cases[] = {{0, "-12:00"}, {8, "-04:30"}, {14, "00:00"}, {23, "+05:45"}, {28, "+09:00"}, {33, "+13:00"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expectedLabel);
        EXPECT_EQ(combo->itemText(c.index), c.expectedLabel);
        show({{"time_gmt", c.index}});
        EXPECT_EQ(combo->currentText(), c.expectedLabel);
    }
}

TEST_F(ORVSettingForGpsViewControllerTest, UnknownValuesShowTheirFallBackAndAreStoredAsIt) {
    const test::FallBack cases[] = {
        {"nodriving_day", 8, "drivingDaySeg", 0, 0},
        {"speed_disp_unit", 2, "speedDisplayUnitSeg", 0, 0},
        {"osd_speed_flag", -1, "osdSpeedDisplaySeg", 1, 1},
        {"osd_speed_flag", 2, "osdSpeedDisplaySeg", 1, 1},
        {"time_gmt", 34, "timeGmtCombo", 28, 28},
        {"time_gmt", -1, "timeGmtCombo", 28, 28},
        {"summer_time", 5, "summerTimeChk", 1, 1},
        {"SaveDuration", 60, "saveDurationSeg", 7, 7},
        {"NightTime", 3, "nightTimeSeg", 0, 0},
    };
    test::expectFallBacks(page, cases);
}

TEST_F(ORVSettingForGpsViewControllerTest, TheFactoryRecordShowsTheFactoryChoices) {
    show({});
    EXPECT_EQ(shownChoice(page, "drivingDaySeg"), 0);
    EXPECT_EQ(test::outlet<SegmentedControl>(page, "speedDisplayUnitSeg")->labelForSegment(
                  shownChoice(page, "speedDisplayUnitSeg")),
              "Km/h");
    EXPECT_EQ(test::outlet<QComboBox>(page, "timeGmtCombo")->currentText(), "+09:00");
    EXPECT_EQ(shownChoice(page, "summerTimeChk"), 0);
    EXPECT_EQ(shownChoice(page, "osdSpeedDisplaySeg"), 1);
    EXPECT_EQ(shownChoice(page, "saveDurationSeg"), 7);
    EXPECT_EQ(shownChoice(page, "nightTimeSeg"), 0);
}

}  // namespace
}  // namespace zentrova
