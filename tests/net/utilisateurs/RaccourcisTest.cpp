// Desktop shortcuts of server profiles: desktop entries written in a home folder of the test's own.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "core/values/ChaineUnicode.h"
#include "net/utilisateurs/BureauWindows.h"
#include "net/utilisateurs/ProfilServeur.h"
#include "objectdb/Traduction.h"
#include "platform/gui/EntreeBureau.h"
#include "platform/ressources/ModuleRessources.h"
#include "platform/ui/VclDialogue.h"
#include "tests/net/utilisateurs/UtilisateursFixture.h"

namespace fs = std::filesystem;

namespace {

std::string Lire(const fs::path& Chemin) {
  std::ifstream in(Chemin, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every regular file under Dossier, relative to it.
std::vector<std::string> Fichiers(const fs::path& Dossier) {
  std::vector<std::string> l;
  for (const auto& e : fs::recursive_directory_iterator(Dossier))
    if (e.is_regular_file()) l.push_back(fs::relative(e.path(), Dossier).string());
  std::sort(l.begin(), l.end());
  return l;
}

class RaccourcisTest : public BaseUtilisateursTest {
 protected:
  void SetUp() override {
    BaseUtilisateursTest::SetUp();
    for (const char* v : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"}) {
      const char* ancien = std::getenv(v);
      anciens.emplace_back(v, ancien ? std::optional<std::string>(ancien) : std::nullopt);
      ::unsetenv(v);
    }
    std::string modele = (fs::temp_directory_path() / "raccourcisXXXXXX").string();
    ASSERT_NE(::mkdtemp(modele.data()), nullptr);
    home = modele;
    ::setenv("HOME", home.c_str(), 1);
    VclDialogue::DefinirSortie([this](const std::string& l) { messages.push_back(l.substr(l.rfind(" : ") + 3)); });
    Traduction::DefinirTexte("ProfilServeurEcrSvcWPrincipalFormatNomRaccourci", "%s");
    Traduction::DefinirTexte("ProfilServeurEcrSvcWPrincipalFormatDescriptionRaccourci", "Lance %s");
    Traduction::DefinirTexte("ProfilServeurListeSimpleProfilsServeurRaccourciOK", "ok");
    Traduction::DefinirTexte("ProfilServeurListeSimpleProfilsServeurErreurSystemRaccourci", "erreur");
    Traduction::DefinirTexte("ProfilServeurListeSimpleProfilsServeurErreurDoublonRaccourci", "doublon");
    programme = ModuleRessources::FichierProgramme();
    ASSERT_EQ(programme.find_first_of(" \"'\\$%"), std::string::npos) << "the expected bytes assume a plain path";
  }
  void TearDown() override {
    VclDialogue::DefinirSortie(nullptr);
    Traduction::Vider();
    std::error_code e;
    fs::remove_all(home, e);
    for (const auto& [v, valeur] : anciens)
      if (valeur) ::setenv(v, valeur->c_str(), 1);
      else ::unsetenv(v);
    BaseUtilisateursTest::TearDown();
  }
  void Profil(uint32_t Ident, const std::string& Nom) {
    ASSERT_TRUE(BaseUtilisateurs::CreerProfilServeur(UnProfilServeur(Ident, Nom)));
  }

  std::vector<std::pair<const char*, std::optional<std::string>>> anciens;
  fs::path home;
  std::string programme;
  std::vector<std::string> messages;
};

TEST_F(RaccourcisTest, AProfilesShortcutIsADesktopEntryThatStartsTheProgramOnTheProfile) {
  Profil(3, "Nord");
  Profil(4, "Sud");
  ASSERT_TRUE(ProfilServeur::ChercherProfilServeur(4));
  ProfilServeur::CreerRaccourciProfilServeur(3);
  EXPECT_EQ(BaseUtilisateurs::ProfilsServeurs()->Identifiant(), 4u);  // the table's position is kept
  EXPECT_EQ(messages, (std::vector<std::string>{"ok"}));
  const fs::path entree = home / "Desktop" / "Nord.desktop";
  EXPECT_EQ(Lire(entree), "[Desktop Entry]\nType=Application\nName=Nord\nComment=Lance Nord\nExec=" + programme +
                              " Nord\n");
  struct stat s {};
  ASSERT_EQ(::stat(entree.c_str(), &s), 0);
  EXPECT_EQ(s.st_mode & 07777, 0755u);

  // A second time: a duplicate, the file left as it was.
  { std::ofstream(entree, std::ios::binary) << "le mien"; }
  messages.clear();
  ProfilServeur::CreerRaccourciProfilServeur(3);
  EXPECT_EQ(messages, (std::vector<std::string>{"doublon"}));
  EXPECT_EQ(Lire(entree), "le mien");

  // An unknown profile: nothing at all.
  messages.clear();
  ProfilServeur::CreerRaccourciProfilServeur(99);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(Fichiers(home), (std::vector<std::string>{"Desktop/Nord.desktop"}));
}

TEST_F(RaccourcisTest, AProfileNameFromTheServerCannotLeaveTheFolderNorBreakTheEntry) {
  struct Cas {
    std::string profil;
    const char* message;
    std::string fichier;  // under the home folder, empty: none
    std::string octets;   // Name to Exec's argument
  } cas[] = {
      {"a/b", "ok", "Desktop/b.desktop", "Name=b\nComment=Lance a/b\nExec=P a/b\n"},
      {"..\\..\\c", "ok", "Desktop/c.desktop", "Name=c\nComment=Lance ..\\\\..\\\\c\nExec=P \"..\\\\\\\\..\\\\\\\\c\"\n"},
      {"..", "erreur", "", ""},
      {"x/.", "erreur", "", ""},
      {"x/", "erreur", "", ""},
      {"Salle \"A\" $1 100%", "ok", "Desktop/Salle \"A\" $1 100%.desktop",
       "Name=Salle \"A\" $1 100%\nComment=Lance Salle \"A\" $1 100%\nExec=P \"Salle \\\\\"A\\\\\" \\\\$1 100%%\"\n"},
      {"Tab\tNL\n", "ok", "Desktop/Tab\tNL\n.desktop", "Name=TabNL\nComment=Lance TabNL\nExec=P \"Tab\\tNL\\n\"\n"},
      {std::string("G\xE9n\xE9ral"), "ok", "Desktop/G\xC3\xA9n\xC3\xA9ral.desktop",
       "Name=G\xC3\xA9n\xC3\xA9ral\nComment=Lance G\xC3\xA9n\xC3\xA9ral\nExec=P G\xC3\xA9n\xC3\xA9ral\n"},
      {" lead", "ok", "Desktop/ lead.desktop", "Name=\\slead\nComment=Lance  lead\nExec=P \" lead\"\n"},
      // A control character that no value may carry: no entry rather than a broken one.
      {"A\x01" "B", "erreur", "", ""},
  };
  uint32_t ident = 10;
  for (const Cas& c : cas) {
    Profil(ident, c.profil);
    const std::vector<std::string> avant = Fichiers(home);
    messages.clear();
    ProfilServeur::CreerRaccourciProfilServeur(ident++);
    EXPECT_EQ(messages, (std::vector<std::string>{c.message})) << c.profil;
    if (c.fichier.empty()) {
      EXPECT_EQ(Fichiers(home), avant) << c.profil;
      continue;
    }
    const std::string octets = Lire(home / c.fichier);
    std::string attendu = "[Desktop Entry]\nType=Application\n" + c.octets;
    attendu.replace(attendu.find("Exec=P"), 6, "Exec=" + programme);
    EXPECT_EQ(octets, attendu) << c.profil;
    // A desktop reads Exec back into the program and the profile's name.
    const size_t exec = octets.find("Exec=") + 5;
    const auto arguments = EntreeBureau::LireExec(octets.substr(exec, octets.find('\n', exec) - exec));
    ASSERT_TRUE(arguments) << c.profil;
    EXPECT_EQ(*arguments, (std::vector<std::string>{programme, ChaineUnicode::VersUTF8(c.profil, 1252)})) << c.profil;
  }
  for (const std::string& f : Fichiers(home)) EXPECT_EQ(f.rfind("Desktop/", 0), 0u) << f;
}

TEST_F(RaccourcisTest, LocationsAndSubFolders) {
  // The desktop folder of the user's folders file.
  fs::create_directories(home / ".config");
  std::ofstream(home / ".config" / "user-dirs.dirs") << "# written by the desktop\nXDG_DESKTOP_DIR=\"$HOME/Bureau\"\n";
  EXPECT_EQ(BureauWindows::CreerRaccourci("Un", "/opt/p", {"x"}, "", BureauWindows::kBureau, "/tmp", "", "/i.png"),
            BureauWindows::kCree);
  EXPECT_EQ(Lire(home / "Bureau" / "Un.desktop"),
            "[Desktop Entry]\nType=Application\nName=Un\nExec=/opt/p x\nPath=/tmp\nIcon=/i.png\n");
  // The applications menu, in a sub-folder whose name keeps its last component only.
  EXPECT_EQ(BureauWindows::CreerRaccourci("Deux", "/opt/p", {}, "a\\Norvane", BureauWindows::kMenuDemarrer, "", "d", ""),
            BureauWindows::kCree);
  EXPECT_TRUE(fs::exists(home / ".local/share/applications/Norvane/Deux.desktop"));
  ::setenv("XDG_DATA_HOME", (home / "donnees").c_str(), 1);
  EXPECT_EQ(BureauWindows::CreerRaccourci("Trois", "/opt/p", {}, "", BureauWindows::kMenuDemarrer, "", "", ""),
            BureauWindows::kCree);
  EXPECT_TRUE(fs::exists(home / "donnees/applications/Trois.desktop"));
  // No quick-launch or send-to folder here; a sub-folder ".." is refused.
  for (int e : {1, 2, 7})
    EXPECT_EQ(BureauWindows::CreerRaccourci("Quatre", "/opt/p", {}, "", static_cast<uint8_t>(e), "", "", ""), BureauWindows::kErreurSysteme);
  for (const char* nom : {"..", ".", "", "a/", "a\\..", "a/."})
    EXPECT_EQ(BureauWindows::CreerRaccourci(nom, "/opt/p", {}, "", BureauWindows::kBureau, "", "", ""),
              BureauWindows::kErreurSysteme)
        << nom;
  EXPECT_EQ(BureauWindows::CreerRaccourci("Quatre", "/opt/p", {}, "..", BureauWindows::kBureau, "", "", ""),
            BureauWindows::kErreurSysteme);
  EXPECT_EQ(BureauWindows::CreerRaccourci("Quatre", "/opt/p", {}, "", BureauWindows::kBureau, "a\x02", "", ""),
            BureauWindows::kErreurSysteme);
  EXPECT_EQ(Fichiers(home), (std::vector<std::string>{".config/user-dirs.dirs", ".local/share/applications/Norvane/Deux.desktop",
                                                      "Bureau/Un.desktop", "donnees/applications/Trois.desktop"}));
  // Without a home folder there is no desktop.
  ::unsetenv("HOME");
  EXPECT_EQ(BureauWindows::CreerRaccourci("Cinq", "/opt/p", {}, "", BureauWindows::kBureau, "", "", ""),
            BureauWindows::kErreurSysteme);
}

TEST(EntreeBureau, ExecQuotingReadsBackAndMalformedValuesAreRefused) {
  const std::vector<std::vector<std::string>> commandes = {
      {"/opt/p"}, {"/opt/p", ""}, {"/a b/p", "x y", "'q'", "`c`", "$V", "a\\b", "50%", "#", "~", "a;b|c&d", "(x)", "<>",
                                   "*?", "\t\n\r", "=", "\xC3\xA9"}};
  for (const auto& c : commandes) {
    const auto valeur = EntreeBureau::ValeurExec(c);
    ASSERT_TRUE(valeur);
    EXPECT_EQ(valeur->find_first_of("\t\n\r"), std::string::npos) << *valeur;
    EXPECT_EQ(EntreeBureau::LireExec(*valeur), c) << *valeur;
  }
  EXPECT_EQ(*EntreeBureau::ValeurExec({"/p", "a b", "c\"d", "50%"}), "/p \"a b\" \"c\\\\\"d\" 50%%");
  for (const char* faux : {"\"ouvert", "/p %f", "/p \"%u\"", "a\\", "a\\q", "\"a\"b", "a$b"})
    EXPECT_FALSE(EntreeBureau::LireExec(faux)) << faux;
}

}  // namespace
