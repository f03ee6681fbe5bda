#pragma once
// Win32 handle types as <windows.h> declares them, so that the headers of this layer need not include
// it (its macros clash with names of the platform interfaces), and owners that release them.

#include <cstdint>
#include <memory>

struct HWND__;
struct HMENU__;
struct HICON__;

namespace updater {

struct WindowDestroyer {
  void operator()(HWND__* window) const;
};
struct MenuDestroyer {
  void operator()(HMENU__* menu) const;
};
struct IconDestroyer {
  void operator()(HICON__* icon) const;
};

using UniqueWindow = std::unique_ptr<HWND__, WindowDestroyer>;
using UniqueMenu = std::unique_ptr<HMENU__, MenuDestroyer>;
using UniqueIcon = std::unique_ptr<HICON__, IconDestroyer>;

// A window or icon handle as the 32-bit number the notification record and the interfaces carry;
// Windows keeps these handles 32 bits significant on 64-bit systems too.
std::uint32_t HandleNumber(const void* handle);

}  // namespace updater
