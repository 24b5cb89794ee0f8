#include "objectdb/properties/ProprietePubliee.h"

#include "core/arrays/TemplateArray.h"
#include "core/objects/Exceptions.h"
#include "core/objects/GestionnaireNomsDeClasse.h"
#include "objectdb/parameters/CustomParametre.h"
#include "objectdb/properties/InfosAcces.h"
#include "objectdb/parameters/StrictReads.h"

const TProprietePubliee::Class* TProprietePubliee::StaticClass() {
  static const TProprietePublieeClassOf<TProprietePubliee> descriptor("TProprietePubliee",
                                                                      TCustomSerializable::StaticClass());
  return &descriptor;
}

const TProprietePubliee::Class* TChampPublie::StaticClass() {
  static const TProprietePublieeClassOf<TChampPublie> descriptor("TChampPublie", TProprietePubliee::StaticClass());
  return &descriptor;
}

const TCustomArray::Class* TListeProprietesPubliees::StaticClass() {
  static const TCustomArrayClassOf<TListeProprietesPubliees> descriptor("TListeProprietesPubliees",
                                                                        TArrayOfTObject::StaticClass());
  return &descriptor;
}

const TCustomArray::Class* TListeChampsPublies::StaticClass() {
  static const TCustomArrayClassOf<TListeChampsPublies> descriptor("TListeChampsPublies",
                                                                   TListeProprietesPubliees::StaticClass());
  return &descriptor;
}

namespace {

void AjouterLigne(TCustomTraceur* Traceur, const std::string& Nom, const std::string& Valeur, std::string& Texte) {
  std::string ligne;
  Traceur->TracerPropriete(Nom, Valeur, ligne);
  Texte += ligne;
}

}  // namespace

// ---------------------------------------------------------------------------------------------------
// TProprietePubliee

TProprietePubliee::TProprietePubliee(const TClass* ClasseProprietaire, const std::string& Libelle,
                                     const std::string& NomDuType, uint8_t Genre, const TClass* Classe, bool Stockee)
    : ClasseProprietaire(ClasseProprietaire),
      Libelle(Libelle),
      NomDuType(CustomParametre::CleDeType(NomDuType)),
      Genre(Genre),
      Classe(Classe),
      Stockee(Stockee) {}

TProprietePubliee::TProprietePubliee(const TClass* ClasseProprietaire, const TInfoPropriete& Info)
    : TProprietePubliee(ClasseProprietaire, Info.Nom, Info.NomDuType, Info.Genre,
                        Info.Genre == tkClass && Info.Classe != nullptr ? Info.Classe() : TObject::StaticClass(),
                        Info.Stockee) {}

void TProprietePubliee::Ecrire(IFormateur* Formateur, TClasseFormat Contexte) {
  TCustomSerializable::Ecrire(Formateur, Contexte);
  Formateur->EcrireChaine(TemplateArray::NomDeClasse(ClasseProprietaire));
  Formateur->EcrireChaine(Libelle);
  Formateur->EcrireChaine(NomDuType);
  Formateur->EcrireEntier(Genre);
  if (Genre == tkClass) Formateur->EcrireChaine(TemplateArray::NomDeClasse(Classe));
}

void TProprietePubliee::Lire(IFormateur* Formateur, TClasseFormat Contexte) {
  TCustomSerializable::Lire(Formateur, Contexte);
  const std::string proprietaire = StrictReads::LireChaine(Formateur);
  std::string libelle = StrictReads::LireChaine(Formateur);
  std::string nomDuType = StrictReads::LireChaine(Formateur);
  const int32_t genre = StrictReads::LireEntier(Formateur);
  if (genre < tkUnknown || genre > tkDynArray) TemplateArray::ErreurLecture();
  const TClass* classe = nullptr;
  if (genre == tkClass) {
    const std::string nom = StrictReads::LireChaine(Formateur);
    if (nom != "TObject") classe = TGestionnaireNomsDeClasse::ChercherClasse(nom);
  }
  ClasseProprietaire = TGestionnaireNomsDeClasse::ChercherClasse(proprietaire);
  Libelle = std::move(libelle);
  NomDuType = std::move(nomDuType);
  Genre = static_cast<uint8_t>(genre);
  Classe = classe;
  Stockee = false;
}

