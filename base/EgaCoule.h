// The 16 EGA colours, as colour values 0x00BBGGRR.
#pragma once

#include <array>
#include <cstdint>

namespace EgaCoule {

inline constexpr std::array<uint32_t, 16> kCouleurs = {
    0x000000, 0x800000, 0x008000, 0xFFFF00, 0x0000FF, 0x800080, 0x000080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF80, 0x8080FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

}  // namespace EgaCoule
