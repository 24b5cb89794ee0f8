#include "objectdb/columns/ChampDuree.h"

#include "core/objects/ClasseFinalisable.h"

template class TChampTemplate<TChampDureeTraits>;

NV_DEFINE_CHAMP_CLASS(TChampDuree, TChampDureeTraits)

void ChampDuree::Initialiser() {
  TracerModule("Initialisation du module ChampDuree.");
  CustomChamp::EnregistrerClasseChamp(TChampDuree::StaticClass());
}
