// Bases: their tables through the schema registry, creation and the copy of another base's tables,
// default articles, the stream form, and the traces.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/serial/Serialisation.h"
#include "objectdb/articles/Article.h"
#include "objectdb/bases/Base.h"
#include "objectdb/columns/ChampString.h"
#include "objectdb/indexes/Index.h"
#include "objectdb/schema/Referentiel.h"
#include "objectdb/tables/Table.h"

namespace {

// A room class whose tables get one default room and an index by name.
struct TClasseSalle : TArticle::Class {
  using Class::Class;
  void CreerIndex(TTable* Table) const override { (void)Table->AjouterIndex("ParNom", {0, 0, 0}, ruiCleUnique); }
  void CreerArticlesParDefaut(TTable* Table) const override {
    int32_t ligne;
    ASSERT_TRUE(Table->AllouerLigne(ligne));
    static_cast<TChampString*>(Table->GetChamp(0))->SetValeur(ligne, "Salle par defaut");
    for (int32_t p = 0; p < Table->NombreIndex(); ++p)
      ASSERT_TRUE(Table->Index(p)->InsererLigne(static_cast<uint32_t>(ligne), TypeEnsembleOctets{}, true, false));
  }
};

class TSalle : public TArticle {
  NV_DECLARE_CLASS(TSalle)
 public:
  using TArticle::TArticle;
  static constexpr TInfoPropriete kProprietes[] = {{"Nom", "String", tkLString, nullptr, 0, true}};
};
NV_DEFINE_ARTICLE_CLASS(TSalle, TArticle, kProprietes, TClasseSalle)

// A resource class without a table of its own, and two kinds of it.
class TRessource : public TArticle {
  NV_DECLARE_CLASS(TRessource)
 public:
  using TArticle::TArticle;
  static constexpr TInfoPropriete kProprietes[] = {{"Code", "String", tkLString, nullptr, 0, true}};
};
NV_DEFINE_PUBLISHED_CLASS(TRessource, TArticle, kProprietes)

class TProjecteur : public TRessource {
  NV_DECLARE_CLASS(TProjecteur)
 public:
  using TRessource::TRessource;
};
NV_DEFINE_CLASS(TProjecteur, TRessource)

class TTableau : public TRessource {
  NV_DECLARE_CLASS(TTableau)
 public:
  using TRessource::TRessource;
};
NV_DEFINE_CLASS(TTableau, TRessource)

std::vector<std::string> Noms(TTable* t) {
  std::vector<std::string> noms;
  for (int32_t p = 1;; ++p) {
    const int32_t numero = t->LigneDePosition(p, 0);
    if (numero == static_cast<int32_t>(kAucuneLigne)) return noms;
    noms.push_back(static_cast<TChampString*>(t->GetChamp(0))->GetValeur(numero - 1));
  }
}

}  // namespace

TEST(Base, ANewBaseHasNoTable) {
  TBase base("Ecole", false);
  EXPECT_EQ(base.NombreTables(), 0);
  std::string texte;
  base.TexteResume(texte);
  EXPECT_EQ(texte, "TBase contenant 0 tables(s)");
  EXPECT_EQ(base.TableDeClasse(TSalle::StaticClass()), nullptr);
}

TEST(Base, ItsTablesAreFoundByClassAndAnAmbiguousClassHasNone) {
  TBase base("Ecole", false);
  TTable* salles = base.CreerTable(TSalle::StaticClass(), nullptr);
  TTable* projecteurs = base.CreerTable(TProjecteur::StaticClass(), nullptr);
  TTable* tableaux = base.CreerTable(TTableau::StaticClass(), nullptr);
  EXPECT_EQ(salles->Base, &base);
  ASSERT_EQ(salles->NombreIndex(), 2);
  EXPECT_EQ(base.NombreTables(), 3);
  EXPECT_EQ(base.TableDeClasse(TSalle::StaticClass()), salles);
  EXPECT_EQ(base.CreerTable(TSalle::StaticClass(), nullptr), nullptr);
  EXPECT_EQ(base.NombreTables(), 3);
  EXPECT_EQ(base.TableDeClasse(TProjecteur::StaticClass()), projecteurs);
  EXPECT_EQ(base.TableDeClasse(TRessource::StaticClass()), nullptr);
  EXPECT_EQ(base.TablesDeClasse(TRessource::StaticClass()), (std::vector<TCustomTable*>{projecteurs, tableaux}));
  // Another base does not see them.
  TBase autre("Autre", false);
  EXPECT_EQ(autre.NombreTables(), 0);
  EXPECT_EQ(autre.TableDeClasse(TSalle::StaticClass()), nullptr);
}

