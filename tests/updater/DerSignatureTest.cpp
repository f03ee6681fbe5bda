#include <gtest/gtest.h>

#include <vector>

#include "updater/DerSignature.h"

namespace updater {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Integer(const Bytes& value) {
  Bytes out{0x02, static_cast<std::uint8_t>(value.size())};
  out.insert(out.end(), value.begin(), value.end());
  return out;
}

Bytes Sequence(const Bytes& a, const Bytes& b, const Bytes& extra = {}) {
  Bytes out{0x30, static_cast<std::uint8_t>(a.size() + b.size() + extra.size())};
  for (const Bytes* part : {&a, &b, &extra}) out.insert(out.end(), part->begin(), part->end());
  return out;
}

Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(DerSignature, StrictDerBecomesRightAlignedHalves) {
  const Bytes high(32, 0xC3), low = Concat({0x7F}, Bytes(31, 0x11)), shortValue(30, 0x22);
  const struct {
    Bytes der;
    Bytes r, s;
  } cases[] = {
      {Sequence(Integer(Concat({0}, high)), Integer(low)), high, low},
      {Sequence(Integer(shortValue), Integer({0x01})), Concat(Bytes(2, 0), shortValue), Concat(Bytes(31, 0), {0x01})},
      {Sequence(Integer({0x00, 0x80}), Integer(low)), Concat(Bytes(31, 0), {0x80}), low},
  };
  for (const auto& c : cases) {
    const auto signature = DerToP256Signature(c.der);
    ASSERT_TRUE(signature);
    EXPECT_EQ(Bytes(signature->begin(), signature->begin() + 32), c.r);
    EXPECT_EQ(Bytes(signature->begin() + 32, signature->end()), c.s);
  }
}

TEST(DerSignature, MalformedOrNonCanonicalEncodingsAreRefused) {
  const Bytes r = Integer(Bytes(32, 0x11)), s = Integer(Bytes(32, 0x22));
  Bytes longForm = Sequence(r, s);
  longForm.insert(longForm.begin() + 1, 0x81);
  Bytes wrongTag = Sequence(r, s);
  wrongTag[0] = 0x31;
  Bytes shortOuter = Sequence(r, s), longOuter = Sequence(r, s);
  --shortOuter[1];
  ++longOuter[1];
  const Bytes cases[] = {
      {},
      {0x30},
      {0x30, 0x00},
      wrongTag,
      shortOuter,
      longOuter,
      longForm,
      Concat(Sequence(r, s), {0x00}),               // something after the sequence
      Sequence(r, s, Integer({0x01})),              // a third integer
      Sequence(r, {}),                              // s missing
      Sequence(Integer({}), s),                     // empty integer
      Sequence(Integer({0x00}), s),                 // zero
      Sequence(Integer({0x80, 0x01}), s),           // negative
      Sequence(Integer({0x00, 0x7F}), s),           // a leading zero that is not needed
      Sequence(Integer(Bytes(33, 0x11)), s),        // longer than 32 bytes
      Sequence(Integer(Concat({0, 0}, Bytes(32, 0x81))), s),
      Sequence(r, Concat({0x02, 0x21}, Bytes(32, 0x22))),  // length past the end
      Sequence(Concat({0x04, 0x20}, Bytes(32, 0x11)), s),  // not an integer
  };
  for (const Bytes& der : cases) EXPECT_FALSE(DerToP256Signature(der)) << testing::PrintToString(der);
}

}  // namespace
}  // namespace updater
