#pragma once
// Turns a failed system call into the run-time fault of its errno.

#include <cerrno>

#include "text/Fault.h"

namespace updater {

// A full disk quota counts as a full disk.
[[noreturn]] inline void RaiseSystemFault(int error = errno,
                                          SourceLocation where = SourceLocation::current()) {
  if (error == EDQUOT) error = ENOSPC;
  RaiseFault(FaultNumberForSystemError(std::error_code(error, std::generic_category())), where);
}

}  // namespace updater
