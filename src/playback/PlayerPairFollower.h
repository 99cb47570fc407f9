#pragma once

#include <QObject>
#include <QPointer>

#include <cstdint>
#include <utility>

class QTimer;

namespace zentrova {

class VlcMediaPlayer;

// Keeps two players on the same pictures. Each is made the other's partner,
// so that both moved while playing are let go together; even then they
// come back a few milliseconds apart. Once both have shown enough pictures
// after their last move, the one ahead waits for the other. Up to double
// speed; faster, a player that starts late leaves out pictures, and
// counting them no longer tells where it is.
class PlayerPairFollower : public QObject {
    Q_OBJECT
public:
    PlayerPairFollower(VlcMediaPlayer* first, VlcMediaPlayer* second, QObject* parent = nullptr);

    static constexpr int kLookEveryMs = 50;
    static constexpr double kFastestFollowedRate = 2.0;

private:
    void look();

    QPointer<VlcMediaPlayer> m_first;
    QPointer<VlcMediaPlayer> m_second;
    QTimer* m_lookTimer = nullptr;
    // The pair of moves last looked at: one wait per pair.
    std::pair<std::uint64_t, std::uint64_t> m_handled{0, 0};
};

}  // namespace zentrova
