#include "objectdb/columns/ChampBooleen.h"

#include "core/objects/ClasseFinalisable.h"

template class TChampTemplate<TChampBooleenTraits>;

NV_DEFINE_CHAMP_CLASS(TChampBooleen, TChampBooleenTraits)

void ChampBooleen::Initialiser() {
  TracerModule("Initialisation du module ChampBooleen.");
  CustomChamp::EnregistrerClasseChamp(TChampBooleen::StaticClass());
}
