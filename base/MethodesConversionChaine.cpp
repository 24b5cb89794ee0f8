#include "base/MethodesConversionChaine.h"

#include <charconv>

std::string TMethodesConversionChaine::BooleenVersTexte(bool Valeur) { return Valeur ? "vrai" : "faux"; }

int32_t TMethodesConversionChaine::TexteVersEntier(std::string_view Texte) {
  int32_t valeur = 0;
  const char* fin = Texte.data() + Texte.size();
  const auto [p, erreur] = std::from_chars(Texte.data(), fin, valeur);
  return erreur == std::errc() && p == fin ? valeur : 0;
}

std::string TMethodesConversionChaine::EntierVersTexte(int32_t Valeur, int32_t Largeur) {
  std::string texte = std::to_string(Valeur);
  if (Largeur > 0 && texte.size() < static_cast<std::size_t>(Largeur))
    texte.insert(0, static_cast<std::size_t>(Largeur) - texte.size(), '0');
  return texte;
}
