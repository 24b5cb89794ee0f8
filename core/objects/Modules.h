// The hand-ordered module table. Units that register something at start-up expose Initialiser()
// and Finaliser(); the program (and the test main) runs the table in unit order at start-up and in
// reverse order at shut-down. Event ids and registration orders depend on this order.
#pragma once

#include <initializer_list>
#include <span>

struct TModule {
  const char* Nom;
  void (*Initialiser)();  // may be nullptr
  void (*Finaliser)();    // may be nullptr
};

namespace Modules {

// Starts every unit of the given tables, table after table, in order.
void Demarrer(std::initializer_list<std::span<const TModule>> tables);
// Shuts down the started units in reverse order. Safe to call when nothing was started.
void Arreter();

}  // namespace Modules

// The units of the core library, in start-up order.
std::span<const TModule> ModulesCore();
