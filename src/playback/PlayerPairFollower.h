#pragma once

#include <QObject>
#include <QPointer>

#include <cstdint>
#include <utility>

class QTimer;

namespace zentrova {

class VlcMediaPlayer;

// Keeps two players on the same pictures. Moving both to the same time
// leaves them apart by whatever each needed to start again (the one with
// sound waits for its audio output). Once both have shown enough pictures
// after their last move, the one ahead waits for the other. Only at normal
// speed: faster, the pictures shown no longer tell where a player is.
class PlayerPairFollower : public QObject {
    Q_OBJECT
public:
    PlayerPairFollower(VlcMediaPlayer* first, VlcMediaPlayer* second, QObject* parent = nullptr);

    static constexpr int kLookEveryMs = 50;
    static constexpr double kFastestFollowedRate = 1.0;

private:
    void look();

    QPointer<VlcMediaPlayer> m_first;
    QPointer<VlcMediaPlayer> m_second;
    QTimer* m_lookTimer = nullptr;
    // The pair of moves last looked at: one wait per pair.
    std::pair<std::uint64_t, std::uint64_t> m_handled{0, 0};
};

}  // namespace zentrova
