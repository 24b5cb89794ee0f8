#include "net/objets/OrdreReseau.h"

#include <memory>

#include "core/objects/GestionnaireNomsDeClasse.h"
#include "core/objects/RamasseMiettes.h"
#include "core/values/Ansi1252.h"

NV_DEFINE_CLASS(TInterlocuteur, TObjetInterfacable)
NV_DEFINE_CLASS(TInterlocuteurReseau, TInterlocuteur)
NV_DEFINE_ABSTRACT_CLASS(TOrdreReseau, TSerializable)

namespace {

template <class Comportement>
struct TComportementClassOf final : TComportementCS::Class {
  TComportementClassOf(const char* name, const TClass* parent) : TComportementCS::Class(name, parent, nullptr) {}
  TErreur* Traiter(TObject* Objet, TObject* Interlocuteur) const override {
    return Comportement::Traiter(Objet, Interlocuteur);
  }
};

// The root behaviour supports nothing.
struct TComportementRacine {
  static TErreur* Traiter(TObject* Objet, TObject*) {
    return TComportementCS::NonImplemente(TComportementCS::StaticClass(), Objet);
  }
};

[[noreturn]] void ErreurLecture() { throw EReadError("Erreur de lecture du flux"); }

std::string NomDeClasse(const TObject* Objet) { return Objet ? Objet->ClassName() : std::string("nil"); }

}  // namespace

// ---------------------------------------------------------------------------------------------------
// Behaviours

const TComportementCS::Class* TComportementCS::StaticClass() {
  static const TComportementClassOf<TComportementRacine> d("TComportementCS", TObjetInterfacable::StaticClass());
  return &d;
}

TErreur* TComportementCS::NonImplemente(const Class* Comportement, TObject* Objet) {
  return new TErreur("Le comportement client serveur " + Comportement->ClassName() +
                     std::string(" n'est pas implémenté par la classe "_ansi) + NomDeClasse(Objet));
}

TClasseComportement TComportementOrdreParDefaut::StaticClass() {
  static const TComportementClassOf<TComportementOrdreParDefaut> d("TComportementOrdreParDefaut",
                                                                  TComportementCS::StaticClass());
  return &d;
}
TErreur* TComportementOrdreParDefaut::Traiter(TObject* Objet, TObject*) {
  if (auto* i = InterfaceOf<ITraitementParDefaut>(Objet)) return i->TraiterParDefaut();
  return TComportementCS::NonImplemente(StaticClass(), Objet);
}

TClasseComportement TComportementLocal::StaticClass() {
  static const TComportementClassOf<TComportementLocal> d("TComportementLocal", TComportementCS::StaticClass());
  return &d;
}
TErreur* TComportementLocal::Traiter(TObject* Objet, TObject* Interlocuteur) {
  if (auto* i = InterfaceOf<IExecutionLocale>(Interlocuteur)) return i->ExecuterLocalement(Objet);
  if (auto* i = InterfaceOf<IExecutionLocale>(Objet)) return i->ExecuterLocalement(Objet);
  return TComportementCS::NonImplemente(StaticClass(), Objet);
}

TClasseComportement TComportementEnvoiRequete::StaticClass() {
  static const TComportementClassOf<TComportementEnvoiRequete> d("TComportementEnvoiRequete",
                                                                TComportementCS::StaticClass());
  return &d;
}
TErreur* TComportementEnvoiRequete::Traiter(TObject* Objet, TObject* Interlocuteur) {
  auto* ordre = ObjectAs<TOrdreReseau>(Objet);
  auto* i = InterfaceOf<IEnvoiRequete>(Interlocuteur);
  if (ordre != nullptr && i != nullptr) return i->EnvoyerRequete(ordre);
  return TComportementCS::NonImplemente(StaticClass(), Objet);
}

// ---------------------------------------------------------------------------------------------------
// TInterlocuteurReseau

void* TInterlocuteurReseau::GetInterfaceEntry(const TGUID& iid) {
  if (iid == IEnvoiRequete::IID) return static_cast<IEnvoiRequete*>(this);
  if (iid == IExecutionLocale::IID) return static_cast<IExecutionLocale*>(this);
  if (iid == IInterlocuteurReseau::IID) return static_cast<IInterlocuteurReseau*>(this);
  return TInterlocuteur::GetInterfaceEntry(iid);
}

TErreur* TInterlocuteurReseau::Traiter(TOrdreReseau* Ordre) {
  TClasseComportement comportement = Comportement ? Comportement : TComportementEnvoiRequete::StaticClass();
  return comportement->Traiter(Ordre, this);
}

TErreur* TInterlocuteurReseau::EnvoyerOrdreReseauSynchrone(TOrdreReseau* Ordre) {
  if (auto* i = InterfaceOf<IInterlocuteurReseau>(Implementation)) return i->EnvoyerOrdreReseauSynchrone(Ordre);
  return new TErreur(std::string("L'interface IInterlocuteurReseau n'est pas implémentée par la classe "_ansi) +
                     NomDeClasse(Implementation));
}

void TInterlocuteurReseau::EnvoyerOrdreReseau(TOrdreReseau* Ordre) {
  if (auto* i = InterfaceOf<IInterlocuteurReseau>(Implementation)) i->EnvoyerOrdreReseau(Ordre);
}

// A request that cannot be sent is a failure: it is never reported as sent.
TErreur* TInterlocuteurReseau::EnvoyerRequete(TOrdreReseau* Ordre) { return EnvoyerOrdreReseauSynchrone(Ordre); }

