// The 42 record files of the timetable base, in base order (the order of their registration, of
// their table blocks in the whole-base stream and of NumerosTables), and the open base: creating and
// freeing every table, registering every file, and the hooks around each request the server processes.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "base/fichiers/FichierSup.h"
#include "core/records/Memoire.h"

namespace SupFichiers {

inline constexpr int32_t kNombreFichiers = 42;

// The table number of each file, at its place - 1; 0 before registration.
std::array<int32_t, kNombreFichiers>& NumerosTables();
// The format version of the base being read; it chooses each file's stored layout.
TypeVersionFormat& VersionBase();
// The version as text, "4.0.8" (its first three parts).
std::string TexteVersion(const TypeVersionFormat& Version);
// The file at a place of the base order (1..42); nil outside.
TFichierSup* Fichier(int32_t Place);
// The courses that the received orders of the request in progress touched.
TypeEnsembleMemoire& CoursTouches();
// True while a whole base is being imported (not while orders are applied): the readers then move
// the places of a base stored with another grid to the new grid.
bool& ImportEnCours();

// Creates every file's table (empty); False when one was refused (every table is then freed).
bool CreerTables();
// Frees every file's table.
void LibererTables();
// Clears the table registry, then registers the 42 files in base order: their table numbers are 1
// to 42. True when every file was registered.
bool EnregistrerTousLesFichiers();
// The first file (in base order) whose stored layout for the base being read is known but not read,
// nil when every file reads it: such a base cannot be loaded.
TFichierSup* FichierIllisible();

// The server begins processing a request: the touched courses are forgotten.
void SurDebutRequeteServeur();
// The server ends it: the extraction flags of the touched courses are refreshed, then the set freed.
// Each touched course that still exists is marked extracted when it or one of its fractions is both
// retained and extracted; a fraction whose whole course was touched too is covered by it.
void SurFinRequeteServeur();

void Initialiser();
void Finaliser();

}  // namespace SupFichiers
