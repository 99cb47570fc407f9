#pragma once

namespace zentrova {

// The values and rules of the two-knob range slider, apart from any
// drawing: after every operation minimum <= low <= high <= maximum.
class SMDoubleSliderCell {
public:
    enum class Knob { Low, High };

    double minValue() const { return m_min; }
    double maxValue() const { return m_max; }
    double loValue() const { return m_lo; }
    double hiValue() const { return m_hi; }

    // Each setter clamps against the other knob first and then against the
    // range.
    void setHiValue(double value);
    void setLoValue(double value);
    // A new pair, whatever the old one: setting high first would be held
    // back by an old low above the new high (70..90 to 20..50 gives 20..70),
    // so the order is the one the old pair cannot hold back.
    void setLoAndHiValues(double lo, double hi);
    void setValue(Knob knob, double value);
    double value(Knob knob) const { return knob == Knob::Low ? m_lo : m_hi; }
    // A new minimum or maximum takes the knobs with it.
    void setMinValue(double minimum);
    void setMaxValue(double maximum);

    // The step of the arrow keys, and the grid the knobs keep to under the
    // mouse; 0 lets them stop anywhere (the keys then take a hundredth).
    double altIncrementValue() const { return m_altIncrement; }
    void setAltIncrementValue(double increment);
    double steppedValue(double value) const;

    // Locked knobs are one: turning it on brings low up to high, and then
    // moving either moves both.
    bool lockedSliders() const { return m_locked; }
    void setLockedSliders(bool locked);

    // The knob that keys (and a press that does not decide) act on.
    bool trackingLoKnob() const { return m_trackingLo; }
    void setTrackingLoKnob(bool trackingLo) { m_trackingLo = trackingLo; }
    Knob selectedKnob() const { return m_trackingLo ? Knob::Low : Knob::High; }

    // Moves the selected knob by whole key steps. When the knobs stand
    // together and the selected one is held back by the other, the other
    // one is selected and moves, so keys can always pull the pair apart.
    void stepSelectedKnob(int steps);
    void moveSelectedKnobTo(double value);

    // Mouse drags. A drag that starts on knobs lying on each other waits for
    // the first move to pick the one that can go that way.
    void beginDrag(Knob knob);
    void beginDragOfKnobsTogether();
    void dragTo(double value);
    void endDrag();
    bool isDragging() const { return m_drag != Drag::None; }
    bool isDragUndecided() const { return m_drag == Drag::Undecided; }
    Knob draggedKnob() const { return m_drag == Drag::Low ? Knob::Low : Knob::High; }

private:
    enum class Drag { None, Low, High, Undecided };

    double keyStep() const;
    bool canMove(Knob knob, double towards) const;
    void setBoth(double value);

    double m_min = 0.0;
    double m_max = 100.0;
    double m_lo = 0.0;
    double m_hi = 100.0;
    double m_altIncrement = 0.0;
    bool m_locked = false;
    bool m_trackingLo = true;
    Drag m_drag = Drag::None;
};

}  // namespace zentrova
