#include "platform/gui/Messages.h"

#include <algorithm>
#include <deque>

#include <boost/asio/post.hpp>

#include "platform/loop/MainLoop.h"

namespace {

struct TMessage {
  TRecepteurMessages* Recepteur;
  uint32_t Message;
  intptr_t Parametre;
  uint64_t Numero;
};

struct TFile {
  std::deque<TMessage> Messages;
  uint64_t Suivant = 1;  // the number the next posted message takes
  MainLoop* Boucle = nullptr;
};

TFile& File() {
  static TFile file;
  return file;
}

// Handles the pending messages numbered below Limite.
void Traiter(uint64_t Limite) {
  TFile& f = File();
  while (!f.Messages.empty() && f.Messages.front().Numero < Limite) {
    const TMessage m = f.Messages.front();
    f.Messages.pop_front();
    m.Recepteur->RecevoirMessage(m.Message, m.Parametre);
  }
}

}  // namespace

TRecepteurMessages::~TRecepteurMessages() {
  auto& messages = File().Messages;
  messages.erase(std::remove_if(messages.begin(), messages.end(), [this](const TMessage& m) { return m.Recepteur == this; }),
                 messages.end());
}

namespace Messages {

void Envoyer(TRecepteurMessages* Recepteur, uint32_t Message, intptr_t Parametre) {
  if (Recepteur != nullptr) Recepteur->RecevoirMessage(Message, Parametre);
}

void Poster(TRecepteurMessages* Recepteur, uint32_t Message, intptr_t Parametre) {
  if (Recepteur == nullptr) return;
  TFile& f = File();
  const uint64_t numero = f.Suivant++;
  f.Messages.push_back({Recepteur, Message, Parametre, numero});
  // The loop handles this message and any posted before it that a pass has not handled yet.
  if (f.Boucle != nullptr) boost::asio::post(f.Boucle->Context(), [numero] { Traiter(numero + 1); });
}

void TraiterMessagesEnAttente() { Traiter(File().Suivant); }

std::size_t NombreEnAttente() { return File().Messages.size(); }

void Attacher(MainLoop* Boucle) { File().Boucle = Boucle; }

}  // namespace Messages
