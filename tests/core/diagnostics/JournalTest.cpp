// The crash log: the bytes of one entry (fixed clock, fixed stack), how the log file is opened and
// written through the file helpers, and its name beside the program.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "core/values/DateTime.h"
#include "core/diagnostics/Debug.h"
#include "core/diagnostics/Journal.h"

namespace {

class TPlateformeJournal : public IPlateformeDebug {
 public:
  std::string Fichier;
  std::vector<TCadrePile> Cadres;
  std::string FichierProgramme() override { return Fichier; }
  uintptr_t BaseCode() override { return 0x00400000; }
  std::vector<TCadrePile> CadresPile() override { return Cadres; }
  bool SymboleDeAdresse(uintptr_t adresse, TSymbolePlateforme& s) override {
    if (adresse < 0x401000 || adresse >= 0x401100) return false;
    s = {"Service.Traiter", 0x401000, 0x100};
    return true;
  }
};

// Records what the log asks of the file helpers; the bytes written land in Contenu.
class TFichierEnregistre : public IFichierJournal {
 public:
  std::vector<std::string> Appels;
  std::string Contenu;
  int32_t Taille = 0;
  int32_t Statut = 0;

  int32_t Ouvrir(const std::string& nom, uint16_t mode, int32_t taille) override {
    Appels.push_back("Ouvrir " + nom + " " + std::to_string(mode) + " " + std::to_string(taille));
    Taille = taille;
    return Statut;
  }
  int32_t Creer(const std::string& nom, uint16_t mode, int32_t taille) override {
    Appels.push_back("Creer " + nom + " " + std::to_string(mode) + " " + std::to_string(taille));
    Taille = taille;
    return Statut;
  }
  void Positionner(int32_t origine, int32_t indice) override {
    Appels.push_back("Positionner " + std::to_string(origine) + " " + std::to_string(indice));
  }
  void Ecrire(const void* enregistrement) override {
    if (Appels.empty() || Appels.back() != "Ecrire") Appels.push_back("Ecrire");
    Contenu.append(static_cast<const char*>(enregistrement), static_cast<std::size_t>(Taille));
  }
  void Fermer() override { Appels.push_back("Fermer"); }
};

class JournalEssai : public ::testing::Test {
 protected:
  void SetUp() override {
    dossier_ = std::filesystem::temp_directory_path() / ("nv_journal_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dossier_);
    plateforme_.Fichier = (dossier_ / "svcweb.exe").string();
    Debug::SetPlateforme(&plateforme_);
    Journal::SetFichier(&fichier_);
    DateTime::SetClock([] { return DateTime::EncodeDate(2024, 3, 5) + DateTime::EncodeTime(14, 7, 9, 250); });
  }
  void TearDown() override {
    DateTime::SetClock(nullptr);
    Journal::SetFichier(nullptr);
    Debug::SetPlateforme(nullptr);
    std::filesystem::remove_all(dossier_);
  }
  std::string NomLog() const { return (dossier_ / "svcweb.LOG").string(); }

  std::filesystem::path dossier_;
  TPlateformeJournal plateforme_;
  TFichierEnregistre fichier_;
};

}  // namespace

TEST_F(JournalEssai, EntryBytesWithMessage) {
  plateforme_.Cadres = {{0x401010, 0, {}}, {0x401020, 0, {}}, {0x300000, 0, {}}};
  Journal::JournaliserPileDAppels("Division par z\xE9ro");
  const std::string entete = "Pile d'appels (05/03/2024 14:07:09) Division par z\xE9ro :";
  EXPECT_EQ(fichier_.Contenu,
            "\r\n"
            "Pile d'appels (05/03/2024 14:07:09) Division par z\xE9ro :\r\n" +
                std::string(entete.size(), '-') +
                "\r\n"
                "\r\n"
                " 1 : @00401010 Routine Service.Traiter\r\n"
                " 2 : @00401020 Routine Service.Traiter\r\n"
                " 3 : @00300000\r\n");
  EXPECT_EQ(entete.size(), 55u);
}

TEST_F(JournalEssai, EntryWithoutMessageOrCalls) {
  const TPileDAppel vide(std::vector<TAppel>{});
  EXPECT_EQ(Journal::TexteEntree("", vide),
            "\r\nPile d'appels (05/03/2024 14:07:09) :\r\n"
            "-------------------------------------\r\n"
            "\r\n");
}

TEST_F(JournalEssai, ExceptionHandlerLogsTheExceptionsMessage) {
  Journal::JournaliserException(nullptr, EConvertError("Format invalide"));
  EXPECT_EQ(fichier_.Contenu.substr(0, 60), "\r\nPile d'appels (05/03/2024 14:07:09) Format invalide :\r\n---");
}

// A missing log is created, an existing one opened, both read-write exclusive with 1-byte records,
// then written at its end one byte at a time and closed.
TEST_F(JournalEssai, OpensOrCreatesTheLogAtItsEndThenClosesIt) {
  Journal::EcrireJournal("ab");
  { std::ofstream(NomLog()) << "x"; }
  Journal::EcrireJournal("cd");
  EXPECT_EQ(fichier_.Appels, (std::vector<std::string>{"Creer " + NomLog() + " 18 1", "Positionner 2 0", "Ecrire",
                                                       "Fermer", "Ouvrir " + NomLog() + " 18 1", "Positionner 2 0",
                                                       "Ecrire", "Fermer"}));
  EXPECT_EQ(fichier_.Contenu, "abcd");
}

TEST_F(JournalEssai, NothingIsWrittenWhenTheLogCannotBeHad) {
  Journal::EcrireJournal("");  // an empty text does not even open the log
  fichier_.Statut = 1;
  Journal::EcrireJournal("perdu");
  EXPECT_EQ(fichier_.Appels, (std::vector<std::string>{"Creer " + NomLog() + " 18 1"}));
  plateforme_.Fichier = "";  // no program path: no log
  EXPECT_FALSE(Journal::OuvrirJournal());
  Journal::SetFichier(nullptr);  // no file helpers: no log
  plateforme_.Fichier = "/opt/svcweb";
  EXPECT_FALSE(Journal::OuvrirJournal());
  EXPECT_EQ(fichier_.Contenu, "");
}

TEST_F(JournalEssai, LogIsNamedAfterTheProgramWithTheExtensionLog) {
  const std::pair<std::string, std::string> cas[] = {{"/opt/nv/svcweb.exe", "/opt/nv/svcweb.LOG"},
                                                     {"/opt/nv.d/svcweb", "/opt/nv.d/svcweb.LOG"},
                                                     {"/opt/nv/svc.web.bin", "/opt/nv/svc.web.LOG"},
                                                     {"", ""}};
  for (const auto& [programme, log] : cas) {
    plateforme_.Fichier = programme;
    EXPECT_EQ(Journal::NomJournal(), log);
  }
  Debug::SetPlateforme(nullptr);  // the running program, from the system
  const std::string nom = Journal::NomJournal();
  EXPECT_TRUE(nom.ends_with("/core_tests.LOG")) << nom;
}
