#pragma once

#include <vector>

namespace zentrova::samplecard {

struct RoutePoint {
    double latitude = 0;   // decimal degrees, north positive
    double longitude = 0;  // decimal degrees, east positive
    double course = 0;     // degrees clockwise from north, 0 to 360
};

// A closed road loop of a few kilometres, its corners rounded the way a road
// curves, walked by distance from its start.
class RoadRoute {
public:
    // The sample route: a country loop with bends, a village and a long straight.
    static RoadRoute sampleLoop();

    double length() const { return m_length; }
    RoutePoint pointAt(double distance) const;
    // Heading change per metre over the stretch ahead, for choosing a safe speed.
    double curvatureAhead(double distance, double stretch) const;

private:
    struct Metric {
        double east = 0;
        double north = 0;
    };
    RoadRoute(double originLatitude, double originLongitude, std::vector<Metric> corners);
    static std::vector<Metric> rounded(const std::vector<Metric>& corners, int passes);
    std::size_t segmentAt(double distance, double& along) const;
    double headingAt(double distance) const;

    double m_originLatitude;
    double m_originLongitude;
    std::vector<Metric> m_points;
    std::vector<double> m_distances;  // from the start to each point
    double m_length = 0;
};

}  // namespace zentrova::samplecard
