// Resources, their labels and their subjects in a whole-base stream: a base holding a resource of
// every kind reads and exports its table blocks byte for byte; a base whose resources point at
// records that do not exist reads with the fallbacks (default calendar, nearest status, default
// site) and refuses nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "../base/RessourcesEssai.h"
#include "base/CompteursNumeros.h"
#include "base/SupParametresGrille.h"
#include "base/matieres/SupRelationMatieres.h"
#include "base/ressources/SupLibelleClasse.h"
#include "base/ressources/SupLibelleSalle.h"
#include "base/ressources/SupRelationRessourceMatiere.h"
#include "core/serial/Streams.h"
#include "net/NetBases.h"
#include "streams/BlocParametresBase.h"
#include "streams/SupToutesTables.h"
#include "streams/VclImportExport.h"

namespace {

using namespace RessourcesEssai;

uint32_t TailleCourante(int32_t Place) { return SupFichiers::Fichier(Place)->Description().Dispositions.back().Taille; }

class FluxRessources : public BaseOuverte {
 protected:
  void SetUp() override {
    SupParametresGrille::Initialiser();
    SupFichiers::VersionBase() = TypeVersionFormat{5, 0, 6, 1};
    NetBases::BaseAnterieure506() = false;
    ASSERT_TRUE(SupToutesTables::CreerToutesLesTables());
    BaseOuverte::SetUp();
    Traduction::DefinirTexte("SupEtatNomSiteDefaut", "Site principal");
  }
  void TearDown() override {
    EXPECT_TRUE(client_.Envoyees.empty());
    SupToutesTables::LibererToutesLesTables();
    BaseOuverte::TearDown();
    SupParametresGrille::Initialiser();
  }
  // The stream of a base holding those records (by place, after each file's marker slot).
  static Octets Flux(const std::map<int32_t, std::vector<Octets>>& Fichiers, std::size_t& DebutTables) {
    TMemoryStream bloc1;
    BlocParametresBase::EcrireBlocParametresBase(bloc1);
    Octets v(256, 0);
    const auto bloc = [&v](const Octets& contenu) {
      const auto n = static_cast<uint32_t>(contenu.size());
      v.insert(v.end(), {uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)});
      v.insert(v.end(), contenu.begin(), contenu.end());
    };
    bloc(bloc1.Bytes());
    DebutTables = v.size() - 256;
    for (int32_t q = 1; q <= 42; ++q) {
      Octets contenu(TailleCourante(q), 0xFF);
      if (const auto f = Fichiers.find(q); f != Fichiers.end())
        for (const auto& r : f->second) contenu.insert(contenu.end(), r.begin(), r.end());
      bloc(contenu);
    }
    return v;
  }
  // The exported base's table blocks are the bytes read (the name and the parameter block aside).
  static void ExporteCommeLu(const Octets& flux, std::size_t DebutTables) {
    TMemoryStream sortie;
    VclImportExport::ExporterBase(sortie);
    const Octets& o = sortie.Bytes();
    ASSERT_EQ(o.size(), flux.size() - 256);
    const auto ecart = std::mismatch(o.begin() + static_cast<std::ptrdiff_t>(DebutTables), o.end(),
                                     flux.begin() + 256 + static_cast<std::ptrdiff_t>(DebutTables));
    EXPECT_TRUE(ecart.first == o.end()) << "first difference at byte " << (ecart.first - o.begin()) << ": "
                                        << int{*ecart.first} << " written, " << int{*ecart.second} << " read";
  }
  static void Importer(const Octets& flux) {
    TMemoryStream recu;
    recu.Assign(flux.data(), flux.size());
    VclImportExport::ImporterBase(recu);
  }

