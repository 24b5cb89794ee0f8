// The published parameter lists' readers: a list (or one published parameter) read whole, and the
// parameters of an order read in place in the request or the answer mode, in the plain and the sized
// layout, strict or not. A list read whole must write bytes that read back to the same bytes; the
// parameters of an order, once written and read again, must write the same bytes again.
// Input: the choice byte (bit 0 sized, bit 1 strict, bits 2-3: 0 a list, 1 a published parameter,
// 2 an order's request, 3 an order's answer), then the stream.
#include <memory>
#include <vector>

#include "core/objects/Exceptions.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/ObjetsReseauFuzz.h"

namespace {

std::vector<uint8_t> Ecrire(TOrdreReseau& Ordre, bool Reponse, uint8_t Disposition) {
  TMemoryStream flux;
  auto f = Fuzz::Formateur(Disposition, &flux);
  if (Reponse) Ordre.EcrireReponse(f.get());
  else Ordre.EcrireRequete(f.get());
  return flux.Bytes();
}

// Reads Octets into a fresh order; false when they are refused.
bool Lire(TOrdreReseau& Ordre, bool Reponse, uint8_t Disposition, const std::vector<uint8_t>& Octets) {
  TMemoryStream flux;
  flux.Assign(Octets.data(), Octets.size());
  try {
    auto f = Fuzz::Formateur(Disposition, &flux);
    if (Reponse) Ordre.LireReponse(f.get());
    else Ordre.LireRequete(f.get());
  } catch (const Exception&) {
    return false;
  }
  return flux.Remaining() == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  Fuzz::DemarrerObjetsReseau();
  Fuzz::TOctets octets(Data, Size);
  const uint8_t choix = octets.Octet();
  const auto disposition = static_cast<uint8_t>(choix & 3);
  const std::string_view reste = octets.Reste();
  switch ((choix >> 2) & 3) {
    case 0:
      Fuzz::LireDirectement(TListeParametresPublies::StaticClass(), disposition, reste);
      return 0;
    case 1:
      Fuzz::LireDirectement(TParametrePublie::StaticClass(), disposition, reste);
      return 0;
    default:
      break;
  }
  const bool reponse = ((choix >> 2) & 3) == 3;
  Fuzz::TOrdreFuzz ordre;
  if (!Lire(ordre, reponse, disposition, std::vector<uint8_t>(reste.begin(), reste.end()))) return 0;
  // A reference to an object the receiver does not hold comes back as nil: the second writing is
  // the stable one.
  const std::vector<uint8_t> premier = Ecrire(ordre, reponse, disposition);
  Fuzz::TOrdreFuzz relu;
  Fuzz::Verifier(Lire(relu, reponse, disposition, premier), "what an order writes reads back whole");
  const std::vector<uint8_t> second = Ecrire(relu, reponse, disposition);
  Fuzz::TOrdreFuzz encore;
  Fuzz::Verifier(Lire(encore, reponse, disposition, second), "what an order writes reads back whole");
  Fuzz::Verifier(Ecrire(encore, reponse, disposition) == second, "an order read back writes the same bytes");
  return 0;
}
