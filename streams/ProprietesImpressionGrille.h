// The options of printing and of publishing the timetable grids, per resource genre and per target,
// held as property trees whose content this system does not interpret: they travel in the per-user
// parameter stream as TLV documents so that they come back to the server unchanged, with the shared
// flag RemonterExceptions. Main thread only.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "core/serial/Streams.h"
#include "streams/Proprietes.h"

// The options of one grid: 7 resource genres x 2 targets of optional trees, all absent at creation.
// Genres 3 and 4 have no name in the documents: their slots stay absent.
class TProprietesImpressionGrille {
 public:
  static constexpr int32_t kNombreGenres = 7;
  static constexpr int32_t kNombreCibles = 2;  // 0 printing, 1 publishing

  TProprietesImpressionGrille() = default;
  TProprietesImpressionGrille(const TProprietesImpressionGrille&) = delete;
  TProprietesImpressionGrille& operator=(const TProprietesImpressionGrille&) = delete;

  // The entry name of a slot in the documents ("GenreSalle_CiblePublier"); empty for genres 3 and 4
  // and for numbers out of range.
  static std::string NomEmplacement(int32_t Genre, int32_t Cible);

  // The tree of a slot, or null (absent, or numbers out of range).
  TProprietes* Proprietes(int32_t Genre, int32_t Cible) const;
  // Gives a slot its tree (null empties it). A slot without a name (genres 3 and 4, numbers out of
  // range) takes none: false, and the tree is freed.
  [[nodiscard]] bool ModifierProprietes(int32_t Genre, int32_t Cible, std::unique_ptr<TProprietes> Arbre);

  // Writes one TLV document holding a copy of every slot's tree under the slot's name. False on any
  // error (the bytes written before it stay).
  [[nodiscard]] bool Ecrire(TStream& Flux) const;
  // Reads one TLV document; every named slot then takes the sub-tree of its name, or none. False on
  // any error: when the document itself cannot be read no slot changes; when a slot's entry is not a
  // sub-tree, the slots before it are as read and the others as they were.
  [[nodiscard]] bool Lire(TStream& Flux);

 private:
  std::array<std::array<std::unique_ptr<TProprietes>, kNombreCibles>, kNombreGenres> emplacements_;
};

// The four grids and the flag they share.
class TToutesProprietesImpressionGrille {
 public:
  static constexpr int32_t kNombreGrilles = 4;

  TToutesProprietesImpressionGrille() = default;
  TToutesProprietesImpressionGrille(const TToutesProprietesImpressionGrille&) = delete;
  TToutesProprietesImpressionGrille& operator=(const TToutesProprietesImpressionGrille&) = delete;

  std::array<TProprietesImpressionGrille, kNombreGrilles> Grilles;
  bool RemonterExceptions = false;

  // Writes the four grids, then a fifth document holding "ProprietesCommunes.RemonterExceptions".
  // False on the first error.
  [[nodiscard]] bool Ecrire(TStream& Flux) const;
  // Reads what the version of the per-user stream being read holds: nothing below 4.0.99 (the flag
  // becomes true), the four grids from then on, and the fifth document from 5.0.0.3. False on the
  // first error; what follows it is not read.
  [[nodiscard]] bool Lire(TStream& Flux);
};

// The single instance, created when absent.
TToutesProprietesImpressionGrille& ToutesProprietesImpressionGrille();
// Releases the single instance when it exists (also at shut-down).
void LibererToutesProprietesImpressionGrille();
