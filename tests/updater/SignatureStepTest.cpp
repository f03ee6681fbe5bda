#include <gtest/gtest.h>

#include "updater/FormHarness.h"

namespace updater {
namespace {

using test::FakePublisherSignature;
using test::FormHarness;
using test::Pattern;

constexpr const char* kAddress = "ftp://host/pub/app/setup.exe";
const std::string kKeyPath = "/opt/app/update.pem";

// A signed release of size bytes on the server and the publisher's key beside the program.
void Publish(FormHarness& f, std::size_t size) {
  f.internet.servers["host"]["pub/app/setup.exe"] = Pattern(size);
  f.internet.servers["host"]["pub/app/setup.exe.sig"] = FakePublisherSignature::Sign(Pattern(size));
  f.system.files[kKeyPath] = "PUBLIC KEY";
}

int Records(const std::string& log) {
  int n = 0;
  for (std::size_t at = log.find("*****"); at != std::string::npos; at = log.find("*****", at + 1)) ++n;
  return n;
}

// With the key and the whole file, the signature is fetched on the same connection after the file and
// checked (1017 bytes give a signature of exactly the 1024 bytes allowed); without the key, or after a
// wrong size, it is not asked for.
TEST(SignatureStep, SignatureIsFetchedAfterTheWholeFileOnlyWhenTheKeyIsThere) {
  for (const auto& [key, served, announced] : {std::tuple{true, 100, 100}, {true, 1017, 1017}, {false, 100, 100},
                                               {true, 100, 101}}) {
    FormHarness f;
    Publish(f, served);
    if (!key) f.system.files.erase(kKeyPath);
    f.Load(std::string(kAddress) + " " + std::to_string(announced) + " 1000");
    const bool checked = key && served == announced;
    EXPECT_EQ(f.publisherSignature.calls, checked ? 1 : 0);
    EXPECT_EQ(f.internet.calls.back(), checked ? "FtpOpenFile pub/app/setup.exe.sig 2147483648 2147483650"
                                               : "FtpOpenFile pub/app/setup.exe 2147483648 2147483650");
    EXPECT_EQ(f.internet.openHandles, 0);
    EXPECT_EQ(f.LocalFile(), Pattern(served));
    EXPECT_EQ(f.desktop.executed.size(), served == announced ? 1u : 0u);
    EXPECT_EQ(f.Log().empty(), served == announced);
  }
}

TEST(SignatureStep, EachFailureDeletesTheFileLogsOnceAndAsksAgain) {
  const std::string noSignature = std::string("ERROR: No signature for ") + kAddress;
  const std::string mismatch = std::string("ERROR: Signature does not match ") + kAddress;
  const std::string badKey = "ERROR: Publisher key is not valid " + kKeyPath;
  const std::string signature = FakePublisherSignature::Sign(Pattern(100));
  const std::string tooLong = signature + std::string(kMaxSignatureBytes + 1 - signature.size(), '\0');
  struct Case {
    std::string key;
    std::optional<std::string> signature;  // none: no .sig on the server
    std::string logged;
    long failReadAfter = -1;  // a read of the .sig fails past this many bytes
  };
  const Case cases[] = {
      {"PUBLIC KEY", std::nullopt, noSignature},
      {"PUBLIC KEY", "", noSignature},
      {"PUBLIC KEY", tooLong, noSignature},
      {"PUBLIC KEY", signature, noSignature, static_cast<long>(signature.size()) - 2},
      {"PUBLIC KEY", FakePublisherSignature::Sign(Pattern(99)), mismatch},
      {"garbage", signature, badKey},
      {"garbage", std::nullopt, badKey},
      {std::string(kMaxPublisherKeyBytes + 1, 'k'), signature, badKey},
  };
  for (const Case& c : cases) {
    FormHarness f;
    Publish(f, 100);
    f.system.files[kKeyPath] = c.key;
    if (c.signature) f.internet.servers["host"]["pub/app/setup.exe.sig"] = *c.signature;
    else f.internet.servers["host"].erase("pub/app/setup.exe.sig");
    f.desktop.answers = {msgbox::kAnswerYes};
    // The question's Yes finds the server fixed.
    f.internet.failReadAfter = c.failReadAfter;
    f.At("MsgBox", 1, [&] {
      Publish(f, 100);
      f.internet.failReadAfter = -1;
    });
    f.Load(std::string(kAddress) + " 100 1000");

    EXPECT_EQ(Records(f.Log()), 1) << c.logged;
    EXPECT_NE(f.Log().find("message = " + c.logged + "\r\nerror # =  0 \r\n"), std::string::npos) << f.Log();
    EXPECT_FALSE(f.localFiles.Exists("/tmp/setup.exe")) << c.logged;
    EXPECT_EQ(f.desktop.Balloons().back(), "Download is fault.\rDownloaded file is not signed by the publisher.");
    EXPECT_TRUE(f.state.DownloadFailed);
    f.Click(test::kLeftUp);
    ASSERT_EQ(f.desktop.boxes.size(), 1u);
    EXPECT_NE(f.desktop.boxes[0].prompt.find("fault: Downloaded file is not signed by the publisher.\r\n"),
              std::string::npos);
    EXPECT_EQ(f.desktop.executed, std::vector<std::string>{"open|/tmp/setup.exe||/tmp/|5"}) << c.logged;
  }
  FormHarness german;
  Publish(german, 100);
  german.internet.servers["host"].erase("pub/app/setup.exe.sig");
  german.Load(std::string(kAddress) + " 100 2000");
  EXPECT_EQ(german.desktop.Balloons().back(),
            "Download war nicht m\u00f6glich.\rDie heruntergeladene Datei ist nicht vom Herausgeber signiert.");
}

TEST(SignatureStep, CancelWhileTheSignatureArrivesEndsTheProgramQuietly) {
  FormHarness f;
  Publish(f, 100);
  // Yields: after connect, two per pass of the copy loop (one block, the empty read), then the signature.
  f.At("DoEvents", 6, [&] { f.Choose(MenuCommand::Cancel); });
  f.Load(std::string(kAddress) + " 100 1000");
  EXPECT_TRUE(f.form.Unloaded());
  EXPECT_TRUE(f.desktop.executed.empty() && f.desktop.Balloons().empty() && f.Log().empty());
  EXPECT_EQ(f.publisherSignature.calls, 0);
  EXPECT_EQ(f.internet.openHandles, 0);
}

}  // namespace
}  // namespace updater
