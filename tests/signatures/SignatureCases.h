#pragma once
// The cases every publisher-signature check must judge alike, over the files make-signatures.sh made.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "platform/PublisherSignature.h"

namespace updater::test {

inline std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline std::span<const std::uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

inline void ExpectSignatureCases(IPublisherSignature& verifier, const std::string& folder) {
  const auto file = [&](const std::string& name) { return folder + "/" + name; };
  const std::string key = ReadAll(file("publisher.pem")), signature = ReadAll(file("publisher.sig"));
  ASSERT_FALSE(key.empty() || signature.empty()) << "no signatures in " << folder;
  const struct {
    std::string name;
    SignatureCheck expected;
    std::string key, signature, file = "setup.run";
  } cases[] = {
      {"valid", SignatureCheck::Valid, key, signature},
      {"key after another block", SignatureCheck::Valid, ReadAll(file("other.key")) + key, signature},
      {"P-384 key", SignatureCheck::KeyNotValid, ReadAll(file("p384.pem")), ReadAll(file("p384.sig"))},
      {"secp256k1 key", SignatureCheck::KeyNotValid, ReadAll(file("k256.pem")), ReadAll(file("k256.sig"))},
      {"garbage key", SignatureCheck::KeyNotValid, "-----BEGIN PUBLIC KEY-----\nAAAA\n-----END PUBLIC KEY-----\n",
       signature},
      {"no key", SignatureCheck::KeyNotValid, "", ""},
      {"another key's signature", SignatureCheck::Mismatch, key, ReadAll(file("other.sig"))},
      {"one bit flipped", SignatureCheck::Mismatch, key, signature, "flipped"},
      {"empty", SignatureCheck::Mismatch, key, ""},
      {"trailing bytes", SignatureCheck::Mismatch, key, signature + std::string(1, '\0')},
      {"file missing", SignatureCheck::Mismatch, key, signature, "missing"},
      // A folder opens on some systems but cannot be read; the signature is the one over no bytes at all.
      {"file unreadable", SignatureCheck::Mismatch, key, ReadAll(file("empty.sig")), "."},
  };
  for (const auto& c : cases)
    EXPECT_EQ(verifier.Verify(Bytes(c.key), Bytes(c.signature), file(c.file)), c.expected) << c.name;
}

}  // namespace updater::test
