#include "objectdb/tables/PlanSuppression.h"

#include "core/arrays/TemplateArray.h"
#include "core/objects/Erreur.h"
#include "core/values/Ansi1252.h"
#include "core/values/Format.h"
#include "objectdb/articles/Article.h"
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

// The value a reset puts in place of a reference to a deleted article of Champ's referenced class.
TypeReferenceArticle ValeurParDefaut(TChampReference* Champ, TCustomTable* TableReferencee) {
  TypeReferenceArticle valeur = ReferenceArticle::ReferenceArticleNulle;
  if (TArticle* defaut = TArticle::ArticleParDefaut(Champ->ClasseReferencee, TableReferencee))
    defaut->GetReference(valeur);
  return valeur;
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
  const TypeReferenceArticle reference{nullptr, static_cast<uint32_t>(Ligne), Table};
  // The columns typed with the row's class or one of its ancestors.
  for (TNoeudReferentiel* n = TReferentiel::Noeud(Table->ClasseArticle); n != nullptr; n = n->Parent()) {
    if (n->ChampsReferencants == nullptr) continue;
    for (int32_t c = 0; c < n->ChampsReferencants->GetNombreElements(); ++c) {
      auto* champ = dynamic_cast<TChampReference*>(n->ChampsReferencants->GetElement(c));
      if (champ == nullptr || champ->Table == nullptr || champ->Table->EstTransitoire()) continue;
      std::vector<int32_t> lignes;
      champ->LignesReferencant(reference, lignes);
      for (int32_t ligne : lignes) {
        switch (champ->RegleSuppressionReference) {
          case RSR_SuppressionInterdite: return Refus(Table, nullptr);
          case RSR_ValeurParDefaut: {
            const TypeReferenceArticle valeur = ValeurParDefaut(champ, Table);
            if (!champ->ReferenceNulle && ReferenceArticle::EstReferenceNulle(valeur))
              return Refus(Table, new TErreur(Format("Référence nulle non autorisée pour le champ %s.%s"_ansi,
                                                     {TemplateArray::NomDeClasse(champ->Table->ClasseArticle),
                                                      champ->Nom})));
            noeuds_[Rang].Remplacements.push_back({champ, ligne, valeur});
            break;
          }
          case RSR_Suppression: {
            if (vus_.count({champ->Table, ligne}) != 0) break;
            std::size_t fils;
            if (TErreur* raison = Examiner(champ->Table, ligne, fils)) return Refus(Table, raison);
            noeuds_[Rang].Fils.push_back(fils);
            break;
          }
          default: break;
        }
      }
    }
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
  for (const Remplacement& r : racine.Remplacements)
    if (r.Champ->Table->LigneExiste(r.Ligne)) r.Champ->SetReference(r.Valeur.IndiceArticle, r.Valeur.Table, r.Ligne);
  for (std::size_t fils : racine.Fils) ExecuterNoeud(fils, nullptr);
}

// The order of a deletion one by one: the row's before-deletion event, the resets of the rows that
// designate it, the deletion of the rows that go with it (each the same way), then the row itself.
void TPlanSuppression::ExecuterNoeud(std::size_t Rang, TArticle* Article) {
  const Noeud noeud = noeuds_[Rang];
  // A subscriber of an earlier event may have deleted the row meanwhile.
  if (!noeud.Table->LigneExiste(noeud.Ligne)) return;
  noeud.Table->DebuterSuppression(noeud.Ligne, Article);
  for (const Remplacement& r : noeud.Remplacements)
    if (r.Champ->Table->LigneExiste(r.Ligne)) r.Champ->SetReference(r.Valeur.IndiceArticle, r.Valeur.Table, r.Ligne);
  for (std::size_t fils : noeud.Fils) ExecuterNoeud(fils, nullptr);
  noeud.Table->TerminerSuppression(noeud.Ligne);
}
