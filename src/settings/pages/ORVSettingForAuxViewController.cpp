#include "settings/pages/ORVSettingForAuxViewController.h"

#include "controls/Alert.h"
#include "controls/EcoSliderAxisView.h"
#include "controls/SMDoubleSlider.h"
#include "controls/SMDoubleSliderBinding.h"
#include "controls/SegmentedControl.h"
#include "controls/UiText.h"
#include "settings/ORVValidator.h"
#include "settings/SettingPageControls.h"
#include "settings/StoredChoices.h"
#include "settings/pages/SettingPageLayout.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStringDecoder>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace zentrova {
namespace {

// A stored value that no choice stores shows no choice, and stays as the
// card has it unless the user makes one.
constexpr int kNone = StoredChoices::kNoChoice;
constexpr StoredChoices kDayTimeChoices = StoredChoices::indices(3, kNone);
constexpr StoredChoices kLcdAutoPowerOffChoices = StoredChoices::indices(4, kNone);
constexpr StoredChoices kGammaChoices = StoredChoices::indices(2, kNone);
constexpr StoredChoices kLcdBrightnessChoices = StoredChoices::indices(3, kNone);
constexpr StoredChoices kLcdNightBrightnessChoices = StoredChoices::indices(2, kNone);
// "unuse" stores 1, "use" 0; any other non-zero value means off as well.
constexpr std::int64_t kParkingRearOffValues[] = {1, 0};
constexpr StoredChoices kParkingRearOffChoices(kParkingRearOffValues, 0);
// "unuse", "default", "time".
constexpr std::int64_t kScreenSaverValues[] = {1, 0, 2};
constexpr StoredChoices kScreenSaverChoices(kScreenSaverValues, kNone);
constexpr StoredChoices kParkingAlarmChoices = StoredChoices::indices(2, kNone);
constexpr StoredChoices kRecordingLengthChoices = StoredChoices::indices(2, kNone);
constexpr StoredChoices kAutoFormatAlarmChoices = StoredChoices::indices(5, kNone);
constexpr StoredChoices kWifiChannelChoices = StoredChoices::indices(14, kNone);

constexpr int kAutoPowerOffSeconds[] = {15, 30, 60};

// The cells of the 2 x 2 picture-in-picture matrix by the value they store.
struct PipCell {
    int row;
    int column;
    TextKey label;
};
constexpr PipCell kPipCells[] = {
    {1, 1, TextKey{"setting.aux.pip_lower_right"}},
    {0, 1, TextKey{"setting.aux.pip_upper_right"}},
    {0, 0, TextKey{"setting.aux.pip_upper_left"}},
    {1, 0, TextKey{"setting.aux.pip_lower_left"}},
};
constexpr std::uint32_t kPipLowerRight = 0;

QStringList lcdAutoPowerOffLabels() {
    QStringList labels{uiText("none")};
    for (int seconds : kAutoPowerOffSeconds) labels << secondsLabel(seconds);
    return labels;
}

QStringList wifiChannelItems() {
    QStringList items{QStringLiteral("   0(Auto)")};
    for (int channel = 1; channel < kWifiChannelChoices.count(); ++channel) {
        items << QStringLiteral("%1").arg(channel, 4);
    }
    return items;
}

QString shareText(int percent) { return QString::asprintf("%d%%", percent); }

// The bytes up to the first 0 (all of them without one); bytes that are not
// UTF-8 show as no text rather than as replacement characters.
QString wifiText(const char (&field)[ORVSettingForAuxViewController::kWifiTextBytes]) {
    const auto length = static_cast<qsizetype>(strnlen(field, sizeof field));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(QByteArrayView(field, length));
    return utf8.hasError() ? QString() : text;
}

void storeWifiText(char (&field)[ORVSettingForAuxViewController::kWifiTextBytes], const QString& text) {
    const QByteArray bytes = text.toUtf8().left(sizeof field);
    std::memset(field, 0, sizeof field);
    std::memcpy(field, bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

qsizetype characterCount(const QString& text) { return text.toUcs4().size(); }

constexpr int kGridColumns = 3;

// The box's own padding already keeps its content off the frame.
QVBoxLayout* boxLayout(QGroupBox* box) {
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(6);
    return layout;
}

}  // namespace

ORVSettingForAuxViewController::ORVSettingForAuxViewController(QWidget* parent)
    : ORVSettingControllerDelegate(parent) {
    setObjectName("ORVSettingForAuxViewController");
    // Rows that each share their own width, so that the page fits the
    // editor without scrolling: the split beside the Wi-Fi box, the two
    // boxes of many choices, then three rows of three in columns. Made in
    // reading order, which is also the order of the focus.
    auto* rows = new QVBoxLayout(this);
    rows->setSpacing(10);
    auto* top = new QHBoxLayout;
    auto* wide = new QHBoxLayout;
    for (QBoxLayout* row : {top, wide}) {
        row->setSpacing(12);
        rows->addLayout(row);
    }
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(10);
    for (int column = 0; column < kGridColumns; ++column) grid->setColumnStretch(column, 1);
    rows->addLayout(grid);
    rows->addStretch(1);

    top->addWidget(makeCardSplitBox(), 2);
    top->addWidget(makeWifiBox(), 1);
    boxOfNightAE = makeSegmentBox(dayTimeAESeg, "boxOfNightAE", TextKey{"setting.aux.night_ae_setting"}, "dayTimeAESeg",
                                  uiTexts({"setting.aux.low", "setting.aux.medium_sedan", "setting.aux.high_suv"}));
    wide->addWidget(boxOfNightAE, 1);
    boxOfAutoFormatAlarm = makeSegmentBox(
        autoFormatAlarmSeg, "boxOfAutoFormatAlarm", TextKey{"setting.aux.auto_format_alarm"}, "autoFormatAlarmSeg",
        uiTexts({"setting.aux.auto_format_notuse", "setting.aux.auto_format_4week", "setting.aux.auto_format_8week",
                 "setting.aux.auto_format_16week", "setting.aux.auto_format_32week"}));
    wide->addWidget(boxOfAutoFormatAlarm, 1);

    boxOfAutoLcdOff = makeSegmentBox(lcdAutoPowerOffSeg, "boxOfAutoLcdOff", TextKey{"setting.aux.lcd_auto_off"},
                                     "lcdAutoPowerOffSeg", lcdAutoPowerOffLabels());
    boxOfLcdBrightness =
        makeSegmentBox(lcdBrightnessSeg, "boxOfLcdBrightness", TextKey{"setting.aux.lcd_brightness"},
                       "lcdBrightnessSeg", {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
    boxOfLcdDisplayProtection =
        makeSegmentBox(lcdScreenSaverSeg, "boxOfLcdDisplayProtection", TextKey{"setting.aux.lcd_screensaver"},
                       "lcdScreenSaverSeg", uiTexts({"unuse", "default", "time"}));
    boxOfAcFrequency =
        makeSegmentBox(gammaSeg, "boxOfAcFrequency", TextKey{"setting.aux.country_ac_power_setting"}, "gammaSeg",
                       {QStringLiteral("60Hz"), QStringLiteral("50Hz")});
    boxOfLcdBrightnessNight =
        makeSegmentBox(lcdNightBrightnessSeg, "boxOfLcdBrightnessNight", TextKey{"setting.aux.lcd_brightness_night"},
                       "lcdNightBrightnessSeg", uiTexts({"unuse", "use"}));
    boxOfParkingRear = makeSegmentBox(parkingRearOffSeg, "boxOfParkingRear",
                                      TextKey{"setting.aux.parking_rear_setting"}, "parkingRearOffSeg",
                                      uiTexts({"unuse", "use"}));
    boxOfParkingAlarm = makeSegmentBox(parkingAlarmSeg, "boxOfParkingAlarm",
                                       TextKey{"setting.aux.parking_monitor_notice"}, "parkingAlarmSeg",
                                       uiTexts({"unuse", "use"}));
    boxOfRecordingLength = makeSegmentBox(recordingLengthSeg, "boxOfRecordingLength",
                                          TextKey{"setting.aux.recording_length"}, "recordingLengthSeg",
                                          uiTexts({"5min", "3min"}));
    QWidget* const inColumns[] = {boxOfAutoLcdOff,  boxOfLcdBrightness,      boxOfLcdDisplayProtection,
                                        boxOfAcFrequency, boxOfLcdBrightnessNight, boxOfParkingRear,
                                        boxOfParkingAlarm, boxOfRecordingLength,   makePipPositionBox()};
    for (int i = 0; i < static_cast<int>(std::size(inColumns)); ++i) {
        grid->addWidget(inColumns[i], i / kGridColumns, i % kGridColumns);
    }

    // The slider shows the page's two numbers and writes the user's moves
    // into them; the page follows its own numbers.
    m_sliderBinding = new SMDoubleSliderBinding(sdRatioSlider, this, "ratioLoValue", "ratioHiValue", this);
    connect(this, &ORVSettingForAuxViewController::ratioLoValueChanged, this,
            &ORVSettingForAuxViewController::updateRatio);
    connect(this, &ORVSettingForAuxViewController::ratioHiValueChanged, this,
            &ORVSettingForAuxViewController::updateRatio);
}

ORVSettingForAuxViewController::~ORVSettingForAuxViewController() = default;

QLabel* ORVSettingForAuxViewController::makeShareField(const char* outlet, QWidget* parent) {
    auto* field = new QLabel(parent);
    field->setObjectName(QString::fromLatin1(outlet));
    field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("-000%")) + 4);
    return field;
}

QWidget* ORVSettingForAuxViewController::makeCardSplitBox() {
    boxOfSdcardCapatity = makeGroupBox("boxOfSdcardCapatity", TextKey{"setting.aux.sdcard_capacity"}, this);
    QVBoxLayout* layout = boxLayout(boxOfSdcardCapatity);

    auto* shares = new QHBoxLayout;
    shares->setSpacing(6);
    const struct {
        QLabel*& caption;
        const char* captionOutlet;
        TextKey key;
        QLabel*& field;
        const char* fieldOutlet;
    } columns[] = {
        {alwaysLabel, "alwaysLabel", TextKey{"setting.aux.always"}, alwaysField, "alwaysField"},
        {motionLabel, "motionLabel", TextKey{"setting.aux.motion"}, motionField, "motionField"},
        {eventLabel, "eventLabel", TextKey{"setting.aux.event"}, eventField, "eventField"},
    };
    for (const auto& column : columns) {
        if (&column != columns) shares->addStretch(1);
        column.caption = makeLabel(column.captionOutlet, column.key, boxOfSdcardCapatity);
        column.field = makeShareField(column.fieldOutlet, boxOfSdcardCapatity);
        shares->addWidget(column.caption);
        shares->addWidget(column.field);
    }
    layout->addLayout(shares);

    sdRatioSlider = new SMDoubleSlider(boxOfSdcardCapatity);
    sdRatioSlider->setObjectName("sdRatioSlider");
    sdRatioSlider->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    sdRatioSlider->setTrackingLoKnob(true);
    sdRatioSlider->setMinValue(0);
    sdRatioSlider->setMaxValue(kRatioMaximum);
    sdRatioSlider->setAltIncrementValue(1);
    sdRatioSliderAxisView = new EcoSliderAxisView(boxOfSdcardCapatity);
    sdRatioSliderAxisView->setObjectName("sdRatioSliderAxisView");
    sdRatioSliderAxisView->setTickInset(SMDoubleSlider::trackEndMargin());
    // Slider and scale share the box's width, so the ticks stay under the
    // knobs' travel at any width.
    auto* track = new QVBoxLayout;
    track->setSpacing(0);
    track->addWidget(sdRatioSlider);
    track->addWidget(sdRatioSliderAxisView);
    layout->addLayout(track);

    sdcardCapacityWarningLabel =
        makeGuide("sdcardCapacityWarningLabel", TextKey{"msg.memconfig_warning"}, boxOfSdcardCapatity);
    sdcardCapacityWarningLabel->setVisible(false);
    sdRatioOutOfRangeLabel = makeGuide("sdRatioOutOfRangeLabel", TextKey{"setting.aux.ratio_out_of_range_fmt"},
                                       boxOfSdcardCapatity);
    sdRatioOutOfRangeLabel->setProperty("warning", true);
    sdRatioOutOfRangeLabel->setVisible(false);
    layout->addWidget(sdcardCapacityWarningLabel);
    layout->addWidget(sdRatioOutOfRangeLabel);
    return boxOfSdcardCapatity;
}

QGroupBox* ORVSettingForAuxViewController::makeSegmentBox(SegmentedControl*& control, const char* boxOutlet,
                                                          TextKey title, const char* controlOutlet,
                                                          const QStringList& labels) {
    QGroupBox* box = makeGroupBox(boxOutlet, title, this);
    control = makeSegmentedControl(controlOutlet, labels, box);
    boxLayout(box)->addWidget(control);
    return box;
}

QGroupBox* ORVSettingForAuxViewController::makePipPositionBox() {
    boxOfPipPosition = makeGroupBox("boxOfPipPosition", TextKey{"setting.aux.pip_position"}, this);
    pipPositionRadio = new QWidget(boxOfPipPosition);
    pipPositionRadio->setObjectName("pipPositionRadio");
    m_pipCells = new QButtonGroup(pipPositionRadio);
    auto* matrix = new QGridLayout(pipPositionRadio);
    matrix->setContentsMargins(0, 0, 0, 0);
    matrix->setHorizontalSpacing(16);
    // Made row by row, so that the focus reads them in order.
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 2; ++column) {
            const auto* cell = std::find_if(std::begin(kPipCells), std::end(kPipCells), [&](const PipCell& c) {
                return c.row == row && c.column == column;
            });
            auto* radio = new QRadioButton(uiText(cell->label.key), pipPositionRadio);
            radio->setObjectName(QStringLiteral("pipPositionCell%1%2").arg(row).arg(column));
            m_pipCells->addButton(radio, static_cast<int>(cell - std::begin(kPipCells)));
            matrix->addWidget(radio, row, column);
        }
    }
    boxLayout(boxOfPipPosition)->addWidget(pipPositionRadio);
    return boxOfPipPosition;
}

