#include "card/linux/LinuxVolumeSource.h"

#include "FakeSystemTree.h"
#include "card/MountInfo.h"
#include "card/UdevRecord.h"
#include "card/UsbVolumes.h"

#include <gtest/gtest.h>

#include <functional>

namespace zentrova {
namespace {

using Device = test::FakeSystemTree::Device;

const std::map<std::string, std::string> kUsbDisk = {{"ID_BUS", "usb"}, {"ID_MODEL", "Card_Reader"},
                                                     {"ID_MODEL_ENC", "Card\\x20Reader\\x20\\x20"}};

Device usbPartition(const std::string& name, unsigned minor, const std::string& label) {
    return Device{name, 8, minor, 15558144, false, false,
                  {{"ID_BUS", "usb"}, {"ID_FS_LABEL", label}, {"ID_FS_TYPE", "vfat"}}};
}

class LinuxVolumeSourceTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The system disk: root and home on partitions of an internal disk.
        m_tree.addDisk("pci0000:00/ata1/host0", Device{"sda", 8, 0, 1000215216, false, false, {{"ID_BUS", "ata"}}});
        m_tree.addPartition("sda", Device{"sda1", 8, 1, 999999999, false, false, {{"ID_BUS", "ata"}}}, 1);
        m_tree.addPartition("sda", Device{"sda2", 8, 2, 1000000, false, false, {{"ID_BUS", "ata"}}}, 2);
        m_tree.mountVirtual("/proc", "proc");
        m_tree.mount("sda1", 8, 1, "/", "ext4");
        m_tree.mountVirtual("/tmp", "tmpfs");
    }

    std::vector<RemovableVolume> volumes() { return LinuxVolumeSource(m_tree.root()).removableVolumes(); }
    std::string under(const std::string& path) const { return m_tree.root() + path; }

    test::FakeSystemTree m_tree;
};

TEST_F(LinuxVolumeSourceTest, DescribesAUsbCardPartition) {
    m_tree.addDisk("pci0000:00/usb1/1-1/host6", Device{"sdb", 8, 16, 15560000, false, true, kUsbDisk},
                   "Card Reader");
    m_tree.addPartition("sdb", usbPartition("sdb1", 17, "ZENTROVA"), 1);
    m_tree.mount("sdb1", 8, 17, "/media/user/ZENTROVA");

    const auto found = volumes();
    ASSERT_EQ(found.size(), 1U);
    EXPECT_EQ(found[0].mountedURL, under("/media/user/ZENTROVA"));
    EXPECT_EQ(found[0].deviceProtocol, std::optional<std::string>("USB"));
    ASSERT_TRUE(found[0].description);
    const TKUSBDiskEntity& card = *found[0].description;
    EXPECT_EQ(card.volumeName(), "ZENTROVA");
    EXPECT_EQ(card.mountedURL(), under("/media/user/ZENTROVA"));
    EXPECT_EQ(card.deviceFilePath(), "sdb1");
    EXPECT_EQ(card.deviceModel(), std::optional<std::string>("Card Reader"));
    EXPECT_EQ(card.volumeSize(), 15558144ULL * 512);
    EXPECT_TRUE(card.writable());
    EXPECT_FALSE(card.mediaWhole());
    EXPECT_EQ(card.key(), "/devices/pci0000:00/usb1/1-1/host6/block/sdb/sdb1");
    EXPECT_EQ(card.displayString(), "[7.4 GB] ZENTROVA <Card Reader>");
}

TEST_F(LinuxVolumeSourceTest, AWholeMediumWithoutPartitions) {
    Device stick{"sdc", 8, 32, 2097152, false, false, {{"ID_BUS", "usb"}, {"ID_FS_LABEL", "STICK"}}};
    m_tree.addDisk("pci0000:00/usb2/2-1/host7", stick);
    m_tree.mount(stick, "/media/user/STICK");
    const auto entities = usbDiskEntities(*std::make_unique<LinuxVolumeSource>(m_tree.root()));
    ASSERT_EQ(entities.size(), 1U);
    EXPECT_TRUE(entities[0].mediaWhole());
    EXPECT_EQ(entities[0].deviceFilePath(), "sdc");
    EXPECT_FALSE(entities[0].deviceModel().has_value());
    EXPECT_EQ(entities[0].displayString(), "[1.0 GB] STICK ");
}

