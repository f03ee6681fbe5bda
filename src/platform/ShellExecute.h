#pragma once
// The shell's "open" operation on a file.

#include <cstdint>
#include <string>

namespace updater {

inline constexpr std::int32_t SW_SHOW = 5;

class IShellExecute {
 public:
  virtual ~IShellExecute() = default;
  // Opens file with the program that belongs to its type (an executable is started), in folder
  // directory, without waiting for it. Returns a value above 32 on success.
  virtual std::intptr_t ShellExecute(std::uint32_t ownerWindow, const std::string& operation,
                                     const std::string& file, const std::string& parameters,
                                     const std::string& directory, std::int32_t showCommand) = 0;
};

}  // namespace updater
