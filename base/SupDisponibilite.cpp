#include "base/SupDisponibilite.h"

#include <cstring>
#include <vector>

#include "base/EcrGlobale.h"
#include "base/JoursOuvres.h"
#include "base/SupFichiers.h"
#include "base/SupMAJRessource.h"
#include "base/SupParametresGrille.h"
#include "base/SupTraitement.h"
#include "base/cours/SupCours.h"
#include "base/fichiers/DeclarationFichier.h"
#include "base/ressources/SupRessource.h"
#include "core/records/Comparai.h"
#include "core/records/Xi.h"
#include "net/NetClient.h"
#include "net/VclClient.h"
#include "net/netmodif.h"

namespace {

using E = TypeEnregistrementDisponibilite;
using D = TMethodesDomaine;

// The slots of one file: Index is the file's index in NumerosTables, PlaceProprietaire the place of
// its owners' file.
template <int32_t Index>
struct TDisponibilites {
  static constexpr int32_t kPlace = Index + 1;
  static constexpr int32_t kPlaceProprietaire = Index == SupDisponibilite::kFichierRessources ? 19 : 28;
  static constexpr bool kRessources = Index == SupDisponibilite::kFichierRessources;

  static E* Article() { return reinterpret_cast<E*>(Fichier().Enregistrement()); }
  static void* Table() { return Fichier().Table; }
  static TFichierSup& Proprietaires() { return *SupFichiers::Fichier(kPlaceProprietaire); }

  // The current layout; an owner that does not exist drops the slot. While a base stored with
  // another grid is imported the span moves to the base's grid, and a span that cannot be kept
  // leaves the slot without owner.
  static bool Lire(TFichierSup& f, const uint8_t* Stocke, TypeGenreModif Genre) {
    if (!DeclarationFichier::LireChamps(f, Stocke, Genre)) return false;
    E* e = Article();
    if (SupFichiers::ImportEnCours() && SupParametresGrille::AncienneGrille().Active &&
        !SupDisponibilite::AjusterPlagePlaces(e->Debut, e->Fin))
      e->Proprietaire = 0;
    return true;
  }
  // The older layout: no kind (1), the fields 4 bytes nearer.
  static bool LireAncienne(TFichierSup& f, const uint8_t* Stocke, TypeGenreModif Genre) {
    uint8_t courant[SupDisponibilite::kTailleStockee] = {};
    std::memcpy(courant, Stocke, 4);
    courant[4] = 1;
    std::memcpy(courant + 8, Stocke + 4, 15);
    return Lire(f, courant, Genre);
  }

  static const TypeDescriptionFichier& DescriptionFichier() {
    using namespace Champ;
    static const TypeDescriptionFichier d = DeclarationFichier::Decrire(TypeDeclarationFichier{
        kRessources ? "SupDisponibiliteRessource" : "SupDisponibiliteCours", kRessources ? ".IRS" : ".ICR",
        static_cast<uint8_t>(kRessources ? 0x1D : 0x1E), kPlace, SupDisponibilite::kTailleStockee, false,
        {Identifiant(), Octet("Genre", 4), Reference("Proprietaire", kPlaceProprietaire, 0), Cardinal("Debut", 8),
         Cardinal("Fin", 12), Semaines("Semaines", 16)},
        {{false, {{"Proprietaire", &Comparai::ComparerCardinal}, {"Genre", &Comparai::ComparerOctets}}},
         {false, {{"Identifiant", &Comparai::ComparerEntierBis}}}},
        &Lire, &DeclarationFichier::EcrireChamps, nullptr,
        {{SupDisponibilite::kTailleAncienne, {3, 0, 0, 0}, &LireAncienne}}});
    return d;
  }

  // The slot's resource made current (position kept) and marked for its occupancy to be computed
  // again. A slot without owner names no resource.
  static void OccupationPerimee() {
    if (Table() == nullptr || Article()->Proprietaire == 0) return;
    TFichierSup& ressources = SupRessource::Fichier();
    if (ressources.Table == nullptr) return;
    TPositionSauvee position(ressources);
    if (Xi::AllerA(ressources.Table, Article()->Proprietaire))
      SupMAJRessource::AjouterRessourceCourante(SupMAJRessource::RessourcesAMettreAJour());
  }

