#include "settings/pages/ORVSettingForAdasViewController.h"

#include "controls/UiText.h"
#include "support/SettingEditorHarness.h"
#include "support/SettingPageDriver.h"
#include "support/WidgetTestApplication.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>

#include <memory>
#include <string>
#include <vector>

namespace zentrova {
namespace {

using test::changedFields;
using test::choose;
using test::fieldValue;
using test::shownChoice;

constexpr int kNone = SegmentedControl::kNoSelection;

QString text(const char* key) { return uiText(key); }

QStringList labelsOf(const QWidget& page, const char* outlet) {
    QStringList labels;
    auto* control = test::outlet<SegmentedControl>(page, outlet);
    for (int i = 0; i < control->segmentCount(); ++i) labels << control->labelForSegment(i);
    return labels;
}

class ORVSettingForAdasViewControllerTest : public test::WidgetTest {
public:
    void show(std::initializer_list<test::FieldValue> values) { test::showRecordWith(page, record, values); }
    QLabel* note(const char* outlet) { return test::outlet<QLabel>(page, outlet); }

    FILEDATA record{};
    ORVSettingForAdasViewController page{nullptr};
};

TEST_F(ORVSettingForAdasViewControllerTest, EveryKnownByteIsShownAndStoredBackUnchanged) {
    struct Case {
        const char* field;
        const char* outlet;
        int count;
    };
    const Case cases[] = {
        {"ADAS_Car", "adasCarSeg", 3},           {"ADAS_LDWS_Sens", "adasLdwsSensSeg", 3},
        {"ADAS_FCWS_Sens", "adasFcwsSensSeg", 3}, {"ADAS_FCMD_Enable", "adasFcmdEnableSeg", 2},
        {"ADAS_FCMD_Sens", "adasFcmdSensSeg", 3},
    };
    for (const Case& c : cases) {
        for (int value = 0; value < c.count; ++value) test::expectStoredBackUnchanged(page, c.field, value, c.outlet);
    }
}

struct SpeedTable {
    const char* name;
    std::uint32_t unit;
    const char* field;
    const char* outlet;
    std::vector<int> speeds;
    const char* unitLabel;
    int (*find)(std::int64_t);
};

const SpeedTable kSpeedTables[] = {
    {"lane departure in km/h", 0, "ADAS_Ldws_Speed", "adasLdwsSpeedSeg", {0, 30, 40, 50, 60, 70, 80, 90, 100},
     "Km/h", &ORVSettingForAdasViewController::FindLdwsSpeed},
    {"lane departure in mi/h", 1, "ADAS_Ldws_Speed", "adasLdwsSpeedSeg", {0, 20, 25, 30, 40, 45, 50, 55, 60},
     "Mi/h", &ORVSettingForAdasViewController::FindLdwsSpeedMile},
    {"forward collision in km/h", 0, "ADAS_FCWS_Speed", "adasFcwsSpeedSeg", {0, 30, 50, 70, 90}, "Km/h",
     &ORVSettingForAdasViewController::FindFcwsSpeed},
    {"forward collision in mi/h", 1, "ADAS_FCWS_Speed", "adasFcwsSpeedSeg", {0, 20, 30, 45, 55}, "Mi/h",
     &ORVSettingForAdasViewController::FindFcwsSpeedMile},
};

TEST_F(ORVSettingForAdasViewControllerTest, EverySpeedOfTheUnitIsShownByItsSegmentAndStoredBackUnchanged) {
    for (const SpeedTable& table : kSpeedTables) {
        for (int segment = 0; segment < static_cast<int>(table.speeds.size()); ++segment) {
            const int speed = table.speeds[static_cast<std::size_t>(segment)];
            SCOPED_TRACE(std::string(table.name) + " " + std::to_string(speed));
            show({{"speed_disp_unit", table.unit}, {table.field, speed}});
            EXPECT_EQ(shownChoice(page, table.outlet), segment);
            EXPECT_EQ(table.find(speed), segment);
            const FILEDATA shown = record;
            ASSERT_TRUE(page.populate());
            EXPECT_TRUE(test::sameBytes(record, shown)) << testing::PrintToString(changedFields(shown, record));
        }
    }
}

TEST_F(ORVSettingForAdasViewControllerTest, EachSpeedSegmentIsLabelledInTheUnitAndStoresItsSpeed) {
    for (const SpeedTable& table : kSpeedTables) {
        SCOPED_TRACE(table.name);
        QStringList expectedLabels{text("setting.aux.auto_format_notuse")};
        for (std::size_t i = 1; i < table.speeds.size(); ++i) {
            expectedLabels << QString::number(table.speeds[i]) + QString::fromLatin1(table.unitLabel);
        }
        show({{"speed_disp_unit", table.unit}});
        EXPECT_EQ(labelsOf(page, table.outlet), expectedLabels);
        for (int segment = 0; segment < static_cast<int>(table.speeds.size()); ++segment) {
            SCOPED_TRACE(segment);
            show({{"speed_disp_unit", table.unit}, {table.field, 255}});
            const FILEDATA shown = record;
            choose(page, table.outlet, segment);
            ASSERT_TRUE(page.populate());
            EXPECT_EQ(fieldValue(record, table.field), table.speeds[static_cast<std::size_t>(segment)]);
            EXPECT_EQ(changedFields(shown, record), std::vector<std::string>{table.field});
        }
    }
}

TEST_F(ORVSettingForAdasViewControllerTest, EveryUnitButOneIsKilometres) {
    for (std::int64_t unit : {0LL, 2LL, 7LL, 0xFFFFFFFFLL}) {
        SCOPED_TRACE(unit);
        show({{"speed_disp_unit", unit}});
        EXPECT_EQ(labelsOf(page, "adasLdwsSpeedSeg").at(8), "100Km/h");
        EXPECT_EQ(labelsOf(page, "adasFcwsSpeedSeg").at(4), "90Km/h");
    }
}

TEST_F(ORVSettingForAdasViewControllerTest, TheSpeedsFollowTheRecordsUnitFromTheirCreation) {
    for (std::uint32_t unit : {0u, 1u}) {
        SCOPED_TRACE(unit);
        FILEDATA atCreation = test::resetRecord();
        atCreation.speed_disp_unit = unit;
        ORVSettingForAdasViewController made(&atCreation);
        EXPECT_EQ(labelsOf(made, "adasLdwsSpeedSeg").at(1), unit == 1 ? "20Mi/h" : "30Km/h");
        EXPECT_EQ(labelsOf(made, "adasFcwsSpeedSeg").at(4), unit == 1 ? "55Mi/h" : "90Km/h");
    }
}

TEST_F(ORVSettingForAdasViewControllerTest, AStoredSpeedKeepsItsNumberWhenTheUnitChanges) {
    show({{"speed_disp_unit", 0}, {"ADAS_Ldws_Speed", 30}});
    EXPECT_EQ(test::outlet<SegmentedControl>(page, "adasLdwsSpeedSeg")->labelForSegment(1), "30Km/h");
    EXPECT_EQ(shownChoice(page, "adasLdwsSpeedSeg"), 1);
    record.speed_disp_unit = 1;
    page.setFileData(&record);
    EXPECT_EQ(shownChoice(page, "adasLdwsSpeedSeg"), 3);
    EXPECT_EQ(test::outlet<SegmentedControl>(page, "adasLdwsSpeedSeg")->labelForSegment(3), "30Mi/h");
    ASSERT_TRUE(page.populate());
    EXPECT_EQ(record.ADAS_Ldws_Speed, 30);
}

// A speed that none of the shown unit's choices has (a km/h speed after the
// unit became mi/h, or a byte the camera wrote) shows no segment, says so,
// and is written back as it was; once the user picks a speed, that is stored.
TEST_F(ORVSettingForAdasViewControllerTest, AnUnmatchedSpeedIsKeptUntilTheUserPicksOne) {
    struct Case {
        const char* name;
        std::uint32_t unit;
        const char* field;
        const char* outlet;
        const char* note;
        std::uint8_t stored;
        int picked;
        std::uint8_t expectedPicked;
    };
    const Case cases[] = {
        {"100 km/h seen in mi/h", 1, "ADAS_Ldws_Speed", "adasLdwsSpeedSeg", "adasLdwsSpeedNote", 100, 1, 20},
        {"70 km/h seen in mi/h", 1, "ADAS_Ldws_Speed", "adasLdwsSpeedSeg", "adasLdwsSpeedNote", 70, 8, 60},
        {"25 mi/h seen in km/h", 0, "ADAS_Ldws_Speed", "adasLdwsSpeedSeg", "adasLdwsSpeedNote", 25, 0, 0},
        {"an unknown byte", 0, "ADAS_Ldws_Speed", "adasLdwsSpeedSeg", "adasLdwsSpeedNote", 255, 2, 40},
        {"90 km/h seen in mi/h", 1, "ADAS_FCWS_Speed", "adasFcwsSpeedSeg", "adasFcwsSpeedNote", 90, 4, 55},
        {"45 mi/h seen in km/h", 0, "ADAS_FCWS_Speed", "adasFcwsSpeedSeg", "adasFcwsSpeedNote", 45, 3, 70},
        {"a speed between choices", 0, "ADAS_FCWS_Speed", "adasFcwsSpeedSeg", "adasFcwsSpeedNote", 40, 1, 30},
    };
    page.show();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        show({{"speed_disp_unit", c.unit}, {c.field, c.stored}});
        EXPECT_EQ(shownChoice(page, c.outlet), kNone);
        EXPECT_TRUE(note(c.note)->isVisible());
        EXPECT_TRUE(note(c.note)->text().contains(QString::number(c.stored))) << note(c.note)->text().toStdString();
        const FILEDATA shown = record;
        ASSERT_TRUE(page.populate());
        EXPECT_TRUE(test::sameBytes(record, shown)) << testing::PrintToString(changedFields(shown, record));

        choose(page, c.outlet, c.picked);
        EXPECT_FALSE(note(c.note)->isVisible());
        ASSERT_TRUE(page.populate());
        EXPECT_EQ(fieldValue(record, c.field), c.expectedPicked);
        EXPECT_EQ(changedFields(shown, record), std::vector<std::string>{c.field});
    }
}

TEST_F(ORVSettingForAdasViewControllerTest, AMatchedSpeedShowsNoNote) {
    page.show();
    show({{"speed_disp_unit", 1}, {"ADAS_Ldws_Speed", 100}, {"ADAS_FCWS_Speed", 90}});
    ASSERT_TRUE(note("adasLdwsSpeedNote")->isVisible());
    show({{"speed_disp_unit", 1}, {"ADAS_Ldws_Speed", 60}, {"ADAS_FCWS_Speed", 0}});
    EXPECT_FALSE(note("adasLdwsSpeedNote")->isVisible()) << "a record shown again hides the note of the last";
    EXPECT_FALSE(note("adasFcwsSpeedNote")->isVisible());
}

// Bytes outside the segments show none; the page keeps them, for it cannot
// tell what the camera means by them.
TEST_F(ORVSettingForAdasViewControllerTest, BytesOutsideTheSegmentsShowNoneAndAreKept) {
    const test::KeptValue cases[] = {
        {"ADAS_Car", 3, "adasCarSeg"},           {"ADAS_Car", 255, "adasCarSeg"},
        {"ADAS_LDWS_Sens", 3, "adasLdwsSensSeg"}, {"ADAS_FCWS_Sens", 200, "adasFcwsSensSeg"},
        {"ADAS_FCMD_Enable", 2, "adasFcmdEnableSeg"}, {"ADAS_FCMD_Sens", 9, "adasFcmdSensSeg"},
    };
    test::expectShownAsNoneAndKept(page, cases);
}

TEST_F(ORVSettingForAdasViewControllerTest, ChangingOneControlChangesExactlyItsField) {
    const test::OneChoice cases[] = {
        {"adasCarSeg", 2, "ADAS_Car", 2},
        {"adasLdwsSensSeg", 0, "ADAS_LDWS_Sens", 0},
        {"adasLdwsSpeedSeg", 5, "ADAS_Ldws_Speed", 70},
        {"adasFcwsSensSeg", 1, "ADAS_FCWS_Sens", 1},
        {"adasFcwsSpeedSeg", 2, "ADAS_FCWS_Speed", 50},
        {"adasFcmdEnableSeg", 0, "ADAS_FCMD_Enable", 0},
        {"adasFcmdSensSeg", 1, "ADAS_FCMD_Sens", 1},
    };
    test::expectEachChoiceChangesItsFieldAlone(page, cases);
}

TEST_F(ORVSettingForAdasViewControllerTest, TheFactoryRecordShows) {
    show({});
    const struct {
        const char* outlet;
        int expected;
        const char* expectedLabel;
    } cases[] = {
        {"adasCarSeg", 0, nullptr},         {"adasLdwsSpeedSeg", 1, "30Km/h"}, {"adasFcwsSpeedSeg", 1, "30Km/h"},
        {"adasLdwsSensSeg", 2, nullptr},    {"adasFcwsSensSeg", 2, nullptr},   {"adasFcmdSensSeg", 2, nullptr},
        {"adasFcmdEnableSeg", 1, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.outlet);
        EXPECT_EQ(shownChoice(page, c.outlet), c.expected);
        if (c.expectedLabel) {
            EXPECT_EQ(labelsOf(page, c.outlet).at(c.expected), c.expectedLabel);
        }
    }
    EXPECT_EQ(labelsOf(page, "adasCarSeg").at(0), text("setting.adas.vehicle_sedan"));
    EXPECT_EQ(labelsOf(page, "adasFcmdEnableSeg"),
              (QStringList{text("setting.aux.auto_format_notuse"), text("use")}));
    EXPECT_TRUE(labelsOf(page, "adasFcmdSensSeg").at(2).contains(text("sensitive")));
}

// In the editor: the unit changed on the GPS page labels the speeds when the
// page is next made, and a speed the user leaves alone is saved unchanged.
TEST(ORVSettingForAdasViewControllerInEditorTest, AnUntouchedSpeedIsSavedUnchangedAfterTheUnitChanges) {
    test::FakeCard card({.edit = [](FILEDATA& r) {
        r.speed_disp_unit = 0;
        r.ADAS_Ldws_Speed = 70;
        r.ADAS_FCWS_Speed = 90;
    }});
    test::SettingEditorHarness harness(card);
    harness.open();
    harness.clickTab(2);
    harness.clickSegment("speedDisplayUnitSeg", 1);
    harness.clickTab(5);
    auto* ldws = harness.find<SegmentedControl>("adasLdwsSpeedSeg");
    ASSERT_NE(ldws, nullptr);
    EXPECT_EQ(ldws->labelForSegment(1), "20Mi/h");
    EXPECT_EQ(ldws->selectedSegment(), kNone);
    harness.clickSegment("adasCarSeg", 1);
    harness.editor().onSave();
    QApplication::processEvents();
    const std::vector<std::uint8_t> saved = card.settingsBytes();
    ASSERT_EQ(saved.size(), kFileDataSize);
    EXPECT_EQ(saved[164], 1) << "the unit";
    EXPECT_EQ(saved[396], 1) << "the vehicle";
    EXPECT_EQ(saved[397], 70) << "the lane departure speed, untouched";
    EXPECT_EQ(saved[398], 90) << "the forward collision speed, untouched";
}

}  // namespace
}  // namespace zentrova
