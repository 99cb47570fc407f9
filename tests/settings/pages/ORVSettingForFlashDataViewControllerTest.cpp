#include "settings/pages/ORVSettingForFlashDataViewController.h"

#include "records/DrvFileBuilder.h"
#include "cli/DrvCommand.h"
#include "common/Log.h"
#include "common/linux/PosixAtomicFileWriter.h"
#include "playback/MapTestSupport.h"
#include "playback/ORVMapView.h"
#include "playback/ORVMapWindowController.h"
#include "settings/FILEDATA.h"
#include "support/AnsweredAlerts.h"
#include "support/CliRun.h"
#include "support/FileText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QHeaderView>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <mutex>

namespace zentrova {
namespace {

namespace fs = std::filesystem;
constexpr int kWaitMs = 20000;

// Log lines come from the reading worker as well.
class CapturedLog {
public:
    CapturedLog() {
        setLogSink([this](std::string_view line) {
            std::lock_guard<std::mutex> guard(m_lock);
            m_lines.emplace_back(line);
        });
    }
    ~CapturedLog() { setLogSink({}); }
    bool has(const std::string& line) {
        std::lock_guard<std::mutex> guard(m_lock);
        return std::find(m_lines.begin(), m_lines.end(), line) != m_lines.end();
    }

private:
    std::mutex m_lock;
    std::vector<std::string> m_lines;
};

class ORVSettingForFlashDataViewControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::webApplication();
        ORVSettingForFlashDataViewController::Services services;
        services.writer = std::make_shared<PosixAtomicFileWriter>();
        services.openPanel = [this](QWidget*) { return openChoice; };
        services.savePanel = [this](QWidget*) { return saveChoice; };
        page = new ORVSettingForFlashDataViewController(services, nullptr);
        page->resize(1000, 420);
        page->show();
    }
    void TearDown() override { delete page.data(); }

    std::string driveLog(const std::string& name, std::uint32_t count, const std::string& records) {
        return dir.touch(name, test::drvFileBytes(count, records)).string();
    }
    std::string threeRecordLog() {
        return driveLog("DrvInfo/zentrova_000.drv", 3,
                        test::sampleDrvRecord(1).bytes + test::sampleDrvRecord(2).bytes +
                            test::sampleDrvRecord(3).bytes);
    }
    // The editor's first visit of the tab.
    void showWithFile(const std::string& path) {
        page->setM_FlashDataFilePath(QString::fromStdString(path));
        QSignalSpy loaded(page.data(), &ORVSettingForFlashDataViewController::fileLoaded);
        page->setFileData(&record);
        ASSERT_TRUE(loaded.wait(kWaitMs));
    }
    bool openThroughDialog(const std::string& path) {
        openChoice = QString::fromStdString(path);
        QSignalSpy loaded(page.data(), &ORVSettingForFlashDataViewController::fileLoaded);
        page->findChild<QPushButton*>("openButton")->click();
        return loaded.wait(kWaitMs);
    }
    QString cell(int row, int column) const {
        QAbstractItemModel* model = page->tableView()->model();
        return model->data(model->index(row, column)).toString();
    }
    QStringList rowTexts(int row) const {
        QStringList texts;
        for (int column = 0; column < page->tableView()->model()->columnCount(); ++column) texts << cell(row, column);
        return texts;
    }
    void doubleClickRow(int row) {
        QTableView* table = page->tableView();
        const QRect place = table->visualRect(table->model()->index(row, 3));
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, place.center());
    }

    test::TempDir dir;
    FILEDATA record{};
    QPointer<ORVSettingForFlashDataViewController> page;
    QString openChoice;
    QString saveChoice;
};

