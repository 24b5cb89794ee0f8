#include "objectdb/columns/ChampDouble.h"

#include "core/objects/ClasseFinalisable.h"

template class TChampTemplate<TChampDoubleTraits>;

NV_DEFINE_CHAMP_CLASS(TChampDouble, TChampDoubleTraits)

void ChampDouble::Initialiser() {
  TracerModule("Initialisation du module ChampDouble.");
  CustomChamp::EnregistrerClasseChamp(TChampDouble::StaticClass());
}
