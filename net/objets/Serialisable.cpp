#include "net/objets/Serialisable.h"

#include <memory>

#include "core/objects/GestionnaireNomsDeClasse.h"
#include "core/objects/RamasseMiettes.h"
#include "net/objets/ParametrePublie.h"

NV_DEFINE_CLASS(TSerializable, TCustomSerializable)

TSerializable::~TSerializable() {
  Decollecter();
  delete parametres_;
}

void* TSerializable::GetInterfaceEntry(const TGUID& iid) {
  if (iid == ITracable::IID) return delegue_.Tracable();
  return TCustomSerializable::GetInterfaceEntry(iid);
}

void TSerializable::Collecter() {
  if (collecte_) return;
  collecte_ = true;
  TRamasseMiettes::Ajouter(this);
}

void TSerializable::Decollecter() {
  if (!collecte_) return;
  collecte_ = false;
  TRamasseMiettes::Retirer(this);
}

TListeParametresPublies* TSerializable::Parametres() {
  if (parametres_ == nullptr) parametres_ = CreerParametres();
  return parametres_;
}

void TSerializable::SetParametres(TListeParametresPublies* Liste) {
  if (Liste == parametres_) return;
  delete parametres_;
  parametres_ = Liste;
}

TListeParametresPublies* TSerializable::CreerParametres() { return new TListeParametresPublies(ClassType(), nullptr); }

void TSerializable::Ecrire(IFormateur* Formateur, TClasseFormat Contexte) {
  TCustomSerializable::Ecrire(Formateur, Contexte);
  Formateur->EcrireBooleen(collecte_);
  Formateur->EcrireObjet(parametres_, Contexte);
}

void TSerializable::Lire(IFormateur* Formateur, TClasseFormat Contexte) {
  TCustomSerializable::Lire(Formateur, Contexte);
  bool collecte = false;
  if (Formateur->LireBooleen(collecte) != 1) throw EReadError("Erreur de lecture du flux");
  if (collecte) Collecter();
  std::unique_ptr<TObject> lu(Formateur->LireObjet(Contexte));
  if (lu && !lu->Is<TListeParametresPublies>()) {
    if (auto* tableau = dynamic_cast<TCustomArray*>(lu.get())) tableau->LibererNonPossedes();
    throw EReadError("Erreur de lecture du flux");
  }
  SetParametres(static_cast<TListeParametresPublies*>(lu.release()));
}

void TSerializable::TracerEntete(TCustomTraceur*, std::string& Texte) { Texte.clear(); }

void TSerializable::TracerContenu(bool Detail, TCustomTraceur* Traceur, std::string& Texte) {
  Texte.clear();
  if (parametres_ == nullptr || !TraceActive()) return;
  std::string part;
  for (int32_t i = 0; i < parametres_->GetNombreElements(); ++i) {
    TCustomTracable::TracerObjet(parametres_->GetElement(i), Detail, Traceur, part);
    Texte += part;
  }
}

void TSerializable::TracerComplet(bool Detail, TCustomTraceur* Traceur, std::string& Texte) {
  DelegueTracable::TracerBloc(*this, Detail, Traceur, Texte);
}

void TSerializable::TracerResume(std::string& Texte) {
  Texte.clear();
  if (TraceActive()) TracerComplet(false, nullptr, Texte);
}

void Serialisable::Initialiser() {
  TracerModule("Initialisation du module Serialisable.");
  TGestionnaireNomsDeClasse::Enregistrer(TSerializable::StaticClass());
}
