// The formatter's directives: the format string is the input, as a text from the dictionary would be,
// with four arguments of kinds and values taken from the input. Input: four kind bytes, four 8-byte
// values (a string argument takes its text from the format's start), then the format.
#include <cstdint>
#include <cstring>
#include <string>

#include "core/objects/Exceptions.h"
#include "core/values/Format.h"
#include "fuzz/FuzzSupport.h"

namespace {

TFormatArg Argument(uint8_t Genre, uint64_t Valeur, const std::string& Texte) {
  switch (Genre % 5) {
    case 0: return TFormatArg(static_cast<int64_t>(Valeur));
    case 1: return TFormatArg(Valeur);
    case 2: {
      double d;
      static_assert(sizeof d == sizeof Valeur);
      std::memcpy(&d, &Valeur, sizeof d);
      return TFormatArg(d);
    }
    case 3: return TFormatArg(Texte.substr(0, Valeur % 64));
    default: return TFormatArg(reinterpret_cast<const void*>(static_cast<uintptr_t>(Valeur)));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  Fuzz::TOctets octets(Data, Size);
  uint8_t genres[4];
  uint64_t valeurs[4];
  for (uint8_t& g : genres) g = octets.Octet();
  for (uint64_t& v : valeurs) v = octets.Valeur<uint64_t>();
  const std::string format(octets.Reste());
  try {
    Format(format, {Argument(genres[0], valeurs[0], format), Argument(genres[1], valeurs[1], format),
                    Argument(genres[2], valeurs[2], format), Argument(genres[3], valeurs[3], format)});
  } catch (const EConvertError&) {
    // A directive that does not fit its argument.
  }
  for (int i = 0; i < 4; ++i) {
    const TFormatArg nombre = Argument(2, valeurs[i], format);
    FloatToStrFixed(nombre.AsFloat(), static_cast<int8_t>(genres[i]));
    FloatToStrGeneral(nombre.AsFloat(), static_cast<int8_t>(genres[i]));
  }
  return 0;
}
