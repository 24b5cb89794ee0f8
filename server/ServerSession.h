// One client's connection to the data server, from the first frame to the last: it reads the
// client's frames, answers in the order a connection goes (connection identifier and host record,
// server profiles, the three-step handshake that installs the session key, login, the account base,
// streams 0 and 1, requests, keep-alive, end of login, disconnection), and sends the modification
// orders of the server once the client holds a base.
//
// The session trusts nothing the client sends: every message's length is checked against the bytes
// there before anything is read, a message that does not belong to the session's state is ignored,
// clear frames are dropped once the session key is in force, and rights are checked here, not only
// on the client. The transport (bytes in and out, timers) is the derived class's; the accounts, the
// bases and the login guard are the host's.
// Main thread only.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "net/cipher/CryptageClientServeur.h"
#include "net/protocol/Trame.h"
#include "net/protocol/VCLBufferDynamique.h"
#include "net/services/Version.h"
#include "server/AccountBase.h"
#include "server/LoginGuard.h"

// The login's connection statuses and results, as they travel.
enum : uint8_t {
  kAutoriseModif = 0, kAutoriseModifRestreinte = 1, kAutoriseConsult = 2, kDemandeModif = 3,
  kDemandeModifRestreinte = 4, kDemandeConsult = 5, kNonAutorise = 6, kDemandeInvite = 7, kDemandeAdmin = 8,
  kDemandeAutomatique = 9
};
enum : uint8_t { kLoginOk = 0, kMotDePasseIncorrect = 3, kLoginInconnu = 4, kConnexionRefusee = 8 };

// What the sessions share: the accounts, the bases, the guard, the clock and the log.
class SessionHost {
 public:
  virtual ~SessionHost() = default;
  virtual const AccountBase& Accounts() const = 0;
  virtual LoginGuard& Guard() = 0;
  // The compressed stream 0 of a server profile (the 256-byte name, then the base body); nil when
  // the profile has no base.
  virtual std::shared_ptr<const std::string> CompressedBase(uint32_t Profile) = 0;
  // A user's settings stream in a server profile (uncompressed); false when it cannot be read.
  virtual bool Settings(uint32_t Profile, uint32_t User, std::string& Stream) = 0;
  virtual const TypeVersion& Version() const = 0;
  virtual LoginGuard::Clock::time_point Now() const = 0;
  virtual void Log(const std::string& Line) = 0;
};

class ServerSession {
 public:
  enum class State { Connected, Identified, Authenticated, LoggedIn };

  ServerSession(SessionHost& Host, uint32_t Ident, uint32_t Profile, uint16_t Port, std::string Address);
  virtual ~ServerSession() = default;
  ServerSession(const ServerSession&) = delete;
  ServerSession& operator=(const ServerSession&) = delete;

  // Sends the connection identifier and the server's host record.
  void Start();
  // Bytes from the client: every complete frame is read and handled.
  void Received(const void* Data, size_t Size);
  // An order of the server (CM_ENVOYER_ORDRE_MODIF, CM_ENVOYER_ORDRES_MODIFS or
  // CM_ENVOYER_ORDRE_MODIF_UTIL), sent when the session holds a base.
  void SendOrder(uint32_t Kind, std::string_view Order);
  // Closes a session idle too long: before the session key, HandshakeIdle; after it, three
  // keep-alive periods without a frame. True when it closed.
  bool CloseIfIdle(LoginGuard::Clock::duration HandshakeIdle, LoginGuard::Clock::duration KeepAlive);
  // Ends the session (logged with the reason); nothing more is read or sent.
  void Close(const std::string& Reason);

  uint32_t Ident() const { return ident_; }
  uint32_t Profile() const { return profile_; }
  State CurrentState() const { return state_; }
  bool HoldsBase() const { return holdsBase_; }
  bool Closed() const { return closed_; }
  uint8_t Granted() const { return granted_; }

 protected:
  // The transport's part: send a frame; close the link once what was sent is gone; run an action
  // later unless the session is gone by then.
  virtual void Write(std::string&& Frame) = 0;
  virtual void Shut() = 0;
  virtual void Later(LoginGuard::Clock::duration Delay, std::function<void()> Action) = 0;

 private:
  void Handle(const TypeMessageRecu& M);
  // The server's host record: its name, its port, its version and this port's server profile.
  void SendHost();
  bool Send(uint32_t Kind, std::string_view Data = {});
  void Log(const std::string& Line);
  std::string Who() const;
  // A client that was sent its challenge and left, or identified again, without answering it: one
  // that could not decipher the challenge, which is what a wrong password gives.
  void AbandonedChallenge();
  // After a delay of the guard, or at once.
  void Answer(LoginGuard::Clock::duration Delay, uint32_t Kind, std::string Data);

  void OnHost(std::string_view D);
  void OnServerProfiles();
  void OnIdentification(std::string_view D);
  void OnAuthentication(std::string_view D);
  void OnLogin(std::string_view D);
  void OnEndOfLogin();
  void OnAccounts();
  void OnStreamRequest(std::string_view D);
  void OnNextPiece(std::string_view D);
  void OnStreamReceived(std::string_view D);
  void OnRequest(std::string_view D);
  void OnBaseState();

  // The verdict of a request: an empty text when it may go on, otherwise why it is refused.
  std::string CheckRequest(std::string_view D) const;
  // The status granted for the requested one to a holder of a profile of that kind; kNonAutorise
  // when none.
  static uint8_t Grant(uint8_t Requested, uint8_t Kind);

  SessionHost& host_;
  const uint32_t ident_;
  const uint32_t profile_;
  const uint16_t port_;
  const std::string address_;

  TBufferDynamique in_;
  TypeSecurite sending_;
  TypeSecurite receiving_;
  TClassCryptageClientServeur cipherOut_;
  TClassCryptageClientServeur cipherIn_;
  TClassCryptageClientServeur handshake_;

  State state_ = State::Connected;
  bool closed_ = false;
  LoginGuard::Clock::time_point lastActivity_;

  // The handshake in progress.
  uint32_t user_ = 0;
  std::string code_;
  std::string authPhrase_;
  uint8_t table_[16] = {};
  uint8_t challenge_[16] = {};

  uint8_t granted_ = kNonAutorise;
  bool holdsBase_ = false;

  struct Stream {
    uint8_t Kind = 0;
    std::shared_ptr<const std::string> Bytes;
  };
  std::optional<Stream> stream_;
};

namespace ServerStreams {
// A stream as it travels: zlib at the default level. False when compression fails.
[[nodiscard]] bool Compress(std::string_view Plain, std::string& Compressed);
}  // namespace ServerStreams
