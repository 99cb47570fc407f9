#pragma once

#include "card/CardFormatWorker.h"
#include "card/TKUSBDiskEntity.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QMessageBox;
class QProgressBar;
class QPushButton;
class QTimer;

namespace zentrova {

class AtomicFileWriter;
class CommandRunner;
class VolumeSource;

// The card formatter: lists the cards, and formats the chosen one for the
// camera (FAT32 labelled ZENTROVA) after the user has confirmed, with its
// config.bin put back. The search and the format run on worker threads; the
// window shows each step under its progress bar.
class ORVFormatWindowController : public QWidget {
    Q_OBJECT
public:
    // What the window works with; shared with the workers it starts, which
    // may outlive it.
    struct Services {
        std::shared_ptr<VolumeSource> volumes;
        std::shared_ptr<CommandRunner> runner;
        std::shared_ptr<AtomicFileWriter> writer;
        // The absolute path of mkfs.fat; empty when it is not installed.
        std::string mkfsProgram;
        std::filesystem::path temporaryFolder;

        // This computer's volumes, commands through pkexec, files on disk.
        static Services system();
    };

    // Opens with this computer's services and starts the volume search.
    explicit ORVFormatWindowController(QWidget* parent = nullptr);
    ORVFormatWindowController(Services services, QWidget* parent);
    ~ORVFormatWindowController() override;

    // Refreshes the list on a worker; completion runs once the combo has
    // been refilled.
    void loadUSBVolumes(std::function<void()> completion = {});
    std::optional<TKUSBDiskEntity> selectedUSBDisk() const;
    // Selects the first volume of that device; none (selection unchanged)
    // when the list has none.
    std::optional<TKUSBDiskEntity> selectUSBByDevFile(const std::string& deviceName);
    const std::vector<TKUSBDiskEntity>& usbDiskArray() const { return m_usbDiskArray; }
    void updateSelectedDiskInfo();

    // The allocation unit the format will give a volume ("64 KB"), "-" for
    // one too small for FAT32.
    static QString allocationUnitText(std::uint64_t volumeSize);
    // The question asked before a card is erased.
    static QString confirmationText(const TKUSBDiskEntity& volume);

    bool isFormatting() const { return m_formatting; }
    bool isSearching() const { return m_searching; }
    QString progressMessage() const;
    bool isProgressBarShown() const;

public slots:
    void changeDisk();
    void onFormat();
    void cancel();

signals:
    // A volume search has refilled the list.
    void volumesLoaded();
    // The format worker ended and its result is shown.
    void formatEnded(CardFormatResult::Kind kind);
    // Every step message, in order.
    void progressMessageChanged(const QString& message);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void windowDidLoad();
    void doFormat(const TKUSBDiskEntity& volume);
    void askToErase(const TKUSBDiskEntity& volume);
    void fillVolumes(std::vector<TKUSBDiskEntity> volumes);
    void formatDidFinish(const TKUSBDiskEntity& volume, const CardFormatResult& result);
    void showResult(const TKUSBDiskEntity& volume, const CardFormatResult& result);
    void showStep(CardFormatWorker::Step step);
    void showProgressBar(const QString& message);
    void setProgressMessage(const QString& message);
    void updateProgressBar(double limitSeconds);
    void hideProgressBar();
    void updateButtons();

    Services m_services;
    std::vector<TKUSBDiskEntity> m_usbDiskArray;
    bool m_stopProgressBar = true;
    double m_progress = 0;
    bool m_searching = false;
    bool m_formatting = false;
    bool m_reopenWhenDone = false;
    QPointer<QMessageBox> m_confirmation;

    QComboBox* m_usbDiskCombo = nullptr;
    QLabel* m_allocationUnitField = nullptr;
    QLabel* m_fileSystemField = nullptr;
    QLabel* m_pathField = nullptr;
    QPushButton* m_formatButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QLabel* m_progressMessageField = nullptr;
    QTimer* m_progressTimer = nullptr;
};

}  // namespace zentrova
