#include "controls/SMDoubleSlider.h"

#include "support/WidgetTestApplication.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

namespace zentrova {
namespace {

using Knob = SMDoubleSlider::Knob;

// The slider's drawing: its knobs' centres stay 12 pixels from the ends, so
// a slider 224 wide has 2 pixels per unit over 0..100.
constexpr int kWidth = 224;
constexpr int kEnd = 12;
const QColor kKnob(0xe8, 0xec, 0xf1);
const QColor kRange(0x19, 0xb5, 0xc8);
const QColor kGroove(0x3a, 0x40, 0x49);
const QColor kDisabledKnob(0x6b, 0x73, 0x7d);
const QColor kBackground(0x1c, 0x1f, 0x24);

QPoint at(double value) { return QPoint(kEnd + static_cast<int>(2 * value), 12); }

class SMDoubleSliderTest : public test::WidgetTest {
protected:
    void SetUp() override {
        slider.resize(kWidth, 24);
        slider.setAltIncrementValue(1);
        setPair(70, 90);
        slider.show();
    }

    void setPair(double lo, double hi) { slider.setDoubleLoAndHiValues(lo, hi); }

    void press(QPoint point) { QTest::mousePress(&slider, Qt::LeftButton, Qt::NoModifier, point); }
    void moveTo(QPoint point) { QTest::mouseMove(&slider, point); }
    void release(QPoint point) { QTest::mouseRelease(&slider, Qt::LeftButton, Qt::NoModifier, point); }

