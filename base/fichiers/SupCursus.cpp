#include "base/fichiers/SupCursus.h"

#include "base/fichiers/ModulesCursusRequetes.h"

namespace SupCursus {

namespace {

// The layout of bases older than 4.0.99: the label alone; the curriculum gets an empty code.
bool LireAvant4099(TFichierSup& f, const uint8_t* s, TypeGenreModif) {
  auto* e = reinterpret_cast<TypeEnregistrementModuleCursus*>(f.Enregistrement());
  FichierSup::CopierChaineCourte(e->Libelle, 30, s, 30);
  FichierSup::EcrireChaineCourte(e->Code, 20, std::string());
  e->Affiche = 1;
  return true;
}

const TypeDescriptionFichier kDescription{
    "SupCursus",
    ".CUR",
    0x10,
    14,
    sizeof(TypeEnregistrementModuleCursus),
    ModuleCursus::Ordres(),
    ModuleCursus::kOrdreIdentifiant,
    {{kTailleStockeeAvant4099, {4, 0, 99, 0}, &LireAvant4099}, {ModuleCursus::kTailleStockee, {}, &ModuleCursus::Lire}},
    &ModuleCursus::Ecrire,
    nullptr,
    false,
};

}  // namespace

TFichierSup& Fichier() {
  static TFichierSup fichier(kDescription, &SupCursus::ContenuParDefaut);
  return fichier;
}

TypeEnregistrementModuleCursus* Article() {
  return reinterpret_cast<TypeEnregistrementModuleCursus*>(Fichier().Enregistrement());
}

}  // namespace SupCursus
