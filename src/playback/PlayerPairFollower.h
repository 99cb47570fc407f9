#pragma once

#include "playback/DelayedSteps.h"

#include <cstdint>
#include <memory>
#include <utility>

namespace zentrova {

class FollowablePlayer;

// Keeps two players on the same pictures. Their pacings are paired, so
// that both moved while playing are let go together; even then they come
// back a few milliseconds apart. Once both have shown enough pictures after
// their last move, the one ahead waits for the other. Up to double speed;
// faster, a player that starts late leaves out pictures, and counting them
// no longer tells where it is. Both players outlive the follower.
class PlayerPairFollower {
public:
    PlayerPairFollower(FollowablePlayer& first, FollowablePlayer& second, DelayedSteps& steps);

    static constexpr int kLookEveryMs = 50;
    static constexpr double kFastestFollowedRate = 2.0;

private:
    void look();

    FollowablePlayer& m_first;
    FollowablePlayer& m_second;
    std::unique_ptr<DelayedSteps::Repeating> m_looking;
    // The pair of moves last looked at: one wait per pair.
    std::pair<std::uint64_t, std::uint64_t> m_handled{0, 0};
};

}  // namespace zentrova