TEST_F(ORVSettingForFlashDataViewControllerTest, AFileOfThreeRecordsShowsThreeRowsWithTheirCellTexts) {
    test::AnsweredAlerts alerts;
    showWithFile(threeRecordLog());
    EXPECT_TRUE(alerts.seen.empty()) << "a complete file is shown without a word";
    ASSERT_EQ(page->flashDataNum(), 3);
    ASSERT_EQ(page->tableView()->model()->rowCount(), 3);
    EXPECT_EQ(rowTexts(0), (QStringList{"1", "1", "2023/07/09", "08:05:03", "THU", "3731.0512", "12658.0007", "12345.6",
                                        "88", "130", "A", "+1.00", "-0.25", "+0.00", "12.6"}));
    EXPECT_EQ(cell(1, 0), "2");
    EXPECT_EQ(cell(2, 0), "3");
    EXPECT_EQ(cell(2, 1), "3") << "the sequence number of the third record";
    EXPECT_EQ(page->columnNames(), (QStringList{"No.", "Seq.", "Date", "Time", "Day", "Latitude", "Longitude",
                                                "Distance", "Speed", "Max Speed", "Status", "X", "Y", "Z",
                                                "Battery (V)"}));
    QAbstractItemModel* model = page->tableView()->model();
    for (int column = 0; column < model->columnCount(); ++column) {
        SCOPED_TRACE(column);
        EXPECT_EQ(model->headerData(column, Qt::Horizontal).toString(), page->columnNames()[column]);
        EXPECT_EQ(model->data(model->index(0, column), Qt::TextAlignmentRole).value<Qt::Alignment>(),
                  Qt::AlignRight | Qt::AlignVCenter);
        EXPECT_FALSE(model->flags(model->index(0, column)) & Qt::ItemIsEditable);
    }
    EXPECT_LT(page->tableView()->columnWidth(0), page->tableView()->columnWidth(2)) << "the date column is wider";
    const QFontMetrics cells(page->tableView()->font());
    const QFontMetrics titles(page->tableView()->horizontalHeader()->font());
    for (int column = 0; column < model->columnCount(); ++column) {
        SCOPED_TRACE(page->columnNames()[column].toStdString());
        EXPECT_GT(page->tableView()->columnWidth(column), cells.horizontalAdvance(cell(0, column)))
            << "no cell text is cut";
        EXPECT_GT(page->tableView()->columnWidth(column), titles.horizontalAdvance(page->columnNames()[column]));
    }
}

TEST_F(ORVSettingForFlashDataViewControllerTest, TheEditorsFileIsReadOnceAndAFileOpenedLaterStays) {
    showWithFile(threeRecordLog());
    ASSERT_TRUE(openThroughDialog(driveLog("other.drv", 1, test::sampleDrvRecord(42).bytes)));
    EXPECT_EQ(page->flashDataNum(), 1);
    EXPECT_EQ(cell(0, 1), "42");
    QSignalSpy loaded(page.data(), &ORVSettingForFlashDataViewController::fileLoaded);
    page->setFileData(&record);
    QTest::qWait(100);
    EXPECT_EQ(loaded.count(), 0) << "a later visit of the tab reads nothing";
    EXPECT_EQ(page->flashDataNum(), 1);
}

TEST_F(ORVSettingForFlashDataViewControllerTest, ADoubleClickedRowShowsItsPlaceOnTheMapBesideTheWindow) {
    showWithFile(threeRecordLog());
    CapturedLog log;
    doubleClickRow(1);
    EXPECT_TRUE(log.has("rowNum=1"));
    ORVMapWindowController* map = page->mapWindowController();
    ASSERT_NE(map, nullptr);
    EXPECT_TRUE(map->isVisible());
    EXPECT_EQ(map->pos(), ORVMapWindowController::originRightOf(page->window()->frameGeometry(),
                                                                map->frameGeometry().size(),
                                                                map->screen()->availableGeometry()));
    QSignalSpy ready(map->mapWebView(), &ORVMapView::pageReady);
    ASSERT_TRUE(map->mapWebView()->isPageReady() || ready.wait(kWaitMs));
    // 37 + 31.0512 / 60 and 126 + 58.0007 / 60, as the page prints them.
    EXPECT_EQ(test::evaluate(map->mapWebView()->page(), "markerLatLng()").toString(), "37.517520,126.966678");

    doubleClickRow(2);
    EXPECT_EQ(page->mapWindowController(), map) << "the same map window shows the next place";
}

