// The column of the object database: a table stores its articles column by column, one column per
// published field of the article class, each holding that field's value for every row (0-based row
// numbers). TCustomChamp is the contract the table, the indexes and the articles use; the typed
// columns (TemplateChamp.h) store the values. This unit also holds the process-wide registry that
// gives the column class storing a type name, and the parameter that carries a table's structure
// copy to the copied columns.
//
// Main thread only. A column belongs to its table, which frees it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/arrays/ArrayOfInteger.h"
#include "core/diagnostics/DelegueTracable.h"
#include "core/objects/ObjetEvent.h"
#include "objectdb/parameters/CustomParametre.h"
#include "objectdb/properties/ReferenceArticle.h"
#include "objectdb/schema/ExportXML.h"

class TCustomTable;
class TBase;
class TInfosAccesPourChamp;
class TCustomArray;
struct TRechercheIndex;
class TClesIndex;

class TCustomChamp : public TObjetAbonnant, public ISaveToXMLNode {
 public:
  // The descriptor of a column class carries its class methods: the virtual constructor and the
  // type names the class stores.
  struct Class : TClass {
    using TClass::TClass;
    // Parametres: the table's page size as the one element (no column reads it). LibererElements:
    // the value array owns its elements.
    virtual TCustomChamp* Creer(const std::string& Nom, TCustomTable* Table, const std::vector<int32_t>& Parametres,
                                bool LibererElements) const = 0;
    // The type names, in the order the class gives them; none at this level.
    virtual std::vector<std::string> NomsDeType() const { return {}; }
  };
  static const Class* StaticClass();
  const TClass* ClassType() const override { return StaticClass(); }

  // Sets Nom and Table; the column number is the table's current column count. A field with an
  // access path (a computed field) gets the controller of its path. EventId is -2 in a transient
  // table, else a new event id.
  TCustomChamp(const std::string& Nom, TCustomTable* Table, const std::vector<int32_t>& Parametres,
               bool LibererElements);
  explicit TCustomChamp(TBlank b) : TObjetAbonnant(b) {}
  ~TCustomChamp() override;

  std::string Nom;
  TCustomTable* Table = nullptr;
  int32_t NumeroChamp = 0;
  // The controller of a computed column's access path (owned); nil for a stored column.
  TInfosAccesPourChamp* InfosAccesPourChamp = nullptr;
  // The rows of a computed column whose stored value is current (sorted, no duplicates).
  TArrayOfInteger* LignesCalculees = nullptr;
  TypeEventId EventId = 0;

  // The first type name of the class, empty when it has none.
  void NomDuType(std::string& Texte) const;
  // A computed column takes its values through its access path.
  bool EstCalcule() const { return InfosAccesPourChamp != nullptr; }
  // A column of the path changed since the last walk: the cached values are stale.
  bool CalculsPerimes() const;
  bool LigneACalculer(int32_t Ligne) const;

  virtual int32_t NombreValeurs() const = 0;
  virtual bool EstReference() const { return false; }
  // Takes Source's name and column number and belongs to TableDestination from then on; a typed
  // column then copies the values.
  virtual void AssignerStructure(TCustomChamp* Source, TBase* BaseSource, TBase* BaseDestination,
                                 TCustomTable* TableSource, TCustomTable* TableDestination);
  // True when the column holds no value at the row (the table's first column answers for the row).
  virtual bool LigneVide(int32_t Ligne) const = 0;
  virtual int32_t PremiereLigneVide() const = 0;
  // Store the type's absent value at the row (a transient row reset; a row just allocated).
  virtual void ViderLigne(int32_t Ligne) = 0;
  virtual void InitialiserLigne(int32_t Ligne) = 0;
  // Empties the row, publishes EventId and answers whether the row held a value.
  virtual bool LibererLigne(int32_t Ligne) = 0;
  // The row holds the type's absent value (an empty row does not).
  virtual bool ValeurAbsente(int32_t Ligne) = 0;
  // Compares Autre's value at LigneAutre (Autre of the same class) with this column's at Ligne:
  // -1, 0, 1, or kComparaisonPositionVide when this row is empty.
  virtual int8_t ComparerLignes(TCustomChamp* Autre, int32_t LigneAutre, int32_t Ligne, int32_t Mode,
                                TObject* Parametre) = 0;
  // The binary search of a one-column index for Autre's value at LigneAutre (Autre of the same
  // class), in Mode, reversed when Decroissant (RechercheIndex.h).
  virtual void ChercherDansIndex(TCustomChamp* Autre, int32_t LigneAutre, int32_t Mode, bool Decroissant,
                                 TRechercheIndex& Recherche);
  // A copy of this column's values for an index keyed on it alone (ClesIndex.h), stale until its
  // first search; nullptr for a column whose values are not plain (fixed-size, compared by value).
  virtual std::unique_ptr<TClesIndex> CreerClesIndex();
  // Orders rows in use (given in ascending row order) by this column's values in Mode, reversed when
  // Decroissant, equal values keeping their row order: the bulk placement of an index. A stable merge
  // sort, which stays within bounds even for a comparison with a tolerance that is not transitive.
  virtual void TrierLignes(std::vector<uint32_t>& Lignes, int32_t Mode, bool Decroissant);
  // Copies Source's value at LigneSource into Ligne and publishes EventId.
  virtual void CopierValeur(TCustomChamp* Source, int32_t LigneSource, int32_t Ligne) = 0;
  virtual bool IndexerLigne(int32_t /*Ligne*/) { return true; }
  virtual void DesindexerLigne(int32_t /*Ligne*/, bool /*Forcer*/) {}
  virtual void Reference(int32_t Ligne, TypeReferenceArticle& Reference);
  // The row's value into / from a typed parameter of the same type (EInvalidCast otherwise).
  virtual void EcrireValeur(int32_t Ligne, TCustomParametre* Parametre) = 0;
  virtual void LireValeur(int32_t Ligne, TCustomParametre* Parametre) = 0;
  // A new array of the column's type (32 per page, dynamic, not owning) holding Nombre absent values.
  virtual TCustomArray* CreerTableauValeurs(int32_t Nombre) = 0;
  // The row's value replaces the element of logical index Indice when there is one, else is appended.
  virtual void AjouterValeurATableau(int32_t Ligne, TCustomArray* Tableau, int32_t Indice) = 0;
  // The reverse: the element of logical index Indice of an array made by CreerTableauValeurs is
  // stored back at the row (a refused write puts the row's former values back this way), and
  // EventId is published.
  virtual void RestaurerValeur(TCustomArray* Tableau, int32_t Indice, int32_t Ligne) = 0;
  virtual void TexteValeur(int32_t Ligne, std::string& Texte) = 0;

