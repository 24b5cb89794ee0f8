// Hive files of the settings store: any bytes are parsed; a hive that parses is written again, and
// what is written parses back to the same bytes, every key of it found. Input: the file's bytes.
#include "fuzz/FuzzSupport.h"
#include "platform/registry/HiveFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  HiveFile::THive ruche;
  std::string erreur;
  const std::string_view octets(reinterpret_cast<const char*>(Data), Size);
  if (!HiveFile::Parse(octets, ruche, erreur)) {
    Fuzz::Verifier(ruche.Keys.empty() && !erreur.empty(), "a refused file leaves no key and says why");
    return 0;
  }
  for (const auto& [plie, cle] : ruche.Keys) {
    Fuzz::Verifier(ruche.Find(cle.Path) == &cle, "every key is found by its path");
    Fuzz::Verifier(ruche.Exists(cle.Path), "every key exists");
  }
  const std::string ecrit = HiveFile::Serialise(ruche);
  HiveFile::THive relue;
  Fuzz::Verifier(HiveFile::Parse(ecrit, relue, erreur), "a written hive parses");
  Fuzz::Verifier(HiveFile::Serialise(relue) == ecrit, "a written hive parses back to the same bytes");
  return 0;
}
