// A stand-in installer for the end-to-end tests: beside itself, in "<its path>.ran", it notes the
// folder it runs in and how many arguments it was given, then ends. Windows calls only, to stay small.

#include <windows.h>

int main(int argc, char**) {
  char path[MAX_PATH + 8];
  char note[MAX_PATH + 32];
  if (GetModuleFileNameA(nullptr, path, MAX_PATH) == 0 || GetCurrentDirectoryA(MAX_PATH, note) == 0) return 1;
  lstrcatA(path, ".ran");
  wsprintfA(note + lstrlenA(note), "\n%d\n", argc - 1);
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(file, note, static_cast<DWORD>(lstrlenA(note)), &written, nullptr);
  CloseHandle(file);
  return 0;
}
