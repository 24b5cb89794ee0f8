// The connected user's access mode, which the time-slot unit keeps for the whole base: 1 modification,
// 2 consultation. Both values start at 1; each accepted login updates them.
#pragma once

#include <cstdint>

namespace SupDisponibilite {

inline constexpr int32_t kModeModification = 1;
inline constexpr int32_t kModeConsultation = 2;

int32_t& ModeDAcces();
int32_t& AncienModeDAcces();

}  // namespace SupDisponibilite
