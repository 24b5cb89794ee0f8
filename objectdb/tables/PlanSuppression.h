// The referential cascade of a deletion, examined whole before anything changes. Deleting a row
// deletes the rows that designate it through a column whose rule is RSR_Suppression (and theirs in
// turn), resets the references of the columns whose rule is RSR_ValeurParDefaut to the referenced
// class's default article (the null reference when it names none), and is refused when a column
// whose rule is RSR_SuppressionInterdite designates a row of the cascade, or when a reset would
// leave the null reference in a column that refuses it. The plan is made first without writing
// anything; only a plan that nothing refused is carried out, so a deletion either completes or
// leaves every table as it was.
//
// The rows designating a row are found by the schema registry through a TFiltreDestructionReferencant,
// which notes the resets and the refusals instead of carrying them out; the columns of transient
// tables are not rules (their copies lose their origin when the row goes). A row met twice (two
// paths, or a cycle of references) is deleted once.
//
// Main thread only. A plan is used right after it is made: nothing may change in between.
#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "objectdb/articles/TraiterArticle.h"

class TArticle;
class TCustomTable;
class TErreur;

class TPlanSuppression {
 public:
  // Examines the cascade of row Ligne of Table (a row in use). Nil when the deletion may go ahead;
  // otherwise a collected error tree: "Suppression article Impossible : <class>" for the row, with
  // the reason as its child (the refusal of a row further down the cascade, or the column that
  // would be left with a refused null reference).
  TErreur* Preparer(TCustomTable* Table, int32_t Ligne);

  // Carries out a plan that Preparer accepted: the resets and the deletions in cascade order. With
  // AvecRacine the examined row itself is deleted last, its before-deletion event carrying Article;
  // without, only what its deletion entails is done.
  void Executer(bool AvecRacine, TArticle* Article);

 private:
  struct Noeud {
    TCustomTable* Table;
    int32_t Ligne;
    std::vector<TFiltreDestructionReferencant::Remplacement> Remplacements;
    std::vector<std::size_t> Fils;
  };

  TErreur* Examiner(TCustomTable* Table, int32_t Ligne, std::size_t& Rang);
  void ExecuterNoeud(std::size_t Rang, TArticle* Article);

  std::vector<Noeud> noeuds_;
  std::set<std::pair<TCustomTable*, int32_t>> vus_;
};
