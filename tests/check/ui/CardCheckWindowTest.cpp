#include "check/ui/CardCheckWindow.h"

#include "common/AtomicFileWriter.h"
#include "recordings/StdDirectoryLister.h"
#include "support/AnsweredAlerts.h"
#include "support/FileText.h"
#include "support/GeneratedCard.h"
#include "support/WidgetTestApplication.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>

namespace zentrova {
namespace {

namespace fs = std::filesystem;
using test::GeneratedCard;

std::string bytesOf(const fs::path& path) { return test::fileText(path); }

// Every file under a folder with its bytes.
std::map<std::string, std::string> contentsUnder(const std::string& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) files[entry.path().string()] = bytesOf(entry.path());
    }
    return files;
}

std::vector<QTreeWidgetItem*> topRows(const QTreeWidget& list) {
    std::vector<QTreeWidgetItem*> rows;
    for (int i = 0; i < list.topLevelItemCount(); ++i) rows.push_back(list.topLevelItem(i));
    return rows;
}

// The value column of the named row of a two-column section.
QString valueOf(const QTreeWidget& list, const QString& item) {
    for (QTreeWidgetItem* row : topRows(list)) {
        if (row->text(0) == item) return row->text(1);
    }
    return QStringLiteral("<no row %1>").arg(item);
}

QTreeWidgetItem* rowNamed(const QTreeWidget& list, const std::string& name) {
    for (QTreeWidgetItem* row : topRows(list)) {
        if (row->text(0) == QString::fromStdString(name)) return row;
    }
    return nullptr;
}

class CardCheckWindowTest : public test::WidgetTest {
protected:
    // With ZENTROVA_SCREENSHOT_DIR set, a picture of each section, to look at.
    static void saveTabPictures(CardCheckWindow& window, const QString& name) {
        const QString folder = qEnvironmentVariable("ZENTROVA_SCREENSHOT_DIR");
        if (folder.isEmpty()) return;
        auto& tabs = child<QTabWidget>(window, "cardCheckSections");
        for (int tab = 0; tab < tabs.count(); ++tab) {
            tabs.setCurrentIndex(tab);
            QCoreApplication::processEvents();
            window.grab().save(QStringLiteral("%1/%2-%3.png").arg(folder, name).arg(tab));
        }
        tabs.setCurrentIndex(0);
    }

    std::unique_ptr<CardCheckWindow> makeWindow(CardCheckWindow::Parts parts = {}) {
        if (!parts.makeLister) parts.makeLister = [] { return std::make_unique<StdDirectoryLister>(); };
        return std::make_unique<CardCheckWindow>(nullptr, std::move(parts));
    }

    // Checks the folder and waits for the report.
    static bool checkAndWait(CardCheckWindow& window, const std::string& folder) {
        QSignalSpy finished(&window, &CardCheckWindow::checkFinished);
        window.checkFolder(QString::fromStdString(folder));
        return finished.wait(60000);
    }

    template <typename T>
    static T& child(QWidget& window, const char* name) {
        T* found = window.findChild<T*>(QString::fromLatin1(name));
        if (!found) throw std::runtime_error(std::string("no child ") + name);
        return *found;
    }

    static std::set<std::pair<QString, QString>> findingsWorseThanNotes(QTreeWidget& list) {
        std::set<std::pair<QString, QString>> found;
        for (QTreeWidgetItem* row : topRows(list)) {
            if (row->text(0) != "Note") found.emplace(row->data(0, Qt::UserRole).toString(), row->text(1));
        }
        return found;
    }
};

