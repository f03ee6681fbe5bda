#include "updater/DerSignature.h"

#include <algorithm>
#include <cstddef>

namespace updater {
namespace {

constexpr std::uint8_t kSequence = 0x30, kInteger = 0x02;
constexpr std::size_t kHalf = 32;

// Reads one tag and its short-form length at der[at]; the content must fit in der. P-256 signatures never
// need the long form, and DER allows it only for lengths of 128 and more.
std::optional<std::span<const std::uint8_t>> ReadElement(std::span<const std::uint8_t> der, std::size_t& at,
                                                         std::uint8_t tag) {
  if (der.size() - at < 2 || der[at] != tag || der[at + 1] >= 0x80) return std::nullopt;
  const std::size_t length = der[at + 1];
  at += 2;
  if (der.size() - at < length) return std::nullopt;
  const std::span<const std::uint8_t> content = der.subspan(at, length);
  at += length;
  return content;
}

// Right-aligns a positive, minimally encoded INTEGER of at most 32 significant bytes into out.
bool ReadHalf(std::span<const std::uint8_t> der, std::size_t& at, std::span<std::uint8_t, kHalf> out) {
  std::optional<std::span<const std::uint8_t>> value = ReadElement(der, at, kInteger);
  if (!value || value->empty() || ((*value)[0] & 0x80) != 0) return false;  // empty or negative
  if ((*value)[0] == 0) {
    // A leading zero is allowed only where the next byte would otherwise read as a sign.
    if (value->size() == 1 || ((*value)[1] & 0x80) == 0) return false;
    *value = value->subspan(1);
  }
  if (value->size() > kHalf) return false;
  std::fill(out.begin(), out.end(), 0);
  std::copy(value->begin(), value->end(), out.end() - static_cast<std::ptrdiff_t>(value->size()));
  return true;
}

}  // namespace

std::optional<P256Signature> DerToP256Signature(std::span<const std::uint8_t> der) {
  std::size_t at = 0;
  const auto sequence = ReadElement(der, at, kSequence);
  if (!sequence || at != der.size()) return std::nullopt;
  P256Signature signature{};
  std::size_t inner = 0;
  if (!ReadHalf(*sequence, inner, std::span(signature).first<kHalf>()) ||
      !ReadHalf(*sequence, inner, std::span(signature).last<kHalf>()) || inner != sequence->size())
    return std::nullopt;
  return signature;
}

}  // namespace updater
