// The reads of courses and what keeps them in step: status priority and the status of a split
// course, counting by category, the grid conversion, the displayed-period flag, memos, sessions
// between dates, the maximal duration through the placement engine, the extraction flags and their
// refresh at the end of a server request, and the verifier.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "CoursEssai.h"
#include "base/JoursOuvres.h"
#include "base/MoteurPlacement.h"
#include "base/SupDomaine.h"
#include "base/SupParametresGrille.h"
#include "base/SupTraitement.h"
#include "base/cours/SupCours.h"
#include "base/cours/SupExtra.h"
#include "base/cours/SupMemoCours.h"
#include "base/cours/SupVisibiliteCours.h"
#include "base/SupValeurHebdomadaire.h"
#include "core/objects/Erreur.h"
#include "core/objects/Exceptions.h"
#include "net/netmodif.h"

namespace {

using namespace essai_cours;

const TypeDomaineHebdomadaire kVide{};

class CoursLectures : public CoursBase {
 protected:
  void TearDown() override {
    SupVisibiliteCours::Initialiser();
    SupDomaine::Initialiser();
    MoteurPlacement::Services() = {};
    SupParametresGrille::Initialiser();
    CoursBase::TearDown();
  }
  void Aller(uint32_t Numero) { ASSERT_TRUE(Xi::AllerA(SupCours::Fichier().Table, Numero)); }
};

TEST(SupCoursStatuts, TheStatusOfHigherPriorityWinsAndEqualPrioritiesGiveTheSecond) {
  // From the highest: 0, 3, 2, 5, 1, 4; a status outside 0..5 ranks below all.
  const std::map<int, int> rang = {{0, 6}, {3, 5}, {2, 4}, {5, 3}, {1, 2}, {4, 1}, {6, 0}, {9, 0}};
  for (auto [a, ra] : rang)
    for (auto [b, rb] : rang) {
      const int attendu = ra > rb ? a : b;
      EXPECT_EQ(SupCours::EtatPrioritaire(static_cast<uint8_t>(a), static_cast<uint8_t>(b)), attendu) << a << " " << b;
    }
  EXPECT_EQ(SupCours::EtatPrioritaire(1, 3), 3);
  EXPECT_EQ(SupCours::EtatPrioritaire(4, 4), 4);
}

TEST_F(CoursLectures, AWholeCourseTakesTheStatusOfHighestPriorityAmongItsFractions) {
  int notifications = 0;
  NetXi::Table(SupCours::kPlace)->SurModification1 = [&](TypeGenreModif, int32_t, int32_t) { ++notifications; };
  struct Cas {
    std::vector<uint8_t> Fractions;
    uint8_t Avant, Attendu;
  };
  const Cas cas[] = {{{1, 5}, 3, 5}, {{}, 3, 4}, {{0, 1}, 1, 0}, {{3, 2}, 2, 3}, {{4, 4}, 4, 4}, {{2, 1}, 2, 2}};
  for (const Cas& c : cas) {
    ASSERT_TRUE(SupCours::CreerTable());
    ASSERT_TRUE(SupFractionnementCours::Fichier().CreerTable());
    const uint32_t entier = Inserer(SupCours::kCoursEntier, c.Avant, kVide, kVide);
    std::vector<uint32_t> fractions;
    for (uint8_t s : c.Fractions) {
      fractions.push_back(Inserer(SupCours::kFraction, s, Semaines(1, 2), Semaines(1, 2), 0));
      Lier(entier, fractions.back());
    }
    const int avant = notifications;
    Aller(fractions.empty() ? entier : fractions.back());
    const uint32_t courant = Xi::NumeroCourant(SupCours::Fichier().Table);
    SupCours::ActualiserEtatCoursFractionne();
    EXPECT_EQ(Cours(entier).Statut, c.Attendu);
    EXPECT_EQ(notifications - avant, c.Avant != c.Attendu ? 1 : 0) << "a change is notified";
    EXPECT_EQ(Xi::NumeroCourant(SupCours::Fichier().Table), courant) << "the position is restored";
  }
  // A simple course has no whole course.
  const uint32_t simple = Inserer(SupCours::kCoursSimple, 3, kVide, kVide);
  Aller(simple);
  SupCours::ActualiserEtatCoursFractionne();
  EXPECT_EQ(Cours(simple).Statut, 3);
}

// Counting by category on the table's order against a plain count over generated tables.
TEST_F(CoursLectures, CountingCoursesByCategoryEqualsABruteForceCount) {
  std::mt19937 alea(146);
  for (int tour = 0; tour < 60; ++tour) {
    ASSERT_TRUE(SupCours::CreerTable());
    std::array<uint32_t, 4> attendu{};
    const int n = tour == 0 ? 0 : static_cast<int>(alea() % 40);
    const bool entiersSeuls = tour == 1;
    for (int i = 0; i < n; ++i) {
      TFichierSup& f = SupCours::Fichier();
      f.ViderArticle();
      TypeEnregistrementCours* c = SupCours::Article();
      c->Genre = entiersSeuls ? 0 : static_cast<uint8_t>(alea() % 3);
      c->Statut = static_cast<uint8_t>(alea() % 6);
      c->Retenu = alea() % 2;
      c->DansPeriode = alea() % 2;
      c->Extrait = alea() % 2;
      c->ValeurPlacement = static_cast<int32_t>(alea());
      ASSERT_TRUE(Xi::Inserer(f.Table));
      if (c->Genre == 0) continue;
      ++attendu[3];
      if (c->Retenu) ++attendu[2];
      if (c->Retenu && c->DansPeriode) ++attendu[1];
      if (c->Retenu && c->DansPeriode && c->Extrait) ++attendu[0];
    }
    if (n > 0) Aller(1);
    std::array<uint32_t, 4> compte{9, 9, 9, 9};
    SupCours::CompterCours(compte);
    EXPECT_EQ(compte, attendu) << "table " << tour << " of " << n;
    if (n > 0) {
      EXPECT_EQ(Xi::NumeroCourant(SupCours::Fichier().Table), 1u);
    }
  }
}

TEST(SupCoursGrille, PlacesMoveToTheNewGridOrTheCourseIsUnplaced) {
  constexpr uint8_t kLundiVendredi = 0x3E, kLundiJeudi = 0x1E;
  const SupCours::TypeGrilleConversion ancienne{2, 20, kLundiVendredi}, nouvelle{4, 40, kLundiVendredi};
  const SupCours::TypeGrilleConversion sansVendredi{4, 40, kLundiJeudi};
  constexpr uint32_t kAucune = 200;  // 40 x 5
  struct Cas {
    const char* Quoi;
    uint8_t Statut;
    uint32_t Place, Duree;
    SupCours::TypeGrilleConversion Ancienne, Nouvelle;
    uint8_t StatutAttendu;
    uint32_t DureeAttendue, PlaceAttendue;
  };
  const Cas cas[] = {
      {"2 to 4 places an hour: Tuesday, place 3", 1, 23, 2, ancienne, nouvelle, 1, 4, 46},
      {"Monday's first place", 5, 0, 1, ancienne, nouvelle, 5, 2, 0},
      {"a duration past the day is capped", 2, 40, 25, ancienne, nouvelle, 2, 40, 80},
      {"a long course still fits", 2, 60, 15, ancienne, nouvelle, 2, 30, 120},
      {"ends past the day", 1, 19, 2, ancienne, nouvelle, 0, 4, kAucune},
      {"an unplaced course", 3, 23, 2, ancienne, nouvelle, 0, 4, kAucune},
      {"status 0 stays unplaced", 0, 23, 2, ancienne, nouvelle, 0, 4, kAucune},
      {"the old place none", 1, 100, 2, ancienne, nouvelle, 0, 4, kAucune},
      {"past the old grid", 1, 150, 2, ancienne, nouvelle, 0, 4, kAucune},
      {"Friday is no longer worked", 1, 83, 2, ancienne, sansVendredi, 0, 4, 160},
      {"Thursday still is", 1, 63, 2, ancienne, sansVendredi, 1, 4, 126},
      {"a duration of 0 becomes 1", 1, 0, 0, ancienne, nouvelle, 1, 1, 0},
      {"no old places per hour", 1, 23, 2, {0, 20, kLundiVendredi}, nouvelle, 0, 2, kAucune},
      {"no old places per day", 1, 23, 2, {2, 0, kLundiVendredi}, nouvelle, 0, 4, kAucune},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.Quoi);
    const uint32_t aucune = c.Nouvelle.JoursOuvres == kLundiJeudi ? 160 : kAucune;
    const SupCours::TypeCoursConverti r = SupCours::ConvertirGrille(c.Statut, c.Place, c.Duree, c.Ancienne, c.Nouvelle, aucune);
    EXPECT_EQ(r.Statut, c.StatutAttendu);
    EXPECT_EQ(r.Duree, c.DureeAttendue);
    EXPECT_EQ(r.PlaceRetenue, c.PlaceAttendue);
  }
}

