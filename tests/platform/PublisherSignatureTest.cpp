#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/TempFolder.h"
#include "platform/linux/LinuxTextFiles.h"
#include "platform/linux/OpenSslPublisherSignature.h"
#include "signatures/SignatureCases.h"

namespace updater {
namespace {

// Keys and signatures made by the openssl command, as a publisher makes them.
TEST(OpenSslPublisherSignature, OnlyTheP256KeysOwnSignatureOverTheseBytesIsValid) {
  test::TempFolder folder;
  ASSERT_EQ(std::system(("'" UPDATER_MAKE_SIGNATURES "' '" + folder.path + "'").c_str()), 0);
  OpenSslPublisherSignature verifier;
  test::ExpectSignatureCases(verifier, folder.path);
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