TEST(Base, DefaultArticlesAreMadeInEveryTable) {
  TBase base("Ecole", false);
  TTable* salles = base.CreerTable(TSalle::StaticClass(), nullptr);
  EXPECT_EQ(base.CreerArticlesParDefaut(), 0);
  EXPECT_EQ(Noms(salles), std::vector<std::string>{"Salle par defaut"});
}

TEST(Base, AssignerCopiesNameAndFlagAndWithTablesTheirStructureAndRows) {
  TBase source("Source", true);
  TTable* salles = source.CreerTable(TSalle::StaticClass(), nullptr);
  (void)source.CreerTable(TProjecteur::StaticClass(), nullptr);
  ASSERT_EQ(source.CreerArticlesParDefaut(), 0);

  TBase cible("Cible", false);
  TTable* anciennes = cible.CreerTable(TTableau::StaticClass(), nullptr);
  cible.Assigner(&source, true);
  EXPECT_EQ(cible.Nom, "Source");
  EXPECT_TRUE(cible.Drapeau);
  EXPECT_EQ(cible.TableDeClasse(TTableau::StaticClass()), anciennes);

  cible.Assigner(&source, false);
  EXPECT_EQ(cible.NombreTables(), 2);
  EXPECT_EQ(cible.TableDeClasse(TTableau::StaticClass()), nullptr);
  TTable* copie = cible.TableDeClasse(TSalle::StaticClass());
  ASSERT_NE(copie, nullptr);
  EXPECT_NE(copie, salles);
  EXPECT_EQ(copie->Base, &cible);
  EXPECT_EQ(Noms(copie), std::vector<std::string>{"Salle par defaut"});
  ASSERT_EQ(copie->NombreIndex(), 2);
  EXPECT_EQ(copie->Index(1)->Table, copie);
  EXPECT_EQ(copie->LigneDePosition(1, 1), 1);
  // The copy is a table of its own: changing it leaves the source as it was.
  EXPECT_TRUE(copie->SupprimerLigne(1));
  EXPECT_EQ(copie->NombreArticles, 0);
  EXPECT_EQ(Noms(salles), std::vector<std::string>{"Salle par defaut"});
  EXPECT_EQ(source.NombreTables(), 2);
}

TEST(Base, WrittenAsNameAndFlagAndReadBackByClassName) {
  TBase base("Ecole", true);
  base.CreerTable(TSalle::StaticClass(), nullptr);
  TBinaryFormatter f;
  base.Ecrire(&f, nullptr);
  EXPECT_EQ(static_cast<TMemoryStream*>(f.Flux())->Bytes(), (std::vector<uint8_t>{5, 0, 0, 0, 'E', 'c', 'o', 'l', 'e', 1}));

  TBinaryFormatter objet;
  objet.EcrireObjet(&base, nullptr);
  const auto& octets = static_cast<TMemoryStream*>(objet.Flux())->Bytes();
  TMemoryStream m;
  m.Assign(octets.data(), octets.size());
  TBinaryFormatter lecteur(&m);
  std::unique_ptr<TObject> lu(lecteur.LireObjet(nullptr));
  auto& relue = dynamic_cast<TBase&>(*lu);
  EXPECT_EQ(relue.Nom, "Ecole");
  EXPECT_TRUE(relue.Drapeau);
  EXPECT_EQ(relue.Etat, EI_Valide);
  EXPECT_EQ(relue.NombreTables(), 0);
}

TEST(Base, DestroyingABaseFreesItsTables) {
  auto base = std::make_unique<TBase>("Ecole", false);
  base->CreerTable(TSalle::StaticClass(), nullptr);
  base->CreerTable(TProjecteur::StaticClass(), nullptr);
  TBase* adresse = base.get();
  base.reset();
  // No entry of the freed base is left anywhere in the registry.
  EXPECT_EQ(TReferentiel::Noeud(TSalle::StaticClass())->Entree(adresse), nullptr);
  EXPECT_EQ(TReferentiel::Noeud(TArticle::StaticClass())->Entree(adresse), nullptr);
}

TEST(Base, TheCompleteTraceIsThatOfEveryTable) {
  TBase base("Ecole", false);
  TTable* salles = base.CreerTable(TSalle::StaticClass(), nullptr);
  ASSERT_EQ(base.CreerArticlesParDefaut(), 0);
  std::string texte, table;
  base.TracerComplet(true, nullptr, texte);
  salles->TracerComplet(true, nullptr, table);
  EXPECT_EQ(texte, table);
  EXPECT_NE(texte.find("Salle par defaut"), std::string::npos);
  base.TracerComplet(false, nullptr, texte);
  EXPECT_EQ(texte, "TBase contenant 1 tables(s)");
}
