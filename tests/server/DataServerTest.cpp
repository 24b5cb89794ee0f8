#include <gtest/gtest.h>

#include <zlib.h>

#include <thread>

#include "net/protocol/PetitBoutiste.h"
#include "net/services/Version.h"
#include "tests/server/ServerTestSupport.h"

namespace {

using namespace GenresMessages;
using namespace std::chrono_literals;
using ServerTest::Client;

constexpr std::string_view kBody = "the base body, as the base writer wrote it";

uint32_t U32(const std::string& D, size_t At) {
  return PetitBoutiste::LireCardinal(reinterpret_cast<const uint8_t*>(D.data() + At));
}

std::string Request(uint32_t Code, uint32_t Value, std::string_view Argument, int32_t Declared = -1) {
  std::string r(19, '\0');
  PetitBoutiste::EcrireCardinal(reinterpret_cast<uint8_t*>(r.data() + 2), Code);
  r[10] = 2;
  PetitBoutiste::EcrireCardinal(reinterpret_cast<uint8_t*>(r.data() + 11), Value);
  PetitBoutiste::EcrireCardinal(reinterpret_cast<uint8_t*>(r.data() + 15),
                                Declared < 0 ? static_cast<uint32_t>(Argument.size()) : static_cast<uint32_t>(Declared));
  return r + std::string(Argument);
}

class DataServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ServerTest::MakeStore(folder_.Path, kBody, profile_);
    Prepare(folder_.Path);
    DataServer::Options o;
    o.Guard.FreeFailures = 2;
    o.Guard.DelayStep = 50ms;
    o.Guard.LockAfter = 4;
    o.Guard.LockFor = 1h;
    Tune(o);
    server_ = std::make_unique<ServerTest::ServerThread>(folder_.Path, o);
  }
  void TearDown() override { server_.reset(); }
  virtual void Tune(DataServer::Options&) {}
  virtual void Prepare(const std::string&) {}

  // A client logged in as JMA (or another user), with its user base asked for and read.
  std::unique_ptr<Client> LoggedIn(const std::string& Code = "JMA", const std::string& Password = "pw1") {
    auto c = std::make_unique<Client>(server_->Port());
    c->Greeting();
    const auto o = c->LogIn(Code, Password, profile_);
    EXPECT_EQ(o.Result, 0);
    return c;
  }

  ServerTest::TempFolder folder_;
  uint32_t profile_ = 0;
  std::unique_ptr<ServerTest::ServerThread> server_;
};

TEST_F(DataServerTest, EachConnectionGetsItsOwnIdentifierAndTheServersHostRecord) {
  Client a(server_->Port()), b(server_->Port());
  a.Greeting();
  b.Greeting();
  EXPECT_GE(a.Ident, 1u);
  EXPECT_NE(a.Ident, b.Ident);
  ASSERT_EQ(a.Host.size(), 361u);
  EXPECT_EQ(U32(a.Host, 357), profile_);
  EXPECT_EQ(static_cast<uint8_t>(a.Host[83]) | static_cast<uint8_t>(a.Host[84]) << 8, server_->Port());
  std::array<uint8_t, TypeVersion::kTaille> v;
  std::memcpy(v.data(), a.Host.data() + 85, v.size());
  const TypeVersion version = TypeVersion::DepuisOctets(v);
  EXPECT_TRUE(Version::EstEgaleA(version, 5, 0, 6, 1, 4));
  EXPECT_EQ(a.Host.substr(1, static_cast<uint8_t>(a.Host[0])), "Base");
}

TEST_F(DataServerTest, ServerProfilesComeBeforeTheLoginThenTheirEnd) {
  Client c(server_->Port());
  c.Greeting();
  c.Send(CM_DEMANDER_PROFILS_SRV);
  const auto p = c.Expect(CM_ENVOYER_PROFIL_SRV);
  ASSERT_EQ(p.Donnees.size(), 640u);
  EXPECT_EQ(U32(p.Donnees, 0), profile_);
  EXPECT_EQ(p.Donnees[374], 1);
  c.Expect(CM_FIN_ENVOI_PROFILS_SRV);
}

