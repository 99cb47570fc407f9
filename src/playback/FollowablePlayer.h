#pragma once

#include "playback/DisplayTimeline.h"

#include <optional>

namespace zentrova {

class PlayerPacing;

// What keeping two players on the same pictures asks of each of them.
class FollowablePlayer {
public:
    virtual ~FollowablePlayer() = default;

    // Playing for everybody, waits and settling moves included.
    virtual bool isPlaying() const = 0;
    virtual float rate() const = 0;
    virtual bool isHolding() const = 0;
    // When the pictures shown since the last move would have shown media
    // time 0 (steady clock, ms); none until enough were shown.
    virtual std::optional<DisplayTimeline::Anchor> displayAnchor() const = 0;
    // Waits the given time and plays on from where it was.
    virtual void holdFor(int milliseconds) = 0;
    // The waits and settling moves of the player, so that two paired
    // players moved together are let go together; none for a player that
    // settles no moves.
    virtual PlayerPacing* pacing() = 0;
};

}  // namespace zentrova
