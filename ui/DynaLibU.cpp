#include "ui/DynaLibU.h"

#include <array>

#include "core/objects/Exceptions.h"
#include "platform/gui/Bibliotheques.h"
#include "platform/ui/BoiteMessage.h"

namespace {

std::array<int32_t, DynaLibU::kNombreReglages> reglages{};
uintptr_t module = 0;
void* entree = nullptr;

}  // namespace

TUnzipFile::TUnzipFile(TComponent* Owner) : TComponent(Owner) {
  TChargeurBibliotheques& chargeur = Bibliotheques::Actuel();
  module_ = chargeur.Charger(DynaLibU::kBibliotheque);
  if (module_ != 0) {
    entree = chargeur.Adresse(module_, DynaLibU::kEntree);
    if (entree) {
      module = module_;
    } else {
      const char* texte = "Could not load dunzip function!";
      (void)BoiteMessage::Afficher(texte, "", BoiteMessage::MB_OK | BoiteMessage::MB_ICONWARNING);
      chargeur.Liberer(module_);
      module_ = 0;
      throw EArretProgramme(texte, 1);
    }
  }
  bloc_ = std::make_unique<uint8_t[]>(kTailleBlocCommande);
}

TUnzipFile::~TUnzipFile() {
  entree = nullptr;
  if (module_ != 0) {
    Bibliotheques::Actuel().Liberer(module_);
    if (module == module_) module = 0;
  }
}

namespace DynaLibU {

void InitialiserReglages() { reglages.fill(1); }

int32_t Reglage(int Indice) { return reglages.at(static_cast<size_t>(Indice)); }

uintptr_t Module() { return module; }
void* EntreeDunzip() { return entree; }

void Initialiser() { InitialiserReglages(); }
void Finaliser() {}

}  // namespace DynaLibU
