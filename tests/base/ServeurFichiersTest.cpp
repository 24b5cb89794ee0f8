// The small reference files against the scripted data server on loopback, through the logged-in data
// client: every creation is one request whose bytes the server checks; the server's order comes back
// inside the wait, before the verdict, and the new record is current when the call returns. Once the
// server grants the exclusive mode the same creations change the tables here, notify and mark the
// base, and send nothing; both roads leave the same stored record.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "base/EcrGlobale.h"
#include "base/SupDisponibilite.h"
#include "base/SupFichiers.h"
#include "base/SupTraitement.h"
#include "base/CompteursNumeros.h"
#include "base/cours/SupCours.h"
#include "base/cours/SupMemoCours.h"
#include "base/fichiers/SupCivilite.h"
#include "base/fichiers/SupLieu.h"
#include "base/fichiers/SupModaliteAdmission.h"
#include "base/fichiers/SupPays.h"
#include "base/fichiers/SupPonderation.h"
#include "base/fichiers/SupPublicationSurInternet.h"
#include "base/fichiers/SupTypologieCours.h"
#include "base/ressources/SupLibelleClasse.h"
#include "base/ressources/SupQuotite.h"
#include "base/ressources/SupRessource.h"
#include "base/ressources/SupStatut.h"
#include "base/ressources/SupRelationRessourceMatiere.h"
#include "core/records/Xi.h"
#include "net/NetClient.h"
#include "net/NetXi.h"
#include "net/VclClient.h"
#include "net/transport/MessagesModeExclusif.h"
#include "objectdb/Traduction.h"
#include "tests/net/utilisateurs/UtilisateursFixture.h"
#include "tests/support/ServeurScripte.h"

using namespace GenresMessages;
using namespace std::chrono_literals;

namespace {

using Octets = std::vector<uint8_t>;
using Lignes = std::vector<std::string>;

Octets Chaine(const std::string& texte, std::size_t capacite) {
  Octets v(capacite + 1, 0);
  v[0] = static_cast<uint8_t>(texte.size());
  std::memcpy(v.data() + 1, texte.data(), texte.size());
  return v;
}

Octets Entier(uint32_t v) { return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}; }

Octets Concatener(std::initializer_list<Octets> parts) {
  Octets v;
  for (const auto& p : parts) v.insert(v.end(), p.begin(), p.end());
  return v;
}

std::string Texte(const Octets& o) { return std::string(o.begin(), o.end()); }

struct Creation {
  const char* Quoi;
  std::function<bool()> Creer;
  uint32_t Code;
  int32_t Place;
  Octets Donnees;  // what the request carries
  Octets Stocke;   // the stored record that results, as the server sends it back in its order
};

// The six creations; the typology's stored record is the one a local creation gets without "Aucun".
std::vector<Creation> Creations() {
  const std::string francaise = "fran\xE7" "aise";
  Octets typologie(32, 0);
  const Octets amphi = Chaine("Amphi", 13);
  std::copy(amphi.begin(), amphi.end(), typologie.begin() + 8);
  typologie[28] = 1;
  return {
      {"country", [francaise] { return SupPays::CreerPays("France", francaise, "FRA"); }, 0x80280100, 6,
       Concatener({Chaine("FRA", 3), Chaine("France", 30), Chaine(francaise, 30)}),
       Concatener({Chaine("FRA", 3), Chaine("France", 30), Chaine(francaise, 30)})},
      {"place", [] { return SupLieu::CreerLieu("Lyon"); }, 0x80290001, 7, Chaine("Lyon", 30),
       Concatener({Chaine("Lyon", 30), {0}, Entier(0)})},
      {"modality", [] { return SupModaliteAdmission::CreerModalite("Concours"); }, 0x802E0100, 5,
       Chaine("Concours", 60), Chaine("Concours", 60)},
      {"civility", [] { return SupCivilite::CreerCivilite("Madame"); }, 0x80060100, 1, Chaine("Madam", 5),
       Chaine("Madam", 5)},
      {"weighting", [] { return SupPonderation::CreerPonderation(18000); }, 0x80070100, 2, Entier(18000),
       Entier(18000)},
      {"typology", [] { return SupTypologieCours::CreerTypologieCours("Amphi", 1); }, 0x800D0100, 11, typologie,
       Concatener({amphi, {0, 0}, Entier(0xFF00000F), Entier(0), {1, 0, 0, 0}})},
  };
}

