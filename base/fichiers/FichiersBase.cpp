#include "base/fichiers/FichiersBase.h"

#include <cstring>
#include <deque>

#include "base/fichiers/SupCivilite.h"
#include "base/fichiers/SupCursus.h"
#include "base/fichiers/SupJourFerie.h"
#include "base/fichiers/SupLieu.h"
#include "base/fichiers/SupModaliteAdmission.h"
#include "base/fichiers/SupModule.h"
#include "base/fichiers/SupPays.h"
#include "base/fichiers/SupRegroupementCours.h"
#include "base/fichiers/SupRelationCursusModule.h"

namespace FichiersBase {

namespace {

// A file held as its identifier followed by its current stored record.
struct TypeFichierBrut {
  const char* Unite;
  const char* Extension;
  uint8_t CodeTable;
  int32_t Place;
  uint32_t TailleStockee;
  bool Verifie;
  bool AvecEcriture;
};

// clang-format off
constexpr TypeFichierBrut kFichiersBruts[] = {
    {"SupPonderation", ".PON", 0x07, 2, 4, false, true},
    {"SupCalendrier", ".CAL", 0x08, 3, 111, false, true},
    {"SupEleve", ".ELE", 0x2A, 8, 536, false, true},
    {"SupFamille", ".FMR", 0x0B, 9, 15, false, true},
    {"SupSousFamille", ".SFM", 0x0C, 10, 20, false, true},
    {"SupTypologieCours", ".TYP", 0x0D, 11, 28, false, true},
    {"SupMatiere", ".MAT", 0x0E, 12, 228, false, true},
    {"SupRelationMatieres", ".RLM", 0x0F, 13, 8, false, true},
    {"SupStatut", ".STP", 0x25, 16, 72, false, true},
    {"SupSite", ".SIT", 0x30, 17, 40, false, true},
    {"SupTrajetSite", ".TSI", 0x31, 18, 16, false, true},
    {"SupRessource", ".RES", 0x11, 19, 560, false, true},
    {"SupPartition", ".PRT", 0x12, 20, 44, false, true},
    {"SupRelationFamille", ".RFM", 0x13, 21, 12, false, true},
    {"SupRelationRessource", ".RLR", 0x14, 22, 12, false, true},
    {"SupLiensPartie", ".LPP", 0x2F, 23, 12, false, true},
    {"SupRelationPartition", ".RLP", 0x15, 24, 8, false, true},
    {"SupLibelleClasse", ".LCL", 0x17, 25, 80, false, true},
    {"SupMemoCours", ".MCR", 0x27, 27, 264, false, true},
    {"SupCours", ".CRS", 0x19, 28, 102, true, true},
    {"SupRelationCours", ".RLC", 0x1A, 29, 16, false, true},
    {"SupFractionnementCours", ".RPC", 0x1B, 30, 8, false, true},
    {"SupDisponibiliteRessource", ".IRS", 0x1D, 31, 24, false, true},
    {"SupDisponibiliteCours", ".ICR", 0x1E, 32, 24, false, true},
    {"SupApportMatiere", ".PAM", 0x16, 33, 20, true, true},
    {"SupProtectionRessource", ".RRU", 0x20, 34, 44, false, true},
    {"SupProtectionCours", ".PRC", 0x21, 35, 40, false, true},
    {"SupQuotite", ".APP", 0x22, 36, 212, false, true},
    {"SupRelationRessourceEleve", ".RRE", 0x2B, 37, 12, false, true},
    {"SupLibelleSalle", ".LSL", 0x2C, 38, 80, false, true},
    {"SupPublicationSurInternet", ".PSI", 0x2D, 39, 560, false, true},
    {"SupRelationRessourceMatiere", ".RRM", 0x33, 40, 12, false, true},
    {"SupRelationApportPeriode", ".RAP", 0x36, 42, 20, true, true},
};
// clang-format on

bool LireBrut(TFichierSup& f, const uint8_t* stocke, TypeGenreModif) {
  std::memcpy(f.Enregistrement() + 4, stocke, f.Description().TailleEnregistrement - 4);
  return true;
}

bool EcrireBrut(TFichierSup& f, uint8_t* stocke) {
  std::memcpy(stocke, f.Enregistrement() + 4, f.Description().TailleEnregistrement - 4);
  return true;
}

TypeDescriptionFichier DescriptionBrute(const TypeFichierBrut& b) {
  return TypeDescriptionFichier{
      b.Unite,
      b.Extension,
      b.CodeTable,
      b.Place,
      4 + b.TailleStockee,
      {{false, {{0, 4, &Comparai::ComparerEntierBis}}}},
      1,
      {{b.TailleStockee, {}, &LireBrut}},
      b.AvecEcriture ? &EcrireBrut : nullptr,
      nullptr,
      b.Verifie,
  };
}

std::array<TFichierSup*, 42> Construire() {
  static std::deque<TypeDescriptionFichier> descriptions;
  static std::deque<TFichierSup> fichiers;
  std::array<TFichierSup*, 42> ordre{};
  ordre[0] = &SupCivilite::Fichier();
  ordre[3] = &SupJourFerie::Fichier();
  ordre[4] = &SupModaliteAdmission::Fichier();
  ordre[5] = &SupPays::Fichier();
  ordre[6] = &SupLieu::Fichier();
  ordre[13] = &SupCursus::Fichier();
  ordre[14] = &SupModule::Fichier();
  ordre[25] = &SupRegroupementCours::Fichier();
  ordre[40] = &SupRelationCursusModule::Fichier();
  for (const TypeFichierBrut& b : kFichiersBruts) {
    descriptions.push_back(DescriptionBrute(b));
    fichiers.emplace_back(descriptions.back());
    ordre[static_cast<std::size_t>(b.Place - 1)] = &fichiers.back();
  }
  return ordre;
}

}  // namespace

const std::array<TFichierSup*, 42>& OrdreDeBase() {
  static const std::array<TFichierSup*, 42> ordre = Construire();
  return ordre;
}

}  // namespace FichiersBase
