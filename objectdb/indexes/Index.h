// The index of a table of the object database: the table's rows kept in the order of a key made of
// one or more columns, each ascending or descending, with an optional uniqueness rule. Rows whose key
// may have changed wait on a pending list and are placed when the index is next searched or walked;
// an index with a uniqueness rule places them at once, so that a duplicate is refused when it is
// stored. A key of one column of plain values (integers, dates...) is searched over a copy of the
// placed rows' keys kept beside the row list (ClesIndex.h), rather than through the column.
// TIndexReferences is the index of one reference column by the article it designates.
//
// Invariants: a row is never both placed and pending; an index of a table holds every row of the
// table in one of the two lists; placed rows are in key order, equal keys by ascending row number.
// A search never misses a row of the table: the merge places every pending row, and a row that the
// uniqueness rule refuses at that point is placed beside its equal all the same and counted in
// DerniersRefus (the row is already in the table; the index only reports it).
//
// Main thread only. The index belongs to its table's index list or to its reference column.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/diagnostics/Trace.h"
#include "objectdb/arrays/TableauIndices.h"
#include "objectdb/indexes/ClesIndex.h"
#include "objectdb/parameters/CustomParametre.h"
#include "objectdb/properties/ReferenceArticle.h"
#include "objectdb/properties/TypeDBNoyau.h"
#include "objectdb/schema/ExportXML.h"

class TArticle;
class TBase;
class TCustomChamp;
class TCustomFiltreArticle;
class TCustomTable;
class TListeArticles;

// One key part, in key order.
struct TypeCleIndex {
  TCustomChamp* Champ = nullptr;  // the column of the index's table, not owned
  int32_t NumeroChamp = 0;
  uint8_t Decroissant = 0;  // 1 for a descending part
  int32_t Mode = 0;         // the comparison mode handed to the column
};

// A key part as its creator gives it.
struct TypeDefinitionCle {
  int32_t NumeroChamp = 0;
  bool Decroissant = false;
  int32_t Mode = 0;
};

// The search results of ChercherArticle and ChercherReference.
inline constexpr uint8_t kIndexTrouve = 0;       // found at Position
inline constexpr uint8_t kIndexAvant = 1;        // not found; Position is where it would go
inline constexpr uint8_t kIndexApresDernier = 2;  // not found; it would go after the last row

class TIndex : public TCustomTracable, public ISaveToXMLNode {
  NV_DECLARE_CLASS(TIndex)
 public:
  // The key parts given as records. With a table, every row of the table becomes pending (in row
  // order) and, under a uniqueness rule, is placed at once; DerniersRefus tells how many rows the
  // rule refused then.
  TIndex(const std::string& Nom, TCustomTable* Table, const std::vector<TypeDefinitionCle>& Cles,
         TypeRegleUnicite Regle);
  // The key parts given as consecutive triples (column number, descending flag, mode); a remainder
  // of one or two values is ignored.
  TIndex(const std::string& Nom, TCustomTable* Table, const std::vector<int32_t>& Triples, TypeRegleUnicite Regle);
  explicit TIndex(TBlank b) : TCustomTracable(b) {}
  // EI_Detruite first, so that later notifications of unforced rows are ignored.
  ~TIndex() override;

  std::string Nom;
  TCustomTable* Table = nullptr;
  TypeEtatIndex Etat = EI_Valide;
  TypeRegleUnicite RegleUnicite = ruiSansRegle;
  TypeEnsembleOctets ChampsConcernes{};
  int32_t NombreChamps = 0;
  std::vector<TypeCleIndex> Cles;
  TTableauIndices* LignesTriees = nullptr;  // owned, positional
  TTableauIndices* LignesATrier = nullptr;  // owned, an ordered set
  // Rows that the uniqueness rule refused during the last merge of pending rows and that were placed
  // all the same (a search with nothing pending keeps the count).
  int32_t DerniersRefus = 0;

  // Every placed row waits to be placed again (a computed key went stale; references were carried
  // over to another base).
  void Reinitialiser();
  // Appends a key part on the table's column of that number.
  void AjouterCle(int32_t NumeroChamp, bool Decroissant, int32_t Mode);

  // Maintenance by the table (and the reference column). InsererLigne answers False when the
  // uniqueness rule refuses the row, which then stays where it was.
  [[nodiscard]] bool InsererLigne(uint32_t Ligne, const TypeEnsembleOctets& ChampsModifies, bool Nouvelle,
                                  bool Forcer);
  void RetirerLigne(uint32_t Ligne, const TypeEnsembleOctets& ChampsModifies, bool Forcer);
  // Whether storing the article's values would break the uniqueness rule.
  bool Doublon(TArticle* Article, const TypeEnsembleOctets& ChampsModifies);

  // Places every pending row; answers how many the uniqueness rule refused (placed all the same).
  int32_t Trier();

