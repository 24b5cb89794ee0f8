#include "base/MoteurPlacement.h"

#include <string>

#include "core/objects/Exceptions.h"

namespace MoteurPlacement {

namespace {
template <typename Routine>
const Routine& Installee(const Routine& r, const char* Nom) {
  if (!r) throw ENonConstruit(std::string("MoteurPlacement: ") + Nom + " of the placement engine is not built yet");
  return r;
}
}  // namespace

TypeServicesPlacement& Services() {
  static TypeServicesPlacement services;
  return services;
}

void CalculerValPlacesCoursCourant(bool Diagnostiquer, bool Evaluer, bool SemainesTelles,
                                   const TypeDomaineHebdomadaire& Semaines, int32_t Option) {
  Installee(Services().CalculerValPlacesCoursCourant, "SupPoserCours.CalculerValPlacesCoursCourant")(
      Diagnostiquer, Evaluer, SemainesTelles, Semaines, Option);
}

TypeDomaineHebdomadaire SemainesBloquees(int32_t Place) {
  TypeDomaineHebdomadaire semaines;
  Installee(Services().SemainesBloquees, "TValPlaces.SemainesBloquees")(Place, semaines);
  return semaines;
}

uint32_t MotifsBloquants(int32_t Place, const TypeDomaineHebdomadaire& Semaines) {
  return Installee(Services().MotifsBloquants, "TDiagnostics.MotifsBloquants")(Place, Semaines);
}

void CalculerEtatCompactage() {
  Installee(Services().CalculerEtatCompactage, "SupCompactageCours.CalculerEtatCompactage")();
}

TValPlacesTemporaires::TValPlacesTemporaires(int32_t NombrePlaces, int32_t CellulesParPlace, bool AvecDiagnostics) {
  Installee(Services().RetablirValPlaces, "TValPlaces.Create");
  jeton_ = Installee(Services().RemplacerValPlaces, "TValPlaces.Create")(NombrePlaces, CellulesParPlace,
                                                                          AvecDiagnostics);
}

TValPlacesTemporaires::~TValPlacesTemporaires() {
  if (Services().RetablirValPlaces) Services().RetablirValPlaces(jeton_);
}

}  // namespace MoteurPlacement