std::string TProprietePubliee::NomGenre(uint8_t Genre) {
  static const char* const kNoms[] = {"tkUnknown", "tkInteger", "tkChar",    "tkEnumeration", "tkFloat",
                                      "tkString",  "tkSet",     "tkClass",   "tkMethod",      "tkWChar",
                                      "tkLString", "tkWString", "tkVariant", "tkArray",       "tkRecord",
                                      "tkInterface", "tkInt64", "tkDynArray"};
  return Genre < std::size(kNoms) ? kNoms[Genre] : "Inconnu";
}

void TProprietePubliee::TracerProprietes(TCustomTraceur* Traceur, std::string& Texte) {
  Texte.clear();
  if (!TraceActive()) return;
  if (Traceur == nullptr) Traceur = Trace::TraceurParDefaut();
  AjouterLigne(Traceur, "Libelle", Libelle, Texte);
  AjouterLigne(Traceur, "NomDuType", NomDuType, Texte);
  AjouterLigne(Traceur, "Type", NomGenre(Genre), Texte);
  if (Genre == tkClass) AjouterLigne(Traceur, "Classe", TemplateArray::NomDeClasse(Classe), Texte);
}

void TProprietePubliee::TracerElements(bool, TCustomTraceur*, std::string& Texte) { Texte.clear(); }

void TProprietePubliee::Tracer(bool Detail, TCustomTraceur* Traceur, std::string& Texte) {
  DelegueTracable::TracerBloc(*this, Detail, Traceur, Texte);
}

void TProprietePubliee::TexteTrace(std::string& Texte) {
  Texte.clear();
  if (TraceActive()) Tracer(false, nullptr, Texte);
}

void TProprietePubliee::TexteTrace(TProprietePubliee* Descripteur, std::string& Texte) {
  if (Descripteur == nullptr) Texte = "NULL";
  else Descripteur->TexteTrace(Texte);
}

void* TProprietePubliee::GetInterfaceEntry(const TGUID& iid) {
  if (iid == ITracable::IID) return delegue_.Tracable();
  return TCustomSerializable::GetInterfaceEntry(iid);
}

// ---------------------------------------------------------------------------------------------------
// TChampPublie

TChampPublie::TChampPublie(const TClass* ClasseProprietaire, const std::string& Libelle, const std::string& NomDuType,
                           uint8_t Genre, const TClass* Classe, bool Stockee)
    : TProprietePubliee(ClasseProprietaire, Libelle, NomDuType, Genre, Classe, Stockee) {}

TChampPublie::TChampPublie(const TClass* ClasseProprietaire, const TInfoPropriete& Info)
    : TProprietePubliee(ClasseProprietaire, Info),
      ReferenceIndexee(true),
      ReferenceNulle(true),
      RegleSuppressionReference(RSR_ValeurParDefaut) {}

TChampPublie::TChampPublie(const TClass* ClasseProprietaire, const std::string& Libelle, const std::string& NomDuType,
                           uint8_t Genre, const TClass* Classe, bool Stockee, bool ReferenceIndexee,
                           bool ReferenceNulle, TypeRegleSuppressionReference RegleSuppressionReference,
                           TInfosAcces* InfosAcces)
    : TProprietePubliee(ClasseProprietaire, Libelle, NomDuType, Genre, Classe, Stockee),
      ReferenceIndexee(ReferenceIndexee),
      ReferenceNulle(ReferenceNulle),
      RegleSuppressionReference(RegleSuppressionReference),
      infosAcces_(InfosAcces) {}

TChampPublie::~TChampPublie() { delete infosAcces_; }

void TChampPublie::SetInfosAcces(TInfosAcces* Infos) {
  if (Infos == infosAcces_) return;
  delete infosAcces_;
  infosAcces_ = Infos;
  Stockee = false;
}

void TChampPublie::TracerProprietes(TCustomTraceur* Traceur, std::string& Texte) {
  TProprietePubliee::TracerProprietes(Traceur, Texte);
  if (!TraceActive()) return;
  if (Traceur == nullptr) Traceur = Trace::TraceurParDefaut();
  AjouterLigne(Traceur, "ReferenceIndexee", ReferenceIndexee ? "-1" : "0", Texte);
  AjouterLigne(Traceur, "ReferenceNulle", ReferenceNulle ? "-1" : "0", Texte);
  std::string regle;
  TChaineType::TexteRegleSuppressionReference(RegleSuppressionReference, regle);
  AjouterLigne(Traceur, "RegleSuppressionReference", regle, Texte);
  if (infosAcces_ != nullptr) {
    std::string resume;
    infosAcces_->TracerResume(resume);
    AjouterLigne(Traceur, "InfosAcces", resume, Texte);
  }
}

