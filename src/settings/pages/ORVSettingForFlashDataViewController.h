#pragma once

#include "settings/ORVSettingControllerDelegate.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QPushButton;
class QTableView;

namespace zentrova {

class AtomicFileWriter;
class ORVFlashDataTableModel;
class ORVMapWindowController;
class ProgressSheet;

// The drive-information page of the settings editor: the camera's drive-log
// records in a table, the place of a record on the map window, and the table
// as CSV. It never changes the settings record. Reading and writing run on
// a worker under a loading sheet.
class ORVSettingForFlashDataViewController : public ORVSettingControllerDelegate {
    Q_OBJECT
public:
    struct Services {
        std::shared_ptr<AtomicFileWriter> writer;
        // The dialogs: the chosen path, or an empty text when cancelled.
        std::function<QString(QWidget* parent)> openPanel;
        std::function<QString(QWidget* parent)> savePanel;

        static Services system();
    };
    // The sheet shown while a file is read or written; the page's own
    // sheet on its window unless the editor lends its loading sheet.
    struct LoadingSheet {
        std::function<void(const QString& title)> show;
        std::function<void()> hide;
    };

    explicit ORVSettingForFlashDataViewController(QWidget* parent = nullptr);
    ORVSettingForFlashDataViewController(Services services, QWidget* parent);
    ~ORVSettingForFlashDataViewController() override;

    // The file to read on the first visit (the card's DrvInfo/zentrova_000.drv).
    void setM_FlashDataFilePath(const QString& path) { m_FlashDataFilePath = path; }
    const std::optional<QString>& flashDataFilePath() const { return m_FlashDataFilePath; }
    void setLoadingSheet(LoadingSheet sheet) { m_loadingSheet = std::move(sheet); }

    std::int64_t flashDataNum() const;
    // The cell text, as the table and the CSV show it.
    QString stringForColumnIndex(int column, std::int64_t row) const;
    const QStringList& columnNames() const { return m_columnNames; }
    QTableView* tableView() const { return m_tableView; }
    ORVMapWindowController* mapWindowController() const;
    bool isBusy() const { return m_busy; }

    std::optional<QString> validateUserInput() const override { return std::nullopt; }
    void onHide() override { dropMapWindow(); }

public slots:
    void openFileDialog();
    void loadFlashDataFile();
    void doubleClickTableRow(int row);
    void onSaveCSVFile();

signals:
    // A read has ended, whether it changed the records or not.
    void fileLoaded();
    // A CSV export has ended; saved is false when the file was not written.
    void csvSaved(bool saved);

protected:
    void displayFileData() override;
    bool storeFileData(FILEDATA& record) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildPage();
    void makeColumns();
    void fitColumns();
    void dropMapWindow();
    void showLoading(const QString& title);
    void hideLoading();
    void setBusy(bool busy);

    Services m_services;
    LoadingSheet m_loadingSheet;
    std::optional<QString> m_FlashDataFilePath;
    bool m_firstLoad = true;
    bool m_busy = false;
    QStringList m_columnNames;
    QList<int> m_columnWidths;
    ORVFlashDataTableModel* m_model = nullptr;
    QTableView* m_tableView = nullptr;
    QLabel* m_fileField = nullptr;
    QPushButton* m_openButton = nullptr;
    QPushButton* m_exportButton = nullptr;
    QPointer<ORVMapWindowController> m_mapWindowController;
    QPointer<ProgressSheet> m_ownSheet;
};

}  // namespace zentrova
