// A growable array of unsigned 32-bit row numbers that grows and shrinks by whole pages: the indexes
// of the object database keep their rows in key order in one (positional operations: Inserer,
// SupprimerIndice) and their rows waiting to be placed in another (ordered-set operations: Ajouter,
// Supprimer keep the values distinct, in ascending unsigned order, found by binary search). Mixing
// the two kinds of operation on one array is the caller's responsibility.
//
// Positions are 1-based. The capacity is always a whole number of pages; it grows by one page when
// full and shrinks by one page as soon as a whole page is free. One thread at a time.
//
// Stream form: the count (Entier), then count x 4 bytes of values (a raw zone, little-endian). Neither
// the page size nor the capacity is stored.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/diagnostics/Trace.h"
#include "core/serial/Serialisation.h"

class TTableauIndices : public TCustomTracable, public ISerializable {
  NV_DECLARE_CLASS(TTableauIndices)
 public:
  // An empty array (capacity 0) growing by TaillePage elements (at least 1).
  explicit TTableauIndices(int32_t TaillePage);
  explicit TTableauIndices(TBlank b) : TCustomTracable(b) {}

  // Capacity and count become 0; the page size stays.
  void Vider();
  // Inserts the value at its ascending position; False, with nothing changed, when it is present.
  bool Ajouter(uint32_t Valeur);
  // Removes the value when present; False when absent.
  bool Supprimer(uint32_t Valeur);
  // Stores the value at Position (1-based), shifting the later ones up; a position past the end
  // extends the array with zeros up to it. False, with nothing changed, for a position below 1.
  bool Inserer(uint32_t Valeur, int32_t Position);
  // Removes the element at Position, shifting the later ones down. A position outside
  // 1..NombreElements is refused: False, nothing changed.
  bool SupprimerIndice(int32_t Position);
  // Makes this array a copy of the source (count, capacity and values; not the page size).
  void Assigner(const TTableauIndices& Source);
  // The content becomes Valeurs, in their order (positional use), the capacity the whole pages that
  // hold them: a bulk rebuild costs one copy instead of one shift per element.
  void Remplacer(std::vector<uint32_t> Valeurs);
  // The values at positions 1..NombreElements, in order (valid until the next change).
  const uint32_t* Donnees() const { return elements_.data(); }

  // The value at Position in 1..NombreElements; 0 outside.
  uint32_t Elements(int32_t Position) const;
  int32_t NombreElements() const { return nombreElements_; }
  int32_t NombreMaxElements() const { return static_cast<int32_t>(elements_.size()); }
  int32_t TaillePage() const { return taillePage_; }

  void Ecrire(IFormateur* Formateur, TClasseFormat Contexte) override;
  // Replaces the content by the stream's. A count below 0 or above what the stream still holds raises
  // EReadError and leaves the array as it was. An array built blank gets pages of 16.
  void Lire(IFormateur* Formateur, TClasseFormat Contexte) override;

  // "TaillePage", "NombreMaxElements" and "NombreElements" lines.
  void TracerEntete(TCustomTraceur* Traceur, std::string& Texte) override;
  // With Detail one "Element" = "CARDINAL" block per value; without, the one line
  // "Elements = [v1, v2, ...]" (the text returned has no line prefix).
  void TracerContenu(bool Detail, TCustomTraceur* Traceur, std::string& Texte) override;

 protected:
  void* GetInterfaceEntry(const TGUID& iid) override;

 private:
  // Where Valeur is or would go (1-based), and whether it is there.
  int32_t Chercher(uint32_t Valeur, bool& Present) const;
  // Sets the capacity (a multiple of the page, or 0), keeping the values below it.
  void Reallouer(int64_t Capacite);

  int32_t nombreElements_ = 0;
  int32_t taillePage_ = 0;
  std::vector<uint32_t> elements_;  // the block: its size is the capacity
};

namespace TableauIndices {
// Registers the class by name.
void Initialiser();
}  // namespace TableauIndices
