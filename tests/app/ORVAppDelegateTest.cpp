#include "app/ORVAppDelegate.h"

#include "app/AppTestApplication.h"
#include "app/CustomWindow.h"
#include "app/HeadBar.h"
#include "app/MainWindow.h"
#include "app/ORVMediaTableModel.h"
#include "app/RecordingsPanel.h"
#include "check/ui/CardCheckWindow.h"
#include "incident/ui/IncidentExporter.h"
#include "card/ORVFormatWindowController.h"
#include "card/ORVTimeSetupController.h"
#include "controls/TKImageButton.h"
#include "playback/FrameCaptureController.h"
#include "playback/ORVMediaControlView.h"
#include "playback/ORVPlayController.h"
#include "playback/ORVPlayInfo.h"
#include "playback/TKVideoBackgroundImageView.h"
#include "playback/VLCVideoView.h"
#include "playback/VideoFramePool.h"
#include "common/Log.h"
#include "controls/ImageLibrary.h"
#include "settings/ORVSettingController.h"
#include "settings/SettingEditorMaker.h"
#include "support/AnsweredAlerts.h"
#include "support/FakeCard.h"
#include "support/GeneratedCard.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QFont>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSlider>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <vector>

namespace zentrova {
namespace {
using test::TempDir;
namespace fs = std::filesystem;

class ORVAppDelegateTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::appTestApplication();
        delegate = std::make_unique<ORVAppDelegate>(editorsOn(noCard));
        delegate->applicationDidFinishLaunching();
    }

    // Opens a directory through the open-panel command, as the user would.
    bool openThroughPanel(const QString& path) {
        int reloads = 0;
        auto connection = QObject::connect(delegate.get(), &ORVAppDelegate::mediaListReloaded, [&] { ++reloads; });
        delegate->setDirectoryChooser([path](QWidget*) { return path; });
        delegate->openMediaDirectoryDialog();
        bool done = QTest::qWaitFor([&] { return reloads > 0 && !delegate->isScanning(); }, 10000);
        QObject::disconnect(connection);
        return done;
    }

    QString cell(int row, int column, int role = Qt::DisplayRole) const {
        auto* model = delegate->tableModel();
        return model->data(model->index(row, column), role).toString();
    }

    // Settings editors over a fake system, so that no test looks at the
    // computer's own cards.
    static std::unique_ptr<SettingEditorMaker> editorsOn(test::FakeCard& card) {
        ORVSettingController::Parts parts;
        parts.volumes = &card.volumes();
        parts.renamer = &card.renamer();
        parts.writer = &card.writer();
        return std::make_unique<SettingEditorMaker>(std::move(parts));
    }

    test::FakeCard noCard{{.slot = test::FakeCard::Slot::None}};
    std::unique_ptr<ORVAppDelegate> delegate;
};

TEST_F(ORVAppDelegateTest, StartsCentredAtTheMinimumSizeWithVersionAndEnglish) {
    CustomWindow* window = delegate->window();
    EXPECT_EQ(window->minimumSize(), QSize(1020, 640));
    EXPECT_EQ(window->size(), QSize(1020, 640));
    EXPECT_EQ(window->initialFrame(), window->geometry());
    EXPECT_EQ(ORVAppDelegate::minWindowFrame(QRect(100, 50, 2000, 1240)), QRect(590, 350, 1020, 640));
    auto* version = window->findChild<QLabel*>("versionLabel");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), "[Ver 9.8.7]");
    EXPECT_EQ(QSettings().value("AppleLanguages").toStringList(), QStringList{"en"});
    EXPECT_EQ(delegate->mediaIndex(), -1);
    EXPECT_EQ(window->focusWidget(), window->findChild<QTableView*>("mediaListTableView")) << "the keys start there";
    EXPECT_EQ(delegate->columnNames().size(), 4);
    for (const QString& title : delegate->columnNames()) EXPECT_FALSE(title.isEmpty());
}

TEST_F(ORVAppDelegateTest, TableShowsOneRowPerFileWithModeDateTimeAndFile) {
    TempDir card;
    card.touch("DCIM/alwa_20190312_081500_F.MP4");
    card.touch("DCIM/alwa_20190312_081500_R.MP4");
    card.touch("x/motion_20191301_081500_F.MP4");  // month 13: time and side unknown
    card.touch("x/event_20200101_000001_R.mp4");
    ASSERT_TRUE(openThroughPanel(QString::fromStdString(card.str())));

    auto* model = delegate->tableModel();
    ASSERT_EQ(model->rowCount(), 4);
    struct Row {
        const char* date;
        const char* time;
        const char* file;
        bool icon;
    } rows[] = {
        {"", "", "motion_20191301_081500_F.MP4", false},
        {"2019-03-12", "08:15:00", "alwa_20190312_081500_F.MP4", true},
        {"2019-03-12", "08:15:00", "alwa_20190312_081500_R.MP4", true},
        {"2020-01-01", "00:00:01", "event_20200101_000001_R.mp4", true},
    };
    for (int r = 0; r < 4; ++r) {
        SCOPED_TRACE(rows[r].file);
        EXPECT_FALSE(cell(r, ORVMediaTableModel::SaveModeColumn).isEmpty());
        EXPECT_EQ(cell(r, ORVMediaTableModel::DateColumn), rows[r].date);
        EXPECT_EQ(cell(r, ORVMediaTableModel::TimeColumn), rows[r].time);
        EXPECT_EQ(cell(r, ORVMediaTableModel::FileColumn), rows[r].file);
        QVariant icon = model->data(model->index(r, 0), Qt::DecorationRole);
        EXPECT_EQ(icon.isValid() && !icon.value<QIcon>().isNull(), rows[r].icon);
        EXPECT_EQ(model->data(model->index(r, 1), Qt::FontRole).value<QFont>().pointSize(), 11);
    }
    EXPECT_NE(cell(0, 0), cell(3, 0)) << "motion and event rows show different mode texts";
    EXPECT_EQ(ORVMediaTableModel::columnIdentifier(0), "saveMode");
    EXPECT_EQ(model->headerData(3, Qt::Horizontal, Qt::UserRole).toInt(), 3);
}

