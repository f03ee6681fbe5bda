#pragma once
// Run-time faults: what a procedure's trap catches and reports.

#include <cstdint>
#include <exception>
#include <string>
#include <system_error>
#include <version>

#if defined(__cpp_lib_source_location)
#include <source_location>
#endif

namespace updater {

// Where a statement stands in the source. The fuzzing build's clang 14 lacks std::source_location;
// there the line comes from the builtin that std::source_location is made of.
#if defined(__cpp_lib_source_location)
using SourceLocation = std::source_location;
#else
class SourceLocation {
 public:
  static constexpr SourceLocation current(std::uint_least32_t line = __builtin_LINE()) { return SourceLocation(line); }
  constexpr std::uint_least32_t line() const { return line_; }

 private:
  constexpr explicit SourceLocation(std::uint_least32_t line) : line_(line) {}
  std::uint_least32_t line_;
};
#endif

// Numbers of the run-time fault catalogue used by this program.
enum class FaultNumber : std::int32_t {
  None = 0,
  InvalidProcedureCall = 5,
  Overflow = 6,
  OutOfMemory = 7,
  SubscriptOutOfRange = 9,
  TypeMismatch = 13,
  InternalError = 51,
  BadFileNameOrNumber = 52,
  FileNotFound = 53,
  DeviceIoError = 57,
  FileAlreadyExists = 58,
  DiskFull = 61,
  InputPastEndOfFile = 62,
  PermissionDenied = 70,
  PathFileAccessError = 75,
  PathNotFound = 76,
  ObjectVariableNotSet = 91,
  ResourceNotFound = 326,
};

// Standard description of a fault number: empty for 0, a generic text for numbers outside the catalogue.
std::string FaultDescription(std::int32_t number);

// A fault carries its number and the source line of the statement where it arose.
class Fault : public std::exception {
 public:
  Fault(std::int32_t number, std::int32_t line) : number_(number), line_(line) {}

  std::int32_t Number() const { return number_; }
  std::int32_t Line() const { return line_; }
  std::string Description() const { return FaultDescription(number_); }
  const char* what() const noexcept override { return "run-time fault"; }

 private:
  std::int32_t number_;
  std::int32_t line_;
};

// Raises a fault at the caller's line.
[[noreturn]] void RaiseFault(FaultNumber number,
                             SourceLocation where = SourceLocation::current());

// Catalogue number for a system error, by its portable meaning.
FaultNumber FaultNumberForSystemError(const std::error_code& error);

// Turns the exception being handled into a fault; call only inside a catch block.
// Library exceptions keep no line of their own, so they take the given line.
Fault CurrentExceptionAsFault(std::int32_t line);

}  // namespace updater
