#include "net/protocol/VclProtocole.h"

#include <deque>
#include <memory>
#include <mutex>
#include <utility>

#include <atomic>
#include <thread>

#include "core/diagnostics/Journal.h"
#include "core/objects/Exceptions.h"
#include "core/values/Ansi1252.h"
#include "core/objects/ClasseFinalisable.h"

namespace VclProtocole {

namespace {

// Entries in the order of dispatch, which is their time order. A process that also runs a server of
// its own on another thread (the tests' and benchmarks' scripted servers) traces from both threads:
// the store is reached under its lock only.
std::mutex& Verrou() {
  static std::mutex verrou;
  return verrou;
}
std::unique_ptr<std::deque<TypeTraceProtocole>>& Traces() {
  static std::unique_ptr<std::deque<TypeTraceProtocole>> traces;
  if (!traces) traces = std::make_unique<std::deque<TypeTraceProtocole>>();
  return traces;
}

std::atomic<TypeRoutineTrace> afficher{nullptr};
std::atomic<TypeRoutineTrace> actualiser{nullptr};
std::thread::id filPrincipal;

}  // namespace

void DefinirFenetreTrace(TypeRoutineTrace Afficher, TypeRoutineTrace Actualiser) {
  afficher = Afficher;
  actualiser = Actualiser;
}

void TracerMessage(const TypeAdresseSocket& AdresseSocket, const TypeAdresseMessage& Adresse, uint32_t Id,
                   std::string_view Nom) {
  TypeTraceProtocole trace{DateTime::Now(), Id, std::string(Nom.substr(0, kLongueurNom)), AdresseSocket,
                           Adresse.IdentConnexion, 0};
  {
    const std::lock_guard<std::mutex> verrou(Verrou());
    auto& traces = *Traces();
    while (traces.size() >= kTracesMaximum) traces.pop_front();
    traces.push_back(std::move(trace));
  }
  // The window lives on the main thread: entries traced by another thread show at its next refresh.
  if (TypeRoutineTrace r = actualiser.load(); r && std::this_thread::get_id() == filPrincipal) r();
}

size_t NombreTraces() {
  const std::lock_guard<std::mutex> verrou(Verrou());
  return Traces()->size();
}

TypeTraceProtocole Trace(size_t Position) {
  const std::lock_guard<std::mutex> verrou(Verrou());
  return Traces()->at(Position);
}

void AfficherTraceProtocole() {
  if (TypeRoutineTrace r = afficher.load()) {
    r();
    return;
  }
  Journal::EcrireJournal(
      std::string("Trace protocole de communication : pas de fenêtre sans interface utilisateur.\r\n"_ansi));
}

void Initialiser() {
  TracerModule("Initialisation du module VclProtocole.");
  filPrincipal = std::this_thread::get_id();
  const std::lock_guard<std::mutex> verrou(Verrou());
  Traces()->clear();
}

void Finaliser() {
  const std::lock_guard<std::mutex> verrou(Verrou());
  Traces().reset();
}

}  // namespace VclProtocole
