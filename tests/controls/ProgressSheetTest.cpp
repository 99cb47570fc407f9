#include "controls/ProgressSheet.h"

#include "support/WidgetTestApplication.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QTest>

#include <cmath>

namespace zentrova {
namespace {

class ProgressSheetTest : public test::WidgetTest {
protected:
    void SetUp() override {
        window.resize(500, 400);
        window.show();
    }
    QWidget window;
};

TEST_F(ProgressSheetTest, OpensOnItsWindowWithoutBlockingAndOnlyTheWorkClosesIt) {
    ProgressSheet sheet(&window);
    sheet.setMessage("Loading settings...");
    sheet.showSheet();
    EXPECT_TRUE(sheet.isVisible()) << "the call returned with the sheet open";
    EXPECT_EQ(sheet.windowModality(), Qt::WindowModal);
    EXPECT_EQ(sheet.findChild<QLabel*>("progressSheetMessage")->text(), "Loading settings...");
    EXPECT_TRUE(sheet.isBusy()) << "a sheet starts busy";

    QTest::keyClick(&sheet, Qt::Key_Escape);
    EXPECT_TRUE(sheet.isVisible()) << "Escape leaves the sheet up while the work runs";
    sheet.close();
    EXPECT_TRUE(sheet.isVisible()) << "so does closing its window";
    sheet.closeSheet();
    EXPECT_FALSE(sheet.isVisible());
}

TEST_F(ProgressSheetTest, TheBarShowsHowFarTheWorkGotHeldToTheWholeRange) {
    ProgressSheet sheet(&window);
    auto* bar = sheet.findChild<QProgressBar*>("progressSheetBar");
    ASSERT_NE(bar, nullptr);
    struct Case {
        const char* name;
        double fraction;
        double shown;
    } cases[] = {
        {"nothing yet", 0.0, 0.0},
        {"half", 0.5, 0.5},
        {"a third, to the bar's step", 1.0 / 3.0, 0.333},
        {"below the start", -0.2, 0.0},
        {"past the end", 1.7, 1.0},
        {"not a number", std::nan(""), 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sheet.setFraction(c.fraction);
        EXPECT_FALSE(sheet.isBusy());
        EXPECT_DOUBLE_EQ(sheet.fraction(), c.shown);
        EXPECT_EQ(bar->maximum(), ProgressSheet::kSteps);
    }
    sheet.setBusy();
    EXPECT_TRUE(sheet.isBusy());
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 0) << "a bar without an end runs as a busy indicator";
}

}  // namespace
}  // namespace zentrova
