// Site usage: the used-site sets (adding, analysing, conflicts, restricting, merging, copying), the
// used sites of a course from its own site or its rooms, and the travels between used sites with
// their places, spans and widening. One base holds four sites; the sets are built by hand or from
// courses loaded into it.
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "RessourcesEssai.h"
#include "base/SupMAJRessource.h"
#include "base/SupParametresGrille.h"
#include "base/SupParco.h"
#include "base/cours/SupCours.h"
#include "base/fichiers/SupRelationCours.h"
#include "base/sites/SupSite.h"
#include "base/sites/SupSites.h"
#include "base/sites/SupTrajetSite.h"
#include "core/records/Memoire.h"
#include "core/records/Xi.h"

namespace {

using namespace RessourcesEssai;
using D = TMethodesDomaine;
using Semaines = TypeDomaineHebdomadaire;

Semaines S(int a, int b) {
  Semaines d;
  for (int w = a; w <= b; ++w) d.Inclure(w);
  return d;
}
Semaines U(std::initializer_list<int> semaines) {
  Semaines d;
  for (int w : semaines) d.Inclure(w);
  return d;
}
std::string T(const Semaines& d) {
  std::string t;
  D::VersTexte(d, 52, t);
  return t;
}

// (site, weeks) of every element, in the set's order.
using Contenu = std::vector<std::pair<uint32_t, std::string>>;
Contenu Elements(const TUsedSites& e) {
  Contenu c;
  (void)e.PourChaqueSite(
      [&c](uint32_t Cle, TUsedSite* Element, void*) {
        EXPECT_EQ(Cle, Element->Site);
        c.emplace_back(Cle, T(Element->Semaines));
        return false;
      },
      nullptr);
  return c;
}
// (resource, relation, weeks) of every use of an element.
using Usages = std::vector<std::tuple<uint32_t, uint32_t, std::string>>;
Usages UsagesDe(const TUsedSite* e) {
  Usages u;
  int32_t i = -1;
  TUsedSite* usage = nullptr;
  while (e->UtilisateurSuivant(i, usage)) u.emplace_back(usage->Ressource(), usage->Relation(), T(usage->Semaines));
  EXPECT_EQ(i, -1);
  EXPECT_EQ(usage, nullptr);
  return u;
}

Octets Trajet(uint32_t numero, uint32_t depart, uint32_t arrivee, int32_t duree) {
  Octets s(16, 0);
  Poser32(s, 0, numero);
  Poser32(s, 4, depart);
  Poser32(s, 8, arrivee);
  Poser32(s, 12, static_cast<uint32_t>(duree));
  return s;
}

// Sites by record number: A "Annexe" (1), the default site (2), B (3), C (4); their numbers 7, 1, 8, 9.
class SitesUtilises : public BaseRessources {
 protected:
  static constexpr uint32_t kA = 1, kDef = 2, kB = 3, kC = 4;
  static constexpr uint32_t kNumeroB = 8, kNumeroC = 9;

  void SetUp() override {
    BaseRessources::SetUp();
    Recevoir(OrdreRecu(GM_Creation, kSIT, 88, Site(kNumeroB, "Batiment B")));
    Recevoir(OrdreRecu(GM_Creation, kSIT, 96, Site(kNumeroC, "Campus C")));
    for (auto [numero, site] : {std::pair{kNumeroAnnexe, kA}, {kNumeroSiteDefaut, kDef}, {kNumeroB, kB}, {kNumeroC, kC}})
      ASSERT_EQ(SupSite::ArticleDeNumero(numero), site);
    ASSERT_EQ(SupSites::Sites().SiteParDefaut(0), kDef);
  }
  void TearDown() override {
    SupParametresGrille::Parametres() = TypeParametresGrille{};
    SupParco::SalleMultipleCourante() = false;
    Memoire::Liberer(SupFichiers::CoursTouches());
    SupMAJRessource::Liberer(SupMAJRessource::RessourcesAMettreAJour());
    BaseRessources::TearDown();
  }

