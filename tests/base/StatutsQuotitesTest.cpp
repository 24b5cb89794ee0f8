// Teacher statuses, weekly quotas and travels between sites: the stored layouts of every base
// version, what the older ones lack and take from the base parameter block, the current layout every
// version writes, the references to sites by number and the counters raised by loading.
#include <cstring>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "BaseEssai.h"
#include "RessourcesEssai.h"
#include "base/CompteursNumeros.h"
#include "base/SupParam.h"
#include "base/SupFichiers.h"
#include "base/ressources/SupQuotite.h"
#include "base/ressources/SupStatut.h"
#include "base/sites/SupSite.h"
#include "base/sites/SupSites.h"
#include "base/sites/SupTrajetSite.h"
#include "core/records/Xi.h"

namespace {

using Octets = std::vector<uint8_t>;

void Poser32(Octets& s, std::size_t decalage, int32_t v) { std::memcpy(&s[decalage], &v, 4); }

// A status as bases below 3.1.6 store it (48 bytes), or below 5.0.3 (68: the same, then 20 bytes the
// loading ignores).
Octets StatutAncien(std::size_t taille, const std::string& nom, int32_t annuel, int32_t t1, int32_t t3, uint8_t defaut) {
  Octets s = Chaine(nom, 30);
  s.resize(taille, 0);
  Poser32(s, 32, annuel);
  Poser32(s, 36, t1);
  Poser32(s, 40, t3);
  s[44] = defaut;
  for (std::size_t i = 45; i < taille; ++i) s[i] = 0x5A;
  return s;
}

// A status in the current 72-byte layout.
Octets StatutCourant(const std::string& nom, int32_t annuel, int32_t t1, int32_t t2, int32_t t3, uint8_t defaut,
                     int32_t maxSemaine, int32_t maxCycle, int32_t quota, const Octets& domaine) {
  Octets s = Chaine(nom, 30);
  s.resize(72, 0);
  Poser32(s, 32, annuel);
  Poser32(s, 36, t1);
  Poser32(s, 40, t2);
  Poser32(s, 44, t3);
  s[48] = defaut;
  Poser32(s, 52, maxSemaine);
  Poser32(s, 56, maxCycle);
  Poser32(s, 60, quota);
  std::copy(domaine.begin(), domaine.end(), s.begin() + 64);
  return s;
}

const Octets kSemaines1A41 = {0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x03, 0x00};
const Octets kSemaines1A7 = {0xFE, 0, 0, 0, 0, 0, 0};

class Statuts : public BaseOuverte {
 protected:
  void TearDown() override {
    SupStatutsAnciens::Valeurs() = {};
    BaseOuverte::TearDown();
  }
};

TEST_F(Statuts, EveryLayoutReadsWhatItStoresAndSuppliesTheRestThenWritesTheCurrentOne) {
  TFichierSup& f = SupStatut::Fichier();
  const TypeDescriptionFichier& d = f.Description();
  // The two status values of an old base's parameter block.
  SupStatutsAnciens::Valeurs() = {1200, 1800};
  const Octets vide(7, 0);
  // base version, stored record, then the record read in the current layout
  const std::vector<std::tuple<TypeVersionFormat, Octets, Octets>> cas = {
      {{3, 1, 5, 0}, StatutAncien(48, "PEG", 143500, 84000, 18450, 1),
       StatutCourant("PEG", 143500, 84000, 0, 18450, 1, 3500, 1200, 1800, kSemaines1A41)},
      {{3, 1, 5, 9}, StatutAncien(48, "Certifie", 100000, 64800, 0, 0),
       StatutCourant("Certifie", 100000, 64800, 0, 0, 0, 3500, 1200, 1800, kSemaines1A41)},
      {{5, 0, 2, 0}, StatutAncien(68, "Agrege", 90000, 54000, -10, 1),
       StatutCourant("Agrege", 90000, 54000, 0, -10, 1, 3500, 1200, 1800, kSemaines1A41)},
      {{5, 0, 3, 0}, StatutCourant("PRCE", 143500, 84000, 700, 18450, 0, 2000, 40, 50, vide),
       StatutCourant("PRCE", 143500, 84000, 700, 18450, 0, 2000, 40, 50, kSemaines1A41)},
      {{5, 0, 6, 1}, StatutCourant("Vacataire", 1000, 900, 50, 25, 1, 100, 200, 300, kSemaines1A7),
       StatutCourant("Vacataire", 1000, 900, 50, 25, 1, 100, 200, 300, kSemaines1A7)},
  };
  for (const auto& [version, stocke, attendu] : cas) {
    SCOPED_TRACE(std::to_string(version.Majeure) + "." + std::to_string(version.Mineure) + "." +
                 std::to_string(version.Revision) + " " + std::to_string(stocke.size()));
    const std::size_t disposition = f.DispositionPour(version, true);
    ASSERT_EQ(d.Dispositions[disposition].Taille, stocke.size());
    ASSERT_TRUE(f.LireArticleStocke(disposition, stocke.data(), 72, GM_Creation));
    Octets ecrit(72, 0xEE);
    ASSERT_TRUE(f.EcrireArticleStocke(ecrit.data(), 72, GM_Creation));
    EXPECT_EQ(ecrit, attendu);
  }
}

TEST_F(Statuts, AnOldStatusWithoutBlockValuesTakesZero) {
  TFichierSup& f = SupStatut::Fichier();
  ASSERT_TRUE(f.LireArticleStocke(f.DispositionPour({3, 0, 0, 0}, true),
                                  StatutAncien(48, "PEG", 143500, 84000, 18450, 7).data(), 72, GM_Creation));
  const TypeEnregistrementStatut& e = *SupStatut::Article();
  EXPECT_EQ(e.MaxT1Cycle, 0);
  EXPECT_EQ(e.QuotaHebdomadaire, 0);
  EXPECT_EQ(e.ParDefaut, 1);
  EXPECT_EQ(e.T2Forfait, 0);
}

// A server that stores what it is asked: a creation inserts the status the 44 bytes describe (with
// the defaults of a new status) under the next identifier and answers it; a change of the default
// byte sends back the changed record.
class ServeurStatuts {
 public:
  explicit ServeurStatuts(ClientEssai& client) {
    client.Serveur = [this](const RequeteEnvoyee& r, void* reponse) {
      if (r.Code == SupStatut::kCodeCreerStatutProfesseur && r.Donnees.size() == 44) {
        Octets s(r.Donnees.begin(), r.Donnees.begin() + 32);
        s.resize(72, 0);
        std::copy(r.Donnees.begin() + 32, r.Donnees.begin() + 40, s.begin() + 32);  // annual quota, T1
        std::copy(r.Donnees.begin() + 40, r.Donnees.begin() + 44, s.begin() + 44);  // T3
        Poser32(s, 52, 3500);
        std::copy(kSemaines1A41.begin(), kSemaines1A41.end(), s.begin() + 64);
        const int32_t identifiant = prochain_;
        prochain_ += 72;
        Recevoir(OrdreRecu(GM_Creation, SupStatut::kPlace, identifiant, s));
        std::memcpy(reponse, &identifiant, 4);
        return true;
      }
      if (r.Code == SupStatut::kCodeModifierDefautStatutProfesseur && r.Donnees.size() == 1) {
        TFichierSup& f = SupStatut::Fichier();
        f.EmpilerPosition();
        const bool trouve = f.ChercherParIdentifiant(r.Parametre);
        Octets s(72, 0);
        if (trouve) (void)f.EcrireArticleStocke(s.data(), 72, r.Parametre, GM_Modification);
        f.DepilerPosition();
        if (!trouve) return false;
        s[48] = r.Donnees[0];
        Recevoir(OrdreRecu(GM_Modification, SupStatut::kPlace, r.Parametre, s));
        return true;
      }
      return false;
    };
  }

