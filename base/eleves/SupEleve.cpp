#include "base/eleves/SupEleve.h"

#include <array>
#include <cstddef>
#include <cstring>
#include <vector>

#include "base/CompteursNumeros.h"
#include "base/EcrGlobale.h"
#include "base/SupFichiers.h"
#include "base/SupTraitement.h"
#include "base/eleves/SupRelationFamille.h"
#include "base/eleves/SupRelationRessourceEleve.h"
#include "base/fichiers/DeclarationFichier.h"
#include "base/fichiers/SupLieu.h"
#include "base/fichiers/SupModaliteAdmission.h"
#include "base/fichiers/SupPays.h"
#include "base/fichiers/SuppressionSelection.h"
#include "core/records/Xi.h"
#include "core/values/ChaineUnicode.h"
#include "net/NetClient.h"
#include "net/netmodif.h"
#include "net/utilisateurs/SupDroitFonctionnel.h"
#include "net/utilisateurs/Utilisateur.h"
#include "objectdb/Traduction.h"

namespace SupEleve {

namespace {

using E = TypeEnregistrementEleve;
using FichierSup::CopierChaineCourte;

constexpr int32_t kPlaceMAD = 5, kPlacePAY = 6, kPlaceLIE = 7, kPlaceRRE = 37;

// --- The stored layouts: 184 bytes below 4.0.1, 448 below 4.0.6, 456 below 4.0.9, 536 since.
constexpr std::size_t kDispositions = 4, kCourante = kDispositions - 1;
constexpr uint32_t kTailles[kDispositions] = {184, 448, 456, kTailleStockee};
constexpr TypeVersionFormat kLimites[kCourante] = {{4, 0, 1, 0}, {4, 0, 6, 0}, {4, 0, 9, 0}};

enum class TypeSorte : uint8_t { Cardinal, Chaine, Reel, Octet, Booleen, Reference, Codee };

// One field: where it sits in memory, its kind (its capacity for a text, the place of its file for
// a reference) and its offset in each layout, -1 where the layout lacks it.
struct TypeColonne {
  int32_t Memoire;
  TypeSorte Sorte;
  int32_t Parametre;
  std::array<int16_t, kDispositions> Stocke;
};

// clang-format off
constexpr TypeColonne kColonnes[] = {
    {offsetof(E, NumeroEleve),        TypeSorte::Cardinal,  0,         {0, 0, 0, 0}},
    {offsetof(E, IdentifiantExterne), TypeSorte::Chaine,    80,        {-1, -1, -1, 4}},
    {offsetof(E, Nom),                TypeSorte::Chaine,    25,        {4, 4, 4, 85}},
    {offsetof(E, NomJeuneFille),      TypeSorte::Chaine,    25,        {-1, 30, 30, 111}},
    {offsetof(E, Prenom),             TypeSorte::Chaine,    25,        {30, 56, 56, 137}},
    {offsetof(E, Adresse1),           TypeSorte::Chaine,    60,        {-1, 84, 84, 164}},
    {offsetof(E, Adresse2),           TypeSorte::Chaine,    60,        {-1, 145, 145, 225}},
    {offsetof(E, CodePostal),         TypeSorte::Chaine,    5,         {-1, 206, 206, 286}},
    {offsetof(E, Ville),              TypeSorte::Reference, kPlaceLIE, {-1, 212, 212, 292}},
    {offsetof(E, Telephone),          TypeSorte::Chaine,    20,        {-1, 216, 216, 296}},
    {offsetof(E, Portable),           TypeSorte::Chaine,    20,        {-1, 237, 237, 317}},
    {offsetof(E, NumeroNational),     TypeSorte::Chaine,    16,        {56, 258, 258, 338}},
    {offsetof(E, DateNaissance),      TypeSorte::Reel,      0,         {80, 280, 280, 360}},
    {offsetof(E, LieuNaissance),      TypeSorte::Reference, kPlaceLIE, {88, 288, 288, 368}},
    {offsetof(E, Nationalite),        TypeSorte::Reference, kPlacePAY, {92, 292, 292, 372}},
    {offsetof(E, Sexe),               TypeSorte::Octet,     0,         {96, 296, 296, 376}},
    {offsetof(E, Redoublant),         TypeSorte::Booleen,   0,         {104, 304, 304, 384}},
    {offsetof(E, CursusPrecedent),    TypeSorte::Chaine,    60,        {-1, 305, 305, 385}},
    {offsetof(E, ModaliteAdmission),  TypeSorte::Reference, kPlaceMAD, {-1, -1, 368, 448}},
    {offsetof(E, Mail),               TypeSorte::Chaine,    60,        {105, 366, 372, 452}},
    {offsetof(E, ValeurCodee),        TypeSorte::Codee,     0,         {166, 427, 433, 513}},
    {offsetof(E, Proprietaire),       TypeSorte::Chaine,    3,         {179, 440, 446, 526}},
};
// clang-format on

TFichierSup& FichierA(int32_t Place) { return *SupFichiers::Fichier(Place); }

// Loads a stored record of layout D into the buffer. The flags never stored are those of a new
// record on a creation (present; extraction 0 once loaded) and kept on a change.
template <std::size_t D>
bool Lire(TFichierSup&, const uint8_t* s, TypeGenreModif Genre) {
  uint8_t* e = reinterpret_cast<uint8_t*>(Article());
  for (const TypeColonne& c : kColonnes) {
    uint8_t* champ = e + c.Memoire;
    const int32_t o = c.Stocke[D];
    switch (c.Sorte) {
      case TypeSorte::Chaine:
        if (o < 0) FichierSup::EcrireChaineCourte(champ, c.Parametre, {});
        else CopierChaineCourte(champ, c.Parametre, s + o, c.Parametre);
        break;
      case TypeSorte::Cardinal:
      case TypeSorte::Reel:
        std::memcpy(champ, s + o, c.Sorte == TypeSorte::Reel ? 8 : 4);
        break;
      case TypeSorte::Octet:
        *champ = s[o];
        break;
      case TypeSorte::Booleen:
        *champ = s[o] != 0;
        break;
      case TypeSorte::Reference: {
        // A record that does not exist (or none) gives none: a student is never refused for it.
        int32_t identifiant = 0;
        if (o >= 0) std::memcpy(&identifiant, s + o, 4);
        const uint32_t numero = o < 0 ? 0 : FichierA(c.Parametre).NumeroDeIdentifiant(identifiant);
        std::memcpy(champ, &numero, 4);
        break;
      }
      case TypeSorte::Codee:
        std::memset(champ, 0, sizeof E::ValeurCodee);
        champ[0] = kTailleCodee + 1;
        std::memcpy(champ + 1, s + o, kTailleCodee);
        break;
    }
  }
  CompteursNumeros::Relever(CompteursNumeros::kELE, Article()->NumeroEleve);
  if (Genre == GM_Creation) {
    Article()->Extraction = 0;
    Article()->Presence = 1;
  }
  return true;
}

bool Ecrire(TFichierSup&, uint8_t* s) {
  const uint8_t* e = reinterpret_cast<const uint8_t*>(Article());
  for (const TypeColonne& c : kColonnes) {
    const uint8_t* champ = e + c.Memoire;
    uint8_t* stocke = s + c.Stocke[kCourante];
    switch (c.Sorte) {
      case TypeSorte::Chaine:
        CopierChaineCourte(stocke, c.Parametre, champ, c.Parametre);
        break;
      case TypeSorte::Cardinal:
        std::memcpy(stocke, champ, 4);
        break;
      case TypeSorte::Reel:
        std::memcpy(stocke, champ, 8);
        break;
      case TypeSorte::Octet:
      case TypeSorte::Booleen:
        *stocke = *champ;
        break;
      case TypeSorte::Reference: {
        uint32_t numero;
        std::memcpy(&numero, champ, 4);
        const int32_t identifiant = numero == 0 ? 0 : FichierA(c.Parametre).IdentifiantDe(numero);
        std::memcpy(stocke, &identifiant, 4);
        break;
      }
      case TypeSorte::Codee:
        std::memcpy(stocke, champ + 1, kTailleCodee);
        break;
    }
  }
  return true;
}

// The owner of a new student: the connected user.
void Defauts(uint8_t* e) {
  FichierSup::EcrireChaineCourte(e + offsetof(E, Proprietaire), 3, Utilisateur::CodeUtilisateurCourant());
}

using namespace Champ;
// clang-format off
const TypeDescriptionFichier& DescriptionFichier() {
  static const TypeDescriptionFichier d = DeclarationFichier::Decrire({
      "SupEleve", ".ELE", 0x2A, kPlace, kTailleStockee, false,
      {Identifiant(), Cardinal("NumeroEleve", 0), Chaine("IdentifiantExterne", 80, 4), Chaine("Nom", 25, 85),
       Chaine("NomJeuneFille", 25, 111), Chaine("Prenom", 25, 137), Chaine("Adresse1", 60, 164),
       Chaine("Adresse2", 60, 225), Chaine("CodePostal", 5, 286), Reference("Ville", kPlaceLIE, 292, TypeSiAbsente::Aucune),
       Chaine("Telephone", 20, 296), Chaine("Portable", 20, 317), Chaine("NumeroNational", 16, 338),
       Reel("DateNaissance", 360), Reference("LieuNaissance", kPlaceLIE, 368, TypeSiAbsente::Aucune),
       Reference("Nationalite", kPlacePAY, 372, TypeSiAbsente::Aucune), Octet("Sexe", 376), Booleen("Redoublant", 384),
       Chaine("CursusPrecedent", 60, 385), Reference("ModaliteAdmission", kPlaceMAD, 448, TypeSiAbsente::Aucune),
       Chaine("Mail", 60, 452), Booleen("Extraction").Vaut(1), Booleen("Presence").Vaut(1),
       Chaine("ValeurCodee", 16, 513).StockeSur(kTailleCodee), Chaine("Proprietaire", 3, 526)},
      {{false, {"Identifiant"}}, {true, {"Nom", "Prenom", "DateNaissance"}},
       {false, {Decroissant("Presence"), Decroissant("Extraction"), "Nom", "Prenom"}}, {false, {"NumeroNational"}},
       {true, {"NumeroEleve"}}, {false, {"IdentifiantExterne"}}, {false, {"Nom", "DateNaissance"}},
       {false, {"Nom", "Prenom"}}},
      &Lire<kCourante>, &Ecrire, &Defauts,
      {{kTailles[0], kLimites[0], &Lire<0>}, {kTailles[1], kLimites[1], &Lire<1>}, {kTailles[2], kLimites[2], &Lire<2>}}});
  return d;
}
// clang-format on

void* Table() { return Fichier().Table; }

void MarquerBase() { EcrGlobale::MarquerBaseModifiee(EcrGlobale::FicheGlobales()); }

// Makes a record number current again after a search that found nothing or a change refused.
void Revenir(uint32_t Numero) {
  if (!Xi::AllerA(Table(), Numero)) std::memset(Table(), 0, sizeof(E));
}

// Seeks the buffer's key in an order; not found, the former current record is current again.
bool Chercher(int32_t Ordre, uint32_t Courant) {
  if (Xi::Trouver(Table(), Ordre)) return true;
  Revenir(Courant);
  return false;
}

// --- The changes of one field: code, field, payload size and kind, in the order of the fields.
enum class TypeValeur : uint8_t { Texte, Reel, Octet, Booleen, Reference, Proprietaire, Identifiant };
struct TypeModification {
  uint32_t Code;
  int32_t Champ;
  int32_t Taille;
  TypeValeur Sorte;
  int32_t Cible;  // a reference: the place of its file
};
// clang-format off
constexpr TypeModification kModifications[] = {
    {0x802A0200, offsetof(E, Nom),                26, TypeValeur::Texte,        0},
    {0x802A0201, offsetof(E, Prenom),             26, TypeValeur::Texte,        0},
    {0x802A0202, offsetof(E, NumeroNational),     17, TypeValeur::Texte,        0},
    {0x802A0203, offsetof(E, DateNaissance),      8,  TypeValeur::Reel,         0},
    {0x802A0204, offsetof(E, LieuNaissance),      4,  TypeValeur::Reference,    kPlaceLIE},
    {0x802A0205, offsetof(E, Nationalite),        4,  TypeValeur::Reference,    kPlacePAY},
    {0x802A0206, offsetof(E, Sexe),               1,  TypeValeur::Octet,        0},
    {0x802A0207, offsetof(E, Redoublant),         1,  TypeValeur::Booleen,      0},
    {0x802A0208, offsetof(E, Mail),               61, TypeValeur::Texte,        0},
    {0x802A0209, offsetof(E, NomJeuneFille),      26, TypeValeur::Texte,        0},
    {0x802A020A, offsetof(E, CursusPrecedent),    61, TypeValeur::Texte,        0},
    {0x802A020B, offsetof(E, Adresse1),           61, TypeValeur::Texte,        0},
    {0x802A020C, offsetof(E, Adresse2),           61, TypeValeur::Texte,        0},
    {0x802A020D, offsetof(E, CodePostal),         6,  TypeValeur::Texte,        0},
    {0x802A020E, offsetof(E, Ville),              4,  TypeValeur::Reference,    kPlaceLIE},
    {0x802A020F, offsetof(E, Telephone),          21, TypeValeur::Texte,        0},
    {0x802A0210, offsetof(E, Portable),           21, TypeValeur::Texte,        0},
    {0x802A0211, offsetof(E, Proprietaire),       4,  TypeValeur::Proprietaire, 0},
    {0x802A0213, offsetof(E, ModaliteAdmission),  4,  TypeValeur::Reference,    kPlaceMAD},
    {0x802A0214, offsetof(E, IdentifiantExterne), 81, TypeValeur::Identifiant,  0},
};
// clang-format on
static_assert(std::size(kModifications) == static_cast<std::size_t>(TypeChampModifiable::Identifiant) + 1);

const TypeModification& ModificationDe(TypeChampModifiable Champ) {
  return kModifications[static_cast<std::size_t>(Champ)];
}

// Sends Valeur (the payload) or, locally, writes Locale (the field's bytes) into the current
// student. A change refused locally leaves the buffer as the table holds the record.
bool Modifier(const TypeModification& m, const void* Valeur, const void* Locale) {
  if (!SupDroitFonctionnel::DroitModifierEleves() || Table() == nullptr) return false;
  const uint32_t courant = Xi::NumeroCourant(Table());
  uint8_t* champ = reinterpret_cast<uint8_t*>(Article()) + m.Champ;
  if (Fichier().Modifier(m.Code, Valeur, m.Taille,
                         [&] { std::memcpy(champ, Locale, static_cast<std::size_t>(m.Taille)); }))
    return true;
  if (!NetClient::PasserParServeur() && courant != 0) Revenir(courant);
  return false;
}

// Removes every membership of a student, each with Option.
void SupprimerAppartenances(uint32_t Eleve, uint8_t Option) {
  TFichierSup& rre = FichierA(kPlaceRRE);
  if (rre.Table == nullptr) return;
  static const int32_t decalageEleve = DeclarationFichier::ChampNomme(rre.Description(), "Eleve")->Decalage;
  constexpr int32_t kOrdreEleve = 3;
  std::vector<uint32_t> appartenances;
  {
    TPositionSauvee position(rre);
    std::memset(rre.Table, 0, rre.Description().TailleEnregistrement);
    std::memcpy(rre.Enregistrement() + decalageEleve, &Eleve, 4);
    appartenances = rre.NumerosDepuisCle(kOrdreEleve, [&] {
      uint32_t eleve;
      std::memcpy(&eleve, rre.Enregistrement() + decalageEleve, 4);
      return eleve == Eleve;
    });
  }
  for (const uint32_t numero : appartenances)
    if (Xi::AllerA(rre.Table, numero)) (void)SupRelationRessourceEleve::SupprimerRelationCourante(Option, 0);
}

// The number of records of order 3 (present, then extracted, first) before the first record whose
// flags are below (Presence, Extraction).
uint32_t NombreAvant(uint8_t Presence, uint8_t Extraction) {
  TPositionSauvee position(Fichier());
  std::memset(Table(), 0, sizeof(E));
  Article()->Presence = Presence;
  Article()->Extraction = Extraction;
  return Xi::Chercher(Table(), kOrdreDrapeaux) - 1;
}

}  // namespace

uint32_t CodeModification(TypeChampModifiable Champ) { return ModificationDe(Champ).Code; }

TFichierSup& Fichier() {
  static TFichierSup fichier(DescriptionFichier(), &SupEleve::ContenuParDefaut);
  return fichier;
}

E* Article() { return reinterpret_cast<E*>(Fichier().Enregistrement()); }

// --- Housekeeping

void ViderArticle() { Fichier().ViderArticle(); }
bool CreerTable() { return Fichier().CreerTable(); }
void LibererTable() { Fichier().LibererTable(); }
void EmpilerPosition() { Fichier().EmpilerPosition(); }
void DepilerPosition() { (void)Fichier().DepilerPosition(); }
bool ChercherParIdentifiant(int32_t Identifiant) { return Fichier().ChercherParIdentifiant(Identifiant); }
int32_t IdentifiantDe(uint32_t NumeroArticle) { return Fichier().IdentifiantDe(NumeroArticle); }
int32_t InscrireFichier() { return Fichier().InscrireFichier(); }
bool ContenuParDefaut() { return CreerElevesParDefaut(); }
bool CreerElevesParDefaut() { return Fichier().ContenuParDefaut(kCodeCreerElevesParDefaut); }

// --- Reads

bool ChercherEleveParNumero(uint32_t Numero) {
  if (Table() == nullptr) return false;
  const uint32_t courant = Xi::NumeroCourant(Table());
  Article()->NumeroEleve = Numero;
  return Chercher(kOrdreNumero, courant);
}

bool ChercherEleveParNomPrenomEtDate(const std::string& Nom, const std::string& Prenom, double Date) {
  if (Table() == nullptr) return false;
  const uint32_t courant = Xi::NumeroCourant(Table());
  FichierSup::EcrireChaineCourte(Article()->Nom, 25, Nom);
  FichierSup::EcrireChaineCourte(Article()->Prenom, 25, Prenom);
  Article()->DateNaissance = Date;
  return Chercher(kOrdreNomPrenomDate, courant);
}

bool ChercherParIdentifiantExterne(const std::string& Identifiant) {
  if (Table() == nullptr) return false;
  const uint32_t courant = Xi::NumeroCourant(Table());
  FichierSup::EcrireChaineCourte(Article()->IdentifiantExterne, 80, Identifiant);
  return Chercher(kOrdreIdentifiantExterne, courant);
}

uint32_t EleveDeLIdentifiant(int32_t Identifiant) { return Fichier().NumeroDeIdentifiant(Identifiant); }
bool EleveExiste(uint32_t NumeroArticle) { return Fichier().Existe(NumeroArticle); }
bool IdentifiantExiste(int32_t Identifiant) { return EleveDeLIdentifiant(Identifiant) != 0; }

uint32_t NombreDEleves(uint8_t Mode) {
  if (Table() == nullptr) return 0;
  switch (Mode) {
    case 0:
      return Xi::Nombre(Table());
    case 1:  // the first student not present (any extraction) ends the present ones
      return NombreAvant(0, 0xFF);
    case 2:  // the first present student not extracted ends those present and extracted
      return NombreAvant(1, 0);
    default:
      return 0;
  }
}

int32_t PourChaqueEleve(int32_t Ordre, const std::function<int32_t()>& Routine) {
  if (Table() == nullptr) return 0;
  struct TAppel {
    const std::function<int32_t()>& Routine;
    int32_t Reponse = 0;
    bool Appeler(intptr_t) {
      Reponse = Routine();
      return Reponse != 0;
    }
  } appel{Routine};
  (void)Xi::ParcourirMethode(Table(), Ordre, 0, MethodeXi<TAppel, &TAppel::Appeler>(&appel), {}, 0, true);
  return appel.Reponse;
}

int32_t AjouterEleveCourant(TypeEnsembleMemoire& Ensemble) {
  if (Table() != nullptr) (void)Memoire::Inserer(Xi::NumeroCourant(Table()), Ensemble);
  return 0;
}

std::string TexteModaliteAdmission() {
  return Article() == nullptr ? std::string() : SupModaliteAdmission::NomModalite(Article()->ModaliteAdmission);
}
std::string TexteLieuDeNaissance() {
  return Article() == nullptr ? std::string() : SupLieu::NomLieu(Article()->LieuNaissance);
}
std::string TexteNationalite() {
  return Article() == nullptr ? std::string() : SupPays::NationaliteDe(Article()->Nationalite);
}
std::string TexteVille() { return Article() == nullptr ? std::string() : SupLieu::NomLieu(Article()->Ville); }

std::string TexteSexe(bool Long) {
  const bool feminin = Article() != nullptr && Article()->Sexe != 0;
  if (Long) return Traduction::Traduire(feminin ? "SupAffEleveFeminin" : "SupAffEleveMasculin");
  return Traduction::Traduire(feminin ? "SupAffEleveF" : "SupAffEleveM");
}

bool MarquerExtractionEleve(uint8_t Valeur) {
  if (Table() == nullptr) return false;
  Article()->Extraction = Valeur != 0;
  return Xi::Modifier(Table());
}

// --- Requests

bool CreerEleve(const std::string& Nom, const std::string& Prenom, double DateDeNaissance) {
  if (!SupDroitFonctionnel::DroitCreerEleves() || Table() == nullptr) return false;
  uint8_t donnees[64] = {};
  FichierSup::EcrireChaineCourte(donnees, 25, Nom);
  FichierSup::EcrireChaineCourte(donnees + 26, 25, Prenom);
  std::memcpy(donnees + 56, &DateDeNaissance, 8);
  const uint32_t numero = CompteursNumeros::Suivant(CompteursNumeros::kELE);
  return Fichier().Creer(
      kCodeCreerEleve, donnees, sizeof donnees,
      [&] {
        std::memcpy(Article()->Nom, donnees, 26);
        std::memcpy(Article()->Prenom, donnees + 26, 26);
        Article()->DateNaissance = DateDeNaissance;
        Article()->NumeroEleve = numero;
      },
      false, [&] { CompteursNumeros::Relever(CompteursNumeros::kELE, numero); });
}

bool ModifierTexte(TypeChampModifiable Champ, const std::string& Texte) {
  const TypeModification& m = ModificationDe(Champ);
  if (Article() == nullptr || (m.Sorte != TypeValeur::Texte && m.Sorte != TypeValeur::Proprietaire &&
                               m.Sorte != TypeValeur::Identifiant))
    return false;
  const int32_t capacite = m.Taille - 1;
  std::vector<uint8_t> valeur(static_cast<std::size_t>(m.Taille));
  FichierSup::EcrireChaineCourte(valeur.data(), capacite, Texte);
  std::vector<uint8_t> locale = valeur;
  if (m.Sorte == TypeValeur::Proprietaire)
    FichierSup::EcrireChaineCourte(locale.data(), capacite,
                                   ChaineUnicode::Majuscules1252(FichierSup::LireChaineCourte(valeur.data(), capacite)));
  if (m.Sorte == TypeValeur::Identifiant && valeur[0] != 0 && !NetClient::PasserParServeur()) {
    // An external identifier names one student: one that a student has already (this one
    // included) is refused.
    TPositionSauvee position(Fichier());
    if (ChercherParIdentifiantExterne(FichierSup::LireChaineCourte(valeur.data(), capacite))) return false;
  }
  return Modifier(m, valeur.data(), locale.data());
}

bool ModifierReference(TypeChampModifiable Champ, uint32_t NumeroArticle) {
  const TypeModification& m = ModificationDe(Champ);
  if (m.Sorte != TypeValeur::Reference) return false;
  TFichierSup& cible = FichierA(m.Cible);
  if (NumeroArticle != 0 && !cible.Existe(NumeroArticle)) return false;
  const int32_t identifiant = NumeroArticle == 0 ? 0 : cible.IdentifiantDe(NumeroArticle);
  return Modifier(m, &identifiant, &NumeroArticle);
}

bool ModifierOctet(TypeChampModifiable Champ, uint8_t Valeur) {
  const TypeModification& m = ModificationDe(Champ);
  if (m.Sorte != TypeValeur::Octet && m.Sorte != TypeValeur::Booleen) return false;
  const uint8_t locale = m.Sorte == TypeValeur::Booleen ? Valeur != 0 : Valeur;
  return Modifier(m, &Valeur, &locale);
}

bool ModifierDateEleve(double Date) {
  return Modifier(ModificationDe(TypeChampModifiable::Date), &Date, &Date);
}

using C = TypeChampModifiable;
bool ModifierNomEleve(const std::string& Nom) { return ModifierTexte(C::Nom, Nom); }
bool ModifierPrenomEleve(const std::string& Prenom) { return ModifierTexte(C::Prenom, Prenom); }
bool ModifierNumeroNationalEleve(const std::string& Numero) { return ModifierTexte(C::NumeroNational, Numero); }
bool ModifierLieuEleve(uint32_t Lieu) { return ModifierReference(C::Lieu, Lieu); }
bool ModifierPaysEleve(uint32_t Pays) { return ModifierReference(C::Pays, Pays); }
bool ModifierSexeEleve(uint8_t Sexe) { return ModifierOctet(C::Sexe, Sexe); }
bool ModifierRedoublantEleve(uint8_t Redoublant) { return ModifierOctet(C::Redoublant, Redoublant); }
bool ModifierEmailEleve(const std::string& Mail) { return ModifierTexte(C::Email, Mail); }
bool ModifierNomJFEleve(const std::string& Nom) { return ModifierTexte(C::NomJF, Nom); }
bool ModifierCursusEleve(const std::string& Cursus) { return ModifierTexte(C::Cursus, Cursus); }
bool ModifierAdresse1Eleve(const std::string& Adresse) { return ModifierTexte(C::Adresse1, Adresse); }
bool ModifierAdresse2Eleve(const std::string& Adresse) { return ModifierTexte(C::Adresse2, Adresse); }
bool ModifierCodePostalEleve(const std::string& Code) { return ModifierTexte(C::CodePostal, Code); }
bool ModifierVilleEleve(uint32_t Ville) { return ModifierReference(C::Ville, Ville); }
bool ModifierFixeEleve(const std::string& Numero) { return ModifierTexte(C::Fixe, Numero); }
bool ModifierPortableEleve(const std::string& Numero) { return ModifierTexte(C::Portable, Numero); }
bool ModifierProprietaireEleve(const std::string& Code) { return ModifierTexte(C::Proprietaire, Code); }
bool ModifierModaliteAdmissionEleve(uint32_t Modalite) { return ModifierReference(C::ModaliteAdmission, Modalite); }
bool ModifierIdentifiantEleve(const std::string& Identifiant) { return ModifierTexte(C::Identifiant, Identifiant); }

bool SupprimerEleve(uint8_t Option) {
  if (!SupDroitFonctionnel::DroitSupprimerEleves() || Table() == nullptr) return false;
  SupTraitement::TraitementEmpile code(kCodeSupprimerEleve);
  if (NetClient::PasserParServeur())
    return NetClient::EnvoyerRequeteServeur(kCodeSupprimerEleve, Fichier().IdentifiantCourant(), 1, &Option, false,
                                            nullptr);
  // The current student as the table holds it, when there is one.
  EmpilerPosition();
  DepilerPosition();
  if (Xi::XiStatut != Xi::kStatutEgal) return false;
  const uint32_t eleve = Xi::NumeroCourant(Table());
  SupprimerAppartenances(eleve, Option);
  SupRelationFamille::SupprimerRelationsFamilleElementDuGenre(eleve, SupRelationFamille::kGenreEleve);
  if (!Xi::AllerA(Table(), eleve)) return false;
  netmodif::NotifierModification(GM_Suppression, Fichier().NumeroTable(), Fichier().IdentifiantCourant());
  if (!Xi::Supprimer(Table())) return false;
  MarquerBase();
  return true;
}

bool SupprimerEleveParNumero(uint32_t NumeroArticle, uint8_t Option) {
  if (Table() == nullptr) return false;
  TPositionSauvee position(Fichier());
  return Xi::AllerA(Table(), NumeroArticle) && SupprimerEleve(Option);
}

bool SupprimerElevesDuTableau(TypeEnsembleMemoire& Ensemble) {
  if (Ensemble.Nombre == 0) return true;
  if (!SupDroitFonctionnel::DroitSupprimerEleves() || Table() == nullptr) return false;
  SupTraitement::TraitementEmpile code(kCodeSupprimerElevesDuTableau);
  TPositionSauvee position(Fichier());
  if (NetClient::PasserParServeur())
    return SuppressionSelection::EnvoyerSelection(Fichier(), kCodeSupprimerElevesDuTableau, Ensemble);
  return SuppressionSelection::SupprimerLocalement(
      Fichier(), Ensemble, [](uint32_t numero) { return SupprimerEleveParNumero(numero, 0); }, false);
}

}  // namespace SupEleve
