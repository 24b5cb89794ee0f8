#include "platform/gui/Bibliotheques.h"

#include <utility>

namespace Bibliotheques {
namespace {

class TChargeurProduction : public TChargeurBibliotheques {
 public:
  uintptr_t Charger(const std::string&) override { return 0; }
  void* Adresse(uintptr_t, const std::string&) override { return nullptr; }
  void Liberer(uintptr_t) override {}
};

TChargeurBibliotheques* installe = nullptr;

}  // namespace

TChargeurBibliotheques& Actuel() {
  static TChargeurProduction production;
  return installe ? *installe : production;
}

TChargeurBibliotheques* Installer(TChargeurBibliotheques* Nouveau) { return std::exchange(installe, Nouveau); }

}  // namespace Bibliotheques