  // What resources refer to, at the identifiers of their slots.
  static std::map<int32_t, std::vector<Octets>> References() {
    Octets lieu = Concatener({Chaine("Lyon", 30), {0}, {0, 0, 0, 0}});
    Octets annee(111, 0), semestre(111, 0);
    PoserChaine(annee, 0, "Annee", 10);
    PoserChaine(semestre, 0, "Semestre", 10);
    Octets math(228, 0), phys(228, 0);
    PoserChaine(math, 0, "MATH", 16);
    Poser32(math, 224, 1);
    PoserChaine(phys, 0, "PHYS", 16);
    Poser32(phys, 224, 2);
    return {{kCIV, {Chaine("Mme", 5)}},
            {kCAL, {annee, semestre}},
            {kLIE, {lieu}},
            {kMAT, {math, phys}},
            {kCUR, {Concatener({Chaine("Licence", 30), Chaine("L1", 20)})}},
            {kSTP, {Statut("PEG", 143500, 84000, 18450, true), Statut("Autre", 143500, 92400, 18450, false)}},
            {kSIT, {Site(kNumeroAnnexe, "Annexe"), Site(kNumeroSiteDefaut, "Site principal")}}};
  }
};

Octets Mots(Octets s, uint32_t a, uint32_t b, uint32_t c, bool octets) {
  Poser32(s, 184, a);
  if (octets) {
    s[188] = static_cast<uint8_t>(b);
    Poser32(s, 192, c);
  } else {
    Poser32(s, 188, b);
    s[192] = static_cast<uint8_t>(c);
  }
  return s;
}

TEST_F(FluxRessources, EveryKindWithItsLabelsAndSubjectsReadsAndExportsByteForByte) {
  std::map<int32_t, std::vector<Octets>> fichiers = References();
  Octets prof = Ressource(0, "Martin", "MAR", 1);
  Poser32(prof, 184, 150000);
  for (uint32_t k = 0; k < 7; ++k) Poser32(prof, 188 + 4 * k, 2000 + k);
  prof[216] = 3;
  Poser32(prof, 220, 6);   // civility, slot 1
  Poser32(prof, 224, 72);  // PEG
  PoserChaine(prof, 259, "Anne", 30);
  Poser32(prof, 500, 36);  // Lyon
  Octets td = Mots(Ressource(3, "TD A", "TDA", 4), 222, 52, 1, false);
  td[152] = 1;
  Poser32(td, 132, 2);  // its partition's number
  Octets option = Mots(Ressource(4, "Latin", "LAT", 5), 111, 0, 0, false);
  option[152] = 1;
  fichiers[kRES] = {prof,
                    Mots(Ressource(1, "Groupe", "GRP", 2), 111, 52, 0, false),
                    Mots(Ressource(2, "Terminale", "TS", 3), 111, 52, 1, false),
                    td,
                    option,
                    Mots(Ressource(5, "Salle 1", "S1", 6), 1, 1, kNumeroAnnexe, true),
                    Mots(Ressource(5, "Bloc B", "BB", 7), 4, 0, kNumeroSiteDefaut, true)};
  Octets libelleClasse(80, 0), libelleSalle(80, 0);
  Poser32(libelleClasse, 0, 3 * 560);
  PoserChaine(libelleClasse, 4, "Terminale scientifique", 73);
  Poser32(libelleSalle, 0, 7 * 560);
  PoserChaine(libelleSalle, 4, "Bloc des sciences, salles 1 a 4", 73);
  fichiers[kLCL] = {libelleClasse};
  fichiers[kLSL] = {libelleSalle};
  const auto relation = [](uint8_t genre, uint32_t ressource, uint32_t matiere) {
    Octets r(12, 0);
    r[0] = genre;
    Poser32(r, 4, ressource);
    Poser32(r, 8, matiere);
    return r;
  };
  fichiers[kRRM] = {relation(0, 560, 228), relation(2, 3 * 560, 456), relation(3, 4 * 560, 228),
                    relation(4, 5 * 560, 456)};
  // A subject with every stored field, and subject relations (identifiers 228 and 456).
  Octets& math = fichiers[kMAT][0];
  PoserChaine(math, 17, "EXT-MATH", 80);
  PoserChaine(math, 98, "Mathematiques", 30);
  PoserChaine(math, 129, "Mathematiques generales", 65);
  Poser32(math, 196, 0xFF00000F);
  Poser32(math, 200, 2);
  Poser32(math, 204, 6);
  Poser32(math, 208, 30);
  math[216] = 0x5A;
  PoserChaine(math, 217, "ABC", 3);
  constexpr int32_t kRLM = 13;
  const auto paire = [](uint32_t premiere, uint32_t seconde) {
    Octets r(8, 0);
    Poser32(r, 0, premiere);
    Poser32(r, 4, seconde);
    return r;
  };
  fichiers[kRLM] = {paire(228, 228), paire(228, 456), paire(456, 228)};
  std::size_t debut = 0;
  const Octets flux = Flux(fichiers, debut);
  Importer(flux);
  EXPECT_EQ(VclImportExport::EnregistrementsRefuses(), 0);
  EXPECT_EQ(Xi::Nombre(SupRelationMatieres::Fichier().Table), 3u);
  EXPECT_EQ(Xi::Nombre(SupRessource::Fichier().Table), 7u);
  EXPECT_EQ(Xi::Nombre(SupLibelleClasse::Fichier().Table), 1u);
  EXPECT_EQ(Xi::Nombre(SupLibelleSalle::Fichier().Table), 1u);
  EXPECT_EQ(Xi::Nombre(SupRelationRessourceMatiere::Fichier().Table), 4u);
  ASSERT_TRUE(SupRessource::ChercherParIdentifiant(7 * 560));
  EXPECT_TRUE(SupRessource::EstGroupeDeSalles());
  EXPECT_EQ(SupRessource::Article()->MotC, 2u);
  ASSERT_TRUE(SupRessource::ChercherParIdentifiant(4 * 560));
  EXPECT_EQ(SupRessource::Article()->HorsDecompte, 1);
  ASSERT_TRUE(SupRessource::ChercherParIdentifiant(5 * 560));
  EXPECT_EQ(SupRessource::Article()->HorsDecompte, 1) << "an option keeps it too";

  ExporteCommeLu(flux, debut);
}

