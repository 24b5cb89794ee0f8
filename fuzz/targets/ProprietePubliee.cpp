// The readers of published-property descriptors and of their lists: a descriptor (owner class name,
// name, type name, kind, class name for an object property) or a list (the object array's form, then
// the described and element class names), in the plain or the sized layout, strict or not. What it reads must write
// bytes that read back and write the same bytes again.
// Input: the choice byte (bit 0 the sized layout, bit 1 the strict mode, the rest the class), then the
// stream.
#include <iterator>

#include "fuzz/FuzzSupport.h"
#include "objectdb/properties/ProprietePubliee.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  static const TClass* const kClasses[] = {TProprietePubliee::StaticClass(), TChampPublie::StaticClass(),
                                           TListeProprietesPubliees::StaticClass(), TListeChampsPublies::StaticClass()};
  Fuzz::TOctets octets(Data, Size);
  const uint8_t choix = octets.Octet();
  const TClass* classe = kClasses[(choix >> 2) % std::size(kClasses)];
  Fuzz::LireDirectement(classe, static_cast<uint8_t>(choix & 3), octets.Reste());
  return 0;
}