TEST_F(LinuxVolumeSourceTest, AWriteProtectedCardIsNotWritable) {
    m_tree.addDisk("usb1/host6", Device{"sdb", 8, 16, 15560000, true, true, kUsbDisk});
    Device locked = usbPartition("sdb1", 17, "ZENTROVA");
    locked.readOnly = true;
    m_tree.addPartition("sdb", locked, 1);
    m_tree.mount(locked, "/media/user/ZENTROVA");
    const auto found = volumes();
    ASSERT_EQ(found.size(), 1U);
    EXPECT_FALSE(found[0].description->writable());
}

TEST_F(LinuxVolumeSourceTest, AReadOnlyDiskMakesItsPartitionsReadOnly) {
    m_tree.addDisk("usb1/host6", Device{"sdb", 8, 16, 15560000, true, true, kUsbDisk});
    m_tree.addPartition("sdb", usbPartition("sdb1", 17, "ZENTROVA"), 1);
    m_tree.mount("sdb1", 8, 17, "/media/user/ZENTROVA");
    EXPECT_FALSE(volumes().at(0).description->writable());
}

TEST_F(LinuxVolumeSourceTest, RemovableButNeitherUsbNorSdIsListedWithoutACardProtocol) {
    // A removable disk on an eSATA port.
    m_tree.addDisk("pci0000:00/ata3/host2", Device{"sdd", 8, 48, 15560000, false, true, {{"ID_BUS", "ata"}}});
    m_tree.addPartition("sdd", Device{"sdd1", 8, 49, 15558144, false, false, {{"ID_FS_LABEL", "CAM"}}}, 1);
    m_tree.mount("sdd1", 8, 49, "/media/user/CAM");
    LinuxVolumeSource source(m_tree.root());
    EXPECT_EQ(removableVolumeURLs(source), std::vector<std::string>{under("/media/user/CAM")});
    EXPECT_TRUE(usbVolumeURLs(source).empty());
    EXPECT_TRUE(usbDiskEntities(source).empty());
    EXPECT_FALSE(chooseCardDisk(source).has_value());
    EXPECT_EQ(source.cardExclusion("sdd1")->kind, CardExclusion::Kind::NotRemovable);
}

struct SlotCase {
    const char* what;
    std::string bus;
    Device disk;
    std::string mmcType;  // the mmc device's "type" attribute, empty for none
    bool isCard;
};

// A card in the computer's own slot is a card like one in a USB reader; the
// built-in eMMC storage, also an mmc device, is not.
TEST_F(LinuxVolumeSourceTest, ACardInABuiltInSlotIsACard) {
    const SlotCase cases[] = {
        {"an SD card in an mmc slot", "platform/mmc0", Device{"mmcblk0", 179, 0, 31116288, false, false, {}}, "SD",
         true},
        {"a removable mmc device", "platform/mmc0", Device{"mmcblk0", 179, 0, 31116288, false, true, {}}, "", true},
        {"a PCI reader that udev marks as an SD slot", "pci0000:00/0000:02:00.0/host3",
         Device{"sde", 8, 64, 31116288, false, false, {{"ID_DRIVE_FLASH_SD", "1"}}}, "", true},
        {"built-in eMMC storage", "platform/mmc1", Device{"mmcblk1", 179, 0, 31116288, false, false, {}}, "MMC",
         false},
    };
    for (const SlotCase& c : cases) {
        SCOPED_TRACE(c.what);
        test::FakeSystemTree tree;
        tree.addDisk(c.bus, c.disk);
        if (!c.mmcType.empty()) tree.setAttribute(c.disk.name, "device/type", c.mmcType);
        tree.setAttribute(c.disk.name, "device/name", "SD32G");
        const std::string partition = c.disk.name.starts_with("mmcblk") ? c.disk.name + "p1" : c.disk.name + "1";
        tree.addPartition(c.disk.name, Device{partition, c.disk.major, c.disk.minor + 1, 31108096, false, false,
                                             {{"ID_FS_LABEL", "ZENTROVA"}}}, 1);
        tree.mount(partition, c.disk.major, c.disk.minor + 1, "/media/user/ZENTROVA");
        LinuxVolumeSource source(tree.root());
        const auto card = chooseCardDisk(source);
        ASSERT_EQ(card.has_value(), c.isCard);
        EXPECT_EQ(source.cardExclusion(partition).has_value(), !c.isCard);
        if (!c.isCard) continue;
        EXPECT_EQ(source.removableVolumes().at(0).deviceProtocol, std::optional<std::string>("SD"));
        EXPECT_EQ(card->deviceFilePath(), partition);
        EXPECT_EQ(card->displayString(), "[15 GB] ZENTROVA <SD32G>");
    }
}

