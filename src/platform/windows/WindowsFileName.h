#pragma once
// Windows' rules for the name of a file of its own inside a folder.

#include <string_view>

namespace updater {

// False for an empty name, a name with a path separator, a drive or stream colon, a wildcard or
// another character Windows refuses in names, a name ending in a dot or a blank (Windows would
// drop them and open another file), and a reserved device name (CON, PRN, AUX, NUL, COM1 to COM9,
// LPT1 to LPT9, CONIN$, CONOUT$), with or without an extension.
bool IsWindowsFileName(std::string_view name);

}  // namespace updater
