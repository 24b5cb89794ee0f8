#include "objectdb/columns/ChampObject.h"

#include "core/objects/Arbre.h"
#include "core/objects/ClasseFinalisable.h"

template class TChampTemplate<TChampObjectTraits>;

NV_DEFINE_CHAMP_CLASS(TChampObject, TChampObjectTraits)

void TChampObject::SetValeur(int32_t Ligne, TObject* const& Objet) {
  if (Valeurs->GetLibererElements()) {
    auto* interfacable = dynamic_cast<IInterface*>(Objet);
    IArbreTemporaire* temporaire = nullptr;
    if (interfacable != nullptr &&
        interfacable->QueryInterface(IArbreTemporaire::IID, reinterpret_cast<void**>(&temporaire)) == 0 &&
        temporaire != nullptr)
      temporaire->DesinscrireRamasseMiettes();
  }
  Base::SetValeur(Ligne, Objet);
}

void ChampObject::Initialiser() {
  TracerModule("Initialisation du module ChampObject.");
  CustomChamp::EnregistrerClasseChamp(TChampObject::StaticClass());
}
