#include "net/objets/ParametrePublie.h"

#include <memory>

#include "core/objects/GestionnaireNomsDeClasse.h"
#include "core/objects/RamasseMiettes.h"

const TProprietePubliee::Class* TParametrePublie::StaticClass() {
  static const TProprietePublieeClassOf<TParametrePublie> d("TParametrePublie", TProprietePubliee::StaticClass());
  return &d;
}

const TCustomArray::Class* TListeParametresPublies::StaticClass() {
  static const TCustomArrayClassOf<TListeParametresPublies> d("TListeParametresPublies",
                                                              TListeProprietesPubliees::StaticClass());
  return &d;
}

namespace {
[[noreturn]] void ErreurLecture() { throw EReadError("Erreur de lecture du flux"); }
}  // namespace

TParametrePublie::TParametrePublie(const TClass* ClasseProprietaire, const std::string& Libelle,
                                   const std::string& NomDuType, uint8_t Genre, const TClass* Classe, bool Stockee)
    : TProprietePubliee(ClasseProprietaire, Libelle, NomDuType, Genre, Classe, Stockee) {
  CreerParametre();
}

TParametrePublie::TParametrePublie(const TClass* ClasseProprietaire, const TInfoPropriete& Info)
    : TProprietePubliee(ClasseProprietaire, Info) {
  CreerParametre();
}

TParametrePublie::~TParametrePublie() { delete parametre_; }

TClasseParametre TParametrePublie::ClasseAttendue() const {
  return NomDuType.empty() ? nullptr : CustomParametre::ClasseParametreDeNom(NomDuType);
}

void TParametrePublie::CreerParametre() {
  if (NomDuType.empty()) return;
  TClasseParametre classe = ClasseAttendue();
  if (classe == nullptr)
    throw EParametreNonEnregistre("Aucune classe de paramètre pour le type " + NomDuType + " de la propriété " +
                                  Libelle);
  parametre_ = classe->Creer(Libelle, false);
}

void TParametrePublie::Ecrire(IFormateur* Formateur, TClasseFormat Contexte) {
  TProprietePubliee::Ecrire(Formateur, Contexte);
  Formateur->EcrireObjet(parametre_, Contexte);
}

void TParametrePublie::Lire(IFormateur* Formateur, TClasseFormat Contexte) {
  TProprietePubliee::Lire(Formateur, Contexte);
  LireParametre(Formateur, Contexte);
}

// A value of the wrong class would be taken for the property's type by whoever reads it.
void TParametrePublie::LireParametre(IFormateur* Formateur, TClasseFormat Contexte) {
  std::unique_ptr<TObject> lu(Formateur->LireObjet(Contexte));
  if (lu) TRamasseMiettes::Retirer(lu.get());  // a collected parameter has one owner here: this one
  TClasseParametre attendue = parametre_ ? parametre_->Classe() : ClasseAttendue();
  if (lu) {
    if (attendue == nullptr || !lu->InheritsFrom(attendue)) ErreurLecture();
  } else if (attendue != nullptr) {
    ErreurLecture();
  }
  delete parametre_;
  parametre_ = static_cast<TCustomParametre*>(lu.release());
}

void TParametrePublie::TracerProprietes(TCustomTraceur* Traceur, std::string& Texte) {
  TProprietePubliee::TracerProprietes(Traceur, Texte);
  if (!TraceActive()) return;
  if (Traceur == nullptr) Traceur = Trace::TraceurParDefaut();
  std::string valeur = "NIL", ligne;
  if (parametre_ != nullptr) parametre_->TexteTrace(valeur);
  Traceur->TracerPropriete("Parametre", valeur, ligne);
  Texte += ligne;
}

TListeParametresPublies::TListeParametresPublies(const TClass* ClasseDecrite, TClasseProprietePubliee ClasseElement)
    : TListeProprietesPubliees(32, true, true) {
  classeDecrite_ = ClasseDecrite;
  classeElement_ = ClasseElement ? ClasseElement : TParametrePublie::StaticClass();
  Construire();
}

TCustomParametre* TListeParametresPublies::Parametre(int32_t Indice) const {
  TParametrePublie* p = ParametrePublie(Indice);
  return p ? p->Parametre() : nullptr;
}

TCustomParametre* TListeParametresPublies::ParametreDeNom(const std::string& Libelle) const {
  for (int32_t i = 0; i < GetNombreElements(); ++i)
    if (TParametrePublie* p = ParametrePublie(i); p != nullptr && p->Libelle == Libelle) return p->Parametre();
  return nullptr;
}

void TListeParametresPublies::Lire(IFormateur* Formateur, TClasseFormat Contexte) {
  TListeProprietesPubliees::Lire(Formateur, Contexte);
  bool valide = GetLibererElements() && (classeElement_ == nullptr || classeElement_->InheritsFrom(TParametrePublie::StaticClass()));
  for (int32_t i = 0; valide && i < GetNombreElements(); ++i) valide = ParametrePublie(i) != nullptr;
  if (valide) return;
  LibererNonPossedes();
  Vider();
  ErreurLecture();
}

void ParametrePublie::Initialiser() {
  TracerModule("Initialisation du module ParametrePublie.");
  TGestionnaireNomsDeClasse::Enregistrer(TParametrePublie::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TListeParametresPublies::StaticClass());
}