  // Tracing (empty texts while the trace is switched off): no lines and no elements at this level;
  // Tracer gives the "classe" block of the two; TexteTrace is Tracer without detail on the default
  // tracer.
  virtual void TracerProprietes(TCustomTraceur* Traceur, std::string& Texte);
  virtual void TracerElements(bool Detail, TCustomTraceur* Traceur, std::string& Texte);
  virtual void Tracer(bool Detail, TCustomTraceur* Traceur, std::string& Texte);
  virtual void TexteTrace(std::string& Texte);
  static void SetNomChampPublie(TCustomChamp* Champ, const std::string& Nom) { Champ->Nom = Nom; }
  bool TraceActive() const { return delegue_.TraceActive(); }

  // The names under which the trace delegate reaches the operations above.
  void TracerEntete(TCustomTraceur* Traceur, std::string& Texte) { TracerProprietes(Traceur, Texte); }
  void TracerContenu(bool Detail, TCustomTraceur* Traceur, std::string& Texte) { TracerElements(Detail, Traceur, Texte); }
  void TracerComplet(bool Detail, TCustomTraceur* Traceur, std::string& Texte) { Tracer(Detail, Traceur, Texte); }
  void TracerResume(std::string& Texte) { TexteTrace(Texte); }

  // A "champ" element with the attribute "nom" and, unless Partie is PX_Data, "type".
  void SaveToXMLNode(TNoeudXML Parent, TypePartieXML Partie, TNoeudXML& Noeud) override;

 protected:
  void* GetInterfaceEntry(const TGUID& iid) override;
  // The event id of a column of Table: -2 for a transient table, else a new one.
  static TypeEventId EventIdPour(TCustomTable* Table);

 private:
  // Empty, sorted, without duplicates.
  void CreerLignesCalculees();

  TPorteurDelegue<TCustomChamp> delegue_{this};
};

// A column class reference.
using TClasseChamp = const TCustomChamp::Class*;

// The parameter handed to the copy of a column into another table: where the copy comes from and
// where it goes. Its tag holds the position of the element being copied.
class TParametreAssignationChamp : public TCustomParametre {
  NV_DECLARE_CLASS(TParametreAssignationChamp)
 public:
  // Collected: the collector frees it at its next pass.
  TParametreAssignationChamp(TBase* BaseSource, TBase* BaseDestination, TCustomTable* TableSource,
                             TCustomTable* TableDestination);
  explicit TParametreAssignationChamp(TBlank b) : TCustomParametre(b) {}

  TBase* BaseSource = nullptr;
  TBase* BaseDestination = nullptr;
  TCustomTable* TableSource = nullptr;
  TCustomTable* TableDestination = nullptr;
};

namespace CustomChamp {
// Registers a column class under each of its type names (upper-cased); a name already registered
// keeps its first class.
void EnregistrerClasseChamp(TClasseChamp Classe);
// The column class registered for a type name, whatever its case; nil when none is.
TClasseChamp ClasseChampDeNom(const std::string& NomType);
// Frees the registry.
void Finaliser();
}  // namespace CustomChamp