TEST_F(LinuxVolumeSourceTest, AnSdCardHoldingTheRootFileSystemIsNeverACard) {
    test::FakeSystemTree tree;
    tree.addDisk("platform/mmc0", Device{"mmcblk0", 179, 0, 31116288, false, true, {}});
    tree.setAttribute("mmcblk0", "device/type", "SD");
    tree.addPartition("mmcblk0", Device{"mmcblk0p1", 179, 1, 524288, false, false, {{"ID_FS_LABEL", "ZENTROVA"}}}, 1);
    tree.addPartition("mmcblk0", Device{"mmcblk0p2", 179, 2, 30000000, false, false, {}}, 2);
    tree.mount("mmcblk0p2", 179, 2, "/", "ext4");
    tree.mount("mmcblk0p1", 179, 1, "/media/user/ZENTROVA");
    LinuxVolumeSource source(tree.root());
    EXPECT_TRUE(source.removableVolumes().empty());
    const auto exclusion = source.cardExclusion("mmcblk0p1");
    ASSERT_TRUE(exclusion);
    EXPECT_EQ(exclusion->kind, CardExclusion::Kind::SystemMount);
    EXPECT_EQ(exclusion->detail, "/");
}

TEST_F(LinuxVolumeSourceTest, AUsbDeviceCountsAsRemovableWhateverItsFlagSays) {
    m_tree.addDisk("usb1/host6", Device{"sdb", 8, 16, 15560000, false, false, kUsbDisk});
    m_tree.addPartition("sdb", usbPartition("sdb1", 17, "ZENTROVA"), 1);
    m_tree.mount("sdb1", 8, 17, "/media/user/ZENTROVA");
    EXPECT_EQ(LinuxVolumeSource(m_tree.root()).removableVolumes().size(), 1U);
}

TEST_F(LinuxVolumeSourceTest, AnInternalPartitionIsNotRemovable) {
    m_tree.mount("sda2", 8, 2, "/data", "ext4");
    EXPECT_TRUE(volumes().empty());
}

TEST_F(LinuxVolumeSourceTest, AUsbDiskHoldingTheRootFileSystemIsNeverListed) {
    test::FakeSystemTree tree;
    tree.addDisk("usb1/host6", Device{"sdb", 8, 16, 62500000, false, true, kUsbDisk});
    tree.addPartition("sdb", usbPartition("sdb1", 17, "BOOT"), 1);
    tree.addPartition("sdb", usbPartition("sdb2", 18, "rootfs"), 2);
    tree.mount("sdb2", 8, 18, "/", "ext4");
    tree.mount("sdb1", 8, 17, "/boot/firmware");
    tree.addDisk("usb1/host7", Device{"sdc", 8, 32, 15560000, false, true, kUsbDisk});
    tree.addPartition("sdc", usbPartition("sdc1", 33, "ZENTROVA"), 1);
    tree.mount("sdc1", 8, 33, "/media/user/ZENTROVA");
    const auto entities = usbDiskEntities(*std::make_unique<LinuxVolumeSource>(tree.root()));
    ASSERT_EQ(entities.size(), 1U);
    EXPECT_EQ(entities[0].deviceFilePath(), "sdc1");
}

