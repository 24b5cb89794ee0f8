#include "objectdb/articles/TraiterArticle.h"

#include "core/objects/Erreur.h"
#include "objectdb/articles/Article.h"
#include "objectdb/articles/ListeArticles.h"
#include "objectdb/columns/ChampReference.h"
#include "objectdb/tables/CustomTable.h"

NV_DEFINE_CLASS(TCustomTraiterArticle, TArticleEtReference)
NV_DEFINE_CLASS(TListerArticleSupprimable, TCustomTraiterArticle)
NV_DEFINE_CLASS(TVerifierArticle, TCustomTraiterArticle)
NV_DEFINE_CLASS(TTracerArticle, TCustomTraiterArticle)
NV_DEFINE_CLASS(TTesterSuppressionImpossible, TCustomTraiterArticle)
NV_DEFINE_CLASS(TTraiterDestruction, TCustomTraiterArticle)
NV_DEFINE_CLASS(TCustomFiltreArticle, TArticleEtReference)
NV_DEFINE_CLASS(TFiltreSuppressionReferencant, TCustomFiltreArticle)
NV_DEFINE_CLASS(TFiltreDestructionReferencant, TCustomFiltreArticle)

// ---------------------------------------------------------------------------------------------------
// Processors

bool TCustomTraiterArticle::Traiter(TListeArticles*) { return false; }

TListerArticleSupprimable::TListerArticleSupprimable(bool Temporaire)
    : TCustomTraiterArticle(Temporaire), Liste(new TListeArticles(true, 32, true)) {}

bool TListerArticleSupprimable::Traiter(TListeArticles*) {
  TArticle* article = GetArticle();
  if (article != nullptr && article->TesterSuppression() == nullptr) Liste->AjouterArticle(article);
  return false;
}

bool TVerifierArticle::Traiter(TListeArticles*) {
  TErreur* erreur = Reference.Table->VerifierReferences(static_cast<int32_t>(Reference.IndiceArticle));
  if (TArticle* article = GetArticle()) article->Verifier(Options, erreur);
  if (erreur != nullptr) {
    if (Erreur == nullptr) Erreur = new TErreur("Erreur Verification Articles");
    Erreur->AjouterFils(erreur);
  }
  return false;
}

bool TTracerArticle::Traiter(TListeArticles*) {
  TArticle* article = GetArticle();
  if (article == nullptr) return false;
  std::string texte;
  if (Resume) {
    if (!Texte.empty()) Texte += "\r\n";
    article->TexteTrace(texte);
  } else {
    article->Tracer(Detail, Traceur, texte);
  }
  Texte += texte;
  return false;
}

bool TTesterSuppressionImpossible::Traiter(TListeArticles*) {
  TArticle* article = GetArticle();
  Erreur = article != nullptr ? article->TesterSuppression() : nullptr;
  return Erreur != nullptr;
}

bool TTraiterDestruction::Traiter(TListeArticles*) {
  return !Reference.Table->SupprimerLigne(static_cast<int32_t>(Reference.IndiceArticle) + 1);
}

// ---------------------------------------------------------------------------------------------------
// Filters

bool TCustomFiltreArticle::Accepter(TChampReference*) { return true; }

bool TFiltreSuppressionReferencant::Accepter(TChampReference* Champ) {
  switch (Champ->RegleSuppressionReference) {
    case RSR_Suppression: return true;
    case RSR_SuppressionInterdite: SuppressionInterdite = true; return true;
    default: return false;
  }
}

bool TFiltreDestructionReferencant::Accepter(TChampReference* Champ) {
  switch (Champ->RegleSuppressionReference) {
    case RSR_Suppression: return true;
    case RSR_SuppressionInterdite: SuppressionInterdite = true; return false;
    case RSR_ValeurParDefaut: {
      // The current reference is the referencing row; the article it designates is replaced by the
      // default article of the referenced class in the referenced table.
      TypeReferenceArticle referencee;
      Champ->Reference(static_cast<int32_t>(Reference.IndiceArticle), referencee);
      TypeReferenceArticle valeur = ReferenceArticle::ReferenceArticleNulle;
      if (TArticle* defaut = TArticle::ArticleParDefaut(Champ->ClasseReferencee, referencee.Table))
        defaut->GetReference(valeur);
      // The default article itself being deleted cannot take its own place: that would leave the
      // row designating a row that is gone.
      if (ReferenceArticle::MemeArticle(valeur, referencee)) valeur = ReferenceArticle::ReferenceArticleNulle;
      if (!Champ->ReferenceNulle && ReferenceArticle::EstReferenceNulle(valeur)) {
        if (ChampRefusant == nullptr) ChampRefusant = Champ;
      } else {
        Remplacements.push_back({Champ, static_cast<int32_t>(Reference.IndiceArticle), valeur});
      }
      return false;
    }
    default: return false;
  }
}

void TFiltreDestructionReferencant::Appliquer(const std::vector<Remplacement>& Remplacements) {
  for (const Remplacement& r : Remplacements)
    if (r.Champ->Table != nullptr && r.Champ->Table->LigneExiste(r.Ligne))
      r.Champ->SetReference(r.Valeur.IndiceArticle, r.Valeur.Table, r.Ligne);
}
