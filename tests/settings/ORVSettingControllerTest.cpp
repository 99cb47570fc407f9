#include "settings/ORVSettingController.h"

#include "cli/ConfigCommand.h"
#include "common/Log.h"
#include "controls/SegmentedControl.h"
#include "controls/UiText.h"
#include "settings/ORVSettingControllerDelegate.h"
#include "settings/SettingLoadingSheet.h"
#include "records/DrvFileBuilder.h"
#include "settings/pages/ORVSettingForFlashDataViewController.h"
#include "support/AnsweredAlerts.h"
#include "support/CliRun.h"
#include "support/FakeCard.h"
#include "support/SettingEditorHarness.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <filesystem>
#include <optional>
#include <set>

namespace zentrova {
namespace {

namespace fs = std::filesystem;
using test::FakeCard;
using test::SettingEditorHarness;

std::vector<std::uint8_t> bytesOf(const FILEDATA& record) {
    const FileDataBytes bytes = fileDataBytes(record);
    return {bytes.begin(), bytes.end()};
}

FILEDATA resetRecord() {
    FILEDATA record{};
    resetFileData(record);
    return record;
}

std::vector<std::size_t> changedOffsets(const std::vector<std::uint8_t>& before, const std::vector<std::uint8_t>& after) {
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < std::min(before.size(), after.size()); ++i) {
        if (before[i] != after[i]) changed.push_back(i);
    }
    return changed;
}

std::uint16_t storedChecksum(const std::vector<std::uint8_t>& bytes) {
    return static_cast<std::uint16_t>(bytes.at(2) | (bytes.at(3) << 8));
}

std::uint16_t checksumOfBytes(const std::vector<std::uint8_t>& bytes) {
    FileDataBytes array;
    std::copy(bytes.begin(), bytes.end(), array.begin());
    return fileDataChecksum(fileDataFromBytes(array));
}

// A page that keeps vid_brightness in a number, refuses when told to, and
// counts what the editor asks of it.
class ScriptedPage : public ORVSettingControllerDelegate {
public:
    std::optional<QString> validateUserInput() const override {
        ++validations;
        return refusal;
    }
    void onHide() override { ++hides; }

    std::optional<QString> refusal;
    bool refuseAfterWarning = false;
    std::uint32_t shownBrightness = 0;
    std::uint32_t brightnessToStore = 0;
    mutable int validations = 0;
    int hides = 0;

protected:
    void displayFileData() override { shownBrightness = fileData()->vid_brightness; }
    bool storeFileData(FILEDATA& record) override {
        if (refuseAfterWarning) return false;
        record.vid_brightness = brightnessToStore;
        return true;
    }
};

class ORVSettingControllerTest : public test::WidgetTest {
protected:
    void SetUp() override {
        setLogSink([this](std::string_view line) { log.emplace_back(line); });
    }
    void TearDown() override { setLogSink({}); }

    static QString text(const char* key) { return uiText(key); }
    static SegmentedControl* tabs(SettingEditorHarness& harness) {
        return harness.find<SegmentedControl>("functionSegmentedControl");
    }
    // The alerts the user has seen so far, once the event loop has run.
    std::vector<test::AnsweredAlerts::Seen>& seen() {
        QApplication::processEvents();
        return alerts.seen;
    }
    bool logged(const std::string& start) const {
        return std::any_of(log.begin(), log.end(), [&](const std::string& line) { return line.starts_with(start); });
    }

