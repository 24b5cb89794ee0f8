#include "net/objets/ParametrePublieReseau.h"

#include "core/objects/GestionnaireNomsDeClasse.h"

const TProprietePubliee::Class* TParametrePublieReseau::StaticClass() {
  static const TProprietePublieeClassOf<TParametrePublieReseau> d("TParametrePublieReseau",
                                                                  TParametrePublie::StaticClass());
  return &d;
}

const TCustomArray::Class* TListeParametresPubliesReseau::StaticClass() {
  static const TCustomArrayClassOf<TListeParametresPubliesReseau> d("TListeParametresPubliesReseau",
                                                                    TListeParametresPublies::StaticClass());
  return &d;
}

TParametrePublieReseau::TParametrePublieReseau(const TClass* ClasseProprietaire, const std::string& Libelle,
                                               const std::string& NomDuType, uint8_t Genre, const TClass* Classe,
                                               bool Stockee)
    : TParametrePublie(ClasseProprietaire, Libelle, NomDuType, Genre, Classe, Stockee),
      sens_(new TAssociationClasseClasse()) {}

TParametrePublieReseau::TParametrePublieReseau(const TClass* ClasseProprietaire, const TInfoPropriete& Info)
    : TParametrePublie(ClasseProprietaire, Info), sens_(new TAssociationClasseClasse()) {}

TParametrePublieReseau::~TParametrePublieReseau() { delete sens_; }

void* TParametrePublieReseau::GetInterfaceEntry(const TGUID& iid) {
  if (iid == IModeRequete::IID) return static_cast<IModeRequete*>(this);
  if (iid == IModeReponse::IID) return static_cast<IModeReponse*>(this);
  if (iid == IContenuObjet::IID) return static_cast<IContenuObjet*>(this);
  if (iid == IObjetParReference::IID) return static_cast<IObjetParReference*>(this);
  return TParametrePublie::GetInterfaceEntry(iid);
}

void TParametrePublieReseau::DefinirSens(int Genre, TClasseFormat Format) {
  if (Genre < 1 || Genre > 3) return;
  if (sens_ == nullptr) sens_ = new TAssociationClasseClasse();
  // Removing a mode stores the absent value.
  const TClass* absent = sens_->ValeurParDefaut();
  sens_->SetValeur(TFSModeRequete::StaticClass(), Genre & 1 ? Format : absent);
  sens_->SetValeur(TFSModeReponse::StaticClass(), Genre & 2 ? Format : absent);
}

bool TParametrePublieReseau::Voyage(TClasseFormat Mode) const {
  return Mode != nullptr && sens_ != nullptr && sens_->GetValeur(Mode) != sens_->ValeurParDefaut();
}

TClasseFormat TParametrePublieReseau::FormatDe(TClasseFormat Mode) const {
  return Voyage(Mode) ? static_cast<TClasseFormat>(sens_->GetValeur(Mode)) : nullptr;
}

void TParametrePublieReseau::Ecrire(IFormateur* Formateur, TClasseFormat Contexte) {
  if (Voyage(Contexte)) Contexte->Ecrire(this, Formateur);
}

void TParametrePublieReseau::Lire(IFormateur* Formateur, TClasseFormat Contexte) {
  if (Voyage(Contexte)) Contexte->Lire(this, Formateur);
}

// The value in its own form (its class name, "NIL", its data), its data written with Contexte as the
// context of what it holds: an object parameter's object goes in that format. The stream names the
// format, so the reader needs no context.
void TParametrePublieReseau::EcrireParametre(IFormateur* Formateur, TClasseFormat Contexte) {
  TCustomParametre* p = Parametre();
  ISerializable* serialisable = InterfaceOf<ISerializable>(p);
  if (serialisable == nullptr) {
    Formateur->EcrireObjet(nullptr, nullptr);
    return;
  }
  Formateur->EcrireChaine(p->ClassName());
  Formateur->EcrireChaine("NIL");
  serialisable->Ecrire(Formateur, Contexte);
}

void TParametrePublieReseau::EcrireRequete(IFormateur* Formateur) {
  EcrireParametre(Formateur, FormatDe(TFSModeRequete::StaticClass()));
}
void TParametrePublieReseau::LireRequete(IFormateur* Formateur) { LireParametre(Formateur, nullptr); }
void TParametrePublieReseau::EcrireReponse(IFormateur* Formateur) {
  EcrireParametre(Formateur, FormatDe(TFSModeReponse::StaticClass()));
}
void TParametrePublieReseau::LireReponse(IFormateur* Formateur) { LireParametre(Formateur, nullptr); }
void TParametrePublieReseau::EcrireReference(IFormateur* Formateur) { EcrireParametre(Formateur, nullptr); }
void TParametrePublieReseau::LireReference(IFormateur* Formateur) { LireParametre(Formateur, nullptr); }
void TParametrePublieReseau::EcrireContenu(IFormateur* Formateur) { EcrireParametre(Formateur, nullptr); }
void TParametrePublieReseau::LireContenu(IFormateur* Formateur) { LireParametre(Formateur, nullptr); }

TListeParametresPubliesReseau::TListeParametresPubliesReseau(const TClass* ClasseDecrite,
                                                             TClasseProprietePubliee ClasseElement)
    : TListeParametresPublies(32, true, true) {
  classeDecrite_ = ClasseDecrite;
  classeElement_ = ClasseElement ? ClasseElement : TParametrePublieReseau::StaticClass();
  Construire();
}

void TListeParametresPubliesReseau::Ecrire(IFormateur* Formateur, TClasseFormat Contexte) {
  for (int32_t i = 0; i < GetNombreElements(); ++i)
    if (auto* s = InterfaceOf<ISerializable>(GetElement(i))) s->Ecrire(Formateur, Contexte);
}

void TListeParametresPubliesReseau::Lire(IFormateur* Formateur, TClasseFormat Contexte) {
  for (int32_t i = 0; i < GetNombreElements(); ++i)
    if (auto* s = InterfaceOf<ISerializable>(GetElement(i))) s->Lire(Formateur, Contexte);
}

void ParametrePublieReseau::Initialiser() {
  TracerModule("Initialisation du module ParametrePublieReseau.");
  TGestionnaireNomsDeClasse::Enregistrer(TParametrePublieReseau::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TListeParametresPubliesReseau::StaticClass());
}
