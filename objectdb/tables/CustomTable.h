// The column-store table: the rows of one article class held column by column, one column per
// published field of the class. It hands out and takes back row numbers (the most recently freed
// row is reused first), copies an article's values into a row, checks the reference columns of a
// row, and reports its last failure as a negative code with a fixed text (DerniereErreur,
// TexteErreur). The indexed table and the table of transient copies derive from it.
//
// Main thread only. A row is in use exactly when the first column holds a value there; 0x7FFFFFFF
// is never a row. The table owns its columns and is registered with the schema registry for its
// whole life. It answers IVerifiable through a delegate made on first use and ITracable with its own
// trace (the "classe" block, the row texts), which is active from creation.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/arrays/ArrayOfCardinal.h"
#include "core/diagnostics/DelegueTracable.h"
#include "core/objects/Erreur.h"
#include "core/objects/ObjetEvent.h"
#include "core/objects/Verification.h"
#include "objectdb/arrays/ArrayOfChamp.h"
#include "objectdb/properties/ReferenceArticle.h"
#include "objectdb/schema/ExportXML.h"

class TArticle;
class TBase;
class TFabriqueArticles;

// The creation of a table failed: a field that no column class can store. Nothing of the table is
// left behind.
class EStructureTable : public Exception {
 public:
  using Exception::Exception;
};

class TCustomTable;

// The verifiable face of a table: its verification is the table's own Verifier, with none of the
// checks of the base class (it has no items).
class TDelegueVerifiableTable : public TCustomVerifiable {
 public:
  explicit TDelegueVerifiableTable(TCustomTable* Table) : TCustomVerifiable(false), Table(Table) {}
  void Verifier(TypeOptionsVerification Options, TErreur*& Erreur) override;

  TCustomTable* Table = nullptr;
};

class TCustomTable : public TObjetAbonnant, public ISaveToXMLNode {
  NV_DECLARE_CLASS(TCustomTable)
 public:
  // The error codes of DerniereErreur.
  static constexpr int32_t kArticleInexistant = -1;
  static constexpr int32_t kDoublon = -2;
  static constexpr int32_t kErreurIndexation = -3;
  static constexpr int32_t kIndexNonExistant = -4;
  static constexpr int32_t kSuppressionImpossible = -5;
  static constexpr int32_t kAssignationImpossible = -6;
  static constexpr int32_t kTablePleine = -7;
  static constexpr int32_t kPasDeChampOriginal = -8;
  static constexpr int32_t kPasDArticleOriginal = -9;

  // Makes one column per published field of ClasseArticle (registered with the schema registry
  // first), in the order of the field list, and registers the table. A field whose type no column
  // class stores raises EStructureTable naming the field and its type. Transitoire: the table is a
  // table of transient copies (its columns publish no events); given here because the columns are
  // made while the table is being built, when no override can answer yet.
  TCustomTable(const TClass* ClasseArticle, TBase* Base, int32_t ElementsParPage, bool Transitoire = false);
  explicit TCustomTable(TBlank b) : TObjetAbonnant(b) {}
  // Withdraws from the schema registry, then frees the columns in column order.
  ~TCustomTable() override;

  const TClass* ClasseArticle = nullptr;
  TBase* Base = nullptr;
  TArrayOfChamp* Champs = nullptr;
  TCustomChamp* PremierChamp = nullptr;
  int32_t NombreArticles = 0;
  TFabriqueArticles* Fabrique = nullptr;
  // Freed rows waiting for reuse, in the order of their release.
  TArrayOfCardinal* LignesLibres = nullptr;
  // The code of the last failure; 0 until one, never cleared.
  int32_t DerniereErreur = 0;
  // The delegate through which the table answers IVerifiable, made on first use.
  std::unique_ptr<TDelegueVerifiableTable> Verifiable;

