#include "objectdb/schema/Referentiel.h"

#include "core/objects/CustomTraiterInstance.h"
#include "core/values/Format.h"
#include "objectdb/articles/Article.h"
#include "objectdb/articles/ListeArticles.h"
#include "objectdb/articles/TraiterArticle.h"
#include "objectdb/columns/ChampReference.h"
#include "objectdb/bases/Base.h"
#include "objectdb/properties/InfosAcces.h"
#include "objectdb/tables/CustomTable.h"

NV_DEFINE_CLASS(TNoeudReferentiel, TArbre)

namespace {
TNoeudReferentiel*& RacineGlobale() {
  static TNoeudReferentiel* racine = nullptr;
  return racine;
}
TArrayOfClasses*& ClassesEnCours() {
  static TArrayOfClasses* classes = nullptr;
  return classes;
}
}  // namespace

// ---------------------------------------------------------------------------------------------------
// TNoeudReferentiel

TNoeudReferentiel::TNoeudReferentiel(const TClass* Classe)
    : Classe(Classe),
      ChampsPropres(new TListeChampsPublies(32, true, true)),
      ClassesDeBases(new TArrayOfClasses(32, true, false)),
      BasesEtTables(new TArrayOfBaseEtTable(32, true, false)) {
  ClassesDeBases->SetAvecDoublons(false);
  ClassesDeBases->SetToujoursTrie(true);
  BasesEtTables->SetAvecDoublons(false);
  BasesEtTables->SetToujoursTrie(true);
}

TNoeudReferentiel::~TNoeudReferentiel() {
  EnDestruction = true;
  delete ChampsReferencants;
  delete ClassesDeBases;
  delete BasesEtTables;
  delete ChampsPropres;
}

TNoeudReferentiel* TNoeudReferentiel::FilsDeClasse(const TClass* ClasseFils) const {
  for (int i = 0; i < NombreFils(); ++i)
    if (NoeudFils(i)->Classe == ClasseFils) return NoeudFils(i);
  return nullptr;
}

TNoeudReferentiel* TNoeudReferentiel::Chercher(const TClass* ClasseCherchee) {
  if (ClasseCherchee == nullptr) return nullptr;
  if (ClasseCherchee == Classe) return this;
  if (ClasseCherchee == TArticle::StaticClass()) return TReferentielManager::Racine();
  TNoeudReferentiel* parent = Chercher(ClasseCherchee->ClassParent());
  return parent ? parent->FilsDeClasse(ClasseCherchee) : nullptr;
}

TListeChampsPublies* TNoeudReferentiel::ChampsPublies() const {
  TListeChampsPublies* liste = Parent() ? Parent()->ChampsPublies() : new TListeChampsPublies(32, true, false);
  for (int32_t i = 0; i < ChampsPropres->GetNombreElements(); ++i) liste->Ajouter(ChampsPropres->GetElement(i));
  return liste;
}

std::string TNoeudReferentiel::Adresse() const {
  return Parent() ? Parent()->Adresse() + "." + std::to_string(Id) : std::to_string(Id);
}

int8_t TNoeudReferentiel::Comparer(TNoeudReferentiel* Autre) {
  TNoeudReferentiel* a = this;
  TNoeudReferentiel* b = Autre;
  if (a == b) return 0;
  while (a->Niveau > b->Niveau) a = a->Parent();
  while (b->Niveau > a->Niveau) b = b->Parent();
  if (a == b) return 0;
  while (a->Parent() != b->Parent()) {
    a = a->Parent();
    b = b->Parent();
  }
  return a->Id < b->Id ? 1 : -1;
}

void TNoeudReferentiel::Renumeroter() {
  for (int i = 0; i < NombreFils(); ++i) {
    TNoeudReferentiel* fils = NoeudFils(i);
    fils->Niveau = Niveau + 1;
    fils->Id = i;
    fils->Renumeroter();
  }
}

int TNoeudReferentiel::AjouterFils(TArbre* Noeud) {
  const int r = TArbre::AjouterFils(Noeud);
  Renumeroter();
  return r;
}

bool TNoeudReferentiel::SupprimerFils(TArbre* Noeud) {
  auto* ancienParent = static_cast<TNoeudReferentiel*>(Noeud ? Noeud->GetParent() : nullptr);
  const bool retire = TArbre::SupprimerFils(Noeud);
  if (retire && ancienParent != nullptr) ancienParent->Renumeroter();
  return retire;
}

const TypeBaseEtTable* TNoeudReferentiel::Entree(TBase* Base) const {
  int32_t i;
  if (!BasesEtTables->Chercher({Base, nullptr}, i, -1)) return nullptr;
  return &BasesEtTables->ElementPosition(BasesEtTables->PositionDeIndice(i));
}

