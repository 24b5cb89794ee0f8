// The resources whose hour values (occupancy, weighted hours) are stale. Changes that affect the
// values add resources to the set; the readers of the values refresh a stale resource before reading
// it through the record's routine. This unit keeps the set; the routine that refreshes a resource is
// installed by the unit that computes the values. Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/records/Memoire.h"

struct TypeRessourcesAMettreAJour {
  std::string Libelle;            // "mettre à jour"; nothing reads it
  std::function<void()> Routine;  // refreshes the current resource; none until the computation is built
  TypeEnsembleMemoire Ressources;  // record numbers in ".RES", sorted
};

namespace SupMAJRessource {

// The process-wide record.
TypeRessourcesAMettreAJour& RessourcesAMettreAJour();

// Inserts the current resource's record number (nothing when there is no current resource).
void AjouterRessourceCourante(TypeRessourcesAMettreAJour& Enregistrement);
// Inserts the record number (0 names no resource: nothing).
void AjouterRessource(uint32_t Numero, TypeRessourcesAMettreAJour& Enregistrement);
// Removes the current resource's record number.
void RetirerRessourceCourante(TypeRessourcesAMettreAJour& Enregistrement);
// Frees the set and starts it empty again.
void Vider(TypeRessourcesAMettreAJour& Enregistrement);
// Frees the set.
void Liberer(TypeRessourcesAMettreAJour& Enregistrement);

void Initialiser();
void Finaliser();

}  // namespace SupMAJRessource
