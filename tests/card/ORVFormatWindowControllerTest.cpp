#include "card/ORVFormatWindowController.h"

#include "SimulatedCardSystem.h"
#include "common/Log.h"
#include "common/linux/PosixAtomicFileWriter.h"
#include "settings/FILEDATA.h"
#include "support/AnsweredAlerts.h"
#include "support/FileText.h"
#include "support/WidgetTestApplication.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QThreadPool>

namespace zentrova {
namespace {

namespace fs = std::filesystem;
using Kind = CardFormatResult::Kind;
using Card = test::SimulatedCard;

constexpr std::uint64_t kGiB = 1ULL << 30;
constexpr int kWaitMs = 20000;
const QString kCannotFormat = "The SD card could not be formatted";
const QString kWriteProtected =
    "The SD card cannot be written. Check that it is not write-protected (lock switch) and try again.";

std::string settingsBytes() {
    std::string bytes(500, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 7 + 3) % 251);
    return bytes;
}

class ORVFormatWindowControllerTest : public test::WidgetTest {
protected:
    void SetUp() override { setLogSink([](std::string_view) {}); }
    void TearDown() override {
        // No worker may outlive the simulated system it works on.
        system.release();
        QThreadPool::globalInstance()->waitForDone();
        delete window.data();
        setLogSink({});
    }

    // Opens the window and waits for its first search.
    void open() {
        ORVFormatWindowController::Services services;
        services.volumes = system.volumes;
        services.runner = system.runner;
        services.writer = std::make_shared<PosixAtomicFileWriter>();
        services.mkfsProgram = test::SimulatedCardSystem::kMkfs;
        services.temporaryFolder = system.dir().path() / "tmp";
        window = new ORVFormatWindowController(services, nullptr);
        QSignalSpy loaded(window.data(), &ORVFormatWindowController::volumesLoaded);
        window->show();
        ASSERT_TRUE(loaded.wait(kWaitMs));
    }

    QMessageBox* confirmation() const { return window->findChild<QMessageBox*>("formatConfirmation"); }

    // Presses Format and answers the question; true when a question came.
    bool pressFormat(bool erase) {
        window->findChild<QPushButton*>("formatButton")->click();
        QMessageBox* question = confirmation();
        if (!question) return false;
        question->findChild<QPushButton*>(erase ? "eraseButton" : "keepButton")->click();
        return true;
    }

    // Formats the selected card and waits for the result.
    std::optional<Kind> format() {
        QSignalSpy ended(window.data(), &ORVFormatWindowController::formatEnded);
        if (!pressFormat(true) || !ended.wait(kWaitMs)) return std::nullopt;
        return ended.first().first().value<Kind>();
    }

    QString field(const char* name) const { return window->findChild<QLabel*>(name)->text(); }

    test::SimulatedCardSystem system;
    QPointer<ORVFormatWindowController> window;
};

TEST_F(ORVFormatWindowControllerTest, TheListShowsEachCardAndTheFieldsDescribeTheSelectedOne) {
    system.addCard(Card::on("sdb1").labelled("ZENTROVA").sized(7948206080ULL));
    system.addCard(Card::on("sdc1").labelled("STICK").withoutModel().sized(2 * kGiB));
    open();
    auto* combo = window->findChild<QComboBox*>("usbDiskCombo");
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(0), "[7.4 GB] ZENTROVA <Card Reader>");
    EXPECT_EQ(combo->itemText(1), "[2.0 GB] STICK ");
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_EQ(field("fileSystemField"), "FAT32");
    EXPECT_EQ(field("pathField"), "sdb1   " + QString::fromStdString(system.card(0).mountFolder.string()));
    EXPECT_EQ(field("allocationUnitField"), "64 KB") << "128 sectors of 512 bytes";
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    EXPECT_EQ(field("allocationUnitField"), "16 KB") << "32 sectors of 512 bytes";
    EXPECT_EQ(field("pathField"), "sdc1   " + QString::fromStdString(system.card(1).mountFolder.string()));
    EXPECT_FALSE(window->isProgressBarShown()) << "the search's bar is gone";
}

