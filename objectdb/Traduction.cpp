#include "objectdb/Traduction.h"

#include <map>

namespace Traduction {

namespace {

// Keys are kept in upper case (ASCII letters; keys are identifiers).
std::string Normaliser(std::string_view cle) {
  std::string s(cle);
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

std::map<std::string, std::string, std::less<>>& Dictionnaire() {
  static std::map<std::string, std::string, std::less<>> dictionnaire;
  return dictionnaire;
}

}  // namespace

std::string Traduire(std::string_view Cle) {
  const auto& d = Dictionnaire();
  const auto it = d.find(Normaliser(Cle));
  return it == d.end() ? std::string() : it->second;
}

void DefinirTexte(std::string_view Cle, std::string_view Texte) {
  if (Texte.empty())
    Dictionnaire().erase(Normaliser(Cle));
  else
    Dictionnaire()[Normaliser(Cle)] = std::string(Texte);
}

void Vider() { Dictionnaire().clear(); }

}  // namespace Traduction
