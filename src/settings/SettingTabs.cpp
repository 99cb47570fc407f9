#include "settings/SettingTabs.h"

#include "settings/NotBuiltPage.h"
#include "settings/pages/ORVSettingForVideoViewController.h"

namespace zentrova {
namespace {

QWidget* notBuiltYet(const SettingPageContext&) { return new NotBuiltPage; }

}  // namespace

std::vector<SettingTab> settingTabs() {
    return {
        {TextKey{"setting.video"}, TextKey{"setting.video"},
         [](const SettingPageContext&) -> QWidget* { return new ORVSettingForVideoViewController; }},
        {TextKey{"setting.basic"}, TextKey{"setting.basic"}, notBuiltYet},
        {TextKey{"setting.gps"}, TextKey{"setting.gps"}, notBuiltYet},
        {TextKey{"setting.aux"}, TextKey{"setting.aux"}, notBuiltYet},
        {TextKey{"setting.park"}, TextKey{"setting.motion"}, notBuiltYet},
        // Made with the record at creation: its choices follow the speed unit.
        {TextKey{"setting.adas"}, TextKey{"setting.adas"}, notBuiltYet},
        {TextKey{"setting.audio"}, TextKey{"setting.audio"}, notBuiltYet},
        {TextKey{"setting.driveinfoview"}, TextKey{"setting.information"}, notBuiltYet, true},
    };
}

}  // namespace zentrova
