#include "card/linux/LinuxVolumeRenamer.h"

#include "FakeSystemTree.h"
#include "RecordingCommandRunner.h"
#include "common/Localization.h"
#include "common/Log.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace zentrova {
namespace {

using Device = test::FakeSystemTree::Device;
using Arguments = std::vector<std::string>;

const Arguments kUdisksCall = {"gdbus", "call", "--system", "--dest", "org.freedesktop.UDisks2", "--object-path",
                               "/org/freedesktop/UDisks2/block_devices/sdb1", "--method",
                               "org.freedesktop.UDisks2.Filesystem.SetLabel", "'ZENTROVA'",
                               "{'auth.no_user_interaction': <true>}"};
const Arguments kFatlabelCall = {"/usr/sbin/fatlabel", "/dev/sdb1", "ZENTROVA"};

struct RenameCase {
    const char* name;
    std::string fileSystem;
    // Where the card is mounted; empty for not mounted.
    std::string mountPoint;
    bool deviceWritable;
    std::vector<CommandOutcome> outcomes;
    std::vector<Arguments> expectedCalls;
    bool renamed;
    // A part of the reason when not renamed.
    std::string reason;
};

void PrintTo(const RenameCase& c, std::ostream* out) { *out << c.name; }

const CommandOutcome kNotAuthorized = test::RecordingCommandRunner::failure(
    1, "Error: GDBus.Error:org.freedesktop.UDisks2.Error.NotAuthorizedCanObtain: Not authorized to perform operation");
const CommandOutcome kNoPermission = test::RecordingCommandRunner::failure(6, "open: Permission denied");

class LinuxVolumeRenamerTest : public ::testing::TestWithParam<RenameCase> {
protected:
    void SetUp() override { setLogSink([](std::string_view) {}); }
    void TearDown() override { setLogSink({}); }

    std::optional<std::string> rename(const RenameCase& c, test::RecordingCommandRunner& runner) {
        m_tree.addDisk("usb1/host6", Device{"sdb", 8, 16, 15560000, false, true, {{"ID_BUS", "usb"}}});
        m_tree.addPartition("sdb", Device{"sdb1", 8, 17, 15558144, false, false,
                                          {{"ID_BUS", "usb"}, {"ID_FS_LABEL", "NO_NAME"}, {"ID_FS_TYPE", c.fileSystem}}},
                            1);
        if (!c.mountPoint.empty()) m_tree.mount("sdb1", 8, 17, c.mountPoint, c.fileSystem);
        for (const CommandOutcome& outcome : c.outcomes) runner.outcomes.push_back(outcome);
        LinuxVolumeRenamer::Options options;
        options.root = m_tree.root();
        options.canWriteDevice = [&](const std::filesystem::path& node) {
            m_checkedNodes.push_back(node);
            return c.deviceWritable;
        };
        options.fatlabelProgram = "/usr/sbin/fatlabel";
        LinuxVolumeRenamer renamer(runner, options);
        const TKUSBDiskEntity card("NO_NAME", m_tree.root() + "/media/u/NO_NAME", "sdb1", std::nullopt,
                                   15558144ULL * 512, true, false, "k");
        return renamer.setVolumeName(card, "ZENTROVA");
    }

    test::FakeSystemTree m_tree;
    std::vector<std::filesystem::path> m_checkedNodes;
};

TEST_P(LinuxVolumeRenamerTest, RenamesOnlyWithoutPasswordAndWithoutUnmounting) {
    const RenameCase& c = GetParam();
    test::RecordingCommandRunner runner;
    const auto error = rename(c, runner);
    std::vector<Arguments> calls;
    for (const auto& call : runner.calls) {
        EXPECT_FALSE(call.withAdministratorPrivileges) << "nothing may ask for a password";
        calls.push_back(call.arguments);
    }
    EXPECT_EQ(calls, c.expectedCalls);
    EXPECT_EQ(!error.has_value(), c.renamed) << error.value_or("");
    if (error) {
        EXPECT_NE(error->find(c.reason), std::string::npos) << *error;
    }
    for (const auto& node : m_checkedNodes) EXPECT_EQ(node, m_tree.dir().path() / "dev" / "sdb1");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LinuxVolumeRenamerTest,
    ::testing::Values(
        RenameCase{"AMountedFatCardIsLeftAsItIs", "vfat", "/media/u/NO_NAME", true, {}, {}, false,
                   "it is mounted at /media/u/NO_NAME"},
        RenameCase{"AnUnmountedCardGoesThroughUdisks", "vfat", "", true, {}, {kUdisksCall}, true, ""},
        RenameCase{"FatlabelWhenUdisksRefusesAndTheDeviceIsWritable", "vfat", "", true, {kNotAuthorized},
                   {kUdisksCall, kFatlabelCall}, true, ""},
        RenameCase{"NoFatlabelWithoutWriteAccess", "vfat", "", false, {kNotAuthorized}, {kUdisksCall}, false,
                   "Not authorized to perform operation"},
        RenameCase{"BothReasonsWhenBothFail", "vfat", "", true, {kNotAuthorized, kNoPermission},
                   {kUdisksCall, kFatlabelCall}, false, "Not authorized to perform operation; fatlabel: open: "
                                                        "Permission denied"},
        RenameCase{"AMountedExt4VolumeIsRenamedInPlace", "ext4", "/media/u/NO_NAME", true, {}, {kUdisksCall}, true,
                   ""},
        RenameCase{"NoFatlabelForAnotherFileSystem", "exfat", "", true, {kNotAuthorized}, {kUdisksCall}, false,
                   "Not authorized"}),
    [](const ::testing::TestParamInfo<RenameCase>& info) { return std::string(info.param.name); });

TEST(LinuxVolumeRenamerRefusals, NothingRunsForABadDeviceOrName) {
    test::RecordingCommandRunner runner;
    test::TempDir root;
    LinuxVolumeRenamer renamer(runner, {root.path(), [](const std::filesystem::path&) { return true; },
                                        std::string("/usr/sbin/fatlabel")});
    const auto volume = [](const std::string& device) {
        return TKUSBDiskEntity("X", "/media/u/X", device, std::nullopt, 1ULL << 33, true, false, "k");
    };
    EXPECT_EQ(renamer.setVolumeName(volume("sdb1;reboot"), "ZENTROVA"), localized("msg.format_bad_device_name"));
    for (const char* name : {"", "zentrova", "ZENTROVA CARD", " ZENTROVA", "ZEN'TROVA", "ZEN/TROVA"}) {
        EXPECT_TRUE(renamer.setVolumeName(volume("sdb1"), name).has_value()) << name;
    }
    EXPECT_TRUE(runner.calls.empty());
}

}  // namespace
}  // namespace zentrova