    SMDoubleSlider slider;
};

TEST_F(SMDoubleSliderTest, APressTakesTheNearerKnobAndTheKnobsStopAtEachOtherAndTheEnds) {
    struct Case {
        const char* name;
        double lo, hi;
        QPoint pressed;
        std::vector<QPoint> moves;
        double wantLo, wantHi;
        Knob selected;
    } cases[] = {
        {"a press on the low knob takes it without a jump", 70, 90, at(70), {at(60)}, 60, 90, Knob::Low},
        {"the right half of the low knob takes the low knob", 70, 90, at(72), {at(72) - QPoint(20, 0)}, 60, 90,
         Knob::Low},
        {"a press on the bar nearer low brings low there", 70, 90, at(76), {}, 76, 90, Knob::Low},
        {"a press on the bar nearer high brings high there", 70, 90, at(84), {}, 70, 84, Knob::High},
        {"a press beyond high brings high there", 70, 90, at(98), {}, 70, 98, Knob::High},
        {"a press below low brings low there", 70, 90, at(10), {}, 10, 90, Knob::Low},
        {"low dragged past high stops at high", 70, 90, at(70), {at(99)}, 90, 90, Knob::Low},
        {"high dragged past low stops at low", 70, 90, at(90), {at(5)}, 70, 70, Knob::High},
        {"high pulled beyond the end stops at the maximum", 70, 90, at(90), {QPoint(500, 12)}, 70, 100, Knob::High},
        {"low pulled beyond the start stops at the minimum", 70, 90, at(70), {QPoint(-80, 12)}, 0, 90, Knob::Low},
        {"both at 0: a press selects high", 0, 0, at(0), {}, 0, 0, Knob::High},
        {"both at 0: a pull up moves high", 0, 0, at(0), {at(30)}, 0, 30, Knob::High},
        {"both at 40: a press selects low", 40, 40, at(40), {}, 40, 40, Knob::Low},
        {"both at 40: a pull down moves low", 40, 40, at(40), {at(20)}, 20, 40, Knob::Low},
        {"both at 40: a pull up moves high", 40, 40, at(40), {at(60)}, 40, 60, Knob::High},
        {"both at 100: a pull down moves low", 100, 100, at(100), {at(80)}, 80, 100, Knob::Low},
        {"beside a pair, to its right, brings high there", 40, 40, at(60), {}, 40, 60, Knob::High},
        {"beside a pair, to its left, brings low there", 40, 40, at(25), {}, 25, 40, Knob::Low},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setPair(c.lo, c.hi);
        press(c.pressed);
        for (QPoint point : c.moves) moveTo(point);
        release(c.moves.empty() ? c.pressed : c.moves.back());
        EXPECT_DOUBLE_EQ(slider.doubleLoValue(), c.wantLo);
        EXPECT_DOUBLE_EQ(slider.doubleHiValue(), c.wantHi);
        EXPECT_EQ(slider.selectedKnob(), c.selected);
    }
}

TEST_F(SMDoubleSliderTest, AVerticalSliderHasItsMinimumAtTheBottom) {
    SMDoubleSlider vertical(Qt::Vertical);
    vertical.resize(24, kWidth);
    vertical.setAltIncrementValue(1);
    vertical.setDoubleHiValue(70);
    vertical.setDoubleLoValue(20);
    vertical.show();
    EXPECT_GT(vertical.knobRect(Knob::Low).center().y(), vertical.knobRect(Knob::High).center().y());
    const QPoint low = vertical.knobRect(Knob::Low).center().toPoint();
    QTest::mousePress(&vertical, Qt::LeftButton, Qt::NoModifier, low);
    QTest::mouseMove(&vertical, low - QPoint(0, 20));
    QTest::mouseRelease(&vertical, Qt::LeftButton, Qt::NoModifier, low - QPoint(0, 20));
    EXPECT_DOUBLE_EQ(vertical.doubleLoValue(), 30) << "up is more";
    vertical.setFocus();
    QTest::keyClick(&vertical, Qt::Key_Up);
    EXPECT_DOUBLE_EQ(vertical.doubleLoValue(), 31);
}

TEST_F(SMDoubleSliderTest, OnlyTheUsersMovesAreReportedAsMoves) {
    QSignalSpy loChanged(&slider, &SMDoubleSlider::loValueChanged);
    QSignalSpy loMoved(&slider, &SMDoubleSlider::loValueMoved);
    QSignalSpy hiMoved(&slider, &SMDoubleSlider::hiValueMoved);
    slider.setDoubleLoValue(50);
    EXPECT_EQ(loChanged.count(), 1);
    EXPECT_EQ(loMoved.count(), 0) << "set by the program";
    slider.setDoubleLoValue(50);
    EXPECT_EQ(loChanged.count(), 1) << "the same value is no change";

    press(at(50));
    moveTo(at(45));
    moveTo(at(40));
    release(at(40));
    ASSERT_EQ(loMoved.count(), 2) << "a continuous slider reports while dragging";
    EXPECT_DOUBLE_EQ(loMoved.at(1).at(0).toDouble(), 40);
    EXPECT_EQ(hiMoved.count(), 0);

    slider.setContinuous(false);
    press(at(40));
    moveTo(at(35));
    moveTo(at(30));
    EXPECT_EQ(loMoved.count(), 2) << "not while dragging";
    release(at(30));
    ASSERT_EQ(loMoved.count(), 3) << "once, when let go";
    EXPECT_DOUBLE_EQ(loMoved.at(2).at(0).toDouble(), 30);
}

TEST_F(SMDoubleSliderTest, KeysMoveTheSelectedKnobAndTabGoesFromLowToHigh) {
    slider.setFocus();
    struct Step {
        const char* name;
        Qt::Key key;
        double lo, hi;
        Knob selected;
    } steps[] = {
        {"Right moves the low knob", Qt::Key_Right, 71, 90, Knob::Low},
        {"Down moves it back", Qt::Key_Down, 70, 90, Knob::Low},
        {"Page Down moves ten steps", Qt::Key_PageDown, 60, 90, Knob::Low},
        {"Tab selects the high knob", Qt::Key_Tab, 60, 90, Knob::High},
        {"Up moves the high knob", Qt::Key_Up, 60, 91, Knob::High},
        {"End takes it to the maximum", Qt::Key_End, 60, 100, Knob::High},
        {"Home stops it at the low knob", Qt::Key_Home, 60, 60, Knob::High},
        {"together, Left moves the low knob instead", Qt::Key_Left, 59, 60, Knob::Low},
        {"Home takes low to the minimum", Qt::Key_Home, 0, 60, Knob::Low},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        QTest::keyClick(&slider, step.key);
        EXPECT_DOUBLE_EQ(slider.doubleLoValue(), step.lo);
        EXPECT_DOUBLE_EQ(slider.doubleHiValue(), step.hi);
        EXPECT_EQ(slider.selectedKnob(), step.selected);
    }
}

TEST_F(SMDoubleSliderTest, TabWalksBothKnobsBeforeLeavingAndBackTabReturnsTheSameWay) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* before = new QLineEdit(&window);
    auto* range = new SMDoubleSlider(&window);
    auto* after = new QLineEdit(&window);
    layout->addWidget(before);
    layout->addWidget(range);
    layout->addWidget(after);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    before->setFocus();
    struct Step {
        const char* name;
        Qt::Key key;
        QWidget* focused;
        Knob selected;
    } steps[] = {
        {"Tab comes to the low knob", Qt::Key_Tab, range, Knob::Low},
        {"Tab goes on to the high knob", Qt::Key_Tab, range, Knob::High},
        {"Tab leaves after the high knob", Qt::Key_Tab, after, Knob::High},
        {"Back-tab comes to the high knob", Qt::Key_Backtab, range, Knob::High},
        {"Back-tab goes back to the low knob", Qt::Key_Backtab, range, Knob::Low},
        {"Back-tab leaves before the low knob", Qt::Key_Backtab, before, Knob::Low},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        QTest::keyClick(QApplication::focusWidget(), step.key);
        EXPECT_EQ(QApplication::focusWidget(), step.focused);
        EXPECT_EQ(range->selectedKnob(), step.selected);
    }
}

TEST_F(SMDoubleSliderTest, ADisabledSliderIgnoresTheMouse) {
    slider.setEnabled(false);
    press(at(70));
    moveTo(at(30));
    release(at(30));
    EXPECT_DOUBLE_EQ(slider.doubleLoValue(), 70);
}

TEST_F(SMDoubleSliderTest, ValuesFromTheProgramKeepTheirOrderRules) {
    slider.setObjectLoValue(QStringLiteral("40.5"));
    EXPECT_DOUBLE_EQ(slider.doubleLoValue(), 40.5) << "text that reads as a number";
    EXPECT_EQ(slider.integerLoValue(), 40) << "integers are truncated";
    slider.setObjectHiValue(QVariant::fromValue(QSize(3, 4)));
    EXPECT_DOUBLE_EQ(slider.doubleHiValue(), 40.5) << "no number counts as 0, held back by low";
    slider.setIntegerLoValue(-7);
    EXPECT_DOUBLE_EQ(slider.doubleLoValue(), 0);
    slider.setMaxValue(30);
    EXPECT_DOUBLE_EQ(slider.doubleHiValue(), 30) << "a smaller maximum takes high along";
}

TEST_F(SMDoubleSliderTest, ScreenReadersLearnTheNameTheRangeAndTheSelectedKnobsValue) {
    slider.setAccessibleName(QStringLiteral("Card split"));
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&slider);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::Slider);
    EXPECT_EQ(accessible->text(QAccessible::Name), "Card split");
    EXPECT_EQ(accessible->text(QAccessible::Value), "70 to 90");
    QAccessibleValueInterface* value = accessible->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->currentValue().toDouble(), 70);
    EXPECT_EQ(value->maximumValue().toDouble(), 100);
    QSignalSpy moved(&slider, &SMDoubleSlider::loValueMoved);
    value->setCurrentValue(95);
    EXPECT_DOUBLE_EQ(slider.doubleLoValue(), 90) << "clamped as any move";
    EXPECT_EQ(moved.count(), 1) << "a move made for the user";
    slider.setTrackingLoKnob(false);
    EXPECT_EQ(value->currentValue().toDouble(), 90);
    EXPECT_EQ(accessible->text(QAccessible::Value), "90 to 90");
}

