#pragma once

#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

#include "recordings/ORVMediaList.h"

class QLabel;
class QTableView;
class QToolButton;
class QWidget;
class QVBoxLayout;
class QHBoxLayout;
class QStackedLayout;

namespace zentrova {

class CustomWindow;
class ORVMediaTableModel;
class ScanningIndicator;

// The application controller: owns the main window, the recording list and
// the recordings table, and switches the side panel between table and map.
class ORVAppDelegate : public QObject, public ORVMediaListDelegate {
    Q_OBJECT
    Q_PROPERTY(int rightViewMode READ rightViewMode NOTIFY rightViewModeChanged)
public:
    enum RightViewMode { RightViewModeList = 0, RightViewModeMap = 1 };
    static constexpr QSize minWindowSize() { return QSize(1020, 640); }

    explicit ORVAppDelegate(QObject* parent = nullptr);
    ~ORVAppDelegate() override;

    void applicationDidFinishLaunching();
    static bool applicationShouldTerminateAfterLastWindowClosed() { return true; }

    CustomWindow* window() const { return m_window; }
    ORVMediaList& mediaList() { return *m_mediaList; }
    ORVMediaTableModel* tableModel() const { return m_tableModel; }
    int rightViewMode() const { return m_rightViewMode; }
    std::int64_t mediaIndex() const { return m_mediaIndex; }
    const QStringList& columnNames() const { return m_columnNames; }
    bool isScanning() const { return m_scanning; }

    // The open panel; replaceable so that tests choose without a dialog.
    // It returns the chosen directory, or an empty text when cancelled.
    using DirectoryChooser = std::function<QString(QWidget* parent)>;
    void setDirectoryChooser(DirectoryChooser chooser) { m_directoryChooser = std::move(chooser); }

    // The centred frame of the minimum size in an available area.
    static QRect minWindowFrame(const QRect& availableArea);

    void mediaListChanged(ORVMediaList& list) override;

public slots:
    void openMediaDirectoryDialog();
    void openDirectory(const QString& path);
    void clickMediaListViewButton();
    void clickMapViewButton();
    void closeWindow();

signals:
    void rightViewModeChanged(int mode);
    // After the table has been reloaded from a finished scan.
    void mediaListReloaded();

private:
    void awakeFromNib();
    void setupInitialValues();
    void buildWindow();
    QWidget* buildHeadBox();
    QWidget* buildBodyLeftBox();
    QWidget* buildBodyRightBox();
    QWidget* buildSideButtonBox();
    QWidget* buildMediaListBox();
    void initMediaListTableView();
    void updateTableColumnWithIndex(int index, const QString& title, const QString& identifier, Qt::Alignment alignment);
    void updateSideViewButton();
    void layoutMapContainer();
    void setRightViewMode(int mode);
    void applyPreferredLanguage();
    void reloadMediaListOnMainThread();
    void showScanning(bool scanning);

    CustomWindow* m_window = nullptr;
    std::unique_ptr<ORVMediaList> m_mediaList;
    ORVMediaTableModel* m_tableModel = nullptr;
    QTableView* m_mediaListTableView = nullptr;
    QWidget* m_mediaListScrollView = nullptr;
    ScanningIndicator* m_scanningIndicator = nullptr;
    QStackedLayout* m_mediaListStack = nullptr;
    QWidget* m_mapContainerView = nullptr;
    QLabel* m_versionLabel = nullptr;
    QToolButton* m_recordButtonImageView = nullptr;
    QToolButton* m_informationButtonImageView = nullptr;
    QStringList m_columnNames;
    QString m_strVersion;
    int m_rightViewMode = RightViewModeList;
    std::int64_t m_mediaIndex = -1;
    bool m_scanning = false;
    DirectoryChooser m_directoryChooser;
};

}  // namespace zentrova