// The conversion runs while a base is imported, not on received orders.
TEST_F(CoursLectures, ACourseOfABaseStoredWithAnotherGridIsConvertedOnlyDuringTheImport) {
  SupParametresGrille::Definir(40, 1, 10);  // 4 places an hour
  SupCours::PlaceAucune() = 40;
  SupParametresGrille::AncienneGrille() = {true, 2, 20, TJoursOuvres::kJoursParDefaut};
  Octets s(102, 0);
  Poser(s, 0, 2, 1);
  Poser(s, 1, 1, 1);
  PoserSemaines(s, 2, Semaines(3, 4));
  PoserSemaines(s, 9, Semaines(3, 9));
  Poser(s, 19, 5, 2);
  Poser(s, 21, 3, 2);
  TypeTableReseau* entree = NetXi::Table(SupCours::kPlace);
  std::copy(s.begin(), s.end(), entree->Tampon);
  SupFichiers::ImportEnCours() = true;
  ASSERT_TRUE(entree->LireArticleStocke(entree->Tampon, SupCours::Fichier().Table, 102, GM_Creation));
  SupFichiers::ImportEnCours() = false;
  const TypeEnregistrementCours& c = *SupCours::Article();
  EXPECT_EQ(c.Statut, 1);
  EXPECT_EQ(c.Duree, 6u);
  EXPECT_EQ(c.Place, 40u) << "the converted place is remembered, the course left without place";
  EXPECT_EQ(c.PlaceRetenue, 10u);
  EXPECT_EQ(c.SemainesRetenues, Semaines(3, 4));

  Recevoir(OrdreRecu(GM_Creation, SupCours::kPlace, 204, s));
  ASSERT_TRUE(Xi::AllerA(SupCours::Fichier().Table, 1));
  EXPECT_EQ(SupCours::Article()->Duree, 3u) << "an order is in the new grid already";
  EXPECT_EQ(SupCours::Article()->Place, 5u);
  SupParametresGrille::AncienneGrille() = {};
}

