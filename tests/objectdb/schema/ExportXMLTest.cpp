// The XML export: the registry's class tree (whole, or restricted to a base), the schema and data
// parts of a small base, and the elements that columns, tables, indexes and articles write.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>

#include "core/values/Ansi1252.h"
#include "core/values/ChaineUnicode.h"
#include "objectdb/articles/Article.h"
#include "objectdb/bases/Base.h"
#include "objectdb/columns/ChampInteger.h"
#include "objectdb/columns/ChampString.h"
#include "objectdb/indexes/Index.h"
#include "objectdb/schema/Referentiel.h"
#include "objectdb/tables/CustomTable.h"
#include "objectdb/tables/Table.h"

namespace {

class TEleve : public TArticle {
  NV_DECLARE_CLASS(TEleve)
 public:
  using TArticle::TArticle;
  static constexpr TInfoPropriete kProprietes[] = {
      {"Nom", "String", tkLString, nullptr, 0, true},
      {"Age", "Integer", tkInteger, nullptr, 1, true},
  };
};
NV_DEFINE_PUBLISHED_CLASS(TEleve, TArticle, kProprietes)

class TDelegue : public TEleve {
  NV_DECLARE_CLASS(TDelegue)
 public:
  using TEleve::TEleve;
  static constexpr TInfoPropriete kProprietes[] = {{"Mandat", "Integer", tkInteger, nullptr, 2, true}};
};
NV_DEFINE_PUBLISHED_CLASS(TDelegue, TEleve, kProprietes)

class TCours : public TArticle {
  NV_DECLARE_CLASS(TCours)
 public:
  using TArticle::TArticle;
};
NV_DEFINE_CLASS(TCours, TArticle)

class TBaseLycee : public TBase {
  NV_DECLARE_CLASS(TBaseLycee)
 public:
  using TBase::TBase;
};
NV_DEFINE_CLASS(TBaseLycee, TBase)

// A subject, whose class gives every table of it a unique index on its code.
struct TClasseMatiere : TArticle::Class {
  using Class::Class;
  void CreerIndex(TTable* Table) const override { (void)Table->AjouterIndex("ParCode", {0, 0, 0}, ruiCleUnique); }
};

class TMatiere : public TArticle {
  NV_DECLARE_CLASS(TMatiere)
 public:
  using TArticle::TArticle;
  static constexpr TInfoPropriete kProprietes[] = {
      {"Code", "String", tkLString, nullptr, 0, true},
      {"Libelle", "String", tkLString, nullptr, 1, true},
  };
};
NV_DEFINE_ARTICLE_CLASS(TMatiere, TArticle, kProprietes, TClasseMatiere)

// The document's text without indentation or declaration, parsed back first so that what is
// asserted is what a reader gets.
std::string Texte(const pugi::xml_document& document) {
  std::ostringstream flux;
  document.save(flux, "", pugi::format_raw | pugi::format_no_declaration);
  if (flux.str().empty()) return {};
  pugi::xml_document relu;
  EXPECT_TRUE(relu.load_string(flux.str().c_str()));
  std::ostringstream relu_flux;
  relu.save(relu_flux, "", pugi::format_raw | pugi::format_no_declaration);
  EXPECT_EQ(relu_flux.str(), flux.str());
  return flux.str();
}

struct Eleves {
  TCustomTable table{TEleve::StaticClass(), nullptr, 16};
  int32_t Ajouter(const std::string& nom, int32_t age) {
    int32_t l = -1;
    EXPECT_TRUE(table.AllouerLigne(l));
    static_cast<TChampString*>(table.GetChamp(0))->SetValeur(l, nom);
    static_cast<TChampInteger*>(table.GetChamp(1))->SetValeur(l, age);
    return l;
  }
};

}  // namespace

TEST(ExportXML, TheRegistryPartRestrictedToABaseHoldsOnlyTheNodesThatHaveAnEntryForIt) {
  TReferentiel::EnregistrerClasse(TDelegue::StaticClass());
  TReferentiel::EnregistrerClasse(TCours::StaticClass());
  TBase base;
  TCustomTable delegues(TDelegue::StaticClass(), &base, 16);
  pugi::xml_document document;
  TReferentiel::ExporterReferentielXML(TNoeudXML(document), EnsemblePartiesXML({PX_Referentiel}), &base);
  EXPECT_EQ(Texte(document),
            "<referentiel><noeud classe=\"TArticle\">"
            "<noeud classe=\"TEleve\"><champ nom=\"Nom\" type=\"STRING\"/><champ nom=\"Age\" type=\"INTEGER\"/>"
            "<noeud classe=\"TDelegue\"><champ nom=\"Mandat\" type=\"INTEGER\"/></noeud></noeud>"
            "</noeud></referentiel>");

  // Without a base, every node is there.
  pugi::xml_document tout;
  TReferentiel::ExporterReferentielXML(TNoeudXML(tout), EnsemblePartiesXML({PX_Referentiel}), nullptr);
  EXPECT_TRUE(tout.select_node("/referentiel/noeud[@classe='TArticle']/noeud[@classe='TCours']"));
  EXPECT_TRUE(tout.select_node("//noeud[@classe='TDelegue']"));
}

