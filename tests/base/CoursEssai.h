// The open base of the course tests: a few reference records (subjects, weightings, course types,
// a course grouping, a site and a memo) received as a loaded base holds them, helpers to build
// stored courses and to insert courses and splitting links directly.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "BaseEssai.h"
#include "base/CompteursNumeros.h"
#include "base/SupParam.h"
#include "base/cours/SupCours.h"
#include "base/cours/SupFractionnementCours.h"
#include "base/cours/SupMemoCours.h"
#include "core/records/Xi.h"
#include "core/values/DateTime.h"
#include "net/NetBases.h"
#include "net/utilisateurs/Utilisateur.h"

namespace essai_cours {

using Octets = std::vector<uint8_t>;

inline void Poser(Octets& v, std::size_t Decalage, uint64_t Valeur, std::size_t Largeur) {
  for (std::size_t i = 0; i < Largeur; ++i) v.at(Decalage + i) = static_cast<uint8_t>(Valeur >> (8 * i));
}
inline void PoserChaine(Octets& v, std::size_t Decalage, const std::string& Texte, std::size_t Capacite) {
  const Octets c = Chaine(Texte, Capacite);
  std::copy(c.begin(), c.end(), v.begin() + static_cast<std::ptrdiff_t>(Decalage));
}
inline void PoserReel(Octets& v, std::size_t Decalage, double Valeur) { std::memcpy(&v.at(Decalage), &Valeur, 8); }
inline TypeDomaineHebdomadaire Semaines(int Premiere, int Derniere) {
  TypeDomaineHebdomadaire d;
  for (int s = Premiere; s <= Derniere; ++s) d.Inclure(s);
  return d;
}
inline void PoserSemaines(Octets& v, std::size_t Decalage, const TypeDomaineHebdomadaire& d) {
  std::copy(d.Octets.begin(), d.Octets.end(), v.begin() + static_cast<std::ptrdiff_t>(Decalage));
}

// Identifiers of the reference records (stored size x position).
inline constexpr uint32_t kMatiere1 = 228, kMatiere2 = 456;
inline constexpr uint32_t kPonderation1 = 4, kPonderation2 = 8, kPonderation3 = 12;
inline constexpr uint32_t kAucun = 28, kCoursTYP = 56;
inline constexpr uint32_t kRegroupement = 9;
inline constexpr uint32_t kSite = 40, kNumeroSite = 77;
inline constexpr uint32_t kMemo = 264, kNumeroMemo = 5;
inline constexpr TDateTime kMaintenant = 46000.25;

class CoursBase : public BaseOuverte {
 protected:
  void SetUp() override {
    BaseOuverte::SetUp();
    DateTime::SetClock([] { return kMaintenant; });
    Utilisateur::CodeUtilisateurCourant() = "USR";
    for (uint32_t id : {kMatiere1, kMatiere2}) {
      Octets m(228, 0);
      PoserChaine(m, 98, "Matiere " + std::to_string(id), 30);
      Poser(m, 224, id, 4);
      Recevoir(OrdreRecu(GM_Creation, 12, static_cast<int32_t>(id), m));
    }
    for (auto [id, valeur] : {std::pair{kPonderation1, 36000u}, {kPonderation2, 18000u}, {kPonderation3, 72000u}}) {
      Octets p(4, 0);
      Poser(p, 0, valeur, 4);
      Recevoir(OrdreRecu(GM_Creation, 2, static_cast<int32_t>(id), p));
    }
    for (auto [id, nom] : {std::pair{kAucun, "Aucun"}, {kCoursTYP, "Cours"}}) {
      Octets t(28, 0);
      PoserChaine(t, 0, nom, 13);
      Recevoir(OrdreRecu(GM_Creation, 11, static_cast<int32_t>(id), t));
    }
    Recevoir(OrdreRecu(GM_Creation, 26, kRegroupement, Chaine("Groupe", 8)));
    Octets site(40, 0);
    Poser(site, 0, kNumeroSite, 4);
    PoserChaine(site, 4, "Annexe", 30);
    Recevoir(OrdreRecu(GM_Creation, 17, kSite, site));
    Octets memo(264, 0);
    Poser(memo, 4, kNumeroMemo, 4);
    PoserChaine(memo, 8, "Salle B", 255);
    Recevoir(OrdreRecu(GM_Creation, SupMemoCours::kPlace, kMemo, memo));
  }

  void TearDown() override {
    Disposer({0, 0, 0, 0}, false);
    SupParam::DefinirModeCFA(false);
    DateTime::SetClock({});
    Utilisateur::CodeUtilisateurCourant().clear();
    CompteursNumeros::Compteurs().fill(0);
    BaseOuverte::TearDown();
  }

  // Registers the files again for a base of that version: each chooses its stored layout.
  static void Disposer(const TypeVersionFormat& Version, bool Ancienne = true) {
    SupFichiers::VersionBase() = Version;
    NetBases::BaseAnterieure506() = Ancienne;
    ASSERT_TRUE(SupFichiers::EnregistrerTousLesFichiers());
  }

  // A course inserted directly (as a loaded base holds it); answers its record number.
  static uint32_t Inserer(uint8_t Genre, uint8_t Statut, const TypeDomaineHebdomadaire& Semaines,
                          const TypeDomaineHebdomadaire& Potentielles, uint32_t Place = 0, uint32_t Duree = 1) {
    TFichierSup& f = SupCours::Fichier();
    f.ViderArticle();
    TypeEnregistrementCours* c = SupCours::Article();
    c->Genre = Genre;
    c->Statut = Statut;
    c->Semaines = Semaines;
    c->SemainesPotentielles = Potentielles;
    c->Place = SupCours::EstStatutPlace(Statut) ? Place : SupCours::PlaceAucune();
    c->Duree = Duree;
    c->Extrait = 0;
    c->DansPeriode = 1;
    EXPECT_TRUE(Xi::Inserer(f.Table));
    return Xi::NumeroCourant(f.Table);
  }
  // A splitting link inserted directly.
  static void Lier(uint32_t CoursEntier, uint32_t Fraction) {
    TFichierSup& f = SupFractionnementCours::Fichier();
    f.ViderArticle();
    SupFractionnementCours::Article()->CoursEntier = CoursEntier;
    SupFractionnementCours::Article()->Fraction = Fraction;
    EXPECT_TRUE(Xi::Inserer(f.Table));
  }
  static TypeEnregistrementCours Cours(uint32_t Numero) {
    TypeEnregistrementCours c{};
    TFichierSup& f = SupCours::Fichier();
    f.EmpilerPosition();
    EXPECT_TRUE(Xi::AllerA(f.Table, Numero)) << Numero;
    std::memcpy(&c, SupCours::Article(), sizeof c);
    f.DepilerPosition();
    return c;
  }
  // The current course in the current stored layout.
  static Octets Exporter() {
    Octets s(SupCours::kTailleStockee, 0);
    EXPECT_TRUE(SupCours::Fichier().EcrireArticleStocke(s.data(), SupCours::Fichier().IdentifiantCourant(),
                                                       GM_Modification));
    return s;
  }
};

}  // namespace essai_cours
