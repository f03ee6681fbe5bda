#include "updater/ReleaseServer.h"

#include "ftp/CFTPFile.h"
#include "ftp/CHTTPFile.h"
#include "updater/FtpAddress.h"

namespace updater {
namespace {

// Anonymous, passive and binary, on the default port; the signature on the release's connection.
class FtpReleaseServer : public ReleaseServer {
 public:
  FtpReleaseServer(FtpAddress address, IInternet& internet, IRuntimeErrors& errors)
      : address_(std::move(address)), internet_(internet), errors_(errors) {}

  const std::string& FileName() const override { return address_.fileName; }
  bool Connect() override {
    server_ = std::make_shared<CFTPServer>(internet_, errors_);
    return server_->Connect(address_.server, "", "");
  }
  const std::string& LastError() const override { return server_->LastError(); }
  std::unique_ptr<RemoteFile> Open(bool signature, OpenFailure& failure, std::string&) override {
    auto file = std::make_unique<CFTPFile>(internet_, errors_);
    file->FTPServer(server_);
    if (file->OpenRemote(address_.remotePath + (signature ? ".sig" : ""), inet::GENERIC_READ,
                         inet::FTP_TRANSFER_TYPE_BINARY))
      return file;
    failure = OpenFailure::Refused;
    return nullptr;
  }
  void Disconnect() override { server_->Disconnect(); }

 private:
  FtpAddress address_;
  IInternet& internet_;
  IRuntimeErrors& errors_;
  std::shared_ptr<CFTPServer> server_;
};

// Each file is one request, which reaches the server only when it is sent.
class HttpReleaseServer : public ReleaseServer {
 public:
  HttpReleaseServer(HttpAddress address, IInternet& internet, IRuntimeErrors& errors)
      : address_(std::move(address)), internet_(internet), errors_(errors) {}

  const std::string& FileName() const override { return address_.fileName; }
  bool Connect() override { return true; }
  const std::string& LastError() const override { return lastError_; }
  std::unique_ptr<RemoteFile> Open(bool signature, OpenFailure& failure, std::string& answer) override {
    auto file = std::make_unique<CHTTPFile>(internet_, errors_);
    if (file->OpenRemote(signature ? address_.Signature() : address_)) return file;
    if (file->LastFailure() == CHTTPFile::Failure::NoConnection) {
      failure = OpenFailure::NoConnection;
      lastError_ = file->LastError();
    } else {
      failure = OpenFailure::Refused;
      answer = file->Refusal();
    }
    return nullptr;
  }
  void Disconnect() override {}

 private:
  HttpAddress address_;
  IInternet& internet_;
  IRuntimeErrors& errors_;
  std::string lastError_;
};

}  // namespace

std::unique_ptr<ReleaseServer> ReleaseServerFor(const std::string& address, IInternet& internet,
                                                IRuntimeErrors& errors) {
  if (IsHttpAddress(address)) {
    std::optional<HttpAddress> http = SplitHttpAddress(address);
    return http ? std::make_unique<HttpReleaseServer>(std::move(*http), internet, errors) : nullptr;
  }
  std::optional<FtpAddress> ftp = SplitFtpAddress(address);
  return ftp ? std::make_unique<FtpReleaseServer>(std::move(*ftp), internet, errors) : nullptr;
}

}  // namespace updater
