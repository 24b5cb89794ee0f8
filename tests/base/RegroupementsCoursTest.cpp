// Course groupings: names of 8 characters, unique in any case, and default contents that only the
// server creates.
#include "BaseEssai.h"
#include "base/fichiers/SupRegroupementCours.h"
#include "core/records/Xi.h"

namespace {

constexpr int32_t kTable = 26;

using RegroupementsCoursEssai = BaseOuverte;

TEST_F(RegroupementsCoursEssai, NamesAreCutToEightCharactersAndUnique) {
  std::vector<uint8_t> long_ = Chaine("Groupe A", 8);
  long_[0] = 200;  // a length past the field: the name is cut
  Recevoir(OrdreRecu(GM_Creation, kTable, 9, long_));
  Recevoir(OrdreRecu(GM_Creation, kTable, 18, Chaine("groupe a", 8)));
  Recevoir(OrdreRecu(GM_Creation, kTable, 27, Chaine("Autre", 8)));
  EXPECT_EQ(Xi::Nombre(SupRegroupementCours::Fichier().Table), 2u) << "names differing only in case are one name";
  ASSERT_TRUE(SupRegroupementCours::Fichier().ChercherParIdentifiant(9));
  EXPECT_EQ(FichierSup::LireChaineCourte(SupRegroupementCours::Article()->Nom, 8), "Groupe A");
  std::vector<uint8_t> stocke(SupRegroupementCours::kTailleStockee);
  ASSERT_TRUE(SupRegroupementCours::Fichier().EcrireArticleStocke(stocke.data(), 9, GM_Modification));
  EXPECT_EQ(stocke, Chaine("Groupe A", 8));
}

TEST_F(RegroupementsCoursEssai, DefaultGroupingsAreTheServersToCreate) {
  client_.Serveur = [](const RequeteEnvoyee&, void*) { return true; };
  EXPECT_TRUE(SupRegroupementCours::CreerRegroupementsCoursParDefaut());
  ASSERT_EQ(client_.Envoyees.size(), 1u);
  EXPECT_EQ(client_.Envoyees[0].Code, 0x80180000u);
  EXPECT_TRUE(client_.Envoyees[0].Donnees.empty());
  client_.Exclusif = true;
  EXPECT_TRUE(SupRegroupementCours::CreerRegroupementsCoursParDefaut());
  EXPECT_EQ(Xi::Nombre(SupRegroupementCours::Fichier().Table), 0u);
}

}  // namespace
