#include "objectdb/tables/Table.h"

#include <memory>

#include "core/arrays/CustomArray.h"
#include "core/objects/Erreur.h"
#include "core/objects/Exceptions.h"
#include "core/values/Ansi1252.h"
#include "core/values/Format.h"
#include "objectdb/articles/Article.h"
#include "objectdb/articles/FabriqueArticles.h"
#include "objectdb/articles/ListeArticles.h"
#include "objectdb/articles/TraiterArticle.h"
#include "objectdb/columns/ChampReference.h"
#include "objectdb/indexes/Index.h"
#include "objectdb/schema/Referentiel.h"
#include "objectdb/tables/PlanSuppression.h"

const TClass* TTable::StaticClass() {
  static const TTableClassOf<TTable> descriptor("TTable", TCustomTable::StaticClass());
  return &descriptor;
}

namespace {

void AjouterAEnsemble(TypeEnsembleOctets& Ensemble, int32_t NumeroChamp) {
  Ensemble[static_cast<std::size_t>(NumeroChamp / 8)] |= static_cast<uint8_t>(1u << (NumeroChamp % 8));
}

// The transient copies whose origin is the row lose it: the origin columns of the transient tables
// are the reference columns of transient tables registered for the row's class.
void OublierOrigines(TCustomTable* Table, int32_t Ligne) {
  const TypeReferenceArticle reference{nullptr, static_cast<uint32_t>(Ligne), Table};
  TNoeudReferentiel* noeud = TReferentiel::Noeud(Table->ClasseArticle);
  if (noeud == nullptr || noeud->ChampsReferencants == nullptr) return;
  for (int32_t c = 0; c < noeud->ChampsReferencants->GetNombreElements(); ++c) {
    auto* champ = dynamic_cast<TChampReference*>(noeud->ChampsReferencants->GetElement(c));
    if (champ != nullptr && champ->Table != nullptr && champ->Table->EstTransitoire())
      (void)champ->AnnulerReferences(reference);
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------------------
// Life

TTable::TTable(const TClass* ClasseArticle, TBase* Base, bool AvecIndexParDefaut, int32_t ElementsParPage)
    : TCustomTable(ClasseArticle, Base, ElementsParPage) {
  if (NombreChamps() > kNombreChampsMax)
    throw EStructureTable(Format("Table de '%s' : %d champs, au plus %d pour une table indexée"_ansi,
                                 {TemplateArray::NomDeClasse(ClasseArticle), NombreChamps(), kNombreChampsMax}));
  Etat = EI_Valide;
  Fabrique = new TFabriqueArticles(this);
  IndexDoublon = static_cast<int32_t>(kAucuneLigne);
  Indexes = new TArrayOfIndex(32, true, false);
  Indexes->SetAvecDoublons(false);
  if (AvecIndexParDefaut) {
    IndexParDefaut = AjouterIndex("Index0", std::vector<TypeDefinitionCle>{}, ruiSansRegle);
    CreerIndex();
    TArticle::CreerIndex(ClasseArticle, this);
  }
  NombreIndexStructure = NombreIndex();
}

TTable::~TTable() {
  Etat = EI_Detruite;
  delete Fabrique;
  Fabrique = nullptr;
  if (Indexes != nullptr)
    for (int32_t i = 0; i < Indexes->GetNombreElements(); ++i) delete Indexes->GetElement(i);
  delete Indexes;
  Indexes = nullptr;
}

void TTable::CreerArticlesParDefaut() { TArticle::CreerArticlesParDefaut(ClasseArticle, this); }

// ---------------------------------------------------------------------------------------------------
// Indexes

int32_t TTable::AjouterIndex(const std::string& Nom, const std::vector<TypeDefinitionCle>& Cles, TypeRegleUnicite Regle) {
  std::unique_ptr<TIndex> index;
  try {
    index = std::make_unique<TIndex>(Nom, this, Cles, Regle);
  } catch (const Exception&) {
    return static_cast<int32_t>(kAucuneLigne);
  }
  const int32_t position = Indexes->Ajouter(index.get());
  if (position < 0) return -1;
  (void)index.release();
  return position;
}

int32_t TTable::AjouterIndex(const std::string& Nom, const std::vector<int32_t>& Triples, TypeRegleUnicite Regle) {
  std::vector<TypeDefinitionCle> cles;
  for (std::size_t i = 0; i + 2 < Triples.size(); i += 3) cles.push_back({Triples[i], Triples[i + 1] != 0, Triples[i + 2]});
  return AjouterIndex(Nom, cles, Regle);
}

bool TTable::IndexValide(int32_t IndexPos) {
  if (Indexes != nullptr && IndexPos >= 0 && IndexPos < Indexes->GetNombreElements() &&
      Indexes->GetElement(IndexPos) != nullptr)
    return true;
  DerniereErreur = kIndexNonExistant;
  return false;
}

TIndex* TTable::Index(int32_t IndexPos) { return IndexValide(IndexPos) ? Indexes->GetElement(IndexPos) : nullptr; }

template <class F>
void TTable::ParcourirLignes(F&& Traiter) {
  if (NombreIndex() == 0 || Indexes->GetElement(0) == nullptr) return;
  TIndex* index = Indexes->GetElement(0);
  for (int32_t p = 1;; ++p) {
    const uint32_t ligne = index->LigneDePosition(p);
    if (ligne == kAucuneLigne) return;
    Traiter(static_cast<int32_t>(ligne));
  }
}

// ---------------------------------------------------------------------------------------------------
// Writing

bool TTable::EcrireArticle(TArticle* Article, int32_t& Ligne) {
  if (Article == nullptr || Article->Table == nullptr || Article->IndiceArticle >= kAucuneLigne) {
    DerniereErreur = kArticleInexistant;
    return false;
  }
  const bool nouveau = static_cast<uint32_t>(Ligne) == kAucuneLigne;
  if (!nouveau && !LigneExiste(Ligne)) {
    DerniereErreur = kArticleInexistant;
    return false;
  }
  // Without a column no row is ever in use: such a table holds nothing.
  if (nouveau && NombreChamps() == 0) {
    DerniereErreur = kTablePleine;
    return false;
  }
  TCustomTable* source = Article->Table;
  const auto ligneSource = static_cast<int32_t>(Article->IndiceArticle);

  // 1-3. The changed columns. The article's columns are those of this table (its own, or its
  // transient table's): anything else is refused before anything changes.
  TypeEnsembleOctets ensemble{};
  std::vector<int32_t> modifies;
  for (int32_t i = 0; i < NombreChamps(); ++i) {
    TCustomChamp* colonneSource = source->GetChamp(i);
    if (colonneSource == nullptr || colonneSource->ClassType() != Champs->GetElement(i)->ClassType()) throw EInvalidCast();
    bool change = nouveau;
    if (!change) {
      const int8_t r = Champs->GetElement(i)->ComparerLignes(colonneSource, ligneSource, Ligne, 0, nullptr);
      change = r == -1 || r == 1;
    }
    if (!change) continue;
    AjouterAEnsemble(ensemble, i);
    modifies.push_back(i);
  }
  if (modifies.empty()) return true;

  // 4. No index position above 0 may hold the key already.
  if (Etat != EI_EnChargement) {
    IndexDoublon = static_cast<int32_t>(kAucuneLigne);
    for (int32_t p = 1; p < NombreIndex(); ++p) {
      TIndex* index = Indexes->GetElement(p);
      if (index != nullptr && index->Doublon(Article, ensemble)) {
        IndexDoublon = p;
        DerniereErreur = kDoublon;
        return false;
      }
    }
  }

  // 5. The row, and the indexes let go of it.
  const bool depuisLibres = nouveau && LignesLibres->GetNombreElements() > 0;
  if (nouveau) {
    if (!AllouerLigne(Ligne)) return false;
  } else {
    for (int32_t p = 0; p < NombreIndex(); ++p)
      if (TIndex* index = Indexes->GetElement(p)) index->RetirerLigne(static_cast<uint32_t>(Ligne), ensemble, false);
  }

  // 6-7. The values, the former ones kept until the indexes have taken the row.
  Notifier(CustomTable::EventTableAvantEcriture(), Article);
  std::vector<TCustomArray*> anciennes;
  for (int32_t i : modifies) {
    TCustomChamp* champ = Champs->GetElement(i);
    if (champ->EstCalcule()) {
      anciennes.push_back(nullptr);
      continue;
    }
    TCustomArray* ancienne = nullptr;
    if (!nouveau) {
      ancienne = champ->CreerTableauValeurs(0);
      champ->AjouterValeurATableau(Ligne, ancienne, 0);
    }
    anciennes.push_back(ancienne);
    champ->DesindexerLigne(Ligne, false);
    champ->CopierValeur(source->GetChamp(i), ligneSource, Ligne);
    (void)champ->IndexerLigne(Ligne);
  }

  // 8. Every index takes the row; a refusal undoes the write.
  bool ecrit = true;
  for (int32_t p = 0; p < NombreIndex(); ++p) {
    TIndex* index = Indexes->GetElement(p);
    if (index == nullptr || index->InsererLigne(static_cast<uint32_t>(Ligne), ensemble, nouveau, false)) continue;
    for (int32_t q = 0; q < p; ++q)
      if (TIndex* avant = Indexes->GetElement(q)) avant->RetirerLigne(static_cast<uint32_t>(Ligne), ensemble, nouveau);
    AnnulerEcriture(Ligne, nouveau, ensemble, modifies, anciennes);
    if (nouveau) {
      RendreLigne(Ligne, depuisLibres);
      Ligne = static_cast<int32_t>(kAucuneLigne);
    }
    DerniereErreur = kErreurIndexation;
    ecrit = false;
    break;
  }
  for (TCustomArray* a : anciennes) delete a;

  // 9. Subscribers hear of a write only when one took place.
  if (ecrit) Notifier(CustomTable::EventTableApresEcriture(), Article);
  return ecrit;
}

void TTable::AnnulerEcriture(int32_t Ligne, bool Nouveau, const TypeEnsembleOctets& Ensemble,
                             const std::vector<int32_t>& Modifies, const std::vector<TCustomArray*>& Anciennes) {
  for (std::size_t k = 0; k < Modifies.size(); ++k) {
    TCustomChamp* champ = Champs->GetElement(Modifies[k]);
    if (champ->EstCalcule()) continue;
    champ->DesindexerLigne(Ligne, true);
    if (Nouveau) continue;
    champ->RestaurerValeur(Anciennes[k], 0, Ligne);
    (void)champ->IndexerLigne(Ligne);
  }
  if (Nouveau) return;
  // The row, with its former values, goes back into the indexes that let go of it.
  for (int32_t p = 0; p < NombreIndex(); ++p)
    if (TIndex* index = Indexes->GetElement(p)) (void)index->InsererLigne(static_cast<uint32_t>(Ligne), Ensemble, false, false);
}

// ---------------------------------------------------------------------------------------------------
// Deleting

bool TTable::SupprimerArticle(TArticle* Article) {
  const uint32_t ligne = Article != nullptr && Article->Table == this ? Article->IndiceArticle : kAucuneLigne;
  if (ligne >= kAucuneLigne || !LigneExiste(static_cast<int32_t>(ligne))) {
    DerniereErreur = kArticleInexistant;
    return false;
  }
  // The article's own test (which a class may refine), then the cascade examined whole.
  TPlanSuppression plan;
  if (Article->TesterSuppression() != nullptr || plan.Preparer(this, static_cast<int32_t>(ligne)) != nullptr) {
    DerniereErreur = kSuppressionImpossible;
    return false;
  }
  plan.Executer(true, Article);
  return true;
}

bool TTable::SupprimerLigne(int32_t Numero) {
  const int32_t ligne = Numero > 0 ? Numero - 1 : static_cast<int32_t>(kAucuneLigne);
  if (!LigneExiste(ligne)) {
    DerniereErreur = kArticleInexistant;
    return false;
  }
  return SupprimerArticle(ArticleDeNumero(Numero, false));
}

void TTable::DebuterSuppression(int32_t Ligne, TArticle* Article) {
  Notifier(CustomTable::EventTableAvantSuppression(), Article != nullptr ? Article : Fabrique->ArticleDeLigne(Ligne));
}

void TTable::TerminerSuppression(int32_t Ligne) {
  for (int32_t i = 0; i < NombreChamps(); ++i) Champs->GetElement(i)->DesindexerLigne(Ligne, true);
  for (int32_t p = 0; p < NombreIndex(); ++p)
    if (TIndex* index = Indexes->GetElement(p)) index->RetirerLigne(static_cast<uint32_t>(Ligne), TypeEnsembleOctets{}, true);
  OublierOrigines(this, Ligne);
  if (LibererLigne(Ligne + 1)) Fabrique->LibererLigne(Ligne);
  Notifier(CustomTable::EventTableApresSuppression(), nullptr);
}

// ---------------------------------------------------------------------------------------------------
// Structure copy

void TTable::AssignerStructure(TCustomTable* Source, TBase* BaseSource, TBase* BaseDestination) {
  auto* source = dynamic_cast<TTable*>(Source);
  if (source == nullptr) throw EInvalidCast();
  TCustomTable::AssignerStructure(Source, BaseSource, BaseDestination);
  Base = BaseDestination;
  delete Fabrique;
  Fabrique = new TFabriqueArticles(this);
  if (Indexes != nullptr)
    for (int32_t i = 0; i < Indexes->GetNombreElements(); ++i) delete Indexes->GetElement(i);
  delete Indexes;
  Indexes = new TArrayOfIndex(32, true, false);
  Indexes->SetAvecDoublons(false);
  Indexes->Assigner(source->Indexes, new TParametreAssignationIndex(BaseSource, BaseDestination, Source, this));
  IndexParDefaut = source->IndexParDefaut;
  IndexDoublon = static_cast<int32_t>(kAucuneLigne);
  Etat = EI_Valide;
}

// ---------------------------------------------------------------------------------------------------
// Navigation

TArticle* TTable::ArticleDeNumero(int32_t Numero, bool Transitoire) {
  const int32_t ligne = Numero > 0 ? Numero - 1 : static_cast<int32_t>(kAucuneLigne);
  if (!LigneExiste(ligne)) {
    DerniereErreur = kArticleInexistant;
    return nullptr;
  }
  if (Transitoire) return TArticle::CreerTransitoire(ClasseArticle, this, Numero);
  return Fabrique->ArticleDeLigne(ligne);
}

TArticle* TTable::ArticleDePosition(int32_t IndexPos, int32_t Position, bool Transitoire) {
  if (!IndexValide(IndexPos)) return nullptr;
  const uint32_t ligne = Indexes->GetElement(IndexPos)->LigneDePosition(Position);
  if (ligne == kAucuneLigne) {
    DerniereErreur = kArticleInexistant;
    return nullptr;
  }
  TArticle* article = ArticleDeNumero(static_cast<int32_t>(ligne) + 1, Transitoire);
  if (article != nullptr) article->Position = Position;
  return article;
}

int32_t TTable::Chercher(TArticle* Article, int32_t IndexPos, uint8_t& Resultat) {
  Resultat = kIndexApresDernier;
  if (!IndexValide(IndexPos)) return static_cast<int32_t>(kAucuneLigne);
  int32_t position;
  bool doublon;
  Resultat = Indexes->GetElement(IndexPos)->ChercherArticle(Article, position, doublon);
  return position;
}

int32_t TTable::LigneDePosition(int32_t Position, int32_t IndexPos) {
  if (static_cast<uint32_t>(Position) >= kAucuneLigne) {
    DerniereErreur = kArticleInexistant;
    return static_cast<int32_t>(kAucuneLigne);
  }
  if (!IndexValide(IndexPos)) return static_cast<int32_t>(kAucuneLigne);
  const uint32_t ligne = Indexes->GetElement(IndexPos)->LigneDePosition(Position);
  return ligne == kAucuneLigne ? static_cast<int32_t>(kAucuneLigne) : static_cast<int32_t>(ligne) + 1;
}

TListeArticles* TTable::ListeArticles(int32_t IndexPos) {
  if (!IndexValide(IndexPos)) return nullptr;
  return Indexes->GetElement(IndexPos)->ListeArticles();
}

int32_t TTable::TraiterArticles(int32_t IndexPos, TCustomTraiterArticle* Traitement) {
  const std::unique_ptr<TListeArticles> liste(ListeArticles(IndexPos));
  return liste != nullptr && liste->Traiter(Traitement, 0) ? 1 : 0;
}

TListeArticles* TTable::ListeReferencants(const TypeReferenceArticle& Reference, int32_t NumeroChamp,
                                          TCustomFiltreArticle* Filtre) {
  auto* champ = dynamic_cast<TChampReference*>(GetChamp(NumeroChamp));
  if (champ == nullptr) throw EInvalidCast();
  return champ->ArticlesReferencant(Reference, Filtre);
}

// ---------------------------------------------------------------------------------------------------
// Texts and verification

void TTable::Verifier(TypeOptionsVerification Options, TErreur*& Erreur) {
  TVerifierArticle verifier(Options, Erreur, false);
  (void)TraiterArticles(0, &verifier);
  Erreur = verifier.Erreur;
}

void TTable::TracerEntete(TCustomTraceur* Traceur, std::string& Texte) {
  TCustomTable::TracerEntete(Traceur, Texte);
  if (!TraceActive()) return;
  if (Traceur == nullptr) Traceur = Trace::TraceurParDefaut();
  std::string ligne;
  Traceur->TracerPropriete("Nombre Articles", std::to_string(NombreArticles), ligne);
  Texte += ligne;
}

void TTable::TracerContenu(bool Detail, TCustomTraceur* Traceur, std::string& Texte) {
  Texte.clear();
  if (!TraceActive()) return;
  if (Traceur == nullptr) Traceur = Trace::TraceurParDefaut();
  std::string part;
  Traceur->TracerValeur("table", "TTable (" + TemplateArray::NomDeClasse(ClasseArticle) + ")", part);
  Texte += part;
  Traceur->SetNiveau(Traceur->Niveau() + 1);
  // Each row's shared article traces itself, so that an article class's own trace lines are there.
  ParcourirLignes([&](int32_t ligne) {
    if (TArticle* article = Fabrique != nullptr ? Fabrique->ArticleDeLigne(ligne) : nullptr) {
      article->Tracer(Detail, Traceur, part);
      Texte += part;
    }
  });
  Traceur->SetNiveau(Traceur->Niveau() - 1);
  Traceur->FermerBloc("table", part);
  Texte += part;
}

void TTable::TracerComplet(bool Detail, TCustomTraceur* Traceur, std::string& Texte) {
  if (Detail) TCustomTable::TracerComplet(Detail, Traceur, Texte);
  else TCustomTable::TexteResume(Texte);
}

void TTable::TexteResume(std::string& Texte) {
  Texte.clear();
  if (!TraceActive()) return;
  std::string ligne;
  bool premier = true;
  ParcourirLignes([&](int32_t l) {
    TexteArticle(l, ligne);
    if (!premier) Texte += "\r\n";
    Texte += ligne;
    premier = false;
  });
}

// ---------------------------------------------------------------------------------------------------

int32_t Table::InsererArticle(TCustomTable* Table, TArticle* Article) {
  if (Article == nullptr) return static_cast<int32_t>(kAucuneLigne);
  Article->DetacherTransitoire();
  if (Table == nullptr) return static_cast<int32_t>(kAucuneLigne);
  int32_t ligne = static_cast<int32_t>(kAucuneLigne);
  if (!Table->EcrireArticle(Article, ligne)) return static_cast<int32_t>(kAucuneLigne);
  Article->Designer(Table, ligne + 1, false);
  return ligne + 1;
}

// ---------------------------------------------------------------------------------------------------
// XML

namespace {
// Writes the article of each processed reference under a node.
class TSaveArticleToXMLNode : public TCustomTraiterArticle {
 public:
  TSaveArticleToXMLNode(TNoeudXML Parent, TypePartieXML Partie) : Parent(Parent), Partie(Partie) {}
  bool Traiter(TListeArticles*) override {
    if (TArticle* article = GetArticle()) {
      TNoeudXML noeud;
      article->SaveToXMLNode(Parent, Partie, noeud);
    }
    return false;
  }
  TNoeudXML Parent;
  TypePartieXML Partie;
};
}  // namespace

void TTable::SaveToXMLNode(TNoeudXML Parent, TypePartieXML Partie, TNoeudXML& Noeud) {
  TCustomTable::SaveToXMLNode(Parent, Partie, Noeud);
  if (Partie == PX_Schema) {
    for (int32_t i = 1; i < NombreIndexStructure && i < NombreIndex(); ++i) {
      TNoeudXML index;
      Indexes->GetElement(i)->SaveToXMLNode(Noeud, Partie, index);
    }
  } else if (Partie == PX_Data) {
    const std::unique_ptr<TSaveArticleToXMLNode> traitement(new TSaveArticleToXMLNode(Noeud, Partie));
    (void)TraiterArticles(0, traitement.get());
  }
}