TEST_F(CoursLectures, TheDisplayedPeriodFlagFollowsTheWeeksThatTheUserDisplays) {
  const TypeDomaineHebdomadaire debut = Semaines(1, 10), fin = Semaines(40, 52);
  struct Cas {
    const char* Quoi;
    uint8_t Statut;
    TypeDomaineHebdomadaire Semaines, Potentielles, Periode;
    uint8_t Attendu;
  };
  const Cas cas[] = {
      {"default period, placed", 1, Semaines(52, 52), Semaines(50, 52), TMethodesDomaine::Annee(), 1},
      {"default period, unplaced", 3, kVide, Semaines(1, 1), TMethodesDomaine::Annee(), 1},
      {"no potential weeks", 1, fin, kVide, debut, 1},
      {"placed with empty weeks", 2, kVide, fin, debut, 1},
      {"placed, weeks meet", 5, Semaines(10, 12), fin, debut, 1},
      {"placed, weeks outside", 1, fin, debut, debut, 0},
      {"unplaced, potential meet", 4, fin, Semaines(9, 45), debut, 1},
      {"unplaced, potential outside", 0, debut, fin, debut, 0},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.Quoi);
    ASSERT_TRUE(SupCours::CreerTable());
    SupVisibiliteCours::Periode() = c.Periode;
    Octets s(102, 0);
    Poser(s, 0, 2, 1);
    Poser(s, 1, c.Statut, 1);
    PoserSemaines(s, 2, c.Semaines);
    PoserSemaines(s, 9, c.Potentielles);
    Recevoir(OrdreRecu(GM_Creation, SupCours::kPlace, 102, s));
    EXPECT_EQ(Cours(1).DansPeriode, c.Attendu) << "as read";
    Aller(1);
    SupVisibiliteCours::ActualiserDansPeriode(!c.Attendu);
    EXPECT_EQ(Cours(1).DansPeriode, !c.Attendu) << "given";
    SupVisibiliteCours::ActualiserTousLesCours();
    EXPECT_EQ(Cours(1).DansPeriode, c.Attendu) << "recomputed";
  }
}

TEST_F(CoursLectures, AFractionTakesTheFlagOfItsWholeCourseWhenTheUserSaysSo) {
  SupVisibiliteCours::Periode() = Semaines(1, 10);
  const uint32_t entier = Inserer(SupCours::kCoursEntier, 3, kVide, Semaines(1, 30));
  const uint32_t fraction = Inserer(SupCours::kFraction, 1, Semaines(20, 21), Semaines(20, 30), 0);
  Lier(entier, fraction);
  Aller(fraction);
  SupVisibiliteCours::ActualiserDansPeriodeDuCours();
  EXPECT_EQ(Cours(entier).DansPeriode, 1);
  EXPECT_EQ(Cours(fraction).DansPeriode, 1) << "the whole course's flag";
  EXPECT_EQ(Xi::NumeroCourant(SupCours::Fichier().Table), fraction);
  SupVisibiliteCours::A16() = false;
  SupVisibiliteCours::ActualiserTousLesCours();
  EXPECT_EQ(Cours(fraction).DansPeriode, 0) << "its own weeks";
  EXPECT_EQ(Cours(entier).DansPeriode, 1);
}

TEST_F(CoursLectures, TheMemoTextIsAsStoredOrWithBlanksForLineBreaks) {
  const uint32_t c = Inserer(SupCours::kCoursSimple, 3, kVide, kVide);
  Aller(c);
  EXPECT_EQ(SupCours::TexteMemo(0), "") << "no memo";
  SupCours::Article()->Memo = SupMemoCours::InsererMemoDirectement("a\r\nb\rc\nd\n\re");
  EXPECT_EQ(SupCours::TexteMemo(0), "a\r\nb\rc\nd\n\re");
  EXPECT_EQ(SupCours::TexteMemo(1), "a b c d  e");
}