  static TSites& Sites() { return SupSites::Sites(); }
  // An owning set over the year (or Domaine) with the elements given.
  template <class Ensemble = TUsedSites>
  static std::unique_ptr<TUsedSites> Ens(std::initializer_list<std::pair<uint32_t, Semaines>> elements,
                                         const Semaines& Domaine = D::Annee()) {
    auto e = std::make_unique<Ensemble>(Sites(), Domaine, 0, true);
    uint32_t n = 0;
    for (const auto& [site, semaines] : elements) {
      ++n;
      e->AjouterSite(site, semaines, 100 + n, 200 + n);
    }
    return e;
  }
};

TEST_F(SitesUtilises, AddingASiteKeepsTheWeeksOfTheDomainAndFoldsNoSiteIntoTheDefaultSite) {
  struct Cas {
    const char* nom;
    Semaines domaine;
    uint32_t remplace;
    std::vector<std::pair<uint32_t, Semaines>> ajouts;
    Contenu attendu;
  };
  const std::vector<Cas> cas = {
      {"weeks outside the domain add nothing", S(1, 10), 0, {{kA, S(20, 30)}}, {}},
      {"only the weeks inside the domain", S(1, 10), 0, {{kA, S(5, 20)}}, {{kA, "[5..10]"}}},
      {"the weeks of one site gather", D::Annee(), 0, {{kA, S(1, 3)}, {kA, S(10, 12)}}, {{kA, "[1..3,10..12]"}}},
      {"no site and the default site are one site", D::Annee(), 0, {{0, S(1, 5)}, {kDef, S(8, 9)}},
       {{kDef, "[1..5,8..9]"}}},
      {"another replaced site stands for the default site", D::Annee(), kB, {{kB, S(1, 2)}, {0, S(3, 4)}, {kDef, S(5, 5)}},
       {{0, "[3..4]"}, {kDef, "[1..2,5]"}}},
      {"sites in ascending order", D::Annee(), 0, {{kC, S(1, 1)}, {kA, S(2, 2)}, {kB, S(3, 3)}},
       {{kA, "[2]"}, {kB, "[3]"}, {kC, "[1]"}}},
  };
  for (const Cas& c : cas) {
    TUsedSites e(Sites(), c.domaine, c.remplace, true);
    for (const auto& [site, semaines] : c.ajouts) e.AjouterSite(site, semaines, 0, 0);
    EXPECT_EQ(Elements(e), c.attendu) << c.nom;
    EXPECT_EQ(e.NombreDeSites(), static_cast<int32_t>(c.attendu.size())) << c.nom;
  }
}

TEST_F(SitesUtilises, AnalysingTellsWhetherOneSiteIsUsedAndWhetherTwoShareAWeek) {
  struct Cas {
    const char* nom;
    std::vector<std::pair<uint32_t, Semaines>> elements;
    bool resultat;
    uint32_t site;
    std::string semaines;
    bool compatible;
  };
  const std::vector<Cas> cas = {
      {"no site", {}, true, 0, "[]", true},
      {"one site", {{kB, S(1, 10)}}, true, kB, "[1..10]", true},
      {"two sites in disjoint weeks", {{kA, S(1, 10)}, {kB, S(11, 20)}}, false, 0, "[]", true},
      {"two sites in a shared week", {{kA, S(1, 10)}, {kB, S(10, 20)}}, false, 0, "[]", false},
      {"neighbours meeting stop the walk before the second pass", {{kA, U({1})}, {kDef, U({2})}, {kB, U({5})}, {kC, U({1, 5})}},
       false, 0, "[]", false},
      {"A and C share a week, B apart: the second pass finds them", {{kA, U({3})}, {kB, U({5})}, {kC, U({3, 7})}}, false,
       0, "[3]", false},
      {"a later pair overwrites the weeks", {{kA, U({1})}, {kDef, U({2})}, {kB, U({1, 9})}, {kC, U({2})}}, false, 0,
       "[2]", false},
      {"three sites apart", {{kA, U({1})}, {kB, U({2})}, {kC, U({3})}}, false, 0, "[]", true},
  };
  for (const Cas& c : cas) {
    TUsedSites e(Sites(), D::Annee(), 0, true);
    for (const auto& [site, semaines] : c.elements) e.AjouterSite(site, semaines, 0, 0);
    uint32_t site = 99;
    Semaines semaines = D::Annee();
    bool compatible = false;
    EXPECT_EQ(e.AnalyserSites(site, semaines, compatible), c.resultat) << c.nom;
    EXPECT_EQ(site, c.site) << c.nom;
    EXPECT_EQ(T(semaines), c.semaines) << c.nom;
    EXPECT_EQ(compatible, c.compatible) << c.nom;
  }
}

TEST_F(SitesUtilises, TheConflictSetSharesTheElementsUsedInTheSameWeeksAndIsFreedFirst) {
  struct Cas {
    const char* nom;
    std::vector<std::pair<uint32_t, Semaines>> elements;
    Semaines restriction;
    bool resultat;
    std::vector<uint32_t> sites;
    std::string domaine;
  };
  const std::vector<Cas> cas = {
      {"disjoint weeks", {{kA, S(1, 10)}, {kB, S(11, 20)}}, D::Annee(), false, {}, "[]"},
      {"shared weeks", {{kA, S(1, 10)}, {kB, S(5, 15)}}, D::Annee(), true, {kA, kB}, "[5..10]"},
      {"only the shared weeks within the restriction", {{kA, S(1, 10)}, {kB, S(5, 15)}}, S(8, 30), true, {kA, kB},
       "[8..10]"},
      {"a restriction beside the shared weeks", {{kA, S(1, 10)}, {kB, S(5, 15)}}, S(11, 30), false, {}, "[]"},
      {"A and C of three", {{kA, U({3})}, {kB, U({5})}, {kC, U({3, 7})}}, D::Annee(), true, {kA, kC}, "[3]"},
      {"every pair", {{kA, S(1, 4)}, {kB, S(3, 6)}, {kC, S(6, 8)}}, D::Annee(), true, {kA, kB, kC}, "[3..4,6]"},
  };
  for (bool avecUtilisateurs : {false, true}) {
    for (const Cas& c : cas) {
      std::unique_ptr<TUsedSites> source = avecUtilisateurs
                                               ? std::unique_ptr<TUsedSites>(new TUsedSitesAvecUtilisateurs(Sites(), D::Annee(), 0, true))
                                               : std::make_unique<TUsedSites>(Sites(), D::Annee(), 0, true);
      for (const auto& [site, semaines] : c.elements) source->AjouterSite(site, semaines, 5, 6);
      std::unique_ptr<TUsedSites> conflits;
      EXPECT_EQ(source->SitesEnConflit(c.restriction, conflits), c.resultat) << c.nom;
      ASSERT_NE(conflits, nullptr);
      EXPECT_EQ(dynamic_cast<TUsedSitesAvecUtilisateurs*>(conflits.get()) != nullptr, avecUtilisateurs) << c.nom;
      std::vector<uint32_t> sites;
      for (const auto& [site, semaines] : Elements(*conflits)) {
        sites.push_back(site);
        EXPECT_EQ(conflits->SiteUtilise(site), source->SiteUtilise(site)) << c.nom;  // shared, not copied
      }
      EXPECT_EQ(sites, c.sites) << c.nom;
      EXPECT_EQ(T(conflits->Semaines), c.domaine) << c.nom;
      // The conflict set goes first; the source still owns and frees the elements (the sanitizers watch).
      conflits.reset();
      EXPECT_EQ(source->NombreDeSites(), static_cast<int32_t>(c.elements.size())) << c.nom;
    }
  }
}

TEST_F(SitesUtilises, RestrictingCutsTheWeeksRemovesTheSitesLeftOutAndNarrowsTheDomain) {
  struct Cas {
    const char* nom;
    Semaines restriction;
    Contenu reste;
    std::string domaine;
  };
  const std::vector<Cas> cas = {
      {"cut and removed", S(5, 15), {{kA, "[5..10]"}, {kB, "[11..15]"}}, "[5..15]"},
      {"every site removed", S(45, 50), {}, "[]"},
      {"nothing cut", D::Annee(), {{kA, "[1..10]"}, {kB, "[11..20]"}, {kC, "[30..40]"}}, "[1..20,30..40]"},
  };
  for (bool proprietaire : {true, false}) {
    for (const Cas& c : cas) {
      // A set that does not own its elements removes them without freeing them.
      std::unique_ptr<TUsedSites> source = Ens({{kA, S(1, 10)}, {kB, S(11, 20)}, {kC, S(30, 40)}});
      std::unique_ptr<TUsedSites> vue;
      TUsedSites* e = source.get();
      if (!proprietaire) {
        vue = source->Creer(Sites(), D::Annee(), 0, false);
        for (uint32_t s : {kA, kB, kC}) vue->Inscrire(source->SiteUtilise(s));
        e = vue.get();
      }
      Semaines domaine = U({52});
      e->Restreindre(c.restriction, domaine);
      EXPECT_EQ(Elements(*e), c.reste) << c.nom;
      EXPECT_EQ(T(domaine), c.domaine) << c.nom;
      EXPECT_EQ(T(e->Semaines), c.domaine) << c.nom;
      vue.reset();
      EXPECT_EQ(source->NombreDeSites(), proprietaire ? static_cast<int32_t>(c.reste.size()) : 3) << c.nom;
    }
  }
}

TEST_F(SitesUtilises, MergingAddsTheOtherSetInPlaceOrIntoANewSetOfTheSameClass) {
  // In place, over the union of both domains.
  std::unique_ptr<TUsedSites> e = Ens({{kA, S(1, 10)}}, S(1, 20));
  std::unique_ptr<TUsedSites> autre = Ens({{kA, S(21, 25)}, {kB, S(26, 30)}}, S(21, 30));
  EXPECT_EQ(e->Fusionner(autre.get(), false), e.get());
  EXPECT_EQ(Elements(*e), (Contenu{{kA, "[1..10,21..25]"}, {kB, "[26..30]"}}));
  EXPECT_EQ(T(e->Semaines), "[1..30]");
  // A nil or empty set, or the set itself, changes nothing.
  const TUsedSites vide(Sites(), D::Annee(), 0, true);
  for (const TUsedSites* a : {static_cast<const TUsedSites*>(nullptr), &vide, static_cast<const TUsedSites*>(e.get())}) {
    EXPECT_EQ(e->Fusionner(a, false), e.get());
    EXPECT_EQ(Elements(*e), (Contenu{{kA, "[1..10,21..25]"}, {kB, "[26..30]"}}));
    EXPECT_EQ(T(e->Semaines), "[1..30]");
  }

  // A copy leaves both sets as they were and owns its own elements.
  std::unique_ptr<TUsedSites> x = Ens({{kA, S(1, 10)}}, S(1, 20));
  std::unique_ptr<TUsedSites> copie(x->Fusionner(autre.get(), true));
  ASSERT_NE(copie.get(), x.get());
  EXPECT_EQ(Elements(*x), (Contenu{{kA, "[1..10]"}}));
  EXPECT_EQ(Elements(*autre), (Contenu{{kA, "[21..25]"}, {kB, "[26..30]"}}));
  EXPECT_NE(copie->SiteUtilise(kA), x->SiteUtilise(kA));
  x.reset();
  autre.reset();
  EXPECT_EQ(Elements(*copie), (Contenu{{kA, "[1..10,21..25]"}, {kB, "[26..30]"}}));
  EXPECT_EQ(T(copie->Semaines), "[1..30]");
  EXPECT_EQ(dynamic_cast<TUsedSitesAvecUtilisateurs*>(copie.get()), nullptr);
}

TEST_F(SitesUtilises, MergingSetsWithUsersKeepsTheResourceAndRelationOfEveryUse) {
  // Uses numbered by Ens: resource 100 + n, relation 200 + n for the n-th addition.
  std::unique_ptr<TUsedSites> e = Ens<TUsedSitesAvecUtilisateurs>({{kA, S(1, 10)}, {kA, S(12, 12)}});
  ASSERT_EQ(e->SiteUtilise(kA)->NombreUtilisateurs(), 2);
  std::unique_ptr<TUsedSites> avec = Ens<TUsedSitesAvecUtilisateurs>({{kB, S(1, 2)}, {kA, S(20, 21)}});
  std::unique_ptr<TUsedSites> sans = Ens({{kC, S(30, 31)}});
  for (bool copie : {false, true}) {
    std::unique_ptr<TUsedSites> cible = Ens<TUsedSitesAvecUtilisateurs>({{kA, S(1, 10)}, {kA, S(12, 12)}});
    TUsedSites* r = cible->Fusionner(avec.get(), copie);
    std::unique_ptr<TUsedSites> nouveau(copie ? r : nullptr);
    if (!copie) {
      EXPECT_EQ(r, cible.get());
    }
    (void)r->Fusionner(sans.get(), false);
    ASSERT_NE(dynamic_cast<TUsedSitesAvecUtilisateurs*>(r), nullptr);
    EXPECT_EQ(UsagesDe(r->SiteUtilise(kA)),
              (Usages{{101, 201, "[1..10]"}, {102, 202, "[12]"}, {102, 202, "[20..21]"}}))
        << copie;
    EXPECT_EQ(UsagesDe(r->SiteUtilise(kB)), (Usages{{101, 201, "[1..2]"}})) << copie;
    EXPECT_EQ(UsagesDe(r->SiteUtilise(kC)), (Usages{{0, 0, "[30..31]"}})) << copie;
    EXPECT_EQ(T(r->SiteUtilise(kA)->Semaines), "[1..10,12,20..21]") << copie;
    EXPECT_EQ(UsagesDe(avec->SiteUtilise(kA)), (Usages{{102, 202, "[20..21]"}})) << copie;
  }
  // A plain set merging a set with users keeps the sites and weeks only.
  std::unique_ptr<TUsedSites> simple = Ens({{kC, S(1, 1)}});
  (void)simple->Fusionner(e.get(), false);
  EXPECT_EQ(Elements(*simple), (Contenu{{kA, "[1..10,12]"}, {kC, "[1]"}}));
  EXPECT_EQ(simple->SiteUtilise(kA)->NombreUtilisateurs(), 0);
}

TEST_F(SitesUtilises, CopyingOverGivesTheOtherSetInItsWeeksAndThisSetElsewhere) {
  struct Cas {
    const char* nom;
    bool autreNul;
    std::vector<std::pair<uint32_t, Semaines>> autre;
    Contenu attendu;
    std::string domaine;
  };
  const std::vector<Cas> cas = {
      {"a nil set gives a copy", true, {}, {{kA, "[1..20]"}, {kB, "[30..40]"}}, "[1..40]"},
      {"an empty set gives a copy", false, {}, {{kA, "[1..20]"}, {kB, "[30..40]"}}, "[1..40]"},
      // The other set's domain joins the copy's.
      {"the other set over its weeks", false, {{kC, S(10, 15)}},
       {{kA, "[1..9,16..20]"}, {kB, "[30..40]"}, {kC, "[10..15]"}}, "[1..45]"},
      {"the other set covering a site", false, {{kA, S(28, 45)}}, {{kA, "[1..20,28..45]"}}, "[1..45]"},
  };
  for (const Cas& c : cas) {
    std::unique_ptr<TUsedSites> e = Ens({{kA, S(1, 20)}, {kB, S(30, 40)}}, S(1, 40));
    std::unique_ptr<TUsedSites> autre = std::make_unique<TUsedSites>(Sites(), S(1, 45), 0, true);
    for (const auto& [site, semaines] : c.autre) autre->AjouterSite(site, semaines, 0, 0);
    std::unique_ptr<TUsedSites> copie = e->Copier(c.autreNul ? nullptr : autre.get());
    ASSERT_NE(copie, nullptr);
    // Nothing is shared with the sources.
    e.reset();
    autre.reset();
    EXPECT_EQ(Elements(*copie), c.attendu) << c.nom;
    EXPECT_EQ(T(copie->Semaines), c.domaine) << c.nom;
  }
}

TEST_F(SitesUtilises, TheListViewAndTheWalkOfUsesSkipNilAndEndCleared) {
  std::unique_ptr<TUsedSites> e = Ens({{kC, S(3, 3)}, {kA, S(1, 1)}});
  std::unique_ptr<TListeUsedSite> liste = e->ListeSites();
  EXPECT_FALSE(liste->OwnsObjects());
  liste->Insert(1, nullptr);
  liste->Add(nullptr);
  struct Cas {
    int32_t depuis;
    bool trouve;
    int32_t indice;
    uint32_t site;
  };
  for (const Cas& c : std::vector<Cas>{{-7, true, 0, kA}, {-1, true, 0, kA}, {0, true, 2, kC}, {2, false, -1, 0}, {9, false, -1, 0}}) {
    int32_t i = c.depuis;
    TUsedSite autre(kB, S(9, 9));
    TUsedSite* element = &autre;
    EXPECT_EQ(liste->Suivant(i, element), c.trouve) << c.depuis;
    EXPECT_EQ(i, c.indice) << c.depuis;
    EXPECT_EQ(element == nullptr ? 0u : element->Site, c.site) << c.depuis;
  }
  liste.reset();
  EXPECT_EQ(e->NombreDeSites(), 2);
  // A plain used site has no use.
  const TUsedSite simple(kA, S(1, 2));
  EXPECT_TRUE(UsagesDe(&simple).empty());
  EXPECT_EQ(simple.NombreUtilisateurs(), 0);
  EXPECT_EQ(T(e->DomaineTotal()), "[1,3]");
  EXPECT_EQ(T(TUsedSites(Sites(), D::Annee(), 0, true).DomaineTotal()), "[]");
}

TEST_F(SitesUtilises, StoringAnElementReplacesTheFormerOneAndAnOwningSetFreesIt) {
  // The sanitizers report the former element if it were kept alive or freed twice.
  TUsedSites e(Sites(), D::Annee(), 0, true);
  e.AjouterSite(kA, S(1, 2), 0, 0);
  auto* nouveau = new TUsedSite(kA, S(7, 8));
  e.Inscrire(nouveau);
  e.Inscrire(nouveau);  // the same element again: kept, not freed
  e.Inscrire(nullptr);
  EXPECT_EQ(e.SiteUtilise(kA), nouveau);
  EXPECT_EQ(Elements(e), (Contenu{{kA, "[7..8]"}}));
  // A set that does not own its elements leaves the former one to its owner.
  const TUsedSite garde(kB, S(1, 1));
  TUsedSite remplace(kB, S(2, 2));
  TUsedSites vue(Sites(), D::Annee(), 0, false);
  vue.Inscrire(const_cast<TUsedSite*>(&garde));
  vue.Inscrire(&remplace);
  EXPECT_EQ(vue.SiteUtilise(kB), &remplace);
  EXPECT_EQ(T(garde.Semaines), "[1]");
}

// ---- The used sites of a course -----------------------------------------------------------------------

class SitesDesCours : public SitesUtilises {
 protected:
  // Rooms (record numbers): SA on A (1), SB on B (2), SC on C (3), SD on the default site (4), SN without
  // a site (5), SG on a site that is gone (6).
  static constexpr uint32_t kSA = 1, kSB = 2, kSC = 3, kSD = 4, kSN = 5, kSG = 6;

