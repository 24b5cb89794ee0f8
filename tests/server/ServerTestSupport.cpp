#include "tests/server/ServerTestSupport.h"

#include <poll.h>
#include <sys/wait.h>
#include <zlib.h>

#include <boost/asio/connect.hpp>
#include <boost/asio/write.hpp>
#include <cstdio>
#include <cstring>
#include <random>

#include "net/protocol/PetitBoutiste.h"

using namespace GenresMessages;
using Clock = std::chrono::steady_clock;

namespace ServerTest {

TempFolder::TempFolder() {
  std::random_device r;
  Path = (std::filesystem::temp_directory_path() / ("nv-server-" + std::to_string(r()) + std::to_string(r()))).string();
}
TempFolder::~TempFolder() {
  std::error_code e;
  std::filesystem::remove_all(Path, e);
}

void MakeStore(const std::string& Folder, std::string_view Body, uint32_t& Profile) {
  std::string error;
  ASSERT_TRUE(ServerStore::Create(Folder, "Secret", "Base", 0, Body, error)) << error;
  AddAccounts(Folder, Profile);
}

void AddAccounts(const std::string& Folder, uint32_t& Profile) {
  std::string error;
  ServerStore s(Folder);
  ASSERT_TRUE(s.Open(error)) << error;
  AccountBase& a = s.Accounts();
  Profile = a.ServerProfiles().front().Id();
  uint32_t id = 0;
  ASSERT_EQ(a.AddUser({0, "Jeanne Martin", "JMA", "", "pw1", 0, ""}, id), "");
  ASSERT_EQ(a.AddUser({0, "Consultant", "CON", "", "pw2", 0, ""}, id), "");
  ASSERT_EQ(a.AddUser({0, "Nowhere", "NOA", "", "pw3", 0, ""}, id), "");
  ASSERT_EQ(a.Assign("JMA", Profile, a.FindUserProfileByName("Modification")->Id, id), "");
  ASSERT_EQ(a.Assign("CON", Profile, a.FindUserProfileByName("Consultation")->Id, id), "");
  ASSERT_TRUE(s.SaveAccounts(error)) << error;
}

int Command(const std::string& Arguments, const std::string& Input) {
  FILE* p = ::popen((std::string(NV_SERVEURDONNEES) + " " + Arguments + " 2>/dev/null").c_str(), "w");
  if (p == nullptr) return -1;
  std::fwrite(Input.data(), 1, Input.size(), p);
  const int status = ::pclose(p);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// --- Server thread

ServerThread::ServerThread(const std::string& Folder, DataServer::Options O) : store_(Folder) {
  std::string error;
  if (!store_.Open(error)) throw std::runtime_error(error);
  O.Log = [this](const std::string& Line) {
    std::lock_guard<std::mutex> lock(mutex_);
    log_.push_back(Line);
    logged_.notify_all();
  };
  server_ = std::make_unique<DataServer>(loop_, store_, O);
  if (!server_->Start(error)) throw std::runtime_error(error);
  profile_ = store_.Accounts().ServerProfiles().front().Id();
  port_ = server_->Port(profile_);
  thread_ = std::thread([this] { loop_.Run(); });
}

ServerThread::~ServerThread() {
  Call([](DataServer& s) { s.Stop(); });
  loop_.RequestStop();
  thread_.join();
  server_.reset();
}

std::vector<std::string> ServerThread::LogLines() {
  std::lock_guard<std::mutex> lock(mutex_);
  return log_;
}

bool ServerThread::WaitForLog(std::string_view Text, std::chrono::milliseconds Timeout) {
  return WaitForLogLines(Text, 1, Timeout);
}

bool ServerThread::WaitForLogLines(std::string_view Text, std::size_t Count, std::chrono::milliseconds Timeout) {
  std::unique_lock<std::mutex> lock(mutex_);
  return logged_.wait_for(lock, Timeout, [&] {
    std::size_t n = 0;
    for (const auto& l : log_) n += l.find(Text) != std::string::npos ? 1 : 0;
    return n >= Count;
  });
}

// --- Client

Client::Client(uint16_t Port, std::chrono::milliseconds Timeout, const std::string& Local) : timeout_(Timeout) {
  if (!Local.empty()) {
    socket_.open(boost::asio::ip::tcp::v4());
    socket_.bind({boost::asio::ip::make_address(Local), 0});
  }
  socket_.connect({boost::asio::ip::make_address("127.0.0.1"), Port});
  socket_.set_option(boost::asio::ip::tcp::no_delay(true));
}

void Client::Send(uint32_t Kind, std::string_view Data) {
  std::string frame;
  ASSERT_TRUE(Trame::Construire({Ident, 2}, Kind, Data.data(), static_cast<uint32_t>(Data.size()), 0, frame));
  ASSERT_TRUE(Trame::Chiffrer(Sending, cipherOut_, frame));
  SendRaw(frame);
}

void Client::SendRaw(std::string_view Bytes) {
  boost::system::error_code e;
  boost::asio::write(socket_, boost::asio::buffer(Bytes.data(), Bytes.size()), e);
}

std::optional<TypeMessageRecu> Client::Receive() {
  const auto deadline = Clock::now() + timeout_;
  for (;;) {
    TypeMessageRecu m;
    const auto r = Trame::Lire(in_, Receiving, cipherIn_, m);
    if (r == Trame::TypeLecture::Fait) return m;
    if (r == Trame::TypeLecture::FaitRien) continue;
    if (r == Trame::TypeLecture::Corrompu || closed_) return std::nullopt;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return std::nullopt;
    pollfd p{socket_.native_handle(), POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left)) <= 0) return std::nullopt;
    char buffer[65536];
    boost::system::error_code e;
    const size_t n = socket_.read_some(boost::asio::buffer(buffer), e);
    if (e) {
      closed_ = true;
      return std::nullopt;
    }
    in_.Ajouter(buffer, n);
  }
}

