#pragma once
// Readable text for the error code of a failed Internet call.

#include <cstdint>
#include <string>

#include "platform/Internet.h"
#include "text/Reporters.h"

namespace updater {

// "<label> error #<code>. <platform message>", and for an extended error (12003) the server's last
// response, each of its lines indented by five spaces under "FTP response:".
std::string FormatInetError(IInternet& internet, IRuntimeErrors& errors, std::int32_t errorCode,
                            const std::string& label);

// FormatInetError for the code that the last failed Internet call left behind: the LastError text of
// the FTP objects.
std::string LastInetErrorText(IInternet& internet, IRuntimeErrors& errors, const std::string& label);

}  // namespace updater