TEST_F(LinuxVolumeSourceTest, AUsbDiskUnderAnEncryptedHomeIsNeverListed) {
    test::FakeSystemTree tree;
    tree.addDisk("usb1/host6", Device{"sdb", 8, 16, 62500000, false, true, kUsbDisk});
    tree.addPartition("sdb", usbPartition("sdb1", 17, "DATA"), 1);
    tree.addPartition("sdb", usbPartition("sdb2", 18, ""), 2);
    tree.addMapped(Device{"dm-0", 254, 0, 1000000, false, false, {}}, "sdb2");
    tree.mount("dm-0", 254, 0, "/home", "ext4");
    tree.mount("sdb1", 8, 17, "/media/user/DATA");
    EXPECT_TRUE(LinuxVolumeSource(tree.root()).removableVolumes().empty());
}

// The card's disk (sdb: sdb1 mounted where the desktop mounts cards, sdb2
// not mounted) and a second card (sdc1) beside it; each case then lets the
// system use the card's disk in one more way.
struct SystemUseCase {
    const char* name;
    std::function<void(test::FakeSystemTree&)> use;
    CardExclusion::Kind kind;
    std::string detail;
};

void PrintTo(const SystemUseCase& c, std::ostream* out) { *out << c.name; }

class SystemDiskTest : public ::testing::TestWithParam<SystemUseCase> {
protected:
    void SetUp() override {
        m_tree.addDisk("pci0000:00/ata1/host0", Device{"sda", 8, 0, 1000215216, false, false, {{"ID_BUS", "ata"}}});
        m_tree.addPartition("sda", Device{"sda1", 8, 1, 999999999, false, false, {{"ID_BUS", "ata"}}}, 1);
        m_tree.mount("sda1", 8, 1, "/", "ext4");
        m_tree.addDisk("usb1/host6", Device{"sdb", 8, 16, 62500000, false, true, kUsbDisk});
        m_tree.addPartition("sdb", usbPartition("sdb1", 17, "ZENTROVA"), 1);
        Device second = usbPartition("sdb2", 18, "ZENLIVE");
        second.udev["ID_FS_UUID"] = "0a1b2c3d-aaaa-bbbb-cccc-0123456789ab";
        m_tree.addPartition("sdb", second, 2);
        m_tree.mount("sdb1", 8, 17, "/media/user/ZENTROVA");
        m_tree.addDisk("usb2/host7", Device{"sdc", 8, 32, 15560000, false, true, kUsbDisk});
        m_tree.addPartition("sdc", usbPartition("sdc1", 33, "OTHER"), 1);
        m_tree.mount("sdc1", 8, 33, "/media/user/OTHER");
    }

    test::FakeSystemTree m_tree;
};

TEST_P(SystemDiskTest, IsNeverACardAndSaysWhy) {
    GetParam().use(m_tree);
    LinuxVolumeSource source(m_tree.root());
    std::vector<std::string> listed;
    for (const TKUSBDiskEntity& volume : usbDiskEntities(source)) listed.push_back(volume.deviceFilePath());
    EXPECT_EQ(listed, std::vector<std::string>{"sdc1"});
    const auto exclusion = source.cardExclusion("sdb1");
    ASSERT_TRUE(exclusion);
    EXPECT_EQ(exclusion->kind, GetParam().kind);
    EXPECT_EQ(exclusion->detail, GetParam().detail);
    EXPECT_FALSE(source.cardExclusion("sdc1").has_value());
}

void mountSecond(test::FakeSystemTree& tree, const std::string& mountPoint, const std::string& type = "ext4") {
    tree.mount("sdb2", 8, 18, mountPoint, type);
}

using Kind = CardExclusion::Kind;

