#pragma once
// One libcurl transfer on the connections of a multi handle, driven by the caller's pulls: a download
// fills a bounded buffer and pauses while it is full, so that nothing moves while the caller does not
// read; an upload asks for the caller's bytes. Every wait ends when nothing has moved for its time-out,
// counted only while the caller waits, so that a pause of any length costs nothing.

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/linux/internet/CurlHandles.h"
#include "platform/linux/internet/ResponseHead.h"

namespace updater {

struct TransferTimeouts {
  std::chrono::milliseconds connect{20'000};
  // Receiving a reply or data; sending data.
  std::chrono::milliseconds receive{30'000};
  std::chrono::milliseconds send{30'000};
};

class CurlTransfer {
 public:
  enum class Direction { Download, Upload };
  // What Start runs the transfer up to: its end; the file opened (the server announced the transfer,
  // or bytes came or were asked for); the head of the HTTP response.
  enum class Until { Done, Opened, Head };

  // A transfer of url on the connections of multi, set up with the options every transfer has;
  // nothing is sent before Start.
  CurlTransfer(CURLM* multi, const std::string& url, Direction direction, const TransferTimeouts& timeouts);
  // Ends the transfer where it stands.
  ~CurlTransfer();
  CurlTransfer(const CurlTransfer&) = delete;
  CurlTransfer& operator=(const CurlTransfer&) = delete;

  // For the options of the transfer's protocol, before Start.
  CURL* Easy() const { return easy_.get(); }
  // Extra request header lines, kept for the transfer's life.
  void SetHeaders(CurlList headers);
  // Starts the transfer and runs it up to until: 0, or the error code of the failure.
  std::uint32_t Start(Until until);
  bool Started() const { return started_; }
  Direction GetDirection() const { return direction_; }
  const ResponseHead& Head() const { return head_; }

  // Up to size bytes of a download; 0 bytes only at its end.
  std::uint32_t Read(void* buffer, std::uint32_t size, std::uint32_t& read);
  // All size bytes of an upload, handed to libcurl.
  std::uint32_t Write(const void* data, std::uint32_t size);
  // Ends an upload and waits for the server's confirmation: the result of the whole transfer.
  std::uint32_t Finish();

 private:
  static std::size_t OnData(char* data, std::size_t size, std::size_t count, void* self);
  static std::size_t OnUpload(char* buffer, std::size_t size, std::size_t count, void* self);
  static std::size_t OnHeader(char* line, std::size_t size, std::size_t count, void* self);

  // Runs libcurl until reached holds or the transfer ends, or nothing moves for wait: 0 when reached
  // holds, otherwise the transfer's error (0 after a normal end).
  std::uint32_t RunUntil(const std::function<bool()>& reached, std::chrono::milliseconds wait);
  // Hands the ended transfers of the multi handle their results.
  void CollectResults();
  void End(std::uint32_t error);
  void Resume();
  std::size_t Pending() const { return buffer_.size() - next_; }

  CURLM* multi_;
  CurlEasy easy_;
  CurlList headers_;
  Direction direction_;
  TransferTimeouts timeouts_;
  ResponseHead head_;
  // Downloaded bytes not yet read, or bytes to upload not yet sent, from next_ on.
  std::vector<std::uint8_t> buffer_;
  std::size_t next_ = 0;
  bool started_ = false;
  bool paused_ = false;
  bool moved_ = false;
  bool uploadAsked_ = false;
  bool uploadEnding_ = false;
  bool ended_ = false;
  std::uint32_t error_ = 0;
};

}  // namespace updater
