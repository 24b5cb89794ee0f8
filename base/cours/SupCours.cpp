#include "base/cours/SupCours.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstddef>
#include <cstring>
#include <memory>
#include <vector>

#include "base/JoursOuvres.h"
#include "base/MoteurPlacement.h"
#include "base/SupDomaine.h"
#include "base/SupFichiers.h"
#include "base/SupMAJRessource.h"
#include "base/SupParco.h"
#include "base/SupParam.h"
#include "base/SupParametresGrille.h"
#include "base/SupTraitement.h"
#include "base/SupValeurHebdomadaire.h"
#include "base/cours/CoursDispositions.h"
#include "base/cours/SupFractionnementCours.h"
#include "base/cours/SupMemoCours.h"
#include "base/cours/SupVisibiliteCours.h"
#include "base/fichiers/DeclarationFichier.h"
#include "base/fichiers/SupPonderation.h"
#include "base/fichiers/SupTypologieCours.h"
#include "core/objects/Erreur.h"
#include "core/objects/Exceptions.h"
#include "core/records/Xi.h"
#include "net/NetClient.h"
#include "net/netmodif.h"
#include "net/utilisateurs/Utilisateur.h"

NV_DEFINE_CLASS(TVerificateurCours, TVerificateurNetXi)

namespace SupCours {

namespace {

using E = TypeEnregistrementCours;
using CoursDispositions::kDispositions;
using CoursDispositions::TypeDisposition;

// Places of the files that courses refer to.
constexpr int32_t kMAT = 12, kSIT = 17, kRGC = 26;
constexpr int32_t kParNumero = 1;  // the first order of ".SIT" and ".MCR": their permanent numbers

// The priority of each status, highest first: 0, 3, 2, 5, 1, 4.
constexpr uint8_t kPriorite[6] = {6, 2, 4, 5, 1, 3};
uint8_t Priorite(uint8_t Statut) { return Statut < 6 ? kPriorite[Statut] : 0; }

uint32_t PlacesParJour() { return static_cast<uint32_t>(std::max(SupParametresGrille::Parametres().PlacesParJour, 0)); }

// --- Reading a stored course

uint16_t Lire16(const uint8_t* s) { return static_cast<uint16_t>(s[0] | s[1] << 8); }
uint32_t Lire32(const uint8_t* s) {
  uint32_t v;
  std::memcpy(&v, s, 4);
  return v;
}

// The record number of a stored identifier in a file, 0 when none.
uint32_t NumeroDe(int32_t Place, uint32_t Identifiant) {
  TFichierSup* f = SupFichiers::Fichier(Place);
  return f == nullptr ? 0 : f->NumeroDeIdentifiant(static_cast<int32_t>(Identifiant));
}

// A weighting: 1 when none, when the number is 0 or beyond the number of weightings.
uint32_t Ponderation(uint32_t Identifiant) {
  TFichierSup& f = SupPonderation::Fichier();
  const uint32_t numero = f.NumeroDeIdentifiant(static_cast<int32_t>(Identifiant));
  return numero == 0 || f.Table == nullptr || numero > Xi::Nombre(f.Table) ? 1 : numero;
}

uint32_t Typologie(const TypeDisposition& L, const uint8_t* s) {
  const uint32_t stocke = Lire32(s + L.Typologie);
  TFichierSup& f = SupTypologieCours::Fichier();
  if (L.TypologieSignee && static_cast<int32_t>(stocke) <= 0) return SupTypologieCours::TypologieParDefaut();
  const uint32_t numero = f.NumeroDeIdentifiant(static_cast<int32_t>(stocke));
  if (numero == 0 || (!L.TypologieSignee && f.Table != nullptr && numero > Xi::Nombre(f.Table)))
    return SupTypologieCours::TypologieParDefaut();
  return numero;
}

// The memo text of layouts D to J becomes a memo of its own, inserted directly: the import sends
// nothing. A change order gives the course's existing memo the new text.
void LireMemoTexte(E* e, const uint8_t* s, TypeGenreModif Genre) {
  const std::string texte = FichierSup::LireChaineCourte(s, CoursDispositions::kCapaciteMemoAncien);
  const uint32_t existant =
      Genre == GM_Modification && SupMemoCours::Fichier().Existe(e->Memo) ? e->Memo : 0;
  if (texte.empty()) {
    SupMemoCours::SupprimerMemoDirectement(existant);
    e->Memo = 0;
  } else if (existant != 0) {
    (void)SupMemoCours::ModifierMemoDirectement(existant, texte);
  } else {
    e->Memo = SupMemoCours::InsererMemoDirectement(texte);
  }
}

TypeGrilleConversion GrilleCourante() {
  const TypeParametresGrille& g = SupParametresGrille::Parametres();
  const TJoursOuvres* jours = JoursOuvres::JoursOuvresBase();
  return {g.PlacesParHeure, g.PlacesParJour, jours != nullptr ? jours->Jours() : TJoursOuvres::kJoursParDefaut};
}

// The end of every reader: the extracted flag of a new course cleared, its place checked (or moved
// from the base's old grid), its displayed-period flag computed.
void Finir(E* e, TypeGenreModif Genre) {
  if (Genre == GM_Creation) e->Extrait = 0;
  // A status outside 0..5 is no status, a place past the grid no place.
  if (e->Statut > 5) {
    e->Statut = 0;
    e->Place = PlaceAucune();
  }
  const TypeAncienneGrille& ancienne = SupParametresGrille::AncienneGrille();
  if (SupFichiers::ImportEnCours() && ancienne.Active) {
    const TypeCoursConverti r =
        ConvertirGrille(e->Statut, e->Place, e->Duree,
                        {ancienne.PlacesParHeure, ancienne.PlacesParJour, ancienne.JoursOuvres}, GrilleCourante(),
                        PlaceAucune());
    e->Statut = r.Statut;
    e->Duree = r.Duree;
    e->PlaceRetenue = r.PlaceRetenue;
    e->SemainesRetenues = e->Semaines;
    e->Place = PlaceAucune();
    e->CorrectionPlacement = 0;
  } else if (EstStatutPlace(e->Statut) && e->Place >= PlaceAucune()) {
    e->Statut = 0;
    e->Place = PlaceAucune();
  }
  SupVisibiliteCours::ActualiserCoursDansPeriode(Genre == GM_Creation ? 0 : Xi::NumeroCourant(Fichier().Table));
}

bool LireCours(std::size_t Disposition, const uint8_t* s, TypeGenreModif Genre) {
  const TypeDisposition& L = kDispositions[Disposition];
  E* e = Article();
  if (L.Vider) {
    // A changed course keeps its extraction and retained flags, which no layout holds: a new record's
    // values would mark it extracted.
    const int32_t identifiant = e->Identifiant;
    const uint8_t extrait = e->Extrait, retenu = e->Retenu;
    Fichier().ViderArticle();
    e->Identifiant = identifiant;
    if (Genre == GM_Modification) {
      e->Extrait = extrait;
      e->Retenu = retenu;
    }
  }
  if (L.Genre >= 0) e->Genre = s[L.Genre];
  e->Statut = s[L.Statut];
  std::memcpy(e->Semaines.Octets.data(), s + L.Semaines, 7);
  std::memcpy(e->SemainesPotentielles.Octets.data(), s + L.SemainesPotentielles, 7);
  if (L.SeancesMobiles >= 0) e->SeancesMobiles = s[L.SeancesMobiles] != 0;
  switch (L.ReglesCompactage) {
    case CoursDispositions::TypeCompactage::Aucun:
      e->Compactage = 0;
      break;
    case CoursDispositions::TypeCompactage::Booleen:
      e->Compactage = s[L.Compactage] != 0 ? 2 : 0;
      break;
    case CoursDispositions::TypeCompactage::Tel:
      e->Compactage = s[L.Compactage];
      break;
  }
  if (L.ModePlace >= 0) e->ModePlace = s[L.ModePlace];
  e->Place = Lire16(s + L.Place);
  e->Duree = Lire16(s + L.Duree);
  const auto semainesPotentielles = static_cast<uint32_t>(TMethodesDomaine::NombreDeSemaines(e->SemainesPotentielles));
  if (L.NombreSemaines < 0) {
    e->NombreSemaines = semainesPotentielles;
  } else {
    e->NombreSemaines = Lire16(s + L.NombreSemaines);
    // Layouts without the flag tell mobile sessions by a count other than the potential weeks'.
    if (L.SeancesMobiles < 0) e->SeancesMobiles = e->NombreSemaines != semainesPotentielles;
  }
  const uint32_t matiere = NumeroDe(kMAT, Lire32(s + L.Matiere));
  e->Matiere = matiere != 0 ? matiere : 1;
  const uint32_t ponderation = Ponderation(Lire32(s + L.Ponderation));
  if (L.Ponderation2 >= 0) {
    e->Ponderation = ponderation;
    e->Ponderation2 = Ponderation(Lire32(s + L.Ponderation2));
  } else if (SupParam::ModeCFA()) {
    e->Ponderation = 1;
    e->Ponderation2 = ponderation;
  } else {
    e->Ponderation = ponderation;
    e->Ponderation2 = 1;
  }
  e->Typologie = Typologie(L, s);
  if (L.Regroupement >= 0) {
    const uint32_t stocke = Lire32(s + L.Regroupement);
    e->Regroupement = stocke == 0 ? 0 : NumeroDe(kRGC, stocke);
  }
  std::memcpy(&e->ValeurPlacement, s + L.ValeurPlacement, 4);
  e->ValeurPortee = Lire32(s + L.ValeurPortee);
  if (L.AccesLimite >= 0) e->AccesLimite = s[L.AccesLimite] != 0;
  if (L.Proprietaire >= 0) FichierSup::CopierChaineCourte(e->Proprietaire, 3, s + L.Proprietaire, 3);
  if (L.MemoTexte >= 0) LireMemoTexte(e, s + L.MemoTexte, Genre);
  if (L.MemoNumero >= 0) e->Memo = SupMemoCours::NumeroArticleDuMemo(Lire32(s + L.MemoNumero));
  if (L.Effectif >= 0) e->Effectif = Lire32(s + L.Effectif);
  if (L.ModifiePar >= 0) FichierSup::CopierChaineCourte(e->ModifiePar, 3, s + L.ModifiePar, 3);
  else FichierSup::EcrireChaineCourte(e->ModifiePar, 3, Utilisateur::CodeUtilisateurCourant());
  if (L.DateModification >= 0) std::memcpy(&e->DateModification, s + L.DateModification, 8);
  else e->DateModification = DateTime::Now();
  e->DerniereModification =
      L.DerniereModification >= 0 ? Lire32(s + L.DerniereModification) : kDerniereModificationInconnue;
  // The site: by its number in the current layout; the default site (none) up to layout J; layout K
  // leaves it as the buffer holds it.
  if (L.Site >= 0) e->Site = SupFichiers::Fichier(kSIT)->NumeroDeCle(kParNumero, Lire32(s + L.Site));
  else if (L.Nom != 'K') e->Site = 0;
  Finir(e, Genre);
  // An unknown reference never refuses a course.
  return true;
}

template <std::size_t D>
bool LireDisposition(TFichierSup&, const uint8_t* s, TypeGenreModif Genre) {
  return LireCours(D, s, Genre);
}

template <std::size_t... D>
std::vector<TypeDispositionStockee> Anciennes(std::index_sequence<D...>) {
  return {{kDispositions[D].Taille, kDispositions[D].Limite, &LireDisposition<D>}...};
}

// --- Writing the current layout

bool Ecrire(TFichierSup& f, uint8_t* s) {
  (void)DeclarationFichier::EcrireChamps(f, s);
  // A course type that designates no record is written as the first course type.
  const E* e = Article();
  const TypeDisposition& L = kDispositions[CoursDispositions::kCourante];
  TFichierSup& typologies = SupTypologieCours::Fichier();
  int32_t typologie = 0;
  if (e->Typologie != 0) {
    typologie = typologies.IdentifiantDe(e->Typologie);
    if (!typologies.Existe(e->Typologie) && typologies.Table != nullptr) {
      typologies.EmpilerPosition();
      if (Xi::Premier(typologies.Table, 0)) typologie = typologies.IdentifiantCourant();
      typologies.DepilerPosition();
    }
  }
  std::memcpy(s + L.Typologie, &typologie, 4);
  return true;
}

// The defaults that depend on the base: the place none, the default weighting and course type.
void Defauts(uint8_t* Enregistrement) {
  E* e = reinterpret_cast<E*>(Enregistrement);
  e->Place = PlaceAucune();
  e->Ponderation = SupPonderation::PonderationParDefaut();
  e->Typologie = SupTypologieCours::TypologieParDefaut();
  e->Site = 0;
}

using namespace Champ;
// clang-format off
const TypeDescriptionFichier& DescriptionFichier() {
  static const TypeDescriptionFichier d = [] {
    TypeDeclarationFichier declaration{
      "SupCours", ".CRS", 0x19, kPlace, kTailleStockee, true,
      {Identifiant(), Octet("Genre", 0).Vaut(kCoursSimple), Octet("Statut", 1).Vaut(kStatutNouveau),
       Semaines("Semaines", 2), Semaines("SemainesPotentielles", 9), Semaines("SemainesRetenues"),
       Booleen("DansPeriode"), Booleen("Extrait").Vaut(1), Booleen("Retenu").Vaut(1), Booleen("SeancesMobiles", 16),
       Octet("Compactage", 17), Octet("ModePlace", 18), Cardinal("Place", 19).StockeSur(2),
       Cardinal("Duree", 21).StockeSur(2), Cardinal("NombreSemaines", 23).StockeSur(2), Cardinal("PlaceRetenue"),
       Reference("Matiere", kMAT, 27, TypeSiAbsente::Premiere).Vaut(1),
       Reference("Ponderation", 2, 31, TypeSiAbsente::Premiere),
       Reference("Ponderation2", 2, 35, TypeSiAbsente::Premiere),
       Reference("Typologie", 11, 39).SinonParDefaut(&SupTypologieCours::TypologieParDefaut),
       Reference("Regroupement", kRGC, 47, TypeSiAbsente::Aucune), Entier("ValeurPlacement", 51),
       Entier("CorrectionPlacement"), Entier("Tri1"), Entier("Tri2"), Entier("Tri3"), Entier("Tri4"), Entier("Tri5"),
       Cardinal("ValeurCompactage"), Cardinal("ValeurPortee", 64), Booleen("AccesLimite", 69),
       Chaine("Proprietaire", 3, 70), Reference("Memo", SupMemoCours::kPlace, 74, TypeSiAbsente::Aucune, kParNumero),
       Cardinal("Effectif", 78), Chaine("ModifiePar", 3, 82), Reel("DateModification", 86),
       Cardinal("DerniereModification", 94).Vaut(kDerniereModificationInconnue),
       Reference("Site", kSIT, 98, TypeSiAbsente::Aucune, kParNumero)},
      {{false, {Decroissant("Retenu"), Decroissant("DansPeriode"), Decroissant("Extrait"), "Statut", "Genre",
                "ValeurPlacement"}},
       {false, {"Matiere"}},
       {false, {Decroissant("Retenu"), Decroissant("DansPeriode"), Decroissant("Extrait"), "Tri1", "Tri2", "Tri3",
                "Genre", "Tri4", "Tri5"}},
       {false, {"Identifiant"}}, {false, {Decroissant("Retenu"), Decroissant("Extrait"), "Place"}},
       {false, {"ModifiePar"}}, {false, {"Genre"}}},
      &LireDisposition<CoursDispositions::kCourante>, &Ecrire, &Defauts,
      Anciennes(std::make_index_sequence<CoursDispositions::kCourante>())};
    return DeclarationFichier::Decrire(declaration);
  }();
  return d;
}
// clang-format on

// --- Routines registered with the table registry

void AjouterRessources() {
  if (Etapes().AjouterRessourcesDuCours) Etapes().AjouterRessourcesDuCours();
}

void AvantOrdre(uint8_t*, void*, int32_t, TypeGenreModif Genre) {
  if (Genre != GM_Creation) AjouterRessources();
}

// A received fraction takes the extracted flag of its whole course (retained and extracted): its own
// byte only, the whole course and the other fractions keep theirs.
void ExtraireCommeSonCoursEntier() {
  E* e = Article();
  const uint32_t entier = SupFractionnementCours::CoursEntierDeLaFraction(Xi::NumeroCourant(Fichier().Table));
  bool valeur = false;
  if (entier != 0) {
    EmpilerPosition();
    valeur = Xi::AllerA(Fichier().Table, entier) && e->Retenu != 0 && e->Extrait != 0;
    DepilerPosition();
  }
  if ((e->Extrait != 0) == valeur) return;
  e->Extrait = valeur;
  (void)Xi::Modifier(Fichier().Table);
}

void ApresOrdre(uint8_t*, void*, int32_t, TypeGenreModif Genre) {
  if (Genre == GM_Suppression) return;
  if (Genre == GM_Creation) AjouterRessources();
  if (Article()->Genre == kFraction) ExtraireCommeSonCoursEntier();
  (void)Memoire::Inserer(Xi::NumeroCourant(Fichier().Table), SupFichiers::CoursTouches());
  SupFractionnementCours::ActualiserCoursRetenu();
}

// Every local change of a course records who made it, when, and by which request.
void TamponnerModification(TypeGenreModif Genre, int32_t, int32_t) {
  if (Genre == GM_Suppression || Fichier().Table == nullptr) return;
  E* e = Article();
  FichierSup::EcrireChaineCourte(e->ModifiePar, 3, Utilisateur::CodeUtilisateurCourant());
  e->DateModification = DateTime::Now();
  e->DerniereModification = SupTraitement::TraitementCourant();
  (void)Xi::Modifier(Fichier().Table);
}

void ActualiserApresModification(TypeGenreModif, int32_t, int32_t) {
  AjouterRessources();
  SupFractionnementCours::ActualiserCoursRetenu();
}

class TFichierCours final : public TFichierSup {
 public:
  TFichierCours() : TFichierSup(DescriptionFichier()) {
    AvantOrdre = &SupCours::AvantOrdre;
    ApresOrdre = &SupCours::ApresOrdre;
    SurModification1 = &TamponnerModification;
    SurModification2 = &ActualiserApresModification;
  }

