#include "objectdb/tables/PlanSuppression.h"

#include <memory>

#include "core/arrays/TemplateArray.h"
#include "core/objects/Erreur.h"
#include "core/values/Ansi1252.h"
#include "core/values/Format.h"
#include "objectdb/articles/ListeArticles.h"
#include "objectdb/columns/ChampReference.h"
#include "objectdb/schema/Referentiel.h"
#include "objectdb/tables/CustomTable.h"

namespace {

TErreur* Refus(TCustomTable* Table, TErreur* Raison) {
  auto* erreur =
      new TErreur(Format("Suppression article Impossible : %s", {TemplateArray::NomDeClasse(Table->ClasseArticle)}));
  if (Raison != nullptr) erreur->AjouterFils(Raison);
  return erreur;
}

}  // namespace

TErreur* TPlanSuppression::Preparer(TCustomTable* Table, int32_t Ligne) {
  noeuds_.clear();
  vus_.clear();
  std::size_t racine;
  return Examiner(Table, Ligne, racine);
}

TErreur* TPlanSuppression::Examiner(TCustomTable* Table, int32_t Ligne, std::size_t& Rang) {
  vus_.insert({Table, Ligne});
  Rang = noeuds_.size();
  noeuds_.push_back({Table, Ligne, {}, {}});
  TFiltreDestructionReferencant filtre(false);
  const std::unique_ptr<TListeArticles> referencants(
      TReferentiel::ArticlesReferencants({nullptr, static_cast<uint32_t>(Ligne), Table}, &filtre, nullptr, true));
  if (filtre.SuppressionInterdite) return Refus(Table, nullptr);
  if (TChampReference* champ = filtre.ChampRefusant)
    return Refus(Table, new TErreur(Format("Référence nulle non autorisée pour le champ %s.%s"_ansi,
                                           {TemplateArray::NomDeClasse(champ->Table->ClasseArticle), champ->Nom})));
  noeuds_[Rang].Remplacements = std::move(filtre.Remplacements);
  for (int32_t i = 0; i < referencants->GetNombreElements(); ++i) {
    const TypeReferenceArticle r = referencants->GetElement(i);
    const auto ligne = static_cast<int32_t>(r.IndiceArticle);
    if (vus_.count({r.Table, ligne}) != 0) continue;
    std::size_t fils;
    if (TErreur* raison = Examiner(r.Table, ligne, fils)) return Refus(Table, raison);
    noeuds_[Rang].Fils.push_back(fils);
  }
  return nullptr;
}

void TPlanSuppression::Executer(bool AvecRacine, TArticle* Article) {
  if (noeuds_.empty()) return;
  if (AvecRacine) {
    ExecuterNoeud(0, Article);
    return;
  }
  const Noeud& racine = noeuds_.front();
  TFiltreDestructionReferencant::Appliquer(racine.Remplacements);
  for (std::size_t fils : racine.Fils) ExecuterNoeud(fils, nullptr);
}

// The order of a deletion one by one: the row's before-deletion event, the resets of the rows that
// designate it, the deletion of the rows that go with it (each the same way), then the row itself.
void TPlanSuppression::ExecuterNoeud(std::size_t Rang, TArticle* Article) {
  const Noeud noeud = noeuds_[Rang];
  // A subscriber of an earlier event may have deleted the row meanwhile.
  if (!noeud.Table->LigneExiste(noeud.Ligne)) return;
  noeud.Table->DebuterSuppression(noeud.Ligne, Article);
  TFiltreDestructionReferencant::Appliquer(noeud.Remplacements);
  for (std::size_t fils : noeud.Fils) ExecuterNoeud(fils, nullptr);
  noeud.Table->TerminerSuppression(noeud.Ligne);
}
