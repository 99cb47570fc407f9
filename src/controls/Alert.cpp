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

}  // namespace

QMessageBox* showAlertSheet(QWidget* window, const QString& title, const QString& message,
                            std::function<void()> done) {
    auto* alert = new QMessageBox(window);
    alert->setObjectName(QStringLiteral("alert"));
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->setIcon(QMessageBox::Warning);
    alert->setWindowTitle(title);
    alert->setText(title);
    alert->setInformativeText(message);
    QPushButton* ok = alert->addButton(uiText("alert.ok"), QMessageBox::AcceptRole);
    alert->setDefaultButton(ok);
    alert->setEscapeButton(ok);
    if (done) QObject::connect(alert, &QMessageBox::finished, alert, [done = std::move(done)] { done(); });
    alert->setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    alert->open();
    if (const AlertOpenedHook& hook = openedHook()) hook(*alert);
    return alert;
}

QMessageBox* showAlert(QWidget* window, const QString& title, const QString& message) {
    return showAlertSheet(window, title, message);
}

bool isEmptyText(const QString& text) { return text.isEmpty(); }

void setAlertOpenedHook(AlertOpenedHook hook) { openedHook() = std::move(hook); }

}  // namespace zentrova