TEST_F(ORVSettingForFlashDataViewControllerTest, ADoubleClickOutsideTheRowsOnlyLogsTheRow) {
    showWithFile(threeRecordLog());
    CapturedLog log;
    QHeaderView* header = page->tableView()->horizontalHeader();
    QTest::mouseDClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                       QPoint(header->sectionViewportPosition(2) + 10, header->height() / 2));
    EXPECT_EQ(page->mapWindowController(), nullptr) << "the header";
    QWidget* rows = page->tableView()->viewport();
    QTest::mouseDClick(rows, Qt::LeftButton, Qt::NoModifier, QPoint(40, rows->height() - 5));
    EXPECT_EQ(page->mapWindowController(), nullptr) << "the empty area below the rows";
    EXPECT_TRUE(log.has("rowNum=-1"));
}

TEST_F(ORVSettingForFlashDataViewControllerTest, ARecordWithoutAPositionStillOpensTheMapButDoesNotMoveIt) {
    test::DrvRecordBytes noFix = test::sampleDrvRecord(5);
    noFix.u16(10, 0).u16(12, 0).u16(14, 0).u16(16, 0);
    showWithFile(driveLog("nofix.drv", 1, noFix.bytes));
    doubleClickRow(0);
    ORVMapWindowController* map = page->mapWindowController();
    ASSERT_NE(map, nullptr);
    QSignalSpy ready(map->mapWebView(), &ORVMapView::pageReady);
    ASSERT_TRUE(map->mapWebView()->isPageReady() || ready.wait(kWaitMs));
    EXPECT_EQ(test::evaluate(map->mapWebView()->page(), "markerLatLng()").toString(), "") << "no marker was set";
}