    test::AnsweredAlerts alerts;
    std::vector<std::string> log;
};

TEST_F(ORVSettingControllerTest, CreatingTheEditorReadsTheCardAtOnce) {
    FakeCard card({.edit = [](FILEDATA& r) { r.vid_brightness = 4; }});
    SettingEditorHarness harness(card);
    EXPECT_EQ(harness.pendingReads(), 0U);
    EXPECT_EQ(bytesOf(*harness.editor().filedata()), card.settingsBytes());
    EXPECT_EQ(harness.editor().settingFilePath(), card.settingsPath());
    ASSERT_TRUE(harness.editor().selectedUSBDisk());
    EXPECT_EQ(harness.editor().selectedUSBDisk()->deviceFilePath(), "sdb1");
    EXPECT_FALSE(harness.editor().isVisible());
}

TEST_F(ORVSettingControllerTest, OpeningReadsTheCardUnderTheLoadingSheetAndThenShowsIt) {
    FakeCard card({.edit = [](FILEDATA& r) {
        r.vid_brightness = 4;
        r.vid_enc_bitrate = 2;
    }});
    SettingEditorHarness harness(card);
    harness.show();
    ORVSettingController& editor = harness.editor();
    ASSERT_EQ(harness.pendingReads(), 1U);
    EXPECT_TRUE(editor.loadingSheet().isShown());
    EXPECT_EQ(editor.loadingSheet().panel()->message(), text("setting.loading"));
    EXPECT_EQ(editor.windowTitle(), text("setting.window_title") + " : " + QString::fromStdString(card.settingsPath()));
    EXPECT_EQ(editor.lastSelectedTabIndex(), 0);
    // Until the read has finished the page shows the factory record and
    // nothing can change it.
    EXPECT_EQ(bytesOf(*editor.filedata()), bytesOf(resetRecord()));
    EXPECT_EQ(harness.find<SegmentedControl>("videoBrightness")->selectedSegment(), 2);
    for (const char* control : {"saveButton", "resetButton"}) {
        EXPECT_FALSE(harness.find<QWidget>(control)->isEnabled()) << control;
    }
    EXPECT_FALSE(tabs(harness)->isEnabled());

    harness.finishReads();
    EXPECT_EQ(harness.find<SegmentedControl>("videoBrightness")->selectedSegment(), 4) << "the page shows it again";
    EXPECT_EQ(harness.find<SegmentedControl>("videoEncodingBitrate")->selectedSegment(), 2);
    EXPECT_EQ(bytesOf(*editor.filedata()), card.settingsBytes()) << "the page wrote nothing into the record";
    EXPECT_TRUE(harness.find<QWidget>("saveButton")->isEnabled());
    EXPECT_TRUE(editor.loadingSheet().isShown()) << "until its next tick";
    harness.clock().advance(500);
    EXPECT_FALSE(editor.loadingSheet().isShown());
    EXPECT_FALSE(harness.find<QWidget>("noCardNotice")->isVisible()) << "nothing is offered when a card is found";
    EXPECT_TRUE(seen().empty());
}

TEST_F(ORVSettingControllerTest, AReadLongerThanTheSheetKeepsTheEditorClosedUntilItEnds) {
    FakeCard card({.edit = [](FILEDATA& r) { r.vid_brightness = 0; }});
    SettingEditorHarness harness(card);
    harness.show();
    harness.clock().advance(15000);
    EXPECT_FALSE(harness.editor().loadingSheet().isShown()) << "the sheet goes after 15 seconds";
    EXPECT_TRUE(harness.editor().isReading());
    harness.editor().onSave();
    harness.editor().onSaveDefaultSetting();
    EXPECT_EQ(harness.saveDialogs, 0);
    EXPECT_EQ(card.settingsBytes(), bytesOf(card.writtenRecord())) << "no factory record written over the card";
    EXPECT_FALSE(harness.find<QWidget>("saveButton")->isEnabled());

    harness.finishReads();
    EXPECT_FALSE(harness.editor().isReading());
    EXPECT_TRUE(harness.find<QWidget>("saveButton")->isEnabled());
    EXPECT_EQ(harness.find<SegmentedControl>("videoBrightness")->selectedSegment(), 0);
}

TEST_F(ORVSettingControllerTest, AFileThatCannotBeReadAfterAllIsReported) {
    FakeCard card({.edit = [](FILEDATA& r) { r.vid_brightness = 4; }});
    SettingEditorHarness harness(card);
    harness.show();
    fs::resize_file(card.settingsPath(), 120);
    harness.finishReads();
    ASSERT_EQ(seen().size(), 1U);
    EXPECT_EQ(seen()[0].title, text("alert.title.warn"));
    EXPECT_EQ(seen()[0].message, text("setting.read_failed"));
    EXPECT_EQ(bytesOf(*harness.editor().filedata()), bytesOf(resetRecord()));
    EXPECT_EQ(harness.find<SegmentedControl>("videoBrightness")->selectedSegment(), 2);
}

TEST_F(ORVSettingControllerTest, TheCardIsTheFirstUsableVolumeWithAFullSettingsFile) {
    const struct {
        const char* name;
        FakeCard::Options options;
        std::optional<std::size_t> fileSize;  // config.bin cut or grown to
        bool expectedFound;
        const char* expectedDevice;
    } cases[] = {
        {"a card in a USB reader", {}, std::nullopt, true, "sdb1"},
        {"a card in the computer's SD slot", {.slot = FakeCard::Slot::SdSlot}, std::nullopt, true, "mmcblk0p1"},
        {"a write-protected card", {.writeProtected = true}, std::nullopt, true, "sdb1"},
        {"a volume on the system's own disk", {.slot = FakeCard::Slot::SystemDisk}, std::nullopt, false, ""},
        {"no card at all", {.slot = FakeCard::Slot::None}, std::nullopt, false, ""},
        {"a card without config.bin", {.withSettingsFile = false}, std::nullopt, false, ""},
        {"a config.bin of 499 bytes", {}, 499, false, ""},
        {"a config.bin of 501 bytes", {}, 501, false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeCard card(c.options);
        if (c.fileSize) fs::resize_file(card.settingsPath(), *c.fileSize);
        SettingEditorHarness harness(card);
        ORVSettingController& editor = harness.editor();
        ASSERT_EQ(editor.settingFilePath().has_value(), c.expectedFound);
        EXPECT_EQ(editor.selectedUSBDisk().has_value(), c.expectedFound);
        if (c.expectedFound) {
            EXPECT_EQ(*editor.settingFilePath(), card.settingsPath());
            EXPECT_EQ(editor.selectedUSBDisk()->deviceFilePath(), c.expectedDevice);
        } else {
            EXPECT_EQ(bytesOf(*editor.filedata()), bytesOf(resetRecord())) << "the factory record";
        }
        harness.open();
        EXPECT_EQ(harness.find<QWidget>("noCardNotice")->isVisible(), !c.expectedFound);
        EXPECT_EQ(editor.windowTitle().contains(" : "), c.expectedFound);
    }
}

TEST_F(ORVSettingControllerTest, ACardUnderAnotherNameIsKeptWithoutUnmountingWhenItCannotBeRenamed) {
    FakeCard card({.label = "NO_NAME"});
    SettingEditorHarness harness(card);
    EXPECT_EQ(harness.editor().settingFilePath(), card.settingsPath()) << "read from that card all the same";
    EXPECT_EQ(harness.editor().selectedUSBDisk()->volumeName(), "NO_NAME");
    EXPECT_TRUE(card.commandsRun().empty()) << "nothing unmounts a mounted card";
    EXPECT_TRUE(logged("error=")) << "the refusal is logged";
}

TEST_F(ORVSettingControllerTest, NoRemovableVolumeIsLogged) {
    FakeCard card({.slot = FakeCard::Slot::None});
    SettingEditorHarness harness(card);
    EXPECT_TRUE(logged("no removable devices"));
}

TEST_F(ORVSettingControllerTest, TheTabsAreLabelledInOrderAndEachPageTitled) {
    const struct {
        const char* label;
        const char* title;
        bool built;
    } expected[] = {
        {"setting.video", "setting.video", true},       {"setting.basic", "setting.basic", true},
        {"setting.gps", "setting.gps", true},          {"setting.aux", "setting.aux", true},
        {"setting.park", "setting.motion", true},      {"setting.adas", "setting.adas", true},
        {"setting.audio", "setting.audio", true},      {"setting.driveinfoview", "setting.information", true},
    };
    FakeCard card;
    SettingEditorHarness harness(card);
    harness.open();
    ASSERT_EQ(tabs(harness)->segmentCount(), 8);
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(expected[i].label);
        harness.clickTab(i);
        EXPECT_EQ(harness.editor().lastSelectedTabIndex(), i);
        EXPECT_EQ(tabs(harness)->selectedSegment(), i);
        EXPECT_EQ(tabs(harness)->labelForSegment(i), text(expected[i].label));
        EXPECT_EQ(harness.find<QLabel>("pageTitleLabel")->text(), text(expected[i].title));
        EXPECT_FALSE(text(expected[i].title).isEmpty());
        QWidget* page = harness.editor().targetController();
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(harness.find<QScrollArea>("targetView")->widget(), page);
        EXPECT_EQ(qobject_cast<ORVSettingControllerDelegate*>(page) != nullptr, expected[i].built);
        if (!expected[i].built) {
            EXPECT_FALSE(page->findChild<QLabel*>("notBuiltLabel")->text().isEmpty());
        }
    }
    EXPECT_NE(text("setting.park"), text("setting.motion"));
}

TEST_F(ORVSettingControllerTest, OnlyTheDriveLogPageIsKeptBetweenVisits) {
    FakeCard card;
    SettingEditorHarness harness(card);
    harness.open();
    QPointer<QWidget> video = harness.editor().targetController();
    harness.clickTab(7);
    QPointer<QWidget> driveLog = harness.editor().targetController();
    EXPECT_TRUE(video.isNull()) << "a page left is gone";
    harness.clickTab(0);
    EXPECT_FALSE(driveLog.isNull());
    EXPECT_FALSE(driveLog->isVisible());
    EXPECT_NE(harness.editor().targetController(), nullptr);
    harness.clickTab(7);
    EXPECT_EQ(harness.editor().targetController(), driveLog.data());
    EXPECT_EQ(harness.editor().driveInfoController(), driveLog.data());
}

TEST_F(ORVSettingControllerTest, TheCardsDriveLogIsReadOnTheFirstVisitUnderTheEditorsSheetAndNotAgain) {
    FakeCard card;
    const std::string log = card.addFile(
        "DrvInfo/zentrova_000.drv",
        test::drvFileBytes(3, test::sampleDrvRecord(1).bytes + test::sampleDrvRecord(2).bytes +
                                  test::sampleDrvRecord(3).bytes));
    SettingEditorHarness harness(card);
    harness.open();
    ASSERT_FALSE(harness.editor().loadingSheet().isShown());
    harness.clickTab(7);
    auto* page = qobject_cast<ORVSettingForFlashDataViewController*>(harness.editor().targetController());
    ASSERT_NE(page, nullptr);
    // The worker may have finished while the tab was clicked, before a spy
    // could listen.
    QSignalSpy loaded(page, &ORVSettingForFlashDataViewController::fileLoaded);
    EXPECT_TRUE(harness.editor().loadingSheet().isShown()) << "the editor's sheet, while the worker reads";
    ASSERT_TRUE(page->flashDataNum() == 3 || loaded.wait(20000));
    const int loads = loaded.count();
    EXPECT_EQ(page->flashDataNum(), 3);
    EXPECT_EQ(page->tableView()->model()->rowCount(), 3);
    harness.clock().advance(500);
    EXPECT_FALSE(harness.editor().loadingSheet().isShown());

    // Read once: the log shrunk on the card is not read on a later visit.
    card.addFile("DrvInfo/zentrova_000.drv", test::drvFileBytes(1, test::sampleDrvRecord(9).bytes));
    harness.clickTab(0);
    harness.clickTab(7);
    EXPECT_EQ(harness.editor().targetController(), page);
    EXPECT_FALSE(harness.editor().loadingSheet().isShown());
    QApplication::processEvents();
    EXPECT_EQ(loaded.count(), loads);
    EXPECT_EQ(page->flashDataNum(), 3);
}

TEST_F(ORVSettingControllerTest, WithoutADriveLogTheDriveLogPageIsEmptyAndReadsNothing) {
    FakeCard card;
    SettingEditorHarness harness(card);
    harness.open();
    harness.clickTab(7);
    auto* page = qobject_cast<ORVSettingForFlashDataViewController*>(harness.editor().targetController());
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(harness.editor().loadingSheet().isShown());
    EXPECT_EQ(page->tableView()->model()->rowCount(), 0);
    EXPECT_FALSE(harness.find<QPushButton>("exportButton")->isEnabled()) << "nothing to export";
}

TEST_F(ORVSettingControllerTest, PagesAreMadeWithTheRecordAndTheDriveLogBesideTheSettingsFile) {
    for (bool withLog : {true, false}) {
        SCOPED_TRACE(withLog);
        FakeCard card;
        const std::string log = withLog ? card.addFile("DrvInfo/zentrova_000.drv", "x") : std::string();
        std::vector<SettingPageContext> made;
        SettingEditorHarness harness(card, [&](ORVSettingController::Parts& parts) {
            parts.tabs = settingTabs();
            for (SettingTab& tab : parts.tabs) {
                tab.makePage = [&made](const SettingPageContext& context) -> QWidget* {
                    made.push_back(context);
                    return new QWidget;
                };
            }
        });
        harness.open();
        harness.clickTab(5);
        harness.clickTab(7);
        ASSERT_EQ(made.size(), 3U);
        EXPECT_EQ(made[1].record, harness.editor().filedata());
        EXPECT_EQ(made[2].driveLogPath, withLog ? std::optional<std::string>(log) : std::nullopt);
        EXPECT_EQ(made[2].loadingSheet, &harness.editor().loadingSheet());
    }
}

class ScriptedTabsTest : public ORVSettingControllerTest {
protected:
    // Tab 0 is a scripted page (made once here so that the test can script
    // it); tab 1 a plain page.
    std::unique_ptr<SettingEditorHarness> harnessWithScriptedPage() {
        auto harness = std::make_unique<SettingEditorHarness>(card, [this](ORVSettingController::Parts& parts) {
            parts.tabs = {
                {TextKey{"setting.video"}, TextKey{"setting.video"},
                 [this](const SettingPageContext&) -> QWidget* {
                     ++pagesMade;
                     page = new ScriptedPage;
                     return page;
                 }},
                {TextKey{"setting.basic"}, TextKey{"setting.basic"},
                 [](const SettingPageContext&) -> QWidget* { return new QWidget; }},
            };
        });
        harness->open();
        return harness;
    }

