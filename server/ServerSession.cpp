#include "server/ServerSession.h"

#include <openssl/crypto.h>
#include <openssl/rand.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "net/protocol/GenresMessages.h"
#include "net/protocol/PetitBoutiste.h"
#include "net/protocol/VclCommIp.h"
#include "net/VclClient.h"
#include "net/transport/TransfertStream.h"
#include "net/transport/VclCommTcp.h"
#include "server/Bytes.h"

using namespace GenresMessages;

namespace {

// The sizes and stream kinds are the client's own, so that both ends read one definition.
constexpr size_t kHostServerSize = FormatClient::kTailleHostServeur;
constexpr size_t kHostClientSize = std::tuple_size_v<TypeEnvoiHostClient>;
// A piece carries at most this many bytes (clients ask for 4096).
constexpr size_t kPieceArea = TransfertStream::kTailleZone;
constexpr uint8_t kStreamBase = StreamBase;
constexpr uint8_t kStreamSettings = StreamInfosUtilisateur;
// The handshake answers: identification {32 unused, extended identifier, status, block, 2 unused};
// authentication {status, 51 unused, block size, block}.
constexpr size_t kAuthenticationHead = 56;

// The length bounds of what a client may send.
struct Accepted {
  uint32_t Kind;
  uint32_t Min;
  uint32_t Max;
};
constexpr Accepted kAccepted[] = {
    {CM_DEMANDER_HOST, 0, 0},
    {CM_ENVOYER_HOST, 33, kHostServerSize},
    {CM_DEMANDER_PROFILS_SRV, 0, 0},
    {CM_DEMANDER_IDENTIFICATION, TClassCryptageClientServeur::kTailleMinimale, 1024},
    {CM_DEMANDER_AUTHENTIFICATION, TClassCryptageClientServeur::kTailleMinimale, 1024},
    {CM_ENVOYER_LOGIN, 8, 8},
    {CM_FIN_LOGIN, 0, 0},
    {CM_DEMANDER_INFOS_UTILISATEURS, 0, 0},
    {CM_DEMANDER_STREAM, 1, 1},
    {CM_DEMANDER_STREAM_SUIVANT, 12, 12},
    {CM_STREAM_BIEN_RECU, 1, 1},
    {CM_ENVOYER_REQUETE, 19, Trame::kTailleMaximale},
    {CM_ENVOYER_ETAT_BASE, 1, 1},
    {CM_DECONNEXION, 16, 16},
};

// Bytes of the system's random source; a source that fails ends the session rather than give a
// predictable challenge or key.
void RandomBytes(void* Zone, size_t n) {
  if (RAND_bytes(static_cast<unsigned char*>(Zone), static_cast<int>(n)) != 1)
    throw std::runtime_error("the random source failed");
}

std::string Random(size_t n) {
  std::string s(n, '\0');
  RandomBytes(s.data(), n);
  return s;
}

uint32_t Read32(std::string_view D, size_t At) {
  return PetitBoutiste::LireCardinal(reinterpret_cast<const uint8_t*>(D.data() + At));
}

std::string Hex(uint32_t V) {
  char b[16];
  std::snprintf(b, sizeof b, "%08X", V);
  return b;
}

std::string StreamHeader(uint8_t Kind, uint32_t Value) {
  Bytes::Writer w;
  w.U8(Kind);
  w.Zeros(3);
  w.U32(Value);
  return std::move(w.Result());
}

}  // namespace

namespace ServerStreams {

bool Compress(std::string_view Plain, std::string& Compressed) {
  uLongf size = compressBound(static_cast<uLong>(Plain.size()));
  Compressed.resize(size);
  if (compress2(reinterpret_cast<Bytef*>(Compressed.data()), &size, reinterpret_cast<const Bytef*>(Plain.data()),
                static_cast<uLong>(Plain.size()), Z_DEFAULT_COMPRESSION) != Z_OK) {
    Compressed.clear();
    return false;
  }
  Compressed.resize(size);
  return true;
}

}  // namespace ServerStreams

ServerSession::ServerSession(SessionHost& Host, uint32_t Ident, uint32_t Profile, uint16_t Port, std::string Address)
    : host_(Host), ident_(Ident), profile_(Profile), port_(Port), address_(std::move(Address)), lastActivity_(Host.Now()) {}

std::string ServerSession::Who() const {
  return "connection " + std::to_string(ident_) + " from " + address_ + (code_.empty() ? "" : " (" + code_ + ")");
}

void ServerSession::Log(const std::string& Line) { host_.Log(Who() + ": " + Line); }

