#pragma once

#include "check/CardCheckReport.h"

#include <QString>
#include <QWidget>

#include <chrono>
#include <functional>
#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTreeWidget;

namespace zentrova {

class AtomicFileWriter;
class DirectoryLister;
class CardCheckRun;

// The "Card check" window: checks a card (or a folder of recordings) in
// the background with progress and cancel, never writing to it, and shows
// the findings, the recordings, the days, the camera's clock, config.bin
// and the space. When the clock itself is off it offers to write the
// card's clock file with the current time, after a confirmation; when a
// time-zone setting explains the difference it offers the settings editor.
class CardCheckWindow : public QWidget {
    Q_OBJECT
public:
    struct Parts {
        // Writes the clock file; the system's writer when none.
        std::shared_ptr<AtomicFileWriter> writer;
        // The current time, for the clock file; the system clock when none.
        std::function<std::chrono::system_clock::time_point()> now;
        // Asks for a folder to check; an empty text when cancelled.
        std::function<QString(QWidget* parent)> chooseFolder;
        // Lists the card's folders; the system's lister when none.
        std::function<std::unique_ptr<DirectoryLister>()> makeLister;
    };

    CardCheckWindow(QWidget* parent, Parts parts);
    ~CardCheckWindow() override;

    // Checks the folder; does nothing while a check runs.
    void checkFolder(const QString& directory);
    void cancelCheck();
    bool isChecking() const;
    // The folder checked last or being checked; empty before the first.
    const QString& folder() const { return m_directory; }
    // The last report shown, none before the first check ends.
    const CardCheckReport* report() const { return m_report.get(); }

signals:
    // After a report is shown, complete or cancelled.
    void checkFinished();
    // The user asked for the camera's settings (to change the time zone).
    void settingsRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    QWidget* buildClockBox();
    QTreeWidget* addSection(const char* name, std::string_view titleKey, std::initializer_list<std::string_view> columns);
    void showProgress(qulonglong done, qulonglong total, const QString& path);
    void showReport(std::shared_ptr<const CardCheckReport> report);
    void showRunning(bool running);
    void showClockOffers();
    void chooseAndCheck();
    void confirmClockFix();
    void writeClockFile();

    Parts m_parts;
    CardCheckRun* m_run = nullptr;
    QString m_directory;
    std::shared_ptr<const CardCheckReport> m_report;

    QLabel* m_folderLabel = nullptr;
    QPushButton* m_chooseButton = nullptr;
    QPushButton* m_runButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QLabel* m_progressLabel = nullptr;
    QLabel* m_summaryLabel = nullptr;
    QLabel* m_clockLabel = nullptr;
    QPushButton* m_setClockButton = nullptr;
    QPushButton* m_openSettingsButton = nullptr;
    QTabWidget* m_sections = nullptr;
    QTreeWidget* m_findings = nullptr;
    QTreeWidget* m_recordings = nullptr;
    QTreeWidget* m_days = nullptr;
    QTreeWidget* m_clock = nullptr;
    QTreeWidget* m_settings = nullptr;
    QTreeWidget* m_space = nullptr;
};

}  // namespace zentrova
