#include "app/ORVAppDelegate.h"

#include "app/AppStyle.h"
#include "app/CustomWindow.h"
#include "app/ImageLibrary.h"
#include "app/ORVMediaTableModel.h"
#include "app/ScanningIndicator.h"
#include "app/UiText.h"
#include "common/Log.h"
#include "recordings/linux/PosixDirectoryLister.h"

#include <QApplication>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
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

QWidget* makeBox(const char* name, QWidget* parent) {
    auto* box = new QWidget(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setAttribute(Qt::WA_StyledBackground, true);
    return box;
}

QToolButton* makeToolButton(const char* name, const QString& tooltip, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(tooltip);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

// A video area's resting picture: the side's logo centred on black.
QWidget* makeVideoBox(const char* name, const QString& logo, const QSize& logoSize, QWidget* parent) {
    QWidget* box = makeBox(name, parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(box);
    label->setAlignment(Qt::AlignCenter);
    label->setPixmap(ImageLibrary::pixmap(logo, logoSize, qApp->devicePixelRatio()));
    layout->addWidget(label);
    return box;
}

}  // namespace

ORVAppDelegate::ORVAppDelegate(QObject* parent) : QObject(parent), m_mediaList(std::make_unique<ORVMediaList>(std::make_shared<PosixDirectoryLister>())) {
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
    delete m_window;
}

void ORVAppDelegate::awakeFromNib() {
    buildWindow();
    initMediaListTableView();
}

void ORVAppDelegate::setupInitialValues() {
    m_mediaList->setDelegate(this);
    connect(m_window, &CustomWindow::directoryDropped, this, &ORVAppDelegate::openDirectory);
    setRightViewMode(RightViewModeList);
    updateSideViewButton();
    m_strVersion = QCoreApplication::applicationVersion();
    m_versionLabel->setText(uiFormat("main.version_fmt", {m_strVersion}));
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
    backgroundLayout->addWidget(buildHeadBox());

    QWidget* bodyBox = makeBox("bodyBox", backgroundBox);
    auto* bodyLayout = new QHBoxLayout(bodyBox);
    bodyLayout->setContentsMargins(10, 0, 10, 8);
    bodyLayout->setSpacing(10);
    bodyLayout->addWidget(buildBodyLeftBox(), 1);
    bodyLayout->addWidget(buildBodyRightBox(), 0);
    backgroundLayout->addWidget(bodyBox, 1);
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
    layout->addWidget(makeVideoBox("videoBox", "v1_front_logo", QSize(200, 120), left), 1);
    QWidget* gsensorBox = makeBox("gsensorBox", left);
    gsensorBox->setFixedHeight(kGsensorHeight);
    layout->addWidget(gsensorBox);
    QWidget* mediaControlBox = makeBox("mediaControlBox", left);
    mediaControlBox->setFixedHeight(kMediaControlHeight);
    layout->addWidget(mediaControlBox);
    return left;
}

QWidget* ORVAppDelegate::buildBodyRightBox() {
    QWidget* right = makeBox("bodyRightBox", m_window);
    right->setFixedWidth(kRightColumnWidth);
    auto* layout = new QVBoxLayout(right);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildSideButtonBox());
    layout->addWidget(buildMediaListBox(), 1);
    QWidget* subVideoBox = makeVideoBox("subVideoBox", "v2_rear_logo", QSize(150, 90), right);
    subVideoBox->setFixedHeight(kSubVideoHeight);
    layout->addWidget(subVideoBox);
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
    mapLayout->addWidget(makeBox("mapContainerTopView", m_mapContainerView), 1);
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
    m_mediaIndex = -1;
}

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
    m_mapContainerView->setVisible(!list);
    m_mediaListScrollView->setVisible(list);
    layoutMapContainer();
}

void ORVAppDelegate::layoutMapContainer() {
    auto* stack = qobject_cast<QStackedLayout*>(m_mapContainerView->parentWidget()->layout());
    if (!stack) return;
    stack->setCurrentWidget(m_rightViewMode == RightViewModeMap ? m_mapContainerView : m_mediaListScrollView);
}

void ORVAppDelegate::closeWindow() { m_window->close(); }

}  // namespace zentrova
