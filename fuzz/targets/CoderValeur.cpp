// The reversible encoding of values (the service's login on its command line): any text is
// decoded, to nothing or to a text whose encoding decodes to it again; a text from the input
// encodes to upper-case hexadecimal of its length's size and decodes back. Input: a text (a length
// byte and its bytes), then the text to decode.
#include "fuzz/FuzzSupport.h"
#include "streams/Registre.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  Fuzz::TOctets octets(Data, Size);
  const std::string texte = octets.Texte(64);
  const std::string code(octets.Reste());

  std::string decode;
  Registre::CoderValeur(code, false, decode);
  std::string recode, redecode;
  Registre::CoderValeur(decode, true, recode);
  Registre::CoderValeur(recode, false, redecode);
  Fuzz::Verifier(redecode == decode, "what a decoding gives encodes and decodes back");

  std::string code2, clair;
  Registre::CoderValeur(texte, true, code2);
  Fuzz::Verifier(code2.size() == 2 * (48 + 32 * ((texte.size() + 15) / 16)), "an encoding has its length");
  Fuzz::Verifier(code2.find_first_not_of("0123456789ABCDEF") == std::string::npos, "an encoding is hexadecimal");
  Registre::CoderValeur(code2, false, clair);
  Fuzz::Verifier(clair == texte, "an encoding decodes back");
  return 0;
}