TypeMessageRecu Client::Expect(uint32_t Kind) {
  auto m = Receive();
  if (!m) {
    ADD_FAILURE() << "no message where one of kind 0x" << std::hex << Kind << " was expected";
    return {};
  }
  EXPECT_EQ(m->Id, Kind) << std::hex << "0x" << m->Id << " came where 0x" << Kind << " was expected";
  return *m;
}

bool Client::ClosedByServer() {
  while (Receive()) {
  }
  return closed_;
}

bool Client::Silent(std::chrono::milliseconds For) {
  const auto saved = timeout_;
  timeout_ = For;
  const auto m = Receive();
  timeout_ = saved;
  return !m && !closed_;
}

void Client::Greeting() {
  const auto ident = Expect(CM_ENVOYER_IDENT_CONNEXION);
  ASSERT_EQ(ident.Donnees.size(), 8u);
  Ident = PetitBoutiste::LireCardinal(reinterpret_cast<const uint8_t*>(ident.Donnees.data() + 4));
  Host = Expect(CM_ENVOYER_HOST).Donnees;
}

Client::Outcome Client::LogIn(const std::string& Code, const std::string& Password, uint32_t Profile,
                              uint8_t Requested, const std::string& Login, const std::string& Password2,
                              const Variations& V) {
  Outcome o;
  TClassCryptageClientServeur c;
  const auto table = VclCommTcp::CreerTablePositions();
  c.PhraseSecrete = CryptageClientServeur::PhraseIdentification(Code, Login);
  std::string sent(reinterpret_cast<const char*>(table.data()), 16);
  sent.resize(V.TableSize, '\0');
  Send(CM_DEMANDER_IDENTIFICATION, c.Chiffrer(sent));
  const auto id = Expect(CM_REPONDRE_IDENTIFICATION);
  if (id.Donnees.size() <= 40) return o;
  o.Identification = static_cast<uint8_t>(id.Donnees[36]);
  if (o.Identification != 0) return o;
  // As the client does: the challenge is deciphered without looking at its digest, so that a wrong
  // password is told by the server's answer to the next step.
  const std::string phrase = CryptageClientServeur::PhraseAuthentification(Code, Password, Login, Password2);
  c.PhraseSecrete = phrase;
  c.Sens = TClassCryptageClientServeur::kDechiffrer;
  const std::string block = id.Donnees.substr(37, id.Donnees.size() - 39);
  c.DefinirEntree(reinterpret_cast<const uint8_t*>(block.data()), static_cast<uint32_t>(block.size()));
  uint8_t challenge[16] = {};
  if (c.TailleSortie() != 16) return o;
  uint8_t clear[64];
  (void)c.Traiter(clear);
  std::memcpy(challenge, clear, 16);
  uint8_t scattered[32];
  VclCommTcp::DisperserOctets(challenge, table, scattered);
  std::string auth(reinterpret_cast<const char*>(scattered), 32);
  auth.append(V.Filler, 'n');
  c.Sens = TClassCryptageClientServeur::kChiffrer;
  Send(CM_DEMANDER_AUTHENTIFICATION, c.Chiffrer(auth));
  const auto answer = Expect(CM_REPONDRE_AUTHENTIFICATION);
  if (answer.Donnees.size() < 59) return o;
  o.Authentication = static_cast<uint8_t>(answer.Donnees[0]);
  if (o.Authentication != 0) return o;
  const uint32_t n = PetitBoutiste::LireCardinal(reinterpret_cast<const uint8_t*>(answer.Donnees.data() + 52));
  std::string key;
  if (!c.Dechiffrer(std::string_view(answer.Donnees).substr(56, n), key) || key.size() != 16) {
    ADD_FAILURE() << "the session key does not decipher";
    return o;
  }
  Sending = Receiving = {Trame::kModeChiffre, key};
  if (V.BeforeLogin) V.BeforeLogin(*this);
  std::string login(8, '\0');
  PetitBoutiste::EcrireCardinal(reinterpret_cast<uint8_t*>(login.data()), Profile);
  login[4] = static_cast<char>(Requested);
  Send(CM_ENVOYER_LOGIN, login);
  const auto r = Expect(CM_REPONDRE_LOGIN);
  if (r.Donnees.size() == 2) {
    o.Granted = static_cast<uint8_t>(r.Donnees[0]);
    o.Result = static_cast<uint8_t>(r.Donnees[1]);
  }
  return o;
}

