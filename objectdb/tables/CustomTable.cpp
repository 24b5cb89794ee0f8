#include "objectdb/tables/CustomTable.h"

#include "core/values/Ansi1252.h"
#include "core/values/Format.h"
#include "objectdb/articles/Article.h"
#include "objectdb/columns/ChampInterface.h"
#include "objectdb/columns/ChampObject.h"
#include "objectdb/columns/ChampReference.h"
#include "objectdb/schema/Referentiel.h"
#include "objectdb/tables/PlanSuppression.h"

NV_DEFINE_CLASS(TCustomTable, TObjetAbonnant)

namespace {

TypeEventId gEvents[4] = {0, 0, 0, 0};

// The row of an article number (the row + 1); kAucuneLigne for a number that designates no row.
int32_t LigneDeNumero(int32_t Numero) { return Numero > 0 ? Numero - 1 : static_cast<int32_t>(kAucuneLigne); }

// The column class that stores a field: the reference column for a field of an article class, the
// object or interface column by the field's kind, otherwise the class registered for its type name.
TClasseChamp ClasseDuChamp(const TChampPublie* Champ) {
  if (Champ->Genre == tkClass) {
    if (Champ->Classe != nullptr && Champ->Classe->InheritsFrom(TArticle::StaticClass()))
      return TChampReference::StaticClass();
    return TChampObject::StaticClass();
  }
  if (Champ->Genre == tkInterface) return TChampInterface::StaticClass();
  TClasseChamp classe = CustomChamp::ClasseChampDeNom(Champ->NomDuType);
  if (classe == nullptr)
    throw EStructureTable(Format("Table de '%s' : aucune classe de champ pour la propriété '%s' de type '%s'"_ansi,
                                 {TemplateArray::NomDeClasse(Champ->ClasseProprietaire), Champ->Libelle,
                                  Champ->NomDuType}));
  return classe;
}

}  // namespace

TypeEventId CustomTable::EventTableAvantEcriture() { return gEvents[0]; }
TypeEventId CustomTable::EventTableApresEcriture() { return gEvents[1]; }
TypeEventId CustomTable::EventTableAvantSuppression() { return gEvents[2]; }
TypeEventId CustomTable::EventTableApresSuppression() { return gEvents[3]; }

void CustomTable::Initialiser() {
  for (TypeEventId& e : gEvents) e = TObjetAbonnant::NouvelEventId();
}

// ---------------------------------------------------------------------------------------------------
// Life

TCustomTable::TCustomTable(const TClass* ClasseArticle, TBase* Base, int32_t ElementsParPage, bool Transitoire)
    : ClasseArticle(ClasseArticle),
      Base(Base),
      Champs(new TArrayOfChamp(32, true, false)),
      LignesLibres(new TArrayOfCardinal(32, true, false)),
      transitoire_(Transitoire) {
  try {
    TReferentiel::EnregistrerClasse(ClasseArticle);
    TListeChampsPublies* champs = TReferentiel::ChampsPublies(ClasseArticle);
    try {
      for (int32_t i = 0; i < champs->GetNombreElements(); ++i) {
        const TChampPublie* champ = champs->Champ(i);
        TClasseChamp classe = ClasseDuChamp(champ);
        // A reference column takes the field's rules.
        TCustomChamp* colonne =
            classe == TChampReference::StaticClass()
                ? new TChampReference(champ->Libelle, this, champ->Classe, ElementsParPage, champ->ReferenceNulle,
                                      champ->RegleSuppressionReference, champ->ReferenceIndexee)
                : classe->Creer(champ->Libelle, this, {ElementsParPage}, false);
        Champs->Ajouter(colonne);
        if (i == 0) PremierChamp = colonne;
      }
    } catch (...) {
      delete champs;
      throw;
    }
    delete champs;
  } catch (...) {
    LibererChamps();
    throw;
  }
  TReferentiel::AjouterTable(this);
}

