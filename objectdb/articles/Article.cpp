#include "objectdb/articles/Article.h"

#include <limits>

#include "core/arrays/ArrayOfItemInfoAcces.h"
#include "core/arrays/TemplateArray.h"
#include "core/diagnostics/Trace.h"
#include "core/objects/Erreur.h"
#include "core/values/Ansi1252.h"
#include "core/values/ChaineUnicode.h"
#include "core/values/Format.h"
#include "objectdb/articles/TableDeTransitoires.h"
#include "objectdb/columns/ChampCardinal.h"
#include "objectdb/columns/ChampInteger.h"
#include "objectdb/columns/ChampObject.h"
#include "objectdb/columns/ChampString.h"
#include "objectdb/tables/CustomTable.h"
#include "objectdb/tables/PlanSuppression.h"
#include "objectdb/tables/Table.h"
#include "objectdb/articles/ListeArticles.h"
#include "objectdb/articles/TraiterArticle.h"

const TClass* TArticle::StaticClass() {
  static const TArticle::Class descriptor("TArticle", TObjetInterfacable::StaticClass(), &NewBlankOf<TArticle>);
  return &descriptor;
}

const TArticle::Class* TArticle::Descripteur(const TClass* Classe) {
  for (const TClass* c = Classe; c != nullptr; c = c->ClassParent())
    if (const auto* d = dynamic_cast<const Class*>(c)) return d;
  return static_cast<const Class*>(StaticClass());
}

TListeChampsPublies* TArticle::Class::CreerListeChampsPublies(const TClass* Classe) const {
  return new TListeChampsPublies(Classe, TChampPublie::StaticClass());
}

namespace {
int32_t gDernierHandle = 0;

std::string TexteErreurDe(TCustomTable* Table) {
  std::string texte;
  if (Table != nullptr) Table->TexteErreur(texte);
  return texte;
}

// The two-level tree of a refused operation: what was attempted, then why.
TErreur* ErreurOperation(const std::string& Message, const std::string& Raison) {
  auto* erreur = new TErreur(Message);
  erreur->AjouterFils(new TErreur(Raison));
  return erreur;
}
}  // namespace

void Article::Initialiser() { ArrayOfItemInfoAcces::DefinirClasseArticleVide(TArticle::StaticClass()); }

int32_t Article::HandleSuivant(int32_t Dernier) {
  return Dernier >= std::numeric_limits<int32_t>::max() || Dernier < 0 ? 1 : Dernier + 1;
}

// ---------------------------------------------------------------------------------------------------
// Life

TArticle::TArticle() : Handle(gDernierHandle = Article::HandleSuivant(gDernierHandle)) {}

TArticle::TArticle(TCustomTable* Table_, TypeModeArticle Mode_, int32_t Numero) { Construire(Table_, Mode_, Numero); }

void TArticle::Construire(TCustomTable* Table_, TypeModeArticle Mode_, int32_t Numero) {
  Handle = gDernierHandle = Article::HandleSuivant(gDernierHandle);
  Etat = EI_Valide;
  Mode = Mode_;
  Table = Table_;
  if (Mode == MA_Transitoire) {
    auto* transitoires = ObjectAs<TTableDeTransitoires>(Table_);
    if (transitoires == nullptr) throw EInvalidCast();
    // A full table leaves the transient without a row: its setters refuse it.
    int32_t ligne = -1;
    IndiceArticle = transitoires->AllouerLigne(ligne) ? static_cast<uint32_t>(ligne) : kAucuneLigne;
    return;
  }
  IndiceArticle = Numero > 0 && static_cast<uint32_t>(Numero) <= kAucuneLigne ? static_cast<uint32_t>(Numero - 1)
                                                                              : kAucuneLigne;
}

TArticle* TArticle::Nouveau(const TClass* Classe, TCustomTable* Table_, TypeModeArticle Mode_, int32_t Numero) {
  TObject* objet = Classe != nullptr && Classe->InheritsFrom(StaticClass()) ? Classe->NewBlank() : nullptr;
  if (objet == nullptr) throw EInvalidCast();
  auto* article = static_cast<TArticle*>(objet);
  try {
    article->Construire(Table_, Mode_, Numero);
  } catch (...) {
    delete article;
    throw;
  }
  return article;
}

TArticle::~TArticle() {
  if (Mode == MA_Transitoire && Table != nullptr && IndiceArticle < kAucuneLigne)
    (void)Table->LibererLigne(static_cast<int32_t>(IndiceArticle) + 1);
  Etat = EI_Detruite;
  IndiceArticle = kAucuneLigne;
  Table = nullptr;
}

