// The session cipher's block reader. Input: the pass phrase (a length byte and its bytes), then the
// block.
#include <cstring>

#include "fuzz/FuzzSupport.h"
#include "net/cipher/CryptageClientServeur.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  Fuzz::TOctets octets(Data, Size);
  TClassCryptageClientServeur chiffreur;
  chiffreur.PhraseSecrete = octets.Texte(16);
  const std::string_view bloc = octets.Reste();

  std::string clair;
  if (!chiffreur.Dechiffrer(bloc, clair)) return 0;
  Fuzz::Verifier(bloc.size() == TClassCryptageClientServeur::TailleBloc(static_cast<uint32_t>(clair.size())),
                 "an accepted block has the size of its plain text");
  // The same plain text enciphers into the same first cipher bytes (one key stream per phrase) and
  // deciphers back.
  const std::string nouveau = chiffreur.Chiffrer(clair);
  Fuzz::Verifier(nouveau.size() == bloc.size(), "the block size depends on the plain size only");
  Fuzz::Verifier(nouveau.compare(0, 24 + clair.size(), bloc.substr(0, 24 + clair.size())) == 0,
                 "the digest, sizes and cipher text of the plain bytes are the same");
  std::string relu;
  Fuzz::Verifier(chiffreur.Dechiffrer(nouveau, relu) && relu == clair, "a block enciphered deciphers back");
  return 0;
}
