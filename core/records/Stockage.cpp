#include "core/records/Stockage.h"

#include <cstring>

#include "core/objects/ClasseFinalisable.h"
#include "core/records/Memoire.h"

NV_DEFINE_CLASS(TStockage, TObject)
NV_DEFINE_CLASS(TPile, TStockage)

void Stockage::Initialiser() { TracerModule("Initialisation du module Stockage."); }

TStockage::TStockage() : TStockage(true) {}

TStockage::TStockage(bool dernierEntrePremierSorti) : dernierEntrePremierSorti_(dernierEntrePremierSorti) {}

TStockage::~TStockage() { Redimensionner(0); }

TStockage* TStockage::CreateMode(bool dernierEntrePremierSorti) {
  return new TStockage(dernierEntrePremierSorti);
}

void TStockage::Redimensionner(int32_t nombreBlocs) {
  void* bloc = elements_;
  const std::size_t parBloc = kEntreesParBloc * sizeof(void*);
  Memoire::Reallouer(bloc, static_cast<std::size_t>(nombreBlocs_) * parBloc,
                     static_cast<std::size_t>(nombreBlocs) * parBloc);
  elements_ = static_cast<void**>(bloc);
  nombreBlocs_ = nombreBlocs;
}

void TStockage::Ajouter(void* element) {
  ++nombre_;
  if (nombreBlocs_ * kEntreesParBloc < nombre_) Redimensionner(nombreBlocs_ + 1);
  elements_[nombre_ - 1] = element;
}

void* TStockage::Extraire() {
  if (nombre_ == 0) return nullptr;
  void* element;
  if (dernierEntrePremierSorti_) {
    element = elements_[nombre_ - 1];
    elements_[nombre_ - 1] = nullptr;
    --nombre_;
  } else {
    element = elements_[0];
    --nombre_;
    std::memmove(elements_, elements_ + 1, static_cast<std::size_t>(nombre_) * sizeof(void*));
    elements_[nombre_] = nullptr;
  }
  if ((nombreBlocs_ - 1) * kEntreesParBloc >= nombre_) Redimensionner(nombreBlocs_ - 1);
  return element;
}