  // 0, 1 or 2 (kIndexTrouve, kIndexAvant, kIndexApresDernier); Position is 1-based (0x7FFFFFFF with
  // 2) and is also stored in the article's Position. Doublon: a row with an equal key exists.
  uint8_t ChercherArticle(TArticle* Article, int32_t& Position, bool& Doublon);
  // The position of a placed row; the number of placed rows + 1 when the row is not placed.
  int32_t PositionDeLigne(uint32_t Ligne);
  // The row at a 1-based position; 0x7FFFFFFF when there is none.
  uint32_t LigneDePosition(int32_t Position);
  // A new collected list of the references of every row, in key order.
  TListeArticles* ListeArticles();

  // Row comparisons in key order: -1, 0 or 1.
  int8_t ComparerLignes(uint32_t L1, uint32_t L2);
  int8_t ComparerArticle(TArticle* Article, uint32_t L2);

  // This index becomes a copy of Source bound to TableDestination (the other values are not used).
  virtual void Assigner(TIndex* Source, TBase* BaseSource, TBase* BaseDestination, TCustomTable* TableSource,
                        TCustomTable* TableDestination);

  // "Nom", "Etat", "Table de classe", "RegleUnicite", "NombreChamps", "ChampsConcernes" and the
  // counts of placed and pending rows after the inherited header.
  void TracerEntete(TCustomTraceur* Traceur, std::string& Texte) override;
  // The full traces of the placed rows, then of the pending rows.
  void TracerContenu(bool Detail, TCustomTraceur* Traceur, std::string& Texte) override;

  // Only for PX_Schema: an "index" element ("nom", "unicite") with one "champ" per key part ("sens",
  // "mode"); nothing (an empty Noeud) for the other parts.
  void SaveToXMLNode(TNoeudXML Parent, TypePartieXML Partie, TNoeudXML& Noeud) override;

  int32_t NombreTriees() const { return LignesTriees->NombreElements(); }
  int32_t NombreATrier() const { return LignesATrier->NombreElements(); }

 protected:
  TIndex() = default;
  void* GetInterfaceEntry(const TGUID& iid) override;
  // Makes both row lists (page 512) and stores the name and the table.
  void InitialiserBase(const std::string& Nom, TCustomTable* Table);

 private:
  void Creer(const std::string& Nom, TCustomTable* Table, const std::vector<TypeDefinitionCle>& Cles,
             TypeRegleUnicite Regle);
  // Where Ligne is (Presente) or goes among the placed rows; Doublon: an equal key was met.
  void ChercherPosition(uint32_t Ligne, int32_t& Position, bool& Doublon, bool& Presente);
  int8_t ComparerColonnes(TCustomChamp* const* Colonnes, int32_t LigneArticle, uint32_t L2);
  bool ClesLigneAbsentes(uint32_t Ligne);
  bool ClesArticleAbsentes(TArticle* Article);
  bool Concerne(const TypeEnsembleOctets& ChampsModifies) const;
  // The rule refuses a row whose key equals another's (unless every key value is absent under
  // ruiCleUniqueSiNonNulle).
  bool Refuse(uint32_t Ligne, bool Doublon);
  // Merge of many pending rows at once: sorted among themselves, then merged with the placed rows.
  int32_t FusionnerEnBloc();
  // Every change of the placed rows goes through these, which keep the key copy in step.
  void Placer(uint32_t Ligne, int32_t Position);
  void RetirerPosition(int32_t Position);
  void RemplacerPlacees(std::vector<uint32_t> Lignes);
  // The key copy for the current key parts: one for a key of one column of plain values.
  void PreparerClesPlacees();

  // The keys of the placed rows in their order, for a key of one column of plain values (searched
  // without reading the column at each step); nullptr otherwise.
  std::unique_ptr<TClesIndex> clesPlacees_;
};

// The index of one reference column by the article its rows designate: one ascending key part,
// mode 0, no rule, no name. The column places and removes its rows itself.
class TIndexReferences : public TIndex {
  NV_DECLARE_CLASS(TIndexReferences)
 public:
  explicit TIndexReferences(TCustomChamp* Champ);
  explicit TIndexReferences(TBlank b) : TIndex(b) {}

  // As ChercherArticle, by reference value (table, then row); Trouve: a row designates Reference.
  uint8_t ChercherReference(const TypeReferenceArticle& Reference, int32_t& Position, bool& Trouve);
  // The rows designating Reference, in index order.
  void LignesDe(const TypeReferenceArticle& Reference, std::vector<int32_t>& Lignes);
  // A new collected list of the rows designating Reference that the filter accepts.
  TListeArticles* ListeReferencants(const TypeReferenceArticle& Reference, TCustomFiltreArticle* Filtre);
};

// The arguments of the copy of a table's list of indexes. Collected: freed at the collector's next
// pass.
class TParametreAssignationIndex : public TCustomParametre {
  NV_DECLARE_CLASS(TParametreAssignationIndex)
 public:
  TParametreAssignationIndex(TBase* BaseSource, TBase* BaseDestination, TCustomTable* TableSource,
                             TCustomTable* TableDestination);
  explicit TParametreAssignationIndex(TBlank b) : TCustomParametre(b) {}

  TBase* BaseSource = nullptr;
  TBase* BaseDestination = nullptr;
  TCustomTable* TableSource = nullptr;
  TCustomTable* TableDestination = nullptr;
};
