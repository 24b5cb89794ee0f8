#include "objectdb/schema/Referentiel.h"

#include <algorithm>
#include <utility>

#include "core/objects/CustomTraiterInstance.h"
#include "core/objects/Erreur.h"
#include "core/values/Ansi1252.h"
#include "core/values/Format.h"
#include "objectdb/articles/Article.h"
#include "objectdb/articles/ListeArticles.h"
#include "objectdb/articles/TraiterArticle.h"
#include "objectdb/columns/ChampReference.h"
#include "objectdb/bases/Base.h"
#include "objectdb/columns/ChampReference.h"
#include "objectdb/properties/InfosAcces.h"
#include "objectdb/tables/CustomTable.h"
#include "objectdb/tables/Table.h"

NV_DEFINE_CLASS(TNoeudReferentiel, TArbre)
NV_DEFINE_CLASS(TVerifierReferentiel, TCustomVerifiable)
NV_DEFINE_CLASS(TTraiterAdressageNoeud, TCustomTraiterInstance)
NV_DEFINE_CLASS(TTrouverTables, TCustomTraiterInstance)
NV_DEFINE_CLASS(TSupprimerTable, TCustomTraiterInstance)
NV_DEFINE_CLASS(TGetListesBasesEtTables, TCustomTraiterInstance)
NV_DEFINE_CLASS(TVerifierPresenceBase, TCustomTraiterInstance)
NV_DEFINE_CLASS(TVerifierNoeud, TCustomTraiterInstance)

