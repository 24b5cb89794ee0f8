// Window messages between the windows of the process: a message is sent (handled at once) or posted
// (queued, handled later on the main thread), and a posted message reaches its receiver only while
// the receiver lives: a receiver that goes takes its pending messages with it.
//
// Posted messages are handled in the order they were posted, by TraiterMessagesEnAttente (one nested
// pass: the messages pending when it starts; those posted meanwhile wait for the next pass) or, when
// a main loop is attached, by a handler the post queues on that loop. Main thread only.
#pragma once

#include <cstddef>
#include <cstdint>

class MainLoop;

class TRecepteurMessages {
 public:
  TRecepteurMessages() = default;
  // Its pending messages are dropped.
  virtual ~TRecepteurMessages();
  TRecepteurMessages(const TRecepteurMessages&) = delete;
  TRecepteurMessages& operator=(const TRecepteurMessages&) = delete;

  virtual void RecevoirMessage(uint32_t Message, intptr_t Parametre) = 0;
};

namespace Messages {

// The first message number free for the program's own messages.
inline constexpr uint32_t WM_USER = 0x400;

// Handles the message now (nothing when Recepteur is none).
void Envoyer(TRecepteurMessages* Recepteur, uint32_t Message, intptr_t Parametre);
// Queues the message (nothing when Recepteur is none).
void Poster(TRecepteurMessages* Recepteur, uint32_t Message, intptr_t Parametre);
// Handles the messages pending when it is called, in order; a receiver that raises lets the
// exception through, and the messages after its own stay queued.
void TraiterMessagesEnAttente();
std::size_t NombreEnAttente();
// The loop that handles posted messages by itself (none: only TraiterMessagesEnAttente does).
void Attacher(MainLoop* Boucle);

}  // namespace Messages
