// The keyed generator against a test vector computed independently from its algorithm, and the
// reversible scramblings built on it.
#include <gtest/gtest.h>

#include <vector>

#include "core/values/Cryptage.h"
#include "core/values/NombreAleatoire.h"

namespace {
std::vector<uint16_t> Tirages(const std::string& cle, int n) {
  TNombreAleatoire::Graine(cle);
  std::vector<uint16_t> v;
  for (int i = 0; i < n; ++i) v.push_back(TNombreAleatoire::Aleatoire());
  return v;
}
}  // namespace

TEST(NombreAleatoire, SequenceOfAKeyIsFixed) {
  EXPECT_EQ(Tirages("", 6), (std::vector<uint16_t>{40382, 55320, 32951, 53772, 8794, 48895}));
  EXPECT_EQ(Tirages("Cle1", 6), (std::vector<uint16_t>{18885, 64886, 24346, 3995, 3984, 57683}));
  EXPECT_EQ(Tirages("Cle1", 50), Tirages("Cle1", 50));
}

TEST(ZoneEncryption, ThreeByteStreamXorsWordZeroAndTheLowByteOfWordOne) {
  const auto draws = Tirages("k", 3);
  TMemoryStream m;
  m.WriteBuffer("\x01\x02\x03", 3);
  TZoneEncryption("k").Crypter(m);
  ASSERT_EQ(m.Size(), 3);
  const uint8_t* b = m.Memory();
  EXPECT_EQ(b[0], 0x01 ^ (draws[0] & 0xFF));
  EXPECT_EQ(b[1], 0x02 ^ (draws[0] >> 8));
  EXPECT_EQ(b[2], 0x03 ^ (draws[1] & 0xFF));
  TZoneEncryption("k").Crypter(m);
  EXPECT_EQ(m.AsString(), "\x01\x02\x03");
}

TEST(Encryption, TwiceGivesTheTextBackAndShortTextsStayUnchanged) {
  std::string once, twice;
  TEncryption::Crypter("abcdHello world", 4, once);
  EXPECT_EQ(once.substr(0, 4), "abcd");
  EXPECT_NE(once, "abcdHello world");
  TEncryption::Crypter(once, 4, twice);
  EXPECT_EQ(twice, "abcdHello world");
  TEncryption::Crypter("abcd", 4, once);
  EXPECT_EQ(once, "abcd");
  TEncryption::Crypter("ab", 4, once);
  EXPECT_EQ(once, "ab");
}
