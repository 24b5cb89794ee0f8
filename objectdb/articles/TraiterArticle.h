// Article processors and filters. A processor is one operation applied to each article of a walk
// over an article list (TListeArticles::Traiter), which it may stop; a filter decides whether a row
// that designates an article, through a given reference column, belongs to the list of referencing
// articles, and the deletion filters apply the columns' deletion rules as they decide. Both hold the
// current reference (TArticleEtReference) and reach the current article through it.
//
// Main thread only. Made as collected temporary objects unless told otherwise: they are freed at the
// next turn of the main loop unless their user frees them first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/objects/Verification.h"
#include "objectdb/articles/ArticleEtReference.h"

class TChampReference;
class TCustomTraceur;
class TErreur;
class TListeArticles;

class TCustomTraiterArticle : public TArticleEtReference {
  NV_DECLARE_CLASS(TCustomTraiterArticle)
 public:
  explicit TCustomTraiterArticle(bool Temporaire = true) : TArticleEtReference(Temporaire) {}
  explicit TCustomTraiterArticle(TBlank b) : TArticleEtReference(b) {}

  // The position in the list of the article being processed.
  int32_t IndiceCourant = 0;
  // One step on the current article; True stops the walk. Nothing here.
  virtual bool Traiter(TListeArticles* Liste);
};

// Keeps the articles whose deletion test finds nothing against them.
class TListerArticleSupprimable : public TCustomTraiterArticle {
  NV_DECLARE_CLASS(TListerArticleSupprimable)
 public:
  explicit TListerArticleSupprimable(bool Temporaire = true);
  explicit TListerArticleSupprimable(TBlank b) : TCustomTraiterArticle(b) {}
  bool Traiter(TListeArticles* Liste) override;

  // Collected, page 32, dynamic.
  TListeArticles* Liste = nullptr;
};

// Gathers each row's reference errors and each article's own verification under one error.
class TVerifierArticle : public TCustomTraiterArticle {
  NV_DECLARE_CLASS(TVerifierArticle)
 public:
  TVerifierArticle(TypeOptionsVerification Options, TErreur* Erreur, bool Temporaire = true)
      : TCustomTraiterArticle(Temporaire), Options(Options), Erreur(Erreur) {}
  explicit TVerifierArticle(TBlank b) : TCustomTraiterArticle(b) {}
  bool Traiter(TListeArticles* Liste) override;

  TypeOptionsVerification Options{};
  // The gathering error: the one given at creation, else "Erreur Verification Articles" made at the
  // first article that reported something.
  TErreur* Erreur = nullptr;
};

// Gathers the articles' full traces or, with Resume, their short traces one per line.
class TTracerArticle : public TCustomTraiterArticle {
  NV_DECLARE_CLASS(TTracerArticle)
 public:
  TTracerArticle(TCustomTraceur* Traceur, bool Detail, bool Resume, bool Temporaire = true)
      : TCustomTraiterArticle(Temporaire), Traceur(Traceur), Detail(Detail), Resume(Resume) {}
  explicit TTracerArticle(TBlank b) : TCustomTraiterArticle(b) {}
  bool Traiter(TListeArticles* Liste) override;

  TCustomTraceur* Traceur = nullptr;
  bool Detail = false;
  std::string Texte;
  bool Resume = false;
};

// Stops on the first article whose deletion is refused; Erreur tells why.
class TTesterSuppressionImpossible : public TCustomTraiterArticle {
  NV_DECLARE_CLASS(TTesterSuppressionImpossible)
 public:
  using TCustomTraiterArticle::TCustomTraiterArticle;
  bool Traiter(TListeArticles* Liste) override;

  TErreur* Erreur = nullptr;
};

// Deletes each article through its table; stops on the first that cannot be deleted.
class TTraiterDestruction : public TCustomTraiterArticle {
  NV_DECLARE_CLASS(TTraiterDestruction)
 public:
  using TCustomTraiterArticle::TCustomTraiterArticle;
  bool Traiter(TListeArticles* Liste) override;
};

class TCustomFiltreArticle : public TArticleEtReference {
  NV_DECLARE_CLASS(TCustomFiltreArticle)
 public:
  explicit TCustomFiltreArticle(bool IgnorerTransitoires, bool Temporaire = true)
      : TArticleEtReference(Temporaire), IgnorerTransitoires(IgnorerTransitoires) {}
  explicit TCustomFiltreArticle(TBlank b) : TArticleEtReference(b) {}

  // The search for referencing articles skips the reference columns of transient tables.
  bool IgnorerTransitoires = false;
  // Whether the current reference (a row designating the article) is listed, Champ being the column
  // through which it does; True here.
  virtual bool Accepter(TChampReference* Champ);
};

// The deletion test: lists the rows of RSR_Suppression columns, and marks the deletion forbidden
// when it meets a row of an RSR_SuppressionInterdite column (which it lists too).
class TFiltreSuppressionReferencant : public TCustomFiltreArticle {
  NV_DECLARE_CLASS(TFiltreSuppressionReferencant)
 public:
  explicit TFiltreSuppressionReferencant(bool Temporaire = true) : TCustomFiltreArticle(true, Temporaire) {}
  explicit TFiltreSuppressionReferencant(TBlank b) : TCustomFiltreArticle(b) {}
  bool Accepter(TChampReference* Champ) override;

  bool SuppressionInterdite = false;
};

// The deletion cascade: lists the rows of RSR_Suppression columns (deleted with the article), and
// notes the resets of the rows of RSR_ValeurParDefaut columns, which AppliquerRemplacements carries
// out once the whole cascade is known to go ahead: a reset the column would refuse (a null reference
// where null is not allowed) and a row of an RSR_SuppressionInterdite column are noted as refusals.
class TFiltreDestructionReferencant : public TCustomFiltreArticle {
  NV_DECLARE_CLASS(TFiltreDestructionReferencant)
 public:
  explicit TFiltreDestructionReferencant(bool Temporaire = true) : TCustomFiltreArticle(true, Temporaire) {}
  explicit TFiltreDestructionReferencant(TBlank b) : TCustomFiltreArticle(b) {}
  bool Accepter(TChampReference* Champ) override;

  struct Remplacement {
    TChampReference* Champ;
    int32_t Ligne;
    TypeReferenceArticle Valeur;
  };
  std::vector<Remplacement> Remplacements;
  bool SuppressionInterdite = false;
  // The first column whose reset would leave a refused null reference; nil when none.
  TChampReference* ChampRefusant = nullptr;

  // Stores the noted resets in the rows that still exist.
  void AppliquerRemplacements() { Appliquer(Remplacements); }
  static void Appliquer(const std::vector<Remplacement>& Remplacements);
};
