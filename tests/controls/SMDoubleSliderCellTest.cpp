#include "controls/SMDoubleSliderCell.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

namespace zentrova {
namespace {

using Knob = SMDoubleSliderCell::Knob;
using Step = std::function<void(SMDoubleSliderCell&)>;

// A cell over 0..100 holding the card split the camera starts with.
SMDoubleSliderCell resetSplit() {
    SMDoubleSliderCell cell;
    cell.setMinValue(0);
    cell.setMaxValue(100);
    cell.setHiValue(90);
    cell.setLoValue(70);
    return cell;
}

struct Case {
    const char* name;
    std::vector<Step> steps;
    double lo;
    double hi;
};

void expectPair(const Case& c, SMDoubleSliderCell cell) {
    SCOPED_TRACE(c.name);
    for (const Step& step : c.steps) step(cell);
    EXPECT_DOUBLE_EQ(cell.loValue(), c.lo);
    EXPECT_DOUBLE_EQ(cell.hiValue(), c.hi);
    EXPECT_LE(cell.minValue(), cell.loValue());
    EXPECT_LE(cell.loValue(), cell.hiValue());
    EXPECT_LE(cell.hiValue(), cell.maxValue());
}

Step hi(double v) { return [v](SMDoubleSliderCell& c) { c.setHiValue(v); }; }
Step lo(double v) { return [v](SMDoubleSliderCell& c) { c.setLoValue(v); }; }
Step minimum(double v) { return [v](SMDoubleSliderCell& c) { c.setMinValue(v); }; }
Step maximum(double v) { return [v](SMDoubleSliderCell& c) { c.setMaxValue(v); }; }
Step pair(double l, double h) { return [l, h](SMDoubleSliderCell& c) { c.setLoAndHiValues(l, h); }; }
Step locked(bool on) { return [on](SMDoubleSliderCell& c) { c.setLockedSliders(on); }; }

TEST(SMDoubleSliderCellTest, SettersClampAgainstTheOtherKnobAndTheRange) {
    const Case cases[] = {
        {"a high below low is raised to low", {hi(50)}, 70, 70},
        {"high first, then low, gives the new pair", {hi(50), lo(20)}, 20, 70},
        {"low first, then high, gives the new pair", {lo(20), hi(50)}, 20, 50},
        {"a pair below the old low arrives whole", {pair(20, 50)}, 20, 50},
        {"a pair above the old high arrives whole", {pair(95, 99)}, 95, 99},
        {"a pair around the old one arrives whole", {pair(5, 100)}, 5, 100},
        {"a pair with both knobs together arrives whole", {pair(33, 33)}, 33, 33},
        {"a pair with low above high stops low at high", {pair(80, 75)}, 75, 75},
        {"a low above high stops at high", {lo(120)}, 90, 90},
        {"a high below low stops at low", {lo(10), hi(-5)}, 10, 10},
        {"low below the minimum stops there", {lo(-40)}, 0, 90},
        {"high beyond the maximum stops there", {hi(400)}, 70, 100},
        {"low may equal high", {lo(90)}, 90, 90},
        {"both at the minimum", {lo(0), hi(0)}, 0, 0},
        {"both at the maximum", {hi(100), lo(100)}, 100, 100},
        {"a value that is no number changes nothing", {lo(std::nan("")), hi(std::nan(""))}, 70, 90},
        {"a minimum above low takes low along", {minimum(80)}, 80, 90},
        {"a minimum above both takes both", {minimum(95)}, 95, 95},
        {"a minimum above the maximum takes the maximum too", {minimum(120)}, 120, 120},
        {"a maximum below high takes high along", {maximum(80)}, 70, 80},
        {"a maximum below both takes both", {maximum(30)}, 30, 30},
        {"locking brings low up to high", {locked(true)}, 90, 90},
        {"locked knobs move as one", {locked(true), lo(40)}, 40, 40},
        {"unlocked again they part", {locked(true), locked(false), lo(40)}, 40, 90},
    };
    for (const Case& c : cases) expectPair(c, resetSplit());
}

TEST(SMDoubleSliderCellTest, DraggedKnobsStopAtEachOtherAndAtTheEnds) {
    auto drag = [](Knob knob, std::vector<double> to) {
        return [knob, to](SMDoubleSliderCell& c) {
            c.beginDrag(knob);
            for (double value : to) c.dragTo(value);
            c.endDrag();
        };
    };
    const Case cases[] = {
        {"low dragged past high stops at high", {drag(Knob::Low, {80, 95})}, 90, 90},
        {"high dragged past low stops at low", {drag(Knob::High, {75, 10})}, 70, 70},
        {"low dragged out of the range stops at the minimum", {drag(Knob::Low, {-30})}, 0, 90},
        {"high dragged out of the range stops at the maximum", {drag(Knob::High, {130})}, 70, 100},
        {"a knob can be dragged back after touching the other", {drag(Knob::Low, {95, 30})}, 30, 90},
        {"with a step the knobs keep to its grid", {[](SMDoubleSliderCell& c) { c.setAltIncrementValue(1); },
                                                   drag(Knob::Low, {33.4})},
         33, 90},
        {"a maximum off the grid is still reached", {[](SMDoubleSliderCell& c) { c.setAltIncrementValue(7); },
                                                    drag(Knob::High, {99.9})},
         70, 100},
        {"next to it the grid's last value is kept", {[](SMDoubleSliderCell& c) { c.setAltIncrementValue(7); },
                                                     drag(Knob::High, {98.5})},
         70, 98},
    };
    for (const Case& c : cases) expectPair(c, resetSplit());
}

TEST(SMDoubleSliderCellTest, KnobsTogetherFollowTheFirstMoveThatOneOfThemCanMake) {
    struct TogetherCase {
        const char* name;
        double at;
        std::vector<double> moves;
        double lo;
        double hi;
        Knob selected;
    } cases[] = {
        {"at the minimum a press selects the high knob", 0, {}, 0, 0, Knob::High},
        {"at the minimum a pull up moves the high knob", 0, {15}, 0, 15, Knob::High},
        {"at the minimum a pull down waits, then up moves high", 0, {-10, 12}, 0, 12, Knob::High},
        {"in the middle a press selects the low knob", 40, {}, 40, 40, Knob::Low},
        {"in the middle a pull up moves the high knob", 40, {55}, 40, 55, Knob::High},
        {"in the middle a pull down moves the low knob", 40, {25}, 25, 40, Knob::Low},
        {"once decided the knob stays, even when pulled back", 40, {55, 30}, 40, 40, Knob::High},
        {"at the maximum a pull down moves the low knob", 100, {85}, 85, 100, Knob::Low},
        {"at the maximum a pull up moves nothing", 100, {120}, 100, 100, Knob::Low},
    };
    for (const TogetherCase& c : cases) {
        SCOPED_TRACE(c.name);
        SMDoubleSliderCell cell = resetSplit();
        cell.setLoAndHiValues(c.at, c.at);
        cell.beginDragOfKnobsTogether();
        for (double value : c.moves) cell.dragTo(value);
        cell.endDrag();
        EXPECT_DOUBLE_EQ(cell.loValue(), c.lo);
        EXPECT_DOUBLE_EQ(cell.hiValue(), c.hi);
        EXPECT_EQ(cell.selectedKnob(), c.selected);
    }
}

TEST(SMDoubleSliderCellTest, KeyStepsMoveTheSelectedKnobAndPullAPairApart) {
    struct KeyCase {
        const char* name;
        double lo;
        double hi;
        Knob selected;
        int steps;
        double wantLo;
        double wantHi;
        Knob wantSelected;
    } cases[] = {
        {"low steps down", 70, 90, Knob::Low, -3, 67, 90, Knob::Low},
        {"high steps up", 70, 90, Knob::High, 2, 70, 92, Knob::High},
        {"low stepping into high stops there", 70, 90, Knob::Low, 30, 90, 90, Knob::Low},
        {"high stepping past the maximum stops there", 70, 90, Knob::High, 15, 70, 100, Knob::High},
        {"a pair together: up moves the high knob", 40, 40, Knob::Low, 1, 40, 41, Knob::High},
        {"a pair together: down moves the low knob", 40, 40, Knob::High, -1, 39, 40, Knob::Low},
        {"a pair at the minimum cannot go down", 0, 0, Knob::High, -1, 0, 0, Knob::High},
        {"a pair at the maximum cannot go up", 100, 100, Knob::Low, 1, 100, 100, Knob::Low},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        SMDoubleSliderCell cell = resetSplit();
        cell.setAltIncrementValue(1);
        cell.setLoAndHiValues(c.lo, c.hi);
        cell.setTrackingLoKnob(c.selected == Knob::Low);
        cell.stepSelectedKnob(c.steps);
        EXPECT_DOUBLE_EQ(cell.loValue(), c.wantLo);
        EXPECT_DOUBLE_EQ(cell.hiValue(), c.wantHi);
        EXPECT_EQ(cell.selectedKnob(), c.wantSelected);
    }
}

TEST(SMDoubleSliderCellTest, WithoutAStepKeysMoveAHundredthOfTheRange) {
    SMDoubleSliderCell cell;
    cell.setMaxValue(500);
    cell.setHiValue(500);
    cell.setTrackingLoKnob(true);
    cell.stepSelectedKnob(2);
    EXPECT_DOUBLE_EQ(cell.loValue(), 10);
}

}  // namespace
}  // namespace zentrova
