// The parameters' readers: every parameter class, read from a stream in the plain or the sized layout, strict or not
// (its name, tag, collected flag and value; an object parameter's object as a whole object). What it
// reads must write bytes that read back and write the same bytes again.
// Input: the choice byte (bit 0 the sized layout, bit 1 the strict mode, the rest the class), then the
// stream.
#include <iterator>

#include "fuzz/FuzzSupport.h"
#include "objectdb/parameters/ParametreBooleen.h"
#include "objectdb/parameters/ParametreCardinal.h"
#include "objectdb/parameters/ParametreDouble.h"
#include "objectdb/parameters/ParametreDuree.h"
#include "objectdb/parameters/ParametreInt64.h"
#include "objectdb/parameters/ParametreInteger.h"
#include "objectdb/parameters/ParametreInterface.h"
#include "objectdb/parameters/ParametreObject.h"
#include "objectdb/parameters/ParametreReal.h"
#include "objectdb/parameters/ParametreReferenceArticle.h"
#include "objectdb/parameters/ParametreSingle.h"
#include "objectdb/parameters/ParametreString.h"
#include "objectdb/parameters/ParametreTDateTime.h"
#include "objectdb/parameters/ParametreWideString.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  static const TClass* const kClasses[] = {
      TParametreBooleen::StaticClass(),  TParametreCardinal::StaticClass(),         TParametreInteger::StaticClass(),
      TParametreInt64::StaticClass(),    TParametreDouble::StaticClass(),           TParametreReal::StaticClass(),
      TParametreSingle::StaticClass(),   TParametreTDateTime::StaticClass(),        TParametreDuree::StaticClass(),
      TParametreString::StaticClass(),   TParametreWideString::StaticClass(),       TParametreObject::StaticClass(),
      TParametreInterface::StaticClass(), TParametreReferenceArticle::StaticClass(),
  };
  Fuzz::Demarrer();
  Fuzz::TOctets octets(Data, Size);
  const uint8_t choix = octets.Octet();
  const TClass* classe = kClasses[(choix >> 2) % std::size(kClasses)];
  Fuzz::LireDirectement(classe, static_cast<uint8_t>(choix & 3), octets.Reste());
  return 0;
}
