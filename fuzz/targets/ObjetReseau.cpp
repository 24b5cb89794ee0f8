// The network objects' readers: objects re-created from a peer's stream in every serialisation mode
// (request, answer, declaration, reference, reference and content, plain), in the plain and the
// sized layout, strict or not, with an order class and an identifiable class registered and the
// receiver's own object declared. Whatever comes, nothing crashes or leaks, and the receiver's object
// stays alive and mapped to its GUID (a plain reader never gets it).
// Input: the layout byte (bit 0 sized, bit 1 strict), then the stream, read object after object.
#include "core/objects/Exceptions.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/ObjetsReseauFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  Fuzz::DemarrerObjetsReseau();
  Fuzz::TOctets octets(Data, Size);
  const uint8_t disposition = octets.Octet();
  const std::string_view reste = octets.Reste();
  TMemoryStream flux;
  flux.Assign(reste.data(), reste.size());
  auto formateur = Fuzz::Formateur(disposition, &flux);
  try {
    while (flux.Remaining() > 0) {
      TObject* lu = formateur->LireObjet(nullptr);
      Fuzz::Verifier(lu == nullptr || lu != Fuzz::ObjetLocal(), "a plain reader never gets the receiver's object");
      const Fuzz::TGraphe graphe(lu);
    }
  } catch (const Exception&) {
    // A corrupt stream is refused with the system's own exceptions; anything else is a fault.
  }
  Fuzz::Verifier(TGestionnaireIdentificationReseau::ObjetDeIdentifiant(Fuzz::kGuidLocal) == Fuzz::ObjetLocal(),
                 "the receiver's object stays mapped to its GUID");
  return 0;
}