bool ServerSession::Send(uint32_t Kind, std::string_view Data) {
  if (closed_) return false;
  std::string frame;
  if (!Trame::Construire({ident_, 2}, Kind, Data.data(), static_cast<uint32_t>(Data.size()), 0, frame) ||
      !Trame::Chiffrer(sending_, cipherOut_, frame)) {
    Log("a message of kind " + std::to_string(Kind) + " could not be framed");
    return false;
  }
  Write(std::move(frame));
  return true;
}

void ServerSession::AbandonedChallenge() {
  if (state_ != State::Identified) return;
  state_ = State::Connected;
  if (host_.Guard().Failure(address_, code_, host_.Now())) Log("locked after repeated failed logins");
  Log("authentication failed: the challenge was not answered");
}

void ServerSession::Close(const std::string& Reason) {
  if (closed_) return;
  AbandonedChallenge();
  Log("closed: " + Reason);
  closed_ = true;
  stream_.reset();
  Shut();
}

void ServerSession::Start() {
  Bytes::Writer ident;
  ident.U32(0);
  ident.U32(ident_);
  Send(CM_ENVOYER_IDENT_CONNEXION, ident.Result());
  SendHost();
}

void ServerSession::SendHost() {
  std::string host(kHostServerSize, '\0');
  const ServerProfile* p = host_.Accounts().FindServerProfile(profile_);
  const std::string name = p != nullptr ? p->Name() : std::string();
  host[0] = static_cast<char>(std::min<size_t>(name.size(), 50));
  host.replace(1, static_cast<size_t>(static_cast<uint8_t>(host[0])), name.substr(0, 50));
  constexpr std::string_view kLabel = "Serveur de donnees";
  host[51] = static_cast<char>(kLabel.size());
  host.replace(52, kLabel.size(), kLabel);
  host[83] = static_cast<char>(port_ & 0xFF);
  host[84] = static_cast<char>(port_ >> 8);
  const auto version = host_.Version().EnOctets();
  std::memcpy(host.data() + 85, version.data(), version.size());
  PetitBoutiste::EcrireCardinal(reinterpret_cast<uint8_t*>(host.data() + 357), profile_);
  Send(CM_ENVOYER_HOST, host);
}

void ServerSession::Received(const void* Data, size_t Size) {
  if (closed_) return;
  lastActivity_ = host_.Now();
  in_.Ajouter(Data, Size);
  while (!closed_) {
    TypeMessageRecu m;
    switch (Trame::Lire(in_, receiving_, cipherIn_, m)) {
      case Trame::TypeLecture::Fait:
        try {
          Handle(m);
        } catch (const std::exception& e) {
          Close(std::string("failed while handling a message: ") + e.what());
        }
        break;
      case Trame::TypeLecture::FaitRien:
        Log("a frame that is not enciphered under the session key was dropped");
        break;
      case Trame::TypeLecture::Incomplet:
        return;
      case Trame::TypeLecture::Corrompu:
        Close("the client sent bytes that are not a frame");
        return;
    }
  }
}

bool ServerSession::CloseIfIdle(LoginGuard::Clock::duration HandshakeIdle, LoginGuard::Clock::duration KeepAlive) {
  if (closed_) return false;
  const auto idle = host_.Now() - lastActivity_;
  const bool keyed = state_ == State::Authenticated || state_ == State::LoggedIn;
  if (!keyed && idle >= HandshakeIdle) {
    Close("no login within the handshake's time");
    return true;
  }
  if (keyed && idle >= 3 * KeepAlive) {
    Close("silent for three keep-alive periods");
    return true;
  }
  return false;
}

void ServerSession::SendOrder(uint32_t Kind, std::string_view Order) {
  if (holdsBase_ && (Kind == CM_ENVOYER_ORDRE_MODIF || Kind == CM_ENVOYER_ORDRES_MODIFS || Kind == CM_ENVOYER_ORDRE_MODIF_UTIL))
    Send(Kind, Order);
}