 protected:
  TVerificateurNetXi* CreerVerificateur(int32_t NumeroTable) override { return new TVerificateurCours(NumeroTable); }
};

bool TypologieExiste(uint32_t Typologie) { return Typologie != 0 && SupTypologieCours::Fichier().Existe(Typologie); }

// The free places next to a placed course over weeks W, going back (Pas -1) from the place before
// it or forward (Pas 1) from the place after its end, within its day.
uint32_t PlacesLibres(uint32_t Place, uint32_t Duree, int32_t Pas, bool Tous, const TypeDomaineHebdomadaire& W) {
  const uint32_t p = PlacesParJour();
  if (p == 0) return 0;
  const int64_t debutJour = int64_t{Place} / p * p, finJour = debutJour + p - 1;
  uint32_t libres = 0;
  for (int64_t q = Pas < 0 ? int64_t{Place} - 1 : int64_t{Place} + Duree; q >= debutJour && q <= finJour; q += Pas) {
    const auto place = static_cast<int32_t>(q);
    const bool libre = Tous ? TMethodesDomaine::EstVide(
                                  TMethodesDomaine::Intersection(MoteurPlacement::SemainesBloquees(place), W))
                            : (MoteurPlacement::MotifsBloquants(place, W) & 0x1E) == 0;
    if (!libre) break;
    ++libres;
  }
  return libres;
}

}  // namespace

// --- Housekeeping

TFichierSup& Fichier() {
  static TFichierCours fichier;
  return fichier;
}

E* Article() { return reinterpret_cast<E*>(Fichier().Enregistrement()); }

uint32_t& PlaceAucune() {
  static uint32_t aucune = 20;
  return aucune;
}

TypeEtapesCours& Etapes() {
  static TypeEtapesCours etapes;
  return etapes;
}

bool CreerTable() { return Fichier().CreerTable(); }
bool ChercherCoursParNumero(int32_t Identifiant) { return Fichier().ChercherParIdentifiant(Identifiant); }
void EmpilerPosition() { Fichier().EmpilerPosition(); }
void DepilerPosition() { (void)Fichier().DepilerPosition(); }
bool ContenuParDefaut() { return CreerCoursParDefaut(); }
bool CreerCoursParDefaut() { return Fichier().ContenuParDefaut(kCodeCreerCoursParDefaut); }
int32_t InscrireFichier() { return Fichier().InscrireFichier(); }
void FermerBase() {}

// --- Reads

bool EstStatutPlace(uint8_t Statut) { return Statut == 1 || Statut == 2 || Statut == 5; }

TypeDomaineHebdomadaire SemainesEffectives() {
  const E* e = Article();
  if (e == nullptr) return {};
  return EstStatutPlace(e->Statut) ? e->Semaines : e->SemainesPotentielles;
}

uint8_t EtatPrioritaire(uint8_t EtatA, uint8_t EtatB) { return Priorite(EtatA) > Priorite(EtatB) ? EtatA : EtatB; }

void ActualiserEtatCoursFractionne() {
  if (Article() == nullptr) return;
  EmpilerPosition();
  if (SupFractionnementCours::AllerAuCoursEntier()) {
    uint8_t etat = 4;
    (void)SupFractionnementCours::PourChaqueFractionDuCours(
        [&etat] {
          etat = EtatPrioritaire(etat, Article()->Statut);
          return false;
        },
        false);
    if (etat != Article()->Statut) {
      Article()->Statut = etat;
      if (Xi::Modifier(Fichier().Table))
        netmodif::NotifierModification(GM_Modification, Fichier().NumeroTable(), Fichier().IdentifiantCourant());
    }
  }
  DepilerPosition();
}

void CompterCours(std::array<uint32_t, 4>& Compte) {
  Compte.fill(0);
  void* t = Fichier().Table;
  if (t == nullptr) return;
  E* e = Article();
  const uint32_t nombre = Xi::Nombre(t);
  const auto ecrire = [e](int r, int d, int x, int s, uint8_t genre) {
    e->Retenu = static_cast<uint8_t>(r);
    e->DansPeriode = static_cast<uint8_t>(d);
    e->Extrait = static_cast<uint8_t>(x);
    e->Statut = static_cast<uint8_t>(s);
    e->Genre = genre;
    e->ValeurPlacement = INT32_MIN;
  };
  // The combinations in the order of order 1: the three flags descending, the status ascending.
  for (int c = 0; c < 8 * 6; ++c) {
    const int r = 1 - c / 24, d = 1 - c / 12 % 2, x = 1 - c / 6 % 2, s = c % 6;
    EmpilerPosition();
    ecrire(r, d, x, s, kFraction);
    uint32_t n = 0;
    const uint32_t position = Xi::Chercher(t, kOrdreCompte);
    if (Xi::XiStatut != Xi::kStatutAucun && e->Retenu == r && e->DansPeriode == d && e->Extrait == x &&
        e->Statut == s) {
      if (c + 1 == 8 * 6) {
        n = nombre - position + 1;
      } else {
        const int c2 = c + 1;
        ecrire(1 - c2 / 24, 1 - c2 / 12 % 2, 1 - c2 / 6 % 2, c2 % 6, kCoursEntier);
        const uint32_t suivante = Xi::Chercher(t, kOrdreCompte);
        n = Xi::XiStatut == Xi::kStatutAucun ? nombre - position + 1 : suivante - position;
      }
    }
    DepilerPosition();
    Compte[3] += n;
    if (r == 1) Compte[2] += n;
    if (r == 1 && d == 1) Compte[1] += n;
    if (r == 1 && d == 1 && x == 1) Compte[0] += n;
  }
}

std::string TexteMemo(int32_t Mode) {
  const E* e = Article();
  if (e == nullptr || e->Memo == 0) return {};
  std::string texte =
      SupMemoCours::Fichier().ChaineDe(e->Memo, offsetof(TypeEnregistrementMemo, Texte), SupMemoCours::kCapaciteTexte);
  if (Mode == 0) return texte;
  std::string sans;
  for (std::size_t i = 0; i < texte.size(); ++i) {
    if (texte[i] == '\r' && i + 1 < texte.size() && texte[i + 1] == '\n') ++i;
    sans += texte[i] == '\r' || texte[i] == '\n' ? ' ' : texte[i];
  }
  return sans;
}

void EcrireMemo(const std::string& Texte) {
  E* e = Article();
  if (e == nullptr) return;
  TFichierSup& memos = SupMemoCours::Fichier();
  memos.EmpilerPosition();
  if (e->Memo != 0 && memos.Existe(e->Memo)) {
    (void)Xi::AllerA(memos.Table, e->Memo);
    // A change that fails keeps the link; a deletion clears it once the memo is gone.
    if (Texte.empty()) {
      if (SupMemoCours::SupprimerMemo()) e->Memo = 0;
    } else {
      (void)SupMemoCours::ModifierMemo(Texte);
    }
  } else if (e->Memo != 0) {
    // The memo no longer exists: nothing is created and the dangling link goes.
    e->Memo = 0;
  } else if (!Texte.empty() && SupMemoCours::CreerMemo(Texte) && !NetClient::PasserParServeur()) {
    // Locally the new memo is current; through the server it is not, and the link stays 0 until the
    // course's own order brings it.
    e->Memo = Xi::NumeroCourant(memos.Table);
  }
  memos.DepilerPosition();
}

uint32_t SiteDuCours() { return Article() != nullptr ? Article()->Site : 0; }

bool PourChaqueCoursDuSite(uint32_t Site, const std::function<bool()>& Routine) {
  void* t = Fichier().Table;
  if (t == nullptr) return false;
  EmpilerPosition();
  std::vector<uint32_t> cours;
  for (bool encore = Xi::Premier(t, 0); encore; encore = Xi::Suivant(t, 0))
    if (Article()->Site == Site) cours.push_back(Xi::NumeroCourant(t));
  bool resultat = false;
  for (uint32_t n : cours)
    if (Xi::AllerA(t, n) && Article()->Site == Site && (resultat = Routine())) break;
  DepilerPosition();
  return resultat;
}

bool CoursRetenuEtExtrait() { return Article() != nullptr && Article()->Retenu != 0 && Article()->Extrait != 0; }
bool FractionPlacee() { return Article() != nullptr && Article()->Genre != kCoursEntier && Article()->Statut == 1; }
bool FractionPlaceeSouple() { return Article() != nullptr && Article()->Genre != kCoursEntier && Article()->Statut == 5; }

bool FractionsDeMemeMatiere() {
  if (Article() == nullptr) return false;
  if ((Article()->Compactage & kCompactageFractionsSeparees) == 0) return true;
  EmpilerPosition();
  bool memes = true;
  if (SupFractionnementCours::AllerAuCoursEntier()) {
    const uint32_t matiere = Article()->Matiere;
    memes = !SupFractionnementCours::PourChaqueFractionDuCours([matiere] { return Article()->Matiere != matiere; },
                                                               false);
  }
  DepilerPosition();
  return memes;
}

void ActualiserGroupesDeSalles(const TypeDomaineHebdomadaire&, bool Toujours) {
  const E* e = Article();
  if (e == nullptr || Xi::NumeroCourant(Fichier().Table) == 0 || !(Toujours || EstStatutPlace(e->Statut))) return;
  (void)SupParco::PourChaqueRessourceDuCours(
      [](intptr_t) {
        SupMAJRessource::AjouterRessourceCourante(SupMAJRessource::RessourcesAMettreAJour());
        return false;
      },
      0, true, true, {});
}

void ActualiserGroupesDeSallesDesCours(const TypeEnsembleMemoire& Liste, bool Toujours) {
  if (Fichier().Table == nullptr) return;
  const std::vector<uint32_t> cours(Liste.Elements, Liste.Elements + Liste.Nombre);
  EmpilerPosition();
  for (uint32_t c : cours)
    if (Xi::AllerA(Fichier().Table, c)) ActualiserGroupesDeSalles(Article()->Semaines, Toujours);
  DepilerPosition();
}

bool SupprimerCoursCourant(int32_t, int32_t, bool) {
  throw ENonConstruit("SupCours.SupprimerCoursCourant: the course requests are not built yet");
}

bool CoursDeLaMatiereCourante() {
  if (Article() == nullptr) return false;
  if (Article()->Genre == kCoursEntier && !FractionsDeMemeMatiere()) return false;
  void* matieres = SupFichiers::Fichier(kMAT)->Table;
  return matieres != nullptr && Article()->Matiere == Xi::NumeroCourant(matieres);
}

void AjouterCoursSansSite(TypeEnsembleMemoire& Selection) {
  if (Article() != nullptr && Article()->Site == 0) (void)Memoire::Inserer(Xi::NumeroCourant(Fichier().Table), Selection);
}

void AjouterCoursCourant(TypeEnsembleMemoire& Selection) {
  (void)Memoire::Inserer(Xi::NumeroCourant(Fichier().Table), Selection);
}

void AjouterCoursCourantEnFin(TypeEnsembleMemoire& Selection) {
  (void)Memoire::Ajouter(Xi::NumeroCourant(Fichier().Table), Selection);
}

void AjouterCoursEntreDates(TypeEnsembleMemoire& Selection, TDateTime Debut, TDateTime Fin) {
  const E* e = Article();
  if (e == nullptr) return;
  if (e->Place >= PlaceAucune()) {
    AjouterCoursCourant(Selection);
    return;
  }
  const TDateTime* premiere = JoursOuvres::PremiereDateBase();
  if (premiere == nullptr) return;  // no base parameters: no date can be given to a session
  const TJoursOuvres defaut(false);
  const TJoursOuvres& jours = JoursOuvres::JoursOuvresBase() != nullptr ? *JoursOuvres::JoursOuvresBase() : defaut;
  const int32_t jour = jours.JourDeLaPlace(static_cast<int32_t>(e->Place));
  for (int32_t w = 1; w <= 52; ++w) {
    if (!e->Semaines.Contient(w)) continue;
    const TDateTime date = TJourTZ::DateDuJourDeLaSemaine(jour, w, *premiere);
    if (date >= Debut && date <= Fin) {
      AjouterCoursCourant(Selection);
      return;
    }
  }
}

bool TypeCoursInvalide(bool Reparer) {
  if (Article() == nullptr || TypologieExiste(Article()->Typologie)) return false;
  if (Reparer)
    throw ENonConstruit("SupCours.TypeCoursInvalide: the course-type request that repairs a course is not built yet");
  return true;
}

int32_t DureeMaximale(bool AvantLaPlace, bool Tous) {
  const auto parJour = static_cast<int32_t>(PlacesParJour());
  int32_t avant = parJour, apres = parJour, plusLongue = 1;
  if (Article() == nullptr) return AvantLaPlace ? avant : apres;
  std::unique_ptr<MoteurPlacement::TValPlacesTemporaires> valeurs;
  const auto mesurer = [&]() -> bool {
    const E* e = Article();
    if (!EstStatutPlace(e->Statut)) return false;
    const auto duree = static_cast<int32_t>(std::min<uint32_t>(e->Duree, INT32_MAX / 2));
    const TypeDomaineHebdomadaire w = TMethodesDomaine::Intersection(e->Semaines, SupDomaine::PeriodeDeTravail());
    if (TMethodesDomaine::EstVide(w)) {
      avant = std::min(avant, duree);
      apres = std::min(apres, duree);
      plusLongue = std::max(plusLongue, duree);
      return false;
    }
    // The engine's fresh matrix (and diagnostics) for the whole computation, from the first course
    // that needs them.
    if (!valeurs)
      valeurs = std::make_unique<MoteurPlacement::TValPlacesTemporaires>(
          SupParametresGrille::Parametres().NombrePlaces, 2, !Tous);
    MoteurPlacement::CalculerValPlacesCoursCourant(!Tous, false, true, w, 0);
    const auto libresAvant = static_cast<int32_t>(PlacesLibres(e->Place, e->Duree, -1, Tous, w));
    const auto libresApres = static_cast<int32_t>(PlacesLibres(e->Place, e->Duree, 1, Tous, w));
    avant = std::min(avant, duree + libresAvant);
    apres = std::min(apres, duree + libresApres);
    plusLongue = std::max({plusLongue, duree, 1});
    return false;
  };
  EmpilerPosition();
  try {
    if (Article()->Genre == kCoursEntier) (void)SupFractionnementCours::PourChaqueFractionDuCours(mesurer, false);
    else (void)mesurer();
  } catch (...) {
    valeurs.reset();
    DepilerPosition();
    throw;
  }
  valeurs.reset();
  DepilerPosition();
  return AvantLaPlace ? avant : apres;
}

TypeCoursConverti ConvertirGrille(uint8_t Statut, uint32_t Place, uint32_t Duree, const TypeGrilleConversion& Ancienne,
                                  const TypeGrilleConversion& Nouvelle, uint32_t NouvelleAucune) {
  TypeCoursConverti r{0, Duree, NouvelleAucune};
  const int64_t q = Ancienne.PlacesParHeure, dAncien = Ancienne.PlacesParJour;
  const int64_t p = Nouvelle.PlacesParHeure, d = Nouvelle.PlacesParJour;
  if (q > 0 && p >= 0) r.Duree = static_cast<uint32_t>(std::min<uint64_t>(uint64_t{Duree} * p / q, UINT32_MAX));
  if (r.Duree == 0) r.Duree = 1;
  if (d > 0 && r.Duree > d) r.Duree = static_cast<uint32_t>(d);
  // Without the old grid's divisors no place can be moved.
  if (q <= 0 || dAncien <= 0 || p <= 0 || d <= 0 || !EstStatutPlace(Statut)) return r;
  const uint8_t anciensJours = Ancienne.JoursOuvres & 0xFE, nouveauxJours = Nouvelle.JoursOuvres & 0xFE;
  const auto nombreAnciens = static_cast<uint32_t>(std::popcount(anciensJours));
  if (Place == nombreAnciens * dAncien) return r;
  // The working day of the place in the old week; a place past the old grid has none.
  const int64_t rang = Place / dAncien;
  if (rang >= nombreAnciens) return r;
  int32_t jour = 0;
  for (int32_t j = 1, n = 0; j <= 7; ++j)
    if ((anciensJours >> j & 1) && n++ == rang) jour = j;
  if (jour == 0 || (nouveauxJours >> jour & 1) == 0) return r;
  const int64_t placeDansJour = Place % dAncien * p / q;
  if (int64_t{r.Duree} + placeDansJour - 1 >= d) return r;
  const int64_t rangNouveau = std::popcount(static_cast<uint8_t>(nouveauxJours & ((1u << jour) - 1)));
  r.PlaceRetenue = static_cast<uint32_t>(placeDansJour + d * rangNouveau);
  r.Statut = Statut;
  return r;
}

}  // namespace SupCours

// --- Verifier

bool TVerificateurCours::VerifierArticle(TErreur*& Erreur) {
  Erreur = nullptr;
  const TypeEnregistrementCours* e = SupCours::Article();
  if (e != nullptr && SupTypologieCours::Fichier().Existe(e->Typologie) && e->Typologie != 0) return true;
  Erreur = new TErreur("Erreur sur le cours numero = " + std::to_string(Xi::NumeroCourant(SupCours::Fichier().Table)));
  return false;
}

