#include "base/fichiers/SupPublicationSurInternet.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <limits>
#include <set>
#include <utility>
#include <vector>

#include "base/CompteursNumeros.h"
#include "base/MethodesConversionChaine.h"
#include "base/SupParam.h"
#include "base/fichiers/DeclarationFichier.h"
#include "core/records/Comparai.h"
#include "core/records/Xi.h"
#include "net/NetClient.h"
#include "objectdb/Traduction.h"

std::string TMethodesConversionGraphique::CouleurEnTexte(uint32_t Couleur) {
  char texte[8];
  std::snprintf(texte, sizeof texte, "#%02X%02X%02X", Couleur & 0xFF, (Couleur >> 8) & 0xFF, (Couleur >> 16) & 0xFF);
  return texte;
}

namespace SupPublicationSurInternet {

namespace {

using E = TypeEnregistrementPublication;

// The stored record: node number at 0, parent at 4, name at 8 (31), a reserved byte, index at 40,
// value at 44 (256), default value at 300 (256), kind at 556, option at 557, modified flag at 558, a
// reserved byte.
constexpr int32_t kStockeNoeud = 0, kStockeParent = 4, kStockeNom = 8, kStockeIndex = 40, kStockeValeur = 44,
                  kStockeValeurParDefaut = 300, kStockeGenre = 556, kStockeOption = 557, kStockeModifie = 558;
// A creation request carries the stored record without its node number.
constexpr int32_t kTailleCreation = static_cast<int32_t>(kTailleStockee) - 4;

// The node numbers are signed: the counter gives none beyond this.
constexpr uint32_t kNoeudMaximal = static_cast<uint32_t>(std::numeric_limits<int32_t>::max());

// The base's node counter: the highest node number given so far.
uint32_t Compteur() { return CompteursNumeros::Compteurs()[CompteursNumeros::kPSI]; }

// Raises the counter to a node's number; a number below 1 is no node's.
void ReleverCompteur(int32_t Noeud) {
  if (Noeud > 0) CompteursNumeros::Relever(CompteursNumeros::kPSI, static_cast<uint32_t>(Noeud));
}

// A node read from a stored base or a received order raises the node counter to its number.
bool Lire(TFichierSup& f, const uint8_t* s, TypeGenreModif Genre) {
  if (!DeclarationFichier::LireChamps(f, s, Genre)) return false;
  ReleverCompteur(Article()->Noeud);
  return true;
}

const TypeDescriptionFichier& DescriptionFichier() {
  using namespace Champ;
  static const TypeDescriptionFichier d = DeclarationFichier::Decrire({
      "SupPublicationSurInternet", ".PSI", 0x2D, kPlace, kTailleStockee, false,
      {Identifiant(), Entier("Noeud", kStockeNoeud), Entier("Parent", kStockeParent),
       Chaine("Nom", kCapaciteNom, kStockeNom), Entier("Index", kStockeIndex), Octet("GenreValeur", kStockeGenre),
       Chaine("Valeur", kCapaciteValeur, kStockeValeur),
       Chaine("ValeurParDefaut", kCapaciteValeur, kStockeValeurParDefaut), Octet("Option", kStockeOption),
       Booleen("Modifie", kStockeModifie)},
      {{true, {"Noeud"}}, {false, {"Identifiant"}}, {true, {"Parent", "Nom", "Index"}}, {false, {"Parent"}},
       {false, {"Parent", "Nom"}}},
      &Lire,
  });
  return d;
}

// The nodes that the default tree being laid has named.
std::set<int32_t>& Marques() {
  static std::set<int32_t> marques;
  return marques;
}

std::string Valeur(const uint8_t* Champ) { return FichierSup::LireChaineCourte(Champ, kCapaciteValeur); }

// True when a node is current; its record is then read again from the table, so that what a lookup
// or a refused insertion left in the buffer is never written over it.
bool AUnCourant() {
  TFichierSup& f = Fichier();
  if (f.Table == nullptr || Xi::NumeroCourant(f.Table) == 0) return false;
  f.EmpilerPosition();
  f.DepilerPosition();
  return Xi::XiStatut == Xi::kStatutEgal;
}

// Positions on the node (Parent, Nom, Index) whatever its kind; not found, the former record is
// current again.
bool Trouver(int32_t Parent, const std::string& Nom, int32_t Index) {
  E* a = Article();
  a->Parent = Parent;
  FichierSup::EcrireChaineCourte(a->Nom, kCapaciteNom, Nom);
  a->Index = Index;
  return Xi::Trouver(Fichier().Table, kOrdreNom);
}

bool TrouverNumero(int32_t Noeud) {
  Article()->Noeud = Noeud;
  return Xi::Trouver(Fichier().Table, kOrdreNoeud);
}

// Runs `Lecture` with the table's current record saved and restored around it.
template <class F>
auto EnGardantLaPosition(F&& Lecture) {
  TFichierSup& f = Fichier();
  f.EmpilerPosition();
  auto resultat = Lecture();
  f.DepilerPosition();
  return resultat;
}

// Locally, a node that no user changed takes the default tree's option and value again.
bool Retablir(uint8_t Option, const std::string& Texte) {
  const std::string Defaut = Texte.substr(0, kCapaciteValeur);  // as the field holds it
  E* a = Article();
  if (a->Modifie != 0 || (a->Option == Option && Valeur(a->Valeur) == Defaut && Valeur(a->ValeurParDefaut) == Defaut))
    return true;
  return Fichier().Modifier(kCodeModifierValeur, nullptr, 0, [&] {
    Article()->Option = Option;
    FichierSup::EcrireChaineCourte(Article()->Valeur, kCapaciteValeur, Defaut);
    FichierSup::EcrireChaineCourte(Article()->ValeurParDefaut, kCapaciteValeur, Defaut);
  });
}

}  // namespace

TFichierSup& Fichier() {
  static TFichierSup fichier(DescriptionFichier(), &ArbreParDefaut);
  return fichier;
}

E* Article() { return reinterpret_cast<E*>(Fichier().Enregistrement()); }

bool CreerNoeud(int32_t Parent, const std::string& Nom, int32_t Index, uint8_t Genre, const std::string& Valeur,
                uint8_t Option) {
  TFichierSup& f = Fichier();
  if (!NetClient::PasserParServeur() &&
      (f.Table == nullptr || Compteur() >= kNoeudMaximal))
    return false;
  uint8_t stocke[kTailleStockee] = {};
  std::memcpy(stocke + kStockeParent, &Parent, 4);
  FichierSup::EcrireChaineCourte(stocke + kStockeNom, kCapaciteNom, Nom);
  std::memcpy(stocke + kStockeIndex, &Index, 4);
  FichierSup::EcrireChaineCourte(stocke + kStockeValeur, kCapaciteValeur, Valeur);
  FichierSup::EcrireChaineCourte(stocke + kStockeValeurParDefaut, kCapaciteValeur, Valeur);
  stocke[kStockeGenre] = Genre;
  stocke[kStockeOption] = Option;
  const uint32_t avant = Xi::NumeroCourant(f.Table);
  const bool cree = f.Creer(
      kCodeCreerNoeud, stocke + 4, kTailleCreation,
      [&] {
        E* a = Article();
        a->Noeud = static_cast<int32_t>(CompteursNumeros::Suivant(CompteursNumeros::kPSI));
        a->Parent = Parent;
        FichierSup::EcrireChaineCourte(a->Nom, kCapaciteNom, Nom);
        a->Index = Index;
        a->GenreValeur = Genre;
        FichierSup::EcrireChaineCourte(a->Valeur, kCapaciteValeur, Valeur);
        FichierSup::EcrireChaineCourte(a->ValeurParDefaut, kCapaciteValeur, Valeur);
        a->Option = Option;
      },
      false,
      // Only an inserted node takes its number: a refused one leaves the counter as it was.
      [] { ReleverCompteur(Article()->Noeud); });
  // A refused node leaves the buffer: the former current node is read again.
  if (!cree && f.Table != nullptr && avant != 0) (void)Xi::AllerA(f.Table, avant);
  return cree;
}

bool ModifierValeur(const std::string& Texte) {
  if (!AUnCourant()) return false;
  uint8_t donnees[kCapaciteValeur + 1];
  FichierSup::EcrireChaineCourte(donnees, kCapaciteValeur, Texte);
  E* a = Article();
  if (a->Modifie == 1 && std::memcmp(a->Valeur, donnees, sizeof donnees) == 0) return true;
  return Fichier().Modifier(kCodeModifierValeur, donnees, sizeof donnees, [&] {
    std::memcpy(Article()->Valeur, donnees, sizeof donnees);
    Article()->Modifie = 1;
  });
}

bool ModifierOption(uint8_t Option) {
  if (!AUnCourant()) return false;
  if (Article()->Option == Option) return true;
  return Fichier().Modifier(kCodeModifierOption, &Option, 1, [Option] {
    Article()->Option = Option;
    Article()->Modifie = 1;
  });
}

bool SupprimerNoeud() {
  if (!AUnCourant()) return false;
  return Fichier().Supprimer(kCodeSupprimerNoeud, {}, Article()->Noeud);
}

int32_t NoeudGroupe(int32_t Parent, const std::string& Nom, int32_t Index) {
  if (Fichier().Table == nullptr) return 0;
  return EnGardantLaPosition([&] {
    const bool trouve = Nom.empty() && Index == 0 ? Parent > 0 && TrouverNumero(Parent) : Trouver(Parent, Nom, Index);
    return trouve && Article()->GenreValeur == GV_Groupe ? Article()->Noeud : 0;
  });
}

std::string ValeurNoeud(uint8_t Genre, int32_t Parent, const std::string& Nom, int32_t Index) {
  if (Fichier().Table == nullptr) return {};
  return EnGardantLaPosition([&] {
    return Trouver(Parent, Nom, Index) && Article()->GenreValeur == Genre ? Valeur(Article()->Valeur) : std::string();
  });
}

int32_t ValeurEntierNoeud(uint8_t Genre, int32_t Parent, const std::string& Nom, int32_t Index) {
  return TMethodesConversionChaine::TexteVersEntier(ValeurNoeud(Genre, Parent, Nom, Index));
}

bool ModifierValeurNoeud(const std::string& Texte, uint8_t Genre, int32_t Parent, const std::string& Nom,
                         int32_t Index) {
  if (Fichier().Table == nullptr || (Texte.empty() && Genre != GV_Texte)) return false;
  return EnGardantLaPosition(
      [&] { return Trouver(Parent, Nom, Index) && Article()->GenreValeur == Genre && ModifierValeur(Texte); });
}

bool ModifierValeurNoeud(int32_t Valeur, int32_t Parent, const std::string& Nom, int32_t Index) {
  return ModifierValeurNoeud(TMethodesConversionChaine::EntierVersTexte(Valeur, 0), GV_Entier, Parent, Nom, Index);
}

namespace {

// The groups `Nom` under `Parent` in index order.
std::vector<int32_t> GroupesNommes(int32_t Parent, const std::string& Nom) {
  std::vector<std::pair<int32_t, int32_t>> groupes;  // index, node
  TFichierSup& f = Fichier();
  uint8_t cle[kCapaciteNom + 1];
  FichierSup::EcrireChaineCourte(cle, kCapaciteNom, Nom);
  Article()->Parent = Parent;
  std::memcpy(Article()->Nom, cle, sizeof cle);
  Xi::Chercher(f.Table, kOrdreParentNom);
  for (bool encore = Xi::XiStatut == Xi::kStatutEgal; encore; encore = Xi::Suivant(f.Table, kOrdreParentNom)) {
    const E* a = Article();
    if (a->Parent != Parent || Comparai::ComparerChaineCourte(a->Nom, cle, sizeof cle) != 0) break;
    if (a->GenreValeur == GV_Groupe) groupes.emplace_back(a->Index, a->Noeud);
  }
  std::sort(groupes.begin(), groupes.end());
  std::vector<int32_t> noeuds;
  for (const auto& g : groupes) noeuds.push_back(g.second);
  return noeuds;
}

// The positions made distinct as passes repeated until none moves would make them (a position that an
// earlier one holds moves on by one): a group keeps its position unless an earlier group finally holds
// it, and then takes the next one that none of them holds. One walk gives it without the passes.
std::vector<int64_t> PositionsDistinctes(std::vector<int64_t> Positions) {
  std::set<int64_t> prises;
  for (int64_t& p : Positions) {
    while (prises.contains(p)) ++p;
    prises.insert(p);
  }
  return Positions;
}

}  // namespace

bool NumeroterPositions(int32_t Parent, const std::string& Nom) {
  if (Fichier().Table == nullptr) return false;
  const std::vector<int32_t> groupes = EnGardantLaPosition([&] { return GroupesNommes(Parent, Nom); });
  std::vector<int32_t> avecPosition;
  std::vector<int64_t> positions;
  for (int32_t g : groupes)
    if (!ValeurNoeud(GV_Entier, g, "Position", 0).empty()) {
      avecPosition.push_back(g);
      positions.push_back(ValeurEntierNoeud(GV_Entier, g, "Position", 0));
    }
  const std::vector<int64_t> nouvelles = PositionsDistinctes(positions);
  bool ok = true;
  for (std::size_t i = 0; i < nouvelles.size(); ++i) {
    if (nouvelles[i] == positions[i]) continue;
    // A position past the largest integer cannot be written: that group keeps its own.
    if (nouvelles[i] > std::numeric_limits<int32_t>::max()) {
      ok = false;
      continue;
    }
    ok = ModifierValeurNoeud(static_cast<int32_t>(nouvelles[i]), avecPosition[i], "Position", 0) && ok;
  }
  return ok;
}

std::string NomPage(const std::string& Nom, int32_t Index) {
  static const char* const kEspaces[] = {"EspaceEnseignants", "EspaceEtudiants", "EspaceInvites"};
  static const char* const kRessources[] = {"Enseignants", "Diplomes", "Etudiants", "Salles"};
  if (Nom == "PageAccueil") return "PageAccueil";
  if (Nom == "PlanningGeneral") return "Plannings";
  if (Nom == "Espace" && Index >= 0 && Index < 3) return kEspaces[Index];
  if (Nom == "Ressource" && Index >= 0 && Index < 4) return kRessources[Index];
  return {};
}

int32_t DefinirNoeud(int32_t Parent, const std::string& Nom, int32_t Index, uint8_t Option, uint8_t Genre,
                     const std::string& Valeur) {
  TFichierSup& f = Fichier();
  if (f.Table == nullptr) return 0;
  const bool local = !NetClient::PasserParServeur();
  int32_t noeud = EnGardantLaPosition([&]() -> int32_t {
    if (Trouver(Parent, Nom, Index)) {
      if (Article()->GenreValeur == Genre) {
        const int32_t existant = Article()->Noeud;
        if (local) (void)Retablir(Option, Valeur);
        return existant;
      }
      // The node changed kind: here it gives way to the default one; the server decides for itself.
      if (!local || !SupprimerNoeud()) return 0;
    }
    return CreerNoeud(Parent, Nom, Index, Genre, Valeur, Option) ? Article()->Noeud : 0;
  });
  if (noeud != 0) Marques().insert(noeud);
  return noeud;
}

int32_t DefinirGroupe(int32_t Parent, const std::string& Nom, int32_t Index, uint8_t Option) {
  return DefinirNoeud(Parent, Nom, Index, Option, GV_Groupe, {});
}

int32_t DefinirEntier(int32_t Parent, const std::string& Nom, int32_t Index, int32_t Valeur, uint8_t Option) {
  return DefinirNoeud(Parent, Nom, Index, Option, GV_Entier, TMethodesConversionChaine::EntierVersTexte(Valeur, 0));
}

int32_t DefinirBooleen(int32_t Parent, const std::string& Nom, int32_t Index, bool Valeur, uint8_t Option) {
  return DefinirNoeud(Parent, Nom, Index, Option, GV_Booleen, TMethodesConversionChaine::BooleenVersTexte(Valeur));
}

int32_t DefinirTexte(int32_t Parent, const std::string& Nom, int32_t Index, const std::string& Valeur,
                     uint8_t Option) {
  return DefinirNoeud(Parent, Nom, Index, Option, GV_Texte, Valeur);
}

int32_t DefinirCouleur(int32_t Parent, const std::string& Nom, int32_t Index, uint32_t Couleur, uint8_t Option) {
  return DefinirNoeud(Parent, Nom, Index, Option, GV_Couleur, TMethodesConversionGraphique::CouleurEnTexte(Couleur));
}

int32_t DefinirSemaines(int32_t Parent, const std::string& Nom, int32_t Index, const TypeDomaineHebdomadaire& Semaines,
                        uint8_t Option) {
  std::string texte;
  TMethodesDomaine::VersTexteBinaire(Semaines, texte);
  return DefinirNoeud(Parent, Nom, Index, Option, GV_Semaines, texte);
}

int32_t DefinirLibelle(int32_t Parent, const std::string& Nom, int32_t Index, std::string_view Cle, uint8_t Option) {
  return DefinirNoeud(Parent, Nom, Index, Option, GV_Libelle, Traduction::Traduire(Cle));
}

// --- The default tree

namespace {

// The keys of the texts and labels of the default tree.
enum TypeCle : std::size_t {
  kCleNomEtablissement, kCleTexteIntroductif, kCleEspaceEnseignant, kCleEspaceEtudiant, kCleEspaceInvite,
  kCleOngletPersonnel, kCleOngletAutresEnseignants, kCleOngletDiplomes, kCleOngletEtudiants, kCleOngletSalles,
  kCleOngletCompte, kCleMessageRecherche,
  // The labels of the account page, in the order of the page.
  kCleTitrePageCompte, kCleLabelIdentifiant, kCleLabelMotDePasseActuel, kCleLabelNouveauMotDePasse,
  kCleLabelConfirmNouveauMotDePasse, kCleLabelBouton, kCleMessageIdVide, kCleMessagePwdVide,
  kCleMessageNouveauPwdVide, kCleMessagePwdIncoherants, kCleMessageSuccesModificationPwd,
  kCleMessageEchecModificationPwd, kCleMessagePwdSaisiInvalide, kCleMessageModificationImpossible,
  // The labels of the general search.
  kCleRechercheTitre, kCleRechercheLabelNom, kCleRechercheLabelBouton, kCleRechercheMessageAucunResultat,
  kNombreCles
};

std::string_view CleTexte(TypeCle Cle) {
  static constexpr std::string_view kCles[] = {
      "SupPublicationSurInternetNomEtablissement",
      "EcrParametreInternetPublicationTexteIntroductif",
      "SupPublicationSurInternetEspaceEnseignant",
      "SupPublicationSurInternetEspaceEtudiant",
      "SupPublicationSurInternetEspaceInvite",
      "EcrParametreInternetPublicationOngletPersonnel",
      "EcrParametreInternetPublicationOngletAutresEnseignants",
      "EcrParametreInternetPublicationOngletDiplomes",
      "EcrParametreInternetPublicationOngletEtudiants",
      "EcrParametreInternetPublicationOngletSalles",
      "EcrParametreInternetPublicationOngletCompte",
      "EcrParametreInternetPublicationMessageRecherche",
      "EcrParametreInternetPublicationTitrePageCompte",
      "EcrParametreInternetPublicationLabelIdentifiant",
      "EcrParametreInternetPublicationLabelMotDePasseActuel",
      "EcrParametreInternetPublicationLabelNouveauMotDePasse",
      "EcrParametreInternetPublicationLabelConfirmNouveauMotDePasse",
      "EcrParametreInternetPublicationLabelBouton",
      "EcrParametreInternetPublicationMessageIdVide",
      "EcrParametreInternetPublicationMessagePwdVide",
      "EcrParametreInternetPublicationMessageNouveauPwdVide",
      "EcrParametreInternetPublicationMessagePwdIncoherants",
      "EcrParametreInternetPublicationMessageSuccesModificationPwd",
      "EcrParametreInternetPublicationMessageEchecModificationPwd",
      "EcrParametreInternetPublicationMessagePwdSaisiInvalide",
      "EcrParametreInternetPublicationMessageModificationImpossible",
      "EcrParametreInternetPublicationRechercheTitre",
      "EcrParametreInternetPublicationRechercheLabelNom",
      "EcrParametreInternetPublicationRechercheLabelBouton",
      "EcrParametreInternetPublicationRechercheMessageAucunResultat",
  };
  static_assert(std::size(kCles) == kNombreCles);
  return kCles[Cle];
}

// A node of the default tree: its kind and default value, its children for a group.
struct TypeNoeudDefaut {
  enum TypeSource : uint8_t { Litteral, Traduit, Etablissement };
  std::string Nom;
  int32_t Index = 0;
  uint8_t Genre = GV_Groupe;
  uint8_t Option = 0;
  std::string Valeur;  // the value's text, or the key that Traduit translates
  TypeSource Source = Litteral;
  TypeDomaineHebdomadaire Semaines{};
  std::vector<TypeNoeudDefaut> Enfants;
};
using Noeuds = std::vector<TypeNoeudDefaut>;

TypeNoeudDefaut Groupe(std::string Nom, int32_t Index, Noeuds Enfants, uint8_t Option = 0) {
  TypeNoeudDefaut n;
  n.Nom = std::move(Nom);
  n.Index = Index;
  n.Option = Option;
  n.Enfants = std::move(Enfants);
  return n;
}
TypeNoeudDefaut NoeudValeur(std::string Nom, uint8_t Genre, std::string Texte) {
  TypeNoeudDefaut n;
  n.Nom = std::move(Nom);
  n.Genre = Genre;
  n.Valeur = std::move(Texte);
  return n;
}
TypeNoeudDefaut Entier(std::string Nom, int32_t v) {
  return NoeudValeur(std::move(Nom), GV_Entier, TMethodesConversionChaine::EntierVersTexte(v, 0));
}
TypeNoeudDefaut Booleen(std::string Nom, bool v) {
  return NoeudValeur(std::move(Nom), GV_Booleen, TMethodesConversionChaine::BooleenVersTexte(v));
}
TypeNoeudDefaut Texte(std::string Nom, std::string Texte) { return NoeudValeur(std::move(Nom), GV_Texte, std::move(Texte)); }
TypeNoeudDefaut Couleur(std::string Nom, uint32_t c) {
  return NoeudValeur(std::move(Nom), GV_Couleur, TMethodesConversionGraphique::CouleurEnTexte(c));
}
TypeNoeudDefaut TexteTraduit(std::string Nom, TypeCle Cle) {
  TypeNoeudDefaut n = NoeudValeur(std::move(Nom), GV_Texte, std::string(CleTexte(Cle)));
  n.Source = TypeNoeudDefaut::Traduit;
  return n;
}
TypeNoeudDefaut Libelle(std::string Nom, TypeCle Cle) {
  TypeNoeudDefaut n = TexteTraduit(std::move(Nom), Cle);
  n.Genre = GV_Libelle;
  return n;
}
TypeNoeudDefaut Semaines(std::string Nom, const TypeDomaineHebdomadaire& Semaines) {
  TypeNoeudDefaut n = NoeudValeur(std::move(Nom), GV_Semaines, {});
  n.Semaines = Semaines;
  return n;
}

TypeDomaineHebdomadaire Annee() {
  TypeDomaineHebdomadaire d;
  for (int s = 1; s <= 52; ++s) d.Inclure(s);
  return d;
}

// What the default tree leaves to its maker: the colours and sizes of the pages, the spaces with
// their tabs, the search and display groups of the planning pages.
constexpr uint32_t kBleu = 0x3399CC, kBleuClair = 0x66CCFF, kBlanc = 0xFFFFFF, kNoir = 0, kGris = 0xC0C0C0,
                   kGrisFonce = 0x808080;

// The tabs of a space: their number, their label and what they add.
enum class TypeAjoutOnglet : uint8_t { Rien, MotDePasse, Filtre };
struct TypeOngletDefaut {
  int32_t Numero;
  TypeCle Libelle;
};
constexpr TypeOngletDefaut kPersonnel{0, kCleOngletPersonnel}, kAutresEnseignants{1, kCleOngletAutresEnseignants},
    kDiplomes{2, kCleOngletDiplomes}, kEtudiants{3, kCleOngletEtudiants}, kSalles{4, kCleOngletSalles},
    kCompte{5, kCleOngletCompte};

struct TypeEspaceDefaut {
  int32_t Index;
  int32_t GenreRessource;
  bool AvecIdentification;
  TypeAjoutOnglet AjoutListes;  // what the tabs that list others' timetables add
  std::vector<TypeOngletDefaut> Onglets;
};

Noeuds Onglets(const TypeEspaceDefaut& e) {
  Noeuds onglets;
  for (std::size_t i = 0; i < e.Onglets.size(); ++i) {
    const TypeOngletDefaut& o = e.Onglets[i];
    const bool liste = o.Numero != kPersonnel.Numero && o.Numero != kCompte.Numero;
    Noeuds n = {Entier("Position", static_cast<int32_t>(i) + 1), Entier("Numero", o.Numero), Booleen("Actif", true),
                Booleen("ActifEditable", o.Numero != kPersonnel.Numero), Libelle("Libelle", o.Libelle)};
    if (liste && e.AjoutListes == TypeAjoutOnglet::MotDePasse) {
      n.push_back(Booleen("AvecMotDePasse", false));
      n.push_back(Texte("MotDePasse", ""));
    } else if (liste && e.AjoutListes == TypeAjoutOnglet::Filtre) {
      n.push_back(Booleen("FiltreEditable", true));
      n.push_back(Booleen("AvecFiltre", false));
    }
    onglets.push_back(Groupe("Onglet", static_cast<int32_t>(i), std::move(n)));
  }
  return onglets;
}

TypeNoeudDefaut Espace(const TypeEspaceDefaut& e) {
  Noeuds n = {Entier("NumeroGenreEspace", e.Index), Entier("NumeroGenreRessource", e.GenreRessource),
              Booleen("AvecRecherche", true), Booleen("AfficherOnglets", true),
              Booleen("AvecIdentification", e.AvecIdentification), Entier("NumeroGenreRecherche", 0),
              Booleen("SaisieNomDansListe", true), Couleur("EnteteCouleurFond", kBleu),
              Booleen("EnteteRappelNom", true), Texte("EnteteNom", ""), Couleur("EnteteNomCouleurTexte", kBlanc),
              Entier("EnteteNomTailleTexte", 18), Couleur("CouleurFond", kBleuClair),
              Couleur("OngletSelectionneCouleurFond", kBleu), Couleur("OngletSelectionneCouleurTexte", kBlanc),
              Couleur("OngletActifCouleurFond", kBleuClair), Couleur("OngletActifCouleurTexte", kNoir),
              Couleur("OngletInactifCouleurFond", kGris), Couleur("OngletInactifCouleurTexte", kGrisFonce),
              Entier("NombreOnglets", static_cast<int32_t>(e.Onglets.size()))};
  for (TypeNoeudDefaut& o : Onglets(e)) n.push_back(std::move(o));
  // The spaces of teachers, students and guests are published pages.
  return Groupe("Espace", e.Index, std::move(n), e.Index < 3 ? 1 : 0);
}

TypeNoeudDefaut Divers() {
  TypeNoeudDefaut nom = Texte("NomEtablissement", "");
  nom.Source = TypeNoeudDefaut::Etablissement;
  return Groupe("Divers", 0, {nom});
}

TypeNoeudDefaut PageAccueil() {
  Noeuds n = {Entier("NombreAccesEspace", 3),
              TexteTraduit("TexteIntroductif", kCleTexteIntroductif),
              Booleen("AvecEnteteHauteurFixe", true),
              Entier("EnteteHauteurFixe", 150),
              Entier("EnteteHauteurPourcentage", 10),
              Couleur("EnteteCouleurFond", kBleu),
              Couleur("CorpsCouleurFond", kBleuClair),
              Couleur("NomEtablissementCouleurTexte", kBlanc),
              Entier("NomEtablissementTailleTexte", 26),
              Texte("AdresseLogoEtablissement", "http://")};
  const TypeCle noms[] = {kCleEspaceEnseignant, kCleEspaceEtudiant, kCleEspaceInvite};
  for (int32_t i = 0; i < 3; ++i)
    n.push_back(Groupe("AccesEspace", i,
                       {Entier("NumeroGenreEspace", i), Entier("BoutonAccesEspaceLongueur", 200),
                        Entier("BoutonAccesEspaceHauteur", 40), Couleur("BoutonAccesEspaceCouleur", kBleu),
                        TexteTraduit("NomEspace", noms[i]), Couleur("NomEspaceCouleurTexte", kBlanc),
                        Entier("NomEspaceTailleTexte", 14), Texte("TexteInformatif", "")}));
  return Groupe("PageAccueil", 0, std::move(n), 1);
}

Noeuds Espaces() {
  using enum TypeAjoutOnglet;
  const TypeEspaceDefaut espaces[] = {
      {0, 0, true, Filtre, {kPersonnel, kAutresEnseignants, kDiplomes, kEtudiants, kSalles, kCompte}},
      {1, 2, true, Filtre, {kPersonnel, kDiplomes, kCompte}},
      {2, 0, false, MotDePasse, {kAutresEnseignants, kDiplomes, kSalles}},
      {4, 5, true, Filtre, {kDiplomes, kSalles, kCompte}},
  };
  Noeuds n;
  for (const TypeEspaceDefaut& e : espaces) n.push_back(Espace(e));
  return n;
}

// Two groups of a search or display: their position and their number.
Noeuds Recherches(const char* Nom) {
  Noeuds n;
  for (int32_t i = 0; i < 2; ++i)
    n.push_back(Groupe(Nom, i, {Entier("Position", i + 1), Entier("NumeroGenreRecherche", i)}));
  return n;
}

TypeNoeudDefaut Affichage(int32_t i) {
  Noeuds n = {Entier("NumeroAffichage", i), Booleen("AfficherCoursNonPlace", false),
              Booleen("NombreGenresEditable", true), Booleen("PositionGenreEditable", true)};
  for (int32_t g = 0; g < 3; ++g)
    n.push_back(Groupe("Genre", g, {Entier("Position", g + 1), Entier("NumeroGenre", g), Booleen("Autre", false)}));
  return Groupe("Affichage", i, std::move(n));
}

// The planning page of teachers (0), diplomas (1), students (2) or rooms (3).
TypeNoeudDefaut Ressource(int32_t r) {
  Noeuds n = Recherches("Recherche");
  for (TypeNoeudDefaut& s : Recherches("RechercheSecondaire")) n.push_back(std::move(s));
  const Noeuds valeurs = {Booleen("AvecAffichageEnListe", true),
                          Booleen("AvecChoixRecherche", true),
                          Booleen("AvecChoixRechercheSecondaire", false),
                          Booleen("AvecLesCoursDuDiplome", r == 1),
                          TexteTraduit("MessageRecherche", kCleMessageRecherche),
                          Booleen("SaisieNomDansListe", true),
                          Booleen("AfficherDomainePresence", false),
                          Booleen("NePasAfficherSequences", false),
                          Entier("DebutJournee", 0),
                          Entier("FinJournee", 19),
                          Booleen("AvecLibelleLongSurBandeau", true),
                          Booleen("AfficherLibelleLongSurBandeau", false),
                          Booleen("AvecZonesIndisponibilites", true),
                          Booleen("AfficherZonesIndisponibilites", false),
                          Booleen("ActiverPeriodeConsultation", false),
                          Semaines("PeriodeConsultation", Annee()),
                          Booleen("VisualiserCodeMatiere", true),
                          Booleen("VisualiserLibelleMatiere", true),
                          Entier("GenreCouleurCours", 0),
                          Booleen("AfficherEnseignantCivilite", false),
                          Booleen("AfficherSalleLibelleLong", false),
                          Affichage(0),
                          Affichage(1)};
  n.insert(n.end(), valeurs.begin(), valeurs.end());
  return Groupe("Ressource", r, std::move(n), 1);
}

TypeNoeudDefaut PlanningGeneral() {
  Noeuds n = {Booleen("ConserverNumerosCalendaires", false), Semaines("PeriodeConsultation", Annee())};
  for (int32_t r = 0; r < 4; ++r) n.push_back(Ressource(r));
  return Groupe("PlanningGeneral", 0, std::move(n), 1);
}

TypeNoeudDefaut OngletCompte() {
  const std::pair<const char*, TypeCle> libelles[] = {
      {"TitrePageCompte", kCleTitrePageCompte},
      {"LabelIdentifiant", kCleLabelIdentifiant},
      {"LabelMotDePasseActuel", kCleLabelMotDePasseActuel},
      {"LabelNouveauMotDePasse", kCleLabelNouveauMotDePasse},
      {"LabelConfirmNouveauMotDePasse", kCleLabelConfirmNouveauMotDePasse},
      {"LabelBouton", kCleLabelBouton},
      {"MessageIdVide", kCleMessageIdVide},
      {"MessagePwdVide", kCleMessagePwdVide},
      {"MessageNouveauPwdVide", kCleMessageNouveauPwdVide},
      {"MessagePwdIncoherants", kCleMessagePwdIncoherants},
      {"MessageSuccesModificationPwd", kCleMessageSuccesModificationPwd},
      {"MessageEchecModificationPwd", kCleMessageEchecModificationPwd},
      {"MessagePwdSaisiInvalide", kCleMessagePwdSaisiInvalide},
      {"MessageModificationImpossible", kCleMessageModificationImpossible},
  };
  Noeuds n;
  for (const auto& [nom, cle] : libelles) n.push_back(Libelle(nom, cle));
  return Groupe("OngletCompte", 0, std::move(n));
}

Noeuds OngletsGeneraux() {
  Noeuds n;
  for (int32_t genre = 0; genre < 6; ++genre)
    n.push_back(Groupe("OngletGeneral", genre, {Booleen("AvecRecherche", true), Entier("NumeroGenreRessource", genre)}));
  return n;
}

TypeNoeudDefaut RechercheGenerale() {
  return Groupe("RechercheGenerale", 0,
                {Libelle("Titre", kCleRechercheTitre), Libelle("LabelNom", kCleRechercheLabelNom),
                 Libelle("LabelBouton", kCleRechercheLabelBouton),
                 Libelle("MessageAucunResultat", kCleRechercheMessageAucunResultat)});
}

// The top-level groups in the order they are laid.
const Noeuds& ArbreDefaut() {
  static const Noeuds arbre = [] {
    Noeuds a = {Divers(), PageAccueil()};
    for (TypeNoeudDefaut& e : Espaces()) a.push_back(std::move(e));
    a.push_back(PlanningGeneral());
    a.push_back(OngletCompte());
    for (TypeNoeudDefaut& o : OngletsGeneraux()) a.push_back(std::move(o));
    a.push_back(RechercheGenerale());
    return a;
  }();
  return arbre;
}

std::string ValeurDefaut(const TypeNoeudDefaut& n) {
  switch (n.Source) {
    case TypeNoeudDefaut::Traduit:
      return Traduction::Traduire(n.Valeur);
    case TypeNoeudDefaut::Etablissement: {
      const std::string& nom = SupParam::Parametres().NomEtablissement;
      return nom.empty() ? Traduction::Traduire(CleTexte(kCleNomEtablissement)) : nom;
    }
    default:
      break;
  }
  if (n.Genre != GV_Semaines) return n.Valeur;
  std::string texte;
  TMethodesDomaine::VersTexteBinaire(n.Semaines, texte);
  return texte;
}

// Lays a node and, for a group that could be laid, its children. False when a node was not laid.
bool Poser(int32_t Parent, const TypeNoeudDefaut& n) {
  const int32_t noeud = DefinirNoeud(Parent, n.Nom, n.Index, n.Option, n.Genre, ValeurDefaut(n));
  // A group that could not be laid keeps its children out: they would become top-level nodes.
  if (noeud == 0) return false;
  bool ok = true;
  for (const TypeNoeudDefaut& e : n.Enfants) ok = Poser(noeud, e) && ok;
  return ok;
}

// Deletes every node the tree being laid did not name.
bool SupprimerNonMarques() {
  TFichierSup& f = Fichier();
  std::vector<int32_t> aSupprimer;
  f.EmpilerPosition();
  for (bool encore = Xi::Premier(f.Table, kOrdreNoeud); encore; encore = Xi::Suivant(f.Table, kOrdreNoeud))
    if (!Marques().contains(Article()->Noeud)) aSupprimer.push_back(Article()->Noeud);
  bool ok = true;
  for (int32_t noeud : aSupprimer) ok = TrouverNumero(noeud) && SupprimerNoeud() && ok;
  f.DepilerPosition();
  return ok;
}

}  // namespace

bool ArbreParDefaut() {
  if (Fichier().Table == nullptr) return false;
  bool ok = true;
  const bool verdict = Fichier().ContenuParDefaut(kCodeArbreParDefaut, [&ok] {
    Marques().clear();
    for (const TypeNoeudDefaut& n : ArbreDefaut()) ok = Poser(0, n) && ok;
    ok = SupprimerNonMarques() && ok;
    Marques().clear();
  });
  return verdict && ok;
}

}  // namespace SupPublicationSurInternet