TEST_F(CardCheckWindowTest, ACardWithFaultsFillsEverySectionAndIsLeftAsItWasExpected) {
    samplecard::SampleCardOptions options = GeneratedCard::defaults();
    options.durationSeconds = 6;
    options.faults.cutOff = samplecard::SampleFileChoice{2, false};
    options.faults.empty = samplecard::SampleFileChoice{3, true};
    options.faults.gapSeconds = 30;
    options.faults.clockOffsetSeconds = 7;
    options.faults.wrongChecksum = true;
    const GeneratedCard card(options);
    ASSERT_TRUE(card.result.card) << card.result.error;
    const auto before = contentsUnder(card.root());

    auto window = makeWindow();
    window->show();
    auto& bar = child<QProgressBar>(*window, "cardCheckProgress");
    int highest = -1;
    QObject::connect(&bar, &QProgressBar::valueChanged, [&](int value) { highest = std::max(highest, value); });
    ASSERT_TRUE(checkAndWait(*window, card.root()));
    EXPECT_EQ(contentsUnder(card.root()), before) << "the check changed the card";

    const CardCheckReport* report = window->report();
    ASSERT_NE(report, nullptr);
    EXPECT_TRUE(report->complete);
    EXPECT_EQ(bar.maximum(), static_cast<int>(report->fileCount()));
    EXPECT_EQ(highest, static_cast<int>(report->fileCount())) << "the bar reached every file";
    EXPECT_FALSE(bar.isVisible()) << "the bar goes once the check is done";
    EXPECT_FALSE(child<QPushButton>(*window, "cardCheckCancelButton").isVisible());

    const QString summary = child<QLabel>(*window, "cardCheckSummaryLabel").text();
    EXPECT_TRUE(summary.startsWith("Problems: " + QString::number(report->count(Severity::Problem)) + ", "))
        << summary.toStdString();

    auto& findings = child<QTreeWidget>(*window, "cardCheckFindings");
    EXPECT_EQ(findings.topLevelItemCount(), static_cast<int>(report->findings.size()));
    const auto subject = [&](int recording, bool rear) { return QString::fromStdString(card.relative(recording, rear)); };
    EXPECT_EQ(findingsWorseThanNotes(findings), (std::set<std::pair<QString, QString>>{
                                                    {"check.file.cut_off", subject(2, false)},
                                                    {"check.file.empty", subject(3, true)},
                                                    {"check.day.gap_driving", "2024-06-14"},
                                                    {"check.clock.ahead", ""},
                                                    {"check.settings.bad_checksum", "config.bin"},
                                                }));
    EXPECT_EQ(findings.topLevelItem(0)->text(0), "Problem") << "problems first";

    auto& recordings = child<QTreeWidget>(*window, "cardCheckRecordings");
    ASSERT_EQ(recordings.topLevelItemCount(), static_cast<int>(card.card().recordings.size()));
    struct Expected {
        int recording;
        const char* plays;
        const char* sides;
    } expectedRows[] = {
        {1, "Plays", "Front and rear"},
        {2, "Cut off, does not play", "Front and rear"},
        {3, "Empty (0 bytes)", "Front and rear"},
    };
    for (const Expected& e : expectedRows) {
        const auto& made = card.card().recordings.at(static_cast<std::size_t>(e.recording - 1));
        SCOPED_TRACE(made.groupName);
        QTreeWidgetItem* row = rowNamed(recordings, made.groupName);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->text(4), e.plays);
        EXPECT_EQ(row->text(2), e.sides);
        EXPECT_EQ(row->childCount(), 2) << "one line per file";
    }
    QTreeWidgetItem* first = rowNamed(recordings, card.card().recordings[0].groupName);
    EXPECT_EQ(first->text(3), "6 s");
    EXPECT_EQ(first->text(5), "60 records");
    EXPECT_GE(first->text(6).toInt(), 4) << "valid fixes";
    EXPECT_EQ(first->text(7), "+7 s") << "the clock against GPS";

    auto& days = child<QTreeWidget>(*window, "cardCheckDays");
    ASSERT_EQ(days.topLevelItemCount(), 1);
    QTreeWidgetItem* day = days.topLevelItem(0);
    EXPECT_EQ(day->text(0), "2024-06-14");
    ASSERT_EQ(day->childCount(), 1);
    EXPECT_EQ(day->child(0)->text(0), "Gap while moving");
    EXPECT_EQ(day->child(0)->text(4), "30 s");
    EXPECT_EQ(day->child(0)->text(5), QString::fromStdString("after " + card.card().recordings[0].groupName +
                                                             ", before " + card.card().recordings[1].groupName));

    auto& clock = child<QTreeWidget>(*window, "cardCheckClock");
    EXPECT_EQ(valueOf(clock, "Verdict"), "The camera's clock is off");
    EXPECT_EQ(valueOf(clock, "File name less GPS time (median)"), "+7 s");
    EXPECT_EQ(valueOf(clock, "The clock itself is off by"), "+7 s");
    EXPECT_EQ(valueOf(clock, "Time zone in config.bin"), "+01:00 with summer time");

    auto& settings = child<QTreeWidget>(*window, "cardCheckSettings");
    EXPECT_EQ(valueOf(settings, "Present"), "Yes");
    EXPECT_EQ(valueOf(settings, "Size"), "500 bytes");
    EXPECT_TRUE(valueOf(settings, "Checksum").startsWith("Wrong (stored ")) << valueOf(settings, "Checksum").toStdString();
    EXPECT_TRUE(valueOf(settings, "Card split").startsWith("continuous "));

    auto& space = child<QTreeWidget>(*window, "cardCheckSpace");
    ASSERT_EQ(space.topLevelItemCount(), 5) << "the card, its free space and the three modes";
    EXPECT_EQ(space.topLevelItem(2)->text(0), "Continuous");
    EXPECT_EQ(space.topLevelItem(2)->text(2),
              QString::number(report->space.modes[0].files) + " files");

    saveTabPictures(*window, "card-check-faults");

    EXPECT_TRUE(child<QLabel>(*window, "cardCheckClockLabel").text().contains("7 s ahead"));
    EXPECT_TRUE(child<QPushButton>(*window, "cardCheckSetClockButton").isVisible());
    EXPECT_FALSE(child<QPushButton>(*window, "cardCheckOpenSettingsButton").isVisible());
}

