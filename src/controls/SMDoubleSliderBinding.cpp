#include "controls/SMDoubleSliderBinding.h"

#include "controls/SMDoubleSlider.h"

#include <QMetaProperty>

#include <optional>

namespace zentrova {
namespace {

std::optional<double> numberIn(const QVariant& value) {
    if (!value.isValid() || value.isNull()) return std::nullopt;
    bool isNumber = false;
    const double number = value.toDouble(&isNumber);
    if (!isNumber) return std::nullopt;
    return number;
}

}  // namespace

SMDoubleSliderBinding::SMDoubleSliderBinding(SMDoubleSlider* slider, QObject* model, const char* loProperty,
                                             const char* hiProperty, QObject* parent)
    : QObject(parent), m_slider(slider), m_model(model), m_loProperty(loProperty), m_hiProperty(hiProperty) {
    if (!slider || !model) return;
    m_valid = connectProperty(m_loProperty) && connectProperty(m_hiProperty);
    if (!m_valid) return;
    connect(slider, &SMDoubleSlider::loValueMoved, this,
            [this](double value) { storeModelValue(m_loProperty, value); });
    connect(slider, &SMDoubleSlider::hiValueMoved, this,
            [this](double value) { storeModelValue(m_hiProperty, value); });
    showModelValues();
}

bool SMDoubleSliderBinding::connectProperty(const QByteArray& name) {
    const QMetaObject* type = m_model->metaObject();
    const int index = type->indexOfProperty(name.constData());
    if (index < 0) return false;
    const QMetaProperty property = type->property(index);
    if (!property.isWritable() || !property.hasNotifySignal()) return false;
    const QMetaMethod show = staticMetaObject.method(staticMetaObject.indexOfSlot("showModelValues()"));
    return static_cast<bool>(connect(m_model, property.notifySignal(), this, show));
}

void SMDoubleSliderBinding::showModelValues() {
    if (m_passingOn || !m_slider || !m_model) return;
    m_passingOn = true;
    const std::optional<double> lo = numberIn(m_model->property(m_loProperty.constData()));
    const std::optional<double> hi = numberIn(m_model->property(m_hiProperty.constData()));
    m_slider->setDoubleLoAndHiValues(lo.value_or(0.0), hi.value_or(0.0));
    m_slider->setEnabled(lo && hi);
    m_passingOn = false;
}

void SMDoubleSliderBinding::storeModelValue(const QByteArray& name, double value) {
    if (m_passingOn || !m_model) return;
    m_passingOn = true;
    m_model->setProperty(name.constData(), value);
    m_passingOn = false;
    // The model may keep something else than it was given (a whole number,
    // a value of its own range): the slider shows what it holds.
    showModelValues();
}

}  // namespace zentrova
