// Frames and the byte queue: the exact bytes of a frame, the queue's marks, and the frame reader
// against lying lengths, bombs, foreign versions and kinds, and enciphered frames.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstring>
#include <string>
#include <tuple>

#include "net/cipher/CryptageClientServeur.h"
#include "net/protocol/Trame.h"

using Trame::TypeLecture;

namespace {

std::string Cardinal(uint32_t v) {
  std::string s(4, '\0');
  std::memcpy(s.data(), &v, 4);
  return s;
}

std::string Entete(uint8_t version, uint8_t genre, uint32_t longueur) {
  return std::string{char(version), char(genre)} + Cardinal(longueur);
}

std::string Zlib(const std::string& contenu) {
  uLongf taille = compressBound(contenu.size());
  std::string z(taille, '\0');
  EXPECT_EQ(compress2(reinterpret_cast<Bytef*>(z.data()), &taille, reinterpret_cast<const Bytef*>(contenu.data()),
                      contenu.size(), 9),
            Z_OK);
  z.resize(taille);
  return z;
}

std::string Inflater(const std::string& z, size_t taille) {
  std::string s(taille, '\0');
  uLongf t = taille;
  EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(s.data()), &t, reinterpret_cast<const Bytef*>(z.data()), z.size()),
            Z_OK);
  s.resize(t);
  return s;
}

// The inner message as the writer lays it out.
std::string Interieur(uint32_t id, uint32_t ident, uint8_t genreAdresse, const std::string& donnees,
                      uint32_t tailleAnnoncee) {
  return std::string{1, 0} + Cardinal(id) + Cardinal(ident) + char(genreAdresse) + Cardinal(tailleAnnoncee) + donnees;
}

std::string TrameClaire(const std::string& interieur) {
  const std::string z = Zlib(interieur);
  return Entete(1, 1, static_cast<uint32_t>(z.size())) + z;
}

// A zlib stream of stored blocks whose total length is exactly Longueur, holding an inner message.
std::string FluxStocke(uint32_t longueur, int blocs) {
  const size_t contenu = longueur - 6 - 5 * size_t(blocs);
  std::string interieur = Interieur(0x90001, 1, 2, std::string(contenu - 15, 'x'), static_cast<uint32_t>(contenu - 15));
  std::string z = "\x78\x01";
  size_t fait = 0;
  for (int b = 0; b < blocs; ++b) {
    const size_t n = (contenu - fait) / size_t(blocs - b);
    const uint16_t len = static_cast<uint16_t>(n), nlen = static_cast<uint16_t>(~len);
    z += char(b + 1 == blocs ? 1 : 0);
    z += std::string(reinterpret_cast<const char*>(&len), 2) + std::string(reinterpret_cast<const char*>(&nlen), 2);
    z += interieur.substr(fait, n);
    fait += n;
  }
  const uLong a = adler32(adler32(0, nullptr, 0), reinterpret_cast<const Bytef*>(interieur.data()), interieur.size());
  z += std::string{char(a >> 24), char(a >> 16), char(a >> 8), char(a)};
  return z;
}

struct Lecteur {
  TBufferDynamique file;
  TypeSecurite securite;
  TClassCryptageClientServeur chiffreur;
  TypeMessageRecu message;
  TypeLecture Lire(const std::string& octets = {}) {
    file.Ajouter(octets.data(), octets.size());
    return Trame::Lire(file, securite, chiffreur, message);
  }
};

}  // namespace

TEST(Trame, AFrameIsTheHeaderThenTheLevel9ZlibStreamOfTheInnerMessage) {
  std::string trame;
  ASSERT_TRUE(Trame::Construire({0x01020304, 2}, 0x70001, "abc", 3, 0, trame));
  ASSERT_GE(trame.size(), 6u);
  EXPECT_EQ(trame.substr(0, 2), std::string("\x01\x01", 2));
  uint32_t l;
  std::memcpy(&l, trame.data() + 2, 4);
  EXPECT_EQ(l, trame.size() - 6);
  EXPECT_EQ(trame.substr(6), Zlib(std::string("\x01\x00\x01\x00\x07\x00\x04\x03\x02\x01\x02\x03\x00\x00\x00" "abc", 18)));
  // A version byte given by the sender heads the inner message.
  ASSERT_TRUE(Trame::Construire({}, 5, nullptr, 0, 7, trame));
  EXPECT_EQ(Inflater(trame.substr(6), 64)[0], 7);
  // Data beyond the limit is not sent.
  EXPECT_FALSE(Trame::Construire({}, 5, nullptr, Trame::kTailleMaximale + 1, 0, trame));
  EXPECT_TRUE(trame.empty());
}

