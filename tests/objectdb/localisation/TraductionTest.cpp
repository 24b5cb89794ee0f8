// The translation dictionary: texts from the language module chosen by "Config.lng", keys without
// case, the "CHAINES" escapes and line breaks, the resource-string map, resource strings read
// through the dictionary, the language change, the loaders' ends on broken input and the shared
// dictionary's life.
#include <gtest/gtest.h>

#include <memory>

#include "core/objects/Exceptions.h"
#include "core/values/Ansi1252.h"
#include "core/values/ChaineRessource.h"
#include "core/values/ChaineUnicode.h"
#include "objectdb/Traduction.h"
#include "objectdb/columns/ChampObject.h"
#include "objectdb/localisation/FragmentHtml.h"
#include "tests/objectdb/localisation/ModulesEssai.h"

namespace {

const std::string kChaines = "<chaines>\r\n" + Entree("NetUserLoginIncorrect", "Identifiant incorrect") +
                             Entree("Double", "premier") + Entree("Double", "second") +
                             Entree("Esperluette&amp;lt;", "a &amp;lt; b &lt;c&gt; &quot;d&quot;") +
                             Entree("Lignes", "un\ndeux\rtrois\r\nquatre") + Entree("Accents", "été") + "</chaines>";

// A process whose program folder chooses the module "fr.lng" for every locale.
struct ModuleFrancais {
  DossierProgramme dossier;
  ModuleFrancais() {
    dossier.EcrireModule("fr.lng", kChaines);
    dossier.Ecrire("Config.lng", "Defaut=fr.lng\r\n");
    EXPECT_TRUE(TChangementDeLangue::ChangerLangue("fr_FR.UTF-8"));
  }
};

std::string TexteRessource(int32_t id) {
  std::string texte;
  Traduction::TraduireRessource(id, ModuleRessources::ModuleProgramme(), 0, texte);
  return texte;
}

// A test resource string, registered once.
const TChaineRessource kChaineEssai{"TraductionTest_RS_Essai_S", 64720, "Essai de \"%s\"\r\nfin\\"};
void EnregistrerChaineEssai() {
  static const TChaineRessource* const kChaines[] = {&kChaineEssai};
  ChaineRessource::Enregistrer(kChaines);
}

}  // namespace

TEST(Traduction, AKeyIsTranslatedFromTheModuleThatConfigChoosesWithoutRegardToCase) {
  ModuleFrancais m;
  const struct {
    const char* cle;
    std::string texte;
  } cas[] = {
      {"NetUserLoginIncorrect", "Identifiant incorrect"},
      {"netuserloginincorrect", "Identifiant incorrect"},
      {"NETUSERLOGININCORRECT", "Identifiant incorrect"},
      {"CleAbsente", ""},
      {"Double", "premier"},  // two rows of one key: the first of the resource
      // "&amp;" first, then "&lt;" on its result; "&quot;" stays in a text.
      {"Esperluette<", "a < b <c> &quot;d&quot;"},
      {"Lignes", "un\r\ndeux\r\ntrois\r\nquatre"},
      {"Accents", std::string("été"_ansi)},
  };
  for (const auto& c : cas) EXPECT_EQ(Traduction::Traduire(c.cle), c.texte) << c.cle;
  std::string utf8;
  Traduction::Traduire("Accents", ChaineUnicode::CP_UTF8, utf8);
  EXPECT_EQ(utf8, "été");
}

TEST(Traduction, ATextInUtf8ComesBackInTheAnsiCodePageWithAQuestionMarkForWhatItLacks) {
  DossierProgramme dossier;
  dossier.EcrireModule("fr.lng", Entree("Grec", "α=1"));
  dossier.Ecrire("Config.lng", "fr=fr.lng\r\n");
  ASSERT_TRUE(TChangementDeLangue::ChangerLangue("fr_BE"));
  EXPECT_EQ(Traduction::Traduire("Grec"), "?=1");
}

