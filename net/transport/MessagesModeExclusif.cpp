#include "net/transport/MessagesModeExclusif.h"

#include <algorithm>

#include "net/protocol/PetitBoutiste.h"

namespace MessagesModeExclusif {

bool LireModeModifie(const uint8_t* Donnees, uint32_t Taille, TypeModeModifie& m) {
  if (Donnees == nullptr || Taille != kLongueurModeModifie) return false;
  m.GenreProc = Donnees[0];
  m.ModeExclusif = Donnees[1] != 0;
  m.Valider = Donnees[2];
  m.Action = Donnees[3];
  m.IdentDemandeur = PetitBoutiste::LireCardinal(Donnees + 4);
  const std::size_t longueur = std::min<std::size_t>(Donnees[8], 200);
  m.InfosDemandeur.assign(reinterpret_cast<const char*>(Donnees + 9), longueur);
  return true;
}

bool LireVerrouModifie(const uint8_t* Donnees, uint32_t Taille, TypeVerrouModifie& m) {
  if (Donnees == nullptr || Taille != kLongueurVerrouModifie) return false;
  m.GenreProc = Donnees[0];
  m.Verrou = Donnees[1] != 0;
  return true;
}

std::string EcrireModeModifie(const TypeModeModifie& m) {
  std::string d(kLongueurModeModifie, '\0');
  auto* o = reinterpret_cast<uint8_t*>(d.data());
  o[0] = m.GenreProc;
  o[1] = m.ModeExclusif;
  o[2] = m.Valider;
  o[3] = m.Action;
  PetitBoutiste::EcrireCardinal(o + 4, m.IdentDemandeur);
  const std::size_t longueur = std::min<std::size_t>(m.InfosDemandeur.size(), 200);
  o[8] = static_cast<uint8_t>(longueur);
  std::copy_n(m.InfosDemandeur.data(), longueur, d.data() + 9);
  return d;
}

}  // namespace MessagesModeExclusif