TEST_F(ORVSettingForFlashDataViewControllerTest, LeavingTheTabOpeningAndExportingDropTheMapWindow) {
    showWithFile(threeRecordLog());
    saveChoice.clear();
    struct Case {
        const char* name;
        std::function<void()> action;
    } cases[] = {
        {"leaving the tab", [&] { page->onHide(); }},
        {"the open dialog, even cancelled", [&] { page->findChild<QPushButton*>("openButton")->click(); }},
        {"the export, even cancelled", [&] { page->findChild<QPushButton*>("exportButton")->click(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        doubleClickRow(0);
        QPointer<ORVMapWindowController> map = page->mapWindowController();
        ASSERT_FALSE(map.isNull());
        c.action();
        EXPECT_EQ(page->mapWindowController(), nullptr);
        EXPECT_TRUE(QTest::qWaitFor([&] { return map.isNull(); }, 5000)) << "the window goes with it";
    }
    EXPECT_EQ(page->flashDataNum(), 3) << "cancelled dialogs change nothing";
}

TEST_F(ORVSettingForFlashDataViewControllerTest, TheExportedCsvIsTheCompanionsExportOfTheSameFile) {
    const std::string log = threeRecordLog();
    showWithFile(log);
    const fs::path exported = dir.touch("export/zentrova_000.csv", std::string(5000, 'o'));
    saveChoice = QString::fromStdString(exported.string());
    test::AnsweredAlerts alerts;
    QSignalSpy saved(page.data(), &ORVSettingForFlashDataViewController::csvSaved);
    page->findChild<QPushButton*>("exportButton")->click();
    ASSERT_TRUE(saved.wait(kWaitMs));
    EXPECT_TRUE(saved.first().first().toBool());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !alerts.seen.empty(); }, 5000)) << "the confirmation follows";
    EXPECT_EQ(alerts.seen[0].title, "Zentrova");
    EXPECT_EQ(alerts.seen[0].message, "The file has been saved.");

    const fs::path companion = dir.path() / "companion.csv";
    const test::CliRun run = test::runCli(runDrvCommand, {log, "--csv", companion.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string csv = test::fileText(exported);
    EXPECT_EQ(csv, test::fileText(companion)) << "no trace of the longer old file either";
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 4);
}

TEST_F(ORVSettingForFlashDataViewControllerTest, AnExportThatCannotBeWrittenSaysSoAndNotSaved) {
    showWithFile(threeRecordLog());
    const fs::path notAFolder = dir.touch("plain", "x");
    saveChoice = QString::fromStdString((notAFolder / "zentrova_000.csv").string());
    test::AnsweredAlerts alerts;
    QSignalSpy saved(page.data(), &ORVSettingForFlashDataViewController::csvSaved);
    page->findChild<QPushButton*>("exportButton")->click();
    ASSERT_TRUE(saved.wait(kWaitMs));
    EXPECT_FALSE(saved.first().first().toBool());
    QTest::qWait(700);
    ASSERT_EQ(alerts.seen.size(), 1u) << "the failure only, no confirmation";
    EXPECT_EQ(alerts.seen[0].title, "Warn");
    EXPECT_TRUE(alerts.seen[0].message.contains("Not a directory")) << alerts.seen[0].message.toStdString();
}

TEST_F(ORVSettingForFlashDataViewControllerTest, AnUnreadableFileKeepsTheRowsAndIsLogged) {
    showWithFile(threeRecordLog());
    const std::string missing = (dir.path() / "gone.drv").string();
    CapturedLog log;
    test::AnsweredAlerts alerts;
    ASSERT_TRUE(openThroughDialog(missing));
    EXPECT_TRUE(log.has("fopen fail:" + missing));
    EXPECT_EQ(page->flashDataNum(), 3);
    EXPECT_EQ(page->tableView()->model()->rowCount(), 3);
    EXPECT_EQ(cell(2, 0), "3");
    ASSERT_EQ(alerts.seen.size(), 1u);
    EXPECT_TRUE(alerts.seen[0].message.startsWith(QString::fromStdString("The drive log " + missing)));
}

TEST_F(ORVSettingForFlashDataViewControllerTest, AFileShorterThanItsCountShowsItsWholeRecordsAndSaysSo) {
    test::AnsweredAlerts alerts;
    showWithFile(driveLog("short.drv", 5, test::sampleDrvRecord(1).bytes + test::sampleDrvRecord(2).bytes + "abc"));
    EXPECT_EQ(page->flashDataNum(), 2);
    ASSERT_EQ(alerts.seen.size(), 1u);
    EXPECT_TRUE(alerts.seen[0].message.endsWith("2 of the 5 records it counts are shown."))
        << alerts.seen[0].message.toStdString();
}

TEST_F(ORVSettingForFlashDataViewControllerTest, AFileWithTooManyRecordsIsRefusedAndTheRowsStay) {
    showWithFile(threeRecordLog());
    // A hole makes room for one record more than a reading takes.
    const std::string huge = driveLog("huge.drv", 0xFFFFFFFFu, test::sampleDrvRecord(9).bytes);
    fs::resize_file(huge, 12 + 40 * ((std::uintmax_t{1} << 20) + 1));
    test::AnsweredAlerts alerts;
    ASSERT_TRUE(openThroughDialog(huge));
    EXPECT_EQ(page->flashDataNum(), 3);
    EXPECT_EQ(cell(2, 0), "3");
    ASSERT_EQ(alerts.seen.size(), 1u);
    EXPECT_EQ(alerts.seen[0].message.toStdString(),
              "The drive log " + huge +
                  " could not be read: it counts 4294967295 records and holds more than the 1048576 that can be shown");
}

TEST_F(ORVSettingForFlashDataViewControllerTest, WithoutRecordsThereIsNothingToExport) {
    showWithFile(driveLog("empty.drv", 0, ""));
    EXPECT_EQ(page->flashDataNum(), 0);
    EXPECT_FALSE(page->findChild<QPushButton*>("exportButton")->isEnabled());
    EXPECT_FALSE(page->validateUserInput().has_value());
    EXPECT_TRUE(page->populate()) << "with a record, the page accepts leaving";
}

}  // namespace
}  // namespace zentrova
