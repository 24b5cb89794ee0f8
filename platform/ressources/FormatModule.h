// The file format of a language module: a resource-only file that holds named raw-data resources
// ("CHAINES", the translated texts; the service's documents). One header of constants shared by the
// writer (the build's module packer, the tests) and the reader, so that the two cannot disagree.
//
//   module    = signature version count entry*       (all integers unsigned 32-bit little-endian)
//   signature = the 8 bytes "NVRESMOD"
//   version   = 1
//   entry     = name-length name data-length data    (name: 1 to 255 bytes of printable ASCII)
//
// Names are compared without regard to the case of their ASCII letters; a name appears once.
// Nothing may follow the last entry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace FormatModule {

inline constexpr std::string_view kSignature = "NVRESMOD";
inline constexpr uint32_t kVersion = 1;
inline constexpr std::size_t kTailleEntete = 16;  // signature, version, count
inline constexpr std::size_t kLongueurNomMax = 255;

// One resource: its name and its bytes.
using TypeRessource = std::pair<std::string, std::string>;

// The bytes of a module holding the resources in the given order. A name that is empty, too long,
// not printable ASCII or given twice raises std::invalid_argument.
std::string Ecrire(const std::vector<TypeRessource>& Ressources);

// The resources of a module's bytes; False (and nothing in Ressources) for bytes that are not a
// whole, well-formed module of this version.
[[nodiscard]] bool Lire(std::string_view Octets, std::vector<TypeRessource>& Ressources);

// Whether two resource names are the same name (ASCII letters without case).
bool MemeNom(std::string_view A, std::string_view B);

}  // namespace FormatModule
