#include "platform/linux/ftp/FtpTransfer.h"

#include <algorithm>
#include <cstring>

#include "platform/Internet.h"

namespace updater {

FtpTransfer::FtpTransfer(ControlConnection& control, Direction direction, Socket data, bool confirmed)
    : control_(control), direction_(direction), data_(std::move(data)), confirmed_(confirmed),
      finalReplyRead_(confirmed) {
  if (direction_ == Direction::Download) chunk_ = std::make_unique_for_overwrite<std::uint8_t[]>(kChunkSize);
}

InetError FtpTransfer::Start(ControlConnection& control, Direction direction, bool ascii, const std::string& path,
                             std::unique_ptr<FtpTransfer>& started) {
  if (const InetError error = control.Command(ascii ? "TYPE A" : "TYPE I"); error != kInetOk) return error;
  Socket data;
  if (const InetError error = control.OpenDataConnection(data); error != kInetOk) return error;
  FtpReply reply;
  const std::string verb = direction == Direction::Download ? "RETR " : "STOR ";
  if (const InetError error = control.Exchange(verb + path, reply); error != kInetOk) return error;
  // 125 or 150 announce the transfer; a positive reply at once means that it is already over.
  if (!reply.Preliminary() && !reply.Positive()) return inet::ERROR_INTERNET_EXTENDED_ERROR;
  started.reset(new FtpTransfer(control, direction, std::move(data), reply.Positive()));
  return kInetOk;
}

InetError FtpTransfer::Fail(InetError error) {
  failure_ = error;
  data_.Close();
  return error;
}

InetError FtpTransfer::ReadFinalReply() {
  if (confirmed_) return kInetOk;
  FtpReply reply;
  if (const InetError error = control_.ReadReply(control_.Settings().replyTimeout, reply); error != kInetOk)
    return Fail(error);
  finalReplyRead_ = true;
  if (!reply.Positive()) return Fail(inet::ERROR_INTERNET_EXTENDED_ERROR);
  confirmed_ = true;
  return kInetOk;
}

InetError FtpTransfer::Refill() {
  std::size_t received = 0;
  const Deadline deadline = DeadlineAfter(control_.Settings().dataTimeout);
  if (const InetError error = data_.Receive(chunk_.get(), kChunkSize, deadline, received); error != kInetOk)
    return Fail(error);
  next_ = 0;
  end_ = received;
  if (received > 0) return kInetOk;
  data_.Close();
  return ReadFinalReply();
}

InetError FtpTransfer::Read(void* buffer, std::uint32_t size, std::uint32_t& read) {
  read = 0;
  if (next_ == end_) {
    if (failure_ != kInetOk) return failure_;
    if (!data_.IsOpen()) return kInetOk;  // ended and confirmed
    if (const InetError error = Refill(); error != kInetOk) return error;
  }
  const std::size_t count = std::min<std::size_t>(size, end_ - next_);
  std::memcpy(buffer, chunk_.get() + next_, count);
  next_ += count;
  read = static_cast<std::uint32_t>(count);
  return kInetOk;
}

InetError FtpTransfer::Write(const void* data, std::uint32_t size, std::uint32_t& written) {
  written = 0;
  if (failure_ != kInetOk) return failure_;
  if (const InetError error = data_.SendAll(data, size, DeadlineAfter(control_.Settings().dataTimeout));
      error != kInetOk)
    return Fail(error);
  written = size;
  return kInetOk;
}

InetError FtpTransfer::Finish() {
  data_.Close();
  if (direction_ == Direction::Upload) {
    const InetError earlier = failure_;
    const InetError final = finalReplyRead_ ? kInetOk : ReadFinalReply();
    return earlier != kInetOk ? earlier : final;
  }
  if (!finalReplyRead_) control_.AbortTransfer();
  return kInetOk;
}

}  // namespace updater
