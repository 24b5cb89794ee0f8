#include "core/objects/Interfaces.h"

#include <cstdio>

std::array<uint8_t, 16> TGUID::Bytes() const {
  std::array<uint8_t, 16> b{};
  for (int i = 0; i < 4; ++i) b[i] = static_cast<uint8_t>(D1 >> (8 * i));
  for (int i = 0; i < 2; ++i) b[4 + i] = static_cast<uint8_t>(D2 >> (8 * i));
  for (int i = 0; i < 2; ++i) b[6 + i] = static_cast<uint8_t>(D3 >> (8 * i));
  for (int i = 0; i < 8; ++i) b[8 + i] = D4[i];
  return b;
}

std::string TGUID::ToString() const {
  char text[40];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", D1, D2, D3,
                D4[0], D4[1], D4[2], D4[3], D4[4], D4[5], D4[6], D4[7]);
  return text;
}
