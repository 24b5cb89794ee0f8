#include "platform/ui/Traces.h"

#include <cstdio>

namespace Traces {
namespace {

bool MemeNom(const std::string& a, size_t longueur, const std::string& b) {
  if (longueur != b.size()) return false;
  for (size_t i = 0; i < longueur; ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

// One to eight hexadecimal digits, as a 32-bit value; -1 otherwise.
int32_t LireHexadecimal(const std::string& Texte) {
  if (Texte.empty() || Texte.size() > 8) return -1;
  uint32_t v = 0;
  for (char c : Texte) {
    int chiffre;
    if (c >= '0' && c <= '9') chiffre = c - '0';
    else if (c >= 'a' && c <= 'f') chiffre = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') chiffre = c - 'A' + 10;
    else return -1;
    v = v * 16 + static_cast<uint32_t>(chiffre);
  }
  return static_cast<int32_t>(v);
}

}  // namespace

std::string Valeur(const TListeNomsValeurs& Liste, const std::string& Nom) {
  for (const std::string& ligne : Liste) {
    const size_t egal = ligne.find('=');
    if (egal != std::string::npos && MemeNom(ligne, egal, Nom)) return ligne.substr(egal + 1);
  }
  return {};
}

void LireCouleursPersonnalisees(const TListeNomsValeurs& Valeurs, TCouleursPersonnalisees& Couleurs) {
  for (int i = 0; i < 16; ++i) {
    const std::string v = Valeur(Valeurs, std::string("Color") + static_cast<char>('A' + i));
    Couleurs[static_cast<size_t>(i)] = v.empty() ? -1 : LireHexadecimal(v);
  }
}

TListeNomsValeurs EcrireCouleursPersonnalisees(const TCouleursPersonnalisees& Couleurs) {
  TListeNomsValeurs l;
  for (int i = 0; i < 16; ++i) {
    char b[32];
    std::snprintf(b, sizeof b, "Color%c=%.6x", 'A' + i, static_cast<uint32_t>(Couleurs[static_cast<size_t>(i)]));
    l.emplace_back(b);
  }
  return l;
}

void DebutTrace(const std::string&, int32_t) {}
void FinTrace(const std::string&, int32_t) {}

}  // namespace Traces