  void SetUp() override {
    SitesUtilises::SetUp();
    for (auto [n, numeroSite] : {std::pair{kSA, kNumeroAnnexe}, {kSB, kNumeroB}, {kSC, kNumeroC},
                                 {kSD, kNumeroSiteDefaut}, {kSN, kNumeroSiteDefaut}, {kSG, kNumeroC}}) {
      Octets s = Ressource(5, "S" + std::to_string(n), "S" + std::to_string(n), n);
      Poser32(s, 184, 1);
      Poser32(s, 192, numeroSite);
      ASSERT_EQ(Charger(static_cast<int32_t>(560 * n), s), n);
    }
    // In memory, a room without a site and a room whose site record is gone.
    for (auto [n, site] : {std::pair{kSN, 0u}, {kSG, 77u}}) {
      ASSERT_TRUE(Xi::AllerA(SupRessource::Fichier().Table, n));
      SupRessource::Article()->MotC = site;
      ASSERT_TRUE(Xi::Modifier(SupRessource::Fichier().Table));
    }
  }

  uint32_t prochainCours_ = 0;
  int32_t prochaineRelation_ = 16;
  // A course with its own site, its placed and potential weeks, and its room relations.
  uint32_t Cours(uint32_t site, const Semaines& placees, const Semaines& potentielles,
                 std::initializer_list<std::pair<uint32_t, Semaines>> salles) {
    TFichierSup& f = SupCours::Fichier();
    f.ViderArticle();
    TypeEnregistrementCours* c = SupCours::Article();
    c->Identifiant = static_cast<int32_t>(102 * ++prochainCours_);
    c->Genre = SupCours::kCoursSimple;
    c->Statut = 1;
    c->Semaines = placees;
    c->SemainesPotentielles = potentielles;
    c->Site = site;
    EXPECT_TRUE(Xi::Inserer(f.Table));
    const uint32_t cours = Xi::NumeroCourant(f.Table);
    EXPECT_EQ(cours, prochainCours_);
    for (const auto& [salle, semaines] : salles) {
      Octets r(16, 0);
      Poser32(r, 0, 560 * salle);
      Poser32(r, 4, 102 * cours);
      std::copy(semaines.Octets.begin(), semaines.Octets.end(), r.begin() + 8);
      Recevoir(OrdreRecu(GM_Creation, SupRelationCours::kPlace, prochaineRelation_, r));
      prochaineRelation_ += 16;
    }
    return cours;
  }
  static void Courant(uint32_t cours) { ASSERT_TRUE(Xi::AllerA(SupCours::Fichier().Table, cours)); }
};

TEST_F(SitesDesCours, TheSitesOfACourseComeFromItsOwnSiteOrFromItsRooms) {
  const uint32_t vide = Cours(0, S(1, 52), S(1, 52), {});
  const uint32_t disjoints = Cours(0, S(1, 52), S(1, 52), {{kSA, S(1, 10)}, {kSB, S(11, 20)}});  // relations 1, 2
  const uint32_t partages = Cours(0, S(1, 52), S(1, 52), {{kSA, S(1, 10)}, {kSB, S(5, 15)}});    // 3, 4
  const uint32_t trois = Cours(0, S(1, 52), S(1, 52), {{kSA, U({3})}, {kSB, U({5})}, {kSC, U({3})}});  // 5 to 7
  const uint32_t defaut = Cours(0, S(1, 52), S(1, 52), {{kSN, S(1, 10)}, {kSD, S(5, 20)}});       // 8, 9
  const uint32_t disparu = Cours(0, S(1, 52), S(1, 52), {{kSG, S(1, 10)}});                       // 10
  const uint32_t propre = Cours(kC, S(1, 10), S(1, 20), {{kSA, S(1, 52)}});                       // 11
  struct Cas {
    const char* nom;
    uint32_t cours;
    Semaines semaines;
    bool placees;
    bool resultat;
    Contenu sites;
    std::vector<Usages> usages;  // per site, with users
  };
  const std::vector<Cas> cas = {
      {"no site and no room", vide, D::Annee(), true, true, {}, {}},
      {"rooms on A and B in disjoint weeks", disjoints, D::Annee(), true, true, {{kA, "[1..10]"}, {kB, "[11..20]"}},
       {{{kSA, 1, "[1..10]"}}, {{kSB, 2, "[11..20]"}}}},
      {"a relation outside the weeks is left out", disjoints, S(11, 52), true, true, {{kB, "[11..20]"}},
       {{{kSB, 2, "[11..20]"}}}},
      {"rooms on A and B in a shared week", partages, D::Annee(), true, false, {{kA, "[1..10]"}, {kB, "[5..15]"}},
       {{{kSA, 3, "[1..10]"}}, {{kSB, 4, "[5..15]"}}}},
      {"the weeks are cut to the domain", partages, S(11, 52), true, true, {{kB, "[11..15]"}},
       {{{kSB, 4, "[11..15]"}}}},
      {"A and C share a week", trois, D::Annee(), true, false, {{kA, "[3]"}, {kB, "[5]"}, {kC, "[3]"}},
       {{{kSA, 5, "[3]"}}, {{kSB, 6, "[5]"}}, {{kSC, 7, "[3]"}}}},
      {"a room without a site and one on the default site are one site", defaut, D::Annee(), true, true,
       {{kDef, "[1..20]"}}, {{{kSD, 9, "[5..20]"}, {kSN, 8, "[1..10]"}}}},  // the walk takes the rooms in order
      {"a room whose site is gone is on the default site", disparu, D::Annee(), true, true, {{kDef, "[1..10]"}},
       {{{kSG, 10, "[1..10]"}}}},
      {"its own site over its placed weeks", propre, D::Annee(), true, true, {{kC, "[1..10]"}}, {{{0, 0, "[1..10]"}}}},
      {"its own site over its potential weeks", propre, D::Annee(), false, true, {{kC, "[1..20]"}},
       {{{0, 0, "[1..20]"}}}},
      {"its own site within the domain", propre, S(5, 30), false, true, {{kC, "[5..20]"}}, {{{0, 0, "[5..20]"}}}},
  };
  for (bool avecUtilisateurs : {false, true}) {
    for (const Cas& c : cas) {
      Courant(c.cours);
      std::unique_ptr<TUsedSites> e;
      EXPECT_EQ(Sites().CreerSitesUtilises(e, c.semaines, c.placees, avecUtilisateurs), c.resultat) << c.nom;
      ASSERT_NE(e, nullptr) << c.nom;
      EXPECT_EQ(Xi::NumeroCourant(SupCours::Fichier().Table), c.cours) << c.nom;
      EXPECT_EQ(dynamic_cast<TUsedSitesAvecUtilisateurs*>(e.get()) != nullptr, avecUtilisateurs) << c.nom;
      EXPECT_EQ(Elements(*e), c.sites) << c.nom;
      EXPECT_EQ(e->Semaines, c.semaines) << c.nom;
      if (!avecUtilisateurs) continue;
      std::size_t i = 0;
      for (const auto& [site, semaines] : c.sites) {
        ASSERT_LT(i, c.usages.size()) << c.nom;
        EXPECT_EQ(UsagesDe(e->SiteUtilise(site)), c.usages[i++]) << c.nom << " " << site;
      }
    }
  }
  // The conflict of the course with rooms on A and B in the same weeks.
  Courant(partages);
  std::unique_ptr<TUsedSites> e;
  ASSERT_FALSE(Sites().CreerSitesUtilises(e, D::Annee(), true, true));
  std::unique_ptr<TUsedSites> conflits;
  ASSERT_TRUE(e->SitesEnConflit(S(1, 52), conflits));
  EXPECT_EQ(Elements(*conflits), (Contenu{{kA, "[1..10]"}, {kB, "[5..15]"}}));
  EXPECT_EQ(T(conflits->Semaines), "[5..10]");
  conflits.reset();
}

// ---- Travels -----------------------------------------------------------------------------------------------

TEST_F(SitesUtilises, AForbiddenTravelReachesOverDaysOrWeeks) {
  struct Cas {
    int32_t valeur;
    int64_t jours;
    int32_t semaines;
    int32_t etendue;
  };
  const std::vector<Cas> cas = {
      {-2147483647, 0, 1, 0}, {-2147483646, 0, 2, 1}, {-2147483645, 0, 4, 3}, {-1, 1, 0, 0},
      {-2, 2, 0, 1},          {-8, 8, 0, 1},          {-9, 9, 0, 2},          {-15, 15, 0, 2},
      {-16, 16, 0, 3},        {-365, 365, 0, 52},     {-366, 366, 0, 52},     {-2147483647 - 1, 2147483648LL, 0, 52},
  };
  for (const Cas& c : cas) {
    const TUsedTrajetSiteInterdit t(kA, kB, c.valeur);
    EXPECT_TRUE(t.EstInterdit());
    EXPECT_EQ(t.NombrePlaces(), 0);
    int64_t jours = -5;
    int32_t semaines = -5;
    EXPECT_TRUE(t.Portee(jours, semaines)) << c.valeur;
    EXPECT_EQ(jours, c.jours) << c.valeur;
    EXPECT_EQ(semaines, c.semaines) << c.valeur;
    EXPECT_EQ(SupSites::EtendueEnSemaines(jours, semaines), c.etendue) << c.valeur;
  }
  // A travel of a duration, or a forbidden class holding a duration, has no span.
  const TUsedTrajetSiteDuree duree(kA, kB, 30);
  const TUsedTrajetSiteInterdit positif(kA, kB, 5);
  for (const TUsedTrajetSite* t : {static_cast<const TUsedTrajetSite*>(&duree), static_cast<const TUsedTrajetSite*>(&positif)}) {
    int64_t jours = -5;
    int32_t semaines = -5;
    EXPECT_FALSE(t->Portee(jours, semaines));
    EXPECT_EQ(jours, 0);
    EXPECT_EQ(semaines, 0);
  }
  EXPECT_FALSE(duree.EstInterdit());
}

TEST_F(SitesUtilises, ATravelTakesItsMinutesInPlacesOfTheGridHeldToThe32BitRange) {
  struct Cas {
    int32_t minutes;
    int32_t placesParHeure;
    int32_t places;
  };
  const std::vector<Cas> cas = {
      {30, 2, 1}, {45, 2, 1}, {61, 2, 2}, {30, 4, 2}, {0, 2, 0}, {59, 1, 0}, {2000000000, 2, 66666666},
      {2000000000, 120, 2147483647}, {2147483647, 2147483647, 2147483647}, {2000000000, -120, -2147483647 - 1},
  };
  for (const Cas& c : cas) {
    SupParametresGrille::Parametres().PlacesParHeure = c.placesParHeure;
    EXPECT_EQ(TUsedTrajetSiteDuree(kA, kB, c.minutes).NombrePlaces(), c.places) << c.minutes << " " << c.placesParHeure;
  }
}

class TrajetsSites : public SitesUtilises {
 protected:
  // A to B 20 minutes, B to A 25, the default site to A 15, A then C forbidden within 9 days, C then B
  // within two weeks, B then the default site within 2 days. Records 1 to 6.
  void SetUp() override {
    SitesUtilises::SetUp();
    const std::vector<std::tuple<uint32_t, uint32_t, int32_t>> trajets = {
        {kNumeroAnnexe, kNumeroB, 20},   {kNumeroB, kNumeroAnnexe, 25},       {kNumeroSiteDefaut, kNumeroAnnexe, 15},
        {kNumeroAnnexe, kNumeroC, -9},   {kNumeroC, kNumeroB, -0x7FFFFFFE},   {kNumeroB, kNumeroSiteDefaut, -2}};
    uint32_t n = 0;
    for (const auto& [depart, arrivee, duree] : trajets) {
      ++n;
      Recevoir(OrdreRecu(GM_Creation, SupTrajetSite::kPlace, static_cast<int32_t>(4 * n), Trajet(n, depart, arrivee, duree)));
    }
    ASSERT_EQ(Xi::Nombre(SupTrajetSite::Fichier().Table), 6u);
  }
  static constexpr uint32_t kAB = 1, kBA = 2, kDefA = 3, kAC = 4, kCB = 5, kBDef = 6;
  static uint32_t Numero(const TUsedTrajetSite* t) {
    if (t == nullptr) return 0;
    TFichierSup& f = SupTrajetSite::Fichier();
    for (uint32_t n = 1; n <= 6; ++n)
      if (Xi::AllerA(f.Table, n) && SupTrajetSite::Article()->SiteDepart == t->SiteDepart &&
          SupTrajetSite::Article()->SiteArrivee == t->SiteArrivee && SupTrajetSite::Article()->DureeTrajet == t->DureeTrajet)
        return n;
    return 99;
  }
};

TEST_F(TrajetsSites, TheTravelsOfTheUsedSitesAreCountedByClassAndDirectionWithTheirSpans) {
  struct Cas {
    const char* nom;
    std::vector<uint32_t> sites;
    int32_t nombres[2][2];
    int32_t etendues[2];
  };
  const std::vector<Cas> cas = {
      {"A, B and C", {kA, kB, kC}, {{3, 2}, {2, 3}}, {2, 2}},
      {"A and B", {kA, kB}, {{3, 2}, {1, 2}}, {1, 2}},
      {"C alone", {kC}, {{0, 0}, {1, 1}}, {2, 1}},
      {"none", {}, {{0, 0}, {0, 0}}, {0, 0}},
  };
  for (const Cas& c : cas) {
    TUsedSites e(Sites(), D::Annee(), 0, true);
    for (uint32_t s : c.sites) e.AjouterSite(s, S(1, 5), 0, 0);
    ASSERT_TRUE(Xi::AllerA(SupTrajetSite::Fichier().Table, kDefA));
    const TUsedTrajetsSites t(Sites(), e);
    EXPECT_EQ(Xi::NumeroCourant(SupTrajetSite::Fichier().Table), kDefA) << c.nom;  // position restored
    for (int classe = 0; classe < 2; ++classe) {
      for (int sens = 0; sens < 2; ++sens) EXPECT_EQ(t.Nombres[classe][sens], c.nombres[classe][sens]) << c.nom << classe << sens;
      EXPECT_EQ(t.EtendueTotale(classe), c.nombres[classe][0] + c.nombres[classe][1]) << c.nom;
    }
    EXPECT_EQ(t.Etendues[0], c.etendues[0]) << c.nom;
    EXPECT_EQ(t.Etendues[1], c.etendues[1]) << c.nom;
  }
}

TEST_F(TrajetsSites, ATravelIsFoundByClassDirectionOtherSiteAndUsedSite) {
  TUsedSites e(Sites(), D::Annee(), 0, true);
  for (uint32_t s : {kA, kB, kC}) e.AjouterSite(s, S(1, 5), 0, 0);
  const TUsedTrajetsSites t(Sites(), e);
  struct Cas {
    int32_t classe, sens;
    uint32_t autre, utilise;
    uint32_t trajet;  // 0: none
  };
  const std::vector<Cas> cas = {
      {0, 1, kB, kA, kAB},   {0, 0, kB, kA, kBA},    {0, 1, kA, kB, kBA},   {0, 0, kA, kB, kAB},
      {0, 0, kDef, kA, kDefA}, {1, 1, kC, kA, kAC},  {1, 0, kA, kC, kAC},   {1, 1, kB, kC, kCB},
      {1, 0, kC, kB, kCB},   {1, 1, kDef, kB, kBDef},
      // Misses: the wrong class, a site that is not used, the wrong direction, classes and directions out of range.
      {0, 1, kC, kA, 0},     {1, 1, kA, kDef, 0},    {0, 1, kA, kDef, 0},   {0, 1, kDef, kA, 0},
      {2, 0, kB, kA, 0},     {0, 2, kB, kA, 0},      {-1, 0, kB, kA, 0},
  };
  for (const Cas& c : cas) {
    const TUsedTrajetSite* trajet = t.ChercherTrajet(c.classe, c.sens, c.autre, c.utilise);
    EXPECT_EQ(Numero(trajet), c.trajet) << c.classe << c.sens << " " << c.autre << " " << c.utilise;
    if (trajet != nullptr) {
      EXPECT_EQ(trajet->EstInterdit(), c.classe == 1);
    }
  }
}

TEST_F(TrajetsSites, WideningAddsTheSpansBeforeAndAfterWithinTheYear) {
  TUsedSites ab(Sites(), D::Annee(), 0, true);
  for (uint32_t s : {kA, kB}) ab.AjouterSite(s, S(1, 5), 0, 0);
  TUsedSites a(Sites(), D::Annee(), 0, true);  // A alone: its forbidden travel reaches after it only
  a.AjouterSite(kA, S(1, 5), 0, 0);
  const TUsedSites aucun(Sites(), D::Annee(), 0, true);  // no used site, no travel
  const TUsedTrajetsSites tab(Sites(), ab), ta(Sites(), a), tdef(Sites(), aucun);
  ASSERT_EQ((std::pair{tab.Etendues[0], tab.Etendues[1]}), (std::pair{1, 2}));
  ASSERT_EQ((std::pair{ta.Etendues[0], ta.Etendues[1]}), (std::pair{0, 2}));
  ASSERT_EQ((std::pair{tdef.Etendues[0], tdef.Etendues[1]}), (std::pair{0, 0}));
  struct Cas {
    const char* nom;
    const TUsedTrajetsSites* trajets;
    Semaines semaines;
    bool resultat;
    std::string elargi;
  };
  const std::vector<Cas> cas = {
      {"one week", &tab, U({10}), true, "[9..12]"},
      {"two runs that meet once widened", &tab, U({10, 14}), true, "[9..16]"},
      {"held to week 1 and week 52", &tab, U({1, 51}), true, "[1..3,50..52]"},
      {"after only", &ta, U({10}), true, "[10..12]"},
      {"after up to week 51", &ta, S(1, 49), true, "[1..51]"},
      {"nothing to add at the end", &ta, S(20, 52), false, "[20..52]"},
      {"the full year", &tab, D::Annee(), false, "[1..52]"},
      {"the empty set", &tab, Semaines{}, false, "[]"},
      {"no span", &tdef, U({10}), false, "[10]"},
  };
  for (const Cas& c : cas) {
    Semaines r = U({33});
    EXPECT_EQ(c.trajets->ElargirDomaine(c.semaines, r), c.resultat) << c.nom;
    EXPECT_EQ(T(r), c.elargi) << c.nom;
    // One set for both arguments.
    Semaines meme = c.semaines;
    EXPECT_EQ(c.trajets->ElargirDomaine(meme, meme), c.resultat) << c.nom;
    EXPECT_EQ(meme, r) << c.nom;
  }
}

}  // namespace
