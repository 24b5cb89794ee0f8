// Every table of the base at once: creating a fresh set for a received base, freeing them all when it
// is closed, saving and restoring every file's position around a walk over many tables. Also the
// user's memo table and the 10-byte block of user settings, both kept in the per-user parameter
// stream and written back as they are. Main thread only.
#pragma once

#include <array>
#include <cstdint>

class TStream;

namespace SupToutesTables {

inline constexpr int32_t kTailleTexteMemo = 1000;
inline constexpr int32_t kTailleMemo = 4 + 2 * kTailleTexteMemo;  // 2004, as stored
inline constexpr int32_t kTailleMemoAncien = 1004;                 // per-user streams below 4.0.4
inline constexpr int32_t kTailleReglagesUtilisateur = 10;

// The memo record: Numero (unsigned 32-bit), Texte1, Texte2; one unique order on the number.
struct TypeMemo {
  uint32_t Numero;
  uint8_t Texte1[kTailleTexteMemo];
  uint8_t Texte2[kTailleTexteMemo];
};
static_assert(sizeof(TypeMemo) == kTailleMemo);

// The memo table's handle (its current-record buffer, a TypeMemo); nil while it does not exist.
void* TableMemos();

// Frees everything, then creates every record file's table, the memo table and the sites' per-user
// order table (empty). False when a table was refused (everything is then freed).
bool CreerToutesLesTables();
// Frees every table; safe to call again.
void LibererToutesLesTables();
void EmpilerToutesLesPositions();
void DepilerToutesLesPositions();

// The memo table in the per-user stream of version (Majeure, Mineure, Revision): read appends to the
// table; False on a bad header or a short read, the stream then placed after the announced memos
// when it holds them.
bool LireMemos(TStream& Flux, uint32_t Majeure, uint32_t Mineure, uint32_t Revision);
// Count, 2004, then the memos in record-number order; False as soon as a write is short.
bool EcrireMemos(TStream& Flux);

std::array<uint8_t, kTailleReglagesUtilisateur>& ReglagesUtilisateur();
// Nothing below 3.1.99 (False); the 10-byte sized block from 4.0.99 on; otherwise an 8-byte block
// spread over bytes 0, 1, 3 to 8.
bool LireReglagesUtilisateur(TStream& Flux, uint32_t Majeure, uint32_t Mineure, uint32_t Revision);
bool EcrireReglagesUtilisateur(TStream& Flux);

void Initialiser();
void Finaliser();

}  // namespace SupToutesTables
