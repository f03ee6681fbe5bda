#pragma once
// The program's version record: file version 1.00.0019.

namespace updater::version {
inline constexpr int kMajor = 1;
inline constexpr int kMinor = 0;
inline constexpr int kRevision = 19;
}  // namespace updater::version
