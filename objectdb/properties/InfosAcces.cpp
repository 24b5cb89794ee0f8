#include "objectdb/properties/InfosAcces.h"

#include <memory>
#include <unordered_set>

#include "objectdb/articles/ListeArticles.h"
#include "objectdb/columns/ChampReference.h"
#include "objectdb/schema/Referentiel.h"
#include "objectdb/tables/CustomTable.h"

const TCustomArray::Class* TInfosAcces::StaticClass() {
  static const TCustomArrayClassOf<TInfosAcces> descriptor("TInfosAcces", TArrayOfItemInfoAcces::StaticClass());
  return &descriptor;
}

// A filter that two steps share is freed once.
TInfosAcces::~TInfosAcces() {
  std::unordered_set<TObject*> liberes;
  for (int32_t i = 0; i < GetNombreElements(); ++i) {
    TObject* filtre = GetElement(i).Filtre;
    if (filtre != nullptr && liberes.insert(filtre).second) delete filtre;
  }
}

// ---------------------------------------------------------------------------------------------------
// TInfosAccesPourChamp

NV_DEFINE_CLASS(TInfosAccesPourChamp, TObjetAbonne)

bool TInfosAccesPourChamp::Recevoir(TObject*, TypeEventId, TObject*) {
  Invalide = true;
  return true;
}

void TInfosAccesPourChamp::ConstruireTables() {
  TablesParEtape.assign(static_cast<std::size_t>(InfosAcces->GetNombreElements()), {});
  for (int32_t i = 0; i < InfosAcces->GetNombreElements(); ++i) {
    const TypeItemInfoAcces& etape = InfosAcces->GetElement(i);
    for (TCustomTable* table : TReferentiel::TablesDeClasse(etape.ClasseArticle, Base)) {
      // Tables of transient copies hold no article of the database.
      if (table->EstTransitoire()) continue;
      TablesParEtape[static_cast<std::size_t>(i)].push_back(table);
      if (TCustomChamp* colonne = table->GetChamp(etape.NumeroChamp)) colonne->Abonner(this, {colonne->EventId});
    }
  }
}

TListeArticles* TInfosAccesPourChamp::ArticlesAtteints(const TypeReferenceArticle& Reference) {
  auto* liste = new TListeArticles(true, 32, true);
  if (!base_fixee_ && Reference.Table != nullptr) {
    Base = Reference.Table->Base;
    base_fixee_ = true;
  }
  ConstruireTables();
  (void)liste->Ajouter(Reference);
  std::unique_ptr<TTraitementInfosAcces> traitement(new TTraitementInfosAcces());
  for (int32_t i = 0; i < InfosAcces->GetNombreElements(); ++i) {
    const TypeItemInfoAcces& etape = InfosAcces->GetElement(i);
    traitement->ClasseArticle = etape.ClasseArticle;
    traitement->NumeroChamp = etape.NumeroChamp;
    traitement->Filtre = static_cast<TCustomFiltreArticle*>(etape.Filtre);
    traitement->Tables = &TablesParEtape[static_cast<std::size_t>(i)];
    // The walk drops the references to rows that are gone or to tables that are not indexed tables.
    (void)liste->Traiter(traitement.get(), 0);
    liste->Vider();
    if (traitement->Resultat != nullptr) {
      liste->CopierDepuis(traitement->Resultat, 0);
      traitement->Resultat->Vider();
    }
  }
  Invalide = false;
  return liste;
}

// ---------------------------------------------------------------------------------------------------
// TTraitementInfosAcces

NV_DEFINE_CLASS(TTraitementInfosAcces, TCustomTraiterArticle)

TTraitementInfosAcces::~TTraitementInfosAcces() { delete Resultat; }

TListeArticles* TTraitementInfosAcces::Liste() {
  if (Resultat == nullptr) Resultat = new TListeArticles(false, 32, true);
  return Resultat;
}

bool TTraitementInfosAcces::Traiter(TListeArticles*) {
  const TypeReferenceArticle a = Reference;
  TCustomChamp* colonne = a.Table->GetChamp(NumeroChamp);
  if (a.Table->ClasseArticle->InheritsFrom(ClasseArticle)) {
    if (colonne == nullptr) return false;
    TypeReferenceArticle cible = a;
    if (colonne->EstReference()) colonne->Reference(static_cast<int32_t>(a.IndiceArticle), cible);
    // A null reference reaches nothing.
    if (ReferenceArticle::EstReferenceNulle(cible)) return false;
    if (Filtre != nullptr) Filtre->SetReference(cible);
    if (Filtre == nullptr || Filtre->Accepter(dynamic_cast<TChampReference*>(colonne))) (void)Liste()->Ajouter(cible);
    return false;
  }
  for (TCustomTable* table : *Tables) {
    auto* references = dynamic_cast<TChampReference*>(table->GetChamp(NumeroChamp));
    if (references == nullptr) continue;
    std::unique_ptr<TListeArticles> referencants(references->ArticlesReferencant(a, Filtre));
    for (int32_t i = 0; i < referencants->GetNombreElements(); ++i) (void)Liste()->Ajouter(referencants->GetElement(i));
  }
  return false;
}
