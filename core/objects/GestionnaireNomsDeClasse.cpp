#include "core/objects/GestionnaireNomsDeClasse.h"

NV_DEFINE_FINALISABLE_CLASS(TGestionnaireNomsDeClasse)

namespace {
TAssociationStringClass* association = nullptr;
}  // namespace

void TGestionnaireNomsDeClasse::Enregistrer(const TClass* Classe) {
  if (!association) {
    association = new TAssociationStringClass(false, false);
    TClasseFinalisable::Enregistrer(StaticClass());
  }
  association->SetValeur(Classe->ClassName(), Classe);
}

const TClass* TGestionnaireNomsDeClasse::ChercherClasse(const std::string& Nom) {
  return association ? association->GetValeur(Nom) : nullptr;
}

void TGestionnaireNomsDeClasse::Finaliser() {
  delete association;
  association = nullptr;
}

void GestionnaireNomsDeClasse::Initialiser() {
  TClasseFinalisable::Enregistrer(TGestionnaireNomsDeClasse::StaticClass());
}
