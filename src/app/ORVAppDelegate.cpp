#include "app/ORVAppDelegate.h"

#include "controls/AppStyle.h"
#include "app/CustomWindow.h"
#include "controls/ImageLibrary.h"
#include "app/ORVMediaTableModel.h"
#include "controls/ScanningIndicator.h"
#include "controls/UiText.h"
#include "common/Log.h"
#include "playback/GraphView.h"
#include "playback/ORVMapView.h"
#include "playback/ORVMediaControlView.h"
#include "playback/ORVTelemetryReadout.h"
#include "playback/ORVPlayController.h"
#include "playback/QtDelayedSteps.h"
#include "playback/TKVideoBackgroundImageView.h"
#include "playback/VLCVideoView.h"
#include "playback/VideoScaleStep.h"
#include "playback/PlayerPairFollower.h"
#include "playback/VlcMediaPlayer.h"
#include "recordings/linux/PosixDirectoryLister.h"
#include "telemetry/ORVBlackBoxData.h"

#include <QApplication>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPropertyAnimation>
#include <QShortcut>
#include <QLocale>
#include <QScreen>
#include <QSettings>
#include <QStackedLayout>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace zentrova {
namespace {

constexpr int kHeadHeight = 50;
constexpr int kRightColumnWidth = 334;
constexpr int kGsensorHeight = 130;
constexpr int kMediaControlHeight = 72;
constexpr int kSideButtonHeight = 32;
constexpr int kSubVideoHeight = 250;
constexpr int kMapBottomHeight = 57;
constexpr int kFullScreenBarHeight = 36;
constexpr int kWindowAnimationMs = 200;

QWidget* makeBox(const char* name, QWidget* parent) {
    auto* box = new QWidget(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setAttribute(Qt::WA_StyledBackground, true);
    return box;
}

// A readout's text changes width with its value ("X=0.00" against
// "X=-1.25", "0 Km/h" against "118 Km/h"); reserving its widest text keeps
// the graph between the readouts from shifting while a recording plays.
void reserveWidthOfWidestText(QLabel* field, std::initializer_list<const char*> texts) {
    field->ensurePolished();
    const QString shown = field->text();
    int widest = 0;
    for (const char* text : texts) {
        field->setText(QString::fromLatin1(text));
        widest = std::max(widest, field->sizeHint().width());
    }
    field->setText(shown);
    field->setMinimumWidth(widest);
}

QToolButton* makeToolButton(const char* name, const QString& tooltip, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(tooltip);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

}  // namespace

ORVAppDelegate::ORVAppDelegate(QObject* parent)
    : QObject(parent),
      m_mediaList(std::make_unique<ORVMediaList>(std::make_shared<PosixDirectoryLister>())),
      m_delayedSteps(std::make_shared<QtDelayedSteps>(this)) {
    m_directoryChooser = [](QWidget* panelParent) {
        return QFileDialog::getExistingDirectory(panelParent, QString(), QString(),
                                                 QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
    };
    awakeFromNib();
    setupInitialValues();
}

ORVAppDelegate::~ORVAppDelegate() {
    // The list's scans must not report to a controller that is going away.
    m_mediaList->setDelegate(nullptr);
    m_mediaList.reset();
    // The players draw into views of the window: they go first.
    delete m_playController;
    delete m_player1;
    delete m_player2;
    delete m_window;
}

void ORVAppDelegate::awakeFromNib() {
    buildWindow();
    initMediaListTableView();
    createPlayers();
    connectPlayInfo();
    connectPlayControls(m_mediaControlView);
    connectPlayControls(m_mediaControlViewForFullScreen);
    installShortcuts();
}

void ORVAppDelegate::createPlayers() {
    m_player1 = new VlcMediaPlayer(m_videoView1);
    m_player2 = new VlcMediaPlayer(m_videoView2);
    m_follower = std::make_unique<PlayerPairFollower>(*m_player1, *m_player2, *m_delayedSteps);
    ORVPlayController::Parts parts;
    parts.player1 = m_player1;
    parts.player2 = m_player2;
    parts.mediaList = m_mediaList.get();
    parts.host = this;
    parts.delayedSteps = m_delayedSteps;
    parts.extractTelemetry = [](const std::string& frontPath) -> std::shared_ptr<const ORVBlackBoxData> {
        auto telemetry = std::make_shared<ORVBlackBoxData>();
        // A file without telemetry leaves the record empty; play goes on.
        telemetry->ExtractStreamInformation(frontPath);
        return telemetry;
    };
    parts.runInBackground = ORVPlayController::threadPoolRunner();
    m_playController = new ORVPlayController(std::move(parts));
    connect(m_mediaListTableView, &QTableView::doubleClicked, this, &ORVAppDelegate::changeAndPlay);
    connect(m_mediaListTableView, &QTableView::activated, this, &ORVAppDelegate::changeAndPlay);
}

void ORVAppDelegate::connectPlayInfo() {
    ORVPlayInfo* info = m_playController->playInfo();
    auto views = [this] { return std::array{m_mediaControlView, m_mediaControlViewForFullScreen}; };
    connect(info, &ORVPlayInfo::speedChanged, this, [views](double speed) {
        for (ORVMediaControlView* view : views()) view->setSpeed(speed);
    });
    connect(info, &ORVPlayInfo::scaleChanged, this, [views](double scale) {
        for (ORVMediaControlView* view : views()) view->setScale(scale);
    });
    connect(info, &ORVPlayInfo::isPlayingChanged, this, [views](bool playing) {
        for (ORVMediaControlView* view : views()) view->setPlaying(playing);
    });
    connect(info, &ORVPlayInfo::positionChanged, this, [this, views](double position) {
        for (ORVMediaControlView* view : views()) view->setPosition(std::min(position, 1.0));
        updateGsensorUIByPlayPositon();
        updateGpsUIByPlayPosition();
    });
    connect(m_window, &CustomWindow::isFullScreenChanged, this, [this] { layoutWindow(); });
    // The scale follows the size of the video area, and is known once the
    // first picture of a recording has arrived.
    m_player1BackgroundView->installEventFilter(this);
    connect(m_videoView1, &VLCVideoView::framePresented, this, [this] {
        if (m_playController->playInfo()->scale() == 0.0) m_playController->updatePlayInfoScale();
    });
}

void ORVAppDelegate::connectPlayControls(ORVMediaControlView* view) {
    ORVPlayController* control = m_playController;
    connect(view, &ORVMediaControlView::playClicked, control, &ORVPlayController::clickPlayButton);
    connect(view, &ORVMediaControlView::backwardClicked, control, &ORVPlayController::jumpBackward);
    connect(view, &ORVMediaControlView::forwardClicked, control, &ORVPlayController::jumpForward);
    connect(view, &ORVMediaControlView::speedClicked, control, [control] {
        if (control->playInfo()->speed() < 2.0) {
            control->increaseSpeed();
        } else {
            control->decreaseSpeed();
        }
    });
    connect(view, &ORVMediaControlView::sizeDownClicked, control, &ORVPlayController::sizeDown);
    connect(view, &ORVMediaControlView::sizeUpClicked, control, &ORVPlayController::sizeUp);
    connect(view, &ORVMediaControlView::fullScreenClicked, this, &ORVAppDelegate::toggleFullScreen);
    connect(view, &ORVMediaControlView::swapClicked, control, &ORVPlayController::swapPlayer);
    connect(view, &ORVMediaControlView::audioChoiceToggled, control, &ORVPlayController::toggleAudioChoice);
    connect(view, &ORVMediaControlView::volumeSliderMoved, control, &ORVPlayController::volumeSliderMoved);
    connect(view, &ORVMediaControlView::positionSliderMoved, control, &ORVPlayController::videoPositionSliderMoved);
}

void ORVAppDelegate::installShortcuts() {
    struct Binding {
        QKeySequence keys;
        std::function<void()> action;
    };
    ORVPlayController* control = m_playController;
    const Binding bindings[] = {
        {QKeySequence(Qt::Key_Space), [control] { control->clickPlayButton(); }},
        {QKeySequence(Qt::Key_Left), [control] { control->jumpBackward(); }},
        {QKeySequence(Qt::Key_Right), [control] { control->jumpForward(); }},
        {QKeySequence(Qt::Key_F), [this] { toggleFullScreen(); }},
        {QKeySequence(Qt::Key_BracketRight), [control] { control->increaseSpeed(); }},
        {QKeySequence(Qt::Key_BracketLeft), [control] { control->decreaseSpeed(); }},
    };
    for (const Binding& binding : bindings) {
        auto* shortcut = new QShortcut(binding.keys, m_window);
        connect(shortcut, &QShortcut::activated, this, binding.action);
    }
    // Up and Down move through the table when it has the focus; elsewhere
    // they set the volume (the window sees them only when nobody took them).
    m_window->installEventFilter(this);
}

bool ORVAppDelegate::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_player1BackgroundView && event->type() == QEvent::Resize) {
        m_playController->updatePlayInfoScale();
    } else if (watched == m_window && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            key == Qt::Key_Up ? m_playController->volumeUp() : m_playController->volumeDown();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void ORVAppDelegate::setupInitialValues() {
    m_mediaList->setDelegate(this);
    connect(m_window, &CustomWindow::directoryDropped, this, &ORVAppDelegate::openDirectory);
    setRightViewMode(RightViewModeList);
    updateSideViewButton();
    m_strVersion = QCoreApplication::applicationVersion();
    m_versionLabel->setText(uiFormat("main.version_fmt", m_strVersion));
}

void ORVAppDelegate::buildWindow() {
    m_window = new CustomWindow();
    m_window->setObjectName("mainWindow");
    m_window->setWindowTitle(QCoreApplication::applicationName());
    m_window->setWindowIcon(ImageLibrary::icon("zentrova"));
    m_window->setStyleSheet(AppStyle::styleSheet());

    auto* windowLayout = new QVBoxLayout(m_window);
    windowLayout->setContentsMargins(0, 0, 0, 0);
    QWidget* backgroundBox = makeBox("backgroundBox", m_window);
    windowLayout->addWidget(backgroundBox);

    auto* backgroundLayout = new QVBoxLayout(backgroundBox);
    backgroundLayout->setContentsMargins(0, 0, 0, 0);
    backgroundLayout->setSpacing(0);
    m_headBox = buildHeadBox();
    backgroundLayout->addWidget(m_headBox);

    m_bodyBox = makeBox("bodyBox", backgroundBox);
    auto* bodyLayout = new QHBoxLayout(m_bodyBox);
    bodyLayout->setContentsMargins(10, 0, 10, 8);
    bodyLayout->setSpacing(10);
    m_bodyLeftBox = buildBodyLeftBox();
    m_bodyRightBox = buildBodyRightBox();
    bodyLayout->addWidget(m_bodyLeftBox, 1);
    bodyLayout->addWidget(m_bodyRightBox, 0);
    backgroundLayout->addWidget(m_bodyBox, 1);
}

QWidget* ORVAppDelegate::buildHeadBox() {
    QWidget* headBox = makeBox("headBox", m_window);
    headBox->setFixedHeight(kHeadHeight);
    auto* layout = new QHBoxLayout(headBox);
    layout->setContentsMargins(14, 0, 10, 0);
    layout->setSpacing(8);

    auto* logo = new QLabel(headBox);
    logo->setPixmap(ImageLibrary::pixmap("zentrova", QSize(30, 30), qApp->devicePixelRatio()));
    auto* title = new QLabel(uiText("main.title"), headBox);
    title->setObjectName("appTitleLabel");
    m_versionLabel = new QLabel(headBox);
    m_versionLabel->setObjectName("versionLabel");

    QToolButton* openButton = makeToolButton("openDirectoryButton", uiText("main.open_directory"), headBox);
    openButton->setIcon(ImageLibrary::icon("folder_open"));
    openButton->setIconSize(QSize(24, 24));
    connect(openButton, &QToolButton::clicked, this, &ORVAppDelegate::openMediaDirectoryDialog);

    QToolButton* closeButton = makeToolButton("closeWindowButton", uiText("main.close"), headBox);
    closeButton->setText(QStringLiteral("\u2715"));
    closeButton->setFixedSize(28, 28);
    connect(closeButton, &QToolButton::clicked, this, &ORVAppDelegate::closeWindow);

    layout->addWidget(logo);
    layout->addWidget(title);
    layout->addWidget(m_versionLabel, 0, Qt::AlignBottom | Qt::AlignLeft);
    layout->addStretch(1);
    m_progressIndicator = new QProgressBar(headBox);
    m_progressIndicator->setObjectName("progressIndicator");
    m_progressIndicator->setRange(0, 100);
    m_progressIndicator->setTextVisible(false);
    m_progressIndicator->setFixedSize(220, 6);
    m_progressIndicator->setToolTip(uiText("play.loading"));
    // Kept in the layout while hidden, so that it stays centred.
    QSizePolicy keepSpace = m_progressIndicator->sizePolicy();
    keepSpace.setRetainSizeWhenHidden(true);
    m_progressIndicator->setSizePolicy(keepSpace);
    m_progressIndicator->hide();
    layout->addWidget(m_progressIndicator);
    layout->addStretch(1);
    layout->addWidget(openButton);
    layout->addSpacing(12);
    layout->addWidget(closeButton);
    return headBox;
}

QWidget* ORVAppDelegate::buildBodyLeftBox() {
    QWidget* left = makeBox("bodyLeftBox", m_window);
    auto* layout = new QVBoxLayout(left);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    QWidget* videoBox = makeBox("videoBox", left);
    auto* videoLayout = new QVBoxLayout(videoBox);
    videoLayout->setContentsMargins(0, 0, 0, 0);
    m_player1BackgroundView = new TKVideoBackgroundImageView(videoBox);
    m_player1BackgroundView->setObjectName("player1BackgroundView");
    m_player1BackgroundView->setBackgroundNineImageName("v1");
    m_player1BackgroundView->setLogoImage("v1_front_logo");
    m_videoView1 = new VLCVideoView();
    m_videoView1->setObjectName("videoView1");
    m_videoView1->setFillScreen(true);
    m_player1BackgroundView->setContentView(m_videoView1);
    m_videoView1->hide();
    videoLayout->addWidget(m_player1BackgroundView);
    layout->addWidget(videoBox, 1);

    m_gsensorBox = buildGsensorBox(left);
    layout->addWidget(m_gsensorBox);

    m_mediaControlBox = makeBox("mediaControlBox", left);
    m_mediaControlBox->setFixedHeight(kMediaControlHeight);
    auto* controlLayout = new QVBoxLayout(m_mediaControlBox);
    controlLayout->setContentsMargins(0, 0, 0, 0);
    m_mediaControlView = new ORVMediaControlView(ORVMediaControlView::Mode::Normal, m_mediaControlBox);
    controlLayout->addWidget(m_mediaControlView);
    layout->addWidget(m_mediaControlBox);

    m_mediaControlBoxForFullScreen = makeBox("mediaControlBoxForFullScreen", left);
    m_mediaControlBoxForFullScreen->setFixedHeight(kFullScreenBarHeight);
    auto* barLayout = new QVBoxLayout(m_mediaControlBoxForFullScreen);
    barLayout->setContentsMargins(0, 0, 2, 0);
    m_mediaControlViewForFullScreen =
        new ORVMediaControlView(ORVMediaControlView::Mode::FullScreen, m_mediaControlBoxForFullScreen);
    barLayout->addWidget(m_mediaControlViewForFullScreen);
    m_mediaControlBoxForFullScreen->hide();
    layout->addWidget(m_mediaControlBoxForFullScreen);
    return left;
}

QWidget* ORVAppDelegate::buildGsensorBox(QWidget* parent) {
    QWidget* box = makeBox("gsensorBox", parent);
    box->setFixedHeight(kGsensorHeight);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(10, 8, 10, 8);
    layout->setSpacing(12);

    auto makeField = [box](const char* name) {
        auto* field = new QLabel(box);
        field->setObjectName(QString::fromLatin1(name));
        field->setProperty("readout", true);
        return field;
    };
    auto makeCaption = [box](const char* key) {
        auto* caption = new QLabel(uiText(key), box);
        caption->setProperty("caption", true);
        return caption;
    };
    m_gsensorXField = makeField("gsensorXField");
    m_gsensorYField = makeField("gsensorYField");
    m_gsensorZField = makeField("gsensorZField");
    m_speedField = makeField("speedField");
    m_hdopField = makeField("hdopField");
    m_sateliteField = makeField("sateliteField");
    reserveWidthOfWidestText(m_gsensorXField, {"X=-00.00"});
    reserveWidthOfWidestText(m_gsensorYField, {"Y=-00.00"});
    reserveWidthOfWidestText(m_gsensorZField, {"Z=-00.00"});
    reserveWidthOfWidestText(m_speedField, {"000 Km/h", "000 Mi/h"});
    reserveWidthOfWidestText(m_hdopField, {"00.0"});
    reserveWidthOfWidestText(m_sateliteField, {"00"});

    auto* gsensorColumn = new QVBoxLayout();
    gsensorColumn->setSpacing(2);
    gsensorColumn->addWidget(makeCaption("play.caption.gsensor"));
    for (QLabel* field : {m_gsensorXField, m_gsensorYField, m_gsensorZField}) gsensorColumn->addWidget(field);
    gsensorColumn->addStretch(1);
    layout->addLayout(gsensorColumn);

    m_graphView = new GraphView(box);
    m_graphView->setToolTip(uiText("play.caption.gsensor"));
    layout->addWidget(m_graphView, 1);

    auto* gpsGrid = new QGridLayout();
    gpsGrid->setHorizontalSpacing(8);
    gpsGrid->setVerticalSpacing(4);
    const std::pair<const char*, QLabel*> rows[] = {
        {"play.caption.speed", m_speedField},
        {"play.caption.hdop", m_hdopField},
        {"play.caption.satellites", m_sateliteField},
    };
    int row = 0;
    for (const auto& [caption, field] : rows) {
        gpsGrid->addWidget(makeCaption(caption), row, 0);
        gpsGrid->addWidget(field, row, 1);
        ++row;
    }
    gpsGrid->setRowStretch(row, 1);
    layout->addLayout(gpsGrid);
    return box;
}

QWidget* ORVAppDelegate::buildBodyRightBox() {
    QWidget* right = makeBox("bodyRightBox", m_window);
    right->setFixedWidth(kRightColumnWidth);
    auto* layout = new QVBoxLayout(right);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildSideButtonBox());
    layout->addWidget(buildMediaListBox(), 1);
    m_subVideoBox = makeBox("subVideoBox", right);
    m_subVideoBox->setFixedHeight(kSubVideoHeight);
    auto* subLayout = new QVBoxLayout(m_subVideoBox);
    subLayout->setContentsMargins(0, 0, 0, 0);
    m_player2BackgroundView = new TKVideoBackgroundImageView(m_subVideoBox);
    m_player2BackgroundView->setObjectName("player2BackgroundView");
    m_player2BackgroundView->setBackgroundNineImageName("v2");
    m_player2BackgroundView->setLogoImage("v2_rear_logo");
    m_videoView2 = new VLCVideoView();
    m_videoView2->setObjectName("videoView2");
    m_videoView2->setFillScreen(true);
    m_player2BackgroundView->setContentView(m_videoView2);
    m_videoView2->hide();
    subLayout->addWidget(m_player2BackgroundView);
    layout->addWidget(m_subVideoBox);
    return right;
}

QWidget* ORVAppDelegate::buildSideButtonBox() {
    QWidget* box = makeBox("sideButtonBox", m_window);
    box->setFixedHeight(kSideButtonHeight);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_recordButtonImageView = makeToolButton("recordButtonImageView", uiText("main.show_recordings"), box);
    m_informationButtonImageView = makeToolButton("informationButtonImageView", uiText("main.show_map"), box);
    for (QToolButton* button : {m_recordButtonImageView, m_informationButtonImageView}) {
        button->setIconSize(QSize(24, 24));
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(button);
    }
    connect(m_recordButtonImageView, &QToolButton::clicked, this, &ORVAppDelegate::clickMediaListViewButton);
    connect(m_informationButtonImageView, &QToolButton::clicked, this, &ORVAppDelegate::clickMapViewButton);
    return box;
}

QWidget* ORVAppDelegate::buildMediaListBox() {
    QWidget* mediaListBox = makeBox("mediaListBox", m_window);
    auto* stack = new QStackedLayout(mediaListBox);
    stack->setContentsMargins(0, 0, 0, 0);

    m_mediaListScrollView = makeBox("mediaListScrollView", mediaListBox);
    // While a scan runs the emptied table gives way to the indicator.
    m_mediaListStack = new QStackedLayout(m_mediaListScrollView);
    m_mediaListTableView = new QTableView(m_mediaListScrollView);
    m_mediaListTableView->setObjectName("mediaListTableView");
    m_scanningIndicator = new ScanningIndicator(m_mediaListScrollView);
    m_mediaListStack->addWidget(m_mediaListTableView);
    m_mediaListStack->addWidget(m_scanningIndicator);

    m_mapContainerView = makeBox("mapContainerView", mediaListBox);
    auto* mapLayout = new QVBoxLayout(m_mapContainerView);
    mapLayout->setContentsMargins(0, 0, 0, 0);
    mapLayout->setSpacing(0);
    QWidget* mapTop = makeBox("mapContainerTopView", m_mapContainerView);
    auto* mapTopLayout = new QVBoxLayout(mapTop);
    mapTopLayout->setContentsMargins(0, 0, 0, 0);
    m_mapWebView = new ORVMapView(mapTop);
    mapTopLayout->addWidget(m_mapWebView);
    mapLayout->addWidget(mapTop, 1);
    QWidget* bottom = makeBox("mapContainerBottomView", m_mapContainerView);
    bottom->setFixedHeight(kMapBottomHeight);
    mapLayout->addWidget(bottom);

    stack->addWidget(m_mediaListScrollView);
    stack->addWidget(m_mapContainerView);
    return mediaListBox;
}

void ORVAppDelegate::initMediaListTableView() {
    m_tableModel = new ORVMediaTableModel(this);
    m_mediaListTableView->setModel(m_tableModel);
    for (int column = 0; column < ORVMediaTableModel::ColumnCount; ++column) {
        const QString title = m_tableModel->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
        m_columnNames << title;
        updateTableColumnWithIndex(column, title, ORVMediaTableModel::columnIdentifier(column),
                                   ORVMediaTableModel::columnAlignment(column));
    }
    QTableView* table = m_mediaListTableView;
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setAlternatingRowColors(true);
    table->setShowGrid(false);
    table->setWordWrap(false);
    table->setIconSize(QSize(32, 20));
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(26);
    table->horizontalHeader()->setHighlightSections(false);
    table->horizontalHeader()->setStretchLastSection(false);
    table->horizontalHeader()->setMinimumSectionSize(40);
}

void ORVAppDelegate::updateTableColumnWithIndex(int index, const QString& title, const QString& identifier,
                                                Qt::Alignment alignment) {
    m_tableModel->setHeaderData(index, Qt::Horizontal, title, Qt::DisplayRole);
    m_tableModel->setHeaderData(index, Qt::Horizontal, QVariant::fromValue(alignment), Qt::TextAlignmentRole);
    // The side column is narrow: the short columns fit their texts and the
    // file name keeps its whole width, reached by scrolling.
    Q_UNUSED(identifier);
    m_mediaListTableView->horizontalHeader()->setSectionResizeMode(index, QHeaderView::ResizeToContents);
}

void ORVAppDelegate::applicationDidFinishLaunching() {
    applyPreferredLanguage();

    m_window->setMinimumSize(minWindowSize());
    QScreen* screen = m_window->screen() ? m_window->screen() : QGuiApplication::primaryScreen();
    const QRect frame = minWindowFrame(screen ? screen->availableGeometry() : QRect(QPoint(0, 0), minWindowSize()));
    m_window->setGeometry(frame);
    m_window->setInitialFrame(frame);
    m_window->show();
    m_mapWebView->loadMapPage(ORVMapView::pageNameForLanguage(QStringLiteral("en")));
    layoutWindow();
    resetTelemetryReadouts();
    showVolume(m_playController->volume());
}

std::int64_t ORVAppDelegate::mediaIndex() const { return m_playController->mediaIndex(); }

QRect ORVAppDelegate::minWindowFrame(const QRect& availableArea) {
    const QSize size = minWindowSize();
    const QPoint origin = availableArea.topLeft() +
                          QPoint((availableArea.width() - size.width()) / 2, (availableArea.height() - size.height()) / 2);
    return QRect(origin, size);
}

void ORVAppDelegate::applyPreferredLanguage() {
    QSettings settings;
    QStringList preferred = settings.value("AppleLanguages").toStringList();
    if (preferred.isEmpty()) preferred = QLocale::system().uiLanguages();
    for (const QString& language : preferred) logLine("SUPPORT_LANGUAGE=" + language.toStdString());
    settings.setValue("AppleLanguages", QStringList{QStringLiteral("en")});
    QLocale::setDefault(QLocale(QLocale::English));
}

void ORVAppDelegate::openMediaDirectoryDialog() {
    const QString chosen = m_directoryChooser ? m_directoryChooser(m_window) : QString();
    if (chosen.isEmpty()) return;
    openDirectory(chosen);
}

void ORVAppDelegate::openDirectory(const QString& path) {
    if (path.isEmpty()) return;
    m_playController->stopPlay();
    m_tableModel->reload(nullptr);
    showScanning(true);
    m_mediaList->setDirectoryPath(path.toStdString());
}

void ORVAppDelegate::mediaListChanged(ORVMediaList&) {
    // Queued rather than blocking: the scan calls this while the list's
    // notice lock is held, and the main thread may be waiting for that lock
    // in a new setDirectoryPath(). The table takes the finished snapshot.
    QMetaObject::invokeMethod(this, &ORVAppDelegate::reloadMediaListOnMainThread, Qt::QueuedConnection);
}

void ORVAppDelegate::reloadMediaListOnMainThread() {
    setRightViewMode(RightViewModeList);
    updateSideViewButton();
    m_tableModel->reload(m_mediaList->snapshot());
    showScanning(m_mediaList->isScanning());
    emit mediaListReloaded();
}

void ORVAppDelegate::showScanning(bool scanning) {
    m_scanning = scanning;
    m_mediaListStack->setCurrentWidget(scanning ? static_cast<QWidget*>(m_scanningIndicator) : m_mediaListTableView);
}

void ORVAppDelegate::setRightViewMode(int mode) {
    if (mode == m_rightViewMode) return;
    m_rightViewMode = mode;
    emit rightViewModeChanged(mode);
}

void ORVAppDelegate::clickMediaListViewButton() {
    if (m_rightViewMode == RightViewModeList) return;
    setRightViewMode(RightViewModeList);
    updateSideViewButton();
}

void ORVAppDelegate::clickMapViewButton() {
    if (m_rightViewMode == RightViewModeMap) return;
    setRightViewMode(RightViewModeMap);
    updateSideViewButton();
}

void ORVAppDelegate::updateSideViewButton() {
    const bool list = m_rightViewMode == RightViewModeList;
    m_recordButtonImageView->setIcon(ImageLibrary::icon(list ? "record_p.png" : "record_n.png"));
    m_informationButtonImageView->setIcon(ImageLibrary::icon(list ? "information_n.png" : "information_p.png"));
    // In full screen the side column is gone; the switch shows on leaving.
    if (m_window->isFullScreen()) return;
    layoutMapContainer();
}

void ORVAppDelegate::layoutMapContainer() {
    auto* stack = qobject_cast<QStackedLayout*>(m_mapContainerView->parentWidget()->layout());
    if (!stack) return;
    stack->setCurrentWidget(m_rightViewMode == RightViewModeMap ? m_mapContainerView : m_mediaListScrollView);
}

void ORVAppDelegate::closeWindow() {
    m_playController->stopPlay();
    m_window->close();
}

// ---- Playing ----------------------------------------------------------------

void ORVAppDelegate::changeAndPlay() {
    const QModelIndex current = m_mediaListTableView->currentIndex();
    m_playController->changeAndPlay(current.isValid() ? current.row() : -1);
}

void ORVAppDelegate::toggleFullScreen() {
    if (m_window->isFullScreen()) {
        m_window->leaveFullscreen();
    } else {
        m_window->enterFullscreen();
    }
}

void ORVAppDelegate::selectRow(std::int64_t row) {
    const QModelIndex index = m_tableModel->index(static_cast<int>(row), 0);
    if (!index.isValid()) return;
    m_mediaListTableView->selectRow(static_cast<int>(row));
    m_mediaListTableView->scrollTo(index);
}

void ORVAppDelegate::setVideoLogos(const QString& mainLogo, const QString& secondLogo) {
    m_player1BackgroundView->setLogoImage(mainLogo);
    m_player2BackgroundView->setLogoImage(secondLogo);
}

void ORVAppDelegate::setVideoViewsVisible(bool mainVisible, bool secondVisible) {
    m_videoView1->setVisible(mainVisible);
    m_videoView2->setVisible(secondVisible);
}

void ORVAppDelegate::setSecondVideoPresent(bool present) {
    if (!present) m_videoView2->hide();
    for (ORVMediaControlView* view : {m_mediaControlView, m_mediaControlViewForFullScreen}) {
        if (!present) view->setAudioChoice(false, false);
        view->setSwapAvailable(present);
    }
}

void ORVAppDelegate::showTelemetry(std::shared_ptr<const ORVBlackBoxData> telemetry) {
    m_telemetry = std::move(telemetry);
    m_lastMapScript.clear();
    m_graphView->setGraphData(m_telemetry);
    // The whole drive of the recording, under the moving marker.
    std::vector<ORVMapView::LatLon> route;
    if (m_telemetry) {
        for (const auto& place : ORVTelemetryReadout::route(*m_telemetry)) {
            route.push_back({place.latitude, place.longitude});
        }
    }
    if (route.empty()) {
        m_mapWebView->clearRoute();
    } else {
        m_mapWebView->setRoute(route);
    }
}

void ORVAppDelegate::resetTelemetryReadouts() {
    m_gsensorXField->setText(QStringLiteral("X=+0.00"));
    m_gsensorYField->setText(QStringLiteral("Y=+0.00"));
    m_gsensorZField->setText(QStringLiteral("Z=+0.00"));
    for (QLabel* field : {m_speedField, m_hdopField, m_sateliteField}) field->clear();
    updateSideViewButton();
}

void ORVAppDelegate::updateGsensorUIByPlayPositon() {
    m_graphView->updateTimePosition(m_player1->position());
    if (!m_telemetry) return;
    const auto texts = ORVTelemetryReadout::gsensorTexts(*m_telemetry, m_playController->playInfo()->position());
    if (!texts) return;
    m_gsensorXField->setText(QString::fromStdString(texts->x));
    m_gsensorYField->setText(QString::fromStdString(texts->y));
    m_gsensorZField->setText(QString::fromStdString(texts->z));
}

void ORVAppDelegate::updateGpsUIByPlayPosition() {
    if (!m_telemetry) return;
    const ORVTelemetryReadout::GpsTexts texts =
        ORVTelemetryReadout::gpsTexts(*m_telemetry, m_playController->playInfo()->position());
    showOnMap(texts);
    if (texts.speed) m_speedField->setText(QString::fromStdString(*texts.speed));
    m_hdopField->setText(QString::fromStdString(texts.hdop));
    m_sateliteField->setText(QString::fromStdString(texts.satellites));
}

void ORVAppDelegate::showOnMap(const ORVTelemetryReadout::GpsTexts& texts) {
    // Each position notice would repeat the call; the page only needs changes.
    const QString call = QString::fromStdString(texts.mapScript);
    if (call.isEmpty() || call == m_lastMapScript) return;
    m_lastMapScript = call;
    if (!texts.hasGpsData) {
        m_mapWebView->debug(QStringLiteral("GPS Data Count=Zero"));
    } else if (texts.position && ORVTelemetryReadout::isPlottable(*texts.position)) {
        // A fix without a position (before the receiver locks) would put the
        // marker at 0, 0; the last real place stays instead.
        m_mapWebView->setLatLag(texts.position->longitude, texts.position->latitude);
    }
}

void ORVAppDelegate::setVideoScaleIndex(int step) {
    QScreen* screen = m_window->screen() ? m_window->screen() : QGuiApplication::primaryScreen();
    const QRect screenFrame = screen ? screen->geometry() : QRect(QPoint(0, 0), minWindowSize());
    const VideoScaleStep decision = VideoScaleStep::decide(
        step, {m_window->width(), m_window->height()}, m_window->isFullScreen(),
        {screenFrame.width(), screenFrame.height()}, {minWindowSize().width(), minWindowSize().height()});
    switch (decision.action) {
    case VideoScaleStep::Action::Nothing:
        return;
    case VideoScaleStep::Action::EnterFullScreen:
        m_window->enterFullscreen();
        return;
    case VideoScaleStep::Action::LeaveFullScreen:
        m_window->leaveFullscreen();
        return;
    case VideoScaleStep::Action::Resize:
        break;
    }
    const QRect target(m_window->geometry().topLeft(), QSize(decision.size.width, decision.size.height));
    if (target == m_window->geometry()) return;
    auto* animation = new QPropertyAnimation(m_window, "geometry", m_window);
    animation->setDuration(kWindowAnimationMs);
    animation->setEndValue(target);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void ORVAppDelegate::showLoadingProgress(bool visible, double progress) {
    m_progressIndicator->setVisible(visible);
    m_progressIndicator->setValue(static_cast<int>(std::clamp(progress, 0.0, 100.0)));
}

void ORVAppDelegate::showAudioChoice(bool visible, bool rear) {
    for (ORVMediaControlView* view : {m_mediaControlView, m_mediaControlViewForFullScreen}) {
        view->setAudioChoice(visible, rear);
    }
}

void ORVAppDelegate::showVolume(int volume) {
    for (ORVMediaControlView* view : {m_mediaControlView, m_mediaControlViewForFullScreen}) view->setVolume(volume);
}

double ORVAppDelegate::videoContainerHeight() const { return m_player1BackgroundView->height(); }

void ORVAppDelegate::animateSwap() {
    m_player1BackgroundView->animateContent(TKVideoBackgroundImageView::GrowFrom::RightEdge);
    m_player2BackgroundView->animateContent(TKVideoBackgroundImageView::GrowFrom::TopEdge);
}

// ---- Layout -----------------------------------------------------------------

void ORVAppDelegate::layoutWindow() {
    const bool full = m_window->isFullScreen();
    m_headBox->setVisible(!full);
    layoutBodyBox();
}

void ORVAppDelegate::layoutBodyBox() {
    const bool full = m_window->isFullScreen();
    auto* bodyLayout = static_cast<QHBoxLayout*>(m_bodyBox->layout());
    auto* leftLayout = static_cast<QVBoxLayout*>(m_bodyLeftBox->layout());
    m_bodyRightBox->setVisible(!full);
    m_gsensorBox->setVisible(!full);
    m_mediaControlBox->setVisible(!full);
    m_mediaControlBoxForFullScreen->setVisible(full);
    if (full) {
        bodyLayout->setContentsMargins(0, 0, 0, 2);
        leftLayout->setSpacing(0);
    } else {
        bodyLayout->setContentsMargins(10, 0, 10, 8);
        leftLayout->setSpacing(4);
        layoutMapContainer();
    }
}

}  // namespace zentrova