 private:
  int32_t prochain_ = 72;
};

std::string NomStatut() { return FichierSup::LireChaineCourte(SupStatut::Article()->Nom, 30); }

const std::vector<std::pair<std::string, int32_t>> kStatutsParDefaut = {
    {"PEG", 84000},         {"PETT", 84000},          {"PEPTP \xE9lectricit\xE9", 88200},
    {"PEPTP autre", 92400}, {"Formateur EPS", 92400}, {"Educateur sportif", 92400}};

TEST_F(Statuts, TheDefaultStatusesAreSixCreationsThenTheStatusNearestTheRatioIsMadeTheDefault) {
  ClientEssai& client = client_;
  ServeurStatuts serveur(client);
  TFichierSup& f = SupStatut::Fichier();
  // The registry keeps the routine with the file's entry.
  ASSERT_TRUE(NetXi::Table(SupStatut::kPlace)->ContenuParDefaut);
  ASSERT_TRUE(NetXi::Table(SupStatut::kPlace)->ContenuParDefaut());
  ASSERT_EQ(client.Envoyees.size(), 7u);
  for (std::size_t i = 0; i < 6; ++i) {
    const auto& [nom, t1] = kStatutsParDefaut[i];
    SCOPED_TRACE(nom);
    Octets attendu = Chaine(nom, 30);
    attendu.resize(44, 0);
    Poser32(attendu, 32, 143500);
    Poser32(attendu, 36, t1);
    Poser32(attendu, 40, 18450);
    EXPECT_EQ(client.Envoyees[i].Code, SupStatut::kCodeCreerStatutProfesseur);
    EXPECT_EQ(client.Envoyees[i].Parametre, 0);
    EXPECT_EQ(client.Envoyees[i].Donnees, attendu);
  }
  // No status was the default: "PEG" (identifier 72) is made the default, one request of 1 byte.
  EXPECT_EQ(client.Envoyees[6].Code, SupStatut::kCodeModifierDefautStatutProfesseur);
  EXPECT_EQ(client.Envoyees[6].Parametre, 72);
  EXPECT_EQ(client.Envoyees[6].Donnees, Octets{1});
  ASSERT_TRUE(SupStatut::ChercherStatutParDefaut());
  EXPECT_EQ(NomStatut(), "PEG");
  EXPECT_DOUBLE_EQ(SupStatut::RatioT2() * 10000.0, 41050.0 / 84000.0 * 10000.0);
  EXPECT_NEAR(SupStatut::RatioT2() * 10000.0, 4886.9, 0.01);

  // Locally the same six statuses, nothing sent; "PEG" the only default one.
  client.Envoyees.clear();
  client.Exclusif = true;
  ASSERT_TRUE(f.CreerTable());
  ASSERT_TRUE(SupStatut::CreerStatutsParDefaut());
  EXPECT_TRUE(client.Envoyees.empty());
  ASSERT_EQ(Xi::Nombre(f.Table), 6u);
  for (uint32_t n = 1; n <= 6; ++n) {
    ASSERT_TRUE(Xi::AllerA(f.Table, n));
    const TypeEnregistrementStatut& e = *SupStatut::Article();
    EXPECT_EQ(NomStatut(), kStatutsParDefaut[n - 1].first);
    EXPECT_EQ(std::tuple(e.QuotaAnnuel, e.T1, e.T2Forfait, e.T3, e.ParDefaut, e.MaxT1Semaine),
              std::tuple(143500, kStatutsParDefaut[n - 1].second, 0, 18450, static_cast<uint8_t>(n == 1), 3500));
    EXPECT_EQ(Octets(e.Domaine.Octets.begin(), e.Domaine.Octets.end()), kSemaines1A41);
  }
  EXPECT_TRUE(fiche_.FichierVok.Modifie());
  // Again: every name exists (case ignored), the creations fail and the default stays.
  EXPECT_FALSE(SupStatut::CreerStatutsParDefaut());
  EXPECT_FALSE(SupStatut::CreerStatutProfesseur("peg", 1, 1, 1));
  EXPECT_EQ(Xi::Nombre(f.Table), 6u);
  ASSERT_TRUE(SupStatut::ChercherStatutParDefaut());
  EXPECT_EQ(Xi::NumeroCourant(f.Table), 1u);
}

TEST_F(Statuts, ACreationAcceptedWithoutItsOrderIsTheServersVerdict) {
  client_.Serveur = [](const RequeteEnvoyee&, void* reponse) {
    const int32_t identifiant = 500;
    std::memcpy(reponse, &identifiant, 4);
    return true;
  };
  EXPECT_TRUE(SupStatut::CreerStatutProfesseur(std::string(40, 'N'), 1, 2, 3));
  ASSERT_EQ(client_.Envoyees.size(), 1u);
  EXPECT_EQ(Octets(client_.Envoyees[0].Donnees.begin(), client_.Envoyees[0].Donnees.begin() + 31),
            Chaine(std::string(30, 'N'), 30))
      << "the name is cut to 30";
  client_.Serveur = [](const RequeteEnvoyee&, void*) { return false; };
  EXPECT_FALSE(SupStatut::CreerStatutProfesseur("Refus", 1, 2, 3));
  EXPECT_EQ(Xi::Nombre(SupStatut::Fichier().Table), 0u);
}

// A quota record as stored: the teacher's identifier, week n's quota at 4 n, then what older bases
// add after the 212 bytes (read nowhere).
Octets QuotiteStockee(std::size_t taille, int32_t enseignant, int32_t premier) {
  Octets s(taille, 0x77);
  Poser32(s, 0, enseignant);
  for (int32_t n = 1; n <= 52; ++n) Poser32(s, 4 * static_cast<std::size_t>(n), premier + n);
  return s;
}

class Quotites : public RessourcesEssai::BaseRessources {};

TEST_F(Quotites, ATeachersQuotaRecordIsCreatedThroughTheServerOrLocallyAndNoneForANonTeacher) {
  Octets prof = RessourcesEssai::Ressource(0, "Martin", "MAR", 1);
  Poser32(prof, 184, 5200);
  Poser32(prof, 224, RessourcesEssai::kIdPEG);
  const uint32_t martin = Charger(300, prof);
  const uint32_t salle = Charger(304, RessourcesEssai::Ressource(5, "Salle", "S", 2));
  ASSERT_NE(salle, 0u);
  ASSERT_TRUE(Xi::AllerA(SupRessource::Fichier().Table, salle));
  // Client: the 4-byte identifier of the teacher; the answered identifier makes the record current.
  client_.Serveur = [](const RequeteEnvoyee& r, void* reponse) {
    const int32_t identifiant = 212;
    Recevoir(OrdreRecu(GM_Creation, SupQuotite::kPlace, identifiant, QuotiteStockee(212, 300, 0)));
    std::memcpy(reponse, &identifiant, 4);
    return r.Donnees.size() == 4;
  };
  EXPECT_TRUE(SupQuotite::CreerQuotitesProfesseur(martin));
  ASSERT_EQ(client_.Envoyees.size(), 1u);
  EXPECT_EQ(client_.Envoyees[0].Code, SupQuotite::kCodeCreerQuotitesProfesseur);
  EXPECT_EQ(client_.Envoyees[0].Donnees, (Octets{44, 1, 0, 0}));
  EXPECT_EQ(SupQuotite::Article()->Identifiant, 212);
  EXPECT_EQ(Xi::NumeroCourant(SupRessource::Fichier().Table), salle) << "the resources' position is kept";
  // Not a teacher: nothing sent, False.
  client_.Envoyees.clear();
  for (uint32_t numero : {salle, 0u, 99u}) EXPECT_FALSE(SupQuotite::CreerQuotitesProfesseur(numero)) << numero;
  EXPECT_TRUE(client_.Envoyees.empty());
  // Locally: the quotas of the teacher (5200 / 52 a week); a second record for it is refused.
  client_.Exclusif = true;
  ASSERT_TRUE(SupQuotite::Fichier().CreerTable());
  EXPECT_TRUE(SupQuotite::CreerQuotitesProfesseur(martin));
  EXPECT_EQ(SupQuotite::Article()->Enseignant, martin);
  EXPECT_EQ(SupQuotite::Article()->Quotas[0], 100);
  EXPECT_EQ(SupQuotite::Article()->Quotas[51], 100);
  EXPECT_FALSE(SupQuotite::CreerQuotitesProfesseur(martin));
  EXPECT_EQ(Xi::Nombre(SupQuotite::Fichier().Table), 1u);
  EXPECT_TRUE(client_.Envoyees.empty());
}

TEST_F(Quotites, WeeklyQuotasOverCfaModeContributionsTeacherEmptyDomainAndNegativeService) {
  // "Autre" applies to weeks 1 to 7; "PEG", the default, too (annual quota 143500).
  const auto enseignant = [this](int32_t identifiant, int32_t service, uint32_t statut) {
    Octets r = RessourcesEssai::Ressource(0, "P" + std::to_string(identifiant), "P" + std::to_string(identifiant),
                                          static_cast<uint32_t>(identifiant));
    Poser32(r, 184, service);
    Poser32(r, 224, static_cast<int32_t>(statut));
    return Charger(identifiant, r);
  };
  const uint32_t p7000 = enseignant(300, 7000, RessourcesEssai::kIdAutre);
  const uint32_t negatif = enseignant(304, -7007, RessourcesEssai::kIdAutre);
  const uint32_t sansStatut = enseignant(308, 5200, 999);  // an unknown status loads as the default one
  const uint32_t p5200 = enseignant(312, 5200, RessourcesEssai::kIdPEG);
  const uint32_t pNegatif = enseignant(316, -5201, RessourcesEssai::kIdPEG);
  ASSERT_NE(pNegatif, 0u);
  SupParam::Parametres().ApportProfesseurParDefaut = 104;
  struct Cas {
    bool Cfa, Annuel;
    uint32_t Professeur;
    int32_t Semaine1, Semaine7, Semaine8, Semaine52;
  };
  const Cas cas[] = {
      {true, true, p7000, 1000, 1000, 0, 0},           {true, true, 0, 20500, 20500, 0, 0},
      {true, false, p7000, 7000, 7000, 0, 0},          {true, true, negatif, -1001, -1001, 0, 0},
      {true, true, sansStatut, 742, 742, 0, 0},        {false, true, p5200, 100, 100, 100, 100},
      {false, true, 0, 2, 2, 2, 2},                    {false, false, p5200, 5200, 5200, 5200, 5200},
      {false, true, pNegatif, -100, -100, -100, -100}, {false, true, 99u, 2, 2, 2, 2},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(std::to_string(c.Cfa) + std::to_string(c.Annuel) + " " + std::to_string(c.Professeur));
    SupParam::DefinirModeCFA(c.Cfa);
    SupParam::Parametres().ApportProfesseurAnnuel = c.Annuel;
    client_.Envoyees.clear();
    SupQuotite::ValeursHebdomadairesQuotite(c.Professeur);
    TFixedArrayOfValeurHebdomadaire q;
    SupQuotite::QuotasDe(*SupQuotite::Article(), q);
    EXPECT_EQ(q.ValeurSemaine(1), c.Semaine1);
    EXPECT_EQ(q.ValeurSemaine(7), c.Semaine7);
    EXPECT_EQ(q.ValeurSemaine(8), c.Semaine8);
    EXPECT_EQ(q.ValeurSemaine(52), c.Semaine52);
    // Weekly contributions ask for annual ones (refused here); annual ones ask nothing.
    ASSERT_EQ(client_.Envoyees.size(), c.Annuel ? 0u : 1u);
    if (!c.Annuel) {
      EXPECT_EQ(client_.Envoyees[0].Code, SupParam::kApportProfesseurAnnuel);
    }
  }
  // W = 0: the teacher's status applies to no week; then no default status and no teacher.
  SupParam::DefinirModeCFA(true);
  SupParam::Parametres().ApportProfesseurAnnuel = 1;
  TFichierSup& statuts = SupStatut::Fichier();
  ASSERT_TRUE(Xi::AllerA(statuts.Table, 2));
  SupStatut::Article()->Domaine = TypeDomaineHebdomadaire{};
  ASSERT_TRUE(Xi::Modifier(statuts.Table));
  ASSERT_TRUE(Xi::AllerA(statuts.Table, 1));
  SupStatut::Article()->ParDefaut = 0;
  ASSERT_TRUE(Xi::Modifier(statuts.Table));
  for (uint32_t professeur : {p7000, 0u}) {
    SupQuotite::ValeursHebdomadairesQuotite(professeur);
    for (int32_t n = 1; n <= 52; ++n) ASSERT_EQ(SupQuotite::Article()->Quotas[n - 1], 0) << professeur << " " << n;
  }
}

TEST_F(Quotites, EveryStatusInRecordOrderUntilTheRoutineAnswersAndThePositionIsKept) {
  Recevoir(OrdreRecu(GM_Creation, RessourcesEssai::kSTP, 216, RessourcesEssai::Statut("Trois", 1, 0, 0, false)));
  ASSERT_TRUE(Xi::AllerA(SupStatut::Fichier().Table, 2));
  std::string vus;
  EXPECT_EQ(SupStatut::PourChaqueStatut([&vus] {
              vus += FichierSup::LireChaineCourte(SupStatut::Article()->Nom, 30) + " ";
              return 0;
            }),
            0);
  EXPECT_EQ(vus, "PEG Autre Trois ");
  EXPECT_EQ(Xi::NumeroCourant(SupStatut::Fichier().Table), 2u);
  vus.clear();
  EXPECT_EQ(SupStatut::PourChaqueStatut([&vus] {
              vus += FichierSup::LireChaineCourte(SupStatut::Article()->Nom, 30) + " ";
              return vus.size() > 4 ? 7 : 0;
            }),
            7);
  EXPECT_EQ(vus, "PEG Autre ");
  EXPECT_EQ(Xi::NumeroCourant(SupStatut::Fichier().Table), 2u);
  EXPECT_EQ(SupStatut::Article()->Identifiant, static_cast<int32_t>(RessourcesEssai::kIdAutre));
}

TEST_F(Quotites, EverySizeReadsItsFirst212BytesAndTheCurrentLayoutIsWritten) {
  Octets martin = RessourcesEssai::Ressource(0, "Martin", "MAR", 1);
  Poser32(martin, 224, RessourcesEssai::kIdPEG);
  const uint32_t enseignant = Charger(300, martin);
  ASSERT_NE(enseignant, 0u);
  TFichierSup& f = SupQuotite::Fichier();
  const TypeDescriptionFichier& d = f.Description();
  for (const auto& [version, taille] : std::vector<std::pair<TypeVersionFormat, std::size_t>>{
           {{2, 0, 107, 0}, 216}, {{2, 0, 108, 0}, 420}, {{4, 0, 98, 0}, 420}, {{4, 0, 99, 0}, 212}, {{5, 0, 6, 1}, 212}}) {
    SCOPED_TRACE(std::to_string(version.Majeure) + "." + std::to_string(version.Revision));
    const std::size_t disposition = f.DispositionPour(version, true);
    ASSERT_EQ(d.Dispositions[disposition].Taille, taille);
    const int32_t premier = -1000 * static_cast<int32_t>(taille);
    ASSERT_TRUE(f.LireArticleStocke(disposition, QuotiteStockee(taille, 300, premier).data(), 36, GM_Creation));
    EXPECT_EQ(SupQuotite::Article()->Enseignant, enseignant);
    TFixedArrayOfValeurHebdomadaire quotas;
    SupQuotite::QuotasDe(*SupQuotite::Article(), quotas);
    for (int32_t n : {1, 2, 41, 52}) EXPECT_EQ(quotas.ValeurSemaine(n), premier + n) << n;
    Octets ecrit(212, 0xEE);
    ASSERT_TRUE(f.EcrireArticleStocke(ecrit.data(), 36, GM_Creation));
    EXPECT_EQ(ecrit, QuotiteStockee(212, 300, premier));
    // A record naming an unknown teacher is refused in every layout.
    EXPECT_FALSE(f.LireArticleStocke(disposition, QuotiteStockee(taille, 301, 0).data(), 40, GM_Creation));
  }
}

TEST_F(Quotites, TheDefaultStatusIsSetByTwoRequestsAndNeverForNoStatus) {
  TFichierSup& f = SupStatut::Fichier();
  client_.Serveur = [](const RequeteEnvoyee&, void*) { return true; };
  ASSERT_TRUE(Xi::AllerA(f.Table, 1));
  for (uint32_t numero : {0u, 3u, 99u}) EXPECT_FALSE(SupStatut::DefinirStatutParDefaut(numero)) << numero;
  EXPECT_FALSE(SupStatut::ModifierDefautStatutProfesseurNumero(99, 1));
  EXPECT_TRUE(client_.Envoyees.empty());
  // "PEG" (the default) loses it, then "Autre" gets it; the position is kept.
  EXPECT_TRUE(SupStatut::DefinirStatutParDefaut(2));
  ASSERT_EQ(client_.Envoyees.size(), 2u);
  const std::vector<std::tuple<uint32_t, int32_t, Octets>> attendues = {
      {SupStatut::kCodeModifierDefautStatutProfesseur, RessourcesEssai::kIdPEG, {0}},
      {SupStatut::kCodeModifierDefautStatutProfesseur, RessourcesEssai::kIdAutre, {1}}};
  for (std::size_t i = 0; i < 2; ++i)
    EXPECT_EQ(std::tuple(client_.Envoyees[i].Code, client_.Envoyees[i].Parametre, client_.Envoyees[i].Donnees),
              attendues[i]);
  EXPECT_EQ(Xi::NumeroCourant(f.Table), 1u);
  // The first refused, the second is not sent: the base keeps one default status.
  client_.Envoyees.clear();
  client_.Serveur = [](const RequeteEnvoyee&, void*) { return false; };
  EXPECT_FALSE(SupStatut::DefinirStatutParDefaut(2));
  EXPECT_EQ(client_.Envoyees.size(), 1u);

  // Locally.
  client_.Envoyees.clear();
  client_.Exclusif = true;
  EXPECT_TRUE(SupStatut::DefinirStatutParDefaut(2));
  EXPECT_TRUE(client_.Envoyees.empty());
  EXPECT_EQ(Xi::NumeroCourant(f.Table), 1u);
  EXPECT_EQ(SupStatut::Article()->ParDefaut, 0);
  ASSERT_TRUE(SupStatut::ChercherStatutParDefaut());
  EXPECT_EQ(Xi::NumeroCourant(f.Table), 2u);
  // Without any default status, the nearest to the ratio of "PEG" becomes it.
  ASSERT_TRUE(SupStatut::ModifierDefautStatutProfesseur(0));
  EXPECT_FALSE(SupStatut::ChercherStatutParDefaut());
  EXPECT_TRUE(SupStatut::DefinirStatutParDefautLePlusProche(SupStatut::kRatioParDefaut));
  ASSERT_TRUE(SupStatut::ChercherStatutParDefaut());
  EXPECT_EQ(Xi::NumeroCourant(f.Table), 1u);
  EXPECT_TRUE(fiche_.FichierVok.Modifie());
}

// A quota record as the server stores it, week n's quota given by `quota`.
template <typename F>
Octets Quotas(int32_t enseignant, F quota) {
  Octets s(212, 0);
  Poser32(s, 0, enseignant);
  for (int32_t n = 1; n <= 52; ++n) Poser32(s, 4 * static_cast<std::size_t>(n), quota(n));
  return s;
}

TEST_F(Quotites, TheQuotaRequestsThroughTheServerCarryTheTeachersOrTheRecordsIdentifier) {
  const uint32_t martin = Charger(300, RessourcesEssai::Ressource(0, "Martin", "MAR", 1));
  const uint32_t salle = Charger(304, RessourcesEssai::Ressource(5, "Salle", "S", 2));
  Recevoir(OrdreRecu(GM_Creation, SupQuotite::kPlace, 424, Quotas(300, [](int32_t) { return 7; })));
  client_.Serveur = [](const RequeteEnvoyee&, void*) { return true; };
  // The refill: the current teacher's identifier and the value; nothing for another kind.
  ASSERT_TRUE(Xi::AllerA(SupRessource::Fichier().Table, salle));
  EXPECT_FALSE(SupQuotite::AffecterQuotitesDuProfesseur(5));
  EXPECT_FALSE(SupQuotite::ChercherQuotitesDuProfesseurCourant());
  EXPECT_TRUE(client_.Envoyees.empty());
  ASSERT_TRUE(Xi::AllerA(SupRessource::Fichier().Table, martin));
  EXPECT_TRUE(SupQuotite::AffecterQuotitesDuProfesseur(-2));
  // The deletion of the teacher's record: its identifier, no data.
  EXPECT_TRUE(SupQuotite::SupprimerQuotitesDuProfesseur(martin));
  EXPECT_TRUE(SupQuotite::SupprimerQuotitesDuProfesseur(salle)) << "no record, nothing to delete";
  EXPECT_TRUE(SupQuotite::CreerQuotitesProfesseursParDefaut());
  const std::vector<std::tuple<uint32_t, int32_t, Octets>> attendues = {
      {SupQuotite::kCodeAffecterQuotitesDuProfesseur, 300, {0xFE, 0xFF, 0xFF, 0xFF}},
      {SupQuotite::kCodeSupprimerQuotitesProfesseur, 424, {}},
      {SupQuotite::kCodeCreerQuotitesProfesseursParDefaut, 0, {}}};
  ASSERT_EQ(client_.Envoyees.size(), attendues.size());
  for (std::size_t i = 0; i < attendues.size(); ++i)
    EXPECT_EQ(std::tuple(client_.Envoyees[i].Code, client_.Envoyees[i].Parametre, client_.Envoyees[i].Donnees),
              attendues[i]);
  EXPECT_EQ(Xi::Nombre(SupQuotite::Fichier().Table), 1u) << "the server's order deletes it";
  EXPECT_TRUE(SupQuotite::ChercherQuotitesDuProfesseurCourant());
  EXPECT_EQ(SupQuotite::Article()->Identifiant, 424);
  // Refused by the server: the verdict.
  client_.Serveur = [](const RequeteEnvoyee&, void*) { return false; };
  EXPECT_FALSE(SupQuotite::AffecterQuotitesDuProfesseur(1));
  EXPECT_FALSE(SupQuotite::SupprimerQuotitesProfesseur());
}

TEST_F(Quotites, ALocalRefillGivesTheTeachersServiceToTheWeeksThatHadAQuota) {
  client_.Exclusif = true;
  SupParam::Parametres().ApportProfesseurAnnuel = 1;
  const auto enseignant = [this](int32_t identifiant, int32_t service) {
    Octets r = RessourcesEssai::Ressource(0, "P" + std::to_string(identifiant), "P" + std::to_string(identifiant),
                                          static_cast<uint32_t>(identifiant));
    Poser32(r, 184, service);
    Poser32(r, 224, RessourcesEssai::kIdPEG);
    return Charger(identifiant, r);
  };
  const auto semaines3A5 = [](int32_t n) { return n >= 3 && n <= 5 ? 9 : 0; };
  const auto aucune = [](int32_t n) { return n == 9 ? -4 : 0; };
  struct Cas {
    const char* Quoi;
    bool Cfa, Annuel;
    int32_t Service;
    std::function<int32_t(int32_t)> Avant;  // nullptr: the teacher has no quota record
    std::function<int32_t(int32_t)> Apres;
  };
  const Cas cas[] = {
      {"weeks 3 to 5 kept", false, true, 5200, semaines3A5, [](int32_t n) { return n >= 3 && n <= 5 ? 100 : 0; }},
      {"none above 0: weeks 1 to 52", false, true, 5200, aucune, [](int32_t) { return 100; }},
      {"CFA: divided by 41", true, true, 4141, semaines3A5, [](int32_t n) { return n >= 3 && n <= 5 ? 101 : 0; }},
      {"weekly contributions", true, false, 4141, semaines3A5, [](int32_t n) { return n >= 3 && n <= 5 ? 4141 : 0; }},
      {"negative service, signed", false, true, -5201, semaines3A5,
       [](int32_t n) { return n >= 3 && n <= 5 ? -100 : 0; }},
      {"no record: created first", false, true, 10400, nullptr, [](int32_t) { return 200; }},
  };
  int32_t identifiant = 400;
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.Quoi);
    SupParam::DefinirModeCFA(c.Cfa);
    SupParam::Parametres().ApportProfesseurAnnuel = c.Annuel;
    identifiant += 4;
    const uint32_t professeur = enseignant(identifiant, c.Service);
    ASSERT_NE(professeur, 0u);
    if (c.Avant) Recevoir(OrdreRecu(GM_Creation, SupQuotite::kPlace, identifiant, Quotas(identifiant, c.Avant)));
    const uint32_t avant = Xi::Nombre(SupQuotite::Fichier().Table);
    fiche_.FichierVok.SetModifie(false);
    ASSERT_TRUE(Xi::AllerA(SupRessource::Fichier().Table, professeur));
    ASSERT_TRUE(SupQuotite::AffecterQuotitesDuProfesseur(77));
    EXPECT_TRUE(fiche_.FichierVok.Modifie());
    EXPECT_EQ(Xi::Nombre(SupQuotite::Fichier().Table), avant + (c.Avant ? 0u : 1u));
    ASSERT_TRUE(SupQuotite::ChercherQuotitesDuProfesseur(professeur));
    for (int32_t n = 1; n <= 52; ++n) ASSERT_EQ(SupQuotite::Article()->Quotas[n - 1], c.Apres(n)) << n;
  }
  EXPECT_TRUE(client_.Envoyees.empty());
}

