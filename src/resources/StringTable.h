#pragma once
// The program's built-in string table: 32 languages of 16 texts each. The text with offset n of the
// language numbered base (1000 English, 2000 German, ... 32000 Croatian) has id base + n.
// "|" inside a text marks a line break.

#include <cstdint>
#include <optional>
#include <string_view>

namespace updater {

// The text with this id, or nothing when the table has none.
std::optional<std::string_view> FindString(std::int32_t id);

}  // namespace updater
