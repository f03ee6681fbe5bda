// The DER to r || s conversion accepts exactly the canonical encodings: what it accepts encodes back to
// the same bytes, and every pair of non-zero halves survives the way there and back.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "updater/DerSignature.h"

namespace {

// The canonical DER of a P-256 signature from its two 32-byte halves, neither of them zero.
std::vector<std::uint8_t> Encode(const updater::P256Signature& signature) {
  std::vector<std::uint8_t> body;
  for (std::size_t half = 0; half < 64; half += 32) {
    std::size_t first = half;
    while (first < half + 31 && signature[first] == 0) ++first;
    const bool pad = (signature[first] & 0x80) != 0;
    body.push_back(0x02);
    body.push_back(static_cast<std::uint8_t>(half + 32 - first + pad));
    if (pad) body.push_back(0);
    body.insert(body.end(), signature.begin() + first, signature.begin() + half + 32);
  }
  body.insert(body.begin(), {0x30, static_cast<std::uint8_t>(body.size())});
  return body;
}

bool Zero(const std::uint8_t* half) { return std::all_of(half, half + 32, [](std::uint8_t b) { return b == 0; }); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> input(data, data + size);
  if (const auto signature = updater::DerToP256Signature(input)) {
    if (Zero(signature->data()) || Zero(signature->data() + 32) || Encode(*signature) != input) __builtin_trap();
  }
  if (size >= 64 && !Zero(data) && !Zero(data + 32)) {
    updater::P256Signature halves;
    std::copy(data, data + 64, halves.begin());
    const auto back = updater::DerToP256Signature(Encode(halves));
    if (!back || *back != halves) __builtin_trap();
  }
  return 0;
}
