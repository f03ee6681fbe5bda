#pragma once
// A notification area that keeps every request and record it was sent.

#include <cstdint>
#include <vector>

#include "platform/NotifyShell.h"

namespace updater::test {

struct ShellCall {
  std::uint32_t message;
  NotifyIconRecord record;
};

class RecordingNotifyShell : public INotifyShell {
 public:
  bool Shell_NotifyIcon(std::uint32_t message, const NotifyIconRecord& record) override {
    calls.push_back({message, record});
    return true;
  }

  std::vector<ShellCall> calls;
};

}  // namespace updater::test
