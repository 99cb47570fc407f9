#include "settings/pages/ORVSettingForAudioViewController.h"

#include "controls/SegmentedControl.h"
#include "controls/UiText.h"
#include "settings/SettingPageControls.h"
#include "settings/StoredChoices.h"
#include "settings/pages/SettingPageLayout.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

namespace zentrova {
namespace {

// Volume 0 is off; a stored volume outside the segments shows none and is
// kept as it is.
constexpr StoredChoices kVolumeChoices = StoredChoices::indices(4, StoredChoices::kNoChoice);

// The camera's codes of its voice languages; an unknown code shows English
// and is stored as it.
constexpr std::int64_t kVoiceLanguageCodes[] = {0, 1, 5, 7, 13, 14, 17};
constexpr StoredChoices kVoiceLanguageChoices(kVoiceLanguageCodes, 1);

QStringList volumeLabels() {
    return {uiText("unuse"), fillText(QStringLiteral("1(%@)"), uiText("setting.aux.volume_low")), QStringLiteral("2"),
            fillText(QStringLiteral("3(%@)"), uiText("setting.aux.volume_up"))};
}

QStringList voiceLanguageLabels() {
    return uiTexts({"Korean", "English", "Chinese", "Japanese", "German", "Turkish", "Cantonese"});
}

}  // namespace

ORVSettingForAudioViewController::ORVSettingForAudioViewController(QWidget* parent)
    : ORVSettingControllerDelegate(parent) {
    setObjectName("ORVSettingForAudioViewController");
    boxOfMic = makeSegmentBox("boxOfMic", TextKey{"setting.aux.mic_volume"}, micSeg, "micSeg", volumeLabels(), this);
    boxOfSpeaker = makeSegmentBox("boxOfSpeaker", TextKey{"setting.aux.speaker_volume"}, speakerSeg, "speakerSeg",
                                  volumeLabels(), this);
    useEveryHourNoticeChk = makeCheckBox("useEveryHourNoticeChk", TextKey{"setting.aux.enable_hourly_alarm"}, this);
    boxOfVoiceLang = makeSegmentBox("boxOfVoiceLang", TextKey{"setting.aux.enable_voice_guidance"}, voiceLangRadio,
                                    "voiceLangRadio", voiceLanguageLabels(), this);

    auto* grid = new QGridLayout(this);
    grid->setSpacing(12);
    grid->addWidget(boxOfMic, 0, 0);
    grid->addWidget(boxOfSpeaker, 0, 1);
    grid->addWidget(useEveryHourNoticeChk, 1, 0, 1, 2);
    grid->addWidget(boxOfVoiceLang, 2, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(3, 1);
}

void ORVSettingForAudioViewController::displayFileData() {
    const FILEDATA& record = *fileData();
    showChoice(*micSeg, kVolumeChoices, record.aud_input_vol);
    useEveryHourNoticeChk->setChecked(record.alarm_ontime_flag != 0);
    showChoice(*speakerSeg, kVolumeChoices, record.aud_output_vol);
    showChoice(*voiceLangRadio, kVoiceLanguageChoices, record.Brightness1);
}

bool ORVSettingForAudioViewController::storeFileData(FILEDATA& record) {
    storeChosen(*micSeg, kVolumeChoices, record.aud_input_vol);
    record.alarm_ontime_flag = useEveryHourNoticeChk->isChecked() ? 1 : 0;
    storeChosen(*speakerSeg, kVolumeChoices, record.aud_output_vol);
    record.Brightness1 = kVoiceLanguageChoices.storedValue<std::uint32_t>(voiceLangRadio->selectedSegment());
    return true;
}

}  // namespace zentrova
