#include "base/ressources/SupLibelleClasse.h"

#include "base/ressources/SupRessource.h"
#include "net/utilisateurs/SupDroitFonctionnel.h"

namespace SupLibelleClasse {

namespace {

bool Droit(uint8_t Genre) {
  if (Genre == SupRessource::kDiplome) return SupDroitFonctionnel::DroitModifierClasses();
  if (Genre == SupRessource::kTD || Genre == SupRessource::kOption) return SupDroitFonctionnel::DroitModifierGroupes();
  return true;
}

const TypeDescriptionLibelle kLibelle{"SupLibelleClasse",          ".LCL", 0x17, kPlace, kCodeCreerLibellesClasseParDefaut,
                                      kCodeAffecterLibelleClasse, kCodeSupprimerLibelleClasse, &Droit,
                                      &CreerLibellesClasseParDefaut};

}  // namespace

TFichierLibelle& Fichier() {
  static const TypeDescriptionFichier description = FichierLibelle::Decrire(kLibelle);
  static TFichierLibelle fichier(description, kLibelle);
  return fichier;
}

TypeEnregistrementLibelle* Article() { return Fichier().Article(); }

bool CreerLibellesClasseParDefaut() { return Fichier().CreerLibellesParDefaut(); }
bool AffecterLibelleClasseALaRessource(uint32_t Ressource, const std::string& Libelle) {
  return Fichier().AffecterLibelle(Ressource, Libelle);
}
bool SupprimerLibelleClasseDeLaRessource(uint32_t Ressource) { return Fichier().SupprimerLibelle(Ressource); }
bool ChercherLibelleDeLaRessourceCourante() { return Fichier().ChercherLibelleDeLaRessourceCourante(); }
void LibelleClasseDeLaRessource(std::string& Libelle) { Libelle = Fichier().LibelleDeLaRessource(); }

}  // namespace SupLibelleClasse
