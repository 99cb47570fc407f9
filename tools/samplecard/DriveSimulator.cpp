#include "DriveSimulator.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zentrova::samplecard {
namespace {

constexpr double kCruise = 13.9;          // 50 km/h
constexpr double kLateralLimit = 2.2;     // comfortable in a bend
constexpr double kAccelerationLimit = 1.3;
constexpr double kBrakingLimit = 2.4;
constexpr double kStoppingTime = 12.0;

}  // namespace

DriveSimulator::DriveSimulator(RoadRoute route, double departure, double arrival, double horizon)
    : m_route(std::move(route)), m_departure(departure), m_arrival(arrival) {
    const auto steps = static_cast<std::size_t>(std::ceil(std::max(horizon, 0.0) / kStep)) + 2;
    m_states.reserve(steps);
    double speed = 0;
    double distance = 0;
    for (std::size_t k = 0; k < steps; ++k) {
        const double time = static_cast<double>(k) * kStep;
        const double target = targetSpeed(time, distance);
        const double acceleration = std::clamp((target - speed) / 1.5, -kBrakingLimit, kAccelerationLimit);
        DriveState state;
        const RoutePoint point = m_route.pointAt(distance);
        state.latitude = point.latitude;
        state.longitude = point.longitude;
        state.course = point.course;
        state.speed = speed;
        state.forwardAcceleration = speed > 0 || acceleration > 0 ? acceleration : 0;
        state.distance = distance;
        m_states.push_back(state);
        speed = std::max(0.0, speed + acceleration * kStep);
        distance += speed * kStep;
    }
    addTurnRates();
}

double DriveSimulator::targetSpeed(double time, double distance) const {
    if (time < m_departure || time >= m_arrival - kStoppingTime) return 0;
    const double cruise = kCruise + 2.5 * std::sin(time / 37.0) + 1.2 * std::sin(time / 11.0);
    const double curvature = m_route.curvatureAhead(distance, 60.0);
    const double bend = std::sqrt(kLateralLimit / std::max(curvature, 1e-5));
    return std::min(cruise, bend);
}

// Lateral acceleration is speed times turn rate, the rate taken over a second
// so that the route's small facets do not show as jolts.
void DriveSimulator::addTurnRates() {
    const std::size_t span = static_cast<std::size_t>(1.0 / kStep);
    for (std::size_t k = 0; k + span < m_states.size(); ++k) {
        double turn = std::fmod(m_states[k + span].course - m_states[k].course + 540.0, 360.0) - 180.0;
        const double rate = turn * std::numbers::pi / 180.0;  // radians per second
        m_states[k].lateralAcceleration = m_states[k].speed * rate;
    }
}

DriveState DriveSimulator::stateAt(double seconds) const {
    const double position = std::max(seconds, 0.0) / kStep;
    const auto index = std::min(static_cast<std::size_t>(std::llround(position)), m_states.size() - 1);
    return m_states[index];
}

}  // namespace zentrova::samplecard
