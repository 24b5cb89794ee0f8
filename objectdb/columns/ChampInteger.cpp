#include "objectdb/columns/ChampInteger.h"

#include "core/objects/ClasseFinalisable.h"

template class TChampTemplate<TChampIntegerTraits>;

NV_DEFINE_CHAMP_CLASS(TChampInteger, TChampIntegerTraits)

void ChampInteger::Initialiser() {
  TracerModule("Initialisation du module ChampInteger.");
  CustomChamp::EnregistrerClasseChamp(TChampInteger::StaticClass());
}