    FakeCard card{{.edit = [](FILEDATA& r) { r.vid_brightness = 3; }}};
    QPointer<ScriptedPage> page;
    int pagesMade = 0;
};

TEST_F(ScriptedTabsTest, TheTabShownAlreadyDoesNothing) {
    auto harness = harnessWithScriptedPage();
    ASSERT_TRUE(page);
    const int validations = page->validations;
    harness->clickTab(0);
    EXPECT_EQ(page->validations, validations) << "no check";
    EXPECT_EQ(pagesMade, 1) << "no new page";
    EXPECT_EQ(harness->editor().targetController(), page.data());
}

TEST_F(ScriptedTabsTest, APageThatRefusesKeepsItsTabAndStoresNothing) {
    const struct {
        const char* name;
        std::optional<QString> refusal;
        bool refuseAfterWarning;
        std::size_t expectedAlerts;
    } cases[] = {
        {"invalid input: the editor shows the page's message", QString("Too high."), false, 1},
        {"refused after the page's own warning", std::nullopt, true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        alerts.seen.clear();
        pagesMade = 0;
        auto harness = harnessWithScriptedPage();
        page->refusal = c.refusal;
        page->refuseAfterWarning = c.refuseAfterWarning;
        page->brightnessToStore = 1;
        const auto before = bytesOf(*harness->editor().filedata());

        harness->clickTab(1);
        EXPECT_EQ(tabs(*harness)->selectedSegment(), 0) << "the tab snaps back";
        EXPECT_EQ(harness->editor().lastSelectedTabIndex(), 0);
        EXPECT_EQ(harness->editor().targetController(), page.data()) << "the page stays";
        EXPECT_EQ(page->hides, 0);
        EXPECT_EQ(bytesOf(*harness->editor().filedata()), before);
        ASSERT_EQ(seen().size(), c.expectedAlerts);
        if (c.expectedAlerts) {
            EXPECT_EQ(seen()[0].title, text("alert.title.application"));
            EXPECT_EQ(seen()[0].message, "Too high.");
        }

        harness->editor().onSave();
        EXPECT_EQ(card.settingsBytes(), bytesOf(card.writtenRecord())) << "nor is anything saved";
        EXPECT_EQ(seen().size(), 2 * c.expectedAlerts);
    }
}

TEST_F(ScriptedTabsTest, LeavingAPageStoresItAndTheNextPageShowsTheRecord) {
    auto harness = harnessWithScriptedPage();
    EXPECT_EQ(page->shownBrightness, 3U) << "shown again once read";
    page->brightnessToStore = 1;
    harness->clickTab(1);
    EXPECT_TRUE(page.isNull());
    EXPECT_EQ(harness->editor().filedata()->vid_brightness, 1U);
    harness->clickTab(0);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->shownBrightness, 1U);
    EXPECT_EQ(pagesMade, 2);
}

TEST_F(ORVSettingControllerTest, ResetShowsTheFactoryRecordAndCancelWritesNothing) {
    FakeCard card({.edit = [](FILEDATA& r) {
        r.vid_brightness = 4;
        r.flip_video = 1;
    }});
    const auto original = card.settingsBytes();
    SettingEditorHarness harness(card);
    harness.open();
    harness.find<QPushButton>("resetButton")->click();
    EXPECT_EQ(harness.find<SegmentedControl>("videoBrightness")->selectedSegment(), 2);
    EXPECT_EQ(harness.find<SegmentedControl>("flipVideoRealSeg")->selectedSegment(), 0);
    EXPECT_EQ(bytesOf(*harness.editor().filedata()), bytesOf(resetRecord()));
    harness.find<QPushButton>("cancelButton")->click();
    EXPECT_FALSE(harness.editor().isVisible());
    EXPECT_EQ(card.settingsBytes(), original);
    EXPECT_TRUE(seen().empty());
}

TEST_F(ORVSettingControllerTest, EscapeCancelsLikeTheCancelButton) {
    FakeCard card;
    const auto original = card.settingsBytes();
    SettingEditorHarness harness(card);
    harness.open();
    harness.clickSegment("videoBrightness", 0);
    harness.editor().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&harness.editor()));
    QTest::keyClick(&harness.editor(), Qt::Key_Escape);
    EXPECT_FALSE(harness.editor().isVisible());
    EXPECT_EQ(card.settingsBytes(), original);
}

