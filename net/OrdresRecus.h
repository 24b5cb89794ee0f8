// The modification orders that the server broadcasts, as the data client receives them: one order
// (CM_ENVOYER_ORDRE_MODIF), a packed sequence of orders (CM_ENVOYER_ORDRES_MODIFS: each element a
// 32-bit length L then L bytes of one order), and the orders held back while the base is being
// transferred, so that none is applied to tables that the import is about to replace.
// Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace OrdresRecus {

using TypeTraiterOrdre = std::function<void(const uint8_t* Ordre, uint32_t Taille)>;

// Hands each complete element of a CM_ENVOYER_ORDRES_MODIFS to Traiter, in order. An element longer
// than what follows its length ends the message (it and anything after it are dropped), as do fewer
// than 4 bytes left. Answers the number of elements handed on.
uint32_t Decouper(const uint8_t* Donnees, uint32_t Taille, const TypeTraiterOrdre& Traiter);

}  // namespace OrdresRecus

// The held orders: on from the request of the base stream until the user-information stream has
// been read, then replayed in arrival order.
class TOrdresRetenus {
 public:
  // Starts holding; what was held before is dropped (the base it was meant for is being replaced).
  void Commencer();
  bool Actif() const { return actif_; }
  // Keeps a copy of one order.
  void Retenir(const uint8_t* Ordre, uint32_t Taille);
  // Stops holding, then hands every held order to Traiter in arrival order. An order that arrives
  // during the replay is handled at once, after those already held.
  void Rejouer(const OrdresRecus::TypeTraiterOrdre& Traiter);
  // Stops holding and drops what was held (the link is gone: the base will be transferred afresh).
  void Abandonner();
  std::size_t Nombre() const { return tailles_.size(); }

 private:
  bool actif_ = false;
  std::vector<uint8_t> octets_;
  std::vector<uint32_t> tailles_;
};
