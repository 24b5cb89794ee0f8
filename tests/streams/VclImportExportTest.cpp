#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "../base/BaseEssai.h"
#include "../base/CoursGolden.h"
#include "base/SupFichiers.h"
#include "base/CompteursNumeros.h"
#include "base/fichiers/SupPublicationSurInternet.h"
#include "base/fichiers/SupRelationCursusModule.h"
#include "base/SupParam.h"
#include "base/cours/SupCours.h"
#include "base/cours/SupMemoCours.h"
#include "base/cours/SupVisibiliteCours.h"
#include "base/SupParametresGrille.h"
#include "core/diagnostics/Trace.h"
#include "core/records/Xi.h"
#include "core/serial/Streams.h"
#include "net/NetBases.h"
#include "net/NetXi.h"
#include "objectdb/Traduction.h"
#include "streams/BlocParametresBase.h"
#include "streams/ParametresBase.h"
#include "streams/SupArchivageEtSauvegarde.h"
#include "streams/SupToutesTables.h"
#include "streams/VclImportExport.h"

namespace {

void Int32(std::vector<uint8_t>& v, int32_t x) {
  for (int i = 0; i < 4; ++i) v.push_back(static_cast<uint8_t>(static_cast<uint32_t>(x) >> (8 * i)));
}
void Bloc(std::vector<uint8_t>& v, const std::vector<uint8_t>& contenu) {
  Int32(v, static_cast<int32_t>(contenu.size()));
  v.insert(v.end(), contenu.begin(), contenu.end());
}
constexpr int32_t kRCM = 41;

uint32_t TailleCourante(int32_t Place) {
  return SupFichiers::Fichier(Place)->Description().Dispositions.back().Taille;
}

class BaseStream : public BaseOuverte {
 protected:
  void SetUp() override {
    SupParametresGrille::Initialiser();
    SupFichiers::VersionBase() = TypeVersionFormat{5, 0, 6, 1};
    NetBases::BaseAnterieure506() = false;
    ASSERT_TRUE(SupToutesTables::CreerToutesLesTables());
    BaseOuverte::SetUp();
  }
  void TearDown() override {
    // Reading a base sends nothing to the server: every value is installed locally.
    EXPECT_TRUE(client_.Envoyees.empty());
    SupToutesTables::LibererToutesLesTables();
    BaseOuverte::TearDown();
    SupParametresGrille::Initialiser();
  }
  // The current parameter block, as a block of the stream.
  std::vector<uint8_t> Bloc1() {
    TMemoryStream m;
    BlocParametresBase::EcrireBlocParametresBase(m);
    return m.Bytes();
  }
  // A received stream: a 256-byte name, then the blocks.
  static void Recu(TMemoryStream& m, const std::string& Nom, const std::vector<uint8_t>& Blocs) {
    std::vector<uint8_t> v(256, 0);
    v[0] = static_cast<uint8_t>(Nom.size());
    std::memcpy(v.data() + 1, Nom.data(), Nom.size());
    v.insert(v.end(), Blocs.begin(), Blocs.end());
    m.Assign(v.data(), v.size());
  }
  static int32_t Identifiant(int32_t Place, uint32_t Numero) { return SupFichiers::Fichier(Place)->IdentifiantDe(Numero); }
  // The blocks of a base holding those records (by place, after each file's empty first slot).
  std::vector<uint8_t> Blocs(const std::map<int32_t, std::vector<std::vector<uint8_t>>>& Fichiers) {
    std::vector<uint8_t> v;
    Bloc(v, Bloc1());
    for (int32_t q = 1; q <= 42; ++q) {
      std::vector<uint8_t> contenu(TailleCourante(q), 0xFF);
      if (const auto f = Fichiers.find(q); f != Fichiers.end())
        for (const auto& r : f->second) contenu.insert(contenu.end(), r.begin(), r.end());
      Bloc(v, contenu);
    }
    return v;
  }
  // The export writes the table blocks it read, byte for byte (block 1 aside: its counters follow the
  // records written).
  void ExporteCommeLu(const std::vector<uint8_t>& Lu) {
    TMemoryStream sortie;
    VclImportExport::ExporterBase(sortie);
    const std::vector<uint8_t>& o = sortie.Bytes();
    const std::size_t tables = 4 + Bloc1().size();
    ASSERT_EQ(o.size(), Lu.size());
    const auto ecart = std::mismatch(o.begin() + static_cast<std::ptrdiff_t>(tables), o.end(),
                                     Lu.begin() + static_cast<std::ptrdiff_t>(tables));
    EXPECT_TRUE(ecart.first == o.end()) << "first difference at byte " << (ecart.first - o.begin()) << ": "
                                        << int{*ecart.first} << " written, " << int{*ecart.second} << " read";
  }
};

TEST_F(BaseStream, AnEmptyBaseIsItsBlockOneThenFortyTwoMarkerBlocksAndReadsBack) {
  TMemoryStream sortie;
  VclImportExport::ExporterBase(sortie);
  const std::vector<uint8_t>& o = sortie.Bytes();
  ASSERT_GE(o.size(), 14u);
  int32_t n1 = 0;
  std::memcpy(&n1, o.data(), 4);
  EXPECT_EQ(o.size(), 4u + static_cast<std::size_t>(n1) + 3718u);
  const std::vector<uint8_t> debut = {5, 0, 0, 0, 6, 0};
  EXPECT_EQ(std::vector<uint8_t>(o.begin() + 4, o.begin() + 10), debut);
  EXPECT_EQ(o[4 + 22], 1);
  EXPECT_EQ(o[4 + 23], 0);
  const std::vector<uint8_t> fin = {4, 0, 0, 0, 3, 'F', 'I', 'N'};
  EXPECT_EQ(std::vector<uint8_t>(o.begin() + 4 + n1 - 8, o.begin() + 4 + n1), fin);
  std::size_t pos = 4 + static_cast<std::size_t>(n1);
  for (int32_t p = 1; p <= 42; ++p) {
    int32_t s = 0;
    std::memcpy(&s, o.data() + pos, 4);
    EXPECT_EQ(static_cast<uint32_t>(s), TailleCourante(p)) << p;
    for (int32_t k = 0; k < s; ++k) ASSERT_EQ(o[pos + 4 + static_cast<std::size_t>(k)], 0xFF) << p;
    pos += 4 + static_cast<std::size_t>(s);
  }

  TMemoryStream recu;
    Recu(recu, "C:\\bases\\lycee.nvb", o);
  VclImportExport::ImporterBase(recu);
  EXPECT_EQ(NetBases::NomBase(), "C:\\bases\\lycee.nvb") << "the base keeps its folder";
  EXPECT_EQ(SupParametresGrille::Parametres().PlacesParJour, 20);
  for (int32_t p = 1; p <= 42; ++p) EXPECT_EQ(Xi::Nombre(SupFichiers::Fichier(p)->Table), 0u) << p;
}

// A base stored in a layout that is not read (4.0.7: the partitions, whose 28-byte records no reader
// takes) is refused with a read error naming the file and the version, before any record is read.
TEST_F(BaseStream, ABaseWhoseVersionNeedsALayoutNotReadIsRefusedNamingTheFileAndTheVersion) {
  // A 4.0.7 block: its header (20 places, 1 day, 10 hours), seven int32 settings, the first date and
  // weeks with what is dropped, the engine's record, 20 pairs of hour labels, the 144-byte counter
  // area, the lunch kinds, an empty HTML name, the establishment name, the backup settings, the four
  // closing and journal values and the byte dropped.
  std::vector<uint8_t> bloc(64, 0);
  for (auto [o, x] : {std::pair{0, 4}, {2, 0}, {4, 7}, {6, 20}, {8, 1}, {10, 10}}) bloc[o] = static_cast<uint8_t>(x);
  bloc.resize(bloc.size() + 7 * 4 + 8 + 7 + 7 + 14 + 20 + 20 * 2 * 9 + 144 + 1 + 4 + 256, 0);
  TMemoryStream archive;
  SupArchivageEtSauvegarde::Ecrire(archive, TypeArchivageEtSauvegarde{});
  bloc.insert(bloc.end(), archive.Bytes().begin(), archive.Bytes().end());
  bloc.resize(bloc.size() + 1 + 1 + 4 + 1, 0);
  std::vector<uint8_t> v;
  Bloc(v, bloc);
  for (int32_t q = 1; q <= 42; ++q) Bloc(v, std::vector<uint8_t>(2 * TailleCourante(q), 0xFF));
  TMemoryStream recu;
  Recu(recu, "b", v);
  try {
    VclImportExport::ImporterBase(recu);
    ADD_FAILURE() << "a 4.0.7 base was loaded";
  } catch (const EReadError& e) {
    const std::string message = e.what();
    EXPECT_NE(message.find(".PRT"), std::string::npos) << message;
    EXPECT_NE(message.find("4.0.7"), std::string::npos) << message;
  }
}

TEST_F(BaseStream, EachFileReadsOneRecordOfItsStoredSizeWithThatSizeAsIdentifier) {
  for (int32_t p = 1; p <= 42; ++p) {
    TFichierSup& f = *SupFichiers::Fichier(p);
    f.ViderArticle();
    RemplirArticle(f, p);  // its references name the records of the files before it
    ASSERT_TRUE(Xi::Inserer(f.Table)) << p;
  }
  TMemoryStream sortie;
  VclImportExport::ExporterBase(sortie);
  TMemoryStream recu;
  Recu(recu, "b", sortie.Bytes());
  VclImportExport::ImporterBase(recu);
  EXPECT_EQ(VclImportExport::EnregistrementsRefuses(), 0);
  for (int32_t p = 1; p <= 42; ++p) {
    const TFichierSup& f = *SupFichiers::Fichier(p);
    ASSERT_EQ(Xi::Nombre(f.Table), 1u) << f.Description().Extension;
    EXPECT_EQ(Identifiant(p, 1), static_cast<int32_t>(TailleCourante(p))) << f.Description().Extension;
  }
}

TEST_F(BaseStream, ARecordThatItsConverterRefusesIsCountedAndTheNextKeepsItsPlace) {
  const uint32_t s = TailleCourante(kRCM);
  std::vector<uint8_t> v;
  Bloc(v, Bloc1());
  for (int32_t q = 1; q <= 42; ++q) {
    std::vector<uint8_t> contenu(TailleCourante(q), 0xFF);
    if (q == kRCM) contenu.resize(3 * s, 0x01);  // a curriculum and a module that do not exist
    Bloc(v, contenu);
  }
  TMemoryStream recu;
  Recu(recu, "b", v);
  const int32_t traces = Trace::TraceurParDefaut()->Compteur();
  VclImportExport::ImporterBase(recu);
  EXPECT_EQ(VclImportExport::EnregistrementsRefuses(), 2);
  EXPECT_EQ(Trace::TraceurParDefaut()->Compteur(), traces + 2);
  EXPECT_EQ(Xi::Nombre(SupFichiers::Fichier(kRCM)->Table), 0u);
}

TEST_F(BaseStream, EmptySlotsCountTheirPlaceAndTheExportNumbersCompactly) {
  constexpr int32_t kPON = 2;  // weightings: a record is its 4-byte value
  const uint32_t s = TailleCourante(kPON);
  ASSERT_EQ(s, 4u);
  std::vector<uint8_t> v;
  Bloc(v, Bloc1());
  for (int32_t q = 1; q <= 42; ++q) {
    std::vector<uint8_t> contenu(TailleCourante(q), 0xFF);
    if (q == kPON) {
      const std::vector<uint8_t> a = {1, 0, 0, 0}, b = {3, 0, 0, 0};
      contenu.insert(contenu.end(), a.begin(), a.end());
      contenu.insert(contenu.end(), s, 0xFF);
      contenu.insert(contenu.end(), b.begin(), b.end());
      contenu.insert(contenu.end(), {9, 9, 9});  // less than a record: ignored
    }
    Bloc(v, contenu);
  }
  TMemoryStream recu;
    Recu(recu, "b", v);
  VclImportExport::ImporterBase(recu);
  ASSERT_EQ(Xi::Nombre(SupFichiers::Fichier(kPON)->Table), 2u);
  EXPECT_EQ(Identifiant(kPON, 1), 4);
  EXPECT_EQ(Identifiant(kPON, 2), 12);

  TMemoryStream sortie;
  VclImportExport::ExporterBase(sortie);
  EXPECT_EQ(Identifiant(kPON, 1), 4);
  EXPECT_EQ(Identifiant(kPON, 2), 8);
  TMemoryStream relu;
    Recu(relu, "b", sortie.Bytes());
  VclImportExport::ImporterBase(relu);
  ASSERT_EQ(Xi::Nombre(SupFichiers::Fichier(kPON)->Table), 2u);
  EXPECT_EQ(Identifiant(kPON, 2), 8);
  EXPECT_EQ(SupFichiers::Fichier(kPON)->Enregistrement()[4], 3);
}

TEST_F(BaseStream, BlocksLargerThanTheStreamOrNegativeStopTheImport) {
  for (int32_t annonce : {1000000, -4}) {
    std::vector<uint8_t> v;
    Bloc(v, Bloc1());
    Int32(v, annonce);
    v.insert(v.end(), 8, 0xFF);
    TMemoryStream recu;
    Recu(recu, "b", v);
    EXPECT_THROW(VclImportExport::ImporterBase(recu), EReadError) << annonce;
  }
}

TEST_F(BaseStream, AMissingTableBlockLeavesTheRemainingTablesEmpty) {
  std::vector<uint8_t> v;
  Bloc(v, Bloc1());
  TMemoryStream recu;
    Recu(recu, "b", v);
  VclImportExport::ImporterBase(recu);
  for (int32_t p = 1; p <= 42; ++p) EXPECT_EQ(Xi::Nombre(SupFichiers::Fichier(p)->Table), 0u);
}

TEST_F(BaseStream, TheSmallReferenceFilesFilledLoadAndWriteBackByteForByte) {
  const auto concatener = [](std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> v;
    for (const auto& p : parts) v.insert(v.end(), p.begin(), p.end());
    return v;
  };
  const auto entier = [](uint32_t x) {
    std::vector<uint8_t> v;
    Int32(v, static_cast<int32_t>(x));
    return v;
  };
  const auto lieu = [&](const std::string& nom, uint32_t pays) {
    return concatener({Chaine(nom, 30), {0}, entier(pays)});
  };
  const auto typologie = [&](const std::string& nom, uint32_t couleur, uint32_t duree, uint8_t structure) {
    return concatener({Chaine(nom, 13), {0, 0}, entier(couleur), entier(duree), {structure, 0, 0, 0}});
  };
  // place, then its records after the empty first slot (identifiers S, 2S, ...)
  const std::map<int32_t, std::vector<std::vector<uint8_t>>> fichiers = {
      {1, {Chaine("", 5), Chaine("M.", 5), Chaine("Mme", 5)}},
      {2, {entier(36000), entier(18000), entier(72000)}},
      {5, {Chaine("Concours", 60), Chaine(std::string(60, 'd'), 60)}},
      {6,
       {concatener({Chaine("FRA", 3), Chaine("France", 30), Chaine("fran\xE7" "aise", 30)}),
        concatener({Chaine("ITA", 3), Chaine(std::string(30, 'I'), 30), Chaine(std::string(30, 'i'), 30)})}},
      {7, {lieu("Lyon", 66), lieu("Milan", 132), lieu("Nulle part", 0)}},
      {11, {typologie("Aucun", 0xFF00000F, 2, 0), typologie("Cours", 0x00FF8000, 4, 1)}},
  };
  const std::vector<uint8_t> v = Blocs(fichiers);
  TMemoryStream recu;
  Recu(recu, "b", v);
  VclImportExport::ImporterBase(recu);
  EXPECT_EQ(VclImportExport::EnregistrementsRefuses(), 0);
  for (const auto& [place, enregistrements] : fichiers)
    EXPECT_EQ(Xi::Nombre(SupFichiers::Fichier(place)->Table), enregistrements.size()) << place;
  // The places hold their countries by record number; the third has none.
  TFichierSup& lieux = *SupFichiers::Fichier(7);
  for (const auto& [numero, pays] : std::vector<std::pair<uint32_t, uint32_t>>{{1, 1}, {2, 2}, {3, 0}})
    EXPECT_EQ(lieux.ValeurDe(numero, 4), pays) << numero;

  ExporteCommeLu(v);
}

// The publication tree laid here, exported and read back: the same nodes, the counter past them.
TEST_F(BaseStream, ThePublicationTreeExportedAndImportedGivesTheSameNodes) {
  namespace P = SupPublicationSurInternet;
  client_.Exclusif = true;
  Traduction::DefinirTexte("EcrParametreInternetPublicationLabelBouton", "Valider");
  ASSERT_TRUE(P::ArbreParDefaut());
  ASSERT_TRUE(P::ModifierValeurNoeud(180, P::NoeudGroupe(0, "PageAccueil", 0), "EnteteHauteurFixe", 0));
  // Every node without its identifier, which the export gives.
  const auto noeuds = [] {
    std::vector<std::vector<uint8_t>> v;
    TFichierSup& f = P::Fichier();
    for (bool b = Xi::Premier(f.Table, P::kOrdreNoeud); b; b = Xi::Suivant(f.Table, P::kOrdreNoeud))
      v.emplace_back(f.Enregistrement() + 4, f.Enregistrement() + sizeof(TypeEnregistrementPublication));
    return v;
  };
  const auto avant = noeuds();
  ASSERT_GT(avant.size(), 300u);
  int32_t dernier = 0;
  std::memcpy(&dernier, avant.back().data(), 4);

  TMemoryStream sortie;
  VclImportExport::ExporterBase(sortie);
  CompteursNumeros::Compteurs().fill(0);
  TMemoryStream recu;
  Recu(recu, "b", sortie.Bytes());
  VclImportExport::ImporterBase(recu);
  EXPECT_EQ(VclImportExport::EnregistrementsRefuses(), 0);
  EXPECT_EQ(noeuds(), avant);
  EXPECT_EQ(CompteursNumeros::Compteurs()[CompteursNumeros::kPSI], static_cast<uint32_t>(dernier));
  EXPECT_EQ(P::ValeurNoeud(P::GV_Libelle, P::NoeudGroupe(0, "OngletCompte", 0), "LabelBouton", 0), "Valider");
  EXPECT_EQ(P::ValeurEntierNoeud(P::GV_Entier, P::NoeudGroupe(0, "PageAccueil", 0), "EnteteHauteurFixe", 0), 180);
  CompteursNumeros::Compteurs().fill(0);
}

// --- The user-information stream.
int gLus = 0, gDefauts = 0;
std::size_t gTaille = 0;
void LireEssai(TMemoryStream* f) {
  ++gLus;
  gTaille = static_cast<std::size_t>(f->Size());
}
void EcrireEssai(TMemoryStream* f) { f->WriteBuffer("abc", 3); }
void DefautsEssai() { ++gDefauts; }

// Courses and their memos in the current layout: the place none is the loaded grid's before the
// first course is read, and every record writes back byte for byte.
TEST_F(BaseStream, CoursesAndTheirMemosLoadAndWriteBackByteForByte) {
  const auto entier = [](uint32_t x) {
    std::vector<uint8_t> v;
    Int32(v, static_cast<int32_t>(x));
    return v;
  };
  const auto typologie = [](const std::string& nom) {
    std::vector<uint8_t> t = Chaine(nom, 13);
    t.resize(28, 0);
    return t;
  };
  const auto memo = [&](uint32_t numero, const std::string& texte) {
    std::vector<uint8_t> m = entier(0);
    const std::vector<uint8_t> n = entier(numero), t = Chaine(texte, 255);
    m.insert(m.end(), n.begin(), n.end());
    m.insert(m.end(), t.begin(), t.end());
    return m;
  };
  // A placed course at 12 with memo 9 and an unplaced one without memo, in the grid of 20 places.
  const auto cours = [&](uint8_t statut, uint16_t place, uint32_t numeroMemo) {
    std::vector<uint8_t> c(102, 0);
    c[0] = 2;
    c[1] = statut;
    for (int i = 2; i < 16; ++i) c[static_cast<std::size_t>(i)] = static_cast<uint8_t>(0x10 + i);
    c[2] &= 0xFE;  // no week 0
    c[9] &= 0xFE;
    c[16] = 1;
    c[17] = 6;
    c[18] = 2;
    std::memcpy(&c[19], &place, 2);
    c[21] = 3;
    c[23] = 9;
    std::memcpy(&c[27], entier(228).data(), 4);   // the subject
    std::memcpy(&c[31], entier(4).data(), 4);     // the weightings
    std::memcpy(&c[35], entier(8).data(), 4);
    std::memcpy(&c[39], entier(56).data(), 4);    // "Cours"
    std::memcpy(&c[51], entier(0xFFFFFF00u).data(), 4);
    std::memcpy(&c[64], entier(0x01020304u).data(), 4);
    c[69] = 1;
    std::memcpy(&c[70], Chaine("ABC", 3).data(), 4);
    std::memcpy(&c[74], entier(numeroMemo).data(), 4);
    std::memcpy(&c[78], entier(31).data(), 4);
    std::memcpy(&c[82], Chaine("XYZ", 3).data(), 4);
    const double date = 45123.75;
    std::memcpy(&c[86], &date, 8);
    std::memcpy(&c[94], entier(0x80190102u).data(), 4);
    return c;
  };
  std::vector<uint8_t> matiere(228, 0);
  std::memcpy(&matiere[98], Chaine("Maths", 30).data(), 31);
  const std::map<int32_t, std::vector<std::vector<uint8_t>>> fichiers = {
      {2, {entier(36000), entier(18000)}},
      {11, {typologie("Aucun"), typologie("Cours")}},
      {12, {matiere}},
      {27, {memo(9, "Salle B"), memo(3, "Projecteur")}},
      {28, {cours(1, 12, 9), cours(3, 20, 0), cours(5, 0, 3)}},
  };
  const std::vector<uint8_t> v = Blocs(fichiers);
  SupCours::PlaceAucune() = 7;
  TMemoryStream recu;
  Recu(recu, "b", v);
  VclImportExport::ImporterBase(recu);
  EXPECT_EQ(VclImportExport::EnregistrementsRefuses(), 0);
  EXPECT_EQ(SupCours::PlaceAucune(), 20u);
  EXPECT_FALSE(SupFichiers::ImportEnCours());
  ASSERT_EQ(Xi::Nombre(SupCours::Fichier().Table), 3u);
  ASSERT_TRUE(Xi::AllerA(SupCours::Fichier().Table, 1));
  EXPECT_EQ(SupCours::TexteMemo(0), "Salle B");
  EXPECT_EQ(SupCours::Article()->Place, 12u);

  ExporteCommeLu(v);

  // The same base stored with a grid of 10 places a day, one an hour: the move to the new grid runs
  // inside the import, and the placed course at 12 keeps at most a retained place (its status then
  // depends on the working days of the new grid).
  SupParametresGrille::AncienneGrille() = {true, 1, 10, 0x3E};
  TMemoryStream ancienne;
  Recu(ancienne, "b", v);
  VclImportExport::ImporterBase(ancienne);
  SupParametresGrille::AncienneGrille() = {};
  ASSERT_TRUE(Xi::AllerA(SupCours::Fichier().Table, 1));
  EXPECT_EQ(SupCours::Article()->Place, SupCours::PlaceAucune());
}

// A base of each older format: its parameter block (the header of that version, then zeros, which
// every such block reads), every file's empty block in the size of its layout for that version, and
// the golden course of the layout. The course file reads each of its older layouts itself (the
// golden course of each loads through the registry in the course tests), but those bases still hold
// other files in layouts that are not read yet: the base is refused, naming one of those files and
// never the courses, before any record is loaded.
TEST_F(BaseStream, ABaseOfAnOlderCourseFormatIsRefusedForTheOtherFilesOnly) {
  using namespace essai_cours;
  const auto base = [&](const TypeVersionFormat& version, char nom) {
    std::vector<uint8_t> bloc(4096, 0);
    const uint16_t entete[] = {static_cast<uint16_t>(version.Majeure), static_cast<uint16_t>(version.Mineure),
                               static_cast<uint16_t>(version.Revision), 20, 5, 10, 63};
    std::memcpy(bloc.data(), entete, sizeof entete);
    std::vector<uint8_t> v;
    Bloc(v, bloc);
    for (int32_t q = 1; q <= 42; ++q) {
      const TFichierSup& f = *SupFichiers::Fichier(q);
      std::vector<uint8_t> contenu(f.Description().Dispositions[f.DispositionPour(version, true)].Taille, 0xFF);
      if (q == SupCours::kPlace) {
        const Octets cours = Stocke(nom);
        contenu.insert(contenu.end(), cours.begin(), cours.end());
      }
      Bloc(v, contenu);
    }
    TMemoryStream recu;
    Recu(recu, "ancienne", v);
    VclImportExport::ImporterBase(recu);
  };
  for (Disposition d : kDispositions) {
    SCOPED_TRACE(d.Nom);
    if (d.Nom == 'J') d.Dessous = {3, 1, 1, 0};  // blocks of 3.1.2 to 3.1.98 carry old export settings
    bool toutLu = true;
    for (int32_t q = 1; q <= 42; ++q) toutLu = toutLu && SupFichiers::Fichier(q)->DispositionLue(d.Dessous, true);
    if (toutLu) {
      // Every file of that version is read: the base loads, its course with it.
      base(d.Dessous, d.Nom);
      EXPECT_EQ(Xi::Nombre(SupCours::Fichier().Table), 1u);
      continue;
    }
    try {
      base(d.Dessous, d.Nom);
      ADD_FAILURE() << "a base with files in layouts not read was loaded";
    } catch (const EReadError& e) {
      const std::string texte = e.what();
      EXPECT_NE(texte.find("are not read"), std::string::npos) << texte;
      EXPECT_NE(texte.find(SupFichiers::TexteVersion(d.Dessous)), std::string::npos) << texte;
      EXPECT_EQ(texte.find(".CRS"), std::string::npos) << texte;
    }
    EXPECT_EQ(Xi::Nombre(SupCours::Fichier().Table), 0u);
  }
}

// Once the user's information has arrived, every course's displayed-period flag follows the period.
TEST_F(BaseStream, TheUsersInformationRecomputesEveryCoursesDisplayedPeriodFlag) {
  NetXi::Initialiser();
  TFichierSup& f = SupCours::Fichier();
  f.ViderArticle();
  for (int s = 20; s <= 30; ++s) SupCours::Article()->SemainesPotentielles.Inclure(s);
  SupCours::Article()->DansPeriode = 1;
  ASSERT_TRUE(Xi::Inserer(f.Table));
  SupVisibiliteCours::Periode() = TypeDomaineHebdomadaire{};
  for (int s = 1; s <= 10; ++s) SupVisibiliteCours::Periode().Inclure(s);
  for (const char* bloc : {"\0\0\0\0", "\1\0\0\0x"}) {
    ASSERT_TRUE(Xi::AllerA(f.Table, 1));
    SupCours::Article()->DansPeriode = 1;
    ASSERT_TRUE(Xi::Modifier(f.Table));
    NetXi::InstallerParametresUtilisateur(LireEssai, EcrireEssai, DefautsEssai);
    TMemoryStream flux;
    flux.Assign(bloc, bloc[0] == 0 ? 4 : 5);
    VclImportExport::ImporterParametresUtilisateur(flux);
    ASSERT_TRUE(Xi::AllerA(f.Table, 1));
    EXPECT_EQ(SupCours::Article()->DansPeriode, 0) << "both branches";
  }
  SupVisibiliteCours::Initialiser();
  NetXi::Initialiser();
}

TEST(UserInformation, AnEmptyBlockInstallsTheDefaultsAndAnyOtherGoesToTheReader) {
  NetXi::Initialiser();
  NetXi::InstallerParametresUtilisateur(LireEssai, EcrireEssai, DefautsEssai);
  gLus = gDefauts = 0;
  TMemoryStream vide;
  vide.Assign("\0\0\0\0", 4);
  VclImportExport::ImporterParametresUtilisateur(vide);
  EXPECT_EQ(gDefauts, 1);
  EXPECT_EQ(gLus, 0);

  TMemoryStream sortie;
  VclImportExport::ExporterParametresUtilisateur(sortie);
  EXPECT_EQ(sortie.AsString(), std::string("\3\0\0\0abc", 7));
  sortie.SetPosition(0);
  VclImportExport::ImporterParametresUtilisateur(sortie);
  EXPECT_EQ(gLus, 1);
  EXPECT_EQ(gTaille, 3u);
  NetXi::Initialiser();
}

}  // namespace
