#include "ftp/HttpAddress.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <vector>

#include "platform/Internet.h"

namespace updater {
namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(),
                    [](char p, char t) { return std::tolower(static_cast<unsigned char>(t)) == p; });
}

// "https://" or "http://" at the start: secure or not; nothing for any other scheme.
std::optional<bool> Scheme(std::string_view address) {
  if (StartsWithNoCase(address, "https://")) return true;
  if (StartsWithNoCase(address, "http://")) return false;
  return std::nullopt;
}

bool IsNameCharacter(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' || c == '_'; }
bool IsIpv6Character(char c) { return std::isxdigit(static_cast<unsigned char>(c)) || c == ':' || c == '.'; }

// host[:port] or [ipv6][:port] into the address; false when it is not one.
bool SplitAuthority(std::string_view authority, HttpAddress& address) {
  std::string_view host = authority, port;
  std::size_t portAt = std::string_view::npos;  // where ":port" begins
  if (authority.starts_with('[')) {
    const auto close = authority.find(']');
    if (close == std::string_view::npos || (close + 1 < authority.size() && authority[close + 1] != ':')) return false;
    host = authority.substr(1, close - 1);
    if (close + 1 < authority.size()) portAt = close + 1;
    if (host.find(':') == std::string_view::npos || !std::all_of(host.begin(), host.end(), IsIpv6Character))
      return false;
  } else {
    portAt = authority.find(':');
    host = authority.substr(0, portAt);
    if (!std::all_of(host.begin(), host.end(), IsNameCharacter)) return false;
  }
  if (portAt != std::string_view::npos) port = authority.substr(portAt + 1);
  if (host.empty() || (portAt != std::string_view::npos && port.empty())) return false;
  address.host = host;
  address.port = address.secure ? inet::INTERNET_DEFAULT_HTTPS_PORT : inet::INTERNET_DEFAULT_HTTP_PORT;
  if (port.empty()) return true;
  unsigned number = 0;
  const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), number);
  if (error != std::errc() || end != port.data() + port.size() || number == 0 || number > 65535) return false;
  address.port = static_cast<std::uint16_t>(number);
  return true;
}

// The path of a target, without its query.
std::string_view PathOf(std::string_view target) { return target.substr(0, target.find('?')); }

// A path with its "." and ".." segments taken out, as a browser resolves them.
std::string WithoutDotSegments(std::string_view path) {
  std::vector<std::string_view> kept;
  std::size_t start = 1;  // after the leading "/"
  while (true) {
    const auto slash = path.find('/', start);
    const std::string_view segment = path.substr(start, slash == std::string_view::npos ? slash : slash - start);
    const bool last = slash == std::string_view::npos;
    if (segment == "..") {
      if (!kept.empty()) kept.pop_back();
      if (last) kept.push_back("");
    } else if (segment == ".") {
      if (last) kept.push_back("");
    } else {
      kept.push_back(segment);
    }
    if (last) break;
    start = slash + 1;
  }
  std::string result;
  for (const std::string_view segment : kept) (result += '/') += segment;
  return result.empty() ? "/" : result;
}

// The scheme, server and target of an absolute http(s) address; nothing when it is not one.
std::optional<HttpAddress> SplitServerAndTarget(std::string_view address) {
  const std::optional<bool> secure = Scheme(address);
  if (!secure) return std::nullopt;
  const std::string_view rest = address.substr(address.find("//") + 2);
  const auto slash = rest.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  HttpAddress parts;
  parts.secure = *secure;
  if (!SplitAuthority(rest.substr(0, slash), parts)) return std::nullopt;
  const std::string_view target = rest.substr(slash);
  parts.target = target.substr(0, target.find('#'));
  return parts;
}

}  // namespace

HttpAddress HttpAddress::Signature() const {
  HttpAddress signature = *this;
  signature.target.insert(PathOf(target).size(), ".sig");
  return signature;
}

bool HttpAddress::SameServer(const HttpAddress& other) const {
  return secure == other.secure && host == other.host && port == other.port;
}

bool IsHttpAddress(std::string_view address) { return Scheme(address).has_value(); }

std::optional<HttpAddress> SplitHttpAddress(std::string_view address) {
  std::optional<HttpAddress> parts = SplitServerAndTarget(address);
  if (!parts) return std::nullopt;
  const std::string_view path = PathOf(parts->target);
  parts->fileName = path.substr(path.rfind('/') + 1);
  if (parts->fileName.empty() || parts->fileName == "." || parts->fileName == "..") return std::nullopt;
  return parts;
}

std::optional<HttpAddress> ResolveRedirect(const HttpAddress& from, std::string_view location) {
  const std::string origin = std::string(from.secure ? "https://" : "http://") +
                             (from.host.find(':') != std::string::npos ? "[" + from.host + "]" : from.host) + ":" +
                             std::to_string(from.port);
  const std::string_view path = PathOf(from.target);
  std::string absolute;
  const auto schemeEnd = location.find_first_of(":/?#");
  if (schemeEnd != std::string_view::npos && location[schemeEnd] == ':')
    absolute = location;  // another scheme is refused below
  else if (location.starts_with("//"))
    absolute = (from.secure ? "https:" : "http:") + std::string(location);
  else if (location.starts_with('/'))
    absolute = origin + std::string(location);
  else if (location.starts_with('?'))
    absolute = origin + std::string(path) + std::string(location);
  else if (!location.empty())
    absolute = origin + std::string(path.substr(0, path.rfind('/') + 1)) + std::string(location);
  // A server without a path means its root.
  if (const auto server = absolute.find("//"); server != std::string::npos) {
    const auto end = absolute.find_first_of("/?#", server + 2);
    if (end == std::string::npos || absolute[end] != '/') absolute.insert(std::min(end, absolute.size()), "/");
  }
  std::optional<HttpAddress> to = SplitServerAndTarget(absolute);
  if (!to) return std::nullopt;
  const std::size_t pathLength = PathOf(to->target).size();
  to->target = WithoutDotSegments(std::string_view(to->target).substr(0, pathLength)) + to->target.substr(pathLength);
  to->fileName = from.fileName;
  return to;
}

}  // namespace updater
