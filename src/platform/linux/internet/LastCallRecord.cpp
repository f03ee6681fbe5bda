#include "platform/linux/internet/LastCallRecord.h"

#include <cstring>
#include <optional>

namespace updater {
namespace {

thread_local std::uint32_t lastError = 0;
thread_local std::optional<FtpReply> lastResponse;

}  // namespace

void SetLastInetError(std::uint32_t code) { lastError = code; }

std::uint32_t LastInetError() { return lastError; }

void SetLastResponse(const FtpReply& reply) { lastResponse = reply; }

bool CopyLastResponse(std::uint32_t* code, char* buffer, std::uint32_t* length) {
  if (!lastResponse || length == nullptr || buffer == nullptr || lastResponse->text.size() >= *length) return false;
  std::memcpy(buffer, lastResponse->text.c_str(), lastResponse->text.size() + 1);
  *length = static_cast<std::uint32_t>(lastResponse->text.size());
  if (code != nullptr) *code = static_cast<std::uint32_t>(lastResponse->code);
  return true;
}

}  // namespace updater
