// The DER reader's branches; tests/fuzz/FuzzDerSignature checks that what it accepts encodes back alike.
#include <gtest/gtest.h>

#include <vector>

#include "updater/DerSignature.h"

namespace updater {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
Bytes Integer(const Bytes& value) { return Concat({0x02, static_cast<std::uint8_t>(value.size())}, value); }
Bytes Sequence(const Bytes& a, const Bytes& b) {
  return Concat({0x30, static_cast<std::uint8_t>(a.size() + b.size())}, Concat(a, b));
}

TEST(DerSignature, StrictDerBecomesRightAlignedHalves) {
  const Bytes high(32, 0xC3), low = Concat({0x7F}, Bytes(31, 0x11)), shortValue(30, 0x22);
  const struct {
    Bytes der, rs;
  } cases[] = {
      {Sequence(Integer(Concat({0}, high)), Integer(low)), Concat(high, low)},
      {Sequence(Integer(shortValue), Integer({1})), Concat(Concat(Bytes(2, 0), shortValue), Concat(Bytes(31, 0), {1}))},
  };
  for (const auto& c : cases) {
    const auto signature = DerToP256Signature(c.der);
    ASSERT_TRUE(signature);
    EXPECT_EQ(Bytes(signature->begin(), signature->end()), c.rs);
  }
}

TEST(DerSignature, MalformedOrNonCanonicalEncodingsAreRefused) {
  const Bytes r = Integer(Bytes(32, 0x11)), s = Integer(Bytes(32, 0x22)), rs = Sequence(r, s);
  Bytes wrongTag = rs, longOuter = rs;
  wrongTag[0] = 0x31;
  ++longOuter[1];  // runs past the end
  const Bytes cases[] = {
      {}, wrongTag, longOuter,
      Concat(rs, {0x00}),                          // a byte after the sequence
      Sequence(r, Concat(s, Integer({0x01}))),     // a third integer
      Sequence(Integer({}), s),                    // empty integer
      Sequence(Integer({0x00}), s),                // zero
      Sequence(Integer({0x80, 0x01}), s),          // negative
      Sequence(Integer({0x00, 0x7F}), s),          // a leading zero that is not needed
      Sequence(Integer(Bytes(33, 0x11)), s),       // longer than 32 bytes
  };
  for (const Bytes& der : cases) EXPECT_FALSE(DerToP256Signature(der)) << testing::PrintToString(der);
}

}  // namespace
}  // namespace updater
