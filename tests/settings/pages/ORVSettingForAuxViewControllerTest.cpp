#include "settings/pages/ORVSettingForAuxViewController.h"

#include "controls/EcoSliderAxisView.h"
#include "controls/SMDoubleSlider.h"
#include "controls/UiText.h"
#include "support/AnsweredAlerts.h"
#include "support/SettingPageDriver.h"
#include "support/WidgetTestApplication.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace zentrova {
namespace {

using test::changedFields;
using test::choose;
using test::fieldValue;
using test::sameBytes;
using test::shownChoice;

struct Split {
    int continuous;
    int motion;
    int event;
};

class ORVSettingForAuxViewControllerTest : public test::WidgetTest {
public:
    void show(std::initializer_list<test::FieldValue> values) { test::showRecordWith(page, record, values); }
    QLabel* label(const char* name) { return test::outlet<QLabel>(page, name); }
    QLineEdit* field(const char* name) { return test::outlet<QLineEdit>(page, name); }
    SMDoubleSlider* slider() { return test::outlet<SMDoubleSlider>(page, "sdRatioSlider"); }
    // The shares as the three fields show them.
    std::vector<QString> shownShares() {
        return {label("alwaysField")->text(), label("motionField")->text(), label("eventField")->text()};
    }
    static std::vector<QString> shareTexts(const Split& split) {
        return {QString::asprintf("%d%%", split.continuous), QString::asprintf("%d%%", split.motion),
                QString::asprintf("%d%%", split.event)};
    }
    Split storedSplit() const {
        return {int(record.sd_mem_always_ratio), int(record.sd_mem_motion_ratio), int(record.sd_mem_event_ratio)};
    }
    // Moves the knobs as the user does, so that each move goes through the
    // slider's binding to the page.
    void moveKnobs(int lo, int hi) {
        slider()->setTrackingLoKnob(true);
        slider()->moveSelectedKnobTo(0);
        slider()->setTrackingLoKnob(false);
        slider()->moveSelectedKnobTo(hi);
        slider()->setTrackingLoKnob(true);
        slider()->moveSelectedKnobTo(lo);
        ASSERT_EQ(slider()->integerLoValue(), lo);
        ASSERT_EQ(slider()->integerHiValue(), hi);
    }
    int shownPipCell() {
        for (const char* cell : {"pipPositionCell00", "pipPositionCell01", "pipPositionCell10", "pipPositionCell11"}) {
            if (test::outlet<QRadioButton>(page, cell)->isChecked()) return std::atoi(cell + 15);
        }
        return -1;
    }

