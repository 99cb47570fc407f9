#include "settings/pages/ORVSettingForVideoViewController.h"

#include "controls/SegmentedControl.h"
#include "controls/UiText.h"
#include "settings/FILEDATA.h"
#include "support/AnsweredAlerts.h"
#include "support/WidgetTestApplication.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QToolButton>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zentrova {
namespace {

struct Control {
    const char* outlet;
    std::uint32_t FILEDATA::*field;
    std::size_t offset;
    int segments;
    // An unknown value shows no segment and is kept; otherwise it shows
    // segment 0 and is stored as 0.
    bool unknownKept;
};

const Control kControls[] = {
    {"videoEncodingBitrate", &FILEDATA::vid_enc_bitrate, 60, 3, true},
    {"videoEncodingBitrateRear", &FILEDATA::vid_enc_bitrate_R, 264, 3, true},
    {"videoBrightness", &FILEDATA::vid_brightness, 68, 5, true},
    {"videoBrightnessRear", &FILEDATA::vid_brightness_R, 268, 5, true},
    {"flipVideoRealSeg", &FILEDATA::flip_video, 304, 2, false},
    {"rearfpsSeg", &FILEDATA::rear_fps, 312, 2, false},
    {"frontTinting", &FILEDATA::front_cpl_use, 348, 4, true},
    {"rearTinting", &FILEDATA::rear_cpl_use, 352, 3, true},
    {"wdr", &FILEDATA::En_SuperNightVision, 412, 2, true},
};

// The offsets of the bytes in which two records differ.
std::vector<std::size_t> changedBytes(const FILEDATA& before, const FILEDATA& after) {
    const FileDataBytes a = fileDataBytes(before);
    const FileDataBytes b = fileDataBytes(after);
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < kFileDataSize; ++i) {
        if (a[i] != b[i]) changed.push_back(i);
    }
    return changed;
}

// A record whose every byte is set, so that a stray write shows anywhere.
FILEDATA patternedRecord() {
    FileDataBytes bytes;
    for (std::size_t i = 0; i < kFileDataSize; ++i) bytes[i] = static_cast<std::uint8_t>(0x5A ^ (i * 7));
    FILEDATA record = fileDataFromBytes(bytes);
    for (const Control& c : kControls) record.*c.field = 0;
    return record;
}

class ORVSettingForVideoViewControllerTest : public test::WidgetTest {
protected:
    SegmentedControl* control(const char* outlet) const { return page.findChild<SegmentedControl*>(outlet); }
    void click(const char* outlet, int segment) {
        control(outlet)->segmentButton(segment)->click();
        QApplication::processEvents();
    }
    std::size_t warnings() {
        QApplication::processEvents();
        return alerts.seen.size();
    }

    test::AnsweredAlerts alerts;
    ORVSettingForVideoViewController page;
};

TEST_F(ORVSettingForVideoViewControllerTest, EveryStoredValueIsShownAndStoredBackUnchanged) {
    for (const Control& c : kControls) {
        for (int value = 0; value < c.segments; ++value) {
            SCOPED_TRACE(std::string(c.outlet) + " = " + std::to_string(value));
            FILEDATA record = patternedRecord();
            record.*c.field = static_cast<std::uint32_t>(value);
            const FILEDATA before = record;
            page.setFileData(&record);
            EXPECT_EQ(control(c.outlet)->selectedSegment(), value);
            EXPECT_TRUE(changedBytes(before, record).empty()) << "showing wrote into the record";
            ASSERT_TRUE(page.populate());
            EXPECT_TRUE(changedBytes(before, record).empty());
        }
    }
    EXPECT_EQ(warnings(), 0U);
}

TEST_F(ORVSettingForVideoViewControllerTest, AnUnknownValueShowsItsFallBack) {
    for (const Control& c : kControls) {
        for (std::uint32_t value : {static_cast<std::uint32_t>(c.segments), 7U, 0xFFFFFFFFU}) {
            SCOPED_TRACE(std::string(c.outlet) + " = " + std::to_string(value));
            FILEDATA record = patternedRecord();
            record.*c.field = value;
            const FILEDATA before = record;
            page.setFileData(&record);
            ASSERT_TRUE(page.populate());
            if (c.unknownKept) {
                EXPECT_EQ(control(c.outlet)->selectedSegment(), SegmentedControl::kNoSelection);
                EXPECT_TRUE(changedBytes(before, record).empty()) << "the camera's value is kept";
            } else {
                EXPECT_EQ(control(c.outlet)->selectedSegment(), 0);
                EXPECT_EQ(record.*c.field, 0U);
                const auto changed = changedBytes(before, record);
                for (std::size_t offset : changed) {
                    EXPECT_TRUE(offset >= c.offset && offset < c.offset + 4) << "byte " << offset;
                }
            }
        }
    }
}

