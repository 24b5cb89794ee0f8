#include "service/TexteCle.h"

#include "objectdb/Traduction.h"

std::string TexteCle(std::string_view cle) {
  std::string texte = Traduction::Traduire(cle);
  return texte.empty() ? std::string(cle) : texte;
}