class ServeurFichiers : public BaseUtilisateursTest {
 protected:
  void SetUp() override {
    BaseUtilisateursTest::SetUp();
    EcrGlobale::FicheGlobales() = &fiche_;
    ASSERT_TRUE(SupFichiers::CreerTables());
    ASSERT_TRUE(SupFichiers::EnregistrerTousLesFichiers());
    NetClient::BaseChargee() = true;
    for (int32_t place : {1, 2, 5, 6, 7, 11})
      NetXi::Table(place)->SurModification1 = [this](TypeGenreModif g, int32_t t, int32_t id) {
        notifications_.push_back(std::to_string(g) + " " + std::to_string(t) + " " + std::to_string(id));
      };

    serveur_.PreparerClient(client_);
    client_.SurReponseLogin = [this](uint32_t, uint32_t, TypeStatutConnection, TypeResultatReponseLogin r) {
      connecte_ = r == LoginOk;
    };
    // As the service's network module does: every received order goes to the registry.
    client_.TraiterOrdreModif = [](TIeClient*, const uint8_t* o, uint32_t n) {
      NetClient::AppliquerOrdreModif(o, static_cast<int32_t>(n));
    };
    client_.OnPreRequeteAuServeur = [this](TIeClient*, bool attente) { attentes_.push_back(attente); };
    ASSERT_TRUE(client_.Activer(kCanalTcp));
    ASSERT_TRUE(Attendre([this] { return client_.IdentServeur() != 0; }));
    client_.Identifier(0, "ABC", "", "alice", "Secret");
    ASSERT_TRUE(Attendre([this] { return connecte_; }));
    VclClient::DefinirClientDonnees(&client_);
  }

  void TearDown() override {
    serveur_.Arreter();
    NetClient::ClientDonnees() = nullptr;
    NetClient::BaseChargee() = false;
    SupFichiers::LibererTables();
    NetXi::LibererTables();
    SupFichiers::NumerosTables().fill(0);
    EcrGlobale::FicheGlobales() = nullptr;
    SupDisponibilite::ModeDAcces() = SupDisponibilite::kModeModification;
    Traduction::Vider();
    BaseUtilisateursTest::TearDown();
  }

  bool Attendre(const std::function<bool()>& Condition) {
    return loop_.WaitUntil(Condition, 5s) == MainLoop::WaitResult::Satisfied;
  }

  // The server answers each request of a creation with the order that inserts `Stocke` at the
  // file's first slot, then accepts it with that identifier.
  void Accepter(const Creation& c, bool AvecOrdre) {
    serveur_.Traitements[CM_ENVOYER_REQUETE] = [&c, AvecOrdre](TServeurScripte& s, const TypeMessageRecu&) {
      const uint32_t identifiant = static_cast<uint32_t>(c.Stocke.size());
      if (AvecOrdre)
        s.Envoyer(CM_ENVOYER_ORDRE_MODIF,
                  Texte(Concatener({{0}, Entier(static_cast<uint32_t>(c.Place)), Entier(identifiant), c.Stocke})));
      s.Envoyer(CM_REPONDRE_REQUETE, Texte(Concatener({{1}, Entier(identifiant)})));
    };
  }

  std::size_t Requetes() const {
    std::size_t n = 0;
    for (uint32_t g : serveur_.Genres()) n += g == CM_ENVOYER_REQUETE;
    return n;
  }

  // The current record of a file in its stored form.
  static Octets StockeCourant(int32_t place) {
    TypeTableReseau* entree = NetXi::Table(place);
    TFichierSup& f = *SupFichiers::Fichier(place);
    const int32_t identifiant = f.IdentifiantCourant();
    EXPECT_TRUE(entree->EcrireArticleStocke(entree->Tampon, f.Table, identifiant, GM_Modification));
    return Octets(entree->Tampon, entree->Tampon + entree->TailleStockee);
  }

  MainLoop loop_{[] {}, [] {}};
  TServeurScripte serveur_{loop_};
  TIeClientDonnees client_{loop_};
  bool connecte_ = false;
  TFicheGlobales fiche_;
  Lignes notifications_;
  std::vector<bool> attentes_;  // the wait-window flag of each request
};

