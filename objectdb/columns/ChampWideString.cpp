#include "objectdb/columns/ChampWideString.h"

#include "core/objects/ClasseFinalisable.h"

template class TChampTemplate<TChampWideStringTraits>;

NV_DEFINE_CHAMP_CLASS(TChampWideString, TChampWideStringTraits)

void ChampWideString::Initialiser() {
  TracerModule("Initialisation du module ChampWideString.");
  CustomChamp::EnregistrerClasseChamp(TChampWideString::StaticClass());
}
