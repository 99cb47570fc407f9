#include "controls/SMDoubleSliderBinding.h"

#include "controls/SMDoubleSlider.h"
#include "support/WidgetTestApplication.h"

#include <gtest/gtest.h>

#include <QTest>

#include <cmath>
#include <functional>

namespace zentrova {
namespace {

// A model pair as a settings page keeps it, counting what is written to it.
class SplitModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(QVariant ratioLoValue READ ratioLoValue WRITE setRatioLoValue NOTIFY ratioLoValueChanged)
    Q_PROPERTY(QVariant ratioHiValue READ ratioHiValue WRITE setRatioHiValue NOTIFY ratioHiValueChanged)
    Q_PROPERTY(int readOnly READ readOnly CONSTANT)
public:
    QVariant ratioLoValue() const { return m_lo; }
    QVariant ratioHiValue() const { return m_hi; }
    int readOnly() const { return 0; }
    void setRatioLoValue(const QVariant& value) { store(m_lo, value, loWrites, &SplitModel::ratioLoValueChanged); }
    void setRatioHiValue(const QVariant& value) { store(m_hi, value, hiWrites, &SplitModel::ratioHiValueChanged); }

    // What the model keeps of a value written to it.
    std::function<QVariant(const QVariant&)> keep = [](const QVariant& value) { return value; };
    // Run on every change, as a page that also sets the slider itself.
    std::function<void()> onChange;
    int loWrites = 0;
    int hiWrites = 0;

signals:
    void ratioLoValueChanged();
    void ratioHiValueChanged();

private:
    void store(QVariant& field, const QVariant& value, int& writes, void (SplitModel::*changed)()) {
        ++writes;
        const QVariant kept = keep(value);
        if (kept == field) return;
        field = kept;
        emit(this->*changed)();
        if (onChange) onChange();
    }

    QVariant m_lo = 70;
    QVariant m_hi = 90;
};

class SMDoubleSliderBindingTest : public test::WidgetTest {
protected:
    void SetUp() override {
        slider.resize(224, 24);
        slider.setAltIncrementValue(1);
        slider.show();
        slider.setFocus();
    }

    void bind() {
        binding = std::make_unique<SMDoubleSliderBinding>(&slider, &model, "ratioLoValue", "ratioHiValue");
        ASSERT_TRUE(binding->isValid());
        model.loWrites = model.hiWrites = 0;
    }

