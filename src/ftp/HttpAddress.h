#pragma once
// The pieces of an HTTP or HTTPS address such as https://updates.example.com:8443/app/setup.exe?v=2,
// and the address a redirect leads to.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace updater {

struct HttpAddress {
  bool secure = false;  // https
  std::string host;     // a name, an IPv4 address, or an IPv6 address without its brackets
  std::uint16_t port = 0;
  std::string target;    // from the third "/" on, without a fragment: /app/setup.exe?v=2
  std::string fileName;  // the last "/"-part of the path: setup.exe

  // The same address with ".sig" added to its path (before the query).
  HttpAddress Signature() const;
  // Whether requests to other go over the same connection (scheme, host and port alike).
  bool SameServer(const HttpAddress& other) const;
};

// Whether address names the HTTP or HTTPS scheme (in any case); every other address is FTP's.
bool IsHttpAddress(std::string_view address);

// Nothing when address is not http(s), has no host, user information, a bad port, no path or a file
// name that cannot name a file in a folder (empty, "." or "..").
std::optional<HttpAddress> SplitHttpAddress(std::string_view address);

// The address a redirect's Location names, absolute or relative to from; nothing when it is not an
// http(s) address or not valid. The file name stays from's.
std::optional<HttpAddress> ResolveRedirect(const HttpAddress& from, std::string_view location);

}  // namespace updater