TEST_F(ORVSettingControllerTest, ResetThenSaveWritesTheFactoryRecordWithAFreshChecksum) {
    FakeCard card({.edit = [](FILEDATA& r) {
        r.vid_brightness = 4;
        r.time_gmt = 3;
        r.dummy00[5] = 77;
    }});
    SettingEditorHarness harness(card);
    harness.open();
    harness.find<QPushButton>("resetButton")->click();
    harness.find<QPushButton>("saveButton")->click();
    ASSERT_EQ(seen().size(), 1U);
    EXPECT_EQ(seen()[0].title, QString::fromStdString(card.settingsPath()));
    EXPECT_EQ(seen()[0].message, text("msg.saved"));
    EXPECT_FALSE(harness.editor().isVisible()) << "the window closes once the user has read it";

    // The factory record as the companion prepares it for the camera.
    test::TempDir dir;
    const std::string factory = (dir.path() / "factory.bin").string();
    const std::string prepared = (dir.path() / "prepared.bin").string();
    ASSERT_EQ(test::runCli(runConfigCommand, {"reset", factory}).status, 0);
    ASSERT_EQ(test::runCli(runConfigCommand, {"prepare", factory, prepared}).status, 0);
    const test::CliRun saved = test::runCli(runConfigCommand, {"show", card.settingsPath(), "--json"});
    const test::CliRun expected = test::runCli(runConfigCommand, {"show", prepared, "--json"});
    ASSERT_EQ(saved.status, 0) << saved.err;
    EXPECT_EQ(saved.out, expected.out);

    const QJsonObject shown = QJsonDocument::fromJson(QByteArray::fromStdString(saved.out)).object();
    const QJsonObject fields = shown["fields"].toObject();
    EXPECT_TRUE(shown["valid"].toBool());
    EXPECT_EQ(fields["checksum"].toInt(), shown["checksumComputed"].toInt());
    EXPECT_NE(fields["checksum"].toInt(), 0);
    EXPECT_EQ(fields["cfg_ver"].toInt(), 22310);
    EXPECT_EQ(fields["vid_brightness"].toInt(), 2);
    EXPECT_EQ(fields["osd_plate_flag"].toInt(), 1) << "the factory plate text is set";
}

