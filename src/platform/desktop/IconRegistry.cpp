#include "platform/desktop/IconRegistry.h"

namespace updater {

std::uint32_t IconRegistry::Add(QIcon icon) {
  icons_.push_back(std::move(icon));
  return kFirstHandle + static_cast<std::uint32_t>(icons_.size() - 1);
}

QIcon IconRegistry::Find(std::uint32_t handle) const {
  if (handle < kFirstHandle || handle - kFirstHandle >= icons_.size()) return {};
  return icons_[handle - kFirstHandle];
}

}  // namespace updater