void ServerSession::Handle(const TypeMessageRecu& M) {
  if (M.Id == 0) return;  // keep-alive
  const auto* a = std::find_if(std::begin(kAccepted), std::end(kAccepted), [&](const Accepted& x) { return x.Kind == M.Id; });
  if (a == std::end(kAccepted) || M.Donnees.size() < a->Min || M.Donnees.size() > a->Max) {
    Log("message of kind 0x" + Hex(M.Id) + " and " + std::to_string(M.Donnees.size()) + " bytes ignored");
    return;
  }
  const std::string_view d = M.Donnees;
  switch (M.Id) {
    case CM_DEMANDER_HOST: SendHost(); break;
    case CM_ENVOYER_HOST: OnHost(d); break;
    case CM_DEMANDER_PROFILS_SRV: OnServerProfiles(); break;
    case CM_DEMANDER_IDENTIFICATION: OnIdentification(d); break;
    case CM_DEMANDER_AUTHENTIFICATION: OnAuthentication(d); break;
    case CM_ENVOYER_LOGIN: OnLogin(d); break;
    case CM_FIN_LOGIN: OnEndOfLogin(); break;
    case CM_DEMANDER_INFOS_UTILISATEURS: OnAccounts(); break;
    case CM_DEMANDER_STREAM: OnStreamRequest(d); break;
    case CM_DEMANDER_STREAM_SUIVANT: OnNextPiece(d); break;
    case CM_STREAM_BIEN_RECU: OnStreamReceived(d); break;
    case CM_ENVOYER_REQUETE: OnRequest(d); break;
    case CM_ENVOYER_ETAT_BASE: OnBaseState(); break;
    case CM_DECONNEXION: Close("the client disconnected"); break;
    default: break;
  }
}

// --- Connection

void ServerSession::OnHost(std::string_view D) {
  // A client that carries its version (a record of 305 bytes with numbers) must agree with the
  // server's on the first three parts.
  if (D.size() != kHostClientSize) return;
  const uint32_t v[3] = {Read32(D, 289), Read32(D, 293), Read32(D, 297)};
  if (v[0] == 0 && v[1] == 0 && v[2] == 0 && Read32(D, 301) == 0) return;
  const TypeVersion& own = host_.Version();
  if (v[0] == own.Majeur && v[1] == own.Mineur && v[2] == own.Release) return;
  std::string cause(16, '\0');
  cause[0] = static_cast<char>(MDA_VersionsIncompatibles);
  Send(CM_DECONNEXION, cause);
  Close("the client's version " + std::to_string(v[0]) + "." + std::to_string(v[1]) + "." + std::to_string(v[2]) +
        " differs from the server's");
}

void ServerSession::OnServerProfiles() {
  for (const ServerProfile& p : host_.Accounts().ServerProfiles())
    Send(CM_ENVOYER_PROFIL_SRV, std::string_view(reinterpret_cast<const char*>(p.Record.data()), p.Record.size()));
  Send(CM_FIN_ENVOI_PROFILS_SRV);
}

// --- Handshake

void ServerSession::Answer(LoginGuard::Clock::duration Delay, uint32_t Kind, std::string Data) {
  if (Delay <= LoginGuard::Clock::duration::zero()) {
    Send(Kind, Data);
    return;
  }
  Later(Delay, [this, Kind, Data = std::move(Data)] { Send(Kind, Data); });
}

namespace {

std::string IdentificationAnswer(uint32_t Extended, uint8_t Status, std::string_view Block) {
  Bytes::Writer w;
  w.Zeros(32);
  w.U32(Extended);
  w.U8(Status);
  w.Raw(Block);
  w.Zeros(2);
  return std::move(w.Result());
}

std::string AuthenticationAnswer(uint8_t Status, std::string_view Block) {
  Bytes::Writer w;
  w.U8(Status);
  w.Zeros(kAuthenticationHead - 5);
  w.U32(static_cast<uint32_t>(Block.size()));
  w.Raw(Block);
  return std::move(w.Result());
}

// The logins a user may identify with: the one clients know it by, and none.
std::vector<std::string> Logins(const Account& U) { return {AccountBase::EffectiveLogin(U), std::string()}; }

}  // namespace

void ServerSession::OnIdentification(std::string_view D) {
  if (state_ == State::Authenticated || state_ == State::LoggedIn) return;
  AbandonedChallenge();
  code_.clear();
  const auto now = host_.Now();
  const std::string unknown =
      IdentificationAnswer(0, kLoginInconnu, Random(TClassCryptageClientServeur::TailleBloc(16)));
  LoginGuard::Verdict verdict = host_.Guard().Assess(address_, "", now);
  if (verdict.Locked) {
    Log("identification refused: the address is locked");
    Answer({}, CM_REPONDRE_IDENTIFICATION, unknown);
    return;
  }
  // The client enciphered its position table under its code and login: the user is the one whose
  // phrase deciphers it.
  const Account* found = nullptr;
  std::string login, table;
  for (const Account& u : host_.Accounts().Users()) {
    for (const std::string& l : Logins(u)) {
      handshake_.PhraseSecrete = CryptageClientServeur::PhraseIdentification(u.Code, l);
      if (handshake_.Dechiffrer(D, table) && table.size() == 16) {
        found = &u;
        login = l;
        break;
      }
    }
    if (found != nullptr) break;
  }
  if (found == nullptr) {
    if (host_.Guard().Failure(address_, "", now)) Log("the address is locked after repeated failed logins");
    Log("identification failed: no user has that code and login");
    Answer(verdict.Delay, CM_REPONDRE_IDENTIFICATION, unknown);
    return;
  }
  code_ = found->Code;
  verdict = host_.Guard().Assess(address_, code_, now);
  if (verdict.Locked) {
    Log("identification refused: the address or the code is locked");
    Answer({}, CM_REPONDRE_IDENTIFICATION, unknown);
    return;
  }
  user_ = found->Id;
  std::memcpy(table_, table.data(), 16);
  RandomBytes(challenge_, 16);
  const std::string second = login.empty() ? std::string() : found->Password;
  authPhrase_ = CryptageClientServeur::PhraseAuthentification(found->Code, found->Password, login, second);
  handshake_.PhraseSecrete = authPhrase_;
  const std::string block = handshake_.Chiffrer(std::string_view(reinterpret_cast<const char*>(challenge_), 16));
  state_ = State::Identified;
  Answer(verdict.Delay, CM_REPONDRE_IDENTIFICATION, IdentificationAnswer(found->Id, 0, block));
}