  static bool ContenuParDefaut() {
    return Fichier().ContenuParDefaut(kRessources ? SupDisponibiliteRessource::kCodeContenuParDefaut
                                                  : SupDisponibiliteCours::kCodeContenuParDefaut);
  }

  class TFichier final : public TFichierSup {
   public:
    TFichier() : TFichierSup(DescriptionFichier(), &TDisponibilites::ContenuParDefaut) {
      if constexpr (kRessources) {
        AvantOrdre = [](uint8_t*, void*, int32_t, TypeGenreModif Genre) {
          if (Genre == GM_Suppression) OccupationPerimee();
        };
        ApresOrdre = [](uint8_t*, void*, int32_t, TypeGenreModif Genre) {
          if (Genre != GM_Suppression && NetClient::OrdreApplique()) OccupationPerimee();
        };
        SurModification2 = [](TypeGenreModif, int32_t, int32_t) { OccupationPerimee(); };
      }
    }
  };

  static TFichierSup& Fichier() {
    static TFichier fichier;
    return fichier;
  }

  // The record numbers of the owner's slots, in order 1; position kept.
  static std::vector<uint32_t> DuProprietaire(uint32_t Proprietaire) {
    if (Table() == nullptr) return {};
    TPositionSauvee position(Fichier());
    E* e = Article();
    std::memset(static_cast<void*>(e), 0, sizeof(E));
    e->Proprietaire = Proprietaire;
    return Fichier().NumerosDepuisCle(SupDisponibilite::kOrdreProprietaire,
                                      [e, Proprietaire] { return e->Proprietaire == Proprietaire; });
  }
};

using Ressources = TDisponibilites<SupDisponibilite::kFichierRessources>;
using Cours = TDisponibilites<SupDisponibilite::kFichierCours>;

void MarquerBase() { EcrGlobale::MarquerBaseModifiee(EcrGlobale::FicheGlobales()); }

template <typename U>
bool Copier(uint32_t Source, uint32_t Cible) {
  TFichierSup& f = U::Fichier();
  if (f.Table == nullptr || U::Proprietaires().Table == nullptr) return false;
  if (NetClient::PasserParServeur()) {
    const int32_t source = U::Proprietaires().IdentifiantDe(Source), cible = U::Proprietaires().IdentifiantDe(Cible);
    if (source <= 0 || cible <= 0) return false;
    uint8_t donnees[12] = {static_cast<uint8_t>(U::kPlace - 1)};
    std::memcpy(donnees + 4, &source, 4);
    std::memcpy(donnees + 8, &cible, 4);
    return NetClient::EnvoyerRequeteServeur(SupDisponibilite::kCodeCopier, 0, sizeof donnees, donnees, false, nullptr);
  }
  // The slots are collected first: with Source = Cible the copies join the run being walked.
  const std::vector<uint32_t> creneaux = U::DuProprietaire(Source);
  TPositionSauvee position(f);
  for (uint32_t c : creneaux) {
    if (!Xi::AllerA(f.Table, c)) continue;
    E* e = U::Article();
    e->Proprietaire = Cible;
    // A copy is a record of its own: the source's identifier would name two records.
    e->Identifiant = 0;
    if (!Xi::Inserer(f.Table)) continue;
    netmodif::NotifierModification(GM_Creation, f.NumeroTable(), 0);
  }
  MarquerBase();
  return true;
}

template <typename U>
bool Supprimer(uint32_t Proprietaire) {
  TFichierSup& f = U::Fichier();
  if (f.Table == nullptr || !U::Proprietaires().Existe(Proprietaire)) return false;
  if (NetClient::PasserParServeur()) {
    const int32_t proprietaire = U::Proprietaires().IdentifiantDe(Proprietaire);
    uint8_t donnees[8] = {};
    std::memcpy(donnees, &proprietaire, 4);
    donnees[4] = static_cast<uint8_t>(U::kPlace - 1);
    return NetClient::EnvoyerRequeteServeur(SupDisponibilite::kCodeSupprimer, 0, sizeof donnees, donnees, false,
                                            nullptr);
  }
  for (uint32_t c : U::DuProprietaire(Proprietaire)) {
    if (!Xi::AllerA(f.Table, c)) continue;
    netmodif::NotifierModification(GM_Suppression, f.NumeroTable(), f.IdentifiantCourant());
    if (Xi::AllerA(f.Table, c) && Xi::Supprimer(f.Table)) MarquerBase();
  }
  return true;
}

bool JourOuvre(uint8_t Jours, int32_t Jour) { return Jour >= 1 && Jour <= 7 && (Jours >> Jour & 1) != 0; }
// The (n + 1)-th working day; 8 (no day) when there are fewer.
int32_t JourDeRang(uint8_t Jours, int64_t n) {
  for (int32_t j = 1; j <= 7; ++j)
    if (JourOuvre(Jours, j) && n-- == 0) return j;
  return 8;
}
// The number of working days before the day.
int64_t Rang(uint8_t Jours, int32_t Jour) {
  int64_t n = 0;
  for (int32_t j = 1; j < Jour; ++j) n += JourOuvre(Jours, j);
  return n;
}

}  // namespace

