#pragma once
// The numeric value of a command-line token.

#include <cstdint>
#include <string_view>

namespace updater {

// Value of the longest leading part of text that reads as a decimal number (sign, digits, period and
// digits, exponent), or of "&H"/"&O" followed by hexadecimal or octal digits. Tabs and line feeds are
// skipped; text that does not begin with a number is 0. Faults with Overflow beyond double range.
double NumericValue(std::string_view text);

// NumericValue rounded toward minus infinity; faults with Overflow outside [min, max].
std::int64_t WholeNumericValue(std::string_view text, std::int64_t min, std::int64_t max);

}  // namespace updater
