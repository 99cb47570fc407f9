#include "controls/Alert.h"

#include "controls/UiText.h"
#include "support/AnsweredAlerts.h"
#include "support/WidgetTestApplication.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QWidget>

#include <vector>

namespace zentrova {
namespace {

class AlertTest : public test::WidgetTest {
protected:
    void SetUp() override {
        window.resize(400, 300);
        window.show();
    }
    QWidget window;
};

TEST_F(AlertTest, ASheetHasOneOkButtonTheTitleAboveTheMessageAndDoesNotBlock) {
    QMessageBox* alert = showAlert(&window, "Warn", "The card is write-protected.");
    ASSERT_NE(alert, nullptr) << "the call returned while the alert is open";
    EXPECT_TRUE(alert->isVisible());
    EXPECT_EQ(alert->parentWidget(), &window);
    EXPECT_EQ(alert->windowModality(), Qt::WindowModal);
    EXPECT_EQ(alert->text(), "Warn");
    EXPECT_EQ(alert->informativeText(), "The card is write-protected.");
    EXPECT_EQ(alert->icon(), QMessageBox::Warning);
    ASSERT_EQ(alert->buttons().size(), 1);
    EXPECT_EQ(alert->buttons().first()->text(), "OK");
    QPointer<QMessageBox> open(alert);
    alert->buttons().first()->click();
    EXPECT_FALSE(alert->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return open.isNull(); }, 2000)) << "a dismissed alert deletes itself";
}

TEST_F(AlertTest, WhatFollowsASheetRunsOnceWhenItIsDismissedByButtonOrEscape) {
    struct Case {
        const char* name;
        bool byEscape;
    } cases[] = {{"the OK button", false}, {"the Escape key", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int done = 0;
        QMessageBox* alert = showAlertSheet(&window, "Zentrova", "Saved.", [&] { ++done; });
        EXPECT_EQ(done, 0) << "nothing follows before the user has answered";
        if (c.byEscape) {
            QTest::keyClick(alert, Qt::Key_Escape);
        } else {
            alert->buttons().first()->click();
        }
        EXPECT_EQ(done, 1);
        QCoreApplication::processEvents();
        EXPECT_EQ(done, 1);
    }
}

TEST_F(AlertTest, AQuestionGoesAheadOnlyByItsOwnButtonAndTakesTheWindowsColours) {
    QPalette dark = window.palette();
    dark.setColor(QPalette::Window, QColor(0x1c, 0x1f, 0x24));
    window.setPalette(dark);
    struct Case {
        const char* name;
        const char* press;  // a button's text, or none for Escape
        bool accepted;
    } cases[] = {{"the accepting button", "Set Clock", true},
                 {"Cancel", "Cancel", false},
                 {"the Escape key", nullptr, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<bool> answers;
        QMessageBox* question = showQuestionSheet(&window, "Set the Camera's Clock", "Write timeset.cfg?", "Set Clock",
                                                  [&](bool accepted) { answers.push_back(accepted); });
        ASSERT_EQ(question->buttons().size(), 2);
        EXPECT_EQ(question->defaultButton()->text(), "Cancel") << "Enter does not go ahead";
        EXPECT_EQ(question->windowModality(), Qt::WindowModal);
        EXPECT_EQ(question->palette().color(QPalette::Window), QColor(0x1c, 0x1f, 0x24));
        if (!c.press) {
            QTest::keyClick(question, Qt::Key_Escape);
        } else {
            for (QAbstractButton* button : question->buttons()) {
                if (button->text() == c.press) button->click();
            }
        }
        EXPECT_EQ(answers, std::vector<bool>{c.accepted});
    }
}

TEST_F(AlertTest, TheTitlesOfTheWindowsAlertsComeFromTheStringTable) {
    EXPECT_EQ(uiText(kAlertTitleApplication.key), "Zentrova");
    EXPECT_EQ(uiText(kAlertTitleWarning.key), "Warning");
    EXPECT_EQ(uiText(kAlertTitleWarn.key), "Warn");
}

TEST_F(AlertTest, TestsSeeAndAnswerEveryAlertOnceTheEventLoopRuns) {
    test::AnsweredAlerts alerts;
    int done = 0;
    QPointer<QMessageBox> alert = showAlertSheet(&window, "Warning", "Check the value.", [&] { ++done; });
    ASSERT_EQ(alerts.seen.size(), 1u);
    EXPECT_EQ(alerts.seen[0].title, "Warning");
    EXPECT_EQ(alerts.seen[0].message, "Check the value.");
    EXPECT_EQ(alerts.seen[0].buttons, 1);
    EXPECT_TRUE(alerts.seen[0].windowModal);
    EXPECT_EQ(done, 0) << "answered later, as a user would";
    ASSERT_TRUE(QTest::qWaitFor([&] { return done == 1; }, 2000));
    EXPECT_TRUE(!alert || !alert->isVisible());
}

TEST(EmptyTextTest, OnlyAbsentOrCharacterlessTextsAreEmpty) {
    struct Case {
        const char* name;
        QString text;
        bool empty;
    } cases[] = {
        {"absent", QString(), true},
        {"no characters", QStringLiteral(""), true},
        {"a blank", QStringLiteral(" "), false},
        {"a zero", QStringLiteral("0"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(isEmptyText(c.text), c.empty);
    }
}

}  // namespace
}  // namespace zentrova
