#include "controls/WindowLook.h"

#include "controls/AppStyle.h"

#include <QColor>
#include <QPalette>
#include <QWidget>

namespace zentrova {
namespace {

QPalette darkPalette() {
    QPalette palette;
    const QColor window(0x1c, 0x1f, 0x24);
    const QColor text(0xdf, 0xe4, 0xea);
    const QColor base(0x18, 0x1b, 0x1f);
    const QColor button(0x2e, 0x33, 0x3b);
    const QColor accent(0x19, 0xb5, 0xc8);
    const QColor muted(0x5c, 0x64, 0x6e);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, button);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Highlight, accent);
    palette.setColor(QPalette::HighlightedText, QColor(0x0d, 0x10, 0x13));
    palette.setColor(QPalette::ToolTipBase, button);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::PlaceholderText, muted);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(QPalette::Disabled, role, muted);
    }
    return palette;
}

QString controlRules() {
    return QStringLiteral(R"css(
QLabel { color: #dfe4ea; }
QLabel:disabled { color: #5c646e; }
QGroupBox { color: #c9d1da; font-weight: 600; border: 1px solid #2e333b; border-radius: 4px;
            margin-top: 14px; padding: 12px 10px 8px 10px; }
QGroupBox::title { subcontrol-origin: margin; left: 10px; padding: 0px 4px; }
QGroupBox:disabled { color: #5c646e; }
QPushButton { background: #2e333b; color: #dfe4ea; border: 1px solid #3a4049; border-radius: 4px;
              padding: 5px 16px; min-width: 72px; }
QPushButton:hover { background: #363c45; }
QPushButton:pressed { background: #19b5c8; color: #0d1013; }
QPushButton:default { border-color: #19b5c8; }
QPushButton:disabled { color: #5c646e; border-color: #2e333b; }
QCheckBox, QRadioButton { color: #dfe4ea; spacing: 8px; }
QCheckBox:disabled, QRadioButton:disabled { color: #5c646e; }
QRadioButton::indicator { width: 12px; height: 12px; border-radius: 7px; border: 1px solid #5c646e; background: #181b1f; }
QRadioButton::indicator:checked { border-color: #19b5c8;
    background: qradialgradient(cx: 0.5, cy: 0.5, radius: 0.5, fx: 0.5, fy: 0.5,
                                stop: 0 #19b5c8, stop: 0.55 #19b5c8, stop: 0.65 #181b1f, stop: 1 #181b1f); }
QRadioButton::indicator:disabled { border-color: #2e333b; }
QComboBox, QLineEdit, QTimeEdit { background: #181b1f; color: #dfe4ea; border: 1px solid #3a4049;
                                  border-radius: 4px; padding: 3px 6px; }
QComboBox:disabled, QLineEdit:disabled, QTimeEdit:disabled { color: #5c646e; border-color: #2e333b; }
QTimeEdit { padding-right: 20px; }
QTimeEdit::up-button, QTimeEdit::down-button { width: 18px; border: none; background: #2e333b; }
QTimeEdit::up-button { subcontrol-position: top right; border-top-right-radius: 4px; }
QTimeEdit::down-button { subcontrol-position: bottom right; border-bottom-right-radius: 4px; }
QTimeEdit::up-button:hover, QTimeEdit::down-button:hover { background: #3a4049; }
QTimeEdit::up-arrow { image: url(:/images/spin_up.svg); width: 10px; height: 6px; }
QTimeEdit::down-arrow { image: url(:/images/spin_down.svg); width: 10px; height: 6px; }
QLabel[caption="true"] { color: #8a939f; }
QCheckBox::indicator { width: 14px; height: 14px; border: 1px solid #5c646e; border-radius: 3px;
                       background: #23272e; }
QCheckBox::indicator:checked { background: #19b5c8; border-color: #19b5c8; }
QCheckBox::indicator:hover { border-color: #19b5c8; }
QCalendarWidget QWidget#qt_calendar_navigationbar { background: #262a31; }
QCalendarWidget QToolButton { color: #e8ecf1; font-weight: 600; padding: 2px 6px; }
QCalendarWidget QMenu { background: #2a2f37; color: #e8ecf1; }
QCalendarWidget QSpinBox { background: #23272e; color: #e8ecf1; }
QCalendarWidget QAbstractItemView { background: #181b1f; color: #dfe4ea; outline: 0;
                                    selection-background-color: #19b5c8; selection-color: #0d1013; }
QCalendarWidget QAbstractItemView:disabled { color: #4a515b; }
QMessageBox { background: #23272e; }
zentrova--TKClockTimePicker { qproperty-faceColor: #23272e; qproperty-inkColor: #dfe4ea;
                              qproperty-accentColor: #19b5c8; qproperty-quietColor: #8a939f; }
QComboBox QAbstractItemView { background: #23272e; color: #dfe4ea; selection-background-color: #19b5c8;
                              selection-color: #0d1013; }
QScrollArea, QScrollArea > QWidget { background: transparent; border: none; }
QMessageBox QLabel { color: #dfe4ea; }
)css");
}

}  // namespace

void applyWindowLook(QWidget& window) {
    window.setPalette(darkPalette());
    window.setAutoFillBackground(true);
    window.setStyleSheet(AppStyle::styleSheet() + controlRules());
}

}  // namespace zentrova
