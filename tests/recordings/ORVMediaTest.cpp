#include "recordings/MediaItemSide.h"
#include "recordings/ORVMedia.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace zentrova {
namespace {

struct NameCase {
    const char* what;
    const char* path;
    ORVMediaDivision division;
    ORVMediaDirection direction;
    int year, month, day, hour, minute, second;
    const char* extension;
};

class ORVMediaNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(ORVMediaNameTest, ParsesEveryPieceOfTheName) {
    const NameCase& c = GetParam();
    ORVMedia media(c.path);
    EXPECT_EQ(media.mediaDivision(), c.division);
    EXPECT_EQ(media.mediaDirection(), c.direction);
    EXPECT_EQ(media.year(), c.year);
    EXPECT_EQ(media.month(), c.month);
    EXPECT_EQ(media.day(), c.day);
    EXPECT_EQ(media.hour(), c.hour);
    EXPECT_EQ(media.minute(), c.minute);
    EXPECT_EQ(media.second(), c.second);
    EXPECT_EQ(media.extension(), c.extension);
}

const NameCase kNameCases[] = {
    {"always_front", "/card/alwa_20190312_081500_F.MP4", ORVMediaDivisionAlways, ORVMediaDirectionFront, 2019, 3, 12, 8, 15, 0, "MP4"},
    {"event_rear_lowercase_ext", "/card/event_20190312_081500_R.mp4", ORVMediaDivisionEvent, ORVMediaDirectionRear, 2019, 3, 12, 8, 15, 0, "mp4"},
    {"motion_front", "motion_20200101_235959_F.mp4", ORVMediaDivisionMotion, ORVMediaDirectionFront, 2020, 1, 1, 23, 59, 59, "mp4"},
    {"month_13_fails_range_side_unknown", "/c/motion_20191301_081500_F.MP4", ORVMediaDivisionMotion, ORVMediaDirectionUnknown, 0, 0, 0, 0, 0, 0, "MP4"},
    {"short_name_stops_at_length_test", "/c/alwa_2019031_081500_F.MP4", ORVMediaDivisionAlways, ORVMediaDirectionFront, 0, 0, 0, 0, 0, 0, "MP4"},
    {"unknown_prefix_keeps_always_and_takes_side", "/c/xxxxxx_20190312_081500_F.MP4", ORVMediaDivisionAlways, ORVMediaDirectionFront, 0, 0, 0, 0, 0, 0, "MP4"},
    {"unknown_prefix_rear", "/c/._alwa_20190312_081500_R.MP4", ORVMediaDivisionAlways, ORVMediaDirectionRear, 0, 0, 0, 0, 0, 0, "MP4"},
    {"separator_not_examined", "/c/alwa_20190312x081500_F.MP4", ORVMediaDivisionAlways, ORVMediaDirectionFront, 2019, 3, 12, 8, 15, 0, "MP4"},
    {"no_side_suffix_is_unknown", "/c/alwa_20190312_081500_X.MP4", ORVMediaDivisionAlways, ORVMediaDirectionUnknown, 2019, 3, 12, 8, 15, 0, "MP4"},
    {"bounds_included_hour_24_minute_60", "/c/alwa_27001231_246060_F.MP4", ORVMediaDivisionAlways, ORVMediaDirectionFront, 2700, 12, 31, 24, 60, 60, "MP4"},
    {"year_1969_out_of_range", "/c/alwa_19691231_000000_F.MP4", ORVMediaDivisionAlways, ORVMediaDirectionUnknown, 0, 0, 0, 0, 0, 0, "MP4"},
    {"year_2701_out_of_range", "/c/event_27010101_000000_R.MP4", ORVMediaDivisionEvent, ORVMediaDirectionUnknown, 0, 0, 0, 0, 0, 0, "MP4"},
    {"day_zero_out_of_range", "/c/alwa_20190300_000000_F.MP4", ORVMediaDivisionAlways, ORVMediaDirectionUnknown, 0, 0, 0, 0, 0, 0, "MP4"},
    {"day_31_of_february_accepted", "/c/alwa_20190231_000000_F.MP4", ORVMediaDivisionAlways, ORVMediaDirectionFront, 2019, 2, 31, 0, 0, 0, "MP4"},
    {"minute_61_out_of_range", "/c/alwa_20190301_006100_F.MP4", ORVMediaDivisionAlways, ORVMediaDirectionUnknown, 0, 0, 0, 0, 0, 0, "MP4"},
    {"digits_read_up_to_first_non_digit", "/c/alwa_2019031a_0815b0_F.MP4", ORVMediaDivisionAlways, ORVMediaDirectionFront, 2019, 3, 1, 8, 15, 0, "MP4"},
    {"leading_blank_and_sign", "/c/alwa_2019+3 1_08 5-0_F.MP4", ORVMediaDivisionAlways, ORVMediaDirectionFront, 2019, 3, 1, 8, 5, 0, "MP4"},
    {"motion_prefix_in_22_chars_reads_suffix_as_zero_seconds", "/c/motion_20190312_0815_F.MP4", ORVMediaDivisionMotion, ORVMediaDirectionFront, 2019, 3, 12, 8, 15, 0, "MP4"},
    {"always_prefix_in_24_chars", "/c/alwa_20190312_081500xx_F.MP4", ORVMediaDivisionAlways, ORVMediaDirectionFront, 2019, 3, 12, 8, 15, 0, "MP4"},
    {"no_extension", "/c/alwa_20190312_081500_F", ORVMediaDivisionAlways, ORVMediaDirectionFront, 2019, 3, 12, 8, 15, 0, ""},
};

INSTANTIATE_TEST_SUITE_P(Grammar, ORVMediaNameTest, ::testing::ValuesIn(kNameCases),
                         [](const auto& info) { return std::string(info.param.what); });

TEST(ORVMediaTest, SplitsThePathAndRebuildsTheFileName) {
    ORVMedia media("/media/card//DCIM/./alwa_20190312_081500_F.MP4/");
    EXPECT_EQ(media.path(), "/media/card/DCIM/alwa_20190312_081500_F.MP4");
    EXPECT_EQ(media.mediaName(), "alwa_20190312_081500_F");
    EXPECT_EQ(media.dir(), "/media/card/DCIM");
    EXPECT_EQ(media.fileName(), "alwa_20190312_081500_F.MP4");
    EXPECT_EQ(media.mediaGroupName(), "alwa_20190312_081500");
    EXPECT_EQ(ORVMedia("/x/alwa_20190312_081500_F").fileName(), "alwa_20190312_081500_F.");
}

TEST(ORVMediaTest, NameExtensionAndFolderAtTheEdgesOfAPath) {
    struct PathCase {
        const char* path;
        const char* dir;
        const char* name;
        const char* extension;
    };
    const PathCase cases[] = {
        {"/alwa_20190312_081500_F.MP4", "/", "alwa_20190312_081500_F", "MP4"},
        {"alwa_20190312_081500_F.MP4", "", "alwa_20190312_081500_F", "MP4"},
        {"/a.b/c.d.MP4", "/a.b", "c.d", "MP4"},
        {"/a/.hidden", "/a", ".hidden", ""},
        {"/a/name.", "/a", "name", ""},
        {"/", "/", "/", ""},
    };
    for (const PathCase& c : cases) {
        ORVMedia media(c.path);
        EXPECT_EQ(media.dir(), c.dir) << c.path;
        EXPECT_EQ(media.mediaName(), c.name) << c.path;
        EXPECT_EQ(media.extension(), c.extension) << c.path;
    }
}

TEST(ORVMediaTest, FrontAndRearShareTheGroupName) {
    EXPECT_EQ(ORVMedia("/a/event_20190312_081500_F.MP4").mediaGroupName(),
              ORVMedia("/b/event_20190312_081500_R.mp4").mediaGroupName());
}

TEST(ORVMediaTest, DisplayForms) {
    ORVMedia known("/c/motion_20190302_070809_R.MP4");
    EXPECT_EQ(known.dateText(), "2019-03-02");
    EXPECT_EQ(known.timeText(), "07:08:09");
    EXPECT_EQ(known.yyyymmddhhmiss(), "20190302070809");
    EXPECT_EQ(known.modeIconName(), "car_rear_motion");

    ORVMedia unknown("/c/motion_20191301_081500_F.MP4");
    EXPECT_EQ(unknown.dateText(), "");
    EXPECT_EQ(unknown.timeText(), "");
    EXPECT_EQ(unknown.yyyymmddhhmiss(), "00000000000000");
    EXPECT_EQ(unknown.modeIconName(), "") << "side unknown gives no icon";
}

std::vector<std::string> sortedNames(std::vector<std::string> paths) {
    std::vector<ORVMedia> medias;
    for (const auto& p : paths) medias.emplace_back(p);
    std::stable_sort(medias.begin(), medias.end(), [](const ORVMedia& a, const ORVMedia& b) { return a.compareDate(b) < 0; });
    std::vector<std::string> names;
    for (const auto& m : medias) names.emplace_back(m.mediaName());
    return names;
}

TEST(ORVMediaTest, OrderIsTimeThenHigherModeThenFrontFirst) {
    EXPECT_EQ(sortedNames({"alwa_20190312_081500_R.MP4", "event_20190312_081500_F.MP4", "alwa_20190312_081500_F.MP4"}),
              (std::vector<std::string>{"event_20190312_081500_F", "alwa_20190312_081500_F", "alwa_20190312_081500_R"}));
    EXPECT_EQ(sortedNames({"alwa_20190312_081501_F.MP4", "motion_20190312_081500_R.MP4", "xxxxxx_20190312_081500_F.MP4",
                           "alwa_20190312_081500_X.MP4", "alwa_20190312_081500_F.MP4"}),
              (std::vector<std::string>{"xxxxxx_20190312_081500_F", "motion_20190312_081500_R", "alwa_20190312_081500_F",
                                        "alwa_20190312_081500_X", "alwa_20190312_081501_F"}));
}

TEST(ORVMediaTest, CompareDateIsAntisymmetric) {
    ORVMedia a("/c/event_20190312_081500_F.MP4");
    ORVMedia b("/c/alwa_20190312_081500_F.MP4");
    EXPECT_EQ(a.compareDate(b), -1);
    EXPECT_EQ(b.compareDate(a), 1);
    EXPECT_EQ(a.compareDate(a), 0);
}

TEST(MediaItemSideTest, JudgesTheEndingInAnyCase) {
    struct Case {
        const char* location;
        ORVMediaDirection expected;
    } cases[] = {
        {"/card/alwa_20190312_081500_r.mp4", ORVMediaDirectionRear},
        {"/card/alwa_20190312_081500_F.MP4", ORVMediaDirectionFront},
        {"file:///card/my%20dir/alwa_20190312_081500_R.MP4", ORVMediaDirectionRear},
        {"/card/alwa_20190312_081500_F.AVI", ORVMediaDirectionUnknown},
        {"_F.MP", ORVMediaDirectionUnknown},
        {"", ORVMediaDirectionUnknown},
        {"_R.MP4", ORVMediaDirectionRear},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.location);
        EXPECT_EQ(mediaItemDirection(c.location), c.expected);
    }
    EXPECT_TRUE(isRearMediaItem("/x/a_R.mp4"));
    EXPECT_TRUE(isFrontMediaItem("/x/a_f.Mp4"));
}

}  // namespace
}  // namespace zentrova
