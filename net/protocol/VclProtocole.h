// The protocol trace: the last 2000 messages dispatched to a handler anywhere in the program, for the
// trace window. One trace for the whole program, created at start-up and freed at shut-down; the
// oldest entry goes when a new one would make 2001. Main thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/values/DateTime.h"
#include "net/protocol/Trame.h"

struct TypeTraceProtocole {
  TDateTime Heure = 0;
  uint32_t Id = 0;
  std::string Nom;  // at most 50 characters
  TypeAdresseSocket AdresseIp{};
  uint32_t IdentConnexion = 0;
  uint8_t Sens = 0;  // 0 received (the only value written here), anything else sent
};

namespace VclProtocole {

inline constexpr size_t kTracesMaximum = 2000;
inline constexpr size_t kLongueurNom = 50;

// Adds the entry of a message about to reach its handler, stamped with the clock's time. The store may
// be reached from several threads: a process that runs a server of its own on another thread traces
// from both.
void TracerMessage(const TypeAdresseSocket& AdresseSocket, const TypeAdresseMessage& Adresse, uint32_t Id,
                   std::string_view Nom);
size_t NombreTraces();
// The entry at a position of the time order, 0 the oldest.
TypeTraceProtocole Trace(size_t Position);
// Shows the trace window through the routine the user interface installed; without one, writes a
// line to the program's log.
void AfficherTraceProtocole();

// The trace window's side: Afficher creates the window on first use and shows it; Actualiser runs
// after each new entry traced on the thread that started the module (the main thread), so that a
// visible window shows it. Nil routines: none.
using TypeRoutineTrace = void (*)();
void DefinirFenetreTrace(TypeRoutineTrace Afficher, TypeRoutineTrace Actualiser);

void Initialiser();
void Finaliser();

}  // namespace VclProtocole
