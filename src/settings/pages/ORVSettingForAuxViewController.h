#pragma once

#include "common/Localization.h"
#include "settings/ORVSettingControllerDelegate.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace zentrova {

class EcoSliderAxisView;
class SegmentedControl;
class StoredChoices;
class SMDoubleSlider;
class SMDoubleSliderBinding;

// Tab 3: how the card's space is split between continuous, motion and event
// recordings (one range with two knobs: continuous up to the low knob, motion
// between the knobs, event above the high one), the vehicle class, the
// screen, the mains frequency, the rear camera and the notice while parked,
// the recording length, the picture-in-picture corner, the format reminder
// and the camera's Wi-Fi access point. The second card's split (sd2_*) is
// not the page's and stays as the card has it.
class ORVSettingForAuxViewController : public ORVSettingControllerDelegate {
    Q_OBJECT
    // The split while the page is shown; the slider is bound to both.
    Q_PROPERTY(double ratioLoValue READ ratioLoValue WRITE setRatioLoValue NOTIFY ratioLoValueChanged)
    Q_PROPERTY(double ratioHiValue READ ratioHiValue WRITE setRatioHiValue NOTIFY ratioHiValueChanged)
public:
    static constexpr int kRatioMaximum = 100;
    static constexpr int kWifiTextBytes = 16;
    static constexpr int kShortestSsid = 6;
    static constexpr int kShortestPassword = 8;

    explicit ORVSettingForAuxViewController(QWidget* parent = nullptr);
    ~ORVSettingForAuxViewController() override;

    // The first of the three shares, continuous, motion, event, that is too
    // small.
    std::optional<QString> validateUserInput() const override;

    double ratioLoValue() const { return m_ratioLoValue; }
    double ratioHiValue() const { return m_ratioHiValue; }
    void setRatioLoValue(double value);
    void setRatioHiValue(double value);

    // Every character one of the printable ASCII characters from "!" to "~"
    // (so no space); an empty text passes.
    static bool validString(const QString& text);
    // The message key of the first Wi-Fi check that fails: the name's length,
    // its characters, the password's length, its characters.
    static std::optional<std::string_view> wifiProblem(const QString& ssid, const QString& password);

signals:
    void ratioLoValueChanged();
    void ratioHiValueChanged();

protected:
    void displayFileData() override;
    // The Wi-Fi texts are checked before anything is stored: a refused
    // name or password leaves the whole record as it was.
    bool storeFileData(FILEDATA& record) override;

private slots:
    void updateRatio();

private:
    QWidget* makeCardSplitBox();
    QGroupBox* makeSegmentBox(SegmentedControl*& control, const char* boxOutlet, TextKey title,
                              const char* controlOutlet, const QStringList& labels);
    QGroupBox* makePipPositionBox();
    QGroupBox* makeWifiBox();
    QLabel* makeShareField(const char* outlet, QWidget* parent);

    // Each segmented control with the field it shows and stores.
    struct SegmentField {
        SegmentedControl* control;
        const StoredChoices* choices;
        std::uint32_t FILEDATA::*field;
    };
    std::array<SegmentField, 10> segmentFields() const;

    int ratioLow() const;
    int ratioHigh() const;
    void showCardSplit(const FILEDATA& record);
    void showPipPosition(std::uint32_t stored);
    std::uint32_t chosenPipPosition() const;

    QGroupBox* boxOfSdcardCapatity = nullptr;
    SMDoubleSlider* sdRatioSlider = nullptr;
    EcoSliderAxisView* sdRatioSliderAxisView = nullptr;
    QLabel* alwaysLabel = nullptr;
    QLabel* motionLabel = nullptr;
    QLabel* eventLabel = nullptr;
    QLabel* alwaysField = nullptr;
    QLabel* motionField = nullptr;
    QLabel* eventField = nullptr;
    QLabel* sdcardCapacityWarningLabel = nullptr;
    // Says that the card's own split could not be shown as it is.
    QLabel* sdRatioOutOfRangeLabel = nullptr;
    QGroupBox* boxOfNightAE = nullptr;
    SegmentedControl* dayTimeAESeg = nullptr;
    QGroupBox* boxOfAutoLcdOff = nullptr;
    SegmentedControl* lcdAutoPowerOffSeg = nullptr;
    QGroupBox* boxOfAcFrequency = nullptr;
    SegmentedControl* gammaSeg = nullptr;
    QGroupBox* boxOfLcdBrightness = nullptr;
    SegmentedControl* lcdBrightnessSeg = nullptr;
    QGroupBox* boxOfLcdBrightnessNight = nullptr;
    SegmentedControl* lcdNightBrightnessSeg = nullptr;
    QGroupBox* boxOfParkingRear = nullptr;
    SegmentedControl* parkingRearOffSeg = nullptr;
    QGroupBox* boxOfLcdDisplayProtection = nullptr;
    SegmentedControl* lcdScreenSaverSeg = nullptr;
    QGroupBox* boxOfParkingAlarm = nullptr;
    SegmentedControl* parkingAlarmSeg = nullptr;
    QGroupBox* boxOfRecordingLength = nullptr;
    SegmentedControl* recordingLengthSeg = nullptr;
    QGroupBox* boxOfPipPosition = nullptr;
    QWidget* pipPositionRadio = nullptr;
    QButtonGroup* m_pipCells = nullptr;
    QGroupBox* boxOfAutoFormatAlarm = nullptr;
    SegmentedControl* autoFormatAlarmSeg = nullptr;
    QGroupBox* boxOfWiFiSettings = nullptr;
    QLabel* ssidStatic = nullptr;
    QLabel* passwordStatic = nullptr;
    QLabel* channelStatic = nullptr;
    QLineEdit* ssidLabel = nullptr;
    QLineEdit* passwordLabel = nullptr;
    QComboBox* wifiChannelCombo = nullptr;

    SMDoubleSliderBinding* m_sliderBinding = nullptr;
    double m_ratioLoValue = 0.0;
    double m_ratioHiValue = 0.0;
    // The Wi-Fi texts as shown, so that untouched ones keep the card's bytes.
    QString m_shownSsid;
    QString m_shownPassword;
};

}  // namespace zentrova
