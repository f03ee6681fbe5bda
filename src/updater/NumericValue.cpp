#include "updater/NumericValue.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

#include "text/Fault.h"

namespace updater {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

double RadixValue(std::string_view digits, int radix) {
  double value = 0;
  for (char c : digits) {
    int digit = -1;
    if (IsDigit(c)) digit = c - '0';
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0 || digit >= radix) break;
    value = value * radix + digit;
  }
  if (!std::isfinite(value)) RaiseFault(FaultNumber::Overflow);
  return value;
}

double DecimalValue(const std::string& s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  const std::size_t mantissaStart = i;
  std::size_t intDigits = 0;  // significant digits before the period
  bool seenNonZero = false;
  for (; i < s.size() && IsDigit(s[i]); ++i) {
    if (s[i] != '0') seenNonZero = true;
    if (seenNonZero) ++intDigits;
  }
  std::size_t leadingFractionZeros = 0;
  if (i + 1 < s.size() && s[i] == '.' && IsDigit(s[i + 1])) {
    ++i;
    for (; i < s.size() && IsDigit(s[i]); ++i) {
      if (s[i] != '0') seenNonZero = true;
      if (!seenNonZero) ++leadingFractionZeros;
    }
  } else if (i == mantissaStart) {
    return 0;  // no digits: not a number
  }
  long exponent = 0;
  if (i + 1 < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (j < s.size() && IsDigit(s[j])) {
      const bool negative = s[j - 1] == '-';
      for (; j < s.size() && IsDigit(s[j]); ++j) {
        if (exponent < 100000) exponent = exponent * 10 + (s[j] - '0');
      }
      if (negative) exponent = -exponent;
      i = j;
    }
  }
  if (!seenNonZero) return 0;
  const std::size_t start = s[0] == '+' ? 1 : 0;
  double value = 0;
  const auto [end, error] = std::from_chars(s.data() + start, s.data() + i, value);
  (void)end;
  if (error == std::errc::result_out_of_range) {
    const long magnitude = intDigits > 0 ? static_cast<long>(intDigits) - 1 + exponent
                                         : exponent - static_cast<long>(leadingFractionZeros) - 1;
    if (magnitude > 0) RaiseFault(FaultNumber::Overflow);
    return 0;
  }
  return value;
}

}  // namespace

double NumericValue(std::string_view text) {
  std::string s;
  s.reserve(text.size());
  for (char c : text) {
    if (c != '\t' && c != '\n') s += c;
  }
  if (s.size() >= 2 && s[0] == '&') {
    const char kind = static_cast<char>(std::toupper(static_cast<unsigned char>(s[1])));
    if (kind == 'H') return RadixValue(std::string_view(s).substr(2), 16);
    if (kind == 'O') return RadixValue(std::string_view(s).substr(2), 8);
  }
  return DecimalValue(s);
}

std::int64_t WholeNumericValue(std::string_view text, std::int64_t min, std::int64_t max) {
  const double whole = std::floor(NumericValue(text));
  if (!(whole >= static_cast<double>(min) && whole <= static_cast<double>(max))) RaiseFault(FaultNumber::Overflow);
  return static_cast<std::int64_t>(whole);
}

}  // namespace updater
