#include "base/ressources/SupRessource.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <limits>
#include <vector>

#include "base/CompteursNumeros.h"
#include "base/SupFichiers.h"
#include "base/SupParam.h"
#include "base/SupParametresGrille.h"
#include "base/ValeursUtilisateur.h"
#include "base/cours/SupCours.h"
#include "base/SupParco.h"
#include "base/fichiers/DeclarationFichier.h"
#include "base/ressources/SupRelationRessource.h"
#include "base/ressources/SupStatut.h"
#include "base/sites/SupSite.h"
#include "base/sites/SupSites.h"
#include "core/objects/Exceptions.h"
#include "core/records/Xi.h"
#include "core/values/Ansi1252.h"
#include "core/values/Format.h"
#include "core/values/Times.h"
#include "net/utilisateurs/Utilisateur.h"
#include "objectdb/Traduction.h"

namespace SupRessource {

namespace {

using E = TypeEnregistrementRessource;
using FichierSup::CopierChaineCourte;

// Places of the files that resources refer to.
constexpr int32_t kCIV = 1, kCAL = 3, kLIE = 7, kCUR = 14;
constexpr int32_t kLibelleCalendrier = 4, kCapaciteLibelleCalendrier = 10;  // the name of a ".CAL" record

constexpr int64_t kAnnee = ((int64_t{1} << 53) - 1) & ~int64_t{1};  // weeks 1 to 52

// The stored record.
namespace S {
constexpr int32_t IdentifiantExterne = 0, Nom = 81, Code = 112, NumeroPartition = 132, EffectifSaisi = 140,
                  EffectifCalcule = 144, HorsDecompte = 152, MaxHeuresJour = 156, MaxHeuresSemaine = 160,
                  Semaines = 164, Proprietaire = 171, NumeroRessource = 176, Genre = 180, MotA = 184, MotB = 188,
                  MotC = 192, Service = 188, Civilite = 220, Statut = 224, MotDePasse = 228, Prenom = 259,
                  Mail = 290, NomJeuneFille = 341, Adresse1 = 372, Adresse2 = 433, CodePostal = 494, Ville = 500,
                  Telephone = 504, Portable = 525, DateNaissance = 552;
// The teacher's breakdown: seven 32-bit values and a byte, as in memory from QuotaT1 on.
constexpr std::size_t TailleService = offsetof(E, OctetPorte) + 1 - offsetof(E, QuotaT1);
static_assert(TailleService == 29);
}  // namespace S

uint32_t Lire32(const uint8_t* s) {
  uint32_t v;
  std::memcpy(&v, s, 4);
  return v;
}
void Ecrire32(uint8_t* s, uint32_t v) { std::memcpy(s, &v, 4); }

int32_t Sature(int64_t v) {
  return static_cast<int32_t>(
      std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

TFichierSup& FichierA(int32_t Place) { return *SupFichiers::Fichier(Place); }
// The record number of a stored identifier, 0 when none.
uint32_t NumeroDe(int32_t Place, uint32_t Identifiant) {
  return FichierA(Place).NumeroDeIdentifiant(static_cast<int32_t>(Identifiant));
}
// The identifier of a record number, 0 for none.
uint32_t IdentifiantDans(int32_t Place, uint32_t Numero) {
  return Numero == 0 ? 0 : static_cast<uint32_t>(FichierA(Place).IdentifiantDe(Numero));
}

bool EstClasseOuGroupement(uint8_t Genre) { return Genre >= kGroupement && Genre <= kOption; }

// --- The stored record

bool Lire(TFichierSup&, const uint8_t* s, TypeGenreModif) {
  E* e = Article();
  // Every field is set from the stored record: a change never keeps what the former record (or the
  // record that was current) held, and the fields a kind does not have stay 0.
  const int32_t identifiant = e->Identifiant;
  std::memset(static_cast<void*>(e), 0, sizeof(E));
  e->Identifiant = identifiant;
  CopierChaineCourte(e->IdentifiantExterne, 80, s + S::IdentifiantExterne, 80);
  CopierChaineCourte(e->Nom, 30, s + S::Nom, 30);
  CopierChaineCourte(e->Code, 16, s + S::Code, 16);
  std::memcpy(&e->NumeroPartition, s + S::NumeroPartition, 4);
  std::memcpy(&e->EffectifSaisi, s + S::EffectifSaisi, 4);
  std::memcpy(&e->EffectifCalcule, s + S::EffectifCalcule, 4);
  std::memcpy(&e->MaxHeuresJour, s + S::MaxHeuresJour, 4);
  std::memcpy(&e->MaxHeuresSemaine, s + S::MaxHeuresSemaine, 4);
  std::memcpy(e->Semaines.Octets.data(), s + S::Semaines, 7);
  CopierChaineCourte(e->Proprietaire, 3, s + S::Proprietaire, 3);
  e->NumeroRessource = Lire32(s + S::NumeroRessource);
  CompteursNumeros::Relever(CompteursNumeros::kRES, e->NumeroRessource);
  e->Genre = s[S::Genre];
  // Kept for TDs and options alike: options are excluded from hour counts too.
  if (e->Genre == kTD || e->Genre == kOption) e->HorsDecompte = s[S::HorsDecompte] != 0;

  if (e->Genre == kEnseignant) {
    CopierChaineCourte(e->Prenom, 30, s + S::Prenom, 30);
    CopierChaineCourte(e->MotDePasse, 30, s + S::MotDePasse, 30);
    CopierChaineCourte(e->Mail, 50, s + S::Mail, 50);
    CopierChaineCourte(e->NomJeuneFille, 30, s + S::NomJeuneFille, 30);
    CopierChaineCourte(e->Adresse1, 60, s + S::Adresse1, 60);
    CopierChaineCourte(e->Adresse2, 60, s + S::Adresse2, 60);
    CopierChaineCourte(e->CodePostal, 5, s + S::CodePostal, 5);
    CopierChaineCourte(e->Telephone, 20, s + S::Telephone, 20);
    CopierChaineCourte(e->Portable, 20, s + S::Portable, 20);
    std::memcpy(&e->DateNaissance, s + S::DateNaissance, 8);
    e->MotC = Lire32(s + S::MotA);  // the annual service
    std::memcpy(&e->QuotaT1, s + S::Service, S::TailleService);
    e->Ville = NumeroDe(kLIE, Lire32(s + S::Ville));
    e->MotA = e->Nom[0] == 0 ? 0 : NumeroDe(kCIV, Lire32(s + S::Civilite));
    e->MotB = NumeroDe(SupStatut::kPlace, Lire32(s + S::Statut));
    if (e->MotB == 0) e->MotB = SupStatut::ChercherStatutLePlusProche(SupStatut::kRatioParDefaut);
  } else if (e->Genre == kSalle) {
    e->MotA = Lire32(s + S::MotA);
    e->MotB = s[S::MotB];
    (void)SupSites::Sites().ChercherSite(Lire32(s + S::MotC), e->MotC, 2);
  } else if (EstClasseOuGroupement(e->Genre)) {
    e->MotA = NumeroDe(kCAL, Lire32(s + S::MotA));
    if (e->MotA == 0) e->MotA = kCalendrierParDefaut;
    e->MotB = NumeroDe(kCUR, Lire32(s + S::MotB));
    e->MotC = s[S::MotC] != 0;
  }
  // A missing reference takes its fallback: the record is never refused.
  return true;
}

bool Ecrire(TFichierSup&, uint8_t* s) {
  const E* e = Article();
  CopierChaineCourte(s + S::IdentifiantExterne, 80, e->IdentifiantExterne, 80);
  CopierChaineCourte(s + S::Nom, 30, e->Nom, 30);
  CopierChaineCourte(s + S::Code, 16, e->Code, 16);
  std::memcpy(s + S::NumeroPartition, &e->NumeroPartition, 4);
  std::memcpy(s + S::EffectifSaisi, &e->EffectifSaisi, 4);
  std::memcpy(s + S::EffectifCalcule, &e->EffectifCalcule, 4);
  s[S::HorsDecompte] = e->HorsDecompte;
  std::memcpy(s + S::MaxHeuresJour, &e->MaxHeuresJour, 4);
  std::memcpy(s + S::MaxHeuresSemaine, &e->MaxHeuresSemaine, 4);
  std::memcpy(s + S::Semaines, e->Semaines.Octets.data(), 7);
  CopierChaineCourte(s + S::Proprietaire, 3, e->Proprietaire, 3);
  Ecrire32(s + S::NumeroRessource, e->NumeroRessource);
  s[S::Genre] = e->Genre;
  // The first name and the other fields of a person are stored for teachers alone (the buffer
  // arrives zero-filled).
  if (e->Genre == kEnseignant) {
    Ecrire32(s + S::MotA, e->MotC);
    std::memcpy(s + S::Service, &e->QuotaT1, S::TailleService);
    // A teacher without a name is stored without a civility.
    Ecrire32(s + S::Civilite, e->Nom[0] == 0 ? 0 : IdentifiantDans(kCIV, e->MotA));
    Ecrire32(s + S::Statut, IdentifiantDans(SupStatut::kPlace, e->MotB));
    CopierChaineCourte(s + S::MotDePasse, 30, e->MotDePasse, 30);
    CopierChaineCourte(s + S::Prenom, 30, e->Prenom, 30);
    CopierChaineCourte(s + S::Mail, 50, e->Mail, 50);
    CopierChaineCourte(s + S::NomJeuneFille, 30, e->NomJeuneFille, 30);
    CopierChaineCourte(s + S::Adresse1, 60, e->Adresse1, 60);
    CopierChaineCourte(s + S::Adresse2, 60, e->Adresse2, 60);
    CopierChaineCourte(s + S::CodePostal, 5, e->CodePostal, 5);
    Ecrire32(s + S::Ville, IdentifiantDans(kLIE, e->Ville));
    CopierChaineCourte(s + S::Telephone, 20, e->Telephone, 20);
    CopierChaineCourte(s + S::Portable, 20, e->Portable, 20);
    std::memcpy(s + S::DateNaissance, &e->DateNaissance, 8);
  } else if (e->Genre == kSalle) {
    Ecrire32(s + S::MotA, e->MotA);
    s[S::MotB] = static_cast<uint8_t>(e->MotB);
    Ecrire32(s + S::MotC, SupSites::Sites().NumeroDeSite(e->MotC));
  } else if (EstClasseOuGroupement(e->Genre)) {
    Ecrire32(s + S::MotA, IdentifiantDans(kCAL, e->MotA));
    Ecrire32(s + S::MotB, IdentifiantDans(kCUR, e->MotB));
    s[S::MotC] = static_cast<uint8_t>(e->MotC != 0);
  }
  return true;
}

using namespace Champ;
// clang-format off
const TypeDescriptionFichier& DescriptionFichier() {
  static const TypeDescriptionFichier d = DeclarationFichier::Decrire({
      "SupRessource", ".RES", 0x11, kPlace, kTailleStockee, false,
      {Identifiant(), Chaine("IdentifiantExterne", 80, 0), Chaine("Code", 16, 112), Chaine("Nom", 30, 81),
       Entier("NumeroPartition", 132), Entier("Occupation"), Entier("Occupation2"), Entier("MaxHeuresJour", 156),
       Entier("MaxHeuresSemaine", 160), Entier("EffectifSaisi", 140), Entier("EffectifCalcule", 144),
       Booleen("HorsDecompte", 152), Semaines("Semaines", 164).Vaut(kAnnee), Chaine("Proprietaire", 3, 171),
       Cardinal("NumeroRessource", 176), Octet("Genre", 180), Cardinal("MotA"), Cardinal("MotB"), Cardinal("MotC"),
       Entier("QuotaT1"), Entier("MaxT1Semaine"), Entier("MaxT1Cycle"), Entier("QuotaT2"), Entier("QuotaT3"),
       Entier("NombreMois"), Entier("ValeurPortee"), Octet("OctetPorte"), Entier("Total1"), Entier("Total2"),
       Chaine("MotDePasse", 30, 228), Chaine("Prenom", 30, 259), Chaine("Mail", 50, 290),
       Chaine("NomJeuneFille", 30, 341), Chaine("Adresse1", 60, 372), Chaine("Adresse2", 60, 433),
       Chaine("CodePostal", 5, 494), Reference("Ville", kLIE, 500, TypeSiAbsente::Aucune), Chaine("Telephone", 20, 504),
       Chaine("Portable", 20, 525), Reel("DateNaissance", 552)},
      {{true, {"Genre", "NumeroPartition", "Nom", "Prenom", "Code"}}, {false, {"Genre", "NumeroPartition", "Code", "Nom"}},
       {false, {"Identifiant"}}, {false, {"Genre", "Prenom", "Nom"}}, {false, {"Genre", "Mail"}},
       {true, {"NumeroRessource"}}, {false, {"Nom"}}, {false, {{"NumeroPartition", &Comparai::ComparerCardinal}, "Nom"}},
       {false, {"Genre", "Nom"}}, {false, {"Genre", "Identifiant"}}, {false, {"Genre"}}, {false, {"Genre", "Code"}},
       {false, {"IdentifiantExterne"}}, {false, {"Genre", "IdentifiantExterne"}}},
      &Lire, &Ecrire});
  return d;
}
// clang-format on

// --- Routines registered with the table registry

void OccupationPerimee() {
  if (Etapes().OccupationPerimee && Fichier().Table != nullptr)
    Etapes().OccupationPerimee(Xi::NumeroCourant(Fichier().Table));
}
void CreerVisibilite() {
  if (Etapes().CreerVisibilite) Etapes().CreerVisibilite();
}
void SupprimerVisibilite() {
  if (Etapes().SupprimerVisibilite) Etapes().SupprimerVisibilite();
}

class TFichierRessources final : public TFichierSup {
 public:
  TFichierRessources() : TFichierSup(DescriptionFichier(), &SupRessource::ContenuParDefaut) {
    AvantOrdre = [](uint8_t*, void*, int32_t, TypeGenreModif Genre) {
      OccupationPerimee();
      if (Genre == GM_Suppression) SupprimerVisibilite();
    };
    ApresOrdre = [](uint8_t*, void*, int32_t, TypeGenreModif Genre) {
      OccupationPerimee();
      if (Genre == GM_Creation) CreerVisibilite();
    };
    SurModification1 = [](TypeGenreModif Genre, int32_t, int32_t) {
      if (Genre == GM_Suppression) SupprimerVisibilite();
    };
    SurModification2 = [](TypeGenreModif Genre, int32_t, int32_t) {
      OccupationPerimee();
      if (Genre == GM_Creation) CreerVisibilite();
    };
  }
};

void* Table() { return Fichier().Table; }

// Makes a record number current again after a search that found nothing.
void Revenir(uint32_t Numero) {
  if (!Xi::AllerA(Table(), Numero)) std::memset(Table(), 0, sizeof(E));
}

// Calls Routine on each record number that still holds a resource; position kept.
int32_t Visiter(const std::vector<uint32_t>& Numeros, const TypeRoutineRessource& Routine) {
  if (Table() == nullptr) return 0;
  EmpilerPosition();
  int32_t resultat = 0;
  for (uint32_t n : Numeros)
    if (Xi::AllerA(Table(), n) && (resultat = Routine()) != 0) break;
  DepilerPosition();
  return resultat;
}

// The record numbers, in an order, of the resources that Garder keeps.
template <class F>
std::vector<uint32_t> Collecter(int32_t Ordre, F Garder) {
  std::vector<uint32_t> numeros;
  if (Table() == nullptr) return numeros;
  EmpilerPosition();
  for (bool encore = Xi::Premier(Table(), Ordre); encore; encore = Xi::Suivant(Table(), Ordre))
    if (Garder(*Article())) numeros.push_back(Xi::NumeroCourant(Table()));
  DepilerPosition();
  return numeros;
}

// --- Texts

int32_t PlacesParHeure() { return SupParametresGrille::Parametres().PlacesParHeure; }

// Seconds of a number of places: 0 when the grid has no places per hour.
int64_t SecondesDePlaces(int32_t Places) {
  const int32_t parHeure = PlacesParHeure();
  return parHeure <= 0 ? 0 : int64_t{Places} * 3600 / parHeure;
}

void TexteHeures(int64_t Secondes, bool ModeDecimal, bool SansZero, const std::string& Unite, std::string& Texte) {
  const char* heures = SansZero ? "#0" : "0";
  if (ModeDecimal) {
    TCustomTime::FormaterDuree(2, ",", Secondes, heures, "00", "", Texte);
  } else {
    const std::string separateur = Unite.empty() ? Traduction::Traduire("SupConstH") : Unite;
    TCustomTime::FormaterDuree(1, separateur, Secondes, heures, "00", "", Texte);
  }
}

// Minutes of occupancy (or weighted hours) as hours and minutes.
void TexteMinutes(int64_t Minutes, bool ModeDecimal, bool SansZero, const std::string& Unite, std::string& Texte) {
  const int64_t secondes = Minutes * 60;
  if (ModeDecimal) {
    TCustomTime::FormaterDuree(2, ",", secondes, SansZero ? "#0" : "0", "00", "", Texte);
  } else if (SansZero) {
    TCustomTime::FormaterDureeEnMinutes(" ", false, secondes, false, Texte, "", false);
  } else {
    TCustomTime::FormaterDuree(1, Unite.empty() ? "." : Unite, secondes, "0", "00", "", Texte);
  }
}

void RecalculerOccupation() {
  if (Etapes().RecalculerOccupation) Etapes().RecalculerOccupation();
}

}  // namespace

TFichierSup& Fichier() {
  static TFichierRessources fichier;
  return fichier;
}

E* Article() { return reinterpret_cast<E*>(Fichier().Enregistrement()); }

TypeEtapesRessource& Etapes() {
  static TypeEtapesRessource etapes;
  return etapes;
}

// --- Housekeeping

void ViderArticle(uint8_t Genre) {
  TFichierSup& f = Fichier();
  if (f.Table == nullptr) return;
  f.ViderArticle();
  E* e = Article();
  e->Genre = Genre;
  FichierSup::EcrireChaineCourte(e->Proprietaire, 3, Utilisateur::CodeUtilisateurCourant());
  const TypeParametresGeneraux& base = SupParam::Parametres();
  switch (Genre) {
    case kEnseignant: {
      // The service follows the default status; without one: no status, no breakdown, the base's
      // default annual service.
      int64_t service = base.ApportProfesseurParDefaut;
      TFichierSup& statuts = SupStatut::Fichier();
      statuts.EmpilerPosition();
      if (SupStatut::ChercherStatutParDefaut()) {
        const TypeEnregistrementStatut& statut = *SupStatut::Article();
        if (SupParam::ModeCFA()) service = statut.QuotaAnnuel;
        e->MotB = Xi::NumeroCourant(statuts.Table);
        e->QuotaT1 = statut.T1;
        e->QuotaT2 = SupStatut::T2Arrondi(statut.T1);
        e->QuotaT3 = Sature(service - e->QuotaT1 - e->QuotaT2);
        e->MaxT1Semaine = statut.MaxT1Semaine;
        e->MaxT1Cycle = statut.MaxT1Cycle;
      }
      statuts.DepilerPosition();
      e->MotC = static_cast<uint32_t>(static_cast<int32_t>(service));
      e->NombreMois = base.NbMoisProfesseurParDefaut;
      break;
    }
    case kDiplome:
      e->MotA = kCalendrierParDefaut;
      e->EffectifSaisi = ValeursUtilisateur::Valeurs().EffectifDiplomeParDefaut;
      e->MotC = 1;  // links managed from the students
      break;
    case kSalle:
      e->MotA = 1;  // one room
      e->EffectifSaisi = ValeursUtilisateur::Valeurs().CapaciteSalleParDefaut;
      e->MotC = SupSites::Sites().SiteParDefaut(2);
      break;
    default:
      // Groupings, TDs and options: the creation request sets the calendar.
      break;
  }
}

bool CreerTable() { return Fichier().CreerTable(); }
void LibererTable() { Fichier().LibererTable(); }
void EmpilerPosition() { Fichier().EmpilerPosition(); }
void DepilerPosition() { (void)Fichier().DepilerPosition(); }
bool ChercherParIdentifiant(int32_t Identifiant) { return Fichier().ChercherParIdentifiant(Identifiant); }
int32_t IdentifiantDe(uint32_t NumeroArticle) { return Fichier().IdentifiantDe(NumeroArticle); }
int32_t InscrireFichier() { return Fichier().InscrireFichier(); }
bool ContenuParDefaut() { return CreerRessourcesParDefaut(); }
bool CreerRessourcesParDefaut() {
  throw ENonConstruit("SupRessource.CreerRessourcesParDefaut: the resource requests are not built yet");
}

// --- Reads

bool ChercherRessourceParDefaut(uint8_t Genre) {
  if (Table() == nullptr) return false;
  const uint32_t courant = Xi::NumeroCourant(Table());
  E* e = Article();
  e->Nom[0] = 0;
  e->Genre = Genre;
  (void)Xi::Chercher(Table(), kOrdreGenreNom);
  if (Xi::XiStatut != Xi::kStatutAucun && e->Genre == Genre && e->Nom[0] == 0) return true;
  Revenir(courant);
  return false;
}

uint32_t RessourceParDefautDuGenre(uint8_t Genre) {
  if (Table() == nullptr) return 0;
  EmpilerPosition();
  const uint32_t numero = ChercherRessourceParDefaut(Genre) ? Xi::NumeroCourant(Table()) : 0;
  DepilerPosition();
  return numero;
}

bool AllerAuPremierDuGenre(uint8_t Genre) {
  if (Table() == nullptr) return false;
  const uint32_t courant = Xi::NumeroCourant(Table());
  std::memset(Table(), 0, sizeof(E));
  Article()->Genre = Genre;
  (void)Xi::Chercher(Table(), kOrdreGenreNom);
  if (Xi::XiStatut != Xi::kStatutAucun && Article()->Genre == Genre) return true;
  Revenir(courant);
  return false;
}

bool EstRessourceParDefaut() {
  const E* e = Article();
  return e != nullptr && e->Genre <= kSalle && e->Code[0] == 0 && e->Nom[0] == 0;
}

bool ChercherParGenreEtIdentifiant(int32_t Identifiant, uint8_t Genre) {
  if (Table() == nullptr) return false;
  Article()->Identifiant = Identifiant;
  Article()->Genre = Genre;
  return Xi::Trouver(Table(), kOrdreGenreIdentifiant);
}

uint32_t RessourceDeLIdentifiant(int32_t Identifiant, uint8_t Genre) {
  if (Table() == nullptr || !(Genre == kEnseignant || Genre == kDiplome || Genre == kTD || Genre == kOption)) return 0;
  EmpilerPosition();
  const uint32_t numero = ChercherParGenreEtIdentifiant(Identifiant, Genre) ? Xi::NumeroCourant(Table()) : 0;
  DepilerPosition();
  return numero;
}

bool ChercherRessourceParNumero(uint32_t Numero) {
  if (Table() == nullptr) return false;
  Article()->NumeroRessource = Numero;
  return Xi::Trouver(Table(), kOrdreNumero);
}

bool ChercherParGenreEtIdentifiantExterne(uint8_t Genre, const std::string& Identifiant) {
  if (Table() == nullptr) return false;
  Article()->Genre = Genre;
  FichierSup::EcrireChaineCourte(Article()->IdentifiantExterne, 80, Identifiant);
  return Xi::Trouver(Table(), kOrdreGenreIdentifiantExterne);
}

uint8_t GenreDeLaRessource(uint32_t NumeroArticle) {
  if (Table() == nullptr) return kGenreAucun;
  EmpilerPosition();
  const uint8_t genre = Xi::AllerA(Table(), NumeroArticle) ? Article()->Genre : kGenreAucun;
  DepilerPosition();
  return genre;
}

uint8_t GenreDuNumeroDeRessource(uint32_t NumeroArticle) { return GenreDeLaRessource(NumeroArticle); }

bool RessourceExiste(uint32_t NumeroArticle) { return Fichier().Existe(NumeroArticle); }

bool EstGroupeDeSalles() { return Article() != nullptr && Article()->Genre == kSalle && Article()->MotA > 1; }

int32_t Effectif() {
  const E* e = Article();
  if (e == nullptr) return 0;
  if (!EstClasseOuGroupement(e->Genre)) return e->EffectifSaisi;
  const TypeParametresGeneraux& base = SupParam::Parametres();
  if ((base.GestionParEleves != 0 || e->Genre == kGroupement) && (base.GestionEffectif != 0 || e->EffectifSaisi == 0))
    return e->EffectifCalcule;
  return e->EffectifSaisi;
}

bool RessourceCouranteDansEnsemble(const TypeEnsembleMemoire& Ensemble) {
  uint32_t position = 0;
  return Table() != nullptr && Memoire::Chercher(Xi::NumeroCourant(Table()), Ensemble, position);
}

int32_t PourChaqueRessource(const TypeRoutineRessource& Routine) {
  return Visiter(Collecter(0, [](const E&) { return true; }), Routine);
}

int32_t PourChaqueRessourceDuGenre(uint8_t Genre, const TypeRoutineRessource& Routine) {
  if (Table() == nullptr) return 0;
  std::vector<uint32_t> numeros;
  EmpilerPosition();
  std::memset(Table(), 0, sizeof(E));
  Article()->Genre = Genre;
  (void)Xi::Chercher(Table(), kOrdreGenreNom);
  for (bool encore = Xi::XiStatut != Xi::kStatutAucun; encore && Article()->Genre == Genre;
       encore = Xi::Suivant(Table(), kOrdreGenreNom))
    if (!EstRessourceParDefaut()) numeros.push_back(Xi::NumeroCourant(Table()));
  DepilerPosition();
  return Visiter(numeros, Routine);
}

int32_t PourChaqueDiplomeDuCursus(const TypeRoutineRessource& Routine) {
  void* cursus = FichierA(kCUR).Table;
  const uint32_t courant = cursus != nullptr ? Xi::NumeroCourant(cursus) : 0;
  if (courant == 0) return 0;
  return Visiter(
      Collecter(kOrdreUnique, [courant](const E& e) { return e.Genre == kDiplome && e.MotB == courant; }), Routine);
}

int32_t PourChaqueTDDuDiplome(uint32_t Diplome, const TypeRoutineRessource& Routine) {
  const std::vector<uint32_t> tds = Collecter(0, [](const E& e) { return e.Genre == kTD && e.Nom[0] != 0; });
  return Visiter(tds, [&]() -> int32_t {
    return SupRelationRessource::DiplomeDeLaRessource(Xi::NumeroCourant(Table())) == Diplome ? Routine() : 0;
  });
}

int32_t PourChaqueTDDuDiplomeCourant(const TypeRoutineRessource& Routine) {
  return Table() == nullptr ? 0 : PourChaqueTDDuDiplome(Xi::NumeroCourant(Table()), Routine);
}

int32_t PourChaqueSalleDuSite(uint32_t Site, const TypeRoutineRessource& Routine) {
  return Visiter(Collecter(0, [Site](const E& e) { return e.Genre == kSalle && e.MotC == Site; }), Routine);
}

int32_t AjouterRessourceCourante(TypeEnsembleMemoire& Ensemble) {
  if (Table() != nullptr) (void)Memoire::Inserer(Xi::NumeroCourant(Table()), Ensemble);
  return 0;
}

int32_t AjouterRessourceCouranteSiClasse(TypeEnsembleMemoire& Ensemble) {
  if (Article() != nullptr && Article()->Genre >= kDiplome && Article()->Genre <= kOption)
    (void)AjouterRessourceCourante(Ensemble);
  return 0;
}

int32_t AjouterRessourceCouranteSiDiplome(TypeEnsembleMemoire& Ensemble) {
  if (Article() != nullptr && Article()->Genre == kDiplome) (void)AjouterRessourceCourante(Ensemble);
  return 0;
}

// --- Texts

void TexteMaxHeuresJour(bool ModeDecimal, bool SansZero, const std::string& Unite, std::string& Texte) {
  if (Article() == nullptr) return;
  TexteHeures(SecondesDePlaces(Article()->MaxHeuresJour), ModeDecimal, SansZero, Unite, Texte);
}

void TexteMaxHeuresHebdo(bool ModeDecimal, bool SansZero, const std::string& Unite, std::string& Texte) {
  if (Article() == nullptr) return;
  TexteHeures(SecondesDePlaces(Article()->MaxHeuresSemaine), ModeDecimal, SansZero, Unite, Texte);
}

void TexteOccupationAnnuelle(bool ModeDecimal, bool SansZero, const std::string& Unite, std::string& Texte) {
  if (Article() == nullptr) return;
  RecalculerOccupation();
  const E* e = Article();
  if (e->Genre == kSalle) {
    Texte = EstGroupeDeSalles() ? Format("%2d", {e->Occupation}) : Format("%3d", {e->Occupation}) + " %";
    return;
  }
  TexteMinutes(e->Occupation, ModeDecimal, SansZero, Unite, Texte);
}

void TexteApportAnnuel(bool ModeDecimal, bool SansZero, const std::string& Unite, std::string& Texte) {
  if (Article() == nullptr) return;
  const auto service = static_cast<int32_t>(Article()->MotC);
  if (service == 0) {
    Texte = "-";
    return;
  }
  // Hundredths of an hour are 36 seconds; 30 more round to the nearest minute.
  const int64_t secondes = int64_t{service} * 36 + 30;
  const char* heures = SansZero ? "#0" : "";
  if (ModeDecimal) TCustomTime::FormaterDuree(2, ",", secondes, heures, "", "", Texte);
  else TCustomTime::FormaterDuree(1, Unite.empty() ? "." : Unite, secondes, heures, "", "", Texte);
}

void TextePonderation(bool ModeDecimal, bool SansZero, const std::string& Unite, std::string& Texte) {
  if (Article() == nullptr) return;
  RecalculerOccupation();
  TexteMinutes(int64_t{Article()->Total1} - Article()->Occupation, ModeDecimal, SansZero, Unite, Texte);
}

void TexteCalendrier(std::string& Texte) {
  if (Article() == nullptr) return;
  if (Article()->MotA == kCalendrierParDefaut) {
    Texte = Traduction::Traduire("SupConstDéfaut2"_ansi);
    return;
  }
  Texte = FichierA(kCAL).ChaineDe(Article()->MotA, kLibelleCalendrier, kCapaciteLibelleCalendrier);
}

// --- Courses of the current resource

void CollecterCoursDeLaRessource(TypeEnsembleMemoire& Ensemble) {
  if (Table() == nullptr) return;
  (void)SupParco::PourChaqueCoursDeLaRessource(
      [](intptr_t Ensemble) {
        SupCours::AjouterCoursCourant(*reinterpret_cast<TypeEnsembleMemoire*>(Ensemble));
        return false;
      },
      reinterpret_cast<intptr_t>(&Ensemble), false, false, false, TMethodesDomaine::Annee());
}

void RecalculerCoursDeLaRessource() {
  throw ENonConstruit(
      "SupRessource.RecalculerCoursDeLaRessource: the recomputation of the courses of a resource is not built yet");
}

}  // namespace SupRessource
