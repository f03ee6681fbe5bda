#include "platform/windows/CngPublisherSignature.h"

// clang-format off
#include <windows.h>
#include <bcrypt.h>
#include <wincrypt.h>
// clang-format on

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/windows/WideText.h"
#include "updater/DerSignature.h"

namespace updater {
namespace {

constexpr std::size_t kCoordinate = 32;
// The DER of the P-256 curve's object identifier 1.2.840.10045.3.1.7, the parameters of its keys.
constexpr std::array<BYTE, 10> kP256Parameters{0x06, 0x08, 0x2A, 0x86, 0x48, 0xCE, 0x3D, 0x03, 0x01, 0x07};

struct LocalFreeDeleter {
  void operator()(void* memory) const { LocalFree(memory); }
};
struct AlgorithmCloser {
  void operator()(BCRYPT_ALG_HANDLE algorithm) const { BCryptCloseAlgorithmProvider(algorithm, 0); }
};
struct KeyDestroyer {
  void operator()(BCRYPT_KEY_HANDLE key) const { BCryptDestroyKey(key); }
};
struct HashDestroyer {
  void operator()(BCRYPT_HASH_HANDLE hash) const { BCryptDestroyHash(hash); }
};
struct FileCloser {
  void operator()(HANDLE file) const { CloseHandle(file); }
};
using Algorithm = std::unique_ptr<void, AlgorithmCloser>;
using Key = std::unique_ptr<void, KeyDestroyer>;

Algorithm OpenAlgorithm(const wchar_t* name) {
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&algorithm, name, nullptr, 0))) return nullptr;
  return Algorithm(algorithm);
}

// The DER of the one "PUBLIC KEY" block of pem; nothing for any other text.
std::optional<std::vector<BYTE>> PemPublicKey(std::span<const std::uint8_t> pem) {
  const std::string_view text(reinterpret_cast<const char*>(pem.data()), pem.size());
  const std::size_t begin = text.find("-----BEGIN PUBLIC KEY-----");
  if (begin == std::string_view::npos || text.size() - begin > MAXDWORD) return std::nullopt;
  // Decoding starts at that block: crypt32 takes whichever block comes first.
  const char* chars = text.data() + begin;
  const auto length = static_cast<DWORD>(text.size() - begin);
  DWORD size = 0;
  if (!CryptStringToBinaryA(chars, length, CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr, nullptr))
    return std::nullopt;
  std::vector<BYTE> der(size);
  if (!CryptStringToBinaryA(chars, length, CRYPT_STRING_BASE64HEADER, der.data(), &size, nullptr, nullptr))
    return std::nullopt;
  der.resize(size);
  return der;
}

// The public key of a PEM "PUBLIC KEY" block holding an uncompressed point on P-256, imported into CNG.
Key ImportP256Key(BCRYPT_ALG_HANDLE ecdsa, std::span<const std::uint8_t> pem) {
  const std::optional<std::vector<BYTE>> der = PemPublicKey(pem);
  if (!der) return nullptr;
  CERT_PUBLIC_KEY_INFO* decoded = nullptr;
  DWORD decodedSize = 0;
  if (!CryptDecodeObjectEx(X509_ASN_ENCODING, X509_PUBLIC_KEY_INFO, der->data(), static_cast<DWORD>(der->size()),
                           CRYPT_DECODE_ALLOC_FLAG, nullptr, &decoded, &decodedSize))
    return nullptr;
  const std::unique_ptr<CERT_PUBLIC_KEY_INFO, LocalFreeDeleter> info(decoded);
  const CRYPT_OBJID_BLOB& parameters = info->Algorithm.Parameters;
  const CRYPT_BIT_BLOB& point = info->PublicKey;
  if (info->Algorithm.pszObjId == nullptr || std::string_view(info->Algorithm.pszObjId) != szOID_ECC_PUBLIC_KEY ||
      !std::equal(kP256Parameters.begin(), kP256Parameters.end(), parameters.pbData,
                  parameters.pbData + parameters.cbData) ||
      point.cbData != 1 + 2 * kCoordinate || point.cUnusedBits != 0 || point.pbData[0] != 0x04)
    return nullptr;
  // CNG's public key: the blob header, then X and Y as they follow the point's 0x04 marker.
  std::array<BYTE, sizeof(BCRYPT_ECCKEY_BLOB) + 2 * kCoordinate> blob{};
  const BCRYPT_ECCKEY_BLOB header{BCRYPT_ECDSA_PUBLIC_P256_MAGIC, kCoordinate};
  std::copy_n(reinterpret_cast<const BYTE*>(&header), sizeof header, blob.begin());
  std::copy_n(point.pbData + 1, 2 * kCoordinate, blob.begin() + sizeof header);
  BCRYPT_KEY_HANDLE key = nullptr;
  if (!BCRYPT_SUCCESS(BCryptImportKeyPair(ecdsa, nullptr, BCRYPT_ECCPUBLIC_BLOB, &key, blob.data(),
                                          static_cast<ULONG>(blob.size()), 0)))
    return nullptr;
  return Key(key);
}

// The SHA-256 of the file's bytes; nothing when the file cannot be read.
std::optional<std::array<BYTE, 32>> HashFile(const std::string& path) {
  const Algorithm sha256 = OpenAlgorithm(BCRYPT_SHA256_ALGORITHM);
  BCRYPT_HASH_HANDLE rawHash = nullptr;
  if (!sha256 || !BCRYPT_SUCCESS(BCryptCreateHash(sha256.get(), &rawHash, nullptr, 0, nullptr, 0, 0)))
    return std::nullopt;
  const std::unique_ptr<void, HashDestroyer> hash(rawHash);
  // The path is UTF-8, as every path of the program: the wide call takes it whatever the ANSI code page.
  const HANDLE rawFile = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (rawFile == INVALID_HANDLE_VALUE) return std::nullopt;
  const std::unique_ptr<void, FileCloser> file(rawFile);
  std::vector<BYTE> chunk(64 * 1024);
  DWORD read = 0;
  do {
    if (!ReadFile(file.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &read, nullptr) ||
        !BCRYPT_SUCCESS(BCryptHashData(hash.get(), chunk.data(), read, 0)))
      return std::nullopt;
  } while (read > 0);
  std::array<BYTE, 32> digest{};
  if (!BCRYPT_SUCCESS(BCryptFinishHash(hash.get(), digest.data(), static_cast<ULONG>(digest.size()), 0)))
    return std::nullopt;
  return digest;
}

}  // namespace

SignatureCheck CngPublisherSignature::Verify(std::span<const std::uint8_t> publicKey,
                                             std::span<const std::uint8_t> signature, const std::string& filePath) {
  const Algorithm ecdsa = OpenAlgorithm(BCRYPT_ECDSA_P256_ALGORITHM);
  const Key key = ecdsa ? ImportP256Key(ecdsa.get(), publicKey) : nullptr;
  if (!key) return SignatureCheck::KeyNotValid;
  // CNG takes the signature as r || s.
  std::optional<P256Signature> halves = DerToP256Signature(signature);
  std::optional<std::array<BYTE, 32>> digest = halves ? HashFile(filePath) : std::nullopt;
  if (!digest) return SignatureCheck::Mismatch;
  const NTSTATUS status = BCryptVerifySignature(key.get(), nullptr, digest->data(),
                                                static_cast<ULONG>(digest->size()), halves->data(),
                                                static_cast<ULONG>(halves->size()), 0);
  return BCRYPT_SUCCESS(status) ? SignatureCheck::Valid : SignatureCheck::Mismatch;
}

}  // namespace updater
