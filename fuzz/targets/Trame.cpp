// The frame reader: bytes arriving on a connection in pieces, read under a receiving security record.
// Input: an options byte (bit 0: enciphered mode), the pass phrase (a length byte and its bytes), the
// size of the pieces the bytes arrive in, then the bytes.
#include <algorithm>

#include "fuzz/FuzzSupport.h"
#include "net/cipher/CryptageClientServeur.h"
#include "net/protocol/Trame.h"

using Trame::TypeLecture;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  Fuzz::TOctets octets(Data, Size);
  const uint8_t options = octets.Octet();
  const TypeSecurite securite{(options & 1) ? Trame::kModeChiffre : Trame::kModeCompresse, octets.Texte(16)};
  const std::size_t morceau = 1 + octets.Octet() * 16u;
  const std::string_view flux = octets.Reste();

  TBufferDynamique file;
  TClassCryptageClientServeur chiffreur;
  for (std::size_t donne = 0; donne < flux.size();) {
    const std::size_t n = std::min(morceau, flux.size() - donne);
    file.Ajouter(flux.data() + donne, n);
    donne += n;
    for (;;) {
      const std::size_t avant = file.Disponible();
      TypeMessageRecu message;
      const TypeLecture r = Trame::Lire(file, securite, chiffreur, message);
      if (r == TypeLecture::Incomplet) {
        Fuzz::Verifier(file.Disponible() == avant, "an incomplete frame consumes nothing");
        break;
      }
      if (r == TypeLecture::Corrompu) {
        Fuzz::Verifier(file.EstVide(), "a corrupt frame empties the queue");
        break;
      }
      Fuzz::Verifier(file.Disponible() < avant, "a frame read is consumed");
      if (r == TypeLecture::FaitRien) continue;
      Fuzz::Verifier(message.Donnees.size() <= Trame::kTailleMaximale, "data stays within the frame limit");
      if (message.Donnees.size() > 65536) continue;
      // What came out goes back through the writer and reads the same.
      std::string trame;
      if (!Trame::Construire(message.Adresse, message.Id, message.Donnees.data(),
                             static_cast<uint32_t>(message.Donnees.size()), 0, trame))
        continue;
      Fuzz::Verifier(Trame::Chiffrer(securite, chiffreur, trame), "a message read can be sent back");
      TBufferDynamique retour;
      retour.Ajouter(trame.data(), trame.size());
      TypeMessageRecu relu;
      const TypeLecture r2 = Trame::Lire(retour, securite, chiffreur, relu);
      const bool vide = message.Id == 0 && message.Donnees.empty();
      Fuzz::Verifier(r2 == TypeLecture::Fait || (r2 == TypeLecture::FaitRien && !vide && securite.Mode != Trame::kModeChiffre),
                     "a frame written reads back");
      if (r2 == TypeLecture::Fait)
        Fuzz::Verifier(relu.Id == message.Id && relu.Adresse == message.Adresse && relu.Donnees == message.Donnees,
                       "a frame written reads back the same message");
    }
  }
  return 0;
}
