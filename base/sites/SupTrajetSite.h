// Travels between sites (".TSI"): one record per ordered pair of sites, telling how long the travel
// from the first to the second takes (0 or more: minutes) or that the two may not follow each other
// within a span (-n: not within n consecutive days; -0x7FFFFFFF, -0x7FFFFFFE, -0x7FFFFFFD: not within
// one, two or four weeks). A travel has a permanent number (NumeroTrajet); it names its sites by
// their NumeroSite when stored and by record number in memory. The travel requests come with the
// sites and travels. Main thread only.
#pragma once

#include <cstdint>

#include "base/fichiers/FichierSup.h"

// As the file's declaration lays the record out.
struct TypeEnregistrementTrajetSite {
  int32_t Identifiant;
  uint32_t NumeroTrajet;  // unique
  uint32_t SiteDepart;    // record number in ".SIT"
  uint32_t SiteArrivee;   // record number in ".SIT"; at most one travel per ordered pair
  int32_t DureeTrajet;
};
static_assert(sizeof(TypeEnregistrementTrajetSite) == 20);

namespace SupTrajetSite {

inline constexpr int32_t kPlace = 18;
inline constexpr uint32_t kTailleStockee = 16;
inline constexpr int32_t kOrdreNumero = 1, kOrdreIdentifiant = 2, kOrdreDepartArrivee = 3, kOrdreArriveeDepart = 4;

TFichierSup& Fichier();
TypeEnregistrementTrajetSite* Article();

}  // namespace SupTrajetSite
