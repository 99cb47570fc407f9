#pragma once

#include "RoadRoute.h"

#include <vector>

namespace zentrova::samplecard {

struct DriveState {
    double latitude = 0;
    double longitude = 0;
    double course = 0;                // degrees from north
    double speed = 0;                 // metres per second
    double forwardAcceleration = 0;   // metres per second squared
    double lateralAcceleration = 0;   // positive to the right
    double distance = 0;              // metres driven since the start
};

// A car that sets off, drives the route at road speeds (slower in bends,
// smooth acceleration and braking) and parks, sampled every tenth of a second.
class DriveSimulator {
public:
    static constexpr double kStep = 0.1;

    // Stands until departure, drives, stops at arrival and stays parked until horizon (seconds).
    DriveSimulator(RoadRoute route, double departure, double arrival, double horizon);

    DriveState stateAt(double seconds) const;
    const RoadRoute& route() const { return m_route; }

private:
    double targetSpeed(double time, double distance) const;
    void addTurnRates();

    RoadRoute m_route;
    double m_departure;
    double m_arrival;
    std::vector<DriveState> m_states;
};

}  // namespace zentrova::samplecard