TEST_F(ServeurFichiers, EachCreationIsOneRequestOfItsBytesAndItsOrderMakesTheNewRecordCurrent) {
  for (const Creation& c : Creations()) {
    SCOPED_TRACE(c.Quoi);
    TFichierSup& f = *SupFichiers::Fichier(c.Place);
    Accepter(c, true);
    const std::size_t avant = Requetes();
    ASSERT_TRUE(c.Creer());
    ASSERT_EQ(Requetes(), avant + 1);
    // {0:u16, code, the server's connection, address kind 2, key 0, size} then the data.
    const Octets attendue = Concatener({{0, 0}, Entier(c.Code), Entier(client_.IdentServeur()), {2}, Entier(0),
                                        Entier(static_cast<uint32_t>(c.Donnees.size())), c.Donnees});
    EXPECT_EQ(serveur_.Dernier(CM_ENVOYER_REQUETE), Texte(attendue));
    EXPECT_EQ(Xi::Nombre(f.Table), 1u);
    EXPECT_EQ(f.IdentifiantCourant(), static_cast<int32_t>(c.Stocke.size())) << "the new record is current";
    EXPECT_EQ(StockeCourant(c.Place), c.Stocke);
    EXPECT_EQ(SupTraitement::Profondeur(), 0u);

    // Accepted without its order: the new record cannot be found; only the place's result is the
    // verdict alone.
    ASSERT_TRUE(f.CreerTable());
    Accepter(c, false);
    EXPECT_EQ(c.Creer(), c.Place == 7);
    EXPECT_EQ(Xi::Nombre(f.Table), 0u);
  }
  EXPECT_EQ(attentes_, std::vector<bool>(12, false)) << "creations show no wait window";
  // Orders received from the server are not local changes: no notification, the base file unmarked.
  EXPECT_TRUE(notifications_.empty());
  EXPECT_FALSE(fiche_.FichierVok.Modifie());

  // A refusal changes nothing.
  serveur_.Traitements[CM_ENVOYER_REQUETE] = [](TServeurScripte& s, const TypeMessageRecu&) {
    s.Envoyer(CM_REPONDRE_REQUETE, std::string(1, '\0'));
  };
  EXPECT_FALSE(SupPays::CreerPays("Italie", "italienne", "ITA"));
  EXPECT_EQ(Xi::Nombre(SupPays::Fichier().Table), 0u);
}

TEST_F(ServeurFichiers, TheDefaultContentsAreOneRequestWithoutDataAndWithoutNestedRequests) {
  serveur_.Traitements[CM_ENVOYER_REQUETE] = [](TServeurScripte& s, const TypeMessageRecu&) {
    s.Envoyer(CM_REPONDRE_REQUETE, "\x01");
  };
  const std::vector<std::pair<std::function<bool()>, uint32_t>> defauts = {
      {SupPays::CreerPaysParDefaut, 0x80280000},
      {SupLieu::CreerLieuxParDefaut, 0x80290000},
      {SupModaliteAdmission::CreerModalitesParDefaut, 0x802E0000},
      {SupCivilite::CreerCivilitesParDefaut, 0x80060000},
      {SupPonderation::CreerPonderationsParDefaut, 0x80070000},
      {SupTypologieCours::CreerTypologiesCoursParDefaut, 0x800D0000},
      {SupQuotite::CreerQuotitesProfesseursParDefaut, 0x80220000},
  };
  for (const auto& [creer, code] : defauts) {
    SCOPED_TRACE(code);
    const std::size_t avant = Requetes();
    EXPECT_TRUE(creer());
    ASSERT_EQ(Requetes(), avant + 1) << "the server inserts the default rows, the client asks once";
    EXPECT_EQ(serveur_.Dernier(CM_ENVOYER_REQUETE),
              Texte(Concatener({{0, 0}, Entier(code), Entier(client_.IdentServeur()), {2}, Entier(0), Entier(0)})));
  }
}

TEST_F(ServeurFichiers, InTheExclusiveModeTheSameCreationsChangeTheTablesHereAndSendNothing) {
  serveur_.Envoyer(CM_MODE_EXCLUSIF_MODIFIE,
                   MessagesModeExclusif::EcrireModeModifie({GP_Client, true, 1, AE_ChangementManuelMode, 5, "poste"}));
  ASSERT_TRUE(Attendre([this] { return !client_.PasserParServeur(); }));
  const std::size_t avant = Requetes();
  // Countries, places and admission modalities have no default rows.
  for (const auto& defaut : {SupPays::CreerPaysParDefaut, SupLieu::CreerLieuxParDefaut,
                             SupModaliteAdmission::CreerModalitesParDefaut})
    EXPECT_TRUE(defaut());
  for (int32_t place : {5, 6, 7}) EXPECT_EQ(Xi::Nombre(SupFichiers::Fichier(place)->Table), 0u) << place;
  Lignes attendues;
  for (const Creation& c : Creations()) {
    SCOPED_TRACE(c.Quoi);
    ASSERT_TRUE(c.Creer());
    TFichierSup& f = *SupFichiers::Fichier(c.Place);
    EXPECT_EQ(Xi::Nombre(f.Table), 1u);
    EXPECT_EQ(f.IdentifiantCourant(), 0) << "a record created here has no identifier until the base is exported";
    EXPECT_EQ(StockeCourant(c.Place), c.Stocke) << "the same record as the server's road";
    attendues.push_back("0 " + std::to_string(c.Place) + " 0");
    EXPECT_FALSE(c.Creer()) << "the unique key refuses a second one";
  }
  EXPECT_EQ(Requetes(), avant);
  EXPECT_EQ(notifications_, attendues);
  EXPECT_TRUE(fiche_.FichierVok.Modifie());
  EXPECT_EQ(SupTraitement::Profondeur(), 0u);
}

