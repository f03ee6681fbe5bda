// Prints, in UTF-8, the text of the message box titled "Updater" that is on show, as a person reads
// it; prints nothing when there is none. With the argument "menu" it prints instead how the popup
// menu on show is laid out, "left to right" or "right to left". The end-to-end tests read the
// program's boxes and menus with it.

#include <windows.h>

namespace {

void Print(const char* text, int size) {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, static_cast<DWORD>(size), &written, nullptr);
}

BOOL CALLBACK PrintText(HWND child, LPARAM) {
  wchar_t className[16];
  wchar_t text[1024];
  if (GetClassNameW(child, className, 16) == 0 || lstrcmpiW(className, L"Static") != 0) return TRUE;
  const int length = GetWindowTextW(child, text, 1024);
  char utf8[4096];
  Print(utf8, WideCharToMultiByte(CP_UTF8, 0, text, length, utf8, sizeof utf8, nullptr, nullptr));
  return TRUE;
}

// Stops at the first visible popup menu window and leaves it in found.
BOOL CALLBACK FindMenu(HWND window, LPARAM found) {
  wchar_t className[16];
  if (GetClassNameW(window, className, 16) == 0 || lstrcmpW(className, L"#32768") != 0 || !IsWindowVisible(window))
    return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

}  // namespace

int main(int argc, char**) {
  if (argc > 1) {
    HWND menu = nullptr;
    EnumWindows(FindMenu, reinterpret_cast<LPARAM>(&menu));
    if (menu == nullptr) return 1;
    const bool rightToLeft = (GetWindowLongW(menu, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
    Print(rightToLeft ? "right to left" : "left to right", 13);
    return 0;
  }
  HWND box = FindWindowW(L"#32770", L"Updater");
  if (box == nullptr || !IsWindowVisible(box)) return 1;
  EnumChildWindows(box, PrintText, 0);
  return 0;
}
