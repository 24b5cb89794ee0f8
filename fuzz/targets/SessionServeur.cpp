// The data server's session: what a client sends, message by message, to a session that may have
// gone through a real login first. Input: an options byte (bit 0: log in as "JMA" first; bit 1: the
// rest is raw bytes, fed in pieces of the size given by the next byte), then messages: a kind byte
// (an index into the kinds a server accepts, or a raw kind), a 16-bit length and the data.
#include <algorithm>
#include <cstring>

#include "fuzz/FuzzSupport.h"
#include "net/protocol/GenresMessages.h"
#include "net/protocol/PetitBoutiste.h"
#include "net/transport/VclCommTcp.h"
#include "server/ServerSession.h"

using namespace GenresMessages;

namespace {

class Host final : public SessionHost {
 public:
  Host() {
    uint32_t id = 0;
    (void)accounts_.AddServerProfile("Base", 1, Profile);
    (void)accounts_.AddUserProfile({0, "Modification", 1, {}}, id);
    (void)accounts_.AddUser({0, "Superviseur", "SPR", "", "Secret", 0, ""}, id);
    (void)accounts_.AddUser({0, "Jeanne", "JMA", "jm", "pw1", 0, ""}, id);
    (void)accounts_.Assign("JMA", Profile, accounts_.UserProfiles()[0].Id, id);
    std::string c;
    (void)ServerStreams::Compress(std::string(300, 'b'), c);
    base_ = std::make_shared<const std::string>(c);
  }
  const AccountBase& Accounts() const override { return accounts_; }
  LoginGuard& Guard() override { return guard_; }
  std::shared_ptr<const std::string> CompressedBase(uint32_t P) override { return P == Profile ? base_ : nullptr; }
  bool Settings(uint32_t, uint32_t, std::string& S) override {
    S.assign(4, '\0');
    return true;
  }
  const TypeVersion& Version() const override { return version_; }
  LoginGuard::Clock::time_point Now() const override { return now_ += std::chrono::seconds(1); }
  void Log(const std::string&) override {}
  uint32_t Profile = 0;

 private:
  AccountBase accounts_;
  LoginGuard guard_;
  std::shared_ptr<const std::string> base_;
  TypeVersion version_{"Serveur", 5, 0, 6, 1};
  mutable LoginGuard::Clock::time_point now_{};
};

class Session final : public ServerSession {
 public:
  using ServerSession::ServerSession;
  TBufferDynamique Out;

 protected:
  void Write(std::string&& Frame) override { Out.Ajouter(Frame.data(), Frame.size()); }
  void Shut() override {}
  void Later(LoginGuard::Clock::duration, std::function<void()> Action) override { Action(); }
};

// The client's side of the link, as far as the harness needs it.
struct Peer {
  Session& S;
  TypeSecurite Sending, Receiving;
  TClassCryptageClientServeur Out, In, C;

