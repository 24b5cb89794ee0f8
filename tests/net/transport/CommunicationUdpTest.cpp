// The UDP channel against UDP peers of the test's own on loopback: the presence announcement, a
// server met, asked for its description (the older 360-byte form converted), forgotten after its
// silence or its disconnection, the channel's own datagrams, refusals, and the closing that tells
// every known server.
#include <gtest/gtest.h>

#include <netdb.h>

#include <boost/asio/ip/udp.hpp>

#include <chrono>
#include <cstring>
#include <vector>

#include "net/cipher/CryptageClientServeur.h"
#include "net/transport/VclCommUdp.h"
#include "platform/ui/VclDialogue.h"

using boost::asio::ip::udp;
using namespace GenresMessages;
using namespace std::chrono_literals;

namespace {

// A server of the test: a UDP socket on loopback that keeps the messages it receives.
class Pair {
 public:
  explicit Pair(MainLoop& Boucle) : socket_(Boucle.Context(), udp::endpoint(boost::asio::ip::address_v4::loopback(), 0)) {
    Recevoir();
  }
  uint16_t Port() const { return socket_.local_endpoint().port(); }
  void Envoyer(uint16_t Vers, uint32_t Id, const std::string& Donnees = {}) {
    std::string trame;
    ASSERT_TRUE(Trame::Construire({0, 2}, Id, Donnees.data(), static_cast<uint32_t>(Donnees.size()), 0, trame));
    socket_.send_to(boost::asio::buffer(trame), udp::endpoint(boost::asio::ip::address_v4::loopback(), Vers));
  }
  size_t Nombre(uint32_t Id) const {
    size_t n = 0;
    for (const auto& m : recus) n += m.Id == Id;
    return n;
  }
  std::vector<TypeMessageRecu> recus;

 private:
  void Recevoir() {
    socket_.async_receive_from(boost::asio::buffer(tampon_), expediteur_, [this](const boost::system::error_code& ec, size_t n) {
      if (ec) return;
      TBufferDynamique file;
      file.Ajouter(tampon_.data(), n);
      TypeMessageRecu m;
      if (Trame::Lire(file, TypeSecurite{}, chiffreur_, m) == Trame::TypeLecture::Fait) recus.push_back(m);
      Recevoir();
    });
  }
  udp::socket socket_;
  udp::endpoint expediteur_;
  std::array<uint8_t, 20000> tampon_{};
  TClassCryptageClientServeur chiffreur_;
};

// The description an older server sends: name, a label of 31 characters, the TCP port at 84.
std::string HostAncien(const std::string& Nom, const std::string& Libelle, uint16_t PortTcp) {
  std::string h(360, '\0');
  h[0] = static_cast<char>(Nom.size());
  std::memcpy(h.data() + 1, Nom.data(), Nom.size());
  h[51] = static_cast<char>(Libelle.size());
  std::memcpy(h.data() + 52, Libelle.data(), Libelle.size());
  h[84] = static_cast<char>(PortTcp & 0xFF);
  h[85] = static_cast<char>(PortTcp >> 8);
  return h;
}

class CommunicationUdp : public ::testing::Test {
 protected:
  void SetUp() override {
    client.AdresseLocale = "127.0.0.1";
    client.AdresseDiffusion = "127.0.0.1";
    client.PortDistant = std::to_string(pair.Port());
    client.GenreApplication = GP_ServiceWeb;
    client.NomApplication = "SVC";
    client.SurChangementServeurs = [this](TCommunicationUdpClient*) { ++changements; };
    client.SurFinConnexion = [this](TCommunicationUdpClient*, uint32_t ident) { finies.push_back(ident); };
  }
  bool Attendre(const std::function<bool()>& Condition) {
    return loop.WaitUntil(Condition, 5s) == MainLoop::WaitResult::Satisfied;
  }

  MainLoop loop{[] {}, [] {}};
  Pair pair{loop};
  std::vector<uint32_t> finies;
  int changements = 0;
  TCommunicationUdpClient client{loop};
};

}  // namespace

TEST_F(CommunicationUdp, TheChannelAnnouncesItselfAndMeetsTheServersThatAnswer) {
  client.IntervallePresence = 30ms;
  std::vector<std::string> hosts;
  client.SurReceptionHostServeur = [&](TCommunicationUdpClient*, uint32_t, const uint8_t* h, const TypeAdresseSocket&) {
    hosts.emplace_back(reinterpret_cast<const char*>(h), VclCommUdp::kTailleHost);
    return true;
  };
  ASSERT_TRUE(client.Activer());
  // At once, then every interval: the kind of application and its name.
  ASSERT_TRUE(Attendre([&] { return pair.Nombre(CM_RECHERCHER_SERVEURS) >= 2; }));
  EXPECT_EQ(pair.recus[0].Donnees, std::string("\6\3SVC\0\0\0\0\0\0\0", 12));

  pair.Envoyer(client.PortLie(), CM_SIGNALER_PRESENCE);
  ASSERT_TRUE(Attendre([&] { return pair.Nombre(CM_DEMANDER_HOST) == 1; }));
  EXPECT_EQ(client.NombreServeurs(), 1u);
  EXPECT_EQ(changements, 1);
  pair.Envoyer(client.PortLie(), CM_ENVOYER_HOST, HostAncien("srv", std::string(31, 'L'), 49301));
  ASSERT_TRUE(Attendre([&] { return hosts.size() == 1; }));
  // Seen as the current form: the label cut to 30, the port at 83, version 7.0.0.0.
  const std::string& h = hosts[0];
  EXPECT_EQ(h.substr(0, 4), "\3srv");
  EXPECT_EQ(h[51], 30);
  EXPECT_EQ(static_cast<uint8_t>(h[83]) | static_cast<uint8_t>(h[84]) << 8, 49301);
  std::array<uint8_t, TypeVersion::kTaille> version;
  std::memcpy(version.data(), h.data() + 85, version.size());
  const TypeVersion v = TypeVersion::DepuisOctets(version);
  EXPECT_EQ(std::vector<uint32_t>({v.Majeur, v.Mineur, v.Release, v.Build}), std::vector<uint32_t>({7, 0, 0, 0}));
  ASSERT_TRUE(client.ServeurDeIdent(1));
  EXPECT_TRUE(client.Courant()->DescriptionRecue);
  EXPECT_EQ(client.Courant()->PortTcp, 49301);
  EXPECT_EQ(client.Courant()->Libelle, std::string(30, 'L'));
  // A server asking for this client's description gets it.
  pair.Envoyer(client.PortLie(), CM_DEMANDER_HOST);
  ASSERT_TRUE(Attendre([&] { return pair.Nombre(CM_ENVOYER_HOST) == 1; }));
}