    SMDoubleSlider slider;
    SplitModel model;
    std::unique_ptr<SMDoubleSliderBinding> binding;
};

TEST_F(SMDoubleSliderBindingTest, TheSliderShowsTheModelsPairWholeWhateverItHeldBefore) {
    struct Case {
        const char* name;
        double sliderLo, sliderHi;
        int modelLo, modelHi;
    } cases[] = {
        {"a pair above the slider's", 10, 20, 50, 80},
        {"a pair below the slider's", 80, 95, 10, 30},
        {"a pair around the slider's", 40, 45, 5, 95},
        {"both knobs together", 40, 60, 33, 33},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        binding.reset();
        slider.setDoubleLoAndHiValues(c.sliderLo, c.sliderHi);
        model.setRatioLoValue(c.modelLo);
        model.setRatioHiValue(c.modelHi);
        bind();
        EXPECT_DOUBLE_EQ(slider.doubleLoValue(), c.modelLo);
        EXPECT_DOUBLE_EQ(slider.doubleHiValue(), c.modelHi);
        EXPECT_EQ(model.loWrites + model.hiWrites, 0) << "showing writes nothing back";
    }
}

TEST_F(SMDoubleSliderBindingTest, ModelChangesMoveTheKnobsAndWriteNothingBack) {
    bind();
    model.setRatioHiValue(60);
    model.setRatioLoValue(25);
    EXPECT_DOUBLE_EQ(slider.doubleLoValue(), 25);
    EXPECT_DOUBLE_EQ(slider.doubleHiValue(), 60);
    EXPECT_EQ(model.loWrites, 1) << "only the program's own write";
    EXPECT_EQ(model.hiWrites, 1);
    // Low first, above the old high: held back while high is old, whole once both arrived.
    model.setRatioLoValue(80);
    model.setRatioHiValue(95);
    EXPECT_DOUBLE_EQ(slider.doubleLoValue(), 80);
    EXPECT_DOUBLE_EQ(slider.doubleHiValue(), 95);
}

TEST_F(SMDoubleSliderBindingTest, EachMoveOfTheUserIsWrittenOnceToItsOwnValue) {
    bind();
    QTest::keyClick(&slider, Qt::Key_Right);
    EXPECT_EQ(model.ratioLoValue().toDouble(), 71);
    EXPECT_EQ(model.loWrites, 1);
    EXPECT_EQ(model.hiWrites, 0);
    QTest::keyClick(&slider, Qt::Key_Tab);
    QTest::keyClick(&slider, Qt::Key_PageUp);
    EXPECT_EQ(model.ratioHiValue().toDouble(), 100);
    EXPECT_EQ(model.hiWrites, 1);
    EXPECT_EQ(model.loWrites, 1);
}

TEST_F(SMDoubleSliderBindingTest, AModelThatKeepsAnotherValueIsShownAsItKeepsIt) {
    model.keep = [](const QVariant& value) { return QVariant(std::trunc(value.toDouble())); };
    slider.setAltIncrementValue(0);
    bind();
    // Half a unit a pixel: the knob at 70 dragged 11 pixels down lands on 64.5.
    QTest::mousePress(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(152, 12));
    QTest::mouseMove(&slider, QPoint(141, 12));
    EXPECT_EQ(model.ratioLoValue().toDouble(), 64);
    EXPECT_DOUBLE_EQ(slider.doubleLoValue(), 64) << "while still dragged";
    QTest::mouseRelease(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(141, 12));
    EXPECT_EQ(model.loWrites, 1);
}

TEST_F(SMDoubleSliderBindingTest, AModelThatSetsTheSliderItselfSetsOffNoLoop) {
    int changes = 0;
    model.onChange = [&] {
        ++changes;
        // As a page does on every change of its pair: high, then low.
        slider.setDoubleHiValue(model.ratioHiValue().toDouble());
        slider.setDoubleLoValue(model.ratioLoValue().toDouble());
    };
    bind();
    QTest::mousePress(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(12 + 140, 12));
    QTest::mouseMove(&slider, QPoint(12 + 120, 12));
    QTest::mouseRelease(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(12 + 120, 12));
    EXPECT_EQ(model.ratioLoValue().toDouble(), 60);
    EXPECT_EQ(model.loWrites, 1);
    EXPECT_EQ(model.hiWrites, 0);
    EXPECT_EQ(changes, 1);
}

TEST_F(SMDoubleSliderBindingTest, AValueThatIsAbsentDisablesTheSliderAndCountsAsZero) {
    bind();
    struct Case {
        const char* name;
        QVariant lo;
        bool enabled;
        double shownLo;
    } cases[] = {
        {"no value", QVariant(), false, 0},
        {"a null value", QVariant::fromValue(nullptr), false, 0},
        {"text that is no number", QVariant(QStringLiteral("several")), false, 0},
        {"a number again", QVariant(40), true, 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        model.setRatioLoValue(c.lo);
        EXPECT_EQ(slider.isEnabled(), c.enabled);
        EXPECT_DOUBLE_EQ(slider.doubleLoValue(), c.shownLo);
    }
}

TEST_F(SMDoubleSliderBindingTest, APropertyThatCannotBeBoundLeavesTheBindingUnusable) {
    const struct {
        const char* name;
        const char* lo;
    } cases[] = {{"a name the model lacks", "ratioMidValue"}, {"a property that cannot be written", "readOnly"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SMDoubleSliderBinding unusable(&slider, &model, c.lo, "ratioHiValue");
        EXPECT_FALSE(unusable.isValid());
        QTest::keyClick(&slider, Qt::Key_Right);
        EXPECT_EQ(model.loWrites + model.hiWrites, 0);
    }
}

}  // namespace
}  // namespace zentrova

#include "SMDoubleSliderBindingTest.moc"
