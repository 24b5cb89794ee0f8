// The text form of stored components, and the report environment read from it: a text that reads
// must write a text that reads back to the same objects.
#include <cstdint>
#include <string>

#include "core/objects/Exceptions.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/RapportsFuzz.h"
#include "platform/streaming/ObjectText.h"
#include "reports/RBExpr.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::DemarrerRapports();
  ObjectText::TTextObject o;
  try {
    o = ObjectText::Read(std::string_view(reinterpret_cast<const char*>(Data), Size));
  } catch (const EReadError&) {
    return 0;
  }
  std::string again;
  try {
    again = ObjectText::Write(o);
  } catch (const EWriteError&) {
    return 0;  // only a float that is not finite
  }
  Fuzz::Verifier(ObjectText::Read(again) == o, "the written text reads back to the same objects");
  TRBEvEnvironment env;
  env.DefineVariable("Kept", "1");
  try {
    env.ReadProperties(o, "Functions.");
  } catch (const EReadError&) {
    Fuzz::Verifier(env.Count() == 1 && env.Names(0) == "KEPT", "a refused environment is unchanged");
    return 0;
  }
  env.Activate();
  for (int i = 0; i < env.Count(); ++i) {
    TRBEvResultRecord r;
    env.VariableValue(env.Names(i), r);
  }
  env.Deactivate();
  return 0;
}
