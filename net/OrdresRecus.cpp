#include "net/OrdresRecus.h"

#include "net/protocol/PetitBoutiste.h"

namespace OrdresRecus {

uint32_t Decouper(const uint8_t* Donnees, uint32_t Taille, const TypeTraiterOrdre& Traiter) {
  if (Donnees == nullptr) return 0;
  uint32_t position = 0;
  uint32_t nombre = 0;
  while (Taille - position >= 4) {
    const uint32_t longueur = PetitBoutiste::LireCardinal(Donnees + position);
    position += 4;
    if (longueur > Taille - position) break;
    Traiter(Donnees + position, longueur);
    position += longueur;
    ++nombre;
  }
  return nombre;
}

}  // namespace OrdresRecus

void TOrdresRetenus::Commencer() {
  Abandonner();
  actif_ = true;
}

void TOrdresRetenus::Retenir(const uint8_t* Ordre, uint32_t Taille) {
  if (Taille > 0) octets_.insert(octets_.end(), Ordre, Ordre + Taille);
  tailles_.push_back(Taille);
}

void TOrdresRetenus::Rejouer(const OrdresRecus::TypeTraiterOrdre& Traiter) {
  // Taken out first: applying an order may run a nested wait in which another base transfer starts.
  std::vector<uint8_t> octets;
  std::vector<uint32_t> tailles;
  octets.swap(octets_);
  tailles.swap(tailles_);
  actif_ = false;
  std::size_t position = 0;
  for (const uint32_t taille : tailles) {
    Traiter(octets.data() + position, taille);
    position += taille;
  }
}

void TOrdresRetenus::Abandonner() {
  actif_ = false;
  std::vector<uint8_t>().swap(octets_);
  std::vector<uint32_t>().swap(tailles_);
}