struct OneControl {
    const char* outlet;
    int segment;
    std::size_t offset;
    std::size_t size;
    // What the field at offset then holds, when that is not the segment.
    std::optional<std::uint32_t> stored = std::nullopt;
};

// Every control of every built page; the card holds values none of the
// segments below has.
const std::pair<int, std::vector<OneControl>> kBuiltPages[] = {
    {0,
     {{"videoEncodingBitrate", 2, 60, 4},
      {"videoEncodingBitrateRear", 0, 264, 4},
      {"videoBrightness", 4, 68, 4},
      {"videoBrightnessRear", 0, 268, 4},
      {"flipVideoRealSeg", 1, 304, 4},
      {"rearfpsSeg", 1, 312, 4},
      {"frontTinting", 3, 348, 4},
      {"rearTinting", 2, 352, 4},
      {"wdr", 1, 412, 4}}},
    {1,
     {{"alwaysModeTimeoutSeg", 8, 100, 4, 600},
      {"gsensorSensitivityDrivingSeg", 0, 88, 12, 70},
      {"gsensorSensitivityParkingSeg", 0, 104, 12, 25},
      {"frontLEDSeg", 1, 248, 4},
      {"rearLEDSeg", 1, 324, 4},
      {"cableVoltageLossSeg", 6, 388, 4, 7}}},
    {2,
     {{"drivingDaySeg", 3, 176, 4},
      {"speedDisplayUnitSeg", 1, 164, 4},
      {"osdSpeedDisplaySeg", 0, 152, 4},
      {"saveDurationSeg", 2, 224, 4},
      {"nightTimeSeg", 1, 240, 4}}},
    {3,
     {{"dayTimeAESeg", 2, 236, 4},
      {"lcdAutoPowerOffSeg", 3, 276, 4},
      {"gammaSeg", 1, 252, 4},
      {"lcdBrightnessSeg", 2, 280, 4},
      {"lcdNightBrightnessSeg", 0, 340, 4},
      {"parkingRearOffSeg", 0, 288, 4, 1},
      {"lcdScreenSaverSeg", 2, 284, 4},
      {"parkingAlarmSeg", 0, 308, 4},
      {"recordingLengthSeg", 0, 328, 4},
      {"autoFormatAlarmSeg", 4, 392, 4}}},
    {4,
     {{"parkingModeSeg", 1, 408, 4},
      {"nightVisionSeg", 1, 412, 4},
      {"frontSensitivitySeg", 5, 120, 4},
      {"rearSensitivitySeg", 0, 116, 4}}},
    {5,
     {{"adasCarSeg", 2, 396, 1},
      {"adasLdwsSpeedSeg", 8, 397, 1, 100},
      {"adasFcwsSpeedSeg", 0, 398, 1},
      {"adasFcmdEnableSeg", 0, 399, 1},
      {"adasLdwsSensSeg", 1, 400, 1},
      {"adasFcwsSensSeg", 0, 401, 1},
      {"adasFcmdSensSeg", 1, 402, 1}}},
    {6,
     {{"micSeg", 1, 48, 4},
      {"speakerSeg", 3, 52, 4},
      {"voiceLangRadio", 6, 244, 4, 17}}},
};