  void Send(uint32_t Kind, std::string_view Data) {
    std::string frame;
    if (Trame::Construire({S.Ident(), 2}, Kind, Data.data(), static_cast<uint32_t>(Data.size()), 0, frame) &&
        Trame::Chiffrer(Sending, Out, frame))
      S.Received(frame.data(), frame.size());
  }
  // The last message of that kind the session sent since the previous call.
  std::string Last(uint32_t Kind) {
    std::string found;
    TypeMessageRecu m;
    for (;;) {
      const auto r = Trame::Lire(S.Out, Receiving, In, m);
      if (r == Trame::TypeLecture::Incomplet || r == Trame::TypeLecture::Corrompu) break;
      if (r == Trame::TypeLecture::Fait && m.Id == Kind) found = m.Donnees;
    }
    return found;
  }
  void LogIn(uint32_t Profile) {
    const auto table = VclCommTcp::CreerTablePositions();
    C.PhraseSecrete = CryptageClientServeur::PhraseIdentification("JMA", "jm");
    Send(CM_DEMANDER_IDENTIFICATION, C.Chiffrer(std::string_view(reinterpret_cast<const char*>(table.data()), 16)));
    const std::string id = Last(CM_REPONDRE_IDENTIFICATION);
    Fuzz::Verifier(id.size() == 95 && id[36] == 0, "the user identifies");
    std::string challenge;
    C.PhraseSecrete = CryptageClientServeur::PhraseAuthentification("JMA", "pw1", "jm", "pw1");
    Fuzz::Verifier(C.Dechiffrer(std::string_view(id).substr(37, 56), challenge) && challenge.size() == 16,
                   "the challenge deciphers");
    uint8_t source[16], bloc[32];
    std::memcpy(source, challenge.data(), 16);
    VclCommTcp::DisperserOctets(source, table, bloc);
    Send(CM_DEMANDER_AUTHENTIFICATION, C.Chiffrer(std::string(reinterpret_cast<const char*>(bloc), 32) + std::string(16, 'n')));
    const std::string auth = Last(CM_REPONDRE_AUTHENTIFICATION);
    std::string key;
    Fuzz::Verifier(auth.size() == 112 && auth[0] == 0 && C.Dechiffrer(std::string_view(auth).substr(56), key) &&
                       key.size() == 16,
                   "the session key arrives");
    Sending = Receiving = {Trame::kModeChiffre, key};
    std::string login(8, '\0');
    PetitBoutiste::EcrireCardinal(reinterpret_cast<uint8_t*>(login.data()), Profile);
    login[4] = 3;
    Send(CM_ENVOYER_LOGIN, login);
    Fuzz::Verifier(Last(CM_REPONDRE_LOGIN) == std::string("\0\0", 2), "the login is accepted");
  }
};

constexpr uint32_t kKinds[] = {CM_DEMANDER_HOST,          CM_ENVOYER_HOST,       CM_DEMANDER_PROFILS_SRV,
                               CM_DEMANDER_IDENTIFICATION, CM_DEMANDER_AUTHENTIFICATION, CM_ENVOYER_LOGIN,
                               CM_FIN_LOGIN,              CM_DEMANDER_INFOS_UTILISATEURS, CM_DEMANDER_STREAM,
                               CM_DEMANDER_STREAM_SUIVANT, CM_STREAM_BIEN_RECU,  CM_ENVOYER_REQUETE,
                               CM_ENVOYER_ETAT_BASE,      CM_DECONNEXION,        0};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  Fuzz::TOctets octets(Data, Size);
  const uint8_t options = octets.Octet();
  Host host;
  Session s(host, 7, host.Profile, 1, "fuzz");
  s.Start();
  Peer peer{s, {}, {}, {}, {}, {}};
  if (options & 1) peer.LogIn(host.Profile);
  if (options & 2) {
    const std::size_t piece = 1 + octets.Octet();
    while (!octets.Fini() && !s.Closed()) {
      const std::string_view b = octets.Octets(piece);
      s.Received(b.data(), b.size());
    }
    return 0;
  }
  while (!octets.Fini() && !s.Closed()) {
    const uint8_t k = octets.Octet();
    const uint32_t kind = k < std::size(kKinds) ? kKinds[k] : 0x10000u * k + octets.Octet();
    const std::string_view data = octets.Octets(octets.Valeur<uint16_t>());
    const bool keyed = s.CurrentState() == ServerSession::State::Authenticated ||
                       s.CurrentState() == ServerSession::State::LoggedIn;
    peer.Send(kind, data);
    // As the client does: the end of login returns both sides to clear frames.
    if (kind == CM_FIN_LOGIN && data.empty() && keyed) peer.Sending = peer.Receiving = {};
    // Whatever it was sent, the session answers in frames its client can read, and a request
    // exactly once, with a refusal.
    uint32_t answers = 0;
    TypeMessageRecu m;
    Trame::TypeLecture r;
    while ((r = Trame::Lire(s.Out, peer.Receiving, peer.In, m)) == Trame::TypeLecture::Fait ||
           r == Trame::TypeLecture::FaitRien) {
      if (r == Trame::TypeLecture::Fait && m.Id == CM_REPONDRE_REQUETE) {
        ++answers;
        Fuzz::Verifier(m.Donnees == std::string(1, '\0'), "a request is refused");
      }
    }
    Fuzz::Verifier(r != Trame::TypeLecture::Corrompu, "the session sends whole frames");
    Fuzz::Verifier(answers == (kind == CM_ENVOYER_REQUETE && data.size() >= 19 ? 1u : 0u),
                   "a request is answered exactly once");
  }
  return 0;
}
