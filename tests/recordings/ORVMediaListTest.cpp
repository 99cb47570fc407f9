#include "recordings/ORVMediaList.h"
#include "recordings/RecordingsWalker.h"
#include "recordings/StdDirectoryLister.h"
#include "recordings/linux/PosixDirectoryLister.h"

#include "support/AsUnprivilegedUser.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <set>

namespace zentrova {
namespace {
namespace fs = std::filesystem;
using test::TempDir;

std::vector<std::string> names(const ORVMediaListSnapshot& list) {
    std::vector<std::string> out;
    for (const auto& m : list.medias()) out.push_back(m->fileName());
    return out;
}

// Scans with the portable and the platform lister; both must agree.
std::shared_ptr<ORVMediaListSnapshot> scanBoth(const std::string& directory) {
    StdDirectoryLister portable;
    PosixDirectoryLister posix;
    auto a = ORVMediaList::scanDirectory(directory, {}, portable);
    auto b = ORVMediaList::scanDirectory(directory, {}, posix);
    std::vector<std::string> pathsA, pathsB;
    for (const auto& m : a->medias()) pathsA.push_back(m->path());
    for (const auto& m : b->medias()) pathsB.push_back(m->path());
    EXPECT_EQ(pathsA, pathsB) << "the two listers disagree";
    return b;
}

struct AcceptCase {
    const char* name;
    bool accepted;
};

TEST(ORVMediaListTest, AcceptanceByNameAndExtension) {
    const AcceptCase cases[] = {
        {"alwa_20190312_081500_F.MP4", true},
        {"motion_20190312_081500_R.mp4", true},
        {"event_20190312_081500_F.Mp4", true},
        {"._alwa_20190312_081500_F.MP4", true},    // 24 characters, no known prefix
        {"FILE_abcdefghijklmnopq.mp4", false},     // 23 characters, neither suffix
        {"alwa_20190312_081500_F.avi", false},     // never considered
        {"alwa_20190312_081500_F.mp4.part", false},
        {"alwa_2019031_081500_F.MP4", false},      // 21 characters
        {"alwa_20190312_081500_f.MP4", false},     // suffix is case-sensitive
        {".mp4", false},
    };
    for (const AcceptCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(isRecordingExtension(c.name) && isAcceptableRecordingName(c.name), c.accepted);
    }
    EXPECT_EQ(ORVMediaList::createMediaByPath("/x/FILE_abcdefghijklmnopq.mp4"), nullptr);
    ASSERT_NE(ORVMediaList::createMediaByPath("/x/alwa_20190312_081500_F.MP4"), nullptr);
}

TEST(ORVMediaListTest, ScanSortsPairsAndFindsNestedAndHiddenFiles) {
    TempDir card;
    card.touch("DCIM/alwa/alwa_20190312_081500_R.MP4");
    card.touch("DCIM/alwa/alwa_20190312_081500_F.MP4");
    card.touch(".hidden/deeper/event_20190312_081500_F.mp4");
    card.touch("rearonly/motion_20190101_000000_R.MP4");
    card.touch("DCIM/other.txt");
    card.touch("DCIM/alwa_20190312_081500_F.avi");
    card.touch("._alwa_20190312_081500_F.MP4");

    auto list = scanBoth(card.str());
    EXPECT_EQ(names(*list), (std::vector<std::string>{"._alwa_20190312_081500_F.MP4", "motion_20190101_000000_R.MP4",
                                                      "event_20190312_081500_F.mp4", "alwa_20190312_081500_F.MP4",
                                                      "alwa_20190312_081500_R.MP4"}));

    auto pair = list->findMediaPairWithFileName("alwa_20190312_081500_F.MP4");
    ASSERT_NE(pair, nullptr);
    ASSERT_NE(pair->frontMedia, nullptr);
    ASSERT_NE(pair->rearMedia, nullptr);
    EXPECT_EQ(pair->frontMedia->fileName(), "alwa_20190312_081500_F.MP4");
    EXPECT_EQ(pair->rearMedia->fileName(), "alwa_20190312_081500_R.MP4");
    EXPECT_EQ(list->findMediaPairWithFileName("alwa_20190312_081500_R.mp4"), pair);
    EXPECT_EQ(list->findMediaPairWithFileName(pair->rearMedia->path()), pair);
    EXPECT_EQ(list->findMediaPairWithFileName((card.path() / "x/alwa_20190312_081500_F.avi").string()), pair);

    auto rearOnly = list->findMediaPairWithFileName("motion_20190101_000000_R.MP4");
    ASSERT_NE(rearOnly, nullptr);
    EXPECT_EQ(rearOnly->frontMedia, nullptr);
    EXPECT_NE(rearOnly->rearMedia, nullptr);
    EXPECT_EQ(list->findMediaPairWithFileName("motion_20190101_000000"), rearOnly) << "a name without suffix is looked up whole";
    EXPECT_EQ(list->findMediaPairWithFileName("alwa_20190312_081501_F.MP4"), nullptr);
}

TEST(ORVMediaListTest, LaterDuplicateOfTheSameSideWinsTheSlot) {
    ORVMediaListSnapshot list;
    list.addMedia(ORVMedia::mediaWithPath("/a/alwa_20190312_081500_F.MP4"));
    list.addMedia(ORVMedia::mediaWithPath("/b/alwa_20190312_081500_F.MP4"));
    EXPECT_EQ(list.count(), 2u);
    EXPECT_EQ(list.findMediaPairWithFileName("alwa_20190312_081500_F.MP4")->frontMedia->dir(), "/b");
}

TEST(ORVMediaListTest, UnknownSideIsListedButInNoSlot) {
    ORVMediaListSnapshot list;
    list.addMedia(ORVMedia::mediaWithPath("/a/motion_20191301_081500_F.MP4"));
    ASSERT_EQ(list.count(), 1u);
    auto pair = list.findMediaPairWithFileName("motion_20191301_081500_F.MP4");
    ASSERT_NE(pair, nullptr);
    EXPECT_EQ(pair->frontMedia, nullptr);
    EXPECT_EQ(pair->rearMedia, nullptr);
}

TEST(ORVMediaListTest, LinkCycleNeitherHangsNorRepeats) {
    TempDir card;
    card.touch("a/alwa_20190312_081500_F.MP4");
    card.touch("a/b/alwa_20190312_081600_F.MP4");
    fs::create_directory_symlink(card.path() / "a", card.path() / "a/b/back_to_a");
    fs::create_directory_symlink(card.path(), card.path() / "a/b/back_to_root");
    fs::create_directory_symlink(card.path() / "a/b", card.path() / "link_to_b");
    fs::create_directory_symlink(card.path() / "missing", card.path() / "dangling");

    auto list = scanBoth(card.str());
    std::vector<std::string> found = names(*list);
    EXPECT_EQ(found.size(), 2u);
    EXPECT_EQ(std::set<std::string>(found.begin(), found.end()).size(), found.size());
}

TEST(ORVMediaListTest, LinkedFolderOutsideTheTreeIsFollowed) {
    TempDir card, elsewhere;
    elsewhere.touch("event_20190312_081500_R.MP4");
    fs::create_directory_symlink(elsewhere.path(), card.path() / "linked");
    EXPECT_EQ(names(*scanBoth(card.str())), std::vector<std::string>{"event_20190312_081500_R.MP4"});
}

// The list goes on without the folder; the scan notes it (with the reason)
// for those who report it, with either lister.
TEST(ORVMediaListTest, UnreadableFolderIsSkippedAndNoted) {
    TempDir card;
    fs::permissions(card.path(), fs::perms::all);
    card.touch("open/alwa_20190312_081500_F.MP4");
    card.touch("locked/alwa_20190312_081600_F.MP4");
    fs::permissions(card.path() / "open", fs::perms::all);
    fs::permissions(card.path() / "locked", fs::perms::none);
    std::string result = test::runAsUnprivilegedUser([&] {
        std::string text;
        StdDirectoryLister portable;
        PosixDirectoryLister posix;
        for (DirectoryLister* lister : std::initializer_list<DirectoryLister*>{&portable, &posix}) {
            const auto list = ORVMediaList::scanDirectory(card.str(), {}, *lister);
            for (const auto& name : names(*list)) text += name + "\n";
            for (const UnreadableDirectory& folder : list->unreadableDirectories()) {
                text += folder.path + ": " + folder.reason + "\n";
            }
        }
        return text;
    });
    fs::permissions(card.path() / "locked", fs::perms::owner_all);
    const std::string once = "alwa_20190312_081500_F.MP4\n" + card.str() + "/locked: Permission denied\n";
    EXPECT_EQ(result, once + once);
}

TEST(ORVMediaListTest, FoldersBeyondTheDepthLimitAreNoted) {
    TempDir card;
    std::string deep;
    for (int depth = 0; depth < 130; ++depth) deep += "d/";
    card.touch(deep + "alwa_20190312_081500_F.MP4");
    card.touch("d/alwa_20190312_081600_F.MP4");
    auto list = scanBoth(card.str());
    EXPECT_EQ(names(*list), std::vector<std::string>{"alwa_20190312_081600_F.MP4"});
    ASSERT_EQ(list->unreadableDirectories().size(), 1u);
    EXPECT_EQ(list->unreadableDirectories()[0].reason, "more than 128 folders deep");
}

TEST(ORVMediaListTest, StopsAtTheLimitOf15000Files) {
    TempDir card;
    for (int i = 0; i < 15001; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "d%02d/alwa_2019%02d%02d_%06d_F.MP4", i / 1000, 1 + i % 12, 1 + i % 28, i % 240000);
        card.touch(name);
    }
    const auto full = scanBoth(card.str());
    EXPECT_EQ(full->count(), 15000u);
    EXPECT_TRUE(full->reachedFileLimit());
    EXPECT_FALSE(scanBoth((card.path() / "d01").string())->reachedFileLimit()) << "a walk that saw every file";
}

class RecordingDelegate : public ORVMediaListDelegate {
public:
    void mediaListChanged(ORVMediaList& list) override {
        std::lock_guard lock(m_mutex);
        m_results.push_back(names(*list.snapshot()));
        m_changed.notify_all();
    }
    std::vector<std::vector<std::string>> waitFor(size_t calls) {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, std::chrono::seconds(20), [&] { return m_results.size() >= calls; });
        return m_results;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::vector<std::string>> m_results;
};

TEST(ORVMediaListTest, BackgroundScanTellsTheDelegateAndEmptyDirectoryStillReports) {
    TempDir card;
    card.touch("alwa_20190312_081500_F.MP4");
    TempDir empty;
    RecordingDelegate delegate;
    ORVMediaList list;
    list.setDelegate(&delegate);
    list.setDirectoryPath(card.str());
    auto results = delegate.waitFor(1);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0], std::vector<std::string>{"alwa_20190312_081500_F.MP4"});
    EXPECT_EQ(list.directoryPath(), card.str());

    list.setDirectoryPath(empty.str());
    results = delegate.waitFor(2);
    ASSERT_EQ(results.size(), 2u);
    EXPECT_TRUE(results[1].empty());
    EXPECT_EQ(list.count(), 0u);
    EXPECT_EQ(list.findMediaPairWithFileName("alwa_20190312_081500_F.MP4"), nullptr)
        << "no pair of the first directory is left";

    list.setDirectoryPath(std::nullopt);
    list.waitForScans();
    EXPECT_EQ(list.directoryPath(), std::nullopt);
    EXPECT_EQ(delegate.waitFor(2).size(), 2u) << "setting none starts nothing";
}

