// Call-stack diagnostics: reading the debug information of a program image (built here byte by
// byte, sound and corrupt), line lookup, the rendering of a stack with its frame variables, a real
// capture of this program's own stack, and the exception hook.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "core/values/Ansi1252.h"
#include "core/diagnostics/Debug.h"
#include "core/serial/Streams.h"
#include "tests/core/diagnostics/ImageDebugEssai.h"

namespace {

using namespace ImageDebugEssai;

TLectureInfosDebug Lire(const std::vector<uint8_t>& octets, TInfosDebug& infos, std::string* raison = nullptr) {
  TMemoryStream m;
  m.Assign(octets.data(), octets.size());
  return Debug::LireInfosDebug(m, infos, raison);
}

// ----- A platform of our own: a program file, a code base, frames and symbols chosen by the test -----

class TPlateformeEssai : public IPlateformeDebug {
 public:
  std::string Fichier;
  uintptr_t Base = 0x00400000;
  std::vector<TCadrePile> Cadres;
  std::vector<TSymbolePlateforme> Symboles;

  std::string FichierProgramme() override { return Fichier; }
  uintptr_t BaseCode() override { return Base; }
  std::vector<TCadrePile> CadresPile() override { return Cadres; }
  bool SymboleDeAdresse(uintptr_t adresse, TSymbolePlateforme& symbole) override {
    for (const auto& s : Symboles)
      if (adresse >= s.Debut && adresse - s.Debut < s.Longueur) {
        symbole = s;
        return true;
      }
    return false;
  }
};

class DebugAvecPlateforme : public ::testing::Test {
 protected:
  void SetUp() override {
    plateforme_.Fichier = (std::filesystem::temp_directory_path() /
                           ("nv_debug_" + std::to_string(::getpid()) + ".exe")).string();
    const auto image = ImageEssai();
    TFileStream f(plateforme_.Fichier, fmCreate);
    f.WriteBuffer(image.Octets.data(), static_cast<int64_t>(image.Octets.size()));
  }
  void TearDown() override {
    Debug::SetPlateforme(nullptr);
    std::filesystem::remove(plateforme_.Fichier);
  }
  void Installer() { Debug::SetPlateforme(&plateforme_); }

  TPlateformeEssai plateforme_;
};

std::vector<uint8_t> Suite(uint8_t premier, std::size_t n) {
  std::vector<uint8_t> v(n);
  for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(premier + i);
  return v;
}

}  // namespace

// ----- Reading -----

TEST(InfosDebug, ReadsRoutinesVariablesAndUnitsInOrder) {
  TInfosDebug infos;
  std::string raison;
  ASSERT_EQ(Lire(ImageEssai().Octets, infos, &raison), TLectureInfosDebug::Lues) << raison;

  ASSERT_EQ(infos.Routines.size(), 2u);
  const auto& executer = infos.Routines[0];
  EXPECT_EQ(executer.Nom(), "Principal.Executer");
  EXPECT_EQ(executer.Debut(), 0x1000u);
  EXPECT_EQ(executer.Fin(), 0x10FF);
  ASSERT_EQ(executer.NombreParametres(), 3);
  EXPECT_EQ(executer.Parametres()[0].Nom(), "Compteur");
  EXPECT_EQ(executer.Parametres()[0].Genre(), 1);
  EXPECT_EQ(executer.Parametres()[0].Valeur(), -4);
  EXPECT_EQ(executer.Parametres()[1].Valeur(), -48);
  EXPECT_EQ(executer.Parametres()[2].Nom(), "I");
  EXPECT_EQ(executer.Parametres()[2].Genre(), 0);
  EXPECT_EQ(executer.Parametres()[2].Valeur() & 0xFFFF, 3);  // the register number
  EXPECT_EQ(infos.Routines[1].Nom(), "Outils.Aider");
  EXPECT_EQ(infos.Routines[1].Fin(), 0x207F);
  EXPECT_EQ(infos.Routines[1].NombreParametres(), 0);

  ASSERT_EQ(infos.Unites.size(), 2u);  // the file without a name gives none
  EXPECT_EQ(infos.Unites[0].Nom(), "Principal.pas");
  ASSERT_EQ(infos.Unites[0].Lignes().size(), 4u);  // the first line table only
  EXPECT_EQ(infos.Unites[0].Lignes()[3].Adresse, 0x1100u);
  EXPECT_EQ(infos.Unites[0].Lignes()[3].Ligne, 13);
  EXPECT_EQ(infos.Unites[1].Nom(), "Outils.pas");
}

