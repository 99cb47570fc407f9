#include "telemetry/NMEAToDegrees.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace zentrova {
namespace {

// Truncation to a 32-bit integer; values outside its range (and NaN) give
// the lowest value, as the processor's own conversion does, instead of
// undefined behaviour.
std::int32_t truncatedDegrees(double hundredths) {
    if (!(hundredths > -2147483649.0 && hundredths < 2147483648.0)) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(hundredths);
}

}  // namespace

double nmeaToDegrees(double value) {
    const double hundredths = value / 100.0;
    const double degrees = truncatedDegrees(hundredths);
    return (hundredths - degrees) * 100.0 / 60.0 + degrees;
}

void NMEAToDegrees(double a, double b, double* first, double* second) {
    if (first) *first = nmeaToDegrees(a);
    if (second) *second = nmeaToDegrees(b);
}

}  // namespace zentrova
