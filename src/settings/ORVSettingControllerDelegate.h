#pragma once

#include "settings/FILEDATA.h"

#include <QString>
#include <QWidget>

#include <optional>

namespace zentrova {

class ORVSettingController;

// What the settings editor asks of each of its pages. The editor owns the one
// record; a page keeps a plain pointer to it and writes into it only from
// populate().
class ORVSettingControllerDelegate : public QWidget {
    Q_OBJECT
public:
    explicit ORVSettingControllerDelegate(QWidget* parent = nullptr);

    // Keeps the pointer, then shows the record (nothing without one).
    void setFileData(FILEDATA* fileData);
    FILEDATA* fileData() const { return m_fileData; }

    // Stores every control into the record and answers true. Without a
    // record, or with input that validateUserInput() refuses, it answers
    // false and the record stays as it was.
    bool populate();

    // The message, already looked up, for input that cannot be stored; none
    // when the input is acceptable.
    virtual std::optional<QString> validateUserInput() const = 0;

    // The editor owns its pages, so the pointer never outlives it.
    void setMainController(ORVSettingController* editor) { m_mainController = editor; }
    ORVSettingController* mainController() const { return m_mainController; }

    // The editor is about to remove the page.
    virtual void onHide() {}

protected:
    // Sets every control from the record; called only with a record.
    virtual void displayFileData() = 0;
    // Writes the controls into the record; called only with a record and
    // accepted input. A page that must still refuse (after a warning of its
    // own) answers false before it changes anything.
    virtual bool storeFileData(FILEDATA& record) = 0;

private:
    FILEDATA* m_fileData = nullptr;
    ORVSettingController* m_mainController = nullptr;
};

}  // namespace zentrova
