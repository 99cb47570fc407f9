#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QCalendarWidget;
class QCheckBox;
class QLabel;
class QPushButton;
class QTimeEdit;

namespace zentrova {

class AtomicFileWriter;
class TKClockTimePicker;
class VolumeSource;

// The clock-setting window: a date and a time (now, to begin with) written
// as the camera's timeset.cfg, to the card that holds one or where the user
// chooses.
class ORVTimeSetupController : public QWidget {
    Q_OBJECT
public:
    struct Services {
        std::shared_ptr<VolumeSource> volumes;
        std::shared_ptr<AtomicFileWriter> writer;
        // The save dialog: the chosen path, or an empty text when cancelled.
        std::function<QString(QWidget* parent)> savePanel;
        std::function<QDateTime()> now;

        static Services system();
    };

    static constexpr const char* kFileName = "timeset.cfg";

    explicit ORVTimeSetupController(QWidget* parent = nullptr);
    ORVTimeSetupController(Services services, QWidget* parent);

    QDate selectedDate() const { return m_selectedDate; }
    QTime selectedTime() const { return m_selectedTime; }
    // The card's timeset.cfg, once the search has found one.
    const std::optional<QString>& settingFilePath() const { return m_SettingFilePath; }
    bool isSearchingCard() const { return m_searching; }

    // The 19 bytes for the chosen date and time; none outside the years the
    // camera takes.
    std::optional<std::string> timeSetText() const;
    // Writes the file; false (after an alert naming the reason) when it
    // could not be written.
    bool doWriteConfigFile(const QString& path);

public slots:
    void daySelectedFromPicker();
    void timeSelectedFromPicker();
    void timeSelectedFromClickTimePicker();
    void nowDayChecked();
    void onSaveConfigFile();
    void onCloseCmd();

signals:
    // The search for a card holding timeset.cfg has ended.
    void cardSearchFinished();
    void fileSaved(const QString& path);

private:
    void buildWindow();
    void onInitDIalog();
    void loadSettingFile();
    void showDate();
    void showTarget();
    QString openSavePanel();

    Services m_services;
    QDate m_selectedDate;
    QTime m_selectedTime;
    std::optional<QString> m_SettingFilePath;
    bool m_searching = false;

    QCalendarWidget* m_datePicker = nullptr;
    QTimeEdit* m_timePicker = nullptr;
    TKClockTimePicker* m_clockTimePicker = nullptr;
    QLabel* m_dateField = nullptr;
    QCheckBox* m_nowDaySettingChk = nullptr;
    QLabel* m_targetField = nullptr;
    QPushButton* m_saveButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};

}  // namespace zentrova
