#include "platform/gui/ParametresRegionaux.h"

namespace {
std::string& Mesure() {
  static std::string valeur = "0";
  return valeur;
}
}  // namespace

std::string ParametresRegionaux::MesureSysteme() { return Mesure(); }
void ParametresRegionaux::DefinirMesureSysteme(std::string Valeur) { Mesure() = std::move(Valeur); }