TEST_F(CardCheckWindowTest, ACleanCardShowsOnlyNotesAndOffersNoFixExpected) {
    const GeneratedCard card;
    ASSERT_TRUE(card.result.card) << card.result.error;
    auto window = makeWindow();
    window->show();
    ASSERT_TRUE(checkAndWait(*window, card.root()));
    auto& findings = child<QTreeWidget>(*window, "cardCheckFindings");
    EXPECT_GT(findings.topLevelItemCount(), 0);
    EXPECT_EQ(findingsWorseThanNotes(findings), (std::set<std::pair<QString, QString>>{}));
    EXPECT_EQ(valueOf(child<QTreeWidget>(*window, "cardCheckClock"), "Verdict"), "In step with GPS");
    EXPECT_FALSE(child<QPushButton>(*window, "cardCheckSetClockButton").isVisible());
    EXPECT_FALSE(child<QPushButton>(*window, "cardCheckOpenSettingsButton").isVisible());
    EXPECT_TRUE(child<QPushButton>(*window, "cardCheckRunButton").isEnabled()) << "it can be checked again";
}

TEST_F(CardCheckWindowTest, AClockAnHourOffPointsAtTheTimeZoneAndOffersTheSettingsExpected) {
    samplecard::SampleCardOptions options = GeneratedCard::defaults();
    options.faults.clockOffsetSeconds = 3600;
    const GeneratedCard card(options);
    ASSERT_TRUE(card.result.card) << card.result.error;
    auto window = makeWindow();
    window->show();
    ASSERT_TRUE(checkAndWait(*window, card.root()));
    auto& clock = child<QTreeWidget>(*window, "cardCheckClock");
    EXPECT_EQ(valueOf(clock, "Verdict"), "The time-zone setting does not match the clock");
    EXPECT_EQ(valueOf(clock, "Time zone that matches the clock"), "+02:00 with summer time");
    EXPECT_FALSE(child<QPushButton>(*window, "cardCheckSetClockButton").isVisible())
        << "the clock is right for another zone";
    auto& open = child<QPushButton>(*window, "cardCheckOpenSettingsButton");
    ASSERT_TRUE(open.isVisible());
    QSignalSpy asked(window.get(), &CardCheckWindow::settingsRequested);
    open.click();
    EXPECT_EQ(asked.size(), 1);
}

