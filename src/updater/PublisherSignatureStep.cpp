// The check of a download against the publisher's signature, switched on by update.pem beside the program.

#include <array>

#include "updater/frmUpdater.h"

namespace updater {

namespace {
std::span<const std::uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}
}  // namespace

// Reads the release's ".sig" from its server, yielding before each read. The signature stays empty when
// the file is missing, empty, unreadable or longer than the limit. False when a cancel was seen.
bool frmUpdater::FetchSignature(ReleaseServer& server, std::string& signature) {
  signature.clear();
  ReleaseServer::OpenFailure failure{};
  std::string answer;
  const std::unique_ptr<RemoteFile> file = server.Open(true, failure, answer);
  if (!file) return true;
  // One byte more than the limit tells a signature that is too long.
  std::array<std::uint8_t, kMaxSignatureBytes + 1> buffer{};
  std::size_t size = 0;
  while (size < buffer.size()) {
    services_.eventLoop.DoEvents();
    if (state_.DownloadCancelled) return false;
    const std::int32_t read =
        file->ReadRemote(std::span(buffer).subspan(size), static_cast<std::int32_t>(buffer.size() - size));
    if (read <= 0) break;
    size += static_cast<std::size_t>(read);
  }
  file->CloseRemote();
  // A fresh remote file has a failure text only when one of its reads failed.
  if (file->LastError().empty() && size <= kMaxSignatureBytes)
    signature.assign(reinterpret_cast<const char*>(buffer.data()), size);
  return true;
}

// Verifies the local file with the publisher's key. On a failure the file is deleted, so that it is never
// started by accident, and the reason is logged and kept for the failure report.
bool frmUpdater::PublisherSigned(const std::string& URLAppExeToDownload, const std::string& keyPath,
                                 const std::string& key, const std::string& signature) {
  const SignatureCheck check = services_.publisherSignature.Verify(Bytes(key), Bytes(signature), LocalFilePath);
  if (check == SignatureCheck::Valid) return true;
  services_.localFiles.Delete(LocalFilePath);
  std::string message;
  if (check == SignatureCheck::KeyNotValid)
    message = "ERROR: Publisher key is not valid " + keyPath;
  else if (signature.empty())
    message = "ERROR: No signature for " + URLAppExeToDownload;
  else
    message = "ERROR: Signature does not match " + URLAppExeToDownload;
  reporting_.log.WriteErrorLog(0, 0, message);
  state_.LastErrorText = Text(kNotSigned);
  return false;
}

}  // namespace updater