TEST(Traduction, WithoutALanguageModuleKeysAreEmptyAndResourceStringsKeepTheirBuiltInText) {
  DossierProgramme dossier;  // no Config.lng
  EXPECT_FALSE(TChangementDeLangue::ChangerLangue("fr_FR"));
  EXPECT_EQ(Traduction::Traduire("NetUserLoginIncorrect"), "");
  EXPECT_EQ(TexteRessource(ChaineUnicode::RS_PageDeCodeInconnue_D.Id), ChaineUnicode::RS_PageDeCodeInconnue_D.TexteIntegre);
  EXPECT_EQ(Traduction::Traduire("ChaineUnicode_RS_PageDeCodeInconnue_D"), ChaineUnicode::RS_PageDeCodeInconnue_D.TexteIntegre);
  EXPECT_EQ(ChaineRessource::Charger(ChaineUnicode::RS_PageDeCodeInconnue_D), ChaineUnicode::RS_PageDeCodeInconnue_D.TexteIntegre);
}

TEST(Traduction, TheResourceStringMapGivesEveryRegisteredStringItsRowWithTheEscapesDecoded) {
  EnregistrerChaineEssai();
  DossierProgramme::Reinitialiser();
  EXPECT_EQ(TexteRessource(kChaineEssai.Id), kChaineEssai.TexteIntegre);
  EXPECT_EQ(ChaineRessource::Charger(kChaineEssai), kChaineEssai.TexteIntegre);
  TTableTraductions table;
  TDictionnaire::ChargerDRCDesModules(&table);
  int32_t chaines = 0;
  for (int32_t id = ChaineRessource::kIdMinimal; id <= ChaineRessource::kIdMaximal; ++id)
    if (const TChaineRessource* c = ChaineRessource::ParId(id)) {
      ++chaines;
      const uint32_t ligne = table.ChercherParRessource(id, ModuleRessources::ModuleProgramme());
      ASSERT_NE(ligne, kAucuneLigne) << c->Nom;
      EXPECT_EQ(table.Cle(ligne), c->Nom);
      EXPECT_EQ(table.Chaine(ligne)->GetChaine(0), c->TexteIntegre) << c->Nom;
    }
  EXPECT_EQ(table.NombreArticles, chaines);  // one row per resource string, none else
}

TEST(Traduction, AResourceStringTakesTheModulesTextByItsNameAndFallsBackWhenTheDictionaryLacksIt) {
  EnregistrerChaineEssai();
  DossierProgramme dossier;
  dossier.EcrireModule("fr.lng", Entree("TraductionTest_RS_Essai_S", "Traduit été %s") + Entree("Autre", "x"));
  dossier.Ecrire("Config.lng", "Defaut=fr.lng\r\n");
  ASSERT_TRUE(TChangementDeLangue::ChangerLangue("de_DE"));
  EXPECT_EQ(ChaineRessource::Charger(kChaineEssai), std::string("Traduit été %s"_ansi));
  EXPECT_EQ(TexteRessource(kChaineEssai.Id), std::string("Traduit été %s"_ansi));
  std::string utf8;
  Traduction::TraduireRessourceUTF8(kChaineEssai.Id, ModuleRessources::ModuleProgramme(), utf8);
  EXPECT_EQ(utf8, "Traduit été %s");
  Traduction::TraduireRessourceUTF8(kChaineEssai.Id, ModuleRessources::ModuleProgramme() + 1, utf8);
  EXPECT_EQ(utf8, "");  // another module's id
  // A string that no map ever named: its built-in text.
  const TChaineRessource inconnue{"TraductionTest_RS_Inconnue", 64721, "interne"};
  EXPECT_EQ(ChaineRessource::Charger(inconnue), "interne");
}

TEST(Traduction, AResourceStringAskedForDuringTheTranslationOfAnotherTakesItsBuiltInTextAndTheGuardIsClearedAfterAThrow) {
  EnregistrerChaineEssai();
  DossierProgramme::Reinitialiser();
  Traduction::DefinirTexte("EntiteHtml_RS_EntiteHtmlHorsBorne_SSD", "Reference %0:s hors bornes");
  // The test string's text becomes a fragment whose conversion raises an entity error: its message
  // is a resource string asked for while the test string is being translated.
  TDictionnaire* d = TDictionnaire::Acquerir();
  const uint32_t ligne = d->Traductions->ChercherParRessource(kChaineEssai.Id, ModuleRessources::ModuleProgramme());
  ASSERT_NE(ligne, kAucuneLigne);
  auto* colonne = static_cast<TChampObject*>(d->Traductions->GetChamp(TTraduction::kChaineUnicode));
  delete colonne->GetValeur(static_cast<int32_t>(ligne));
  auto* fragment = new TFragmentHtml;
  fragment->SetUTF8("&#99999;");
  colonne->SetValeur(static_cast<int32_t>(ligne), fragment);
  TDictionnaire::Liberer();
  try {
    (void)ChaineRessource::Charger(kChaineEssai);
    ADD_FAILURE() << "no conversion error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "L'entité HTML '&#99999;' est invalide, chaîne '&#99999;', position 1"_ansi);
  }
  // Out of the translation the guard is down again: the dictionary's text.
  EXPECT_EQ(ChaineRessource::Charger(EntiteHtml::RS_EntiteHtmlHorsBorne_SSD), "Reference %0:s hors bornes");
  Traduction::Vider();
}

