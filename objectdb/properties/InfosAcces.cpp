#include "objectdb/properties/InfosAcces.h"

#include <unordered_set>

#include "core/objects/Exceptions.h"
#include "objectdb/arrays/ArrayOfReferenceArticle.h"
#include "objectdb/columns/ChampReference.h"
#include "objectdb/indexes/Index.h"
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

namespace {
std::unique_ptr<TArrayOfReferenceArticle> NouvelleListe() {
  return std::make_unique<TArrayOfReferenceArticle>(32, true, false);
}
}  // namespace

TArrayOfReferenceArticle* TInfosAccesPourChamp::ArticlesAtteints(const TypeReferenceArticle& Reference) {
  std::unique_ptr<TArrayOfReferenceArticle> liste = NouvelleListe();
  if (!base_fixee_ && Reference.Table != nullptr) {
    Base = Reference.Table->Base;
    base_fixee_ = true;
  }
  ConstruireTables();
  (void)liste->Ajouter(Reference);
  TTraitementInfosAcces traitement;
  for (int32_t i = 0; i < InfosAcces->GetNombreElements(); ++i) {
    const TypeItemInfoAcces& etape = InfosAcces->GetElement(i);
    traitement.ClasseArticle = etape.ClasseArticle;
    traitement.NumeroChamp = etape.NumeroChamp;
    traitement.Filtre = etape.Filtre;
    traitement.Tables = &TablesParEtape[static_cast<std::size_t>(i)];
    for (int32_t r = 0; r < liste->GetNombreElements(); ++r) {
      const TypeReferenceArticle a = liste->GetElement(r);
      // Only live rows of database tables are walked.
      if (a.Table == nullptr || a.Table->EstTransitoire() || !a.Table->LigneExiste(static_cast<int32_t>(a.IndiceArticle)))
        continue;
      traitement.Traiter(a);
    }
    liste = std::move(traitement.Resultat);
    traitement.Resultat = NouvelleListe();
  }
  Invalide = false;
  return liste.release();
}

// ---------------------------------------------------------------------------------------------------
// TTraitementInfosAcces

TTraitementInfosAcces::TTraitementInfosAcces() : Resultat(NouvelleListe()) {}
TTraitementInfosAcces::~TTraitementInfosAcces() = default;

void TTraitementInfosAcces::Accepter(const TypeReferenceArticle& Reference) {
  if (Filtre != nullptr) throw ENonConstruit("TCustomFiltreArticle: article filters are not built yet");
  (void)Resultat->Ajouter(Reference);
}

void TTraitementInfosAcces::Traiter(const TypeReferenceArticle& A) {
  TCustomChamp* colonne = A.Table->GetChamp(NumeroChamp);
  if (A.Table->ClasseArticle->InheritsFrom(ClasseArticle)) {
    if (colonne == nullptr) return;
    TypeReferenceArticle cible = A;
    if (colonne->EstReference()) colonne->Reference(static_cast<int32_t>(A.IndiceArticle), cible);
    if (!ReferenceArticle::EstReferenceNulle(cible)) Accepter(cible);
    return;
  }
  for (TCustomTable* table : *Tables) {
    auto* references = dynamic_cast<TChampReference*>(table->GetChamp(NumeroChamp));
    if (references == nullptr) continue;
    for (uint32_t ligne : references->LignesReferencant(A)) Accepter({nullptr, ligne, table});
  }
}
