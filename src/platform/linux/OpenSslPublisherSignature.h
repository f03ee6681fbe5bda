#pragma once
// The publisher-signature check on OpenSSL 3 (EVP verification of ECDSA P-256 with SHA-256).

#include "platform/PublisherSignature.h"

namespace updater {

class OpenSslPublisherSignature : public IPublisherSignature {
 public:
  SignatureCheck Verify(std::span<const std::uint8_t> publicKey, std::span<const std::uint8_t> signature,
                        const std::string& filePath) override;
};

}  // namespace updater