TEST_F(ORVAppDelegateTest, ScanReturnsTheSidePanelToTheTable) {
    TempDir card;
    card.touch("alwa_20190312_081500_F.MP4");
    auto* table = delegate->window()->findChild<QTableView*>("mediaListTableView");
    auto* map = delegate->window()->findChild<QWidget*>("mapContainerView");
    ASSERT_NE(table, nullptr);
    ASSERT_NE(map, nullptr);
    delegate->clickMapViewButton();
    EXPECT_EQ(delegate->rightViewMode(), 1);
    EXPECT_TRUE(map->isVisible());
    EXPECT_FALSE(table->isVisible());

    ASSERT_TRUE(openThroughPanel(QString::fromStdString(card.str())));
    EXPECT_EQ(delegate->rightViewMode(), 0);
    EXPECT_TRUE(table->isVisible());
    EXPECT_FALSE(map->isVisible());
    EXPECT_EQ(delegate->tableModel()->rowCount(), 1);
}

TEST_F(ORVAppDelegateTest, TableShowsThatAScanIsRunningUntilTheListArrives) {
    TempDir card;
    card.touch("alwa_20190312_081500_F.MP4");
    auto* indicator = delegate->window()->findChild<QWidget*>("scanningIndicator");
    ASSERT_NE(indicator, nullptr);
    EXPECT_FALSE(indicator->isVisible());
    int reloads = 0;
    QObject::connect(delegate.get(), &ORVAppDelegate::mediaListReloaded, [&] { ++reloads; });
    delegate->openDirectory(QString::fromStdString(card.str()));
    // The finished list reaches the window through its event loop, so the
    // indicator is up and the old rows are gone until that loop runs.
    auto* table = delegate->window()->findChild<QTableView*>("mediaListTableView");
    EXPECT_TRUE(indicator->isVisible());
    EXPECT_FALSE(table->isVisible());
    EXPECT_EQ(delegate->tableModel()->rowCount(), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return reloads > 0 && !delegate->isScanning(); }, 10000));
    EXPECT_FALSE(indicator->isVisible());
    EXPECT_TRUE(table->isVisible());
    EXPECT_EQ(delegate->tableModel()->rowCount(), 1);
}

TEST_F(ORVAppDelegateTest, CancellingThePanelChangesNothing) {
    TempDir card;
    card.touch("alwa_20190312_081500_F.MP4");
    ASSERT_TRUE(openThroughPanel(QString::fromStdString(card.str())));
    delegate->setDirectoryChooser([](QWidget*) { return QString(); });
    delegate->openMediaDirectoryDialog();
    EXPECT_FALSE(delegate->isScanning());
    EXPECT_EQ(delegate->tableModel()->rowCount(), 1);
    EXPECT_EQ(delegate->mediaList().directoryPath(), card.str());
}

TEST_F(ORVAppDelegateTest, SideButtonsSwitchModesOnlyWhenTheyDiffer) {
    int changes = 0;
    QObject::connect(delegate.get(), &ORVAppDelegate::rightViewModeChanged, [&] { ++changes; });
    auto* mapButton = delegate->window()->findChild<QToolButton*>("informationButtonImageView");
    auto* listButton = delegate->window()->findChild<QToolButton*>("recordButtonImageView");
    ASSERT_NE(mapButton, nullptr);
    ASSERT_NE(listButton, nullptr);
    listButton->click();
    EXPECT_EQ(changes, 0);
    mapButton->click();
    mapButton->click();
    EXPECT_EQ(changes, 1);
    listButton->click();
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(delegate->rightViewMode(), 0);
}

TEST_F(ORVAppDelegateTest, TheSideButtonOfTheModeShownStandsPressed) {
    auto* mapButton = delegate->window()->findChild<TKImageButton*>("informationButtonImageView");
    auto* listButton = delegate->window()->findChild<TKImageButton*>("recordButtonImageView");
    ASSERT_NE(mapButton, nullptr);
    ASSERT_NE(listButton, nullptr);
    const struct {
        TKImageButton* clicked;
        const char* list;
        const char* map;
    } steps[] = {{mapButton, "record_n", "information_p"}, {listButton, "record_p", "information_n"}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.clicked->objectName().toStdString());
        step.clicked->click();
        EXPECT_EQ(listButton->shownImageName(), step.list);
        EXPECT_EQ(mapButton->shownImageName(), step.map);
    }
}

