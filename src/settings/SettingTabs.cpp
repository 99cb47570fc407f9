#include "settings/SettingTabs.h"

#include "settings/SettingLoadingSheet.h"
#include "settings/pages/ORVSettingForAdasViewController.h"
#include "settings/pages/ORVSettingForAudioViewController.h"
#include "settings/pages/ORVSettingForAuxViewController.h"
#include "settings/pages/ORVSettingForBasicViewController.h"
#include "settings/pages/ORVSettingForFlashDataViewController.h"
#include "settings/pages/ORVSettingForGpsViewController.h"
#include "settings/pages/ORVSettingForMotionViewController.h"
#include "settings/pages/ORVSettingForVideoViewController.h"

namespace zentrova {
namespace {

// Reads the card's drive log on its first visit, under the editor's sheet.
QWidget* makeDriveLogPage(const SettingPageContext& context) {
    auto* page = new ORVSettingForFlashDataViewController;
    if (context.driveLogPath) page->setM_FlashDataFilePath(QString::fromStdString(*context.driveLogPath));
    if (SettingLoadingSheet* sheet = context.loadingSheet) {
        page->setLoadingSheet({[sheet](const QString& title) { sheet->showLoading(title); },
                               [sheet] { sheet->hideLoading(); }});
    }
    return page;
}

}  // namespace

std::vector<SettingTab> settingTabs() {
    return {
        {TextKey{"setting.video"}, TextKey{"setting.video"},
         [](const SettingPageContext&) -> QWidget* { return new ORVSettingForVideoViewController; }},
        {TextKey{"setting.basic"}, TextKey{"setting.basic"},
         [](const SettingPageContext&) -> QWidget* { return new ORVSettingForBasicViewController; }},
        {TextKey{"setting.gps"}, TextKey{"setting.gps"},
         [](const SettingPageContext&) -> QWidget* { return new ORVSettingForGpsViewController; }},
        {TextKey{"setting.aux"}, TextKey{"setting.aux"},
         [](const SettingPageContext&) -> QWidget* { return new ORVSettingForAuxViewController; }},
        {TextKey{"setting.park"}, TextKey{"setting.motion"},
         [](const SettingPageContext&) -> QWidget* { return new ORVSettingForMotionViewController; }},
        // Made with the record at creation: its choices follow the speed unit.
        {TextKey{"setting.adas"}, TextKey{"setting.adas"},
         [](const SettingPageContext& context) -> QWidget* {
             return new ORVSettingForAdasViewController(context.record);
         }},
        {TextKey{"setting.audio"}, TextKey{"setting.audio"},
         [](const SettingPageContext&) -> QWidget* { return new ORVSettingForAudioViewController; }},
        {TextKey{"setting.driveinfoview"}, TextKey{"setting.information"}, makeDriveLogPage, true},
    };
}

}  // namespace zentrova
