#include "objectdb/columns/ChampReference.h"

#include "core/objects/Exceptions.h"
#include "objectdb/articles/Article.h"
#include "objectdb/articles/ListeArticles.h"
#include "objectdb/indexes/Index.h"
#include "objectdb/schema/Referentiel.h"
#include "objectdb/tables/CustomTable.h"

template class TChampTemplate<TChampReferenceArticleTraits>;

const TCustomChamp::Class* TChampReference::StaticClass() {
  static const TChampClassOf<TChampReference, TChampReferenceArticleTraits> descriptor("TChampReference",
                                                                                      TCustomChamp::StaticClass());
  return &descriptor;
}

TChampReference::TChampReference(const std::string& Nom, TCustomTable* Table, const TClass* ClasseReferencee,
                                 int32_t ElementsParPage, bool ReferenceNulle, TypeRegleSuppressionReference Regle,
                                 bool ReferenceIndexee)
    : Base(Nom, Table, {ElementsParPage}, false) {
  Initialiser(ClasseReferencee, ReferenceNulle, Regle, ReferenceIndexee);
}

TChampReference::TChampReference(const std::string& Nom, TCustomTable* Table, const std::vector<int32_t>& Parametres,
                                 bool LibererElements)
    : Base(Nom, Table, Parametres, LibererElements) {
  Initialiser(TArticle::StaticClass(), true, RSR_ValeurParDefaut, true);
}

void TChampReference::Initialiser(const TClass* ClasseReferencee_, bool ReferenceNulle_,
                                  TypeRegleSuppressionReference Regle, bool ReferenceIndexee) {
  ClasseReferencee = ClasseReferencee_;
  ReferenceNulle = ReferenceNulle_;
  RegleSuppressionReference = Regle;
  TReferentiel::AjouterChampReference(this, ClasseReferencee);
  if (ReferenceIndexee) Index = new TIndexReferences(this);
}

TChampReference::~TChampReference() {
  if (ClasseReferencee != nullptr && TReferentielManager::Existe())
    TReferentiel::RetirerChampReference(this, ClasseReferencee);
  delete Index;
  Index = nullptr;
}

void TChampReference::NomDuType(std::string& Texte) const { Texte = TemplateArray::NomDeClasse(ClasseReferencee); }

void TChampReference::Reference(int32_t Ligne, TypeReferenceArticle& Reference) {
  Reference = Valeurs->PositionVide(Ligne) ? ReferenceArticle::ReferenceArticleNulle : GetValeur(Ligne);
}

void TChampReference::AssignerStructure(TCustomChamp* Source, TBase* BaseSource, TBase* BaseDestination,
                                        TCustomTable* TableSource, TCustomTable* TableDestination) {
  auto* source = dynamic_cast<TChampReference*>(Source);
  if (source == nullptr) throw EInvalidCast();
  Base::AssignerStructure(Source, BaseSource, BaseDestination, TableSource, TableDestination);
  delete Index;
  Index = nullptr;
  if (source->Index != nullptr) {
    Index = new TIndexReferences(this);
    Index->Assigner(source->Index, BaseSource, BaseDestination, TableSource, TableDestination);
    // The copied key part designates the destination's column of that number: this one.
    Index->Cles.front().Champ = this;
  }
  ClasseReferencee = source->ClasseReferencee;
  ReferenceNulle = source->ReferenceNulle;
  RegleSuppressionReference = source->RegleSuppressionReference;
  TReferentiel::AjouterChampReference(this, ClasseReferencee);
}

// ---------------------------------------------------------------------------------------------------
// Index upkeep

bool TChampReference::IndexerLigne(int32_t Ligne) {
  if (Index == nullptr || Table == nullptr) return true;
  TypeReferenceArticle valeur;
  Reference(Ligne, valeur);
  if (!ReferenceNulle && valeur.Table == nullptr) return false;
  return Index->InsererLigne(static_cast<uint32_t>(Ligne), TypeEnsembleOctets{}, false, true);
}

void TChampReference::DesindexerLigne(int32_t Ligne, bool Forcer) {
  if (Index == nullptr || Table == nullptr) return;
  Index->RetirerLigne(static_cast<uint32_t>(Ligne), TypeEnsembleOctets{}, Forcer);
}

void TChampReference::SetReference(uint32_t LigneReferencee, TCustomTable* TableReferencee, int32_t Ligne) {
  TypeReferenceArticle valeur = ReferenceArticle::ReferenceArticleNulle;
  if (TableReferencee != nullptr && LigneReferencee != kAucuneLigne) {
    valeur.IndiceArticle = LigneReferencee;
    valeur.Table = TableReferencee;
  }
  DesindexerLigne(Ligne, true);
  SetValeur(Ligne, valeur);
  (void)IndexerLigne(Ligne);
}

void TChampReference::SetArticle(TArticle* Article, int32_t Ligne) {
  if (Article == nullptr) SetReference(kAucuneLigne, nullptr, Ligne);
  else SetReference(Article->IndiceArticle, Article->Table, Ligne);
}

// ---------------------------------------------------------------------------------------------------
// Rules and searches

bool TChampReference::ReferenceAutorisee(const TypeReferenceArticle& Reference) {
  if (ReferenceNulle) return true;
  if (RegleSuppressionReference == RSR_ValeurParDefaut)
    return Reference.Table != nullptr && TArticle::ArticleParDefaut(ClasseReferencee, Reference.Table) != nullptr;
  return Reference.Table != nullptr;
}

TListeArticles* TChampReference::ArticlesReferencant(const TypeReferenceArticle& Reference, TCustomFiltreArticle* Filtre) {
  if (Index != nullptr) return Index->ListeReferencants(Reference, Filtre);
  auto* liste = new TListeArticles(true, 32, true);
  std::vector<int32_t> lignes;
  LignesReferencant(Reference, lignes);
  liste->AjouterReferencants(lignes, this, Filtre);
  return liste;
}

bool TChampReference::ChercherLigne(const TypeReferenceArticle& Reference, int32_t& Ligne, int32_t Depuis) {
  if (Index != nullptr) {
    int32_t position;
    bool trouve;
    if (Index->ChercherReference(Reference, position, trouve) != kIndexTrouve) return false;
    Ligne = static_cast<int32_t>(Index->LigneDePosition(position));
    return static_cast<uint32_t>(Ligne) != kAucuneLigne;
  }
  Valeurs->SetModeComparaison(0);
  Valeurs->SetParametreComparaison(nullptr);
  return Chercher(Reference, Ligne, Depuis);
}

bool TChampReference::AnnulerReferences(const TypeReferenceArticle& Reference) {
  bool change = false;
  int32_t ligne = kSansLigne;
  // A null reference designates nothing: the rows holding it are not references to reset.
  if (ReferenceArticle::EstReferenceNulle(Reference)) return false;
  while (ChercherLigne(Reference, ligne, ligne)) {
    change = true;
    DesindexerLigne(ligne, true);
    SetValeur(ligne, ReferenceArticle::ReferenceArticleNulle);
    (void)IndexerLigne(ligne);
  }
  return change;
}

void TChampReference::LignesReferencant(const TypeReferenceArticle& Reference, std::vector<int32_t>& Lignes) {
  Lignes.clear();
  if (ReferenceArticle::EstReferenceNulle(Reference)) return;
  if (Index != nullptr) {
    Index->LignesDe(Reference, Lignes);
    return;
  }
  Valeurs->SetModeComparaison(0);
  Valeurs->SetParametreComparaison(nullptr);
  for (int32_t ligne = kSansLigne; Chercher(Reference, ligne, ligne);) Lignes.push_back(ligne);
}
