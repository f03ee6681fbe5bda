#pragma once
// The program's built-in string table: English texts 1001-1016, German texts 2001-2016.
// "|" inside a text marks a line break.

#include <cstdint>
#include <optional>
#include <string_view>

namespace updater {

// The text with this id, or nothing when the table has none.
std::optional<std::string_view> FindString(std::int32_t id);

}  // namespace updater
