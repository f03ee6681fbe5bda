#pragma once
// Turns a failed Win32 call into the run-time fault of its error code.

#include <windows.h>

#include <cstdint>

#include "text/Fault.h"

namespace updater {

// The catalogue number for a Win32 error code, by its meaning.
FaultNumber FaultNumberForWin32Error(std::uint32_t error);

[[noreturn]] inline void RaiseWin32Fault(DWORD error = ::GetLastError(),
                                         SourceLocation where = SourceLocation::current()) {
  RaiseFault(FaultNumberForWin32Error(error), where);
}

}  // namespace updater
