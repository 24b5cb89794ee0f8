// The object-graph reader: objects re-created by class name from a stream, in the plain and the sized
// layout, strict or not. The first byte chooses the layout and the mode; the rest is the stream, read
// object after object. Every object read must write back, and what it writes must read back and write
// the same bytes again.
#include <memory>
#include <vector>

#include "core/serial/Serialisation.h"
#include "fuzz/FuzzSupport.h"

namespace {

std::vector<uint8_t> Ecrire(TObject* Objet, uint8_t Disposition) {
  TMemoryStream flux;
  Fuzz::Formateur(Disposition, &flux)->EcrireObjet(Objet, nullptr);
  return flux.Bytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  Fuzz::TOctets octets(Data, Size);
  const uint8_t disposition = octets.Octet();
  const std::string_view reste = octets.Reste();

  TMemoryStream flux;
  flux.Assign(reste.data(), reste.size());
  auto formateur = Fuzz::Formateur(disposition, &flux);
  try {
    while (flux.Remaining() > 0) {
      const Fuzz::TGraphe objet(formateur->LireObjet(nullptr));
      const std::vector<uint8_t> ecrit = Ecrire(objet.Racine(), disposition);
      TMemoryStream relu;
      relu.Assign(ecrit.data(), ecrit.size());
      TObject* copie = nullptr;
      try {
        copie = Fuzz::Formateur(disposition, &relu)->LireObjet(nullptr);
      } catch (const Exception&) {
        Fuzz::Verifier(false, "an object read from a stream writes bytes that read back");
      }
      const Fuzz::TGraphe graphe(copie);
      Fuzz::Verifier(relu.Remaining() == 0, "reading back consumes exactly what was written");
      Fuzz::Verifier(Ecrire(copie, disposition) == ecrit, "an object read back writes the same bytes");
    }
  } catch (const Exception&) {
    // A corrupt stream is refused with the system's own exceptions; anything else is a fault.
  }
  return 0;
}