QGroupBox* ORVSettingForAuxViewController::makeWifiBox() {
    boxOfWiFiSettings = makeGroupBox("boxOfWiFiSettings", TextKey{"setting.aux.wifi"}, this);
    ssidStatic = makeLabel("ssidStatic", TextKey{"setting.aux.wifi_ssid"}, boxOfWiFiSettings);
    passwordStatic = makeLabel("passwordStatic", TextKey{"setting.aux.wifi_password"}, boxOfWiFiSettings);
    channelStatic = makeLabel("channelStatic", TextKey{"setting.aux.wifi_channel"}, boxOfWiFiSettings);
    ssidLabel = new QLineEdit(boxOfWiFiSettings);
    ssidLabel->setObjectName("ssidLabel");
    passwordLabel = new QLineEdit(boxOfWiFiSettings);
    passwordLabel->setObjectName("passwordLabel");
    for (QLineEdit* field : {ssidLabel, passwordLabel}) {
        // The camera keeps 16 bytes: what is typed is what it gets.
        field->setMaxLength(kWifiTextBytes);
        field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QString(kWifiTextBytes, QLatin1Char('M'))) / 2);
    }
    wifiChannelCombo = makeComboBox("wifiChannelCombo", wifiChannelItems(), boxOfWiFiSettings);
    // The items are aligned by their spaces.
    wifiChannelCombo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* form = new QFormLayout(boxOfWiFiSettings);
    form->setContentsMargins(4, 2, 4, 2);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->addRow(ssidStatic, ssidLabel);
    form->addRow(passwordStatic, passwordLabel);
    form->addRow(channelStatic, wifiChannelCombo);
    return boxOfWiFiSettings;
}

