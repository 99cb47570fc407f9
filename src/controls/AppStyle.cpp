#include "controls/AppStyle.h"

namespace zentrova {

QString AppStyle::styleSheet() {
    return QStringLiteral(R"css(
#backgroundBox { background: #1c1f24; border: 1px solid #2e333b; }
#headBox { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #2a2f37, stop:1 #22262c); border-bottom: 1px solid #15171a; }
#appTitleLabel { color: #e8ecf1; font-size: 15pt; font-weight: 600; }
#versionLabel { color: #8a939f; font-size: 10pt; }
#nowShowingLabel { color: #dfe4ea; font-size: 11pt; }
#videoBox, #subVideoBox { background: #000000; border-radius: 4px; }
#playMessageLabel { background: rgba(20, 22, 26, 225); color: #f2f4f7; border: 1px solid #d9822b;
                    border-radius: 6px; padding: 8px 14px; font-size: 11pt; }
#gsensorBox, #mediaControlBox { background: #23272e; border-radius: 4px; }
#sideButtonBox { background: #23272e; border-top-left-radius: 4px; border-top-right-radius: 4px; }
#mediaListBox { background: #181b1f; }
#mapContainerTopView { background: #20242a; }
#mapContainerBottomView { background: #23272e; border-top: 1px solid #15171a; }
#mapPlaceLabel { color: #c9d1da; font-size: 10pt; font-family: "DejaVu Sans Mono", monospace; }
#mapEmptyLabel { background: #20242a; color: #9aa3ad; font-size: 11pt; padding: 24px; }
#scanningIndicator { background: rgba(24, 27, 31, 230); }
#scanningIndicator QLabel { color: #c9d1da; font-size: 11pt; }
QProgressBar { background: #2e333b; border: none; border-radius: 3px; }
QProgressBar::chunk { background: #19b5c8; border-radius: 3px; }
QTableView { background: #181b1f; alternate-background-color: #1d2126; color: #dfe4ea; border: 1px solid transparent;
             gridline-color: #262a31; selection-background-color: #3a5258; selection-color: #e8ecf1; }
QTableView[focused="true"] { border: 1px solid #19b5c8; selection-background-color: #19b5c8; selection-color: #0d1013; }
#mediaListFilterBar { background: #1f2328; border-bottom: 1px solid #15171a; }
#mediaListFooterLabel { background: #1f2328; color: #8a939f; font-size: 9pt; padding: 3px 8px;
                        border-top: 1px solid #15171a; }
#mediaListFilterBar QComboBox { background: #2e333b; color: #dfe4ea; border: 1px solid #3a4049; border-radius: 4px;
                                padding: 2px 8px; font-size: 9pt; }
#mediaListFilterBar QComboBox:focus { border-color: #19b5c8; }
#mediaListFilterBar QComboBox:disabled { color: #5c646e; }
#mediaListFilterBar QComboBox QAbstractItemView { background: #2a2f37; color: #e8ecf1; border: 1px solid #3a4049;
                                                  selection-background-color: #19b5c8; selection-color: #0d1013; }
QTableView::item { padding: 0px 4px; }
QHeaderView::section { background: #262a31; color: #aab3bd; border: none; border-right: 1px solid #1c1f24;
                       padding: 4px; font-size: 10pt; }
QToolButton { background: transparent; border: none; color: #dfe4ea; padding: 2px; }
QToolButton:hover { background: #2e343d; border-radius: 4px; }
QToolButton:pressed { background: #19b5c8; border-radius: 4px; }
QToolButton:focus { border: 2px solid #19b5c8; border-radius: 4px; padding: 0px; }
QSlider:focus { border: 1px solid #19b5c8; border-radius: 4px; }
QScrollBar:vertical { background: #181b1f; width: 10px; }
QScrollBar::handle:vertical { background: #3a4049; border-radius: 4px; min-height: 24px; }
QScrollBar:horizontal { background: #181b1f; height: 10px; }
QScrollBar::handle:horizontal { background: #3a4049; border-radius: 4px; min-width: 24px; }
QScrollBar::add-line, QScrollBar::sub-line { height: 0; width: 0; }
QScrollBar::add-page, QScrollBar::sub-page { background: none; }
QLabel[caption="true"] { color: #8a939f; font-size: 9pt; }
QLabel[caption="true"][warning="true"] { color: #e8b04a; }
QLabel[readout="true"] { color: #e8ecf1; font-size: 11pt; font-family: "DejaVu Sans Mono", monospace; }
QLabel[readout="true"][noFix="true"] { color: #5f6771; }
#gpsStateLabel { color: #d9822b; font-size: 9pt; }
QToolButton[textButton="true"] { color: #c9d1da; font-size: 10pt; }
QLabel[timeText="true"] { color: #aab3bd; font-size: 9pt; font-family: "DejaVu Sans Mono", monospace; }
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
QMenu { background: #2a2f37; color: #e8ecf1; border: 1px solid #3a4049; padding: 4px 0px; }
QMenu::item { padding: 5px 28px 5px 16px; }
QMenu::item:selected { background: #19b5c8; color: #0d1013; }
)css");
}

}  // namespace zentrova
