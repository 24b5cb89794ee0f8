// Row-number arrays: the ordered set and the positional sequence against plain models, growth and
// shrinking by whole pages, the stream form and its corruptions, the traces.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <set>
#include <vector>

#include "objectdb/arrays/TableauIndices.h"

namespace {

std::vector<uint32_t> Valeurs(const TTableauIndices& t) {
  std::vector<uint32_t> v;
  for (int32_t p = 1; p <= t.NombreElements(); ++p) v.push_back(t.Elements(p));
  return v;
}

int32_t PagesPour(int32_t n, int32_t page) { return (n + page - 1) / page * page; }

std::vector<uint8_t> Octets(TCustomFormatter& f) { return static_cast<TMemoryStream*>(f.Flux())->Bytes(); }

}  // namespace

TEST(TableauIndices, AsAnOrderedSetItMatchesASetAndHoldsWholePagesOnly) {
  std::mt19937 alea(12);
  for (int32_t page : {1, 3, 16}) {
    TTableauIndices t(page);
    std::set<uint32_t> modele;
    for (int i = 0; i < 4000; ++i) {
      // A small range gives many duplicates and misses; the top values check the unsigned order.
      uint32_t v = alea() % 200;
      if (v >= 190) v = 0x7FFFFFF0u + v;
      if (alea() % 3 != 0) {
        EXPECT_EQ(t.Ajouter(v), modele.insert(v).second);
      } else {
        EXPECT_EQ(t.Supprimer(v), modele.erase(v) == 1);
      }
      ASSERT_EQ(t.NombreMaxElements(), PagesPour(t.NombreElements(), page)) << "step " << i;
    }
    EXPECT_EQ(Valeurs(t), std::vector<uint32_t>(modele.begin(), modele.end()));
  }
}

TEST(TableauIndices, AsASequenceItMatchesAVectorAndRefusesPositionsOutside) {
  std::mt19937 alea(7);
  TTableauIndices t(4);
  std::vector<uint32_t> modele;
  for (int i = 0; i < 3000; ++i) {
    const auto n = static_cast<int32_t>(modele.size());
    const int32_t position = static_cast<int32_t>(alea() % static_cast<uint32_t>(n + 4)) - 1;  // -1 .. n + 2
    if (alea() % 2 == 0 || n > 60) {
      const bool accepte = position >= 1 && position <= n;
      EXPECT_EQ(t.SupprimerIndice(position), accepte);
      if (accepte) modele.erase(modele.begin() + (position - 1));
    } else {
      const uint32_t v = alea();
      EXPECT_EQ(t.Inserer(v, position), position >= 1);
      if (position > n) modele.resize(static_cast<std::size_t>(position - 1), 0);
      if (position >= 1) modele.insert(modele.begin() + (position - 1), v);
    }
    ASSERT_EQ(Valeurs(t), modele) << "step " << i;
    ASSERT_GE(t.NombreMaxElements(), t.NombreElements());
  }
  EXPECT_EQ(t.Elements(0), 0u);
  EXPECT_EQ(t.Elements(t.NombreElements() + 1), 0u);
}

TEST(TableauIndices, CapacityMovesByOnePageAtTheBoundaries) {
  TTableauIndices t(16);
  EXPECT_EQ(t.NombreMaxElements(), 0);
  EXPECT_TRUE(t.Ajouter(5));
  EXPECT_EQ(t.NombreMaxElements(), 16);
  EXPECT_FALSE(t.Ajouter(5));
  EXPECT_EQ(t.NombreElements(), 1);
  EXPECT_EQ(t.NombreMaxElements(), 16);
  EXPECT_TRUE(t.Supprimer(5));
  EXPECT_EQ(t.NombreMaxElements(), 0);  // the only element's page is given back
  EXPECT_FALSE(t.Supprimer(5));
  for (uint32_t v = 1; v <= 17; ++v) t.Ajouter(v);
  EXPECT_EQ(t.NombreMaxElements(), 32);
  EXPECT_TRUE(t.SupprimerIndice(17));
  EXPECT_EQ(t.NombreElements(), 16);
  EXPECT_EQ(t.NombreMaxElements(), 16);
  // Inserting past the end grows by as many pages as the position needs, filling with zeros.
  EXPECT_TRUE(t.Inserer(99, 40));
  EXPECT_EQ(t.NombreElements(), 40);
  EXPECT_EQ(t.NombreMaxElements(), 48);
  EXPECT_EQ(t.Elements(17), 0u);
  EXPECT_EQ(t.Elements(40), 99u);
  EXPECT_FALSE(t.Inserer(1, 0));
  t.Vider();
  EXPECT_EQ(t.NombreMaxElements(), 0);
  EXPECT_EQ(t.TaillePage(), 16);
}