// Statuses, sites, travels and a teacher's weekly quotas (files 16, 17, 18 and 36) in their current
// layouts: read, and exported byte for byte.
TEST_F(FluxRessources, StatusesSitesTravelsAndQuotasReadAndExportByteForByte) {
  std::map<int32_t, std::vector<Octets>> fichiers = References();
  Octets prof = Ressource(0, "Martin", "MAR", 1);
  Poser32(prof, 224, 72);  // PEG
  fichiers[kRES] = {prof};
  const auto trajet = [](uint32_t numero, uint32_t depart, uint32_t arrivee, int32_t duree) {
    Octets t(16, 0);
    Poser32(t, 0, numero);
    Poser32(t, 4, depart);
    Poser32(t, 8, arrivee);
    Poser32(t, 12, static_cast<uint32_t>(duree));
    return t;
  };
  fichiers[18] = {trajet(3, kNumeroAnnexe, kNumeroSiteDefaut, 20), trajet(9, kNumeroSiteDefaut, kNumeroAnnexe, -0x7FFFFFFD)};
  Octets quotas(212, 0);
  Poser32(quotas, 0, 560);  // the teacher's identifier
  for (uint32_t n = 1; n <= 52; ++n) Poser32(quotas, 4 * n, n * 100 - 2600);
  fichiers[36] = {quotas};
  std::size_t debut = 0;
  const Octets flux = Flux(fichiers, debut);
  Importer(flux);
  EXPECT_EQ(VclImportExport::EnregistrementsRefuses(), 0);
  for (auto [place, n] : {std::pair{kSTP, 2u}, {kSIT, 2u}, {18, 2u}, {36, 1u}})
    EXPECT_EQ(Xi::Nombre(SupFichiers::Fichier(place)->Table), n) << place;
  EXPECT_EQ(CompteursNumeros::Compteurs()[CompteursNumeros::kTSI], 9u);

  ExporteCommeLu(flux, debut);
}

