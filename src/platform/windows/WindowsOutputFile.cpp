#include "platform/windows/WindowsOutputFile.h"

#include "platform/windows/Win32Fault.h"

namespace updater {

WindowsOutputFile::WindowsOutputFile(Win32Handle file) : file_(std::move(file)) { buffer_.reserve(kBufferSize); }

WindowsOutputFile::~WindowsOutputFile() {
  if (!file_.Valid()) return;
  try {
    Flush();
  } catch (...) {
    // The owner is giving up on the file (a cancel or a fault); what could not be written is lost.
  }
}

void WindowsOutputFile::Flush() {
  if (buffer_.empty()) return;
  DWORD written = 0;
  const BOOL ok = ::WriteFile(file_.Get(), buffer_.data(), static_cast<DWORD>(buffer_.size()), &written, nullptr);
  const DWORD error = ::GetLastError();
  // Keep what was not written, so that a failed flush never reports the file as complete.
  buffer_.erase(buffer_.begin(), buffer_.begin() + written);
  if (!ok) RaiseWin32Fault(error);
  if (!buffer_.empty()) RaiseFault(FaultNumber::DiskFull);
}

void WindowsOutputFile::Append(const std::uint8_t* data, std::size_t size) {
  if (!file_.Valid()) RaiseFault(FaultNumber::BadFileNameOrNumber);
  buffer_.insert(buffer_.end(), data, data + size);
  if (buffer_.size() >= kBufferSize) Flush();
}

void WindowsOutputFile::Close() {
  if (!file_.Valid()) return;
  Flush();
  if (!file_.Reset()) RaiseWin32Fault();
}

}  // namespace updater
