#include "telemetry/ORVGSensor.h"

namespace zentrova {
namespace {

// Converted to float first, then scaled in float: large raw values round
// to the nearest float before the division.
float scaled(int raw) {
    return static_cast<float>(raw) * 0.00390625f;
}

}  // namespace

ORVGSensor ORVGSensor::fromRaw(int rawX, int rawY, int rawZ) {
    return ORVGSensor(scaled(rawX), scaled(rawY), scaled(rawZ));
}

}  // namespace zentrova