struct CommandCase {
    const char* name;
    test::SimulatedCard card;
    std::vector<std::string> lines;
    QString allocationUnit;
    friend void PrintTo(const CommandCase& c, std::ostream* out) { *out << c.name; }
};

class FormatCommandsTest : public ORVFormatWindowControllerTest,
                           public ::testing::WithParamInterface<CommandCase> {};

TEST_P(FormatCommandsTest, RunInTheirOrderWithTheClusterRuleAndTheStepsInTheirs) {
    const CommandCase& c = GetParam();
    system.addCard(c.card, {{"config.bin", settingsBytes()}});
    open();
    EXPECT_EQ(field("allocationUnitField"), c.allocationUnit);
    QSignalSpy messages(window.data(), &ORVFormatWindowController::progressMessageChanged);
    test::AnsweredAlerts alerts(false);
    ASSERT_EQ(format(), Kind::Formatted);

    EXPECT_EQ(system.commandLines(), c.lines);
    for (const auto& call : system.calls()) {
        EXPECT_EQ(call.withAdministratorPrivileges, call.arguments[0] == test::SimulatedCardSystem::kMkfs)
            << "only the format asks for administrator rights";
    }
    QStringList shown;
    for (const QList<QVariant>& message : messages) shown << message.first().toString();
    EXPECT_EQ(shown, (QStringList{"Formatting...", "unmount disk...", "formatting...", "try mount...",
                                  "Format completed!", "Disk searching..."}));
    ASSERT_EQ(alerts.seen.size(), 1u);
    EXPECT_EQ(alerts.seen[0].title, "Formatting complete");
    EXPECT_EQ(alerts.seen[0].message.left(1), "[");
    EXPECT_TRUE(alerts.seen[0].message.contains(" ZENTROVA ")) << "the card under its new label";
}

INSTANTIATE_TEST_SUITE_P(
    Cards, FormatCommandsTest,
    ::testing::Values(
        CommandCase{"PartitionJustBelowSevenGiB",
                    Card::on("sdb1").sized(7516192767ULL),
                    {"udisksctl unmount -b /dev/sdb1",
                     "/usr/sbin/mkfs.fat -F 32 -n ZENTROVA -f 2 -b 6 -R 32 -s 32 -a /dev/sdb1",
                     "udisksctl mount -b /dev/sdb1"},
                    "16 KB"},
        CommandCase{"PartitionOfSevenGiB",
                    Card::on("sdb1").sized(7516192768ULL),
                    {"udisksctl unmount -b /dev/sdb1",
                     "/usr/sbin/mkfs.fat -F 32 -n ZENTROVA -f 2 -b 6 -R 32 -s 128 -a /dev/sdb1",
                     "udisksctl mount -b /dev/sdb1"},
                    "64 KB"},
        CommandCase{"WholeMediumWithItsPartitionsUnmountedFirst",
                    Card::on("sdc").sized(16 * kGiB).wholeMedium({"sdc1", "sdc2"}),
                    {"udisksctl unmount -b /dev/sdc1", "udisksctl unmount -b /dev/sdc2",
                     "udisksctl unmount -b /dev/sdc",
                     "/usr/sbin/mkfs.fat -F 32 -n ZENTROVA -f 2 -b 6 -R 32 -s 128 -a /dev/sdc",
                     "udisksctl mount -b /dev/sdc"},
                    "64 KB"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ORVFormatWindowControllerTest, TheCardsOwnConfigBinComesBackUnchangedAndTheRestIsErased) {
    system.addCard(Card::on("sdb1").labelled("ZENTROVA"),
                   {{"config.bin", settingsBytes()}, {"DCIM/alwa_20240614_093000_F.mp4", "video"}});
    open();
    test::AnsweredAlerts alerts;
    ASSERT_EQ(format(), Kind::Formatted);
    const fs::path folder = system.card().mountFolder;
    EXPECT_EQ(test::fileText(folder / "config.bin"), settingsBytes());
    EXPECT_FALSE(fs::exists(folder / "DCIM")) << "the format erased the recordings";
    EXPECT_TRUE(fs::is_empty(system.dir().path() / "tmp")) << "the kept copy is removed once it is back";
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, kWaitMs))
        << "dismissing the completion closes the window";
}

