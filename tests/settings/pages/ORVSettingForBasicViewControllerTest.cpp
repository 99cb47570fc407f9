#include "settings/pages/ORVSettingForBasicViewController.h"

#include "controls/UiText.h"
#include "settings/ORVValidator.h"
#include "support/AnsweredAlerts.h"
#include "support/SettingPageDriver.h"
#include "support/WidgetTestApplication.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>

#include <functional>
#include <string>
#include <vector>

namespace zentrova {
namespace {

using test::changedFields;
using test::choose;
using test::isEnabled;
using test::sameBytes;
using test::shownChoice;

constexpr const char* kDrivingFields[3] = {"gsensorSensitivityThresholdXDrivingField",
                                           "gsensorSensitivityThresholdYDrivingField",
                                           "gsensorSensitivityThresholdZDrivingField"};
constexpr const char* kParkingFields[3] = {"gsensorSensitivityThresholdXParkingField",
                                           "gsensorSensitivityThresholdYParkingField",
                                           "gsensorSensitivityThresholdZParkingField"};

class ORVSettingForBasicViewControllerTest : public test::WidgetTest {
public:
    void show(std::initializer_list<test::FieldValue> values) { test::showRecordWith(page, record, values); }
    QLineEdit* field(const char* name) { return test::outlet<QLineEdit>(page, name); }
    QString text(const char* name) { return field(name)->text(); }