TCustomTable::~TCustomTable() {
  if (TReferentielManager::Existe() && ClasseArticle != nullptr) TReferentiel::RetirerTable(this);
  Verifiable.reset();
  LibererChamps();
}

void TCustomTable::LibererChamps() {
  if (Champs != nullptr)
    for (int32_t i = 0; i < Champs->GetNombreElements(); ++i) delete Champs->GetElement(i);
  delete Champs;
  Champs = nullptr;
  PremierChamp = nullptr;
  delete LignesLibres;
  LignesLibres = nullptr;
}

void TDelegueVerifiableTable::Verifier(TypeOptionsVerification Options, TErreur*& Erreur) {
  Table->Verifier(Options, Erreur);
}

TDelegueVerifiableTable* TCustomTable::GetVerifiable() {
  if (!Verifiable) Verifiable = std::make_unique<TDelegueVerifiableTable>(this);
  return Verifiable.get();
}

void* TCustomTable::GetInterfaceEntry(const TGUID& iid) {
  if (iid == ITracable::IID) return delegue_.Tracable();
  if (iid == IVerifiable::IID) return static_cast<IVerifiable*>(GetVerifiable());
  if (iid == ISaveToXMLNode::IID) return static_cast<ISaveToXMLNode*>(this);
  return TObjetAbonnant::GetInterfaceEntry(iid);
}

TCustomChamp* TCustomTable::GetChamp(int32_t NumeroChamp) const {
  if (Champs == nullptr || NumeroChamp < 0 || NumeroChamp >= Champs->GetNombreElements()) return nullptr;
  return Champs->GetElement(NumeroChamp);
}

// ---------------------------------------------------------------------------------------------------
// Rows

bool TCustomTable::AllouerLigne(int32_t& Ligne) {
  const int32_t libres = LignesLibres->GetNombreElements();
  Ligne = libres > 0 ? static_cast<int32_t>(LignesLibres->GetElement(libres - 1)) : NombreArticles;
  if (static_cast<uint32_t>(Ligne) == kAucuneLigne) {
    DerniereErreur = kTablePleine;
    return false;
  }
  if (libres > 0) LignesLibres->Retirer(libres - 1, false);
  for (int32_t i = 0; i < NombreChamps(); ++i) Champs->GetElement(i)->InitialiserLigne(Ligne);
  ++NombreArticles;
  return true;
}

bool TCustomTable::LibererLigne(int32_t Numero) {
  const int32_t ligne = LigneDeNumero(Numero);
  if (!LigneExiste(ligne)) {
    DerniereErreur = kArticleInexistant;
    return false;
  }
  for (int32_t i = 0; i < NombreChamps(); ++i) (void)Champs->GetElement(i)->LibererLigne(ligne);
  LignesLibres->Ajouter(static_cast<uint32_t>(ligne));
  --NombreArticles;
  return true;
}

void TCustomTable::RendreLigne(int32_t Ligne, bool DepuisLibres) {
  for (int32_t i = 0; i < NombreChamps(); ++i) (void)Champs->GetElement(i)->LibererLigne(Ligne);
  --NombreArticles;
  if (DepuisLibres) LignesLibres->Ajouter(static_cast<uint32_t>(Ligne));
}

bool TCustomTable::CopierArticle(TCustomTable* TableSource, int32_t LigneSource, int32_t Ligne) {
  for (int32_t i = 0; i < NombreChamps(); ++i) {
    TCustomChamp* champ = Champs->GetElement(i);
    if (!champ->EstCalcule()) champ->CopierValeur(TableSource->GetChamp(i), LigneSource, Ligne);
  }
  return true;
}

bool TCustomTable::EcrireArticle(TArticle* Article, int32_t& Ligne) {
  // An article object that designates no row of a table has nothing to write.
  if (Article == nullptr || Article->Table == nullptr || Article->IndiceArticle >= kAucuneLigne) return false;
  // Only a row in use is written here: a new row (0x7FFFFFFF) is the indexed table's, and writing
  // at a row number past the end would grow every column to it.
  if (!LigneExiste(Ligne)) {
    DerniereErreur = kArticleInexistant;
    return false;
  }
  return CopierArticle(Article->Table, static_cast<int32_t>(Article->IndiceArticle), Ligne);
}

