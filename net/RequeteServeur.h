// The synchronous exchange of the data client with the server: one modification request sent, then
// a nested loop until the verdict (CM_REPONDRE_REQUETE: verdict byte, then the operation's answer
// bytes), the loss of the link, a stop of the program or the time-out. Only one exchange (request
// or network order) waits at a time; a second one asked for meanwhile is refused at once.
//
// The answer bytes are copied into the caller's area up to the capacity the caller gives, never
// more. A server that does not answer within the time-out ends the wait with a refusal and the link
// is closed: an answer arriving later could not be told from the answer to the next request, and
// the client gets the base afresh when it reconnects. Main thread only.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/loop/MainLoop.h"

// The state of the exchange under way.
class TEchangeSynchrone {
 public:
  bool Occupe() const { return occupe_; }
  bool Repondu() const { return repondu_; }
  // Starts an exchange: busy, nothing answered. False when one is already under way.
  [[nodiscard]] bool Commencer();
  // An answer: ignored unless an exchange waits for one. With at least one byte the verdict is byte
  // 0 and the rest are the answer bytes; with none the verdict is 0.
  void RecevoirReponse(const uint8_t* Donnees, uint32_t Taille);
  // The answer of a network order: its bytes, verdict 1 when there are any.
  void RecevoirTampon(const uint8_t* Donnees, uint32_t Taille);
  // The link is gone (or the wait was given up): a waiting exchange ends with verdict 0.
  void Abandonner();
  const std::vector<uint8_t>& Tampon() const { return tampon_; }
  // Copies min(answer bytes, Capacite) bytes to Reponse when it is not nil and frees the answer.
  // Answers verdict != 0.
  bool Terminer(void* Reponse, uint32_t Capacite);
  // Ends the exchange: the next one may start.
  void Liberer() {
    occupe_ = false;
    repondu_ = false;
  }

 private:
  bool occupe_ = false;
  bool repondu_ = false;
  uint8_t verdict_ = 0;
  std::vector<uint8_t> tampon_;
};

// What a request needs of the data client.
struct TypeLienRequetes {
  MainLoop* Boucle = nullptr;
  // Sends CM_ENVOYER_REQUETE {Code, the server's address, Valeur, Taille} and the argument.
  std::function<bool(uint32_t Code, uint32_t Valeur, const void* Donnees, uint32_t Taille)> Envoyer;
  // Closes the link after a time-out.
  std::function<void()> Fermer;
};

namespace RequeteServeur {

inline constexpr std::chrono::seconds kDelaiParDefaut{120};

struct TypeRequete {
  uint32_t Code = 0;
  int32_t Parametre = 0;
  int32_t Taille = 0;
  const void* Donnees = nullptr;
  bool AfficherAttente = false;
  void* Reponse = nullptr;
  int32_t TailleReponse = 0;
};

// The whole request: refused at once while another exchange waits (nothing sent, no event); else
// SurPre(AfficherAttente), send, wait with the task windows disabled, copy the answer bytes, then
// SurPost(AfficherAttente); answers the verdict. A negative size or a nil argument with a size
// sends nothing and answers False.
bool EnvoyerSynchrone(TEchangeSynchrone& Echange, const TypeLienRequetes& Lien, const TypeRequete& Requete,
                      MainLoop::Duration Delai, const std::function<void(bool)>& SurPre,
                      const std::function<void(bool)>& SurPost);

}  // namespace RequeteServeur
