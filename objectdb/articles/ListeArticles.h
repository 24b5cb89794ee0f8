// The article list: references to articles (the rows of a table in index order, the articles that
// designate an article, the articles that may be deleted) that a processor walks one by one. A list
// may hand itself to the collector, which frees it at the next turn of the main loop. It designates
// articles without owning them.
//
// Main thread only. A walk drops the references whose row is gone, and those that do not designate
// a row of an indexed table.
#pragma once

#include <cstdint>
#include <vector>

#include "core/objects/Arbre.h"
#include "objectdb/arrays/ArrayOfReferenceArticle.h"
#include "objectdb/properties/TypeDBNoyau.h"

class TArticle;
class TChampReference;
class TCustomFiltreArticle;
class TCustomTraiterArticle;

class TListeArticles : public TArrayOfReferenceArticle, public IArbreTemporaire {
 public:
  static const TCustomArray::Class* StaticClass();
  const TClass* ClassType() const override { return StaticClass(); }

  // An empty list; Collecte hands it to the collector.
  TListeArticles(bool Collecte, int32_t ElementsParPage, bool Dynamique);
  // A list (page 32, dynamic) holding a copy of all of Source's references.
  TListeArticles(TListeArticles* Source, bool Collecte);
  explicit TListeArticles(TBlank b) : TArrayOfReferenceArticle(b) {}
  // Leaves the collector first.
  ~TListeArticles() override;

  TypeEtatIndex Etat = EI_Valide;

  void InscrireRamasseMiettes() override;
  void DesinscrireRamasseMiettes() override;
  bool EstInscrit() override;

  // This list becomes Source's references from logical index Depuis on (empty when Depuis is not
  // below Source's count).
  void CopierDepuis(TListeArticles* Source, int32_t Depuis);
  // Appends the reference of a valid article (a transient's origin); nothing for another.
  void AjouterArticle(TArticle* Article);
  // Appends the rows of Champ's table that the filter accepts through Champ (all without a filter).
  void AjouterReferencants(const std::vector<int32_t>& Lignes, TChampReference* Champ, TCustomFiltreArticle* Filtre);
  // Walks the list from Depuis with a processor (see the source for the steps); True when the
  // processor stopped the walk.
  bool Traiter(TCustomTraiterArticle* Traitement, int32_t Depuis);

 protected:
  void* GetInterfaceEntry(const TGUID& iid) override;
};
