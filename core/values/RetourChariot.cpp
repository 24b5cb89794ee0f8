#include "core/values/RetourChariot.h"

namespace RetourChariot {

namespace {
// What ChaineRetourChariot answers, and what a conversion writes for each break.
constexpr std::string_view kNoms[] = {"\r\n", "\n", "\r", "BR", "\\n"};
constexpr std::string_view kSaut[] = {"\r\n", "\n", "\r", "<BR/>", "\\n"};
}  // namespace

std::string_view ChaineRetourChariot(TypeRetourChariot mode) {
  return mode <= RC_AntiSlashN ? kNoms[mode] : std::string_view();
}

// Replacing CR LF first and the remaining CR and LF after, each in one left-to-right pass, is
// the same as reading the text once and taking CR LF, a lone CR and a lone LF each as one break:
// no replacement creates a new break for a later pass to see (CR CR LF is two breaks).
std::string ConvertirRetoursChariot(std::string_view texte, TypeRetourChariot mode) {
  if (mode > RC_AntiSlashN) return std::string(texte);
  const std::string_view saut = kSaut[mode];
  std::string resultat;
  resultat.reserve(texte.size());
  for (std::size_t i = 0; i < texte.size(); ++i) {
    const char c = texte[i];
    if (c == '\r') {
      if (i + 1 < texte.size() && texte[i + 1] == '\n') ++i;
      resultat += saut;
    } else if (c == '\n') {
      resultat += saut;
    } else {
      resultat += c;
    }
  }
  return resultat;
}

}  // namespace RetourChariot
