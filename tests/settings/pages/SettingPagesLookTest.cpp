// Every page laid out at the size it asks for: each control whole inside
// its parent, no text cut short, no text missing. With
// ZENTROVA_SCREENSHOT_DIR set, each page is also written there as a picture.
#include "controls/AppStyle.h"
#include "settings/FILEDATA.h"
#include "settings/pages/ORVSettingForAdasViewController.h"
#include "settings/pages/ORVSettingForAudioViewController.h"
#include "settings/pages/ORVSettingForAuxViewController.h"
#include "settings/pages/ORVSettingForBasicViewController.h"
#include "settings/pages/ORVSettingForGpsViewController.h"
#include "settings/pages/ORVSettingForMotionViewController.h"
#include "support/WidgetTestApplication.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>

#include <functional>
#include <memory>

namespace zentrova {
namespace {

struct PageCase {
    const char* name;
    std::function<std::unique_ptr<ORVSettingControllerDelegate>()> make;
    // A record that shows what the factory one does not (a note, a warning).
    std::function<void(FILEDATA&)> edit = {};
};

const PageCase kPages[] = {
    {"basic", [] { return std::make_unique<ORVSettingForBasicViewController>(); }},
    {"gps", [] { return std::make_unique<ORVSettingForGpsViewController>(); }},
    {"motion", [] { return std::make_unique<ORVSettingForMotionViewController>(); }},
    {"system", [] { return std::make_unique<ORVSettingForAuxViewController>(); }},
    {"system-corrected", [] { return std::make_unique<ORVSettingForAuxViewController>(); },
     [](FILEDATA& r) { r.sd_mem_motion_ratio = 60; }},
    {"adas", [] { return std::make_unique<ORVSettingForAdasViewController>(nullptr); }},
    {"audio", [] { return std::make_unique<ORVSettingForAudioViewController>(); }},
};

struct Look {
    const char* name;
    bool appStyle;
};
const Look kLooks[] = {{"plain", false}, {"styled", true}};

QStringList textsOf(const QWidget& widget) {
    if (auto* label = qobject_cast<const QLabel*>(&widget)) return {label->text()};
    if (auto* button = qobject_cast<const QAbstractButton*>(&widget)) return {button->text()};
    if (auto* box = qobject_cast<const QGroupBox*>(&widget)) return {box->title()};
    if (auto* combo = qobject_cast<const QComboBox*>(&widget)) {
        QStringList items;
        for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
        return items;
    }
    return {};
}

class SettingPagesLookTest : public test::WidgetTest {};

TEST_F(SettingPagesLookTest, EveryControlIsWholeAndLabelled) {
    for (const PageCase& pageCase : kPages) {
        for (const Look& look : kLooks) {
            SCOPED_TRACE(std::string(pageCase.name) + " " + look.name);
            FILEDATA record{};
            resetFileData(record);
            if (pageCase.edit) pageCase.edit(record);
            std::unique_ptr<ORVSettingControllerDelegate> page = pageCase.make();
            if (look.appStyle) page->setStyleSheet(AppStyle::styleSheet());
            page->setFileData(&record);
            page->resize(page->sizeHint());
            page->show();
            QApplication::processEvents();

            for (QWidget* widget : page->findChildren<QWidget*>()) {
                if (!widget->isVisible()) continue;
                const QString name = widget->objectName().isEmpty() ? widget->metaObject()->className()
                                                                    : widget->objectName();
                SCOPED_TRACE(name.toStdString());
                const QWidget* parent = widget->parentWidget();
                EXPECT_TRUE(parent->rect().contains(widget->geometry()))
                    << "outside its parent " << parent->objectName().toStdString();
                const QSize least = widget->minimumSizeHint();
                if (least.isValid()) {
                    EXPECT_GE(widget->width(), least.width());
                    EXPECT_GE(widget->height(), least.height());
                }
                for (const QString& text : textsOf(*widget)) EXPECT_FALSE(text.trimmed().isEmpty());
            }
            if (const QByteArray dir = qgetenv("ZENTROVA_SCREENSHOT_DIR"); !dir.isEmpty()) {
                QDir().mkpath(QString::fromLocal8Bit(dir));
                const QString path = QStringLiteral("%1/settings-%2-%3.png")
                                         .arg(QString::fromLocal8Bit(dir), pageCase.name, look.name);
                EXPECT_TRUE(page->grab().save(path));
            }
            page->hide();
        }
    }
}

}  // namespace
}  // namespace zentrova
