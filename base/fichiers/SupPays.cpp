#include "base/fichiers/SupPays.h"

#include <cstddef>
#include <cstring>

#include "base/fichiers/DeclarationFichier.h"

namespace SupPays {

namespace {

using E = TypeEnregistrementPays;

// The stored record: code at 0 (4 bytes), name at 4 (31), nationality at 35 (31).
constexpr int32_t kStockeCode = 0, kStockeNom = 4, kStockeNationalite = 35;

using namespace Champ;
const TypeDescriptionFichier& DescriptionFichier() {
  static const TypeDescriptionFichier d = DeclarationFichier::Decrire({
      "SupPays", ".PAY", 0x28, 6, kTailleStockee, false,
      {Identifiant(), Chaine("Code", 3, kStockeCode), Chaine("Nom", 30, kStockeNom),
       Chaine("Nationalite", 30, kStockeNationalite)},
      {{false, {"Identifiant"}}, {false, {"Code"}}, {true, {"Nom"}}, {true, {"Nationalite"}}},
  });
  return d;
}

}  // namespace

TFichierSup& Fichier() {
  static TFichierSup fichier(DescriptionFichier(), &CreerPaysParDefaut);
  return fichier;
}

TypeEnregistrementPays* Article() { return reinterpret_cast<E*>(Fichier().Enregistrement()); }

bool CreerPays(const std::string& Nom, const std::string& Nationalite, const std::string& Code) {
  uint8_t stocke[kTailleStockee] = {};
  FichierSup::EcrireChaineCourte(stocke + kStockeCode, 3, Code);
  FichierSup::EcrireChaineCourte(stocke + kStockeNom, 30, Nom);
  FichierSup::EcrireChaineCourte(stocke + kStockeNationalite, 30, Nationalite);
  return Fichier().Creer(kCodeCreerPays, stocke, kTailleStockee, [&] {
    FichierSup::EcrireChaineCourte(Article()->Code, 3, Code);
    FichierSup::EcrireChaineCourte(Article()->Nom, 30, Nom);
    FichierSup::EcrireChaineCourte(Article()->Nationalite, 30, Nationalite);
  });
}

bool CreerPaysParDefaut() { return Fichier().ContenuParDefaut(kCodeCreerPaysParDefaut); }

std::string NationaliteDe(uint32_t NumeroArticle) {
  return Fichier().ChaineDe(NumeroArticle, offsetof(E, Nationalite), 30);
}

}  // namespace SupPays
