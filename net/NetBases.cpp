#include "net/NetBases.h"

namespace NetBases {

namespace {
struct Etat {
  std::string nomBase;
  bool anterieure506 = false;
  bool suspendues = false;
};
Etat& LEtat() {
  static Etat etat;
  return etat;
}
}  // namespace

std::string& NomBase() { return LEtat().nomBase; }
bool& BaseAnterieure506() { return LEtat().anterieure506; }
bool& NotificationsSuspendues() { return LEtat().suspendues; }
void ApresModificationLocale() {}

void Initialiser() { LEtat() = Etat{}; }
void Finaliser() { LEtat() = Etat{}; }

}  // namespace NetBases
