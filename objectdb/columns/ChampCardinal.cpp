#include "objectdb/columns/ChampCardinal.h"

#include "core/objects/ClasseFinalisable.h"

template class TChampTemplate<TChampCardinalTraits>;

NV_DEFINE_CHAMP_CLASS(TChampCardinal, TChampCardinalTraits)

void ChampCardinal::Initialiser() {
  TracerModule("Initialisation du module ChampCardinal.");
  CustomChamp::EnregistrerClasseChamp(TChampCardinal::StaticClass());
}
