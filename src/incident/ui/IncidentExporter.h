#pragma once

#include "controls/ProgressSheet.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

class QWidget;

namespace zentrova {

class PackageFolderWriter;

// "Export incident...": asks for a folder and writes the incident package
// of one recording into it in the background, under a progress sheet on
// the window: the card is checked for its clock first, a picture of the
// video (when given) goes in as capture.png, and the package gets a folder
// name not yet taken, so nothing is ever replaced. The result is shown in
// an alert: where the package is, or why there is none.
class IncidentExporter : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kCaptureName = "capture.png";

    struct Parts {
        // Asks for the folder to put the package in; an empty text when cancelled.
        std::function<QString(QWidget* parent)> chooseFolder;
        // The system's folder writer when none.
        std::shared_ptr<PackageFolderWriter> folders;
        std::function<std::int64_t()> nowUtcMilliseconds;
    };

    IncidentExporter(QWidget* window, Parts parts);
    ~IncidentExporter() override;

    // False when an export is running or no folder was chosen.
    bool exportRecording(const QString& recordingPath, const QImage& capture = QImage());
    bool isExporting() const { return m_exporting; }
    void setFolderChooser(std::function<QString(QWidget* parent)> chooser) { m_parts.chooseFolder = std::move(chooser); }
    ProgressSheet* progressSheet() const { return m_sheet; }

    // The package folder for a recording in the chosen folder: its own name,
    // or with "-2", "-3"... when that is taken.
    static QString freeFolderIn(const QString& folder, const QString& name);

signals:
    // packagePath is empty when no package was written; error says why.
    void exportFinished(const QString& packagePath, const QString& error);

private:
    struct Outcome {
        QString packagePath;
        QString error;
        std::size_t files = 0;
    };
    struct Step {
        int stage = 0;  // 0 checking the card, 1 writing
        double fraction = 0.0;
        std::string file;
    };

    void showStep(const Step& step);
    void finish(const Outcome& outcome);

    QPointer<QWidget> m_window;
    Parts m_parts;
    QPointer<ProgressSheet> m_sheet;
    std::jthread m_worker;
    bool m_exporting = false;
};

}  // namespace zentrova