TTableDeTransitoires* TArticle::TableDeTransitoires() const { return TTableDeTransitoires::TableDeClasse(ClassType()); }

TTableDeTransitoires* TArticle::Transitoires() const {
  return Mode == MA_Transitoire ? ObjectAs<TTableDeTransitoires>(Table) : nullptr;
}

TArticle* TArticle::CreerTransitoire(const TClass* Classe, TCustomTable* Table_, int32_t Numero) {
  return TTableDeTransitoires::TableDeClasse(Classe)->CreerTransitoire(Table_, Numero);
}

void TArticle::RestituerTransitoire() {
  if (Etat != EI_Valide) return;
  if (TTableDeTransitoires* transitoires = Transitoires()) transitoires->RestituerTransitoire(this);
}

void TArticle::Liberer() {
  if (Mode == MA_Table) Table = nullptr;
  delete this;
}

void TArticle::Invalider() {
  Etat = EI_Detruite;
  IndiceArticle = kAucuneLigne;
}

bool TArticle::EstValide() const {
  if (Etat != EI_Valide || Table == nullptr) return false;
  return Mode == MA_Transitoire ||
         (IndiceArticle < kAucuneLigne && Table->LigneExiste(static_cast<int32_t>(IndiceArticle)));
}

// ---------------------------------------------------------------------------------------------------
// References

void TArticle::GetReference(TypeReferenceArticle& Reference) const {
  // Null rather than the zeroed record {row 0, no table}: both are null, and no reader can take row
  // 0 for a designated row.
  Reference = ReferenceArticle::ReferenceArticleNulle;
  if (!EstValide() || IndiceArticle >= kAucuneLigne) return;
  if (Mode == MA_Transitoire) {
    Table->ReferenceLigne(static_cast<int32_t>(IndiceArticle), Reference);
    return;
  }
  Reference.IndiceArticle = IndiceArticle;
  Reference.Table = Table;
}

void TArticle::Designer(TCustomTable* Table_, int32_t Numero, bool Copier) {
  const uint32_t ligne = Numero > 0 ? static_cast<uint32_t>(Numero - 1) : kAucuneLigne;
  if (Mode == MA_Transitoire) {
    if (TTableDeTransitoires* transitoires = Transitoires())
      (void)transitoires->Designer(ligne, Table_, Copier, static_cast<int32_t>(IndiceArticle));
    return;
  }
  Table = Table_;
  IndiceArticle = ligne;
}

void TArticle::DetacherTransitoire() {
  if (TTableDeTransitoires* transitoires = Transitoires())
    (void)transitoires->Designer(kAucuneLigne, nullptr, false, static_cast<int32_t>(IndiceArticle));
}

// ---------------------------------------------------------------------------------------------------
// Accessors

template <class TChamp>
TChamp* TArticle::ChampType(int32_t Index) const {
  auto* champ = dynamic_cast<TChamp*>(Table != nullptr ? Table->GetChamp(Index) : nullptr);
  if (champ == nullptr) throw EInvalidCast();
  return champ;
}

void TArticle::ExigerValide() const {
  if (!EstValide() || IndiceArticle >= kAucuneLigne)
    throw EArticleInvalide(Format("%s : l'article %d ne désigne plus de ligne"_ansi,
                                  {TemplateArray::NomDeClasse(ClassType()), Handle}));
}

uint32_t TArticle::GetChampCardinal(int32_t Index) const {
  return ChampType<TChampCardinal>(Index)->GetValeur(static_cast<int32_t>(IndiceArticle));
}
void TArticle::SetChampCardinal(int32_t Index, uint32_t Valeur) {
  ExigerValide();
  ChampType<TChampCardinal>(Index)->SetValeur(static_cast<int32_t>(IndiceArticle), Valeur);
}
int32_t TArticle::GetChampInteger(int32_t Index) const {
  return ChampType<TChampInteger>(Index)->GetValeur(static_cast<int32_t>(IndiceArticle));
}
void TArticle::SetChampInteger(int32_t Index, int32_t Valeur) {
  ExigerValide();
  ChampType<TChampInteger>(Index)->SetValeur(static_cast<int32_t>(IndiceArticle), Valeur);
}
std::string TArticle::GetChampString(int32_t Index) const {
  return ChampType<TChampString>(Index)->GetValeur(static_cast<int32_t>(IndiceArticle));
}
void TArticle::SetChampString(int32_t Index, const std::string& Valeur) {
  ExigerValide();
  ChampType<TChampString>(Index)->SetValeur(static_cast<int32_t>(IndiceArticle), Valeur);
}
TObject* TArticle::GetChampObject(int32_t Index) const {
  return ChampType<TChampObject>(Index)->GetValeur(static_cast<int32_t>(IndiceArticle));
}
void TArticle::SetChampObject(int32_t Index, TObject* Valeur) {
  ExigerValide();
  ChampType<TChampObject>(Index)->SetValeur(static_cast<int32_t>(IndiceArticle), Valeur);
}

