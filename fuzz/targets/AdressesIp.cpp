// IPv4 addresses parsed from a text and end points read from a serialised stream (the binary
// formatter's layout). Input: the text (a length byte and its bytes), then the stream.
#include <memory>

#include "core/objects/Erreur.h"
#include "fuzz/FuzzSupport.h"
#include "net/ip/IEIPEndPoint.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  Fuzz::TOctets octets(Data, Size);
  const std::string texte = octets.Texte(40);
  const std::string_view reste = octets.Reste();

  if (auto adresse = TIPAddress::Parse(texte)) {
    auto relue = TIPAddress::Parse(adresse->ToString());
    Fuzz::Verifier(relue && relue->Adresse == adresse->Adresse, "the dotted form of an address parses back");
  } else {
    std::unique_ptr<TErreur> erreur(TIPAddress::TryParse(texte));
    Fuzz::Verifier(erreur != nullptr, "a text that does not parse gives an error");
  }

  TMemoryStream flux;
  flux.Assign(reste.data(), reste.size());
  TBinaryFormatter f(&flux);
  TIPEndPoint point{TBlank{}};
  try {
    point.Lire(&f, nullptr);
  } catch (const EReadError&) {
    return 0;
  }
  Fuzz::Verifier(point.Famille() == 2, "an end point read is an internet address");
  TMemoryStream ecrit;
  TBinaryFormatter g(&ecrit);
  point.Ecrire(&g, nullptr);
  Fuzz::Verifier(ecrit.Bytes() == std::vector<uint8_t>(reste.begin(), reste.begin() + flux.Position()),
                 "an end point read writes back the bytes it was read from");
  return 0;
}
