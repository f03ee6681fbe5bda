// The local file name taken from an address always names a file inside the temporary folder.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "updater/FtpAddress.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view address(reinterpret_cast<const char*>(data), size);
  const auto parts = updater::SplitFtpAddress(address);
  if (!parts) return 0;
  const std::string& name = parts->fileName;
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos) __builtin_trap();
  if (address.substr(address.size() - name.size()) != name) __builtin_trap();
  if (parts->remotePath.size() < name.size()) __builtin_trap();
  return 0;
}
