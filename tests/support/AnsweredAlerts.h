#pragma once

#include "controls/Alert.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QMetaObject>
#include <QPointer>
#include <QString>

#include <vector>

namespace zentrova::test {

// Notes every alert the code under test opens and, unless told to leave
// them open, dismisses each with its button once the event loop runs again,
// as a user would.
class AnsweredAlerts {
public:
    struct Seen {
        QString title;
        QString message;
        int buttons = 0;
        bool windowModal = false;
    };

    explicit AnsweredAlerts(bool dismiss = true) {
        setAlertOpenedHook([this, dismiss](QMessageBox& alert) {
            seen.push_back({alert.text(), alert.informativeText(), static_cast<int>(alert.buttons().size()),
                            alert.windowModality() == Qt::WindowModal});
            if (!dismiss) return;
            QPointer<QMessageBox> open(&alert);
            QMetaObject::invokeMethod(
                &alert, [open] {
                    if (open && !open->buttons().isEmpty()) open->buttons().first()->click();
                },
                Qt::QueuedConnection);
        });
    }
    ~AnsweredAlerts() { setAlertOpenedHook({}); }
    AnsweredAlerts(const AnsweredAlerts&) = delete;
    AnsweredAlerts& operator=(const AnsweredAlerts&) = delete;

    std::vector<Seen> seen;
};

}  // namespace zentrova::test