bool TNoeudReferentiel::AjouterTable(TCustomTable* Table) {
  if (BasesEtTables->Ajouter({Table->Base, Table}) < 0) return false;
  if (Table->Base == nullptr) return true;
  if (Table->Base->ClassType() != TBase::StaticClass()) ClassesDeBases->Ajouter(Table->Base->ClassType());
  if (Parent()) Parent()->AjouterBase(Table->Base);
  return true;
}

void TNoeudReferentiel::AjouterBase(TBase* Base) {
  if (Base == nullptr || Entree(Base) != nullptr) return;
  BasesEtTables->Ajouter({Base, nullptr});
  if (Parent()) Parent()->AjouterBase(Base);
}

bool TNoeudReferentiel::RetirerTable(TCustomTable* Table) {
  // Only the table registered here leaves: a second table of the class in the same base was never
  // registered and must not take the first one's entry with it.
  const TypeBaseEtTable* entree = Entree(Table->Base);
  if (entree == nullptr || entree->Table != Table) return false;
  BasesEtTables->Supprimer({Table->Base, nullptr});
  if (Parent()) Parent()->RetirerBase(Table->Base);
  return true;
}

void TNoeudReferentiel::RetirerBase(TBase* Base) {
  if (Base == nullptr || CompterTables(Base) != 0) return;
  if (BasesEtTables->Supprimer({Base, nullptr}) && Parent()) Parent()->RetirerBase(Base);
}

int32_t TNoeudReferentiel::CompterTables(TBase* Base) const {
  const TypeBaseEtTable* entree = Entree(Base);
  if (entree == nullptr) return 0;
  if (entree->Table != nullptr) return 1;
  int32_t n = 0;
  for (int i = 0; i < NombreFils(); ++i) n += NoeudFils(i)->CompterTables(Base);
  return n;
}

bool TNoeudReferentiel::TraiterTables(TCustomTraiterInstance* Traitement, TBase* Base) {
  if (Base != nullptr) {
    const TypeBaseEtTable* entree = Entree(Base);
    if (entree == nullptr) return false;
    if (entree->Table != nullptr) return Traitement->Traiter(entree->Table);
  } else {
    // The entries are copied first: the visitor may free tables.
    std::vector<TCustomTable*> tables;
    for (int32_t i = 0; i < BasesEtTables->GetNombreElements(); ++i)
      if (TCustomTable* t = BasesEtTables->GetElement(i).Table) tables.push_back(t);
    for (TCustomTable* t : tables)
      if (Traitement->Traiter(t)) return true;
  }
  for (int i = 0; i < NombreFils(); ++i)
    if (NoeudFils(i)->TraiterTables(Traitement, Base)) return true;
  return false;
}

void TNoeudReferentiel::AjouterChampReference(TCustomChamp* Champ) {
  if (ChampsReferencants == nullptr) {
    ChampsReferencants = new TArrayOfChamp(32, true, false);
    ChampsReferencants->SetModeComparaison(1);
    ChampsReferencants->SetAvecDoublons(false);
  }
  ChampsReferencants->Ajouter(Champ);
}

void TNoeudReferentiel::RetirerChampReference(TCustomChamp* Champ) {
  if (ChampsReferencants != nullptr) (void)ChampsReferencants->Supprimer(Champ);
}

void TNoeudReferentiel::TracerResume(std::string& Texte) {
  Texte = Format("Classe = %s; Adresse = %s; Nombre champs = %d; Nombre tables = %d",
                 {TemplateArray::NomDeClasse(Classe), Adresse(), ChampsPropres->GetNombreElements(),
                  BasesEtTables->GetNombreElements()});
}

// ---------------------------------------------------------------------------------------------------
// Making nodes