    FILEDATA record{};
    ORVSettingForBasicViewController page;
};

TEST_F(ORVSettingForBasicViewControllerTest, EveryKnownValueIsShownAndStoredBackUnchanged) {
    struct Case {
        const char* field;
        std::vector<std::int64_t> values;
    };
    const Case cases[] = {
        {"always_mode_timeout", {0, 10, 30, 60, 120, 180, 300, 420, 600}},
        {"g_sensor_enable", {0, 1}},
        {"ledoff", {0, 1}},
        {"ledoff_rear", {0, 1}},
        {"sd_mem_always_reserved", {0, 1, 11800, 12000, 12200, 12400}},
        {"sd_mem_motion_reserved", {0, 3, 6, 12, 24, 48}},
        {"sd_mem_event_reserved", {0, 1}},
        {"CableVoltCorr", {1, 2, 3, 4, 5, 6, 7}},
        // Custom thresholds inside the accepted range, alone and with the box off.
        {"gsen_x_threshold", {5, 29, 57, 99, 150}},
        {"gsen_z_threshold", {44, 5, 150}},
        {"parkmode_y_threshold", {9, 57, 150}},
    };
    for (const Case& c : cases) {
        for (std::int64_t value : c.values) {
            for (std::int64_t gsensor : {1, 0}) {
                SCOPED_TRACE(gsensor ? "G-sensor on" : "G-sensor off");
                test::expectStoredBackUnchanged(page, c.field, value, nullptr, {{"g_sensor_enable", gsensor}});
            }
        }
    }
}

TEST_F(ORVSettingForBasicViewControllerTest, EveryPresetIsShownByItsSegmentAndStoredBack) {
    struct Preset {
        std::int32_t drivingX, drivingYZ, parking;
    };
    const Preset presets[] = {{70, 65, 25}, {60, 55, 20}, {50, 45, 15}, {40, 35, 12}, {30, 25, 8}};
    for (int segment = 0; segment < 5; ++segment) {
        SCOPED_TRACE(segment);
        const Preset& p = presets[segment];
        show({{"gsen_x_threshold", p.drivingX},
              {"gsen_y_threshold", p.drivingYZ},
              {"gsen_z_threshold", p.drivingYZ},
              {"parkmode_x_threshold", p.parking},
              {"parkmode_y_threshold", p.parking},
              {"parkmode_z_threshold", p.parking}});
        EXPECT_EQ(shownChoice(page, "gsensorSensitivityDrivingSeg"), segment);
        EXPECT_EQ(shownChoice(page, "gsensorSensitivityParkingSeg"), segment);
        const FILEDATA shown = record;
        ASSERT_TRUE(page.populate());
        EXPECT_TRUE(sameBytes(record, shown)) << testing::PrintToString(changedFields(shown, record));
    }
}

TEST_F(ORVSettingForBasicViewControllerTest, PlateBytesAreStoredBackAsRead) {
    struct Case {
        const char* name;
        std::string bytes;
        const char* expectedText;
    };
    const Case cases[] = {
        {"eight characters fill the field without a terminator", "Zentrova", "Zentrova"},
        {"an empty plate", std::string(8, '\0'), ""},
        {"a short plate", std::string("AB12\0\0\0\0", 8), "AB12"},
        {"bytes after the terminator stay", std::string("AB\0XY\0\0\0", 8), "AB"},
        {"characters the filter would drop stay until edited", "AB-12 CD", "AB-12 CD"},
        {"bytes that are not UTF-8 stay", std::string("\xC4Z\xFF\x80\0\0\0\0", 8), nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        record = test::resetRecord();
        test::setText(record, "szPlateNumber", c.bytes);
        page.setFileData(&record);
        if (c.expectedText) {
            EXPECT_EQ(text("carNumberField"), QString::fromUtf8(c.expectedText));
        }
        const FILEDATA shown = record;
        ASSERT_TRUE(page.populate());
        EXPECT_TRUE(sameBytes(record, shown));
    }
}

TEST_F(ORVSettingForBasicViewControllerTest, UnknownValuesShowTheirFallBackAndAreStoredAsIt) {
    const test::FallBack cases[] = {
        {"always_mode_timeout", 45, "alwaysModeTimeoutSeg", 2, 30},
        {"always_mode_timeout", 0xFFFFFFFF, "alwaysModeTimeoutSeg", 2, 30},
        {"g_sensor_enable", 5, "gsensorEnableChk", 1, 1},
        {"ledoff", 2, "frontLEDSeg", 0, 0},
        {"ledoff_rear", 0x80000000, "rearLEDSeg", 0, 0},
        {"sd_mem_always_reserved", 11900, "powerVoltageCombo", 3, 12000},
        {"sd_mem_motion_reserved", 5, "powerTimeCombo", 0, 0},
        {"sd_mem_event_reserved", 2, "useExternalPowerChk", 0, 0},
        {"CableVoltCorr", 8, "cableVoltageLossSeg", 3, 4},
        {"CableVoltCorr", 0xFFFFFFFF, "cableVoltageLossSeg", 3, 4},
    };
    test::expectFallBacks(page, cases);
}

TEST_F(ORVSettingForBasicViewControllerTest, AnUnsetCableCorrectionBecomesTheFactoryValueWhenShown) {
    show({{"CableVoltCorr", 0}});
    EXPECT_EQ(record.CableVoltCorr, 4u);
    EXPECT_EQ(shownChoice(page, "cableVoltageLossSeg"), 3);
}

TEST_F(ORVSettingForBasicViewControllerTest, ThresholdsShowAPresetOnlyWhenAllThreeAxesMatchIt) {
    struct Case {
        const char* name;
        std::int32_t x, y, z;
        bool parking;
        int expectedSegment;
        const char* expectedTexts[3];
    };
    const Case cases[] = {
        {"driving preset 2", 50, 45, 45, false, 2, {"0.50", "0.45", "0.45"}},
        {"driving Z off by one", 50, 45, 44, false, 5, {"0.50", "0.45", "0.44"}},
        {"driving X of one preset, Y of another", 70, 55, 55, false, 5, {"0.70", "0.55", "0.55"}},
        {"parking preset 4", 8, 8, 8, true, 4, {"0.08", "0.08", "0.08"}},
        {"parking Z off by one", 8, 8, 9, true, 5, {"0.08", "0.08", "0.09"}},
        {"a negative threshold", -5, 8, 8, true, 5, {"-0.05", "0.08", "0.08"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.parking) {
            show({{"parkmode_x_threshold", c.x}, {"parkmode_y_threshold", c.y}, {"parkmode_z_threshold", c.z}});
        } else {
            show({{"gsen_x_threshold", c.x}, {"gsen_y_threshold", c.y}, {"gsen_z_threshold", c.z}});
        }
        const char* const* fields = c.parking ? kParkingFields : kDrivingFields;
        EXPECT_EQ(shownChoice(page, c.parking ? "gsensorSensitivityParkingSeg" : "gsensorSensitivityDrivingSeg"),
                  c.expectedSegment);
        for (int axis = 0; axis < 3; ++axis) {
            EXPECT_EQ(text(fields[axis]), c.expectedTexts[axis]);
            EXPECT_EQ(isEnabled(page, fields[axis]), c.expectedSegment == 5);
        }
    }
}

TEST_F(ORVSettingForBasicViewControllerTest, ControlsAreEnabledByTheBoxAndTheCustomChoice) {
    enum Action { None, ClickBox, DrivingPreset, DrivingCustom, ParkingPreset, ParkingCustom };
    struct Case {
        const char* name;
        std::int64_t gsensor;
        bool drivingCustom, parkingCustom;
        std::vector<Action> actions;
        bool expectedSegments, expectedDrivingFields, expectedParkingFields;
    };
    const Case cases[] = {
        {"box on, presets: only the segments", 1, false, false, {}, true, false, false},
        {"box on, custom driving", 1, true, false, {}, true, true, false},
        {"box on, custom parking", 1, false, true, {}, true, false, true},
        {"box off closes custom fields too", 0, true, true, {}, false, false, false},
        {"ticking the box keeps preset fields closed", 0, false, false, {ClickBox}, true, false, false},
        {"ticking the box opens custom fields", 0, true, false, {ClickBox}, true, true, false},
        {"clearing the box closes custom fields", 1, true, true, {ClickBox}, false, false, false},
        {"choosing custom opens its fields", 1, false, false, {DrivingCustom}, true, true, false},
        {"choosing a preset closes them", 1, true, true, {ParkingPreset}, true, true, false},
        {"box off and on again", 1, false, true, {ClickBox, ClickBox}, true, false, true},
        {"custom chosen, then the box cleared", 1, false, false, {DrivingCustom, ParkingCustom, ClickBox}, false,
         false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        show({{"g_sensor_enable", c.gsensor},
              {"gsen_z_threshold", c.drivingCustom ? 44 : 45},
              {"parkmode_z_threshold", c.parkingCustom ? 9 : 8}});
        for (Action action : c.actions) {
            switch (action) {
            case None: break;
            case ClickBox: choose(page, "gsensorEnableChk", shownChoice(page, "gsensorEnableChk") ? 0 : 1); break;
            case DrivingPreset: choose(page, "gsensorSensitivityDrivingSeg", 1); break;
            case DrivingCustom: choose(page, "gsensorSensitivityDrivingSeg", 5); break;
            case ParkingPreset: choose(page, "gsensorSensitivityParkingSeg", 1); break;
            case ParkingCustom: choose(page, "gsensorSensitivityParkingSeg", 5); break;
            }
        }
        EXPECT_EQ(isEnabled(page, "gsensorSensitivityDrivingSeg"), c.expectedSegments);
        EXPECT_EQ(isEnabled(page, "gsensorSensitivityParkingSeg"), c.expectedSegments);
        for (int axis = 0; axis < 3; ++axis) {
            EXPECT_EQ(isEnabled(page, kDrivingFields[axis]), c.expectedDrivingFields) << axis;
            EXPECT_EQ(isEnabled(page, kParkingFields[axis]), c.expectedParkingFields) << axis;
        }
    }
}

TEST_F(ORVSettingForBasicViewControllerTest, ChoosingAPresetFillsItsFieldsAndStoresItsValues) {
    show({{"gsen_z_threshold", 44}, {"parkmode_z_threshold", 9}});
    choose(page, "gsensorSensitivityDrivingSeg", 0);
    choose(page, "gsensorSensitivityParkingSeg", 3);
    EXPECT_EQ(text(kDrivingFields[0]), "0.70");
    EXPECT_EQ(text(kDrivingFields[1]), "0.65");
    EXPECT_EQ(text(kDrivingFields[2]), "0.65");
    EXPECT_EQ(text(kParkingFields[2]), "0.12");
    ASSERT_TRUE(page.populate());
    EXPECT_EQ(record.gsen_x_threshold, 70);
    EXPECT_EQ(record.gsen_y_threshold, 65);
    EXPECT_EQ(record.gsen_z_threshold, 65);
    EXPECT_EQ(record.parkmode_x_threshold, 12);
    EXPECT_EQ(record.parkmode_y_threshold, 12);
    EXPECT_EQ(record.parkmode_z_threshold, 12);
}

TEST_F(ORVSettingForBasicViewControllerTest, CustomThresholdTextsStoreTheHundredthsTheyShow) {
    struct Case {
        const char* text;
        std::int32_t expectedStored;
    };
    const Case cases[] = {
        {"0.70", 70}, {"0.29", 29}, {"0.57", 57}, {"1.13", 113}, {"0.05", 5},   {"1.5", 150},
        {"1.50", 150}, {"0.5abc", 50}, {" 0.33", 33}, {".4", 40},  {"0.999", 100}, {"", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        show({{"gsen_z_threshold", 44}});
        field(kDrivingFields[1])->setText(c.text);
        ASSERT_TRUE(page.populate());
        EXPECT_EQ(record.gsen_y_threshold, c.expectedStored);
        EXPECT_EQ(record.gsen_x_threshold, 50);
        EXPECT_EQ(record.gsen_z_threshold, 44);
    }
}

TEST_F(ORVSettingForBasicViewControllerTest, CustomThresholdsOutsideTheBoundsBlockPopulate) {
    struct Case {
        const char* name;
        bool parking;
        std::int64_t gsensor;
        int axis;
        const char* text;
        bool expectedAccepted;
    };
    const Case cases[] = {
        {"the lower bound", false, 1, 0, "0.05", true},
        {"the upper bound", false, 1, 2, "1.5", true},
        {"below the lower bound", false, 1, 0, "0.04", false},
        {"above the upper bound", false, 1, 1, "1.51", false},
        {"no number", false, 1, 2, "abc", false},
        {"parking below the bound", true, 1, 1, "0.049", false},
        {"parking above the bound", true, 1, 0, "2", false},
        {"refused also with the box off", true, 0, 2, "9", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        show({{"g_sensor_enable", c.gsensor}, {"gsen_z_threshold", 44}, {"parkmode_z_threshold", 9}});
        const char* name = (c.parking ? kParkingFields : kDrivingFields)[c.axis];
        field(name)->setText(c.text);
        const FILEDATA before = record;
        const std::optional<QString> message = page.validateUserInput();
        const std::optional<std::string> expected = ORVValidator::validateGsensorThreshold(std::string(c.text));
        EXPECT_EQ(message.has_value(), !c.expectedAccepted);
        if (expected) {
            EXPECT_EQ(message.value_or(QString()).toStdString(), *expected);
        }
        EXPECT_EQ(page.populate(), c.expectedAccepted);
        if (!c.expectedAccepted) {
            EXPECT_TRUE(sameBytes(record, before));
        }
    }
}

TEST_F(ORVSettingForBasicViewControllerTest, PresetsAreNotChecked) {
    show({});
    field(kDrivingFields[0])->setText("abc");
    EXPECT_FALSE(page.validateUserInput().has_value());
}

TEST_F(ORVSettingForBasicViewControllerTest, TheFirstRefusedFieldTakesTheFocus) {
    page.show();
    QApplication::setActiveWindow(&page);
    show({{"gsen_z_threshold", 44}, {"parkmode_z_threshold", 9}});
    field(kDrivingFields[1])->setText("3");
    field(kDrivingFields[2])->setText("4");
    field(kParkingFields[0])->setText("5");
    ASSERT_TRUE(page.validateUserInput().has_value());
    QApplication::processEvents();
    EXPECT_TRUE(field(kDrivingFields[1])->hasFocus());

    field(kDrivingFields[1])->setText("0.3");
    field(kDrivingFields[2])->setText("0.4");
    ASSERT_TRUE(page.validateUserInput().has_value());
    QApplication::processEvents();
    EXPECT_TRUE(field(kParkingFields[0])->hasFocus());
    page.hide();
}

TEST_F(ORVSettingForBasicViewControllerTest, ExternalPowerClosesThePowerChoicesAndIsStoredAtOnce) {
    show({{"sd_mem_event_reserved", 0}});
    EXPECT_TRUE(isEnabled(page, "powerVoltageCombo"));
    EXPECT_TRUE(isEnabled(page, "powerTimeCombo"));
    choose(page, "useExternalPowerChk", 1);
    EXPECT_EQ(record.sd_mem_event_reserved, 1u);
    EXPECT_FALSE(isEnabled(page, "powerVoltageCombo"));
    EXPECT_FALSE(isEnabled(page, "powerTimeCombo"));
    choose(page, "useExternalPowerChk", 0);
    EXPECT_EQ(record.sd_mem_event_reserved, 0u);
    EXPECT_TRUE(isEnabled(page, "powerVoltageCombo"));
    show({{"sd_mem_event_reserved", 1}});
    EXPECT_FALSE(isEnabled(page, "powerTimeCombo"));
}

TEST_F(ORVSettingForBasicViewControllerTest, OnlyTheLowestCutOffVoltageWarns) {
    for (int item = 0; item < 6; ++item) {
        SCOPED_TRACE(item);
        show({});
        test::AnsweredAlerts alerts;
        choose(page, "powerVoltageCombo", item);
        QApplication::processEvents();
        if (item == 2) {
            ASSERT_EQ(alerts.seen.size(), 1u);
            EXPECT_EQ(alerts.seen[0].title, uiText("alert.title.warning"));
            EXPECT_EQ(alerts.seen[0].message, uiText("msg.use_external_power_10v"));
        } else {
            EXPECT_TRUE(alerts.seen.empty());
        }
        ASSERT_TRUE(page.populate());
        EXPECT_EQ(shownChoice(page, "powerVoltageCombo"), item);
    }
}

TEST_F(ORVSettingForBasicViewControllerTest, TheLowestVoltageReadFromTheRecordDoesNotWarn) {
    test::AnsweredAlerts alerts;
    show({{"sd_mem_always_reserved", 11800}});
    QApplication::processEvents();
    EXPECT_TRUE(alerts.seen.empty());
    EXPECT_EQ(shownChoice(page, "powerVoltageCombo"), 2);
}

TEST_F(ORVSettingForBasicViewControllerTest, TheTypedPlateIsFilteredAndFitsItsEightBytes) {
    struct Case {
        const char* typed;
        bool endEditing;
        const char* expectedField;
        std::string expectedBytes;
    };
    const Case cases[] = {
        {"12 \xC3\x84 34", true, "1234", std::string("1234\0\0\0\0", 8)},
        {"A-B-C-D-E-F-G-H-I-J", true, "ABCDEFGH", "ABCDEFGH"},
        {"xy-9 \xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", false, "xy9", std::string("xy9\0\0\0\0\0", 8)},
        {"", false, "", std::string(8, '\0')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        show({});
        QLineEdit* plate = field("carNumberField");
        plate->setText(QString::fromUtf8(c.typed));
        if (c.endEditing) emit plate->editingFinished();
        ASSERT_TRUE(page.populate());
        EXPECT_EQ(plate->text(), QString::fromUtf8(c.expectedField));
        EXPECT_EQ(std::string(record.szPlateNumber, 8), c.expectedBytes);
    }
}

TEST_F(ORVSettingForBasicViewControllerTest, ChangingOneControlChangesExactlyItsFields) {
    using Change = std::function<void(ORVSettingForBasicViewControllerTest&)>;
    struct Case {
        const char* name;
        Change change;
        std::vector<std::string> expectedFields;
    };
    const auto pick = [](const char* outlet, int choice) {
        return [=](ORVSettingForBasicViewControllerTest& t) { choose(t.page, outlet, choice); };
    };
    const Case cases[] = {
        {"waiting time", pick("alwaysModeTimeoutSeg", 8), {"always_mode_timeout"}},
        {"G-sensor box", pick("gsensorEnableChk", 0), {"g_sensor_enable"}},
        {"driving preset", pick("gsensorSensitivityDrivingSeg", 0),
         {"gsen_x_threshold", "gsen_y_threshold", "gsen_z_threshold"}},
        {"parking preset", pick("gsensorSensitivityParkingSeg", 1),
         {"parkmode_x_threshold", "parkmode_y_threshold", "parkmode_z_threshold"}},
        {"custom driving Y",
         [](ORVSettingForBasicViewControllerTest& t) {
             choose(t.page, "gsensorSensitivityDrivingSeg", 5);
             t.field(kDrivingFields[1])->setText("0.46");
         },
         {"gsen_y_threshold"}},
        {"custom parking Z",
         [](ORVSettingForBasicViewControllerTest& t) {
             choose(t.page, "gsensorSensitivityParkingSeg", 5);
             t.field(kParkingFields[2])->setText("1.2");
         },
         {"parkmode_z_threshold"}},
        {"front LED", pick("frontLEDSeg", 1), {"ledoff"}},
        {"rear LED", pick("rearLEDSeg", 1), {"ledoff_rear"}},
        {"plate", [](ORVSettingForBasicViewControllerTest& t) { t.field("carNumberField")->setText("12AB"); },
         {"szPlateNumber"}},
        {"cut-off voltage", pick("powerVoltageCombo", 5), {"sd_mem_always_reserved"}},
        {"cut-off timer", pick("powerTimeCombo", 4), {"sd_mem_motion_reserved"}},
        {"external power", pick("useExternalPowerChk", 1), {"sd_mem_event_reserved"}},
        {"cable voltage loss", pick("cableVoltageLossSeg", 0), {"CableVoltCorr"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::AnsweredAlerts alerts;
        show({});
        const FILEDATA shown = record;
        c.change(*this);
        ASSERT_TRUE(page.populate());
        EXPECT_EQ(changedFields(shown, record), c.expectedFields);
    }
}

}  // namespace
}  // namespace zentrova
