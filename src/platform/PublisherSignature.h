#pragma once
// Checks that a downloaded file carries the publisher's signature: an ECDSA signature (DER) over the
// SHA-256 of the file's bytes, made with the private half of the publisher's P-256 key.

#include <cstdint>
#include <span>
#include <string>

namespace updater {

enum class SignatureCheck {
  Valid,
  // The key is not a PEM "PUBLIC KEY" of an ECDSA key on the P-256 curve (whatever the signature).
  KeyNotValid,
  // The signature is empty, malformed or not the key's over these bytes, or the file cannot be read.
  Mismatch,
};

class IPublisherSignature {
 public:
  virtual ~IPublisherSignature() = default;
  // Verifies signature over the bytes of the file at filePath with publicKey; the key is judged first.
  virtual SignatureCheck Verify(std::span<const std::uint8_t> publicKey, std::span<const std::uint8_t> signature,
                                const std::string& filePath) = 0;
};

}  // namespace updater