void ORVSettingForAuxViewController::setRatioLoValue(double value) {
    if (value == m_ratioLoValue) return;
    m_ratioLoValue = value;
    emit ratioLoValueChanged();
}

void ORVSettingForAuxViewController::setRatioHiValue(double value) {
    if (value == m_ratioHiValue) return;
    m_ratioHiValue = value;
    emit ratioHiValueChanged();
}

int ORVSettingForAuxViewController::ratioLow() const { return static_cast<int>(std::trunc(m_ratioLoValue)); }
int ORVSettingForAuxViewController::ratioHigh() const { return static_cast<int>(std::trunc(m_ratioHiValue)); }

void ORVSettingForAuxViewController::updateRatio() {
    const int low = ratioLow();
    const int high = ratioHigh();
    sdRatioSlider->setDoubleLoAndHiValues(low, high);
    alwaysField->setText(shareText(low));
    motionField->setText(shareText(high - low));
    eventField->setText(shareText(kRatioMaximum - high));
    sdcardCapacityWarningLabel->setVisible(true);
}

// A card's split outside the range (continuous and motion together above
// 100, shares that do not add up to 100) is shown as the nearest split the
// knobs can make, and the page says so: the user sees shares that can be
// saved instead of a negative one.
void ORVSettingForAuxViewController::showCardSplit(const FILEDATA& record) {
    const std::int64_t always = record.sd_mem_always_ratio;
    const std::int64_t alwaysAndMotion = always + record.sd_mem_motion_ratio;
    const std::int64_t low = std::clamp<std::int64_t>(always, 0, kRatioMaximum);
    const std::int64_t high = std::clamp<std::int64_t>(alwaysAndMotion, low, kRatioMaximum);
    setRatioLoValue(static_cast<double>(low));
    setRatioHiValue(static_cast<double>(high));
    updateRatio();
    const bool shownAsStored =
        low == always && high == alwaysAndMotion && kRatioMaximum - high == record.sd_mem_event_ratio;
    sdRatioOutOfRangeLabel->setText(uiFormat("setting.aux.ratio_out_of_range_fmt",
                                             QString::number(record.sd_mem_always_ratio),
                                             QString::number(record.sd_mem_motion_ratio),
                                             QString::number(record.sd_mem_event_ratio)));
    sdRatioOutOfRangeLabel->setVisible(!shownAsStored);
}

