#include "base/fichiers/FichiersBase.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <string>
#include <utility>

#include "core/records/Comparai.h"
#include "core/records/Xi.h"

#include "base/SupDisponibilite.h"
#include "base/cours/SupCalendrier.h"
#include "base/cours/SupCours.h"
#include "base/cours/SupFractionnementCours.h"
#include "base/cours/SupMemoCours.h"
#include "base/eleves/SupEleve.h"
#include "base/eleves/SupFamille.h"
#include "base/eleves/SupRelationFamille.h"
#include "base/eleves/SupSousFamille.h"
#include "base/fichiers/DeclarationFichier.h"
#include "base/fichiers/SupCivilite.h"
#include "base/fichiers/SupCursus.h"
#include "base/fichiers/SupJourFerie.h"
#include "base/fichiers/SupLieu.h"
#include "base/fichiers/SupModaliteAdmission.h"
#include "base/fichiers/SupModule.h"
#include "base/fichiers/SupPays.h"
#include "base/fichiers/SupPonderation.h"
#include "base/fichiers/SupPublicationSurInternet.h"
#include "base/fichiers/SupRegroupementCours.h"
#include "base/fichiers/SupRelationCours.h"
#include "base/fichiers/SupRelationCursusModule.h"
#include "base/fichiers/SupTypologieCours.h"
#include "base/matieres/SupApportMatiere.h"
#include "base/matieres/SupMatiere.h"
#include "base/matieres/SupRelationApportPeriode.h"
#include "base/matieres/SupRelationMatieres.h"
#include "base/ressources/SupLibelleClasse.h"
#include "base/ressources/SupLibelleSalle.h"
#include "base/ressources/SupPartition.h"
#include "base/ressources/SupQuotite.h"
#include "base/ressources/SupRelationPartition.h"
#include "base/ressources/SupRelationRessourceMatiere.h"
#include "base/ressources/SupRessource.h"
#include "base/ressources/SupStatut.h"
#include "base/sites/SupSite.h"
#include "base/sites/SupTrajetSite.h"

