#include "settings/pages/ORVSettingForAudioViewController.h"

#include "controls/UiText.h"
#include "support/SettingPageDriver.h"
#include "support/WidgetTestApplication.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zentrova {
namespace {

using test::changedFields;
using test::choose;
using test::fieldValue;
using test::shownChoice;

class ORVSettingForAudioViewControllerTest : public test::WidgetTest {
public:
    void show(std::initializer_list<test::FieldValue> values) { test::showRecordWith(page, record, values); }
    SegmentedControl* segments(const char* outlet) { return test::outlet<SegmentedControl>(page, outlet); }

    FILEDATA record{};
    ORVSettingForAudioViewController page;
};

TEST_F(ORVSettingForAudioViewControllerTest, EveryKnownVolumeAndTheChimeAreShownAndStoredBackUnchanged) {
    for (const char* field : {"aud_input_vol", "aud_output_vol"}) {
        const char* outlet = std::string(field) == "aud_input_vol" ? "micSeg" : "speakerSeg";
        for (int volume = 0; volume < 4; ++volume) test::expectStoredBackUnchanged(page, field, volume, outlet);
    }
    for (int chime : {0, 1}) test::expectStoredBackUnchanged(page, "alarm_ontime_flag", chime, "useEveryHourNoticeChk");
}

// Segment i is labelled by its language and stores the camera's code for it.
TEST_F(ORVSettingForAudioViewControllerTest, EachLanguageShowsAndStoresItsCode) {
    const struct {
        const char* key;
        std::int64_t code;
    } languages[] = {{"Korean", 0},  {"English", 1}, {"Chinese", 5},    {"Japanese", 7},
                     {"German", 13}, {"Turkish", 14}, {"Cantonese", 17}};
    show({});
    ASSERT_EQ(segments("voiceLangRadio")->segmentCount(), 7);
    for (int segment = 0; segment < 7; ++segment) {
        const auto& language = languages[segment];
        SCOPED_TRACE(language.key);
        EXPECT_EQ(segments("voiceLangRadio")->labelForSegment(segment), uiText(language.key));

        show({{"Brightness1", language.code}});
        EXPECT_EQ(shownChoice(page, "voiceLangRadio"), segment);
        FILEDATA shown = record;
        ASSERT_TRUE(page.populate());
        EXPECT_TRUE(test::sameBytes(record, shown)) << testing::PrintToString(changedFields(shown, record));

        show({{"Brightness1", 99}});
        shown = record;
        choose(page, "voiceLangRadio", segment);
        ASSERT_TRUE(page.populate());
        EXPECT_EQ(fieldValue(record, "Brightness1"), language.code);
        EXPECT_EQ(changedFields(shown, record), std::vector<std::string>{"Brightness1"});
    }
}

TEST_F(ORVSettingForAudioViewControllerTest, AnUnknownLanguageShowsEnglishAndAnyChimeIsStoredAsOn) {
    const test::FallBack cases[] = {
        {"Brightness1", 6, "voiceLangRadio", 1, 1},
        {"Brightness1", 2, "voiceLangRadio", 1, 1},
        {"Brightness1", 0xFFFFFFFF, "voiceLangRadio", 1, 1},
        {"alarm_ontime_flag", 2, "useEveryHourNoticeChk", 1, 1},
        {"alarm_ontime_flag", 0xFFFFFFFF, "useEveryHourNoticeChk", 1, 1},
    };
    test::expectFallBacks(page, cases);
}

// A volume the camera wrote outside the four steps shows no step and is kept:
// the page cannot tell what the camera means by it.
TEST_F(ORVSettingForAudioViewControllerTest, AVolumeOutsideTheStepsShowsNoneAndIsKept) {
    const test::KeptValue cases[] = {
        {"aud_input_vol", 4, "micSeg"},
        {"aud_input_vol", 0xFFFFFFFF, "micSeg"},
        {"aud_output_vol", 5, "speakerSeg"},
        {"aud_output_vol", 0x100, "speakerSeg"},
    };
    test::expectShownAsNoneAndKept(page, cases);
    for (const char* outlet : {"micSeg", "speakerSeg"}) {
        SCOPED_TRACE(outlet);
        show({{"aud_input_vol", 4}, {"aud_output_vol", 4}});
        choose(page, outlet, 2);
        ASSERT_TRUE(page.populate());
        EXPECT_EQ(fieldValue(record, std::string(outlet) == "micSeg" ? "aud_input_vol" : "aud_output_vol"), 2)
            << "a step picked is stored";
    }
}

TEST_F(ORVSettingForAudioViewControllerTest, ChangingOneControlChangesExactlyItsField) {
    const test::OneChoice cases[] = {
        {"micSeg", 0, "aud_input_vol", 0},
        {"micSeg", 1, "aud_input_vol", 1},
        {"speakerSeg", 3, "aud_output_vol", 3},
        {"speakerSeg", 0, "aud_output_vol", 0},
        {"useEveryHourNoticeChk", 0, "alarm_ontime_flag", 0},
        {"voiceLangRadio", 4, "Brightness1", 13},
    };
    test::expectEachChoiceChangesItsFieldAlone(page, cases);
}

TEST_F(ORVSettingForAudioViewControllerTest, TheFactoryRecordShowsMicrophoneThreeSpeakerTwoChimeAndEnglish) {
    show({});
    EXPECT_EQ(shownChoice(page, "micSeg"), 3);
    EXPECT_EQ(shownChoice(page, "speakerSeg"), 2);
    EXPECT_EQ(shownChoice(page, "useEveryHourNoticeChk"), 1);
    EXPECT_EQ(shownChoice(page, "voiceLangRadio"), 1);
    for (const char* outlet : {"micSeg", "speakerSeg"}) {
        SCOPED_TRACE(outlet);
        EXPECT_EQ(segments(outlet)->labelForSegment(0), uiText("unuse"));
        EXPECT_TRUE(segments(outlet)->labelForSegment(1).contains(uiText("setting.aux.volume_low")));
        EXPECT_TRUE(segments(outlet)->labelForSegment(3).contains(uiText("setting.aux.volume_up")));
    }
}

}  // namespace
}  // namespace zentrova