TEST_F(DataServerTest, ALoginGivesTheSessionKeyTheAccountsInOrderAndBothStreams) {
  auto c = LoggedIn();
  c->Send(CM_DEMANDER_INFOS_UTILISATEURS);
  std::vector<uint32_t> kinds;
  std::optional<TypeMessageRecu> m;
  while ((m = c->Receive()) && m->Id != CM_FIN_ENVOI_INFOS_UTILISATEURS) kinds.push_back(m->Id);
  ASSERT_TRUE(m.has_value());
  const std::vector<uint32_t> expected = {CM_ENVOYER_PROFIL_UTIL,  CM_ENVOYER_PROFIL_UTIL,     CM_ENVOYER_PROFIL_UTIL,
                                          CM_ENVOYER_UTILISATEUR,  CM_ENVOYER_UTILISATEUR,     CM_ENVOYER_UTILISATEUR,
                                          CM_ENVOYER_UTILISATEUR,  CM_ENVOYER_AFFECTATION_UTIL, CM_ENVOYER_AFFECTATION_UTIL};
  EXPECT_EQ(kinds, expected);

  const auto base = c->Stream(0);
  ASSERT_TRUE(base.has_value());
  const std::string plain = ServerTest::Inflate(*base);
  ASSERT_EQ(plain.size(), 256 + kBody.size());
  EXPECT_EQ(plain.substr(0, 5), std::string("\4Base"));
  EXPECT_EQ(plain.substr(256), kBody);
  const auto settings = c->Stream(1);
  ASSERT_TRUE(settings.has_value());
  EXPECT_EQ(ServerTest::Inflate(*settings), std::string(4, '\0'));
}

TEST_F(DataServerTest, AStreamComesInPiecesOf4096BytesFromTheBaseAsItWasWhenAsked) {
  std::string body(50000, '\0');
  uint32_t x = 1;
  for (char& ch : body) ch = static_cast<char>((x = x * 1103515245 + 12345) >> 24);
  std::string error;
  ASSERT_TRUE(server_->Call([&](DataServer& s) { return s.ReplaceBase(profile_, body, error); })) << error;
  std::string compressed;
  ASSERT_TRUE(ServerStreams::Compress(std::string("\4Base") + std::string(251, '\0') + body, compressed));
  auto c = LoggedIn();
  c->Send(CM_DEMANDER_STREAM, std::string(1, '\0'));
  const auto ready = c->Expect(CM_STREAM_PRET);
  const uint32_t total = U32(ready.Donnees, 4);
  ASSERT_EQ(total, compressed.size());
  std::string ask(12, '\0');
  PetitBoutiste::EcrireCardinal(reinterpret_cast<uint8_t*>(ask.data() + 8), 4096);
  c->Send(CM_DEMANDER_STREAM_SUIVANT, ask);
  const auto first = c->Expect(CM_ENVOYER_STREAM);
  EXPECT_EQ(U32(first.Donnees, 4), 4096u);
  EXPECT_EQ(first.Donnees.substr(8, 4096), compressed.substr(0, 4096));
  // A new base does not change a transfer under way: its last piece holds what is left of the base
  // it started with.
  ASSERT_TRUE(server_->Call([&](DataServer& s) { return s.ReplaceBase(profile_, "new body", error); })) << error;
  PetitBoutiste::EcrireCardinal(reinterpret_cast<uint8_t*>(ask.data() + 4), total - 10);
  c->Send(CM_DEMANDER_STREAM_SUIVANT, ask);
  const auto last = c->Expect(CM_ENVOYER_STREAM);
  EXPECT_EQ(U32(last.Donnees, 4), 10u);
  EXPECT_EQ(last.Donnees.substr(8, 10), compressed.substr(total - 10));
  // A position beyond the stream is not answered.
  PetitBoutiste::EcrireCardinal(reinterpret_cast<uint8_t*>(ask.data() + 4), total + 1);
  c->Send(CM_DEMANDER_STREAM_SUIVANT, ask);
  EXPECT_TRUE(c->Silent(300ms));
  c->Send(CM_STREAM_BIEN_RECU, std::string(1, '\0'));
  const auto again = c->Stream(0);
  ASSERT_TRUE(again.has_value());
  EXPECT_EQ(ServerTest::Inflate(*again).substr(256), "new body");
}

