#include "core/objects/Arbre.h"

#include "core/arrays/CustomArray.h"
#include "core/objects/CustomTraiterInstance.h"
#include "core/objects/GestionnaireNomsDeClasse.h"
#include "core/objects/RamasseMiettes.h"

NV_DEFINE_CLASS(TArbre, TCustomSerializable)
NV_DEFINE_CLASS(TArbreTemporaire, TArbre)

// ---------------------------------------------------------------------------------------------------
// TArbre

TArbre::~TArbre() {
  if (parent_) parent_->fils_.Extract(this);
  LibererFils();
}

// The children are told first that they have no parent any more, so that none of them looks for
// itself in this list while it goes.
void TArbre::LibererFils() {
  for (int i = 0; i < fils_.Count(); ++i) Fils(i)->parent_ = nullptr;
  fils_.Clear();
}

void* TArbre::GetInterfaceEntry(const TGUID& iid) {
  if (iid == ITracable::IID) return delegue_.Tracable();
  return TCustomSerializable::GetInterfaceEntry(iid);
}

void TArbre::Ecrire(IFormateur* Formateur, TClasseFormat Contexte) {
  Formateur->EcrireEntier(NombreFils());
  for (int i = 0; i < NombreFils(); ++i) Formateur->EcrireObjet(Fils(i), Contexte);
}

void TArbre::Lire(IFormateur* Formateur, TClasseFormat Contexte) {
  LibererFils();
  int32_t nombre = 0;
  if (Formateur->LireEntier(nombre) != 4 || nombre < 0) throw EReadError("Erreur de lecture du flux");
  for (int32_t i = 0; i < nombre; ++i) {
    TObject* objet = Formateur->LireObjet(Contexte);
    if (objet == nullptr) continue;  // a nil entry adds nothing
    auto* noeud = ObjectAs<TArbre>(objet);
    if (noeud == nullptr) {
      TCustomArray::LibererLu(objet);
      throw EReadError("Erreur de lecture du flux");
    }
    AjouterFils(noeud);
  }
}

void TArbre::SetParent(TArbre* Noeud) { parent_ = Noeud; }

int TArbre::AjouterFils(TArbre* Noeud) {
  if (Noeud == nullptr || Noeud == this || Noeud->parent_ == this) return -1;
  if (Noeud->Contient(this)) {
    // Noeud is an ancestor: this node takes its place under Noeud's parent (or becomes a root).
    parent_->SupprimerFils(this);
    if (Noeud->parent_) Noeud->parent_->AjouterFils(this);
  }
  if (Noeud->parent_) Noeud->parent_->SupprimerFils(Noeud);
  Noeud->SetParent(this);
  return fils_.Add(Noeud);
}

bool TArbre::SupprimerFils(TArbre* Noeud) {
  if (Noeud == nullptr || !Contient(Noeud)) return false;
  if (Noeud->parent_) {
    Noeud->parent_->fils_.Extract(Noeud);
    Noeud->SetParent(nullptr);
  }
  return true;
}

bool TArbre::Contient(const TArbre* Noeud) const {
  for (const TArbre* n = Noeud; n != nullptr; n = n->parent_)
    if (n == this) return true;
  return false;
}

bool TArbre::TraiterFils(TCustomTraiterInstance* Visiteur) {
  for (int i = 0; i < NombreFils();) {
    TArbre* fils = Fils(i);
    const bool arret = Visiteur->Traiter(fils);
    if (arret) return true;
    if (i < NombreFils() && Fils(i) == fils) ++i;  // a visitor may have freed the child
  }
  return false;
}

void TArbre::AjouterA(TArbre* Parent) {
  if (Parent) Parent->AjouterFils(this);
}

void TArbre::TracerEntete(TCustomTraceur*, std::string& Texte) { Texte.clear(); }

void TArbre::TracerContenu(bool Detail, TCustomTraceur* Traceur, std::string& Texte) {
  Texte.clear();
  if (!TraceActive()) return;
  std::string part;
  for (int i = 0; i < NombreFils(); ++i) {
    Fils(i)->TracerComplet(Detail, Traceur, part);
    Texte += part;
  }
}

void TArbre::TracerComplet(bool Detail, TCustomTraceur* Traceur, std::string& Texte) {
  DelegueTracable::TracerBloc(*this, Detail, Traceur, Texte);
}

void TArbre::TracerResume(std::string& Texte) {
  Texte.clear();
  if (TraceActive()) TracerComplet(false, nullptr, Texte);
}

// ---------------------------------------------------------------------------------------------------
// TArbreTemporaire

TArbreTemporaire::TArbreTemporaire() { InscrireRamasseMiettes(); }

TArbreTemporaire::~TArbreTemporaire() { DesinscrireRamasseMiettes(); }

void TArbreTemporaire::SetParent(TArbre* Noeud) {
  if (Noeud) DesinscrireRamasseMiettes();
  else InscrireRamasseMiettes();
  TArbre::SetParent(Noeud);
}

void TArbreTemporaire::InscrireRamasseMiettes() { TRamasseMiettes::Ajouter(this); }
void TArbreTemporaire::DesinscrireRamasseMiettes() { TRamasseMiettes::Retirer(this); }
bool TArbreTemporaire::EstInscrit() { return TRamasseMiettes::RangDe(this) >= 0; }

void* TArbreTemporaire::GetInterfaceEntry(const TGUID& iid) {
  if (iid == IArbreTemporaire::IID) return static_cast<IArbreTemporaire*>(this);
  return TArbre::GetInterfaceEntry(iid);
}

void Arbre::Initialiser() {
  TracerModule("Initialisation du module Arbre.");
  TGestionnaireNomsDeClasse::Enregistrer(TArbre::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TArbreTemporaire::StaticClass());
}
