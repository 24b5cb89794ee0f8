// Packing a selection of records into a request as identifiers, and back. A packed selection is the
// count n (int32, little-endian) then the n identifiers (int32 each), in the selection's order; a
// request may put a fixed header of its own in front of it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/records/Memoire.h"

namespace EmballageSelection {

// Appends to Identifiants the identifier (first field) of each record number of the selection that
// still holds a record, in the selection's order; the table's position is kept. A nil table adds
// nothing.
void IdentifiantsDeSelection(const TypeEnsembleMemoire& Selection, void* Table, TypeEnsembleMemoire& Identifiants);
// Appends to Selection the record number of each identifier that the file's registered search finds
// (Fichier: the file's index in NumerosTables); unknown identifiers are skipped; the position is kept.
void SelectionDIdentifiants(const TypeEnsembleMemoire& Identifiants, void* Table, int32_t Fichier,
                            TypeEnsembleMemoire& Selection);
// A new block (Memoire::Desallouer frees it) of the packed identifiers: 4 + 4n bytes.
void EmballerSelection(const TypeEnsembleMemoire& Selection, void* Table, void*& Bloc, std::size_t& Taille);
// Reads a packed selection of at most Taille bytes into a new Selection of the records found; returns
// the address just after it, nil (Selection empty) when the block is shorter than its count says.
const void* DeballerSelection(const void* Bloc, std::size_t Taille, void* Table, int32_t Fichier,
                              TypeEnsembleMemoire& Selection);
// A new block: the TailleEntete bytes of Entete, then the packed selection; Taille is their sum.
void EmballerSelectionAvecEntete(void* Table, const void* Entete, std::size_t TailleEntete,
                                 const TypeEnsembleMemoire& Selection, void*& Bloc, std::size_t& Taille);

}  // namespace EmballageSelection
