// The settings of the base that are not records: the general parameters, the lunch service, the hour
// labels and the options. Changes go to the server as requests and come back as orders; orders with
// short data or bad indexes are refused; the grid's words never divide by 0 or index past the blocks.
#include <cstring>

#include "BaseEssai.h"
#include "base/SupDemiPension.h"
#include "base/SupLibelleHeure.h"
#include "base/SupOption.h"
#include "base/SupParam.h"
#include "base/SupParametresGrille.h"
#include "base/SupTraitement.h"
#include "core/objects/Exceptions.h"

namespace {

// A server that accepts every request and broadcasts it back as the order of the unit.
class ReglagesEssai : public BaseOuverte {
 protected:
  void SetUp() override {
    BaseOuverte::SetUp();
    Traduction::DefinirTexte("SupConstH", "h");
    client_.Serveur = [this](const RequeteEnvoyee& r, void*) {
      const auto taille = static_cast<int32_t>(r.Donnees.size());
      const void* d = r.Donnees.data();
      switch (r.Code >> 16) {
        case 0x8001: return SupParam::ExecuterOrdre(r.Code, r.Parametre, taille, d);
        case 0x8003: return SupDemiPension::TraiterOrdre(r.Code, r.Parametre, taille, d);
        case 0x8004: return SupLibelleHeure::TraiterOrdre(r.Code, taille, d);
        case 0x8005: return SupOption::TraiterOrdre(r.Code, taille, d);
        default: return false;
      }
    };
  }
  void TearDown() override {
    SupParametresGrille::Initialiser();
    SupParam::Initialiser();
    SupParam::Parametres().GestionParEleves = 0;
    SupDemiPension::Initialiser();
    SupLibelleHeure::Initialiser();
    SupOption::Initialiser();
    BaseOuverte::TearDown();
  }
};

std::vector<uint8_t> Entier(int32_t v) {
  std::vector<uint8_t> d(4);
  std::memcpy(d.data(), &v, 4);
  return d;
}

// ---- general parameters --------------------------------------------------------------------------

TEST_F(ReglagesEssai, TheDefaultsOfTheGeneralParameters) {
  const TypeParametresGeneraux& p = SupParam::Parametres();
  EXPECT_EQ(p.NomEtablissement, "");
  EXPECT_EQ(p.ApportProfesseurAnnuel, 1);
  EXPECT_EQ(p.ApportProfesseurParDefaut, 0);
  EXPECT_EQ(p.NbMoisProfesseurParDefaut, 12);
  EXPECT_EQ(p.T3MinHSProfesseur, 18450);
  EXPECT_EQ(p.CycleT1Professeur, 3);
  EXPECT_EQ(p.SeuilHSSProfesseur, 3500);
  EXPECT_EQ(p.MaxHSSProfesseur, 300);
  EXPECT_EQ(p.SeuilHSAProfesseur, 143500);
  EXPECT_EQ(p.MaxHSAProfesseur, 13000);
  EXPECT_EQ(p.EspacementMinimumClasse, 0);
  EXPECT_EQ(p.ConserverTrace, 0);
  EXPECT_EQ(p.JoursConservationJournal, 5);
  EXPECT_EQ(p.Drapeau1, 1);
  EXPECT_EQ(p.Drapeau2, 1);

  SupParam::Parametres().PlaceDemiJournee = 7;
  SupParam::Parametres().GestionEffectif = 1;
  SupParam::Parametres().JoursConservationJournal = 9;
  SupParam::InitialiserParametresParDefaut();
  EXPECT_EQ(p.PlaceDemiJournee, 7) << "not reset";
  EXPECT_EQ(p.GestionEffectif, 1) << "not reset";
  EXPECT_EQ(p.JoursConservationJournal, 5);
  SupParam::Parametres().PlaceDemiJournee = 0;
  SupParam::Parametres().GestionEffectif = 0;
}

TEST_F(ReglagesEssai, GeneralParametersTravelAsRequestsAndComeBackAsOrders) {
  struct Cas {
    const char* nom;
    std::function<bool()> modifier;
    uint32_t code;
    int32_t parametre;
    std::vector<uint8_t> donnees;
    bool genre;
    std::function<bool()> verifier;
  };
  const TypeParametresGeneraux& p = SupParam::Parametres();
  const Cas cas[] = {
      {"threshold", [] { return SupParam::ModifierSeuilHSSProfesseur(4000, false); }, 0x80010209, 0, Entier(4000),
       false, [&] { return p.SeuilHSSProfesseur == 4000; }},
      {"half-day", [] { return SupParam::ModifierPlaceDemiJournee(6, false); }, 0x80010300, 6, {}, false,
       [&] { return p.PlaceDemiJournee == 6; }},
      {"journal", [] { return SupParam::ModifierConserverTrace(1, false); }, 0x80010800, 0, {1}, true,
       [&] { return p.ConserverTrace == 1; }},
      {"journal days", [] { return SupParam::ModifierJoursConservationJournal(8, false); }, 0x80010900, 0, Entier(8),
       true, [&] { return p.JoursConservationJournal == 8; }},
      {"weeks added", [] { return SupParam::ModifierAjoutSemainesRessourcesAutorise(1, false); }, 0x80010401, 0, {1},
       false, [&] { return p.AjoutSemainesRessourcesAutorise == 1; }},
      {"name", [] { return SupParam::ModifierNomEtablissement("Lycee", false); }, 0x80010002, 0,
       Chaine("Lycee", 255), false, [&] { return p.NomEtablissement == "Lycee"; }},
  };
  for (const Cas& c : cas) {
    client_.Envoyees.clear();
    EXPECT_TRUE(c.modifier()) << c.nom;
    ASSERT_EQ(client_.Envoyees.size(), 1u) << c.nom;
    const RequeteEnvoyee& r = client_.Envoyees[0];
    EXPECT_EQ(r.Code, c.code) << c.nom;
    EXPECT_EQ(r.Parametre, c.parametre) << c.nom;
    EXPECT_EQ(r.Donnees, c.donnees) << c.nom;
    EXPECT_EQ(r.AfficherAttente, c.genre) << c.nom;
    EXPECT_TRUE(c.verifier()) << c.nom << ": the order came back";
    EXPECT_FALSE(c.modifier()) << c.nom << ": unchanged sends nothing";
    EXPECT_EQ(client_.Envoyees.size(), 1u) << c.nom;
  }
  SupParam::Parametres().PlaceDemiJournee = 0;
  SupParam::Parametres().AjoutSemainesRessourcesAutorise = 0;
  EXPECT_EQ(SupTraitement::Profondeur(), 0u);
}

TEST_F(ReglagesEssai, TheAnnualContributionConvertsTheDefaultContribution) {
  client_.Exclusif = true;
  ASSERT_TRUE(SupParam::ModifierApportProfesseurParDefaut(1000, false));
  ASSERT_TRUE(SupParam::ModifierApportProfesseurAnnuel(0, false));
  EXPECT_EQ(SupParam::Parametres().ApportProfesseurParDefaut, 19);
  ASSERT_TRUE(SupParam::ModifierApportProfesseurAnnuel(1, false));
  EXPECT_EQ(SupParam::Parametres().ApportProfesseurParDefaut, 988);
  EXPECT_TRUE(fiche_.FichierVok.Modifie());

  ASSERT_TRUE(SupParam::ModifierApportProfesseurAnnuel(0, false));
  ASSERT_TRUE(SupParam::ModifierApportProfesseurParDefaut(100000000, false));
  ASSERT_TRUE(SupParam::ModifierApportProfesseurAnnuel(1, false));
  EXPECT_EQ(SupParam::Parametres().ApportProfesseurParDefaut, INT32_MAX) << "52 times a large value saturates";
  EXPECT_TRUE(client_.Envoyees.empty());
}

TEST_F(ReglagesEssai, OrdersOfTheGeneralParametersCheckTheirCodeAndSize) {
  const uint8_t octet[1] = {1};
  const auto entier = Entier(77);
  uint8_t nom[256] = {200};
  EXPECT_FALSE(SupParam::ExecuterOrdre(0x80010202, 0, 4, entier.data())) << "a listed code without a setter";
  EXPECT_FALSE(SupParam::ExecuterOrdre(0x80010209, 0, 3, entier.data())) << "short integer";
  EXPECT_FALSE(SupParam::ExecuterOrdre(0x80010800, 0, 0, octet)) << "no byte";
  EXPECT_FALSE(SupParam::ExecuterOrdre(0x80010002, 0, 100, nom)) << "a name longer than its data";
  EXPECT_FALSE(SupParam::ExecuterOrdre(0x80010209, 0, -1, entier.data()));
  EXPECT_FALSE(SupParam::ExecuterOrdre(0x80010000, 0, 8, entier.data())) << "no base parameters object here";
  EXPECT_EQ(SupParam::Parametres().SeuilHSSProfesseur, 3500);
  EXPECT_EQ(SupParam::Parametres().ConserverTrace, 0);
  EXPECT_EQ(SupParam::Parametres().NomEtablissement, "");
  EXPECT_TRUE(SupParam::ExecuterOrdre(0x80010209, 0, 4, entier.data()));
  EXPECT_EQ(SupParam::Parametres().SeuilHSSProfesseur, 77);
}

TEST_F(ReglagesEssai, ManagementByStudentsNeedsTheGroupCompositionNotBuiltYet) {
  const uint8_t un = 1;
  EXPECT_THROW(SupParam::ExecuterOrdre(0x80010500, 0, 1, &un), ENonConstruit);
  EXPECT_EQ(SupTraitement::Profondeur(), 0u);
}

// ---- lunch service -------------------------------------------------------------------------------

TEST_F(ReglagesEssai, TheLunchServiceIsBroughtBackInsideTheGrid) {
  SupDemiPension::TypeDemiPension& d = SupDemiPension::DemiPension();
  SupParametresGrille::Definir(20, 5, 10);  // 2 places per hour
  d.ActivationDemiPension = 1;
  SupDemiPension::AjusterDemiPension(false);
  EXPECT_EQ(d.DebutDemiPension, 8u);
  EXPECT_EQ(d.FinDemiPension, 12u);
  EXPECT_EQ(d.DureeServiceDemiPension, 2u);
  EXPECT_EQ(d.ActivationDemiPension, 0);
  EXPECT_EQ(d.GenresRessourcesDemiPension, 29);

  d.DebutDemiPension = 0;
  d.FinDemiPension = 14;
  d.DureeServiceDemiPension = 3;
  SupDemiPension::AjusterDemiPension(true);
  EXPECT_EQ(d.DebutDemiPension, 8u);
  EXPECT_EQ(d.FinDemiPension, 14u);
  EXPECT_EQ(d.DureeServiceDemiPension, 3u);

  struct Grille {
    int32_t places, heures;
  } const grilles[] = {{0, 10}, {1, 1}, {2, 10}, {20, 0}, {20, 40}, {3, 1}};
  for (const Grille& g : grilles) {
    SupParametresGrille::Definir(g.places, 5, g.heures);
    SupDemiPension::AjusterDemiPension(false);
    EXPECT_LE(d.FinDemiPension, static_cast<uint32_t>(g.places)) << g.places << "/" << g.heures;
    EXPECT_LE(d.DebutDemiPension, d.FinDemiPension) << g.places << "/" << g.heures;
    EXPECT_LE(d.DureeServiceDemiPension, std::max<uint32_t>(1, d.FinDemiPension - d.DebutDemiPension));
  }
}

TEST_F(ReglagesEssai, LunchServiceChangesGoThroughTheServer) {
  const SupDemiPension::TypeDemiPension& d = SupDemiPension::DemiPension();
  EXPECT_TRUE(SupDemiPension::ModifierDebutDemiPension(9, false));
  EXPECT_TRUE(SupDemiPension::ModifierGenresRessourcesDemiPension(1, false));
  ASSERT_EQ(client_.Envoyees.size(), 2u);
  EXPECT_EQ(client_.Envoyees[0].Parametre, 9);
  EXPECT_TRUE(client_.Envoyees[0].Donnees.empty());
  EXPECT_EQ(client_.Envoyees[1].Donnees, std::vector<uint8_t>{1});
  EXPECT_EQ(d.DebutDemiPension, 9u);
  EXPECT_EQ(d.ActivationDemiPension, 1) << "a non-empty set of kinds switches the service on";
  EXPECT_TRUE(SupDemiPension::ModifierGenresRessourcesDemiPension(0, true));
  EXPECT_EQ(d.ActivationDemiPension, 0);
  EXPECT_FALSE(SupDemiPension::TraiterOrdre(SupDemiPension::kActivation, 0, 0, nullptr));
  EXPECT_FALSE(SupDemiPension::TraiterOrdre(0x80030005, 4, 0, nullptr));
  EXPECT_EQ(d.ActivationDemiPension, 0);
}

// ---- options -------------------------------------------------------------------------------------

TEST_F(ReglagesEssai, OptionsChangeThroughTheServerAndRefuseBadIndexes) {
  EXPECT_EQ(SupOption::Options(), (SupOption::TypeOptions{10, 30, -10, -10, 50, 0, 15, 50, -10}));
  EXPECT_STREQ(SupOption::kNomsOptions[8], "SupBouclRepartirMatieres");
  EXPECT_TRUE(SupOption::ModifierOption(2, -40, false));
  ASSERT_EQ(client_.Envoyees.size(), 1u);
  EXPECT_EQ(client_.Envoyees[0].Donnees, (std::vector<uint8_t>{2, 0, 0, 0, 0xD8, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(SupOption::Options()[2], -40);
  EXPECT_FALSE(SupOption::ModifierOption(9, 1, true));
  const uint8_t hors[8] = {9, 0, 0, 0, 1, 0, 0, 0};
  EXPECT_FALSE(SupOption::TraiterOrdre(SupOption::kModifierOption, 8, hors));
  EXPECT_FALSE(SupOption::TraiterOrdre(SupOption::kModifierOption, 7, hors));
  EXPECT_TRUE(SupOption::MettreOptionsParDefaut(false));
  EXPECT_EQ(client_.Envoyees.back().Code, SupOption::kMettreParDefaut);
  EXPECT_EQ(SupOption::Options()[2], -10);
}

// ---- hour labels ---------------------------------------------------------------------------------

TEST_F(ReglagesEssai, LabelsAreCodedAndDecoded) {
  struct Cas {
    int32_t heures, minutes;
    char remplissage;
    const char* attendu;
  } const cas[] = {{7, 65, ' ', " 8h05"}, {-1, 30, '0', "23h30"}, {9, -15, '0', "08h45"}, {23, 60, '0', "00h00"}};
  for (const Cas& c : cas) {
    std::string libelle;
    SupLibelleHeure::CoderLibelleHeure(c.heures, c.minutes, c.remplissage, libelle);
    EXPECT_EQ(libelle, c.attendu);
  }
  struct Decode {
    const char* libelle;
    int32_t heures, minutes;
  } const decodes[] = {{"9", 9, 0}, {"", 0, 0}, {"10h45", 10, 45}, {" 8h", 8, 0}, {"xh12", 0, 12}, {"12h30xyz", 12, 0}};
  for (const Decode& c : decodes) {
    int32_t h = -1, m = -1;
    SupLibelleHeure::DecoderLibelleHeure(c.libelle, h, m);
    EXPECT_EQ(h, c.heures) << c.libelle;
    EXPECT_EQ(m, c.minutes) << c.libelle;
  }
  for (const char* valide : {"08h00", " 8h30", "12h451"}) EXPECT_TRUE(SupLibelleHeure::LibelleHeureValide(valide));
  for (const char* invalide : {"", "8h00", "08:00", "a8h00", "08h0"})
    EXPECT_FALSE(SupLibelleHeure::LibelleHeureValide(invalide)) << invalide;
}

TEST_F(ReglagesEssai, DefaultLabelsAreGeneratedForEveryPlace) {
  SupParametresGrille::Definir(20, 5, 10);  // 2 places per hour
  SupLibelleHeure::CreerLibellesHeureParDefaut();
  const char* debuts[] = {"08h00", "08h30", "09h00", "09h30"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(SupLibelleHeure::Libelle(0, i), debuts[i]);
    EXPECT_EQ(SupLibelleHeure::VisibleEcran(0, i), i % 2 == 0);
    EXPECT_EQ(SupLibelleHeure::VisibleImpression(1, i), i % 2 == 1);
  }
  EXPECT_EQ(SupLibelleHeure::Libelle(1, 0), "08h30");
  EXPECT_EQ(SupLibelleHeure::Libelle(0, 19), "17h30");
  EXPECT_EQ(SupLibelleHeure::Libelle(1, 20), "18h30") << "index P is written too";
  EXPECT_EQ(SupLibelleHeure::Libelle(0, 21), "");
}

TEST_F(ReglagesEssai, ShiftingALabelMovesTheLaterOnes) {
  SupParametresGrille::Definir(20, 5, 10);
  SupLibelleHeure::CreerLibellesHeureParDefaut();
  SupLibelleHeure::ModifierHoraireLibelleHeure(1, 5, "bad", true);
  SupLibelleHeure::CalculerLibellesHeure(2, 0, 1, true, "09h15");
  EXPECT_EQ(SupLibelleHeure::Libelle(0, 1), "08h30");
  EXPECT_EQ(SupLibelleHeure::Libelle(1, 1), "09h00");
  EXPECT_EQ(SupLibelleHeure::Libelle(0, 2), "09h15");
  EXPECT_EQ(SupLibelleHeure::Libelle(1, 2), "09h45");
  EXPECT_EQ(SupLibelleHeure::Libelle(1, 5), "") << "an invalid label on the way is emptied";
  EXPECT_EQ(SupLibelleHeure::Libelle(0, 20), "18h15");
  EXPECT_TRUE(SupLibelleHeure::VisibleEcran(0, 2)) << "flags stay";

  SupLibelleHeure::ModifierHoraireLibelleHeure(0, 4, "xx", true);
  SupLibelleHeure::CalculerLibellesHeure(2, 0, 1, true, "9h15");
  EXPECT_EQ(SupLibelleHeure::Libelle(0, 4), "xx") << "the same time writes nothing";
}

TEST_F(ReglagesEssai, LabelRequestsCarryTheirBytesAndOrdersAreBounded) {
  EXPECT_TRUE(SupLibelleHeure::ModifierHoraireLibelleHeure(1, 3, "10h15xyz", false));
  ASSERT_EQ(client_.Envoyees.size(), 1u);
  EXPECT_EQ(client_.Envoyees[0].Code, 0x80040000u);
  EXPECT_EQ(client_.Envoyees[0].Donnees,
            (std::vector<uint8_t>{1, 0, 0, 0, 3, 0, 0, 0, 6, '1', '0', 'h', '1', '5', 'x', 0}));
  EXPECT_EQ(SupLibelleHeure::Libelle(1, 3), "10h15x") << "cut to 6 characters";
  EXPECT_TRUE(SupLibelleHeure::ModifierVisibleEcranLibelleHeure(0, 144, true, false));
  EXPECT_EQ(client_.Envoyees[1].Donnees, (std::vector<uint8_t>{0, 0, 0, 0, 144, 0, 0, 0, 1, 0, 0, 0}));
  EXPECT_TRUE(SupLibelleHeure::VisibleEcran(0, 144));

  EXPECT_FALSE(SupLibelleHeure::ModifierHoraireLibelleHeure(2, 0, "8h", true));
  EXPECT_FALSE(SupLibelleHeure::ModifierHoraireLibelleHeure(0, 145, "8h", true));
  EXPECT_FALSE(SupLibelleHeure::ModifierVisibleImpressionLibelleHeure(0, -1, true, true));
  uint8_t ordre[16] = {0, 0, 0, 0, 145, 0, 0, 0, 2, '9', 'h'};
  EXPECT_FALSE(SupLibelleHeure::TraiterOrdre(0x80040000, 16, ordre)) << "place 145";
  ordre[4] = 0;
  ordre[0] = 2;
  EXPECT_FALSE(SupLibelleHeure::TraiterOrdre(0x80040000, 16, ordre)) << "row 2";
  ordre[0] = 0;
  EXPECT_FALSE(SupLibelleHeure::TraiterOrdre(0x80040000, 15, ordre)) << "short";
  EXPECT_FALSE(SupLibelleHeure::TraiterOrdre(0x80040001, 11, ordre)) << "short";
  ordre[8] = 255;  // a length past the label's 6 characters
  EXPECT_TRUE(SupLibelleHeure::TraiterOrdre(0x80040000, 16, ordre));
  EXPECT_EQ(SupLibelleHeure::Libelle(0, 0).size(), 6u);
}

TEST_F(ReglagesEssai, VisibilitiesAreAligned) {
  SupParametresGrille::Definir(4, 5, 2);
  SupLibelleHeure::ModifierVisibleEcranLibelleHeure(0, 2, true, true);
  SupLibelleHeure::AlignerVisibilites();
  EXPECT_TRUE(SupLibelleHeure::VisibleEcran(0, 0));
  EXPECT_TRUE(SupLibelleHeure::VisibleImpression(0, 0));
  EXPECT_TRUE(SupLibelleHeure::VisibleEcran(1, 1)) << "takes the start flag of place 2";
  EXPECT_FALSE(SupLibelleHeure::VisibleImpression(1, 1));
  EXPECT_FALSE(SupLibelleHeure::VisibleEcran(1, 0));
  EXPECT_TRUE(SupLibelleHeure::VisibleEcran(1, 3));
  SupParametresGrille::Definir(500, 5, 2);
  SupLibelleHeure::CreerLibellesHeureParDefaut();  // held to 144 places
  SupLibelleHeure::AlignerVisibilites();
  EXPECT_TRUE(SupLibelleHeure::VisibleEcran(1, 143));
}

}  // namespace
