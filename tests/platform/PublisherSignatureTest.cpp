#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/TempFolder.h"
#include "platform/linux/LinuxTextFiles.h"
#include "platform/linux/OpenSslPublisherSignature.h"

namespace updater {
namespace {

std::span<const std::uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Keys and signatures made by the openssl command, as a publisher makes them.
TEST(OpenSslPublisherSignature, OnlyTheP256KeysOwnSignatureOverTheseBytesIsValid) {
  test::TempFolder folder;
  folder.Write("setup.run", "#!/bin/sh\necho installed\n");
  const std::string script = "cd '" + folder.path + "' && "
      "for k in p256 other; do openssl ecparam -name prime256v1 -genkey -noout -out $k.key; done && "
      "openssl ecparam -name secp384r1 -genkey -noout -out p384.key && "
      "for k in p256 other p384; do openssl ec -in $k.key -pubout -out $k.pem && "
      "openssl dgst -sha256 -sign $k.key -out $k.sig setup.run || exit 1; done 2>/dev/null && "
      ": > empty && openssl dgst -sha256 -sign p256.key -out empty.sig empty";
  ASSERT_EQ(std::system(script.c_str()), 0);
  const std::string key = folder.Read("p256.pem"), signature = folder.Read("p256.sig");
  std::string flipped = folder.Read("setup.run");
  flipped[3] ^= 0x01;
  const std::string file = folder / "setup.run";

  struct Case {
    std::string name, key, signature, file;
    SignatureCheck expected;
  };
  const Case cases[] = {
      {"valid", key, signature, file, SignatureCheck::Valid},
      {"key of another curve", folder.Read("p384.pem"), folder.Read("p384.sig"), file, SignatureCheck::KeyNotValid},
      {"garbage key", "-----BEGIN PUBLIC KEY-----\nAAAA\n-----END PUBLIC KEY-----\n", signature, file,
       SignatureCheck::KeyNotValid},
      {"private key", folder.Read("p256.key"), signature, file, SignatureCheck::KeyNotValid},
      {"no key", "", "", file, SignatureCheck::KeyNotValid},
      {"another key's signature", key, folder.Read("other.sig"), file, SignatureCheck::Mismatch},
      {"one bit flipped", key, signature, folder.Write("flipped", flipped), SignatureCheck::Mismatch},
      {"truncated", key, signature.substr(0, signature.size() - 1), file, SignatureCheck::Mismatch},
      {"empty", key, "", file, SignatureCheck::Mismatch},
      {"trailing bytes", key, signature + std::string(1, '\0'), file, SignatureCheck::Mismatch},
      {"file missing", key, signature, folder / "missing", SignatureCheck::Mismatch},
      // A folder opens but cannot be read; the signature is the one over no bytes at all.
      {"file unreadable", key, folder.Read("empty.sig"), folder.path, SignatureCheck::Mismatch},
  };
  OpenSslPublisherSignature verifier;
  for (const Case& c : cases)
    EXPECT_EQ(verifier.Verify(Bytes(c.key), Bytes(c.signature), c.file), c.expected) << c.name;
}

// update.pem is read whole; only a missing one leaves the check switched off.
TEST(LinuxTextFiles, WholeFileTellsAMissingFileFromAnUnreadableOne) {
  test::TempFolder folder;
  std::filesystem::create_symlink("loop", folder / "loop");
  const std::tuple<std::string, WholeFile, std::string> cases[] = {
      {folder.Write("key", "abc"), WholeFile::Read, "abc"},
      {folder.Write("limit", std::string(8192, 'k')), WholeFile::Read, std::string(8192, 'k')},
      {folder.Write("long", std::string(8193, 'k')), WholeFile::Unreadable, ""},
      {folder.path, WholeFile::Unreadable, ""},
      {folder / "loop", WholeFile::Unreadable, ""},
      {folder / "missing", WholeFile::Missing, ""},
  };
  LinuxTextFiles files;
  for (const auto& [path, expected, content] : cases) {
    std::string bytes = "stale";
    EXPECT_EQ(files.ReadWholeFile(path, 8192, bytes), expected) << path;
    EXPECT_EQ(bytes, content) << path;
  }
}

}  // namespace
}  // namespace updater
