#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

namespace zentrova {

// Shown over the recordings table while a card is being scanned.
class ScanningIndicator : public QWidget {
    Q_OBJECT
public:
    explicit ScanningIndicator(QWidget* parent = nullptr);

private:
    QLabel* m_label;
    QProgressBar* m_bar;
};

}  // namespace zentrova
