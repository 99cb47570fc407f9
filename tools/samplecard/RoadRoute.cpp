#include "RoadRoute.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zentrova::samplecard {
namespace {

constexpr double kEarthRadius = 6371000.0;
constexpr double kDegree = std::numbers::pi / 180.0;

double wrapDistance(double distance, double length) {
    const double wrapped = std::fmod(distance, length);
    return wrapped < 0 ? wrapped + length : wrapped;
}

double headingDifference(double from, double to) {
    double difference = std::fmod(to - from + 540.0, 360.0) - 180.0;
    return difference;
}

}  // namespace

RoadRoute RoadRoute::sampleLoop() {
    // Corners in metres east and north of the start; about 5.5 km round.
    std::vector<Metric> corners{
        {0, 0},       {420, 80},    {900, 60},    {1300, -120}, {1650, -60}, {1900, 250}, {1850, 700},
        {1500, 950},  {1050, 1010}, {700, 880},   {420, 1000},  {120, 820},  {-150, 500}, {-200, 200},
    };
    return RoadRoute(47.0502, 8.3093, std::move(corners));
}

RoadRoute::RoadRoute(double originLatitude, double originLongitude, std::vector<Metric> corners)
    : m_originLatitude(originLatitude), m_originLongitude(originLongitude), m_points(rounded(corners, 4)) {
    m_distances.reserve(m_points.size() + 1);
    m_distances.push_back(0);
    for (std::size_t i = 0; i < m_points.size(); ++i) {
        const Metric& a = m_points[i];
        const Metric& b = m_points[(i + 1) % m_points.size()];
        m_distances.push_back(m_distances.back() + std::hypot(b.east - a.east, b.north - a.north));
    }
    m_length = m_distances.back();
}

// Corner cutting (a quarter and three quarters along every side), repeated,
// turns the corners into smooth bends.
std::vector<RoadRoute::Metric> RoadRoute::rounded(const std::vector<Metric>& corners, int passes) {
    std::vector<Metric> points = corners;
    for (int pass = 0; pass < passes; ++pass) {
        std::vector<Metric> next;
        next.reserve(points.size() * 2);
        for (std::size_t i = 0; i < points.size(); ++i) {
            const Metric& a = points[i];
            const Metric& b = points[(i + 1) % points.size()];
            next.push_back({0.75 * a.east + 0.25 * b.east, 0.75 * a.north + 0.25 * b.north});
            next.push_back({0.25 * a.east + 0.75 * b.east, 0.25 * a.north + 0.75 * b.north});
        }
        points = std::move(next);
    }
    return points;
}

std::size_t RoadRoute::segmentAt(double distance, double& along) const {
    const double wrapped = wrapDistance(distance, m_length);
    auto upper = std::upper_bound(m_distances.begin(), m_distances.end(), wrapped);
    std::size_t segment = static_cast<std::size_t>(std::max<std::ptrdiff_t>(upper - m_distances.begin() - 1, 0));
    segment = std::min(segment, m_points.size() - 1);
    along = wrapped - m_distances[segment];
    return segment;
}

double RoadRoute::headingAt(double distance) const {
    double along = 0;
    const std::size_t segment = segmentAt(distance, along);
    const Metric& a = m_points[segment];
    const Metric& b = m_points[(segment + 1) % m_points.size()];
    const double heading = std::atan2(b.east - a.east, b.north - a.north) / kDegree;
    return heading < 0 ? heading + 360.0 : heading;
}

RoutePoint RoadRoute::pointAt(double distance) const {
    double along = 0;
    const std::size_t segment = segmentAt(distance, along);
    const Metric& a = m_points[segment];
    const Metric& b = m_points[(segment + 1) % m_points.size()];
    const double span = m_distances[segment + 1] - m_distances[segment];
    const double share = span > 0 ? along / span : 0;
    const double east = a.east + (b.east - a.east) * share;
    const double north = a.north + (b.north - a.north) * share;
    RoutePoint point;
    point.latitude = m_originLatitude + north / kEarthRadius / kDegree;
    point.longitude = m_originLongitude + east / (kEarthRadius * std::cos(m_originLatitude * kDegree)) / kDegree;
    point.course = headingAt(distance);
    return point;
}

double RoadRoute::curvatureAhead(double distance, double stretch) const {
    double largest = 0;
    const double step = 5.0;
    for (double ahead = 0; ahead < stretch; ahead += step) {
        const double turn = headingDifference(headingAt(distance + ahead), headingAt(distance + ahead + step));
        largest = std::max(largest, std::abs(turn) * kDegree / step);
    }
    return largest;
}

}  // namespace zentrova::samplecard