// ---------------------------------------------------------------------------------------------------
// TListeProprietesPubliees

TListeProprietesPubliees::TListeProprietesPubliees(const TClass* ClasseDecrite, TClasseProprietePubliee ClasseElement)
    : TArrayOfTObject(32, true, false),
      classeDecrite_(ClasseDecrite),
      classeElement_(ClasseElement ? ClasseElement : TProprietePubliee::StaticClass()) {
  Construire();
}

TListeProprietesPubliees::TListeProprietesPubliees(int32_t ElementsParPage, bool Dynamique, bool LibererElements)
    : TArrayOfTObject(ElementsParPage, Dynamique, LibererElements), classeElement_(TProprietePubliee::StaticClass()) {}

// Position p receives the property whose index number is p; gaps get placeholders, and a property
// whose index number is below the next free position (none, repeated or decreasing) takes that
// position.
void TListeProprietesPubliees::Construire() {
  if (classeDecrite_ == nullptr) return;
  int64_t p = 0;
  for (const TInfoPropriete* info : ProprietePubliee::ProprietesDeClasse(classeDecrite_)) {
    for (; p < info->Index; ++p)
      if (GetNombreElements() <= p) AjouterVide();
    if (GetNombreElements() <= p) Ajouter(classeElement_->CreerDepuisInfo(classeDecrite_, *info));
    ++p;
  }
}

void TListeProprietesPubliees::AjouterVide() {
  Ajouter(classeElement_->Creer(classeDecrite_, "", "", tkUnknown, TObject::StaticClass(), false));
}

TProprietePubliee* TListeProprietesPubliees::Propriete(int32_t Indice) const {
  if (Indice < 0 || Indice >= GetNombreElements()) return nullptr;
  return ObjectAs<TProprietePubliee>(GetElement(Indice));
}

void TListeProprietesPubliees::Ecrire(IFormateur* Formateur, TClasseFormat Contexte) {
  TArrayOfTObject::Ecrire(Formateur, Contexte);
  Formateur->EcrireChaine(TemplateArray::NomDeClasse(classeDecrite_));
  Formateur->EcrireChaine(TemplateArray::NomDeClasse(classeElement_));
}

void TListeProprietesPubliees::Lire(IFormateur* Formateur, TClasseFormat Contexte) {
  TArrayOfTObject::Lire(Formateur, Contexte);
  try {
    for (int32_t i = 0; i < GetNombreElements(); ++i)
      if (ObjectAs<TProprietePubliee>(GetElement(i)) == nullptr) TemplateArray::ErreurLecture();
    const TClass* decrite = TGestionnaireNomsDeClasse::ChercherClasse(StrictReads::LireChaine(Formateur));
    auto* element = dynamic_cast<TClasseProprietePubliee>(
        TGestionnaireNomsDeClasse::ChercherClasse(StrictReads::LireChaine(Formateur)));
    if (element == nullptr) TemplateArray::ErreurLecture();
    classeDecrite_ = decrite;
    classeElement_ = element;
  } catch (...) {
    // What was just read has no other owner: it goes with the refusal.
    if (!GetLibererElements()) {
      for (int32_t i = 0; i < GetNombreElements(); ++i) delete GetElement(i);
    }
    Vider();
    throw;
  }
}

// ---------------------------------------------------------------------------------------------------
// TListeChampsPublies

TListeChampsPublies::TListeChampsPublies(const TClass* ClasseArticle, TClasseProprietePubliee ClasseElement)
    : TListeProprietesPubliees(32, true, false) {
  classeDecrite_ = ClasseArticle;
  classeElement_ = ClasseElement ? ClasseElement : TChampPublie::StaticClass();
  Construire();
}

// ---------------------------------------------------------------------------------------------------

namespace {
void AjouterProprietes(const TClass* Classe, std::vector<const TInfoPropriete*>& Liste) {
  if (Classe == nullptr) return;
  AjouterProprietes(Classe->ClassParent(), Liste);
  for (const TInfoPropriete& info : Classe->ProprietesPropres()) Liste.push_back(&info);
}
}  // namespace

std::vector<const TInfoPropriete*> ProprietePubliee::ProprietesDeClasse(const TClass* Classe) {
  std::vector<const TInfoPropriete*> liste;
  AjouterProprietes(Classe, liste);
  return liste;
}

void ProprietePubliee::Initialiser() {
  TGestionnaireNomsDeClasse::Enregistrer(TProprietePubliee::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TChampPublie::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TListeProprietesPubliees::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TListeChampsPublies::StaticClass());
}
