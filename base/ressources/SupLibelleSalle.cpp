#include "base/ressources/SupLibelleSalle.h"

#include "base/ressources/SupRessource.h"
#include "net/utilisateurs/SupDroitFonctionnel.h"

namespace SupLibelleSalle {

namespace {

bool Droit(uint8_t Genre) { return Genre != SupRessource::kSalle || SupDroitFonctionnel::DroitModifierSalles(); }

const TypeDescriptionLibelle kLibelle{"SupLibelleSalle",          ".LSL", 0x2C, kPlace, kCodeCreerLibellesSalleParDefaut,
                                      kCodeAffecterLibelleSalle, kCodeSupprimerLibelleSalle, &Droit,
                                      &CreerLibellesSalleParDefaut};

}  // namespace

TFichierLibelle& Fichier() {
  static const TypeDescriptionFichier description = FichierLibelle::Decrire(kLibelle);
  static TFichierLibelle fichier(description, kLibelle);
  return fichier;
}

TypeEnregistrementLibelle* Article() { return Fichier().Article(); }

bool CreerLibellesSalleParDefaut() { return Fichier().CreerLibellesParDefaut(); }
bool AffecterLibelleSalleALaRessource(uint32_t Ressource, const std::string& Libelle) {
  return Fichier().AffecterLibelle(Ressource, Libelle);
}
bool SupprimerLibelleSalleDeLaRessource(uint32_t Ressource) { return Fichier().SupprimerLibelle(Ressource); }
bool ChercherLibelleDeLaRessourceCourante() { return Fichier().ChercherLibelleDeLaRessourceCourante(); }
void LibelleSalleDeLaRessource(std::string& Libelle) { Libelle = Fichier().LibelleDeLaRessource(); }

}  // namespace SupLibelleSalle
