#include "app/RecordingsPanel.h"

#include "app/AppTestApplication.h"
#include "app/ORVMediaTableModel.h"
#include "app/RecordingRowDelegate.h"
#include "recordings/ORVMediaList.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <cstdio>
#include <string>
#include <vector>

namespace zentrova {
namespace {

class RecordingsPanelTest : public test::AppWidgetTest {
protected:
    void SetUp() override { panel.watch(list); }

    bool scan(const test::TempDir& card) {
        QSignalSpy reloaded(&panel, &RecordingsPanel::listReloaded);
        panel.beginScan();
        list.setDirectoryPath(card.str());
        return reloaded.wait(30000) && !panel.isScanning();
    }
    std::vector<std::string> shownFiles() const {
        std::vector<std::string> files;
        QAbstractItemModel* shown = panel.tableView()->model();
        for (int row = 0; row < shown->rowCount(); ++row) {
            files.push_back(shown->index(row, ORVMediaTableModel::FileColumn).data().toString().toStdString());
        }
        return files;
    }
    std::string fileAt(std::int64_t row) const {
        const auto media = panel.tableModel()->mediaAtIndex(static_cast<int>(row));
        return media ? media->fileName() : std::string();
    }

    ORVMediaList list;
    RecordingsPanel panel;
};

TEST_F(RecordingsPanelTest, TheFooterCountsTheFilesAndTellsWhenTheWalkStoppedAtItsLimit) {
    test::TempDir card;
    for (int i = 0; i < 15001; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "d%02d/alwa_2019%02d%02d_%06d_F.MP4", i / 1000, 1 + i % 12, 1 + i % 28,
                      i % 240000);
        card.touch(name);
    }
    ASSERT_TRUE(scan(card));
    EXPECT_EQ(panel.tableModel()->rowCount(), 15000);
    EXPECT_EQ(panel.footerText(), QString::fromUtf8("15\u00a0000 files \u2014 limit reached"));
    EXPECT_FALSE(panel.findChild<QLabel*>("mediaListFooterLabel")->toolTip().isEmpty());
}

TEST_F(RecordingsPanelTest, FooterTextsForEachCount) {
    struct Case {
        int shown, total;
        bool limit;
        const char* expected;
    } cases[] = {
        {0, 0, false, "No recordings"},
        {1, 1, false, "1 file"},
        {6, 6, false, "6 files"},
        {2, 6, false, "2 of 6 files"},
        {1200, 15000, true, "1\u00a0200 of 15\u00a0000 files \u2014 limit reached"},
        {123456, 1234567, false, "123\u00a0456 of 1\u00a0234\u00a0567 files"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(RecordingsPanel::footerTextFor(c.shown, c.total, c.limit), QString::fromUtf8(c.expected));
    }
}

class RecordingsPanelCardTest : public RecordingsPanelTest {
protected:
    void SetUp() override {
        RecordingsPanelTest::SetUp();
        // In the list's order: by time, front before rear.
        for (const char* name : {"Normal/alwa_20190312_081500_F.MP4", "Normal/alwa_20190312_081500_R.MP4",
                                 "Event/event_20190312_090000_F.MP4", "Motion/motion_20190313_101000_R.MP4",
                                 "Normal/alwa_20190313_120000_F.MP4", "Normal/alwa_20190313_120000_R.MP4",
                                 "Event/event_20190314_070000_F.MP4", "Event/event_20190314_070000_R.MP4"}) {
            card.touch(name);
        }
        ASSERT_TRUE(scan(card));
        ASSERT_EQ(panel.tableModel()->rowCount(), 8);
    }
    test::TempDir card;
};

TEST_F(RecordingsPanelCardTest, TheModeFilterShowsOneModeAndRowsStayRowsOfTheList) {
    auto* combo = panel.findChild<QComboBox*>("modeFilterCombo");
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->count(), 4);
    struct Case {
        int item;
        std::vector<std::string> shown;
        const char* footer;
    } cases[] = {
        {2, {"motion_20190313_101000_R.MP4"}, "1 of 8 files"},
        {3, {"event_20190312_090000_F.MP4", "event_20190314_070000_F.MP4", "event_20190314_070000_R.MP4"},
         "3 of 8 files"},
        {1,
         {"alwa_20190312_081500_F.MP4", "alwa_20190312_081500_R.MP4", "alwa_20190313_120000_F.MP4",
          "alwa_20190313_120000_R.MP4"},
         "4 of 8 files"},
        {0, {}, "8 files"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(combo->itemText(c.item).toStdString());
        emit combo->activated(c.item);
        if (c.item == 0) {
            EXPECT_EQ(shownFiles().size(), 8u);
        } else {
            EXPECT_EQ(shownFiles(), c.shown);
        }
        EXPECT_EQ(panel.footerText(), c.footer);
    }

    // Rows are the list's rows whatever is shown, as the player counts them.
    panel.setModeFilter(ORVMediaDivisionEvent);
    panel.selectRow(6);
    EXPECT_EQ(panel.currentRow(), 6);
    EXPECT_EQ(fileAt(panel.currentRow()), "event_20190314_070000_F.MP4");
    panel.setModeFilter(std::nullopt);
    EXPECT_EQ(panel.currentRow(), 6) << "the row chosen stays chosen when the filter goes";
    panel.setModeFilter(ORVMediaDivisionMotion);
    panel.selectRow(0);
    EXPECT_TRUE(panel.tableView()->selectionModel()->selectedRows().isEmpty()) << "a hidden row is not selected";
}

TEST_F(RecordingsPanelCardTest, JumpingToADateSelectsItsFirstRowThatTheFilterShows) {
    auto* jump = panel.findChild<QComboBox*>("dateJumpCombo");
    ASSERT_NE(jump, nullptr);
    ASSERT_EQ(jump->count(), 4) << "its title and the three dates";
    struct Case {
        std::optional<ORVMediaDivision> mode;
        const char* date;
        bool found;
        const char* expectedFile;
    } cases[] = {
        {std::nullopt, "2019-03-13", true, "motion_20190313_101000_R.MP4"},
        {std::nullopt, "2019-03-14", true, "event_20190314_070000_F.MP4"},
        {ORVMediaDivisionAlways, "2019-03-13", true, "alwa_20190313_120000_F.MP4"},
        {ORVMediaDivisionMotion, "2019-03-12", false, ""},
        {std::nullopt, "2020-01-01", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.date);
        panel.setModeFilter(c.mode);
        panel.selectRow(0);
        EXPECT_EQ(panel.jumpToDate(c.date), c.found);
        if (c.found) {
            EXPECT_EQ(fileAt(panel.currentRow()), c.expectedFile);
        }
    }
    panel.setModeFilter(std::nullopt);
    emit jump->activated(jump->findText("2019-03-14"));
    EXPECT_EQ(fileAt(panel.currentRow()), "event_20190314_070000_F.MP4");
    EXPECT_EQ(jump->currentIndex(), 0) << "the combo goes back to its title";
}

TEST_F(RecordingsPanelCardTest, TheOtherSideOfTheSelectedRecordingIsMarked) {
    ORVMediaTableModel* model = panel.tableModel();
    struct Case {
        int selected;
        int marked;
    } cases[] = {{0, 1}, {1, 0}, {2, -1}, {3, -1}, {7, 6}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.selected);
        panel.tableView()->setCurrentIndex(panel.tableView()->model()->index(c.selected, 0));
        QCoreApplication::processEvents();
        EXPECT_EQ(model->markedRow(), c.marked);
        for (int row = 0; row < model->rowCount(); ++row) {
            const bool marked = model->data(model->index(row, 2), Qt::BackgroundRole).isValid();
            EXPECT_EQ(marked, row == c.marked) << "row " << row;
        }
    }
}

TEST_F(RecordingsPanelCardTest, TheTableShowsWhenItHasTheKeys) {
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    QTableView* table = panel.tableView();
    auto* combo = panel.findChild<QComboBox*>("modeFilterCombo");
    table->setFocus();
    QTRY_VERIFY(table->hasFocus());
    EXPECT_TRUE(table->property("focused").toBool());
    combo->setFocus();
    QTRY_VERIFY(combo->hasFocus());
    EXPECT_FALSE(table->property("focused").toBool());
}

TEST(RecordingRowDelegateTest, ALongFileNameKeepsItsModeAndItsSide) {
    test::appTestApplication();
    QFont font;
    font.setPointSize(11);
    const QFontMetrics metrics(font);
    const QString name = QStringLiteral("alwa_20190312_081500_F.MP4");
    const int whole = metrics.horizontalAdvance(name);
    struct Case {
        const char* what;
        int width;
    } cases[] = {{"room enough", whole}, {"two thirds", whole * 2 / 3}, {"half", whole / 2}, {"very little", 30}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString shown = RecordingRowDelegate::elidedFileName(name, metrics, c.width);
        EXPECT_LE(metrics.horizontalAdvance(shown), c.width);
        if (c.width >= whole) {
            EXPECT_EQ(shown, name);
        } else if (c.width >= whole / 2) {
            EXPECT_TRUE(shown.startsWith("alwa")) << shown.toStdString();
            EXPECT_TRUE(shown.endsWith(QString(QChar(0x2026)) + "_F.MP4")) << shown.toStdString();
        }
    }
}

}  // namespace
}  // namespace zentrova
