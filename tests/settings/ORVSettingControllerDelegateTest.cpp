#include "settings/ORVSettingControllerDelegate.h"

#include "settings/FILEDATA.h"
#include "support/WidgetTestApplication.h"

#include <gtest/gtest.h>

#include <QLineEdit>

#include <cstring>
#include <optional>

namespace zentrova {
namespace {

// One field, shown in a line edit, refused when empty or when the page says
// it must still refuse after its own warning.
class OneFieldPage : public ORVSettingControllerDelegate {
public:
    OneFieldPage() { field.setParent(this); }

    std::optional<QString> validateUserInput() const override {
        if (field.text().isEmpty()) return QStringLiteral("empty");
        return std::nullopt;
    }

    QLineEdit field;
    bool refuseAfterWarning = false;
    int displays = 0;

protected:
    void displayFileData() override {
        ++displays;
        field.setText(QString::number(fileData()->vid_brightness));
    }
    bool storeFileData(FILEDATA& record) override {
        if (refuseAfterWarning) return false;
        record.vid_brightness = field.text().toUInt();
        return true;
    }
};

class ORVSettingControllerDelegateTest : public test::WidgetTest {
protected:
    FILEDATA record{};
    OneFieldPage page;
};

TEST_F(ORVSettingControllerDelegateTest, HandingOverTheRecordShowsIt) {
    record.vid_brightness = 7;
    page.setFileData(&record);
    EXPECT_EQ(page.displays, 1);
    EXPECT_EQ(page.field.text(), "7");
}

TEST_F(ORVSettingControllerDelegateTest, NoRecordIsNeitherShownNorStored) {
    page.setFileData(nullptr);
    EXPECT_EQ(page.displays, 0);
    page.field.setText("5");
    EXPECT_FALSE(page.populate());
}

TEST_F(ORVSettingControllerDelegateTest, PopulateStoresOnlyAcceptedInput) {
    struct Case {
        const char* name;
        const char* text;
        bool refuseAfterWarning;
        bool expectedStored;
        std::uint32_t expectedBrightness;
    };
    const Case cases[] = {
        {"accepted input is stored", "9", false, true, 9},
        {"refused input leaves the record", "", false, false, 3},
        {"a refusal after the page's warning leaves the record", "9", true, false, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        record.vid_brightness = 3;
        page.setFileData(&record);
        page.field.setText(c.text);
        page.refuseAfterWarning = c.refuseAfterWarning;
        const FILEDATA before = record;
        EXPECT_EQ(page.populate(), c.expectedStored);
        EXPECT_EQ(record.vid_brightness, c.expectedBrightness);
        if (!c.expectedStored) {
            EXPECT_EQ(std::memcmp(&before, &record, sizeof record), 0);
        }
    }
}

}  // namespace
}  // namespace zentrova
