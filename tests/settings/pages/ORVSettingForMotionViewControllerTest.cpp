#include "settings/pages/ORVSettingForMotionViewController.h"

#include "support/SettingPageDriver.h"
#include "support/WidgetTestApplication.h"

#include <gtest/gtest.h>

#include <QCheckBox>

#include <string>
#include <vector>

namespace zentrova {
namespace {

using test::changedFields;
using test::choose;
using test::fieldValue;

// Box 01 to 12 and the mask value of its bit alone.
constexpr std::uint32_t kBoxMasks[12] = {256, 512, 1024, 2048, 16, 32, 64, 128, 1, 2, 4, 8};

std::string boxName(const char* side, int box) {
    char name[32];
    std::snprintf(name, sizeof name, "%sMotionBlock%02dChk", side, box);
    return name;
}

class ORVSettingForMotionViewControllerTest : public test::WidgetTest {
public:
    void show(std::initializer_list<test::FieldValue> values) { test::showRecordWith(page, record, values); }
    QCheckBox* box(const char* side, int number) {
        return test::outlet<QCheckBox>(page, boxName(side, number).c_str());
    }
    std::vector<int> clearBoxes(const char* side) {
        std::vector<int> clear;
        for (int number = 1; number <= 12; ++number) {
            if (!box(side, number)->isChecked()) clear.push_back(number);
        }
        return clear;
    }

    FILEDATA record{};
    ORVSettingForMotionViewController page;
};

TEST_F(ORVSettingForMotionViewControllerTest, EveryKnownValueIsShownAndStoredBackUnchanged) {
    struct Case {
        const char* field;
        const char* outlet;
        std::vector<std::int64_t> values;
    };
    std::vector<std::int64_t> masks = {0, 96, 4095, 0x555, 0xAAA};
    for (std::uint32_t mask : kBoxMasks) masks.push_back(mask);
    const Case cases[] = {
        {"motion720pCValue", "frontSensitivitySeg", {0, 1, 2, 3, 4, 5}},
        {"motion1080pCValue", "rearSensitivitySeg", {0, 1, 2, 3, 4, 5}},
        {"ParkingMode", "parkingModeSeg", {0, 1}},
        {"En_SuperNightVision", "nightVisionSeg", {0, 1}},
        {"motionBlock", nullptr, masks},
        {"motionBlock_Rear", nullptr, masks},
    };
    for (const Case& c : cases) {
        for (std::int64_t value : c.values) test::expectStoredBackUnchanged(page, c.field, value, c.outlet);
    }
}

TEST_F(ORVSettingForMotionViewControllerTest, UnknownValuesShowTheirFallBackAndAreStoredAsIt) {
    const test::FallBack cases[] = {
        {"motion720pCValue", 6, "frontSensitivitySeg", 3, 3},
        {"motion1080pCValue", 0xFFFFFFFF, "rearSensitivitySeg", 3, 3},
        {"ParkingMode", 2, "parkingModeSeg", 0, 0},
        {"En_SuperNightVision", 9, "nightVisionSeg", 0, 0},
    };
    test::expectFallBacks(page, cases);
}

TEST_F(ORVSettingForMotionViewControllerTest, ABoxIsTickedWhenItsBitIsClear) {
    for (const char* side : {"front", "rear"}) {
        const char* field = std::string(side) == "front" ? "motionBlock" : "motionBlock_Rear";
        for (int number = 1; number <= 12; ++number) {
            SCOPED_TRACE(boxName(side, number));
            show({{field, kBoxMasks[number - 1]}});
            EXPECT_EQ(clearBoxes(side), std::vector<int>{number});
        }
        struct Case {
            const char* name;
            std::int64_t mask;
            std::vector<int> expectedClear;
        };
        const Case cases[] = {
            {"no bit: every box ticked", 0, {}},
            {"the factory mask clears 06 and 07", 96, {6, 7}},
            {"twelve bits: every box clear", 4095, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
            {"bits above the areas show nothing", 0xFFFFF000, {}},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(side) + ": " + c.name);
            show({{field, c.mask}});
            EXPECT_EQ(clearBoxes(side), c.expectedClear);
        }
    }
}

TEST_F(ORVSettingForMotionViewControllerTest, AClearedBoxSetsItsBitAlone) {
    for (const char* side : {"front", "rear"}) {
        const char* field = std::string(side) == "front" ? "motionBlock" : "motionBlock_Rear";
        for (int number = 1; number <= 12; ++number) {
            SCOPED_TRACE(boxName(side, number));
            show({{"motionBlock", 0}, {"motionBlock_Rear", 0}});
            const FILEDATA shown = record;
            box(side, number)->click();
            ASSERT_TRUE(page.populate());
            EXPECT_EQ(fieldValue(record, field), kBoxMasks[number - 1]);
            EXPECT_EQ(changedFields(shown, record), std::vector<std::string>{field});
        }
    }
}

TEST_F(ORVSettingForMotionViewControllerTest, BitsWithoutABoxAreDroppedOnStore) {
    show({{"motionBlock", 65632}, {"motionBlock_Rear", 0xFFFFFFFF}});
    ASSERT_TRUE(page.populate());
    EXPECT_EQ(record.motionBlock, 96u);
    EXPECT_EQ(record.motionBlock_Rear, 4095u);
}

TEST_F(ORVSettingForMotionViewControllerTest, AreaBoxesStayOpenWhateverTheSensitivity) {
    for (int sensitivity = 0; sensitivity < 6; ++sensitivity) {
        SCOPED_TRACE(sensitivity);
        show({});
        choose(page, "frontSensitivitySeg", sensitivity);
        choose(page, "rearSensitivitySeg", sensitivity);
        for (int number = 1; number <= 12; ++number) {
            EXPECT_TRUE(box("front", number)->isEnabled());
            EXPECT_TRUE(box("rear", number)->isEnabled());
        }
    }
}

TEST_F(ORVSettingForMotionViewControllerTest, ChangingOneControlChangesExactlyItsField) {
    const test::OneChoice cases[] = {
        {"parkingModeSeg", 1, "ParkingMode", 1},
        {"nightVisionSeg", 1, "En_SuperNightVision", 1},
        {"frontSensitivitySeg", 5, "motion720pCValue", 5},
        {"rearSensitivitySeg", 0, "motion1080pCValue", 0},
        {"frontMotionBlock06Chk", 1, "motionBlock", 64},
        {"rearMotionBlock01Chk", 0, "motionBlock_Rear", 96 | 256},
    };
    test::expectEachChoiceChangesItsFieldAlone(page, cases);
}

}  // namespace
}  // namespace zentrova
