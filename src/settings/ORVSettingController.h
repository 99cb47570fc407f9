#pragma once

#include "card/TKUSBDiskEntity.h"
#include "settings/FILEDATA.h"
#include "settings/FileDataFile.h"
#include "settings/SettingTabs.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QScrollArea;

namespace zentrova {

class AtomicFileWriter;
class DelayedSteps;
class ORVSettingControllerDelegate;
class SegmentedControl;
class SettingLoadingSheet;
class VolumeRenamer;
class VolumeSource;

// The settings editor: finds the camera's card, reads its config.bin into
// the one record that all pages edit, shows one page at a time under eight
// tabs, checks a page before the user leaves it and writes the record back.
// Without a card that holds a settings file it offers to edit one kept on
// the computer.
class ORVSettingController : public QWidget {
    Q_OBJECT
public:
    // What reading the settings file in the background came to.
    struct ReadOutcome {
        FileDataReadResult result = FileDataReadResult::CannotOpen;
        FILEDATA record{};
    };
    using BackgroundReader =
        std::function<void(std::function<ReadOutcome()> work, std::function<void(ReadOutcome)> done)>;
    // The chosen path, or none when the user cancelled.
    using SaveDialog = std::function<std::optional<QString>(QWidget* window)>;
    using OpenDialog = std::function<std::optional<QString>(QWidget* window, const QString& startFolder)>;
    using WindowMaker = std::function<QWidget*(QWidget* editor)>;

    struct Parts {
        // The system's view of cards, the card renamer and the file writer;
        // they outlive the editor.
        VolumeSource* volumes = nullptr;
        VolumeRenamer* renamer = nullptr;
        AtomicFileWriter* writer = nullptr;
        // The loading sheet's ticks; none: Qt timers.
        std::shared_ptr<DelayedSteps> delayedSteps;
        // None: the global thread pool, handing back on the main thread.
        BackgroundReader runInBackground;
        // None: the system's dialogs.
        SaveDialog saveDialog;
        OpenDialog openDialog;
        // The folder the main window shows, offered when no card holds a
        // settings file; empty for none.
        QString openedFolder;
        // The card formatter's window; none leaves its button disabled.
        WindowMaker makeFormatWindow;
        // Empty: settingTabs().
        std::vector<SettingTab> tabs;
    };

    static BackgroundReader threadPoolReader();

    // Resets the record, finds the card and reads its settings file at once.
    explicit ORVSettingController(Parts parts, QWidget* parent = nullptr);
    ~ORVSettingController() override;

    FILEDATA* filedata() { return &m_FileData; }
    const std::optional<std::string>& settingFilePath() const { return m_SettingFilePath; }
    const std::optional<TKUSBDiskEntity>& selectedUSBDisk() const { return m_selectedUSBDisk; }
    std::int64_t lastSelectedTabIndex() const { return m_lastSelectedTabIndex; }
    QWidget* targetController() const { return m_targetController; }
    QWidget* driveInfoController() const { return m_driveInfoController; }
    QWidget* lastDialogController() const { return m_lastDialogController; }
    SettingLoadingSheet& loadingSheet() const { return *m_loadingSheet; }
    // The settings file is being read; until it is, nothing can be edited
    // or saved.
    bool isReading() const { return m_reading; }

    // The current page's, or true and none without a page.
    bool populate();
    std::optional<QString> validateUserInput() const;

    // Looks for the card and its 500-byte config.bin.
    void findUSBVolume();
    // Reads the file in the background under the loading sheet.
    bool loadSettingFile();
    // Reads it at once.
    bool loadSettingFile2();

public slots:
    void changeViewController(int index);
    void onSave();
    void onCloseCmd();
    void onSaveDefaultSetting();
    void onFormat();
    // The settings file kept on the computer, through the dialog or given.
    void openSettingFileDialog();
    void openSettingFile(const QString& path);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildWindow();
    QWidget* buildNoCardNotice();
    QWidget* buildButtonRow();
    void windowDidLoad();
    void placeCentredOnScreen();
    void onInitDIalog();
    void updateWindowTitle();
    void updateNoCardNotice();
    void readInBackground(const std::string& path);
    void settingFileRead(const ReadOutcome& outcome);
    void setEditingEnabled(bool enabled);
    ORVSettingControllerDelegate* currentPage() const;
    void snapTabBack();
    void removeShownPage();
    QWidget* pageForTab(int index);
    std::optional<std::string> driveLogPath() const;
    std::optional<std::string> savePath();
    void writeRecord(const std::string& path, bool toCard);
    std::optional<std::string> folderSettingFile() const;

    Parts m_parts;
    std::shared_ptr<DelayedSteps> m_delayedSteps;
    FILEDATA m_FileData{};
    std::optional<std::string> m_SettingFilePath;
    std::optional<TKUSBDiskEntity> m_selectedUSBDisk;
    // The settings file on the computer that the user opened, when no card
    // held one; saving writes back to it.
    std::optional<std::string> m_openedSettingFile;
    std::int64_t m_lastSelectedTabIndex = -1;
    QPointer<QWidget> m_targetController;
    QPointer<QWidget> m_driveInfoController;
    QPointer<QWidget> m_lastDialogController;
    bool m_windowLoaded = false;
    bool m_reading = false;

    SegmentedControl* m_functionSegmentedControl = nullptr;
    QLabel* m_pageTitleLabel = nullptr;
    QScrollArea* m_targetView = nullptr;
    QWidget* m_noCardNotice = nullptr;
    QPushButton* m_openSettingFileButton = nullptr;
    QPushButton* m_openFolderSettingFileButton = nullptr;
    QPushButton* m_sdcardFormatButton = nullptr;
    QPushButton* m_resetButton = nullptr;
    QPushButton* m_saveButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    std::unique_ptr<SettingLoadingSheet> m_loadingSheet;
};

}  // namespace zentrova
