#pragma once

#include "common/Localization.h"
#include "settings/ORVSettingControllerDelegate.h"

#include <QString>

#include <cstdint>
#include <optional>

class QGroupBox;
class QLabel;

namespace zentrova {

class SegmentedControl;
class StoredChoices;

// Tab 5: the driver-assistance warnings. The vehicle type, the lane-departure
// and forward-collision warnings with their sensitivities and the speeds from
// which they work, and the alert for a vehicle ahead moving off. The speeds
// are chosen in the unit the GPS page sets, so the page is made with the
// record.
class ORVSettingForAdasViewController : public ORVSettingControllerDelegate {
    Q_OBJECT
public:
    // The record's speed unit labels the speed choices from the start; the
    // record itself is still handed over by setFileData(). It may be null.
    explicit ORVSettingForAdasViewController(const FILEDATA* configData, QWidget* parent = nullptr);

    std::optional<QString> validateUserInput() const override { return std::nullopt; }

    // Relabels both speed controls: 1 is miles per hour, anything else
    // kilometres per hour. The stored speeds are numbers in the unit shown.
    void changeSpeed(std::uint32_t unit);

    // The segment of a stored speed in each table; StoredChoices::kNoChoice
    // when the table has no such speed.
    static int FindLdwsSpeed(std::int64_t speed);
    static int FindFcwsSpeed(std::int64_t speed);
    static int FindLdwsSpeedMile(std::int64_t speed);
    static int FindFcwsSpeedMile(std::int64_t speed);

protected:
    void displayFileData() override;
    bool storeFileData(FILEDATA& record) override;

private:
    // Under a speed control: hidden until a stored speed matches none of its
    // choices, and hidden again once the user picks one.
    static QLabel* addUnmatchedNote(QGroupBox& box, SegmentedControl& control, const char* outlet);
    const StoredChoices& ldwsSpeedChoices() const;
    const StoredChoices& fcwsSpeedChoices() const;
    // A speed that none of the unit's choices has shows no choice and says so.
    static void showSpeed(SegmentedControl& control, QLabel& note, const StoredChoices& choices, std::uint8_t speed);

    std::uint32_t m_speedUnit = 0;

    QGroupBox* boxOfAdasCar = nullptr;
    SegmentedControl* adasCarSeg = nullptr;
    QGroupBox* boxOfAdasLdwsSens = nullptr;
    SegmentedControl* adasLdwsSensSeg = nullptr;
    QGroupBox* boxOfAdasLdwsSpeed = nullptr;
    SegmentedControl* adasLdwsSpeedSeg = nullptr;
    QLabel* adasLdwsSpeedNote = nullptr;
    QGroupBox* boxOfAdasFcwsSens = nullptr;
    SegmentedControl* adasFcwsSensSeg = nullptr;
    QGroupBox* boxOfAdasFcwsSpeed = nullptr;
    SegmentedControl* adasFcwsSpeedSeg = nullptr;
    QLabel* adasFcwsSpeedNote = nullptr;
    QGroupBox* boxOfAdasFcmdEnable = nullptr;
    SegmentedControl* adasFcmdEnableSeg = nullptr;
    QGroupBox* boxOfAdasFcmdSens = nullptr;
    SegmentedControl* adasFcmdSensSeg = nullptr;
};

}  // namespace zentrova