TEST_F(ORVSettingControllerTest, ASavedChangeOfOneControlChangesItsFieldAndTheChecksumAlone) {
    for (const auto& [tab, controls] : kBuiltPages) {
        for (const OneControl& c : controls) {
            SCOPED_TRACE(c.outlet);
            // A card prepared as the camera keeps it: the plate flag and the
            // checksum already right.
            FakeCard card({.edit = [](FILEDATA& r) { prepareFileDataForWriting(r); }});
            const auto before = card.settingsBytes();
            SettingEditorHarness harness(card);
            harness.open();
            harness.clickTab(tab);
            harness.clickSegment(c.outlet, c.segment);
            harness.editor().onSave();
            QApplication::processEvents();
            const auto after = card.settingsBytes();
            ASSERT_EQ(after.size(), kFileDataSize);
            std::set<std::size_t> allowed = {2, 3};
            for (std::size_t i = 0; i < c.size; ++i) allowed.insert(c.offset + i);
            const auto changed = changedOffsets(before, after);
            EXPECT_FALSE(changed.empty());
            for (std::size_t offset : changed) EXPECT_TRUE(allowed.count(offset)) << "byte " << offset << " changed";
            // Little-endian, over the field's first four bytes at most.
            std::uint32_t stored = 0;
            for (std::size_t i = std::min<std::size_t>(c.size, 4); i-- > 0;) stored = stored << 8 | after[c.offset + i];
            EXPECT_EQ(stored, c.stored.value_or(static_cast<std::uint32_t>(c.segment)));
            EXPECT_EQ(storedChecksum(after), checksumOfBytes(after));
            // The checksum sums the low halves of the words only.
            if (c.offset % 4 < 2) {
                EXPECT_NE(storedChecksum(after), storedChecksum(before));
            }
        }
    }
}

TEST_F(ORVSettingControllerTest, EveryBuiltPageFitsTheWindowWithoutScrolling) {
    FakeCard card;
    SettingEditorHarness harness(card);
    harness.open();
    auto* area = harness.find<QScrollArea>("targetView");
    for (const auto& [tab, controls] : kBuiltPages) {
        SCOPED_TRACE(tab);
        harness.clickTab(tab);
        QApplication::processEvents();
        const QWidget* page = area->widget();
        ASSERT_NE(page, nullptr);
        EXPECT_LE(page->minimumSizeHint().width(), area->viewport()->width());
        EXPECT_LE(page->sizeHint().height(), area->viewport()->height());
    }
}

