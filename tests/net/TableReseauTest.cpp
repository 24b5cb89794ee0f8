// The table registry: registration and table numbers, change notifications, the count of a base's
// files on disk, and the received modification orders applied through a file's own routines.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/objects/Exceptions.h"
#include "core/records/Comparai.h"
#include "core/records/Xi.h"
#include "net/NetBases.h"
#include "net/NetClient.h"
#include "net/NetXi.h"
#include "net/netmodif.h"
#include "objectdb/Traduction.h"
#include "platform/ui/VclDialogue.h"

namespace {

// The test file: in memory an identifier and a name; stored, the name (counted string of 10) and a
// byte that makes the converter refuse the record.
struct Fiche {
  int32_t Identifiant;
  uint8_t Nom[11];
  uint8_t Libre;
};
constexpr uint32_t kTailleStockee = 12;

std::vector<uint8_t> Ordre(uint8_t genre, uint32_t table, int32_t identifiant, std::string_view nom,
                           bool refuser = false, std::size_t tailleStockee = kTailleStockee) {
  std::vector<uint8_t> m(9 + tailleStockee, 0);
  m[0] = genre;
  std::memcpy(&m[1], &table, 4);
  std::memcpy(&m[5], &identifiant, 4);
  if (tailleStockee >= 11) {
    m[9] = static_cast<uint8_t>(nom.size());
    std::memcpy(&m[10], nom.data(), nom.size());
  }
  if (tailleStockee >= 12) m[9 + 11] = refuser ? 1 : 0;
  return m;
}

class RegistreEssai : public ::testing::Test {
 protected:
  void SetUp() override {
    NetXi::LibererTables();
    Xi::Creer(table_, 0, sizeof(Fiche), 1);
    ASSERT_TRUE(Xi::DefinirOrdre(table_, 1, 1, false));
    ASSERT_TRUE(Xi::DefinirColonne(table_, 1, 1, &F().Identifiant, 4, &Comparai::ComparerEntierBis));
    TypeTableReseau e;
    e.Tampon = tampon_;
    e.Table = &table_;
    e.TailleStockee = kTailleStockee;
    e.Extension = ".ESSAI";
    e.LireArticleStocke = [this](uint8_t* s, void* t, int32_t id, TypeGenreModif g) {
      journal_.push_back("Lire " + std::to_string(g));
      if (g == GM_Suppression) return true;
      EXPECT_EQ(t, table_);
      std::memcpy(&F().Identifiant, &id, 4);
      std::memcpy(F().Nom, s, 11);
      return s[11] == 0;
    };
    e.AvantOrdre = [this](uint8_t*, void*, int32_t id, TypeGenreModif g) {
      journal_.push_back("Avant " + std::to_string(g) + " " + std::to_string(id));
    };
    e.ApresOrdre = [this](uint8_t*, void*, int32_t id, TypeGenreModif g) {
      journal_.push_back("Apres " + std::to_string(g) + " " + std::to_string(id));
    };
    e.SurModification1 = [this](TypeGenreModif g, int32_t t, int32_t id) {
      journal_.push_back("Modif1 " + std::to_string(g) + " " + std::to_string(t) + " " + std::to_string(id));
    };
    e.SurModification2 = [this](TypeGenreModif g, int32_t t, int32_t id) {
      journal_.push_back("Modif2 " + std::to_string(g) + " " + std::to_string(t) + " " + std::to_string(id));
    };
    e.ChercherParIdentifiant = [this](int32_t id) {
      const uint32_t courant = Xi::NumeroCourant(table_);
      F().Identifiant = id;
      Xi::Chercher(table_, 1);
      if (Xi::XiStatut == Xi::kStatutEgal) return true;
      (void)Xi::AllerA(table_, courant);
      return false;
    };
    ASSERT_EQ(NetXi::EnregistrerTable(e), 1);
    NetClient::BaseChargee() = true;
    NetClient::ApresOrdreModif() = [this] { journal_.push_back("ApresOrdreModif"); };
    NetClient::AfficherMessageTemporise() = [this](const std::string& texte, const std::string& titre, int32_t delai,
                                                   int32_t genre, int32_t boutons, bool afficher) {
      messages_.push_back(texte + "|" + titre + "|" + std::to_string(delai) + "|" + std::to_string(genre) + "|" +
                          std::to_string(boutons) + "|" + (afficher ? "1" : "0"));
    };
  }

  void TearDown() override {
    NetXi::LibererTables();
    NetClient::BaseChargee() = false;
    NetClient::ApresOrdreModif() = nullptr;
    NetClient::AfficherMessageTemporise() = nullptr;
    Traduction::Vider();
    Xi::Detruire(table_);
  }

