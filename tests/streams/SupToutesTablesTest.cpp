#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "base/SupFichiers.h"
#include "core/records/Xi.h"
#include "core/serial/Streams.h"
#include "streams/SupToutesTables.h"

namespace {

using SupToutesTables::TypeMemo;

class Memos : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SupToutesTables::CreerToutesLesTables()); }
  void TearDown() override { SupToutesTables::LibererToutesLesTables(); }
  static TypeMemo& Tampon() { return *static_cast<TypeMemo*>(SupToutesTables::TableMemos()); }
  static void Ajouter(uint32_t Numero, char Lettre) {
    std::memset(&Tampon(), 0, sizeof(TypeMemo));
    Tampon().Numero = Numero;
    std::memset(Tampon().Texte1, Lettre, 10);
    Tampon().Texte2[999] = static_cast<uint8_t>(Lettre);
    ASSERT_TRUE(Xi::Inserer(SupToutesTables::TableMemos()));
  }
  static std::vector<TypeMemo> Tous() {
    std::vector<TypeMemo> v;
    void* t = SupToutesTables::TableMemos();
    for (bool e = Xi::Premier(t, 0); e; e = Xi::Suivant(t, 0)) v.push_back(Tampon());
    return v;
  }
};

TEST_F(Memos, WritingAndReadingBackGivesTheSameMemos) {
  Ajouter(7, 'x');
  Ajouter(3, 'y');
  const std::vector<TypeMemo> avant = Tous();
  TMemoryStream m;
  ASSERT_TRUE(SupToutesTables::EcrireMemos(m));
  EXPECT_EQ(m.Size(), 8 + 2 * 2004);
  ASSERT_TRUE(SupToutesTables::CreerToutesLesTables());
  m.SetPosition(0);
  ASSERT_TRUE(SupToutesTables::LireMemos(m, 5, 0, 6));
  const std::vector<TypeMemo> apres = Tous();
  ASSERT_EQ(apres.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) EXPECT_EQ(std::memcmp(&avant[i], &apres[i], sizeof(TypeMemo)), 0);
}

TEST_F(Memos, AnOldMemoSpreadsItsFirstHalfOverTheFirstText) {
  for (bool avecTaille : {true, false}) {
    ASSERT_TRUE(SupToutesTables::CreerToutesLesTables());
    std::vector<uint8_t> v = {1, 0, 0, 0};
    if (avecTaille) v.insert(v.end(), {0xEC, 0x03, 0, 0});  // 1004
    v.insert(v.end(), {42, 0, 0, 0});
    v.insert(v.end(), 500, 'A');
    v.insert(v.end(), 500, 'B');
    TMemoryStream m;
    m.Assign(v.data(), v.size());
    ASSERT_TRUE(SupToutesTables::LireMemos(m, 3, avecTaille ? 1 : 0, avecTaille ? 0 : 10));
    const std::vector<TypeMemo> memos = Tous();
    ASSERT_EQ(memos.size(), 1u);
    EXPECT_EQ(memos[0].Numero, 42u);
    for (int i = 0; i < 1000; ++i) {
      const bool a = i <= 140 || (i >= 341 && i <= 392) || (i >= 593 && i <= 899);
      ASSERT_EQ(memos[0].Texte1[i], a ? 'A' : 0) << i;
      ASSERT_EQ(memos[0].Texte2[i], i < 500 ? 'B' : 0) << i;
    }
  }
}

TEST_F(Memos, ABadHeaderOrAShortStreamAnswersFalseKeepingWhatWasRead) {
  struct Cas {
    int32_t Nombre, Taille, Complets;  // whole memos present, then 10 more bytes
    std::size_t Lus;
  };
  for (const Cas& c : {Cas{1, 2000, 1, 0}, Cas{3, 2004, 1, 1}, Cas{-1, 2004, 0, 0}}) {
    ASSERT_TRUE(SupToutesTables::CreerToutesLesTables());
    std::vector<uint8_t> v(8, 0);
    std::memcpy(v.data(), &c.Nombre, 4);
    std::memcpy(v.data() + 4, &c.Taille, 4);
    for (int32_t i = 0; i < c.Complets; ++i) {
      std::vector<uint8_t> memo(2004, 0);
      memo[0] = static_cast<uint8_t>(i + 1);
      v.insert(v.end(), memo.begin(), memo.end());
    }
    v.insert(v.end(), 10, 0);
    TMemoryStream m;
    m.Assign(v.data(), v.size());
    // The announced memos lie beyond the end: there is nowhere to move to, and the answer is False.
    EXPECT_FALSE(SupToutesTables::LireMemos(m, 4, 0, 5)) << c.Nombre << " " << c.Taille;
    EXPECT_LE(m.Position(), m.Size());
    EXPECT_EQ(Tous().size(), c.Lus);
  }
}

TEST_F(Memos, UserSettingsAreTenBytesAndOldEightByteBlocksAreSpread) {
  auto& r = SupToutesTables::ReglagesUtilisateur();
  for (uint8_t i = 0; i < 10; ++i) r[i] = static_cast<uint8_t>(i + 1);
  TMemoryStream m;
  ASSERT_TRUE(SupToutesTables::EcrireReglagesUtilisateur(m));
  r.fill(0);
  m.SetPosition(0);
  ASSERT_TRUE(SupToutesTables::LireReglagesUtilisateur(m, 5, 0, 6));
  EXPECT_EQ(r[9], 10);

  const uint8_t ancien[] = {8, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8};
  m.Assign(ancien, sizeof ancien);
  ASSERT_TRUE(SupToutesTables::LireReglagesUtilisateur(m, 4, 0, 5));
  const std::array<uint8_t, 10> attendu = {1, 2, 0, 3, 4, 5, 6, 7, 8, 0};
  EXPECT_EQ(r, attendu);
  m.SetPosition(0);
  EXPECT_FALSE(SupToutesTables::LireReglagesUtilisateur(m, 3, 1, 0));
  EXPECT_EQ(m.Position(), 0);
}

TEST(ToutesLesTables, CreatingTwiceLeavesOneSetAndFreeingTwiceIsHarmless) {
  // The leak check of the test build fails the run when the first set is not freed.
  ASSERT_TRUE(SupToutesTables::CreerToutesLesTables());
  ASSERT_TRUE(SupToutesTables::CreerToutesLesTables());
  EXPECT_NE(SupFichiers::Fichier(1)->Table, nullptr);
  EXPECT_NE(SupToutesTables::TableMemos(), nullptr);
  SupToutesTables::LibererToutesLesTables();
  SupToutesTables::LibererToutesLesTables();
  EXPECT_EQ(SupFichiers::Fichier(1)->Table, nullptr);
  EXPECT_EQ(SupToutesTables::TableMemos(), nullptr);
}

}  // namespace