namespace {
TNoeudReferentiel*& RacineGlobale() {
  static TNoeudReferentiel* racine = nullptr;
  return racine;
}
TArrayOfClasses*& ClassesEnCours() {
  static TArrayOfClasses* classes = nullptr;
  return classes;
}

// A change of the tree or of the reference columns asks for a new verification.
void ReArmerVerification() {
  if (TNoeudReferentiel* racine = RacineGlobale(); racine != nullptr && !racine->EnDestruction)
    if (TVerifierReferentiel* verificateur = racine->GetVerifiable()) verificateur->SetVerificationActive(true);
}

// A visitor made for one walk and freed at its end.
template <class TVisiteur, class... Args>
std::unique_ptr<TVisiteur> Visiteur(Args&&... args) {
  return std::make_unique<TVisiteur>(std::forward<Args>(args)...);
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
  Verificateur.reset();
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

void TNoeudReferentiel::Renumeroter() { TraiterFils(Visiteur<TTraiterAdressageNoeud>(Niveau + 1).get()); }

int TNoeudReferentiel::AjouterFils(TArbre* Noeud) {
  const int r = TArbre::AjouterFils(Noeud);
  Renumeroter();
  ReArmerVerification();
  return r;
}

bool TNoeudReferentiel::SupprimerFils(TArbre* Noeud) {
  auto* ancienParent = static_cast<TNoeudReferentiel*>(Noeud ? Noeud->GetParent() : nullptr);
  const bool retire = TArbre::SupprimerFils(Noeud);
  if (retire && ancienParent != nullptr) ancienParent->Renumeroter();
  if (!EnDestruction) ReArmerVerification();
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

void TNoeudReferentiel::AjouterChampReference(TCustomChamp* Champ) {
  if (ChampsReferencants == nullptr) {
    ChampsReferencants = new TArrayOfChamp(32, true, false);
    ChampsReferencants->SetModeComparaison(1);
    ChampsReferencants->SetAvecDoublons(false);
  }
  ChampsReferencants->Ajouter(Champ);
  ReArmerVerification();
}

void TNoeudReferentiel::RetirerChampReference(TCustomChamp* Champ) {
  if (ChampsReferencants != nullptr) (void)ChampsReferencants->Supprimer(Champ);
  ReArmerVerification();
}

// ---------------------------------------------------------------------------------------------------
// Walks

bool TNoeudReferentiel::Parcourir(TCustomTraiterInstance* Visiteur_, TBase* Base) {
  if (Base != nullptr && Visiteur<TVerifierPresenceBase>(Base, true)->Traiter(this)) return false;
  if (Visiteur_->Traiter(this)) return true;
  for (int i = 0; i < NombreFils(); ++i)
    if (NoeudFils(i)->Parcourir(Visiteur_, Base)) return true;
  return false;
}

bool TNoeudReferentiel::TraiterTables(TCustomTraiterInstance* Traitement, TBase* Base) {
  if (Base != nullptr) {
    const TypeBaseEtTable* entree = Entree(Base);
    if (entree == nullptr) return false;
    // Read before the visitor runs: it may free the table, and the entry with it.
    if (TCustomTable* table = entree->Table) return Traitement->Traiter(table);
  } else {
    // Every entry's table, the one without base included; gathered first, since a visitor that frees
    // a table changes the entries.
    std::vector<TCustomTable*> tables;
    for (int32_t i = 0; i < BasesEtTables->GetNombreElements(); ++i)
      if (TCustomTable* table = BasesEtTables->GetElement(i).Table) tables.push_back(table);
    for (TCustomTable* table : tables)
      if (Traitement->Traiter(table)) return true;
  }
  for (int i = 0; i < NombreFils(); ++i)
    if (NoeudFils(i)->TraiterTables(Traitement, Base)) return true;
  return false;
}

std::vector<TCustomTable*> TNoeudReferentiel::TablesDeBase(TBase* Base) {
  auto trouver = Visiteur<TTrouverTables>(Base);
  TraiterTables(trouver.get(), Base);
  return std::move(trouver->Tables);
}

void TNoeudReferentiel::ExporterNoeud(TNoeudXML Parent, TBase* Base) {
  if (Base != nullptr && Entree(Base) == nullptr) return;
  TNoeudXML noeud = Parent.AjouterFils("noeud");
  noeud.DefinirAttribut("classe", TemplateArray::NomDeClasse(Classe));
  for (int32_t i = 0; i < ChampsPropres->GetNombreElements(); ++i) {
    const TChampPublie* champ = ChampsPropres->Champ(i);
    TNoeudXML element = noeud.AjouterFils("champ");
    element.DefinirAttribut("nom", champ->Libelle);
    element.DefinirAttribut("type", champ->NomDuType);
  }
  for (int i = 0; i < NombreFils(); ++i) NoeudFils(i)->ExporterNoeud(noeud, Base);
}

// ---------------------------------------------------------------------------------------------------
// Verification and traces

TVerifierReferentiel* TNoeudReferentiel::GetVerifiable() {
  if (EnDestruction) return nullptr;
  if (!Verificateur) Verificateur = std::make_unique<TVerifierReferentiel>();
  return Verificateur.get();
}

void* TNoeudReferentiel::GetInterfaceEntry(const TGUID& iid) {
  if (iid == IVerifiable::IID) {
    TVerifierReferentiel* verificateur = GetVerifiable();
    return verificateur ? static_cast<IVerifiable*>(verificateur) : nullptr;
  }
  return TArbre::GetInterfaceEntry(iid);
}

void TNoeudReferentiel::TracerEntete(TCustomTraceur* Traceur, std::string& Texte) {
  Texte.clear();
  if (!TraceActive()) return;
  if (Traceur == nullptr) Traceur = Trace::TraceurParDefaut();
  TArbre::TracerEntete(Traceur, Texte);
  std::string morceau;
  Traceur->TracerPropriete("Classe", TemplateArray::NomDeClasse(Classe), morceau);
  Texte += morceau;
  Traceur->TracerPropriete("Adresse", Adresse(), morceau);
  Texte += morceau;
  for (TObject* liste : {static_cast<TObject*>(ChampsPropres), static_cast<TObject*>(ClassesDeBases),
                         static_cast<TObject*>(BasesEtTables)}) {
    TCustomTracable::TracerObjet(liste, true, Traceur, morceau);
    Texte += morceau;
  }
}

void TNoeudReferentiel::TracerResume(std::string& Texte) {
  Texte = Format("Classe = %s; Adresse = %s; Nombre champs = %d; Nombre tables = %d",
                 {TemplateArray::NomDeClasse(Classe), Adresse(), ChampsPropres->GetNombreElements(),
                  BasesEtTables->GetNombreElements()});
}

// ---------------------------------------------------------------------------------------------------
// Visitors

bool TTraiterAdressageNoeud::Traiter(TObject* Instance) {
  auto* noeud = static_cast<TNoeudReferentiel*>(Instance);
  noeud->Niveau = Niveau;
  noeud->Id = Id++;
  if (noeud->NombreFils() > 0) noeud->TraiterFils(Visiteur<TTraiterAdressageNoeud>(Niveau + 1).get());
  return false;
}

bool TTrouverTables::Traiter(TObject* Instance) {
  Tables.push_back(static_cast<TCustomTable*>(Instance));
  return false;
}

bool TSupprimerTable::Traiter(TObject* Instance) {
  auto* table = static_cast<TCustomTable*>(Instance);
  if (TReferentiel::RetirerTable(table)) delete table;
  return false;
}

namespace {
template <class T>
void AjouterUneFois(std::vector<T>& Liste, T Element) {
  if (std::find(Liste.begin(), Liste.end(), Element) == Liste.end()) Liste.push_back(Element);
}
}  // namespace

bool TGetListesBasesEtTables::Traiter(TObject* Instance) {
  // Only indexed tables are exported: the tables of transient copies are passed over.
  auto* table = dynamic_cast<TTable*>(static_cast<TCustomTable*>(Instance));
  if (table == nullptr) return false;
  if (table->Base != nullptr) {
    AjouterUneFois(Bases, table->Base);
    AjouterUneFois(ClassesDeBases, table->Base->ClassType());
  } else {
    AjouterUneFois<TCustomTable*>(TablesSansBase, table);
    AjouterUneFois(ClassesDeTables, table->ClasseArticle);
  }
  return false;
}

bool TVerifierPresenceBase::Traiter(TObject* Instance) {
  const bool presente = static_cast<TNoeudReferentiel*>(Instance)->Entree(Base) != nullptr;
  return presente != Inverse;
}

// ---------------------------------------------------------------------------------------------------
// Verification

void TVerifierNoeud::Signaler(const std::string& Message) {
  auto* erreur = new TErreur(Message);
  if (Erreur == nullptr)
    Erreur = erreur;
  else
    Erreur->AjouterFils(erreur);
}

void TVerifierNoeud::VerifierParent(TNoeudReferentiel* Noeud) {
  TNoeudReferentiel* parent = Noeud->Parent();
  if (parent == nullptr || parent->Classe == Noeud->Classe->ClassParent()) return;
  Signaler(Format("La classe du noeud parent (%s) n'est pas un ancêtre de la classe du noeud (%s)"_ansi,
                  {TemplateArray::NomDeClasse(parent->Classe), TemplateArray::NomDeClasse(Noeud->Classe->ClassParent())}));
}

void TVerifierNoeud::VerifierEntrees(TNoeudReferentiel* Noeud) {
  std::string resume;
  Noeud->TracerResume(resume);
  for (int32_t i = 0; i < Noeud->BasesEtTables->GetNombreElements(); ++i) {
    const TypeBaseEtTable entree = Noeud->BasesEtTables->GetElement(i);
    if (entree.Base != nullptr) {
      if (Noeud->Parent() != nullptr && Noeud->Parent()->Entree(entree.Base) == nullptr)
        Signaler(Format("Le père du noeud devrait avoir la même base : %s"_ansi, {resume}));
      if (entree.Table != nullptr)
        for (int f = 0; f < Noeud->NombreFils(); ++f)
          if (Noeud->NoeudFils(f)->Entree(entree.Base) != nullptr) {
            Signaler(Format("Un fils du noeud ne doit pas avoir la même base : %s"_ansi, {resume}));
            break;
          }
    } else if (entree.Table == nullptr) {
      Signaler(Format("Table et Base à NIL pour le noeud : %s"_ansi, {resume}));
    }
    if (entree.Table == nullptr) continue;
    // A referenced class's node comes before the node of the class that refers to it.
    for (int32_t c = 0; c < entree.Table->NombreChamps(); ++c) {
      auto* reference = dynamic_cast<TChampReference*>(entree.Table->GetChamp(c));
      if (reference == nullptr) continue;
      TNoeudReferentiel* reference_noeud = TReferentiel::Noeud(reference->ClasseReferencee);
      if (reference_noeud == nullptr || Noeud->Comparer(reference_noeud) != 1) continue;
      Signaler(Format("Erreur d'ordonnancement des tables dans le référentiel : %s --> %s"_ansi,
                      {TemplateArray::NomDeClasse(Noeud->Classe), TemplateArray::NomDeClasse(reference->ClasseReferencee)}));
      break;
    }
  }
}

namespace {
// One element of a path: G is the field it names, Prec the field before it (the computed field for
// the first element), F the computed field.
bool ElementCorrect(const TChampPublie* F, const TChampPublie* Prec, const TChampPublie* G, bool Dernier) {
  const TClass* c = G->Classe != nullptr ? G->Classe : TObject::StaticClass();
  const bool article = c->InheritsFrom(TArticle::StaticClass());
  if (!Dernier) {
    if (!article) return false;
    const TClass* proprietaire = G->ClasseProprietaire;
    return (Prec->ClasseProprietaire != nullptr &&
            (Prec->ClasseProprietaire->InheritsFrom(proprietaire) || Prec->ClasseProprietaire->InheritsFrom(c))) ||
           (Prec->Classe != nullptr && Prec->Classe->InheritsFrom(proprietaire));
  }
  if (c == TObject::StaticClass())
    return F->Genre == G->Genre || (F->Classe != nullptr && F->Classe->InheritsFrom(TCustomArray::StaticClass()));
  return article && F->Classe != nullptr && F->Classe->InheritsFrom(TListeArticles::StaticClass());
}
}  // namespace

// Each computed field's path is followed element by element; the first incorrect element ends the
// path and is reported. Every incorrect path is reported, not only the last field's.
bool TVerifierNoeud::VerifierChemins(TNoeudReferentiel* Noeud) {
  bool trouve = false;
  TListeChampsPublies* champs = Noeud->ChampsPublies();
  for (int32_t i = 0; i < champs->GetNombreElements(); ++i) {
    const TChampPublie* f = champs->Champ(i);
    if (f == nullptr || !f->EstCalcule()) continue;
    const TInfosAcces* chemin = f->GetInfosAcces();
    const TChampPublie* prec = f;
    for (int32_t e = 0; e < chemin->GetNombreElements(); ++e) {
      const TypeItemInfoAcces& element = chemin->GetElement(e);
      TListeChampsPublies* liste = TReferentiel::ChampsPublies(element.ClasseArticle);
      const TChampPublie* g = liste->Champ(element.NumeroChamp);
      const bool correct = g != nullptr && ElementCorrect(f, prec, g, e == chemin->GetNombreElements() - 1);
      delete liste;
      if (!correct) {
        Signaler(Format("L'élément (%s, %s) du chemin est incorrect"_ansi,
                        {TemplateArray::NomDeClasse(element.ClasseArticle), std::to_string(element.NumeroChamp)}));
        trouve = true;
        break;
      }
      prec = g;
    }
  }
  delete champs;
  return trouve;
}

bool TVerifierNoeud::Traiter(TObject* Instance) {
  auto* noeud = static_cast<TNoeudReferentiel*>(Instance);
  VerifierParent(noeud);
  VerifierEntrees(noeud);
  return VerifierChemins(noeud);
}

void TVerifierReferentiel::Verifier(TypeOptionsVerification Options, TErreur*& Erreur) {
  if (TReferentielManager::Existe()) {
    auto visiteur = Visiteur<TVerifierNoeud>();
    TReferentielManager::Racine()->Parcourir(visiteur.get(), nullptr);
    if (visiteur->Erreur != nullptr) {
      if (Erreur == nullptr)
        Erreur = visiteur->Erreur;
      else
        Erreur->AjouterFils(visiteur->Erreur);
    }
  }
  TCustomVerifiable::Verifier(Options, Erreur);
  SetVerificationActive(false);
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
  TNoeudReferentiel* noeud = Noeud(ClasseArticle);
  return noeud ? noeud->TablesDeBase(Base) : std::vector<TCustomTable*>{};
}

int32_t TReferentiel::TraiterTables(TCustomTraiterInstance* Traitement, TBase* Base) {
  return TReferentielManager::Existe() && TReferentielManager::Racine()->TraiterTables(Traitement, Base) ? 1 : 0;
}

bool TReferentiel::SupprimerTables(TBase* Base) {
  return TraiterTables(Visiteur<TSupprimerTable>().get(), Base) == 0;
}

namespace {
// Makes and registers, depth first, a blank table in Cible for each table of Source; gathers the
// pairs (model, copy).
void CreerCopies(TNoeudReferentiel* Noeud, TBase* Source, TBase* Cible,
                 std::vector<std::pair<TCustomTable*, TCustomTable*>>& Copies) {
  const TypeBaseEtTable* entree = Noeud->Entree(Source);
  if (entree == nullptr) return;
  if (TCustomTable* modele = entree->Table) {
    auto* copie = static_cast<TCustomTable*>(modele->ClassType()->NewBlank());
    copie->ClasseArticle = modele->ClasseArticle;
    copie->Base = Cible;
    Noeud->AjouterTable(copie);
    Copies.emplace_back(modele, copie);
    return;
  }
  for (int i = 0; i < Noeud->NombreFils(); ++i) CreerCopies(Noeud->NoeudFils(i), Source, Cible, Copies);
  Noeud->AjouterBase(Cible);
}
}  // namespace

void TReferentiel::CopierTables(TBase* Source, TBase* Cible) {
  if (Source == nullptr || Cible == nullptr || Source == Cible) return;
  TraiterTables(Visiteur<TSupprimerInstances>().get(), Cible);
  std::vector<std::pair<TCustomTable*, TCustomTable*>> copies;
  CreerCopies(TReferentielManager::Racine(), Source, Cible, copies);
  for (auto& [modele, copie] : copies) copie->AssignerStructure(modele, Source, Cible);
}

namespace {
void EcrireObjet(TObject* Objet, TNoeudXML Parent, TypePartieXML Partie) {
  if (ISaveToXMLNode* export_ = InterfaceOf<ISaveToXMLNode>(Objet)) {
    TNoeudXML noeud;
    export_->SaveToXMLNode(Parent, Partie, noeud);
  }
}

// The tables without base, then the bases, of the walk, each written in Partie under a new element.
void ExporterPartie(TNoeudXML Parent, const char* Nom, TypePartieXML Partie, const TGetListesBasesEtTables& Listes) {
  TNoeudXML partie = Parent.AjouterFils(Nom);
  // The schema describes a class once; the data holds every table and every base.
  auto premier = [&](const auto& objets, const TClass* classe, auto classeDe) {
    for (auto* objet : objets)
      if (classeDe(objet) == classe) return static_cast<TObject*>(objet);
    return static_cast<TObject*>(nullptr);
  };
  if (Partie == PX_Schema) {
    for (const TClass* classe : Listes.ClassesDeTables)
      EcrireObjet(premier(Listes.TablesSansBase, classe, [](TCustomTable* t) { return t->ClasseArticle; }), partie,
                  Partie);
    for (const TClass* classe : Listes.ClassesDeBases)
      EcrireObjet(premier(Listes.Bases, classe, [](TBase* b) { return b->ClassType(); }), partie, Partie);
    return;
  }
  for (TCustomTable* table : Listes.TablesSansBase) EcrireObjet(table, partie, Partie);
  for (TBase* base : Listes.Bases) EcrireObjet(base, partie, Partie);
}
}  // namespace

void TReferentiel::ExporterReferentielXML(TNoeudXML Parent, TypePartiesXML Parties, TBase* Base) {
  if (ContientPartieXML(Parties, PX_Referentiel))
    TReferentielManager::Racine()->ExporterNoeud(Parent.AjouterFils("referentiel"), Base);
  if (!ContientPartieXML(Parties, PX_Schema) && !ContientPartieXML(Parties, PX_Data)) return;
  auto listes = Visiteur<TGetListesBasesEtTables>();
  TraiterTables(listes.get(), Base);
  if (ContientPartieXML(Parties, PX_Schema)) ExporterPartie(Parent, "schema", PX_Schema, *listes);
  if (ContientPartieXML(Parties, PX_Data)) ExporterPartie(Parent, "data", PX_Data, *listes);
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
    racine->GetVerifiable()->SurErreur = [](TCustomVerifiable*, TErreur* Erreur) {
      std::string texte;
      TCustomTracable::TracerObjet(Erreur, true, Trace::TraceurParDefaut(), texte);
    };
    TServiceVerifiablesApplication::Ajouter(racine);
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
  if (RacineGlobale() != nullptr) TServiceVerifiablesApplication::Retirer(RacineGlobale());
  delete RacineGlobale();
  RacineGlobale() = nullptr;
  delete ClassesEnCours();
  ClassesEnCours() = nullptr;
}

void Referentiel::Initialiser() {
  TracerModule("Initialisation du module Referentiel.");
  TClasseFinalisable::Enregistrer(TReferentielManager::StaticClass());
}
