#include "core/records/Comparai.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

#include "core/objects/ClasseFinalisable.h"
#include "core/values/Collation.h"

namespace Comparai {
namespace {

template <class T>
T Load(const void* p, int32_t index = 0) {
  T value;
  std::memcpy(&value, static_cast<const unsigned char*>(p) + index * static_cast<int32_t>(sizeof(T)),
              sizeof(T));
  return value;
}

template <class T>
int32_t Sign(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

std::string_view ShortString(const void* p, int32_t taille) {
  auto bytes = static_cast<const unsigned char*>(p);
  int32_t length = bytes[0];
  if (taille > 0) length = std::min(length, taille - 1);
  return {reinterpret_cast<const char*>(bytes + 1), static_cast<std::size_t>(length)};
}

bool RealsEqual(double a, double b) {
  const double tolerance = std::max(std::min(std::fabs(a), std::fabs(b)) * 1e-12, 1e-12);
  return std::fabs(a - b) <= tolerance;
}

}  // namespace

void Initialiser() { TracerModule("Initialisation du module Comparai."); }

int32_t ComparerChaineCourte(const void* a, const void* b, int32_t taille) {
  return Collation::Compare(ShortString(a, taille), ShortString(b, taille), true);
}

int32_t ComparerOctet(const void* a, const void* b, int32_t) {
  return static_cast<int32_t>(Load<uint8_t>(a)) - static_cast<int32_t>(Load<uint8_t>(b));
}

int32_t ComparerOctetDecroissant(const void* a, const void* b, int32_t) {
  return static_cast<int32_t>(Load<uint8_t>(b)) - static_cast<int32_t>(Load<uint8_t>(a));
}

int32_t ComparerOctets(const void* a, const void* b, int32_t taille) {
  if (taille <= 0) return 0;
  const int c = std::memcmp(a, b, static_cast<std::size_t>(taille));
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int32_t ComparerCardinal(const void* a, const void* b, int32_t) {
  return Sign(Load<uint32_t>(a), Load<uint32_t>(b));
}

int32_t ComparerCardinaux(const void* a, const void* b, int32_t taille) {
  for (int32_t i = 0; i < taille / 4; ++i)
    if (int32_t c = Sign(Load<uint32_t>(a, i), Load<uint32_t>(b, i))) return c;
  return 0;
}

int32_t ComparerEntier(const void* a, const void* b, int32_t) {
  return Sign(Load<int32_t>(a), Load<int32_t>(b));
}

int32_t ComparerEntierBis(const void* a, const void* b, int32_t) {
  return Sign(Load<int32_t>(a), Load<int32_t>(b));
}

int32_t ComparerReels(const void* a, const void* b, int32_t taille) {
  for (int32_t i = 0; i < taille / 8; ++i) {
    const double x = Load<double>(a, i), y = Load<double>(b, i);
    if (!RealsEqual(x, y)) return x < y ? -1 : 1;
  }
  return 0;
}

}  // namespace Comparai