void ServerSession::OnAuthentication(std::string_view D) {
  if (state_ != State::Identified) return;
  const auto now = host_.Now();
  const LoginGuard::Verdict verdict = host_.Guard().Assess(address_, code_, now);
  // The client scattered the challenge into 32 bytes by its position table: only a client that could
  // decipher the challenge, hence that knows the password, gives it back.
  std::string clear;
  handshake_.PhraseSecrete = authPhrase_;
  bool ok = !verdict.Locked && handshake_.Dechiffrer(D, clear) && clear.size() == 48;
  if (ok) {
    uint8_t bloc[32], source[16];
    std::memcpy(bloc, clear.data(), 32);
    VclCommTcp::TypeTablePositions table;
    std::copy(std::begin(table_), std::end(table_), table.begin());
    VclCommTcp::RassemblerOctets(bloc, table, source);
    ok = CRYPTO_memcmp(source, challenge_, 16) == 0;
  }
  state_ = State::Connected;
  if (!ok) {
    if (!verdict.Locked && host_.Guard().Failure(address_, code_, now)) Log("locked after repeated failed logins");
    Log(verdict.Locked ? "authentication refused: the address or the code is locked" : "authentication failed");
    Answer(verdict.Delay, CM_REPONDRE_AUTHENTIFICATION,
           AuthenticationAnswer(kMotDePasseIncorrect, Random(TClassCryptageClientServeur::TailleBloc(16))));
    return;
  }
  host_.Guard().Success(code_);
  const std::string key = Random(16);
  handshake_.PhraseSecrete = authPhrase_;
  Send(CM_REPONDRE_AUTHENTIFICATION, AuthenticationAnswer(0, handshake_.Chiffrer(key)));
  // Every later frame, both ways, is enciphered under the session key.
  sending_ = {Trame::kModeChiffre, key};
  receiving_ = {Trame::kModeChiffre, key};
  authPhrase_.clear();
  state_ = State::Authenticated;
}

uint8_t ServerSession::Grant(uint8_t Requested, uint8_t Kind) {
  const bool modifies = Kind == 0 || Kind == 1;
  switch (Requested) {
    case kDemandeModif:
    case kDemandeAutomatique: return modifies ? kAutoriseModif : kAutoriseConsult;
    case kDemandeModifRestreinte: return modifies ? kAutoriseModifRestreinte : kAutoriseConsult;
    case kDemandeConsult:
    case kDemandeInvite: return kAutoriseConsult;
    case kDemandeAdmin: return Kind == 0 ? kAutoriseModif : kNonAutorise;
    default: return kNonAutorise;
  }
}

void ServerSession::OnLogin(std::string_view D) {
  if (state_ != State::Authenticated) return;
  const uint32_t profile = Read32(D, 0);
  const uint8_t requested = static_cast<uint8_t>(D[4]);
  const AccountBase& accounts = host_.Accounts();
  const Account* u = accounts.FindUser(user_);
  std::string refusal;
  std::optional<uint8_t> kind;
  if (profile != profile_ || accounts.FindServerProfile(profile) == nullptr)
    refusal = "the login names server profile " + std::to_string(profile) + ", not this port's";
  else if (u == nullptr)
    refusal = "the user no longer exists";
  else if (!(kind = accounts.KindIn(*u, profile)))
    refusal = "the user has no assignment in this server profile";
  else if (Grant(requested, *kind) == kNonAutorise)
    refusal = "status " + std::to_string(requested) + " is not granted to this user";
  if (!refusal.empty()) {
    Log("login refused: " + refusal);
    Send(CM_REPONDRE_LOGIN, std::string{static_cast<char>(kNonAutorise), static_cast<char>(kConnexionRefusee)});
    return;
  }
  granted_ = Grant(requested, *kind);
  state_ = State::LoggedIn;
  Log("logged in with status " + std::to_string(granted_));
  Send(CM_REPONDRE_LOGIN, std::string{static_cast<char>(granted_), static_cast<char>(kLoginOk)});
}