// Lists like the standard lister, but holds the walk at the card's Motion
// folder until the test lets it go: the check is cancelled part of the way.
class HeldLister : public DirectoryLister {
public:
    bool list(const std::string& directory, std::vector<DirectoryEntry>& entries, std::string& failure) override {
        if (fs::path(directory).filename() == "Motion") {
            std::unique_lock<std::mutex> guard(lock);
            reached = true;
            changed.notify_all();
            changed.wait(guard, [&] { return released; });
        }
        return inner.list(directory, entries, failure);
    }
    std::optional<std::string> realPath(const std::string& path) override { return inner.realPath(path); }

    void waitUntilHeld() {
        std::unique_lock<std::mutex> guard(lock);
        changed.wait(guard, [&] { return reached; });
    }
    void release() {
        std::lock_guard<std::mutex> guard(lock);
        released = true;
        changed.notify_all();
    }

private:
    StdDirectoryLister inner;
    std::mutex lock;
    std::condition_variable changed;
    bool reached = false;
    bool released = false;
};

TEST_F(CardCheckWindowTest, CancelShowsWhatWasCheckedSaysSoAndTheCardCanBeCheckedAgainExpected) {
    const GeneratedCard card;
    ASSERT_TRUE(card.result.card) << card.result.error;
    // The first check lists through a held lister, which the worker owns until that check ends.
    HeldLister* held = nullptr;
    CardCheckWindow::Parts parts;
    parts.makeLister = [&]() -> std::unique_ptr<DirectoryLister> {
        if (held) return std::make_unique<StdDirectoryLister>();
        auto lister = std::make_unique<HeldLister>();
        held = lister.get();
        return lister;
    };
    auto window = makeWindow(std::move(parts));
    window->show();
    QSignalSpy finished(window.get(), &CardCheckWindow::checkFinished);
    window->checkFolder(QString::fromStdString(card.root()));
    held->waitUntilHeld();
    auto& cancel = child<QPushButton>(*window, "cardCheckCancelButton");
    EXPECT_TRUE(window->isChecking());
    EXPECT_TRUE(cancel.isVisible());
    QTest::qWait(20);
    if (const QString folder = qEnvironmentVariable("ZENTROVA_SCREENSHOT_DIR"); !folder.isEmpty()) {
        window->grab().save(folder + "/card-check-running.png");
    }
    EXPECT_FALSE(child<QPushButton>(*window, "cardCheckRunButton").isEnabled()) << "one check at a time";
    cancel.click();
    held->release();
    ASSERT_TRUE(finished.wait(60000));

    ASSERT_NE(window->report(), nullptr);
    EXPECT_FALSE(window->report()->complete);
    EXPECT_TRUE(child<QLabel>(*window, "cardCheckSummaryLabel").text().startsWith("Cancelled"));
    auto& findings = child<QTreeWidget>(*window, "cardCheckFindings");
    bool saysCancelled = false;
    for (QTreeWidgetItem* row : topRows(findings)) saysCancelled |= row->data(0, Qt::UserRole) == "check.cancelled";
    EXPECT_TRUE(saysCancelled);
    EXPECT_FALSE(child<QPushButton>(*window, "cardCheckSetClockButton").isVisible())
        << "a part of the card says nothing sure about the clock";

    auto& again = child<QPushButton>(*window, "cardCheckRunButton");
    ASSERT_TRUE(again.isEnabled());
    again.click();
    ASSERT_TRUE(finished.wait(60000));
    EXPECT_TRUE(window->report()->complete);
    EXPECT_EQ(child<QTreeWidget>(*window, "cardCheckRecordings").topLevelItemCount(),
              static_cast<int>(card.card().recordings.size()));
}

// Fails every write, as a card that is full or locked does.
class FailingWriter : public AtomicFileWriter {
public:
    std::optional<std::string> replaceFile(const std::string&, std::span<const std::uint8_t>) override {
        return "No space left on device";
    }
};