// A label and a resource-subject relation: one request of their bytes each; the server's order comes
// back inside the wait and the new relation is current when the call returns.
TEST_F(ServeurFichiers, ALabelAndAResourceSubjectRelationAreOneRequestOfTheirBytes) {
  Octets prof(560, 0);
  prof[81] = 6;
  std::memcpy(&prof[82], "Martin", 6);
  prof[180] = 0;  // a teacher: a class label needs no right for it
  Octets matiere(228, 0);
  matiere[0] = 4;
  std::memcpy(&matiere[1], "MATH", 4);
  std::memcpy(&matiere[224], "\x01\0\0\0", 4);
  for (const auto& [place, stocke] : {std::pair{19, prof}, {12, matiere}}) {
    const Octets ordre =
        Concatener({{0}, Entier(static_cast<uint32_t>(place)), Entier(static_cast<uint32_t>(stocke.size())), stocke});
    NetClient::AppliquerOrdreModif(ordre.data(), static_cast<int32_t>(ordre.size()));
  }
  struct Cas {
    const char* Quoi;
    std::function<bool()> Creer;
    uint32_t Code;
    int32_t Place;
    Octets Donnees, Stocke;
  };
  const Cas cas[] = {
      {"label", [] { return SupLibelleClasse::AffecterLibelleClasseALaRessource(1, std::string(100, 'P')); },
       0x80170100, 25, Concatener({Chaine(std::string(73, 'P'), 73), {0, 0}, Entier(560)}),
       Concatener({Entier(560), Chaine(std::string(73, 'P'), 73), {0, 0}})},
      {"relation", [] { return SupRelationRessourceMatiere::CreerRelationRessourceMatiere(1, 1, 0); }, 0x80330100, 40,
       Concatener({{0, 0, 0, 0}, Entier(560), Entier(228)}), Concatener({{0, 0, 0, 0}, Entier(560), Entier(228)})},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.Quoi);
    serveur_.Traitements[CM_ENVOYER_REQUETE] = [&c](TServeurScripte& s, const TypeMessageRecu&) {
      const auto identifiant = static_cast<uint32_t>(c.Stocke.size());
      s.Envoyer(CM_ENVOYER_ORDRE_MODIF,
                Texte(Concatener({{0}, Entier(static_cast<uint32_t>(c.Place)), Entier(identifiant), c.Stocke})));
      s.Envoyer(CM_REPONDRE_REQUETE, Texte(Concatener({{1}, Entier(identifiant)})));
    };
    const std::size_t avant = Requetes();
    ASSERT_TRUE(c.Creer());
    ASSERT_EQ(Requetes(), avant + 1);
    EXPECT_EQ(serveur_.Dernier(CM_ENVOYER_REQUETE),
              Texte(Concatener({{0, 0}, Entier(c.Code), Entier(client_.IdentServeur()), {2}, Entier(0),
                                Entier(static_cast<uint32_t>(c.Donnees.size())), c.Donnees})));
    TFichierSup& f = *SupFichiers::Fichier(c.Place);
    EXPECT_EQ(Xi::Nombre(f.Table), 1u);
    if (c.Place == 40) {
      EXPECT_EQ(f.IdentifiantCourant(), 12) << "the new relation is current";
    }
    ASSERT_TRUE(f.ChercherParIdentifiant(static_cast<int32_t>(c.Stocke.size())));
    EXPECT_EQ(StockeCourant(c.Place), c.Stocke);
    EXPECT_EQ(SupTraitement::Profondeur(), 0u);
  }
}

