#include "platform/linux/internet/InetMessages.h"

#include "platform/Internet.h"

namespace updater {

const char* InetMessageText(std::uint32_t code) {
  using namespace inet;
  switch (code) {
    case ERROR_INVALID_HANDLE:
      return "The handle is invalid.\r\n";
    case ERROR_NOT_ENOUGH_MEMORY:
      return "There is not enough memory to complete the operation.\r\n";
    case ERROR_INVALID_PARAMETER:
      return "The parameter is incorrect.\r\n";
    case ERROR_INTERNET_TIMEOUT:
      return "The server did not answer in time.\r\n";
    case ERROR_INTERNET_EXTENDED_ERROR:
      return "The server refused the request.\r\n";
    case ERROR_INSUFFICIENT_BUFFER:
      return "The buffer is too small for the value.\r\n";
    case ERROR_INTERNET_INTERNAL_ERROR:
      return "An internal error occurred in the Internet layer.\r\n";
    case ERROR_INTERNET_NAME_NOT_RESOLVED:
      return "The server name could not be resolved.\r\n";
    case ERROR_INTERNET_INCORRECT_HANDLE_STATE:
      return "The handle cannot be used for this operation.\r\n";
    case ERROR_INTERNET_CANNOT_CONNECT:
      return "A connection to the server could not be made.\r\n";
    case ERROR_INTERNET_CONNECTION_ABORTED:
      return "The connection to the server was closed.\r\n";
    case ERROR_INTERNET_CONNECTION_RESET:
      return "The connection to the server was reset.\r\n";
    case ERROR_INTERNET_SEC_CERT_DATE_INVALID:
      return "The server's certificate has expired or is not yet valid.\r\n";
    case ERROR_INTERNET_SEC_CERT_CN_INVALID:
      return "The server's certificate is made out to another name.\r\n";
    case ERROR_INTERNET_INVALID_CA:
      return "The server's certificate is not issued by a trusted authority.\r\n";
    case ERROR_INTERNET_SECURITY_CHANNEL_ERROR:
      return "A secure connection to the server could not be made.\r\n";
    case ERROR_INTERNET_SEC_INVALID_CERT:
      return "The server's certificate is not valid.\r\n";
    case ERROR_FTP_TRANSFER_IN_PROGRESS:
      return "Another file transfer is open on this connection.\r\n";
    case ERROR_HTTP_HEADER_NOT_FOUND:
      return "The response has no such header.\r\n";
    case ERROR_HTTP_INVALID_SERVER_RESPONSE:
      return "The server's reply could not be understood.\r\n";
    default:
      return nullptr;
  }
}

}  // namespace updater
