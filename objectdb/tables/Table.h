// The indexed table: a column-store table of one article class with a list of named indexes, a
// uniqueness test, index upkeep and change notifications on every write, and deletion with the
// referential cascade. Articles create, change and delete their rows through it; a base creates one
// per article class, and a table may also stand alone.
//
// Main thread only; notifications are synchronous and run inside the write or the deletion. A write
// only touches the columns whose values change and only the indexes whose key columns meet them.
// A refused write or deletion leaves every table as it was. Index position 0 holds the default
// index (no key, no rule: the rows in row order) when the table was made with one; the table frees
// its indexes itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "objectdb/arrays/ArrayOfIndex.h"
#include "objectdb/tables/CustomTable.h"

class TCustomFiltreArticle;
class TCustomTraiterArticle;
class TListeArticles;

class TTable : public TCustomTable {
 public:
  // The descriptor of a table class carries its virtual constructor (TTableClassOf binds it).
  struct Class : TClass {
    using TClass::TClass;
    virtual TTable* Creer(const TClass* ClasseArticle, TBase* Base, bool AvecIndexParDefaut,
                          int32_t ElementsParPage) const = 0;
  };
  static const TClass* StaticClass();
  const TClass* ClassType() const override { return StaticClass(); }

  // The set of changed columns covers column numbers 0 to 255: a class with more columns is refused.
  static constexpr int32_t kNombreChampsMax = 256;

  // The inherited construction (EStructureTable for a class with more than kNombreChampsMax
  // columns); then, with AvecIndexParDefaut, the index "Index0" (no key, no rule), the table's
  // CreerIndex hook and the article class's, in that order. NombreIndexStructure counts the
  // indexes made so far.
  TTable(const TClass* ClasseArticle, TBase* Base, bool AvecIndexParDefaut, int32_t ElementsParPage);
  explicit TTable(TBlank b) : TCustomTable(b) {}
  // EI_Detruite first; the article factory with its articles, then the indexes in position order.
  ~TTable() override;

  TArrayOfIndex* Indexes = nullptr;
  int32_t IndexParDefaut = static_cast<int32_t>(kAucuneLigne);
  // The position of the index that reported the last duplicate; kAucuneLigne for none.
  int32_t IndexDoublon = static_cast<int32_t>(kAucuneLigne);
  // EI_Valide after construction, EI_Detruite during destruction; EI_EnChargement skips the
  // duplicate test.
  TypeEtatIndex Etat = EI_Valide;
  int32_t NombreIndexStructure = 0;

  // Hook run by the constructor after the default index is made; nothing here. The constructor
  // reaches TTable's own: a subclass adds its structure indexes through the article class's hook.
  virtual void CreerIndex() {}
  // The article class's default articles.
  virtual void CreerArticlesParDefaut();

  // Adds an index; its position, -1 when an index of that name (whatever its case) exists,
  // kAucuneLigne when the index could not be made (a key column the table lacks).
  int32_t AjouterIndex(const std::string& Nom, const std::vector<TypeDefinitionCle>& Cles, TypeRegleUnicite Regle);
  int32_t AjouterIndex(const std::string& Nom, const std::vector<int32_t>& Triples, TypeRegleUnicite Regle);
  // The index at a position; nil (and -4) when there is none.
  TIndex* Index(int32_t IndexPos);
  int32_t NombreIndex() const { return Indexes != nullptr ? Indexes->GetNombreElements() : 0; }