TEST_F(Quotites, ALocalRefillWhoseRecordCannotBeCreatedWritesNoOtherTeachersQuotas) {
  client_.Exclusif = true;
  SupParam::Parametres().ApportProfesseurAnnuel = 1;
  Octets r = RessourcesEssai::Ressource(0, "Martin", "MAR", 1);
  Poser32(r, 184, 5200);
  const uint32_t martin = Charger(300, r);
  const uint32_t durand = Charger(304, RessourcesEssai::Ressource(0, "Durand", "DUR", 2));
  Recevoir(OrdreRecu(GM_Creation, SupQuotite::kPlace, 424, Quotas(304, [](int32_t) { return 7; })));
  TFichierSup& f = SupQuotite::Fichier();
  ASSERT_TRUE(SupQuotite::ChercherQuotitesDuProfesseur(durand));
  // A full table refuses the new record.
  const_cast<TypeEnteteXi*>(Xi::Entete(f.Table))->Maximum = 1;
  ASSERT_TRUE(Xi::AllerA(SupRessource::Fichier().Table, martin));
  EXPECT_FALSE(SupQuotite::AffecterQuotitesDuProfesseur(5200));
  EXPECT_EQ(Xi::Nombre(f.Table), 1u);
  ASSERT_TRUE(SupQuotite::ChercherQuotitesDuProfesseur(durand));
  for (int32_t n = 1; n <= 52; ++n) ASSERT_EQ(SupQuotite::Article()->Quotas[n - 1], 7) << n;
  EXPECT_FALSE(SupQuotite::ChercherQuotitesDuProfesseur(martin));
  EXPECT_EQ(SupQuotite::Article()->Enseignant, durand) << "not found, the former record is current again";
}