TEST(InfosDebug, ImagesWithoutDebugInformation) {
  auto sansSignature = ImageEssai().Octets;
  sansSignature[sansSignature.size() - 8] = 'X';
  auto image = ImageEssai("FB07");  // a wrong signature at the start of the information
  auto sansRepertoire = ImageEssai();
  sansRepertoire.Poser32(sansRepertoire.Champs["repertoire"], 0xFFFFFFF0);
  const std::vector<std::vector<uint8_t>> cas = {
      {}, {'F', 'B', '0', '9'}, sansSignature, image.Octets, sansRepertoire.Octets};
  for (const auto& octets : cas) {
    TInfosDebug infos;
    EXPECT_EQ(Lire(octets, infos), TLectureInfosDebug::Absentes) << octets.size();
    EXPECT_TRUE(infos.Routines.empty() && infos.Unites.empty());
  }
}

TEST(InfosDebug, CorruptLengthsCountsOffsetsAndIndexesFailClearly) {
  struct Cas { const char* champ; int largeur; uint32_t valeur; std::size_t decalage = 0; };
  const Cas cas[] = {
      {"distance", 32, 0x7FFFFFFF},                   // starts before the file
      {"distance", 32, 6},                            // header overlapping the trailer's end
      {"repertoire", 32, 0x00FFFFFF},                 // directory beyond the file
      {"taille de tete", 16, 0xFFFF},                 // entries beyond the file
      {"taille d'entree", 16, 4},                     // entries too small for their fields
      {"nombre d'entrees", 16, 0xFFFF},               // more entries than bytes
      {"taille noms", 32, 0xFFFFFF00},                // names subsection beyond the file
      {"decalage symboles", 32, 0xFFFFFFF0},          // symbols subsection beyond the file
      {"nombre de noms", 32, 0xFFFFFFFF},             // more names than bytes
      {"longueur du dernier nom", 8, 0xFF},           // a name running past its subsection
      {"premiere procedure", 16, 0x7000},             // a record running past its subsection
      {"premiere procedure", 16, 10},                 // a procedure too short for its fields
      {"premiere procedure", 32, 99, 40},             // a name index beyond the names
      {"nombre de fichiers", 16, 40},                 // more files than offsets
      {"table de Outils", 32, 0x10000},               // a line table beyond the subsection
      {"paires de Outils", 16, 0x7FFF},               // more pairs than bytes
  };
  for (const auto& c : cas) {
    auto image = ImageEssai();
    ASSERT_TRUE(image.Champs.count(c.champ)) << c.champ;
    const std::size_t pos = image.Champs[c.champ] + c.decalage;
    if (c.largeur == 8) image.Octets.at(pos) = static_cast<uint8_t>(c.valeur);
    else if (c.largeur == 16) image.Poser16(pos, static_cast<uint16_t>(c.valeur));
    else image.Poser32(pos, c.valeur);
    TInfosDebug infos;
    std::string raison;
    EXPECT_EQ(Lire(image.Octets, infos, &raison), TLectureInfosDebug::Corrompues) << c.champ << " = " << c.valeur;
    EXPECT_FALSE(raison.empty()) << c.champ;
    EXPECT_TRUE(infos.Routines.empty() && infos.Unites.empty()) << c.champ;
  }
}

