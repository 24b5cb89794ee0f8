// The translation dictionary. Every user-visible text of the system is looked up at run time:
// messages by their key (the unit's name followed by an identifier, "NetUserLoginIncorrect"),
// resource strings by their resource id. One table of translations is built from two sources: the
// "CHAINES" resource of the current resource module (the language module, else the program itself),
// which gives the translated texts, and the resource-string map "DRC" of every module of the
// process, which gives the name, id, owning module and built-in text of every resource string.
// Keys match without regard to case; a key that has no row gives an empty text.
//
// The shared dictionary is made when the unit starts (or at the first use after a new start), held
// by its callers while they read it, replaced when
// the language changes (it listens to the language change) and freed at the end of the program.
// One lock guards its life, its lookups and the language change; the found text is converted into
// the caller's code page after the lookup. Translation happens on the main thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/objects/ObjetInterfacable.h"
#include "objectdb/articles/Article.h"
#include "objectdb/localisation/ChangementDeLangue.h"
#include "objectdb/tables/CustomTable.h"

class TChaineUnicode;
class TFragmentHtml;
class TIndex;

// One translation: its published properties are the table's columns.
class TTraduction : public TArticle {
  NV_DECLARE_CLASS(TTraduction)
 public:
  using TArticle::TArticle;
  static constexpr int32_t kCle = 0, kIdRessource = 1, kModule = 2, kChaineUnicode = 3, kFragmentHtml = 4;
  static const TInfoPropriete kProprietes[];
};

// The table of translations of a dictionary: it belongs to no base and owns the texts of its rows.
// Index "IDX_TraductionParCle" orders the rows by key (several rows may share one; the first row
// made comes first) and "IDX_TraductionParIdRessource" by resource id then module, unique when not
// zero.
class TTableTraductions : public TCustomTable {
  NV_DECLARE_CLASS(TTableTraductions)
 public:
  TTableTraductions();
  explicit TTableTraductions(TBlank b) : TCustomTable(b) {}
  // Frees every row's text objects, then the indexes and the table.
  ~TTableTraductions() override;

  TIndex* IndexParCle = nullptr;
  TIndex* IndexParIdRessource = nullptr;

  // A new row that takes Chaine over; False when the id index refuses it (an id and module that
  // another row has), and then nothing is left behind and Chaine is freed.
  bool Creer(const std::string& Cle, int32_t IdRessource, uint32_t Module, TChaineUnicode* Chaine);
  // Gives a row its resource id and module; False (the row unchanged) when the id index refuses.
  bool ModifierRessource(uint32_t Ligne, int32_t IdRessource, uint32_t Module);
  // Removes a row and frees its texts.
  void Supprimer(uint32_t Ligne);
  // The first row of a key, or kAucuneLigne.
  uint32_t ChercherParCle(std::string_view Cle);
  uint32_t ChercherParRessource(int32_t IdRessource, uint32_t Module);
  // The text object of a row in use (nil otherwise).
  TChaineUnicode* Chaine(uint32_t Ligne) const;
  std::string Cle(uint32_t Ligne) const;

 private:
  uint32_t Chercher(TIndex* Index);
  // The one row of the search keys, in a table of the same class beside this one.
  TCustomTable* cles_ = nullptr;
};

class TDictionnaire : public TObjetInterfacable, public INotifiableChangementDeLangue {
  NV_DECLARE_CLASS(TDictionnaire)
 public:
  TDictionnaire();
  explicit TDictionnaire(TBlank b) : TObjetInterfacable(b) {}
  // Leaves the listeners and frees both tables.
  ~TDictionnaire() override;

  TTableTraductions* Traductions = nullptr;
  TTableTraductions* TraductionsEnAttente = nullptr;
  TypeHandleModule ModuleCourant = ModuleRessources::kAucunModule;
  TypeHandleModule ModuleEnAttente = ModuleRessources::kAucunModule;

  // The shared dictionary, made on first use; nil once the program's end has freed it (a late
  // translation then finds no text instead of building a dictionary during shut-down).
  static TDictionnaire* Acquerir();
  static void Liberer();
  static void DemanderLiberation();
  static void Verrouiller();
  static void Deverrouiller();

  TChaineUnicode* ChercherCle(std::string_view Cle);
  TChaineUnicode* ChercherRessource(int32_t IdRessource, uint32_t Module);
  // The rows of Module's "CHAINES" (none when it has no such resource).
  static void ChargerChaines(TypeHandleModule Module, TTableTraductions* Table);
  // The resource-string map of Module: a name with a row gets the id and module, another gets a row
  // with its built-in text.
  static void ChargerDRC(TTableTraductions* Table, std::string_view TexteDRC, TypeHandleModule Module);
  static void ChargerDRCDesModules(TTableTraductions* Table);

  bool PreparerChangement(TypeHandleModule Module) override;
  void ValiderChangement(TypeHandleModule Module) override;

  // Rebuilds the current table from the current module.
  void Recharger();

 protected:
  void* GetInterfaceEntry(const TGUID& iid) override;
};

namespace Traduction {

// The text of a key in a code page (0: the system's ANSI code page); empty when no row has the key.
void Traduire(std::string_view Cle, int32_t PageDeCode, std::string& Texte);
// The same in code page 0.
void TraduireCle(std::string_view Cle, std::string& Texte);
std::string Traduire(std::string_view Cle);
// The text of a resource string; empty when no row has this id and module.
void TraduireRessource(int32_t IdRessource, uint32_t Module, int32_t PageDeCode, std::string& Texte);
void TraduireRessourceUTF8(int32_t IdRessource, uint32_t Module, std::string& Texte);

// Gives a key a text in the current table, replacing the text of its first row or adding a row;
// an empty text removes the key's rows (tests and tools). Vider rebuilds the table from the current
// module, dropping those texts.
void DefinirTexte(std::string_view Cle, std::string_view Texte);
void Vider();

// Wires the resource strings and the program's resource-string map to the dictionary, and builds
// the dictionary (which chooses the language for the user's locale).
void Initialiser();
// Asks for the dictionary's release.
void Finaliser();

}  // namespace Traduction

namespace HooksTraduction {
// The resource module of the program's module; the first call chooses the language for the user's
// locale (once per process).
TypeHandleModule ModuleDeRessourcesDuProgramme();
}  // namespace HooksTraduction
