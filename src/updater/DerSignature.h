#pragma once
// The publisher's ECDSA P-256 signature as the release's .sig carries it (DER: a SEQUENCE of the two
// INTEGERs r and s) and as verifiers that take r and s side by side want it (32 bytes each, big-endian).

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace updater {

using P256Signature = std::array<std::uint8_t, 64>;

// r || s of a strictly DER-encoded signature: minimal lengths, no negative, zero or over-long integer,
// nothing after the sequence. Nothing for any other input.
std::optional<P256Signature> DerToP256Signature(std::span<const std::uint8_t> der);

}  // namespace updater
