#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>

namespace zentrova {

class SMDoubleSlider;

// Binds a range slider's low and high values both ways to two properties
// of a model object (each a Q_PROPERTY with a NOTIFY signal): the slider
// shows what the model holds, and the user's moves are written to the
// model. A change that comes back from the other side while one is being
// passed on is not passed on again, so neither side can set off a loop.
// A property without a value (an invalid or null QVariant, or one that is
// no number) disables the slider and counts as 0.
class SMDoubleSliderBinding : public QObject {
    Q_OBJECT
public:
    SMDoubleSliderBinding(SMDoubleSlider* slider, QObject* model, const char* loProperty, const char* hiProperty,
                          QObject* parent = nullptr);

    // Both properties exist, can be written and announce their changes.
    bool isValid() const { return m_valid; }

private slots:
    void showModelValues();

private:
    bool connectProperty(const QByteArray& name);
    void storeModelValue(const QByteArray& name, double value);

    QPointer<SMDoubleSlider> m_slider;
    QPointer<QObject> m_model;
    QByteArray m_loProperty;
    QByteArray m_hiProperty;
    bool m_valid = false;
    bool m_passingOn = false;
};

}  // namespace zentrova
