#include "controls/TKImageButton.h"

#include "controls/ImageLibrary.h"
#include "support/WidgetTestApplication.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QEnterEvent>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

namespace zentrova {
namespace {

// The play triangle's middle and a corner of the image, in a 40-pixel
// image 4 pixels inside the button.
constexpr QPoint kGlyph(4 + 20, 4 + 20);
constexpr QPoint kCorner(4 + 2, 4 + 2);
const QColor kNormal(0xe6, 0xe9, 0xef);
const QColor kRollover(0xff, 0xff, 0xff);
const QColor kPlate(0x2e, 0x34, 0x3d);
const QColor kPressed(0x19, 0xb5, 0xc8);
const QColor kDisabled(0x5c, 0x64, 0x6e);

void enter(TKImageButton& button) {
    QEnterEvent event(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(&button, &event);
}

void leave(TKImageButton& button) {
    QEvent event(QEvent::Leave);
    QCoreApplication::sendEvent(&button, &event);
}

class TKImageButtonTest : public test::WidgetTest {
protected:
    void SetUp() override {
        button.setIconSize(QSize(40, 40));
        button.setImageName("icon_play_n");
        button.show();
    }

    QColor shownAt(QPoint point) { return button.grab().toImage().pixelColor(point); }

    TKImageButton button;
};

TEST_F(TKImageButtonTest, TheCompanionsComeFromTheNormalImagesName) {
    struct Case {
        const char* name;
        const char* rollover;
        const char* pressed;
        const char* inactive;
    } cases[] = {
        {"icon_pause_n", "icon_pause_f", "icon_pause_p", "icon_pause_d"},
        {"record_n", "record_f", "record_p", "record_d"},
        {"zentrova", "", "", "zentrova"},
        {"car_front_alwa", "", "", "car_front_alwa"},
        {"_n", "", "", "_n"},
        {"", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TKImageButton named(c.name);
        EXPECT_EQ(named.imageName(), c.name);
        EXPECT_EQ(named.rolloverImage(), c.rollover);
        EXPECT_EQ(named.pressedImage(), c.pressed);
        EXPECT_EQ(named.inactiveImage(), c.inactive) << "the normal image when there is no disabled one";
    }
}

TEST_F(TKImageButtonTest, EveryNormalImageHasItsRolloverPressedAndDisabledCompanions) {
    ImageLibrary::exists("icon_play_n");
    const QStringList normals = QDir(":/images").entryList({"*_n.svg"});
    ASSERT_GT(normals.size(), 20);
    for (const QString& file : normals) {
        SCOPED_TRACE(file.toStdString());
        TKImageButton named(file.chopped(4));
        EXPECT_FALSE(named.rolloverImage().isEmpty());
        EXPECT_FALSE(named.pressedImage().isEmpty());
        EXPECT_NE(named.inactiveImage(), named.imageName());
    }
}

TEST_F(TKImageButtonTest, RolloverFollowsEntriesAndExitsWhileTheButtonIsEnabled) {
    enum Event { Enter, Leave, Disable, Enable, Hide };
    struct Case {
        const char* name;
        std::vector<Event> events;
        qint64 captures;
        const char* shown;
    } cases[] = {
        {"an entry shows the rollover image", {Enter}, 1, "icon_play_f"},
        {"two entries and one exit keep it", {Enter, Enter, Leave}, 1, "icon_play_f"},
        {"a further exit shows the normal image", {Enter, Enter, Leave, Leave}, 0, "icon_play_n"},
        {"an exit with no entry stays at no capture", {Leave, Leave}, 0, "icon_play_n"},
        {"an entry after it counts from there", {Leave, Enter}, 1, "icon_play_f"},
        {"a disabled button shows its disabled image under the pointer", {Enter, Disable}, 1, "icon_play_d"},
        {"enabled again under the pointer it rolls over", {Enter, Disable, Enable}, 1, "icon_play_f"},
        {"a hidden button forgets the pointer", {Enter, Hide}, 0, "icon_play_n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TKImageButton tracked("icon_play_n");
        tracked.show();
        for (Event event : c.events) {
            switch (event) {
                case Enter: enter(tracked); break;
                case Leave: leave(tracked); break;
                case Disable: tracked.setEnabled(false); break;
                case Enable: tracked.setEnabled(true); break;
                case Hide: tracked.hide(); break;
            }
        }
        EXPECT_EQ(tracked.numberOfCaptures(), c.captures);
        EXPECT_EQ(tracked.shownImageName(), c.shown);
    }
}

TEST_F(TKImageButtonTest, EachStateIsDrawnWithItsOwnImage) {
    struct Step {
        const char* name;
        std::function<void()> act;
        QColor glyph;
        QColor corner;
    };
    const QColor none = shownAt(kCorner);
    const Step steps[] = {
        {"normal", [] {}, kNormal, none},
        {"the pointer enters", [&] { enter(button); }, kRollover, kPlate},
        {"held down", [&] { QTest::mousePress(&button, Qt::LeftButton, Qt::NoModifier, kGlyph); }, kPressed, none},
        {"let go under the pointer", [&] { QTest::mouseRelease(&button, Qt::LeftButton, Qt::NoModifier, kGlyph); },
         kRollover, kPlate},
        {"the pointer leaves", [&] { leave(button); }, kNormal, none},
        {"disabled", [&] { button.setEnabled(false); }, kDisabled, none},
        {"disabled with the pointer over it", [&] { enter(button); }, kDisabled, none},
        {"enabled again", [&] { button.setEnabled(true); }, kRollover, kPlate},
        {"selected", [&] { button.setSelected(true); }, kPressed, none},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        EXPECT_EQ(shownAt(kGlyph), step.glyph);
        EXPECT_EQ(shownAt(kCorner), step.corner);
    }
    EXPECT_NE(none, kPlate);
}

TEST_F(TKImageButtonTest, ThePointerRollsOverFourPixelsBeforeTheImageAndClicks) {
    QWidget window;
    window.resize(200, 120);
    TKImageButton* placed = new TKImageButton("icon_play_n", &window);
    placed->setIconSize(QSize(40, 40));
    placed->resize(placed->sizeHint());
    placed->move(60, 30);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(placed->sizeHint(), QSize(48, 48));
    QSignalSpy clicked(placed, &TKImageButton::clicked);

    QTest::mouseMove(&window, QPoint(20, 20));
    EXPECT_EQ(placed->shownImageName(), "icon_play_n");
    // The image starts at 64; 61 is three pixels before it.
    QTest::mouseMove(&window, QPoint(61, 54));
    EXPECT_EQ(placed->shownImageName(), "icon_play_f");
    QTest::mouseClick(placed, Qt::LeftButton, Qt::NoModifier, QPoint(1, 24));
    EXPECT_EQ(clicked.count(), 1) << "the margin is part of the button";
    QTest::mouseMove(&window, QPoint(150, 100));
    EXPECT_EQ(placed->shownImageName(), "icon_play_n");
    EXPECT_EQ(placed->numberOfCaptures(), 0);
}

}  // namespace
}  // namespace zentrova