TEST_F(Quotites, ALocalDeletionRemovesTheTeachersRecordOnly) {
  client_.Exclusif = true;
  const uint32_t martin = Charger(300, RessourcesEssai::Ressource(0, "Martin", "MAR", 1));
  const uint32_t durand = Charger(304, RessourcesEssai::Ressource(0, "Durand", "DUR", 2));
  Recevoir(OrdreRecu(GM_Creation, SupQuotite::kPlace, 424, Quotas(300, [](int32_t) { return 7; })));
  Recevoir(OrdreRecu(GM_Creation, SupQuotite::kPlace, 636, Quotas(304, [](int32_t) { return 8; })));
  EXPECT_TRUE(SupQuotite::CreerQuotitesProfesseursParDefaut());
  EXPECT_EQ(Xi::Nombre(SupQuotite::Fichier().Table), 2u) << "there are no default rows";
  fiche_.FichierVok.SetModifie(false);
  EXPECT_TRUE(SupQuotite::SupprimerQuotitesDuProfesseur(martin));
  EXPECT_TRUE(fiche_.FichierVok.Modifie());
  EXPECT_FALSE(SupQuotite::ChercherQuotitesDuProfesseur(martin));
  EXPECT_TRUE(SupQuotite::SupprimerQuotitesDuProfesseur(martin)) << "none left: nothing to do";
  ASSERT_EQ(Xi::Nombre(SupQuotite::Fichier().Table), 1u);
  ASSERT_TRUE(SupQuotite::ChercherQuotitesDuProfesseur(durand));
  EXPECT_EQ(SupQuotite::Article()->Quotas[0], 8);
  EXPECT_TRUE(client_.Envoyees.empty());
}

