#include "controls/SMDoubleSliderAccessible.h"

#include "controls/SMDoubleSlider.h"
#include "controls/UiText.h"

namespace zentrova {
namespace {

QAccessibleInterface* makeAccessible(const QString& className, QObject* object) {
    auto* slider = qobject_cast<SMDoubleSlider*>(object);
    if (!slider || className != QLatin1String(SMDoubleSlider::staticMetaObject.className())) return nullptr;
    return new SMDoubleSliderAccessible(slider);
}

}  // namespace

SMDoubleSliderAccessible::SMDoubleSliderAccessible(SMDoubleSlider* slider)
    : QAccessibleWidget(slider, QAccessible::Slider) {}

void SMDoubleSliderAccessible::installFactory() {
    static const bool installed = (QAccessible::installFactory(&makeAccessible), true);
    (void)installed;
}

SMDoubleSlider* SMDoubleSliderAccessible::slider() const { return static_cast<SMDoubleSlider*>(widget()); }

QString SMDoubleSliderAccessible::text(QAccessible::Text textKind) const {
    if (textKind == QAccessible::Value) {
        return uiFormat("controls.range_slider.value", QString::number(slider()->doubleLoValue()),
                        QString::number(slider()->doubleHiValue()));
    }
    return QAccessibleWidget::text(textKind);
}

void* SMDoubleSliderAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QVariant SMDoubleSliderAccessible::currentValue() const {
    return slider()->selectedKnob() == SMDoubleSlider::Knob::Low ? slider()->doubleLoValue()
                                                                  : slider()->doubleHiValue();
}

void SMDoubleSliderAccessible::setCurrentValue(const QVariant& value) {
    bool isNumber = false;
    const double number = value.toDouble(&isNumber);
    if (isNumber) slider()->moveSelectedKnobTo(number);
}

QVariant SMDoubleSliderAccessible::maximumValue() const { return slider()->maxValue(); }

QVariant SMDoubleSliderAccessible::minimumValue() const { return slider()->minValue(); }

QVariant SMDoubleSliderAccessible::minimumStepSize() const { return slider()->altIncrementValue(); }

}  // namespace zentrova
