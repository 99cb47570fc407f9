#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QProgressBar;

namespace zentrova {

// A sheet on a window while work runs elsewhere: a message over a bar that
// is busy (no known end) or shows how far the work got. It has no buttons
// and Escape does not close it: it goes when the work says so.
class ProgressSheet : public QDialog {
    Q_OBJECT
public:
    static constexpr int kSteps = 1000;

    explicit ProgressSheet(QWidget* window);

    void setMessage(const QString& message);
    QString message() const;

    // A bar that runs without an end, until a fraction is set.
    void setBusy();
    bool isBusy() const;
    // From 0 to 1; values outside are held to it.
    void setFraction(double fraction);
    double fraction() const;

    // Window-modal on its window; returns at once.
    void showSheet();
    void closeSheet();

protected:
    void reject() override;

private:
    QLabel* m_message = nullptr;
    QProgressBar* m_bar = nullptr;
};

}  // namespace zentrova