// ---------------------------------------------------------------------------------------------------
// Editing

namespace {
bool Assignation(TArticle* Cible, TArticle* Source, bool Transitoire) {
  if (!Cible->EstValide() || Source == nullptr || !Source->EstValide()) return false;
  if (Source == Cible) return true;
  if (Cible->Mode != MA_Transitoire && Source->Mode != MA_Transitoire && Source->Table == Cible->Table &&
      Source->IndiceArticle == Cible->IndiceArticle)
    return true;
  switch (Cible->Mode) {
    case MA_Reference:
      Cible->Table = Source->Table;
      Cible->IndiceArticle = Source->IndiceArticle;
      return true;
    case MA_Table: return Cible->Table->AssignerLigne(Source, static_cast<int32_t>(Cible->IndiceArticle));
    case MA_Transitoire:
      return Transitoire ? Cible->Table->AssignerLigneTransitoire(Source, static_cast<int32_t>(Cible->IndiceArticle))
                         : Cible->Table->AssignerLigne(Source, static_cast<int32_t>(Cible->IndiceArticle));
  }
  return false;
}
}  // namespace

bool TArticle::Assigner(TArticle* Source) { return Assignation(this, Source, false); }
bool TArticle::AssignerTransitoire(TArticle* Source) { return Assignation(this, Source, true); }

void TArticle::LibererTransitoire() {
  if (TTableDeTransitoires* transitoires = Transitoires()) transitoires->ViderLigne(static_cast<int32_t>(IndiceArticle));
}

TErreur* TArticle::Creer(TCustomTable* Table_) {
  if (static_cast<uint32_t>(Table::InsererArticle(Table_, this)) != kAucuneLigne) return nullptr;
  return ErreurOperation(Format("%s.Creer : Impossible de créer l'article"_ansi, {TemplateArray::NomDeClasse(ClassType())}),
                         TexteErreurDe(Table_));
}

TErreur* TArticle::Modifier(TArticle* Source) {
  if (Source != nullptr && !Assigner(Source)) return new TErreur("TArticle.Modifier : Impossible d'assigner l'article");
  if (Mode != MA_Transitoire) return nullptr;
  // The origin is read before the write-back: when its table refuses the write, its own error code
  // is the reason, not the transient table's last one.
  TypeReferenceArticle origine;
  GetReference(origine);
  if (Table->ModifierLigne(static_cast<int32_t>(IndiceArticle) + 1, this)) return nullptr;
  TCustomTable* enCause = ReferenceArticle::EstReferenceNulle(origine) ? Table : origine.Table;
  return ErreurOperation(
      Format("%s.Modifier : Impossible de modifier l'article"_ansi, {TemplateArray::NomDeClasse(ClassType())}),
      TexteErreurDe(enCause));
}

TErreur* TArticle::TesterSuppression() {
  TypeReferenceArticle reference;
  GetReference(reference);
  if (ReferenceArticle::EstReferenceNulle(reference) ||
      !reference.Table->LigneExiste(static_cast<int32_t>(reference.IndiceArticle)))
    return nullptr;
  TPlanSuppression plan;
  return plan.Preparer(reference.Table, static_cast<int32_t>(reference.IndiceArticle));
}

TListeArticles* TArticle::ListeSupprimables(TListeArticles* Liste) {
  TListerArticleSupprimable lister(false);
  if (Liste != nullptr) (void)Liste->Traiter(&lister, 0);
  return new TListeArticles(lister.Liste, true);
}

TErreur* TArticle::Supprimer() {
  TCustomTable* table = Table;
  if (table != nullptr && table->SupprimerArticle(this)) {
    if (Mode != MA_Transitoire) {
      Table = nullptr;
      IndiceArticle = kAucuneLigne;
    }
    return nullptr;
  }
  return ErreurOperation(
      Format("%s.Supprimer : Impossible de supprimer l'article"_ansi, {TemplateArray::NomDeClasse(ClassType())}),
      TexteErreurDe(table));
}

