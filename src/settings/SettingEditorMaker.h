#pragma once

#include "settings/ORVSettingController.h"

#include <memory>

class QString;
class QWidget;

namespace zentrova {

// Makes settings editors over one set of card, command and file services.
class SettingEditorMaker {
public:
    // Over the system's volumes, commands and files.
    static std::unique_ptr<SettingEditorMaker> forSystem();
    // Over the given parts; their services outlive the maker.
    explicit SettingEditorMaker(ORVSettingController::Parts parts);
    ~SettingEditorMaker();

    // A new editor window over the main window, which offers the settings
    // file of the folder the main window shows when no card holds one. It
    // is deleted when it closes.
    ORVSettingController* makeEditor(QWidget* mainWindow, const QString& openedFolder) const;

    // Makes an editor and releases it at once, on the calling thread: a card
    // that holds a valid settings file under another volume name is given
    // the camera's name. Nothing it reads is kept.
    void probeCard() const;

    // The card formatter's window, opened from the editors made after this.
    void setFormatWindowMaker(ORVSettingController::WindowMaker maker);

private:
    struct SystemServices;

    std::unique_ptr<SystemServices> m_system;
    ORVSettingController::Parts m_parts;
};

}  // namespace zentrova