std::optional<std::string> Client::Stream(uint8_t Kind) {
  std::string bytes;
  if (!Stream(Kind, [&](std::string_view Piece) { bytes += Piece; })) return std::nullopt;
  return bytes;
}

std::optional<size_t> Client::Stream(uint8_t Kind, const std::function<void(std::string_view)>& Sink) {
  Send(CM_DEMANDER_STREAM, std::string(1, static_cast<char>(Kind)));
  const auto first = Receive();
  if (!first || first->Id != CM_STREAM_PRET) return std::nullopt;
  const uint32_t total = PetitBoutiste::LireCardinal(reinterpret_cast<const uint8_t*>(first->Donnees.data() + 4));
  size_t received = 0;
  do {
    std::string ask(12, '\0');
    ask[0] = static_cast<char>(Kind);
    PetitBoutiste::EcrireCardinal(reinterpret_cast<uint8_t*>(ask.data() + 4), static_cast<uint32_t>(received));
    PetitBoutiste::EcrireCardinal(reinterpret_cast<uint8_t*>(ask.data() + 8), 4096);
    Send(CM_DEMANDER_STREAM_SUIVANT, ask);
    const auto piece = Expect(CM_ENVOYER_STREAM);
    if (piece.Donnees.size() != 4108) return std::nullopt;
    const uint32_t count = PetitBoutiste::LireCardinal(reinterpret_cast<const uint8_t*>(piece.Donnees.data() + 4));
    if (count > 4096) return std::nullopt;
    Sink(std::string_view(piece.Donnees).substr(8, count));
    received += count;
    if (count == 0) break;
  } while (received < total);
  Send(CM_STREAM_BIEN_RECU, std::string(1, static_cast<char>(Kind)));
  return received;
}

std::string Inflate(std::string_view Compressed) {
  z_stream z{};
  inflateInit(&z);
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(Compressed.data()));
  z.avail_in = static_cast<uInt>(Compressed.size());
  std::string out;
  char buffer[65536];
  int r = Z_OK;
  while (r == Z_OK) {
    z.next_out = reinterpret_cast<Bytef*>(buffer);
    z.avail_out = sizeof buffer;
    r = inflate(&z, Z_NO_FLUSH);
    out.append(buffer, sizeof buffer - z.avail_out);
  }
  inflateEnd(&z);
  return r == Z_STREAM_END ? out : std::string("<corrupt>");
}

}  // namespace ServerTest