  // Copies every column that is not computed from SourceTable's row into Ligne (a row in use); the
  // source table has the same columns in the same order.
  virtual bool CopierArticle(TCustomTable* TableSource, int32_t LigneSource, int32_t Ligne);
  // CopierArticle from the article's row into Ligne, a row in use; False for an article that
  // designates no row, and -1 for a row not in use.
  virtual bool EcrireArticle(TArticle* Article, int32_t& Ligne);
  // The table becomes a copy of Source (a table of BaseSource) for BaseDestination.
  virtual void AssignerStructure(TCustomTable* Source, TBase* BaseSource, TBase* BaseDestination);
  virtual void ReferenceLigne(int32_t Ligne, TypeReferenceArticle& Reference);
  // The last freed row when there is one, else NombreArticles; -7 when that would be 0x7FFFFFFF.
  [[nodiscard]] virtual bool AllouerLigne(int32_t& Ligne);
  // Frees row Numero - 1; -1 when it is not in use (a number below 1 designates no row).
  [[nodiscard]] virtual bool LibererLigne(int32_t Numero);
  // Takes back a row that AllouerLigne has just handed out and nothing has used: it goes back where
  // it came from (the free list, or the end of the rows).
  void RendreLigne(int32_t Ligne, bool DepuisLibres);
  [[nodiscard]] virtual bool AssignerLigne(TArticle* Article, int32_t Ligne);
  [[nodiscard]] virtual bool AssignerLigneTransitoire(TArticle* Article, int32_t Ligne);
  [[nodiscard]] virtual bool ModifierLigne(int32_t Numero, TArticle* Article);
  [[nodiscard]] virtual bool SupprimerArticle(TArticle* Article);
  [[nodiscard]] virtual bool SupprimerLigne(int32_t Numero);
  // The text of DerniereErreur; empty for a code this class does not know.
  virtual void TexteErreur(std::string& Texte);
  // Nothing to check at this level.
  virtual void Verifier(TypeOptionsVerification Options, TErreur*& Erreur);
  virtual void TracerEntete(TCustomTraceur* Traceur, std::string& Texte);
  virtual void TracerContenu(bool Detail, TCustomTraceur* Traceur, std::string& Texte);
  virtual void TracerComplet(bool Detail, TCustomTraceur* Traceur, std::string& Texte);
  // "Table de '<class>' (<n> élément(s))".
  virtual void TexteResume(std::string& Texte);
  virtual bool EstTransitoire() const { return transitoire_; }
  // For every part: a "table" element with the attribute "classe" (the article class name).
  void SaveToXMLNode(TNoeudXML Parent, TypePartieXML Partie, TNoeudXML& Noeud) override;

  TCustomChamp* GetChamp(int32_t NumeroChamp) const;
  int32_t NombreChamps() const { return Champs ? Champs->GetNombreElements() : 0; }
  bool LigneExiste(int32_t Ligne) const { return PremierChamp != nullptr && !PremierChamp->LigneVide(Ligne); }
  // The gathering error of the row's refused null references, nil when there is none.
  TErreur* VerifierReferences(int32_t Ligne);
  // What the deletion of a row entails for the rows that designate it (TPlanSuppression), without
  // deleting the row: -1 for a row not in use, -5 when the cascade is refused, which changes nothing.
  [[nodiscard]] bool DetruireReferencants(int32_t Ligne);
  // The two ends of the deletion of one row whose cascade was accepted: the start (before the rows
  // that go with it are deleted) and the deletion proper. Here: nothing, then the row is released.
  virtual void DebuterSuppression(int32_t Ligne, TArticle* Article);
  virtual void TerminerSuppression(int32_t Ligne);
  // Column by column: the first comparison of the article's value with this row's that is not 0.
  int8_t ComparerArticle(int32_t Ligne, TArticle* Article);
  // Texts of one row (empty for a row not in use or while the trace is switched off).
  void TracerArticle(int32_t Ligne, std::string& Texte, TCustomTraceur* Traceur);
  void TexteArticle(int32_t Ligne, std::string& Texte);

  TDelegueVerifiableTable* GetVerifiable();
  bool TraceActive() const { return delegue_.TraceActive(); }
  void TracerResume(std::string& Texte) { TexteResume(Texte); }

 protected:
  void* GetInterfaceEntry(const TGUID& iid) override;

 private:
  void CreerChamps();
  void LibererChamps();

  bool transitoire_ = false;
  TPorteurDelegue<TCustomTable> delegue_{this};
};

namespace CustomTable {
// The events the indexed table publishes around the writing and the deletion of a row.
TypeEventId EventTableAvantEcriture();
TypeEventId EventTableApresEcriture();
TypeEventId EventTableAvantSuppression();
TypeEventId EventTableApresSuppression();
// Takes the four event ids, in that order.
void Initialiser();
}  // namespace CustomTable
