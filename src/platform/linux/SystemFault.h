#pragma once
// Turns a failed system call into the run-time fault of its errno.

#include <cerrno>

#include "text/Fault.h"

namespace updater {

[[noreturn]] inline void RaiseSystemFault(int error = errno,
                                          SourceLocation where = SourceLocation::current()) {
  RaiseFault(FaultNumberForSystemError(error), where);
}

}  // namespace updater