// Subject contributions of a curriculum and of a module, and their period relations with and without
// a calendar (files 33 and 42), beside the course types and the module they name: read, and
// exported byte for byte.
TEST_F(FluxRessources, ContributionsAndTheirPeriodRelationsReadAndExportByteForByte) {
  std::map<int32_t, std::vector<Octets>> fichiers = References();
  const auto typologie = [](const std::string& nom, uint8_t structure) {
    Octets t(28, 0);
    PoserChaine(t, 0, nom, 13);
    t[24] = structure;
    return t;
  };
  fichiers[11] = {typologie("Cours", 1), typologie("TD", 2)};  // identifiers 28 and 56
  fichiers[15] = {Concatener({Chaine("Analyse", 30), Chaine("AN", 20)})};  // 52
  Octets td = Mots(Ressource(3, "TD A", "TDA", 4), 222, 52, 1, false);
  td[152] = 1;
  fichiers[kRES] = {Mots(Ressource(2, "Terminale", "TS", 3), 111, 52, 1, false), td};  // 560 and 1120
  const auto apport = [](uint32_t duree, uint32_t matiere, uint8_t genre, uint32_t element, uint32_t typologie) {
    Octets a(20, 0);
    Poser32(a, 0, duree);
    Poser32(a, 4, matiere);
    a[8] = genre;
    Poser32(a, 12, element);
    Poser32(a, 16, typologie);
    return a;
  };
  // MATH in TD for the curriculum (20), PHYS as lectures for the module (40).
  fichiers[33] = {apport(150, 228, 0, 52, 56), apport(300, 456, 2, 52, 28)};
  const auto relation = [](uint32_t classe, uint32_t apport, uint32_t calendrier, uint32_t periode, uint8_t coche) {
    Octets r(20, 0);
    Poser32(r, 0, classe);
    Poser32(r, 4, apport);
    Poser32(r, 8, calendrier);
    Poser32(r, 12, periode);
    r[16] = coche;
    return r;
  };
  fichiers[42] = {relation(1120, 20, 222, 2, 1), relation(560, 40, 0, 0, 0)};
  std::size_t debut = 0;
  const Octets flux = Flux(fichiers, debut);
  Importer(flux);
  EXPECT_EQ(VclImportExport::EnregistrementsRefuses(), 0);
  EXPECT_EQ(Xi::Nombre(SupFichiers::Fichier(33)->Table), 2u);
  EXPECT_EQ(Xi::Nombre(SupFichiers::Fichier(42)->Table), 2u);

  ExporteCommeLu(flux, debut);
}

TEST_F(FluxRessources, DanglingReferencesReadWithTheirFallbacks) {
  std::map<int32_t, std::vector<Octets>> fichiers = References();
  Octets prof = Ressource(0, "Martin", "MAR", 1);
  Poser32(prof, 220, 999);  // civility
  Poser32(prof, 224, 999);  // status
  Poser32(prof, 500, 999);  // town
  Octets salle = Mots(Ressource(5, "Salle", "S", 3), 1, 0, 99, true);  // site number 99
  salle[152] = 1;
  fichiers[kRES] = {prof, Mots(Ressource(2, "Terminale", "TS", 2), 999, 999, 1, false), salle};
  std::size_t debut = 0;
  Importer(Flux(fichiers, debut));
  EXPECT_EQ(VclImportExport::EnregistrementsRefuses(), 0);
  const TypeEnregistrementRessource& r = *SupRessource::Article();
  ASSERT_TRUE(SupRessource::ChercherParIdentifiant(560));
  EXPECT_EQ(r.MotA, 0u) << "no civility";
  EXPECT_EQ(r.Ville, 0u);
  EXPECT_EQ(r.MotB, 1u) << "the status nearest to the ratio 4887: PEG";
  ASSERT_TRUE(SupRessource::ChercherParIdentifiant(1120));
  EXPECT_EQ(r.MotA, SupRessource::kCalendrierParDefaut);
  EXPECT_EQ(r.MotB, 0u) << "no curriculum";
  ASSERT_TRUE(SupRessource::ChercherParIdentifiant(1680));
  EXPECT_EQ(r.MotC, 2u) << "the default site";
  EXPECT_EQ(r.HorsDecompte, 0) << "a room is never excluded from hour counts";
}

}  // namespace