void TArticle::Verifier(TypeOptionsVerification, TErreur*&) {}

void TArticle::TracerProprietes(TCustomTraceur*, std::string& Texte) { Texte.clear(); }
void TArticle::TracerElements(bool, TCustomTraceur*, std::string& Texte) { Texte.clear(); }

void TArticle::Tracer(bool Detail, TCustomTraceur* Traceur, std::string& Texte) {
  Texte.clear();
  if (Table == nullptr || IndiceArticle >= kAucuneLigne || !Table->TraceActive()) return;
  if (Detail) {
    Table->TracerArticle(static_cast<int32_t>(IndiceArticle), Texte, Traceur);
    return;
  }
  if (Traceur == nullptr) Traceur = Trace::TraceurParDefaut();
  std::string part;
  Traceur->TracerValeur("classe", TemplateArray::NomDeClasse(ClassType()), part);
  Texte += part;
  Traceur->SetNiveau(Traceur->Niveau() + 1);
  TracerProprietes(Traceur, part);
  Texte += part;
  TracerElements(Detail, Traceur, part);
  Texte += part;
  Traceur->SetNiveau(Traceur->Niveau() - 1);
  Traceur->FermerBloc("classe", part);
  Texte += part;
}

void TArticle::TexteTrace(std::string& Texte) {
  Texte.clear();
  if (Table != nullptr && IndiceArticle < kAucuneLigne) Table->TexteArticle(static_cast<int32_t>(IndiceArticle), Texte);
}

TArticle* TArticle::ArticleParDefaut(const TClass* Classe, TCustomTable* Table) {
  return Descripteur(Classe)->ArticleParDefaut(Table);
}
void TArticle::CreerIndex(const TClass* Classe, TTable* Table) { Descripteur(Classe)->CreerIndex(Table); }
void TArticle::CreerArticlesParDefaut(const TClass* Classe, TTable* Table) {
  Descripteur(Classe)->CreerArticlesParDefaut(Table);
}

void TArticle::SaveToXMLNode(TNoeudXML Parent, TypePartieXML Partie, TNoeudXML& Noeud) {
  Noeud = Parent.AjouterFils("article");
  // A transient describes its origin: the reference is the row that holds the values.
  TypeReferenceArticle reference;
  GetReference(reference);
  const bool designe = !ReferenceArticle::EstReferenceNulle(reference);
  Noeud.DefinirAttribut("numero", std::to_string(designe ? reference.IndiceArticle + 1 : kAucuneLigne));
  if (!designe) return;
  std::string valeur;
  for (int32_t i = 0; i < reference.Table->NombreChamps(); ++i) {
    TCustomChamp* colonne = reference.Table->GetChamp(i);
    TNoeudXML champ;
    colonne->SaveToXMLNode(Noeud, Partie, champ);
    colonne->TexteValeur(static_cast<int32_t>(reference.IndiceArticle), valeur);
    champ.DefinirTexte(ChaineUnicode::VersUnicode(valeur, ChaineUnicode::CP_WINDOWS_1252));
  }
}

void* TArticle::GetInterfaceEntry(const TGUID& iid) {
  if (iid == ISaveToXMLNode::IID) return static_cast<ISaveToXMLNode*>(this);
  return TObjetInterfacable::GetInterfaceEntry(iid);
}

TListeChampsPublies* TArticle::CreerListeChampsPublies(const TClass* Classe) {
  return Descripteur(Classe)->CreerListeChampsPublies(Classe);
}

int8_t Article::ComparerArticles(TArticle* A, TArticle* Autre) {
  if (A->ClassType() == Autre->ClassType()) {
    if (A == Autre) return 0;
    // An article without a row has no values: it orders before those that have one.
    if (A->Table == nullptr || A->IndiceArticle >= kAucuneLigne || Autre->Table == nullptr ||
        Autre->IndiceArticle >= kAucuneLigne) {
      const bool a = A->Table != nullptr && A->IndiceArticle < kAucuneLigne;
      const bool b = Autre->Table != nullptr && Autre->IndiceArticle < kAucuneLigne;
      return a == b ? 0 : (a ? 1 : -1);
    }
    return A->Table->ComparerArticle(static_cast<int32_t>(A->IndiceArticle), Autre);
  }
  return TemplateArray::ComparerTexteSansCasse(TemplateArray::NomDeClasse(Autre->ClassType()),
                                               TemplateArray::NomDeClasse(A->ClassType()));
}
