// The object-graph reader: objects re-created by class name from a stream, in the plain and the sized
// layout, strict or not. The first byte chooses the layout and the mode; the rest is the stream, read
// object after object. Every object read must write back, and what it writes must read back and write
// the same bytes again.
#include <memory>
#include <vector>

#include "core/serial/Serialisation.h"
#include "fuzz/FuzzSupport.h"

namespace {

std::unique_ptr<TBinaryFormatter> Formateur(bool AvecTaille, TStream* Flux) {
  if (AvecTaille) return std::make_unique<TBinaryFormatterWithSize>(Flux);
  return std::make_unique<TBinaryFormatter>(Flux);
}

std::vector<uint8_t> Ecrire(TObject* Objet, bool AvecTaille) {
  TMemoryStream flux;
  Formateur(AvecTaille, &flux)->EcrireObjet(Objet, nullptr);
  return flux.Bytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  Fuzz::TOctets octets(Data, Size);
  const uint8_t mode = octets.Octet();
  const bool avecTaille = mode & 1;
  const std::string_view reste = octets.Reste();

  TMemoryStream flux;
  flux.Assign(reste.data(), reste.size());
  auto formateur = Formateur(avecTaille, &flux);
  formateur->ModeStrict = (mode & 2) != 0;
  try {
    while (flux.Remaining() > 0) {
      const Fuzz::TGraphe objet(formateur->LireObjet(nullptr));
      const std::vector<uint8_t> ecrit = Ecrire(objet.Racine(), avecTaille);
      TMemoryStream relu;
      relu.Assign(ecrit.data(), ecrit.size());
      TObject* copie = nullptr;
      try {
        copie = Formateur(avecTaille, &relu)->LireObjet(nullptr);
      } catch (const Exception&) {
        Fuzz::Verifier(false, "an object read from a stream writes bytes that read back");
      }
      const Fuzz::TGraphe graphe(copie);
      Fuzz::Verifier(relu.Remaining() == 0, "reading back consumes exactly what was written");
      Fuzz::Verifier(Ecrire(copie, avecTaille) == ecrit, "an object read back writes the same bytes");
    }
  } catch (const Exception&) {
    // A corrupt stream is refused with the system's own exceptions; anything else is a fault.
  }
  return 0;
}
