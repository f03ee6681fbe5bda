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
    std::string name, key, signature, file;
    SignatureCheck expected;
  } cases[] = {
      {"valid", key, signature, file("setup.run"), SignatureCheck::Valid},
      {"key after another block", ReadAll(file("other.key")) + key, signature, file("setup.run"),
       SignatureCheck::Valid},
      {"key of another curve", ReadAll(file("p384.pem")), ReadAll(file("p384.sig")), file("setup.run"),
       SignatureCheck::KeyNotValid},
      {"key of another 256-bit curve", ReadAll(file("k256.pem")), ReadAll(file("k256.sig")), file("setup.run"),
       SignatureCheck::KeyNotValid},
      {"garbage key", "-----BEGIN PUBLIC KEY-----\nAAAA\n-----END PUBLIC KEY-----\n", signature, file("setup.run"),
       SignatureCheck::KeyNotValid},
      {"no key", "", "", file("setup.run"), SignatureCheck::KeyNotValid},
      {"another key's signature", key, ReadAll(file("other.sig")), file("setup.run"), SignatureCheck::Mismatch},
      {"one bit flipped", key, signature, file("flipped"), SignatureCheck::Mismatch},
      {"empty", key, "", file("setup.run"), SignatureCheck::Mismatch},
      {"trailing bytes", key, signature + std::string(1, '\0'), file("setup.run"), SignatureCheck::Mismatch},
      {"file missing", key, signature, file("missing"), SignatureCheck::Mismatch},
      // A folder opens on some systems but cannot be read; the signature is the one over no bytes at all.
      {"file unreadable", key, ReadAll(file("empty.sig")), folder, SignatureCheck::Mismatch},
  };
  for (const auto& c : cases)
    EXPECT_EQ(verifier.Verify(Bytes(c.key), Bytes(c.signature), c.file), c.expected) << c.name;
}

}  // namespace updater::test