// A status and a teacher's quota record: each request carries its bytes, the server's order comes
// back inside the wait; in exclusive mode the same calls change the tables here and send nothing.
TEST_F(ServeurFichiers, TheStatusAndQuotaRequestsCarryTheirBytesAndRunLocallyInExclusiveMode) {
  Octets prof(560, 0);
  prof[81] = 6;
  std::memcpy(&prof[82], "Martin", 6);
  prof[180] = 0;  // a teacher
  std::memcpy(&prof[184], "\x50\x14\0\0", 4);  // annual service 5200
  const Octets ordreProf = Concatener({{0}, Entier(19), Entier(560), prof});
  NetClient::AppliquerOrdreModif(ordreProf.data(), static_cast<int32_t>(ordreProf.size()));
  const auto requete = [this](uint32_t code, uint32_t cle, const Octets& donnees) {
    return Texte(Concatener({{0, 0}, Entier(code), Entier(client_.IdentServeur()), {2}, Entier(cle),
                             Entier(static_cast<uint32_t>(donnees.size())), donnees}));
  };
  // The server answers with the order that puts `stocke` (genre, place, identifier), then accepts
  // with that identifier.
  uint8_t genre = 0;
  int32_t place = 0;
  uint32_t identifiant = 0;
  Octets stocke;
  serveur_.Traitements[CM_ENVOYER_REQUETE] = [&](TServeurScripte& s, const TypeMessageRecu&) {
    s.Envoyer(CM_ENVOYER_ORDRE_MODIF,
              Texte(Concatener({{genre}, Entier(static_cast<uint32_t>(place)), Entier(identifiant), stocke})));
    s.Envoyer(CM_REPONDRE_REQUETE, Texte(Concatener({{1}, Entier(identifiant)})));
  };
  Octets statut = Concatener({Chaine("PEG", 30), {0}, Entier(143500), Entier(84000), Entier(0), Entier(18450),
                              {0, 0, 0, 0}, Entier(3500), Entier(0), Entier(0),
                              {0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x03, 0x00, 0}});
  ASSERT_EQ(statut.size(), 72u);
  const auto quotas = [](int32_t q) {
    Octets o = Entier(560);
    for (int n = 0; n < 52; ++n) o = Concatener({o, Entier(static_cast<uint32_t>(q))});
    return o;
  };

  // The 44-byte status creation: the new status is current.
  std::tie(genre, place, identifiant, stocke) = std::tuple(GM_Creation, SupStatut::kPlace, 72u, statut);
  ASSERT_TRUE(SupStatut::CreerStatutProfesseur("PEG", 143500, 84000, 18450));
  EXPECT_EQ(serveur_.Dernier(CM_ENVOYER_REQUETE),
            requete(0x80250100, 0, Concatener({Chaine("PEG", 30), {0}, Entier(143500), Entier(84000), Entier(18450)})));
  EXPECT_EQ(SupStatut::Fichier().IdentifiantCourant(), 72);
  EXPECT_EQ(StockeCourant(SupStatut::kPlace), statut);
  // The 1-byte default, keyed by the status's identifier.
  statut[48] = 1;
  std::tie(genre, stocke) = std::tuple(GM_Modification, statut);
  ASSERT_TRUE(SupStatut::ModifierDefautStatutProfesseur(1));
  EXPECT_EQ(serveur_.Dernier(CM_ENVOYER_REQUETE), requete(0x80250205, 72, {1}));
  ASSERT_TRUE(SupStatut::ChercherStatutParDefaut());
  // The 4-byte quota creation: the teacher's identifier; the answered identifier makes it current.
  std::tie(genre, place, identifiant, stocke) = std::tuple(GM_Creation, SupQuotite::kPlace, 212u, quotas(100));
  ASSERT_TRUE(SupQuotite::CreerQuotitesProfesseur(1));
  EXPECT_EQ(serveur_.Dernier(CM_ENVOYER_REQUETE), requete(0x80220100, 0, Entier(560)));
  EXPECT_EQ(SupQuotite::Article()->Identifiant, 212);
  // The 4-byte refill, keyed by the teacher's identifier.
  std::tie(genre, stocke) = std::tuple(GM_Modification, quotas(50));
  ASSERT_TRUE(Xi::AllerA(SupRessource::Fichier().Table, 1));
  ASSERT_TRUE(SupQuotite::AffecterQuotitesDuProfesseur(2600));
  EXPECT_EQ(serveur_.Dernier(CM_ENVOYER_REQUETE), requete(0x80220202, 560, Entier(2600)));
  ASSERT_TRUE(SupQuotite::ChercherQuotitesDuProfesseur(1));
  EXPECT_EQ(SupQuotite::Article()->Quotas[51], 50);
  // The deletion, keyed by the quota record's identifier.
  std::tie(genre, stocke) = std::tuple(GM_Suppression, quotas(50));
  ASSERT_TRUE(SupQuotite::SupprimerQuotitesProfesseur());
  EXPECT_EQ(serveur_.Dernier(CM_ENVOYER_REQUETE), requete(0x80220300, 212, {}));
  EXPECT_EQ(Xi::Nombre(SupQuotite::Fichier().Table), 0u);
  EXPECT_EQ(Requetes(), 5u);
  EXPECT_EQ(SupTraitement::Profondeur(), 0u);

  serveur_.Envoyer(CM_MODE_EXCLUSIF_MODIFIE,
                   MessagesModeExclusif::EcrireModeModifie({GP_Client, true, 1, AE_ChangementManuelMode, 5, "poste"}));
  ASSERT_TRUE(Attendre([this] { return !client_.PasserParServeur(); }));
  ASSERT_TRUE(SupStatut::CreerStatutProfesseur("PETT", 143500, 84000, 18450));
  EXPECT_EQ(SupStatut::Fichier().IdentifiantCourant(), 0);
  ASSERT_TRUE(SupStatut::DefinirStatutParDefaut(2));
  ASSERT_TRUE(SupStatut::ChercherStatutParDefaut());
  EXPECT_EQ(FichierSup::LireChaineCourte(SupStatut::Article()->Nom, 30), "PETT");
  ASSERT_TRUE(SupQuotite::CreerQuotitesProfesseur(1));
  EXPECT_EQ(SupQuotite::Article()->Quotas[0], 100) << "5200 a year over 52 weeks";
  ASSERT_TRUE(SupQuotite::AffecterQuotitesDuProfesseur(0));
  ASSERT_TRUE(SupQuotite::SupprimerQuotitesDuProfesseur(1));
  EXPECT_EQ(Xi::Nombre(SupQuotite::Fichier().Table), 0u);
  EXPECT_EQ(Requetes(), 5u);
  EXPECT_TRUE(fiche_.FichierVok.Modifie());
  EXPECT_EQ(SupTraitement::Profondeur(), 0u);
}

