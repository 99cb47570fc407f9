#include "cli/CliCommand.h"
#include "cli/FormatPlanCommand.h"
#include "cli/VolumesCommand.h"

#include "card/FakeSystemTree.h"
#include "common/Log.h"

#include <gtest/gtest.h>

#include <sstream>

namespace zentrova {
namespace {

using Device = test::FakeSystemTree::Device;

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result run(int (*command)(std::span<const std::string>, std::ostream&, std::ostream&),
           std::vector<std::string> args) {
    std::ostringstream out;
    std::ostringstream err;
    setLogSink([](std::string_view) {});
    const int status = command(args, out, err);
    setLogSink({});
    return {status, out.str(), err.str()};
}

std::string firstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

const std::map<std::string, std::string> kUsb = {{"ID_BUS", "usb"}, {"ID_MODEL", "Card_Reader"}};

class VolumesCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_tree.addDisk("usb1/host6", Device{"sdb", 8, 16, 15560000, false, true, kUsb});
        m_tree.addPartition("sdb", Device{"sdb1", 8, 17, 15558144, true, false, {{"ID_FS_LABEL", "ZENTROVA"}}}, 1);
        m_tree.mount("sdb1", 8, 17, "/media/u/ZENTROVA");
        m_tree.addDisk("usb2/host7", Device{"sdc", 8, 32, 2097152, false, true, kUsb});
        m_tree.addPartition("sdc", Device{"sdc1", 8, 33, 2097152, false, false, {{"ID_FS_LABEL", "STICK"}}}, 1);
        m_tree.mount("sdc1", 8, 33, "/media/u/STICK");
    }
    test::FakeSystemTree m_tree;
};

TEST_F(VolumesCommandTest, JsonListsTheVolumesAndTheChoice) {
    const Result result = run(runVolumesCommand, {"--json", "--root", m_tree.root()});
    EXPECT_EQ(result.status, kExitOk);
    const std::string root = m_tree.root();
    EXPECT_EQ(result.out,
              "{\"volumes\":[{\"volumeName\":\"ZENTROVA\",\"mountedURL\":\"" + root +
                  "/media/u/ZENTROVA\",\"deviceFilePath\":\"sdb1\",\"deviceModel\":\"Card_Reader\","
                  "\"volumeSize\":7965769728,\"writable\":false,\"mediaWhole\":false,"
                  "\"key\":\"/devices/usb1/host6/block/sdb/sdb1\","
                  "\"displayString\":\"[7.4 GB] ZENTROVA <Card_Reader>\"},"
                  "{\"volumeName\":\"STICK\",\"mountedURL\":\"" + root +
                  "/media/u/STICK\",\"deviceFilePath\":\"sdc1\",\"deviceModel\":\"Card_Reader\","
                  "\"volumeSize\":1073741824,\"writable\":true,\"mediaWhole\":false,"
                  "\"key\":\"/devices/usb2/host7/block/sdc/sdc1\","
                  "\"displayString\":\"[1.0 GB] STICK <Card_Reader>\"}],"
                  "\"card\":\"sdb1\"}\n");
}

TEST_F(VolumesCommandTest, TheTableNamesTheCard) {
    const Result result = run(runVolumesCommand, {"--root", m_tree.root()});
    EXPECT_EQ(result.status, kExitOk);
    EXPECT_NE(result.out.find("[1.0 GB] STICK <Card_Reader>\n"), std::string::npos);
    EXPECT_NE(result.out.find("card: sdb1 [7.4 GB] ZENTROVA <Card_Reader>\n"), std::string::npos);
}

TEST(VolumesCommandUsage, BadInputIsAUsageError) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--bogus"}, {"extra"}, {"--root", "/no/such/folder"}}) {
        const Result result = run(runVolumesCommand, args);
        EXPECT_EQ(result.status, kExitUsage);
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1);
        EXPECT_TRUE(result.out.empty());
    }
    EXPECT_EQ(firstLine(run(runVolumesCommand, {"--help"}).out), "usage: zentrova-cli volumes [--json]");
}

// A computer whose root file system is on vda, with a card (sdb1, exactly
// 7 GiB) in a USB reader and a card (mmcblk0p1) in its SD slot.
class FormatPlanCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_tree.addDisk("pci0000:00/virtio1", Device{"vda", 254, 0, 536870912, false, false, {}});
        m_tree.addPartition("vda", Device{"vda1", 254, 1, 536000000, false, false, {}}, 1);
        m_tree.mount("vda1", 254, 1, "/", "ext4");
        m_tree.addDisk("usb1/host6", Device{"sdb", 8, 16, 15560000, false, true, kUsb});
        m_tree.addPartition("sdb", Device{"sdb1", 8, 17, 14680064, false, false, {{"ID_FS_LABEL", "ZENTROVA"}}}, 1);
        m_tree.mount("sdb1", 8, 17, "/media/u/ZENTROVA");
        m_tree.addDisk("platform/mmc0", Device{"mmcblk0", 179, 0, 31116288, false, true, {}});
        m_tree.addPartition("mmcblk0", Device{"mmcblk0p1", 179, 1, 31108096, false, false, {}}, 1);
        m_tree.mount("mmcblk0p1", 179, 1, "/media/u/CAM");
    }

    Result plan(std::vector<std::string> args) {
        args.insert(args.begin(), {"--root", m_tree.root()});
        return run(runFormatPlanCommand, args);
    }

    test::FakeSystemTree m_tree;
};

