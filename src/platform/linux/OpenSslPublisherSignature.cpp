#include "platform/linux/OpenSslPublisherSignature.h"

#include <fcntl.h>
#include <openssl/bio.h>
#include <openssl/core_names.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <memory>

#include "platform/linux/FileDescriptor.h"

namespace updater {
namespace {

struct BioFree {
  void operator()(BIO* bio) const { BIO_free(bio); }
};
struct KeyFree {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct DigestFree {
  void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
using Key = std::unique_ptr<EVP_PKEY, KeyFree>;

// The P-256 public key in pem, or null when pem holds no such key.
Key ReadP256Key(std::span<const std::uint8_t> pem) {
  if (pem.size() > INT_MAX) return nullptr;
  const std::unique_ptr<BIO, BioFree> bio(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())));
  if (!bio) return nullptr;
  Key key(PEM_read_bio_PUBKEY(bio.get(), nullptr, nullptr, nullptr));
  if (!key || !EVP_PKEY_is_a(key.get(), "EC")) return nullptr;
  char group[64] = {};
  std::size_t length = 0;
  if (!EVP_PKEY_get_utf8_string_param(key.get(), OSSL_PKEY_PARAM_GROUP_NAME, group, sizeof group, &length) ||
      std::strcmp(group, "prime256v1") != 0)
    return nullptr;
  return key;
}

// Feeds the bytes of the file at path to the verification; false when the file cannot be read.
bool DigestFile(EVP_MD_CTX* context, const std::string& path) {
  const FileDescriptor file(RetryOnInterrupt([&] { return ::open(path.c_str(), O_RDONLY | O_CLOEXEC); }));
  if (!file.Valid()) return false;
  unsigned char chunk[64 * 1024];
  while (true) {
    const ssize_t n = RetryOnInterrupt([&] { return ::read(file.Get(), chunk, sizeof chunk); });
    if (n < 0) return false;
    if (n == 0) return true;
    if (EVP_DigestVerifyUpdate(context, chunk, static_cast<std::size_t>(n)) != 1) return false;
  }
}

SignatureCheck Check(std::span<const std::uint8_t> publicKey, std::span<const std::uint8_t> signature,
                     const std::string& filePath) {
  const Key key = ReadP256Key(publicKey);
  if (!key) return SignatureCheck::KeyNotValid;
  const std::unique_ptr<EVP_MD_CTX, DigestFree> context(EVP_MD_CTX_new());
  if (!context || EVP_DigestVerifyInit(context.get(), nullptr, EVP_sha256(), nullptr, key.get()) != 1 ||
      !DigestFile(context.get(), filePath))
    return SignatureCheck::Mismatch;
  // 1 is a match; 0 a mismatch and a negative value a malformed signature.
  return EVP_DigestVerifyFinal(context.get(), signature.data(), signature.size()) == 1 ? SignatureCheck::Valid
                                                                                        : SignatureCheck::Mismatch;
}

}  // namespace

SignatureCheck OpenSslPublisherSignature::Verify(std::span<const std::uint8_t> publicKey,
                                                 std::span<const std::uint8_t> signature,
                                                 const std::string& filePath) {
  const SignatureCheck result = Check(publicKey, signature, filePath);
  // OpenSSL queues the reasons of each failure; none of them concerns a later call.
  ERR_clear_error();
  return result;
}

}  // namespace updater