void TCustomTable::ReferenceLigne(int32_t Ligne, TypeReferenceArticle& Reference) {
  Reference.IndiceArticle = static_cast<uint32_t>(Ligne);
  Reference.Table = this;
}

bool TCustomTable::AssignerLigne(TArticle* Article, int32_t Ligne) {
  if (!LigneExiste(Ligne)) {
    DerniereErreur = kArticleInexistant;
    return false;
  }
  const bool ecrit = EcrireArticle(Article, Ligne);
  if (!ecrit) DerniereErreur = kAssignationImpossible;
  return ecrit;
}

bool TCustomTable::AssignerLigneTransitoire(TArticle* Article, int32_t Ligne) { return AssignerLigne(Article, Ligne); }

bool TCustomTable::ModifierLigne(int32_t Numero, TArticle* Article) {
  int32_t ligne = LigneDeNumero(Numero);
  return EcrireArticle(Article, ligne);
}

bool TCustomTable::SupprimerArticle(TArticle* Article) {
  if (Article == nullptr || Article->IndiceArticle >= kAucuneLigne) {
    DerniereErreur = kArticleInexistant;
    return false;
  }
  return LibererLigne(static_cast<int32_t>(Article->IndiceArticle) + 1);
}

bool TCustomTable::SupprimerLigne(int32_t Numero) { return LibererLigne(Numero); }

void TCustomTable::AssignerStructure(TCustomTable* Source, TBase* BaseSource, TBase* BaseDestination) {
  if (Champs == nullptr) Champs = new TArrayOfChamp(32, true, false);
  if (LignesLibres == nullptr) LignesLibres = new TArrayOfCardinal(32, true, false);
  ClasseArticle = Source->ClasseArticle;
  for (int32_t i = 0; i < Champs->GetNombreElements(); ++i) delete Champs->GetElement(i);
  Champs->Assigner(Source->Champs, new TParametreAssignationChamp(BaseSource, BaseDestination, Source, this));
  LignesLibres->Assigner(Source->LignesLibres, nullptr);
  NombreArticles = Source->NombreArticles;
  PremierChamp = NombreChamps() > 0 ? Champs->GetElement(0) : nullptr;
}

// ---------------------------------------------------------------------------------------------------
// References

TErreur* TCustomTable::VerifierReferences(int32_t Ligne) {
  TErreur* erreur = nullptr;
  for (int32_t i = 0; i < NombreChamps(); ++i) {
    auto* champ = dynamic_cast<TChampReference*>(Champs->GetElement(i));
    if (champ == nullptr) continue;
    TypeReferenceArticle reference;
    champ->Reference(Ligne, reference);
    if (champ->ReferenceAutorisee(reference)) continue;
    if (erreur == nullptr) erreur = new TErreur(std::string("Erreur de règle d'intégrité du champ référence"_ansi));
    erreur->AjouterFils(new TErreur(Format("Référence nulle non autorisée pour le champ %s.%s"_ansi,
                                           {TemplateArray::NomDeClasse(ClasseArticle), champ->Nom})));
  }
  return erreur;
}

bool TCustomTable::DetruireReferencants(int32_t Ligne) {
  if (!LigneExiste(Ligne)) {
    DerniereErreur = kArticleInexistant;
    return false;
  }
  TPlanSuppression plan;
  if (plan.Preparer(this, Ligne) != nullptr) {
    DerniereErreur = kSuppressionImpossible;
    return false;
  }
  plan.Executer(false, nullptr);
  return true;
}

void TCustomTable::DebuterSuppression(int32_t, TArticle*) {}

void TCustomTable::TerminerSuppression(int32_t Ligne) { (void)LibererLigne(Ligne + 1); }

