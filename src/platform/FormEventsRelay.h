#pragma once
// Hands the desktop's events to the form once it exists. Nothing thrown by the form may unwind
// through the window system's event dispatch (Qt's, or a Win32 window procedure), so this is the
// last stop for it.

#include "platform/FormEvents.h"

namespace updater {

class FormEventsRelay {
 public:
  void Attach(IFormEvents& form) { form_ = &form; }

  template <typename Call>
  void Deliver(Call&& call) noexcept {
    if (form_ == nullptr) return;
    try {
      call(*form_);
    } catch (...) {
      // The form traps its own faults; whatever still escapes is dropped rather than crash the program.
    }
  }

 private:
  IFormEvents* form_ = nullptr;
};

}  // namespace updater