TEST_F(DataServerTest, EveryRequestIsAnsweredOnceWithARefusalInsideTheBrackets) {
  auto c = LoggedIn();
  for (const std::string& r : {Request(0x80010100, 8, "abcd"), Request(0x80010100, 8, "abcd", 1000), Request(0x80010200, 0, "")}) {
    c->Send(CM_ENVOYER_REQUETE, r);
    c->Expect(CM_DEBUT_REQUETE);
    const auto answer = c->Expect(CM_REPONDRE_REQUETE);
    EXPECT_EQ(answer.Donnees, std::string(1, '\0'));
    c->Expect(CM_FIN_REQUETE);
  }
  EXPECT_TRUE(c->Silent(200ms));
  // The base state is acknowledged with the server's version.
  c->Send(CM_ENVOYER_ETAT_BASE, std::string(1, '\1'));
  EXPECT_EQ(c->Expect(CM_ENVOYER_INFOS_VERSION).Donnees.size(), 272u);
}

TEST_F(DataServerTest, OrdersReachTheSessionsThatTookTheBaseAndOnlyThem) {
  auto holder = LoggedIn();
  auto other = LoggedIn("CON", "pw2");
  ASSERT_TRUE(holder->Stream(0).has_value());
  const std::string order = std::string("\1\5\0\0\0\x10\0\0\0", 9) + "record";
  EXPECT_EQ(server_->Call([&](DataServer& s) { return s.InjectOrder(profile_, CM_ENVOYER_ORDRE_MODIF, order); }), 1u);
  EXPECT_EQ(holder->Expect(CM_ENVOYER_ORDRE_MODIF).Donnees, order);
  EXPECT_TRUE(other->Silent(200ms));
  // Only order kinds travel this way.
  EXPECT_EQ(server_->Call([&](DataServer& s) { return s.InjectOrder(profile_, CM_DECONNEXION, order); }), 1u);
  EXPECT_TRUE(holder->Silent(200ms));
}

TEST_F(DataServerTest, WrongPasswordsAndUnknownCodesAreRefusedDelayedThenLocked) {
  struct Cas {
    const char* Nom;
    std::string Code, MotDePasse;
    uint8_t Identification, Authentification;
  };
  const Cas cas[] = {{"unknown code", "XYZ", "pw1", 4, 0xFF}, {"wrong password", "JMA", "bad", 0, 3},
                     {"password in another case", "JMA", "PW1", 0, 3}};
  for (const Cas& k : cas) {
    Client c(server_->Port());
    c.Greeting();
    const auto o = c.LogIn(k.Code, k.MotDePasse, profile_);
    EXPECT_EQ(o.Identification, k.Identification) << k.Nom;
    EXPECT_EQ(o.Authentication, k.Authentification) << k.Nom;
    EXPECT_EQ(o.Result, 0xFF) << k.Nom;
  }
  EXPECT_TRUE(server_->WaitForLog("identification failed"));
  // The fourth failure from this address locks it: even the right password is refused now.
  Client c(server_->Port());
  c.Greeting();
  EXPECT_EQ(c.LogIn("JMA", "bad", profile_).Authentication, 3);
  EXPECT_TRUE(server_->WaitForLog("locked after repeated failed logins"));
  Client d(server_->Port());
  d.Greeting();
  EXPECT_EQ(d.LogIn("JMA", "pw1", profile_).Identification, 4);
}

