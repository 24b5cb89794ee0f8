// The indexed table: construction and its indexes, writes (changed columns only, duplicates
// refused, a refused write leaving the table as it was), deletion with each referential rule
// (cascades, refusals with every table checked unchanged, resets to the default article, cycles),
// navigation by index position and the texts.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "core/objects/Erreur.h"
#include "core/values/Ansi1252.h"
#include "objectdb/articles/Article.h"
#include "objectdb/columns/ChampInteger.h"
#include "objectdb/columns/ChampReference.h"
#include "objectdb/columns/ChampString.h"
#include "objectdb/indexes/Index.h"
#include "objectdb/tables/Table.h"
#include "tests/objectdb/tables/ReglesEssai.h"

namespace {

// A country, whose class adds a unique index on its code to every table of it.
struct TClassePays : TArticle::Class {
  using Class::Class;
  void CreerIndex(TTable* Table) const override {
    EXPECT_EQ(Table->AjouterIndex("ParCode", {TypeDefinitionCle{0, false, 0}}, ruiCleUnique), 1);
  }
};

class TPays : public TArticle {
  NV_DECLARE_CLASS(TPays)
 public:
  using TArticle::TArticle;
  static constexpr TInfoPropriete kProprietes[] = {
      {"Code", "String", tkLString, nullptr, 0, true},
      {"Habitants", "Integer", tkInteger, nullptr, 1, true},
  };
};
NV_DEFINE_ARTICLE_CLASS(TPays, TArticle, kProprietes, TClassePays)

// A city is deleted with its country; a district with its city; a monument forbids the deletion of
// its district; a consulate is reset to null; an embassy refuses a null country.
NV_CLASSE_LIEN(TVille, TPays, RSR_Suppression, false)
NV_CLASSE_LIEN(TQuartier, TVille, RSR_Suppression, false)
NV_CLASSE_LIEN(TMonument, TQuartier, RSR_SuppressionInterdite, false)
NV_CLASSE_LIEN(TConsulat, TPays, RSR_ValeurParDefaut, true)
NV_CLASSE_LIEN(TAmbassade, TPays, RSR_ValeurParDefaut, false)
// A node deleted with the node it designates, even its own row.
NV_CLASSE_LIEN(TNoeud, TNoeud, RSR_Suppression, true)

struct Tables {
  TTable pays{TPays::StaticClass(), nullptr, true, 16};
  TTable villes{TVille::StaticClass(), nullptr, true, 16};
  TTable quartiers{TQuartier::StaticClass(), nullptr, true, 16};
  TTable monuments{TMonument::StaticClass(), nullptr, true, 16};
  TTable consulats{TConsulat::StaticClass(), nullptr, true, 16};
  TTable ambassades{TAmbassade::StaticClass(), nullptr, true, 16};

  // Every table's rows as texts, to compare before and after a refusal.
  std::vector<std::string> Etat() {
    std::vector<std::string> etat;
    for (TTable* t : {&pays, &villes, &quartiers, &monuments, &consulats, &ambassades}) {
      std::string texte;
      t->TexteResume(texte);
      etat.push_back(std::to_string(t->NombreArticles) + ":" + texte);
    }
    return etat;
  }
};

std::string Nom(TTable& t, int32_t numero) { return static_cast<TChampString*>(t.GetChamp(0))->GetValeur(numero - 1); }

TypeReferenceArticle Cible(TTable& t, int32_t numero) {
  TypeReferenceArticle r;
  t.GetChamp(1)->Reference(numero - 1, r);
  return r;
}

// Counts the table's events by kind.
class TCompteur : public TObjetAbonne {
 public:
  std::vector<TypeEventId> Recus;
  bool Recevoir(TObject*, TypeEventId EventId, TObject*) override {
    Recus.push_back(EventId);
    return true;
  }
};

std::string TexteErreur(TCustomTable& t) {
  std::string texte;
  t.TexteErreur(texte);
  return texte;
}

}  // namespace

