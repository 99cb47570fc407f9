#include "settings/pages/ORVSettingForVideoViewController.h"

#include "controls/Alert.h"
#include "controls/SegmentedControl.h"
#include "controls/UiText.h"
#include "settings/SettingPageControls.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>

namespace zentrova {
namespace {

QStringList qualityLabels() {
    return {uiText("setting.video.quality_normal"), uiText("setting.video.quality_high"),
            uiText("setting.video.quality_highest")};
}

// Levels 1 to 5; the third, the camera's default, says so.
QStringList brightnessLabels() {
    return {QStringLiteral("1"), QStringLiteral("2"), fillText(QStringLiteral("3(%@)"), uiText("default")),
            QStringLiteral("4"), QStringLiteral("5")};
}

// Segment 1 for a stored 1, else segment 0.
int onOffSegment(std::uint32_t value) { return value == 1 ? 1 : 0; }

}  // namespace

ORVSettingForVideoViewController::ORVSettingForVideoViewController(QWidget* parent)
    : ORVSettingControllerDelegate(parent) {
    setObjectName(QStringLiteral("ORVSettingForVideoViewController"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(16, 12, 16, 12);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(10);

    m_videoEncodingBitrate = addSegmentBox(*grid, 0, 0, "boxOfFrontVideoQuality", uiText("setting.video.front_quality"),
                                           "videoEncodingBitrate", qualityLabels());
    m_videoEncodingBitrateRear = addSegmentBox(*grid, 0, 1, "boxOfRealVideoQuality",
                                               uiText("setting.video.rear_quality"), "videoEncodingBitrateRear",
                                               qualityLabels());

    auto* brightnessLabel = new QLabel(uiText("brightness"));
    brightnessLabel->setObjectName(QStringLiteral("brightnessLabel"));
    m_videoBrightness = addSegmentBox(*grid, 1, 0, "boxOfFrontVideoSetting", uiText("setting.video.front_setting"),
                                      "videoBrightness", brightnessLabels(), brightnessLabel);
    auto* brightnessLabelReal = new QLabel(uiText("brightness"));
    brightnessLabelReal->setObjectName(QStringLiteral("brightnessLabelReal"));
    m_videoBrightnessRear = addSegmentBox(*grid, 1, 1, "boxOfRealVideoSetting", uiText("setting.video.rear_setting"),
                                          "videoBrightnessRear", brightnessLabels(), brightnessLabelReal);

    m_frontTinting = addSegmentBox(*grid, 2, 0, "boxOfFrontTinting", uiText("setting.video.front_tinting"),
                                   "frontTinting",
                                   {uiText("cpl_unuse"), uiText("cpl_use"), uiText("light_tinting"),
                                    uiText("dark_tinting")});
    m_rearTinting = addSegmentBox(*grid, 2, 1, "boxOfRearTinting", uiText("setting.video.rear_tinting"),
                                  "rearTinting", {uiText("unuse"), uiText("light_tinting"), uiText("dark_tinting")});

    auto* guide = new QLabel(uiText("setting.video.cpl_filter_use"), this);
    guide->setObjectName(QStringLiteral("brightnessGuide"));
    guide->setProperty("caption", true);
    guide->setWordWrap(true);
    grid->addWidget(guide, 3, 0, 1, 2);

    m_flipVideoRealSeg = addSegmentBox(*grid, 4, 0, "boxOfFlipVideoReal", uiText("setting.video.rear_reversal"),
                                       "flipVideoRealSeg", {uiText("unuse"), uiText("use")});
    m_rearfpsSeg = addSegmentBox(*grid, 4, 1, "boxOfRearFps", uiText("setting.video.rear_fps"), "rearfpsSeg",
                                 {uiText("30fps"), uiText("15fps")});
    m_wdr = addSegmentBox(*grid, 5, 0, "boxOfWDR", uiText("setting.motion.night_vision"), "wdr",
                          {uiText("setting.motion.night_vision_notuse"), uiText("setting.motion.night_vision_use")});

    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(6, 1);

    m_segmentFields = {
        {m_videoEncodingBitrate, &FILEDATA::vid_enc_bitrate},
        {m_videoBrightness, &FILEDATA::vid_brightness},
        {m_videoEncodingBitrateRear, &FILEDATA::vid_enc_bitrate_R},
        {m_videoBrightnessRear, &FILEDATA::vid_brightness_R},
        {m_frontTinting, &FILEDATA::front_cpl_use},
        {m_rearTinting, &FILEDATA::rear_cpl_use},
        {m_wdr, &FILEDATA::En_SuperNightVision},
    };
}

SegmentedControl* ORVSettingForVideoViewController::addSegmentBox(QGridLayout& grid, int row, int column,
                                                                  const char* boxName, const QString& title,
                                                                  const char* outlet, const QStringList& labels,
                                                                  QLabel* caption) {
    auto* box = new QGroupBox(title, this);
    box->setObjectName(QString::fromLatin1(boxName));
    auto* line = new QHBoxLayout(box);
    line->setSpacing(10);
    if (caption) {
        caption->setParent(box);
        line->addWidget(caption);
    }
    auto* control = new SegmentedControl(box);
    control->setObjectName(QString::fromLatin1(outlet));
    setSegmentLabels(*control, labels);
    line->addWidget(control, 1);
    grid.addWidget(box, row, column);
    return control;
}

void ORVSettingForVideoViewController::displayFileData() {
    const FILEDATA& record = *fileData();
    for (const SegmentField& shown : m_segmentFields) {
        const std::uint32_t value = record.*shown.field;
        shown.control->setSelectedSegment(value < static_cast<std::uint32_t>(shown.control->segmentCount())
                                              ? static_cast<int>(value)
                                              : SegmentedControl::kNoSelection);
    }
    m_flipVideoRealSeg->setSelectedSegment(onOffSegment(record.flip_video));
    m_rearfpsSeg->setSelectedSegment(onOffSegment(record.rear_fps));
    showRearFrameRates(record.Gamma);
    m_forntVideoQuality = record.vid_enc_bitrate;
    m_rearVideoQuality = record.vid_enc_bitrate_R;
}

// The mains frequency of the System page decides whether the rear camera
// runs at 30 or at 25 frames per second; the stored values stay 0 and 1.
void ORVSettingForVideoViewController::showRearFrameRates(std::uint32_t gamma) {
    setSegmentLabels(*m_rearfpsSeg, {gamma != 0 ? uiText("25fps") : uiText("30fps"), uiText("15fps")});
}

bool ORVSettingForVideoViewController::storeFileData(FILEDATA& record) {
    for (const SegmentField& stored : m_segmentFields) {
        const int segment = stored.control->selectedSegment();
        if (segment != SegmentedControl::kNoSelection) record.*stored.field = static_cast<std::uint32_t>(segment);
    }
    record.flip_video = static_cast<std::uint32_t>(m_flipVideoRealSeg->selectedSegment());
    record.rear_fps = static_cast<std::uint32_t>(m_rearfpsSeg->selectedSegment());
    warnOfQualityChange(record);
    return true;
}

// A new quality changes how the camera divides its card; the warning does
// not stop anything.
void ORVSettingForVideoViewController::warnOfQualityChange(const FILEDATA& record) {
    if (record.vid_enc_bitrate == m_forntVideoQuality && record.vid_enc_bitrate_R == m_rearVideoQuality) return;
    showAlert(window(), uiText(kAlertTitleWarning.key), uiText("msg.video_quality_warning"));
}

}  // namespace zentrova