TEST_F(ORVSettingControllerTest, ARefusedWifiNameKeepsTheSystemPageAndWritesNothing) {
    const struct {
        const char* name;
        std::function<void(SettingEditorHarness&)> ask;
    } cases[] = {
        {"save", [](SettingEditorHarness& harness) { harness.editor().onSave(); }},
        {"another tab", [](SettingEditorHarness& harness) { harness.clickTab(4); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeCard card;
        const auto before = card.settingsBytes();
        SettingEditorHarness harness(card);
        harness.open();
        harness.clickTab(3);
        harness.clickSegment("gammaSeg", 1);
        harness.find<QLineEdit>("ssidLabel")->setText("My Cam");
        seen().clear();
        c.ask(harness);
        ASSERT_EQ(seen().size(), 1u);
        EXPECT_EQ(seen()[0].message, text("setting.aux.ssid_invalid"));
        EXPECT_EQ(card.settingsBytes(), before);
        EXPECT_EQ(harness.editor().lastSelectedTabIndex(), 3);
        EXPECT_EQ(tabs(harness)->selectedSegment(), 3);
        EXPECT_EQ(harness.editor().filedata()->Gamma, 0u) << "a refused page stores nothing";

        harness.find<QLineEdit>("ssidLabel")->setText("My-Cam");
        c.ask(harness);
        EXPECT_EQ(harness.editor().filedata()->Gamma, 1u);
        EXPECT_EQ(std::string(harness.editor().filedata()->wifi_ssid), "My-Cam");
    }
}

// Drops this process's rights while a test needs permission bits to count
// (root ignores them); the folders on the way must let the user through.
class UnprivilegedScope {
public:
    explicit UnprivilegedScope(const std::vector<fs::path>& throughFolders) {
        if (::geteuid() != 0) return;
        for (const fs::path& folder : throughFolders) ::chmod(folder.c_str(), 0755);
        m_dropped = ::seteuid(65534) == 0;
    }
    ~UnprivilegedScope() {
        if (m_dropped) (void)::seteuid(0);
    }

private:
    bool m_dropped = false;
};

TEST_F(ORVSettingControllerTest, ASaveThatCannotWriteWarnsAndKeepsTheEdits) {
    FakeCard card;
    const auto original = card.settingsBytes();
    SettingEditorHarness harness(card);
    harness.open();
    harness.clickSegment("videoBrightness", 4);

    const fs::path folder = card.mountFolder();
    std::vector<fs::path> onTheWay;
    for (fs::path p = folder.parent_path(); p != p.root_path(); p = p.parent_path()) onTheWay.push_back(p);
    ::chmod(folder.c_str(), 0555);
    {
        UnprivilegedScope unprivileged(onTheWay);
        harness.editor().onSave();
    }
    ::chmod(folder.c_str(), 0755);

    ASSERT_EQ(seen().size(), 1U);
    EXPECT_EQ(seen()[0].title, text("alert.title.warn"));
    EXPECT_TRUE(seen()[0].message.startsWith(text("msg.write_protected_disk")));
    EXPECT_GT(seen()[0].message.size(), text("msg.write_protected_disk").size()) << "with the system's reason";
    EXPECT_EQ(card.settingsBytes(), original);
    EXPECT_TRUE(harness.editor().isVisible()) << "the window stays open";
    EXPECT_EQ(harness.find<SegmentedControl>("videoBrightness")->selectedSegment(), 4);
    EXPECT_EQ(harness.editor().filedata()->vid_brightness, 4U);
}

TEST_F(ORVSettingControllerTest, WithoutACardTheSaveDialogDecidesAndCancellingWritesNothing) {
    FakeCard card({.slot = FakeCard::Slot::None});
    test::TempDir elsewhere;
    const QString chosen = QString::fromStdString((elsewhere.path() / "copy.bin").string());
    const struct {
        const char* name;
        std::optional<QString> answer;
    } cases[] = {{"cancelled", std::nullopt}, {"a file chosen", chosen}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        alerts.seen.clear();
        SettingEditorHarness harness(card);
        harness.saveDialogAnswer = c.answer;
        harness.open();
        harness.clickSegment("videoBrightness", 0);
        harness.editor().onSave();
        EXPECT_EQ(harness.saveDialogs, 1);
        if (!c.answer) {
            EXPECT_TRUE(seen().empty()) << "no alert";
            EXPECT_FALSE(fs::exists(chosen.toStdString()));
            EXPECT_TRUE(harness.editor().isVisible());
            continue;
        }
        ASSERT_EQ(seen().size(), 1U);
        EXPECT_EQ(seen()[0].title, chosen);
        std::ifstream in(chosen.toStdString(), std::ios::binary);
        const std::vector<std::uint8_t> written{std::istreambuf_iterator<char>(in), {}};
        ASSERT_EQ(written.size(), kFileDataSize);
        EXPECT_EQ(written[68], 0) << "the brightness chosen";
    }
}

TEST_F(ORVSettingControllerTest, ACardWithoutASettingsFileGetsOneWithoutADialog) {
    FakeCard card({.withSettingsFile = false});
    SettingEditorHarness harness(card);
    harness.open();
    harness.clickSegment("videoBrightness", 3);
    harness.editor().onSave();
    EXPECT_EQ(harness.saveDialogs, 0);
    const auto written = card.settingsBytes();
    ASSERT_EQ(written.size(), kFileDataSize);
    EXPECT_EQ(written[68], 3);
    EXPECT_EQ(storedChecksum(written), checksumOfBytes(written));
}

TEST_F(ORVSettingControllerTest, WithoutACardTheShownFoldersSettingsFileIsOfferedAndSavedBackTo) {
    FakeCard noCard({.slot = FakeCard::Slot::None});
    // A copy of a card kept on the computer, the folder the main window shows.
    FakeCard copy({.edit = [](FILEDATA& r) { r.vid_brightness = 1; }});
    const QString folder = QString::fromStdString(copy.mountFolder());
    SettingEditorHarness harness(noCard, [&](ORVSettingController::Parts& parts) { parts.openedFolder = folder; });
    harness.open();
    ASSERT_TRUE(harness.find<QWidget>("noCardNotice")->isVisible());
    auto* useFolder = harness.find<QPushButton>("openFolderSettingFileButton");
    ASSERT_TRUE(useFolder->isVisible());
    EXPECT_EQ(useFolder->toolTip(), QString::fromStdString(copy.settingsPath()));

    useFolder->click();
    ASSERT_EQ(harness.pendingReads(), 1U);
    EXPECT_TRUE(harness.editor().loadingSheet().isShown());
    harness.finishReads();
    harness.clock().advance(500);
    EXPECT_EQ(harness.find<SegmentedControl>("videoBrightness")->selectedSegment(), 1);
    EXPECT_FALSE(harness.find<QWidget>("noCardNotice")->isVisible());
    EXPECT_TRUE(harness.editor().windowTitle().endsWith(QString::fromStdString(copy.settingsPath())));

    harness.clickSegment("videoBrightness", 3);
    harness.editor().onSave();
    EXPECT_EQ(harness.saveDialogs, 0);
    EXPECT_EQ(copy.settingsBytes().at(68), 3);
    ASSERT_EQ(seen().size(), 1U);
    EXPECT_EQ(seen()[0].title, QString::fromStdString(copy.settingsPath()));
}

TEST_F(ORVSettingControllerTest, OnlyASettingsFileIsOpenedFromTheComputer) {
    FakeCard noCard({.slot = FakeCard::Slot::None});
    test::TempDir dir;
    const struct {
        const char* name;
        std::size_t size;
        bool expectedOpened;
    } cases[] = {{"500 bytes", 500, true}, {"400 bytes", 400, false}, {"501 bytes", 501, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        alerts.seen.clear();
        const fs::path file = dir.touch(std::string("settings-") + std::to_string(c.size) + ".bin",
                                        std::string(c.size, '\x01'));
        SettingEditorHarness harness(noCard);
        harness.openDialogAnswer = QString::fromStdString(file.string());
        harness.open();
        EXPECT_FALSE(harness.find<QPushButton>("openFolderSettingFileButton")->isVisible()) << "no folder shown";
        harness.find<QPushButton>("openSettingFileButton")->click();
        ASSERT_EQ(harness.openDialogStarts.size(), 1U);
        EXPECT_EQ(harness.openDialogStarts[0], QDir::homePath());
        harness.finishReads();
        EXPECT_EQ(harness.editor().settingFilePath() == file.string(), c.expectedOpened);
        if (c.expectedOpened) {
            EXPECT_EQ(harness.editor().filedata()->vid_brightness, 0x01010101U);
            continue;
        }
        ASSERT_EQ(seen().size(), 1U);
        EXPECT_EQ(seen()[0].title, text("alert.title.warn"));
        EXPECT_EQ(seen()[0].message, text("setting.not_a_settings_file"));
        EXPECT_TRUE(harness.find<QWidget>("noCardNotice")->isVisible());
    }
}

TEST_F(ORVSettingControllerTest, TheFormatButtonOpensTheFormatterOnceThereIsOne) {
    FakeCard card;
    {
        SettingEditorHarness harness(card);
        harness.open();
        auto* format = harness.find<QPushButton>("sdcardFormatButton");
        EXPECT_FALSE(format->isEnabled());
        EXPECT_EQ(format->toolTip(), text("setting.format_not_built"));
        EXPECT_EQ(format->text(), text("setting.sdcardformat"));
    }
    int made = 0;
    SettingEditorHarness harness(card, [&](ORVSettingController::Parts& parts) {
        parts.makeFormatWindow = [&made](QWidget* editor) -> QWidget* {
            ++made;
            auto* window = new QWidget(editor, Qt::Window);
            window->setAttribute(Qt::WA_DeleteOnClose);
            return window;
        };
    });
    harness.open();
    auto* format = harness.find<QPushButton>("sdcardFormatButton");
    ASSERT_TRUE(format->isEnabled());
    format->click();
    EXPECT_EQ(made, 1);
    ASSERT_NE(harness.editor().lastDialogController(), nullptr);
    EXPECT_TRUE(harness.editor().lastDialogController()->isVisible());
}

}  // namespace
}  // namespace zentrova