namespace FichiersBase {

namespace {

using namespace Champ;
using TypeSiAbsente::Aucune;
using TypeSiAbsente::AucuneSiZero;
using TypeSiAbsente::Premiere;
constexpr bool U = true, N = false;

// Places of the files that other files refer to.
enum : int32_t {
  kCIV = 1, kPON = 2, kCAL = 3, kMAD = 5, kPAY = 6, kLIE = 7, kELE = 8, kFMR = 9, kSFM = 10, kTYP = 11,
  kMAT = 12, kCUR = 14, kMDL = 15, kRES = 19, kPRT = 20, kRFM = 21, kRGC = 26,
  kCRS = 28
};

// A resource relation copies the kind, code and name of both its resources, so that its orders sort
// on them.
bool LireRelationRessource(TFichierSup& Fichier, const uint8_t* Stocke, TypeGenreModif Genre) {
  if (!DeclarationFichier::LireChamps(Fichier, Stocke, Genre)) return false;
  const TypeDescriptionFichier& d = Fichier.Description();
  uint8_t* e = Fichier.Enregistrement();
  TFichierSup& ressources = SupRessource::Fichier();
  for (const char* n : {"1", "2"}) {
    const auto champ = [&d, n](const char* nom) { return DeclarationFichier::ChampNomme(d, (std::string(nom) + n).c_str())->Decalage; };
    uint32_t ressource;
    std::memcpy(&ressource, e + champ("Ressource"), 4);
    const uint8_t genre = SupRessource::GenreDeLaRessource(ressource);
    if (genre == SupRessource::kGenreAucun) return false;
    e[champ("Genre")] = genre;
    FichierSup::EcrireChaineCourte(e + champ("Code"), 16,
                                   ressources.ChaineDe(ressource, offsetof(TypeEnregistrementRessource, Code), 16));
    FichierSup::EcrireChaineCourte(e + champ("Nom"), 30,
                                   ressources.ChaineDe(ressource, offsetof(TypeEnregistrementRessource, Nom), 30));
  }
  return true;
}

// clang-format off
const std::vector<TypeDeclarationFichier>& Declarations() {
  static const std::vector<TypeDeclarationFichier> declarations = {
    {"SupRelationRessource", ".RLR", 0x14, 22, 12, false,
     {Identifiant(), Entier("Tri1"), Entier("Tri2"), Booleen("Extraction"), Octet("OctetStocke", 8),
      Booleen("Presence").Vaut(1), Octet("Genre1"), Reference("Ressource1", kRES, 0), Chaine("Code1", 16),
      Chaine("Nom1", 30), Octet("Genre2"), Reference("Ressource2", kRES, 4), Chaine("Code2", 16), Chaine("Nom2", 30)},
     {{U, {"Genre1", "Ressource1", "Genre2", "Ressource2"}}, {N, {"Genre2", "Ressource2", "Genre1", "Ressource1"}},
      {N, {"Presence", "Extraction", "Genre1", "Tri2", "Tri1", "Nom1", "Genre2", "Nom2"}},
      {N, {"Genre1", "Nom1", "Genre2", "Nom2"}}, {N, {"Identifiant"}},
      {N, {"Genre1", "Tri2", "Tri1", "Nom1", "Genre2", "Nom2"}}, {N, {"Genre1", "Genre2", "Presence", "Extraction"}},
      {N, {"Genre1", "Genre2", "Tri2", "Tri1"}}, {N, {"Presence", "Genre1", "Tri2", "Tri1", "Nom1", "Genre2", "Nom2"}},
      {N, {"Presence", "Genre1", "Genre2", "Tri2", "Tri1"}}},
     &LireRelationRessource},
    {"SupLiensPartie", ".LPP", 0x2F, 23, 12, false,
     {Identifiant(), Booleen("Obligatoire", 8), Reference("Ressource1", kRES, 0), Reference("Ressource2", kRES, 4)},
     {{U, {"Ressource1", "Ressource2"}}, {N, {"Ressource2", "Ressource1"}}, {N, {"Identifiant"}}}},
    {"SupProtectionRessource", ".RRU", 0x20, 34, 44, false,
     {Identifiant(), Octet("GenreRessource", 0), Reference("Ressource", kRES, 4), Octet("GenreAcces", 8),
      Chaine("Nom", 32, 9)},
     {{U, {"GenreRessource", "Ressource", "GenreAcces", "Nom"}}, {N, {"Identifiant"}}}},
    {"SupProtectionCours", ".PRC", 0x21, 35, 40, false,
     {Identifiant(), Reference("Cours", kCRS, 0), Octet("GenreAcces", 4), Chaine("Nom", 32, 5)},
     {{U, {"Cours", "GenreAcces", "Nom"}}, {N, {"Identifiant"}}}},
    {"SupRelationRessourceEleve", ".RRE", 0x2B, 37, 12, false,
     {Identifiant(), Octet("Genre", 0).Vaut(2), Reference("Ressource", kRES, 4), Reference("Eleve", kELE, 8)},
     {{N, {"Identifiant"}}, {U, {"Genre", "Ressource", "Eleve"}}, {N, {"Eleve", "Genre", "Ressource"}},
      {N, {"Genre", "Eleve"}}}},
  };
  return declarations;
}
// clang-format on

// The older stored layouts of the files whose readers of them are not built: a base stored in one of
// them is refused rather than read from misaligned records. Sizes, each with the version below which
// it applies, oldest first.
struct TypeAnciennesNonLues {
  const char* Extension;
  std::vector<std::pair<uint32_t, TypeVersionFormat>> Dispositions;
};
const std::vector<TypeAnciennesNonLues>& AnciennesNonLues() {
  static const std::vector<TypeAnciennesNonLues> anciennes = {
      {".RLR", {{12, {3, 0, 0, 0}}, {8, {3, 1, 99, 0}}}},
      {".RRU", {{12, {3, 0, 4, 0}}}},
  };
  return anciennes;
}

TypeDeclarationFichier AvecAnciennes(TypeDeclarationFichier d) {
  for (const TypeAnciennesNonLues& a : AnciennesNonLues()) {
    if (std::strcmp(a.Extension, d.Extension) != 0) continue;
    for (const auto& [taille, limite] : a.Dispositions) d.Anciennes.push_back({taille, limite, nullptr});
  }
  return d;
}

std::array<TFichierSup*, 42> Construire() {
  static std::deque<TypeDescriptionFichier> descriptions;
  static std::deque<TFichierSup> fichiers;
  std::array<TFichierSup*, 42> ordre{};
  ordre[0] = &SupCivilite::Fichier();
  ordre[1] = &SupPonderation::Fichier();
  ordre[2] = &SupCalendrier::Fichier();
  ordre[3] = &SupJourFerie::Fichier();
  ordre[4] = &SupModaliteAdmission::Fichier();
  ordre[5] = &SupPays::Fichier();
  ordre[6] = &SupLieu::Fichier();
  ordre[7] = &SupEleve::Fichier();
  ordre[8] = &SupFamille::Fichier();
  ordre[9] = &SupSousFamille::Fichier();
  ordre[10] = &SupTypologieCours::Fichier();
  ordre[11] = &SupMatiere::Fichier();
  ordre[12] = &SupRelationMatieres::Fichier();
  ordre[13] = &SupCursus::Fichier();
  ordre[14] = &SupModule::Fichier();
  ordre[15] = &SupStatut::Fichier();
  ordre[16] = &SupSite::Fichier();
  ordre[17] = &SupTrajetSite::Fichier();
  ordre[18] = &SupRessource::Fichier();
  ordre[19] = &SupPartition::Fichier();
  ordre[20] = &SupRelationFamille::Fichier();
  ordre[23] = &SupRelationPartition::Fichier();
  ordre[24] = &SupLibelleClasse::Fichier();
  ordre[25] = &SupRegroupementCours::Fichier();
  ordre[26] = &SupMemoCours::Fichier();
  ordre[27] = &SupCours::Fichier();
  ordre[28] = &SupRelationCours::Fichier();
  ordre[29] = &SupFractionnementCours::Fichier();
  ordre[30] = &SupDisponibiliteRessource::Fichier();
  ordre[31] = &SupDisponibiliteCours::Fichier();
  ordre[32] = &SupApportMatiere::Fichier();
  ordre[35] = &SupQuotite::Fichier();
  ordre[37] = &SupLibelleSalle::Fichier();
  ordre[38] = &SupPublicationSurInternet::Fichier();
  ordre[39] = &SupRelationRessourceMatiere::Fichier();
  ordre[40] = &SupRelationCursusModule::Fichier();
  ordre[41] = &SupRelationApportPeriode::Fichier();
  for (const TypeDeclarationFichier& d : Declarations()) {
    descriptions.push_back(DeclarationFichier::Decrire(AvecAnciennes(d)));
    fichiers.emplace_back(descriptions.back());
    ordre[static_cast<std::size_t>(d.Place - 1)] = &fichiers.back();
  }
  return ordre;
}

}  // namespace

const std::array<TFichierSup*, 42>& OrdreDeBase() {
  static const std::array<TFichierSup*, 42> ordre = Construire();
  return ordre;
}

}  // namespace FichiersBase
