#include "objectdb/columns/ChampSingle.h"

#include "core/objects/ClasseFinalisable.h"

template class TChampTemplate<TChampSingleTraits>;

NV_DEFINE_CHAMP_CLASS(TChampSingle, TChampSingleTraits)

void ChampSingle::Initialiser() {
  TracerModule("Initialisation du module ChampSingle.");
  CustomChamp::EnregistrerClasseChamp(TChampSingle::StaticClass());
}
