#include "base/fichiers/SupModaliteAdmission.h"

#include <cstddef>
#include <cstring>

namespace SupModaliteAdmission {

namespace {

using E = TypeEnregistrementModalite;

bool Lire(TFichierSup& f, const uint8_t* s, TypeGenreModif) {
  FichierSup::CopierChaineCourte(reinterpret_cast<E*>(f.Enregistrement())->Nom, 60, s, 60);
  return true;
}

bool Ecrire(TFichierSup& f, uint8_t* s) {
  FichierSup::CopierChaineCourte(s, 60, reinterpret_cast<const E*>(f.Enregistrement())->Nom, 60);
  return true;
}

const TypeDescriptionFichier kDescription{
    "SupModaliteAdmission",
    ".MAD",
    0x2E,
    5,
    sizeof(E),
    {
        {false, {{offsetof(E, Identifiant), 4, &Comparai::ComparerEntierBis}}},
        {true, {{offsetof(E, Nom), 61, &Comparai::ComparerChaineCourte}}},
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

TypeEnregistrementModalite* Article() { return reinterpret_cast<E*>(Fichier().Enregistrement()); }

bool CreerModalite(const std::string& Nom) {
  uint8_t stocke[kTailleStockee] = {};
  FichierSup::EcrireChaineCourte(stocke, 60, Nom);
  return Fichier().Creer(kCodeCreerModalite, stocke, kTailleStockee,
                         [&] { std::memcpy(Article()->Nom, stocke, kTailleStockee); });
}

std::string NomModalite(uint32_t NumeroArticle) { return Fichier().ChaineDe(NumeroArticle, offsetof(E, Nom), 60); }

}  // namespace SupModaliteAdmission