// The course file's default contents and the memo requests: their bytes as the server receives them;
// in exclusive mode the same calls change the memo table here and send nothing.
TEST_F(ServeurFichiers, TheCourseAndMemoRequestsCarryTheirBytesAndRunLocallyInExclusiveMode) {
  serveur_.Traitements[CM_ENVOYER_REQUETE] = [](TServeurScripte& s, const TypeMessageRecu&) {
    s.Envoyer(CM_REPONDRE_REQUETE, "\x01");
  };
  const auto requete = [this](uint32_t code, uint32_t cle, const Octets& donnees) {
    return Texte(Concatener({{0, 0}, Entier(code), Entier(client_.IdentServeur()), {2}, Entier(cle),
                             Entier(static_cast<uint32_t>(donnees.size())), donnees}));
  };
  EXPECT_TRUE(SupCours::CreerCoursParDefaut());
  EXPECT_EQ(serveur_.Dernier(CM_ENVOYER_REQUETE), requete(0x80190000, 0, {}));
  EXPECT_TRUE(SupMemoCours::CreerMemosParDefaut());
  EXPECT_EQ(serveur_.Dernier(CM_ENVOYER_REQUETE), requete(0x80270000, 0, {}));
  EXPECT_TRUE(SupMemoCours::CreerMemo("Salle B"));
  EXPECT_EQ(serveur_.Dernier(CM_ENVOYER_REQUETE), requete(0x80270001, 0, Chaine("Salle B", 255)));
  // A memo as the server's order would bring it, made current.
  SupMemoCours::Fichier().ViderArticle();
  SupMemoCours::Article()->NumeroMemo = 12;
  ASSERT_TRUE(Xi::Inserer(SupMemoCours::Fichier().Table));
  EXPECT_TRUE(SupMemoCours::ModifierMemo("Salle C"));
  EXPECT_EQ(serveur_.Dernier(CM_ENVOYER_REQUETE), requete(0x80270002, 0, Chaine("Salle C", 255)));
  EXPECT_TRUE(SupMemoCours::SupprimerMemo());
  EXPECT_EQ(serveur_.Dernier(CM_ENVOYER_REQUETE), requete(0x80270003, 12, {}));
  EXPECT_EQ(Xi::Nombre(SupMemoCours::Fichier().Table), 1u) << "the server's order deletes it";
  const std::size_t envoyees = Requetes();
  EXPECT_EQ(envoyees, 5u);

  serveur_.Envoyer(CM_MODE_EXCLUSIF_MODIFIE,
                   MessagesModeExclusif::EcrireModeModifie({GP_Client, true, 1, AE_ChangementManuelMode, 5, "poste"}));
  ASSERT_TRUE(Attendre([this] { return !client_.PasserParServeur(); }));
  EXPECT_TRUE(SupCours::CreerCoursParDefaut());
  EXPECT_EQ(Xi::Nombre(SupCours::Fichier().Table), 0u) << "there are no default courses";
  CompteursNumeros::Compteurs()[CompteursNumeros::kMCR] = 12;
  ASSERT_TRUE(SupMemoCours::CreerMemo("Salle D"));
  EXPECT_EQ(SupMemoCours::Article()->NumeroMemo, 13u);
  ASSERT_TRUE(SupMemoCours::ModifierMemo("Salle E"));
  EXPECT_EQ(FichierSup::LireChaineCourte(SupMemoCours::Article()->Texte, 255), "Salle E");
  EXPECT_TRUE(SupMemoCours::SupprimerMemo());
  EXPECT_EQ(Xi::Nombre(SupMemoCours::Fichier().Table), 1u);
  EXPECT_EQ(Requetes(), envoyees);
  EXPECT_TRUE(fiche_.FichierVok.Modifie());
  CompteursNumeros::Compteurs().fill(0);
}

