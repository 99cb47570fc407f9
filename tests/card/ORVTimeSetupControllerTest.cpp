#include "card/ORVTimeSetupController.h"

#include "SimulatedCardSystem.h"
#include "common/Log.h"
#include "common/linux/PosixAtomicFileWriter.h"
#include "controls/TKClockTimePicker.h"
#include "support/AnsweredAlerts.h"
#include "support/FileText.h"
#include "support/WidgetTestApplication.h"

#include <gtest/gtest.h>

#include <QCalendarWidget>
#include <QCheckBox>
#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QThreadPool>
#include <QTimeEdit>

namespace zentrova {
namespace {

namespace fs = std::filesystem;

const QDateTime kNow(QDate(2031, 3, 4), QTime(22, 15, 41, 250));
const QString kSavedText = "The clock-setting file has been saved. Put the card back into the camera to set its clock.";

class ORVTimeSetupControllerTest : public test::WidgetTest {
protected:
    void SetUp() override {
        setLogSink([](std::string_view) {});
        // As the application sets it at start-up.
        QLocale::setDefault(QLocale(QLocale::English));
    }
    void TearDown() override {
        QThreadPool::globalInstance()->waitForDone();
        delete window.data();
        setLogSink({});
    }

    void open() {
        ORVTimeSetupController::Services services;
        services.volumes = system.volumes;
        services.writer = std::make_shared<PosixAtomicFileWriter>();
        services.savePanel = [this](QWidget*) {
            ++savePanelCalls;
            return chosenPath;
        };
        services.now = [] { return kNow; };
        window = new ORVTimeSetupController(services, nullptr);
        QSignalSpy searched(window.data(), &ORVTimeSetupController::cardSearchFinished);
        window->show();
        ASSERT_TRUE(searched.wait(10000));
    }

    template <typename T>
    T* outlet(const char* name) const {
        return window->findChild<T*>(name);
    }
    void choose(const QDate& date, const QTime& time) {
        outlet<QCalendarWidget>("datePicker")->setSelectedDate(date);
        outlet<QTimeEdit>("timePicker")->setTime(time);
    }
    void save() { outlet<QPushButton>("saveButton")->click(); }

    test::SimulatedCardSystem system;
    QPointer<ORVTimeSetupController> window;
    QString chosenPath;
    int savePanelCalls = 0;
};

TEST_F(ORVTimeSetupControllerTest, OpensOnNowWithTheDateInFullAndTodaysTitle) {
    open();
    EXPECT_EQ(window->selectedDate(), kNow.date());
    EXPECT_EQ(window->selectedTime(), QTime(22, 15, 41)) << "to the second";
    EXPECT_EQ(outlet<QTimeEdit>("timePicker")->time(), QTime(22, 15, 41));
    EXPECT_EQ(outlet<TKClockTimePicker>("clockTimePicker")->time(), QTime(22, 15, 41));
    EXPECT_EQ(outlet<QLabel>("dateField")->text(), "Tuesday, March 4, 2031");
    EXPECT_EQ(outlet<QCheckBox>("nowDaySettingChk")->text(), "Today(Mar 4, 2031)");
    EXPECT_EQ(outlet<QPushButton>("saveButton")->text(), "Save");
    EXPECT_EQ(outlet<QPushButton>("cancelButton")->text(), "Cancel");
}

TEST_F(ORVTimeSetupControllerTest, TheChosenDateAndTimeAreWrittenAsTheNineteenBytesAndTheSheetClosesTheWindow) {
    chosenPath = QString::fromStdString((system.dir().path() / "timeset.cfg").string());
    open();
    choose(QDate(2026, 12, 5), QTime(7, 3, 9));
    EXPECT_EQ(outlet<QLabel>("dateField")->text(), "Saturday, December 5, 2026");
    test::AnsweredAlerts alerts;
    save();
    EXPECT_EQ(savePanelCalls, 1) << "no card holds timeset.cfg, so the dialog asks";
    EXPECT_EQ(test::fileText(chosenPath.toStdString()), "2026/12/05 07:03:09");
    ASSERT_EQ(alerts.seen.size(), 1u);
    EXPECT_EQ(alerts.seen[0].title, "Zentrova");
    EXPECT_EQ(alerts.seen[0].message, kSavedText);
    EXPECT_TRUE(alerts.seen[0].windowModal) << "a sheet on the window";
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, 5000)) << "dismissing it closes the window";
}

TEST_F(ORVTimeSetupControllerTest, TodaySetsTheCurrentDateKeepsTheChosenTimeAndUnchecksItself) {
    open();
    choose(QDate(2026, 12, 5), QTime(7, 3, 9));
    auto* today = outlet<QCheckBox>("nowDaySettingChk");
    today->click();
    EXPECT_EQ(window->selectedDate(), kNow.date());
    EXPECT_EQ(window->selectedTime(), QTime(7, 3, 9)) << "the time stays as chosen";
    EXPECT_EQ(outlet<QCalendarWidget>("datePicker")->selectedDate(), kNow.date());
    EXPECT_EQ(outlet<QLabel>("dateField")->text(), "Tuesday, March 4, 2031");
    EXPECT_EQ(window->timeSetText(), std::optional<std::string>("2031/03/04 07:03:09"));
    EXPECT_TRUE(today->isChecked());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !today->isChecked(); }, 2000)) << "a one-shot button";
}

