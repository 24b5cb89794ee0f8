#include "objectdb/articles/TableDeTransitoires.h"

#include "core/objects/RamasseMiettes.h"
#include "objectdb/arrays/ArrayOfTableDeTransitoires.h"
#include "objectdb/articles/Article.h"
#include "objectdb/articles/FabriqueArticles.h"
#include "objectdb/articles/ServiceCollectables.h"
#include "objectdb/columns/ChampReference.h"

NV_DEFINE_CLASS(TTableDeTransitoires, TCustomTable)
NV_DEFINE_FINALISABLE_CLASS(TGestionnaireTablesTransitoires)

namespace {
// The manager's registry, made on first use.
TArrayOfTableDeTransitoires* gRegistre = nullptr;
}  // namespace

// ---------------------------------------------------------------------------------------------------
// Life

TTableDeTransitoires::TTableDeTransitoires(const TClass* Classe, int32_t ElementsParPage)
    : TCustomTable(Classe, nullptr, ElementsParPage, true) {
  Fabrique = new TFabriqueTransitoires(this);
  ChampOrigine = new TChampReference("ArticleOrigine", this, Classe, ElementsParPage, true, RSR_ValeurParDefaut, true);
  if (PremierChamp == nullptr) PremierChamp = ChampOrigine;
  TServiceCollectablesApplication::Ajouter(static_cast<ICollectable*>(this));
}

TTableDeTransitoires::~TTableDeTransitoires() {
  if (ClasseArticle != nullptr && TGestionnaireTablesTransitoires::TableEnregistree(ClasseArticle) == this)
    TGestionnaireTablesTransitoires::SupprimerTable(ClasseArticle);
  if (remise_) TRamasseMiettes::Retirer(this);
  delete Fabrique;
  Fabrique = nullptr;
  TServiceCollectablesApplication::Retirer(static_cast<ICollectable*>(this));
  Collectable.reset();
  if (PremierChamp == ChampOrigine) PremierChamp = nullptr;
  delete ChampOrigine;
  ChampOrigine = nullptr;
}

void* TTableDeTransitoires::GetInterfaceEntry(const TGUID& iid) {
  if (iid == ICollectable::IID) return static_cast<ICollectable*>(this);
  return TCustomTable::GetInterfaceEntry(iid);
}

TTableDeTransitoires* TTableDeTransitoires::TableDeClasse(const TClass* Classe) {
  return TGestionnaireTablesTransitoires::TableDeClasse(Classe);
}

TFabriqueTransitoires* TTableDeTransitoires::FabriqueTransitoires() const {
  return static_cast<TFabriqueTransitoires*>(Fabrique);
}

// ---------------------------------------------------------------------------------------------------
// Transients and their origins

TArticle* TTableDeTransitoires::CreerTransitoire(TCustomTable* Table, int32_t Numero) {
  return Fabrique != nullptr ? FabriqueTransitoires()->CreerTransitoire(Table, Numero) : nullptr;
}

void TTableDeTransitoires::RestituerTransitoire(TArticle* Article) {
  if (Article == nullptr || Article->Table != this || Fabrique == nullptr) return;
  if (ChampOrigine != nullptr && Article->IndiceArticle < kAucuneLigne)
    ChampOrigine->SetArticle(nullptr, static_cast<int32_t>(Article->IndiceArticle));
  FabriqueTransitoires()->Restituer(Article);
}

bool TTableDeTransitoires::LigneAvecOrigine(int32_t Ligne) {
  if (ChampOrigine == nullptr) {
    DerniereErreur = kPasDeChampOriginal;
    return false;
  }
  if (!LigneExiste(Ligne)) {
    DerniereErreur = kArticleInexistant;
    return false;
  }
  return true;
}

bool TTableDeTransitoires::Origine(int32_t Ligne, TypeReferenceArticle& Reference) {
  Reference = ReferenceArticle::ReferenceArticleNulle;
  if (!LigneAvecOrigine(Ligne)) return false;
  ChampOrigine->Reference(Ligne, Reference);
  return true;
}

