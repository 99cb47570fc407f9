#include "app/NowShowingText.h"

#include "app/AppTestApplication.h"
#include "recordings/ORVMedia.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace zentrova {
namespace {

TEST(NowShowingTextTest, ARecordingIsNamedByItsDateTimeAndMode) {
    test::appTestApplication();
    struct Case {
        const char* path;
        const char* expected;
    } cases[] = {
        {"/media/card/Normal/alwa_20190312_081500_F.MP4", "2019-03-12  08:15:00  \u00b7  Continuous"},
        {"/media/card/Event/event_20200101_000001_R.mp4", "2020-01-01  00:00:01  \u00b7  Event"},
        {"/media/card/x/motion_20191301_081500_F.MP4", "motion_20191301_081500_F.MP4  \u00b7  Motion"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(NowShowingText::forRecording(ORVMedia(c.path)).toStdString(), c.expected);
    }
}

TEST(NowShowingTextTest, ACardIsNamedByItsFolderAndTheDemoCardAsSuch) {
    test::appTestApplication();
    test::TempDir root;
    const std::filesystem::path demo = root.mkdir("cache/zentrova/demo-card");
    const std::filesystem::path card = root.mkdir("media/ZENTROVA");
    const std::filesystem::path otherDemoName = root.mkdir("copies/demo-card");
    std::filesystem::create_directory_symlink(demo, root.path() / "link-to-demo");
    const QString demoDirectory = QString::fromStdString(demo.string());
    struct Case {
        const char* what;
        std::string directory;
        const char* expected;
    } cases[] = {
        {"a card's folder", card.string(), "ZENTROVA"},
        {"with a slash at the end", card.string() + "/", "ZENTROVA"},
        {"the demo card", demo.string(), "Demo card"},
        {"the demo card through a link", (root.path() / "link-to-demo").string(), "Demo card"},
        {"another folder of the demo card's name", otherDemoName.string(), "demo-card"},
        {"the root folder", "/", "/"},
        {"nothing opened", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(NowShowingText::forCard(QString::fromStdString(c.directory), demoDirectory).toStdString(),
                  c.expected);
    }
}

}  // namespace
}  // namespace zentrova