TEST(Traduction, TheLoadersEndOnBrokenInputAndKeepWhatCameBefore) {
  const struct {
    const char* nom;
    std::string chaines;
    std::vector<std::string> cles;
  } casChaines[] = {
      {"key without its end", Entree("A", "a") + "<chaine cle=\"B>b</chaine>", {"A"}},
      {"text without its end", Entree("A", "a") + "<chaine cle=\"B\">b", {"A"}},
      {"empty", "", {}},
      {"an empty key is a key", Entree("", "vide") + Entree("B", "b"), {"", "B"}},
  };
  for (const auto& c : casChaines) {
    DossierProgramme dossier;
    dossier.Ecrire("m.lng", FormatModule::Ecrire({{"CHAINES", c.chaines}}));
    const TypeHandleModule h = ModuleRessources::ChargerFichier(dossier.Chemin("m.lng"));
    ASSERT_NE(h, ModuleRessources::kAucunModule);
    TTableTraductions table;
    TDictionnaire::ChargerChaines(h, &table);
    EXPECT_EQ(table.NombreArticles, static_cast<int32_t>(c.cles.size())) << c.nom;
    for (const std::string& cle : c.cles) {
      const uint32_t ligne = table.ChercherParCle(cle);
      ASSERT_NE(ligne, kAucuneLigne) << c.nom;
      EXPECT_NE(table.Chaine(ligne), nullptr) << c.nom;
    }
    (void)ModuleRessources::Liberer(h);
  }
  const struct {
    const char* nom;
    std::string drc;
    int32_t lignes;
  } casDRC[] = {
      {"name without a table line", "#define U_RS_A 64800\r\n#define U_RS_B 64801\r\nSTRINGTABLE\r\nBEGIN\r\n\tU_RS_A,\t\"a\"\r\nEND\r\n", 1},
      {"id that is not a number, then a good line", "#define U_RS_A 6x800\r\n#define U_RS_B 64801\r\nBEGIN\r\n\tU_RS_A,\t\"a\"\r\n\tU_RS_B,\t\"b\"\r\n", 1},
      {"text without its closing quote", "#define U_RS_A 64800\r\n\tU_RS_A,\t\"a\\", 1},
      {"name without a blank", "#define U_RS_A", 0},
      {"same id twice: the second is refused", "#define U_RS_A 64800\r\n#define U_RS_B 64800\r\n\tU_RS_A,\t\"a\"\r\n\tU_RS_B,\t\"b\"\r\n", 1},
  };
  for (const auto& c : casDRC) {
    TTableTraductions table;
    TDictionnaire::ChargerDRC(&table, c.drc, 7);
    EXPECT_EQ(table.NombreArticles, c.lignes) << c.nom;
  }
}

TEST(Traduction, TheLanguageChangesAtRunTimeWithTheListenersAgreementAndAModuleWithoutTextsIsRefused) {
  ModuleFrancais m;
  ASSERT_EQ(Traduction::Traduire("NetUserLoginIncorrect"), "Identifiant incorrect");
  m.dossier.EcrireModule("en.lng", Entree("NetUserLoginIncorrect", "Wrong login"));
  m.dossier.EcrireModule("vide.lng", "<chaines/>");
  m.dossier.EcrireConfig("en-GB=en.lng\r\nxx=vide.lng\r\n");
  EXPECT_FALSE(TChangementDeLangue::ChangerLangue("xx_XX"));
  EXPECT_EQ(Traduction::Traduire("NetUserLoginIncorrect"), "Identifiant incorrect");
  EXPECT_TRUE(TChangementDeLangue::ChangerLangue("en_GB.UTF-8"));
  EXPECT_EQ(Traduction::Traduire("NetUserLoginIncorrect"), "Wrong login");
  // The previous language module was let go; the installed one is held once.
  EXPECT_EQ(ModuleRessources::NombreModulesCharges(), 1);
}

