#pragma once
// The publisher-signature check on the system's own cryptography: crypt32 reads the PEM key, CNG (bcrypt)
// hashes the file with SHA-256 and verifies the ECDSA P-256 signature.

#include "platform/PublisherSignature.h"

namespace updater {

class CngPublisherSignature : public IPublisherSignature {
 public:
  SignatureCheck Verify(std::span<const std::uint8_t> publicKey, std::span<const std::uint8_t> signature,
                        const std::string& filePath) override;
};

}  // namespace updater