  // Writes the article's values into row Ligne (kAucuneLigne: a new row, whose number Ligne
  // receives). Only the changed columns; nothing (and no notification) when none changes. Refusals:
  // -2 a duplicate key (IndexDoublon tells which index), -3 an index refused the row, -7 the table is
  // full (or has no column, so holds no row), -1 a row that is not in use; the table is then left as
  // it was.
  bool EcrireArticle(TArticle* Article, int32_t& Ligne) override;
  // Deletes the article's row with its referential cascade (see TPlanSuppression): refused with -5
  // when the article's deletion test or the cascade refuses it, -1 for a row not in use; a refusal
  // changes nothing.
  [[nodiscard]] bool SupprimerArticle(TArticle* Article) override;
  // SupprimerArticle of the row's shared article.
  [[nodiscard]] bool SupprimerLigne(int32_t Numero) override;
  // The inherited copy, then a copy of each of Source's indexes bound to this table.
  void AssignerStructure(TCustomTable* Source, TBase* BaseSource, TBase* BaseDestination) override;
  // Verifies every article in position-0 order (see TVerifierArticle).
  void Verifier(TypeOptionsVerification Options, TErreur*& Erreur) override;
  // "Nombre Articles" after the inherited header.
  void TracerEntete(TCustomTraceur* Traceur, std::string& Texte) override;
  // The "table" block holding the full trace of every article in position-0 order.
  void TracerContenu(bool Detail, TCustomTraceur* Traceur, std::string& Texte) override;
  // With Detail the inherited complete trace; without, the inherited summary.
  void TracerComplet(bool Detail, TCustomTraceur* Traceur, std::string& Texte) override;
  // The short traces of every article in position-0 order, joined by CR LF.
  void TexteResume(std::string& Texte) override;
  bool EstTransitoire() const override { return false; }
  // The inherited "table" element; in the schema part, the structure indexes (positions 1 to
  // NombreIndexStructure - 1) add their "index" elements; in the data part, every article adds its
  // "article" element, in position-0 order.
  void SaveToXMLNode(TNoeudXML Parent, TypePartieXML Partie, TNoeudXML& Noeud) override;

  // Navigation. Transitoire: a new transient copy of the row; otherwise the row's shared article.
  // Nil (-1) for a row that is not in use (in both modes), nil (-4) for a bad index position.
  TArticle* ArticleDeNumero(int32_t Numero, bool Transitoire);
  TArticle* ArticleDePosition(int32_t IndexPos, int32_t Position, bool Transitoire);
  // The 1-based position of the article's key in an index; Resultat 0 found, 1 not found (the
  // position where it would go), 2 after the last (kAucuneLigne). A bad index: -4, 2, kAucuneLigne.
  int32_t Chercher(TArticle* Article, int32_t IndexPos, uint8_t& Resultat);
  // The article number (row + 1) at a 1-based position of an index; kAucuneLigne for none (-1 for a
  // position above 0x7FFFFFFE, -4 for a bad index).
  int32_t LigneDePosition(int32_t Position, int32_t IndexPos);
  // A new collected list of every article in the index's order; nil (-4) for a bad index.
  TListeArticles* ListeArticles(int32_t IndexPos);
  // Walks ListeArticles(IndexPos) with a processor: non-zero when it stopped the walk; 0 for a bad
  // index.
  int32_t TraiterArticles(int32_t IndexPos, TCustomTraiterArticle* Traitement);
  // The articles of this table whose reference column NumeroChamp designates Reference and that the
  // filter accepts.
  TListeArticles* ListeReferencants(const TypeReferenceArticle& Reference, int32_t NumeroChamp,
                                    TCustomFiltreArticle* Filtre);

 protected:
  // The before-deletion event; then, once the cascade is done, the row leaves the columns' indexes
  // and the table's, its transient copies lose their origin, the row is released, its shared
  // article is invalidated, and the after-deletion event goes out.
  void DebuterSuppression(int32_t Ligne, TArticle* Article) override;
  void TerminerSuppression(int32_t Ligne) override;

 private:
  // Puts back the values saved before a refused write (or releases a new row) and the row back in
  // every index.
  void AnnulerEcriture(int32_t Ligne, bool Nouveau, const TypeEnsembleOctets& Ensemble,
                       const std::vector<int32_t>& Modifies, const std::vector<TCustomArray*>& Anciennes);
  bool IndexValide(int32_t IndexPos);
  // Calls Traiter with each row in the order of index position 0.
  template <class F>
  void ParcourirLignes(F&& Traiter);
};

template <class Self>
struct TTableClassOf final : TTable::Class {
  TTableClassOf(const char* Nom, const TClass* Parent) : TTable::Class(Nom, Parent, &NewBlankOf<Self>) {}
  TTable* Creer(const TClass* ClasseArticle, TBase* Base, bool AvecIndexParDefaut,
                int32_t ElementsParPage) const override {
    return new Self(ClasseArticle, Base, AvecIndexParDefaut, ElementsParPage);
  }
};

namespace Table {
// Writes the values of a new article into a new row of Table and makes the article designate it
// (a transient is detached from its origin first); the new article number, kAucuneLigne on failure.
int32_t InsererArticle(TCustomTable* Table, TArticle* Article);
}  // namespace Table
