#include "service/TexteCle.h"

#include "core/objects/Exceptions.h"
#include "objectdb/Traduction.h"

std::string TexteCle(std::string_view cle) {
  std::string texte = Traduction::Traduire(cle);
  return texte.empty() ? std::string(cle) : texte;
}

std::string TexteCleFormate(std::string_view cle, std::initializer_list<TFormatArg> Arguments) {
  try {
    return Format(TexteCle(cle), Arguments);
  } catch (const EConvertError&) {
    return Format(cle, Arguments);
  }
}