TEST_F(ORVAppDelegateTest, EveryDrawnButtonOfTheWindowHasItsWholeSetOfImages) {
    const QList<TKImageButton*> buttons = delegate->window()->findChildren<TKImageButton*>();
    ASSERT_GE(buttons.size(), 17);
    for (TKImageButton* button : buttons) {
        SCOPED_TRACE(button->objectName().toStdString());
        EXPECT_FALSE(button->rolloverImage().isEmpty());
        EXPECT_FALSE(button->pressedImage().isEmpty());
        EXPECT_NE(button->inactiveImage(), button->imageName());
        EXPECT_FALSE(button->shownPixmap().isNull());
    }
    auto* swap = delegate->mediaControlView()->findChild<TKImageButton*>("swapButton");
    ASSERT_NE(swap, nullptr);
    delegate->mediaControlView()->setSwapAvailable(false);
    EXPECT_EQ(swap->shownImageName(), "icon_swap_d");
    delegate->mediaControlView()->setSwapAvailable(true);
    EXPECT_EQ(swap->shownImageName(), "icon_swap_n");
}

TEST_F(ORVAppDelegateTest, DroppedFolderOpensLikeAChosenDirectory) {
    TempDir card;
    card.touch("event_20190312_081500_F.MP4");
    int reloads = 0;
    QObject::connect(delegate.get(), &ORVAppDelegate::mediaListReloaded, [&] { ++reloads; });
    emit delegate->window()->directoryDropped(QString::fromStdString(card.str()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return reloads > 0; }, 10000));
    EXPECT_EQ(delegate->tableModel()->rowCount(), 1);
}

TEST_F(ORVAppDelegateTest, FullScreenKeepsOnlyTheVideoAndTheSlimBar) {
    CustomWindow* window = delegate->window();
    const QRect launchFrame = window->geometry();
    auto visible = [window](const char* name) {
        auto* widget = window->findChild<QWidget*>(name);
        return widget && widget->isVisibleTo(window);
    };
    const char* normalOnly[] = {"headBox", "bodyRightBox", "gsensorBox", "mediaControlBox", "subVideoBox"};

    window->enterFullscreen();
    ASSERT_TRUE(window->isFullScreen());
    for (const char* name : normalOnly) EXPECT_FALSE(visible(name)) << name;
    EXPECT_TRUE(visible("mediaControlBoxForFullScreen"));
    EXPECT_TRUE(visible("videoBox"));
    // Covers the screen (the offscreen screen is smaller than the minimum size).
    EXPECT_TRUE(window->geometry().contains(window->screen()->geometry()));

    // The side panel switch waits until full screen is left.
    delegate->clickMapViewButton();
    EXPECT_FALSE(visible("mapContainerView"));

    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(window->isFullScreen());
    for (const char* name : normalOnly) EXPECT_TRUE(visible(name)) << name;
    EXPECT_FALSE(visible("mediaControlBoxForFullScreen"));
    EXPECT_TRUE(visible("mapContainerView"));
    EXPECT_EQ(window->geometry(), launchFrame);

    QTest::keyClick(window, Qt::Key_Escape);  // outside full screen: nothing happens
    EXPECT_FALSE(window->isFullScreen());
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_F);
    EXPECT_TRUE(window->isFullScreen());
    window->leaveFullscreen();
}

// Keys go to the focus, which may be in the side column that full screen
// hides, or in the map, which keeps every key it gets.
TEST_F(ORVAppDelegateTest, EscapeLeavesFullScreenWhereverTheFocusWas) {
    CustomWindow* window = delegate->window();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    struct Case {
        const char* name;
        bool showMap;
    };
    for (const Case& c : {Case{"recording list", false}, Case{"map", true}}) {
        SCOPED_TRACE(c.name);
        if (c.showMap) {
            delegate->clickMapViewButton();
        } else {
            delegate->clickMediaListViewButton();
        }
        QWidget* panel = window->findChild<QWidget*>(c.showMap ? "mapContainerView" : "bodyRightBox");
        ASSERT_NE(panel, nullptr);
        QWidget* focus = nullptr;
        for (QWidget* inner : panel->findChildren<QWidget*>()) {
            if (inner->isVisibleTo(window) && (inner->focusPolicy() & Qt::ClickFocus)) {
                focus = inner;
                break;
            }
        }
        ASSERT_NE(focus, nullptr);
        focus->setFocus();
        window->enterFullscreen();
        ASSERT_TRUE(window->isFullScreen());
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : window, Qt::Key_Escape);
        EXPECT_FALSE(window->isFullScreen());
        window->leaveFullscreen();
    }
}

