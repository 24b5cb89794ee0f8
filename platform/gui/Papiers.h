// The named paper sizes of the platform's printer drivers: the sheet, in millimetres and portrait, of
// each driver paper code 1 to 68 (Letter, A4, envelopes, ...). Code 256 is a custom sheet, whose
// size a device mode gives in its paper width and length fields. A driver and the report library's
// paper sizes read the same table.
#pragma once

#include <cstdint>
#include <optional>

namespace Papiers {

// A sheet in millimetres, portrait.
struct TDimensions {
  double Width;
  double Length;
};

inline constexpr int32_t kPremierCode = 1;
inline constexpr int32_t kDernierCode = 68;
inline constexpr int32_t kCodePersonnalise = 256;

// The sheet of a named paper code; none for any other code (custom included).
std::optional<TDimensions> Dimensions(int32_t Code);

}  // namespace Papiers
