#include "base/sites/SupTrajetSite.h"

#include "base/CompteursNumeros.h"
#include "base/fichiers/DeclarationFichier.h"
#include "base/sites/SupSite.h"

namespace SupTrajetSite {

namespace {

using E = TypeEnregistrementTrajetSite;

// A travel naming a site the base does not hold is refused; loading raises the travel counter to the
// largest number read.
bool Lire(TFichierSup& f, const uint8_t* s, TypeGenreModif Genre) {
  if (!DeclarationFichier::LireChamps(f, s, Genre)) return false;
  CompteursNumeros::Relever(CompteursNumeros::kTSI, reinterpret_cast<E*>(f.Enregistrement())->NumeroTrajet);
  return true;
}

using namespace Champ;
const TypeDescriptionFichier& DescriptionFichier() {
  static const TypeDescriptionFichier d = DeclarationFichier::Decrire({
      "SupTrajetSite", ".TSI", 0x31, kPlace, kTailleStockee, false,
      {Identifiant(), Cardinal("NumeroTrajet", 0),
       Reference("SiteDepart", SupSite::kPlace, 4, TypeSiAbsente::Refuser, SupSite::kOrdreNumero),
       Reference("SiteArrivee", SupSite::kPlace, 8, TypeSiAbsente::Refuser, SupSite::kOrdreNumero),
       Entier("DureeTrajet", 12)},
      {{true, {"NumeroTrajet"}}, {false, {"Identifiant"}}, {true, {"SiteDepart", "SiteArrivee"}},
       {false, {"SiteArrivee", "SiteDepart"}}},
      &Lire,
  });
  return d;
}

}  // namespace

TFichierSup& Fichier() {
  static TFichierSup fichier(DescriptionFichier());
  return fichier;
}

E* Article() { return reinterpret_cast<E*>(Fichier().Enregistrement()); }

}  // namespace SupTrajetSite