TEST(Trame, TheQueueReadsAcrossChunksAndGoesBackToItsMark) {
  TBufferDynamique f;
  f.Ajouter("ab", 2);
  f.Ajouter("", 0);
  f.Ajouter("cde", 3);
  EXPECT_EQ(f.NombreMorceaux(), 2u);
  char z[8] = {};
  f.Marquer();
  ASSERT_TRUE(f.Lire(z, 3));
  EXPECT_EQ(std::string(z, 3), "abc");
  EXPECT_FALSE(f.Lire(z, 3));  // only 2 left: nothing read
  EXPECT_EQ(f.Disponible(), 2u);
  f.RevenirMarque();
  EXPECT_EQ(f.Disponible(), 5u);
  ASSERT_TRUE(f.Lire(z, 3));
  f.ValiderLecture();  // the first chunk was wholly read
  EXPECT_EQ(f.NombreMorceaux(), 1u);
  f.RevenirMarque();  // no mark any more: stays
  ASSERT_TRUE(f.Lire(z, 2));
  EXPECT_EQ(std::string(z, 2), "de");
  f.ValiderLecture();
  EXPECT_EQ(f.NombreMorceaux(), 0u);
  EXPECT_TRUE(f.EstVide());
  f.Ajouter("xy", 2);
  f.Vider();
  EXPECT_TRUE(f.EstVide());
}

TEST(Trame, OneFrameOverThreeReadsComesOutOnceAfterTheThird) {
  const std::string trame = TrameClaire(Interieur(0x90001, 9, 2, "ordre", 5));
  Lecteur l;
  EXPECT_EQ(l.Lire(trame.substr(0, 1)), TypeLecture::Incomplet);
  EXPECT_EQ(l.Lire(trame.substr(1, 7)), TypeLecture::Incomplet);
  EXPECT_EQ(l.file.Disponible(), 8u);  // nothing consumed
  EXPECT_EQ(l.Lire(trame.substr(8)), TypeLecture::Fait);
  EXPECT_EQ(l.message.Id, 0x90001u);
  EXPECT_EQ(l.message.Adresse, (TypeAdresseMessage{9, 2}));
  EXPECT_EQ(l.message.Donnees, "ordre");
  EXPECT_TRUE(l.file.EstVide());
  EXPECT_EQ(l.file.NombreMorceaux(), 0u);
  EXPECT_EQ(l.Lire(), TypeLecture::Incomplet);
}

TEST(Trame, BytesThatAreNotAFrameAreCorruptAndEmptyTheQueue) {
  const std::string bonne = TrameClaire(Interieur(0x90001, 1, 2, "ordre", 5));
  const std::string zlibBonne = bonne.substr(6);
  std::string bombe = Interieur(0x90001, 1, 2, std::string(Trame::kTailleMaximale + 100, '\0'), Trame::kTailleMaximale);
  const std::tuple<const char*, std::string> cas[] = {
      {"version 2", Entete(2, 1, static_cast<uint32_t>(zlibBonne.size())) + zlibBonne},
      {"frame kind 3", Entete(1, 3, static_cast<uint32_t>(zlibBonne.size())) + zlibBonne},
      {"length 0xA00001", Entete(1, 1, 0xA00001)},
      {"negative length", Entete(1, 1, 0xFFFFFFFF)},
      {"not a zlib stream", Entete(1, 1, 5) + "hello"},
      {"inner message shorter than its header", TrameClaire(std::string(14, '\x01'))},
      {"data shorter than announced", TrameClaire(Interieur(0x90001, 1, 2, "ordre", 6))},
      {"data longer than announced", TrameClaire(Interieur(0x90001, 1, 2, "ordre", 4))},
      {"announced data above the limit", TrameClaire(Interieur(0x90001, 1, 2, "", Trame::kTailleMaximale + 1))},
      {"inflating past the limit", TrameClaire(bombe)},
      {"bytes after the zlib stream", Entete(1, 1, static_cast<uint32_t>(zlibBonne.size() + 1)) + zlibBonne + "!"},
  };
  for (const auto& [nom, octets] : cas) {
    Lecteur l;
    EXPECT_EQ(l.Lire(octets + bonne), TypeLecture::Corrompu) << nom;
    EXPECT_TRUE(l.file.EstVide()) << nom;  // the valid frame behind it went too
  }
}

// A small frame announcing a large message is found short before its buffer grows beyond a piece.
TEST(Trame, AnAnnouncedSizeCostsNothingBeforeTheDataInflates) {
  Lecteur l;
  EXPECT_EQ(l.Lire(TrameClaire(Interieur(0x90001, 1, 2, "", 10 * 1024 * 1024))), TypeLecture::Corrompu);
  EXPECT_LT(l.message.Donnees.capacity(), 256u * 1024u);
}

