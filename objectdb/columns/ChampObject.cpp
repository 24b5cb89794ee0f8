#include "objectdb/columns/ChampObject.h"

#include "core/objects/Arbre.h"
#include "core/objects/ClasseFinalisable.h"

template class TChampTemplate<TChampObjectTraits>;

NV_DEFINE_CHAMP_CLASS(TChampObject, TChampObjectTraits)

TChampObject::TChampObject(const std::string& Nom, TCustomTable* Table, const std::vector<int32_t>& Parametres,
                           bool LibererElements)
    : Base(Nom, Table, Parametres, LibererElements) {
  if (EstCalcule() && !Valeurs->GetLibererElements()) {
    delete Valeurs;
    Valeurs = new TArrayOfTObject(1024, true, true);
  }
}

TObject* TChampObject::ValeurCalculee(TObject* Articles, int32_t NumeroChamp) {
  auto* liste = static_cast<TListeArticles*>(Articles);
  if (liste == nullptr || liste->GetNombreElements() == 0) return nullptr;
  TCustomChamp* colonne = liste->GetElement(0).Table->GetChamp(NumeroChamp);
  if (colonne == nullptr) throw EInvalidCast();
  if (colonne->EstReference()) {
    liste->DesinscrireRamasseMiettes();
    return liste;
  }
  const int32_t nombre = liste->GetNombreElements();
  TCustomArray* tableau = colonne->CreerTableauValeurs(nombre);
  for (int32_t i = 0; i < nombre; ++i) {
    const TypeReferenceArticle article = liste->GetElement(i);
    TCustomChamp* source = article.Table->GetChamp(NumeroChamp);
    if (source == nullptr) {
      delete tableau;
      throw EInvalidCast();
    }
    source->AjouterValeurATableau(static_cast<int32_t>(article.IndiceArticle), tableau, i);
  }
  return tableau;
}

void TChampObject::SetValeur(int32_t Ligne, TObject* const& Objet) {
  if (Valeurs->GetLibererElements()) {
    auto* interfacable = dynamic_cast<IInterface*>(Objet);
    IArbreTemporaire* temporaire = nullptr;
    if (interfacable != nullptr &&
        interfacable->QueryInterface(IArbreTemporaire::IID, reinterpret_cast<void**>(&temporaire)) == 0 &&
        temporaire != nullptr)
      temporaire->DesinscrireRamasseMiettes();
  }
  Base::SetValeur(Ligne, Objet);
}

void ChampObject::Initialiser() {
  TracerModule("Initialisation du module ChampObject.");
  CustomChamp::EnregistrerClasseChamp(TChampObject::StaticClass());
}