// Writing the memo of a course locally (exclusive mode): what happens to the memo and the link.
TEST_F(CoursLectures, WritingTheMemoOfACourseLocally) {
  client_.Exclusif = true;
  struct Cas {
    const char* Quoi;
    int Memo;  // 0 none, 1 a live memo, -1 a memo that no longer exists
    std::string Texte;
    int MemosApres;  // the number of memos afterwards, beyond the fixture's
    bool Lien;
    std::string TexteApres;
  };
  const Cas cas[] = {
      {"no memo, empty text", 0, "", 0, false, ""},
      {"no memo, a text", 0, "Nouveau", 1, true, "Nouveau"},
      {"live memo, a text", 1, "Change", 1, true, "Change"},
      {"live memo, empty text", 1, "", 0, false, ""},
      {"missing memo, a text", -1, "Rien", 0, false, ""},
      {"missing memo, empty text", -1, "", 0, false, ""},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.Quoi);
    ASSERT_TRUE(SupMemoCours::Fichier().CreerTable());
    const uint32_t cours = Inserer(SupCours::kCoursSimple, 3, kVide, kVide);
    Aller(cours);
    if (c.Memo == 1) SupCours::Article()->Memo = SupMemoCours::InsererMemoDirectement("Ancien");
    if (c.Memo == -1) SupCours::Article()->Memo = 7;
    const uint32_t avant = Xi::Nombre(SupMemoCours::Fichier().Table);
    SupCours::EcrireMemo(c.Texte);
    EXPECT_EQ(Xi::Nombre(SupMemoCours::Fichier().Table), c.Memo == 1 ? avant - 1 + c.MemosApres : avant + c.MemosApres);
    EXPECT_EQ(SupCours::Article()->Memo != 0, c.Lien);
    EXPECT_EQ(SupCours::TexteMemo(0), c.TexteApres);
  }
  EXPECT_TRUE(client_.Envoyees.empty());
  // A new memo takes the number above the base's last one.
  ASSERT_TRUE(SupMemoCours::Fichier().CreerTable());
  CompteursNumeros::Compteurs()[CompteursNumeros::kMCR] = 41;
  ASSERT_TRUE(SupMemoCours::CreerMemo("x"));
  EXPECT_EQ(SupMemoCours::Article()->NumeroMemo, 42u);
  EXPECT_EQ(CompteursNumeros::Compteurs()[CompteursNumeros::kMCR], 42u);
  EXPECT_TRUE(SupMemoCours::SupprimerMemo()) << "True once the memo is gone";
  EXPECT_EQ(Xi::Nombre(SupMemoCours::Fichier().Table), 0u);
}

// Through the server: the requests' bytes; the link changes only as the verdicts allow.
TEST_F(CoursLectures, WritingTheMemoOfACourseThroughTheServer) {
  bool accepte = true;
  client_.Serveur = [&](const RequeteEnvoyee&, void*) { return accepte; };
  const uint32_t cours = Inserer(SupCours::kCoursSimple, 3, kVide, kVide);
  Aller(cours);
  SupCours::EcrireMemo("Nouveau");
  ASSERT_EQ(client_.Envoyees.size(), 1u);
  Octets texte = Chaine("Nouveau", 255);
  EXPECT_EQ(client_.Envoyees[0].Code, 0x80270001u);
  EXPECT_EQ(client_.Envoyees[0].Parametre, 0);
  EXPECT_EQ(client_.Envoyees[0].Donnees, texte);
  EXPECT_EQ(SupCours::Article()->Memo, 0u) << "the new memo is not current: no link";

  SupCours::Article()->Memo = 1;  // the fixture's memo, number 5
  SupCours::EcrireMemo("Change");
  ASSERT_EQ(client_.Envoyees.size(), 2u);
  EXPECT_EQ(client_.Envoyees[1].Code, 0x80270002u);
  EXPECT_EQ(client_.Envoyees[1].Parametre, 0);
  EXPECT_EQ(client_.Envoyees[1].Donnees, Chaine("Change", 255));
  EXPECT_EQ(SupCours::Article()->Memo, 1u);

  accepte = false;
  SupCours::EcrireMemo("");
  ASSERT_EQ(client_.Envoyees.size(), 3u);
  EXPECT_EQ(client_.Envoyees[2].Code, 0x80270003u);
  EXPECT_EQ(client_.Envoyees[2].Parametre, static_cast<int32_t>(kNumeroMemo));
  EXPECT_TRUE(client_.Envoyees[2].Donnees.empty());
  EXPECT_EQ(SupCours::Article()->Memo, 1u) << "refused: the link stays";
  accepte = true;
  SupCours::EcrireMemo("");
  EXPECT_EQ(SupCours::Article()->Memo, 0u);
  EXPECT_EQ(SupTraitement::Profondeur(), 0u);

  // The default courses: one request without data.
  EXPECT_TRUE(SupCours::CreerCoursParDefaut());
  EXPECT_EQ(client_.Envoyees.back().Code, 0x80190000u);
  EXPECT_TRUE(client_.Envoyees.back().Donnees.empty());
  EXPECT_TRUE(SupMemoCours::CreerMemosParDefaut());
  EXPECT_EQ(client_.Envoyees.back().Code, 0x80270000u);
}

// Memos of the layouts D to J: a change order gives the course's memo its new text, creates none.
TEST_F(CoursLectures, AChangeOrderInAnOldLayoutUpdatesTheCoursesMemo) {
  Disposer({3, 0, 20, 0});  // layout I
  Octets s(200, 0);
  Poser(s, 0, 2, 1);
  PoserChaine(s, 82, "Premier", 33);
  Recevoir(OrdreRecu(GM_Creation, SupCours::kPlace, 200, s));
  const uint32_t memos = Xi::Nombre(SupMemoCours::Fichier().Table);
  PoserChaine(s, 82, "Second", 33);
  Recevoir(OrdreRecu(GM_Modification, SupCours::kPlace, 200, s));
  EXPECT_EQ(Xi::Nombre(SupMemoCours::Fichier().Table), memos);
  Aller(1);
  EXPECT_EQ(SupCours::TexteMemo(0), "Second");
  PoserChaine(s, 82, "", 33);
  Recevoir(OrdreRecu(GM_Modification, SupCours::kPlace, 200, s));
  Aller(1);
  EXPECT_EQ(SupCours::Article()->Memo, 0u);
  EXPECT_EQ(Xi::Nombre(SupMemoCours::Fichier().Table), memos - 1);
  EXPECT_TRUE(client_.Envoyees.empty());
}

