#include "controls/AppStyle.h"

namespace zentrova {

QString AppStyle::styleSheet() {
    return QStringLiteral(R"css(
#backgroundBox { background: #1c1f24; border: 1px solid #2e333b; }
#headBox { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #2a2f37, stop:1 #22262c); border-bottom: 1px solid #15171a; }
#appTitleLabel { color: #e8ecf1; font-size: 15pt; font-weight: 600; }
#versionLabel { color: #8a939f; font-size: 10pt; }
#videoBox, #subVideoBox { background: #000000; border-radius: 4px; }
#gsensorBox, #mediaControlBox { background: #23272e; border-radius: 4px; }
#sideButtonBox { background: #23272e; border-top-left-radius: 4px; border-top-right-radius: 4px; }
#mediaListBox { background: #181b1f; }
#mapContainerTopView { background: #20242a; }
#mapContainerBottomView { background: #23272e; border-top: 1px solid #15171a; }
#scanningIndicator { background: rgba(24, 27, 31, 230); }
#scanningIndicator QLabel { color: #c9d1da; font-size: 11pt; }
QProgressBar { background: #2e333b; border: none; border-radius: 3px; }
QProgressBar::chunk { background: #19b5c8; border-radius: 3px; }
QTableView { background: #181b1f; alternate-background-color: #1d2126; color: #dfe4ea; border: none;
             gridline-color: #262a31; selection-background-color: #19b5c8; selection-color: #0d1013; }
QTableView::item { padding: 0px 6px; }
QHeaderView::section { background: #262a31; color: #aab3bd; border: none; border-right: 1px solid #1c1f24;
                       padding: 4px; font-size: 10pt; }
QToolButton { background: transparent; border: none; color: #dfe4ea; padding: 2px; }
QToolButton:hover { background: #2e343d; border-radius: 4px; }
QToolButton:pressed { background: #19b5c8; border-radius: 4px; }
QScrollBar:vertical { background: #181b1f; width: 10px; }
QScrollBar::handle:vertical { background: #3a4049; border-radius: 4px; min-height: 24px; }
QScrollBar:horizontal { background: #181b1f; height: 10px; }
QScrollBar::handle:horizontal { background: #3a4049; border-radius: 4px; min-width: 24px; }
QScrollBar::add-line, QScrollBar::sub-line { height: 0; width: 0; }
QScrollBar::add-page, QScrollBar::sub-page { background: none; }
QLabel[caption="true"] { color: #8a939f; font-size: 9pt; }
QLabel[readout="true"] { color: #e8ecf1; font-size: 11pt; font-family: "DejaVu Sans Mono", monospace; }
QToolButton[textButton="true"] { color: #c9d1da; font-size: 10pt; }
#mediaControlViewForFullScreen QToolButton[textButton="true"] { font-size: 9pt; }
QSlider::groove:horizontal { height: 4px; background: #3a4049; border-radius: 2px; }
QSlider::sub-page:horizontal { background: #19b5c8; border-radius: 2px; }
QSlider::handle:horizontal { background: #e8ecf1; width: 12px; margin: -5px 0; border-radius: 6px; }
#progressIndicator { background: #2e333b; border-radius: 3px; }
QToolButton[segment="true"] { background: #2e333b; color: #c9d1da; border: 1px solid #3a4049; border-radius: 0px;
                              padding: 3px 10px; }
QToolButton[segment="true"]:checked { background: #19b5c8; color: #0d1013; border-color: #19b5c8; }
QToolButton[segment="true"]:disabled { color: #5c646e; }
QToolButton[segment="true"][place="first"] { border-top-left-radius: 4px; border-bottom-left-radius: 4px; }
QToolButton[segment="true"][place="last"] { border-top-right-radius: 4px; border-bottom-right-radius: 4px; }
QToolButton[segment="true"][place="only"] { border-radius: 4px; }
QToolTip { background: #2a2f37; color: #e8ecf1; border: 1px solid #3a4049; }
#menuButton::menu-indicator { image: none; width: 0px; }
QMenu { background: #2a2f37; color: #e8ecf1; border: 1px solid #3a4049; padding: 4px 0px; }
QMenu::item { padding: 5px 28px 5px 16px; }
QMenu::item:selected { background: #19b5c8; color: #0d1013; }
*[appWindow="true"] { background: #1c1f24; color: #dfe4ea; }
*[appWindow="true"] QLabel, *[appWindow="true"] QCheckBox { color: #dfe4ea; background: transparent; }
*[appWindow="true"] QLabel[caption="true"] { color: #8a939f; }
*[appWindow="true"] QPushButton { background: #2e333b; color: #dfe4ea; border: 1px solid #3a4049; border-radius: 4px;
                                  padding: 5px 16px; min-width: 64px; }
*[appWindow="true"] QPushButton:hover { background: #363c46; }
*[appWindow="true"] QPushButton:default { border-color: #19b5c8; }
*[appWindow="true"] QPushButton:pressed { background: #19b5c8; color: #0d1013; }
*[appWindow="true"] QPushButton:disabled { color: #5c646e; border-color: #2e333b; }
*[appWindow="true"] QComboBox, *[appWindow="true"] QTimeEdit { background: #23272e; color: #dfe4ea;
        border: 1px solid #3a4049; border-radius: 4px; padding: 3px 8px; }
*[appWindow="true"] QComboBox:disabled, *[appWindow="true"] QTimeEdit:disabled { color: #5c646e; }
*[appWindow="true"] QTimeEdit { padding-right: 20px; }
*[appWindow="true"] QTimeEdit::up-button, *[appWindow="true"] QTimeEdit::down-button { width: 18px; border: none;
        background: #2e333b; }
*[appWindow="true"] QTimeEdit::up-button { subcontrol-position: top right; border-top-right-radius: 4px; }
*[appWindow="true"] QTimeEdit::down-button { subcontrol-position: bottom right; border-bottom-right-radius: 4px; }
*[appWindow="true"] QTimeEdit::up-button:hover, *[appWindow="true"] QTimeEdit::down-button:hover { background: #3a4049; }
*[appWindow="true"] QTimeEdit::up-arrow { image: url(:/images/spin_up.svg); width: 10px; height: 6px; }
*[appWindow="true"] QTimeEdit::down-arrow { image: url(:/images/spin_down.svg); width: 10px; height: 6px; }
*[appWindow="true"] QCheckBox::indicator { width: 14px; height: 14px; border: 1px solid #5c646e; border-radius: 3px;
        background: #23272e; }
*[appWindow="true"] QCheckBox::indicator:checked { background: #19b5c8; border-color: #19b5c8; }
*[appWindow="true"] QCheckBox::indicator:hover { border-color: #19b5c8; }
*[appWindow="true"] QComboBox QAbstractItemView { background: #23272e; color: #dfe4ea; border: 1px solid #3a4049;
        selection-background-color: #19b5c8; selection-color: #0d1013; }
*[appWindow="true"] QCalendarWidget QWidget#qt_calendar_navigationbar { background: #262a31; }
*[appWindow="true"] QCalendarWidget QToolButton { color: #e8ecf1; font-weight: 600; padding: 2px 6px; }
*[appWindow="true"] QCalendarWidget QMenu { background: #2a2f37; color: #e8ecf1; }
*[appWindow="true"] QCalendarWidget QSpinBox { background: #23272e; color: #e8ecf1; }
*[appWindow="true"] QCalendarWidget QAbstractItemView { background: #181b1f; color: #dfe4ea; outline: 0;
        selection-background-color: #19b5c8; selection-color: #0d1013; }
*[appWindow="true"] QCalendarWidget QAbstractItemView:disabled { color: #4a515b; }
*[appWindow="true"] QMessageBox { background: #23272e; }
zentrova--TKClockTimePicker { qproperty-faceColor: #23272e; qproperty-inkColor: #dfe4ea;
        qproperty-accentColor: #19b5c8; qproperty-quietColor: #8a939f; }
)css");
}

}  // namespace zentrova