TEST_F(ORVAppDelegateTest, TheMenuListsEveryCommandWithItsKeys) {
    QMenu* menu = delegate->window()->headBar()->commandMenu();
    ASSERT_NE(menu, nullptr);
    struct Entry {
        const char* text;
        QKeySequence keys;
    } expected[] = {
        {"Open...", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"Settings...", QKeySequence(Qt::CTRL | Qt::Key_Comma)},
        {"Full Screen", QKeySequence(Qt::Key_F)},
        {"Show Whole Picture", QKeySequence(Qt::Key_A)},
        {"Clock…", QKeySequence(Qt::CTRL | Qt::Key_T)},
        {"Capture Picture...", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"Print Picture...", QKeySequence(Qt::CTRL | Qt::Key_P)},
        {"Card Check...", QKeySequence(Qt::CTRL | Qt::Key_K)},
        {"Export Incident...", QKeySequence(Qt::CTRL | Qt::Key_E)},
        {"Quit", QKeySequence(Qt::CTRL | Qt::Key_Q)},
    };
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(std::size(expected)));
    for (qsizetype i = 0; i < actions.size(); ++i) {
        SCOPED_TRACE(expected[i].text);
        EXPECT_EQ(actions[i]->text(), expected[i].text);
        EXPECT_EQ(actions[i]->shortcut(), expected[i].keys);
        EXPECT_TRUE(delegate->window()->actions().contains(actions[i])) << "its keys work without the menu open";
    }
    auto* menuButton = delegate->window()->findChild<TKImageButton*>("menuButton");
    ASSERT_NE(menuButton, nullptr);
    EXPECT_EQ(menuButton->menu(), menu);
    EXPECT_FALSE(menuButton->shownPixmap().isNull());
}

