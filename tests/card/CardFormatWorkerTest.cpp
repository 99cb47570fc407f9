#include "card/CardFormatWorker.h"

#include "SimulatedCardSystem.h"
#include "common/Log.h"
#include "common/linux/PosixAtomicFileWriter.h"
#include "card/UsbVolumes.h"
#include "support/FileText.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace zentrova {
namespace {

namespace fs = std::filesystem;
using Step = CardFormatWorker::Step;

std::string settingsBytes() {
    std::string bytes(500, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 13 + 5) % 253);
    return bytes;
}

unsigned byteAt(const std::string& bytes, std::size_t offset) { return static_cast<unsigned char>(bytes.at(offset)); }
unsigned wordAt(const std::string& bytes, std::size_t offset) { return byteAt(bytes, offset) | byteAt(bytes, offset + 1) << 8; }

// A real disk image stands for the card: the real mkfs.fat formats it, and
// mtools moves the files between it and the folder where it is "mounted".
class CardFormatEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        setLogSink([](std::string_view) {});
        ::setenv("MTOOLS_SKIP_CHECK", "1", 1);
        image = system.dir().path() / "card.img";
        std::ofstream(image, std::ios::binary).close();
        fs::resize_file(image, kImageSize);
        ASSERT_TRUE(test::SimulatedCardSystem::runReal({"/usr/sbin/mkfs.fat", "-F", "32", "-n", "OLDCARD", image.string()}));
        const fs::path staged = system.dir().mkdir("staged");
        std::ofstream(staged / "config.bin", std::ios::binary) << settingsBytes();
        std::ofstream(staged / "alwa_20240614_093000_F.mp4", std::ios::binary) << "a recording";
        for (const char* name : {"config.bin", "alwa_20240614_093000_F.mp4"}) {
            ASSERT_TRUE(test::SimulatedCardSystem::runReal(
                {"mcopy", "-i", image.string(), (staged / name).string(), std::string("::") + name}));
        }
        test::SimulatedCard card = test::SimulatedCard::on("sdz1").sized(kImageSize);
        card.mounted = false;
        system.addCard(card);
        system.formatImageFor("sdz1", image);
        ASSERT_TRUE(system.runner->runShellScript("udisksctl mount -b /dev/sdz1", false).empty());
    }
    void TearDown() override { setLogSink({}); }

    // What the image holds under that name, read with mtools; none when
    // it holds no such file.
    std::optional<std::string> imageFile(const std::string& name) {
        const fs::path out = system.dir().path() / ("out-" + name);
        if (!test::SimulatedCardSystem::runReal({"mcopy", "-n", "-i", image.string(), "::" + name, out.string()})) {
            return std::nullopt;
        }
        return test::fileText(out);
    }

    // 2 GiB, sparse: the size at which a card gets the cluster argument 32.
    static constexpr std::uint64_t kImageSize = 2ULL << 30;
    test::SimulatedCardSystem system;
    fs::path image;
};

TEST_F(CardFormatEndToEndTest, TheRealMkfsFatFormatsTheImageAndConfigBinComesBackByteForByte) {
    ASSERT_EQ(system.card().label, "OLDCARD");
    ASSERT_EQ(test::fileText(system.card().mountFolder / "config.bin"), settingsBytes()) << "mounted before";

    PosixAtomicFileWriter writer;
    CardFormatWorker worker({*system.volumes, *system.runner, writer, test::SimulatedCardSystem::kMkfs,
                             system.dir().path() / "tmp"});
    std::vector<Step> steps;
    const auto cards = usbDiskEntities(*system.volumes);
    ASSERT_EQ(cards.size(), 1u);
    const CardFormatResult result = worker.run(cards[0], [&](Step step) { steps.push_back(step); });
    ASSERT_EQ(result.kind, CardFormatResult::Kind::Formatted) << result.reason;
    EXPECT_EQ(steps, (std::vector<Step>{Step::Unmounting, Step::Formatting, Step::Mounting, Step::Completed,
                                        Step::Searching}));
    ASSERT_TRUE(result.card);
    EXPECT_EQ(result.card->volumeName(), "ZENTROVA") << "the label read back from the new file system";

    // Unmounting writes the mounted folder back into the image.
    ASSERT_TRUE(system.runner->runShellScript("udisksctl unmount -b /dev/sdz1", false).empty());
    EXPECT_EQ(imageFile("config.bin"), settingsBytes());
    EXPECT_EQ(imageFile("alwa_20240614_093000_F.mp4"), std::nullopt) << "the old files are gone";

    std::string boot(512, '\0');
    std::ifstream(image, std::ios::binary).read(boot.data(), 512);
    EXPECT_EQ(wordAt(boot, 11), 512u) << "bytes per sector";
    EXPECT_EQ(byteAt(boot, 13), 32u) << "sectors per cluster";
    EXPECT_EQ(wordAt(boot, 14), 32u) << "reserved sectors";
    EXPECT_EQ(byteAt(boot, 16), 2u) << "FATs";
    EXPECT_EQ(wordAt(boot, 50), 6u) << "backup boot sector";
    EXPECT_EQ(boot.substr(71, 11), "ZENTROVA   ");
    EXPECT_EQ(boot.substr(82, 8), "FAT32   ");
}

}  // namespace
}  // namespace zentrova
