#pragma once

namespace zentrova {

// Converts NMEA degree-and-minute numbers (ddmm.mmmm) to decimal degrees:
// a into *first and b into *second, each only when given. The sign carries
// over, so callers apply the hemisphere first.
void NMEAToDegrees(double a, double b, double* first, double* second);

// The conversion of one value.
double nmeaToDegrees(double value);

}  // namespace zentrova