Octets Trajet(int32_t numero, int32_t depart, int32_t arrivee, int32_t duree) {
  Octets s(16, 0);
  Poser32(s, 0, numero);
  Poser32(s, 4, depart);
  Poser32(s, 8, arrivee);
  Poser32(s, 12, duree);
  return s;
}

// The fixture's sites: "Annexe" numbered 7 (record 1) and the default site numbered 1 (record 2).
TEST_F(Quotites, TravelsNameTheirSitesByNumberAndTheCountersFollowTheLargestNumbersLoaded) {
  using CompteursNumeros::Compteurs;
  Compteurs()[CompteursNumeros::kSIT] = 0;
  Compteurs()[CompteursNumeros::kTSI] = 0;
  Recevoir(OrdreRecu(GM_Creation, RessourcesEssai::kSIT, 88, RessourcesEssai::Site(12, "Gymnase")));
  EXPECT_EQ(Compteurs()[CompteursNumeros::kSIT], 12u);
  Recevoir(OrdreRecu(GM_Creation, RessourcesEssai::kSIT, 96, RessourcesEssai::Site(3, "Stade")));
  EXPECT_EQ(Compteurs()[CompteursNumeros::kSIT], 12u);

  TFichierSup& f = SupTrajetSite::Fichier();
  Recevoir(OrdreRecu(GM_Creation, SupTrajetSite::kPlace, 4, Trajet(5, 7, 1, 20)));
  Recevoir(OrdreRecu(GM_Creation, SupTrajetSite::kPlace, 8, Trajet(2, 1, 7, -0x7FFFFFFF)));
  Recevoir(OrdreRecu(GM_Creation, SupTrajetSite::kPlace, 12, Trajet(9, 7, 4, 15)));  // no site numbered 4
  Recevoir(OrdreRecu(GM_Creation, SupTrajetSite::kPlace, 16, Trajet(11, 0, 7, 15)));  // 0 is no site
  ASSERT_EQ(Xi::Nombre(f.Table), 2u);
  EXPECT_EQ(Compteurs()[CompteursNumeros::kTSI], 5u);
  ASSERT_TRUE(Xi::AllerA(f.Table, 1));
  EXPECT_EQ(SupTrajetSite::Article()->NumeroTrajet, 5u);
  EXPECT_EQ(SupTrajetSite::Article()->SiteDepart, 1u);
  EXPECT_EQ(SupTrajetSite::Article()->SiteArrivee, 2u);
  Octets ecrit(16, 0xEE);
  ASSERT_TRUE(f.EcrireArticleStocke(ecrit.data(), 4, GM_Creation));
  EXPECT_EQ(ecrit, Trajet(5, 7, 1, 20));
  ASSERT_TRUE(Xi::AllerA(f.Table, 2));
  EXPECT_EQ(SupTrajetSite::Article()->DureeTrajet, -0x7FFFFFFF);

  for (auto [site, existe] : {std::pair{1u, true}, {4u, true}, {0u, false}, {5u, false}})
    EXPECT_EQ(SupSite::Existe(site), existe) << site;
  ASSERT_TRUE(Xi::AllerA(SupSite::Fichier().Table, 2));
  EXPECT_TRUE(SupSite::EstSiteParDefaut());
  ASSERT_TRUE(Xi::AllerA(SupSite::Fichier().Table, 1));
  EXPECT_FALSE(SupSite::EstSiteParDefaut());
}

