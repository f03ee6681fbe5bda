#pragma once
// Windows' DLLs from the system folder only. The updater's folder is often writable by its users (the
// error log is written there), and a DLL put beside updater.exe under the name of one the program
// loads would run inside it with whatever rights the host gave it. The DLLs the program needs that
// are not "known DLLs" (wininet, bcrypt, crypt32) are delay-loaded, so that they come after this call.

namespace updater {

// Restricts the DLL search of this process to the system folder. Windows 8 on, and Windows 7 with
// its update KB2533623; asked for by name, so that the program starts without it.
void LoadDllsFromSystemFolderOnly();

}  // namespace updater