TEST_F(CommunicationUdp, AServerSilentTooLongOrDisconnectingIsForgotten) {
  client.DelaiExpiration = 100ms;
  ASSERT_TRUE(client.Activer());
  pair.Envoyer(client.PortLie(), CM_SIGNALER_PRESENCE);
  ASSERT_TRUE(Attendre([&] { return client.NombreServeurs() == 1; }));
  ASSERT_TRUE(Attendre([&] { return client.NombreServeurs() == 0; }));
  EXPECT_EQ(finies, std::vector<uint32_t>{1});
  EXPECT_EQ(changements, 2);

  // Met again, it has a new identifier; its disconnection forgets it at once.
  client.DelaiExpiration = 60s;
  pair.Envoyer(client.PortLie(), CM_SIGNALER_PRESENCE);
  ASSERT_TRUE(Attendre([&] { return client.NombreServeurs() == 1; }));
  EXPECT_TRUE(client.ServeurDeIdent(2));
  pair.Envoyer(client.PortLie(), CM_DECONNEXION, std::string(16, '\0'));
  ASSERT_TRUE(Attendre([&] { return client.NombreServeurs() == 0; }));
  EXPECT_EQ(finies, (std::vector<uint32_t>{1, 2}));
}

TEST_F(CommunicationUdp, TheChannelsOwnDatagramsAndRefusedSendersAreNoServers) {
  ASSERT_TRUE(client.Activer());
  // The announcement comes back to the channel's own socket.
  client.PortDistant = std::to_string(client.PortLie());
  client.AnnoncerPresence();
  Pair refuse(loop);
  client.SurRequeteConnexion = [&](TCommunicationUdpClient*, const TypeAdresseSocket& a) {
    return (a[2] << 8 | a[3]) != refuse.Port();
  };
  refuse.Envoyer(client.PortLie(), CM_SIGNALER_PRESENCE);
  pair.Envoyer(client.PortLie(), CM_SIGNALER_PRESENCE);
  ASSERT_TRUE(Attendre([&] { return client.NombreServeurs() == 1; }));
  ASSERT_TRUE(client.ServeurDeIdent(1));
  EXPECT_EQ(client.Courant()->AdresseSocket[2] << 8 | client.Courant()->AdresseSocket[3], pair.Port());
  EXPECT_EQ(refuse.Nombre(CM_DEMANDER_HOST), 0u);
}

TEST_F(CommunicationUdp, ClosingWithACauseTellsEveryKnownServerOnce) {
  Pair autre(loop);
  ASSERT_TRUE(client.Activer());
  pair.Envoyer(client.PortLie(), CM_SIGNALER_PRESENCE);
  autre.Envoyer(client.PortLie(), CM_SIGNALER_PRESENCE);
  ASSERT_TRUE(Attendre([&] { return client.NombreServeurs() == 2; }));
  changements = 0;
  EXPECT_TRUE(client.Desactiver(MDA_ArretFonctionServeur, true));
  ASSERT_TRUE(Attendre([&] { return pair.Nombre(CM_DECONNEXION) == 1 && autre.Nombre(CM_DECONNEXION) == 1; }));
  EXPECT_EQ(pair.recus.back().Donnees[0], MDA_ArretFonctionServeur);
  EXPECT_EQ(finies.size(), 2u);
  EXPECT_EQ(changements, 1);
  EXPECT_EQ(client.NombreServeurs(), 0u);
}

// An opening that fails tells why, and answers False.
TEST_F(CommunicationUdp, APortInUseOrAPortWithoutANameRefusesTheOpeningAndSaysWhy) {
  std::vector<std::string> affiches;
  VclDialogue::DefinirSortie([&](const std::string& ligne) { affiches.push_back(ligne); });
  ASSERT_TRUE(client.Activer());
  const std::string occupe = std::to_string(client.PortLie());
  const std::string debut = VclDialogue::Legende(VclDialogue::kAlerte, VclDialogue::kOk) + " : ";
  struct Cas {
    std::string port;
    int32_t code;
    std::string texte;
  };
  const Cas cas[] = {
      {occupe, EADDRINUSE,
       "Impossible d'activer le port udp '" + occupe + "' car il est utilis\xE9 par une autre application."},
      {"pas-un-service", EAI_NONAME,
       "R\xE9solution du port udp 'pas-un-service' impossible. V\xE9rifier la configuration r\xE9seau."},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.port);
    affiches.clear();
    TCommunicationUdpClient second(loop);
    second.AdresseLocale = "127.0.0.1";
    second.PortLocal = c.port;
    EXPECT_FALSE(second.Activer());
    EXPECT_EQ(second.CodeErreur(), c.code);
    EXPECT_EQ(affiches, std::vector<std::string>{debut + c.texte});
  }
  VclDialogue::DefinirSortie(nullptr);
}
