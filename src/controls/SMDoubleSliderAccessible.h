#pragma once

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

namespace zentrova {

class SMDoubleSlider;

// What screen readers learn of a range slider: a slider whose value text is
// the range ("20 to 70") and whose value is the selected knob's.
class SMDoubleSliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit SMDoubleSliderAccessible(SMDoubleSlider* slider);

    // Installed once, for every range slider.
    static void installFactory();

    QString text(QAccessible::Text textKind) const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    SMDoubleSlider* slider() const;
};

}  // namespace zentrova
