#include "app/HeadBar.h"

#include "controls/ImageLibrary.h"
#include "controls/TKImageButton.h"
#include "controls/UiText.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QProgressBar>
#include <QVBoxLayout>

namespace zentrova {
namespace {

constexpr int kNowShowingWidth = 420;
constexpr QSize kCommandIconSize(24, 24);
// The window's own buttons stay small, as in a title bar.
constexpr QSize kWindowIconSize(20, 20);

}  // namespace

HeadBar::HeadBar(QWidget* parent) : QWidget(parent), m_menu(new QMenu(this)) {
    setObjectName("headBox");
    setAttribute(Qt::WA_StyledBackground, true);
    setFixedHeight(kHeight);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(14, 0, 10, 0);
    layout->setSpacing(8);

    auto* logo = new QLabel(this);
    logo->setPixmap(ImageLibrary::pixmap("zentrova", QSize(30, 30), qApp->devicePixelRatio()));
    auto* title = new QLabel(uiText("main.title"), this);
    title->setObjectName("appTitleLabel");
    m_versionLabel = new QLabel(this);
    m_versionLabel->setObjectName("versionLabel");
    layout->addWidget(logo);
    layout->addWidget(title);
    layout->addWidget(m_versionLabel, 0, Qt::AlignBottom | Qt::AlignLeft);
    layout->addStretch(1);
    layout->addLayout(makeCentre());
    layout->addStretch(1);

    TKImageButton* open = addButton("openDirectoryButton", "folder_open_n", "main.open_directory");
    m_openButton = open;
    connect(open, &QToolButton::clicked, this, &HeadBar::openClicked);

    TKImageButton* settings = addButton("settingsButton", "icon_settings_n", "main.settings");
    connect(settings, &QToolButton::clicked, this, &HeadBar::settingsClicked);

    TKImageButton* cardCheck = addButton("cardCheckButton", "icon_card_check_n", "main.card_check");
    connect(cardCheck, &QToolButton::clicked, this, &HeadBar::cardCheckClicked);

    TKImageButton* clock = addButton("timeSetupButton", "icon_clock_n", "main.time_setup");
    connect(clock, &QToolButton::clicked, this, &HeadBar::timeSetupClicked);

    m_menu->setObjectName("commandMenu");
    TKImageButton* menu = addButton("menuButton", "icon_menu_n", "main.menu");
    menu->setMenu(m_menu);
    menu->setPopupMode(QToolButton::InstantPopup);
    layout->addSpacing(12);

    TKImageButton* minimize = addButton("minimizeWindowButton", "icon_minimize_n", "main.minimize");
    m_maximizeButton = addButton("maximizeWindowButton", "icon_maximize_n", "main.maximize");
    showMaximized(false);
    TKImageButton* close = addButton("closeWindowButton", "icon_close_n", "main.close");
    for (TKImageButton* button : {minimize, m_maximizeButton, close}) button->setIconSize(kWindowIconSize);
    connect(minimize, &QToolButton::clicked, this, &HeadBar::minimizeClicked);
    connect(m_maximizeButton, &QToolButton::clicked, this, &HeadBar::maximizeClicked);
    connect(close, &QToolButton::clicked, this, &HeadBar::closeClicked);
}

TKImageButton* HeadBar::addButton(const char* name, const char* image, std::string_view tooltipKey) {
    auto* button = new TKImageButton(QString::fromLatin1(image), this);
    button->setObjectName(QString::fromLatin1(name));
    button->setIconSize(kCommandIconSize);
    button->setToolTip(uiText(tooltipKey));
    button->setCursor(Qt::PointingHandCursor);
    layout()->addWidget(button);
    return button;
}

QProgressBar* HeadBar::makeLoadingIndicator() {
    m_loadingIndicator = new QProgressBar(this);
    m_loadingIndicator->setObjectName("progressIndicator");
    m_loadingIndicator->setRange(0, 100);
    m_loadingIndicator->setTextVisible(false);
    m_loadingIndicator->setFixedSize(220, 6);
    m_loadingIndicator->setToolTip(uiText("play.loading"));
    // Kept in the layout while hidden, so that it stays centred.
    QSizePolicy keepSpace = m_loadingIndicator->sizePolicy();
    keepSpace.setRetainSizeWhenHidden(true);
    m_loadingIndicator->setSizePolicy(keepSpace);
    m_loadingIndicator->hide();
    return m_loadingIndicator;
}

// The name of what is shown, with the loading indicator under it.
QLayout* HeadBar::makeCentre() {
    auto* centre = new QVBoxLayout();
    centre->setContentsMargins(0, 6, 0, 6);
    centre->setSpacing(3);
    m_nowShowingLabel = new QLabel(this);
    m_nowShowingLabel->setObjectName("nowShowingLabel");
    m_nowShowingLabel->setAlignment(Qt::AlignCenter);
    m_nowShowingLabel->setFixedWidth(kNowShowingWidth);
    centre->addWidget(m_nowShowingLabel, 0, Qt::AlignHCenter);
    centre->addWidget(makeLoadingIndicator(), 0, Qt::AlignHCenter);
    return centre;
}

void HeadBar::setNowShowing(const QString& text) {
    m_nowShowing = text;
    m_nowShowingLabel->ensurePolished();
    const QString shown = m_nowShowingLabel->fontMetrics().elidedText(text, Qt::ElideMiddle, kNowShowingWidth - 8);
    m_nowShowingLabel->setText(shown);
    m_nowShowingLabel->setToolTip(shown == text ? QString() : text);
}

QString HeadBar::nowShowing() const { return m_nowShowing; }

QAction* HeadBar::addMenuCommand(std::string_view textKey, const QKeySequence& keys) {
    QAction* action = m_menu->addAction(uiText(textKey));
    action->setShortcut(keys);
    return action;
}

TKImageButton* HeadBar::addCommandButton(const char* name, const char* image, QAction* command) {
    auto* button = new TKImageButton(QString::fromLatin1(image), this);
    button->setObjectName(QString::fromLatin1(name));
    button->setIconSize(kCommandIconSize);
    button->setCursor(Qt::PointingHandCursor);
    // Mirrors the command by hand: a default action would put the command's
    // single icon over the button's own rollover and pressed images.
    const auto follow = [button, command] {
        button->setEnabled(command->isEnabled());
        button->setToolTip(command->toolTip());
    };
    follow();
    connect(command, &QAction::changed, button, follow);
    connect(button, &QToolButton::clicked, command, &QAction::trigger);
    auto* row = static_cast<QHBoxLayout*>(layout());
    row->insertWidget(row->indexOf(m_openButton), button);
    return button;
}

void HeadBar::setVersionText(const QString& text) { m_versionLabel->setText(text); }

void HeadBar::showMaximized(bool maximized) {
    m_maximizeButton->setImageName(maximized ? "icon_restore_n" : "icon_maximize_n");
    m_maximizeButton->setToolTip(uiText(maximized ? "main.restore" : "main.maximize"));
}

void HeadBar::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mouseDoubleClickEvent(event);
    event->accept();
    emit maximizeClicked();
}

}  // namespace zentrova
