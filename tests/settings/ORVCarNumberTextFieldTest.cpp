#include "settings/ORVCarNumberTextField.h"

#include "support/WidgetTestApplication.h"

#include <gtest/gtest.h>

#include <QTest>

namespace zentrova {
namespace {

class ORVCarNumberTextFieldTest : public test::WidgetTest {
protected:
    ORVCarNumberTextField field;
};

TEST_F(ORVCarNumberTextFieldTest, EndingTheEditKeepsWhatThePlateCanHold) {
    struct Case {
        const char* typed;
        const char* expected;
    };
    const Case cases[] = {
        {"12 \xC3\x84 34", "1234"},
        {"a-b-c-d-e-f-g-h-i-j", "abcdefgh"},
        {"Zentrova", "Zentrova"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        field.setText(QString::fromUtf8(c.typed));
        QTest::keyClick(&field, Qt::Key_Return);
        EXPECT_EQ(field.text(), QString::fromUtf8(c.expected));
    }
}

TEST_F(ORVCarNumberTextFieldTest, WhoeverHearsTheEndSeesTheFilteredText) {
    QString seen;
    QObject::connect(&field, &QLineEdit::editingFinished, [&] { seen = field.text(); });
    field.setText("AB 12-CD");
    QTest::keyClick(&field, Qt::Key_Return);
    EXPECT_EQ(seen, "AB12CD");
}

TEST_F(ORVCarNumberTextFieldTest, TypingIsNotFilteredBeforeTheEnd) {
    QTest::keyClicks(&field, "AB-1");
    EXPECT_EQ(field.text(), "AB-1");
}

}  // namespace
}  // namespace zentrova