namespace {

// Students, families, their headings and the headings given to a student, a subject and a teacher
// (files 8, 9, 10 and 21): read, and exported byte for byte.
TEST_F(FluxRessources, StudentsFamiliesAndHeadingsReadAndExportByteForByte) {
  constexpr int32_t kPAY = 6, kMAD = 5, kELE = 8, kFMR = 9, kSFM = 10, kRFM = 21;
  std::map<int32_t, std::vector<Octets>> fichiers = References();
  fichiers[kPAY] = {Concatener({Chaine("FRA", 3), Chaine("France", 30), Chaine("francaise", 30)})};
  fichiers[kMAD] = {Chaine("Concours", 60)};
  Octets prof = Ressource(0, "Martin", "MAR", 1);
  Poser32(prof, 224, 72);  // PEG
  fichiers[kRES] = {prof};
  const auto eleve = [](const std::string& nom, uint32_t numero) {
    Octets s(536, 0);
    Poser32(s, 0, numero);
    PoserChaine(s, 4, "EXT-" + nom, 80);
    PoserChaine(s, 85, nom, 25);
    PoserChaine(s, 111, "Jeune", 25);
    PoserChaine(s, 137, "Prenom", 25);
    PoserChaine(s, 164, "1 rue des Lilas", 60);
    PoserChaine(s, 225, "Batiment B", 60);
    PoserChaine(s, 286, "69001", 5);
    Poser32(s, 292, 36);  // Lyon
    PoserChaine(s, 296, "0102030405", 20);
    PoserChaine(s, 317, "0607080910", 20);
    PoserChaine(s, 338, "1234567890A", 16);
    const double date = 38123.0;
    std::memcpy(&s[360], &date, 8);
    Poser32(s, 368, 36);
    Poser32(s, 372, 66);  // France
    s[376] = 1;
    s[384] = 1;
    PoserChaine(s, 385, "Bac S", 60);
    Poser32(s, 448, 61);  // the admission modality
    PoserChaine(s, 452, "eleve@exemple.fr", 60);
    const uint8_t codee[13] = {0xFF, 0, 0xFF, 1, 0, 0, 0xFE, 0x80, 0xFF, 0, 7, 0xFF, 0};
    std::memcpy(&s[513], codee, 13);
    PoserChaine(s, 526, "ADM", 3);
    return s;
  };
  fichiers[kELE] = {eleve("Durand", 12), eleve("Petit", 13)};
  const auto famille = [](uint8_t genre, const std::string& nom) { return Concatener({{genre}, Chaine(nom, 13)}); };
  fichiers[kFMR] = {famille(3, "Regime"), famille(0, "Pole"), famille(1, "Statut")};
  const auto rubrique = [](uint32_t famille, const std::string& nom) {
    Octets s(20, 0);
    Poser32(s, 0, famille);
    PoserChaine(s, 4, nom, 13);
    return s;
  };
  fichiers[kSFM] = {rubrique(15, "Interne"), rubrique(15, "Externe"), rubrique(30, "Sciences"),
                    rubrique(45, "Titulaire")};
  const auto attribution = [](uint32_t element, uint32_t famille, uint32_t rubrique) {
    Octets s(12, 0);
    Poser32(s, 0, element);
    Poser32(s, 4, famille);
    Poser32(s, 8, rubrique);
    return s;
  };
  fichiers[kRFM] = {attribution(536, 15, 20), attribution(1072, 15, 40), attribution(228, 30, 60),
                    attribution(560, 45, 80)};
  std::size_t debut = 0;
  const Octets flux = Flux(fichiers, debut);
  Importer(flux);
  EXPECT_EQ(VclImportExport::EnregistrementsRefuses(), 0);
  for (auto [place, nombre] : {std::pair{kELE, 2u}, {kFMR, 3u}, {kSFM, 4u}, {kRFM, 4u}})
    EXPECT_EQ(Xi::Nombre(SupFichiers::Fichier(place)->Table), nombre) << place;
  EXPECT_EQ(CompteursNumeros::Suivant(CompteursNumeros::kELE), 14u);

  ExporteCommeLu(flux, debut);
}

}  // namespace

