#include "settings/SettingLoadingSheet.h"

#include "support/ManualDelayedSteps.h"
#include "support/WidgetTestApplication.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <optional>

namespace zentrova {
namespace {

class SettingLoadingSheetTest : public test::WidgetTest {
protected:
    SettingLoadingSheetTest() { window.show(); }

    // Moves the clock to the time (ms after showing) and tells whether the
    // sheet is still up.
    bool shownAt(int milliseconds) {
        clock.advance(milliseconds - static_cast<int>(clock.now() - shownSince));
        return sheet.isShown();
    }

    QWidget window;
    test::ManualDelayedSteps clock;
    SettingLoadingSheet sheet{&window, clock};
    std::int64_t shownSince = 0;
};

TEST_F(SettingLoadingSheetTest, TheSheetGoesAtTheFirstTickAfterItWasAskedTo) {
    const struct {
        const char* name;
        std::optional<int> hideAt;  // ms after showing; none: never asked
        int lastShownAt;
        int goneAt;
    } cases[] = {
        {"asked at once: shown for half a second", 0, 499, 500},
        {"asked between ticks: the next tick", 2200, 2499, 2500},
        {"asked on a tick's time, after it ran: the tick after", 3000, 3499, 3500},
        {"never asked: gone after 15 seconds", std::nullopt, 14999, 15000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        shownSince = clock.now();
        sheet.showLoading("Loading...");
        ASSERT_TRUE(sheet.isShown());
        EXPECT_EQ(sheet.panel()->message(), "Loading...");
        EXPECT_TRUE(sheet.panel()->isBusy());
        if (c.hideAt) {
            EXPECT_TRUE(shownAt(*c.hideAt));
            sheet.hideLoading();
        }
        EXPECT_TRUE(shownAt(c.lastShownAt));
        EXPECT_FALSE(shownAt(c.goneAt));
        EXPECT_FALSE(shownAt(c.goneAt + 5000)) << "and stays gone";
    }
}

TEST_F(SettingLoadingSheetTest, ProgressCountsTheTicksUpToFifteenSeconds) {
    sheet.showLoading("Loading...");
    EXPECT_DOUBLE_EQ(sheet.progress(), 0.0);
    shownAt(1500);
    EXPECT_DOUBLE_EQ(sheet.progress(), 10.0);
    shownAt(15000);
    EXPECT_DOUBLE_EQ(sheet.progress(), 100.0);
    EXPECT_EQ(clock.now(), 15000);
    clock.advance(10000);
    EXPECT_DOUBLE_EQ(sheet.progress(), 100.0) << "no tick after the last";
}

TEST_F(SettingLoadingSheetTest, ShowingAgainStartsAFreshCountWithoutTheOldTicks) {
    sheet.showLoading("Loading...");
    shownAt(14000);
    sheet.hideLoading();
    shownAt(14500);
    ASSERT_FALSE(sheet.isShown());
    shownSince = clock.now();
    sheet.showLoading("Loading...");
    EXPECT_TRUE(shownAt(14999)) << "a full fifteen seconds again";
    EXPECT_FALSE(shownAt(15000));
}

TEST_F(SettingLoadingSheetTest, ATickAfterTheSheetHasGoneDoesNothing) {
    const auto sheetsBefore = window.findChildren<ProgressSheet*>().size();
    auto gone = std::make_unique<SettingLoadingSheet>(&window, clock);
    gone->showLoading("Loading...");
    gone.reset();
    EXPECT_EQ(window.findChildren<ProgressSheet*>().size(), sheetsBefore) << "its panel goes with it";
    clock.advance(20000);
    EXPECT_EQ(clock.now(), 20000);
}

}  // namespace
}  // namespace zentrova
