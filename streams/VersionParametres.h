// What the readers of the per-user parameter stream share: the version of the stream being read,
// which decides the sections and documents each reader expects, and the strict reader of a sized
// section. The per-user units read each other's gates through this unit alone.
#pragma once

#include <cstdint>

#include "core/serial/Streams.h"
#include "net/Version.h"

namespace VersionParametres {

// The version (major, minor, release, build) of the per-user stream being read; 0.0.0.0 until a
// stream sets it.
TypeVersion& VersionParametresUtilisateur();

// True when the stream being read is not older than Majeur.Mineur.Release (the build is not looked at).
bool PresentDepuis(uint32_t Majeur, uint32_t Mineur, uint32_t Release);
// True when the stream being read is not older than Majeur.Mineur.Release.Build (all four parts).
bool PresentDepuisBuild(uint32_t Majeur, uint32_t Mineur, uint32_t Release, uint32_t Build);

// Reads a section: a signed 32-bit size, then that many bytes. True only when the stored size is n
// and its n bytes were read into Tampon. A section of another size that lies within the stream is
// passed over whole and leaves Tampon as it was. A size that cannot be read, is negative or runs
// past the end of the stream leaves both the stream (before the size) and Tampon as they were, so
// that the sections after it read as absent too.
[[nodiscard]] bool LireSection(TStream* Flux, void* Tampon, int32_t n);

}  // namespace VersionParametres