TEST(Table, ConstructionMakesTheDefaultIndexThenTheClassIndexesAndCountsThemAsStructure) {
  Tables t;
  EXPECT_EQ(t.pays.IndexParDefaut, 0);
  ASSERT_EQ(t.pays.NombreIndex(), 2);
  EXPECT_EQ(t.pays.Index(0)->Nom, "Index0");
  EXPECT_EQ(t.pays.Index(1)->Nom, "ParCode");
  EXPECT_EQ(t.pays.NombreIndexStructure, 2);
  EXPECT_EQ(t.pays.AjouterIndex("index0", std::vector<TypeDefinitionCle>{}, ruiSansRegle), -1);
  EXPECT_EQ(t.pays.AjouterIndex("ParColonneAbsente", {TypeDefinitionCle{9, false, 0}}, ruiSansRegle),
            static_cast<int32_t>(kAucuneLigne));
  EXPECT_EQ(t.pays.AjouterIndex("ParHabitants", {1, 1, 0}, ruiSansRegle), 2);
  EXPECT_EQ(t.pays.NombreIndexStructure, 2);
  EXPECT_EQ(t.pays.Index(3), nullptr);
  EXPECT_EQ(TexteErreur(t.pays), "Table : Index non existant");
  TTable sansIndex(TPays::StaticClass(), nullptr, false, 16);
  EXPECT_EQ(sansIndex.NombreIndex(), 0);
}

namespace {
// N integer fields (257: one more than the set of changed columns can name).
template <int N>
struct ChampsNombreux {
  std::array<std::string, N> noms;
  std::array<TInfoPropriete, N> infos;
  ChampsNombreux() {
    for (int i = 0; i < N; ++i) {
      noms[i] = "C" + std::to_string(i);
      infos[i] = {noms[i].c_str(), "Integer", tkInteger, nullptr, i, true};
    }
  }
};
template <int N>
class TLarge : public TArticle {
 public:
  using TArticle::TArticle;
  static const TClass* StaticClass() {
    static ChampsNombreux<N> champs;
    static const TClass descriptor(N > 256 ? "TTropLarge" : (N == 0 ? "TVide" : "TLarge"), TArticle::StaticClass(),
                                   nullptr, std::span<const TInfoPropriete>(champs.infos));
    return &descriptor;
  }
};
}  // namespace

// A column numbered 256 or above was never compared nor written: its values were lost.
TEST(Table, AClassWithMoreColumnsThanAWriteCanNameIsRefusedAtCreation) {
  EXPECT_THROW(TTable(TLarge<257>::StaticClass(), nullptr, true, 16), EStructureTable);
  TTable large(TLarge<256>::StaticClass(), nullptr, true, 16);
  EXPECT_EQ(large.NombreChamps(), 256);
}

// A table without columns holds no row: a new article there used to count as written at row
// 0x7FFFFFFF.
TEST(Table, ATableWithoutColumnsRefusesNewRows) {
  TTable vide(TLarge<0>::StaticClass(), nullptr, true, 16);
  TArticle article(&vide, MA_Reference, 1);
  article.IndiceArticle = 0;
  EXPECT_EQ(Table::InsererArticle(&vide, &article), static_cast<int32_t>(kAucuneLigne));
  EXPECT_EQ(TexteErreur(vide), "CustomTable : Table pleine");
  EXPECT_EQ(vide.NombreArticles, 0);
}

TEST(Table, WritesChangeOnlyWhatDiffersAndNotifyAroundTheWrite) {
  Tables t;
  TCompteur compteur;
  compteur.SAbonner(&t.pays, {CustomTable::EventTableAvantEcriture(), CustomTable::EventTableApresEcriture()});
  const int32_t fr = CreerLigne(t.pays, "FR", 68);
  EXPECT_EQ(compteur.Recus, (std::vector<TypeEventId>{CustomTable::EventTableAvantEcriture(),
                                                      CustomTable::EventTableApresEcriture()}));
  compteur.Recus.clear();

  // The same values again: nothing to do, nobody told.
  TArticle meme(&t.pays, MA_Reference, fr);
  int32_t ligne = fr - 1;
  EXPECT_TRUE(t.pays.EcrireArticle(&meme, ligne));
  EXPECT_TRUE(compteur.Recus.empty());

  // A change of the population is written and the row keeps its key position.
  TBrouillon brouillon(TPays::StaticClass());
  int32_t l;
  ASSERT_TRUE(brouillon.AllouerLigne(l));
  TArticle nouveau(&brouillon, MA_Reference, l + 1);
  nouveau.SetChampString(0, "FR");
  nouveau.SetChampInteger(1, 69);
  EXPECT_TRUE(t.pays.ModifierLigne(fr, &nouveau));
  EXPECT_EQ(static_cast<TChampInteger*>(t.pays.GetChamp(1))->GetValeur(fr - 1), 69);
  EXPECT_EQ(compteur.Recus.size(), 2u);
  uint8_t resultat;
  EXPECT_EQ(t.pays.Chercher(&nouveau, 1, resultat), 1);
  EXPECT_EQ(resultat, kIndexTrouve);
}