    FILEDATA record{};
    ORVSettingForAuxViewController page;
};

TEST_F(ORVSettingForAuxViewControllerTest, EveryKnownValueIsShownAndStoredBackUnchanged) {
    struct Case {
        const char* field;
        const char* outlet;
        std::vector<std::int64_t> values;
    };
    const Case cases[] = {
        {"DayTime", "dayTimeAESeg", {0, 1, 2}},
        {"lcd_autopoweroff", "lcdAutoPowerOffSeg", {0, 1, 2, 3}},
        {"Gamma", "gammaSeg", {0, 1}},
        {"lcd_brightness", "lcdBrightnessSeg", {0, 1, 2}},
        {"lcd_brightness_night", "lcdNightBrightnessSeg", {0, 1}},
        {"parking_alarm", "parkingAlarmSeg", {0, 1}},
        {"always_mode_recording_time", "recordingLengthSeg", {0, 1}},
        {"autoFormatAlarm", "autoFormatAlarmSeg", {0, 1, 2, 3, 4}},
        {"wifi_channel", "wifiChannelCombo", {0, 1, 6, 11, 13}},
        // Shown through their own tables (below).
        {"parking_rear_off", nullptr, {0, 1}},
        {"lcd_screensaver", nullptr, {0, 1, 2}},
        {"pip_position", nullptr, {0, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        for (std::int64_t value : c.values) test::expectStoredBackUnchanged(page, c.field, value, c.outlet);
    }
    const Split splits[] = {{70, 20, 10}, {10, 10, 80}, {10, 80, 10}, {80, 10, 10}, {34, 33, 33}};
    for (const Split& s : splits) {
        test::expectStoredBackUnchanged(page, "sd_mem_always_ratio", s.continuous, nullptr,
                                        {{"sd_mem_motion_ratio", s.motion}, {"sd_mem_event_ratio", s.event}});
    }
}

TEST_F(ORVSettingForAuxViewControllerTest, AValueNoChoiceStoresShowsNoChoiceAndIsKeptUntilOneIsMade) {
    struct Case {
        const char* field;
        std::int64_t stored;
        const char* outlet;
        int choice;
        std::int64_t expectedStoredByChoice;
    };
    const Case cases[] = {
        {"DayTime", 3, "dayTimeAESeg", 2, 2},
        {"lcd_autopoweroff", 0xFFFFFFFF, "lcdAutoPowerOffSeg", 1, 1},
        {"Gamma", 2, "gammaSeg", 1, 1},
        {"lcd_brightness", 3, "lcdBrightnessSeg", 0, 0},
        {"lcd_brightness_night", 7, "lcdNightBrightnessSeg", 1, 1},
        {"lcd_screensaver", 3, "lcdScreenSaverSeg", 0, 1},
        {"parking_alarm", 2, "parkingAlarmSeg", 0, 0},
        {"always_mode_recording_time", 5, "recordingLengthSeg", 1, 1},
        {"autoFormatAlarm", 5, "autoFormatAlarmSeg", 3, 3},
        {"wifi_channel", 14, "wifiChannelCombo", 11, 11},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " = " + std::to_string(c.stored));
        show({{c.field, c.stored}});
        EXPECT_EQ(shownChoice(page, c.outlet), -1);
        const FILEDATA shown = record;
        ASSERT_TRUE(page.populate());
        EXPECT_TRUE(sameBytes(record, shown)) << testing::PrintToString(changedFields(shown, record));

        choose(page, c.outlet, c.choice);
        ASSERT_TRUE(page.populate());
        EXPECT_EQ(changedFields(shown, record), std::vector<std::string>{c.field});
        EXPECT_EQ(fieldValue(record, c.field), c.expectedStoredByChoice);
    }
}

TEST_F(ORVSettingForAuxViewControllerTest, TheRearCameraAndScreenSaverSegmentsStoreTheirOwnValues) {
    struct Case {
        const char* field;
        std::int64_t stored;
        const char* outlet;
        int expectedShown;
        std::int64_t expectedSaved;
    };
    const Case cases[] = {
        {"parking_rear_off", 0, "parkingRearOffSeg", 1, 0},
        {"parking_rear_off", 1, "parkingRearOffSeg", 0, 1},
        {"parking_rear_off", 9, "parkingRearOffSeg", 0, 1},
        {"lcd_screensaver", 0, "lcdScreenSaverSeg", 1, 0},
        {"lcd_screensaver", 1, "lcdScreenSaverSeg", 0, 1},
        {"lcd_screensaver", 2, "lcdScreenSaverSeg", 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " = " + std::to_string(c.stored));
        show({{c.field, c.stored}});
        EXPECT_EQ(shownChoice(page, c.outlet), c.expectedShown);
        ASSERT_TRUE(page.populate());
        EXPECT_EQ(fieldValue(record, c.field), c.expectedSaved);
    }
    const struct {
        const char* outlet;
        int segment;
        const char* field;
        std::int64_t expectedStored;
    } chosen[] = {
        {"parkingRearOffSeg", 0, "parking_rear_off", 1},  {"parkingRearOffSeg", 1, "parking_rear_off", 0},
        {"lcdScreenSaverSeg", 0, "lcd_screensaver", 1},   {"lcdScreenSaverSeg", 1, "lcd_screensaver", 0},
        {"lcdScreenSaverSeg", 2, "lcd_screensaver", 2},
    };
    for (const auto& c : chosen) {
        SCOPED_TRACE(std::string(c.outlet) + " segment " + std::to_string(c.segment));
        show({{"parking_rear_off", 5}, {"lcd_screensaver", 5}});
        choose(page, c.outlet, c.segment);
        ASSERT_TRUE(page.populate());
        EXPECT_EQ(fieldValue(record, c.field), c.expectedStored);
    }
}

TEST_F(ORVSettingForAuxViewControllerTest, ThePictureInPictureCellFollowsItsCorner) {
    const struct {
        std::int64_t stored;
        int expectedCell;  // row and column
        std::int64_t expectedSaved;
    } cases[] = {{0, 11, 0}, {1, 1, 1}, {2, 0, 2}, {3, 10, 3}, {4, 11, 0}, {7, 11, 0}, {0xFFFFFFFF, 11, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        show({{"pip_position", c.stored}});
        EXPECT_EQ(shownPipCell(), c.expectedCell);
        ASSERT_TRUE(page.populate());
        EXPECT_EQ(record.pip_position, c.expectedSaved);
    }
    const struct {
        const char* cell;
        std::uint32_t expectedStored;
    } clicked[] = {{"pipPositionCell00", 2}, {"pipPositionCell01", 1}, {"pipPositionCell10", 3},
                   {"pipPositionCell11", 0}};
    for (const auto& c : clicked) {
        SCOPED_TRACE(c.cell);
        show({{"pip_position", 2}});
        test::outlet<QRadioButton>(page, c.cell)->click();
        ASSERT_TRUE(page.populate());
        EXPECT_EQ(record.pip_position, c.expectedStored);
    }
}

TEST_F(ORVSettingForAuxViewControllerTest, TheCardsSplitIsShownOnTheKnobsAndAsShares) {
    struct Case {
        const char* name;
        std::int64_t always, motion, event;
        int expectedLo, expectedHi;
        Split expectedShown;
        bool expectedNote;
    };
    const Case cases[] = {
        {"the factory split", 70, 20, 10, 70, 90, {70, 20, 10}, false},
        {"shares above 100 in all: event is what is left", 50, 30, 30, 50, 80, {50, 30, 20}, true},
        {"shares below 100 in all", 20, 20, 20, 20, 40, {20, 20, 60}, true},
        {"continuous and motion above 100", 80, 40, 0, 80, 100, {80, 20, 0}, true},
        {"continuous above 100", 150, 0, 0, 100, 100, {100, 0, 0}, true},
        {"the largest numbers the file holds", 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 100, 100, {100, 0, 0}, true},
        {"all of it event", 0, 0, 100, 0, 0, {0, 0, 100}, false},
        {"all of it continuous", 100, 0, 0, 100, 100, {100, 0, 0}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        show({{"sd_mem_always_ratio", c.always}, {"sd_mem_motion_ratio", c.motion}, {"sd_mem_event_ratio", c.event}});
        EXPECT_EQ(slider()->integerLoValue(), c.expectedLo);
        EXPECT_EQ(slider()->integerHiValue(), c.expectedHi);
        EXPECT_EQ(page.ratioLoValue(), c.expectedLo);
        EXPECT_EQ(page.ratioHiValue(), c.expectedHi);
        EXPECT_EQ(shownShares(), shareTexts(c.expectedShown));
        EXPECT_EQ(label("sdRatioOutOfRangeLabel")->isVisibleTo(&page), c.expectedNote);
        EXPECT_TRUE(label("sdcardCapacityWarningLabel")->isVisibleTo(&page));
    }
}

TEST_F(ORVSettingForAuxViewControllerTest, ASplitShownCorrectedIsSavedAsShown) {
    show({{"sd_mem_always_ratio", 50}, {"sd_mem_motion_ratio", 30}, {"sd_mem_event_ratio", 30}});
    const FILEDATA shown = record;
    ASSERT_TRUE(page.populate());
    EXPECT_EQ(storedSplit().event, 20);
    EXPECT_EQ(changedFields(shown, record), std::vector<std::string>{"sd_mem_event_ratio"});

    // Beyond 100 the knobs stand at the end: the event share is 0 and the user
    // is told so, instead of seeing a negative share that no move can mend.
    show({{"sd_mem_always_ratio", 60}, {"sd_mem_motion_ratio", 60}, {"sd_mem_event_ratio", 0}});
    EXPECT_EQ(page.validateUserInput(), uiText("msg.sdcard_ratio_too_low"));
    EXPECT_EQ(label("sdRatioOutOfRangeLabel")->text(),
              uiFormat("setting.aux.ratio_out_of_range_fmt", QStringLiteral("60"), QStringLiteral("60"),
                       QStringLiteral("0")));
    moveKnobs(60, 85);
    EXPECT_EQ(page.validateUserInput(), std::nullopt);
    ASSERT_TRUE(page.populate());
    EXPECT_EQ(storedSplit().continuous, 60);
    EXPECT_EQ(storedSplit().motion, 25);
    EXPECT_EQ(storedSplit().event, 15);
}

TEST_F(ORVSettingForAuxViewControllerTest, EveryShareNeedsATenthOfTheCard) {
    struct Case {
        int lo, hi;
        Split expectedShown;
        bool expectedAccepted;
    };
    const Case cases[] = {
        {0, 0, {0, 0, 100}, false},   {0, 100, {0, 100, 0}, false}, {100, 100, {100, 0, 0}, false},
        {50, 50, {50, 0, 50}, false}, {9, 50, {9, 41, 50}, false},  {40, 45, {40, 5, 55}, false},
        {40, 95, {40, 55, 5}, false}, {40, 91, {40, 51, 9}, false}, {10, 90, {10, 80, 10}, true},
        {10, 20, {10, 10, 80}, true}, {80, 90, {80, 10, 10}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.lo) + " to " + std::to_string(c.hi));
        show({});
        moveKnobs(c.lo, c.hi);
        EXPECT_EQ(shownShares(), shareTexts(c.expectedShown));
        const FILEDATA shown = record;
        if (!c.expectedAccepted) {
            EXPECT_EQ(page.validateUserInput(), uiText("msg.sdcard_ratio_too_low"));
            EXPECT_FALSE(page.populate());
            EXPECT_TRUE(sameBytes(record, shown));
            continue;
        }
        EXPECT_EQ(page.validateUserInput(), std::nullopt);
        ASSERT_TRUE(page.populate());
        EXPECT_EQ(storedSplit().continuous, c.expectedShown.continuous);
        EXPECT_EQ(storedSplit().motion, c.expectedShown.motion);
        EXPECT_EQ(storedSplit().event, c.expectedShown.event);
    }
}

TEST_F(ORVSettingForAuxViewControllerTest, DraggedKnobsAreWhatTheFieldsShowAndThePageStores) {
    show({});
    page.resize(page.sizeHint());
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    SMDoubleSlider* bar = slider();
    const auto pointAt = [bar](double value) {
        const double fraction = value / 100.0;
        const qreal margin = SMDoubleSlider::trackEndMargin();
        return QPoint(qRound(margin + fraction * (bar->width() - 2 * margin)), bar->height() / 2);
    };
    const struct {
        const char* name;
        SMDoubleSlider::Knob knob;
        double from, to;
        int expectedLo, expectedHi;
    } drags[] = {
        {"the high knob down", SMDoubleSlider::Knob::High, 90, 80, 70, 80},
        {"the low knob down", SMDoubleSlider::Knob::Low, 70, 30, 30, 80},
        {"the low knob stops at the high one", SMDoubleSlider::Knob::Low, 30, 95, 80, 80},
        {"knobs together: the first move up takes the high one", SMDoubleSlider::Knob::High, 80, 95, 80, 95},
    };
    for (const auto& d : drags) {
        SCOPED_TRACE(d.name);
        const QPoint start = bar->knobRect(d.knob).center().toPoint();
        QTest::mousePress(bar, Qt::LeftButton, {}, start);
        QTest::mouseMove(bar, pointAt((d.from + d.to) / 2));
        QTest::mouseMove(bar, pointAt(d.to));
        QTest::mouseRelease(bar, Qt::LeftButton, {}, pointAt(d.to));
        const int lo = d.expectedLo;
        const int hi = d.expectedHi;
        EXPECT_EQ(bar->integerLoValue(), lo);
        EXPECT_EQ(bar->integerHiValue(), hi);
        EXPECT_EQ(page.ratioLoValue(), lo);
        EXPECT_EQ(page.ratioHiValue(), hi);
        EXPECT_EQ(shownShares(), shareTexts({lo, hi - lo, 100 - hi}));
    }
    moveKnobs(25, 60);
    ASSERT_TRUE(page.populate());
    EXPECT_EQ(storedSplit().continuous, 25);
    EXPECT_EQ(storedSplit().motion, 35);
    EXPECT_EQ(storedSplit().event, 40);
}

TEST_F(ORVSettingForAuxViewControllerTest, TheScaleRunsUnderTheKnobsTravel) {
    show({});
    for (int width : {400, 820}) {
        SCOPED_TRACE(width);
        page.resize(width, page.sizeHint().height());
        page.show();
        QApplication::processEvents();
        auto* axis = test::outlet<EcoSliderAxisView>(page, "sdRatioSliderAxisView");
        SMDoubleSlider* bar = slider();
        const auto onPage = [this](const QWidget* widget, qreal x) {
            return widget->mapTo(&page, QPointF(x, 0)).x();
        };
        EXPECT_EQ(axis->width(), bar->width());
        moveKnobs(0, 100);
        EXPECT_NEAR(onPage(axis, axis->tickPosition(0)), onPage(bar, bar->knobRect(SMDoubleSlider::Knob::Low).center().x()), 0.5);
        EXPECT_NEAR(onPage(axis, axis->tickPosition(EcoSliderAxisView::kTickCount - 1)),
                    onPage(bar, bar->knobRect(SMDoubleSlider::Knob::High).center().x()), 0.5);
    }
}

TEST_F(ORVSettingForAuxViewControllerTest, TheWarningAppearsOnlyOnceASplitIsShown) {
    ORVSettingForAuxViewController fresh;
    EXPECT_FALSE(test::outlet<QLabel>(fresh, "sdcardCapacityWarningLabel")->isVisibleTo(&fresh));
    FILEDATA shown = test::resetRecord();
    fresh.setFileData(&shown);
    EXPECT_TRUE(test::outlet<QLabel>(fresh, "sdcardCapacityWarningLabel")->isVisibleTo(&fresh));
}

TEST_F(ORVSettingForAuxViewControllerTest, TheFirstFailingWifiCheckWarnsAndTheRecordStaysAsItWas) {
    struct Case {
        const char* name;
        QString ssid;
        QString password;
        const char* expectedKey;  // none: accepted
    };
    const Case cases[] = {
        {"a name of 5 characters", "Cam01", "password1", "setting.aux.ssid_length"},
        {"no name", "", "password1", "setting.aux.ssid_length"},
        {"a name with a space", "My Camera", "password1", "setting.aux.ssid_invalid"},
        {"a name with a tab", "My\tCamera", "password1", "setting.aux.ssid_invalid"},
        {"a name with a letter outside ASCII", QString::fromUtf8("Kamera\xc3\xa9"), "password1",
         "setting.aux.ssid_invalid"},
        {"the name is checked first", "Cam", "short", "setting.aux.ssid_length"},
        {"a password of 7 characters", "Camera", "1234567", "setting.aux.password_length"},
        {"a password with a letter outside ASCII", "Camera", QString::fromUtf8("p\xc3\xa4ssword"),
         "setting.aux.password_invalid"},
        {"a password with a space", "Camera", "pass word", "setting.aux.password_invalid"},
        {"6 and 8 characters", "Camera", "12345678", nullptr},
        {"every printable symbol", "!\"#$%&'()*+,-./~", "{|}~:;<=>?@[\\]^_`", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        show({});
        // Other controls changed first: a refused save must not keep them.
        choose(page, "gammaSeg", 1);
        choose(page, "lcdScreenSaverSeg", 2);
        moveKnobs(30, 60);
        field("ssidLabel")->setText(c.ssid);
        field("passwordLabel")->setText(c.password);
        const FILEDATA shown = record;
        test::AnsweredAlerts alerts;
        const bool stored = page.populate();
        QApplication::processEvents();
        if (!c.expectedKey) {
            EXPECT_TRUE(stored);
            EXPECT_TRUE(alerts.seen.empty());
            const QByteArray ssid = c.ssid.toUtf8().left(16);
            EXPECT_EQ(QByteArray(record.wifi_ssid, qsizetype(strnlen(record.wifi_ssid, 16))), ssid);
            EXPECT_EQ(record.Gamma, 1u);
            continue;
        }
        EXPECT_FALSE(stored);
        EXPECT_TRUE(sameBytes(record, shown)) << testing::PrintToString(changedFields(shown, record));
        ASSERT_EQ(alerts.seen.size(), 1u);
        EXPECT_EQ(alerts.seen[0].title, uiText("alert.title.warning"));
        EXPECT_EQ(alerts.seen[0].message, uiText(c.expectedKey));
        EXPECT_EQ(alerts.seen[0].buttons, 1);
    }
}

TEST_F(ORVSettingForAuxViewControllerTest, TheRefusedWifiTextTakesTheFocus) {
    page.show();
    QApplication::setActiveWindow(&page);
    const struct {
        QString ssid;
        QString password;
        const char* expectedFocus;
    } cases[] = {{"Cam", "password1", "ssidLabel"}, {"Camera", "pass", "passwordLabel"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expectedFocus);
        show({});
        field("ssidLabel")->setText(c.ssid);
        field("passwordLabel")->setText(c.password);
        test::AnsweredAlerts alerts;
        EXPECT_FALSE(page.populate());
        QApplication::processEvents();
        // The page's focus, which it has again once the alert is dismissed.
        EXPECT_EQ(page.focusWidget(), field(c.expectedFocus));
        EXPECT_EQ(field(c.expectedFocus)->selectedText(), field(c.expectedFocus)->text());
    }
    page.hide();
}

TEST_F(ORVSettingForAuxViewControllerTest, OnlyPrintableAsciiWithoutTheSpaceIsValid) {
    const struct {
        QString text;
        bool expectedValid;
    } cases[] = {
        {"", true},          {"!", true},        {"~", true},   {"Zentrova_5G", true}, {" ", false},
        {"a b", false},      {"\x7f", false},    {"\n", false}, {QString::fromUtf8("\xc3\xa9"), false},
        {QString::fromUtf8("\xf0\x9f\x93\xb7"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(ORVSettingForAuxViewController::validString(c.text), c.expectedValid);
    }
}

TEST_F(ORVSettingForAuxViewControllerTest, AWifiTextFillsItsSixteenBytesAtMost) {
    struct Case {
        const char* typed;
        const char* expectedBytes;  // all 16
    };
    const Case cases[] = {
        {"Camera-1", "Camera-1\0\0\0\0\0\0\0\0"},
        {"ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMNOP"},
        {"ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNOP"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        // The card's name has bytes after its end, which a new name clears.
        show({});
        test::setText(record, "wifi_ssid", std::string_view("Old\0junk-bytes!!", 16));
        test::setText(record, "wifi_password", std::string_view("password\0garbage", 16));
        page.setFileData(&record);
        field("ssidLabel")->clear();
        QTest::keyClicks(field("ssidLabel"), c.typed);
        field("passwordLabel")->setText(QString::fromLatin1(c.typed));
        ASSERT_TRUE(page.populate());
        EXPECT_EQ(std::string(record.wifi_ssid, 16), std::string(c.expectedBytes, 16));
        EXPECT_EQ(std::string(record.wifi_password, 16), std::string(c.expectedBytes, 16));
        page.setFileData(&record);
        EXPECT_EQ(field("ssidLabel")->text(), QString::fromLatin1(c.expectedBytes, qsizetype(strnlen(c.expectedBytes, 16))));
    }
}

TEST_F(ORVSettingForAuxViewControllerTest, UntouchedWifiTextsKeepTheCardsBytes) {
    const struct {
        const char* name;
        std::string_view ssid;
        QString expectedShown;
    } cases[] = {
        {"bytes after the end", std::string_view("Camera-1\0\x01\x02junk!", 16), "Camera-1"},
        {"sixteen bytes without an end", std::string_view("ABCDEFGHIJKLMNOP", 16), "ABCDEFGHIJKLMNOP"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        show({});
        test::setText(record, "wifi_ssid", c.ssid);
        page.setFileData(&record);
        EXPECT_EQ(field("ssidLabel")->text(), c.expectedShown);
        const FILEDATA shown = record;
        ASSERT_TRUE(page.populate());
        EXPECT_TRUE(sameBytes(record, shown)) << testing::PrintToString(changedFields(shown, record));
    }
}

TEST_F(ORVSettingForAuxViewControllerTest, ANameThatIsNotUtf8ShowsEmptyAndMustBeRetyped) {
    show({});
    test::setText(record, "wifi_ssid", std::string_view("Cam\xff\xfe\x80zz", 8));
    page.setFileData(&record);
    EXPECT_EQ(field("ssidLabel")->text(), QString());
    test::AnsweredAlerts alerts;
    EXPECT_FALSE(page.populate());
    QApplication::processEvents();
    ASSERT_EQ(alerts.seen.size(), 1u);
    EXPECT_EQ(alerts.seen[0].message, uiText("setting.aux.ssid_length"));
}

TEST_F(ORVSettingForAuxViewControllerTest, ChangingOneControlChangesExactlyItsField) {
    struct Case {
        const char* outlet;
        int choice;
        const char* expectedField;
        std::int64_t expectedValue;
    };
    const Case cases[] = {
        {"dayTimeAESeg", 2, "DayTime", 2},
        {"lcdAutoPowerOffSeg", 3, "lcd_autopoweroff", 3},
        {"gammaSeg", 1, "Gamma", 1},
        {"lcdBrightnessSeg", 2, "lcd_brightness", 2},
        {"lcdNightBrightnessSeg", 0, "lcd_brightness_night", 0},
        {"parkingRearOffSeg", 0, "parking_rear_off", 1},
        {"lcdScreenSaverSeg", 2, "lcd_screensaver", 2},
        {"parkingAlarmSeg", 0, "parking_alarm", 0},
        {"recordingLengthSeg", 0, "always_mode_recording_time", 0},
        {"autoFormatAlarmSeg", 4, "autoFormatAlarm", 4},
        {"wifiChannelCombo", 11, "wifi_channel", 11},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.outlet);
        // The second card's split as no page would write it.
        show({{"sd2_mem_always_ratio", 33}, {"sd2_mem_event_ratio", 0xFFFFFFFF}, {"sd2_mem_motion_ratio", 7}});
        const FILEDATA shown = record;
        choose(page, c.outlet, c.choice);
        ASSERT_TRUE(page.populate());
        EXPECT_EQ(changedFields(shown, record), std::vector<std::string>{c.expectedField});
        EXPECT_EQ(fieldValue(record, c.expectedField), c.expectedValue);
    }
}

TEST_F(ORVSettingForAuxViewControllerTest, TheSecondCardsSplitIsNeverWritten) {
    show({{"sd2_mem_always_ratio", 33}, {"sd2_mem_event_ratio", 0xFFFFFFFF}, {"sd2_mem_motion_ratio", 7}});
    const FILEDATA shown = record;
    moveKnobs(20, 50);
    // A choice other than the factory one in every control.
    const std::pair<const char*, int> choices[] = {
        {"dayTimeAESeg", 0},          {"lcdAutoPowerOffSeg", 0}, {"gammaSeg", 1},
        {"lcdBrightnessSeg", 0},      {"lcdNightBrightnessSeg", 0}, {"parkingRearOffSeg", 0},
        {"lcdScreenSaverSeg", 0},     {"parkingAlarmSeg", 0},    {"recordingLengthSeg", 0},
        {"autoFormatAlarmSeg", 0},
    };
    for (const auto& [outlet, choice] : choices) choose(page, outlet, choice);
    test::outlet<QRadioButton>(page, "pipPositionCell00")->click();
    field("ssidLabel")->setText("Another-Name");
    field("passwordLabel")->setText("another-password");
    choose(page, "wifiChannelCombo", 13);
    ASSERT_TRUE(page.populate());
    EXPECT_EQ(record.sd2_mem_always_ratio, 33u);
    EXPECT_EQ(record.sd2_mem_event_ratio, 0xFFFFFFFFu);
    EXPECT_EQ(record.sd2_mem_motion_ratio, 7u);
    const std::vector<std::string> changed = changedFields(shown, record);
    for (const char* sd2 : {"sd2_mem_always_ratio", "sd2_mem_event_ratio", "sd2_mem_motion_ratio"}) {
        EXPECT_EQ(std::count(changed.begin(), changed.end(), sd2), 0);
    }
    EXPECT_EQ(changed.size(), 17u) << testing::PrintToString(changed);
}

}  // namespace
}  // namespace zentrova