// Any single damaged byte of the debug information is read without a crash or a read outside the
// image (the sanitizers watch), and a failed read leaves nothing behind.
TEST(InfosDebug, EveryDamagedByteIsReadSafely) {
  const auto sain = ImageEssai().Octets;
  for (std::size_t i = 22; i < sain.size(); ++i)
    for (uint8_t v : {uint8_t{0x00}, uint8_t{0x7F}, uint8_t{0xFF}}) {
      auto octets = sain;
      octets[i] = v;
      TInfosDebug infos;
      if (Lire(octets, infos) != TLectureInfosDebug::Lues) {
        EXPECT_TRUE(infos.Routines.empty() && infos.Unites.empty()) << i;
      }
    }
}

// ----- Lines -----

TEST(InfosDebug, LineOfAnOffsetIsTheLastEntryNotAboveItExceptTheFinalOne) {
  const TInfosDebugUnite u("U.pas", {{10, 1}, {20, 2}, {30, 3}, {40, 4}, {50, 5}});
  const std::pair<uint64_t, std::string> cas[] = {
      {5, ""}, {10, "1"}, {19, "1"}, {20, "2"}, {30, "3"}, {45, "4"}, {50, "4"}, {1000, "4"}};
  for (const auto& [offset, ligne] : cas) EXPECT_EQ(u.TexteLigne(offset), ligne) << offset;
  EXPECT_EQ(TInfosDebugUnite("Seule.pas", {{10, 7}}).TexteLigne(12), "7");
}

// ----- Rendering -----

TEST_F(DebugAvecPlateforme, StackTextWithUnitsLinesRoutinesAndFrameVariables) {
  const uintptr_t b = plateforme_.Base;
  plateforme_.Symboles = {{"SymbolePlateforme", b + 0x4F00, 0x200}};
  Installer();
  const TPileDAppel pile({TAppel(b + 0x1009, 0x7FF000, Suite(0, 40)),  // Principal.Executer, line 11
                          TAppel(b + 0x2010, 0, {}),                   // Outils.Aider, line 5
                          TAppel(b + 0x1100, 0, {}),                   // in Principal.pas, no routine
                          TAppel(b + 0x5000, 0, {}),                   // only the platform's symbol
                          TAppel(b - 0x10, 0, {}),                     // below the code base
                          TAppel(b + 0x6000, 0, {})});                 // nothing known
  const std::string colonne(41, ' '), retrait(15, ' ');
  const std::string attendu =
      "\r\n"
      " 1 : @00401009 Module Principal.pas (11) Routine Principal.Executer\r\n" +
      std::string("  Param\xE8tres : [ebp-FFFFFFFC] Compteur = 00000024    24 25 26 27\r\n") +
      retrait + "[ebp-FFFFFFD0] Tampon   = 00000000    00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F\r\n" +
      colonne + "00000010    10 11 12 13 14 15 16 17 18 19 1A 1B 1C 1D 1E 1F\r\n" +
      colonne + "00000020    20 21 22 23\r\n" +
      retrait + std::string(14, ' ') + " I        = ??\r\n"
      " 2 : @00402010 Module Outils.pas    ( 5) Routine Outils.Aider\r\n"
      " 3 : @00401100 Module Principal.pas (12) (pas d'info de debug)\r\n"
      " 4 : @00405000" + std::string(21, ' ') + std::string(5, ' ') + " Routine SymbolePlateforme\r\n"
      " 5 : @003FFFF0\r\n"
      " 6 : @00406000" + std::string(26, ' ') + " (pas d'info de debug)\r\n";
  EXPECT_EQ(pile.EnTexte(), attendu);
  EXPECT_EQ(Debug::NomUniteDeAdresse(b), "");
  EXPECT_EQ(Debug::LigneDeAdresse(b + 0x2080), "5");
}

TEST_F(DebugAvecPlateforme, WithoutDebugInformationEveryCallHasOnlyItsAddress) {
  plateforme_.Fichier = "/nonexistent/program";
  Installer();
  const TPileDAppel pile({TAppel(0x401000, 0, {}), TAppel(0x402000, 0, {})});
  EXPECT_EQ(pile.EnTexte(), "\r\n 1 : @00401000 (pas d'info de debug)\r\n 2 : @00402000 (pas d'info de debug)\r\n");
}

