#include "controls/SMDoubleSliderCell.h"

#include <algorithm>
#include <cmath>

namespace zentrova {

void SMDoubleSliderCell::setHiValue(double value) {
    if (std::isnan(value)) return;
    if (m_locked) return setBoth(value);
    m_hi = std::min(std::max(value, m_lo), m_max);
}

void SMDoubleSliderCell::setLoValue(double value) {
    if (std::isnan(value)) return;
    if (m_locked) return setBoth(value);
    m_lo = std::max(std::min(value, m_hi), m_min);
}

void SMDoubleSliderCell::setLoAndHiValues(double lo, double hi) {
    if (hi < m_lo) {
        setLoValue(lo);
        setHiValue(hi);
    } else {
        setHiValue(hi);
        setLoValue(lo);
    }
}

void SMDoubleSliderCell::setValue(Knob knob, double value) {
    if (knob == Knob::Low) {
        setLoValue(value);
    } else {
        setHiValue(value);
    }
}

void SMDoubleSliderCell::setBoth(double value) {
    m_hi = std::clamp(value, m_min, m_max);
    m_lo = m_hi;
}

void SMDoubleSliderCell::setMinValue(double minimum) {
    if (std::isnan(minimum)) return;
    m_lo = std::max(m_lo, minimum);
    m_hi = std::max(m_hi, minimum);
    m_max = std::max(m_max, minimum);
    m_min = minimum;
}

void SMDoubleSliderCell::setMaxValue(double maximum) {
    if (std::isnan(maximum)) return;
    m_lo = std::min(m_lo, maximum);
    m_hi = std::min(m_hi, maximum);
    m_min = std::min(m_min, maximum);
    m_max = maximum;
}

void SMDoubleSliderCell::setAltIncrementValue(double increment) {
    m_altIncrement = std::isfinite(increment) && increment > 0.0 ? increment : 0.0;
}

double SMDoubleSliderCell::steppedValue(double value) const {
    value = std::clamp(value, m_min, m_max);
    if (m_altIncrement <= 0.0) return value;
    const double onGrid = std::min(m_min + std::round((value - m_min) / m_altIncrement) * m_altIncrement, m_max);
    // A maximum off the grid stays within reach.
    return m_max - value < std::abs(value - onGrid) ? m_max : onGrid;
}

void SMDoubleSliderCell::setLockedSliders(bool locked) {
    m_locked = locked;
    if (locked) m_lo = m_hi;
}

double SMDoubleSliderCell::keyStep() const {
    return m_altIncrement > 0.0 ? m_altIncrement : (m_max - m_min) / 100.0;
}

bool SMDoubleSliderCell::canMove(Knob knob, double towards) const {
    SMDoubleSliderCell trial = *this;
    trial.setValue(knob, towards);
    return trial.value(knob) != value(knob);
}

void SMDoubleSliderCell::stepSelectedKnob(int steps) {
    moveSelectedKnobTo(value(selectedKnob()) + steps * keyStep());
}

void SMDoubleSliderCell::moveSelectedKnobTo(double value) {
    const Knob other = selectedKnob() == Knob::Low ? Knob::High : Knob::Low;
    if (!m_locked && m_lo == m_hi && !canMove(selectedKnob(), value) && canMove(other, value)) {
        m_trackingLo = other == Knob::Low;
    }
    setValue(selectedKnob(), value);
}

void SMDoubleSliderCell::beginDrag(Knob knob) {
    m_drag = knob == Knob::Low ? Drag::Low : Drag::High;
    m_trackingLo = knob == Knob::Low;
}

void SMDoubleSliderCell::beginDragOfKnobsTogether() {
    m_drag = Drag::Undecided;
    // Until the drag decides: the low knob while it can still go down.
    m_trackingLo = m_lo > m_min;
}

void SMDoubleSliderCell::dragTo(double value) {
    if (m_drag == Drag::None || std::isnan(value)) return;
    value = steppedValue(value);
    if (m_drag == Drag::Undecided) {
        if (value < m_lo && canMove(Knob::Low, value)) {
            beginDrag(Knob::Low);
        } else if (value > m_hi && canMove(Knob::High, value)) {
            beginDrag(Knob::High);
        } else {
            return;
        }
    }
    setValue(draggedKnob(), value);
}

void SMDoubleSliderCell::endDrag() { m_drag = Drag::None; }

}  // namespace zentrova