void ServerSession::OnEndOfLogin() {
  if (state_ != State::LoggedIn && state_ != State::Authenticated) return;
  Log("end of login");
  state_ = State::Connected;
  granted_ = kNonAutorise;
  holdsBase_ = false;
  stream_.reset();
  sending_ = {};
  receiving_ = {};
}

// --- Account base and streams

void ServerSession::OnAccounts() {
  if (state_ != State::LoggedIn) return;
  const AccountBase& a = host_.Accounts();
  for (const UserProfile& p : a.UserProfiles()) Send(CM_ENVOYER_PROFIL_UTIL, AccountBase::CodedUserProfile(p));
  for (const Account& u : a.Users())
    Send(CM_ENVOYER_UTILISATEUR, AccountBase::CodedUser(u, u.Id == user_, a.IsAdministrator(u)));
  for (const Assignment& x : a.Assignments()) Send(CM_ENVOYER_AFFECTATION_UTIL, AccountBase::AssignmentRecord(x));
  Send(CM_FIN_ENVOI_INFOS_UTILISATEURS);
}

void ServerSession::OnStreamRequest(std::string_view D) {
  const uint8_t kind = static_cast<uint8_t>(D[0]);
  std::shared_ptr<const std::string> bytes;
  if (state_ == State::LoggedIn && kind == kStreamBase) {
    bytes = host_.CompressedBase(profile_);
  } else if (state_ == State::LoggedIn && kind == kStreamSettings) {
    std::string plain, compressed;
    if (host_.Settings(profile_, user_, plain) && ServerStreams::Compress(plain, compressed))
      bytes = std::make_shared<const std::string>(std::move(compressed));
  }
  if (bytes == nullptr) {
    Log("stream " + std::to_string(kind) + " refused");
    stream_.reset();
    Send(CM_STREAM_REFUSE, StreamHeader(kind, 0));
    return;
  }
  // From the moment it takes the base, the session receives every order.
  if (kind == kStreamBase) holdsBase_ = true;
  stream_ = Stream{kind, bytes};
  Send(CM_STREAM_PRET, StreamHeader(kind, static_cast<uint32_t>(bytes->size())));
}

void ServerSession::OnNextPiece(std::string_view D) {
  const uint8_t kind = static_cast<uint8_t>(D[0]);
  const uint32_t position = Read32(D, 4);
  const uint32_t asked = Read32(D, 8);
  if (!stream_ || stream_->Kind != kind || position > stream_->Bytes->size()) {
    Log("a piece of a stream not being sent was asked for");
    return;
  }
  const size_t count = std::min<size_t>({asked, kPieceArea, stream_->Bytes->size() - position});
  std::string piece = StreamHeader(kind, static_cast<uint32_t>(count));
  piece.append(*stream_->Bytes, position, count);
  piece.resize(8 + kPieceArea, '\0');
  Send(CM_ENVOYER_STREAM, piece);
}

void ServerSession::OnStreamReceived(std::string_view D) {
  if (stream_ && stream_->Kind == static_cast<uint8_t>(D[0])) stream_.reset();
}

// --- Requests

std::string ServerSession::CheckRequest(std::string_view D) const {
  if (Read32(D, 15) != D.size() - 19) return "its argument's declared size does not match its bytes";
  if (state_ != State::LoggedIn) return "the session is not logged in";
  if (granted_ != kAutoriseModif && granted_ != kAutoriseModifRestreinte) return "the session may only consult";
  return "this server does not apply changes";
}

void ServerSession::OnRequest(std::string_view D) {
  // Every request is answered exactly once, inside the brackets of the server's processing.
  Log("request 0x" + Hex(Read32(D, 2)) + " refused: " + CheckRequest(D));
  Send(CM_DEBUT_REQUETE);
  Send(CM_REPONDRE_REQUETE, std::string(1, '\0'));
  Send(CM_FIN_REQUETE);
}

void ServerSession::OnBaseState() {
  const auto version = host_.Version().EnOctets();
  Send(CM_ENVOYER_INFOS_VERSION, std::string_view(reinterpret_cast<const char*>(version.data()), version.size()));
}