TEST_F(CoursLectures, ACourseIsBetweenTwoDatesWhenOneOfItsSessionsIs) {
  const TDateTime lundi = DateTime::EncodeDate(2026, 8, 31);
  const TDateTime* ancienne = JoursOuvres::PremiereDateBase();
  JoursOuvres::PremiereDateBase() = &lundi;
  // 20 places a day: place 25 is on the second working day, Tuesday.
  const TDateTime mardi3 = lundi + 1 + 14;  // Tuesday of week 3
  struct Cas {
    const char* Quoi;
    uint8_t Statut;
    TypeDomaineHebdomadaire Semaines;
    TDateTime Debut, Fin;
    bool Ajoute;
  };
  const Cas cas[] = {
      {"unplaced, whatever the dates", 3, Semaines(3, 3), 0, 1, true},
      {"the session's day exactly", 1, Semaines(3, 3), mardi3, mardi3, true},
      {"the day before", 1, Semaines(3, 3), mardi3 - 3, mardi3 - 0.5, false},
      {"the day after", 1, Semaines(3, 3), mardi3 + 0.5, mardi3 + 5, false},
      {"a later week", 1, Semaines(2, 4), mardi3 + 6, mardi3 + 8, true},
      {"no weeks", 1, kVide, 0, 1e6, false},
  };
  SupParametresGrille::Definir(20, 6, 10);
  SupCours::PlaceAucune() = 120;
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.Quoi);
    const uint32_t n = Inserer(SupCours::kCoursSimple, c.Statut, c.Semaines, c.Semaines, 25);
    Aller(n);
    TypeEnsembleMemoire selection;
    Memoire::Initialiser(selection);
    SupCours::AjouterCoursEntreDates(selection, c.Debut, c.Fin);
    EXPECT_EQ(selection.Nombre, c.Ajoute ? 1u : 0u);
    Memoire::Liberer(selection);
  }
  JoursOuvres::PremiereDateBase() = ancienne;
}

// A placement engine that records what it is asked and blocks given places.
struct MoteurEssai {
  std::map<int32_t, uint32_t> Motifs;                     // blocking reasons by place
  std::map<int32_t, TypeDomaineHebdomadaire> Bloquees;    // blocked weeks by place
  std::vector<std::string> Appels;
  int Remplacements = 0;
  void Installer() {
    MoteurPlacement::TypeServicesPlacement& s = MoteurPlacement::Services();
    s.RemplacerValPlaces = [this](int32_t n, int32_t cellules, bool diagnostics) -> void* {
      ++Remplacements;
      Appels.push_back("remplacer " + std::to_string(n) + " " + std::to_string(cellules) + " " +
                       std::to_string(diagnostics));
      return this;
    };
    s.RetablirValPlaces = [this](void* jeton) {
      EXPECT_EQ(jeton, this);
      --Remplacements;
      Appels.push_back("retablir");
    };
    s.CalculerValPlacesCoursCourant = [this](bool d, bool e, bool t, const TypeDomaineHebdomadaire& w, int32_t) {
      std::string texte;
      TMethodesDomaine::VersTexte(w, 52, texte);
      Appels.push_back("calculer " + std::to_string(d) + std::to_string(e) + std::to_string(t) + " " + texte);
    };
    s.SemainesBloquees = [this](int32_t place, TypeDomaineHebdomadaire& w) {
      const auto b = Bloquees.find(place);
      w = b == Bloquees.end() ? TypeDomaineHebdomadaire{} : b->second;
    };
    s.MotifsBloquants = [this](int32_t place, const TypeDomaineHebdomadaire&) {
      const auto m = Motifs.find(place);
      return m == Motifs.end() ? 0u : m->second;
    };
  }
};

