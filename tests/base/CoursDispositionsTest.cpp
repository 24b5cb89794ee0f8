// Stored courses in every layout: one golden course per layout A to K, read from a base of the
// version just below the layout's limit (the limit itself takes the next layout), loaded as a
// received creation and as a record of an imported base, and written back in the current layout;
// the weighting of CFA mode; the references that name no record.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <utility>
#include <tuple>
#include <vector>

#include "CoursEssai.h"
#include "CoursGolden.h"
#include "base/SupParametresGrille.h"
#include "base/cours/SupCours.h"
#include "base/cours/SupMemoCours.h"
#include "base/fichiers/DeclarationFichier.h"
#include "base/fichiers/SupPonderation.h"

namespace {

using namespace essai_cours;

// The golden course in the current layout, as the reader leaves it from layout L. NumeroMemo is
// the number its memo has (0 for none).
Octets Courant(char L, uint32_t NumeroMemo) {
  Octets s(102, 0);
  Poser(s, 0, 2, 1);
  Poser(s, 1, 1, 1);
  PoserSemaines(s, 2, L == 'A' ? kPotentielles : kSemaines);
  PoserSemaines(s, 9, kPotentielles);
  Poser(s, 16, L != 'A', 1);  // B and C: 7 weeks wanted among 20 potential ones are mobile sessions
  Poser(s, 17, De(L, "ABCD") ? 0 : De(L, "EFGHI") ? 2 : 5, 1);
  Poser(s, 18, !De(L, "ABC"), 1);
  Poser(s, 19, 3, 2);
  Poser(s, 21, 2, 2);
  Poser(s, 23, L == 'A' ? 20 : 7, 2);
  Poser(s, 27, kMatiere2, 4);
  Poser(s, 31, kPonderation2, 4);
  Poser(s, 35, De(L, "IJK*") ? kPonderation3 : kPonderation1, 4);
  Poser(s, 39, kCoursTYP, 4);
  Poser(s, 47, De(L, "HIJK*") ? kRegroupement : 0, 4);
  Poser(s, 51, static_cast<uint32_t>(kValeurPlacement), 4);
  Poser(s, 64, kValeurPortee, 4);
  Poser(s, 69, L != 'A', 1);
  if (L != 'A') PoserChaine(s, 70, "ABC", 3);
  Poser(s, 74, NumeroMemo, 4);
  Poser(s, 78, De(L, "ABCDE") ? 0 : kEffectif, 4);
  const bool date = De(L, "CGHIJK*");
  PoserChaine(s, 82, date ? "XYZ" : "USR", 3);
  PoserReel(s, 86, date ? kDate : kMaintenant);
  Poser(s, 94, De(L, "K*") ? kDerniere : SupCours::kDerniereModificationInconnue, 4);
  if (L == '*') Poser(s, 98, kNumeroSite, 4);
  return s;
}

class CoursDispositions : public CoursBase {};

TEST(SupCoursEnregistrement, TheRecordStructureAgreesWithTheFilesDeclaration) {
  using E = TypeEnregistrementCours;
  const std::vector<std::pair<const char*, std::size_t>> champs = {
      {"Genre", offsetof(E, Genre)}, {"Statut", offsetof(E, Statut)}, {"Semaines", offsetof(E, Semaines)},
      {"SemainesPotentielles", offsetof(E, SemainesPotentielles)}, {"SemainesRetenues", offsetof(E, SemainesRetenues)},
      {"DansPeriode", offsetof(E, DansPeriode)}, {"Extrait", offsetof(E, Extrait)}, {"Retenu", offsetof(E, Retenu)},
      {"SeancesMobiles", offsetof(E, SeancesMobiles)}, {"Compactage", offsetof(E, Compactage)},
      {"ModePlace", offsetof(E, ModePlace)}, {"Place", offsetof(E, Place)}, {"Duree", offsetof(E, Duree)},
      {"NombreSemaines", offsetof(E, NombreSemaines)}, {"PlaceRetenue", offsetof(E, PlaceRetenue)},
      {"Matiere", offsetof(E, Matiere)}, {"Ponderation", offsetof(E, Ponderation)},
      {"Ponderation2", offsetof(E, Ponderation2)}, {"Typologie", offsetof(E, Typologie)},
      {"Regroupement", offsetof(E, Regroupement)}, {"ValeurPlacement", offsetof(E, ValeurPlacement)},
      {"CorrectionPlacement", offsetof(E, CorrectionPlacement)}, {"Tri1", offsetof(E, Tri)},
      {"Tri5", offsetof(E, Tri) + 16}, {"ValeurCompactage", offsetof(E, ValeurCompactage)},
      {"ValeurPortee", offsetof(E, ValeurPortee)}, {"AccesLimite", offsetof(E, AccesLimite)},
      {"Proprietaire", offsetof(E, Proprietaire)}, {"Memo", offsetof(E, Memo)}, {"Effectif", offsetof(E, Effectif)},
      {"ModifiePar", offsetof(E, ModifiePar)}, {"DateModification", offsetof(E, DateModification)},
      {"DerniereModification", offsetof(E, DerniereModification)}, {"Site", offsetof(E, Site)}};
  const TypeDescriptionFichier& d = SupCours::Fichier().Description();
  EXPECT_EQ(d.TailleEnregistrement, sizeof(E));
  for (const auto& [nom, decalage] : champs) {
    const TypeChampFichier* c = DeclarationFichier::ChampNomme(d, nom);
    ASSERT_NE(c, nullptr) << nom;
    EXPECT_EQ(static_cast<std::size_t>(c->Decalage), decalage) << nom;
  }
  const TypeDescriptionFichier& m = SupMemoCours::Fichier().Description();
  EXPECT_EQ(DeclarationFichier::ChampNomme(m, "Texte")->Decalage, static_cast<int32_t>(offsetof(TypeEnregistrementMemo, Texte)));
  const TFichierSup& liens = SupFractionnementCours::Fichier();
  EXPECT_EQ(DeclarationFichier::ChampNomme(liens.Description(), "Fraction")->Decalage,
            static_cast<int32_t>(offsetof(TypeLienFractionnement, Fraction)));
}

TEST_F(CoursDispositions, EachLayoutIsChosenBelowItsLimitAndTheLimitTakesTheNext) {
  TFichierSup& f = SupCours::Fichier();
  ASSERT_EQ(f.Description().Dispositions.size(), kDispositions.size() + 1);
  for (std::size_t i = 0; i < kDispositions.size(); ++i) {
    SCOPED_TRACE(kDispositions[i].Nom);
    EXPECT_EQ(f.DispositionPour(kDispositions[i].Dessous, true), i);
    EXPECT_EQ(f.DispositionPour(kDispositions[i].Limite, true), i + 1);
    EXPECT_EQ(f.Description().Dispositions[i].Taille, kDispositions[i].Taille);
  }
  EXPECT_EQ(f.DispositionPour({2, 0, 1, 0}, false), kDispositions.size()) << "a base of 5.0.6 or later";
  EXPECT_EQ(f.Description().Dispositions.back().Taille, 102u);
}

// A received creation in each layout: the fields, a memo of its own for the texts of D to J
// inserted without any request, and the record written back in the current layout.
TEST_F(CoursDispositions, TheGoldenCourseOfEveryLayoutLoadsAndWritesTheCurrentRecord) {
  client_.Exclusif = false;
  for (const Disposition& d : kDispositions) {
    SCOPED_TRACE(d.Nom);
    ASSERT_TRUE(SupCours::CreerTable());
    Disposer(d.Dessous);
    const uint32_t memos = Xi::Nombre(SupMemoCours::Fichier().Table);
    const uint32_t compteur = CompteursNumeros::Compteurs()[CompteursNumeros::kMCR];
    Recevoir(OrdreRecu(GM_Creation, SupCours::kPlace, static_cast<int32_t>(d.Taille), Stocke(d.Nom)));
    ASSERT_EQ(Xi::Nombre(SupCours::Fichier().Table), 1u);
    ASSERT_TRUE(Xi::AllerA(SupCours::Fichier().Table, 1));
    const TypeEnregistrementCours& c = *SupCours::Article();
    EXPECT_EQ(c.Identifiant, static_cast<int32_t>(d.Taille));
    EXPECT_EQ(c.Extrait, 0);
    EXPECT_EQ(c.Retenu, 1);
    EXPECT_EQ(c.DansPeriode, 1);
    EXPECT_EQ(c.Matiere, 2u);
    EXPECT_EQ(c.Typologie, 2u);
    const bool memoTexte = De(d.Nom, "DEFGHIJ");
    uint32_t numeroMemo = 0;
    if (memoTexte) {
      EXPECT_EQ(Xi::Nombre(SupMemoCours::Fichier().Table), memos + 1);
      EXPECT_EQ(SupCours::TexteMemo(0), "Memo D");
      numeroMemo = compteur + 1;
      EXPECT_EQ(CompteursNumeros::Compteurs()[CompteursNumeros::kMCR], numeroMemo) << "the counter is raised";
    } else if (d.Nom == 'K') {
      EXPECT_EQ(SupCours::TexteMemo(0), "Salle B");
      numeroMemo = kNumeroMemo;
    }
    EXPECT_EQ(Exporter(), Courant(d.Nom, numeroMemo));
  }
  EXPECT_TRUE(client_.Envoyees.empty()) << "reading stored courses sends nothing";
}

// The same records in the block of an imported base: read by the registry's converter as the import
// does, with the import under way.
TEST_F(CoursDispositions, TheGoldenCourseOfEveryLayoutLoadsInABaseBlock) {
  for (const Disposition& d : kDispositions) {
    SCOPED_TRACE(d.Nom);
    ASSERT_TRUE(SupCours::CreerTable());
    Disposer(d.Dessous);
    TypeTableReseau* entree = NetXi::Table(SupCours::kPlace);
    ASSERT_EQ(entree->TailleStockee, d.Taille);
    const Octets s = Stocke(d.Nom);
    std::copy(s.begin(), s.end(), entree->Tampon);
    SupFichiers::ImportEnCours() = true;
    const bool lu = entree->LireArticleStocke(entree->Tampon, SupCours::Fichier().Table, 2 * static_cast<int32_t>(d.Taille),
                                              GM_Creation);
    SupFichiers::ImportEnCours() = false;
    ASSERT_TRUE(lu);
    ASSERT_TRUE(Xi::Inserer(SupCours::Fichier().Table));
    const uint32_t numeroMemo = De(d.Nom, "DEFGHIJ") ? CompteursNumeros::Compteurs()[CompteursNumeros::kMCR]
                                : d.Nom == 'K'       ? kNumeroMemo
                                                     : 0;
    EXPECT_EQ(Exporter(), Courant(d.Nom, numeroMemo));
  }
  EXPECT_TRUE(client_.Envoyees.empty());
}

TEST_F(CoursDispositions, ACurrentRecordGoesThroughTheReaderAndWriterByteForByte) {
  Octets s = Courant('*', kNumeroMemo);
  Recevoir(OrdreRecu(GM_Creation, SupCours::kPlace, 102, s));
  ASSERT_TRUE(Xi::AllerA(SupCours::Fichier().Table, 1));
  EXPECT_EQ(SupCours::Article()->Site, 1u);
  EXPECT_EQ(Exporter(), s);
}

// The weighting of the layouts older than 3.0.12: in CFA mode it is the second one.
TEST_F(CoursDispositions, TheCfaWeightingRuleCoversTheLayoutsBelow3_0_12) {
  struct Cas {
    char Nom;
    TypeVersionFormat Version;
    bool CFA;
    uint32_t Ponderation, Ponderation2;
  };
  const Cas cas[] = {
      {'H', {3, 0, 11, 0}, false, 2, 1},
      {'H', {3, 0, 11, 0}, true, 1, 2},
      {'I', {3, 0, 20, 0}, true, 2, 3},
      {'I', {3, 0, 20, 0}, false, 2, 3},
      {'A', {2, 0, 40, 0}, true, 1, 2},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(std::string(1, c.Nom) + (c.CFA ? " CFA" : ""));
    ASSERT_TRUE(SupCours::CreerTable());
    SupParam::DefinirModeCFA(c.CFA);
    Disposer(c.Version);
    Recevoir(OrdreRecu(GM_Creation, SupCours::kPlace, 200, Stocke(c.Nom)));
    ASSERT_TRUE(Xi::AllerA(SupCours::Fichier().Table, 1));
    EXPECT_EQ(SupCours::Article()->Ponderation, c.Ponderation);
    EXPECT_EQ(SupCours::Article()->Ponderation2, c.Ponderation2);
  }
}

// A 2.0.40 base: 64-byte records, a simple course whose weeks are its potential weeks.
TEST_F(CoursDispositions, ABaseOf2_0_40LoadsSixtyFourByteSimpleCourses) {
  Disposer({2, 0, 40, 0});
  EXPECT_EQ(NetXi::Table(SupCours::kPlace)->TailleStockee, 64u);
  Recevoir(OrdreRecu(GM_Creation, SupCours::kPlace, 64, Stocke('A')));
  ASSERT_TRUE(Xi::AllerA(SupCours::Fichier().Table, 1));
  const TypeEnregistrementCours& c = *SupCours::Article();
  EXPECT_EQ(c.Genre, SupCours::kCoursSimple);
  EXPECT_EQ(c.Semaines, c.SemainesPotentielles);
  EXPECT_EQ(c.NombreSemaines, 20u);
  EXPECT_EQ(FichierSup::LireChaineCourte(c.Proprietaire, 3), "");
  EXPECT_EQ(FichierSup::LireChaineCourte(c.ModifiePar, 3), "USR");
}

// Current layout: what each reference becomes when it names no record.
TEST_F(CoursDispositions, ReferencesThatNameNoRecordTakeTheirFallback) {
  // A hole in the weightings: the third one's record number is then beyond their count.
  TFichierSup& ponderations = SupPonderation::Fichier();
  ASSERT_TRUE(Xi::AllerA(ponderations.Table, 1));
  ASSERT_TRUE(Xi::Supprimer(ponderations.Table));
  struct Cas {
    const char* Quoi;
    std::size_t Decalage;
    uint32_t Stocke;
    uint32_t TypeEnregistrementCours::*Champ;
    uint32_t Attendu;
  };
  const Cas cas[] = {
      {"subject named", 27, kMatiere2, &TypeEnregistrementCours::Matiere, 2},
      {"subject unknown", 27, 999, &TypeEnregistrementCours::Matiere, 1},
      {"subject 0", 27, 0, &TypeEnregistrementCours::Matiere, 1},
      {"weighting named", 31, kPonderation2, &TypeEnregistrementCours::Ponderation, 2},
      {"weighting 0", 31, 0, &TypeEnregistrementCours::Ponderation, 1},
      {"weighting beyond the count", 31, kPonderation3, &TypeEnregistrementCours::Ponderation, 1},
      {"second weighting unknown", 35, 999, &TypeEnregistrementCours::Ponderation2, 1},
      {"course type named", 39, kCoursTYP, &TypeEnregistrementCours::Typologie, 2},
      {"course type 0", 39, 0, &TypeEnregistrementCours::Typologie, 1},
      {"course type negative", 39, 0xFFFFFFF0u, &TypeEnregistrementCours::Typologie, 1},
      {"course type unknown", 39, 999, &TypeEnregistrementCours::Typologie, 1},
      {"grouping named", 47, kRegroupement, &TypeEnregistrementCours::Regroupement, 1},
      {"grouping 0", 47, 0, &TypeEnregistrementCours::Regroupement, 0},
      {"grouping unknown", 47, 999, &TypeEnregistrementCours::Regroupement, 0},
      {"memo named", 74, kNumeroMemo, &TypeEnregistrementCours::Memo, 1},
      {"memo unknown", 74, 6, &TypeEnregistrementCours::Memo, 0},
      {"memo by identifier", 74, kMemo, &TypeEnregistrementCours::Memo, 0},
      {"site by number", 98, kNumeroSite, &TypeEnregistrementCours::Site, 1},
      {"site by identifier", 98, kSite, &TypeEnregistrementCours::Site, 0},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.Quoi);
    ASSERT_TRUE(SupCours::CreerTable());
    Octets s(102, 0);
    Poser(s, c.Decalage, c.Stocke, 4);
    Recevoir(OrdreRecu(GM_Creation, SupCours::kPlace, 102, s));
    ASSERT_EQ(Xi::Nombre(SupCours::Fichier().Table), 1u) << "an unknown reference never refuses a course";
    ASSERT_TRUE(Xi::AllerA(SupCours::Fichier().Table, 1));
    EXPECT_EQ(SupCours::Article()->*c.Champ, c.Attendu);
  }
  // The writer gives a course without type 0 and one whose type is gone the first type.
  ASSERT_TRUE(SupCours::CreerTable());
  Recevoir(OrdreRecu(GM_Creation, SupCours::kPlace, 102, Octets(102, 0)));
  ASSERT_TRUE(Xi::AllerA(SupCours::Fichier().Table, 1));
  EXPECT_EQ(Exporter()[39], kAucun) << "a stored type of 0 is written as the default type's identifier";
  SupCours::Article()->Typologie = 0;
  EXPECT_EQ(Exporter()[39], 0);
  SupCours::Article()->Typologie = 7;
  EXPECT_EQ(Exporter()[39], kAucun);
}

