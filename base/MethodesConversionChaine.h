// Booleans and integers to and from text, as the base's settings and lists write them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class TMethodesConversionChaine {
 public:
  // "vrai" or "faux".
  static std::string BooleenVersTexte(bool Valeur);
  // The decimal value of the text, 0 when it is not a number (or does not fit 32 bits).
  static int32_t TexteVersEntier(std::string_view Texte);
  // The decimal text with "0" added in front until it is Largeur characters long; a longer text is
  // not cut. The zeros come in front of a minus sign.
  static std::string EntierVersTexte(int32_t Valeur, int32_t Largeur);
};