TEST_F(CoursLectures, TheMaximalDurationCountsTheFreePlacesAroundACourseThroughTheEngine) {
  // 20 places a day, two days; the course on the second day at 25, for 2 places.
  SupParametresGrille::Definir(20, 2, 10);
  SupCours::PlaceAucune() = 40;
  SupDomaine::PeriodeDeTravail() = Semaines(1, 30);
  const uint32_t n = Inserer(SupCours::kCoursSimple, 1, Semaines(5, 40), Semaines(5, 40), 25, 2);
  Aller(n);
  EXPECT_THROW((void)SupCours::DureeMaximale(true, false), ENonConstruit) << "no engine installed";
  EXPECT_EQ(Xi::NumeroCourant(SupCours::Fichier().Table), n);

  MoteurEssai moteur;
  moteur.Installer();
  moteur.Motifs = {{22, 0x04}, {23, 0x20}, {30, 0x10}, {28, 0x01}};
  // Before: 24, 23 free (reason 5 does not count), 22 blocked (reason 2): 2 + 2.
  EXPECT_EQ(SupCours::DureeMaximale(true, false), 4);
  // After: 27, 28 (reason 0 does not count), 29 free, 30 blocked (reason 4): 2 + 3.
  EXPECT_EQ(SupCours::DureeMaximale(false, false), 5);
  EXPECT_EQ(moteur.Appels.front(), "remplacer 40 2 1");
  EXPECT_EQ(moteur.Appels[1], "calculer 101 [5..30]") << "diagnostics on, evaluation off, over the working period";
  EXPECT_EQ(moteur.Remplacements, 0) << "the former matrix is back";

  // With Tous, the blocked weeks of the matrix decide, within the weeks of the course.
  moteur.Appels.clear();
  moteur.Bloquees = {{21, Semaines(6, 6)}, {24, Semaines(31, 40)}, {39, Semaines(1, 52)}};
  EXPECT_EQ(SupCours::DureeMaximale(true, true), 5) << "24 is blocked outside the working period only";
  EXPECT_EQ(SupCours::DureeMaximale(false, true), 14) << "free to the day's last place but one";
  EXPECT_EQ(moteur.Appels.front(), "remplacer 40 2 0");

  // Weeks outside the working period, or no place: the engine is not asked.
  moteur.Appels.clear();
  const uint32_t hors = Inserer(SupCours::kCoursSimple, 1, Semaines(40, 41), Semaines(40, 41), 25, 3);
  Aller(hors);
  EXPECT_EQ(SupCours::DureeMaximale(true, false), 3);
  const uint32_t nonPlace = Inserer(SupCours::kCoursSimple, 3, kVide, Semaines(1, 2));
  Aller(nonPlace);
  EXPECT_EQ(SupCours::DureeMaximale(false, false), 20);
  EXPECT_TRUE(moteur.Appels.empty());

  // A whole course takes the smallest over its placed fractions.
  const uint32_t entier = Inserer(SupCours::kCoursEntier, 1, kVide, kVide);
  Lier(entier, n);
  Lier(entier, hors);
  Aller(entier);
  moteur.Bloquees.clear();
  EXPECT_EQ(SupCours::DureeMaximale(true, true), 3);
}

TEST_F(CoursLectures, MarkingAFractionMarksItsWholeCourseAndEveryFraction) {
  const uint32_t entier = Inserer(SupCours::kCoursEntier, 3, kVide, kVide);
  const uint32_t f1 = Inserer(SupCours::kFraction, 3, kVide, kVide), f2 = Inserer(SupCours::kFraction, 3, kVide, kVide);
  const uint32_t autre = Inserer(SupCours::kCoursSimple, 3, kVide, kVide);
  Lier(entier, f1);
  Lier(entier, f2);
  Aller(f2);
  SupExtra::MarquerExtractionCours(true, false);
  for (uint32_t n : {entier, f1, f2}) EXPECT_EQ(Cours(n).Extrait, 1) << n;
  EXPECT_EQ(Cours(autre).Extrait, 0);
  EXPECT_EQ(Xi::NumeroCourant(SupCours::Fichier().Table), f2);
  EXPECT_TRUE(fiche_.FichierVok.Modifie() || !client_.Exclusif);

  // The current value: nothing unless Toujours.
  Aller(f1);
  SupCours::Article()->Extrait = 1;
  ASSERT_TRUE(Xi::Modifier(SupCours::Fichier().Table));
  Aller(entier);
  SupCours::Article()->Extrait = 0;
  ASSERT_TRUE(Xi::Modifier(SupCours::Fichier().Table));
  Aller(f1);
  SupExtra::MarquerExtractionCours(true, false);
  EXPECT_EQ(Cours(entier).Extrait, 0) << "the fraction already had the mark";
  SupExtra::MarquerExtractionCours(true, true);
  EXPECT_EQ(Cours(entier).Extrait, 1);
}

// The end of a server request refreshes the extraction of the courses its orders touched.
TEST_F(CoursLectures, TheEndOfARequestRefreshesTheTouchedCoursesOnce) {
  const uint32_t entier = Inserer(SupCours::kCoursEntier, 3, kVide, kVide);
  const uint32_t f1 = Inserer(SupCours::kFraction, 3, kVide, kVide), f2 = Inserer(SupCours::kFraction, 3, kVide, kVide);
  const uint32_t simple = Inserer(SupCours::kCoursSimple, 3, kVide, kVide);
  Lier(entier, f1);
  Lier(entier, f2);
  Aller(f1);
  SupCours::Article()->Extrait = 1;  // retained and extracted
  ASSERT_TRUE(Xi::Modifier(SupCours::Fichier().Table));
  Aller(simple);
  SupCours::Article()->Extrait = 1;
  SupCours::Article()->Retenu = 0;  // extracted, not retained
  ASSERT_TRUE(Xi::Modifier(SupCours::Fichier().Table));
  // f2 alone would unmark the split course: it is covered by its whole course, touched too.
  NetClient::DebutRequete();
  for (uint32_t n : {entier, f2, simple, 99u}) (void)Memoire::Inserer(n, SupFichiers::CoursTouches());
  NetClient::FinRequete();
  for (uint32_t n : {entier, f1, f2}) EXPECT_EQ(Cours(n).Extrait, 1) << n;
  EXPECT_EQ(Cours(simple).Extrait, 0);
  EXPECT_EQ(SupFichiers::CoursTouches().Nombre, 0u);
  // An end without orders changes nothing.
  NetClient::DebutRequete();
  NetClient::FinRequete();
  EXPECT_EQ(Cours(entier).Extrait, 1);
}

