// The client/server component through the data client's two channels: which channels open and
// close together, the application's name, the user base's changes relayed, network orders sent and
// answered (and the ones of the server run here), and a server met on UDP taken at once by TCP.
#include <gtest/gtest.h>

#include <boost/asio/ip/udp.hpp>

#include <chrono>
#include <cstring>

#include "core/serial/Serialisation.h"
#include "net/VclClient.h"
#include "net/protocol/PetitBoutiste.h"
#include "tests/net/objets/ObjetsReseauFixtures.h"
#include "tests/net/utilisateurs/UtilisateursFixture.h"
#include "tests/support/ServeurScripte.h"

using namespace GenresMessages;
using namespace std::chrono_literals;
using PetitBoutiste::EcrireCardinal;
using PetitBoutiste::LireCardinal;

namespace {

class ClientServeur : public BaseUtilisateursTest {
 protected:
  void SetUp() override {
    BaseUtilisateursTest::SetUp();
    TestsObjetsReseau::Enregistrer();
    client.SetAdresseIpServeur("127.0.0.1");
    client.SetPortTcpServeur(std::to_string(serveur.Demarrer()));
    client.CanalUdp()->AdresseLocale = "127.0.0.1";
    client.CanalUdp()->AdresseDiffusion = "127.0.0.1";
    client.VersionProgramme = serveur.Version;
  }
  bool Attendre(const std::function<bool()>& Condition) {
    return loop.WaitUntil(Condition, 5s) == MainLoop::WaitResult::Satisfied;
  }
  bool Connecter() { return client.Activer(kCanalTcp) && Attendre([this] { return client.IdentServeur() != 0; }); }
  bool UdpActif() const { return client.CanalUdp()->Actif(); }

  MainLoop loop{[] {}, [] {}};
  TServeurScripte serveur{loop};
  TIeClientDonnees client{loop};
  std::vector<std::pair<TypeGenreModif, uint32_t>> vus;  // the changes relayed, until the tables are emptied
};

// The server's side of a network order: read, run here, answered with its results.
void RepondreOrdre(TServeurScripte& s, const TypeMessageRecu& m) {
  const auto* d = reinterpret_cast<const uint8_t*>(m.Donnees.data());
  TMemoryStream flux;
  flux.Write(d + 52, LireCardinal(d + 48));
  flux.Seek(0, TSeekOrigin::soBeginning);
  TBinaryFormatter lecture(&flux);
  std::unique_ptr<TOrdreReseau> ordre(OrdreReseau::LireOrdre(&lecture));
  (void)ordre->ExecuterLocalement();
  TBinaryFormatter reponse(nullptr);
  reponse.EcrireObjet(ordre.get(), TFSModeReponse::StaticClass());
  std::string r(m.Donnees.substr(7, 41));
  r.append(4, '\0');
  EcrireCardinal(reinterpret_cast<uint8_t*>(r.data()) + 41, static_cast<uint32_t>(reponse.GetTaille()));
  r.append(reinterpret_cast<const char*>(reponse.GetTampon()), reponse.GetTaille());
  s.Envoyer(CM_REPONDRE_OrdreReseau, r);
}

}  // namespace

TEST_F(ClientServeur, TheChannelsOpenAndCloseTogetherAsAsked) {
  // TCP alone leaves UDP as it is.
  ASSERT_TRUE(Connecter());
  EXPECT_FALSE(UdpActif());
  // An empty set closes both.
  ASSERT_TRUE(client.Activer(kCanalUdp));
  client.Desactiver(MDA_Aucun, 0, false);
  EXPECT_FALSE(UdpActif());
  EXPECT_FALSE(client.TcpActif());
  // UDP refusing to close keeps TCP open when both are asked for.
  ASSERT_TRUE(client.Activer(kCanalUdp | kCanalTcp));
  client.SurRequeteDesactivationUdp = [](TIeClientServeur*) { return false; };
  client.Desactiver(MDA_Aucun, kCanalUdp | kCanalTcp, false);
  EXPECT_TRUE(UdpActif());
  EXPECT_TRUE(client.TcpActif());
  client.Desactiver(MDA_Aucun, kCanalUdp | kCanalTcp, true);
  EXPECT_FALSE(client.EstActif());
  // A TCP opening refused closes UDP again.
  client.SurRequeteDesactivationUdp = nullptr;
  client.SurRequeteActivationTcp = [](TIeClientServeur*) { return false; };
  EXPECT_FALSE(client.Activer(kCanalUdp | kCanalTcp));
  EXPECT_FALSE(UdpActif());
}

