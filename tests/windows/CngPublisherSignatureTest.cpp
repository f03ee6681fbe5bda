#include <gtest/gtest.h>

#include "platform/windows/CngPublisherSignature.h"
#include "signatures/SignatureCases.h"

namespace updater {
namespace {

// The files are made in the test's working folder by the signature_files fixture.
TEST(CngPublisherSignature, OnlyTheP256KeysOwnSignatureOverTheseBytesIsValid) {
  CngPublisherSignature verifier;
  test::ExpectSignatureCases(verifier, "signatures");
}

}  // namespace
}  // namespace updater
