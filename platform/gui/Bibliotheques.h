// The library loader of the windowing layer: loads a library by its file name, finds an entry in
// it and releases it. The production loader knows no library (the closed libraries the system
// binds do not exist on this platform, and no code is loaded from a file a user could drop in the
// library path): every load answers none, silently. Tests install a loader of their own.
// Main thread only.
#pragma once

#include <cstdint>
#include <string>

class TChargeurBibliotheques {
 public:
  virtual ~TChargeurBibliotheques() = default;
  // The module of a library, 0 when it cannot be loaded.
  virtual uintptr_t Charger(const std::string& Nom) = 0;
  // The address of an entry of a loaded module, nil when the module has none of that name.
  virtual void* Adresse(uintptr_t Module, const std::string& Entree) = 0;
  virtual void Liberer(uintptr_t Module) = 0;
};

namespace Bibliotheques {

// The loader in use: the production one unless another is installed.
TChargeurBibliotheques& Actuel();
// Installs a loader (nil: the production one again) and answers the former one.
TChargeurBibliotheques* Installer(TChargeurBibliotheques* Nouveau);

}  // namespace Bibliotheques
