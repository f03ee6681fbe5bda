#include "platform/linux/ftp/PassiveReply.h"

#include <array>

namespace updater {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads a decimal number of at most max at text[at], moving at past it.
std::optional<unsigned> Number(std::string_view text, std::size_t& at, unsigned max) {
  if (at >= text.size() || !IsDigit(text[at])) return std::nullopt;
  unsigned value = 0;
  for (; at < text.size() && IsDigit(text[at]); ++at) {
    value = value * 10 + static_cast<unsigned>(text[at] - '0');
    if (value > max) return std::nullopt;
  }
  return value;
}

// Six comma-separated numbers of 0 to 255 starting at text[at].
std::optional<std::array<unsigned, 6>> SixNumbers(std::string_view text, std::size_t at) {
  std::array<unsigned, 6> numbers{};
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    if (i > 0 && (at >= text.size() || text[at++] != ',')) return std::nullopt;
    const std::optional<unsigned> value = Number(text, at, 255);
    if (!value) return std::nullopt;
    numbers[i] = *value;
  }
  return numbers;
}

constexpr std::size_t kCodeLength = 3;

}  // namespace

std::optional<std::uint16_t> ExtendedPassivePort(std::string_view reply) {
  std::size_t at = reply.find('(', kCodeLength);
  if (at == std::string_view::npos || at + 4 >= reply.size()) return std::nullopt;
  const char delimiter = reply[at + 1];
  if (reply[at + 2] != delimiter || reply[at + 3] != delimiter) return std::nullopt;
  at += 4;
  const std::optional<unsigned> port = Number(reply, at, 65535);
  if (!port || *port == 0 || at >= reply.size() || reply[at] != delimiter) return std::nullopt;
  return static_cast<std::uint16_t>(*port);
}

std::optional<std::uint16_t> PassivePort(std::string_view reply) {
  for (std::size_t at = kCodeLength; at < reply.size(); ++at) {
    if (!IsDigit(reply[at]) || IsDigit(reply[at - 1])) continue;
    if (const auto numbers = SixNumbers(reply, at)) {
      const unsigned port = (*numbers)[4] * 256 + (*numbers)[5];
      if (port == 0) return std::nullopt;
      return static_cast<std::uint16_t>(port);
    }
  }
  return std::nullopt;
}

}  // namespace updater
