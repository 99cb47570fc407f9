#pragma once

#include "common/Localization.h"
#include "settings/ORVSettingControllerDelegate.h"

#include <QString>

#include <optional>

class QCheckBox;
class QGroupBox;

namespace zentrova {

class SegmentedControl;

// Tab 6: the microphone and speaker volumes, the hourly chime and the
// language of the camera's voice guidance.
class ORVSettingForAudioViewController : public ORVSettingControllerDelegate {
    Q_OBJECT
public:
    explicit ORVSettingForAudioViewController(QWidget* parent = nullptr);

    std::optional<QString> validateUserInput() const override { return std::nullopt; }

protected:
    void displayFileData() override;
    bool storeFileData(FILEDATA& record) override;

private:
    QGroupBox* boxOfMic = nullptr;
    SegmentedControl* micSeg = nullptr;
    QGroupBox* boxOfSpeaker = nullptr;
    SegmentedControl* speakerSeg = nullptr;
    QCheckBox* useEveryHourNoticeChk = nullptr;
    QGroupBox* boxOfVoiceLang = nullptr;
    SegmentedControl* voiceLangRadio = nullptr;
};

}  // namespace zentrova
