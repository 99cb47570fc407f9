#include "settings/SettingPageControls.h"

#include "controls/SegmentedControl.h"
#include "support/WidgetTestApplication.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QWidget>

namespace zentrova {
namespace {

class SettingPageControlsTest : public test::WidgetTest {};

TEST_F(SettingPageControlsTest, SegmentLabelsSetTheCountAndEachLabel) {
    SegmentedControl control;
    setSegmentLabels(control, {"a", "b", "c", "d"});
    setSegmentLabels(control, {"x", "y"});
    ASSERT_EQ(control.segmentCount(), 2);
    EXPECT_EQ(control.labelForSegment(0), "x");
    EXPECT_EQ(control.labelForSegment(1), "y");
}

TEST_F(SettingPageControlsTest, ComboItemsReplaceTheOldOnes) {
    QComboBox combo;
    combo.addItems({"old 1", "old 2", "old 3"});
    setComboItems(combo, {"new"});
    ASSERT_EQ(combo.count(), 1);
    EXPECT_EQ(combo.itemText(0), "new");
}

TEST_F(SettingPageControlsTest, UiTextsLooksUpEveryKeyInOrder) {
    const QStringList texts = uiTexts({"save", "cancel"});
    ASSERT_EQ(texts.size(), 2);
    EXPECT_FALSE(texts[0].isEmpty());
    EXPECT_FALSE(texts[1].isEmpty());
    EXPECT_NE(texts[0], texts[1]);
}

TEST_F(SettingPageControlsTest, CentringMovesOnlyAcrossToTheOtherCentre) {
    struct Case {
        int bX, bWidth, aWidth, expectedX;
    };
    const Case cases[] = {{100, 400, 200, 200}, {0, 300, 100, 100}, {50, 100, 300, -50}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bWidth);
        QWidget parent;
        QWidget a(&parent), b(&parent);
        b.setGeometry(c.bX, 10, c.bWidth, 40);
        a.setGeometry(0, 77, c.aWidth, 20);
        centreHorizontally(a, b);
        EXPECT_EQ(a.x(), c.expectedX);
        EXPECT_EQ(a.y(), 77);
    }
}

}  // namespace
}  // namespace zentrova
