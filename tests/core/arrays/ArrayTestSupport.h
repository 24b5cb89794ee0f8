// Helpers shared by the typed-array tests.
#pragma once

#include <cstdint>
#include <string>

// The slots of an array up to its last element: values, "_" for an empty slot.
template <class A>
std::string Cases(const A& a) {
  std::string s;
  const int32_t dernier = a.GetNombreElements() == 0 ? -1 : a.PositionDeIndice(a.GetNombreElements() - 1);
  for (int32_t p = 0; p <= dernier; ++p) {
    if (p > 0) s += ' ';
    s += a.PositionVide(p) ? std::string("_") : std::to_string(a.GetElementPosition(p));
  }
  return s;
}
