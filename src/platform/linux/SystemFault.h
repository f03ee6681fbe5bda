#pragma once
// Turns a failed system call into the run-time fault of its errno.

#include <cerrno>
#include <source_location>

#include "text/Fault.h"

namespace updater {

[[noreturn]] inline void RaiseSystemFault(int error = errno,
                                          std::source_location where = std::source_location::current()) {
  RaiseFault(FaultNumberForSystemError(error), where);
}

}  // namespace updater