QImage rendered(SMDoubleSlider& slider, qreal ratio) {
    QImage image(slider.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(kBackground);
    slider.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

QColor pixelAt(const QImage& image, QPointF point) {
    return image.pixelColor((point * image.devicePixelRatio()).toPoint());
}

TEST_F(SMDoubleSliderTest, KnobsBarAndRangeAreDrawnWholeAtAnySizeAndPixelRatio) {
    struct Case {
        const char* name;
        QSize size;
        qreal ratio;
        double lo, hi;
    } cases[] = {
        {"the reset split", {kWidth, 24}, 1.0, 70, 90},
        {"the reset split at double density", {kWidth, 24}, 2.0, 70, 90},
        {"knobs at both ends", {kWidth, 24}, 1.5, 0, 100},
        {"both at the minimum", {kWidth, 24}, 2.0, 0, 0},
        {"both at the maximum on a short slider", {60, 24}, 1.0, 100, 100},
        {"a wide and tall slider", {640, 48}, 2.0, 25, 75},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        slider.resize(c.size);
        setPair(c.lo, c.hi);
        const QImage image = rendered(slider, c.ratio);
        for (Knob knob : {Knob::Low, Knob::High}) {
            const QRectF drawn = slider.knobRect(knob);
            EXPECT_TRUE(QRectF(slider.rect()).contains(drawn)) << "knob inside the slider";
            EXPECT_EQ(pixelAt(image, drawn.center()), kKnob);
        }
        const QPointF low = slider.knobRect(Knob::Low).center();
        const QPointF high = slider.knobRect(Knob::High).center();
        if (high.x() - low.x() > 20) {
            EXPECT_EQ(pixelAt(image, (low + high) / 2), kRange) << "between the knobs";
        }
        if (low.x() > 24) {
            EXPECT_EQ(pixelAt(image, QPointF(low.x() - 12, low.y())), kGroove) << "below the range";
        }
        EXPECT_EQ(pixelAt(image, QPointF(low.x(), 1)), kBackground) << "nothing above the knob";
    }
}

TEST_F(SMDoubleSliderTest, ADisabledSliderIsDrawnDimmed) {
    slider.setEnabled(false);
    const QImage image = rendered(slider, 1.0);
    EXPECT_EQ(pixelAt(image, slider.knobRect(Knob::Low).center()), kDisabledKnob);
}

// With ZENTROVA_SCREENSHOT_DIR set, the picture of the slider's looks for
// the screenshots (scripts/screenshots.sh).
TEST_F(SMDoubleSliderTest, TheFocusRingMarksTheSelectedKnob) {
    QWidget panel;
    panel.setStyleSheet(QStringLiteral("background: #1c1f24;"));
    auto* layout = new QVBoxLayout(&panel);
    layout->setContentsMargins(16, 12, 16, 12);
    const struct {
        double lo, hi;
        bool enabled;
    } looks[] = {{70, 90, true}, {20, 70, true}, {40, 40, true}, {30, 80, false}};
    std::vector<SMDoubleSlider*> sliders;
    for (const auto& look : looks) {
        auto* shown = new SMDoubleSlider(&panel);
        shown->setDoubleHiValue(look.hi);
        shown->setDoubleLoValue(look.lo);
        shown->setEnabled(look.enabled);
        shown->setFixedWidth(360);
        layout->addWidget(shown);
        sliders.push_back(shown);
    }
    panel.show();
    panel.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&panel));
    sliders[1]->setFocus(Qt::BacktabFocusReason);
    ASSERT_TRUE(sliders[1]->hasFocus());
    EXPECT_EQ(sliders[1]->selectedKnob(), Knob::High) << "coming back by Back-tab";

    QImage image(panel.size() * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    image.fill(kBackground);
    panel.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    const QRectF high = sliders[1]->knobRect(Knob::High).translated(sliders[1]->pos());
    const QRectF low = sliders[1]->knobRect(Knob::Low).translated(sliders[1]->pos());
    const QPointF ringOffset(0, high.height() / 2 + 3);
    EXPECT_EQ(pixelAt(image, high.center() - ringOffset), kRange) << "the ring around the high knob";
    EXPECT_EQ(pixelAt(image, low.center() - ringOffset), kBackground) << "none around the low knob";

    const QString directory = qEnvironmentVariable("ZENTROVA_SCREENSHOT_DIR");
    if (!directory.isEmpty()) {
        ASSERT_TRUE(QDir().mkpath(directory));
        EXPECT_TRUE(image.save(QDir(directory).filePath(QStringLiteral("10-range-slider.png"))));
    }
}

}  // namespace
}  // namespace zentrova