void ORVSettingForAuxViewController::showPipPosition(std::uint32_t stored) {
    if (stored >= std::size(kPipCells)) stored = kPipLowerRight;
    m_pipCells->button(static_cast<int>(stored))->setChecked(true);
}

std::uint32_t ORVSettingForAuxViewController::chosenPipPosition() const {
    const int chosen = m_pipCells->checkedId();
    return chosen < 0 ? kPipLowerRight : static_cast<std::uint32_t>(chosen);
}

std::array<ORVSettingForAuxViewController::SegmentField, 10> ORVSettingForAuxViewController::segmentFields() const {
    return {{
        {dayTimeAESeg, &kDayTimeChoices, &FILEDATA::DayTime},
        {lcdAutoPowerOffSeg, &kLcdAutoPowerOffChoices, &FILEDATA::lcd_autopoweroff},
        {gammaSeg, &kGammaChoices, &FILEDATA::Gamma},
        {lcdBrightnessSeg, &kLcdBrightnessChoices, &FILEDATA::lcd_brightness},
        {lcdNightBrightnessSeg, &kLcdNightBrightnessChoices, &FILEDATA::lcd_brightness_night},
        {parkingRearOffSeg, &kParkingRearOffChoices, &FILEDATA::parking_rear_off},
        {lcdScreenSaverSeg, &kScreenSaverChoices, &FILEDATA::lcd_screensaver},
        {parkingAlarmSeg, &kParkingAlarmChoices, &FILEDATA::parking_alarm},
        {recordingLengthSeg, &kRecordingLengthChoices, &FILEDATA::always_mode_recording_time},
        {autoFormatAlarmSeg, &kAutoFormatAlarmChoices, &FILEDATA::autoFormatAlarm},
    }};
}