TEST(Traduction, DefinirTexteSetsAndRemovesAKeyAndViderGoesBackToTheModule) {
  ModuleFrancais m;
  Traduction::DefinirTexte("netuserloginincorrect", "Autre");
  Traduction::DefinirTexte("Nouvelle", "neuve");
  EXPECT_EQ(Traduction::Traduire("NetUserLoginIncorrect"), "Autre");
  EXPECT_EQ(Traduction::Traduire("nouvelle"), "neuve");
  Traduction::DefinirTexte("Double", "");
  EXPECT_EQ(Traduction::Traduire("Double"), "");
  Traduction::Vider();
  EXPECT_EQ(Traduction::Traduire("NetUserLoginIncorrect"), "Identifiant incorrect");
  EXPECT_EQ(Traduction::Traduire("Nouvelle"), "");
  EXPECT_EQ(Traduction::Traduire("Double"), "premier");
}

TEST(Traduction, AReleaseAskedWhileACallerHoldsTheDictionaryWaitsForItAndALateTranslationBuildsNone) {
  TDictionnaire* d = TDictionnaire::Acquerir();
  ASSERT_NE(d, nullptr);
  TDictionnaire::DemanderLiberation();
  EXPECT_EQ(TDictionnaire::Acquerir(), d);  // still there for its holders
  TDictionnaire::Liberer();
  TDictionnaire::Liberer();  // the last holder frees it
  EXPECT_EQ(TDictionnaire::Acquerir(), nullptr);
  TDictionnaire::Liberer();
  EXPECT_EQ(Traduction::Traduire("ChaineUnicode_RS_PageDeCodeInconnue_D"), "");
  EXPECT_EQ(ChaineRessource::Charger(ChaineUnicode::RS_PageDeCodeInconnue_D), ChaineUnicode::RS_PageDeCodeInconnue_D.TexteIntegre);
  EXPECT_EQ(TDictionnaire::Acquerir(), nullptr);
  TDictionnaire::Liberer();
  Traduction::Initialiser();  // a new start makes one again
  EXPECT_NE(TDictionnaire::Acquerir(), nullptr);
  TDictionnaire::Liberer();
}

TEST(Traduction, TheLanguageIsChosenOnceAndANewDictionaryReadsTheInstalledModule) {
  DossierProgramme dossier;
  dossier.EcrireModule("a.lng", Entree("Langue", "A"));
  dossier.EcrireModule("b.lng", Entree("Langue", "B"));
  dossier.EcrireConfig("Defaut=a.lng\r\n");
  Traduction::Finaliser();  // the end of one run of the units and the start of another
  Traduction::Initialiser();
  EXPECT_EQ(Traduction::Traduire("Langue"), "A");
  dossier.EcrireConfig("Defaut=b.lng\r\n");
  TDictionnaire::DemanderLiberation();
  Traduction::Initialiser();
  EXPECT_EQ(Traduction::Traduire("Langue"), "A");
  EXPECT_EQ(ModuleRessources::NombreModulesCharges(), 1);
}

TEST(Traduction, TheUnitsStartBuildsTheDictionaryWhichInstallsTheLanguageModuleBeforeAnyText) {
  DossierProgramme dossier;
  dossier.EcrireModule("a.lng", Entree("Langue", "A"));
  dossier.EcrireConfig("Defaut=a.lng\r\n");
  const TypeHandleModule programme = ModuleRessources::ModuleProgramme();
  Traduction::Finaliser();
  ASSERT_EQ(ModuleRessources::ModuleDeRessources(programme), ModuleRessources::kAucunModule);
  Traduction::Initialiser();
  EXPECT_NE(ModuleRessources::ModuleDeRessources(programme), ModuleRessources::kAucunModule);
  // The file goes: the text was read when the unit started.
  std::filesystem::remove(dossier.Chemin("a.lng"));
  EXPECT_EQ(Traduction::Traduire("Langue"), "A");
}
