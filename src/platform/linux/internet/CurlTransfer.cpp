#include "platform/linux/internet/CurlTransfer.h"

#include <algorithm>
#include <cstring>

#include "platform/Internet.h"
#include "platform/linux/internet/CurlErrors.h"

namespace updater {
namespace {

using Clock = std::chrono::steady_clock;

// libcurl's read size and the most a download holds unread: enough to move hundreds of megabytes a
// second in 1 KiB pulls, and the same for every size of file.
constexpr long kReceiveChunk = 512 * 1024;
// libcurl 7.88 does not always wait on an FTP data connection that is still being made (it finds it made
// at its next timer, 200 ms on): looking again this often keeps that from holding the transfer up.
constexpr std::chrono::milliseconds kLongestPoll{20};

}  // namespace

CurlTransfer::CurlTransfer(CURLM* multi, const std::string& url, Direction direction, const TransferTimeouts& timeouts)
    : multi_(multi), easy_(curl_easy_init()), direction_(direction), timeouts_(timeouts) {
  CURL* easy = easy_.get();
  if (easy == nullptr) return;  // Start reports it
  curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
  curl_easy_setopt(easy, CURLOPT_PRIVATE, this);
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, kReceiveChunk);
  curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, OnHeader);
  curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, OnData);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
  if (direction == Direction::Upload) {
    curl_easy_setopt(easy, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(easy, CURLOPT_READFUNCTION, OnUpload);
    curl_easy_setopt(easy, CURLOPT_READDATA, this);
  }
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeouts.connect.count()));
  const auto replySeconds = std::chrono::ceil<std::chrono::seconds>(timeouts.receive).count();
  curl_easy_setopt(easy, CURLOPT_SERVER_RESPONSE_TIMEOUT, static_cast<long>(replySeconds));
  // Redirects are the caller's to follow.
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 0L);
  curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
}

CurlTransfer::~CurlTransfer() {
  if (started_) curl_multi_remove_handle(multi_, easy_.get());
}

void CurlTransfer::SetHeaders(CurlList headers) {
  headers_ = std::move(headers);
  curl_easy_setopt(easy_.get(), CURLOPT_HTTPHEADER, headers_.get());
}

std::uint32_t CurlTransfer::Start(Until until) {
  if (easy_ == nullptr || curl_multi_add_handle(multi_, easy_.get()) != CURLM_OK) {
    End(inet::ERROR_NOT_ENOUGH_MEMORY);
    return error_;
  }
  started_ = true;
  const auto reached = [&] {
    switch (until) {
      case Until::Done:
        return false;
      case Until::Opened:
        return head_.TransferAnnounced() || Pending() > 0 || uploadAsked_ || head_.HttpHeadComplete();
      case Until::Head:
        return head_.HttpHeadComplete();
    }
    return false;
  };
  std::uint32_t error = RunUntil(reached, timeouts_.receive);
  // An HTTP proxy fetches an ftp:// address for us: its refusal is the server's.
  if (error == 0 && until != Until::Head && head_.HttpHeadComplete() && head_.StatusCode() >= 300) {
    SetLastResponse({head_.StatusCode(), head_.StatusLine()});
    End(inet::ERROR_INTERNET_EXTENDED_ERROR);
    error = error_;
  }
  return error;
}

std::uint32_t CurlTransfer::RunUntil(const std::function<bool()>& reached, std::chrono::milliseconds wait) {
  auto deadline = Clock::now() + wait;
  while (!ended_ && !reached()) {
    moved_ = false;
    int running = 0;
    if (curl_multi_perform(multi_, &running) != CURLM_OK) End(inet::ERROR_INTERNET_INTERNAL_ERROR);
    CollectResults();
    if (ended_ || reached()) break;
    const auto now = Clock::now();
    if (moved_) {
      deadline = now + wait;
    } else if (now >= deadline) {
      End(inet::ERROR_INTERNET_TIMEOUT);
      break;
    }
    const auto poll = std::min(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now), kLongestPoll);
    curl_multi_poll(multi_, nullptr, 0, static_cast<int>(std::max<long>(poll.count(), 1)), nullptr);
  }
  return reached() ? 0 : error_;
}