bool TTableDeTransitoires::Designer(uint32_t LigneOrigine, TCustomTable* TableOrigine, bool Copier, int32_t Ligne) {
  if (!LigneAvecOrigine(Ligne)) return false;
  const bool avecOrigine = TableOrigine != nullptr && LigneOrigine < kAucuneLigne;
  if (avecOrigine) {
    // The values are copied column by column: the origin's class must have this class's columns first.
    if (TableOrigine->ClasseArticle == nullptr || !TableOrigine->ClasseArticle->InheritsFrom(ClasseArticle)) {
      DerniereErreur = kAssignationImpossible;
      return false;
    }
    if (!TableOrigine->LigneExiste(static_cast<int32_t>(LigneOrigine))) {
      DerniereErreur = kArticleInexistant;
      return false;
    }
  }
  ChampOrigine->SetReference(avecOrigine ? LigneOrigine : kAucuneLigne, avecOrigine ? TableOrigine : nullptr, Ligne);
  if (Copier && avecOrigine) (void)CopierArticle(TableOrigine, static_cast<int32_t>(LigneOrigine), Ligne);
  return true;
}

TCustomTable* TTableDeTransitoires::TableOrigine(int32_t Ligne) {
  TypeReferenceArticle origine;
  (void)Origine(Ligne, origine);
  return origine.Table;
}

int32_t TTableDeTransitoires::NumeroOrigine(int32_t Ligne) {
  TypeReferenceArticle origine;
  if (!Origine(Ligne, origine) || origine.IndiceArticle >= kAucuneLigne) return static_cast<int32_t>(kAucuneLigne);
  return static_cast<int32_t>(origine.IndiceArticle) + 1;
}

void TTableDeTransitoires::ViderLigne(int32_t Ligne) {
  if (!LigneExiste(Ligne)) return;
  for (int32_t i = 0; i < NombreChamps(); ++i) Champs->GetElement(i)->ViderLigne(Ligne);
}

void TTableDeTransitoires::OublierOrigine(uint32_t Ligne, TCustomTable* Table) {
  if (ChampOrigine == nullptr) return;
  TypeReferenceArticle reference;
  reference.IndiceArticle = Ligne;
  reference.Table = Table;
  if (!ReferenceArticle::EstReferenceNulle(reference)) (void)ChampOrigine->AnnulerReferences(reference);
}

// ---------------------------------------------------------------------------------------------------
// Rows

void TTableDeTransitoires::AssignerStructure(TCustomTable*, TBase*, TBase*) {}

void TTableDeTransitoires::ReferenceLigne(int32_t Ligne, TypeReferenceArticle& Reference) {
  if (ChampOrigine == nullptr) {
    Reference = ReferenceArticle::ReferenceArticleNulle;
    DerniereErreur = kPasDeChampOriginal;
    return;
  }
  ChampOrigine->Reference(Ligne, Reference);
}

bool TTableDeTransitoires::AllouerLigne(int32_t& Ligne) {
  if (!TCustomTable::AllouerLigne(Ligne)) return false;
  if (ChampOrigine != nullptr) ChampOrigine->SetReference(kAucuneLigne, nullptr, Ligne);
  return true;
}

bool TTableDeTransitoires::LibererLigne(int32_t Numero) {
  if (!TCustomTable::LibererLigne(Numero)) return false;
  // The origin column is not among the columns: its row goes too, so that a class without columns
  // sees the row free and no origin keeps pointing from a freed row.
  if (ChampOrigine != nullptr) {
    ChampOrigine->DesindexerLigne(Numero - 1, true);
    (void)ChampOrigine->LibererLigne(Numero - 1);
  }
  return true;
}

