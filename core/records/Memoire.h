// Sorted sets of 32-bit values (record-number selections, the free record numbers of a record
// table), their block format for messages, and the zero-filling memory helpers. A set is a plain
// record owned by value by its user: Initialiser before first use, Liberer when done.
#pragma once

#include <cstddef>
#include <cstdint>

// A set of unsigned 32-bit values in a growable array whose capacity moves by steps of 5.
// Filled with Memoire::Inserer it is sorted ascending without duplicates; Memoire::Ajouter appends
// without either guarantee. Positions are 1-based: position p is Elements[p - 1].
struct TypeEnsembleMemoire {
  uint32_t Capacite = 0;         // entries allocated, a multiple of 5
  uint32_t Nombre = 0;           // values held
  uint32_t* Elements = nullptr;  // nil when never initialised or when the capacity fell to 0
};

namespace Memoire {

// Unit start-up: writes the module trace line.
void Initialiser();

// Capacity 5, no value, a new zero-filled array; a former array is not freed.
void Initialiser(TypeEnsembleMemoire& ensemble);
// Frees the array: no value, capacity 0, no array.
void Liberer(TypeEnsembleMemoire& ensemble);
void Reinitialiser(TypeEnsembleMemoire& ensemble);

// Position of the value when present, else of the first greater value (Nombre + 1 when none).
uint32_t Rechercher(uint32_t valeur, const TypeEnsembleMemoire& ensemble);
// True when the value is present; the position as Rechercher (1 for an empty set).
bool Chercher(uint32_t valeur, const TypeEnsembleMemoire& ensemble, uint32_t& position);
// Inserts the value at its sorted place; False (set unchanged) when it was already there.
bool Inserer(uint32_t valeur, TypeEnsembleMemoire& ensemble);
// Appends the value, without order or duplicate check; always True.
bool Ajouter(uint32_t valeur, TypeEnsembleMemoire& ensemble);
// Removes the value at a position; a position outside 1..Nombre removes nothing.
void SupprimerA(uint32_t position, TypeEnsembleMemoire& ensemble);
// Removes the value when present; True when it was there.
bool Supprimer(uint32_t valeur, TypeEnsembleMemoire& ensemble);
// The target becomes an independent copy of the source; its former array is not freed.
void Copier(const TypeEnsembleMemoire& source, TypeEnsembleMemoire& cible);
// Target := target plus every source value it lacks, sorted. A target without array becomes a copy.
void Union(const TypeEnsembleMemoire& source, TypeEnsembleMemoire& cible);
// Removes from the target every value of the source. A target without array is initialised empty.
void Difference(const TypeEnsembleMemoire& source, TypeEnsembleMemoire& cible);
// Keeps in the set only the values also in the other; True when the set is not empty afterwards.
bool Intersection(TypeEnsembleMemoire& ensemble, const TypeEnsembleMemoire& autre);
// -1, 0 or 1: fewer values sort first; sets of one size compare value by value.
int32_t Comparer(const TypeEnsembleMemoire& a, const TypeEnsembleMemoire& b);
// Sorts the values ascending in place.
void Trier(TypeEnsembleMemoire& ensemble);

// Block format of a set: the count n (32-bit little-endian), then the n values (same encoding).
inline constexpr std::size_t kTailleEnteteTampon = 4;
// A new block of 4 + 4 x Nombre bytes holding the set; the caller frees it with Desallouer.
void VersTampon(const TypeEnsembleMemoire& ensemble, std::size_t& taille, void*& tampon);
// Reads a block of `taille` bytes into a newly initialised set and returns the address just past its
// last value. A block too short for the count it announces gives nil and leaves the set untouched.
const void* DepuisTampon(const void* tampon, std::size_t taille, TypeEnsembleMemoire& ensemble);

// A new zero-filled block; nil for size 0.
void* Allouer(std::size_t taille);
// Resizes a block: a new size's worth of zero-filled memory keeps the first min(old, new) bytes;
// nil for size 0. Nothing happens when the sizes are equal. Returns the block.
void* Reallouer(void*& bloc, std::size_t ancienneTaille, std::size_t nouvelleTaille);
// Frees the block and sets the variable to nil.
void Desallouer(void*& bloc, std::size_t taille);

}  // namespace Memoire
