// The orders' readers: an order received from a peer (read, executed here, answered) and an answer
// received for one of our orders, in the plain and the sized layout, strict or not. Whatever comes,
// nothing crashes or leaks; an order received and answered here gives an answer whose error our own
// reader takes.
// Input: the choice byte (bit 0 sized, bit 1 strict, bit 2 an answer to our order rather than an
// order received), then the stream.
#include <memory>

#include "core/objects/Exceptions.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/ObjetsReseauFuzz.h"

namespace {

void RecevoirOrdre(IFormateur* Formateur, uint8_t Disposition) {
  std::unique_ptr<TOrdreReseau> ordre;
  try {
    ordre.reset(OrdreReseau::LireOrdre(Formateur));
  } catch (const Exception&) {
    return;
  }
  ordre->Traiter(TComportementLocal::StaticClass());
  TMemoryStream reponse;
  Fuzz::Formateur(Disposition, &reponse)->EcrireObjet(ordre.get(), TFSModeReponse::StaticClass());
  reponse.SetPosition(0);
  std::unique_ptr<TOrdreReseau> client(static_cast<TOrdreReseau*>(ordre->ClassType()->NewBlank()));
  try {
    OrdreReseau::RecevoirReponse(client.get(), Fuzz::Formateur(Disposition, &reponse).get());
  } catch (const Exception&) {
    // An object parameter may hold an object that cannot come back by reference: refused, not lost.
    return;
  }
  Fuzz::Verifier((client->Erreur() == nullptr) == (ordre->Erreur() == nullptr), "the answer carries the error");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  Fuzz::DemarrerObjetsReseau();
  Fuzz::TOctets octets(Data, Size);
  const uint8_t choix = octets.Octet();
  const std::string_view reste = octets.Reste();
  TMemoryStream flux;
  flux.Assign(reste.data(), reste.size());
  auto formateur = Fuzz::Formateur(choix & 3, &flux);
  if ((choix & 4) == 0) {
    RecevoirOrdre(formateur.get(), static_cast<uint8_t>(choix & 3));
    return 0;
  }
  Fuzz::TOrdreFuzz ordre;
  try {
    OrdreReseau::RecevoirReponse(&ordre, formateur.get());
  } catch (const Exception&) {
    // A corrupt answer is refused with the system's own exceptions.
  }
  return 0;
}