INSTANTIATE_TEST_SUITE_P(
    Uses, SystemDiskTest,
    ::testing::Values(
        SystemUseCase{"Var", [](auto& t) { mountSecond(t, "/var"); }, Kind::SystemMount, "/var"},
        SystemUseCase{"Boot", [](auto& t) { mountSecond(t, "/boot"); }, Kind::SystemMount, "/boot"},
        SystemUseCase{"Usr", [](auto& t) { mountSecond(t, "/usr"); }, Kind::SystemMount, "/usr"},
        SystemUseCase{"EfiSystemPartition", [](auto& t) { mountSecond(t, "/boot/efi", "vfat"); }, Kind::SystemMount,
                      "/boot/efi"},
        SystemUseCase{"Srv", [](auto& t) { mountSecond(t, "/srv"); }, Kind::SystemMount, "/srv"},
        SystemUseCase{"Opt", [](auto& t) { mountSecond(t, "/opt"); }, Kind::SystemMount, "/opt"},
        SystemUseCase{"LiveMedium", [](auto& t) { mountSecond(t, "/run/live/medium", "iso9660"); },
                      Kind::SystemMount, "/run/live/medium"},
        SystemUseCase{"OlderLiveMedium", [](auto& t) { mountSecond(t, "/lib/live/mount/medium", "iso9660"); },
                      Kind::SystemMount, "/lib/live/mount/medium"},
        SystemUseCase{"PersistencePartition", [](auto& t) { mountSecond(t, "/run/live/persistence/sdb2"); },
                      Kind::SystemMount, "/run/live/persistence/sdb2"},
        SystemUseCase{"SwapPartition", [](auto& t) { t.swapOn("/dev/sdb2", "partition"); }, Kind::Swap,
                      "/dev/sdb2"},
        SystemUseCase{"SwapFileOnTheCard",
                      [](auto& t) { t.swapOn("/media/user/ZENTROVA/swap\\040file", "file"); }, Kind::Swap,
                      "/media/user/ZENTROVA/swap file"},
        SystemUseCase{"LiveRootFromALoopFileOnTheCard",
                      [](auto& t) {
                          t.addLoop(Device{"loop0", 7, 0, 4000000, true, false, {}},
                                    "/media/user/ZENTROVA/live/filesystem.squashfs");
                          t.mount("loop0", 7, 0, "/run/live/rootfs/filesystem.squashfs", "squashfs");
                      },
                      Kind::SystemMount, "/run/live/rootfs/filesystem.squashfs"},
        SystemUseCase{"StartedFromTheDiskByLabel",
                      [](auto& t) { t.setKernelCommandLine("boot=live live-media=LABEL=ZENLIVE quiet"); },
                      Kind::StartMedium, "live-media=LABEL=ZENLIVE"},
        SystemUseCase{"StartedFromTheDiskByUuid",
                      [](auto& t) { t.setKernelCommandLine("root=UUID=0A1B2C3D-AAAA-BBBB-CCCC-0123456789AB ro"); },
                      Kind::StartMedium, "root=UUID=0A1B2C3D-AAAA-BBBB-CCCC-0123456789AB"},
        SystemUseCase{"StartedFromTheDiskByName", [](auto& t) { t.setKernelCommandLine("root=/dev/sdb2"); },
                      Kind::StartMedium, "root=/dev/sdb2"},
        SystemUseCase{"EncryptedSystemVolumeOnThePartition",
                      [](auto& t) {
                          t.addMapped(Device{"dm-0", 254, 0, 1000000, false, false, {}}, "sdb2");
                          t.mount("dm-0", 254, 0, "/srv/data", "ext4");
                      },
                      Kind::SystemMount, "/srv/data"},
        SystemUseCase{"BtrfsOnAMappedDeviceNamedOnlyByItsSource",
                      [](auto& t) {
                          t.addMapped(Device{"dm-1", 254, 1, 1000000, false, false, {}}, "sdb2", "vg-data");
                          t.mount("mapper/vg-data", 0, 45, "/data", "btrfs");
                      },
                      Kind::SystemMount, "/data"},
        SystemUseCase{"SwapOnAnLvmVolume",
                      [](auto& t) {
                          t.addMapped(Device{"dm-2", 254, 2, 1000000, false, false, {}}, "sdb2", "vg-swap");
                          t.swapOn("/dev/dm-2", "partition");
                      },
                      Kind::Swap, "/dev/dm-2"},
        SystemUseCase{"AnOpenEncryptedPartitionThatIsNotMounted",
                      [](auto& t) { t.addMapped(Device{"dm-3", 254, 3, 1000000, false, false, {}}, "sdb2"); },
                      Kind::HeldDevice, "dm-3"},
        SystemUseCase{"ASecondVolumeMountedFromTheDisk",
                      [](auto& t) { mountSecond(t, "/media/user/ZENLIVE", "vfat"); }, Kind::OtherMount,
                      "/media/user/ZENLIVE"},
        SystemUseCase{"TheCardAlsoMountedElsewhere", [](auto& t) { t.mount("sdb1", 8, 17, "/mnt/card"); },
                      Kind::SystemMount, "/mnt/card"},
        SystemUseCase{"AFolderOfTheCardBoundElsewhere",
                      [](auto& t) { t.mount("sdb1", 8, 17, "/media/user/DCIM", "vfat", "/DCIM"); },
                      Kind::SystemMount, "/media/user/DCIM"}),
    [](const ::testing::TestParamInfo<SystemUseCase>& info) { return std::string(info.param.name); });

