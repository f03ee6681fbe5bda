// HTTP addresses as the command line gives them and as redirects lead on from them.

#include <gtest/gtest.h>

#include "ftp/HttpAddress.h"

namespace updater {
namespace {

std::string Parts(const std::optional<HttpAddress>& a) {
  if (!a) return "invalid";
  return std::string(a->secure ? "https " : "http ") + a->host + " " + std::to_string(a->port) + " " + a->target +
         " " + a->fileName;
}

TEST(HttpAddress, SchemeServerTargetAndFileNameOrInvalid) {
  const std::pair<const char*, const char*> cases[] = {
      {"https://updates.example.com/app/setup.exe", "https updates.example.com 443 /app/setup.exe setup.exe"},
      {"HTTP://Host:8080/dl?id=5&x=/y#part", "http Host 8080 /dl?id=5&x=/y dl"},
      {"hTtPs://[::1]/a/setup.exe", "https ::1 443 /a/setup.exe setup.exe"},
      {"https://[fe80::1%25eth0]/setup.exe", "invalid"},
      {"https://[::1]:8443/setup.exe", "https ::1 8443 /setup.exe setup.exe"},
      {"https://10.0.0.1:65535/setup%20v2.exe", "https 10.0.0.1 65535 /setup%20v2.exe setup%20v2.exe"},
      {"https://host", "invalid"}, {"https:///setup.exe", "invalid"}, {"https://host/", "invalid"},
      {"https://host/dir/?x=1", "invalid"}, {"https://host/..", "invalid"}, {"https://user@host/setup.exe", "invalid"},
      {"https://user:pw@host/setup.exe", "invalid"}, {"https://host:/setup.exe", "invalid"},
      {"https://host:0/setup.exe", "invalid"}, {"https://host:65536/setup.exe", "invalid"},
      {"https://host:-1/setup.exe", "invalid"}, {"https://host:8o/setup.exe", "invalid"},
      {"https://::1/setup.exe", "invalid"}, {"https://[::1/setup.exe", "invalid"},
      {"https://[::1]x/setup.exe", "invalid"}, {"https://[host]/setup.exe", "invalid"},
      {"https://ho st/setup.exe", "invalid"}, {"ftp://host/setup.exe", "invalid"}, {"https:/host/setup.exe", "invalid"},
  };
  for (const auto& [address, parts] : cases) EXPECT_EQ(Parts(SplitHttpAddress(address)), parts) << address;
  EXPECT_TRUE(IsHttpAddress("HTTPS://x") && IsHttpAddress("http://") && !IsHttpAddress("ftp://x") &&
              !IsHttpAddress("https:/x") && !IsHttpAddress("httpx://x"));
  EXPECT_EQ(SplitHttpAddress("https://h/a/s.exe?v=2")->Signature().target, "/a/s.exe.sig?v=2");
}

TEST(HttpAddress, RedirectsResolveAgainstTheAddressAndKeepItsFileName) {
  const HttpAddress from = *SplitHttpAddress("https://h:444/a/b/setup.exe?q=1");
  const std::pair<const char*, const char*> cases[] = {
      {"http://other/x/y", "http other 80 /x/y setup.exe"},
      {"HTTPS://other", "https other 443 / setup.exe"},
      {"https://other?z", "https other 443 /?z setup.exe"},
      {"//mirror:8443/m#f", "https mirror 8443 /m setup.exe"},
      {"/c/./d/../e", "https h 444 /c/e setup.exe"},
      {"next", "https h 444 /a/b/next setup.exe"},
      {"../../../up?v=2", "https h 444 /up?v=2 setup.exe"},
      {"./", "https h 444 /a/b/ setup.exe"},
      {"?v=3", "https h 444 /a/b/setup.exe?v=3 setup.exe"},
      {"ftp://h/setup.exe", "invalid"}, {"javascript:x", "invalid"}, {"", "invalid"},
      {"https://u@h/x", "invalid"}, {"https://h:99999/x", "invalid"},
  };
  for (const auto& [location, parts] : cases) EXPECT_EQ(Parts(ResolveRedirect(from, location)), parts) << location;
  const HttpAddress v6 = *SplitHttpAddress("http://[::1]:81/d/f");
  EXPECT_EQ(Parts(ResolveRedirect(v6, "g")), "http ::1 81 /d/g f");
}

}  // namespace
}  // namespace updater