bool TTableDeTransitoires::AssignerLigneTransitoire(TArticle* Article, int32_t Ligne) {
  if (!TCustomTable::AssignerLigneTransitoire(Article, Ligne)) return false;
  if (ChampOrigine == nullptr) return true;
  if (Article->Mode == MA_Transitoire) {
    TypeReferenceArticle origine;
    Article->Table->ReferenceLigne(static_cast<int32_t>(Article->IndiceArticle), origine);
    ChampOrigine->SetReference(origine.IndiceArticle, origine.Table, Ligne);
  } else {
    ChampOrigine->SetArticle(Article, Ligne);
  }
  return true;
}

bool TTableDeTransitoires::ModifierLigne(int32_t Numero, TArticle* Article) {
  if (ChampOrigine == nullptr) {
    DerniereErreur = kPasDeChampOriginal;
    return false;
  }
  TypeReferenceArticle origine;
  if (Numero > 0) ChampOrigine->Reference(Numero - 1, origine);
  if (ReferenceArticle::EstReferenceNulle(origine)) {
    DerniereErreur = kPasDArticleOriginal;
    return false;
  }
  return origine.Table->ModifierLigne(static_cast<int32_t>(origine.IndiceArticle) + 1, Article);
}

bool TTableDeTransitoires::SupprimerArticle(TArticle* Article) {
  if (Article == nullptr || Article->Table != this) {
    DerniereErreur = kArticleInexistant;
    return false;
  }
  const auto ligne = static_cast<int32_t>(Article->IndiceArticle);
  TypeReferenceArticle origine;
  if (!Origine(ligne, origine)) return false;
  if (ReferenceArticle::EstReferenceNulle(origine)) return true;
  if (!origine.Table->SupprimerLigne(static_cast<int32_t>(origine.IndiceArticle) + 1)) {
    DerniereErreur = kSuppressionImpossible;
    return false;
  }
  ChampOrigine->SetReference(kAucuneLigne, nullptr, ligne);
  return true;
}

// ---------------------------------------------------------------------------------------------------
// Collection

TCustomCollectable* TTableDeTransitoires::Collecte() {
  if (!Collectable) Collectable = std::make_unique<TCustomCollectable>(false);
  return Collectable.get();
}

ICollectable* TTableDeTransitoires::SetOptions(TypeOptionsCollecte Options) {
  Collecte()->SetOptions(Options);
  return this;
}

void TTableDeTransitoires::Collecter(TypeOptionsCollecte, TErreur*&) {
  if (NombreArticles != 0) return;
  remise_ = true;
  TRamasseMiettes::Ajouter(this);
}

// ---------------------------------------------------------------------------------------------------
// Manager

TTableDeTransitoires* TGestionnaireTablesTransitoires::TableDeClasse(const TClass* Classe) {
  if (gRegistre == nullptr) {
    gRegistre = new TArrayOfTableDeTransitoires();
    TClasseFinalisable::Enregistrer(StaticClass());
  }
  TTableDeTransitoires* table = gRegistre->TableDeClasse(Classe);
  if (table == nullptr) {
    table = new TTableDeTransitoires(Classe, 1024);
    gRegistre->AjouterTable(Classe, table);
  } else if (table->remise_) {
    TRamasseMiettes::Retirer(table);
    table->remise_ = false;
  }
  return table;
}

TTableDeTransitoires* TGestionnaireTablesTransitoires::TableEnregistree(const TClass* Classe) {
  return gRegistre != nullptr ? gRegistre->TableDeClasse(Classe) : nullptr;
}

void TGestionnaireTablesTransitoires::SupprimerTable(const TClass* Classe) {
  if (gRegistre != nullptr) (void)gRegistre->SupprimerTable(Classe);
}

void TGestionnaireTablesTransitoires::Finaliser() {
  // The registry goes first: a table that is freed finds no entry to remove.
  TArrayOfTableDeTransitoires* registre = gRegistre;
  gRegistre = nullptr;
  delete registre;
}
