#include "objectdb/columns/ChampInt64.h"

#include "core/objects/ClasseFinalisable.h"

template class TChampTemplate<TChampInt64Traits>;

NV_DEFINE_CHAMP_CLASS(TChampInt64, TChampInt64Traits)

void ChampInt64::Initialiser() {
  TracerModule("Initialisation du module ChampInt64.");
  CustomChamp::EnregistrerClasseChamp(TChampInt64::StaticClass());
}
