#pragma once

#include <QLineEdit>

namespace zentrova {

// A one-line field for the vehicle's plate number: when editing ends, its
// text keeps only what the record's eight plate bytes can hold (the ASCII
// letters and digits, at most eight), before anyone else sees the end.
class ORVCarNumberTextField : public QLineEdit {
    Q_OBJECT
public:
    explicit ORVCarNumberTextField(QWidget* parent = nullptr);

    // Replaces the text by its filtered form, as the end of editing does.
    void filterText();
};

}  // namespace zentrova
