// The web service's data client wired to the readers, against the scripted server: the whole base
// received is imported and marked loaded, the user information asked for and read, orders held
// during the transfer applied after it through the table registry, a corrupt base refused, and
// the wait window shown while a request that asks for it waits.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "base/SupFichiers.h"
#include "base/SupParametresGrille.h"
#include "core/serial/Streams.h"
#include "net/NetBases.h"
#include "net/NetClient.h"
#include "net/VclClient.h"
#include "platform/ui/AttenteReponseServeur.h"
#include "service/ReceptionDonnees.h"
#include "streams/SupToutesTables.h"
#include "streams/VclImportExport.h"
#include "tests/support/StreamsServeur.h"

using namespace GenresMessages;
using namespace std::chrono_literals;

namespace {

class ReceptionDonneesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SupParametresGrille::Initialiser();
    SupFichiers::VersionBase() = TypeVersionFormat{5, 0, 6, 1};
    NetBases::BaseAnterieure506() = false;
    ASSERT_TRUE(SupToutesTables::CreerToutesLesTables());
    TMemoryStream m;
    VclImportExport::ExporterBase(m);
    SupToutesTables::LibererToutesLesTables();
    std::string base(256, '\0');
    const std::string nom = "C:\\Bases\\lycee.base";
    base[0] = char(nom.size());
    base.replace(1, nom.size(), nom);
    base += m.AsString();
    streams.Servir(StreamBase, base);
    streams.Servir(StreamInfosUtilisateur, std::string(4, '\0'));  // an empty block: the defaults

    client.SetAdresseIpServeur("127.0.0.1");
    client.SetPortTcpServeur(std::to_string(serveur.Demarrer()));
    client.VersionProgramme = serveur.Version;
    ReceptionDonnees::Lier(client);
    NetClient::ApresOrdreModif() = [this] { ++ordres; };
    ASSERT_TRUE(client.Activer(kCanalTcp));
    ASSERT_TRUE(Attendre([this] { return client.IdentServeur() != 0; }));
  }
  void TearDown() override {
    serveur.Arreter();
    NetClient::ApresOrdreModif() = nullptr;
    NetClient::ClientDonnees() = nullptr;
    NetClient::BaseChargee() = false;
    SupToutesTables::LibererToutesLesTables();
    SupParametresGrille::Initialiser();
  }
  bool Attendre(const std::function<bool()>& Condition) {
    return loop.WaitUntil(Condition, 10s) == MainLoop::WaitResult::Satisfied;
  }

  MainLoop loop{[] {}, [] {}};
  TServeurScripte serveur{loop};
  TStreamsServeur streams{serveur};
  TIeClientDonnees client{loop};
  int ordres = 0;
};

}  // namespace

TEST_F(ReceptionDonneesTest, TheBaseIsImportedThenTheUserInformationThenTheHeldOrdersApply) {
  // An order sent while the base is on its way waits for the user information.
  serveur.Traitements[CM_STREAM_BIEN_RECU] = [this](TServeurScripte& s, const TypeMessageRecu& m) {
    streams.Acquittements.push_back(uint8_t(m.Donnees[0]));
    if (m.Donnees[0] == StreamBase) {
      EXPECT_TRUE(client.CanalTcp()->TransfertEnCours());
      s.Envoyer(CM_ENVOYER_ORDRE_MODIF, std::string(9, '\0'));
    }
  };
  // By the time the user information is asked piece by piece, the order has arrived and is held.
  int appliques = -1;
  std::size_t retenus = 0;
  auto suivant = serveur.Traitements[CM_DEMANDER_STREAM_SUIVANT];
  serveur.Traitements[CM_DEMANDER_STREAM_SUIVANT] = [&, suivant](TServeurScripte& s, const TypeMessageRecu& m) {
    if (m.Donnees[0] == StreamInfosUtilisateur) {
      appliques = ordres;
      retenus = client.OrdresRetenus();
    }
    suivant(s, m);
  };
  ASSERT_TRUE(client.DemanderStream(StreamBase));
  ASSERT_TRUE(Attendre([this] { return ordres == 1 && streams.Acquittements.size() == 2; }));
  EXPECT_EQ(appliques, 0);
  EXPECT_EQ(retenus, 1u);
  EXPECT_TRUE(NetClient::BaseChargee());
  EXPECT_EQ(NetBases::NomBase(), "C:\\Bases\\lycee.base") << "the base keeps its folder";
  EXPECT_EQ(streams.Annonces, (std::vector<uint8_t>{StreamBase, StreamInfosUtilisateur}));
  EXPECT_EQ(streams.Acquittements, (std::vector<uint8_t>{StreamBase, StreamInfosUtilisateur}));
  EXPECT_FALSE(client.CanalTcp()->TransfertEnCours());
}

TEST_F(ReceptionDonneesTest, ABaseThatCannotBeReadClosesTheLinkAndStaysUnloaded) {
  streams.Servir(StreamBase, std::string(100, '\0'));  // inflates, but holds no base
  ASSERT_TRUE(client.DemanderStream(StreamBase));
  ASSERT_TRUE(Attendre([this] { return !client.TcpActif(); }));
  EXPECT_FALSE(NetClient::BaseChargee());
  EXPECT_EQ(streams.Annonces.size(), 1u);
}

TEST_F(ReceptionDonneesTest, TheWaitWindowStandsWhileARequestThatAsksForItWaits) {
  bool vue = false;
  serveur.Traitements[CM_ENVOYER_REQUETE] = [&](TServeurScripte& s, const TypeMessageRecu&) {
    vue = ReceptionDonnees::FenetreAttente() != nullptr && ReceptionDonnees::FenetreAttente()->Visible();
    s.Envoyer(CM_REPONDRE_REQUETE, "\x01");
  };
  EXPECT_TRUE(NetClient::EnvoyerRequeteServeur(0x80010100, 0, 0, nullptr, true, nullptr));
  EXPECT_TRUE(vue);
  EXPECT_EQ(ReceptionDonnees::FenetreAttente(), nullptr);
  vue = false;
  EXPECT_TRUE(NetClient::EnvoyerRequeteServeur(0x80010100, 0, 0, nullptr, false, nullptr));
  EXPECT_FALSE(vue);
}