TEST(Table, ADuplicateKeyIsRefusedAndTheTableIsUnchanged) {
  Tables t;
  CreerLigne(t.pays, "FR", 68);
  const auto avant = t.Etat();
  TBrouillon brouillon(TPays::StaticClass());
  int32_t l;
  ASSERT_TRUE(brouillon.AllouerLigne(l));
  TArticle doublon(&brouillon, MA_Reference, l + 1);
  doublon.SetChampString(0, "FR");
  TErreur* e = doublon.Creer(&t.pays);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->Message, "TArticle.Creer : Impossible de créer l'article"_ansi);
  ASSERT_EQ(e->NombreFils(), 1);
  EXPECT_EQ(static_cast<TErreur*>(e->Fils(0))->Message, "Table : Création d'un doublon"_ansi);
  EXPECT_EQ(t.pays.IndexDoublon, 1);
  EXPECT_EQ(t.Etat(), avant);

  // Under ruiCleUniqueSiNonNulle two empty keys are accepted, two equal codes are not.
  TTable autres(TPays::StaticClass(), nullptr, false, 16);
  ASSERT_EQ(autres.AjouterIndex("ParHabitants", {1, 0, 0}, ruiSansRegle), 0);
  ASSERT_EQ(autres.AjouterIndex("ParCodeNonNul", {0, 0, 0}, ruiCleUniqueSiNonNulle), 1);
  CreerLigne(autres, "");
  CreerLigne(autres, "");
  EXPECT_EQ(autres.NombreArticles, 2);
  doublon.SetChampString(0, "BE");
  CreerLigne(autres, "BE");
  EXPECT_NE(doublon.Creer(&autres), nullptr);
  EXPECT_EQ(autres.IndexDoublon, 1);
  EXPECT_EQ(autres.NombreArticles, 3);
}

// An index refusing the row after the values were written used to leave the values (and a new row)
// behind, the row missing from the indexes, and the after-write event saying it was written.
TEST(Table, AWriteThatAnIndexRefusesLeavesTheTableAsItWas) {
  Tables t;
  const int32_t fr = CreerLigne(t.pays, "FR", 68);
  const int32_t be = CreerLigne(t.pays, "BE", 11);
  TCompteur compteur;
  compteur.SAbonner(&t.pays, {CustomTable::EventTableApresEcriture()});
  const auto avant = t.Etat();

  // Row FR written over row BE: the search stops on FR's own row, so only the index sees the
  // duplicate.
  TArticle francais(&t.pays, MA_Reference, fr);
  EXPECT_FALSE(t.pays.AssignerLigne(&francais, be - 1));
  EXPECT_EQ(t.Etat(), avant);
  EXPECT_TRUE(compteur.Recus.empty());
  TArticle belge(&t.pays, MA_Reference, be);
  uint8_t resultat;
  EXPECT_EQ(t.pays.Chercher(&belge, 1, resultat), 1);
  EXPECT_EQ(resultat, kIndexTrouve);
  EXPECT_EQ(t.pays.LigneDePosition(1, 1), be);
  EXPECT_EQ(t.pays.LigneDePosition(2, 1), fr);

  // A new row while loading (no duplicate test): the row is given back, and the next write gets it.
  t.pays.Etat = EI_EnChargement;
  TBrouillon brouillon(TPays::StaticClass());
  int32_t l;
  ASSERT_TRUE(brouillon.AllouerLigne(l));
  TArticle doublon(&brouillon, MA_Reference, l + 1);
  doublon.SetChampString(0, "FR");
  int32_t ligne = static_cast<int32_t>(kAucuneLigne);
  EXPECT_FALSE(t.pays.EcrireArticle(&doublon, ligne));
  EXPECT_EQ(TexteErreur(t.pays), "Table : Erreur sur indexation");
  EXPECT_EQ(t.Etat(), avant);
  EXPECT_TRUE(compteur.Recus.empty());
  EXPECT_EQ(t.pays.LignesLibres->GetNombreElements(), 0);
  t.pays.Etat = EI_Valide;

  // An article of another class is refused before anything is written.
  const int32_t gand = CreerLigne(t.villes, "Gand", 0, &t.pays, be);
  const auto avecVille = t.Etat();
  TArticle ville(&t.villes, MA_Reference, gand);
  ligne = static_cast<int32_t>(kAucuneLigne);
  EXPECT_THROW(t.pays.EcrireArticle(&ville, ligne), EInvalidCast);
  EXPECT_EQ(t.Etat(), avecVille);
  EXPECT_EQ(CreerLigne(t.pays, "NL", 17), 3);
  EXPECT_EQ(t.pays.LigneDePosition(4, 0), static_cast<int32_t>(kAucuneLigne));
}

