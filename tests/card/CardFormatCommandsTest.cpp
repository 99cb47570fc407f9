#include "card/CardFormatCommands.h"

#include "ListedVolumes.h"

#include "card/CommandLineSplitter.h"
#include "card/linux/LinuxCommandRunner.h"
#include "card/linux/SystemPrograms.h"
#include "common/Localization.h"
#include "common/Log.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

namespace zentrova {
namespace {
namespace fs = std::filesystem;

constexpr std::uint64_t kGiB = 1ULL << 30;
constexpr std::uint64_t kMiB = 1ULL << 20;

TKUSBDiskEntity card(const std::string& device, std::uint64_t size, bool whole = false) {
    return TKUSBDiskEntity("ZENTROVA", "/media/u/ZENTROVA", device, std::nullopt, size, true, whole, "k");
}

// A source that lists one card in a USB reader.
test::ListedVolumes sourceWith(const TKUSBDiskEntity& volume, const std::vector<std::string>& partitions = {}) {
    test::ListedVolumes source;
    source.volumes.push_back({volume.mountedURL(), std::string("USB"), volume});
    source.partitions[volume.deviceFilePath()] = partitions;
    return source;
}

CardFormatPlan planFor(const TKUSBDiskEntity& volume, const std::vector<std::string>& partitions = {},
                       std::string_view mkfs = "/usr/sbin/mkfs.fat") {
    test::ListedVolumes source = sourceWith(volume, partitions);
    setLogSink([](std::string_view) {});
    CardFormatPlan plan = cardFormatCommands(source, volume.deviceFilePath(), std::nullopt, mkfs);
    setLogSink({});
    return plan;
}

std::vector<std::string> commandLines(const CardFormatPlan& plan) {
    std::vector<std::string> lines;
    for (const CardCommand& command : plan.commands->inOrder()) lines.push_back(command.commandLine);
    return lines;
}

TEST(ClusterSizeTest, SevenGibibytesIsTheBoundary) {
    EXPECT_EQ(clusterSizeByVolumeSizeInKB(7516192767ULL), 32);
    EXPECT_EQ(clusterSizeByVolumeSizeInKB(7516192768ULL), 128);
    EXPECT_EQ(formatClusterArgument(7516192767ULL), 32);
    EXPECT_EQ(formatClusterArgument(7516192768ULL), 128);
    EXPECT_EQ(formatClusterArgument(2 * kGiB), 32);
    EXPECT_EQ(formatClusterArgument(15931539456ULL), 128);
}

TEST(ClusterSizeTest, SmallVolumesGetSmallerClustersSoThatTheyStayFat32) {
    EXPECT_EQ(formatClusterArgument(kGiB), 16);
    EXPECT_EQ(formatClusterArgument(300 * kMiB), 8);
    EXPECT_EQ(formatClusterArgument(40 * kMiB), 1);
    EXPECT_FALSE(formatClusterArgument(32 * kMiB).has_value());
    EXPECT_FALSE(formatClusterArgument(0).has_value());
}

TEST(CardFormatCommandsTest, APartitionIsUnmountedFormattedAndMountedInThisOrder) {
    const CardFormatPlan plan = planFor(card("sdb1", 16 * kGiB));
    ASSERT_TRUE(plan.commands);
    EXPECT_EQ(commandLines(plan), (std::vector<std::string>{
                                      "udisksctl unmount -b /dev/sdb1",
                                      "/usr/sbin/mkfs.fat -F 32 -n ZENTROVA -f 2 -b 6 -R 32 -s 128 -a /dev/sdb1",
                                      "udisksctl mount -b /dev/sdb1"}));
    EXPECT_FALSE(plan.commands->unmount[0].withAdministratorPrivileges);
    EXPECT_TRUE(plan.commands->format.withAdministratorPrivileges);
    EXPECT_FALSE(plan.commands->mount.withAdministratorPrivileges);
}

TEST(CardFormatCommandsTest, AWholeMediumHasEveryPartitionUnmounted) {
    const std::vector<std::string> partitions = {"mmcblk0p1", "mmcblk0p2"};
    const CardFormatPlan plan = planFor(card("mmcblk0", 4 * kGiB, true), partitions, "/sbin/mkfs.fat");
    ASSERT_TRUE(plan.commands);
    EXPECT_EQ(commandLines(plan), (std::vector<std::string>{
                                      "udisksctl unmount -b /dev/mmcblk0p1", "udisksctl unmount -b /dev/mmcblk0p2",
                                      "udisksctl unmount -b /dev/mmcblk0",
                                      "/sbin/mkfs.fat -F 32 -n ZENTROVA -f 2 -b 6 -R 32 -s 32 -a /dev/mmcblk0",
                                      "udisksctl mount -b /dev/mmcblk0"}));
}

TEST(CardFormatCommandsTest, APartitionIgnoresPartitionsOfItsDisk) {
    const std::vector<std::string> partitions = {"sdb2"};
    const CardFormatPlan plan = planFor(card("sdb1", 16 * kGiB), partitions);
    EXPECT_EQ(plan.commands->unmount.size(), 1U);
}

class BadDeviceNameTest : public ::testing::TestWithParam<const char*> {};

TEST_P(BadDeviceNameTest, IsRefused) {
    EXPECT_FALSE(isPlainBlockDeviceName(GetParam()));
    const CardFormatPlan plan = planFor(card(GetParam(), 16 * kGiB));
    EXPECT_FALSE(plan.commands);
    EXPECT_EQ(plan.refusal, CardFormatRefusal::DeviceName);
    EXPECT_FALSE(plan.refusalText.empty());
    const std::vector<std::string> partitions = {GetParam()};
    EXPECT_EQ(planFor(card("sdb", 16 * kGiB, true), partitions).refusal, CardFormatRefusal::DeviceName);
}

INSTANTIATE_TEST_SUITE_P(Names, BadDeviceNameTest,
                         ::testing::Values("", "/dev/sdb1", "sdb/../sda", "..", "sd b", "sdb1;reboot", "sdb1 -I",
                                           "-sdb", "1sdb", "sdb$(x)", "sdb'1", "sdb\"1", "sdb\\1", "sdb\n1",
                                           "sdb_1", "dm-0", "mapper/card", "sdbé",
                                           "abcdefghijklmnopqrstuvwxyz0123456789"));

TEST(CardFormatCommandsTest, PlainNamesAreAccepted) {
    for (const char* name : {"sdb", "sdb1", "mmcblk0p1", "nvme0n1p2", "SDB1"}) {
        EXPECT_TRUE(isPlainBlockDeviceName(name)) << name;
    }
}

TEST(CardFormatCommandsTest, ARelativeOrSplittingProgramPathIsRefused) {
    for (const char* program : {"mkfs.fat", "/usr/s bin/mkfs.fat", "/x'y"}) {
        EXPECT_EQ(planFor(card("sdb1", 16 * kGiB), {}, program).refusal, CardFormatRefusal::ProgramPath);
    }
}

TEST(CardFormatCommandsTest, ATinyVolumeIsRefused) {
    const CardFormatPlan plan = planFor(card("sdb1", 16 * kMiB));
    EXPECT_EQ(plan.refusal, CardFormatRefusal::VolumeTooSmall);
    EXPECT_EQ(plan.refusalText, localized("msg.format_volume_too_small"));
}

struct SizeCase {
    const char* what;
    std::uint64_t cardSize;
    std::optional<std::uint64_t> plannedSize;
    bool planned;
};

TEST(CardFormatCommandsTest, NoVolumeBeyondWhatAnSdCardHoldsIsPlanned) {
    constexpr std::uint64_t kTiB = 1ULL << 40;
    const SizeCase cases[] = {
        {"a 2 TiB card", 2 * kTiB, std::nullopt, true},
        {"a card one byte beyond 2 TiB", 2 * kTiB + 1, std::nullopt, false},
        {"a 4 TiB disk planned as 16 GiB", 4 * kTiB, 16 * kGiB, false},
        {"a 16 GiB card planned as 2 TiB", 16 * kGiB, 2 * kTiB, true},
        {"a 16 GiB card planned one byte beyond 2 TiB", 16 * kGiB, 2 * kTiB + 1, false},
        {"a 16 GiB card planned as the largest 64-bit size", 16 * kGiB, std::numeric_limits<std::uint64_t>::max(),
         false},
    };
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(c.what);
        test::ListedVolumes source = sourceWith(card("sdb1", c.cardSize));
        const CardFormatPlan plan = cardFormatCommands(source, "sdb1", c.plannedSize, "/usr/sbin/mkfs.fat");
        EXPECT_EQ(plan.commands.has_value(), c.planned);
        EXPECT_EQ(plan.refusal, c.planned ? CardFormatRefusal::None : CardFormatRefusal::VolumeTooLarge);
        if (!c.planned) {
            EXPECT_EQ(plan.refusalText, localized("msg.format_volume_too_large"));
        }
    }
}

TEST(CardFormatCommandsTest, ThePlannedSizeDecidesTheClusters) {
    test::ListedVolumes source = sourceWith(card("sdb1", 16 * kGiB));
    const CardFormatPlan plan = cardFormatCommands(source, "sdb1", 7516192767ULL, "/usr/sbin/mkfs.fat");
    ASSERT_TRUE(plan.commands);
    EXPECT_TRUE(plan.commands->format.commandLine.ends_with(" -s 32 -a /dev/sdb1"));
}

TEST(CardFormatCommandsTest, ADeviceTheSourceDoesNotListAsACardIsRefusedWithItsReason) {
    test::ListedVolumes source = sourceWith(card("sdb1", 16 * kGiB));
    source.exclusions["vda"] = CardExclusion{CardExclusion::Kind::SystemMount, "/"};
    const CardFormatPlan plan = cardFormatCommands(source, "vda", 274877906944ULL, "/usr/sbin/mkfs.fat");
    EXPECT_FALSE(plan.commands);
    EXPECT_EQ(plan.refusal, CardFormatRefusal::NotACard);
    ASSERT_TRUE(plan.exclusion);
    EXPECT_EQ(plan.exclusion->kind, CardExclusion::Kind::SystemMount);
    EXPECT_EQ(plan.refusalText, fillFormat(localized("msg.card_refused.system_mount_fmt"), {"vda", "/"}));
}

TEST(CardFormatCommandsTest, OnlyVolumesReachedAsCardsArePlanned) {
    for (const char* protocol : {"USB", "SD"}) {
        test::ListedVolumes source;
        source.volumes.push_back({"/media/u/X", std::string(protocol), card("sdb1", 16 * kGiB)});
        EXPECT_TRUE(cardFormatCommands(source, "sdb1", std::nullopt, "/usr/sbin/mkfs.fat").commands) << protocol;
    }
    // Listed as removable, but neither in a USB reader nor in an SD slot,
    // and the source gives no reason: still not a card.
    test::ListedVolumes source;
    source.volumes.push_back({"/media/u/X", std::string("SATA"), card("sdb1", 16 * kGiB)});
    const CardFormatPlan plan = cardFormatCommands(source, "sdb1", std::nullopt, "/usr/sbin/mkfs.fat");
    EXPECT_EQ(plan.refusal, CardFormatRefusal::NotACard);
    EXPECT_EQ(plan.exclusion->kind, CardExclusion::Kind::NotRemovable);
}


std::string firstSector(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes(512, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

std::string fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

unsigned littleEndian(const std::string& bytes, size_t offset, size_t count) {
    unsigned value = 0;
    for (size_t i = count; i-- > 0;) value = value * 256 + static_cast<unsigned char>(bytes[offset + i]);
    return value;
}

// Runs the real mkfs.fat with the format's own arguments on an image file in
// place of the device, and reads the result back as other systems will.
class FormatImageTest : public ::testing::TestWithParam<std::uint64_t> {
protected:
    void SetUp() override {
        ::setenv("MTOOLS_SKIP_CHECK", "1", 1);
        setLogSink([](std::string_view) {});
    }
    void TearDown() override { setLogSink({}); }

    // The argument vector of the format step with the image in place of /dev/X.
    std::vector<std::string> formatArguments(const fs::path& image, long long& sectorsPerCluster) {
        const auto mkfs = findSystemProgram("mkfs.fat");
        EXPECT_TRUE(mkfs) << "mkfs.fat (dosfstools) is not installed";
        if (!mkfs) return {};
        const CardFormatPlan plan = planFor(card("sdb1", GetParam()), {}, *mkfs);
        EXPECT_TRUE(plan.commands);
        if (!plan.commands) return {};
        sectorsPerCluster = *formatClusterArgument(GetParam());
        auto arguments = *splitCommandLine(plan.commands->format.commandLine);
        EXPECT_EQ(arguments.back(), "/dev/sdb1");
        arguments.back() = image.string();
        return arguments;
    }

    static std::string quoted(const std::vector<std::string>& arguments) {
        std::string line;
        for (const std::string& argument : arguments) line += (line.empty() ? "'" : " '") + argument + "'";
        return line;
    }

    test::TempDir m_dir;
    LinuxCommandRunner m_runner;
};

TEST_P(FormatImageTest, MakesTheCamerasFileSystemAndKeepsConfigBin) {
    const fs::path image = m_dir.path() / "card.img";
    std::ofstream(image).close();
    fs::resize_file(image, GetParam());
    long long sectorsPerCluster = 0;
    const auto arguments = formatArguments(image, sectorsPerCluster);
    ASSERT_FALSE(arguments.empty());
    ASSERT_TRUE(m_runner.runShellScript(quoted(arguments), false).empty());

    const std::string boot = firstSector(image);
    EXPECT_EQ(littleEndian(boot, 11, 2), 512U);
    EXPECT_EQ(littleEndian(boot, 13, 1), static_cast<unsigned>(sectorsPerCluster));
    EXPECT_EQ(littleEndian(boot, 14, 2), 32U) << "reserved sectors";
    EXPECT_EQ(littleEndian(boot, 16, 1), 2U) << "FATs";
    EXPECT_EQ(littleEndian(boot, 50, 2), 6U) << "backup boot sector";
    EXPECT_EQ(boot.substr(71, 11), "ZENTROVA   ");
    EXPECT_EQ(boot.substr(82, 8), "FAT32   ");
    EXPECT_EQ(static_cast<unsigned char>(boot[510]), 0x55);
    EXPECT_EQ(static_cast<unsigned char>(boot[511]), 0xAA);

    std::string config(500, '\0');
    for (size_t i = 0; i < config.size(); ++i) config[i] = static_cast<char>((i * 37 + 11) & 0xFF);
    const fs::path in = m_dir.touch("config.bin", config);
    const fs::path out = m_dir.path() / "back.bin";
    const std::string img = "'" + image.string() + "'";
    ASSERT_TRUE(m_runner.runShellScript("mcopy -i " + img + " '" + in.string() + "' ::config.bin", false).empty());
    ASSERT_TRUE(m_runner.runShellScript("mcopy -i " + img + " ::config.bin '" + out.string() + "'", false).empty());
    EXPECT_EQ(fileBytes(out), config);
    EXPECT_TRUE(m_runner.runShellScript("mtype -i " + img + " ::config.bin", false).empty());
}

// 300 MiB takes smaller clusters than the rule; 2 GiB and 8 GiB show the
// rule's 32 and 128 sectors per cluster.
INSTANTIATE_TEST_SUITE_P(Sizes, FormatImageTest, ::testing::Values(300 * kMiB, 2 * kGiB, 8 * kGiB));

// Why small volumes need smaller clusters: with the rule's 32 sectors a
// 300 MiB "FAT32" has too few clusters, and mtools reads it as FAT16.
TEST(FormatImageEvidence, TheRuleAloneMakesASmallCardUnreadable) {
    const auto mkfs = findSystemProgram("mkfs.fat");
    ASSERT_TRUE(mkfs);
    setLogSink([](std::string_view) {});
    ::setenv("MTOOLS_SKIP_CHECK", "1", 1);
    test::TempDir dir;
    const fs::path image = dir.path() / "small.img";
    std::ofstream(image).close();
    fs::resize_file(image, 300 * kMiB);
    LinuxCommandRunner runner;
    EXPECT_TRUE(
        runner.runShellScript(*mkfs + " -F 32 -n ZENTROVA -f 2 -b 6 -R 32 -s 32 '" + image.string() + "'", false)
            .empty());
    const fs::path in = dir.touch("config.bin", std::string(500, 'x'));
    EXPECT_FALSE(
        runner.runShellScript("mcopy -i '" + image.string() + "' '" + in.string() + "' ::config.bin", false).empty());
    setLogSink({});
}

TEST(SystemProgramsTest, FindsMkfsOutsideAUsersPath) {
    const char* path = std::getenv("PATH");
    const std::string old = path ? path : "";
    ::setenv("PATH", "/usr/local/bin:/usr/bin:/bin", 1);
    const auto mkfs = findSystemProgram("mkfs.fat");
    ::setenv("PATH", old.c_str(), 1);
    ASSERT_TRUE(mkfs);
    EXPECT_TRUE(*mkfs == "/usr/sbin/mkfs.fat" || *mkfs == "/sbin/mkfs.fat") << *mkfs;
    EXPECT_FALSE(findSystemProgram("zentrova-no-such-program").has_value());
}

}  // namespace
}  // namespace zentrova
