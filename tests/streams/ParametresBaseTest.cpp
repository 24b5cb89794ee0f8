// The base-wide parameters and the user's display settings: defaults from the clock, changes sent to
// the server and applied when its orders come back (the loading mark kept), the export record's fixed
// layout, locking the weeks already begun, and the grid following the working days once stored.
#include <cmath>
#include <cstring>

#include "../base/BaseEssai.h"
#include "base/SupParam.h"
#include "base/SupParametresGrille.h"
#include "core/objects/Exceptions.h"
#include "net/utilisateurs/Utilisateur.h"
#include "streams/ParametresBase.h"

namespace {

class ParametresBaseEssai : public BaseOuverte {
 protected:
  void SetUp() override {
    BaseOuverte::SetUp();
    DateTime::SetClock([this] { return maintenant_; });
    Reinitialiser();
    client_.Serveur = [](const RequeteEnvoyee& r, void*) {
      const auto taille = static_cast<int32_t>(r.Donnees.size());
      if ((r.Code >> 16) == 0x8002)
        return ParametresBase::Parametres()->TraiterOrdreJoursOuvres(r.Code, taille, r.Donnees.data(), r.Parametre);
      return SupParam::ExecuterOrdre(r.Code, r.Parametre, taille, r.Donnees.data());
    };
    ParametresBase::AfficherMessage() = [this](const std::string& texte) { messages_.push_back(texte); };
    Traduction::DefinirTexte("SupParametrePremiereDateChangee", "first date changed");
  }
  void TearDown() override {
    DateTime::SetClock(nullptr);
    ParametresBase::AfficherMessage() = nullptr;
    Utilisateur::CodeUtilisateurCourant().clear();
    SupParametresGrille::Initialiser();
    ParametresBase::Initialiser();
    BaseOuverte::TearDown();
  }
  // A new object, then as after reading a base: changes go through the server.
  void Reinitialiser() {
    ParametresBase::Initialiser();
    Base().DefinirAppliquerOrdre(false);
  }
  static TParametresBase& Base() { return *ParametresBase::Parametres(); }

