#pragma once

#include <QWidget>

#include <string_view>

class QAction;
class QKeySequence;
class QLabel;
class QLayout;
class QMenu;
class QProgressBar;
class QToolButton;

namespace zentrova {

class TKImageButton;

// The main window's head: logo, title and version, the loading indicator,
// the open and settings buttons, the menu of every command with its keys, and the
// buttons a borderless window needs (minimize, maximize, close). It only
// reports what the user asked for.
class HeadBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 50;

    explicit HeadBar(QWidget* parent = nullptr);

    // A command at the end of the menu, its keys shown beside it; the
    // caller connects it and makes its keys work in the window.
    QAction* addMenuCommand(std::string_view textKey, const QKeySequence& keys);
    QMenu* commandMenu() const { return m_menu; }
    // A button for a command of the menu, before the open button, drawn
    // from its image name: it shows the command's tooltip and is enabled with it.
    TKImageButton* addCommandButton(const char* name, const char* image, QAction* command);

    void setVersionText(const QString& text);
    // What the window shows: the recording playing, or the card opened.
    void setNowShowing(const QString& text);
    QString nowShowing() const;
    QProgressBar* loadingIndicator() const { return m_loadingIndicator; }
    // The maximize button offers to restore a maximized window.
    void showMaximized(bool maximized);

signals:
    void openClicked();
    void settingsClicked();
    void cardCheckClicked();
    void timeSetupClicked();
    void minimizeClicked();
    void maximizeClicked();
    void closeClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    TKImageButton* addButton(const char* name, const char* image, std::string_view tooltipKey);
    QProgressBar* makeLoadingIndicator();
    QLayout* makeCentre();

    QLabel* m_versionLabel = nullptr;
    QLabel* m_nowShowingLabel = nullptr;
    QString m_nowShowing;
    QProgressBar* m_loadingIndicator = nullptr;
    QMenu* m_menu = nullptr;
    QToolButton* m_openButton = nullptr;
    TKImageButton* m_maximizeButton = nullptr;
};

}  // namespace zentrova
