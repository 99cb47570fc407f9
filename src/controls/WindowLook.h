#pragma once

class QWidget;

namespace zentrova {

// Gives a secondary window (settings, formatter, clock) the application's
// dark look: its palette and the rules for the plain controls that pages
// are built from (group boxes, buttons, check boxes, combo boxes, fields).
void applyWindowLook(QWidget& window);

}  // namespace zentrova
