#include "common/linux/FileChecks.h"

#include "support/AsUnprivilegedUser.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include <sys/stat.h>

namespace zentrova {
namespace {
namespace fs = std::filesystem;
using test::TempDir;

struct Tree {
    TempDir dir;
    std::string file = dir.touch("file.mp4", "bytes").string();
    std::string fifo = (dir.path() / "fifo_F.mp4").string();
    std::string folder = dir.mkdir("folder").string();
    std::string loop = (dir.path() / "loop").string();
    std::string dangling = (dir.path() / "dangling").string();
    std::string linkToFile = (dir.path() / "link.mp4").string();
    std::string locked = dir.touch("locked.mp4", "secret").string();
    std::string lockedFolder = dir.mkdir("locked_folder").string();

    Tree() {
        ::mkfifo(fifo.c_str(), 0644);
        fs::create_symlink("loop", loop);
        fs::create_symlink("missing", dangling);
        fs::create_symlink(file, linkToFile);
        ::chmod(dir.str().c_str(), 0755);
        ::chmod(file.c_str(), 0644);
        ::chmod(locked.c_str(), 0);
        ::chmod(lockedFolder.c_str(), 0);
    }
};

struct Case {
    const char* name;
    std::string path;
    std::optional<std::string> reason;
};

// One line per case, "name: reason" ("-" for none), as the check gives them
// to a user without special rights and as the cases expect them.
template <typename Check>
void expectReasons(const std::vector<Case>& cases, Check check) {
    const auto lines = [&](auto reasonOf) {
        std::string text;
        for (const Case& c : cases) text += std::string(c.name) + ": " + reasonOf(c).value_or("-") + "\n";
        return text;
    };
    const std::string got = test::runAsUnprivilegedUser([&] { return lines([&](const Case& c) { return check(c.path); }); });
    EXPECT_EQ(got, lines([](const Case& c) { return c.reason; }));
}

// Each answer without waiting: a FIFO without a writer would block an open
// for reading for ever.
TEST(FileChecksTest, OnlyRegularReadableFilesPass) {
    Tree tree;
    expectReasons({
                      {"regular file", tree.file, std::nullopt},
                      {"link to a regular file", tree.linkToFile, std::nullopt},
                      {"FIFO", tree.fifo, "not a regular file (a FIFO)"},
                      {"character device", "/dev/null", "not a regular file (a character device)"},
                      {"folder", tree.folder, "is a directory"},
                      {"missing", tree.dir.str() + "/missing", "No such file or directory"},
                      {"link loop", tree.loop, "Too many levels of symbolic links"},
                      {"dangling link", tree.dangling, "No such file or directory"},
                      {"under a file", tree.file + "/x", "Not a directory"},
                      {"no read permission", tree.locked, "Permission denied"},
                  },
                  unreadableFileReason);
}

TEST(FileChecksTest, OnlyListableDirectoriesPass) {
    Tree tree;
    expectReasons({
                      {"folder", tree.folder, std::nullopt},
                      {"file", tree.file, "not a directory"},
                      {"FIFO", tree.fifo, "not a directory"},
                      {"missing", tree.dir.str() + "/missing", "No such file or directory"},
                      {"link loop", tree.loop, "Too many levels of symbolic links"},
                      {"no permission", tree.lockedFolder, "Permission denied"},
                  },
                  unreadableDirectoryReason);
}

}  // namespace
}  // namespace zentrova