TEST(ORVMediaListTest, SecondDirectoryDuringAScanLeavesOnlyTheLastResult) {
    TempDir big, small;
    for (int i = 0; i < 4000; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "f%d/alwa_20190312_%06d_F.MP4", i % 40, i);
        big.touch(name);
    }
    small.touch("event_20200101_000000_R.MP4");
    for (int round = 0; round < 5; ++round) {
        RecordingDelegate delegate;
        ORVMediaList list;
        list.setDelegate(&delegate);
        list.setDirectoryPath(big.str());
        list.setDirectoryPath(small.str());
        list.waitForScans();
        auto results = delegate.waitFor(1);
        ASSERT_FALSE(results.empty());
        EXPECT_EQ(results.back(), std::vector<std::string>{"event_20200101_000000_R.MP4"});
        EXPECT_EQ(names(*list.snapshot()), std::vector<std::string>{"event_20200101_000000_R.MP4"});
        for (const auto& result : results) EXPECT_LE(result.size(), 1u) << "the overtaken scan never reports";
    }
}

TEST(ORVMediaListTest, ReaderKeepsAWholeSnapshotWhileScansReplaceIt) {
    TempDir card;
    for (int i = 0; i < 500; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "alwa_20190312_%06d_F.MP4", i);
        card.touch(name);
    }
    ORVMediaList list;
    list.setDirectoryPath(card.str());
    for (int i = 0; i < 200; ++i) {
        auto snapshot = list.snapshot();
        size_t before = snapshot->count();
        if (i % 20 == 0) list.setDirectoryPath(card.str());
        for (size_t row = 0; row < before; ++row) ASSERT_NE(snapshot->mediaAtIndex(row), nullptr);
        EXPECT_EQ(snapshot->count(), before);
    }
    list.waitForScans();
    EXPECT_EQ(list.count(), 500u);
}

}  // namespace
}  // namespace zentrova