namespace {

// The node of an article class, made with the nodes it needs: those of the article classes its
// fields refer to (a class already being made is skipped, which breaks a cycle of references), then
// its parent's; the fields beyond the parent's become its own.
TNoeudReferentiel* NoeudDeClasse(const TClass* Classe) {
  if (Classe == nullptr || !Classe->InheritsFrom(TArticle::StaticClass())) return nullptr;
  TNoeudReferentiel* racine = TReferentielManager::Racine();
  if (TNoeudReferentiel* n = racine->Chercher(Classe)) return n;

  TReferentielManager::MarquerEnCours(Classe);
  TListeChampsPublies* liste = TArticle::CreerListeChampsPublies(Classe);
  for (int32_t i = 0; i < liste->GetNombreElements(); ++i) {
    TChampPublie* champ = liste->Champ(i);
    if (champ != nullptr && champ->Genre == tkClass && champ->Classe != nullptr &&
        champ->Classe->InheritsFrom(TArticle::StaticClass()) && !TReferentielManager::EnCours(champ->Classe))
      NoeudDeClasse(champ->Classe);
  }
  TNoeudReferentiel* parent = NoeudDeClasse(Classe->ClassParent());
  TListeChampsPublies* herites = parent->ChampsPublies();
  const int32_t n = herites->GetNombreElements();
  delete herites;

  // A reference cycle may have made the node meanwhile.
  TNoeudReferentiel* noeud = racine->Chercher(Classe);
  if (noeud == nullptr) {
    noeud = new TNoeudReferentiel(Classe);
    parent->AjouterFils(noeud);
    for (int32_t i = n; i < liste->GetNombreElements(); ++i) {
      noeud->ChampsPropres->Ajouter(liste->GetElement(i));
      liste->SetElementPosition(nullptr, i);
    }
  }
  for (int32_t i = 0; i < liste->GetNombreElements(); ++i) delete liste->GetElement(i);
  delete liste;
  TReferentielManager::RetirerEnCours(Classe);
  return noeud;
}

}  // namespace

// ---------------------------------------------------------------------------------------------------
// TReferentiel

bool TReferentiel::EnregistrerClasse(const TClass* Classe) {
  NoeudDeClasse(Classe);
  return true;
}

TNoeudReferentiel* TReferentiel::Noeud(const TClass* Classe) {
  return TReferentielManager::Existe() ? TReferentielManager::Racine()->Chercher(Classe) : nullptr;
}

TListeChampsPublies* TReferentiel::ChampsPublies(const TClass* Classe) {
  TNoeudReferentiel* noeud = Noeud(Classe);
  return noeud ? noeud->ChampsPublies() : new TListeChampsPublies(32, true, false);
}

TInfosAcces* TReferentiel::InfosAcces(const TClass* Classe, int32_t NumeroChamp) {
  TNoeudReferentiel* noeud = Noeud(Classe);
  if (noeud == nullptr) return nullptr;
  TListeChampsPublies* liste = noeud->ChampsPublies();
  TChampPublie* champ = liste->Champ(NumeroChamp);
  TInfosAcces* infos = champ ? champ->GetInfosAcces() : nullptr;
  delete liste;
  return infos;
}

bool TReferentiel::AjouterTable(TCustomTable* Table) {
  TNoeudReferentiel* noeud = NoeudDeClasse(Table->ClasseArticle);
  return noeud != nullptr && noeud->AjouterTable(Table);
}

bool TReferentiel::RetirerTable(TCustomTable* Table) {
  TNoeudReferentiel* noeud = Noeud(Table->ClasseArticle);
  return noeud != nullptr && noeud->RetirerTable(Table);
}

void TReferentiel::AjouterChampReference(TCustomChamp* Champ, const TClass* ClasseReferencee) {
  if (TNoeudReferentiel* noeud = NoeudDeClasse(ClasseReferencee)) noeud->AjouterChampReference(Champ);
}

void TReferentiel::RetirerChampReference(TCustomChamp* Champ, const TClass* ClasseReferencee) {
  if (TNoeudReferentiel* noeud = Noeud(ClasseReferencee)) noeud->RetirerChampReference(Champ);
}

namespace {

// Gathers the visited tables.
class TTrouverTables : public TCustomTraiterInstance {
 public:
  std::vector<TCustomTable*> Tables;
  bool Traiter(TObject* Instance) override {
    Tables.push_back(static_cast<TCustomTable*>(Instance));
    return false;
  }
};

std::vector<TCustomTable*> TablesDepuis(TNoeudReferentiel* Noeud, TBase* Base) {
  if (Noeud == nullptr) return {};
  TTrouverTables trouver;
  (void)Noeud->TraiterTables(&trouver, Base);
  return std::move(trouver.Tables);
}

// The structure of Source's tables at and below a node copied into Cible, descendants first where
// the node has no table of its own.
void CopierTablesDeBase(TNoeudReferentiel* Noeud, TBase* Source, TBase* Cible) {
  const TypeBaseEtTable* entree = Noeud->Entree(Source);
  if (entree == nullptr) return;
  if (entree->Table == nullptr) {
    for (int i = 0; i < Noeud->NombreFils(); ++i) CopierTablesDeBase(Noeud->NoeudFils(i), Source, Cible);
    Noeud->AjouterBase(Cible);
    return;
  }
  TCustomTable* modele = entree->Table;
  auto* copie = static_cast<TCustomTable*>(modele->ClassType()->NewBlank());
  try {
    copie->AssignerStructure(modele, Source, Cible);
  } catch (...) {
    delete copie;
    throw;
  }
  copie->Base = Cible;
  (void)Noeud->AjouterTable(copie);
}

}  // namespace