void ORVSettingForAuxViewController::displayFileData() {
    const FILEDATA& record = *fileData();
    showCardSplit(record);
    for (const SegmentField& segments : segmentFields()) {
        showChoice(*segments.control, *segments.choices, record.*segments.field);
    }
    showPipPosition(record.pip_position);
    m_shownSsid = wifiText(record.wifi_ssid);
    m_shownPassword = wifiText(record.wifi_password);
    ssidLabel->setText(m_shownSsid);
    passwordLabel->setText(m_shownPassword);
    showChoice(*wifiChannelCombo, kWifiChannelChoices, record.wifi_channel);
}

std::optional<QString> ORVSettingForAuxViewController::validateUserInput() const {
    const int low = ratioLow();
    const int high = ratioHigh();
    for (int share : {low, high - low, kRatioMaximum - high}) {
        if (std::optional<std::string> message = ORVValidator::validateSDCardSizeRatio(share)) {
            return QString::fromStdString(*message);
        }
    }
    return std::nullopt;
}

bool ORVSettingForAuxViewController::validString(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x21 && c.unicode() <= 0x7E; });
}

std::optional<std::string_view> ORVSettingForAuxViewController::wifiProblem(const QString& ssid,
                                                                            const QString& password) {
    if (characterCount(ssid) < kShortestSsid) return "setting.aux.ssid_length";
    if (!validString(ssid)) return "setting.aux.ssid_invalid";
    if (characterCount(password) < kShortestPassword) return "setting.aux.password_length";
    if (!validString(password)) return "setting.aux.password_invalid";
    return std::nullopt;
}

