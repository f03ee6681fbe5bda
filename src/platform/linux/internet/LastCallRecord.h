#pragma once
// What the Internet calls leave behind on their thread, as the Windows Internet functions do: the
// error code of the last failed call and an FTP server's last reply.

#include <cstdint>
#include <string>

namespace updater {

// A complete FTP reply: its code and all its lines, joined by CR LF.
struct FtpReply {
  int code = 0;
  std::string text;
};

void SetLastInetError(std::uint32_t code);
std::uint32_t LastInetError();

void SetLastResponse(const FtpReply& reply);
// Copies the last reply's text and its terminator into buffer of *length characters and sets
// *length to the count of characters; false when no reply came yet or it does not fit.
bool CopyLastResponse(std::uint32_t* code, char* buffer, std::uint32_t* length);

}  // namespace updater