int8_t TCustomTable::ComparerArticle(int32_t Ligne, TArticle* Article) {
  for (int32_t i = 0; i < NombreChamps(); ++i) {
    const int8_t r = Champs->GetElement(i)->ComparerLignes(Article->Table->GetChamp(i),
                                                           static_cast<int32_t>(Article->IndiceArticle), Ligne, 0,
                                                           nullptr);
    if (r != 0) return r;
  }
  return 0;
}

// ---------------------------------------------------------------------------------------------------
// Texts

void TCustomTable::SaveToXMLNode(TNoeudXML Parent, TypePartieXML /*Partie*/, TNoeudXML& Noeud) {
  Noeud = Parent.AjouterFils("table");
  Noeud.DefinirAttribut("classe", TemplateArray::NomDeClasse(ClasseArticle));
}

void TCustomTable::TexteErreur(std::string& Texte) {
  switch (DerniereErreur) {
    case kArticleInexistant: Texte = "CustomTable : Article inexistant"; break;
    case kDoublon: Texte = "Table : Création d'un doublon"_ansi; break;
    case kErreurIndexation: Texte = "Table : Erreur sur indexation"; break;
    case kIndexNonExistant: Texte = "Table : Index non existant"; break;
    case kSuppressionImpossible: Texte = "CustomTable : Suppression article impossible"; break;
    case kAssignationImpossible: Texte = "CustomTable : Assignation impossible"; break;
    case kTablePleine: Texte = "CustomTable : Table pleine"; break;
    case kPasDeChampOriginal: Texte = "TableDeTransitoires : Pas de champ original"; break;
    case kPasDArticleOriginal: Texte = "TableDeTransitoires : Pas d'article original"; break;
    default: Texte.clear();
  }
}

void TCustomTable::Verifier(TypeOptionsVerification, TErreur*&) {}
void TCustomTable::TracerEntete(TCustomTraceur*, std::string& Texte) { Texte.clear(); }
void TCustomTable::TracerContenu(bool, TCustomTraceur*, std::string& Texte) { Texte.clear(); }

void TCustomTable::TracerComplet(bool Detail, TCustomTraceur* Traceur, std::string& Texte) {
  DelegueTracable::TracerBloc(*this, Detail, Traceur, Texte);
}

void TCustomTable::TexteResume(std::string& Texte) {
  Texte.clear();
  if (TraceActive())
    Texte = Format("Table de '%s' (%d élément(s))"_ansi, {TemplateArray::NomDeClasse(ClasseArticle), NombreArticles});
}

void TCustomTable::TracerArticle(int32_t Ligne, std::string& Texte, TCustomTraceur* Traceur) {
  Texte.clear();
  if (!TraceActive() || !LigneExiste(Ligne)) return;
  if (Traceur == nullptr) Traceur = Trace::TraceurParDefaut();
  std::string part, valeur;
  Traceur->TracerValeur("classe", TemplateArray::NomDeClasse(ClasseArticle), part);
  Texte += part;
  Traceur->SetNiveau(Traceur->Niveau() + 1);
  for (int32_t i = 0; i < NombreChamps(); ++i) {
    TCustomChamp* champ = Champs->GetElement(i);
    champ->TexteValeur(Ligne, valeur);
    Traceur->TracerPropriete(champ->Nom, valeur, part);
    Texte += part;
  }
  Traceur->SetNiveau(Traceur->Niveau() - 1);
  Traceur->FermerBloc("classe", part);
  Texte += part;
}

void TCustomTable::TexteArticle(int32_t Ligne, std::string& Texte) {
  Texte.clear();
  if (!TraceActive() || !LigneExiste(Ligne)) return;
  std::string valeur;
  for (int32_t i = 0; i < NombreChamps(); ++i) {
    Champs->GetElement(i)->TexteValeur(Ligne, valeur);
    if (i > 0) Texte += " | ";
    Texte += valeur;
  }
}