TEST(TexteMemoire, DumpsOnlyTheCopiedBytes) {
  const TAppel a(0x401000, 0, Suite(0xA0, 8));
  struct Cas { int32_t de, a; std::string attendu; };
  const Cas cas[] = {
      {-8, -6, "00000000    A0 A1"},
      {-100, -6, "00000000    A0 A1"},  // starts before the copy: shown from its first byte
      {-2, 16, "00000006    A6 A7"},   // ends after the copy
      {-2, -2, ""},
      {-1, -4, ""},
      {-100, -90, ""},                 // wholly before the copy
  };
  for (const auto& c : cas) EXPECT_EQ(a.TexteMemoire(20, c.de, c.a), c.attendu) << c.de << " " << c.a;
  EXPECT_EQ(TAppel(0x401000, 0, {}).TexteMemoire(20, -8, 0), "");
}

// ----- A real stack of this program -----

// Exported routines (the test program exports its symbols), so that the platform names them.
__attribute__((noinline)) void NvEssaiPileInterieure(std::string& Texte, int32_t Saut) {
  const TPileDAppel pile(Saut);
  Texte = pile.EnTexte();
}

__attribute__((noinline)) void NvEssaiPileExterieure(std::string& Texte, int32_t Saut) {
  NvEssaiPileInterieure(Texte, Saut);
  asm volatile("");  // keeps the call above from becoming a jump
}

TEST(PileDAppel, RealCaptureNamesTheCallersInnermostFirst) {
  Debug::SetPlateforme(nullptr);
  auto ligne = [](const std::string& texte, int n) {
    std::size_t debut = 2;
    for (int i = 1; i < n; ++i) debut = texte.find("\r\n", debut) + 2;
    return texte.substr(debut, texte.find("\r\n", debut) - debut);
  };
  std::string texte;
  NvEssaiPileExterieure(texte, 0);
  ASSERT_EQ(texte.substr(0, 8), "\r\n 1 : @") << texte;
  EXPECT_NE(ligne(texte, 1).find(" Routine NvEssaiPileInterieure("), std::string::npos) << texte;
  EXPECT_NE(ligne(texte, 2).find(" Routine NvEssaiPileExterieure("), std::string::npos) << texte;

  NvEssaiPileExterieure(texte, 1);
  EXPECT_NE(ligne(texte, 1).find(" Routine NvEssaiPileExterieure("), std::string::npos) << texte;
}

// ----- The exception hook -----

namespace {
std::vector<std::string> gRecus;
void RoutineEssai(TObject*, const Exception& E) { gRecus.push_back("routine " + E.Message()); }
class EAbortDerivee : public EAbort {
 public:
  using EAbort::EAbort;
};
}  // namespace

TEST(ErreurDExecution, SendsAllButSilentAbortsToTheRoutineWhileActive) {
  gRecus.clear();
  TGestionnaireException application = [](TObject*, const Exception& E) {
    gRecus.push_back("application " + E.Message());
  };
  {
    TErreurDExecution hook(application);
    hook.Routine = &RoutineEssai;
    hook.SetActif(true);
    application(nullptr, Exception("a"));
    application(nullptr, EAbort("silencieuse"));
    application(nullptr, EAbortDerivee("silencieuse aussi"));
    hook.Routine = nullptr;
    application(nullptr, Exception("b"));  // active without a routine: the kept handler
    hook.SetActif(false);
    application(nullptr, Exception("c"));
    hook.Routine = &RoutineEssai;
    hook.SetActif(true);
    hook.SetActif(true);  // unchanged: keeps the application's handler, not itself
  }  // the destructor puts the application's handler back
  application(nullptr, Exception("d"));
  EXPECT_EQ(gRecus, (std::vector<std::string>{"routine a", "application b", "application c", "application d"}));
}