namespace SupDisponibilite {

int32_t& ModeDAcces() {
  static int32_t mode = kModeModification;
  return mode;
}

int32_t& AncienModeDAcces() {
  static int32_t mode = kModeModification;
  return mode;
}

void ActualiserModeDAcces(uint8_t StatutAccorde) {
  AncienModeDAcces() = ModeDAcces();
  ModeDAcces() = StatutAccorde == AutoriseModif || StatutAccorde == AutoriseModifRestreinte ? kModeModification
                                                                                            : kModeConsultation;
}

bool CopierCreneauxDuProprietaire(int32_t Fichier, uint32_t Source, uint32_t Cible) {
  if (Fichier != kFichierRessources && Fichier != kFichierCours) return false;
  SupTraitement::TraitementEmpile code(kCodeCopier);
  return Fichier == kFichierRessources ? Copier<Ressources>(Source, Cible) : Copier<Cours>(Source, Cible);
}

bool SupprimerCreneauxDuProprietaire(uint32_t Proprietaire, int32_t Fichier) {
  if (Fichier != kFichierRessources && Fichier != kFichierCours) return false;
  SupTraitement::TraitementEmpile code(kCodeSupprimer);
  return Fichier == kFichierRessources ? Supprimer<Ressources>(Proprietaire) : Supprimer<Cours>(Proprietaire);
}

bool AjusterPlagePlaces(uint32_t& Debut, uint32_t& Fin, const TypeGrillePlaces& Ancienne, const TypeGrillePlaces& Nouvelle) {
  const int64_t dAncien = Ancienne.PlacesParJour, q = Ancienne.PlacesParHeure;
  const int64_t d = Nouvelle.PlacesParJour, p = Nouvelle.PlacesParHeure;
  if (dAncien <= 0 || q <= 0 || d <= 0 || p < 0) return false;
  const uint8_t anciens = Ancienne.JoursOuvres, nouveaux = Nouvelle.JoursOuvres;
  int32_t j1 = JourDeRang(anciens, Debut / dAncien), j2 = JourDeRang(anciens, Fin / dAncien);
  int64_t c = static_cast<int64_t>(Debut % dAncien) * p / q;
  while (!JourOuvre(nouveaux, j1) || c > d - 1) {
    if (j1 >= j2) break;
    ++j1;
    c = 0;
  }
  if (!JourOuvre(nouveaux, j1)) return false;
  Debut = static_cast<uint32_t>(c + d * Rang(nouveaux, j1));
  // The place after the end, in the new grid, less one: a span ending on a day's first place keeps
  // ending on it.
  int64_t h = (static_cast<int64_t>(Fin % dAncien) + 1) * p / q;
  if (h > 0) --h;
  if (h > d - 1 || (int64_t{Fin} + 1) % dAncien == 0) h = d - 1;
  while (!JourOuvre(nouveaux, j2) && j1 < j2) {
    --j2;
    h = d - 1;
  }
  if (!JourOuvre(nouveaux, j2)) return false;
  Fin = static_cast<uint32_t>(h + d * Rang(nouveaux, j2));
  return Fin >= Debut;
}

bool AjusterPlagePlaces(uint32_t& Debut, uint32_t& Fin) {
  const TypeAncienneGrille& a = SupParametresGrille::AncienneGrille();
  const TypeParametresGrille& g = SupParametresGrille::Parametres();
  const TJoursOuvres* jours = JoursOuvres::JoursOuvresBase();
  return AjusterPlagePlaces(Debut, Fin, {a.PlacesParJour, a.PlacesParHeure, a.JoursOuvres},
                            {g.PlacesParJour, g.PlacesParHeure,
                             jours != nullptr ? jours->Jours() : TJoursOuvres::kJoursParDefaut});
}

}  // namespace SupDisponibilite

