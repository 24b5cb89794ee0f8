// What the data client reads of the server's answers and orders before handing them on: the packed
// sequence of modification orders (cut into its elements, held, then replayed), the answer to a
// request copied into the caller's area of a given capacity, and the exclusive-mode messages.
//
// Input: a selector byte, modulo 3. 0: the rest is a packed sequence. 1: a capacity byte, then the
// rest is the answer. 2: the rest is an exclusive-mode change, then a lock change.
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "net/OrdresRecus.h"
#include "net/RequeteServeur.h"
#include "net/transport/MessagesModeExclusif.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::TOctets entree(Data, Size);
  const uint8_t selecteur = entree.Octet();
  if (selecteur % 3 == 0) {
    const std::string_view reste = entree.Reste();
    const std::vector<uint8_t> message(reste.begin(), reste.end());
    TOrdresRetenus retenus;
    retenus.Commencer();
    std::vector<std::string> vus;
    const uint32_t n = OrdresRecus::Decouper(message.data(), static_cast<uint32_t>(message.size()),
                                             [&](const uint8_t* o, uint32_t t) {
                                               retenus.Retenir(o, t);
                                               vus.emplace_back(reinterpret_cast<const char*>(o), t);
                                             });
    Fuzz::Verifier(n == vus.size() && retenus.Nombre() == n, "every element cut out is held once");
    std::size_t i = 0;
    retenus.Rejouer([&](const uint8_t* o, uint32_t t) {
      Fuzz::Verifier(i < vus.size() && vus[i] == std::string(reinterpret_cast<const char*>(o), t),
                     "held orders come back as they arrived, in order");
      ++i;
    });
    Fuzz::Verifier(i == vus.size() && !retenus.Actif(), "every held order is replayed");
  } else if (selecteur % 3 == 2) {
    const std::string_view reste = entree.Reste();
    const std::vector<uint8_t> message(reste.begin(), reste.end());
    const auto taille = static_cast<uint32_t>(message.size());
    MessagesModeExclusif::TypeModeModifie mode;
    if (MessagesModeExclusif::LireModeModifie(message.data(), taille, mode))
      Fuzz::Verifier(mode.InfosDemandeur.size() <= 200 && MessagesModeExclusif::EcrireModeModifie(mode).size() == taille,
                     "an exclusive-mode change keeps its information within its field");
    MessagesModeExclusif::TypeVerrouModifie verrou;
    (void)MessagesModeExclusif::LireVerrouModifie(message.data(), taille, verrou);
  } else {
    const uint8_t capacite = entree.Octet();
    const std::string_view reste = entree.Reste();
    const std::vector<uint8_t> reponse(reste.begin(), reste.end());
    TEchangeSynchrone echange;
    (void)echange.Commencer();
    echange.RecevoirReponse(reponse.data(), static_cast<uint32_t>(reponse.size()));
    // An area of exactly that capacity: a copy past it is caught.
    std::vector<uint8_t> zone(capacite);
    const bool verdict = echange.Terminer(zone.data(), capacite);
    Fuzz::Verifier(verdict == (!reponse.empty() && reponse[0] != 0), "the verdict is the first byte");
  }
  return 0;
}
