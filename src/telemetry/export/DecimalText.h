#pragma once

#include <string>

namespace zentrova {

// Numbers for exported files: always "." as the decimal point and never an
// exponent, whatever the process's locale.

// The shortest fixed-point text that reads back to the same double.
void appendDecimal(std::string& out, double value);
// Fixed-point text with the given number of decimals.
void appendDecimal(std::string& out, double value, int decimals);
// A value that was read in single precision and widened: the shortest text
// of the float when the double holds one exactly ("0.9", not
// "0.8999999761581421"), else that of the double.
void appendReading(std::string& out, double value);
void appendReading(std::string& out, float value);

std::string decimalText(double value);

}  // namespace zentrova