TEST_F(FormatPlanCommandTest, PrintsUnmountFormatMountInOrder) {
    const Result result = plan({"sdb1"});
    EXPECT_EQ(result.status, kExitOk) << result.err;
    std::istringstream lines(result.out);
    std::string unmount, format, mount, rest;
    std::getline(lines, unmount);
    std::getline(lines, format);
    std::getline(lines, mount);
    EXPECT_FALSE(std::getline(lines, rest));
    EXPECT_EQ(unmount, "udisksctl unmount -b /dev/sdb1");
    EXPECT_TRUE(format.starts_with("pkexec /")) << format;
    EXPECT_TRUE(format.ends_with("/mkfs.fat -F 32 -n ZENTROVA -f 2 -b 6 -R 32 -s 128 -a /dev/sdb1")) << format;
    EXPECT_EQ(mount, "udisksctl mount -b /dev/sdb1");
}

TEST_F(FormatPlanCommandTest, JustBelowSevenGibibytesTakes32) {
    const Result result = plan({"mmcblk0p1", "--size", "7516192767"});
    EXPECT_NE(result.out.find(" -s 32 -a /dev/mmcblk0p1\n"), std::string::npos) << result.err;
}

TEST_F(FormatPlanCommandTest, TwoTebibytesIsTheLargestSize) {
    EXPECT_EQ(plan({"sdb1", "--size", "2199023255552"}).status, kExitOk);
    EXPECT_EQ(plan({"sdb1", "--size", "2199023255553"}).status, kExitUsage);
}

TEST(FormatPlanWholeDiskTest, AWholeDiskUnmountsItsPartitions) {
    test::FakeSystemTree tree;
    tree.addDisk("usb1/host6", Device{"sdb", 8, 16, 15560000, false, true, kUsb});
    tree.addPartition("sdb", Device{"sdb2", 8, 18, 1000, false, false, {}}, 2);
    tree.addPartition("sdb", Device{"sdb1", 8, 17, 1000, false, false, {}}, 1);
    tree.mount("sdb", 8, 16, "/media/u/ZENTROVA");
    const Result result = run(runFormatPlanCommand, {"sdb", "--root", tree.root()});
    EXPECT_EQ(result.status, kExitOk) << result.err;
    EXPECT_TRUE(result.out.starts_with("udisksctl unmount -b /dev/sdb1\nudisksctl unmount -b /dev/sdb2\n"
                                       "udisksctl unmount -b /dev/sdb\npkexec "))
        << result.out;
    EXPECT_TRUE(result.out.ends_with(" -s 128 -a /dev/sdb\nudisksctl mount -b /dev/sdb\n")) << result.out;
}

struct RefusedPlan {
    std::vector<std::string> args;
    // A part of the one error line.
    std::string reason;
};

TEST_F(FormatPlanCommandTest, BadInputIsAUsageErrorAndPrintsNoPlan) {
    const std::vector<RefusedPlan> cases = {
        {{}, "a device name is required"},
        {{"--size", "100000000000"}, "a device name is required"},
        {{"vda", "--size", "274877906944"}, "vda is on a disk that holds the system's file system /."},
        {{"vda1"}, "vda1 is on a disk that holds the system's file system /."},
        {{"sdb"}, "sdb is on a disk that has another volume mounted, /media/u/ZENTROVA."},
        {{"sdz", "--size", "100000000000"}, "sdz is not a block device of this computer."},
        {{"/dev/sdb1", "--size", "100000000000"}, "not a plain block-device name"},
        {{"../sda", "--size", "100000000000"}, "not a plain block-device name"},
        {{"sdb1;reboot", "--size", "100000000000"}, "not a plain block-device name"},
        {{"sdb 1", "--size", "100000000000"}, "not a plain block-device name"},
        {{"sdb1", "--size", "-5"}, "whole number of bytes"},
        {{"sdb1", "--size", "12GB"}, "whole number of bytes"},
        {{"sdb1", "--size", "99999999999999999999999"}, "whole number of bytes"},
        {{"sdb1", "--size", "18446744073709551615"}, "larger than 2 TiB"},
        {{"sdb1", "--size"}, "needs a byte count"},
        {{"sdb1", "--size", "1000"}, "too small"},
        {{"sdb1", "sdc1", "--size", "100000000000"}, "only one device name"},
        {{"sdb1", "--whole"}, "unknown option --whole"},
        {{"sdb1", "--size", "100000000000", "--bogus"}, "unknown option --bogus"},
    };
    for (const RefusedPlan& c : cases) {
        const Result result = plan(c.args);
        SCOPED_TRACE(::testing::PrintToString(c.args));
        EXPECT_EQ(result.status, kExitUsage);
        EXPECT_TRUE(result.out.empty());
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1);
        EXPECT_NE(result.err.find(c.reason), std::string::npos) << result.err;
    }
    EXPECT_TRUE(run(runFormatPlanCommand, {"--help"}).out.starts_with("usage: zentrova-cli format-plan"));
}

TEST(CliCommandsTest, TheCardCommandsAreRegistered) {
    int found = 0;
    for (const CliCommand& command : cliCommands()) {
        if (command.name == "volumes" || command.name == "format-plan") ++found;
    }
    EXPECT_EQ(found, 2);
}

}  // namespace
}  // namespace zentrova
