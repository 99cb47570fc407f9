#include "settings/SettingEditorMaker.h"

#include "card/linux/LinuxCommandRunner.h"
#include "card/linux/LinuxVolumeRenamer.h"
#include "card/linux/SystemVolumeSource.h"
#include "common/linux/PosixAtomicFileWriter.h"

#include <QString>
#include <QWidget>

namespace zentrova {

struct SettingEditorMaker::SystemServices {
    // The same volumes as the card windows see, a fake card's included.
    std::unique_ptr<VolumeSource> volumes = makeSystemVolumeSource();
    LinuxCommandRunner runner;
    LinuxVolumeRenamer renamer{runner};
    PosixAtomicFileWriter writer;
};

std::unique_ptr<SettingEditorMaker> SettingEditorMaker::forSystem() {
    auto system = std::make_unique<SystemServices>();
    ORVSettingController::Parts parts;
    parts.volumes = system->volumes.get();
    parts.renamer = &system->renamer;
    parts.writer = &system->writer;
    auto maker = std::make_unique<SettingEditorMaker>(std::move(parts));
    maker->m_system = std::move(system);
    return maker;
}

SettingEditorMaker::SettingEditorMaker(ORVSettingController::Parts parts) : m_parts(std::move(parts)) {}

SettingEditorMaker::~SettingEditorMaker() = default;

ORVSettingController* SettingEditorMaker::makeEditor(QWidget* mainWindow, const QString& openedFolder) const {
    ORVSettingController::Parts parts = m_parts;
    parts.openedFolder = openedFolder;
    auto* editor = new ORVSettingController(std::move(parts), mainWindow);
    editor->setAttribute(Qt::WA_DeleteOnClose);
    return editor;
}

void SettingEditorMaker::probeCard() const { ORVSettingController probe(m_parts); }

void SettingEditorMaker::setFormatWindowMaker(ORVSettingController::WindowMaker maker) {
    m_parts.makeFormatWindow = std::move(maker);
}

}  // namespace zentrova