TEST_F(ORVFormatWindowControllerTest, ACardWithoutConfigBinGetsAFreshResetRecord) {
    system.addCard(Card::on("sdb1"), {{"notes.txt", "x"}});
    open();
    test::AnsweredAlerts alerts;
    ASSERT_EQ(format(), Kind::Formatted);
    const std::string written = test::fileText(system.card().mountFolder / "config.bin");
    ASSERT_EQ(written.size(), 500u);
    EXPECT_EQ(static_cast<unsigned char>(written[0]) | (static_cast<unsigned char>(written[1]) << 8), 22310)
        << "cfg_ver of the reset record";
    EXPECT_EQ(written.substr(2, 2), std::string(2, '\0')) << "checksum 0, as the reset leaves it";
    EXPECT_EQ(written.substr(256, 8), "Zentrova");
    FILEDATA reset;
    resetFileData(reset);
    const FileDataBytes expected = fileDataBytes(reset);
    EXPECT_EQ(written, std::string(expected.begin(), expected.end()));
}

struct AlertCase {
    const char* name;
    test::SimulatedCard card;
    // The word of the command made to fail, its status and error output.
    std::string failing;
    int status;
    std::string errorOutput;
    QString title;
    QString message;
    // Whether anything ran at all.
    bool runsNothing;
    friend void PrintTo(const AlertCase& c, std::ostream* out) { *out << c.name; }
};

class FormatAlertsTest : public ORVFormatWindowControllerTest, public ::testing::WithParamInterface<AlertCase> {};

TEST_P(FormatAlertsTest, EachFailureShowsItsTextAndLeavesTheWindowOpen) {
    const AlertCase& c = GetParam();
    system.addCard(c.card, {{"config.bin", settingsBytes()}});
    if (!c.failing.empty()) system.failNext(c.failing, c.status, c.errorOutput);
    open();
    test::AnsweredAlerts alerts;
    ASSERT_NE(format(), Kind::Formatted);
    ASSERT_EQ(alerts.seen.size(), 1u);
    EXPECT_EQ(alerts.seen[0].title, c.title);
    EXPECT_EQ(alerts.seen[0].message, c.message);
    QTest::qWait(50);
    EXPECT_TRUE(window && window->isVisible()) << "the window stays for another attempt";
    EXPECT_TRUE(window->findChild<QPushButton*>("formatButton")->isEnabled());
    EXPECT_EQ(system.card().mounted, true) << "the card is mounted again";
    EXPECT_EQ(test::fileText(system.card().mountFolder / "config.bin"), settingsBytes()) << "nothing was erased";
    EXPECT_EQ(system.calls().empty(), c.runsNothing);
    for (const std::string& line : system.commandLines()) {
        if (c.failing == "unmount") {
            EXPECT_EQ(line.find("mkfs.fat"), std::string::npos) << "a mounted card is never formatted";
        }
    }
}

const Card kCard = Card::on("sdb1").labelled("ZENTROVA").sized(15931539456ULL);
const QString kCardText = "[15 GB] ZENTROVA <Card Reader>";