TEST_F(Quotites, TheSitesObjectSavesAndRestoresBothPositionsAndHoldsBothTables) {
  TSites& sites = SupSites::Sites();
  Recevoir(OrdreRecu(GM_Creation, SupTrajetSite::kPlace, 4, Trajet(5, 7, 1, 20)));
  Recevoir(OrdreRecu(GM_Creation, SupTrajetSite::kPlace, 8, Trajet(6, 1, 7, 25)));
  ASSERT_EQ(sites.TableSites(), SupSite::Fichier().Table);
  ASSERT_EQ(sites.TableTrajets(), SupTrajetSite::Fichier().Table);
  ASSERT_TRUE(Xi::AllerA(sites.TableSites(), 2));
  ASSERT_TRUE(Xi::AllerA(sites.TableTrajets(), 1));
  sites.EmpilerPositions();
  ASSERT_TRUE(Xi::AllerA(sites.TableSites(), 1));
  ASSERT_TRUE(Xi::AllerA(sites.TableTrajets(), 2));
  sites.DepilerPositions();
  EXPECT_EQ(Xi::NumeroCourant(sites.TableSites()), 2u);
  EXPECT_EQ(Xi::NumeroCourant(sites.TableTrajets()), 1u);
  ASSERT_TRUE(sites.CreerTables());
  EXPECT_EQ(Xi::Nombre(sites.TableSites()), 0u);
  EXPECT_EQ(Xi::Nombre(sites.TableTrajets()), 0u);
  sites.LibererTables();
  EXPECT_EQ(sites.TableSites(), nullptr);
  EXPECT_EQ(sites.TableTrajets(), nullptr);
  // The loops over every file reach both through it.
  ASSERT_TRUE(SupFichiers::CreerTables());
  EXPECT_NE(sites.TableSites(), nullptr);
  EXPECT_NE(sites.TableTrajets(), nullptr);
}

}  // namespace