TEST_F(CardCheckWindowTest, TheClockFixWritesTheCurrentTimeInTheCardsZoneOnlyWhenConfirmedExpected) {
    samplecard::SampleCardOptions options = GeneratedCard::defaults();
    options.faults.clockOffsetSeconds = -45;
    const GeneratedCard card(options);
    ASSERT_TRUE(card.result.card) << card.result.error;
    const fs::path clockFile = fs::path(card.root()) / "timeset.cfg";
    const std::string original = bytesOf(clockFile);
    ASSERT_FALSE(original.empty()) << "the generator writes a clock file";

    struct Case {
        const char* name;
        const char* answer;
        bool failingWriter;
        std::string expectedBytes;
        const char* resultStart;
    } cases[] = {
        {"cancelled", "Cancel", false, original, nullptr},
        {"the write fails", "Set Clock", true, original, "could not be written"},
        // 07:30:00 UTC is 09:30:00 at +01:00 with summer time, as config.bin sets.
        {"confirmed", "Set Clock", false, "2024/06/14 09:30:00", "now holds 2024/06/14 09:30:00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CardCheckWindow::Parts parts;
        parts.now = [] {
            return std::chrono::sys_days(std::chrono::year(2024) / 6 / 14) + std::chrono::hours(7) +
                   std::chrono::minutes(30);
        };
        if (c.failingWriter) parts.writer = std::make_shared<FailingWriter>();
        auto window = makeWindow(std::move(parts));
        window->show();
        ASSERT_TRUE(checkAndWait(*window, card.root()));
        auto& fix = child<QPushButton>(*window, "cardCheckSetClockButton");
        ASSERT_TRUE(fix.isVisible());

        std::vector<QString> messages;
        int defaultIsCancel = 0;
        setAlertOpenedHook([&](QMessageBox& alert) {
            messages.push_back(alert.informativeText());
            if (alert.buttons().size() == 2) defaultIsCancel += alert.defaultButton()->text() == "Cancel";
            QPointer<QMessageBox> open(&alert);
            const QString answer = alert.buttons().size() == 2 ? QString(c.answer) : QString("OK");
            const QString picture = qEnvironmentVariable("ZENTROVA_SCREENSHOT_DIR").isEmpty()
                                        ? QString()
                                        : QStringLiteral("%1/card-check-clock-%2.png")
                                              .arg(qEnvironmentVariable("ZENTROVA_SCREENSHOT_DIR"))
                                              .arg(messages.size());
            // Answered once shown, as a user would; pictured first when asked for.
            QTimer::singleShot(picture.isEmpty() ? 0 : 200, &alert, [open, answer, picture] {
                if (!open) return;
                if (!picture.isEmpty()) open->window()->grab().save(picture);
                for (QAbstractButton* button : open->buttons()) {
                    if (button->text() == answer) return button->click();
                }
            });
        });
        fix.click();
        EXPECT_TRUE(QTest::qWaitFor([&] { return messages.size() == (c.resultStart ? 2u : 1u); }, 5000));
        QTest::qWait(qEnvironmentVariable("ZENTROVA_SCREENSHOT_DIR").isEmpty() ? 20 : 400);
        setAlertOpenedHook({});

        ASSERT_GE(messages.size(), 1u);
        EXPECT_TRUE(messages[0].contains(QString::fromStdString(clockFile.string()))) << "it says which file";
        EXPECT_TRUE(messages[0].contains("+01:00 with summer time")) << "and in which zone";
        EXPECT_EQ(defaultIsCancel, 1) << "Enter does not write";
        EXPECT_EQ(bytesOf(clockFile), c.expectedBytes);
        if (c.resultStart) {
            ASSERT_EQ(messages.size(), 2u);
            EXPECT_TRUE(messages[1].contains(c.resultStart)) << messages[1].toStdString();
        } else {
            EXPECT_EQ(messages.size(), 1u) << "nothing follows a cancelled question";
        }
    }
    EXPECT_EQ(fs::file_size(clockFile), 19u);
}

}  // namespace
}  // namespace zentrova
