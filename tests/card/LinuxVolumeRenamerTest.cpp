#include "card/linux/LinuxVolumeRenamer.h"

#include "FakeSystemTree.h"
#include "card/linux/LinuxCommandRunner.h"
#include "RecordingCommandRunner.h"
#include "common/Localization.h"
#include "common/Log.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
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
        const std::map<std::string, std::string> udev = {
            {"ID_BUS", "usb"}, {"ID_FS_LABEL", "NO_NAME"}, {"ID_FS_TYPE", c.fileSystem}};
        m_tree.addPartition("sdb", Device{"sdb1", 8, 17, 15558144, false, false, udev}, 1);
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

extern "C" char** environ;

pid_t spawn(const std::vector<std::string>& arguments, int outputFd = -1) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (outputFd >= 0) posix_spawn_file_actions_adddup2(&actions, outputFd, STDOUT_FILENO);
    pid_t pid = -1;
    if (::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// The real gdbus against a stand-in for UDisks2 on a private bus, so that
// the argument vector is shown to reach the service as a label and options.
class LinuxVolumeRenamerBusTest : public ::testing::Test {
protected:
    void SetUp() override {
        setLogSink([](std::string_view) {});
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        m_daemon = spawn({"/usr/bin/dbus-daemon", "--session", "--nofork", "--print-address=1"}, fds[1]);
        ::close(fds[1]);
        ASSERT_GT(m_daemon, 0) << "dbus-daemon (package dbus) is needed";
        std::string address;
        char c = 0;
        while (::read(fds[0], &c, 1) == 1 && c != '\n') address += c;
        ::close(fds[0]);
        ASSERT_FALSE(address.empty());
        ::setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
        ::setenv("DBUS_SYSTEM_BUS_ADDRESS", address.c_str(), 1);

        m_tree.addDisk("usb1/host6", Device{"sdb", 8, 16, 15560000, false, true, {{"ID_BUS", "usb"}}});
        m_tree.addPartition("sdb", Device{"sdb1", 8, 17, 15558144, false, false, {{"ID_FS_TYPE", "vfat"}}}, 1);
    }

    void TearDown() override {
        if (m_standIn > 0) {
            ::kill(m_standIn, SIGTERM);
            ::waitpid(m_standIn, nullptr, 0);
        }
        if (m_daemon > 0) {
            ::kill(m_daemon, SIGTERM);
            ::waitpid(m_daemon, nullptr, 0);
        }
        ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
        ::unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
        setLogSink({});
    }

    bool startStandIn(bool refuse) {
        const std::string script = std::string(ZENTROVA_SOURCE_DIR) + "/tests/card/udisks_standin.py";
        std::vector<std::string> arguments = {"/usr/bin/python3", script, received().string(), ready().string()};
        if (refuse) arguments.push_back("refuse");
        m_standIn = spawn(arguments);
        // Waits for the service to own its name; not a measurement.
        for (int i = 0; i < 300 && m_standIn > 0; ++i) {
            if (std::filesystem::exists(ready())) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }

    std::optional<std::string> rename() {
        LinuxCommandRunner runner;
        // Without fatlabel, so that only the bus call can rename.
        LinuxVolumeRenamer renamer(runner, {m_tree.root(), [](const std::filesystem::path&) { return true; },
                                            std::nullopt});
        const TKUSBDiskEntity card("NO_NAME", "/media/u/NO_NAME", "sdb1", std::nullopt, 1ULL << 33, true, false, "k");
        return renamer.setVolumeName(card, "ZENTROVA");
    }

    std::string receivedText() const {
        std::ifstream in(received());
        std::string line;
        std::getline(in, line);
        return line;
    }

    std::filesystem::path received() const { return m_tree.dir().path() / "received"; }
    std::filesystem::path ready() const { return m_tree.dir().path() / "ready"; }

    test::FakeSystemTree m_tree;
    pid_t m_daemon = -1;
    pid_t m_standIn = -1;
};

TEST_F(LinuxVolumeRenamerBusTest, TheServiceGetsTheNameAndIsToldNotToAskForAPassword) {
    ASSERT_TRUE(startStandIn(false)) << "the stand-in needs python3-dbus and python3-gi";
    EXPECT_EQ(rename(), std::nullopt);
    EXPECT_EQ(receivedText(), "ZENTROVA|auth.no_user_interaction=True");
}

TEST_F(LinuxVolumeRenamerBusTest, TheServicesRefusalIsTheReason) {
    ASSERT_TRUE(startStandIn(true));
    const auto error = rename();
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("NotAuthorizedCanObtain"), std::string::npos) << *error;
}

}  // namespace
}  // namespace zentrova
