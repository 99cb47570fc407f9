#include "common/linux/PosixAtomicFileWriter.h"

#include "support/FileText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include <sys/stat.h>

namespace zentrova {
namespace {
namespace fs = std::filesystem;
using test::TempDir;

std::optional<std::string> replace(const fs::path& path, const std::string& text) {
    PosixAtomicFileWriter writer;
    return writer.replaceFile(path.string(),
                              std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

std::set<std::string> namesIn(const fs::path& directory) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) names.insert(entry.path().filename().string());
    return names;
}

TEST(PosixAtomicFileWriterTest, ANameAtTheFileSystemsLimitCanBeWritten) {
    TempDir dir;
    for (std::size_t length : {250u, 255u}) {
        SCOPED_TRACE(length);
        const std::string name = std::string(length - 4, 'n') + ".gpx";
        EXPECT_EQ(replace(dir.path() / name, "new"), std::nullopt);
        EXPECT_EQ(test::fileText(dir.path() / name), "new");
        EXPECT_EQ(replace(dir.path() / name, "newer"), std::nullopt) << "and replaced";
        EXPECT_EQ(test::fileText(dir.path() / name), "newer");
        fs::remove(dir.path() / name);
    }
    EXPECT_TRUE(namesIn(dir.path()).empty()) << "no temporary file is left";
}

// As editors do: the link stays a link and what it names gets the content.
TEST(PosixAtomicFileWriterTest, ALinkIsWrittenThroughToWhatItNames) {
    TempDir dir;
    const fs::path target = dir.touch("real/track.gpx", "old");
    ::chmod(target.c_str(), 0640);
    fs::create_directory(dir.path() / "out");
    fs::create_symlink("../real/track.gpx", dir.path() / "out/relative.gpx");
    fs::create_symlink(dir.path() / "out/relative.gpx", dir.path() / "chained.gpx");
    fs::create_symlink("real/new.gpx", dir.path() / "dangling.gpx");

    struct Case {
        const char* name;
        fs::path link;
        fs::path lands;
    } cases[] = {
        {"relative link", dir.path() / "out/relative.gpx", target},
        {"link to a link", dir.path() / "chained.gpx", target},
        {"link to a file not there yet", dir.path() / "dangling.gpx", dir.path() / "real/new.gpx"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string text = std::string("written through ") + c.name;
        ASSERT_EQ(replace(c.link, text), std::nullopt);
        EXPECT_TRUE(fs::is_symlink(c.link));
        EXPECT_EQ(test::fileText(c.lands), text);
    }
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u) << "the target keeps its permissions";
    EXPECT_EQ(namesIn(dir.path() / "real"), (std::set<std::string>{"new.gpx", "track.gpx"}));
}

TEST(PosixAtomicFileWriterTest, OnlyARegularFileIsReplaced) {
    TempDir dir;
    const fs::path fifo = dir.path() / "pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const fs::path folder = dir.mkdir("folder");
    fs::create_symlink("loop", dir.path() / "loop");
    fs::create_symlink("pipe", dir.path() / "link_to_pipe");
    struct Case {
        const char* name;
        fs::path path;
        std::string error;
    } cases[] = {
        {"FIFO", fifo, "not a regular file"},
        {"link to a FIFO", dir.path() / "link_to_pipe", "not a regular file"},
        {"folder", folder, "Is a directory"},
        {"link loop", dir.path() / "loop", "Too many levels of symbolic links"},
        {"empty name", "", "No such file or directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(replace(c.path, "text"), c.error);
    }
    struct stat info {};
    ASSERT_EQ(::lstat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode)) << "the FIFO is still there";
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"folder", "link_to_pipe", "loop", "pipe"}));
}

}  // namespace
}  // namespace zentrova