TEST(Table, TransientCopiesCreateAndChangeRowsThroughTheTable) {
  Tables t;
  TArticle* fr = TArticle::CreerTransitoire(TPays::StaticClass(), nullptr, static_cast<int32_t>(kAucuneLigne));
  fr->SetChampString(0, "FR");
  fr->SetChampInteger(1, 68);
  ASSERT_EQ(fr->Creer(&t.pays), nullptr);
  TypeReferenceArticle origine;
  fr->GetReference(origine);
  EXPECT_EQ(origine.Table, &t.pays);
  fr->SetChampInteger(1, 70);
  EXPECT_EQ(fr->Modifier(nullptr), nullptr);
  EXPECT_EQ(static_cast<TChampInteger*>(t.pays.GetChamp(1))->GetValeur(static_cast<int32_t>(origine.IndiceArticle)), 70);

  // A change to a key another row holds: refused with the table's reason, the row unchanged.
  TArticle* be = t.pays.ArticleDeNumero(CreerLigne(t.pays, "BE", 11), true);
  const auto avant = t.Etat();
  be->SetChampString(0, "FR");
  TErreur* e = be->Modifier(nullptr);
  ASSERT_NE(e, nullptr);
  ASSERT_EQ(e->NombreFils(), 1);
  EXPECT_EQ(static_cast<TErreur*>(e->Fils(0))->Message, "Table : Création d'un doublon"_ansi);
  EXPECT_EQ(t.Etat(), avant);
  // Created again under that key: refused too, and the copy no longer has an origin.
  EXPECT_NE(be->Creer(&t.pays), nullptr);
  be->GetReference(origine);
  EXPECT_TRUE(ReferenceArticle::EstReferenceNulle(origine));
  EXPECT_EQ(t.Etat(), avant);
  fr->RestituerTransitoire();
  be->RestituerTransitoire();
}

TEST(Table, NavigationByIndexPosition) {
  Tables t;
  const int32_t fr = CreerLigne(t.pays, "FR", 68);
  const int32_t be = CreerLigne(t.pays, "BE", 11);
  struct Cas {
    int32_t position, index, attendu;
    std::string erreur;
  } cas[] = {
      {1, 0, fr, ""},  {2, 0, be, ""},  {1, 1, be, ""},  {3, 1, static_cast<int32_t>(kAucuneLigne), ""},
      {0, 1, static_cast<int32_t>(kAucuneLigne), ""},
      {1, 5, static_cast<int32_t>(kAucuneLigne), "Table : Index non existant"},
      {0x7FFFFFFF, 0, static_cast<int32_t>(kAucuneLigne), "CustomTable : Article inexistant"},
  };
  for (const Cas& c : cas) {
    t.pays.DerniereErreur = 0;
    EXPECT_EQ(t.pays.LigneDePosition(c.position, c.index), c.attendu) << c.position << " " << c.index;
    EXPECT_EQ(TexteErreur(t.pays), c.erreur) << c.position << " " << c.index;
  }
  TBrouillon brouillon(TPays::StaticClass());
  int32_t l;
  ASSERT_TRUE(brouillon.AllouerLigne(l));
  TArticle cherche(&brouillon, MA_Reference, l + 1);
  const struct {
    std::string code;
    int32_t position;
    uint8_t resultat;
  } recherches[] = {{"BE", 1, kIndexTrouve}, {"DE", 2, kIndexAvant}, {"IT", static_cast<int32_t>(kAucuneLigne), kIndexApresDernier}};
  for (const auto& r : recherches) {
    cherche.SetChampString(0, r.code);
    uint8_t resultat;
    EXPECT_EQ(t.pays.Chercher(&cherche, 1, resultat), r.position) << r.code;
    EXPECT_EQ(resultat, r.resultat) << r.code;
  }
  uint8_t resultat;
  EXPECT_EQ(t.pays.Chercher(&cherche, 7, resultat), static_cast<int32_t>(kAucuneLigne));
  EXPECT_EQ(resultat, kIndexApresDernier);
  EXPECT_EQ(t.pays.ArticleDePosition(7, 1, false), nullptr);
  EXPECT_EQ(TexteErreur(t.pays), "Table : Index non existant");
}