TEST_F(LinuxVolumeSourceTest, TheReasonForADeviceThatIsNoCard) {
    m_tree.addDisk("usb1/host6", Device{"sdb", 8, 16, 15560000, false, true, kUsbDisk});
    m_tree.addPartition("sdb", usbPartition("sdb1", 17, "ZENTROVA"), 1);
    m_tree.mount("sdb1", 8, 17, "/media/user/ZENTROVA");
    LinuxVolumeSource source(m_tree.root());
    EXPECT_EQ(source.cardExclusion("sda1")->kind, CardExclusion::Kind::SystemMount);
    EXPECT_EQ(source.cardExclusion("sda2")->detail, "/") << "a partition of the system disk";
    // Formatting the card's whole disk would take the mounted card with it.
    EXPECT_EQ(source.cardExclusion("sdb")->kind, CardExclusion::Kind::OtherMount);
    EXPECT_EQ(source.cardExclusion("sdb")->detail, "/media/user/ZENTROVA");
    m_tree.addDisk("usb1/host7", Device{"sdd", 8, 48, 15560000, false, true, kUsbDisk});
    m_tree.addPartition("sdd", usbPartition("sdd1", 49, "ZENTROVA"), 1);
    EXPECT_EQ(source.cardExclusion("sdd1")->kind, CardExclusion::Kind::NotMounted);
    EXPECT_EQ(source.cardExclusion("sdz")->kind, CardExclusion::Kind::UnknownDevice);
    EXPECT_EQ(source.cardExclusion("..")->kind, CardExclusion::Kind::UnknownDevice);
    EXPECT_FALSE(source.cardExclusion("sdb1").has_value());
}

TEST_F(LinuxVolumeSourceTest, EscapedMountPointsAndLabels) {
    m_tree.addDisk("usb1/host6", Device{"sdb", 8, 16, 15560000, false, true, kUsbDisk});
    Device part = usbPartition("sdb1", 17, "MY_CARD");
    part.udev["ID_FS_LABEL_ENC"] = "MY\\x20CARD";
    m_tree.addPartition("sdb", part, 1);
    m_tree.mount(part, "/media/user/MY\\040CARD\\134x");
    const auto found = volumes();
    ASSERT_EQ(found.size(), 1U);
    EXPECT_EQ(found[0].mountedURL, under("/media/user/MY CARD\\x"));
    EXPECT_EQ(found[0].description->volumeName(), "MY CARD");
}

TEST_F(LinuxVolumeSourceTest, WithoutALabelTheMountFolderNamesTheVolume) {
    m_tree.addDisk("usb1/host6", Device{"sdb", 8, 16, 15560000, false, true, kUsbDisk});
    Device part{"sdb1", 8, 17, 15558144, false, false, {{"ID_BUS", "usb"}}};
    m_tree.addPartition("sdb", part, 1);
    m_tree.mount(part, "/media/user/1A2B-3C4D");
    EXPECT_EQ(volumes().at(0).description->volumeName(), "1A2B-3C4D");
}

