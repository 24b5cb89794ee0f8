#include "base/fichiers/SupModule.h"

#include <cstddef>

#include "base/fichiers/ModulesCursusRequetes.h"

namespace ModuleCursus {

using E = TypeEnregistrementModuleCursus;
constexpr int32_t kStockeLibelle = 0, kStockeCode = 31;

std::vector<TypeOrdreFichier> Ordres() {
  const TypeColonneFichier libelle{offsetof(E, Libelle), 31, &Comparai::ComparerChaineCourte};
  const TypeColonneFichier code{offsetof(E, Code), 21, &Comparai::ComparerChaineCourte};
  return {
      {true, {libelle, code}},
      {false, {{offsetof(E, Identifiant), 4, &Comparai::ComparerEntierBis}}},
      {true, {code, libelle}},
      {false, {{offsetof(E, Affiche), 1, &Comparai::ComparerOctetDecroissant}, libelle}},
  };
}

bool Lire(TFichierSup& f, const uint8_t* s, TypeGenreModif) {
  E* e = reinterpret_cast<E*>(f.Enregistrement());
  FichierSup::CopierChaineCourte(e->Libelle, 30, s + kStockeLibelle, 30);
  FichierSup::CopierChaineCourte(e->Code, 20, s + kStockeCode, 20);
  e->Affiche = 1;
  return true;
}

bool Ecrire(TFichierSup& f, uint8_t* s) {
  const E* e = reinterpret_cast<const E*>(f.Enregistrement());
  FichierSup::CopierChaineCourte(s + kStockeLibelle, 30, e->Libelle, 30);
  FichierSup::CopierChaineCourte(s + kStockeCode, 20, e->Code, 20);
  return true;
}

}  // namespace ModuleCursus

namespace SupModule {

namespace {
const TypeDescriptionFichier kDescription{
    "SupModule",
    ".MDL",
    0x34,
    15,
    sizeof(TypeEnregistrementModuleCursus),
    ModuleCursus::Ordres(),
    ModuleCursus::kOrdreIdentifiant,
    {{ModuleCursus::kTailleStockee, {}, &ModuleCursus::Lire}},
    &ModuleCursus::Ecrire,
    nullptr,
    false,
};
}  // namespace

TFichierSup& Fichier() {
  static TFichierSup fichier(kDescription, &SupModule::ContenuParDefaut);
  return fichier;
}

TypeEnregistrementModuleCursus* Article() {
  return reinterpret_cast<TypeEnregistrementModuleCursus*>(Fichier().Enregistrement());
}

}  // namespace SupModule