TEST(Table, DeletingCascadesThroughSuppressionColumnsAndResetsDefaultValueColumns) {
  Tables t;
  const int32_t fr = CreerLigne(t.pays, "FR", 68);
  const int32_t be = CreerLigne(t.pays, "BE", 11);
  const int32_t paris = CreerLigne(t.villes, "Paris", 0, &t.pays, fr);
  const int32_t bruxelles = CreerLigne(t.villes, "Bruxelles", 0, &t.pays, be);
  CreerLigne(t.quartiers, "Marais", 0, &t.villes, paris);
  CreerLigne(t.quartiers, "Ixelles", 0, &t.villes, bruxelles);
  const int32_t consulat = CreerLigne(t.consulats, "Consulat", 0, &t.pays, fr);
  TCompteur compteur;
  compteur.SAbonner(&t.quartiers, {CustomTable::EventTableAvantSuppression(), CustomTable::EventTableApresSuppression()});

  TArticle france(&t.pays, MA_Reference, fr);
  EXPECT_EQ(france.TesterSuppression(), nullptr);
  EXPECT_EQ(france.Supprimer(), nullptr);
  EXPECT_EQ(france.Table, nullptr);
  EXPECT_EQ(t.pays.NombreArticles, 1);
  EXPECT_EQ(t.villes.NombreArticles, 1);
  EXPECT_EQ(Nom(t.villes, bruxelles), "Bruxelles");
  EXPECT_EQ(t.quartiers.NombreArticles, 1);
  EXPECT_EQ(compteur.Recus, (std::vector<TypeEventId>{CustomTable::EventTableAvantSuppression(),
                                                      CustomTable::EventTableApresSuppression()}));
  EXPECT_TRUE(ReferenceArticle::EstReferenceNulle(Cible(t.consulats, consulat)));
  // The deleted rows have left the indexes of their tables and of their reference columns.
  EXPECT_EQ(t.villes.LigneDePosition(1, 0), bruxelles);
  EXPECT_EQ(t.villes.LigneDePosition(2, 0), static_cast<int32_t>(kAucuneLigne));
  std::vector<int32_t> lignes;
  static_cast<TChampReference*>(t.villes.GetChamp(1))->LignesReferencant({nullptr, static_cast<uint32_t>(fr - 1), &t.pays}, lignes);
  EXPECT_TRUE(lignes.empty());
  // SupprimerLigne of a row that is gone.
  EXPECT_FALSE(t.pays.SupprimerLigne(fr));
  EXPECT_EQ(TexteErreur(t.pays), "CustomTable : Article inexistant");
}

