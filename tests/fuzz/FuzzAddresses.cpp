// The hand-written parsers of what comes from outside: addresses from the command line and from
// redirects, and the header lines a server sends. The input's first byte splits it into the two.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ftp/HttpAddress.h"
#include "platform/linux/internet/ResponseHead.h"
#include "updater/FtpAddress.h"

namespace {

void Check(bool holds) {
  if (!holds) __builtin_trap();
}

bool Usable(const std::optional<updater::HttpAddress>& a) {
  return !a->host.empty() && a->port != 0 && a->target.starts_with('/') && a->target.find('#') == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = std::min<std::size_t>(data[0], size - 1) + 1;
  const std::string_view address = input.substr(split), location = input.substr(1, split - 1);
  if (const auto a = updater::SplitHttpAddress(address)) {
    Check(Usable(a) && a->fileName.find_first_of("/?") == std::string::npos && a->fileName != "." && a->fileName != "..");
    Check(a->Signature().target.size() == a->target.size() + 4);
    if (const auto to = updater::ResolveRedirect(*a, location)) {
      Check(Usable(to) && to->fileName == a->fileName);
      const std::string_view path = std::string_view(to->target).substr(0, to->target.find('?'));
      Check(path.find("/../") == std::string_view::npos && path.find("/./") == std::string_view::npos &&
            !path.ends_with("/..") && !path.ends_with("/."));
    }
  }
  if (const auto f = updater::SplitFtpAddress(address)) Check(f->fileName.find('/') == std::string::npos);

  updater::ResponseHead head;
  for (std::size_t at = 0; at < input.size();) {
    const std::size_t end = std::min(input.find('\n', at), input.size());
    head.Add(input.substr(at, end + 1 - at));
    at = end + 1;
    Check(head.LastReplyCode() == 0 || (head.LastReplyCode() >= 100 && head.LastReplyCode() <= 599));
    for (const char c : head.StatusLine()) Check(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
  }
  return 0;
}