TEST_F(ORVAppDelegateTest, TheMenusKeysCarryOutTheirCommands) {
    MainWindow* window = delegate->window();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    int chooserCalls = 0;
    delegate->setDirectoryChooser([&](QWidget*) {
        ++chooserCalls;
        return QString();
    });
    QTest::keyClick(window, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(chooserCalls, 1) << "Ctrl+O asks for a folder";
    QTest::keyClick(window, Qt::Key_F);
    EXPECT_TRUE(window->isFullScreen());
    QTest::keyClick(window, Qt::Key_F);
    EXPECT_FALSE(window->isFullScreen()) << "F leaves full screen too";
    delegate->window()->headBar()->commandMenu()->actions().at(0)->trigger();
    EXPECT_EQ(chooserCalls, 2) << "the menu entry does what its keys do";
    // The test goes on after the window has gone.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    QTest::keyClick(window, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(window->isVisible()) << "Ctrl+Q closes the window, which ends the application";
    QGuiApplication::setQuitOnLastWindowClosed(true);
}

TEST_F(ORVAppDelegateTest, EachPanelOpensItsOwnWindowAndOnlyTheDialogsAreKeptAsTheLast) {
    using Panel = ORVAppDelegate::Panel;
    struct Case {
        const char* name;
        Panel panel;
        void (ORVAppDelegate::*show)();
        bool keptAsLast;
    } cases[] = {
        {"settings editor", Panel::Setting, &ORVAppDelegate::showSettingPanel, true},
        {"clock setting", Panel::TimeSetup, &ORVAppDelegate::showTimeSetupPanel, true},
        {"card check", Panel::CardCheck, &ORVAppDelegate::showCardCheckPanel, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget* lastBefore = delegate->lastDialogController();
        delegate->setPanelFactory(c.panel, {});
        (delegate.get()->*c.show)();
        EXPECT_EQ(delegate->lastDialogController(), lastBefore) << "without its window nothing opens";

        std::vector<QWidget*> made;
        delegate->setPanelFactory(c.panel, [&made](QWidget* mainWindow) {
            auto* panel = new QWidget(mainWindow, Qt::Window);
            made.push_back(panel);
            return panel;
        });
        (delegate.get()->*c.show)();
        (delegate.get()->*c.show)();
        ASSERT_EQ(made.size(), 2u) << "each command opens a new window";
        EXPECT_TRUE(made[0]->isVisible());
        EXPECT_TRUE(made[1]->isVisible());
        EXPECT_FALSE(made[1]->isModal());
        EXPECT_EQ(made[1]->parentWidget(), delegate->window());
        EXPECT_EQ(delegate->lastDialogController(), c.keptAsLast ? made[1] : lastBefore);
    }
}

TEST_F(ORVAppDelegateTest, TheSettingsEditorOpensFromItsButtonKeysAndMenuAndOffersTheShownFolder) {
    MainWindow* window = delegate->window();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    auto* button = window->findChild<TKImageButton*>("settingsButton");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->imageName(), "icon_settings_n");
    EXPECT_TRUE(button->toolTip().contains("Ctrl+,"));

    test::FakeCard copy;  // a copy of a card, opened in the main window
    const struct {
        const char* name;
        std::function<void()> ask;
        bool folderOffered;
    } cases[] = {
        {"the head bar's button", [&] { button->click(); }, false},
        {"Ctrl+, in the main window",
         [&] {
             delegate->lastDialogController()->close();
             window->activateWindow();
             ASSERT_TRUE(QTest::qWaitForWindowActive(window));
             QTest::keyClick(window, Qt::Key_Comma, Qt::ControlModifier);
         },
         false},
        {"the menu entry, once a folder holding config.bin is shown",
         [&] {
             delegate->openDirectory(QString::fromStdString(copy.mountFolder()));
             window->headBar()->commandMenu()->actions().at(1)->trigger();
         },
         true},
    };
    QPointer<QWidget> previous;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.ask();
        QApplication::processEvents();
        auto* editor = qobject_cast<ORVSettingController*>(delegate->lastDialogController());
        ASSERT_NE(editor, nullptr);
        EXPECT_NE(editor, previous.data()) << "a new editor each time, kept as the last dialog";
        EXPECT_TRUE(editor->isVisible());
        EXPECT_EQ(editor->parentWidget(), window);
        EXPECT_EQ(editor->findChild<QPushButton*>("openFolderSettingFileButton")->isVisible(), c.folderOffered);
        previous = editor;
    }
    previous->close();
    QApplication::processEvents();
    QTest::qWait(0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(previous.isNull()) << "a closed editor is gone";
}

TEST_F(ORVAppDelegateTest, TheCardCheckOpensOnTheShownFolderAndTheTableExportsAnIncident) {
    const test::GeneratedCard card;
    ASSERT_TRUE(card.result.card) << card.result.error;
    ASSERT_TRUE(openThroughPanel(QString::fromStdString(card.root())));
    MainWindow* window = delegate->window();
    auto* button = window->findChild<TKImageButton*>("cardCheckButton");
    ASSERT_NE(button, nullptr);
    for (const QString& image : {button->activeImage(), button->rolloverImage(), button->pressedImage(),
                                 button->inactiveImage()}) {
        EXPECT_TRUE(ImageLibrary::exists(image)) << image.toStdString();
    }
    EXPECT_TRUE(button->toolTip().contains("Card Check"));

    button->click();
    auto* check = window->findChild<CardCheckWindow*>("cardCheckWindow");
    ASSERT_NE(check, nullptr);
    EXPECT_TRUE(check->isVisible());
    QSignalSpy checked(check, &CardCheckWindow::checkFinished);
    ASSERT_TRUE(check->isChecking() || check->report());
    if (!check->report()) {
        ASSERT_TRUE(checked.wait(60000));
    }
    EXPECT_EQ(check->report()->directory, card.root()) << "the folder the window shows";
    EXPECT_EQ(check->report()->recordings.size(), card.card().recordings.size());
    button->click();
    EXPECT_EQ(window->findChildren<CardCheckWindow*>().size(), 1) << "the open window comes forward";

    test::AnsweredAlerts alerts;
    test::TempDir out;
    delegate->incidentExporter()->setFolderChooser([&](QWidget*) { return QString::fromStdString(out.path().string()); });
    QSignalSpy exported(delegate->incidentExporter(), &IncidentExporter::exportFinished);
    QTableView* table = window->recordings()->tableView();
    const QModelIndex second = table->model()->index(1, ORVMediaTableModel::FileColumn);
    emit table->customContextMenuRequested(table->visualRect(second).center());
    auto* menu = table->findChild<QMenu*>("recordingMenu");
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions()[0]->text(), "Export Incident...");
    const auto media = delegate->tableModel()->mediaAtIndex(static_cast<int>(window->recordings()->currentRow()));
    ASSERT_NE(media, nullptr);
    EXPECT_EQ(QString::fromStdString(media->fileName()), second.data().toString()) << "the row clicked is exported";
    menu->actions()[0]->trigger();
    menu->close();
    ASSERT_TRUE(exported.wait(60000));
    const fs::path package = out.path() / (media->mediaGroupName() + "-incident");
    EXPECT_EQ(exported.at(0).at(0).toString().toStdString(), package.string());
    EXPECT_TRUE(fs::exists(package / fs::path(media->path()).filename()));
    EXPECT_TRUE(fs::exists(package / "SHA256SUMS"));
    EXPECT_FALSE(fs::exists(package / "capture.png")) << "a row not playing has no picture to capture";

    // The menu's command takes the recording playing, else the one selected.
    window->recordings()->selectRow(3);
    QAction* command = nullptr;
    for (QAction* action : window->headBar()->commandMenu()->actions()) {
        if (action->text() == "Export Incident...") command = action;
    }
    ASSERT_NE(command, nullptr);
    command->trigger();
    ASSERT_TRUE(exported.wait(60000));
    EXPECT_EQ(exported.at(1).at(0).toString().toStdString(),
              (out.path() / (delegate->tableModel()->mediaAtIndex(3)->mediaGroupName() + "-incident")).string());

    ASSERT_TRUE(openThroughPanel(QString::fromStdString(out.path().string())));
    button->click();
    EXPECT_EQ(check->folder().toStdString(), out.path().string()) << "the open window checks the folder shown now";
    ASSERT_TRUE(checked.wait(60000));
    check->close();
}

TEST_F(ORVAppDelegateTest, TheCardChecksTimeZoneOfferOpensTheSettingsAtTheGpsPage) {
    test::FakeCard copy;
    delegate->openDirectory(QString::fromStdString(copy.mountFolder()));
    delegate->showGpsSettingPanel();
    QApplication::processEvents();
    auto* editor = qobject_cast<ORVSettingController*>(delegate->lastDialogController());
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->lastSelectedTabIndex(), 2) << "Video, Basic, then GPS";
    editor->close();
}