TEST_F(DataServerTest, TheServerDecidesTheStatusAndTheServerProfileOfALogin) {
  struct Cas {
    const char* Nom;
    std::string Code, MotDePasse;
    uint32_t Profil;
    uint8_t Demande, Statut, Resultat;
  };
  const uint32_t p = profile_;
  const Cas cas[] = {
      {"modification asked by a modifier", "JMA", "pw1", p, 3, 0, 0},
      {"restricted modification", "JMA", "pw1", p, 4, 1, 0},
      {"modification asked by a consultant", "CON", "pw2", p, 3, 2, 0},
      {"administration asked by a modifier", "JMA", "pw1", p, 8, 6, 8},
      {"administration asked by the super user", "SPR", "Secret", p, 8, 0, 0},
      {"another server profile", "JMA", "pw1", p + 100, 3, 6, 8},
      {"a user assigned nowhere", "NOA", "pw3", p, 5, 6, 8},
      {"a granted status asked for", "JMA", "pw1", p, 0, 6, 8},
  };
  for (const Cas& k : cas) {
    Client c(server_->Port());
    c.Greeting();
    const auto o = c.LogIn(k.Code, k.MotDePasse, k.Profil, k.Demande);
    EXPECT_EQ(o.Granted, k.Statut) << k.Nom;
    EXPECT_EQ(o.Result, k.Resultat) << k.Nom;
    if (o.Result == 0) continue;
    // A refused login gets nothing of the base.
    c.Send(CM_DEMANDER_STREAM, std::string(1, '\0'));
    EXPECT_EQ(c.Expect(CM_STREAM_REFUSE).Donnees[0], 0) << k.Nom;
  }
}

// Every block of the handshake holds exactly what it should: a position table of 16 bytes, an
// authentication of 48; a login message of 8 bytes.
TEST_F(DataServerTest, HandshakeBlocksAndTheLoginOfAnotherSizeAreRefused) {
  struct Cas {
    const char* Nom;
    size_t Table, Remplissage;
    uint8_t Identification, Authentification, Resultat;
  };
  const Cas cas[] = {{"a table of 15 bytes", 15, 16, 4, 0xFF, 0xFF},  {"a table of 17 bytes", 17, 16, 4, 0xFF, 0xFF},
                     {"an authentication of 47 bytes", 16, 15, 0, 3, 0xFF},
                     {"an authentication of 49 bytes", 16, 17, 0, 3, 0xFF}, {"as the client sends them", 16, 16, 0, 0, 0}};
  int adresse = 20;  // each case from an address of its own: the failures would lock a shared one
  for (const Cas& k : cas) {
    Client c(server_->Port(), std::chrono::seconds(20), "127.0.0." + std::to_string(adresse++));
    c.Greeting();
    const auto o = c.LogIn("JMA", "pw1", profile_, 3, "", "", {k.Table, k.Remplissage, {}});
    EXPECT_EQ(o.Identification, k.Identification) << k.Nom;
    EXPECT_EQ(o.Authentication, k.Authentification) << k.Nom;
    EXPECT_EQ(o.Result, k.Resultat) << k.Nom;
  }
  // A login message of 7 bytes, once the key is in force, is ignored; the next one of 8 is answered.
  Client c(server_->Port(), std::chrono::seconds(20), "127.0.0." + std::to_string(adresse));
  c.Greeting();
  Client::Variations v;
  v.BeforeLogin = [this](Client& x) {
    std::string court(7, '\0');
    PetitBoutiste::EcrireCardinal(reinterpret_cast<uint8_t*>(court.data()), profile_);
    court[4] = 3;
    x.Send(CM_ENVOYER_LOGIN, court);
    EXPECT_TRUE(x.Silent(200ms));
  };
  EXPECT_EQ(c.LogIn("JMA", "pw1", profile_, 3, "", "", v).Result, 0);
}

// The code counts its failures whatever the address they come from: locked, it is refused from a new
// address too, while other codes still log in from there; a success clears the code's count.
TEST_F(DataServerTest, ACodeLocksAcrossAddressesAndASuccessClearsItsCount) {
  auto essai = [this](int adresse, const std::string& code, const std::string& motDePasse) {
    Client c(server_->Port(), std::chrono::seconds(20), "127.0.0." + std::to_string(adresse));
    c.Greeting();
    return c.LogIn(code, motDePasse, profile_);
  };
  // Three failures, a success, then three more: the count was cleared, the code is not locked.
  for (int a = 2; a <= 4; ++a) EXPECT_EQ(essai(a, "JMA", "bad").Authentication, 3);
  EXPECT_EQ(essai(5, "JMA", "pw1").Result, 0);
  for (int a = 6; a <= 8; ++a) EXPECT_EQ(essai(a, "JMA", "bad").Authentication, 3);
  EXPECT_EQ(essai(9, "JMA", "pw1").Result, 0) << "three failures since the success do not lock";
  // A fourth failure in a row locks the code, from any address.
  for (int a = 10; a <= 13; ++a) EXPECT_EQ(essai(a, "JMA", "bad").Authentication, 3);
  EXPECT_EQ(essai(14, "JMA", "pw1").Identification, 4);
  EXPECT_EQ(essai(14, "CON", "pw2").Result, 0);
}

