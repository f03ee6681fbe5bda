#pragma once
// Fault traps. A trapped procedure runs its body through one of these; a fault skips the rest of
// the body and is reported with the procedure's message, and the procedure then ends normally.
// A fault raised by the reporter itself is not caught here: it goes to the caller's trap.
// The messages ("Rintime Error in " for the form's event procedures, "Runtime Error in " elsewhere) and
// the log's texts are kept letter for letter, misspellings included: readers of the log know them so.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "text/Fault.h"
#include "text/Reporters.h"

namespace updater {

template <typename Body, typename OnFault>
void RunTrapped(Body&& body, OnFault&& onFault, SourceLocation where = SourceLocation::current()) {
  std::optional<Fault> fault;
  try {
    std::forward<Body>(body)();
  } catch (...) {
    fault = CurrentExceptionAsFault(static_cast<std::int32_t>(where.line()));
  }
  if (fault && fault->Number() != 0) onFault(*fault);
}

// Trap of a module or class procedure: reports through ReportRuntimeError.
// The message is a view so that a trap costs nothing until it reports.
template <typename Body>
void TrapRuntime(IRuntimeErrors& reporter, std::string_view message, Body&& body,
                 SourceLocation where = SourceLocation::current()) {
  RunTrapped(std::forward<Body>(body),
             [&](const Fault& f) { reporter.ReportRuntimeError(f.Number(), f.Line(), std::string(message)); }, where);
}

// Trap of a form procedure: reports through ShowError.
template <typename Body>
void TrapForm(IFormErrors& reporter, std::string_view message, Body&& body,
              SourceLocation where = SourceLocation::current()) {
  RunTrapped(std::forward<Body>(body), [&](const Fault& f) { reporter.ShowError(std::string(message), f); }, where);
}

}  // namespace updater
