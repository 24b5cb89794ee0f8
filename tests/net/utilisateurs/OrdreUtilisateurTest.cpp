// The server's orders on the user base: creation, change and deletion in each of the four tables
// through the base's own operations (subscribers told, hooks run around), orders on records that do
// not exist, short or unknown orders, and the table position kept.
#include <cstring>
#include <string>
#include <vector>

#include "core/records/Xi.h"
#include "core/serial/Serialisation.h"
#include "net/protocol/PetitBoutiste.h"
#include "net/utilisateurs/OrdreUtilisateur.h"
#include "net/utilisateurs/ProfilServeur.h"
#include "tests/net/utilisateurs/UtilisateursFixture.h"

namespace {

using namespace BaseUtilisateurs;
using Octets = std::vector<uint8_t>;

Octets Ordre(TypeGenreModif genre, uint32_t table, uint32_t ident, const Octets& enregistrement = {}) {
  Octets o(OrdreUtilisateur::kTailleEntete);
  o[0] = genre;
  PetitBoutiste::EcrireCardinal(o.data() + 1, table);
  PetitBoutiste::EcrireCardinal(o.data() + 5, ident);
  o.insert(o.end(), enregistrement.begin(), enregistrement.end());
  return o;
}

Octets UtilisateurSimple(uint32_t ident, const std::string& nom, const std::string& code) {
  TBinaryFormatter f(nullptr);
  f.EcrireCardinal(ident);
  f.EcrireChaine(nom);
  f.EcrireChaine(code);
  f.EcrireChaine("login" + code);
  f.EcrireChaine(TMotDePasse("secret").GetCode());
  f.EcrireBooleen(true);
  f.EcrireChaine("texte");
  f.EcrireBooleen(false);
  return Octets(f.GetTampon(), f.GetTampon() + f.GetTaille());
}

Octets ProfilUtilisateur(uint32_t ident, const std::string& nom, uint8_t genre) {
  Octets o(OrdreUtilisateur::kTailleProfilUtilisateur, 0);
  PetitBoutiste::EcrireCardinal(o.data(), ident);
  o[4] = uint8_t(nom.size());
  std::memcpy(o.data() + 5, nom.data(), nom.size());
  o[37] = genre;
  o[38 + 1] = 0x80;  // right 15
  return o;
}

bool Appliquer(const Octets& o) { return OrdreUtilisateur::Appliquer(o.data(), int32_t(o.size())); }

class OrdreUtilisateurTest : public BaseUtilisateursTest {
 protected:
  void TearDown() override {
    OrdreUtilisateur::Avant() = nullptr;
    OrdreUtilisateur::Apres() = nullptr;
    BaseUtilisateursTest::TearDown();
  }
};

TEST_F(OrdreUtilisateurTest, OrdersCreateChangeAndDeleteInEachTable) {
  std::vector<std::string> crochets;
  OrdreUtilisateur::Avant() = [&](int32_t t, TypeGenreModif g) { crochets.push_back("avant" + std::to_string(t * 10 + g)); };
  OrdreUtilisateur::Apres() = [&](int32_t t, TypeGenreModif g) { crochets.push_back("apres" + std::to_string(t * 10 + g)); };

  ASSERT_TRUE(Appliquer(Ordre(GM_Creation, 2, 40, UtilisateurSimple(40, "Martin", "MAR"))));
  ASSERT_TRUE(ChercherUtilisateurParIdent(40));
  EXPECT_EQ(Utilisateurs()->Nom.Texte(), "Martin");
  EXPECT_EQ(Utilisateurs()->Login.Texte(), "loginMAR");
  EXPECT_EQ(Utilisateurs()->Drapeau, 1);
  ASSERT_TRUE(Appliquer(Ordre(GM_Modification, 2, 40, UtilisateurSimple(40, "Martine", "MAR"))));
  ASSERT_TRUE(ChercherUtilisateurParIdent(40));
  EXPECT_EQ(Utilisateurs()->Nom.Texte(), "Martine");

  ASSERT_TRUE(Appliquer(Ordre(GM_Creation, 3, 7, ProfilUtilisateur(7, "Saisie", kGenreModification))));
  ASSERT_TRUE(ChercherProfilUtilisateur(7));
  EXPECT_EQ(GroupesUtilisateurs()->Nom.Texte(), "Saisie");
  EXPECT_EQ(GroupesUtilisateurs()->Droits[1], 0x80);

  TypeProfilServeur ps = UnProfilServeur(3, "Principal");
  ASSERT_TRUE(Appliquer(Ordre(GM_Creation, 1, 3, Octets(ps.Octets, ps.Octets + kTailleProfilServeur))));
  ps.DefinirNom("Renomme");
  ASSERT_TRUE(Appliquer(Ordre(GM_Modification, 1, 3, Octets(ps.Octets, ps.Octets + kTailleProfilServeur))));
  std::string nom;
  ProfilServeur::NomProfilServeur(3, nom);
  EXPECT_EQ(nom, "Renomme");

  Octets affectation(kTailleAffectation, 0);
  for (uint32_t i = 0, v[] = {9, 3, 7, 40}; i < 4; ++i) PetitBoutiste::EcrireCardinal(affectation.data() + 4 * i, v[i]);
  ASSERT_TRUE(Appliquer(Ordre(GM_Creation, 4, 9, affectation)));
  EXPECT_TRUE(ChercherAffectationDe(3, 40));
  ASSERT_TRUE(Appliquer(Ordre(GM_Suppression, 4, 9)));
  EXPECT_FALSE(ChercherAffectation(9));
  ASSERT_TRUE(Appliquer(Ordre(GM_Suppression, 2, 40)));
  EXPECT_FALSE(ChercherUtilisateurParIdent(40));

  EXPECT_EQ(crochets.front(), "avant20");
  EXPECT_EQ(crochets[1], "apres20");
  EXPECT_EQ(crochets.back(), "apres22");
  EXPECT_EQ(crochets.size(), 2u * 8);
}

TEST_F(OrdreUtilisateurTest, OrdersThatCannotApplyChangeNothing) {
  ASSERT_TRUE(CreerUtilisateur(UnUtilisateur(5, "ABC")));
  ASSERT_TRUE(CreerUtilisateur(UnUtilisateur(6, "DEF")));
  ASSERT_TRUE(ChercherUtilisateurParIdent(5));
  int appels = 0;
  OrdreUtilisateur::Avant() = [&](int32_t, TypeGenreModif) { ++appels; };
  const Octets cas[] = {
      Ordre(GM_Modification, 2, 99, UtilisateurSimple(99, "X", "XYZ")),  // unknown record
      Ordre(GM_Suppression, 3, 99),                                      // unknown record
      Ordre(GM_Creation, 5, 1, {1, 2, 3}),                               // unknown table
      Ordre(TypeGenreModif(3), 2, 6),                                    // unknown kind
      Octets{0, 2, 0, 0},                                                // short header
  };
  for (const auto& o : cas) EXPECT_FALSE(Appliquer(o));
  EXPECT_EQ(appels, 0);
  // A record cut short is refused by its reader: the hooks ran, nothing changed.
  Octets coupe = UtilisateurSimple(6, "Autre", "DEF");
  coupe.pop_back();
  EXPECT_FALSE(Appliquer(Ordre(GM_Modification, 2, 6, coupe)));
  EXPECT_FALSE(Appliquer(Ordre(GM_Creation, 3, 8, Octets(71, 0))));
  ASSERT_TRUE(ChercherUtilisateurParIdent(6));
  EXPECT_EQ(Utilisateurs()->Nom.Texte(), "Nom DEF");
  EXPECT_EQ(Xi::Nombre(Utilisateurs()), 2u);
}

TEST_F(OrdreUtilisateurTest, TheTablePositionIsKept) {
  ASSERT_TRUE(CreerUtilisateur(UnUtilisateur(5, "ABC")));
  ASSERT_TRUE(CreerUtilisateur(UnUtilisateur(6, "DEF")));
  ASSERT_TRUE(ChercherUtilisateurParIdent(5));
  ASSERT_TRUE(Appliquer(Ordre(GM_Modification, 2, 6, UtilisateurSimple(6, "Change", "DEF"))));
  EXPECT_EQ(Utilisateurs()->Identifiant, 5u);
}

}  // namespace
