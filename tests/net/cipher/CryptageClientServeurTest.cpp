// The session cipher: block sizes, the key stream checked against AES computed block by block, the
// digest check, refused malformed blocks, byte-string pass phrases, the handshake phrases, the work
// buffer, and the scattering of key bytes.
#include <gtest/gtest.h>

#include <openssl/evp.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <tuple>

#include "net/cipher/CryptageClientServeur.h"
#include "net/transport/VclCommTcp.h"

namespace {

std::string Octets(std::initializer_list<int> valeurs) {
  std::string s;
  for (int v : valeurs) s.push_back(static_cast<char>(v));
  return s;
}

std::string Texte(size_t n) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>(i * 7 + 3);
  return s;
}

uint32_t Cardinal(const std::string& s, size_t at) {
  uint32_t v;
  std::memcpy(&v, s.data() + at, 4);
  return v;
}

// The key stream of a pass phrase computed the long way: K = MD5(phrase), C0 = AES_K(0), then
// AES_K(C0), AES_K(C0 + 1), ... with a big-endian increment done by hand.
std::string FluxDeCle(const std::string& phrase, size_t taille) {
  unsigned char k[16];
  unsigned int lk = 0;
  EVP_Digest(phrase.data(), phrase.size(), k, &lk, EVP_md5(), nullptr);
  EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
  EVP_EncryptInit_ex(ctx, EVP_aes_128_ecb(), nullptr, k, nullptr);
  EVP_CIPHER_CTX_set_padding(ctx, 0);
  auto aes = [&](const unsigned char* in, unsigned char* out) {
    int n = 0;
    EVP_EncryptUpdate(ctx, out, &n, in, 16);
  };
  unsigned char zero[16] = {}, c[16], bloc[16];
  aes(zero, c);
  std::string flux;
  while (flux.size() < taille) {
    aes(c, bloc);
    flux.append(reinterpret_cast<char*>(bloc), 16);
    for (int i = 15; i >= 0 && ++c[i] == 0; --i) {
    }
  }
  EVP_CIPHER_CTX_free(ctx);
  return flux.substr(0, taille);
}

}  // namespace

TEST(CryptageClientServeur, BlockSizesRoundTheTextUpWithAtLeastOneFillerByte) {
  const std::tuple<uint32_t, uint32_t> cas[] = {{0, 40}, {15, 40}, {16, 56}, {17, 56}, {48, 88}, {4096, 4136}};
  TClassCryptageClientServeur c;
  c.PhraseSecrete = "phrase";
  for (auto [n, p] : cas) {
    const std::string clair = Texte(n);
    const std::string bloc = c.Chiffrer(clair);
    ASSERT_EQ(bloc.size(), p) << n;
    EXPECT_EQ(Cardinal(bloc, 16), p) << n;
    EXPECT_EQ(Cardinal(bloc, 20), n) << n;
    std::string lu;
    ASSERT_TRUE(c.Dechiffrer(bloc, lu)) << n;
    EXPECT_EQ(lu, clair) << n;
  }
}

TEST(CryptageClientServeur, TheCipherTextIsThePlainTextXorTheKeyStreamRestartedForEveryBlock) {
  // The sentinel spelled as its 1252 bytes: é is 0xE9 in the phrase that is hashed.
  const std::string phrase = "@mavolit\xE9" "52#";
  EXPECT_EQ(std::string(CryptageClientServeur::SansMotDePasse()), phrase);
  unsigned char k[16];
  unsigned int lk = 0;
  EVP_Digest(phrase.data(), phrase.size(), k, &lk, EVP_md5(), nullptr);
  EXPECT_EQ(Octets({0x87, 0xcd, 0x21, 0x2e, 0x8f, 0x92, 0xb6, 0xb4, 0x3a, 0x5d, 0xa7, 0xbc, 0x53, 0x90, 0xf6, 0xdb}),
            std::string(reinterpret_cast<char*>(k), 16));

  TClassCryptageClientServeur c;
  c.PhraseSecrete = phrase;
  const std::string clair = Texte(48);
  const std::string flux = FluxDeCle(phrase, 64);
  const std::string premier = c.Chiffrer(clair), second = c.Chiffrer(clair);
  for (size_t i = 0; i < 48; ++i) {
    ASSERT_EQ(static_cast<char>(premier[24 + i] ^ flux[i]), clair[i]) << i;
    ASSERT_EQ(premier[24 + i], second[24 + i]) << i;  // same key stream in every block
  }
  unsigned char md5[16];
  EVP_Digest(clair.data(), clair.size(), md5, &lk, EVP_md5(), nullptr);
  EXPECT_EQ(premier.substr(0, 16), std::string(reinterpret_cast<char*>(md5), 16));
  // The 16 filler bytes are random and below 255.
  EXPECT_NE(premier.substr(72), second.substr(72));
  for (size_t i = 48; i < 64; ++i) EXPECT_NE(static_cast<uint8_t>(premier[24 + i] ^ flux[i]), 0xFF);
}

TEST(CryptageClientServeur, ATamperedBlockIsRefusedButAFlippedFillerByteIsNot) {
  TClassCryptageClientServeur c;
  c.PhraseSecrete = "cle";
  const std::string clair = Texte(16);
  const std::string bloc = c.Chiffrer(clair);
  std::string lu;
  for (size_t at : {0u, 8u, 15u, 24u, 30u, 39u}) {  // the digest (all 16 bytes count) and the plain region
    std::string altere = bloc;
    altere[at] ^= 0x01;
    lu = "x";
    EXPECT_FALSE(c.Dechiffrer(altere, lu)) << at;
    EXPECT_TRUE(lu.empty()) << "nothing of a refused block is handed out, at " << at;
  }
  for (size_t at : {40u, 55u}) {  // the filler region
    std::string altere = bloc;
    altere[at] ^= 0x01;
    EXPECT_TRUE(c.Dechiffrer(altere, lu)) << at;
    EXPECT_EQ(lu, clair);
  }
  c.PhraseSecrete = "autre";
  EXPECT_FALSE(c.Dechiffrer(bloc, lu));
}