TEST_F(ORVAppDelegateTest, StartingUpGivesACardWithSettingsTheCameraNameAndKeepsNoEditor) {
    const struct {
        const char* name;
        test::FakeCard::Options card;
        bool expectedRenameTried;
    } cases[] = {
        {"a card under another name", {.label = "NO_NAME"}, true},
        {"a card named for the camera", {}, false},
        {"another name without a settings file", {.label = "NO_NAME", .withSettingsFile = false}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::FakeCard card(c.card);
        std::vector<std::string> log;
        setLogSink([&log](std::string_view line) { log.emplace_back(line); });
        auto started = std::make_unique<ORVAppDelegate>(editorsOn(card));
        setLogSink({});
        // The renamer refuses a mounted FAT card rather than unmount it, and
        // says so in the log.
        const bool tried = std::any_of(log.begin(), log.end(), [](const std::string& line) {
            return line.starts_with("error=");
        });
        EXPECT_EQ(tried, c.expectedRenameTried);
        EXPECT_TRUE(card.commandsRun().empty());
        for (QWidget* window : QApplication::topLevelWidgets()) {
            EXPECT_EQ(qobject_cast<ORVSettingController*>(window), nullptr) << "the probe's editor is gone";
        }
        EXPECT_EQ(started->lastDialogController(), nullptr);
    }
}

TEST_F(ORVAppDelegateTest, CaptureAndPrintHaveHeadBarButtonsWithTheirIconsKeysAndNothingToDoAtFirst) {
    MainWindow* window = delegate->window();
    const struct {
        const char* button;
        const char* image;
        const char* keys;
    } commands[] = {{"captureButton", "icon_capture_n", "Ctrl+S"}, {"printButton", "icon_print_n", "Ctrl+P"}};
    for (const auto& command : commands) {
        SCOPED_TRACE(command.button);
        auto* button = window->findChild<TKImageButton*>(command.button);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->parentWidget(), window->headBar());
        EXPECT_EQ(button->imageName(), command.image);
        EXPECT_TRUE(button->toolTip().contains(command.keys)) << button->toolTip().toStdString();
        EXPECT_FALSE(button->isEnabled()) << "no recording plays";
        QAction* menuCommand = nullptr;
        for (QAction* action : window->headBar()->commandMenu()->actions()) {
            if (action->shortcut().toString(QKeySequence::PortableText) == command.keys) menuCommand = action;
        }
        ASSERT_NE(menuCommand, nullptr) << "the button is the menu's command";
        menuCommand->setEnabled(true);
        EXPECT_TRUE(button->isEnabled()) << "enabled with the menu's command";
        menuCommand->setEnabled(false);
    }
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    int dialogs = 0;
    delegate->captureController()->setDialogOpenedHook([&](QDialog& dialog) {
        ++dialogs;
        dialog.reject();
    });
    QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(window, Qt::Key_P, Qt::ControlModifier);
    delegate->captureVideo();
    delegate->print();
    EXPECT_EQ(dialogs, 0);
}

TEST_F(ORVAppDelegateTest, TheClockButtonTheMenuEntryAndItsKeysOpenTheClockWindowKeptAsTheLastDialog) {
    int made = 0;
    delegate->setPanelFactory(ORVAppDelegate::Panel::TimeSetup, [&made](QWidget* mainWindow) {
        ++made;
        return new QWidget(mainWindow, Qt::Window);
    });
    auto* button = delegate->window()->findChild<TKImageButton*>("timeSetupButton");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->imageName(), "icon_clock_n");
    EXPECT_EQ(button->toolTip(), "Set the camera's clock");
    button->click();
    EXPECT_EQ(made, 1);
    QWidget* first = delegate->lastDialogController();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    delegate->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(delegate->window()));
    QTest::keyClick(delegate->window(), Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(made, 2) << "Ctrl+T, the menu entry's keys";
    EXPECT_NE(delegate->lastDialogController(), first) << "the newest is the last dialog";
}

TEST_F(ORVAppDelegateTest, OnTheSystemTheEditorsFormatButtonOpensTheFormatterAndTheClockButtonTheClockWindow) {
    // An empty tree of the system's files: no card of this computer is seen.
    TempDir root;
    const QByteArray before = qgetenv("ZENTROVA_SYSTEM_ROOT");
    qputenv("ZENTROVA_SYSTEM_ROOT", QByteArray::fromStdString(root.str()));
    {
        ORVAppDelegate system;
        system.showSettingPanel();
        QPointer<ORVSettingController> editor = qobject_cast<ORVSettingController*>(system.lastDialogController());
        ASSERT_NE(editor, nullptr);
        auto* format = editor->findChild<QPushButton*>("sdcardFormatButton");
        ASSERT_TRUE(QTest::qWaitFor([format] { return format->isEnabled(); }, 10000));
        format->click();
        EXPECT_NE(qobject_cast<ORVFormatWindowController*>(editor->lastDialogController()), nullptr);

        system.window()->findChild<QToolButton*>("timeSetupButton")->click();
        EXPECT_NE(qobject_cast<ORVTimeSetupController*>(system.lastDialogController()), nullptr);
        delete system.lastDialogController();
        delete editor.data();
    }
    if (before.isNull()) {
        qunsetenv("ZENTROVA_SYSTEM_ROOT");
    } else {
        qputenv("ZENTROVA_SYSTEM_ROOT", before);
    }
}