// A refusal anywhere in the cascade used to come after part of it was done: references reset and
// rows deleted stayed so.
TEST(Table, ARefusedDeletionLeavesEveryTableAsItWas) {
  Tables t;
  const int32_t fr = CreerLigne(t.pays, "FR", 68);
  const int32_t paris = CreerLigne(t.villes, "Paris", 0, &t.pays, fr);
  CreerLigne(t.villes, "Lyon", 0, &t.pays, fr);
  const int32_t marais = CreerLigne(t.quartiers, "Marais", 0, &t.villes, paris);
  CreerLigne(t.consulats, "Consulat", 0, &t.pays, fr);
  const auto avant = t.Etat();

  // Forbidden three levels down: a monument in a district of a city of the country.
  CreerLigne(t.monuments, "Tour", 0, &t.quartiers, marais);
  const auto avecMonument = t.Etat();
  TArticle france(&t.pays, MA_Reference, fr);
  TErreur* e = france.TesterSuppression();
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->Message, "Suppression article Impossible : TPays");
  ASSERT_EQ(e->NombreFils(), 1);
  EXPECT_EQ(static_cast<TErreur*>(e->Fils(0))->Message, "Suppression article Impossible : TVille");
  TErreur* s = france.Supprimer();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(static_cast<TErreur*>(s->Fils(0))->Message, "CustomTable : Suppression article impossible");
  EXPECT_EQ(t.Etat(), avecMonument);
  EXPECT_FALSE(t.villes.DetruireReferencants(paris - 1));
  EXPECT_EQ(t.Etat(), avecMonument);
  // Through a transient copy: refused the same way, the copy keeping its origin.
  TArticle* copie = t.pays.ArticleDeNumero(fr, true);
  s = copie->Supprimer();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Message, "TPays.Supprimer : Impossible de supprimer l'article");
  EXPECT_EQ(static_cast<TErreur*>(s->Fils(0))->Message, "CustomTable : Suppression article impossible");
  EXPECT_EQ(t.Etat(), avecMonument);
  TypeReferenceArticle origine;
  copie->GetReference(origine);
  EXPECT_EQ(origine.Table, &t.pays);
  EXPECT_EQ(origine.IndiceArticle, static_cast<uint32_t>(fr - 1));
  copie->RestituerTransitoire();
  ASSERT_TRUE(t.monuments.SupprimerLigne(1));
  EXPECT_EQ(t.Etat(), avant);

  // A reset to null in a column that refuses null, the class naming no default article.
  const int32_t ambassade = CreerLigne(t.ambassades, "Ambassade", 0, &t.pays, fr);
  const auto avecAmbassade = t.Etat();
  e = france.TesterSuppression();
  ASSERT_NE(e, nullptr);
  ASSERT_EQ(e->NombreFils(), 1);
  EXPECT_EQ(static_cast<TErreur*>(e->Fils(0))->Message,
            "Référence nulle non autorisée pour le champ TAmbassade.Cible"_ansi);
  EXPECT_FALSE(t.pays.SupprimerLigne(fr));
  EXPECT_EQ(t.Etat(), avecAmbassade);
  EXPECT_EQ(Cible(t.ambassades, ambassade).IndiceArticle, static_cast<uint32_t>(fr - 1));
}

TEST(Table, TheSharedArticleAndTheTransientCopiesOfADeletedRowLetGoOfIt) {
  Tables t;
  const int32_t fr = CreerLigne(t.pays, "FR", 68);
  const int32_t paris = CreerLigne(t.villes, "Paris", 0, &t.pays, fr);
  TArticle* partage = t.villes.ArticleDeNumero(paris, false);
  ASSERT_NE(partage, nullptr);
  EXPECT_EQ(partage, t.villes.ArticleDePosition(0, 1, false));
  EXPECT_EQ(partage->Position, 1);
  TArticle* copie = t.villes.ArticleDeNumero(paris, true);
  ASSERT_NE(copie, nullptr);
  EXPECT_EQ(copie->GetChampString(0), "Paris");

  EXPECT_EQ(t.pays.ArticleDeNumero(fr, false)->Supprimer(), nullptr);
  EXPECT_EQ(partage->Etat, EI_Detruite);
  EXPECT_EQ(partage->IndiceArticle, kAucuneLigne);
  TypeReferenceArticle origine;
  copie->GetReference(origine);
  EXPECT_TRUE(ReferenceArticle::EstReferenceNulle(origine));
  for (int32_t numero : {paris, 0, -5, static_cast<int32_t>(kAucuneLigne)}) {
    for (bool transitoire : {false, true}) {
      t.villes.DerniereErreur = 0;
      EXPECT_EQ(t.villes.ArticleDeNumero(numero, transitoire), nullptr) << numero;
      EXPECT_EQ(TexteErreur(t.villes), "CustomTable : Article inexistant");
    }
  }
  copie->RestituerTransitoire();
}

TEST(Table, ACycleOfReferencesIsDeletedOnce) {
  TTable noeuds(TNoeud::StaticClass(), nullptr, true, 16);
  // 1 <- 2 <- 3, 4 <-> 5, 6 designates itself.
  const int32_t n1 = CreerLigne(noeuds, "1");
  CreerLigne(noeuds, "2", 0, &noeuds, n1);
  CreerLigne(noeuds, "3", 0, &noeuds, 2);
  const int32_t n4 = CreerLigne(noeuds, "4");
  const int32_t n5 = CreerLigne(noeuds, "5", 0, &noeuds, n4);
  static_cast<TChampReference*>(noeuds.GetChamp(1))->SetReference(static_cast<uint32_t>(n5 - 1), &noeuds, n4 - 1);
  const int32_t n6 = CreerLigne(noeuds, "6");
  static_cast<TChampReference*>(noeuds.GetChamp(1))->SetReference(static_cast<uint32_t>(n6 - 1), &noeuds, n6 - 1);

  EXPECT_TRUE(noeuds.SupprimerLigne(n1));
  EXPECT_EQ(noeuds.NombreArticles, 3);
  EXPECT_TRUE(noeuds.SupprimerLigne(n5));
  EXPECT_EQ(noeuds.NombreArticles, 1);
  EXPECT_TRUE(noeuds.SupprimerLigne(n6));
  EXPECT_EQ(noeuds.NombreArticles, 0);
}

