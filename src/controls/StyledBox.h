#pragma once

class QWidget;

namespace zentrova {

// A plain box that the style sheet paints by its name ("#gsensorBox").
QWidget* makeStyledBox(const char* name, QWidget* parent);

}  // namespace zentrova