// A received fraction takes its own flag from its whole course; nothing else changes.
TEST_F(CoursLectures, AReceivedFractionTakesTheExtractionOfItsWholeCourseAlone) {
  Recevoir(OrdreRecu(GM_Creation, SupCours::kPlace, 102, Octets(102, 0)));      // the whole course, 1
  Octets fraction(102, 0);
  fraction[0] = SupCours::kFraction;
  Recevoir(OrdreRecu(GM_Creation, SupCours::kPlace, 204, fraction));           // 2
  Recevoir(OrdreRecu(GM_Creation, SupCours::kPlace, 306, fraction));           // 3
  Aller(1);
  SupCours::Article()->Genre = SupCours::kCoursEntier;
  SupCours::Article()->Extrait = 1;
  SupCours::Article()->Retenu = 1;  // retained as its linked fractions make it
  ASSERT_TRUE(Xi::Modifier(SupCours::Fichier().Table));
  Lier(1, 2);
  Lier(1, 3);
  NetClient::DebutRequete();
  Recevoir(OrdreRecu(GM_Modification, SupCours::kPlace, 204, fraction));
  EXPECT_EQ(Cours(2).Extrait, 1);
  EXPECT_EQ(Cours(3).Extrait, 0) << "the other fraction keeps its byte";
  EXPECT_EQ(SupFichiers::CoursTouches().Nombre, 1u);
  Memoire::Liberer(SupFichiers::CoursTouches());
}

TEST_F(CoursLectures, ALocalChangeRecordsWhoMadeItWhenAndByWhichRequest) {
  client_.Exclusif = true;
  const uint32_t n = Inserer(SupCours::kCoursSimple, 3, kVide, kVide);
  Aller(n);
  ASSERT_TRUE(SupCours::Fichier().Modifier(0x80190203, nullptr, 0, [] { SupCours::Article()->Duree = 4; }));
  const TypeEnregistrementCours c = Cours(n);
  EXPECT_EQ(FichierSup::LireChaineCourte(c.ModifiePar, 3), "USR");
  EXPECT_EQ(c.DateModification, kMaintenant);
  EXPECT_EQ(c.DerniereModification, 0x80190203u);
  EXPECT_EQ(c.Duree, 4u);
}

TEST_F(CoursLectures, TheVerifierReportsACourseWithoutAnExistingType) {
  for (uint32_t typologie : {1u, 2u, 0u}) {
    const uint32_t n = Inserer(SupCours::kCoursSimple, 3, kVide, kVide);
    Aller(n);
    SupCours::Article()->Typologie = typologie;
    ASSERT_TRUE(Xi::Modifier(SupCours::Fichier().Table));
  }
  TErreur* erreur = nullptr;
  SupCours::Fichier().Verificateur()->Verifier(0, erreur);
  ASSERT_NE(erreur, nullptr);
  const auto* articles = static_cast<TErreur*>(erreur->Fils(0));
  ASSERT_EQ(articles->NombreFils(), 1);
  EXPECT_EQ(static_cast<TErreur*>(articles->Fils(0))->Message, "Erreur sur le cours numero = 3");
  delete erreur;
  Aller(3);
  EXPECT_TRUE(SupCours::TypeCoursInvalide(false));
  EXPECT_THROW((void)SupCours::TypeCoursInvalide(true), ENonConstruit) << "the repair request is not built";
  EXPECT_EQ(SupCours::Article()->Typologie, 0u) << "nothing changed";
  Aller(1);
  EXPECT_FALSE(SupCours::TypeCoursInvalide(true));
}

TEST_F(CoursLectures, ANewCourseStartsFromTheFilesDefaults) {
  SupCours::Fichier().ViderArticle();
  const TypeEnregistrementCours& c = *SupCours::Article();
  EXPECT_EQ(c.Genre, SupCours::kCoursSimple);
  EXPECT_EQ(c.Statut, 3);
  EXPECT_EQ(c.Place, SupCours::PlaceAucune());
  EXPECT_EQ(c.Retenu, 1);
  EXPECT_EQ(c.Extrait, 1);
  EXPECT_EQ(c.Matiere, 1u);
  EXPECT_EQ(c.Ponderation, 1u) << "the weighting 36000";
  EXPECT_EQ(c.Typologie, 1u) << "the course type \"Aucun\"";
  EXPECT_EQ(c.Site, 0u);
  EXPECT_EQ(c.Memo, 0u);
}