TEST(CryptageClientServeur, ABlockWhoseSizesDisagreeWithItsBytesIsRefusedWithoutReadingThem) {
  TClassCryptageClientServeur c;
  c.PhraseSecrete = "cle";
  const std::string bloc = c.Chiffrer(Texte(16));  // P = 56, n = 16
  auto avec = [&](uint32_t p, uint32_t n, size_t taille) {
    std::string b = bloc;
    b.resize(taille, '\0');
    std::memcpy(b.data() + 16, &p, 4);
    std::memcpy(b.data() + 20, &n, 4);
    return b;
  };
  const std::tuple<const char*, std::string> cas[] = {
      {"shorter than a header", bloc.substr(0, 23)},
      {"shorter than the sizes it would hold", bloc.substr(0, 20)},
      {"shorter than the smallest block", bloc.substr(0, 39)},
      {"P beyond the bytes received", avec(1u << 30, 16, 56)},
      {"P below the bytes received", avec(40, 16, 56)},
      {"n beyond P", avec(56, 0xFFFFFFFF, 56)},
      {"n leaving no filler byte", avec(56, 32, 56)},
      {"n of a smaller block", avec(56, 15, 56)},
      {"truncated block", bloc.substr(0, 55)},
  };
  for (const auto& [nom, b] : cas) {
    c.Sens = TClassCryptageClientServeur::kDechiffrer;
    c.DefinirEntree(reinterpret_cast<const uint8_t*>(b.data()), static_cast<uint32_t>(b.size()));
    EXPECT_EQ(c.TailleSortie(), 0u) << nom;
    std::string lu = "x";
    EXPECT_FALSE(c.Dechiffrer(b, lu)) << nom;
    EXPECT_TRUE(lu.empty()) << nom;
  }
}

TEST(CryptageClientServeur, PassPhrasesAreByteStringsAndASessionKeyMayHoldZeros) {
  const std::string cleSession = Octets({0x41, 0x00, 0x42, 0x00, 0, 0, 0, 0, 0xFF, 1, 2, 3, 4, 5, 6, 7});
  TClassCryptageClientServeur c;
  c.PhraseSecrete = cleSession;
  const std::string bloc = c.Chiffrer("ordre");
  std::string lu;
  c.PhraseSecrete = std::string(cleSession.c_str());  // cut at the first zero: another key
  EXPECT_FALSE(c.Dechiffrer(bloc, lu));
  c.PhraseSecrete = cleSession;
  ASSERT_TRUE(c.Dechiffrer(bloc, lu));
  EXPECT_EQ(lu, "ordre");
  // The empty phrase is MD5 of no bytes: a key like any other.
  c.PhraseSecrete.clear();
  EXPECT_TRUE(c.Dechiffrer(c.Chiffrer("vide"), lu));
}

TEST(CryptageClientServeur, HandshakePhrasesJoinTheIdentityFieldsAndStandInForEmptyPasswords) {
  using namespace CryptageClientServeur;
  EXPECT_EQ(PhraseIdentification("ADM", "Dupont"), "$ADM:Dupont$");
  EXPECT_EQ(PhraseAuthentification("ADM", "app", "Dupont", "secret"), "$ADM-app:Dupont-secret$");
  EXPECT_EQ(PhraseAuthentification("ADM", "", "Dupont", ""),
            "$ADM-@mavolit\xE9" "52#:Dupont-@mavolit\xE9" "52#$");
}

TEST(CryptageClientServeur, TheWorkBufferShrinksAfterMoreThanFiftySmallerUses) {
  TClassCryptageClientServeur c;
  c.PhraseSecrete = "cle";
  (void)c.Chiffrer(Texte(1000));  // region 1008
  EXPECT_EQ(c.CapaciteTravail(), 1008u);
  for (int i = 0; i < 50; ++i) (void)c.Chiffrer(Texte(10));
  EXPECT_EQ(c.CapaciteTravail(), 1008u);
  (void)c.Chiffrer(Texte(10));  // the 51st smaller use
  EXPECT_EQ(c.CapaciteTravail(), 16u);
  // A use of the whole buffer starts the count again.
  (void)c.Chiffrer(Texte(1000));
  for (int i = 0; i < 30; ++i) (void)c.Chiffrer(Texte(10));
  (void)c.Chiffrer(Texte(1000));
  for (int i = 0; i < 30; ++i) (void)c.Chiffrer(Texte(10));
  EXPECT_EQ(c.CapaciteTravail(), 1008u) << "30 smaller uses since the last whole one";
}

TEST(CryptageClientServeur, ScatteredKeyBytesSitAtTheTablePositionsAndGatherBack) {
  for (int essai = 0; essai < 50; ++essai) {
    const VclCommTcp::TypeTablePositions table = VclCommTcp::CreerTablePositions();
    std::set<int> positions;
    for (uint8_t t : table) positions.insert(t & 31);
    ASSERT_EQ(positions.size(), 16u);
    uint8_t source[16], bloc[32], retour[16];
    for (int i = 0; i < 16; ++i) source[i] = static_cast<uint8_t>(0xA0 + i);
    VclCommTcp::DisperserOctets(source, table, bloc);
    for (int i = 0; i < 16; ++i) ASSERT_EQ(bloc[table[i] & 31], source[i]);
    VclCommTcp::RassemblerOctets(bloc, table, retour);
    ASSERT_TRUE(std::equal(std::begin(source), std::end(source), retour));
  }
}
