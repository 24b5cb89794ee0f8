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

namespace {

// ----- A program image with debug information, written field by field -----

class TOctetsEssai {
 public:
  std::vector<uint8_t> Octets;
  std::map<std::string, std::size_t> Champs;  // where the fields that corrupt cases overwrite are

  std::size_t Taille() const { return Octets.size(); }
  void Marquer(const std::string& Nom) { Champs[Nom] = Octets.size(); }
  void U8(uint8_t v) { Octets.push_back(v); }
  void U16(uint16_t v) { U8(static_cast<uint8_t>(v)), U8(static_cast<uint8_t>(v >> 8)); }
  void U32(uint32_t v) { U16(static_cast<uint16_t>(v)), U16(static_cast<uint16_t>(v >> 16)); }
  void Texte(const std::string& s) { Octets.insert(Octets.end(), s.begin(), s.end()); }
  void Zeros(std::size_t n) { Octets.insert(Octets.end(), n, 0); }
  void Poser16(std::size_t pos, uint16_t v) {
    Octets.at(pos) = static_cast<uint8_t>(v);
    Octets.at(pos + 1) = static_cast<uint8_t>(v >> 8);
  }
  void Poser32(std::size_t pos, uint32_t v) {
    Poser16(pos, static_cast<uint16_t>(v));
    Poser16(pos + 2, static_cast<uint16_t>(v >> 16));
  }
  void Ajouter(const TOctetsEssai& autre) {
    for (const auto& [nom, pos] : autre.Champs) Champs[nom] = Octets.size() + pos;
    Octets.insert(Octets.end(), autre.Octets.begin(), autre.Octets.end());
  }
};

// Names 1..7.
const std::vector<std::string> kNoms = {"Principal.Executer", "Compteur", "Tampon",        "I",
                                        "Outils.Aider",       "C:\\src\\Principal.pas", "lib/Outils.pas"};

TOctetsEssai SousSectionNoms() {
  TOctetsEssai s;
  s.Marquer("nombre de noms");
  s.U32(static_cast<uint32_t>(kNoms.size()));
  for (const auto& nom : kNoms) {
    s.Marquer("longueur du dernier nom");
    s.U8(static_cast<uint8_t>(nom.size()));
    s.Texte(nom);
    s.U8(0);
  }
  return s;
}

// A procedure record: 2 + 42 bytes, code length at +16, code offset at +28, name index at +40.
void Procedure(TOctetsEssai& s, uint16_t genre, uint32_t debut, uint32_t longueur, int32_t nom) {
  const std::size_t r = s.Taille();
  s.U16(42);
  s.U16(genre);
  s.Zeros(40);
  s.Poser32(r + 16, longueur);
  s.Poser32(r + 28, debut);
  s.Poser32(r + 40, static_cast<uint32_t>(nom));
}

TOctetsEssai SousSectionSymboles() {
  TOctetsEssai s;
  s.U32(1);  // signature
  s.Marquer("premiere procedure");
  Procedure(s, 0x0205, 0x1000, 0x100, 1);
  // Frame-relative variables: offset at +4, name index at +12.
  for (auto [decalage, nom] : {std::pair{-4, 2}, std::pair{-48, 3}}) {
    s.U16(14), s.U16(0x0200), s.U32(static_cast<uint32_t>(decalage)), s.U32(0), s.U32(static_cast<uint32_t>(nom));
  }
  // A register variable: register at +8, name index at +10.
  s.U16(12), s.U16(0x0002), s.U32(0), s.U16(3), s.U32(4);
  s.U16(6), s.U16(0x0001), s.U32(0xDEADBEEF);  // a kind the reader skips
  Procedure(s, 0x0204, 0x1800, 0x10, 0);        // without a name: skipped
  Procedure(s, 0x0204, 0x2000, 0x80, 5);
  s.U16(0);                                     // end of the records
  s.U16(0xFFFF), s.U16(0x0205);                 // bytes after the end are never read as records
  return s;
}

// Three files: Principal.pas (4 lines), one without a name, Outils.pas (2 lines).
TOctetsEssai SousSectionModuleSource() {
  TOctetsEssai s;
  s.Marquer("nombre de fichiers");
  s.U16(3), s.U16(0);
  const std::size_t offsets = s.Taille();
  s.Zeros(12);
  auto fichier = [&](int indice, int32_t nom, std::vector<std::pair<uint32_t, uint16_t>> paires,
                     const std::string& marque) {
    s.Poser32(offsets + 4 * indice, static_cast<uint32_t>(s.Taille()));
    s.U16(1), s.U32(static_cast<uint32_t>(nom));
    const std::size_t table = s.Taille();
    s.Marquer("table de " + marque);
    s.U32(0);
    s.Poser32(table, static_cast<uint32_t>(s.Taille()));
    s.U16(1);
    s.Marquer("paires de " + marque);
    s.U16(static_cast<uint16_t>(paires.size()));
    for (auto [adresse, ligne] : paires) s.U32(adresse);
    for (auto [adresse, ligne] : paires) s.U16(ligne);
    // A further line table of the same file, which the reader ignores.
    s.U16(1), s.U16(1), s.U32(0x9000), s.U16(999);
  };
  fichier(0, 6, {{0x1000, 10}, {0x1008, 11}, {0x1020, 12}, {0x1100, 13}}, "Principal");
  fichier(1, 0, {{0x1800, 1}, {0x1810, 2}}, "sans nom");
  fichier(2, 7, {{0x2000, 5}, {0x2080, 9}}, "Outils");
  return s;
}

// A subsection of a kind the reader does not use.
TOctetsEssai Autre() {
  TOctetsEssai s;
  s.Texte("other data");
  return s;
}

// Program bytes, then the debug information: header, subsections, directory, trailer.
TOctetsEssai ImageEssai(const std::string& signature = "FB09") {
  TOctetsEssai image;
  image.Texte("\x7F" "program code and data");
  const std::size_t debut = image.Taille();
  image.Texte(signature);
  image.Marquer("repertoire");
  image.U32(0);

  struct Sous { uint16_t genre; TOctetsEssai octets; std::string nom; };
  std::vector<Sous> sous = {{0x125, SousSectionSymboles(), "symboles"},
                            {0x127, SousSectionModuleSource(), "module"},
                            {0x130, SousSectionNoms(), "noms"},
                            {0x120, Autre(), "autre"}};
  std::vector<std::size_t> positions;
  for (auto& s : sous) {
    positions.push_back(image.Taille() - debut);
    image.Ajouter(s.octets);
  }
  image.Poser32(image.Champs["repertoire"], static_cast<uint32_t>(image.Taille() - debut));
  image.Marquer("taille de tete");
  image.U16(16);
  image.Marquer("taille d'entree");
  image.U16(12);
  image.Marquer("nombre d'entrees");
  image.U16(static_cast<uint16_t>(sous.size()));
  image.Zeros(10);
  for (std::size_t i = 0; i < sous.size(); ++i) {
    image.U16(sous[i].genre), image.U16(1);
    image.Marquer("decalage " + sous[i].nom);
    image.U32(static_cast<uint32_t>(positions[i]));
    image.Marquer("taille " + sous[i].nom);
    image.U32(static_cast<uint32_t>(sous[i].octets.Taille()));
  }
  image.Texte("FB0A");
  image.Marquer("distance");
  image.U32(static_cast<uint32_t>(image.Taille() + 4 - debut));
  return image;
}

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
