#include "card/UsbVolumes.h"

#include "ListedVolumes.h"

#include "common/Log.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zentrova {
namespace {

TKUSBDiskEntity volume(const std::string& name, const std::string& mount, bool writable,
                       const std::string& device = "sdb1") {
    return TKUSBDiskEntity(name, mount, device, std::string("Card Reader"), 7948206080ULL, writable, false,
                           "/devices/usb/" + device);
}

class ChooseCardDiskTest : public ::testing::Test {
protected:
    std::string folderWithSettings(const std::string& name) {
        m_dir.touch(name + "/config.bin", std::string(500, '\0'));
        return (m_dir.path() / name).string();
    }
    std::string emptyFolder(const std::string& name) { return m_dir.mkdir(name).string(); }

    test::TempDir m_dir;
};

TEST_F(ChooseCardDiskTest, Pass1TakesTheWritableLabelledCardWithSettings) {
    std::vector<TKUSBDiskEntity> volumes = {volume("ZENTROVA", emptyFolder("a"), true, "sdb1"),
                                            volume("ZENTROVA", folderWithSettings("b"), true, "sdc1")};
    EXPECT_EQ(chooseCardDisk(volumes)->deviceFilePath(), "sdc1");
}

TEST_F(ChooseCardDiskTest, Pass2PrefersWritableWithoutSettingsOverWriteProtectedWithSettings) {
    std::vector<TKUSBDiskEntity> volumes = {volume("ZENTROVA", folderWithSettings("a"), false, "sdb1"),
                                            volume("ZENTROVA", emptyFolder("b"), true, "sdc1")};
    EXPECT_EQ(chooseCardDisk(volumes)->deviceFilePath(), "sdc1");
}

TEST_F(ChooseCardDiskTest, Pass3TakesAWriteProtectedLabelledCardBeforeOtherWritableVolumes) {
    std::vector<TKUSBDiskEntity> volumes = {volume("STICK", emptyFolder("a"), true, "sdb1"),
                                            volume("ZENTROVA", emptyFolder("b"), false, "sdc1")};
    EXPECT_EQ(chooseCardDisk(volumes)->deviceFilePath(), "sdc1");
}

TEST_F(ChooseCardDiskTest, Pass4TakesTheFirstWritableVolume) {
    std::vector<TKUSBDiskEntity> volumes = {volume("LOCKED", emptyFolder("a"), false, "sdb1"),
                                            volume("NO NAME", emptyFolder("b"), true, "sdc1")};
    EXPECT_EQ(chooseCardDisk(volumes)->deviceFilePath(), "sdc1");
}

TEST_F(ChooseCardDiskTest, Pass5TakesASingleWriteProtectedVolume) {
    std::vector<TKUSBDiskEntity> volumes = {volume("LOCKED", folderWithSettings("a"), false, "sdb1")};
    EXPECT_EQ(chooseCardDisk(volumes)->deviceFilePath(), "sdb1");
}

TEST_F(ChooseCardDiskTest, LetterCaseOfTheLabelMatters) {
    // "zentrova" with settings is not the card: the writable volume of pass 4
    // that comes first wins instead of a label match.
    std::vector<TKUSBDiskEntity> volumes = {volume("Zentrova", folderWithSettings("a"), false, "sdb1"),
                                            volume("zentrova", folderWithSettings("b"), true, "sdc1"),
                                            volume("ZENTROVa", folderWithSettings("c"), true, "sdd1")};
    EXPECT_EQ(chooseCardDisk(volumes)->deviceFilePath(), "sdc1");
    std::vector<TKUSBDiskEntity> locked = {volume("zentrova", folderWithSettings("d"), false, "sde1"),
                                           volume("ZENTROVA", emptyFolder("e"), false, "sdf1")};
    EXPECT_EQ(chooseCardDisk(locked)->deviceFilePath(), "sdf1");
}

TEST_F(ChooseCardDiskTest, NoVolumeGivesNone) {
    EXPECT_FALSE(chooseCardDisk(std::vector<TKUSBDiskEntity>{}).has_value());
}

TEST(TKUSBDiskEntityTest, DisplayStringWithModel) {
    TKUSBDiskEntity card("ZENTROVA", "/media/u/ZENTROVA", "sdb1", std::string("Card Reader"), 7948206080ULL, true,
                         false, "k");
    EXPECT_EQ(card.displayString(), "[7.4 GB] ZENTROVA <Card Reader>");
}

TEST(TKUSBDiskEntityTest, DisplayStringWithoutModelEndsInABlank) {
    TKUSBDiskEntity card("ZENTROVA", "/media/u/ZENTROVA", "sdb1", std::nullopt, 15931539456ULL, true, false, "k");
    EXPECT_EQ(card.displayString(), "[15 GB] ZENTROVA ");
}

using test::ListedVolumes;

TEST(UsbVolumesTest, OnlyUsbVolumesWithADeviceNameBecomeEntities) {
    test::TempDir dir;
    ListedVolumes source;
    const std::string usbCard = dir.mkdir("card").string();
    const std::string internal = dir.mkdir("internal").string();
    const std::string nameless = dir.mkdir("nameless").string();
    const std::string slotCard = dir.mkdir("slot").string();
    dir.touch("nameless/timeset.cfg");
    dir.touch("internal/timeset.cfg");
    dir.touch("card/timeset.cfg");
    source.volumes = {
        {internal, std::string("SATA"), volume("X", internal, true, "sda1")},
        {nameless, std::string("USB"), std::nullopt},
        {usbCard, std::string("USB"), volume("ZENTROVA", usbCard, true, "sdc1")},
        {slotCard, std::string("SD"), volume("CAM", slotCard, true, "mmcblk0p1")},
    };
    EXPECT_EQ(removableVolumeURLs(source), (std::vector<std::string>{internal, nameless, usbCard, slotCard}));
    EXPECT_EQ(usbVolumeURLs(source), (std::vector<std::string>{nameless, usbCard, slotCard}));

    std::vector<std::string> logged;
    setLogSink([&](std::string_view line) { logged.emplace_back(line); });
    const auto entities = usbDiskEntities(source);
    setLogSink({});
    ASSERT_EQ(entities.size(), 2U);
    EXPECT_EQ(entities[0].deviceFilePath(), "sdc1");
    EXPECT_EQ(entities[1].deviceFilePath(), "mmcblk0p1");
    EXPECT_EQ(logged, (std::vector<std::string>{usbCard, slotCard}));

    // The first USB volume holding the file, with or without a device name.
    EXPECT_EQ(usbVolumeURLWithFile(source, "timeset.cfg"), nameless);
    EXPECT_FALSE(usbVolumeURLWithFile(source, "config.bin").has_value());
}

}  // namespace
}  // namespace zentrova
