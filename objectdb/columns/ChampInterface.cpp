#include "objectdb/columns/ChampInterface.h"

#include "core/objects/ClasseFinalisable.h"

template class TChampTemplate<TChampInterfaceTraits>;

NV_DEFINE_CHAMP_CLASS(TChampInterface, TChampInterfaceTraits)

void ChampInterface::Initialiser() {
  TracerModule("Initialisation du module ChampInterface.");
  CustomChamp::EnregistrerClasseChamp(TChampInterface::StaticClass());
}