INSTANTIATE_TEST_SUITE_P(
    Failures, FormatAlertsTest,
    ::testing::Values(
        AlertCase{"StatusOneIsTheWriteProtection", kCard, "-F", 1, "mkfs.fat: unable to open /dev/sdb1",
                  kCannotFormat, kCardText + "\n" + kWriteProtected, false},
        AlertCase{"OtherStatusesShowTheMessage", kCard, "-F", 3, "mkfs.fat: Read-only file system\n", kCannotFormat,
                  kCardText + "\nError:mkfs.fat: Read-only file system", false},
        AlertCase{"DismissedPasswordRequest", kCard, "-F", 126, "", kCannotFormat,
                  kCardText + "\nError:The request for administrator rights was cancelled.", false},
        AlertCase{"NotAuthorised", kCard, "-F", 127, "", kCannotFormat,
                  kCardText + "\nError:Administrator rights were not granted.", false},
        AlertCase{"FailedUnmountRefusesTheFormat", kCard, "unmount", 1,
                  "Error unmounting /dev/sdb1: target is busy", kCannotFormat,
                  kCardText +
                      "\nsdb1 could not be unmounted, so nothing was formatted. Close every file and window that "
                      "uses the card, then try again.\nError unmounting /dev/sdb1: target is busy",
                  false},
        AlertCase{"ATooSmallVolumeNeverReachesTheFormat",
                  Card::on("sdb1").labelled("TINY").withoutModel().sized(16ULL << 20),
                  "",
                  0,
                  "",
                  kCannotFormat,
                  "[16 MB] TINY \nThe card is too small for the FAT32 file system.",
                  true},
        AlertCase{"ADeviceNameThatIsNotABlockDevice",
                  Card::on("sdb1;reboot").labelled("ZENTROVA").withoutModel(),
                  "",
                  0,
                  "",
                  kCannotFormat,
                  "[16 GB] ZENTROVA \nThe device name of the card is not a plain block-device name.",
                  true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ORVFormatWindowControllerTest, ACardTakenOutAfterTheListWasMadeIsNeitherUnmountedNorFormatted) {
    system.addCard(Card::on("sdb1").labelled("ZENTROVA").withoutModel().sized(16 * kGiB));
    open();
    system.unplug("sdb1");
    test::AnsweredAlerts alerts;
    ASSERT_EQ(format(), Kind::Refused);
    ASSERT_EQ(alerts.seen.size(), 1u);
    EXPECT_EQ(alerts.seen[0].message, "[16 GB] ZENTROVA \nsdb1 is not a block device of this computer.");
    EXPECT_TRUE(system.calls().empty());
}

struct RefusalCase {
    const char* name;
    CardExclusion why;
    QString reason;
    friend void PrintTo(const RefusalCase& c, std::ostream* out) { *out << c.name; }
};

class SystemDiskTest : public ORVFormatWindowControllerTest, public ::testing::WithParamInterface<RefusalCase> {};

// Listed as a card when the window opened; by the time of the format the
// system uses its disk.
TEST_P(SystemDiskTest, ACardOnADiskTheSystemCameToUseIsNeitherUnmountedNorFormatted) {
    const RefusalCase& c = GetParam();
    system.addCard(Card::on("sdb1").labelled("ZENTROVA").sized(16 * kGiB), {{"config.bin", settingsBytes()}});
    open();
    system.refuse("sdb1", c.why);
    test::AnsweredAlerts alerts;
    ASSERT_EQ(format(), Kind::Refused);
    ASSERT_EQ(alerts.seen.size(), 1u);
    EXPECT_EQ(alerts.seen[0].title, kCannotFormat);
    EXPECT_EQ(alerts.seen[0].message, "[16 GB] ZENTROVA <Card Reader>\n" + c.reason);
    EXPECT_TRUE(system.calls().empty()) << "neither unmounted nor formatted";
    EXPECT_EQ(test::fileText(system.card().mountFolder / "config.bin"), settingsBytes());
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, SystemDiskTest,
    ::testing::Values(RefusalCase{"HoldsHome", {CardExclusion::Kind::SystemMount, "/home"},
                                  "sdb1 is on a disk that holds the system's file system /home."},
                      RefusalCase{"StartedFrom", {CardExclusion::Kind::StartMedium, "root=/dev/sdb2"},
                                  "sdb1 is on the disk the system was started from (root=/dev/sdb2)."},
                      RefusalCase{"BacksSwap", {CardExclusion::Kind::Swap, "/dev/sdb2"},
                                  "sdb1 is on a disk that holds the swap space /dev/sdb2."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ORVFormatWindowControllerTest, AFormattedCardThatIsNotMountedAgainGetsNoConfigBinAndTheCopyIsKept) {
    system.addCard(Card::on("sdb1"), {{"config.bin", settingsBytes()}});
    system.failNext("mount", 1, "Error mounting /dev/sdb1: timed out");
    open();
    test::AnsweredAlerts alerts;
    ASSERT_EQ(format(), Kind::CardNotFoundAgain);
    ASSERT_EQ(alerts.seen.size(), 1u);
    EXPECT_EQ(alerts.seen[0].title, "config.bin copy fail");
    EXPECT_TRUE(alerts.seen[0].message.contains("Error mounting /dev/sdb1: timed out")) << "the mount's own reason";
    EXPECT_TRUE(alerts.seen[0].message.contains("The card's settings file was kept at "));
    EXPECT_EQ(window->findChild<QComboBox*>("usbDiskCombo")->count(), 0);
    EXPECT_EQ(window->findChild<QLabel*>("pathField")->text(), "-");
}

TEST_F(ORVFormatWindowControllerTest, ACardThatComesBackUnderAnotherNameGetsNoConfigBinAndTheCopyIsKept) {
    system.addCard(Card::on("sdb1"), {{"config.bin", settingsBytes()}});
    system.comeBackAs("sdd1");
    open();
    test::AnsweredAlerts alerts;
    ASSERT_EQ(format(), Kind::CardNotFoundAgain);
    EXPECT_FALSE(fs::exists(system.card().mountFolder / "config.bin")) << "written to no card at all";
    ASSERT_EQ(alerts.seen.size(), 1u);
    EXPECT_EQ(alerts.seen[0].title, "config.bin copy fail");
    const QString message = alerts.seen[0].message;
    EXPECT_TRUE(message.startsWith("The card was formatted, but sdb1 was not mounted again")) << message.toStdString();
    const QString kept = message.section("The card's settings file was kept at ", 1).chopped(1);
    ASSERT_FALSE(kept.isEmpty()) << message.toStdString();
    EXPECT_EQ(test::fileText(kept.toStdString()), settingsBytes()) << "the copy waits where the alert says";
    EXPECT_EQ(window->findChild<QComboBox*>("usbDiskCombo")->count(), 1) << "the list shows the card as it is now";
}

TEST_F(ORVFormatWindowControllerTest, AWindowClosedDuringTheFormatLetsItFinishAndComesBackWithTheResult) {
    system.addCard(Card::on("sdb1").labelled("ZENTROVA"), {{"config.bin", settingsBytes()}});
    system.holdNext("-F");
    open();
    test::AnsweredAlerts alerts(false);
    QSignalSpy ended(window.data(), &ORVFormatWindowController::formatEnded);
    ASSERT_TRUE(pressFormat(true));
    ASSERT_TRUE(QTest::qWaitFor([&] { return system.isHolding(); }, kWaitMs)) << "the format is running";
    EXPECT_FALSE(window->findChild<QPushButton*>("formatButton")->isEnabled()) << "no second format meanwhile";
    EXPECT_FALSE(window->findChild<QComboBox*>("usbDiskCombo")->isEnabled());
    window->findChild<QPushButton*>("cancelButton")->click();
    QTest::qWait(50);
    ASSERT_FALSE(window.isNull()) << "the window waits for its format";
    EXPECT_FALSE(window->isVisible());
    system.release();
    ASSERT_TRUE(ended.wait(kWaitMs));
    EXPECT_TRUE(window->isVisible()) << "back with the result";
    ASSERT_EQ(alerts.seen.size(), 1u);
    EXPECT_EQ(alerts.seen[0].title, "Formatting complete");
    EXPECT_EQ(test::fileText(system.card().mountFolder / "config.bin"), settingsBytes());
}

TEST_F(ORVFormatWindowControllerTest, DecliningTheQuestionRunsNothingAndItNamesTheCard) {
    system.addCard(Card::on("sdb1").labelled("ZENTROVA").sized(15931539456ULL), {{"config.bin", settingsBytes()}});
    open();
    test::AnsweredAlerts alerts;
    window->findChild<QPushButton*>("formatButton")->click();
    QMessageBox* question = confirmation();
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(question->windowModality(), Qt::WindowModal);
    const QString asked = question->informativeText();
    for (const QString& part : {QString("ZENTROVA"), QString("15 GB"), QString("Card Reader"), QString("/dev/sdb1"),
                                QString::fromStdString(system.card().mountFolder.string())}) {
        EXPECT_TRUE(asked.contains(part)) << part.toStdString() << " in " << asked.toStdString();
    }
    EXPECT_EQ(question->defaultButton()->objectName(), "keepButton") << "Enter keeps the card";
    question->findChild<QPushButton*>("keepButton")->click();
    QTest::qWait(100);
    EXPECT_TRUE(system.calls().empty());
    EXPECT_TRUE(alerts.seen.empty());
    EXPECT_FALSE(window->isFormatting());
    EXPECT_EQ(test::fileText(system.card().mountFolder / "config.bin"), settingsBytes());
}

TEST_F(ORVFormatWindowControllerTest, PressingFormatWithoutACardTellsWhyAndRunsNothing) {
    struct Case {
        const char* name;
        bool withCard;
        bool writable;
        int selected;
        QString title;
        QString message;
    } cases[] = {
        {"an empty list", false, true, 0, "Zentrova", "There is no USB drive."},
        {"no selection", true, true, -1, "Zentrova", "Please select USB drive."},
        {"a write-protected card", true, false, 0, kCannotFormat, "[16 GB] LOCKED <Card Reader>\n" + kWriteProtected},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::SimulatedCardSystem fresh;
        if (c.withCard) {
            Card card = Card::on("sdb1").labelled("LOCKED");
            card.writable = c.writable;
            fresh.addCard(card);
        }
        ORVFormatWindowController::Services services;
        services.volumes = fresh.volumes;
        services.runner = fresh.runner;
        services.writer = std::make_shared<PosixAtomicFileWriter>();
        services.mkfsProgram = test::SimulatedCardSystem::kMkfs;
        services.temporaryFolder = fresh.dir().path();
        ORVFormatWindowController formatter(services, nullptr);
        QSignalSpy loaded(&formatter, &ORVFormatWindowController::volumesLoaded);
        ASSERT_TRUE(loaded.wait(kWaitMs));
        formatter.findChild<QComboBox*>("usbDiskCombo")->setCurrentIndex(c.selected);
        test::AnsweredAlerts alerts;
        formatter.findChild<QPushButton*>("formatButton")->click();
        EXPECT_EQ(formatter.findChild<QMessageBox*>("formatConfirmation"), nullptr) << "no question is asked";
        ASSERT_EQ(alerts.seen.size(), 1u);
        EXPECT_EQ(alerts.seen[0].title, c.title);
        EXPECT_EQ(alerts.seen[0].message, c.message);
        QTest::qWait(20);
        EXPECT_TRUE(fresh.calls().empty());
    }
}

TEST_F(ORVFormatWindowControllerTest, EscapeClosesTheWindowAndRunsNothing) {
    system.addCard(Card::on("sdb1").labelled("ZENTROVA"), {{"config.bin", settingsBytes()}});
    open();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.data()));
    QTest::keyClick(window->findChild<QComboBox*>("usbDiskCombo"), Qt::Key_Escape);
    EXPECT_TRUE(window.isNull() || !window->isVisible());
    EXPECT_TRUE(system.calls().empty());
}

}  // namespace
}  // namespace zentrova
