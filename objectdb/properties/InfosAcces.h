// The access path of a computed field: the ordered steps (article class, column number, filter) along
// which the field finds its value, and the controller that a computed column keeps to walk it.
//
// A path alternates between following a reference forward from the current articles and gathering
// the articles that point back to them; the last step names the column whose value the field takes.
// A field's descriptor owns its path; the path owns the filter of every step. The controller listens
// to the columns its path reads and marks the column's cached values stale when one of them changes.
//
// Main thread only.
#pragma once

#include <cstdint>
#include <vector>

#include "core/arrays/ArrayOfItemInfoAcces.h"
#include "core/objects/ObjetEvent.h"
#include "objectdb/articles/TraiterArticle.h"
#include "objectdb/properties/ReferenceArticle.h"

class TBase;
class TCustomTable;
class TListeArticles;

class TInfosAcces : public TArrayOfItemInfoAcces {
 public:
  static const TCustomArray::Class* StaticClass();
  const TClass* ClassType() const override { return StaticClass(); }

  using TArrayOfItemInfoAcces::TArrayOfItemInfoAcces;
  // Frees the filter of every step, then the steps.
  ~TInfosAcces() override;
};

// The controller of a computed column. Freed with its column; its subscriptions end with it, so no
// notification of a column that outlives it reaches it.
class TInfosAccesPourChamp : public TObjetAbonne {
  NV_DECLARE_CLASS(TInfosAccesPourChamp)
 public:
  // Not yet walked: no base, no tables, no subscriptions.
  explicit TInfosAccesPourChamp(TInfosAcces* InfosAcces) : InfosAcces(InfosAcces) {}
  explicit TInfosAccesPourChamp(TBlank b) : TObjetAbonne(b) {}

  // A change was published by a column of the path since the last walk.
  bool Invalide = false;
  // The path, owned by the field's descriptor.
  TInfosAcces* InfosAcces = nullptr;
  // The base of the first article walked from; set once.
  TBase* Base = nullptr;
  // Per step, the tables of Base that hold the step's class or a descendant (not owned).
  std::vector<std::vector<TCustomTable*>> TablesParEtape;

  // Any notification makes the values stale; True, so that the other subscribers receive it too.
  bool Recevoir(TObject* Emetteur, TypeEventId EventId, TObject* Donnee) override;
  // The tables of each step, subscribed to the step's column. Looked up again at every walk: a table
  // freed since is never used, and one made since is walked and listened to.
  void ConstruireTables();
  // A new collected list of the references reached from Reference by the whole path; the controller
  // is current afterwards.
  TListeArticles* ArticlesAtteints(const TypeReferenceArticle& Reference);

 private:
  bool base_fixee_ = false;
};

// One step of the walk for the current article A of a list: forward (A of the step's class or a
// descendant), the reference that the step's column holds at A's row (A itself for a column that is
// not a reference); backward, the articles of the step's tables whose reference column designates A.
// Only what the step's filter accepts joins Resultat. Never stops the walk.
class TTraitementInfosAcces : public TCustomTraiterArticle {
  NV_DECLARE_CLASS(TTraitementInfosAcces)
 public:
  TTraitementInfosAcces() = default;
  explicit TTraitementInfosAcces(TBlank b) : TCustomTraiterArticle(b) {}
  // Frees Resultat.
  ~TTraitementInfosAcces() override;

  const TClass* ClasseArticle = nullptr;
  int32_t NumeroChamp = 0;
  TCustomFiltreArticle* Filtre = nullptr;
  // The tables of the step, not owned.
  const std::vector<TCustomTable*>* Tables = nullptr;
  // The references the step reached; made on first need (page 32), owned.
  TListeArticles* Resultat = nullptr;

  bool Traiter(TListeArticles* Liste) override;

 private:
  TListeArticles* Liste();
};