// A status outside 0..5 and a placed course past the grid read as unplaced.
TEST_F(CoursDispositions, AnImpossibleStatusOrPlaceReadsAsUnplaced) {
  const uint32_t aucune = SupCours::PlaceAucune();
  struct Cas {
    uint8_t Statut;
    uint32_t Place;
    uint8_t StatutLu;
    uint32_t PlaceLue;
  };
  const Cas cas[] = {{9, 3, 0, aucune}, {6, 3, 0, aucune},         {1, aucune, 0, aucune},
                     {5, aucune + 4, 0, aucune}, {2, aucune - 1, 2, aucune - 1}, {3, aucune, 3, aucune}};
  for (const Cas& c : cas) {
    SCOPED_TRACE(int{c.Statut});
    ASSERT_TRUE(SupCours::CreerTable());
    Octets s(102, 0);
    Poser(s, 1, c.Statut, 1);
    Poser(s, 19, c.Place, 2);
    Recevoir(OrdreRecu(GM_Creation, SupCours::kPlace, 102, s));
    ASSERT_TRUE(Xi::AllerA(SupCours::Fichier().Table, 1));
    EXPECT_EQ(SupCours::Article()->Statut, c.StatutLu);
    EXPECT_EQ(SupCours::Article()->Place, c.PlaceLue);
  }
}

}  // namespace
