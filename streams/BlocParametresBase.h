// The base parameter block: the first block of the whole-base stream, ahead of the record files. A
// 64-byte header (format version, grid dimensions, a few general parameters) then the other general
// parameters, the first date and locked weeks, the hour labels, the per-file number counters, the
// names, the backup settings, the site parameters and the later additions. Writing always produces
// the current format (5.0.6.1); reading accepts every format back to 2.x, field by field, and sets
// the base's format version, which the record files use to choose their stored layouts.
//
// The block also carries, byte for byte, the placement engine's reserved 20-byte record, a unit not
// built yet, kept here under its own name until its unit takes it over. The site parameters belong to
// the sites (SupSites) and the two status values of old bases to the teacher statuses
// (SupStatutsAnciens). Main thread only.
#pragma once

#include <array>
#include <cstdint>

#include "base/CompteursNumeros.h"
#include "base/ressources/SupStatut.h"
#include "base/sites/SupSites.h"
#include "core/serial/Streams.h"
#include "streams/SupArchivageEtSauvegarde.h"

namespace SupEtatsPlaces {
inline constexpr int32_t kTailleEnregistrementReserve = 20;
// The engine's reserved record (two 8-byte values and two 16-bit values), kept as raw bytes.
std::array<uint8_t, kTailleEnregistrementReserve>& EnregistrementReserve();
void LireEnregistrementReserve(TStream& Flux);  // EReadError when short
void EcrireEnregistrementReserve(TStream& Flux);
void ViderEnregistrementReserve();
}  // namespace SupEtatsPlaces

namespace BlocParametresBase {

inline constexpr int32_t kTailleEntete = 64;
// The block carries the 42 number counters of the base (CompteursNumeros), in their own order.
inline constexpr int32_t kNombreCompteurs = 42;
static_assert(kNombreCompteurs == CompteursNumeros::kNombreCompteurs);
// The backup and archive settings of the open base.
TypeArchivageEtSauvegarde& ArchivageEtSauvegarde();

// Writes the block in the current format and makes the base's format version 5.0.6.1.
void EcrireBlocParametresBase(TStream& Flux);
// Reads a block of any format from its position. A field beyond the end, a grid of 0 places, days,
// hours or places per hour, or a malformed list raises EReadError: the caller stops the import.
void LireBlocParametresBase(TStream& Flux);

void Initialiser();
void Finaliser();

}  // namespace BlocParametresBase
