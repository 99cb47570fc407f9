#pragma once

#include "common/Localization.h"
#include "settings/FILEDATA.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace zentrova {

class SettingLoadingSheet;

// What a page may be given when it is made.
struct SettingPageContext {
    // The editor's record; the pages that build their choices from it at
    // creation take it here.
    FILEDATA* record = nullptr;
    // The drive log beside the settings file, when there is one.
    std::optional<std::string> driveLogPath;
    // The editor's loading sheet, which a page may borrow for long work of
    // its own.
    SettingLoadingSheet* loadingSheet = nullptr;
};

// One tab of the settings editor.
struct SettingTab {
    TextKey label;
    // The title of the page; it may differ from the tab's label.
    TextKey title;
    std::function<QWidget*(const SettingPageContext&)> makePage;
    // Made on the first visit and shown again on later ones; the other
    // pages are made anew each time, from the record.
    bool keptOnceMade = false;
};

// The editor's eight tabs in their order, one line each.
std::vector<SettingTab> settingTabs();

}  // namespace zentrova
