#include "controls/TKClockTimePicker.h"

#include "support/WidgetTestApplication.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include <cmath>

namespace zentrova {
namespace {

struct HandCase {
    const char* name;
    QTime before;
    double angle;
    QTime after;
};

TEST(TKClockTimePickerHandsTest, TheMinuteHandCarriesTheHourOnAndBackThroughTwelve) {
    const HandCase cases[] = {
        {"within the hour", QTime(10, 15, 30), 180.0, QTime(10, 30, 30)},
        {"rounded to the nearest minute", QTime(10, 15), 92.9, QTime(10, 15)},
        {"forward past twelve", QTime(10, 58, 30), 12.0, QTime(11, 2, 30)},
        {"back past twelve", QTime(11, 2), 348.0, QTime(10, 58)},
        {"forward past midnight", QTime(23, 58, 9), 6.0, QTime(0, 1, 9)},
        {"back past midnight", QTime(0, 1), 354.0, QTime(23, 59)},
        {"a full turn is twelve", QTime(8, 59), 359.0, QTime(9, 0)},
    };
    for (const HandCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TKClockTimePicker::withMinuteHandAt(c.before, c.angle), c.after);
    }
}

TEST(TKClockTimePickerHandsTest, TheHourHandKeepsTheMinutesAndChangesTheHalfOfTheDayAtTwelve) {
    const HandCase cases[] = {
        {"morning hour", QTime(3, 10, 5), 200.0, QTime(6, 10, 5)},
        {"afternoon hour", QTime(15, 10), 275.0, QTime(21, 10)},
        {"forward past noon", QTime(11, 20), 15.0, QTime(12, 20)},
        {"back past noon", QTime(12, 20), 345.0, QTime(11, 20)},
        {"forward past midnight", QTime(23, 40), 15.0, QTime(0, 40)},
        {"back past midnight", QTime(0, 40), 345.0, QTime(23, 40)},
        {"the hand where it is drawn changes nothing", QTime(3, 50), 115.0, QTime(3, 50)},
    };
    for (const HandCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TKClockTimePicker::withHourHandAt(c.before, c.angle), c.after);
    }
}

TEST(TKClockTimePickerHandsTest, HandsPointWhereAClockShowsTheTime) {
    EXPECT_DOUBLE_EQ(TKClockTimePicker::minuteAngle(QTime(4, 30)), 180.0);
    EXPECT_DOUBLE_EQ(TKClockTimePicker::hourAngle(QTime(15, 30)), 105.0) << "half way from three to four";
    EXPECT_DOUBLE_EQ(TKClockTimePicker::hourAngle(QTime(0, 0)), 0.0);
    EXPECT_NEAR(TKClockTimePicker::angleOf(QPointF(1, 0)), 90.0, 1e-9) << "right is three o'clock";
    EXPECT_NEAR(TKClockTimePicker::angleOf(QPointF(0, 1)), 180.0, 1e-9) << "down is six, y grows downwards";
    EXPECT_NEAR(TKClockTimePicker::angleOf(QPointF(-1, 0)), 270.0, 1e-9);
}

class TKClockTimePickerTest : public test::WidgetTest {
protected:
    void SetUp() override {
        picker.resize(200, 200);
        picker.setTime(QTime(10, 10, 30));
        picker.show();
    }
    QPoint at(double degrees, double shareOfRadius) const {
        const double r = 96.0 * shareOfRadius;
        const double radians = degrees * M_PI / 180.0;
        return QPoint(100 + static_cast<int>(std::lround(std::sin(radians) * r)),
                      100 - static_cast<int>(std::lround(std::cos(radians) * r)));
    }
    TKClockTimePicker picker;
};

TEST_F(TKClockTimePickerTest, DraggingTheMinuteHandSetsTheMinutesAndOnlyUserChangesAreEdits) {
    QSignalSpy edited(&picker, &TKClockTimePicker::timeEdited);
    QSignalSpy changed(&picker, &TKClockTimePicker::timeChanged);
    QTest::mousePress(&picker, Qt::LeftButton, Qt::NoModifier, at(60, 0.8));
    EXPECT_EQ(picker.draggedHand(), TKClockTimePicker::Hand::Minute) << "the minute hand reaches further";
    QTest::mouseMove(&picker, at(90, 0.8));
    QTest::mouseRelease(&picker, Qt::LeftButton, Qt::NoModifier, at(90, 0.8));
    EXPECT_EQ(picker.time(), QTime(10, 15, 30));
    EXPECT_EQ(picker.draggedHand(), TKClockTimePicker::Hand::None);
    EXPECT_GE(edited.count(), 1);
    const int edits = edited.count();
    picker.setTime(QTime(1, 2, 3));
    EXPECT_EQ(edited.count(), edits) << "a time set by the program is no edit";
    EXPECT_EQ(changed.last().first().toTime(), QTime(1, 2, 3));
}

TEST_F(TKClockTimePickerTest, ThePointNearTheHourHandTakesTheHourHand) {
    // 10:10 has the hour hand at 305 degrees; press near it, inside its reach.
    QTest::mousePress(&picker, Qt::LeftButton, Qt::NoModifier, at(300, 0.35));
    EXPECT_EQ(picker.draggedHand(), TKClockTimePicker::Hand::Hour);
    QTest::mouseMove(&picker, at(100, 0.35));
    QTest::mouseRelease(&picker, Qt::LeftButton, Qt::NoModifier, at(100, 0.35));
    EXPECT_EQ(picker.time(), QTime(15, 10, 30)) << "from ten to three the short way passes twelve: afternoon";
}

TEST_F(TKClockTimePickerTest, KeysStepMinutesHoursAndTheHalfOfTheDay) {
    struct Case {
        const char* name;
        QTime start;
        Qt::Key key;
        QTime after;
    } cases[] = {
        {"up a minute", QTime(10, 59, 1), Qt::Key_Up, QTime(11, 0, 1)},
        {"down a minute past midnight", QTime(0, 0, 5), Qt::Key_Down, QTime(23, 59, 5)},
        {"right a minute", QTime(9, 0), Qt::Key_Right, QTime(9, 1)},
        {"left a minute", QTime(9, 0), Qt::Key_Left, QTime(8, 59)},
        {"an hour on past midnight", QTime(23, 30), Qt::Key_PageUp, QTime(0, 30)},
        {"an hour back", QTime(0, 30), Qt::Key_PageDown, QTime(23, 30)},
        {"afternoon", QTime(9, 15), Qt::Key_P, QTime(21, 15)},
        {"afternoon stays", QTime(21, 15), Qt::Key_P, QTime(21, 15)},
        {"morning", QTime(21, 15), Qt::Key_A, QTime(9, 15)},
    };
    picker.setFocus();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        picker.setTime(c.start);
        QTest::keyClick(&picker, c.key);
        EXPECT_EQ(picker.time(), c.after);
    }
}

}  // namespace
}  // namespace zentrova