namespace {
// A country class that names a default country: the first row of the table.
struct TClassePaysAvecDefaut : TClasseRegle<RSR_ValeurParDefaut, false> {
  using TClasseRegle::TClasseRegle;
  TArticle* ArticleParDefaut(TCustomTable* Table) const override {
    static TArticle defaut;
    defaut.Designer(Table, 1, false);
    return &defaut;
  }
};
class TPaysAvecDefaut : public TArticle {
  NV_DECLARE_CLASS(TPaysAvecDefaut)
 public:
  using TArticle::TArticle;
  static constexpr TInfoPropriete kProprietes[] = {{"Code", "String", tkLString, nullptr, 0, true}};
};
NV_DEFINE_ARTICLE_CLASS(TPaysAvecDefaut, TArticle, kProprietes, TClassePaysAvecDefaut)
NV_CLASSE_LIEN(TRepresentation, TPaysAvecDefaut, RSR_ValeurParDefaut, false)
}  // namespace

TEST(Table, AResetPutsTheDefaultArticleOfTheReferencedClassInPlace) {
  TTable pays(TPaysAvecDefaut::StaticClass(), nullptr, true, 16);
  TTable representations(TRepresentation::StaticClass(), nullptr, true, 16);
  const int32_t defaut = CreerLigne(pays, "--");
  const int32_t fr = CreerLigne(pays, "FR");
  const int32_t r = CreerLigne(representations, "R", 0, &pays, fr);
  EXPECT_TRUE(pays.SupprimerLigne(fr));
  EXPECT_EQ(Cible(representations, r).IndiceArticle, static_cast<uint32_t>(defaut - 1));
  EXPECT_EQ(Cible(representations, r).Table, &pays);

  // The default article cannot replace itself: the reset would be to null, which the column refuses.
  // The deletion used to go ahead and leave the row designating the deleted row.
  EXPECT_FALSE(pays.SupprimerLigne(defaut));
  EXPECT_TRUE(pays.LigneExiste(defaut - 1));
  EXPECT_EQ(Cible(representations, r).IndiceArticle, static_cast<uint32_t>(defaut - 1));
}

TEST(Table, SummaryAndTraceFollowTheDefaultIndex) {
  Tables t;
  CreerLigne(t.pays, "FR", 68);
  CreerLigne(t.pays, "BE", 11);
  std::string texte;
  t.pays.TexteResume(texte);
  EXPECT_EQ(texte, "FR | 68\r\nBE | 11");
  t.pays.TracerComplet(false, nullptr, texte);
  EXPECT_EQ(texte, "Table de 'TPays' (2 élément(s))"_ansi);
  t.pays.TracerContenu(true, nullptr, texte);
  EXPECT_NE(texte.find("TTable (TPays)"), std::string::npos);
  EXPECT_LT(texte.find("FR"), texte.find("BE"));
  // The header ends with the number of live rows.
  t.pays.TracerEntete(nullptr, texte);
  EXPECT_NE(texte.find("Nombre Articles = 2"), std::string::npos) << texte;
}

TEST(Table, AStructureCopyTakesTheIndexesAndTheRows) {
  Tables t;
  CreerLigne(t.pays, "FR", 68);
  CreerLigne(t.pays, "BE", 11);
  std::unique_ptr<TTable> copie(new TTable(TBlank{}));
  copie->AssignerStructure(&t.pays, nullptr, nullptr);
  EXPECT_EQ(copie->NombreArticles, 2);
  ASSERT_EQ(copie->NombreIndex(), 2);
  EXPECT_EQ(copie->Index(1)->Table, copie.get());
  EXPECT_EQ(copie->LigneDePosition(1, 1), 2);
  CreerLigne(*copie, "AT", 9);
  EXPECT_EQ(copie->LigneDePosition(1, 1), 3);
  EXPECT_EQ(t.pays.NombreArticles, 2);
}