TEST_F(ORVAppDelegateTest, ControlTitlesFollowThePlayState) {
    ORVMediaControlView* controls = delegate->mediaControlView();
    ORVPlayInfo* info = delegate->playController()->playInfo();
    info->setSpeed(2.0);
    info->setScale(1.5);
    info->setIsPlaying(true);
    EXPECT_EQ(controls->speedText(), "2.0x");
    EXPECT_EQ(controls->scaleText(), "1.50x");
    EXPECT_EQ(controls->playImageName(), "icon_pause_n");
    EXPECT_EQ(delegate->mediaControlViewForFullScreen()->speedText(), "2.0x");
    info->setPosition(1.4);
    EXPECT_DOUBLE_EQ(controls->sliderValue(), 1.0);
    // Every time notice repeats the state: the picture is only drawn anew when it changes.
    auto* playButton = controls->findChild<TKImageButton*>("playButton");
    ASSERT_NE(playButton, nullptr);
    const qint64 pausePicture = playButton->shownPixmap().cacheKey();
    info->setIsPlaying(true);
    EXPECT_EQ(playButton->shownPixmap().cacheKey(), pausePicture);
    info->setIsPlaying(false);
    EXPECT_EQ(controls->playImageName(), "icon_play_n");
    EXPECT_NE(playButton->shownPixmap().cacheKey(), pausePicture);
    for (auto* button : delegate->window()->findChildren<QToolButton*>()) {
        EXPECT_FALSE(button->toolTip().isEmpty()) << button->objectName().toStdString();
    }
}

TEST_F(ORVAppDelegateTest, TheHeadBarAndTheEmptyVideoSayWhatIsShownAndWhatToDoNext) {
    HeadBar* head = delegate->window()->headBar();
    TKVideoBackgroundImageView* video = delegate->window()->mainVideoArea();
    EXPECT_EQ(head->nowShowing(), "");
    EXPECT_EQ(video->placeholderText(), "Open a card's folder (Ctrl+O) to list its recordings");

    TempDir root;
    const std::filesystem::path empty = root.mkdir("EMPTY");
    ASSERT_TRUE(openThroughPanel(QString::fromStdString(empty.string())));
    EXPECT_EQ(head->nowShowing(), "EMPTY");
    EXPECT_EQ(video->placeholderText(), "There are no recordings in this folder");

    root.touch("CARD/Normal/alwa_20190312_081500_F.MP4");
    ASSERT_TRUE(openThroughPanel(QString::fromStdString((root.path() / "CARD").string())));
    EXPECT_EQ(head->nowShowing(), "CARD");
    EXPECT_EQ(video->placeholderText(), "Double-click a recording to play it");

    delegate->playController()->changeAndPlay(0);
    EXPECT_EQ(head->nowShowing(), QString::fromUtf8("2019-03-12  08:15:00  \u00b7  Continuous"));
    EXPECT_EQ(video->placeholderText(), "");
    // The file is empty: it cannot be played, and the window says so.
    ASSERT_TRUE(QTest::qWaitFor([&] { return head->nowShowing() == "CARD"; }, 15000));
    EXPECT_TRUE(video->message().startsWith("alwa_20190312_081500_F.MP4 cannot be played")) << video->message().toStdString();
    EXPECT_EQ(video->placeholderText(), "Double-click a recording to play it");
}

// A 16:9 picture, the size of a front camera's, in both views.
std::shared_ptr<VideoFramePool> showWidePicture(MainWindow& window) {
    std::shared_ptr<VideoFramePool> pool = VideoFramePool::create(
        VideoFramePool::Layout::yuv(VideoFramePool::Format::I420, 1920, 1088, 1920, 1080));
    unsigned char* pixels = pool->beginWriting();
    std::memset(pixels, 0x80, pool->layout().bytes);
    pool->publish(pixels);
    for (VLCVideoView* view : {window.mainVideoView(), window.secondVideoView()}) {
        view->show();
        view->showFramesFrom(pool);
    }
    return pool;
}