// Ending the login gives the base back: orders no longer reach that session.
TEST_F(DataServerTest, TheEndOfLoginStopsTheOrders) {
  auto c = LoggedIn();
  ASSERT_TRUE(c->Stream(0).has_value());
  c->Send(CM_FIN_LOGIN);
  c->Sending = c->Receiving = {};
  c->Send(CM_ENVOYER_ETAT_BASE, std::string(1, '\1'));
  c->Expect(CM_ENVOYER_INFOS_VERSION);  // the end of login is processed
  const std::string order = std::string("\1\5\0\0\0\x10\0\0\0", 9) + "record";
  EXPECT_EQ(server_->Call([&](DataServer& s) { return s.InjectOrder(profile_, CM_ENVOYER_ORDRE_MODIF, order); }), 0u);
  EXPECT_TRUE(c->Silent(200ms));
}

TEST_F(DataServerTest, AUserWithoutALoginIdentifiesByItsCodeAsItsLoginOrWithNone) {
  struct Cas {
    const char* Nom;
    std::string Login;
    uint8_t Identification;
  };
  const Cas cas[] = {{"no login", "", 0}, {"the code as the login", "JMA", 0}, {"another login", "CON", 4}};
  for (const Cas& k : cas) {
    Client c(server_->Port());
    c.Greeting();
    const auto o = c.LogIn("JMA", "pw1", profile_, 3, k.Login, k.Login.empty() ? "" : "pw1");
    EXPECT_EQ(o.Identification, k.Identification) << k.Nom;
    EXPECT_EQ(o.Result, k.Identification == 0 ? 0 : 0xFF) << k.Nom;
  }
}

TEST_F(DataServerTest, OnceTheKeyIsInForceClearFramesAreDroppedUntilTheEndOfLogin) {
  auto c = LoggedIn();
  const TypeSecurite key = c->Sending;
  c->Sending = {};
  c->Send(CM_ENVOYER_ETAT_BASE, std::string(1, '\1'));
  EXPECT_TRUE(c->Silent(300ms));
  c->Sending = key;
  c->Send(CM_FIN_LOGIN);
  c->Sending = c->Receiving = {};
  c->Send(CM_ENVOYER_ETAT_BASE, std::string(1, '\1'));
  EXPECT_EQ(c->Expect(CM_ENVOYER_INFOS_VERSION).Donnees.size(), 272u);
  // Logged out: no stream any more.
  c->Send(CM_DEMANDER_STREAM, std::string(1, '\0'));
  c->Expect(CM_STREAM_REFUSE);
  c->Send(CM_DECONNEXION, std::string(16, '\0'));
  EXPECT_TRUE(c->ClosedByServer());
}

TEST_F(DataServerTest, BytesThatAreNoFrameOrAnotherVersionCloseTheLink) {
  {
    Client c(server_->Port());
    c.Greeting();
    c.SendRaw("\2\1\0\0\0\0");
    EXPECT_TRUE(c.ClosedByServer());
  }
  // A client of another major, minor or release is sent away; another build is welcome.
  const std::array<uint32_t, 4> versions[] = {{5, 1, 0, 0}, {4, 0, 6, 1}, {5, 0, 5, 1}, {5, 0, 6, 9}};
  for (const auto& v : versions) {
    SCOPED_TRACE(std::to_string(v[0]) + "." + std::to_string(v[1]) + "." + std::to_string(v[2]) + "." +
                 std::to_string(v[3]));
    Client c(server_->Port());
    c.Greeting();
    std::string host(305, '\0');
    for (uint32_t i = 0; i < 4; ++i)
      PetitBoutiste::EcrireCardinal(reinterpret_cast<uint8_t*>(host.data() + 289 + 4 * i), v[i]);
    c.Send(CM_ENVOYER_HOST, host);
    if (v[3] == 9) {
      c.Send(CM_DEMANDER_HOST);
      EXPECT_EQ(c.Expect(CM_ENVOYER_HOST).Donnees, c.Host);
      continue;
    }
    const auto bye = c.Expect(CM_DECONNEXION);
    ASSERT_EQ(bye.Donnees.size(), 16u);
    EXPECT_EQ(bye.Donnees[0], 4);
    EXPECT_TRUE(c.ClosedByServer());
  }
}

