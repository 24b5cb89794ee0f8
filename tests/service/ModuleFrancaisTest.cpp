// The French language module that the build packs beside the service program: "Config.lng" chooses
// it, and every dictionary key that the code uses (in a translation call, or returned by a function
// that chooses a key) has a text there, with the format arguments that the key's suffix announces
// ("_D" an integer, "_SD" a text then an integer).
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>

#include "base/SupTraitement.h"
#include "core/objects/Exceptions.h"
#include "core/values/ChaineRessource.h"
#include "core/values/ChaineUnicode.h"
#include "core/values/Format.h"
#include "objectdb/Traduction.h"
#include "tests/objectdb/localisation/ModulesEssai.h"

namespace {

// The literals of the bodies of the functions that choose a key (a text named "Cle..."), whose
// result a translation call takes.
void ClesChoisies(const std::string& texte, std::set<std::string>& cles) {
  const std::regex definition(R"((?:const char\s*\*|std::string_view)\s+Cle\w*\([^;{)]*\)\s*\{)");
  const std::regex litteral(R"re("([A-Za-z]\w*)")re");
  for (std::sregex_iterator it(texte.begin(), texte.end(), definition), fin; it != fin; ++it) {
    const std::size_t debut = static_cast<std::size_t>(it->position() + it->length());
    std::size_t p = debut;
    for (int profondeur = 1; p < texte.size() && profondeur > 0; ++p)
      profondeur += texte[p] == '{' ? 1 : texte[p] == '}' ? -1 : 0;
    const std::string corps = texte.substr(debut, p - debut);
    for (std::sregex_iterator l(corps.begin(), corps.end(), litteral), lfin; l != lfin; ++l) cles.insert((*l)[1]);
  }
}

// The keys written as literals in calls of the translation routines, or returned by a function
// that chooses a key, in every source file.
std::set<std::string> ClesDuCode() {
  const std::regex appel(R"((?:Traduction::Traduire|TraduireCle|TexteCle)\(\s*"([^"]+)\")");
  std::set<std::string> cles;
  for (const char* dossier : {"core", "platform", "objectdb", "net", "base", "streams", "service", "apps"})
    for (const auto& f : std::filesystem::recursive_directory_iterator(std::string(NV_SOURCE_DIR) + "/" + dossier)) {
      const std::string ext = f.path().extension().string();
      if (ext != ".cpp" && ext != ".h") continue;
      std::ifstream in(f.path());
      const std::string texte((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      // The expressions only search the files that hold what they need (a call's name, a blank then
      // "Cle"): std::regex over every file costs seconds under the sanitizers.
      if (texte.find("Traduire") != std::string::npos || texte.find("TexteCle") != std::string::npos)
        for (std::sregex_iterator it(texte.begin(), texte.end(), appel), fin; it != fin; ++it) cles.insert((*it)[1]);
      for (std::size_t p = texte.find("Cle"); p != std::string::npos; p = texte.find("Cle", p + 1))
        if (p > 0 && std::isspace(static_cast<unsigned char>(texte[p - 1]))) {
          ClesChoisies(texte, cles);
          break;
        }
    }
  // The names of the base's operations are keys too, given by their table.
  std::size_t nombre = 0;
  const SupTraitement::TypeNomTraitement* noms = SupTraitement::NomsTraitements(nombre);
  for (std::size_t i = 0; i < nombre; ++i)
    if (!std::string_view(noms[i].Nom).starts_with("CM_")) cles.insert(noms[i].Nom);
  // And so are the names of the resource strings.
  for (int32_t id = ChaineRessource::kIdMinimal; id <= ChaineRessource::kIdMaximal; ++id)
    if (const TChaineRessource* c = ChaineRessource::ParId(id)) cles.insert(std::string(c->Nom));
  return cles;
}

// The arguments that a key's suffix announces; none for a key without one.
std::vector<TFormatArg> Arguments(const std::string& cle) {
  std::vector<TFormatArg> args;
  const std::size_t souligne = cle.rfind('_');
  if (souligne == std::string::npos) return args;
  const std::string suffixe = cle.substr(souligne + 1);
  if (suffixe.empty() || suffixe.find_first_not_of("SD") != std::string::npos) return args;
  for (char c : suffixe) args.push_back(c == 'S' ? TFormatArg("texte") : TFormatArg(42));
  return args;
}

std::string Formater(const std::string& texte, const std::vector<TFormatArg>& a) {
  switch (a.size()) {
    case 0: return Format(texte, {});
    case 1: return Format(texte, {a[0]});
    case 2: return Format(texte, {a[0], a[1]});
    default: return Format(texte, {a[0], a[1], a[2]});
  }
}

}  // namespace

TEST(ModuleFrancais, ConfigBesideTheProgramChoosesTheFrenchModule) {
  DossierProgramme essai;  // puts the process back afterwards
  TImplChangementDeLangue::DefinirCheminApplication(NV_DOSSIER_SVCWEB);
  ASSERT_TRUE(TChangementDeLangue::ChangerLangue("de_DE.UTF-8"));
  EXPECT_EQ(Traduction::Traduire("supversionserveur"), "Serveur");
  EXPECT_EQ(Traduction::Traduire("SupVersionControleur"), "Contr\xF4leur");
}

TEST(ModuleFrancais, EveryKeyOfTheCodeHasATextWithTheArgumentsItsSuffixAnnounces) {
  const TypeHandleModule module = ModuleRessources::ChargerFichier(std::string(NV_DOSSIER_SVCWEB) + "/Francais.lng");
  ASSERT_NE(module, ModuleRessources::kAucunModule);
  TTableTraductions table;
  TDictionnaire::ChargerChaines(module, &table);
  (void)ModuleRessources::Liberer(module);
  const std::set<std::string> cles = ClesDuCode();
  ASSERT_GT(cles.size(), 20u);  // the scan found the calls
  for (const std::string& cle : cles) {
    // The sources are UTF-8; the code passes its keys as 1252 bytes, as the table holds them.
    TChaineUnicode cle1252;
    cle1252.SetUTF8(cle);
    const uint32_t ligne = table.ChercherParCle(cle1252.GetChaine(ChaineUnicode::CP_WINDOWS_1252));
    ASSERT_NE(ligne, kAucuneLigne) << "key missing from the French module: " << cle;
    const std::string texte = table.Chaine(ligne)->GetChaine(0);
    EXPECT_FALSE(texte.empty()) << cle;
    std::vector<TFormatArg> args = Arguments(cle);
    if (args.empty()) continue;
    EXPECT_NO_THROW((void)Formater(texte, args)) << cle << ": " << texte;
    args.pop_back();  // every announced argument is used
    EXPECT_THROW((void)Formater(texte, args), EConvertError) << cle << ": " << texte;
  }
}

TEST(ModuleFrancais, NoKeyIsGivenTwoTexts) {
  // Keys are found without regard to case, so a second entry would hide behind the first.
  std::ifstream in(std::string(NV_SOURCE_DIR) + "/langues/Francais.xml");
  const std::string texte((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::regex entree(R"re(<chaine cle="([^"]*)")re");
  std::set<std::string> vues;
  for (std::sregex_iterator it(texte.begin(), texte.end(), entree), fin; it != fin; ++it) {
    std::string cle = (*it)[1];
    for (char& c : cle) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_TRUE(vues.insert(cle).second) << "key given twice: " << (*it)[1];
  }
  EXPECT_GT(vues.size(), 20u);
}
