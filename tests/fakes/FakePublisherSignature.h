#pragma once
// A publisher-signature check over the in-memory temporary folder: the key "PUBLIC KEY" is the only
// valid one, and it signs a file as "signed:" followed by the file's bytes, once the file is closed.

#include <string>
#include <vector>

#include "fakes/MemoryLocalFiles.h"
#include "platform/PublisherSignature.h"

namespace updater::test {

class FakePublisherSignature : public IPublisherSignature {
 public:
  explicit FakePublisherSignature(MemoryLocalFiles& files) : files_(files) {}

  static std::string Sign(const std::string& bytes) { return "signed:" + bytes; }

  SignatureCheck Verify(std::span<const std::uint8_t> publicKey, std::span<const std::uint8_t> signature,
                        const std::string& filePath) override {
    ++calls;
    if (std::string(publicKey.begin(), publicKey.end()) != "PUBLIC KEY") return SignatureCheck::KeyNotValid;
    const auto found = files_.files.find(filePath);
    const bool match = found != files_.files.end() && !found->second.open &&
                       std::string(signature.begin(), signature.end()) == Sign(found->second.bytes);
    return match ? SignatureCheck::Valid : SignatureCheck::Mismatch;
  }

  int calls = 0;

 private:
  MemoryLocalFiles& files_;
};

}  // namespace updater::test
