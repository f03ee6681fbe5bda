#pragma once
// Fills the numbered placeholders "%1", "%2", ... of a text, one first occurrence at a time.

#include <concepts>
#include <initializer_list>
#include <string>
#include <variant>

#include "text/Reporters.h"

namespace updater {

// One value for a placeholder: a text, taken unchanged, or a number, written in plain decimal.
class FormatValue {
 public:
  FormatValue(std::string text) : value_(std::move(text)) {}
  FormatValue(const char* text) : value_(std::string(text)) {}
  template <std::integral T>
  FormatValue(T number) : value_(static_cast<long long>(number)) {}
  FormatValue(double number) : value_(number) {}

  std::string Text() const;

 private:
  std::variant<std::string, long long, double> value_;
};

// For the n-th value, replaces the first "%n" of the text as it stands after the values before it;
// placeholders without a value stay, values without a placeholder are ignored. A fault is reported
// and gives the empty text.
std::string sprintf(IRuntimeErrors& errors, std::string formatText, std::initializer_list<FormatValue> params);

}  // namespace updater
