// The parameters of the base's publication as a web site (".PSI"): a tree of named nodes whose values
// are texts (home page, the spaces of teachers, students and guests, the planning pages, the account
// page). A node is named by its parent's node number, its name and its index among the siblings of
// that name; a value is looked up with its kind as well. The unit lays the default tree, reads and
// changes values, and sends its changes to the server or, in exclusive mode, applies them here.
// Also the colour texts of the published pages. Main thread only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/fichiers/FichierSup.h"
#include "core/values/DomaineHebdomadaire.h"

// As the file's declaration lays the record out.
struct TypeEnregistrementPublication {
  int32_t Identifiant;
  int32_t Noeud;   // the node number, unique, from 1
  int32_t Parent;  // 0 for a top-level node
  uint8_t Nom[31];  // counted string of 30
  uint8_t Bourrage;
  int32_t Index;  // rank among the siblings of the same name
  uint8_t GenreValeur;
  uint8_t Valeur[256];           // counted string of 255
  uint8_t ValeurParDefaut[256];  // counted string of 255
  uint8_t Option;   // 0 or 1, given by the default tree
  uint8_t Modifie;  // 1 once a user changed the value
  uint8_t Fin;
};
static_assert(sizeof(TypeEnregistrementPublication) == 564);

// Colours (0x00BBGGRR) as the published pages write them.
class TMethodesConversionGraphique {
 public:
  TMethodesConversionGraphique() = delete;
  // "#" then red, green and blue as two upper-case hexadecimal digits each; the high byte is ignored.
  static std::string CouleurEnTexte(uint32_t Couleur);
};

namespace SupPublicationSurInternet {

inline constexpr int32_t kPlace = 39;
inline constexpr uint32_t kTailleStockee = 560;
inline constexpr int32_t kCapaciteNom = 30, kCapaciteValeur = 255;
// Orders: node number (unique); identifier; parent, name and index (unique); parent; parent and name.
inline constexpr int32_t kOrdreNoeud = 1, kOrdreIdentifiant = 2, kOrdreNom = 3, kOrdreParent = 4,
                         kOrdreParentNom = 5;

inline constexpr uint32_t kCodeArbreParDefaut = 0x802D0000;
inline constexpr uint32_t kCodeCreerNoeud = 0x802D0100;
inline constexpr uint32_t kCodeModifierValeur = 0x802D0201;
inline constexpr uint32_t kCodeModifierOption = 0x802D0203;
inline constexpr uint32_t kCodeSupprimerNoeud = 0x802D0300;

// The kinds of values, as the stored record holds them.
enum TypeGenreValeur : uint8_t {
  GV_Groupe = 0,    // no value of its own
  GV_Entier = 1,    // decimal text
  GV_Booleen = 2,   // "vrai" or "faux"
  GV_Texte = 3,
  GV_Couleur = 4,   // "#RRGGBB"
  GV_Semaines = 8,  // 52 characters "0" or "1", week 1 first
  GV_Libelle = 9,   // a text translated from a key when the default is made
};

TFichierSup& Fichier();
TypeEnregistrementPublication* Article();

// --- Requests on the current node (a change or a deletion without a current node answers False).
// Creates a node whose value and default value are `Valeur`, modified flag 0. As a client the server
// gets the stored record without its node number and answers the new node's identifier, which is
// then made current; locally the node takes the next number of the base's node counter (refused when
// the counter has no positive number left) and becomes current.
bool CreerNoeud(int32_t Parent, const std::string& Nom, int32_t Index, uint8_t Genre, const std::string& Valeur,
                uint8_t Option);
// A user's change of the value (the modified flag becomes 1). Nothing is sent when the value and the
// flag are already those: the answer is then True.
bool ModifierValeur(const std::string& Valeur);
// A change of the option byte, which also sets the modified flag; nothing is sent when unchanged.
bool ModifierOption(uint8_t Option);
// Deletes the current node; the server gets its node number.
bool SupprimerNoeud();

// --- The tree (every operation keeps the table's current record).
// Lays the default tree. As a client: one request without data, the server lays it and sends the
// nodes. Locally: every node of the tree is defined, then every node the tree did not name is deleted.
bool ArbreParDefaut();
// One step of the default tree: the node of that kind is kept (and, when no user changed it, reset to
// the default's option and value), or created. Locally a node of another kind at the same place is
// replaced. The node's number, 0 when it could not be laid.
int32_t DefinirNoeud(int32_t Parent, const std::string& Nom, int32_t Index, uint8_t Option, uint8_t Genre,
                     const std::string& Valeur);
int32_t DefinirGroupe(int32_t Parent, const std::string& Nom, int32_t Index, uint8_t Option = 0);
int32_t DefinirEntier(int32_t Parent, const std::string& Nom, int32_t Index, int32_t Valeur, uint8_t Option = 0);
int32_t DefinirBooleen(int32_t Parent, const std::string& Nom, int32_t Index, bool Valeur, uint8_t Option = 0);
int32_t DefinirTexte(int32_t Parent, const std::string& Nom, int32_t Index, const std::string& Valeur,
                     uint8_t Option = 0);
int32_t DefinirCouleur(int32_t Parent, const std::string& Nom, int32_t Index, uint32_t Couleur, uint8_t Option = 0);
int32_t DefinirSemaines(int32_t Parent, const std::string& Nom, int32_t Index, const TypeDomaineHebdomadaire& Semaines,
                        uint8_t Option = 0);
// The value is the translation of the key.
int32_t DefinirLibelle(int32_t Parent, const std::string& Nom, int32_t Index, std::string_view Cle,
                       uint8_t Option = 0);

// The node number of the group, 0 when absent. With an empty name and index 0, `Parent` is the number
// of the group looked for.
int32_t NoeudGroupe(int32_t Parent, const std::string& Nom, int32_t Index);
// The value of the node of that kind, empty when there is none.
std::string ValeurNoeud(uint8_t Genre, int32_t Parent, const std::string& Nom, int32_t Index);
// The value read as an integer, 0 when absent or not a number.
int32_t ValeurEntierNoeud(uint8_t Genre, int32_t Parent, const std::string& Nom, int32_t Index);
// A user's change of an existing node's value. An empty text changes nothing (False) unless the kind
// is a text. False when the node of that kind does not exist or the change is refused.
bool ModifierValeurNoeud(const std::string& Texte, uint8_t Genre, int32_t Parent, const std::string& Nom,
                         int32_t Index);
// The integer form: the decimal text of the value, kind integer.
bool ModifierValeurNoeud(int32_t Valeur, int32_t Parent, const std::string& Nom, int32_t Index);
// Makes the "Position" values of the groups `Nom` under `Parent` distinct, in index order: a group
// whose Position an earlier one holds moves on by one until it is free. The new positions are
// computed first and each group gets at most one change; False when a change was refused.
bool NumeroterPositions(int32_t Parent, const std::string& Nom);
// The page name of a group; empty for a group that is no page.
std::string NomPage(const std::string& Nom, int32_t Index);

}  // namespace SupPublicationSurInternet