TEST_F(LinuxVolumeSourceTest, AVolumeMountedTwiceAtACardsPlaceIsListedOnce) {
    m_tree.addDisk("usb1/host6", Device{"sdb", 8, 16, 15560000, false, true, kUsbDisk});
    m_tree.addPartition("sdb", usbPartition("sdb1", 17, "ZENTROVA"), 1);
    m_tree.mount("sdb1", 8, 17, "/media/user/ZENTROVA");
    m_tree.mount("sdb1", 8, 17, "/run/media/user/ZENTROVA");
    const auto found = volumes();
    ASSERT_EQ(found.size(), 1U);
    EXPECT_EQ(found[0].mountedURL, under("/media/user/ZENTROVA"));
}

TEST_F(LinuxVolumeSourceTest, NothingIsCached) {
    LinuxVolumeSource source(m_tree.root());
    EXPECT_TRUE(source.removableVolumes().empty());
    m_tree.addDisk("usb1/host6", Device{"sdb", 8, 16, 15560000, false, true, kUsbDisk});
    m_tree.addPartition("sdb", usbPartition("sdb1", 17, "ZENTROVA"), 1);
    m_tree.mount("sdb1", 8, 17, "/media/user/ZENTROVA");
    m_tree.dir().touch("media/user/ZENTROVA/config.bin", std::string(500, '\0'));
    EXPECT_EQ(source.removableVolumes().size(), 1U);
    EXPECT_EQ(usbVolumeURLWithFile(source, "config.bin"), under("/media/user/ZENTROVA"));
    EXPECT_EQ(chooseCardDisk(source)->deviceFilePath(), "sdb1");
}

TEST_F(LinuxVolumeSourceTest, NoMountTableGivesNoVolumes) {
    test::TempDir empty;
    EXPECT_TRUE(LinuxVolumeSource(empty.path()).removableVolumes().empty());
}

TEST_F(LinuxVolumeSourceTest, PartitionNamesInPartitionOrder) {
    m_tree.addDisk("usb1/host6", Device{"sdb", 8, 16, 15560000, false, true, kUsbDisk});
    m_tree.addPartition("sdb", usbPartition("sdb2", 18, "B"), 2);
    m_tree.addPartition("sdb", usbPartition("sdb1", 17, "A"), 1);
    LinuxVolumeSource source(m_tree.root());
    EXPECT_EQ(source.partitionNames("sdb"), (std::vector<std::string>{"sdb1", "sdb2"}));
    EXPECT_TRUE(source.partitionNames("sdb1").empty());
    EXPECT_TRUE(source.partitionNames("../../../etc").empty());
    EXPECT_TRUE(source.partitionNames("sdz").empty());
}

TEST(MountInfoTest, ParsesOptionalFieldsAndEscapes) {
    const auto entries = parseMountInfo(
        "36 35 98:0 /mnt1 /mnt2 rw,noatime master:1 shared:7 - ext3 /dev/root rw,errors=continue\n"
        "garbage line\n"
        "40 1 8:17 / /media/a\\040b\\011c rw - vfat /dev/sdb1 rw\n");
    ASSERT_EQ(entries.size(), 2U);
    EXPECT_EQ(entries[0].major, 98U);
    EXPECT_EQ(entries[0].root, "/mnt1");
    EXPECT_EQ(entries[0].fileSystemType, "ext3");
    EXPECT_EQ(entries[0].source, "/dev/root");
    EXPECT_EQ(entries[1].minor, 17U);
    EXPECT_EQ(entries[1].mountPoint, "/media/a b\tc");
}

TEST(UdevRecordTest, EncodedValuesWin) {
    const UdevRecord record = UdevRecord::parse("S:x\nE:ID_MODEL=A_B\nE:ID_MODEL_ENC=A\\x20B\nE:ID_BUS=usb\n");
    EXPECT_EQ(record.encodedProperty("ID_MODEL"), std::optional<std::string>("A B"));
    EXPECT_EQ(record.property("ID_BUS"), std::optional<std::string>("usb"));
    EXPECT_FALSE(record.property("S").has_value());
}

}  // namespace
}  // namespace zentrova
