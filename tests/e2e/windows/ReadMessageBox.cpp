// Prints, in UTF-8, the text of the message box titled "Updater" that is on show, as a person reads
// it; prints nothing when there is none. The end-to-end tests read the program's boxes with it.

#include <windows.h>

namespace {

BOOL CALLBACK PrintText(HWND child, LPARAM) {
  wchar_t className[16];
  wchar_t text[1024];
  if (GetClassNameW(child, className, 16) == 0 || lstrcmpiW(className, L"Static") != 0) return TRUE;
  const int length = GetWindowTextW(child, text, 1024);
  char utf8[4096];
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, utf8, sizeof utf8, nullptr, nullptr);
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), utf8, static_cast<DWORD>(size), &written, nullptr);
  return TRUE;
}

}  // namespace

int main() {
  HWND box = FindWindowW(L"#32770", L"Updater");
  if (box == nullptr || !IsWindowVisible(box)) return 1;
  EnumChildWindows(box, PrintText, 0);
  return 0;
}