  TDateTime maintenant_ = DateTime::EncodeDate(2025, 3, 5) + 0.4;  // a Wednesday
  std::vector<std::string> messages_;
};

TEST_F(ParametresBaseEssai, TheFirstDateIsTheMondayOfTheDayOfCreation) {
  EXPECT_EQ(Base().PremiereDate(), DateTime::EncodeDate(2025, 3, 3));
  EXPECT_EQ(Base().DerniereDate(), DateTime::EncodeDate(2025, 3, 3) + 364);
  maintenant_ = DateTime::EncodeDate(2025, 3, 9);  // a Sunday
  Reinitialiser();
  EXPECT_EQ(Base().PremiereDate(), DateTime::EncodeDate(2025, 3, 3));
  EXPECT_EQ(Base().ExportAuto().Heure, 0.75);
  EXPECT_EQ(Base().ExportAuto().Entier, 12);
  EXPECT_EQ(Base().GetJoursOuvres(), 126);
  EXPECT_NE(ParametresBase::JoursOuvresLocaux(), nullptr);
  EXPECT_FALSE(ParametresBase::JoursOuvresLocaux()->Reseau());
}

TEST_F(ParametresBaseEssai, ChangesComeBackAsOrdersAndKeepTheLoadingMark) {
  Base().ModifierClotureAutomatique(1);
  Base().ModifierLienSelonAutresClasses(1);
  Base().ModifierActivationModulesEtCursus(1);
  ASSERT_EQ(client_.Envoyees.size(), 3u);
  EXPECT_TRUE(client_.Envoyees[0].AfficherAttente);
  EXPECT_TRUE(client_.Envoyees[1].AfficherAttente);
  EXPECT_FALSE(client_.Envoyees[2].AfficherAttente);
  EXPECT_EQ(client_.Envoyees[0].Donnees, std::vector<uint8_t>{1});
  EXPECT_EQ(Base().ClotureAutomatique(), 1);
  EXPECT_EQ(Base().LienSelonAutresClasses(), 1);
  EXPECT_EQ(Base().ActivationModulesEtCursus(), 1);
  EXPECT_TRUE(Base().Modifie());
  EXPECT_FALSE(Base().AppliquerOrdre()) << "the order restores the mark it found";

  Base().ModifierClotureAutomatique(1);
  EXPECT_EQ(client_.Envoyees.size(), 3u) << "unchanged: nothing sent";

  Base().DefinirAppliquerOrdre(true);  // a base being read
  const uint8_t zero = 0;
  EXPECT_TRUE(Base().TraiterOrdre(TParametresBase::kClotureAutomatique, 1, &zero));
  EXPECT_TRUE(Base().AppliquerOrdre()) << "the base reader's mark is kept";
  EXPECT_EQ(client_.Envoyees.size(), 3u);
}

TEST_F(ParametresBaseEssai, OrdersShorterThanTheirValueChangeNothing) {
  const uint8_t donnees[24] = {1, 1, 1, 1, 1, 1, 1, 1};
  struct Cas {
    uint32_t code;
    int32_t taille;
  } const cas[] = {{0x80010000, 7}, {0x80010001, 6}, {0x80010700, 0}, {0x80010C00, 23}, {0x80010D00, 0}};
  for (const Cas& c : cas) EXPECT_FALSE(Base().TraiterOrdre(c.code, c.taille, donnees)) << std::hex << c.code;
  EXPECT_FALSE(Base().TraiterOrdre(0x80010002, 24, donnees));
  EXPECT_FALSE(Base().TraiterOrdreJoursOuvres(0x80020000, 0, donnees, 0));
  EXPECT_FALSE(Base().Modifie());
  EXPECT_EQ(Base().PremiereDate(), DateTime::EncodeDate(2025, 3, 3));
}

TEST_F(ParametresBaseEssai, TheExportRecordTravelsWithoutItsText) {
  TParametresExportAutoBulvera e;
  e.Texte = "C:\\export";
  e.Actif = true;
  e.Octet = 3;
  e.Heure = 0.5;
  e.Entier = 7;
  Base().ModifierParametresExportAuto(e);
  ASSERT_EQ(client_.Envoyees.size(), 1u);
  std::vector<uint8_t> attendu(24, 0);
  attendu[4] = 1;
  attendu[5] = 3;
  std::memcpy(&attendu[8], &e.Heure, 8);
  std::memcpy(&attendu[16], &e.Entier, 4);
  EXPECT_EQ(client_.Envoyees[0].Donnees, attendu);
  EXPECT_EQ(Base().ExportAuto().Entier, 7);
  EXPECT_EQ(Base().ExportAuto().Heure, 0.5);
  EXPECT_TRUE(Base().ExportAuto().Actif);
  EXPECT_EQ(Base().ExportAuto().Texte, "") << "the text does not travel; the order does not carry one";

  std::vector<uint8_t> ordre = attendu;
  const uint32_t reference = 0xDEADBEEF;  // whatever a server puts there is ignored
  std::memcpy(ordre.data(), &reference, 4);
  ordre[16] = 9;
  EXPECT_TRUE(Base().TraiterOrdre(TParametresBase::kParametresExportAuto, 24, ordre.data()));
  EXPECT_EQ(Base().ExportAuto().Entier, 9);
}

TEST_F(ParametresBaseEssai, ANewFirstDateEmptiesTheLockedWeeks) {
  TypeDomaineHebdomadaire verrou;
  verrou.Inclure(3);
  Base().ModifierDomaineVerrouillage(verrou);
  ASSERT_EQ(Base().DomaineVerrouillage(), verrou);
  const TDateTime date = DateTime::EncodeDate(2025, 9, 1);
  Base().ModifierPremiereDate(date);
  EXPECT_EQ(Base().PremiereDate(), date);
  EXPECT_EQ(Base().DomaineVerrouillage(), TypeDomaineHebdomadaire{});
  EXPECT_TRUE(messages_.empty()) << "an order from the server tells nobody";
  const auto envoyees = client_.Envoyees.size();
  Base().ModifierPremiereDate(date);
  Base().ModifierPremiereDate(std::nan(""));
  EXPECT_EQ(client_.Envoyees.size(), envoyees) << "the same date, or no date, sends nothing";

  client_.Exclusif = true;
  Utilisateur::CodeUtilisateurCourant() = "ABC";
  Base().ModifierPremiereDate(date + 7);
  EXPECT_EQ(messages_, std::vector<std::string>{"first date changed"});
  Utilisateur::CodeUtilisateurCourant() = "SPR";
  Base().ModifierPremiereDate(date + 14);
  EXPECT_EQ(messages_.size(), 1u) << "the super user is not told";
}

TEST_F(ParametresBaseEssai, LockingTheWeeksAlreadyBegun) {
  struct Cas {
    int32_t semaine;
    int32_t bits;
  } const cas[] = {{0, 0}, {1, 1}, {3, 3}, {60, 53}};
  for (const Cas& c : cas) {
    Reinitialiser();
    maintenant_ = Base().PremiereDate() + 7 * (c.semaine - 1) + 2;
    Base().VerrouillerSemainesEcoulees();
    for (int b = 0; b < 56; ++b)
      EXPECT_EQ(Base().DomaineVerrouillage().Contient(b), b < c.bits) << "week " << c.semaine << " bit " << b;
  }
}

TEST_F(ParametresBaseEssai, TheGridFollowsTheWorkingDaysOnlyOnceStored) {
  SupParametresGrille::Definir(20, 6, 10);
  client_.Serveur = [](const RequeteEnvoyee&, void*) { return false; };
  Base().DefinirJoursOuvres(62);
  EXPECT_EQ(Base().GetJoursOuvres(), 126) << "refused";
  EXPECT_EQ(SupParametresGrille::Parametres().NombreJours, 6);
  client_.Serveur = [](const RequeteEnvoyee& r, void*) {
    return ParametresBase::Parametres()->TraiterOrdreJoursOuvres(r.Code, static_cast<int32_t>(r.Donnees.size()),
                                                                 r.Donnees.data(), r.Parametre);
  };
  Base().DefinirJoursOuvres(62);
  EXPECT_EQ(Base().GetJoursOuvres(), 62);
  EXPECT_EQ(SupParametresGrille::Parametres().NombreJours, 5);
  EXPECT_EQ(SupParametresGrille::Parametres().DernierJour, 4);
  EXPECT_EQ(SupParametresGrille::Parametres().NombrePlaces, 100);
}

TEST_F(ParametresBaseEssai, DisplaySettingsFollowTheWorkingDays) {
  TParametresUtilisateur u(Base());
  EXPECT_EQ(u.PremierJourAffiche(), 1);
  EXPECT_EQ(u.DernierJourAffiche(), 6);
  EXPECT_EQ(u.NombreJoursAffiches(), 6);
  EXPECT_EQ(u.Option(2), 1);
  EXPECT_EQ(u.Option(11), 15);
  EXPECT_EQ(u.ChoixSemainesHeures(), 1);
  u.SetPremierJourAffiche(7);
  EXPECT_EQ(u.PremierJourAffiche(), 1) << "not a working day";
  EXPECT_FALSE(u.Modifie());
  u.SetNombreJoursAffiches(9);
  EXPECT_EQ(u.NombreJoursAffiches(), 6);
  u.SetDernierJourAffiche(5);
  EXPECT_EQ(u.DernierJourAffiche(), 5);
  EXPECT_TRUE(u.Modifie());
}

}  // namespace