TErreur* TInterlocuteurReseau::ExecuterLocalement(TObject* Objet) {
  if (auto* ordre = ObjectAs<TOrdreReseau>(Objet)) return ordre->Traiter(TComportementLocal::StaticClass());
  return TComportementCS::NonImplemente(TComportementLocal::StaticClass(), Objet);
}

// ---------------------------------------------------------------------------------------------------
// TOrdreReseau

TOrdreReseau::~TOrdreReseau() { delete erreur_; }

void* TOrdreReseau::GetInterfaceEntry(const TGUID& iid) {
  if (iid == IModeRequete::IID) return static_cast<IModeRequete*>(this);
  if (iid == IModeReponse::IID) return static_cast<IModeReponse*>(this);
  if (iid == ITraitementParDefaut::IID) return static_cast<ITraitementParDefaut*>(this);
  if (iid == IExecutionLocale::IID) return static_cast<IExecutionLocale*>(this);
  return TSerializable::GetInterfaceEntry(iid);
}

void TOrdreReseau::SetErreur(TErreur* Erreur) {
  if (Erreur == erreur_) return;
  // Detached first: the new tree may lie inside the former one.
  if (Erreur != nullptr) {
    if (Erreur->GetParent() != nullptr) Erreur->GetParent()->SupprimerFils(Erreur);
    Erreur->DesinscrireRamasseMiettes();
  }
  delete erreur_;
  erreur_ = Erreur;
}

void TOrdreReseau::Ecrire(IFormateur* Formateur, TClasseFormat Contexte) {
  if (Contexte != nullptr) Contexte->Ecrire(this, Formateur);
  else TSerializable::Ecrire(Formateur, Contexte);
}

void TOrdreReseau::Lire(IFormateur* Formateur, TClasseFormat Contexte) {
  if (Contexte != nullptr) Contexte->Lire(this, Formateur);
  else TSerializable::Lire(Formateur, Contexte);
}

TListeParametresPublies* TOrdreReseau::CreerParametres() {
  auto* liste = new TListeParametresPubliesReseau(ClassType(), nullptr);
  for (int32_t i = 0; i < liste->GetNombreElements(); ++i)
    if (TParametrePublieReseau* p = liste->ParametreReseau(i); p != nullptr && p->Parametre() != nullptr)
      p->DefinirSens(1, nullptr);
  return liste;
}

TErreur* TOrdreReseau::Traiter(TClasseComportement Comportement) {
  if (Comportement == nullptr) Comportement = TComportementOrdreParDefaut::StaticClass();
  return Comportement->Traiter(this, nullptr);
}

TErreur* TOrdreReseau::TraiterParDefaut() {
  TErreur* arbre = nullptr;
  for (int i = 0; i < interlocuteurs_.Count(); ++i) {
    TErreur* e = Interlocuteur(i)->Traiter(this);
    if (e == nullptr) continue;
    if (arbre == nullptr) arbre = new TErreur("TOrdreReseau.TraiterParDefaut");
    arbre->AjouterFils(e);
  }
  return arbre;
}

TErreur* TOrdreReseau::ExecuterLocalement(TObject*) {
  SetErreur(Executer());
  return nullptr;
}

void TOrdreReseau::EcrireRequete(IFormateur* Formateur) { Parametres()->Ecrire(Formateur, TFSModeRequete::StaticClass()); }

void TOrdreReseau::LireRequete(IFormateur* Formateur) { Parametres()->Lire(Formateur, TFSModeRequete::StaticClass()); }

void TOrdreReseau::EcrireReponse(IFormateur* Formateur) {
  Parametres()->Ecrire(Formateur, TFSModeReponse::StaticClass());
  Formateur->EcrireObjet(erreur_, nullptr);
}

void TOrdreReseau::LireReponse(IFormateur* Formateur) {
  Parametres()->Lire(Formateur, TFSModeReponse::StaticClass());
  std::unique_ptr<TObject> lu(Formateur->LireObjet(nullptr));
  if (lu && !lu->Is<TErreur>()) ErreurLecture();
  SetErreur(static_cast<TErreur*>(lu.release()));
}

// ---------------------------------------------------------------------------------------------------

TOrdreReseau* OrdreReseau::LireOrdre(IFormateur* Formateur) {
  std::unique_ptr<TObject> lu(Formateur->LireObjet(nullptr));
  auto* ordre = ObjectAs<TOrdreReseau>(lu.get());
  if (ordre == nullptr) {
    if (auto* tableau = dynamic_cast<TCustomArray*>(lu.get())) tableau->LibererNonPossedes();
    ErreurLecture();
  }
  ordre->Decollecter();
  return static_cast<TOrdreReseau*>(lu.release());
}

void OrdreReseau::RecevoirReponse(TOrdreReseau* Ordre, IFormateur* Formateur) {
  std::unique_ptr<TOrdreReseau> copie(LireOrdre(Formateur));
  if (copie->ClassType() != Ordre->ClassType()) ErreurLecture();
  TBinaryFormatter reponse(nullptr);
  copie->EcrireReponse(&reponse);
  reponse.SetPosition(0);
  reponse.ModeStrict = true;
  Ordre->LireReponse(&reponse);
}

void OrdreReseau::Initialiser() {
  TracerModule("Initialisation du module OrdreReseau.");
  TGestionnaireNomsDeClasse::Enregistrer(TComportementOrdreParDefaut::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TComportementLocal::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TComportementEnvoiRequete::StaticClass());
}
