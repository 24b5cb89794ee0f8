// The "PChar" property of the unzip wrapper's text holder read from a component stream. Input: the
// stream.
#include "fuzz/FuzzSupport.h"
#include "net/services/DynaZip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  TMemoryStream flux;
  flux.Assign(Data, Size);
  TLPStr texte;
  try {
    texte.LirePropriete(flux);
  } catch (const EReadError&) {
    return 0;
  }
  Fuzz::Verifier(texte.GetText().find('\0') == std::string::npos, "the text stops at its first zero");
  TMemoryStream ecrit;
  texte.EcrirePropriete(ecrit);
  ecrit.Seek(0, TSeekOrigin::soBeginning);
  TLPStr relu;
  relu.LirePropriete(ecrit);
  Fuzz::Verifier(relu.GetText() == texte.GetText(), "a property written reads back");
  return 0;
}
