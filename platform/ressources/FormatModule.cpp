#include "platform/ressources/FormatModule.h"

#include <set>
#include <stdexcept>

namespace FormatModule {

namespace {

void EcrireEntier(std::string& s, uint32_t v) {
  for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// Reads 4 bytes at `pos` when they are there.
bool LireEntier(std::string_view s, std::size_t& pos, uint32_t& v) {
  if (s.size() - pos < 4) return false;
  v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(static_cast<unsigned char>(s[pos + i])) << (8 * i);
  pos += 4;
  return true;
}

bool NomValide(std::string_view nom) {
  if (nom.empty() || nom.size() > kLongueurNomMax) return false;
  for (char c : nom)
    if (c < 0x21 || c > 0x7E) return false;
  return true;
}

char Majuscule(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string NomMajuscule(std::string_view nom) {
  std::string s(nom);
  for (char& c : s) c = Majuscule(c);
  return s;
}

}  // namespace

bool MemeNom(std::string_view A, std::string_view B) {
  if (A.size() != B.size()) return false;
  for (std::size_t i = 0; i < A.size(); ++i)
    if (Majuscule(A[i]) != Majuscule(B[i])) return false;
  return true;
}

std::string Ecrire(const std::vector<TypeRessource>& Ressources) {
  std::string s(kSignature);
  EcrireEntier(s, kVersion);
  EcrireEntier(s, static_cast<uint32_t>(Ressources.size()));
  for (std::size_t i = 0; i < Ressources.size(); ++i) {
    const auto& [nom, donnees] = Ressources[i];
    if (!NomValide(nom)) throw std::invalid_argument("module resource name not valid: '" + nom + "'");
    for (std::size_t j = 0; j < i; ++j)
      if (MemeNom(Ressources[j].first, nom)) throw std::invalid_argument("module resource given twice: " + nom);
    if (donnees.size() > UINT32_MAX) throw std::invalid_argument("module resource too large: " + nom);
    EcrireEntier(s, static_cast<uint32_t>(nom.size()));
    s += nom;
    EcrireEntier(s, static_cast<uint32_t>(donnees.size()));
    s += donnees;
  }
  return s;
}

bool Lire(std::string_view Octets, std::vector<TypeRessource>& Ressources) {
  Ressources.clear();
  std::vector<TypeRessource> lues;
  if (Octets.size() < kTailleEntete || Octets.substr(0, kSignature.size()) != kSignature) return false;
  std::size_t pos = kSignature.size();
  uint32_t version = 0, nombre = 0;
  if (!LireEntier(Octets, pos, version) || version != kVersion || !LireEntier(Octets, pos, nombre)) return false;
  // Every entry takes at least 9 bytes: a count that the bytes cannot hold is refused before any
  // allocation.
  if (nombre > (Octets.size() - pos) / 9) return false;
  lues.reserve(nombre);
  std::set<std::string> noms;
  for (uint32_t i = 0; i < nombre; ++i) {
    uint32_t longueurNom = 0, longueurDonnees = 0;
    if (!LireEntier(Octets, pos, longueurNom) || longueurNom > Octets.size() - pos) return false;
    const std::string_view nom = Octets.substr(pos, longueurNom);
    pos += longueurNom;
    if (!NomValide(nom) || !noms.insert(NomMajuscule(nom)).second) return false;
    if (!LireEntier(Octets, pos, longueurDonnees) || longueurDonnees > Octets.size() - pos) return false;
    lues.emplace_back(std::string(nom), std::string(Octets.substr(pos, longueurDonnees)));
    pos += longueurDonnees;
  }
  if (pos != Octets.size()) return false;
  Ressources = std::move(lues);
  return true;
}

}  // namespace FormatModule
