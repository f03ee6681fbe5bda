#pragma once
// Native icon handles of the desktop layer: the number the notification record carries for a picture.

#include <QIcon>
#include <cstdint>
#include <vector>

namespace updater {

class IconRegistry {
 public:
  // Registers an icon and returns its handle (never 0).
  std::uint32_t Add(QIcon icon);
  // The icon of a handle; a null icon for 0 or an unknown handle.
  QIcon Find(std::uint32_t handle) const;

 private:
  static constexpr std::uint32_t kFirstHandle = 0x1001;
  std::vector<QIcon> icons_;
};

}  // namespace updater