namespace {

// Curricula, modules and their relations, partitions with an old resource-partition relation, and a
// split course with its link.
TEST_F(FluxRessources, ModulesPartitionsAndSplitCoursesReadAndExportByteForByte) {
  std::map<int32_t, std::vector<Octets>> fichiers = References();
  const auto libelleCode = [](const std::string& libelle, const std::string& code) {
    return Concatener({Chaine(libelle, 30), Chaine(code, 20)});
  };
  const auto paire = [](uint32_t a, uint32_t b) {
    Octets s(8, 0);
    Poser32(s, 0, a);
    Poser32(s, 4, b);
    return s;
  };
  const auto partition = [](const std::string& nom, uint32_t numero, uint32_t diplome, uint32_t couleur) {
    Octets s(44, 0);
    PoserChaine(s, 0, nom, 30);
    Poser32(s, 32, numero);
    Poser32(s, 36, diplome);
    Poser32(s, 40, couleur);
    return s;
  };
  fichiers[kCUR].push_back(libelleCode("Master", "M1"));                                // 104
  fichiers[15] = {libelleCode("Analyse", "AN"), libelleCode("Algebre", "")};            // 52 and 104
  fichiers[41] = {paire(52, 52), paire(104, 52), paire(104, 104)};                      // 8, 16, 24
  Octets td = Mots(Ressource(3, "TD A", "TDA", 4), 111, 0, 0, false);
  Poser32(td, 132, 3);
  fichiers[kRES] = {Mots(Ressource(2, "Terminale", "TS", 3), 111, 52, 1, false), td};  // 560 and 1120
  fichiers[20] = {partition("", 1, 560, 0x00FFFF), partition("Langues", 3, 560, 0x808000)};  // 44 and 88
  fichiers[24] = {paire(88, 1120)};
  // The courses' subject (228), weightings (4) and course type (28).
  Octets ponderation(4, 0), typologie(28, 0);
  Poser32(ponderation, 0, 36000);
  PoserChaine(typologie, 0, "Cours", 13);
  typologie[24] = 1;
  fichiers[2] = {ponderation};
  fichiers[11] = {typologie};
  Octets entier(102, 0);
  for (auto [decalage, valeur] : {std::pair{27, 228u}, {31, 4u}, {35, 4u}, {39, 28u}}) Poser32(entier, decalage, valeur);
  Octets fraction = entier;
  entier[0] = 0;
  fraction[0] = 1;
  fichiers[28] = {entier, fraction};  // 102 and 204
  fichiers[30] = {paire(102, 204)};
  std::size_t debut = 0;
  const Octets flux = Flux(fichiers, debut);
  Importer(flux);
  EXPECT_EQ(VclImportExport::EnregistrementsRefuses(), 0);
  for (auto [place, n] : {std::pair{14, 2u}, {15, 2u}, {41, 3u}, {20, 2u}, {24, 1u}, {28, 2u}, {30, 1u}})
    EXPECT_EQ(Xi::Nombre(SupFichiers::Fichier(place)->Table), n) << place;

  ExporteCommeLu(flux, debut);
}

}  // namespace

#include "base/fichiers/SupRelationCours.h"

namespace {

// Course relations: a teacher and a room group held three times by one course, one relation of
// another course; two orphans (their resource, respectively their course, missing) are dropped, the
// kinds come from the resources, the identifiers from the places, and the kept relations export as
// they were read.
TEST_F(FluxRessources, CourseRelationsReadDropTheirOrphansAndExportByteForByte) {
  std::map<int32_t, std::vector<Octets>> fichiers = References();
  Octets prof = Ressource(0, "Martin", "MAR", 1);
  Poser32(prof, 224, 72);  // PEG
  fichiers[kRES] = {prof, Mots(Ressource(5, "Bloc B", "BB", 2), 3, 0, kNumeroSiteDefaut, true)};
  Octets ponderation(4, 0), typologie(28, 0);
  Poser32(ponderation, 0, 36000);
  PoserChaine(typologie, 0, "Cours", 13);
  typologie[24] = 1;
  fichiers[2] = {ponderation};
  fichiers[11] = {typologie};
  Octets cours(102, 0);
  cours[0] = 0;
  for (auto [decalage, valeur] : {std::pair{27, 228u}, {31, 4u}, {35, 4u}, {39, 28u}}) Poser32(cours, decalage, valeur);
  fichiers[28] = {cours, cours};  // 102 and 204
  const auto relation = [](uint32_t ressource, uint32_t c, uint8_t premier, uint8_t second) {
    Octets r(16, 0);
    Poser32(r, 0, ressource);
    Poser32(r, 4, c);
    r[8] = premier;
    r[9] = second;
    r[15] = 0;
    return r;
  };
  fichiers[29] = {relation(560, 102, 0xFE, 0xFF), relation(1120, 102, 0x06, 0), relation(1120, 102, 0, 0x0F),
                  relation(1120, 102, 0x80, 0x01), relation(560, 204, 0x02, 0)};
  std::size_t debut = 0;
  const Octets attendu = Flux(fichiers, debut);
  fichiers[29].push_back(relation(1680, 102, 1, 0));
  fichiers[29].push_back(relation(560, 306, 1, 0));
  Importer(Flux(fichiers, debut));
  EXPECT_EQ(VclImportExport::EnregistrementsRefuses(), 2);
  void* table = SupRelationCours::Fichier().Table;
  ASSERT_EQ(Xi::Nombre(table), 5u);
  for (auto [identifiant, ressource, genre] : {std::tuple{16, 1u, 0}, {32, 2u, 5}, {48, 2u, 5}, {64, 2u, 5}, {80, 1u, 0}}) {
    ASSERT_TRUE(SupRelationCours::ChercherParIdentifiant(identifiant)) << identifiant;
    EXPECT_EQ(SupRelationCours::Article()->Ressource, ressource);
    EXPECT_EQ(SupRelationCours::Article()->Genre, genre);
  }
  EXPECT_EQ(SupRelationCours::Article()->Cours, 2u);
  ExporteCommeLu(attendu, debut);
}

}  // namespace

