#include "base/fichiers/SupPays.h"

#include <cstddef>
#include <cstring>

namespace SupPays {

namespace {

using FichierSup::CopierChaineCourte;
using E = TypeEnregistrementPays;

// The stored record: code at 0 (4 bytes), name at 4 (31), nationality at 35 (31).
constexpr int32_t kStockeCode = 0, kStockeNom = 4, kStockeNationalite = 35;

bool Lire(TFichierSup& f, const uint8_t* s, TypeGenreModif) {
  E* e = reinterpret_cast<E*>(f.Enregistrement());
  CopierChaineCourte(e->Code, 3, s + kStockeCode, 3);
  CopierChaineCourte(e->Nom, 30, s + kStockeNom, 30);
  CopierChaineCourte(e->Nationalite, 30, s + kStockeNationalite, 30);
  return true;
}

bool Ecrire(TFichierSup& f, uint8_t* s) {
  const E* e = reinterpret_cast<const E*>(f.Enregistrement());
  CopierChaineCourte(s + kStockeCode, 3, e->Code, 3);
  CopierChaineCourte(s + kStockeNom, 30, e->Nom, 30);
  CopierChaineCourte(s + kStockeNationalite, 30, e->Nationalite, 30);
  return true;
}

const TypeDescriptionFichier kDescription{
    "SupPays",
    ".PAY",
    0x28,
    6,
    sizeof(E),
    {
        {false, {{offsetof(E, Identifiant), 4, &Comparai::ComparerEntierBis}}},
        {false, {{offsetof(E, Code), 4, &Comparai::ComparerChaineCourte}}},
        {true, {{offsetof(E, Nom), 31, &Comparai::ComparerChaineCourte}}},
        {true, {{offsetof(E, Nationalite), 31, &Comparai::ComparerChaineCourte}}},
    },
    kOrdreIdentifiant,
    {{kTailleStockee, {}, &Lire}},
    &Ecrire,
    nullptr,
    false,
};

}  // namespace

TFichierSup& Fichier() {
  static TFichierSup fichier(kDescription);
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