TEST_F(ClientServeur, TheApplicationsNameIsCutAndReachesTheUdpChannel) {
  client.SetNomApplication("ServiceWebPlanning");
  client.SetGenreApplication(GP_ServiceWeb);
  EXPECT_EQ(client.NomApplication(), "ServiceWe"  "b");
  EXPECT_EQ(client.CanalUdp()->NomApplication, "ServiceWeb");
  EXPECT_EQ(client.CanalUdp()->GenreApplication, GP_ServiceWeb);
}

// The component's message and socket-error events are the channels' own.
TEST_F(ClientServeur, TheServersTextMessagesAndSocketErrorsReachTheComponentsEvents) {
  std::vector<std::string> vus;
  client.SurReceptionMessageTcp() = [&](const TypeMessageStr& m) {
    vus.push_back(VclCommIp::TexteMessage(m));
    return true;
  };
  client.SurErreurSocketTcp() = [&](TCommunicationTcp*, TypeErreurSocket g, int32_t&) {
    vus.push_back(g == TypeErreurSocket::Connexion ? "connexion" : "autre");
  };
  client.SurReceptionMessageUdp() = [](const TypeMessageStr&) { return true; };
  EXPECT_TRUE(client.CanalUdp()->OnReceptionMessage);
  ASSERT_TRUE(Connecter());
  std::string message(288, '\0');
  message[24] = 3;
  std::memcpy(message.data() + 25, "Bonjour", 7);
  serveur.Envoyer(CM_ENVOYER_MESSAGE, message);
  ASSERT_TRUE(Attendre([&] { return !vus.empty(); }));
  client.Desactiver(MDA_Aucun, kCanalTcp, true);
  serveur.Arreter();
  ASSERT_TRUE(client.Activer(kCanalTcp));
  ASSERT_TRUE(Attendre([&] { return vus.size() == 2; }));
  EXPECT_EQ(vus, (std::vector<std::string>{"Bon", "connexion"}));
  client.Desactiver(MDA_Aucun, kCanalTcp, true);  // the handler left the link to the component's owner
}

TEST_F(ClientServeur, ChangesOfTheUserBaseAreRelayed) {
  // Another component come and gone takes its own subscriptions away, not this one's.
  { TIeClient autre(loop); }
  client.SurChangementUtilisateurs = [&](TypeGenreModif g, uint32_t i) { vus.emplace_back(g, i); };
  client.SurChangementProfilsServeurs = [&](TypeGenreModif g, uint32_t i) { vus.emplace_back(g, i + 1000); };
  ASSERT_TRUE(BaseUtilisateurs::CreerUtilisateur(UnUtilisateur(7, "ABC")));
  ASSERT_TRUE(BaseUtilisateurs::CreerProfilServeur(UnProfilServeur(3, "P")));
  ASSERT_TRUE(BaseUtilisateurs::ChercherUtilisateurParCode("ABC"));
  ASSERT_TRUE(BaseUtilisateurs::SupprimerUtilisateurCourant());
  EXPECT_EQ(vus, (std::vector<std::pair<TypeGenreModif, uint32_t>>{{GM_Creation, 7}, {GM_Creation, 1003}, {GM_Suppression, 7}}));
  vus.clear();
}

