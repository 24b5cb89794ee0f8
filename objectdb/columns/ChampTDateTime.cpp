#include "objectdb/columns/ChampTDateTime.h"

#include "core/objects/ClasseFinalisable.h"

template class TChampTemplate<TChampTDateTimeTraits>;

NV_DEFINE_CHAMP_CLASS(TChampTDateTime, TChampTDateTimeTraits)

void ChampTDateTime::Initialiser() {
  TracerModule("Initialisation du module ChampTDateTime.");
  CustomChamp::EnregistrerClasseChamp(TChampTDateTime::StaticClass());
}
