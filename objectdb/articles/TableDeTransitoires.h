// The tables of transient copies: one per article class, holding the values of the transient
// articles of that class (copies of rows that are edited, then written back or used to create a row).
// Beside the class's columns, each row keeps in the reference column "ArticleOrigine" the row it was
// copied from, its origin, so that the copy can be written back to it or delete it. The manager keeps
// one table per class, made on first request; a table found without rows when the collectable service
// collects hands itself to the collector, which frees it at the start of the next turn, and a later
// request makes a new one.
//
// Main thread only. The manager owns the tables; a table owns its factory (and so every transient it
// made, with its row) and its origin column.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/objects/ClasseFinalisable.h"
#include "core/objects/Collectable.h"
#include "objectdb/tables/CustomTable.h"

class TChampReference;
class TFabriqueTransitoires;

class TTableDeTransitoires : public TCustomTable, public ICollectable {
  NV_DECLARE_CLASS(TTableDeTransitoires)
 public:
  // The columns of ClasseArticle, the factory, then the origin column (null allowed, reset on
  // deletion of the origin, indexed); registered with the collectable service after its factory.
  TTableDeTransitoires(const TClass* ClasseArticle, int32_t ElementsParPage);
  explicit TTableDeTransitoires(TBlank b) : TCustomTable(b) {}
  // Leaves the manager and the collector, frees the factory (every transient and its row), leaves
  // the collectable service, then frees the origin column.
  ~TTableDeTransitoires() override;

  // The origin of each row; not one of Champs. It is the first column (row in use) of a class that
  // publishes none.
  TChampReference* ChampOrigine = nullptr;
  // The collect options and flag the table answers through ICollectable, made on first use.
  std::unique_ptr<TCustomCollectable> Collectable;

  // The transient table of an article class, through the manager.
  static TTableDeTransitoires* TableDeClasse(const TClass* Classe);

  // A transient copy of row Numero - 1 of Table; Numero 0x7FFFFFFF gives an empty one without origin.
  TArticle* CreerTransitoire(TCustomTable* Table, int32_t Numero);
  // Gives a transient back for reuse: it loses its origin and becomes spare.
  void RestituerTransitoire(TArticle* Article);
  // The origin of row Ligne becomes row LigneOrigine of TableOrigine (nil or 0x7FFFFFFF: none) and,
  // with Copier, that row's values are copied. False, and nothing changed, when Ligne is not in use
  // (-1), the origin row is not in use (-1), TableOrigine holds articles of another class (-6), or
  // there is no origin column (-8).
  bool Designer(uint32_t LigneOrigine, TCustomTable* TableOrigine, bool Copier, int32_t Ligne);
  // The table and the number (row + 1; 0x7FFFFFFF for none) of the origin of row Ligne.
  TCustomTable* TableOrigine(int32_t Ligne);
  int32_t NumeroOrigine(int32_t Ligne);
  // Every column writes its absent value at Ligne (a row in use).
  void ViderLigne(int32_t Ligne);
  // Every row whose origin is row Ligne of Table gets no origin (the indexed table calls it when it
  // deletes that row).
  void OublierOrigine(uint32_t Ligne, TCustomTable* Table);

  // Nothing: the structure comes from the article class.
  void AssignerStructure(TCustomTable* Source, TBase* BaseSource, TBase* BaseDestination) override;
  // The origin of the row; the null reference and -8 without origin column.
  void ReferenceLigne(int32_t Ligne, TypeReferenceArticle& Reference) override;
  // The inherited allocation, the new row without origin.
  [[nodiscard]] bool AllouerLigne(int32_t& Ligne) override;
  // The inherited release, and the origin column's row.
  [[nodiscard]] bool LibererLigne(int32_t Numero) override;
  // The values, then the origin: Article's own origin for a transient, Article itself otherwise.
  [[nodiscard]] bool AssignerLigneTransitoire(TArticle* Article, int32_t Ligne) override;
  // The write-back: the origin's table writes Article's values into the origin row; -9 without
  // origin, -8 without origin column.
  [[nodiscard]] bool ModifierLigne(int32_t Numero, TArticle* Article) override;
  // Deletes the origin row of the transient through its table (True, and nothing done, without
  // origin); the transient keeps its row and loses its origin. -5 when the origin's table refuses.
  [[nodiscard]] bool SupprimerArticle(TArticle* Article) override;

  // ICollectable: options and flag are Collectable's. Collecter hands the table to the collector
  // when it has no row left.
  TypeOptionsCollecte GetOptions() override { return Collecte()->GetOptions(); }
  ICollectable* SetOptions(TypeOptionsCollecte Options) override;
  bool GetCollecteActive() override { return Collecte()->GetCollecteActive(); }
  void SetCollecteActive(bool Valeur) override { Collecte()->SetCollecteActive(Valeur); }
  void AjouterOptions(TypeOptionsCollecte Options) override { Collecte()->AjouterOptions(Options); }
  void RetirerOptions(TypeOptionsCollecte Options) override { Collecte()->RetirerOptions(Options); }
  void Collecter(TypeOptionsCollecte Options, TErreur*& Erreur) override;

  TFabriqueTransitoires* FabriqueTransitoires() const;

 protected:
  void* GetInterfaceEntry(const TGUID& iid) override;

 private:
  friend class TGestionnaireTablesTransitoires;
  TCustomCollectable* Collecte();
  // False with -8 without origin column, -1 for a row not in use.
  bool LigneAvecOrigine(int32_t Ligne);
  // The row's origin reference, or False as LigneAvecOrigine.
  bool Origine(int32_t Ligne, TypeReferenceArticle& Reference);

  // Handed to the collector by the last collection; the manager takes it back when the class's table
  // is asked for again before the collector ran.
  bool remise_ = false;
};

// The registry of the transient tables, one per article class; class methods only. Registered for
// finalisation on first use.
class TGestionnaireTablesTransitoires : public TClasseFinalisable {
 public:
  static const TClasseFinalisable::Class* StaticClass();

  // The class's table, made (pages of 1024 rows) and registered when there is none. A table handed
  // to the collector is taken back: it is in use again.
  static TTableDeTransitoires* TableDeClasse(const TClass* Classe);
  // The class's entry is removed (the table is not freed).
  static void SupprimerTable(const TClass* Classe);
  // Frees every registered table, then the registry.
  static void Finaliser();

 private:
  friend class TTableDeTransitoires;
  // The table registered for the class, nil when none (nothing is made).
  static TTableDeTransitoires* TableEnregistree(const TClass* Classe);
};