TEST_F(DataServerTest, MessagesOfTheWrongLengthOrOutOfTurnAreIgnored) {
  Client c(server_->Port());
  c.Greeting();
  c.Send(CM_DEMANDER_PROFILS_SRV, "x");                 // takes no data
  c.Send(CM_ENVOYER_LOGIN, std::string(8, '\0'));       // no handshake yet
  c.Send(CM_DEMANDER_INFOS_UTILISATEURS);               // not logged in
  c.Send(CM_DEMANDER_AUTHENTIFICATION, std::string(88, 'x'));  // not identified
  c.Send(CM_DEMANDER_IDENTIFICATION, std::string(10, 'x'));    // shorter than any block
  c.Send(0x12345, "?");
  EXPECT_TRUE(c.Silent(300ms));
  c.Send(CM_DEMANDER_PROFILS_SRV);
  c.Expect(CM_ENVOYER_PROFIL_SRV);
  c.Expect(CM_FIN_ENVOI_PROFILS_SRV);
  // Asked again, the host record comes alone.
  c.Send(CM_DEMANDER_HOST);
  EXPECT_EQ(c.Expect(CM_ENVOYER_HOST).Donnees, c.Host);
  EXPECT_TRUE(c.Silent(200ms));
}

// A second server profile, where JMA is assigned too, listening on a port of its own.
class TwoProfilesDataServerTest : public DataServerTest {
 protected:
  void Prepare(const std::string& Folder) override {
    ServerStore s(Folder);
    std::string error;
    ASSERT_TRUE(s.Open(error)) << error;
    AccountBase& a = s.Accounts();
    ASSERT_EQ(a.AddServerProfile("Autre", 0, other_), "");
    uint32_t id = 0;
    ASSERT_EQ(a.Assign("JMA", other_, a.FindUserProfileByName("Modification")->Id, id), "");
    ASSERT_TRUE(s.SaveAccounts(error)) << error;
  }
  uint32_t other_ = 0;
};

// A login through a port names that port's server profile: another one, even where the user is
// assigned, is refused; through its own port it is accepted.
TEST_F(TwoProfilesDataServerTest, ALoginNamesTheServerProfileOfItsPort) {
  {
    Client c(server_->Port());
    c.Greeting();
    const auto o = c.LogIn("JMA", "pw1", other_);
    EXPECT_EQ(o.Result, 8);
    EXPECT_EQ(o.Granted, 6);
  }
  const uint16_t port = server_->Call([&](DataServer& s) { return s.Port(other_); });
  ASSERT_NE(port, 0);
  Client c(port);
  c.Greeting();
  EXPECT_EQ(c.LogIn("JMA", "pw1", other_).Result, 0);
}

class IdleDataServerTest : public DataServerTest {
  void Tune(DataServer::Options& o) override {
    o.HandshakeIdle = 300ms;
    o.KeepAlive = 200ms;
  }
};

TEST_F(IdleDataServerTest, AnIdleHandshakeAndASilentSessionAreClosedKeepAlivesKeepItOpen) {
  Client idle(server_->Port());
  idle.Greeting();
  EXPECT_TRUE(idle.ClosedByServer());
  EXPECT_TRUE(server_->WaitForLog("no login within the handshake's time"));

  auto alive = LoggedIn();
  // Keep-alive frames (kind 0, no data) for longer than three periods keep the session.
  for (int i = 0; i < 8; ++i) {
    std::this_thread::sleep_for(100ms);
    alive->Send(0);
  }
  alive->Send(CM_ENVOYER_ETAT_BASE, std::string(1, '\1'));
  alive->Expect(CM_ENVOYER_INFOS_VERSION);
  EXPECT_TRUE(alive->ClosedByServer());
  EXPECT_TRUE(server_->WaitForLog("silent for three keep-alive periods"));
}

}  // namespace
