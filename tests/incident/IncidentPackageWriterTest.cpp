#include "incident/IncidentPackageWriter.h"
#include "incident/linux/PosixPackageFolderWriter.h"

#include "support/FailingFolders.h"
#include "support/FileText.h"
#include "support/ShellStatus.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace zentrova {
namespace {

namespace fs = std::filesystem;

std::set<std::string> entriesOf(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

using test::FailingFolders;

class IncidentPackageWriterTest : public testing::Test {
protected:
    void SetUp() override {
        m_video.resize(3 * IncidentPackageWriter::kCopyBlockSize + 12345);
        std::uint32_t state = 7;
        for (char& byte : m_video) {
            state = state * 1103515245u + 12345u;
            byte = static_cast<char>(state >> 16);
        }
        m_source = m_dir.touch("card/Normal/alwa_20240614_093000_F.MP4", m_video);
        m_out = m_dir.mkdir("out");
        ASSERT_FALSE(m_package.addCopy("alwa_20240614_093000_F.MP4", "frontVideo", m_source.string()));
        ASSERT_FALSE(m_package.addFile("route.gpx", "routeGpx", "<gpx/>\n"));
        ASSERT_FALSE(m_package.addSummary("summary.json", "summaryJson", [](std::span<const PackagedFile> files) {
            std::string text;
            for (const PackagedFile& file : files) text += file.name + " " + file.sha256 + "\n";
            return text;
        }));
    }

    std::string target() const { return (m_out / "package").string(); }

    test::TempDir m_dir;
    std::string m_video;
    fs::path m_source;
    fs::path m_out;
    IncidentPackage m_package;
};

TEST_F(IncidentPackageWriterTest, WritesEveryFileWithChecksumsThatSha256sumVerifies) {
    PosixPackageFolderWriter folders;
    std::vector<PackageProgress> progress;
    const PackageResult result = IncidentPackageWriter(folders).write(
        m_package, target(), [&](const PackageProgress& p) { progress.push_back({p.doneBytes, p.totalBytes, {}}); });
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(entriesOf(m_out), (std::set<std::string>{"package"})) << "no hidden folder left beside it";
    EXPECT_EQ(entriesOf(target()), (std::set<std::string>{"alwa_20240614_093000_F.MP4", "route.gpx", "summary.json",
                                                          "SHA256SUMS"}));
    EXPECT_EQ(test::fileText(fs::path(target()) / "alwa_20240614_093000_F.MP4"), m_video) << "the copy is byte for byte";
    EXPECT_EQ(test::shellStatus("cd '" + target() + "' && sha256sum --quiet -c SHA256SUMS"), 0);

    ASSERT_EQ(result.files.size(), 4u);
    EXPECT_EQ(result.files.back().name, "SHA256SUMS");
    const std::string sums = test::fileText(fs::path(target()) / "SHA256SUMS");
    EXPECT_EQ(sums, IncidentPackageWriter::checksumList(std::span(result.files).first(3)));
    EXPECT_EQ(sums.substr(64, 2 + 26 + 1), "  alwa_20240614_093000_F.MP4\n");
    // The summary names the files written before it, with the same checksums.
    EXPECT_EQ(test::fileText(fs::path(target()) / "summary.json"),
              "alwa_20240614_093000_F.MP4 " + result.files[0].sha256 + "\nroute.gpx " + result.files[1].sha256 + "\n");

    ASSERT_FALSE(progress.empty());
    for (std::size_t i = 1; i < progress.size(); ++i) EXPECT_GE(progress[i].doneBytes, progress[i - 1].doneBytes);
    EXPECT_EQ(progress.front().totalBytes, m_video.size() + 7);
    EXPECT_GE(progress.back().doneBytes, progress.back().totalBytes);
}

TEST_F(IncidentPackageWriterTest, AFailureAtAnyStepLeavesNoPackageAndNothingBehind) {
    using Step = FailingFolders::Step;
    struct Case {
        const char* what;
        Step step;
        std::size_t file;
        std::size_t bytesBefore;
    } cases[] = {
        {"the folder cannot be made", Step::CreateFolder, 0, 0},
        {"the copy cannot be created", Step::CreateFile, 0, 0},
        {"the card fills up in the middle of the copy", Step::Write, 0, IncidentPackageWriter::kCopyBlockSize + 100},
        {"the card fills up at the copy's first byte", Step::Write, 0, 0},
        {"the copy does not reach the device", Step::Finish, 0, 0},
        {"the route cannot be written", Step::Write, 1, 3},
        {"the summary cannot be created", Step::CreateFile, 2, 0},
        {"the checksum list does not fit", Step::Write, 3, 10},
        {"the checksum list does not reach the device", Step::Finish, 3, 0},
        {"the folder cannot be renamed into place", Step::Publish, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FailingFolders folders;
        folders.failAt = c.step;
        folders.fileIndex = c.file;
        folders.writtenBefore = c.bytesBefore;
        const PackageResult result = IncidentPackageWriter(folders).write(m_package, target());
        ASSERT_TRUE(result.error);
        EXPECT_FALSE(result.cancelled);
        EXPECT_TRUE(result.files.empty());
        EXPECT_FALSE(fs::exists(target()));
        EXPECT_EQ(entriesOf(m_out), (std::set<std::string>{})) << "a half-written folder was left";
    }
}

TEST_F(IncidentPackageWriterTest, WhileWritingOnlyAHiddenFolderWithoutChecksumsExists) {
    PosixPackageFolderWriter folders;
    bool looked = false;
    const PackageResult result = IncidentPackageWriter(folders).write(m_package, target(), [&](const PackageProgress& p) {
        EXPECT_FALSE(fs::exists(target()));
        const auto names = entriesOf(m_out);
        ASSERT_EQ(names.size(), 1u);
        EXPECT_EQ(names.begin()->rfind(".package.partial-", 0), 0u) << *names.begin();
        if (p.file != IncidentPackage::kChecksumsName) {
            EXPECT_FALSE(fs::exists(m_out / *names.begin() / "SHA256SUMS")) << "the list comes last";
        }
        looked = true;
    });
    EXPECT_FALSE(result.error);
    EXPECT_TRUE(looked);
}

TEST_F(IncidentPackageWriterTest, AStopRequestInTheMiddleLeavesNothing) {
    PosixPackageFolderWriter folders;
    std::stop_source stop;
    const PackageResult result = IncidentPackageWriter(folders).write(
        m_package, target(),
        [&](const PackageProgress& progress) {
            if (progress.doneBytes > IncidentPackageWriter::kCopyBlockSize) stop.request_stop();
        },
        stop.get_token());
    ASSERT_TRUE(result.error);
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(entriesOf(m_out), (std::set<std::string>{}));
}

TEST_F(IncidentPackageWriterTest, NeverReplacesWhatIsThere) {
    const fs::path existing = m_dir.touch("out/package/keep.txt", "mine");
    PosixPackageFolderWriter folders;
    const PackageResult result = IncidentPackageWriter(folders).write(m_package, target());
    ASSERT_TRUE(result.error);
    EXPECT_EQ(entriesOf(target()), (std::set<std::string>{"keep.txt"}));
    EXPECT_EQ(test::fileText(existing), "mine");
    EXPECT_EQ(entriesOf(m_out), (std::set<std::string>{"package"}));

    fs::remove_all(target());
    fs::create_directory(target());  // an empty folder, which a plain rename would replace
    EXPECT_TRUE(IncidentPackageWriter(folders).write(m_package, target()).error);
    EXPECT_TRUE(fs::is_empty(target()));
}

TEST_F(IncidentPackageWriterTest, AnExtraFileJoinsTheChecksumsAndTheSummary) {
    ASSERT_FALSE(m_package.addFile("capture.png", "capture", std::string("\x89PNG\r\n\x1a\n", 8)));
    PosixPackageFolderWriter folders;
    const PackageResult result = IncidentPackageWriter(folders).write(m_package, target());
    ASSERT_FALSE(result.error);
    EXPECT_NE(test::fileText(fs::path(target()) / "SHA256SUMS").find("  capture.png\n"), std::string::npos);
    EXPECT_NE(test::fileText(fs::path(target()) / "summary.json").find("capture.png "), std::string::npos);
    EXPECT_EQ(test::shellStatus("cd '" + target() + "' && sha256sum --quiet -c SHA256SUMS"), 0);
}

TEST(IncidentPackageTest, OnlyPlainNewNamesAreTaken) {
    IncidentPackage package;
    ASSERT_FALSE(package.addFile("capture.png", "capture", "x"));
    struct Case {
        std::string name;
        bool taken;
    } cases[] = {
        {"capture.jpg", true}, {"Zentrova capture 1.png", true}, {"capture.png", false}, {"", false},
        {".hidden", false},    {"a/b.png", false},               {"SHA256SUMS", false}, {"two\nlines", false},
        {"back\\slash", false}, {"tab\there", false},            {std::string(256, 'a'), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(!package.addFile(c.name, "capture", "x").has_value(), c.taken);
    }
}

}  // namespace
}  // namespace zentrova
