// Files of fixed-size records: opening, creating, moving by records, writing, the status of failures
// and the exclusive share mode; and the crash log written through these helpers.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>

#include "core/values/DateTime.h"
#include "core/diagnostics/Debug.h"
#include "core/diagnostics/Journal.h"
#include "net/FichierEnregistrements.h"

using namespace FichierEnregistrements;

namespace {

class FichiersEssai : public ::testing::Test {
 protected:
  void SetUp() override {
    dossier_ = std::filesystem::temp_directory_path() / ("nv_fichiers_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dossier_);
  }
  void TearDown() override { std::filesystem::remove_all(dossier_); }
  std::string Chemin(const std::string& nom) const { return (dossier_ / nom).string(); }
  static std::string Contenu(const std::string& chemin) {
    std::ifstream f(chemin, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
  }

  std::filesystem::path dossier_;
};

}  // namespace

TEST_F(FichiersEssai, CreatesWritesRecordsAndMovesByWholeRecords) {
  { std::ofstream(Chemin("base.dat")) << "old content"; }
  TypeFichierEnregistrements f;
  CreerFichierEnregistrements(Chemin("base.dat"), fmOpenReadWrite, 68, f);
  ASSERT_EQ(StatutFichierEnregistrements(), 0);
  ASSERT_TRUE(f.Flux);
  EXPECT_EQ(f.TailleEnregistrement, 68);
  EXPECT_EQ(f.Mode, fmOpenReadWrite);
  EXPECT_EQ(f.Flux->Size(), 0);  // an existing file is emptied

  char enregistrement[68];
  for (char c : {'a', 'b', 'c', 'd'}) {
    std::fill(std::begin(enregistrement), std::end(enregistrement), c);
    EcrireEnregistrement(f, enregistrement);
  }
  const std::tuple<int32_t, int32_t, int64_t> deplacements[] = {{0, 3, 204}, {1, -1, 136}, {2, 0, 272}, {2, -4, 0}};
  for (const auto& [origine, indice, position] : deplacements) {
    PositionnerEnregistrement(f, origine, indice);
    EXPECT_EQ(f.Flux->Position(), position) << origine << " " << indice;
  }
  PositionnerEnregistrement(f, 0, 1);
  std::fill(std::begin(enregistrement), std::end(enregistrement), 'B');
  EcrireEnregistrement(f, enregistrement);
  FermerFichierEnregistrements(f);
  EXPECT_FALSE(f.Flux);
  EXPECT_EQ(Contenu(Chemin("base.dat")),
            std::string(68, 'a') + std::string(68, 'B') + std::string(68, 'c') + std::string(68, 'd'));
}

TEST_F(FichiersEssai, FailuresSetTheStatusWithoutRaising) {
  TypeFichierEnregistrements f;
  OuvrirFichierEnregistrements(Chemin("absent.dat"), fmOpenRead, 4, f);
  EXPECT_EQ(StatutFichierEnregistrements(), 1);
  EXPECT_FALSE(f.Flux);

  CreerFichierEnregistrements(Chemin("un.dat"), fmOpenReadWrite, 8, f);
  ASSERT_EQ(StatutFichierEnregistrements(), 0);
  TFileStream* ouvert = f.Flux.get();
  OuvrirFichierEnregistrements(Chemin("absent.dat"), fmOpenRead, 4, f);  // leaves f as it was
  EXPECT_EQ(StatutFichierEnregistrements(), 1);
  EXPECT_EQ(f.Flux.get(), ouvert);
  EXPECT_EQ(f.TailleEnregistrement, 8);
  EXPECT_EQ(f.Mode, fmOpenReadWrite);

  FermerFichierEnregistrements(f);
  EXPECT_EQ(StatutFichierEnregistrements(), 0);
  CreerFichierEnregistrements(Chemin("pas/de/dossier.dat"), fmOpenReadWrite, 8, f);
  EXPECT_EQ(StatutFichierEnregistrements(), 1);
  EXPECT_FALSE(f.Flux);

  const char octet = 'x';
  EXPECT_THROW(EcrireEnregistrement(f, &octet), EWriteError);
  EXPECT_THROW(PositionnerEnregistrement(f, 0, 1), EStreamError);
}

TEST_F(FichiersEssai, ExclusiveModeRefusesASecondOpenerUntilClosed) {
  const uint16_t exclusif = fmOpenReadWrite | fmShareExclusive;
  TypeFichierEnregistrements premier, second;
  CreerFichierEnregistrements(Chemin("log"), exclusif, 1, premier);
  ASSERT_EQ(StatutFichierEnregistrements(), 0);
  OuvrirFichierEnregistrements(Chemin("log"), exclusif, 1, second);
  EXPECT_EQ(StatutFichierEnregistrements(), 1);
  FermerFichierEnregistrements(premier);
  OuvrirFichierEnregistrements(Chemin("log"), exclusif, 1, second);
  EXPECT_EQ(StatutFichierEnregistrements(), 0);
  FermerFichierEnregistrements(second);
}

// ----- The crash log, written through these helpers (their start-up hands them to the log) -----

namespace {

class TPlateformeEssai : public IPlateformeDebug {
 public:
  std::string Fichier;
  std::string FichierProgramme() override { return Fichier; }
  uintptr_t BaseCode() override { return 0x00400000; }
  std::vector<TCadrePile> CadresPile() override { return {{0x401234, 0, {}}}; }
  bool SymboleDeAdresse(uintptr_t, TSymbolePlateforme&) override { return false; }
};

class JournalSurFichier : public FichiersEssai {
 protected:
  void SetUp() override {
    FichiersEssai::SetUp();
    plateforme_.Fichier = Chemin("svcweb.exe");
    Debug::SetPlateforme(&plateforme_);
    DateTime::SetClock([] { return DateTime::EncodeDate(2023, 12, 31) + DateTime::EncodeTime(23, 59, 58, 0); });
  }
  void TearDown() override {
    DateTime::SetClock(nullptr);
    Debug::SetPlateforme(nullptr);
    FichiersEssai::TearDown();
  }
  TPlateformeEssai plateforme_;
};

}  // namespace

TEST_F(JournalSurFichier, EntriesAreAppendedToTheLogBesideTheProgram) {
  const std::string entree = "\r\nPile d'appels (31/12/2023 23:59:58) Erreur :\r\n" + std::string(44, '-') +
                             "\r\n\r\n 1 : @00401234 (pas d'info de debug)\r\n";
  Journal::JournaliserPileDAppels("Erreur");
  EXPECT_EQ(Contenu(Chemin("svcweb.LOG")), entree);
  Journal::JournaliserPileDAppels("Erreur");
  EXPECT_EQ(Contenu(Chemin("svcweb.LOG")), entree + entree);
}

TEST_F(JournalSurFichier, ALogHeldElsewhereIsSkippedSilently) {
  { std::ofstream(Chemin("svcweb.LOG")) << "before"; }
  TypeFichierEnregistrements autre;
  OuvrirFichierEnregistrements(Chemin("svcweb.LOG"), fmOpenReadWrite | fmShareExclusive, 1, autre);
  ASSERT_EQ(StatutFichierEnregistrements(), 0);
  Journal::JournaliserPileDAppels("Erreur");
  FermerFichierEnregistrements(autre);
  EXPECT_EQ(Contenu(Chemin("svcweb.LOG")), "before");
  Journal::EcrireJournal(" after");
  EXPECT_EQ(Contenu(Chemin("svcweb.LOG")), "before after");
}
