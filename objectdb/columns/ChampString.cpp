#include "objectdb/columns/ChampString.h"

#include "core/objects/ClasseFinalisable.h"

template class TChampTemplate<TChampStringTraits>;

NV_DEFINE_CHAMP_CLASS(TChampString, TChampStringTraits)

void ChampString::Initialiser() {
  TracerModule("Initialisation du module ChampString.");
  CustomChamp::EnregistrerClasseChamp(TChampString::StaticClass());
}