// The steps that keep other units' state in step run where they belong once installed.
TEST_F(CoursLectures, TheStepsOfOtherUnitsRunOnReceivedOrdersAndLocalChangesOnceInstalled) {
  std::vector<std::string> vus;
  SupCours::Etapes().AjouterRessourcesDuCours = [&] { vus.push_back("ressources " + std::to_string(SupCours::Article()->Duree)); };
  SupFractionnementCours::RoutineCoursRetenu() = [&] {
    vus.push_back("retenu");
    return true;
  };
  Octets s(102, 0);
  s[0] = SupCours::kCoursSimple;
  Poser(s, 21, 2, 2);
  Recevoir(OrdreRecu(GM_Creation, SupCours::kPlace, 102, s));
  Poser(s, 21, 3, 2);
  Recevoir(OrdreRecu(GM_Modification, SupCours::kPlace, 102, s));
  Recevoir(OrdreRecu(GM_Suppression, SupCours::kPlace, 102, {}));
  // Before a change or a deletion the course's former resources; after a creation its new ones.
  EXPECT_EQ(vus, (std::vector<std::string>{"ressources 2", "retenu", "ressources 2", "retenu", "ressources 3"}));
  vus.clear();
  client_.Exclusif = true;
  Disposer({3, 0, 20, 0});  // a base of an older layout registers the local-change step as well
  const uint32_t n = Inserer(SupCours::kCoursSimple, 3, kVide, kVide);
  Aller(n);
  ASSERT_TRUE(SupCours::Fichier().Modifier(0x80190203, nullptr, 0, [] { SupCours::Article()->Duree = 5; }));
  EXPECT_EQ(vus, (std::vector<std::string>{"ressources 5", "retenu"}));
  SupCours::Etapes() = {};
  SupFractionnementCours::RoutineCoursRetenu() = nullptr;
  Memoire::Liberer(SupFichiers::CoursTouches());
}

TEST_F(CoursLectures, TheReadsForWalksOverFractionsAndSubjects) {
  const uint32_t entier = Inserer(SupCours::kCoursEntier, 1, Semaines(1, 4), Semaines(1, 8));
  const uint32_t f1 = Inserer(SupCours::kFraction, 1, Semaines(1, 2), Semaines(1, 4));
  const uint32_t f2 = Inserer(SupCours::kFraction, 5, Semaines(3, 4), Semaines(5, 8));
  const uint32_t simple = Inserer(SupCours::kCoursSimple, 3, Semaines(1, 1), Semaines(9, 9));
  Lier(entier, f1);
  Lier(entier, f2);
  Aller(f2);
  EXPECT_EQ(SupFractionnementCours::NumeroCoursEntier(), entier);
  EXPECT_TRUE(SupCours::FractionPlaceeSouple());
  EXPECT_FALSE(SupCours::FractionPlacee());
  EXPECT_EQ(SupCours::SemainesEffectives(), Semaines(3, 4));
  Aller(simple);
  EXPECT_EQ(SupCours::SemainesEffectives(), Semaines(9, 9)) << "unplaced: the potential weeks";
  EXPECT_FALSE(SupFractionnementCours::AllerAuCoursEntier());
  EXPECT_EQ(SupFractionnementCours::NumeroCoursEntier(), simple);
  // Subjects: the fractions of a whole course with flag 4 must all have its subject.
  void* matieres = SupFichiers::Fichier(12)->Table;
  ASSERT_TRUE(Xi::AllerA(matieres, 1));
  Aller(entier);
  EXPECT_TRUE(SupCours::CoursDeLaMatiereCourante());
  SupCours::Article()->Compactage = SupCours::kCompactageFractionsSeparees;
  ASSERT_TRUE(Xi::Modifier(SupCours::Fichier().Table));
  EXPECT_TRUE(SupCours::FractionsDeMemeMatiere());
  Aller(f1);
  SupCours::Article()->Matiere = 2;
  ASSERT_TRUE(Xi::Modifier(SupCours::Fichier().Table));
  Aller(entier);
  EXPECT_FALSE(SupCours::FractionsDeMemeMatiere());
  EXPECT_FALSE(SupCours::CoursDeLaMatiereCourante());
  EXPECT_EQ(Xi::NumeroCourant(SupCours::Fichier().Table), entier);
  // Courses of a site, and those without one.
  Aller(simple);
  SupCours::Article()->Site = 1;
  ASSERT_TRUE(Xi::Modifier(SupCours::Fichier().Table));
  std::vector<uint32_t> duSite;
  EXPECT_FALSE(SupCours::PourChaqueCoursDuSite(1, [&] {
    duSite.push_back(Xi::NumeroCourant(SupCours::Fichier().Table));
    return false;
  }));
  EXPECT_EQ(duSite, std::vector<uint32_t>{simple});
  TypeEnsembleMemoire sansSite;
  Memoire::Initialiser(sansSite);
  for (uint32_t n : {simple, f1, entier}) {
    Aller(n);
    SupCours::AjouterCoursSansSite(sansSite);
  }
  ASSERT_EQ(sansSite.Nombre, 2u);
  EXPECT_EQ(sansSite.Elements[0], entier);
  EXPECT_EQ(sansSite.Elements[1], f1);
  Memoire::Liberer(sansSite);
}

// A change order of the layouts that clear the record first keeps the flags that no layout holds.
TEST_F(CoursLectures, AChangeOrderOfAnOldLayoutKeepsTheExtractionOfTheCourse) {
  Disposer({3, 0, 3, 0});  // layout F
  Octets s(112, 0);
  Poser(s, 0, 2, 1);
  Recevoir(OrdreRecu(GM_Creation, SupCours::kPlace, 112, s));
  EXPECT_EQ(Cours(1).Extrait, 0);
  Poser(s, 22, 4, 2);
  Recevoir(OrdreRecu(GM_Modification, SupCours::kPlace, 112, s));
  EXPECT_EQ(Cours(1).Extrait, 0) << "not extracted by the change";
  EXPECT_EQ(Cours(1).Duree, 4u);
  Memoire::Liberer(SupFichiers::CoursTouches());
}

}  // namespace
