// Modules, curricula and their relation: the two layouts of curricula, the unique label-and-code
// orders, relations converted between identifiers and record numbers, and their verification.
#include <string>
#include <vector>

#include "BaseEssai.h"
#include "base/fichiers/SupCursus.h"
#include "base/fichiers/SupModule.h"
#include "base/fichiers/SupRelationCursusModule.h"
#include "core/objects/Erreur.h"
#include "core/records/Xi.h"
#include "net/NetBases.h"

namespace {

constexpr int32_t kCursus = 14, kModules = 15, kRelations = 41;

std::vector<uint8_t> LibelleEtCode(const std::string& libelle, const std::string& code) {
  std::vector<uint8_t> s = Chaine(libelle, 30);
  const auto c = Chaine(code, 20);
  s.insert(s.end(), c.begin(), c.end());
  return s;
}

std::vector<uint8_t> Relation(int32_t cursus, int32_t module) {
  std::vector<uint8_t> s(8);
  std::memcpy(&s[0], &cursus, 4);
  std::memcpy(&s[4], &module, 4);
  return s;
}

class ModulesCursusEssai : public BaseOuverte {
 protected:
  void SetUp() override {
    BaseOuverte::SetUp();
    NetClient::AfficherMessageTemporise() = [this](const std::string& texte, const std::string&, int32_t, int32_t,
                                                   int32_t, bool) { messages_.push_back(texte); };
    Recevoir(OrdreRecu(GM_Creation, kCursus, 52, LibelleEtCode("Licence", "L1")));
    Recevoir(OrdreRecu(GM_Creation, kModules, 52, LibelleEtCode("Analyse", "M1")));
    Recevoir(OrdreRecu(GM_Creation, kModules, 104, LibelleEtCode("Algebre", "M2")));
  }
  void TearDown() override {
    NetClient::AfficherMessageTemporise() = nullptr;
    NetBases::BaseAnterieure506() = false;
    SupFichiers::VersionBase() = {};
    BaseOuverte::TearDown();
  }
  std::vector<std::string> messages_;
};

TEST_F(ModulesCursusEssai, ALabelOrACodeMayRepeatButNotBoth) {
  Recevoir(OrdreRecu(GM_Creation, kModules, 156, LibelleEtCode("Analyse", "M3")));
  Recevoir(OrdreRecu(GM_Creation, kModules, 208, LibelleEtCode("Geometrie", "M1")));
  Recevoir(OrdreRecu(GM_Creation, kModules, 260, LibelleEtCode("analyse", "m1")));
  EXPECT_EQ(Xi::Nombre(SupModule::Fichier().Table), 4u);
  ASSERT_TRUE(SupModule::Fichier().ChercherParIdentifiant(156));
  EXPECT_EQ(SupModule::Article()->Affiche, 1) << "a loaded record is shown";
}

TEST_F(ModulesCursusEssai, CurriculaOfOldBasesHaveTheirLabelAlone) {
  // version, base older than 5.0.6, stored size registered
  const struct {
    TypeVersionFormat version;
    bool ancienne;
    uint32_t taille;
  } cas[] = {{{4, 0, 98, 7}, true, 31}, {{4, 0, 99, 0}, true, 52}, {{4, 0, 98, 0}, false, 52}};
  for (const auto& c : cas) {
    SupFichiers::VersionBase() = c.version;
    NetBases::BaseAnterieure506() = c.ancienne;
    ASSERT_TRUE(SupFichiers::EnregistrerTousLesFichiers());
    EXPECT_EQ(NetXi::Table(kCursus)->TailleStockee, c.taille) << c.version.Revision;
    EXPECT_EQ(NetXi::Table(kModules)->TailleStockee, 52u);
  }
  SupFichiers::VersionBase() = {4, 0, 50, 0};
  NetBases::BaseAnterieure506() = true;
  ASSERT_TRUE(SupFichiers::EnregistrerTousLesFichiers());
  std::vector<uint8_t> ancien = Chaine("Master", 30);
  Recevoir(OrdreRecu(GM_Creation, kCursus, 62, ancien));
  ASSERT_TRUE(SupCursus::Fichier().ChercherParIdentifiant(62));
  EXPECT_EQ(FichierSup::LireChaineCourte(SupCursus::Article()->Libelle, 30), "Master");
  EXPECT_EQ(SupCursus::Article()->Code[0], 0);
  EXPECT_EQ(SupCursus::Article()->Affiche, 1);
  // The writer writes the current layout: into the buffer of an older, smaller layout it writes
  // nothing but zeros (the buffer's own size), and registered in the current layout it writes it all.
  TypeTableReseau* entree = NetXi::Table(kCursus);
  ASSERT_EQ(entree->TailleStockee, 31u);
  std::vector<uint8_t> ancienTampon(31, 0xAA);
  EXPECT_FALSE(entree->EcrireArticleStocke(ancienTampon.data(), SupCursus::Fichier().Table, 52, GM_Modification));
  EXPECT_EQ(ancienTampon, std::vector<uint8_t>(31, 0));
  SupFichiers::VersionBase() = {4, 0, 99, 0};
  ASSERT_TRUE(SupFichiers::EnregistrerTousLesFichiers());
  entree = NetXi::Table(kCursus);
  ASSERT_TRUE(SupCursus::Fichier().ChercherParIdentifiant(62));
  uint8_t stocke[52];
  ASSERT_TRUE(entree->EcrireArticleStocke(stocke, SupCursus::Fichier().Table, 52, GM_Modification));
  EXPECT_EQ(std::vector<uint8_t>(stocke, stocke + 52), LibelleEtCode("Master", ""));
}

TEST_F(ModulesCursusEssai, RelationsNameTheirSidesByRecordNumber) {
  Recevoir(OrdreRecu(GM_Creation, kRelations, 8, Relation(52, 104)));
  Recevoir(OrdreRecu(GM_Creation, kRelations, 16, Relation(52, 104)));  // linked twice
  Recevoir(OrdreRecu(GM_Creation, kRelations, 24, Relation(52, 999)));  // unknown module
  EXPECT_EQ(Xi::Nombre(SupRelationCursusModule::Fichier().Table), 1u);
  EXPECT_EQ(messages_.size(), 1u) << "the unknown module refuses the order";
  TFichierSup& relations = SupRelationCursusModule::Fichier();
  ASSERT_TRUE(relations.ChercherParIdentifiant(8));
  EXPECT_EQ(SupRelationCursusModule::Article()->Cursus, 1u);
  EXPECT_EQ(SupRelationCursusModule::Article()->Module, 2u);

  TypeTableReseau* entree = NetXi::Table(kRelations);
  ASSERT_TRUE(entree->EcrireArticleStocke(entree->Tampon, relations.Table, 8, GM_Modification));
  EXPECT_EQ(std::vector<uint8_t>(entree->Tampon, entree->Tampon + 8), Relation(52, 104));
  Recevoir(OrdreRecu(GM_Suppression, kModules, 104, {}));
  ASSERT_TRUE(relations.ChercherParIdentifiant(8));
  ASSERT_TRUE(entree->EcrireArticleStocke(entree->Tampon, relations.Table, 8, GM_Modification));
  EXPECT_EQ(std::vector<uint8_t>(entree->Tampon, entree->Tampon + 8), Relation(52, 0))
      << "a module that is gone is stored as 0, which no reader accepts";
}

TEST_F(ModulesCursusEssai, ARelationWhoseCurriculumIsGoneFailsVerification) {
  Recevoir(OrdreRecu(GM_Creation, kRelations, 8, Relation(52, 52)));
  Recevoir(OrdreRecu(GM_Creation, kRelations, 16, Relation(52, 104)));
  TVerificateurNetXi* verificateur = SupRelationCursusModule::Fichier().Verificateur();
  ASSERT_NE(dynamic_cast<TVerificateurRelationCursusModule*>(verificateur), nullptr);
  TErreur* erreur = nullptr;
  verificateur->Verifier(0, erreur);
  EXPECT_EQ(erreur, nullptr);
  Recevoir(OrdreRecu(GM_Suppression, kCursus, 52, {}));
  verificateur->Verifier(0, erreur);
  ASSERT_NE(erreur, nullptr);
  ASSERT_EQ(erreur->NombreFils(), 1);
  auto* articles = static_cast<TErreur*>(erreur->Fils(0));
  EXPECT_EQ(articles->Message, "Erreur Verification Articles : TVerificateurRelationCursusModule");
  ASSERT_EQ(articles->NombreFils(), 1) << "the walk stops at the first broken relation";
  EXPECT_EQ(static_cast<TErreur*>(articles->Fils(0))->Message, "Erreur sur la RelationCursusModule numero = 1");
  delete erreur;
}

}  // namespace
