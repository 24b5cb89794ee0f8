#include "net/protocol/VclProtocole.h"

#include <deque>
#include <memory>

#include "core/objects/Exceptions.h"
#include "core/objects/ClasseFinalisable.h"

namespace VclProtocole {

namespace {

// Entries in the order of dispatch, which is their time order.
std::unique_ptr<std::deque<TypeTraceProtocole>>& Traces() {
  static std::unique_ptr<std::deque<TypeTraceProtocole>> traces;
  if (!traces) traces = std::make_unique<std::deque<TypeTraceProtocole>>();
  return traces;
}

}  // namespace

void TracerMessage(const TypeAdresseSocket& AdresseSocket, const TypeAdresseMessage& Adresse, uint32_t Id,
                   std::string_view Nom) {
  auto& traces = *Traces();
  while (traces.size() >= kTracesMaximum) traces.pop_front();
  traces.push_back({DateTime::Now(), Id, std::string(Nom.substr(0, kLongueurNom)), AdresseSocket,
                    Adresse.IdentConnexion, 0});
}

size_t NombreTraces() { return Traces()->size(); }

const TypeTraceProtocole& Trace(size_t Position) { return Traces()->at(Position); }

void AfficherTraceProtocole() { throw ENonConstruit("VclProtocole.AfficherTraceProtocole: the trace window is not built yet"); }

void Initialiser() {
  TracerModule("Initialisation du module VclProtocole.");
  Traces()->clear();
}

void Finaliser() { Traces().reset(); }

}  // namespace VclProtocole