bool ORVSettingForAuxViewController::storeFileData(FILEDATA& record) {
    const QString ssid = ssidLabel->text();
    const QString password = passwordLabel->text();
    if (const std::optional<std::string_view> problem = wifiProblem(ssid, password)) {
        focusRefusedField(problem->starts_with("setting.aux.ssid") ? *ssidLabel : *passwordLabel);
        showAlert(window(), uiText(kAlertTitleWarning.key), uiText(*problem));
        return false;
    }

    const int low = ratioLow();
    const int high = ratioHigh();
    record.sd_mem_always_ratio = static_cast<std::uint32_t>(low);
    record.sd_mem_motion_ratio = static_cast<std::uint32_t>(high - low);
    record.sd_mem_event_ratio =
        static_cast<std::uint32_t>(std::trunc(sdRatioSlider->maxValue() - low - (high - low)));

    for (const SegmentField& segments : segmentFields()) {
        storeChosen(*segments.control, *segments.choices, record.*segments.field);
    }
    record.pip_position = chosenPipPosition();

    // An untouched text keeps the card's bytes, those after its end included.
    if (ssid != m_shownSsid) storeWifiText(record.wifi_ssid, ssid);
    if (password != m_shownPassword) storeWifiText(record.wifi_password, password);
    m_shownSsid = ssid;
    m_shownPassword = password;
    if (kWifiChannelChoices.isChoice(wifiChannelCombo->currentIndex())) {
        record.wifi_channel = kWifiChannelChoices.storedValue<std::uint32_t>(wifiChannelCombo->currentIndex());
    }
    return true;
}

}  // namespace zentrova