TEST_F(ORVSettingForVideoViewControllerTest, AClickedSegmentIsStoredIntoItsFieldAlone) {
    for (const Control& c : kControls) {
        for (int segment = 0; segment < c.segments; ++segment) {
            SCOPED_TRACE(std::string(c.outlet) + " segment " + std::to_string(segment));
            FILEDATA record = patternedRecord();
            record.*c.field = static_cast<std::uint32_t>((segment + 1) % c.segments);
            const FILEDATA before = record;
            page.setFileData(&record);
            click(c.outlet, segment);
            ASSERT_TRUE(page.populate());
            EXPECT_EQ(record.*c.field, static_cast<std::uint32_t>(segment));
            for (std::size_t offset : changedBytes(before, record)) {
                EXPECT_TRUE(offset >= c.offset && offset < c.offset + 4) << "byte " << offset;
            }
        }
    }
}

TEST_F(ORVSettingForVideoViewControllerTest, EachControlShowsItsChoicesInOrder) {
    const QString quality[] = {uiText("setting.video.quality_normal"), uiText("setting.video.quality_high"),
                               uiText("setting.video.quality_highest")};
    const QString brightness[] = {"1", "2", "3(" + uiText("default") + ")", "4", "5"};
    const struct {
        const char* outlet;
        std::vector<QString> labels;
    } cases[] = {
        {"videoEncodingBitrate", {quality[0], quality[1], quality[2]}},
        {"videoEncodingBitrateRear", {quality[0], quality[1], quality[2]}},
        {"videoBrightness", {brightness, brightness + 5}},
        {"videoBrightnessRear", {brightness, brightness + 5}},
        {"flipVideoRealSeg", {uiText("unuse"), uiText("use")}},
        {"rearfpsSeg", {uiText("30fps"), uiText("15fps")}},
        {"frontTinting", {uiText("cpl_unuse"), uiText("cpl_use"), uiText("light_tinting"), uiText("dark_tinting")}},
        {"rearTinting", {uiText("unuse"), uiText("light_tinting"), uiText("dark_tinting")}},
        {"wdr", {uiText("setting.motion.night_vision_notuse"), uiText("setting.motion.night_vision_use")}},
    };
    FILEDATA record{};
    resetFileData(record);
    page.setFileData(&record);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.outlet);
        ASSERT_NE(control(c.outlet), nullptr);
        ASSERT_EQ(control(c.outlet)->segmentCount(), static_cast<int>(c.labels.size()));
        for (int i = 0; i < control(c.outlet)->segmentCount(); ++i) {
            EXPECT_FALSE(c.labels[static_cast<std::size_t>(i)].isEmpty());
            EXPECT_EQ(control(c.outlet)->labelForSegment(i), c.labels[static_cast<std::size_t>(i)]);
        }
    }
    EXPECT_EQ(brightness[2], "3(Default)");
}

TEST_F(ORVSettingForVideoViewControllerTest, TheMainsFrequencyNamesTheRearFrameRates) {
    const struct {
        std::uint32_t gamma;
        const char* first;
    } cases[] = {{0, "30fps"}, {1, "25fps"}, {7, "25fps"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.gamma);
        FILEDATA record{};
        resetFileData(record);
        record.Gamma = c.gamma;
        record.rear_fps = 1;
        page.setFileData(&record);
        EXPECT_EQ(control("rearfpsSeg")->labelForSegment(0), uiText(c.first));
        EXPECT_EQ(control("rearfpsSeg")->labelForSegment(1), uiText("15fps"));
        EXPECT_EQ(control("rearfpsSeg")->selectedSegment(), 1);
        ASSERT_TRUE(page.populate());
        EXPECT_EQ(record.rear_fps, 1U) << "the stored values stay 0 and 1";
    }
}

TEST_F(ORVSettingForVideoViewControllerTest, AQualityChangeWarnsEachTimeThePageStoresIt) {
    const struct {
        const char* name;
        std::vector<std::pair<const char*, int>> clicks;
        std::size_t expectedWarnings;
    } cases[] = {
        {"front quality changed", {{"videoEncodingBitrate", 2}}, 1},
        {"rear quality changed", {{"videoEncodingBitrateRear", 0}}, 1},
        {"both changed: one warning", {{"videoEncodingBitrate", 2}, {"videoEncodingBitrateRear", 2}}, 1},
        {"changed and back", {{"videoEncodingBitrate", 2}, {"videoEncodingBitrate", 1}}, 0},
        {"only the brightness", {{"videoBrightness", 4}}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        alerts.seen.clear();
        FILEDATA record{};
        resetFileData(record);
        page.setFileData(&record);
        for (const auto& [outlet, segment] : c.clicks) click(outlet, segment);
        ASSERT_TRUE(page.populate()) << "the warning stops nothing";
        EXPECT_EQ(warnings(), c.expectedWarnings);
        if (c.expectedWarnings == 0) continue;
        EXPECT_EQ(alerts.seen[0].title, uiText("alert.title.warning"));
        EXPECT_EQ(alerts.seen[0].message, uiText("msg.video_quality_warning"));
        ASSERT_TRUE(page.populate());
        EXPECT_EQ(warnings(), 2 * c.expectedWarnings) << "saving while the page is shown warns again";
        // The page shown anew from the stored record has nothing to warn of.
        ORVSettingForVideoViewController shownAgain;
        shownAgain.setFileData(&record);
        ASSERT_TRUE(shownAgain.populate());
        EXPECT_EQ(warnings(), 2 * c.expectedWarnings);
    }
}

}  // namespace
}  // namespace zentrova
