#pragma once
// libcurl's results as the Internet error codes of the Windows functions.

#include <curl/curl.h>

#include <cstdint>

namespace updater {

// What besides its result tells why a transfer failed.
struct CurlFailure {
  CURLcode result = CURLE_OK;
  long systemError = 0;         // errno of the failed network call
  long certificateCheck = 0;    // the certificate chain's check (X509_V_...), 0 when it passed
  long proxyAnswer = 0;         // an HTTP proxy's answer to CONNECT, 0 when there was none
  bool serverRefused = false;   // the last FTP reply (or proxy status) was negative
};

// The error code for a failed transfer (0 for CURLE_OK).
std::uint32_t InetErrorFor(const CurlFailure& failure);

}  // namespace updater
