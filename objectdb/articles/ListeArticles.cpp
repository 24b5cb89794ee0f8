#include "objectdb/articles/ListeArticles.h"

#include "core/objects/RamasseMiettes.h"
#include "objectdb/articles/Article.h"
#include "objectdb/articles/TraiterArticle.h"
#include "objectdb/columns/ChampReference.h"
#include "objectdb/tables/Table.h"

const TCustomArray::Class* TListeArticles::StaticClass() {
  static const TCustomArrayClassOf<TListeArticles> descriptor("TListeArticles", TArrayOfReferenceArticle::StaticClass());
  return &descriptor;
}

TListeArticles::TListeArticles(bool Collecte, int32_t ElementsParPage, bool Dynamique)
    : TArrayOfReferenceArticle(ElementsParPage, Dynamique, false) {
  if (Collecte) InscrireRamasseMiettes();
}

TListeArticles::TListeArticles(TListeArticles* Source, bool Collecte) : TListeArticles(Collecte, 32, true) {
  CopierDepuis(Source, 0);
}

TListeArticles::~TListeArticles() {
  DesinscrireRamasseMiettes();
  Etat = EI_Detruite;
}

void* TListeArticles::GetInterfaceEntry(const TGUID& iid) {
  if (iid == IArbreTemporaire::IID) return static_cast<IArbreTemporaire*>(this);
  return TArrayOfReferenceArticle::GetInterfaceEntry(iid);
}

void TListeArticles::InscrireRamasseMiettes() { TRamasseMiettes::Ajouter(this); }
void TListeArticles::DesinscrireRamasseMiettes() { TRamasseMiettes::Retirer(this); }
bool TListeArticles::EstInscrit() { return TRamasseMiettes::RangDe(this) >= 0; }

void TListeArticles::CopierDepuis(TListeArticles* Source, int32_t Depuis) {
  Vider();
  if (Source == nullptr || Depuis < 0) return;
  for (int32_t i = Depuis; i < Source->GetNombreElements(); ++i) Ajouter(Source->GetElement(i));
}

void TListeArticles::AjouterArticle(TArticle* Article) {
  if (Article == nullptr || !Article->EstValide()) return;
  TypeReferenceArticle reference;
  Article->GetReference(reference);
  Ajouter(reference);
}

void TListeArticles::AjouterReferencants(const std::vector<int32_t>& Lignes, TChampReference* Champ,
                                         TCustomFiltreArticle* Filtre) {
  for (int32_t ligne : Lignes) {
    const TypeReferenceArticle reference{nullptr, static_cast<uint32_t>(ligne), Champ->Table};
    if (Filtre != nullptr) Filtre->SetReference(reference);
    if (Filtre == nullptr || Filtre->Accepter(Champ)) Ajouter(reference);
  }
}

namespace {
// The reference still designates a row in use of an indexed table.
bool Vivante(const TypeReferenceArticle& R) {
  auto* table = dynamic_cast<TTable*>(R.Table);
  return table != nullptr && R.IndiceArticle < kAucuneLigne && table->LigneExiste(static_cast<int32_t>(R.IndiceArticle));
}
}  // namespace

// The current reference goes to the processor; a reference whose row is gone (before or because of
// its processing) leaves the list and the walk goes on at the same index.
bool TListeArticles::Traiter(TCustomTraiterArticle* Traitement, int32_t Depuis) {
  bool resultat = false;
  for (int32_t i = Depuis < 0 ? 0 : Depuis; i < GetNombreElements();) {
    const TypeReferenceArticle reference = GetElement(i);
    if (!Vivante(reference)) {
      SupprimerIndice(i, false);
      continue;
    }
    Traitement->IndiceCourant = i;
    Traitement->SetReference(reference);
    resultat = Traitement->Traiter(this);
    if (Vivante(reference)) ++i;
    else SupprimerIndice(i, false);
    if (resultat) break;
  }
  return resultat;
}
