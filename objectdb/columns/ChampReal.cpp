#include "objectdb/columns/ChampReal.h"

#include "core/objects/ClasseFinalisable.h"

template class TChampTemplate<TChampRealTraits>;

NV_DEFINE_CHAMP_CLASS(TChampReal, TChampRealTraits)

void ChampReal::Initialiser() {
  TracerModule("Initialisation du module ChampReal.");
  CustomChamp::EnregistrerClasseChamp(TChampReal::StaticClass());
}
