#pragma once
// A move-only owner of a Win32 kernel handle.

#include <windows.h>

#include <utility>

namespace updater {

class Win32Handle {
 public:
  explicit Win32Handle(HANDLE handle) : handle_(handle) {}
  ~Win32Handle() { Reset(); }
  Win32Handle(Win32Handle&& other) noexcept : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
  Win32Handle& operator=(Win32Handle&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, INVALID_HANDLE_VALUE);
    }
    return *this;
  }
  Win32Handle(const Win32Handle&) = delete;
  Win32Handle& operator=(const Win32Handle&) = delete;

  HANDLE Get() const { return handle_; }
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  // Closes the handle; false when CloseHandle reported an error.
  bool Reset() {
    if (!Valid()) return true;
    return ::CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)) != FALSE;
  }

 private:
  HANDLE handle_;
};

}  // namespace updater
