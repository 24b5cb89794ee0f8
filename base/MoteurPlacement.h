// What the timetable base calls of the course placement engine. The engine lives above the base
// (placement/), so the base reaches it through this table of routines, which the engine's services
// unit installs when it starts. Until a routine is installed, calling it raises ENonConstruit: a
// computation that needs the engine never answers as if it had run.
//
// The engine works on the current course of the course file and keeps one current matrix of place
// values (TValPlaces) and one current set of placement diagnostics (TDiagnostics). A computation may
// put fresh ones in their place for its own duration (TValPlacesTemporaires) and the former ones come
// back after it, whatever happens.
//
// Units that need another service of the engine add its routine here, under the engine's name and
// with its arguments, and call it through the wrapper that raises ENonConstruit. Main thread only.
#pragma once

#include <cstdint>
#include <functional>

#include "core/values/DomaineHebdomadaire.h"

namespace MoteurPlacement {

struct TypeServicesPlacement {
  // Puts a fresh matrix of NombrePlaces x CellulesParPlace place values (TValPlaces.Create) and,
  // with AvecDiagnostics, fresh diagnostics of NombrePlaces places (TDiagnostics.Create) in place of
  // the engine's current ones; answers a token that RetablirValPlaces takes to put them back (and
  // free the fresh ones).
  std::function<void*(int32_t NombrePlaces, int32_t CellulesParPlace, bool AvecDiagnostics)> RemplacerValPlaces;
  std::function<void(void* Jeton)> RetablirValPlaces;
  // SupPoserCours.CalculerValPlacesCoursCourant: the place values and diagnostics of the current
  // course over Semaines, into the current matrix and diagnostics.
  std::function<void(bool Diagnostiquer, bool Evaluer, bool SemainesTelles, const TypeDomaineHebdomadaire& Semaines,
                     int32_t Option)>
      CalculerValPlacesCoursCourant;
  // TValPlaces.SemainesBloquees of the current matrix: the weeks blocked at Place.
  std::function<void(int32_t Place, TypeDomaineHebdomadaire& Semaines)> SemainesBloquees;
  // TDiagnostics.MotifsBloquants of the current diagnostics: bit i set when blocking reason i
  // blocks a week of Semaines at Place.
  std::function<uint32_t(int32_t Place, const TypeDomaineHebdomadaire& Semaines)> MotifsBloquants;
  // SupCompactageCours.CalculerEtatCompactage: the compaction flags of the current course (unless it is
  // simple) and of the courses linked to it, recomputed, written and notified; the current course kept.
  std::function<void()> CalculerEtatCompactage;
};

// The installed routines; the engine fills them, a test installs a fake.
TypeServicesPlacement& Services();

// The calls, each raising ENonConstruit while its routine is not installed.
void CalculerValPlacesCoursCourant(bool Diagnostiquer, bool Evaluer, bool SemainesTelles,
                                   const TypeDomaineHebdomadaire& Semaines, int32_t Option);
TypeDomaineHebdomadaire SemainesBloquees(int32_t Place);
uint32_t MotifsBloquants(int32_t Place, const TypeDomaineHebdomadaire& Semaines);
void CalculerEtatCompactage();

// Fresh place values (and diagnostics) for the life of the object. Raises ENonConstruit when the
// engine is not installed.
class TValPlacesTemporaires {
 public:
  TValPlacesTemporaires(int32_t NombrePlaces, int32_t CellulesParPlace, bool AvecDiagnostics);
  ~TValPlacesTemporaires();
  TValPlacesTemporaires(const TValPlacesTemporaires&) = delete;
  TValPlacesTemporaires& operator=(const TValPlacesTemporaires&) = delete;

 private:
  void* jeton_;
};

}  // namespace MoteurPlacement