#include "base/SupDisponibilite.h"

namespace {

// Calendars and the time slots of a resource and of a course: the first calendar's identifier is its
// stored size, the slots whose owner is missing are dropped, and the kept records export as read.
TEST_F(FluxRessources, CalendarsAndTimeSlotsReadDropTheirOrphansAndExportByteForByte) {
  std::map<int32_t, std::vector<Octets>> fichiers = References();
  Octets periodes(111, 0);
  PoserChaine(periodes, 0, "Trimestres", 10);
  for (std::size_t o = 11; o < 46; ++o) periodes[o] = static_cast<uint8_t>(o);
  periodes[60] = 0xAB;  // the carried zone and byte come back as they were
  periodes[110] = 7;
  fichiers[kCAL].push_back(periodes);
  Octets prof = Ressource(0, "Martin", "MAR", 1);
  Poser32(prof, 224, 72);  // PEG
  fichiers[kRES] = {prof};
  Octets ponderation(4, 0), typologie(28, 0);
  Poser32(ponderation, 0, 36000);
  PoserChaine(typologie, 0, "Cours", 13);
  typologie[24] = 1;
  fichiers[2] = {ponderation};
  fichiers[11] = {typologie};
  Octets cours(102, 0);
  for (auto [decalage, valeur] : {std::pair{27, 228u}, {31, 4u}, {35, 4u}, {39, 28u}}) Poser32(cours, decalage, valeur);
  fichiers[28] = {cours};
  const auto creneau = [](uint32_t proprietaire, uint8_t genre, uint32_t debut, uint32_t fin, uint8_t semaines) {
    Octets c(24, 0);
    Poser32(c, 0, proprietaire);
    c[4] = genre;
    Poser32(c, 8, debut);
    Poser32(c, 12, fin);
    c[16] = semaines;
    c[22] = 0x1F;
    return c;
  };
  fichiers[31] = {creneau(560, 0, 2, 5, 0x06), creneau(560, 3, 20, 39, 0xFE)};
  fichiers[32] = {creneau(102, 1, 4, 4, 0x02)};
  std::size_t debut = 0;
  const Octets attendu = Flux(fichiers, debut);
  fichiers[31].push_back(creneau(1120, 0, 1, 1, 2));
  fichiers[32].push_back(creneau(0, 0, 1, 1, 2));
  Importer(Flux(fichiers, debut));
  EXPECT_EQ(VclImportExport::EnregistrementsRefuses(), 2);
  ASSERT_EQ(Xi::Nombre(SupDisponibiliteRessource::Fichier().Table), 2u);
  ASSERT_EQ(Xi::Nombre(SupDisponibiliteCours::Fichier().Table), 1u);
  ASSERT_TRUE(SupDisponibiliteRessource::ChercherParIdentifiant(48));
  const TypeEnregistrementDisponibilite e = *SupDisponibiliteRessource::Article();
  EXPECT_EQ(std::tie(e.Proprietaire, e.Genre, e.Debut, e.Fin), std::make_tuple(1u, uint8_t{3}, 20u, 39u));
  TFichierSup& calendriers = *SupFichiers::Fichier(kCAL);
  ASSERT_TRUE(calendriers.ChercherParIdentifiant(111));
  EXPECT_EQ(Xi::NumeroCourant(calendriers.Table), 1u);
  ExporteCommeLu(attendu, debut);
}

}  // namespace
