#include "net/utilisateurs/ProfilServeur.h"

#include <cstring>

#include "core/records/Xi.h"
#include "net/utilisateurs/BaseUtilisateurs.h"

namespace ProfilServeur {

bool ChercherProfilServeur(uint32_t Ident) {
  auto* p = BaseUtilisateurs::ProfilsServeurs();
  if (p == nullptr) return false;
  *p = TypeProfilServeur{};
  p->DefinirIdentifiant(Ident);
  Xi::Chercher(p, BaseUtilisateurs::kProfilIdent);
  return Xi::XiStatut == Xi::kStatutEgal;
}

bool ChercherProfilServeurParNom(std::string_view Nom) {
  auto* p = BaseUtilisateurs::ProfilsServeurs();
  if (p == nullptr) return false;
  *p = TypeProfilServeur{};
  p->DefinirNom(Nom);
  Xi::Chercher(p, BaseUtilisateurs::kProfilNom);
  return Xi::XiStatut == Xi::kStatutEgal;
}

void NomProfilServeur(uint32_t Ident, std::string& Nom) {
  Nom.clear();
  auto* p = BaseUtilisateurs::ProfilsServeurs();
  if (p == nullptr) return;
  Xi::SauverPosition(p);
  if (ChercherProfilServeur(Ident)) Nom = p->Nom();
  (void)Xi::RestaurerPosition(p);
}

}  // namespace ProfilServeur
