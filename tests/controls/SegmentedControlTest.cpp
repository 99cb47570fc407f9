#include "controls/SegmentedControl.h"

#include "support/WidgetTestApplication.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QToolButton>

#include <functional>
#include <vector>

namespace zentrova {
namespace {

class SegmentedControlTest : public test::WidgetTest {
protected:
    void SetUp() override {
        control.setObjectName("gsensorSensitivitySeg");
        control.setSegmentCount(3);
        for (int segment = 0; segment < 3; ++segment) control.setLabel(QString("label %1").arg(segment), segment);
    }

    std::vector<bool> checkedButtons() const {
        std::vector<bool> checked;
        for (int segment = 0; segment < control.segmentCount(); ++segment) {
            checked.push_back(control.segmentButton(segment)->isChecked());
        }
        return checked;
    }

    SegmentedControl control;
};

TEST_F(SegmentedControlTest, SegmentsAreFoundByNameUnderTheOutlet) {
    auto* second = control.findChild<QToolButton*>("segment1");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->text(), "label 1");
    EXPECT_EQ(control.labelForSegment(2), "label 2");
    EXPECT_TRUE(control.labelForSegment(3).isEmpty());
    EXPECT_EQ(control.selectedSegment(), SegmentedControl::kNoSelection) << "a new control selects nothing";
    EXPECT_EQ(checkedButtons(), (std::vector<bool>{false, false, false}));
}

TEST_F(SegmentedControlTest, SelectionByTheProgramIsExclusiveAndNoneOutsideTheSegments) {
    struct Step {
        const char* name;
        int select;
        int selected;
        std::vector<bool> checked;
        int changeNotices;
    } steps[] = {
        {"the first segment", 0, 0, {true, false, false}, 1},
        {"another one replaces it", 2, 2, {false, false, true}, 1},
        {"the same again changes nothing", 2, 2, {false, false, true}, 0},
        {"-1 clears the selection", -1, -1, {false, false, false}, 1},
        {"a segment again after none", 1, 1, {false, true, false}, 1},
        {"past the last segment clears it", 3, -1, {false, false, false}, 1},
        {"below -1 leaves it clear", -7, -1, {false, false, false}, 0},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        QSignalSpy changes(&control, &SegmentedControl::selectedSegmentChanged);
        QSignalSpy clicks(&control, &SegmentedControl::segmentClicked);
        control.setSelectedSegment(step.select);
        EXPECT_EQ(control.selectedSegment(), step.selected);
        EXPECT_EQ(checkedButtons(), step.checked);
        EXPECT_EQ(changes.count(), step.changeNotices);
        EXPECT_EQ(clicks.count(), 0) << "the action is the user's alone";
    }
}

TEST_F(SegmentedControlTest, AClickSelectsItsSegmentAndIsReportedEvenWhenAlreadySelected) {
    QSignalSpy changes(&control, &SegmentedControl::selectedSegmentChanged);
    QSignalSpy clicks(&control, &SegmentedControl::segmentClicked);
    control.segmentButton(1)->click();
    EXPECT_EQ(control.selectedSegment(), 1);
    control.segmentButton(1)->click();
    EXPECT_EQ(control.selectedSegment(), 1) << "a click never clears the selection";
    EXPECT_TRUE(control.segmentButton(1)->isChecked());
    ASSERT_EQ(clicks.count(), 2);
    EXPECT_EQ(clicks.at(1).at(0).toInt(), 1);
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.at(0).at(0).toInt(), 1);

    control.setSegmentEnabled(false, 2);
    control.segmentButton(2)->click();
    EXPECT_FALSE(control.isSegmentEnabled(2));
    EXPECT_EQ(control.selectedSegment(), 1) << "a disabled segment cannot be chosen";
    EXPECT_EQ(clicks.count(), 2);
}

TEST_F(SegmentedControlTest, ChangingTheSegmentCountKeepsOrDropsTheSelection) {
    struct Case {
        const char* name;
        int selectedBefore;
        int newCount;
        int selectedAfter;
        int changeNotices;
    } cases[] = {
        {"dropping the selected segment clears it", 2, 2, -1, 1},
        {"dropping others keeps it", 0, 1, 0, 0},
        {"adding segments keeps it", 1, 5, 1, 0},
        {"no segments at all", 1, 0, -1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        control.setSegmentCount(3);
        control.setSelectedSegment(c.selectedBefore);
        QSignalSpy changes(&control, &SegmentedControl::selectedSegmentChanged);
        control.setSegmentCount(c.newCount);
        EXPECT_EQ(control.segmentCount(), c.newCount);
        EXPECT_EQ(control.selectedSegment(), c.selectedAfter);
        EXPECT_EQ(changes.count(), c.changeNotices);
        EXPECT_EQ(control.findChildren<QToolButton*>().size(), c.newCount);
    }
    control.setSegmentCount(3);
    EXPECT_TRUE(control.labelForSegment(2).isEmpty()) << "a segment added again starts without a label";
    EXPECT_NE(control.findChild<QToolButton*>("segment2"), nullptr);
    control.setLabel("ignored", 7);
    EXPECT_EQ(control.segmentCount(), 3);
}

}  // namespace
}  // namespace zentrova