TEST_F(ORVAppDelegateTest, KeyAShowsTheWholePictureInBothViewsAndTheNextStartKeepsIt) {
    const char* const key = "viewer/wholePicture";
    struct Forget {
        ~Forget() { QSettings().remove("viewer/wholePicture"); }
    } forget;
    QSettings().remove(key);
    delegate = std::make_unique<ORVAppDelegate>(editorsOn(noCard));
    delegate->applicationDidFinishLaunching();
    MainWindow* window = delegate->window();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    const auto pool = showWidePicture(*window);
    QAction* command = window->headBar()->commandMenu()->actions().at(3);
    ASSERT_TRUE(command->isCheckable());

    struct Step {
        const char* what;
        bool expectedWhole;
    } steps[] = {{"at first", false}, {"after A", true}, {"after A again", false}, {"after the menu entry", true}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        if (step.what == steps[1].what || step.what == steps[2].what) QTest::keyClick(window, Qt::Key_A);
        if (step.what == steps[3].what) command->trigger();
        EXPECT_EQ(command->isChecked(), step.expectedWhole);
        EXPECT_EQ(QSettings().value(key, false).toBool(), step.expectedWhole);
        for (VLCVideoView* view : {window->mainVideoView(), window->secondVideoView()}) {
            SCOPED_TRACE(view->objectName().toStdString());
            const QRectF drawn = view->pictureRect();
            const QRectF bounds(view->rect());
            ASSERT_FALSE(bounds.isEmpty());
            EXPECT_NEAR(drawn.width() / drawn.height(), 16.0 / 9.0, 0.01);
            if (step.expectedWhole) {
                EXPECT_TRUE(bounds.adjusted(-0.5, -0.5, 0.5, 0.5).contains(drawn)) << "nothing cut off";
            } else {
                EXPECT_TRUE(drawn.adjusted(-0.5, -0.5, 0.5, 0.5).contains(bounds)) << "no bars";
            }
        }
    }

    delegate = std::make_unique<ORVAppDelegate>(editorsOn(noCard));
    delegate->applicationDidFinishLaunching();
    EXPECT_TRUE(delegate->window()->wholePicture()) << "remembered";
    EXPECT_TRUE(delegate->window()->headBar()->commandMenu()->actions().at(3)->isChecked());
    EXPECT_FALSE(delegate->window()->secondVideoView()->fillScreen());
}

TEST_F(ORVAppDelegateTest, UpAndDownSetTheVolumeOnlyWhereTheTableHasNoKeysLeftAndRightStepTheVolumeSliderAndMMutesAnywhere) {
    TempDir card;
    for (const char* name : {"alwa_20190312_081500_F.MP4", "alwa_20190312_081600_F.MP4", "alwa_20190312_081700_F.MP4"}) {
        card.touch(std::string("Normal/") + name);
    }
    ASSERT_TRUE(openThroughPanel(QString::fromStdString(card.str())));
    MainWindow* window = delegate->window();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    auto* table = window->findChild<QTableView*>("mediaListTableView");
    ORVPlayController* control = delegate->playController();
    ORVMediaControlView* bar = window->controls();
    struct Case {
        const char* focus;
        Qt::Key key;
        int expectedVolume;
        int expectedRow;
        bool expectedMuted;
    } cases[] = {
        {"mediaListTableView", Qt::Key_Down, 70, 2, false},
        {"mediaListTableView", Qt::Key_Up, 70, 0, false},
        {"mediaListTableView", Qt::Key_M, 70, 1, true},
        {"playButton", Qt::Key_Up, 80, 1, false},
        {"videoPositionSlider", Qt::Key_Down, 60, 1, false},
        {"playButton", Qt::Key_M, 70, 1, true},
        {"volumeSlider", Qt::Key_Right, 80, 1, false},
        {"volumeSlider", Qt::Key_Left, 60, 1, false},
        {"volumeSlider", Qt::Key_Up, 80, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.focus << " " << QKeySequence(c.key).toString().toStdString());
        control->setVolume(70);
        table->setCurrentIndex(table->model()->index(1, 0));
        QWidget* target = window->findChild<QWidget*>(c.focus);
        ASSERT_NE(target, nullptr);
        target->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), target);
        QTest::keyClick(target, c.key);
        EXPECT_EQ(control->volume(), c.expectedVolume);
        EXPECT_EQ(table->currentIndex().row(), c.expectedRow);
        EXPECT_EQ(control->muted(), c.expectedMuted);
        EXPECT_EQ(bar->findChild<QSlider*>("volumeSlider")->value(), c.expectedVolume);
        if (c.expectedMuted) control->toggleMute();
    }
}

TEST_F(ORVAppDelegateTest, TabLeavesTheTableForThePlayBarAndBackAgain) {
    TempDir card;
    card.touch("Normal/alwa_20190312_081500_F.MP4");
    card.touch("Normal/alwa_20190312_081600_F.MP4");
    ASSERT_TRUE(openThroughPanel(QString::fromStdString(card.str())));
    MainWindow* window = delegate->window();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    auto* table = window->findChild<QTableView*>("mediaListTableView");
    table->setCurrentIndex(table->model()->index(0, 0));
    table->setFocus(Qt::TabFocusReason);
    int presses = 0;
    while (!window->controls()->isAncestorOf(QApplication::focusWidget()) && presses < 30) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ++presses;
    }
    EXPECT_TRUE(window->controls()->isAncestorOf(QApplication::focusWidget())) << presses << " presses";
    EXPECT_EQ(table->currentIndex().row(), 0) << "Tab moves no selection";
    while (QApplication::focusWidget() != table && presses < 60) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ++presses;
    }
    EXPECT_EQ(QApplication::focusWidget(), table) << "the chain comes round to the table";
}

}  // namespace
}  // namespace zentrova
