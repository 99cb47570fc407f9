#include "controls/Alert.h"

#include "controls/UiText.h"

#include <QMessageBox>
#include <QPushButton>

namespace zentrova {
namespace {

AlertOpenedHook& openedHook() {
    static AlertOpenedHook hook;
    return hook;
}

QMessageBox* makeAlert(QWidget* window, const QString& title, const QString& message, QMessageBox::Icon icon) {
    auto* alert = new QMessageBox(window);
    // A dialog is a window of its own and takes no palette from its parent;
    // it would show the dark look's light text on a light ground.
    if (window) alert->setPalette(window->window()->palette());
    alert->setObjectName(QStringLiteral("alert"));
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->setIcon(icon);
    alert->setWindowTitle(title);
    alert->setText(title);
    alert->setInformativeText(message);
    alert->setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    return alert;
}

QMessageBox* openAlert(QMessageBox* alert) {
    alert->open();
    if (const AlertOpenedHook& hook = openedHook()) hook(*alert);
    return alert;
}

}  // namespace

QMessageBox* showAlertSheet(QWidget* window, const QString& title, const QString& message,
                            std::function<void()> done) {
    QMessageBox* alert = makeAlert(window, title, message, QMessageBox::Warning);
    QPushButton* ok = alert->addButton(uiText("alert.ok"), QMessageBox::AcceptRole);
    alert->setDefaultButton(ok);
    alert->setEscapeButton(ok);
    if (done) QObject::connect(alert, &QMessageBox::finished, alert, [done = std::move(done)] { done(); });
    return openAlert(alert);
}

QMessageBox* showQuestionSheet(QWidget* window, const QString& title, const QString& message,
                               const QString& acceptText, std::function<void(bool accepted)> done) {
    QMessageBox* alert = makeAlert(window, title, message, QMessageBox::Question);
    QPushButton* accept = alert->addButton(acceptText, QMessageBox::AcceptRole);
    QPushButton* cancel = alert->addButton(uiText("alert.cancel"), QMessageBox::RejectRole);
    alert->setDefaultButton(cancel);
    alert->setEscapeButton(cancel);
    QObject::connect(alert, &QMessageBox::finished, alert, [alert, accept, done = std::move(done)] {
        if (done) done(alert->clickedButton() == accept);
    });
    return openAlert(alert);
}

QMessageBox* showAlert(QWidget* window, const QString& title, const QString& message) {
    return showAlertSheet(window, title, message);
}

bool isEmptyText(const QString& text) { return text.isEmpty(); }

void setAlertOpenedHook(AlertOpenedHook hook) { openedHook() = std::move(hook); }

}  // namespace zentrova
