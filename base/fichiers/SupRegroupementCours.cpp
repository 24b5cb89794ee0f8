#include "base/fichiers/SupRegroupementCours.h"

#include <cstddef>

namespace SupRegroupementCours {

namespace {

using E = TypeEnregistrementRegroupementCours;

bool Lire(TFichierSup& f, const uint8_t* s, TypeGenreModif) {
  FichierSup::CopierChaineCourte(reinterpret_cast<E*>(f.Enregistrement())->Nom, 8, s, 8);
  return true;
}

bool Ecrire(TFichierSup& f, uint8_t* s) {
  FichierSup::CopierChaineCourte(s, 8, reinterpret_cast<const E*>(f.Enregistrement())->Nom, 8);
  return true;
}

const TypeDescriptionFichier kDescription{
    "SupRegroupementCours",
    ".RGC",
    0x18,
    26,
    sizeof(E),
    {
        {true, {{offsetof(E, Nom), 9, &Comparai::ComparerChaineCourte}}},
        {false, {{offsetof(E, Identifiant), 4, &Comparai::ComparerEntierBis}}},
    },
    kOrdreIdentifiant,
    {{kTailleStockee, {}, &Lire}},
    &Ecrire,
    nullptr,
    false,
};

}  // namespace

TFichierSup& Fichier() {
  static TFichierSup fichier(kDescription, &CreerRegroupementsCoursParDefaut);
  return fichier;
}

TypeEnregistrementRegroupementCours* Article() { return reinterpret_cast<E*>(Fichier().Enregistrement()); }

bool CreerRegroupementsCoursParDefaut() { return Fichier().ContenuParDefaut(kCodeCreerParDefaut); }

}  // namespace SupRegroupementCours