TEST(TableauIndices, AssignerCopiesCountCapacityAndValuesButNotThePage) {
  TTableauIndices source(4), cible(16);
  for (uint32_t v : {9u, 1u, 5u, 7u, 3u}) source.Ajouter(v);
  cible.Ajouter(100);
  cible.Assigner(source);
  EXPECT_EQ(Valeurs(cible), (std::vector<uint32_t>{1, 3, 5, 7, 9}));
  EXPECT_EQ(cible.NombreMaxElements(), 8);
  EXPECT_EQ(cible.TaillePage(), 16);
}

TEST(TableauIndicesStream, TheCountThenTheValuesLittleEndianInBothFormatters) {
  TTableauIndices t(16);
  for (uint32_t v : {12u, 3u, 0x80000007u}) t.Ajouter(v);
  TBinaryFormatter simple;
  t.Ecrire(&simple, nullptr);
  EXPECT_EQ(Octets(simple), (std::vector<uint8_t>{3, 0, 0, 0, 3, 0, 0, 0, 12, 0, 0, 0, 7, 0, 0, 0x80}));
  TBinaryFormatterWithSize avecTaille;
  t.Ecrire(&avecTaille, nullptr);
  EXPECT_EQ(Octets(avecTaille), (std::vector<uint8_t>{3, 0, 0, 0, 12, 0, 0, 0, 3, 0, 0, 0, 12, 0, 0, 0, 7, 0, 0, 0x80}));

  TTableauIndices vide(16);
  TBinaryFormatterWithSize f;
  vide.Ecrire(&f, nullptr);
  EXPECT_EQ(Octets(f), (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(TableauIndicesStream, AnArrayReadByClassNameGetsPagesOfSixteen) {
  for (int32_t nombre : {0, 16, 17}) {
    TTableauIndices t(5);
    for (int32_t i = 0; i < nombre; ++i) t.Ajouter(static_cast<uint32_t>(i * 3));
    TBinaryFormatterWithSize f;
    f.EcrireObjet(&t, nullptr);
    f.SetPosition(0);
    std::unique_ptr<TObject> objet(f.LireObjet(nullptr));
    auto& lu = dynamic_cast<TTableauIndices&>(*objet);
    EXPECT_EQ(Valeurs(lu), Valeurs(t));
    EXPECT_EQ(lu.TaillePage(), 16);
    EXPECT_EQ(lu.NombreMaxElements(), PagesPour(nombre, 16));
    EXPECT_TRUE(lu.GetTraceActive());
  }
}

TEST(TableauIndicesStream, CorruptCountsAreRefusedAndTheArrayKeptAsItWas) {
  const std::vector<std::vector<uint8_t>> corrompus = {
      {0xFF, 0xFF, 0xFF, 0xFF},                    // negative count
      {0xFF, 0xFF, 0xFF, 0x7F, 1, 0, 0, 0},        // a count far beyond the bytes there
      {2, 0, 0, 0, 1, 0, 0, 0},                    // two values announced, one there
      {1, 0},                                      // the count cut short
  };
  for (const auto& octets : corrompus) {
    TTableauIndices t(16);
    t.Ajouter(42);
    TMemoryStream m;
    m.Assign(octets.data(), octets.size());
    TBinaryFormatter f(&m);
    EXPECT_THROW(t.Lire(&f, nullptr), EReadError);
    EXPECT_EQ(Valeurs(t), std::vector<uint32_t>{42});
  }
  // The sized formatter: a zone whose stored size is not the count's.
  const std::vector<uint8_t> taille = {1, 0, 0, 0, 8, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0};
  TMemoryStream m;
  m.Assign(taille.data(), taille.size());
  TBinaryFormatterWithSize f(&m);
  TTableauIndices t(16);
  EXPECT_THROW(t.Lire(&f, nullptr), EReadError);
  EXPECT_EQ(t.NombreElements(), 0);
}

TEST(TableauIndicesTrace, HeaderLinesAndTheContentWithAndWithoutDetail) {
  TTableauIndices t(16);
  for (uint32_t v : {3u, 7u, 12u}) t.Ajouter(v);
  TCustomTraceur traceur("");
  std::string texte;
  t.TracerContenu(false, &traceur, texte);
  EXPECT_EQ(texte, "Elements = [3, 7, 12]");
  t.TracerEntete(&traceur, texte);
  EXPECT_EQ(texte, "TaillePage = 16\r\nNombreMaxElements = 16\r\nNombreElements = 3\r\n");
  t.Supprimer(7);
  t.Supprimer(12);
  t.TracerComplet(true, &traceur, texte);
  EXPECT_EQ(texte, "TTableauIndices\r\n  TaillePage = 16\r\n  NombreMaxElements = 16\r\n  NombreElements = 1\r\n"
                   "  CARDINAL\r\n    Valeur = 3\r\n");
  t.Vider();
  t.TracerContenu(false, &traceur, texte);
  EXPECT_EQ(texte, "Elements = []");
  t.SetTraceActive(false);
  t.TracerComplet(true, &traceur, texte);
  EXPECT_EQ(texte, "");
  t.TracerContenu(false, &traceur, texte);
  EXPECT_EQ(texte, "");
}
