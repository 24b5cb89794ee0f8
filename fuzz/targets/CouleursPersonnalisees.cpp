// The custom colours of the per-user stream: "ColorA" to "ColorP" read from name=value lines.
// Input: lines separated by line feeds.
#include <string>

#include "fuzz/FuzzSupport.h"
#include "platform/ui/Traces.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  const std::string texte(reinterpret_cast<const char*>(Data), Size);
  TListeNomsValeurs lignes;
  size_t debut = 0;
  while (debut <= texte.size()) {
    const size_t fin = std::min(texte.find('\n', debut), texte.size());
    lignes.push_back(texte.substr(debut, fin - debut));
    debut = fin + 1;
  }
  Traces::TCouleursPersonnalisees couleurs{};
  Traces::LireCouleursPersonnalisees(lignes, couleurs);
  // What was read writes and reads back the same.
  Traces::TCouleursPersonnalisees relues{};
  Traces::LireCouleursPersonnalisees(Traces::EcrireCouleursPersonnalisees(couleurs), relues);
  Fuzz::Verifier(relues == couleurs, "custom colours read back as they were written");
  return 0;
}