namespace SupDisponibiliteRessource {
TFichierSup& Fichier() { return Ressources::Fichier(); }
E* Article() { return Ressources::Article(); }
void ViderArticle() { Ressources::Fichier().ViderArticle(); }
bool CreerTable() { return Ressources::Fichier().CreerTable(); }
void LibererTable() { Ressources::Fichier().LibererTable(); }
bool ChercherParIdentifiant(int32_t Identifiant) { return Ressources::Fichier().ChercherParIdentifiant(Identifiant); }
void EmpilerPosition() { Ressources::Fichier().EmpilerPosition(); }
void DepilerPosition() { (void)Ressources::Fichier().DepilerPosition(); }
bool ContenuParDefaut() { return Ressources::ContenuParDefaut(); }
int32_t InscrireFichier() { return Ressources::Fichier().InscrireFichier(); }

int32_t PourChaqueIndisponibiliteDeLaRessource(const std::function<int32_t(intptr_t)>& Routine, intptr_t Donnee,
                                               uint8_t Genre, const TypeDomaineHebdomadaire& Semaines, bool Toutes) {
  TFichierSup& ressources = SupRessource::Fichier();
  void* table = Fichier().Table;
  if (table == nullptr || ressources.Table == nullptr) return 0;
  const uint32_t ressource = Xi::NumeroCourant(ressources.Table);
  if (ressource == 0) return 0;
  TPositionSauvee positionRessource(ressources), positionCreneau(Fichier());
  std::vector<uint32_t> creneaux;
  {
    E* e = Article();
    std::memset(static_cast<void*>(e), 0, sizeof(E));
    e->Proprietaire = ressource;
    e->Genre = Genre;
    creneaux = Fichier().NumerosDepuisCle(SupDisponibilite::kOrdreProprietaire, [e, ressource, Genre] {
      return e->Proprietaire == ressource && e->Genre == Genre;
    });
  }
  for (uint32_t c : creneaux) {
    if (!Xi::AllerA(table, c)) continue;
    if (!Toutes && !D::SeRencontrent(Article()->Semaines, Semaines)) continue;
    const int32_t reponse = Routine(Donnee);
    (void)Xi::AllerA(ressources.Table, ressource);
    (void)Xi::AllerA(table, c);
    if (reponse != 0) return reponse;
  }
  return 0;
}

}  // namespace SupDisponibiliteRessource

namespace SupDisponibiliteCours {
TFichierSup& Fichier() { return Cours::Fichier(); }
E* Article() { return Cours::Article(); }
void ViderArticle() { Cours::Fichier().ViderArticle(); }
bool CreerTable() { return Cours::Fichier().CreerTable(); }
void LibererTable() { Cours::Fichier().LibererTable(); }
bool ChercherParIdentifiant(int32_t Identifiant) { return Cours::Fichier().ChercherParIdentifiant(Identifiant); }
void EmpilerPosition() { Cours::Fichier().EmpilerPosition(); }
void DepilerPosition() { (void)Cours::Fichier().DepilerPosition(); }
bool ContenuParDefaut() { return Cours::ContenuParDefaut(); }
int32_t InscrireFichier() { return Cours::Fichier().InscrireFichier(); }
}  // namespace SupDisponibiliteCours
