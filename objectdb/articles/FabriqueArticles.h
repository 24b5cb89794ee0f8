// Article factories: each table owns one, which makes the article object of a row on demand, hands
// the same object to every caller during the turn, and frees every article it made when the
// collectable service collects it, once per turn of the main loop. The factory of a table of
// transient copies also hands out transients and takes them back for reuse. An article obtained from
// a factory is therefore valid until the collectable service's next pass and must not be kept longer.
//
// Main thread only. A factory owns every article it made, handed out or spare; it is registered with
// the collectable service for its whole life.
#pragma once

#include <cstdint>

#include "core/objects/Collectable.h"
#include "objectdb/arrays/ArrayOfArticle.h"

class TCustomTable;
class TTableDeTransitoires;

class TFabriqueArticles : public TCustomCollectable {
  NV_DECLARE_CLASS(TFabriqueArticles)
 public:
  // Makes both lists and registers with the collectable service.
  explicit TFabriqueArticles(TCustomTable* Table);
  explicit TFabriqueArticles(TBlank b) : TCustomCollectable(b) {}
  // Withdraws from the collectable service, then frees every article, handed out or spare.
  ~TFabriqueArticles() override;

  // The table whose articles it makes (not owned).
  TCustomTable* Table = nullptr;
  // The articles handed out: for a table, at the position of their row; for a transient table,
  // ordered by serial number.
  TArrayOfArticle* Articles = nullptr;
  // Spare articles, released at the next collection (a transient factory reuses them first).
  TArrayOfArticle* Libres = nullptr;

  // The article of a row, the same object for every call while it stays valid; nil, with the table's
  // error -1, for a row that is not in use.
  TArticle* ArticleDeLigne(int32_t Ligne);
  // The row was deleted: its article, when one was handed out, is invalidated and becomes spare.
  void LibererLigne(int32_t Ligne);
  // A new article of the table's class for a row in use (mode MA_Table); nil and -1 otherwise.
  virtual TArticle* CreerArticle(int32_t Ligne);
  // Frees every article it made, whatever the options; a transient still handed out is traced as a
  // warning. Produces no error.
  void Collecter(TypeOptionsCollecte Options, TErreur*& Erreur) override;

 protected:
  // Frees every article of both lists and empties them; Avertir traces the transients handed out.
  void LibererArticles(bool Avertir);
};

// The factory of a table of transient copies: both lists ordered by serial number, without
// duplicates.
class TFabriqueTransitoires : public TFabriqueArticles {
  NV_DECLARE_CLASS(TFabriqueTransitoires)
 public:
  explicit TFabriqueTransitoires(TTableDeTransitoires* Table);
  explicit TFabriqueTransitoires(TBlank b) : TFabriqueArticles(b) {}
  ~TFabriqueTransitoires() override;

  // A transient of the table's class: a spare one (it keeps its row) or a new one. With a number,
  // its origin becomes row Numero - 1 of Table and that row's values are copied; with 0x7FFFFFFF (or
  // an origin that cannot be copied) it is emptied and has no origin.
  TArticle* CreerTransitoire(TCustomTable* Table, int32_t Numero);
  // A handed-out transient becomes spare.
  void Restituer(TArticle* Article);
  void Collecter(TypeOptionsCollecte Options, TErreur*& Erreur) override;

  // Changes every time a transient factory frees the transients it handed out (its collection or
  // its destruction): a holder that saw another value may no longer touch the transient it kept.
  static uint64_t Generation();
};