// --- The internet publication parameters: a node's stored record, its requests and their keys.
namespace Publication = SupPublicationSurInternet;

Octets NoeudStocke(int32_t noeud, int32_t parent, const std::string& nom, int32_t index, const std::string& valeur,
                   const std::string& defaut, uint8_t genre, uint8_t option, uint8_t modifie) {
  return Concatener({Entier(static_cast<uint32_t>(noeud)), Entier(static_cast<uint32_t>(parent)), Chaine(nom, 30), {0},
                     Entier(static_cast<uint32_t>(index)), Chaine(valeur, 255), Chaine(defaut, 255),
                     {genre, option, modifie, 0}});
}

TEST_F(ServeurFichiers, ThePublicationRequestsCarryTheirBytesAndTheServersOrdersChangeTheNodes) {
  constexpr int32_t kPlace = Publication::kPlace;
  const auto requete = [this](uint32_t code, uint32_t cle, const Octets& donnees) {
    return Texte(Concatener({{0, 0}, Entier(code), Entier(client_.IdentServeur()), {2}, Entier(cle),
                             Entier(static_cast<uint32_t>(donnees.size())), donnees}));
  };
  // The server answers with the order that puts `Stocke` (genre) at identifier 560, then its verdict.
  Octets stocke;
  uint8_t genre = 0;
  serveur_.Traitements[CM_ENVOYER_REQUETE] = [&](TServeurScripte& s, const TypeMessageRecu&) {
    s.Envoyer(CM_ENVOYER_ORDRE_MODIF, Texte(Concatener({{genre}, Entier(kPlace), Entier(560), stocke})));
    s.Envoyer(CM_REPONDRE_REQUETE, Texte(Concatener({{1}, Entier(560)})));
  };

  // Creation: the stored record without its node number; the server numbers the node.
  stocke = NoeudStocke(12, 0, "Divers", 0, "Lyc\xE9" "e", "Lyc\xE9" "e", Publication::GV_Texte, 1, 0);
  ASSERT_TRUE(Publication::CreerNoeud(0, "Divers", 0, Publication::GV_Texte, "Lyc\xE9" "e", 1));
  EXPECT_EQ(serveur_.Dernier(CM_ENVOYER_REQUETE),
            requete(0x802D0100, 0, Octets(stocke.begin() + 4, stocke.end())));
  EXPECT_EQ(Publication::Article()->Noeud, 12) << "the new node is current";
  EXPECT_EQ(StockeCourant(kPlace), stocke);

  // A user's change of the value, keyed by the identifier.
  genre = GM_Modification;
  stocke = NoeudStocke(12, 0, "Divers", 0, "Coll\xE8ge", "Lyc\xE9" "e", Publication::GV_Texte, 1, 1);
  ASSERT_TRUE(Publication::ModifierValeurNoeud("Coll\xE8ge", Publication::GV_Texte, 0, "Divers", 0));
  EXPECT_EQ(serveur_.Dernier(CM_ENVOYER_REQUETE), requete(0x802D0201, 560, Chaine("Coll\xE8ge", 255)));
  EXPECT_EQ(Publication::ValeurNoeud(Publication::GV_Texte, 0, "Divers", 0), "Coll\xE8ge");

  // The option byte, keyed by the identifier.
  ASSERT_TRUE(Xi::AllerA(Publication::Fichier().Table, 1));
  stocke = NoeudStocke(12, 0, "Divers", 0, "Coll\xE8ge", "Lyc\xE9" "e", Publication::GV_Texte, 0, 1);
  ASSERT_TRUE(Publication::ModifierOption(0));
  EXPECT_EQ(serveur_.Dernier(CM_ENVOYER_REQUETE), requete(0x802D0203, 560, {0}));
  EXPECT_EQ(Publication::Article()->Option, 0);
  const std::size_t requetes = Requetes();
  EXPECT_TRUE(Publication::ModifierOption(0));
  EXPECT_TRUE(Publication::ModifierValeurNoeud("Coll\xE8ge", Publication::GV_Texte, 0, "Divers", 0));
  EXPECT_EQ(Requetes(), requetes) << "unchanged: nothing sent";

  // The deletion, keyed by the node number.
  genre = GM_Suppression;
  stocke.clear();
  ASSERT_TRUE(Publication::SupprimerNoeud());
  EXPECT_EQ(serveur_.Dernier(CM_ENVOYER_REQUETE), requete(0x802D0300, 12, {}));
  EXPECT_EQ(Xi::Nombre(Publication::Fichier().Table), 0u);

  // The default tree: the code alone; the server lays it.
  serveur_.Traitements[CM_ENVOYER_REQUETE] = [](TServeurScripte& s, const TypeMessageRecu&) {
    s.Envoyer(CM_REPONDRE_REQUETE, "\x01");
  };
  ASSERT_TRUE(Publication::ArbreParDefaut());
  EXPECT_EQ(serveur_.Dernier(CM_ENVOYER_REQUETE), requete(0x802D0000, 0, {}));
  EXPECT_EQ(Requetes(), requetes + 2);
  EXPECT_EQ(SupTraitement::Profondeur(), 0u);
  EXPECT_FALSE(fiche_.FichierVok.Modifie());
}

