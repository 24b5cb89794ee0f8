#include "net/objets/ParametreObjetReseau.h"

#include "core/arrays/CustomArray.h"
#include "core/objects/GestionnaireNomsDeClasse.h"
#include "core/objects/RamasseMiettes.h"
#include "net/objets/ObjetReseau.h"
#include "net/objets/Serialisable.h"

template class TParametreTemplate<TParametreObjetReseauTraits>;

NV_DEFINE_PARAMETRE_CLASS(TParametreObjetReseau)

namespace {

// Whether the object that comes next in the stream is written by reference (its format class is a
// reference format): such an object is resolved to one the receiver already holds. The position is
// left where it was.
bool ObjetSuivantParReference(IFormateur* Formateur) {
  const int32_t position = Formateur->GetPosition();
  std::string nom, format;
  bool parReference = false;
  if (Formateur->LireChaine(nom) >= 0 && nom != "NIL" && Formateur->LireChaine(format) >= 0) {
    const TClass* classe = TGestionnaireNomsDeClasse::ChercherClasse(format);
    parReference = classe != nullptr && classe->InheritsFrom(TFSObjetParReference::StaticClass());
  }
  Formateur->SetPosition(position);
  return parReference;
}

}  // namespace

void TParametreObjetReseauTraits::Tracer(TObject* Valeur, TCustomTraceur* Traceur, std::string& Texte) {
  CustomParametre::TracerBlocParametre(
      Traceur, kLibelle,
      [&](TCustomTraceur* t, std::string& lignes) { TCustomTracable::TracerObjet(Valeur, true, t, lignes); }, Texte);
}

// An object the parameter read goes whole: an array read with it hands the parameter the elements
// it does not own, since they were read with it too.
void TParametreObjetReseau::LibererValeur() {
  if (!possede_) return;
  if (auto* tableau = dynamic_cast<TCustomArray*>(valeur_)) tableau->LibererNonPossedes();
  delete valeur_;
}

TParametreObjetReseau::~TParametreObjetReseau() { LibererValeur(); }

void TParametreObjetReseau::SetValeur(TObject* const& Valeur) {
  if (Valeur == valeur_) return;
  LibererValeur();
  possede_ = false;
  Base::SetValeur(Valeur);
}

// An object created by the reading put itself in the collector when it is collected: it is taken
// back, since this parameter is its one owner.
void TParametreObjetReseau::Lire(IFormateur* Formateur, TClasseFormat Contexte) {
  TCustomParametre::Lire(Formateur, Contexte);
  const bool parReference = ObjetSuivantParReference(Formateur);
  TObject* lu = nullptr;
  if (parReference) {
    TAccepterReference acceptee;
    lu = TParametreObjetReseauTraits::Lire(Formateur, Contexte);
  } else {
    lu = TParametreObjetReseauTraits::Lire(Formateur, Contexte);
  }
  // The same object again can only be a reference to it: what the parameter owned it still owns.
  if (lu == valeur_) return;
  SetValeur(lu);
  possede_ = lu != nullptr && !parReference;
  if (!possede_) return;
  if (auto* s = ObjectAs<TSerializable>(valeur_)) s->Decollecter();
  TRamasseMiettes::Retirer(valeur_);
}

void ParametreObjetReseau::Initialiser() {
  TracerModule("Initialisation du module ParametreObjetReseau.");
  TGestionnaireNomsDeClasse::Enregistrer(TParametreObjetReseau::StaticClass());
  CustomParametre::EnregistrerClasseParametre(TParametreObjetReseau::StaticClass(), "TObject");
}