TEST(ExportXML, ASmallBaseExportsItsSchemaAndDataAndParsesBack) {
  TBaseLycee lycee;
  TTable* matieres = lycee.CreerTable(TMatiere::StaticClass(), nullptr);
  ASSERT_NE(matieres, nullptr);
  // A table without base, and tables that are not exported: one that is not indexed, one of transient copies.
  TTable sansBase(TCours::StaticClass(), nullptr, true, 16);
  TCustomTable simple(TEleve::StaticClass(), nullptr, 16);
  TCustomTable transitoires(TDelegue::StaticClass(), nullptr, 16, true);
  for (auto [code, libelle] : {std::pair{"MAT", "Mathématiques"}, std::pair{"ALL", "Allemand"}}) {
    TArticle* matiere = TArticle::CreerTransitoire(TMatiere::StaticClass(), nullptr, static_cast<int32_t>(kAucuneLigne));
    matiere->SetChampString(0, code);
    matiere->SetChampString(1, ChaineUnicode::DepuisUTF8(libelle, ChaineUnicode::CP_WINDOWS_1252));
    ASSERT_EQ(matiere->Creer(matieres), nullptr);
  }

  pugi::xml_document document;
  TNoeudXML racine = TNoeudXML(document).AjouterFils("export");
  TReferentiel::ExporterReferentielXML(racine, EnsemblePartiesXML({PX_Schema, PX_Data}), nullptr);
  const std::string texte = Texte(document);
  // The schema describes each class once, with its structure indexes; the data holds every article
  // in row order, with its values and without types.
  EXPECT_NE(texte.find("<schema><table classe=\"TCours\"/><base classe=\"TBaseLycee\"><table classe=\"TMatiere\">"
                       "<index nom=\"ParCode\" unicite=\"unique\"><champ nom=\"Code\" type=\"STRING\" "
                       "sens=\"croissant\" mode=\"0\"/></index></table></base></schema>"),
            std::string::npos)
      << texte;
  EXPECT_NE(texte.find("<data><table classe=\"TCours\"/><base classe=\"TBaseLycee\"><table classe=\"TMatiere\">"
                       "<article numero=\"1\"><champ nom=\"Code\">MAT</champ><champ nom=\"Libelle\">Mathématiques"
                       "</champ></article><article numero=\"2\"><champ nom=\"Code\">ALL</champ><champ "
                       "nom=\"Libelle\">Allemand</champ></article></table></base></data>"),
            std::string::npos)
      << texte;

  // Restricted to the base: no table without base; the base's registry part holds its classes only.
  pugi::xml_document restreint;
  TReferentiel::ExporterReferentielXML(TNoeudXML(restreint), EnsemblePartiesXML({PX_Schema}), &lycee);
  EXPECT_FALSE(restreint.select_node("//table[@classe='TCours']"));
  EXPECT_TRUE(restreint.select_node("/schema/base/table[@classe='TMatiere']/index"));
  pugi::xml_document referentiel;
  TNoeudXML noeud;
  lycee.SaveToXMLNode(TNoeudXML(referentiel), PX_Referentiel, noeud);
  EXPECT_EQ(noeud.Noeud(), referentiel);
  EXPECT_TRUE(referentiel.select_node("/referentiel/noeud[@classe='TArticle']/noeud[@classe='TMatiere']"));
  EXPECT_FALSE(referentiel.select_node("//noeud[@classe='TCours']"));
}

TEST(ExportXML, AnIndexDescribesItsKeyInTheSchemaPartOnly) {
  Eleves eleves;
  TIndex index("ParAgeEtNom", &eleves.table, {{1, true, 0}, {0, false, 2}}, ruiCleUniqueSiNonNulle);
  struct Cas {
    TypePartieXML partie;
    const char* attendu;
  };
  const Cas cas[] = {
      {PX_Schema,
       "<index nom=\"ParAgeEtNom\" unicite=\"saufzero\"><champ nom=\"Age\" type=\"INTEGER\" sens=\"decroissant\" "
       "mode=\"0\"/><champ nom=\"Nom\" type=\"STRING\" sens=\"croissant\" mode=\"2\"/></index>"},
      {PX_Data, ""},
      {PX_Referentiel, ""},
  };
  for (const Cas& c : cas) {
    pugi::xml_document document;
    TNoeudXML noeud(document);
    index.SaveToXMLNode(TNoeudXML(document), c.partie, noeud);
    EXPECT_EQ(noeud.EstVide(), *c.attendu == '\0');
    EXPECT_EQ(Texte(document), c.attendu);
  }
}

TEST(ExportXML, AnArticleWritesItsNumberAndOneValuePerColumnWithTypesOutsideTheDataPart) {
  Eleves eleves;
  eleves.Ajouter("Lou", 12);
  const int32_t ligne = eleves.Ajouter(std::string("Zoé <& \"Ana\">"_ansi), 11);
  TArticle article(&eleves.table, MA_Reference, ligne + 1);
  TArticle sansLigne;

  pugi::xml_document data;
  TNoeudXML noeud;
  article.SaveToXMLNode(TNoeudXML(data), PX_Data, noeud);
  sansLigne.SaveToXMLNode(TNoeudXML(data), PX_Data, noeud);
  EXPECT_EQ(Texte(data),
            "<article numero=\"2\"><champ nom=\"Nom\">Zoé &lt;&amp; \"Ana\"&gt;</champ><champ nom=\"Age\">11</champ>"
            "</article><article numero=\"2147483647\"/>");
  // The text is the UTF-8 of the 1252 value.
  EXPECT_STREQ(data.first_child().first_child().child_value(), "Zoé <& \"Ana\">");

  pugi::xml_document schema;
  article.SaveToXMLNode(TNoeudXML(schema), PX_Schema, noeud);
  EXPECT_EQ(std::string(noeud.Noeud().name()), "article");
  EXPECT_STREQ(schema.select_node("/article/champ[2]").node().attribute("type").value(), "INTEGER");
}
