// The FTP reply reader fed in chunks the fuzzer chooses, and the passive-mode reply parsers. Every reply
// read begins with its code and ends at the first line that ends it, whatever the chunks.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/linux/ftp/PassiveReply.h"
#include "platform/linux/ftp/ReplyReader.h"

namespace {

// Serves the input in chunks whose sizes come from the input's first bytes.
class ChunkedBytes : public updater::ByteSource {
 public:
  ChunkedBytes(std::string_view sizes, std::string_view bytes) : sizes_(sizes), bytes_(bytes) {}
  updater::InetError Receive(void* buffer, std::size_t size, updater::Deadline, std::size_t& received) override {
    const std::size_t chunk = sizes_.empty() ? 64 : 1 + static_cast<unsigned char>(sizes_[next_++ % sizes_.size()]);
    received = std::min({size, chunk, bytes_.size()});
    std::memcpy(buffer, bytes_.data(), received);
    bytes_.remove_prefix(received);
    return updater::kInetOk;
  }

 private:
  std::string_view sizes_, bytes_;
  std::size_t next_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = std::min<std::size_t>(size, 8);
  ChunkedBytes source(input.substr(0, split), input.substr(split));
  updater::ReplyReader reader;
  updater::FtpReply reply;
  while (reader.Read(source, updater::Deadline::max(), reply) == updater::kInetOk) {
    if (reply.code < 100 || reply.code > 599 || reply.text.size() > updater::kMaxReplyText) __builtin_trap();
    const std::string code = std::to_string(reply.code);
    const auto ends = [&](std::string_view line) {
      return line.substr(0, 3) == code && (line.size() == 3 || line[3] == ' ');
    };
    std::string_view rest = reply.text;
    for (std::size_t at; (at = rest.find("\r\n")) != std::string_view::npos; rest.remove_prefix(at + 2)) {
      if (ends(rest.substr(0, at))) __builtin_trap();  // an inner line that ends the reply
    }
    const bool nothingCut = reply.text.size() + 2 + updater::ReplyReader::kMaxLineLength < updater::kMaxReplyText;
    if (!reply.text.starts_with(code) || (nothingCut && !ends(rest))) __builtin_trap();
    for (char c : reply.text) {
      if (static_cast<unsigned char>(c) < 0x20 && c != '\r' && c != '\n') __builtin_trap();
    }
    if (const auto port = updater::PassivePort(reply.text); port && *port == 0) __builtin_trap();
    if (const auto port = updater::ExtendedPassivePort(reply.text); port && *port == 0) __builtin_trap();
  }
  return 0;
}