  Fiche& F() { return *static_cast<Fiche*>(table_); }

  void Inserer(int32_t identifiant, std::string_view nom) {
    std::memset(table_, 0, sizeof(Fiche));
    F().Identifiant = identifiant;
    F().Nom[0] = static_cast<uint8_t>(nom.size());
    std::memcpy(F().Nom + 1, nom.data(), nom.size());
    ASSERT_TRUE(Xi::Inserer(table_));
  }

  void Appliquer(const std::vector<uint8_t>& ordre) {
    NetClient::AppliquerOrdreModif(ordre.data(), static_cast<int32_t>(ordre.size()));
  }

  // Identifier and name of every record, in record-number order.
  std::vector<std::string> Contenu() {
    std::vector<std::string> v;
    Xi::SauverPosition(table_);
    for (bool ok = Xi::Premier(table_, 0); ok; ok = Xi::Suivant(table_, 0))
      v.push_back(std::to_string(F().Identifiant) + ":" +
                  std::string(reinterpret_cast<char*>(F().Nom + 1), F().Nom[0]));
    (void)Xi::RestaurerPosition(table_);
    return v;
  }

  void* table_ = nullptr;
  uint8_t tampon_[kTailleStockee] = {};
  std::vector<std::string> journal_;
  std::vector<std::string> messages_;
};

using Lignes = std::vector<std::string>;

TEST(NetXiRegistre, NumbersFollowRegistrationAndStopAtTheLimit) {
  NetXi::LibererTables();
  TypeTableReseau e;
  e.Extension = ".LONGUE";
  for (int32_t n = 1; n <= 42; ++n) ASSERT_EQ(NetXi::EnregistrerTable(e), n);
  EXPECT_EQ(NetXi::Table(1)->Extension, ".LON");
  EXPECT_EQ(NetXi::Table(0), nullptr);
  EXPECT_EQ(NetXi::Table(43), nullptr);
  NetXi::LibererTables();
  EXPECT_EQ(NetXi::NombreTables(), 0);
  EXPECT_EQ(NetXi::EnregistrerTable(e), 1) << "registering afresh starts at 1 again";
  for (int32_t n = 2; n <= NetXi::kTablesMaximum; ++n) ASSERT_EQ(NetXi::EnregistrerTable(e), n);
  EXPECT_EQ(NetXi::EnregistrerTable(e), 0) << "a 201st registration is refused";
  EXPECT_EQ(NetXi::NombreTables(), NetXi::kTablesMaximum);
  NetXi::LibererTables();
}

void LireEssai(TMemoryStream*) {}
void EcrireEssai(TMemoryStream*) {}
void EcrireAutre(TMemoryStream*) {}
void DefautsEssai() {}

TEST(NetXiRegistre, TheFirstInstalledUserParameterRoutinesStay) {
  NetXi::TypeRoutineParametresUtilisateur lireInitial = NetXi::LireParametresUtilisateur();
  ASSERT_NE(lireInitial, nullptr);
  lireInitial(nullptr);  // does nothing
  NetXi::ParametresUtilisateurParDefaut()();
  NetXi::InstallerParametresUtilisateur(&LireEssai, nullptr, &DefautsEssai);
  NetXi::InstallerParametresUtilisateur(&EcrireEssai, &EcrireEssai, nullptr);
  NetXi::InstallerParametresUtilisateur(nullptr, &EcrireAutre, nullptr);
  EXPECT_EQ(NetXi::LireParametresUtilisateur(), &LireEssai);
  EXPECT_EQ(NetXi::EcrireParametresUtilisateur(), &EcrireEssai);
  EXPECT_EQ(NetXi::ParametresUtilisateurParDefaut(), &DefautsEssai);
  NetXi::Initialiser();
  EXPECT_EQ(NetXi::LireParametresUtilisateur(), lireInitial);
}

TEST(NetXiRegistre, FilesOnDiskAreCountedByTheBaseNameWithEachExtension) {
  NetXi::LibererTables();
  EXPECT_EQ(netmodif::CompterFichiersExistants(), 0);
  const auto dossier = std::filesystem::temp_directory_path() / ("nv_registre_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dossier);
  std::ofstream(dossier / "ECOLE.PAY").put('x');
  std::ofstream(dossier / "ECOLE.CIV").put('x');
  std::ofstream(dossier / "AUTRE.LIE").put('x');
  NetBases::NomBase() = (dossier / "ECOLE.SMP").string();
  for (const char* ext : {".PAY", ".LIE", ".CIV", ".MAD"}) {
    TypeTableReseau e;
    e.Extension = ext;
    ASSERT_NE(NetXi::EnregistrerTable(e), 0);
  }
  EXPECT_EQ(netmodif::CompterFichiersExistants(), 2);
  NetXi::LibererTables();
  NetBases::NomBase().clear();
  std::filesystem::remove_all(dossier);
}

TEST_F(RegistreEssai, NotificationsRunBothObserversInOrderUnlessSuspended) {
  netmodif::NotifierModification(GM_Modification, 1, 24);
  EXPECT_EQ(journal_, (Lignes{"Modif1 1 1 24", "Modif2 1 1 24"}));
  journal_.clear();
  NetBases::NotificationsSuspendues() = true;
  netmodif::NotifierModification(GM_Creation, 1, 0);
  NetBases::NotificationsSuspendues() = false;
  netmodif::NotifierModification(GM_Creation, 2, 0);  // not registered
  EXPECT_TRUE(journal_.empty());
  NetXi::Table(1)->SurModification1 = nullptr;
  NetXi::Table(1)->SurModification2 = nullptr;
  netmodif::NotifierModification(GM_Suppression, 1, 12);
  EXPECT_TRUE(journal_.empty());
}

TEST_F(RegistreEssai, OrdersAreAppliedThroughTheFileRoutinesAndTheCurrentRecordIsKept) {
  Inserer(12, "un");
  Inserer(24, "deux");
  ASSERT_TRUE(Xi::AllerA(table_, 1));
  Appliquer(Ordre(GM_Creation, 1, 36, "trois"));
  Appliquer(Ordre(GM_Modification, 1, 24, "DEUX"));
  EXPECT_EQ(Contenu(), (Lignes{"12:un", "24:DEUX", "36:trois"}));
  EXPECT_EQ(Xi::NumeroCourant(table_), 1u);
  EXPECT_EQ(F().Identifiant, 12);
  EXPECT_EQ(journal_, (Lignes{"Avant 0 36", "Lire 0", "Apres 0 36", "ApresOrdreModif", "Avant 1 24", "Lire 1",
                              "Apres 1 24", "ApresOrdreModif"}))
      << "a received order never runs the change observers";
  EXPECT_TRUE(messages_.empty());

  journal_.clear();
  Appliquer(Ordre(GM_Suppression, 1, 12, ""));
  EXPECT_EQ(Contenu(), (Lignes{"24:DEUX", "36:trois"}));
  EXPECT_EQ(Xi::NumeroCourant(table_), 0u) << "the record current before was the one deleted";
  EXPECT_EQ(journal_, (Lignes{"Avant 2 12", "Lire 2", "Apres 2 12", "ApresOrdreModif"}));
}

TEST_F(RegistreEssai, OrdersForRecordsTheClientDoesNotHoldAreIgnored) {
  Inserer(12, "un");
  Inserer(0, "local");  // created in exclusive mode, not stored yet
  ASSERT_TRUE(Xi::AllerA(table_, 1));
  Appliquer(Ordre(GM_Modification, 1, 99, "autre"));
  Appliquer(Ordre(GM_Suppression, 1, 98, ""));
  Appliquer(Ordre(GM_Modification, 1, 0, "autre"));
  Appliquer(Ordre(GM_Suppression, 1, 0, ""));
  EXPECT_EQ(Contenu(), (Lignes{"12:un", "0:local"}));
  EXPECT_EQ(Xi::NumeroCourant(table_), 1u);
  EXPECT_EQ(journal_, Lignes(4, "ApresOrdreModif")) << "no before or after routine";
  EXPECT_TRUE(messages_.empty());
}

TEST_F(RegistreEssai, ARefusedConversionLeavesTheTableAndShowsTheMessage) {
  Traduction::DefinirTexte("netmodifP", "Modification refusee");
  Traduction::DefinirTexte("netmodifd", "par le fichier");
  Inserer(12, "un");
  Appliquer(Ordre(GM_Creation, 1, 24, "deux", true));
  Appliquer(Ordre(GM_Modification, 1, 12, "UN", true));
  EXPECT_EQ(Contenu(), (Lignes{"12:un"}));
  EXPECT_EQ(messages_, (Lignes{"Modification refusee par le fichier||15000|0|8|1",
                               "Modification refusee par le fichier||15000|0|8|1"}));
}

// Without a hook of the owner's, the refusal is the program's own timed message, shown at once.
TEST_F(RegistreEssai, WithoutAHookTheRefusalIsShownAsTheProgramsTimedMessage) {
  Traduction::DefinirTexte("netmodifP", "Modification refusee");
  Traduction::DefinirTexte("netmodifd", "par le fichier");
  NetClient::AfficherMessageTemporise() = nullptr;
  std::vector<std::string> affiches;
  VclDialogue::DefinirSortie([&](const std::string& ligne) { affiches.push_back(ligne); });
  Appliquer(Ordre(GM_Creation, 1, 24, "deux", true));
  VclDialogue::DefinirSortie(nullptr);
  EXPECT_EQ(affiches, Lignes{VclDialogue::Legende(0, 8) + " : Modification refusee par le fichier"});
  EXPECT_EQ(VclDialogue::MessagesEnAttente(), 0);
}

TEST_F(RegistreEssai, OrdersBeforeTheBaseIsLoadedAreDropped) {
  NetClient::BaseChargee() = false;
  Appliquer(Ordre(GM_Creation, 1, 12, "un"));
  EXPECT_TRUE(Contenu().empty());
  EXPECT_EQ(journal_, (Lignes{"ApresOrdreModif"}));
  NetClient::BaseChargee() = true;
  Appliquer(Ordre(GM_Creation, 1, 12, "un"));
  EXPECT_EQ(Contenu(), (Lignes{"12:un"}));
}

TEST_F(RegistreEssai, AShortStoredRecordIsCompletedWithZeros) {
  Appliquer(Ordre(GM_Creation, 1, 12, "abcdefghij", false, 12));
  Appliquer(Ordre(GM_Modification, 1, 12, "", false, 3));  // length byte 0 and two zeros
  EXPECT_EQ(Contenu(), (Lignes{"12:"}));
  EXPECT_EQ(tampon_[1], 0) << "the former stored record does not show through";
}

TEST_F(RegistreEssai, ACreationOfAnIdentifierAlreadyHeldChangesThatRecord) {
  Inserer(12, "un");
  Appliquer(Ordre(GM_Creation, 1, 12, "encore"));
  EXPECT_EQ(Contenu(), (Lignes{"12:encore"}));
  EXPECT_EQ(journal_, (Lignes{"Avant 1 12", "Lire 1", "Apres 1 12", "ApresOrdreModif"}));
}

TEST_F(RegistreEssai, MalformedOrdersAreRefusedWithoutTouchingAnyTable) {
  Inserer(12, "un");
  ASSERT_TRUE(Xi::AllerA(table_, 1));
  std::vector<uint8_t> tropLong = Ordre(GM_Creation, 1, 24, "deux", false, FormatOrdre::kZoneOrdre + 1);
  const std::vector<std::vector<uint8_t>> ordres = {
      Ordre(GM_Creation, 0, 24, "deux"),
      Ordre(GM_Creation, 2, 24, "deux"),
      Ordre(GM_Modification, 0xFFFFFFFFu, 12, "deux"),
      tropLong,
      {GM_Creation, 1, 0, 0, 0, 24, 0, 0},  // shorter than its header
  };
  for (const auto& ordre : ordres) Appliquer(ordre);
  NetClient::AppliquerOrdreModif(nullptr, 40);
  EXPECT_EQ(Contenu(), (Lignes{"12:un"}));
  EXPECT_EQ(Xi::NumeroCourant(table_), 1u);
  EXPECT_EQ(journal_, Lignes(6, "ApresOrdreModif"));
  EXPECT_TRUE(messages_.empty());
  // The largest area is accepted.
  Appliquer(Ordre(GM_Creation, 1, 24, "deux", false, FormatOrdre::kZoneOrdre));
  EXPECT_EQ(Contenu(), (Lignes{"12:un", "24:deux"}));
}

TEST(NetClientRequetes, WithoutADataClientChangesTakeTheServersRoadAndAreRefused) {
  ASSERT_EQ(NetClient::ClientDonnees(), nullptr);
  EXPECT_TRUE(NetClient::PasserParServeur()) << "no server granted the exclusive mode";
  EXPECT_FALSE(NetClient::EnvoyerRequeteServeur(0x80280100, 0, 0, nullptr, false, nullptr));
}

TEST(NetClientRequetes, TheServerBracketsRunTheRequestHooks) {
  std::vector<std::string> journal;
  netmodif::SurDebutRequete() = [&] { journal.push_back("debut"); };
  netmodif::SurFinRequete() = [&] { journal.push_back("fin"); };
  NetClient::DebutRequete();
  NetClient::FinRequete();
  EXPECT_EQ(journal, (Lignes{"debut", "fin"}));
  netmodif::SurDebutRequete() = [] {};
  netmodif::SurFinRequete() = [] {};
}

}  // namespace