TEST(Trame, TheLengthLimitIs0xA00000) {
  Lecteur l;
  const std::string z = FluxStocke(Trame::kTailleMaximale, 161);
  ASSERT_EQ(z.size(), Trame::kTailleMaximale);
  EXPECT_EQ(l.Lire(Entete(1, 1, Trame::kTailleMaximale) + z), TypeLecture::Fait);
  EXPECT_EQ(l.message.Donnees.size(), Trame::kTailleMaximale - 6 - 5 * 161 - 15);
  EXPECT_EQ(l.Lire(Entete(1, 1, Trame::kTailleMaximale + 1) + z + "x"), TypeLecture::Corrompu);
}

TEST(Trame, EncipheredFramesNeedTheEncipheredModeAndClearOnesOnlyCarryTheKeepAliveThere) {
  std::string claire;
  ASSERT_TRUE(Trame::Construire({3, 2}, 0x90001, "ordre", 5, 0, claire));
  std::string keepAlive;
  ASSERT_TRUE(Trame::Construire({3, 2}, 0, nullptr, 0, 0, keepAlive));
  TClassCryptageClientServeur chiffreur;
  const TypeSecurite session{Trame::kModeChiffre, std::string("k\0y", 3)};
  std::string chiffree = claire;
  ASSERT_TRUE(Trame::Chiffrer(session, chiffreur, chiffree));
  ASSERT_EQ(chiffree[1], 2);
  uint32_t l;
  std::memcpy(&l, chiffree.data() + 2, 4);
  EXPECT_EQ(l, TClassCryptageClientServeur::TailleBloc(static_cast<uint32_t>(claire.size())));
  // A frame whose enciphered block would pass the length limit is not sent, though the frame keeps to it.
  std::string grande(Trame::kTailleMaximale - 8, 'x');
  EXPECT_FALSE(Trame::Chiffrer(session, chiffreur, grande));
  std::string inchangee = claire;
  ASSERT_TRUE(Trame::Chiffrer(TypeSecurite{}, chiffreur, inchangee));
  EXPECT_EQ(inchangee, claire);

  {  // mode 1: the enciphered frame is dropped, the clear one behind it read, even under the right phrase
    Lecteur l;
    l.securite.PhraseSecrete = session.PhraseSecrete;
    EXPECT_EQ(l.Lire(chiffree + claire), TypeLecture::FaitRien);
    EXPECT_EQ(l.Lire(), TypeLecture::Fait);
    EXPECT_EQ(l.message.Donnees, "ordre");
  }
  {  // mode 2: clear messages are dropped, the keep-alive passes, the enciphered frame is read
    Lecteur l;
    l.securite = session;
    std::string videAvecDonnees;  // kind 0 carrying data is no keep-alive
    ASSERT_TRUE(Trame::Construire({3, 2}, 0, "x", 1, 0, videAvecDonnees));
    EXPECT_EQ(l.Lire(claire + videAvecDonnees + keepAlive + chiffree), TypeLecture::FaitRien);
    EXPECT_EQ(l.Lire(), TypeLecture::FaitRien);
    EXPECT_EQ(l.Lire(), TypeLecture::Fait);
    EXPECT_EQ(l.message.Id, 0u);
    EXPECT_EQ(l.Lire(), TypeLecture::Fait);
    EXPECT_EQ(l.message.Donnees, "ordre");
    EXPECT_EQ(l.message.Adresse, (TypeAdresseMessage{3, 2}));
  }
  {  // a tampered block is dropped; so is one under another key; the next frame is read
    Lecteur l;
    l.securite = session;
    std::string alteree = chiffree;
    alteree[6 + 30] ^= 1;
    EXPECT_EQ(l.Lire(alteree + chiffree), TypeLecture::FaitRien);
    EXPECT_EQ(l.Lire(), TypeLecture::Fait);
    l.securite.PhraseSecrete = "k";
    EXPECT_EQ(l.Lire(chiffree), TypeLecture::FaitRien);
  }
  // A block that deciphers but does not hold exactly one kind-1 frame is corrupt.
  const std::tuple<const char*, std::string> cas[] = {
      {"short", "\x01\x01"},
      {"version 2 inside", std::string("\x02") + claire.substr(1)},
      {"kind 2 inside", std::string("\x01\x02") + claire.substr(2)},
      {"length beyond the plain text", claire + "!"},
      {"length short of the plain text", claire.substr(0, claire.size() - 1)},
  };
  for (const auto& [nom, clair] : cas) {
    Lecteur l;
    l.securite = session;
    chiffreur.PhraseSecrete = session.PhraseSecrete;
    const std::string bloc = chiffreur.Chiffrer(clair);
    EXPECT_EQ(l.Lire(Entete(1, 2, static_cast<uint32_t>(bloc.size())) + bloc + claire), TypeLecture::Corrompu) << nom;
  }
}