TEST_F(ClientServeur, ANetworkOrderComesBackWithItsResultsOrWithAnErrorWhenNoAnswerCame) {
  ASSERT_TRUE(Connecter());
  serveur.Traitements[CM_ENVOYER_OrdreReseau] = RepondreOrdre;
  TOrdreTest ordre;
  ordre.SetNumero(21);
  EXPECT_EQ(client.EnvoyerOrdreReseauSynchrone(&ordre), nullptr);
  EXPECT_EQ(ordre.Resultat(), 42);
  ordre.SetNumero(-1);
  TErreur* erreur = client.EnvoyerOrdreReseauSynchrone(&ordre);
  ASSERT_NE(erreur, nullptr);
  EXPECT_EQ(erreur->Message, "Numero negatif");
  EXPECT_FALSE(client.Occupe());

  // The link goes while the order waits.
  serveur.Traitements.erase(CM_ENVOYER_OrdreReseau);
  serveur.CouperA = CM_ENVOYER_OrdreReseau;
  erreur = client.EnvoyerOrdreReseauSynchrone(&ordre);
  ASSERT_NE(erreur, nullptr);
  EXPECT_EQ(erreur->Message, "TIeClientServeur.EnvoyerOrdreReseauSynchrone : BufferReponse = NIL");
  EXPECT_FALSE(client.Occupe());
}

TEST_F(ClientServeur, AnOrderOfTheServerRunsHereAndAnUnknownOneIsIgnored) {
  ASSERT_TRUE(Connecter());
  TOrdreTest ordre;
  ordre.SetNumero(5);
  TBinaryFormatter f(nullptr);
  f.EcrireObjet(&ordre, TFSModeRequete::StaticClass());
  auto envoyer = [&](const std::string& nom) {
    std::string d(52, '\0');
    d[7] = static_cast<char>(nom.size());
    std::memcpy(d.data() + 8, nom.data(), nom.size());
    EcrireCardinal(reinterpret_cast<uint8_t*>(d.data()) + 48, static_cast<uint32_t>(f.GetTaille()));
    d.append(reinterpret_cast<const char*>(f.GetTampon()), f.GetTaille());
    serveur.Envoyer(CM_ENVOYER_OrdreReseau, d);
  };
  envoyer("TOrdreInexistant");
  envoyer("TOrdreTest");
  ASSERT_TRUE(Attendre([this] { return !serveur.Dernier(CM_REPONDRE_OrdreReseau).empty(); }));
  const auto genres = serveur.Genres();
  EXPECT_EQ(std::count(genres.begin(), genres.end(), CM_REPONDRE_OrdreReseau), 1);
  const std::string r = serveur.Dernier(CM_REPONDRE_OrdreReseau);
  EXPECT_EQ(r.substr(1, static_cast<uint8_t>(r[0])), "TOrdreTest");
  TMemoryStream flux;
  flux.Write(r.data() + 45, LireCardinal(reinterpret_cast<const uint8_t*>(r.data()) + 41));
  flux.Seek(0, TSeekOrigin::soBeginning);
  TBinaryFormatter lecture(&flux);
  TOrdreTest resultat;
  OrdreReseau::RecevoirReponse(&resultat, &lecture);
  EXPECT_EQ(resultat.Resultat(), 10);
}

TEST_F(ClientServeur, AServerMetOnUdpIsJoinedByTcpAtOnce) {
  // A server of the test answers the announcement with its host record, which names the TCP port.
  boost::asio::ip::udp::socket pair(loop.Context(), {boost::asio::ip::address_v4::loopback(), 0});
  client.SetPortUdpServeur(std::to_string(pair.local_endpoint().port()));
  serveur.PortTcpAnnonce = serveur.Port();
  client.SetAdresseIpServeur("192.0.2.1");
  client.SetPortTcpServeur("1");
  ASSERT_TRUE(client.Activer(kCanalUdp));
  auto envoyer = [&](uint32_t id, const std::string& d) {
    std::string trame;
    ASSERT_TRUE(Trame::Construire({0, 2}, id, d.data(), static_cast<uint32_t>(d.size()), 0, trame));
    pair.send_to(boost::asio::buffer(trame), {boost::asio::ip::address_v4::loopback(), client.CanalUdp()->PortLie()});
  };
  envoyer(CM_SIGNALER_PRESENCE, "");
  envoyer(CM_ENVOYER_HOST, serveur.HostServeur());
  ASSERT_TRUE(Attendre([this] { return serveur.NombreConnexions() == 1 && client.IdentServeur() != 0; }));
  EXPECT_EQ(client.GetAdresseIpServeur(), "127.0.0.1");
  EXPECT_EQ(client.GetPortTcpServeur(), std::to_string(serveur.Port()));
  EXPECT_FALSE(UdpActif());
  EXPECT_EQ(client.IdentProfilServeur, serveur.IdentProfilServeur);
}
