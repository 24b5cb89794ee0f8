// The reference column: for each row, the article that a published field of an article-class type
// designates. It may keep an index of its rows by referenced article (through which the articles
// designating a given article are found), knows whether a null reference is allowed, and carries the
// rule applied to its rows when a referenced article is deleted. It is known to the schema registry
// as referencing its class from its construction to its destruction.
//
// Main thread only. The index holds every row stored through SetReference, SetArticle and
// AnnulerReferences; a row whose reference is null is absent from the index of a column that refuses
// null references.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "objectdb/arrays/ArrayOfReferenceArticle.h"
#include "objectdb/columns/TemplateChamp.h"
#include "objectdb/parameters/ParametreReferenceArticle.h"
#include "objectdb/properties/TypeDBNoyau.h"

class TArticle;
class TCustomFiltreArticle;
class TIndexReferences;
class TListeArticles;

struct TChampReferenceArticleTraits {
  using Valeur = TypeReferenceArticle;
  using Tableau = TArrayOfReferenceArticle;
  using TableauTraits = TMethodesReferenceArticle;
  using Parametre = TParametreReferenceArticle;
  // No type name: reference columns are chosen by the kind of the published field.
  static std::vector<std::string> NomsDeType() { return {}; }
  static Valeur Absente() { return ReferenceArticle::ReferenceArticleNulle; }
  static void Texte(const Valeur& Valeur, std::string& Texte) { TMethodesReferenceArticle::ElementEnTexte(Valeur, Texte); }
};

extern template class TChampTemplate<TChampReferenceArticleTraits>;

class TChampReference : public TChampTemplate<TChampReferenceArticleTraits> {
 public:
  using Base = TChampTemplate<TChampReferenceArticleTraits>;
  static const TCustomChamp::Class* StaticClass();
  const TClass* ClassType() const override { return StaticClass(); }

  // Registers the column with the schema registry as referencing ClasseReferencee and, when
  // ReferenceIndexee, makes its index.
  TChampReference(const std::string& Nom, TCustomTable* Table, const TClass* ClasseReferencee, int32_t ElementsParPage,
                  bool ReferenceNulle, TypeRegleSuppressionReference Regle, bool ReferenceIndexee);
  // The class's virtual constructor: a column of articles of any class, null allowed, reset to the
  // default on deletion, indexed (the rules of a field made from the class description).
  TChampReference(const std::string& Nom, TCustomTable* Table, const std::vector<int32_t>& Parametres,
                  bool LibererElements);
  explicit TChampReference(TBlank b) : Base(b) {}
  // Withdraws from the schema registry, then frees the index.
  ~TChampReference() override;

  TIndexReferences* Index = nullptr;
  const TClass* ClasseReferencee = nullptr;
  bool ReferenceNulle = false;
  TypeRegleSuppressionReference RegleSuppressionReference = RSR_Suppression;

  // The class name of the referenced class.
  void NomDuType(std::string& Texte) const;
  bool EstReference() const override { return true; }
  void Reference(int32_t Ligne, TypeReferenceArticle& Reference) override;
  // The template's copy, a copy of Source's index, the class and the rules; registered.
  void AssignerStructure(TCustomChamp* Source, TBase* BaseSource, TBase* BaseDestination, TCustomTable* TableSource,
                         TCustomTable* TableDestination) override;

  // Index upkeep of one row. IndexerLigne: False, and the row is not indexed, for a null reference in
  // a column that refuses them; otherwise the index's answer.
  bool IndexerLigne(int32_t Ligne) override;
  void DesindexerLigne(int32_t Ligne, bool Forcer) override;
  // Values stored with index upkeep: a nil table or the row 0x7FFFFFFF gives exactly the null
  // reference.
  void SetReference(uint32_t LigneReferencee, TCustomTable* TableReferencee, int32_t Ligne);
  void SetArticle(TArticle* Article, int32_t Ligne);

  // The integrity rule: whether the column may hold Reference.
  bool ReferenceAutorisee(const TypeReferenceArticle& Reference);
  // A new collected list of the rows designating Reference that Filtre accepts (every one without a
  // filter).
  TListeArticles* ArticlesReferencant(const TypeReferenceArticle& Reference, TCustomFiltreArticle* Filtre);
  // Every row designating Reference gets the null reference; True when at least one changed.
  bool AnnulerReferences(const TypeReferenceArticle& Reference);
  // The rows designating Reference (none for the null reference), in the order of the index when
  // the column has one, else in row order.
  void LignesReferencant(const TypeReferenceArticle& Reference, std::vector<int32_t>& Lignes);

 private:
  void Initialiser(const TClass* ClasseReferencee, bool ReferenceNulle, TypeRegleSuppressionReference Regle,
                   bool ReferenceIndexee);
  // The next row designating Reference: through the index, or by the column's search after Depuis.
  bool ChercherLigne(const TypeReferenceArticle& Reference, int32_t& Ligne, int32_t Depuis);
};
