#pragma once

namespace zentrova {

// One G-sensor sample in scaled units (raw value / 256).
class ORVGSensor {
public:
    ORVGSensor() = default;
    ORVGSensor(float x, float y, float z) : m_x(x), m_y(y), m_z(z) {}

    // The scaled sample of three raw readings.
    static ORVGSensor fromRaw(int rawX, int rawY, int rawZ);

    void updateFromObject(const ORVGSensor& other) { *this = other; }

    float x() const { return m_x; }
    float y() const { return m_y; }
    float z() const { return m_z; }
    void setX(float value) { m_x = value; }
    void setY(float value) { m_y = value; }
    void setZ(float value) { m_z = value; }

    bool operator==(const ORVGSensor&) const = default;

private:
    float m_x = 0.0f;
    float m_y = 0.0f;
    float m_z = 0.0f;
};

}  // namespace zentrova