TEST_F(ServeurFichiers, InTheExclusiveModeThePublicationOperationsChangeTheNodesHereAndSendNothing) {
  serveur_.Envoyer(CM_MODE_EXCLUSIF_MODIFIE,
                   MessagesModeExclusif::EcrireModeModifie({GP_Client, true, 1, AE_ChangementManuelMode, 5, "poste"}));
  ASSERT_TRUE(Attendre([this] { return !client_.PasserParServeur(); }));
  const std::size_t avant = Requetes();
  ASSERT_TRUE(Publication::CreerNoeud(0, "Divers", 0, Publication::GV_Texte, "A", 1));
  const int32_t noeud = Publication::Article()->Noeud;
  EXPECT_GT(noeud, 0);
  ASSERT_TRUE(Publication::ModifierValeur("B"));
  ASSERT_TRUE(Publication::ModifierOption(0));
  EXPECT_EQ(StockeCourant(Publication::kPlace), NoeudStocke(noeud, 0, "Divers", 0, "B", "A", Publication::GV_Texte, 0, 1));
  ASSERT_TRUE(Publication::SupprimerNoeud());
  EXPECT_EQ(Xi::Nombre(Publication::Fichier().Table), 0u);
  ASSERT_TRUE(Publication::ArbreParDefaut());
  EXPECT_GT(Xi::Nombre(Publication::Fichier().Table), 300u) << "the tree is laid here";
  EXPECT_EQ(Requetes(), avant);
  EXPECT_TRUE(fiche_.FichierVok.Modifie());
  EXPECT_EQ(SupTraitement::Profondeur(), 0u);
}

TEST_F(ServeurFichiers, ARenumberingThatTheServerRefusesEndsAfterOnePassWithFalse) {
  const int32_t table = SupFichiers::NumerosTables()[Publication::kPlace - 1];
  const auto recevoir = [table](int32_t identifiant, const Octets& stocke) {
    const Octets ordre = Concatener({{GM_Creation}, Entier(static_cast<uint32_t>(table)),
                                     Entier(static_cast<uint32_t>(identifiant)), stocke});
    NetClient::AppliquerOrdreModif(ordre.data(), static_cast<int32_t>(ordre.size()));
  };
  // Three tabs at position 1 under group 1: two must move.
  recevoir(560, NoeudStocke(1, 0, "Espace", 0, "", "", Publication::GV_Groupe, 0, 0));
  int32_t identifiant = 1120;
  for (int32_t i = 0; i < 3; ++i) {
    recevoir(identifiant, NoeudStocke(10 + 2 * i, 1, "Onglet", i, "", "", Publication::GV_Groupe, 0, 0));
    recevoir(identifiant + 560,
             NoeudStocke(11 + 2 * i, 10 + 2 * i, "Position", 0, "1", "1", Publication::GV_Entier, 0, 0));
    identifiant += 1120;
  }
  ASSERT_EQ(Xi::Nombre(Publication::Fichier().Table), 7u);
  serveur_.Traitements[CM_ENVOYER_REQUETE] = [](TServeurScripte& s, const TypeMessageRecu&) {
    s.Envoyer(CM_REPONDRE_REQUETE, std::string(1, '\0'));
  };
  const std::size_t avant = Requetes();
  EXPECT_FALSE(Publication::NumeroterPositions(1, "Onglet"));
  ASSERT_EQ(Requetes(), avant + 2) << "one change for each group that moves";
  // The last one asked for the third tab's position: 3, keyed by its identifier.
  EXPECT_EQ(serveur_.Dernier(CM_ENVOYER_REQUETE),
            Texte(Concatener({{0, 0}, Entier(0x802D0201), Entier(client_.IdentServeur()), {2}, Entier(3920),
                              Entier(256), Chaine("3", 255)})));
  EXPECT_EQ(Publication::ValeurNoeud(Publication::GV_Entier, 14, "Position", 0), "1");
}

}  // namespace
