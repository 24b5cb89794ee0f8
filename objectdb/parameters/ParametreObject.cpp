#include "objectdb/parameters/ParametreObject.h"

#include "core/objects/GestionnaireNomsDeClasse.h"
#include "core/objects/RamasseMiettes.h"

template class TParametreTemplate<TParametreObjectTraits>;

NV_DEFINE_PARAMETRE_CLASS(TParametreObject)

void TParametreObjectTraits::Tracer(TObject* Valeur, TCustomTraceur* Traceur, std::string& Texte) {
  CustomParametre::TracerBlocParametre(
      Traceur, kLibelle,
      [&](TCustomTraceur* t, std::string& lignes) { TCustomTracable::TracerObjet(Valeur, true, t, lignes); }, Texte);
}

TParametreObject::~TParametreObject() {
  if (possede_) delete valeur_;
}

void TParametreObject::SetValeur(TObject* const& Valeur) {
  if (Valeur == valeur_) return;
  if (possede_) delete valeur_;
  possede_ = false;
  Base::SetValeur(Valeur);
}

// An object that put itself in the collector while it was read (a collected parameter inside this
// one) is taken back: it has one owner, this parameter.
void TParametreObject::Lire(IFormateur* Formateur, TClasseFormat Contexte) {
  Base::Lire(Formateur, Contexte);
  possede_ = valeur_ != nullptr;
  if (possede_) TRamasseMiettes::Retirer(valeur_);
}

void ParametreObject::Initialiser() {
  TGestionnaireNomsDeClasse::Enregistrer(TParametreObject::StaticClass());
  CustomParametre::EnregistrerClasseParametre(TParametreObject::StaticClass(), "TObject");
}
