#include "card/CardRenaming.h"

#include "ListedVolumes.h"
#include "card/VolumeRenamer.h"
#include "common/Log.h"

#include <gtest/gtest.h>

namespace zentrova {
namespace {

TKUSBDiskEntity volume(const std::string& name, const std::string& device) {
    return TKUSBDiskEntity(name, "/media/u/" + name, device, std::nullopt, 1ULL << 34, true, false, "k");
}

class ScriptedRenamer : public VolumeRenamer {
public:
    std::optional<std::string> answer;
    std::vector<std::string> renamed;

    std::optional<std::string> setVolumeName(const TKUSBDiskEntity& card, const std::string& name) override {
        renamed.push_back(card.deviceFilePath() + "=" + name);
        return answer;
    }
};

class CardRenamingTest : public ::testing::Test {
protected:
    void SetUp() override {
        setLogSink([this](std::string_view line) { m_log.emplace_back(line); });
    }
    void TearDown() override { setLogSink({}); }

    void list(const TKUSBDiskEntity& entity) {
        m_source.volumes.push_back({entity.mountedURL(), std::string("USB"), entity});
    }

    std::vector<std::string> m_log;
    test::ListedVolumes m_source;
    ScriptedRenamer m_renamer;
};

TEST_F(CardRenamingTest, ACardNamedForTheCameraIsLeftAlone) {
    const TKUSBDiskEntity card = volume("ZENTROVA", "sdb1");
    EXPECT_EQ(giveCardTheCameraName(card, m_renamer, m_source).deviceFilePath(), "sdb1");
    EXPECT_TRUE(m_renamer.renamed.empty());
}

TEST_F(CardRenamingTest, AFailedRenameIsLoggedAndTheCardKept) {
    m_renamer.answer = "it is mounted at /media/u/NO_NAME";
    const TKUSBDiskEntity card = volume("NO_NAME", "sdb1");
    list(card);
    const TKUSBDiskEntity kept = giveCardTheCameraName(card, m_renamer, m_source);
    EXPECT_EQ(kept.volumeName(), "NO_NAME");
    EXPECT_EQ(m_renamer.renamed, std::vector<std::string>{"sdb1=ZENTROVA"});
    EXPECT_EQ(m_log, std::vector<std::string>{"error=it is mounted at /media/u/NO_NAME"});
}

TEST_F(CardRenamingTest, ARenamedCardIsTakenAsTheSourceNowDescribesIt) {
    // Another writable volume comes first: a second pass of the chooser
    // would take it while the card's new name is not yet reported.
    list(volume("STICK", "sdc1"));
    list(volume("ZENTROVA", "sdb1"));
    const TKUSBDiskEntity renamed = giveCardTheCameraName(volume("NO_NAME", "sdb1"), m_renamer, m_source);
    EXPECT_EQ(renamed.deviceFilePath(), "sdb1");
    EXPECT_EQ(renamed.volumeName(), "ZENTROVA");
}

TEST_F(CardRenamingTest, ARenamedCardThatIsNoLongerListedIsKept) {
    const TKUSBDiskEntity renamed = giveCardTheCameraName(volume("NO_NAME", "sdb1"), m_renamer, m_source);
    EXPECT_EQ(renamed.volumeName(), "NO_NAME");
    EXPECT_EQ(renamed.deviceFilePath(), "sdb1");
}

TEST(FatVolumeNameTest, OnlyNamesFatKeepsAsGiven) {
    for (const char* good : {"ZENTROVA", "A", "NO NAME", "CAM_01-X", "ABCDEFGHIJK"}) {
        EXPECT_TRUE(isPlainFatVolumeName(good)) << good;
    }
    for (const char* bad : {"", "zentrova", "ABCDEFGHIJKL", " A", "A ", "A.B", "A'B", "É"}) {
        EXPECT_FALSE(isPlainFatVolumeName(bad)) << bad;
    }
}

}  // namespace
}  // namespace zentrova
