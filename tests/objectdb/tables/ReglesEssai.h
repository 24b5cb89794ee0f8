// What the tests of the indexed table and of the article lists share: article classes whose
// reference fields carry a given deletion rule, and rows written through a table of drafts.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "core/objects/Erreur.h"
#include "objectdb/articles/Article.h"
#include "objectdb/columns/ChampInteger.h"
#include "objectdb/columns/ChampReference.h"
#include "objectdb/tables/Table.h"

// Reference fields with the given rule and null acceptance.
template <TypeRegleSuppressionReference Regle, bool Nulle>
struct TClasseRegle : TArticle::Class {
  using Class::Class;
  TListeChampsPublies* CreerListeChampsPublies(const TClass* Classe) const override {
    TListeChampsPublies* liste = Class::CreerListeChampsPublies(Classe);
    for (int32_t i = 0; i < liste->GetNombreElements(); ++i) {
      TChampPublie* champ = liste->Champ(i);
      if (champ->Genre != tkClass) continue;
      champ->RegleSuppressionReference = Regle;
      champ->ReferenceNulle = Nulle;
    }
    return liste;
  }
};

#define NV_CLASSE_LIEN(Nom, Cible, Regle, Nulle)                                           \
  using Nom##Regles = TClasseRegle<Regle, Nulle>;                                         \
  class Nom : public TArticle {                                                           \
    NV_DECLARE_CLASS(Nom)                                                                 \
   public:                                                                                \
    using TArticle::TArticle;                                                             \
    static constexpr TInfoPropriete kProprietes[] = {                                     \
        {"Nom", "String", tkLString, nullptr, 0, true},                                   \
        {"Cible", #Cible, tkClass, [] { return Cible::StaticClass(); }, 1, true},        \
    };                                                                                    \
  };                                                                                      \
  NV_DEFINE_ARTICLE_CLASS(Nom, TArticle, kProprietes, Nom##Regles)

// Rows are prepared in a table of drafts (it answers as a transient table, so that no rule sees
// its references) and written into the indexed table with Creer.
class TBrouillon : public TCustomTable {
 public:
  explicit TBrouillon(const TClass* Classe) : TCustomTable(Classe, nullptr, 16, true) {}
};

// Writes a new row; its article number.
inline int32_t CreerLigne(TTable& table, const std::string& nom, int32_t valeur = 0, TTable* cible = nullptr,
                       int32_t numeroCible = 0) {
  TBrouillon brouillon(table.ClasseArticle);
  int32_t l;
  EXPECT_TRUE(brouillon.AllouerLigne(l));
  TArticle a(&brouillon, MA_Reference, l + 1);
  a.SetChampString(0, nom);
  if (cible != nullptr) {
    static_cast<TChampReference*>(brouillon.GetChamp(1))->SetReference(static_cast<uint32_t>(numeroCible - 1), cible, l);
  } else if (auto* entier = dynamic_cast<TChampInteger*>(brouillon.GetChamp(1))) {
    entier->SetValeur(l, valeur);
  }
  TErreur* e = a.Creer(&table);
  EXPECT_EQ(e, nullptr) << (e ? e->Message : "");
  return static_cast<int32_t>(a.IndiceArticle) + 1;
}

