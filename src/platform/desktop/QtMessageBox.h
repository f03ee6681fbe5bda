#pragma once
// Modal message boxes on Qt.

#include "platform/MessageBox.h"

namespace updater {

class QtMessageBox : public IMessageBox {
 public:
  std::int32_t MsgBox(const std::string& prompt, std::int32_t style, const std::string& title) override;
};

}  // namespace updater