TListeArticles* TReferentiel::ArticlesReferencants(const TypeReferenceArticle& Reference, TCustomFiltreArticle* Filtre,
                                                   TBase* Base, bool AvecDoublons) {
  auto* liste = new TListeArticles(true, 32, true);
  liste->SetAvecDoublons(AvecDoublons);
  if (ReferenceArticle::EstReferenceNulle(Reference)) return liste;
  const bool sansTransitoires = Filtre != nullptr && Filtre->IgnorerTransitoires;
  for (TNoeudReferentiel* n = Noeud(Reference.Table->ClasseArticle); n != nullptr; n = n->Parent()) {
    if (n->ChampsReferencants == nullptr) continue;
    for (int32_t c = 0; c < n->ChampsReferencants->GetNombreElements(); ++c) {
      auto* champ = dynamic_cast<TChampReference*>(n->ChampsReferencants->GetElement(c));
      if (champ == nullptr || champ->Table == nullptr) continue;
      if (sansTransitoires && champ->Table->EstTransitoire()) continue;
      if (Base != nullptr && champ->Table->Base != Base) continue;
      TListeArticles* referencants = champ->ArticlesReferencant(Reference, Filtre);
      for (int32_t i = 0; i < referencants->GetNombreElements(); ++i) liste->Ajouter(referencants->GetElement(i));
      delete referencants;
    }
  }
  return liste;
}

TListeArticles* TReferentiel::ArticlesReferencantsArticle(TArticle* Article, TCustomFiltreArticle* Filtre, TBase* Base,
                                                          bool AvecDoublons) {
  TypeReferenceArticle reference = ReferenceArticle::ReferenceArticleNulle;
  if (Article != nullptr) Article->GetReference(reference);
  return ArticlesReferencants(reference, Filtre, Base, AvecDoublons);
}

std::vector<TCustomTable*> TReferentiel::TablesDeClasse(const TClass* ClasseArticle, TBase* Base) {
  return TablesDepuis(Noeud(ClasseArticle), Base);
}

int32_t TReferentiel::TraiterTables(TCustomTraiterInstance* Traitement, TBase* Base) {
  return TReferentielManager::Existe() && TReferentielManager::Racine()->TraiterTables(Traitement, Base) ? 1 : 0;
}

bool TReferentiel::SupprimerTables(TBase* Base) {
  if (!TReferentielManager::Existe()) return true;
  for (TCustomTable* table : TablesDepuis(TReferentielManager::Racine(), Base)) {
    if (RetirerTable(table)) delete table;
  }
  return true;
}

void TReferentiel::CopierTables(TBase* Source, TBase* Cible) {
  (void)SupprimerTables(Cible);
  CopierTablesDeBase(TReferentielManager::Racine(), Source, Cible);
}

// ---------------------------------------------------------------------------------------------------
// TReferentielManager

NV_DEFINE_FINALISABLE_CLASS(TReferentielManager)

TNoeudReferentiel* TReferentielManager::Racine() {
  TNoeudReferentiel*& racine = RacineGlobale();
  if (racine == nullptr) {
    ClassesEnCours() = new TArrayOfClasses(32, true, false);
    ClassesEnCours()->SetAvecDoublons(false);
    ClassesEnCours()->SetToujoursTrie(true);
    racine = new TNoeudReferentiel(TArticle::StaticClass());
  }
  return racine;
}

bool TReferentielManager::Existe() { return RacineGlobale() != nullptr; }

bool TReferentielManager::MarquerEnCours(const TClass* Classe) {
  Racine();  // makes the list with the root
  return ClassesEnCours()->Ajouter(Classe) >= 0;
}

bool TReferentielManager::RetirerEnCours(const TClass* Classe) {
  return ClassesEnCours() != nullptr && ClassesEnCours()->Supprimer(Classe);
}

bool TReferentielManager::EnCours(const TClass* Classe) {
  return ClassesEnCours() != nullptr && ClassesEnCours()->Contient(Classe);
}

void TReferentielManager::Finaliser() {
  delete RacineGlobale();
  RacineGlobale() = nullptr;
  delete ClassesEnCours();
  ClassesEnCours() = nullptr;
}

void Referentiel::Initialiser() {
  TracerModule("Initialisation du module Referentiel.");
  TClasseFinalisable::Enregistrer(TReferentielManager::StaticClass());
}