void CurlTransfer::CollectResults() {
  int left = 0;
  while (CURLMsg* message = curl_multi_info_read(multi_, &left)) {
    if (message->msg != CURLMSG_DONE) continue;
    CurlTransfer* transfer = nullptr;
    curl_easy_getinfo(message->easy_handle, CURLINFO_PRIVATE, &transfer);
    CurlFailure failure{message->data.result};
    curl_easy_getinfo(message->easy_handle, CURLINFO_OS_ERRNO, &failure.systemError);
    curl_easy_getinfo(message->easy_handle, CURLINFO_SSL_VERIFYRESULT, &failure.certificateCheck);
    curl_easy_getinfo(message->easy_handle, CURLINFO_HTTP_CONNECTCODE, &failure.proxyAnswer);
    failure.serverRefused = transfer->head_.LastReplyCode() >= 400;
    transfer->End(InetErrorFor(failure));
  }
}

void CurlTransfer::End(std::uint32_t error) {
  if (ended_) return;
  ended_ = true;
  error_ = error;
}

void CurlTransfer::Resume() {
  if (!paused_) return;
  paused_ = false;
  curl_easy_pause(easy_.get(), CURLPAUSE_CONT);
}

std::uint32_t CurlTransfer::Read(void* buffer, std::uint32_t size, std::uint32_t& read) {
  read = 0;
  if (Pending() == 0) {
    buffer_.clear();
    next_ = 0;
    Resume();
    if (const std::uint32_t error = RunUntil([&] { return Pending() > 0; }, timeouts_.receive); error != 0)
      return error;
  }
  read = static_cast<std::uint32_t>(std::min<std::size_t>(size, Pending()));
  if (read > 0) std::memcpy(buffer, buffer_.data() + next_, read);  // an empty file has no buffer at all
  next_ += read;
  return 0;
}

std::uint32_t CurlTransfer::Write(const void* data, std::uint32_t size) {
  if (ended_) return error_ != 0 ? error_ : inet::ERROR_INTERNET_CONNECTION_ABORTED;
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  buffer_.assign(bytes, bytes + size);
  next_ = 0;
  Resume();
  const std::uint32_t error = RunUntil([&] { return Pending() == 0; }, timeouts_.send);
  return error != 0 || Pending() == 0 ? error : inet::ERROR_INTERNET_CONNECTION_ABORTED;
}

std::uint32_t CurlTransfer::Finish() {
  uploadEnding_ = true;
  Resume();
  RunUntil([] { return false; }, timeouts_.receive);
  return error_;
}

std::size_t CurlTransfer::OnData(char* data, std::size_t size, std::size_t count, void* self) {
  auto& transfer = *static_cast<CurlTransfer*>(self);
  const std::size_t bytes = size * count;
  if (transfer.Pending() > 0 && transfer.buffer_.size() + bytes > static_cast<std::size_t>(kReceiveChunk)) {
    transfer.paused_ = true;
    return CURL_WRITEFUNC_PAUSE;
  }
  transfer.buffer_.insert(transfer.buffer_.end(), data, data + bytes);
  transfer.moved_ = true;
  return bytes;
}

std::size_t CurlTransfer::OnUpload(char* buffer, std::size_t size, std::size_t count, void* self) {
  auto& transfer = *static_cast<CurlTransfer*>(self);
  transfer.uploadAsked_ = true;
  if (transfer.Pending() == 0) {
    if (transfer.uploadEnding_) return 0;
    transfer.paused_ = true;
    return CURL_READFUNC_PAUSE;
  }
  const std::size_t bytes = std::min(size * count, transfer.Pending());
  std::memcpy(buffer, transfer.buffer_.data() + transfer.next_, bytes);
  transfer.next_ += bytes;
  transfer.moved_ = true;
  return bytes;
}

std::size_t CurlTransfer::OnHeader(char* line, std::size_t size, std::size_t count, void* self) {
  auto& transfer = *static_cast<CurlTransfer*>(self);
  transfer.head_.Add(std::string_view(line, size * count));
  transfer.moved_ = true;
  return size * count;
}

}  // namespace updater