TEST_F(ORVTimeSetupControllerTest, TheTwoTimePickersFollowEachOther) {
    open();
    auto* text = outlet<QTimeEdit>("timePicker");
    auto* clock = outlet<TKClockTimePicker>("clockTimePicker");
    text->setTime(QTime(13, 45, 20));
    EXPECT_EQ(clock->time(), QTime(13, 45, 20));

    // A click at six o'clock, far from the centre, takes the minute hand there.
    const QPoint centre = clock->rect().center();
    QTest::mouseClick(clock, Qt::LeftButton, Qt::NoModifier, centre + QPoint(0, clock->height() / 2 - 12));
    EXPECT_EQ(clock->time(), QTime(13, 30, 20));
    EXPECT_EQ(text->time(), QTime(13, 30, 20));
    EXPECT_EQ(window->selectedTime(), QTime(13, 30, 20));

    clock->setFocus();
    QTest::keyClick(clock, Qt::Key_PageDown);
    QTest::keyClick(clock, Qt::Key_Up);
    EXPECT_EQ(text->time(), QTime(12, 31, 20)) << "the keys work on the clock face too";
    EXPECT_EQ(window->timeSetText().value_or("").substr(11), "12:31:20");
}

TEST_F(ORVTimeSetupControllerTest, ACardsTimesetCfgIsReplacedWholeWithoutAnyDialog) {
    system.addCard(test::SimulatedCard::on("sdb1").labelled("ZENTROVA"),
                   {{"timeset.cfg", "1999/01/01 00:00:00 and an old tail"}});
    open();
    const fs::path onCard = system.card().mountFolder / "timeset.cfg";
    ASSERT_EQ(window->settingFilePath(), std::optional<QString>(QString::fromStdString(onCard.string())));
    EXPECT_TRUE(outlet<QLabel>("targetField")->text().contains(QString::fromStdString(onCard.string())));
    choose(QDate(2026, 12, 5), QTime(7, 3, 9));
    test::AnsweredAlerts alerts;
    save();
    EXPECT_EQ(savePanelCalls, 0);
    EXPECT_EQ(test::fileText(onCard), "2026/12/05 07:03:09") << "the old file's longer tail is gone too";
    ASSERT_EQ(alerts.seen.size(), 1u);
    EXPECT_EQ(alerts.seen[0].message, kSavedText);
}

TEST_F(ORVTimeSetupControllerTest, AFailedWriteIsShownAndTheWindowStays) {
    const fs::path notAFolder = system.dir().touch("plain-file", "x");
    chosenPath = QString::fromStdString((notAFolder / "timeset.cfg").string());
    open();
    QSignalSpy saved(window.data(), &ORVTimeSetupController::fileSaved);
    test::AnsweredAlerts alerts;
    save();
    ASSERT_EQ(alerts.seen.size(), 1u);
    EXPECT_EQ(alerts.seen[0].title, "Warn");
    EXPECT_TRUE(alerts.seen[0].message.startsWith("The clock-setting file " + chosenPath + " was not written."))
        << alerts.seen[0].message.toStdString();
    EXPECT_TRUE(alerts.seen[0].message.contains("Not a directory")) << "the system's reason";
    EXPECT_EQ(saved.count(), 0) << "nothing is claimed";
    QTest::qWait(50);
    EXPECT_TRUE(window && window->isVisible());
    EXPECT_EQ(test::fileText(notAFolder), "x");
}

TEST_F(ORVTimeSetupControllerTest, ACancelledSaveDialogWritesAndShowsNothing) {
    open();
    test::AnsweredAlerts alerts;
    save();
    EXPECT_EQ(savePanelCalls, 1);
    EXPECT_TRUE(alerts.seen.empty());
    EXPECT_TRUE(window && window->isVisible());
    EXPECT_TRUE(fs::is_empty(system.dir().path())) << "no file anywhere";
}

TEST_F(ORVTimeSetupControllerTest, TheCalendarOffersOnlyTheYearsTheCameraTakes) {
    open();
    auto* calendar = outlet<QCalendarWidget>("datePicker");
    calendar->setSelectedDate(QDate(1969, 12, 31));
    EXPECT_GE(window->selectedDate().year(), 1970);
    calendar->setSelectedDate(QDate(2156, 1, 1));
    EXPECT_LE(window->selectedDate().year(), 2155);
    EXPECT_TRUE(window->timeSetText().has_value());
}

TEST_F(ORVTimeSetupControllerTest, EscapeClosesTheWindowWithoutWriting) {
    open();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.data()));
    QTest::keyClick(outlet<QPushButton>("saveButton"), Qt::Key_Escape);
    EXPECT_TRUE(window.isNull() || !window->isVisible());
    EXPECT_EQ(savePanelCalls, 0);
    EXPECT_TRUE(fs::is_empty(system.dir().path())) << "no file anywhere";
}

}  // namespace
}  // namespace zentrova
