// The stream messages of the TCP link, on both sides of a transfer: the announcements and pieces of
// a stream received (every count and size bounded, the complete stream inflated under a bound), and
// the requests of a peer that asks this client for a stream.
//
// Input: messages, each a selector byte (modulo 6: ask, ready, refused, next piece asked, piece,
// acknowledged), a 16-bit length, then that many bytes as the message's data.
// Whatever arrives, the record never holds more than was announced, and the reader never gets more
// than the inflation bound.
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "net/protocol/GenresMessages.h"
#include "net/transport/TransfertStream.h"
#include "net/transport/VclCommTcp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  using namespace TransfertStream;
  constexpr uint64_t kMaximum = 1 << 20;
  TTransfertStream t;
  t.TailleInflateeMaximale = kMaximum;
  t.PeutEnvoyer = [](uint8_t g) { return g != StreamBase; };
  t.SurPreparer = [](TStream& f, uint8_t g) {
    const std::vector<uint8_t> contenu(5000, g);
    f.WriteBuffer(contenu.data(), static_cast<int64_t>(contenu.size()));
    return g != 2;
  };
  t.SurLire = [](TStream& f, uint8_t) {
    Fuzz::Verifier(uint64_t(f.Size()) <= kMaximum, "a stream read never inflates past its bound");
  };
  Fuzz::TOctets entree(Data, Size);
  for (int n = 0; n < 256 && !entree.Fini(); ++n) {
    const uint8_t selecteur = entree.Octet() % 6;
    const std::string_view octets = entree.Octets(entree.Valeur<uint16_t>());
    const std::vector<uint8_t> message(octets.begin(), octets.end());
    const auto taille = static_cast<uint32_t>(message.size());
    switch (selecteur) {
      case 0: (void)t.TraiterDemander(message.data(), taille); break;
      case 1: (void)t.TraiterPret(message.data(), taille); break;
      case 2: (void)t.TraiterRefuse(message.data(), taille); break;
      case 3: (void)t.TraiterSuivant(message.data(), taille); break;
      case 4: (void)t.TraiterPiece(message.data(), taille); break;
      default: (void)t.TraiterBienRecu(message.data(), taille); break;
    }
    Fuzz::Verifier(t.Recu().Recus() <= t.Recu().Total() && t.Recu().Total() <= kTailleCompresseeMaximale,
                   "a stream record never holds more than was announced");
  }
  return 0;
}
