// The logged-in data client against the scripted server on loopback: modification requests
// (accepted with their orders arriving before the verdict, refused, answered empty, interrupted by
// the loss of the link, a second one while one waits, never answered), streams of 0 bytes, one
// piece and many pieces, a corrupt one, the orders held from the base stream's request until the
// user information has been read, user-base orders and the exclusive-mode messages.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "net/VclClient.h"
#include "net/transport/MessagesModeExclusif.h"
#include "net/transport/TransfertStream.h"
#include "platform/ui/AttenteReponseServeur.h"
#include "tests/net/utilisateurs/UtilisateursFixture.h"
#include "tests/support/StreamsServeur.h"

using namespace GenresMessages;
using namespace std::chrono_literals;

namespace {

std::string Lire(TStream& Flux) {
  std::string s(static_cast<std::size_t>(Flux.Size()), '\0');
  Flux.ReadBuffer(s.data(), Flux.Size());
  return s;
}

std::string Element(const std::string& ordre) {
  const auto n = uint32_t(ordre.size());
  return std::string{char(n), char(n >> 8), char(n >> 16), char(n >> 24)} + ordre;
}

class RequetesEtOrdres : public BaseUtilisateursTest {
 protected:
  void SetUp() override {
    BaseUtilisateursTest::SetUp();
    serveur.PreparerClient(client);
    client.SurReponseLogin = [this](uint32_t, uint32_t, TypeStatutConnection, TypeResultatReponseLogin r) {
      connecte = r == LoginOk;
    };
    client.TraiterOrdreModif = [this](TIeClient*, const uint8_t* o, uint32_t n) {
      evenements.push_back("ordre " + std::string(reinterpret_cast<const char*>(o), n));
    };
    client.SurLireStream = [this](TIeClientServeur*, TStream* f, TypeGenreStream g, const TypeCodeUtilisateur&) {
      evenements.push_back("stream " + std::to_string(g));
      lus.push_back(Lire(*f));
      if (g == StreamBase) client.DemanderStream(StreamInfosUtilisateur);
      return true;
    };
    client.OnPreRequeteAuServeur = [this](TIeClient*, bool) { evenements.push_back("pre"); };
    client.OnPostRequeteAuServeur = [this](TIeClient*, bool) { evenements.push_back("post"); };
    ASSERT_TRUE(client.Activer(kCanalTcp));
    ASSERT_TRUE(Attendre([this] { return client.IdentServeur() != 0; }));
    client.Identifier(0, "ABC", "", "alice", "Secret");
    ASSERT_TRUE(Attendre([this] { return connecte; }));
  }
  void TearDown() override {
    serveur.Arreter();
    BaseUtilisateursTest::TearDown();
  }
  bool Attendre(const std::function<bool()>& Condition) {
    return loop.WaitUntil(Condition, 5s) == MainLoop::WaitResult::Satisfied;
  }
  // The server answers each request with these orders, then this answer.
  void Repondre(std::vector<std::string> ordres, std::string reponse) {
    serveur.Traitements[CM_ENVOYER_REQUETE] = [ordres, reponse](TServeurScripte& s, const TypeMessageRecu&) {
      for (const auto& o : ordres) s.Envoyer(CM_ENVOYER_ORDRE_MODIF, o);
      s.Envoyer(CM_REPONDRE_REQUETE, reponse);
    };
  }
  bool Requete(uint32_t Code, void* Reponse = nullptr, int32_t Capacite = 0) {
    const char argument[] = "arg";
    return client.EnvoyerRequeteSynchrone(Code, 77, 3, argument, true, Reponse, Capacite);
  }
  size_t Nombre(uint32_t Id) const {
    const auto g = serveur.Genres();
    return static_cast<size_t>(std::count(g.begin(), g.end(), Id));
  }

  MainLoop loop{[] {}, [] {}};
  TServeurScripte serveur{loop};
  TStreamsServeur streams{serveur};
  TIeClientDonnees client{loop};
  bool connecte = false;
  std::vector<std::string> evenements;
  std::vector<std::string> lus;
};

}  // namespace

TEST_F(RequetesEtOrdres, AnAcceptedRequestHasItsOrdersAppliedBeforeItsVerdictAndItsAnswerWithinTheCapacity) {
  Repondre({"ordre 1", "ordre 2"}, std::string("\x01\x2a\x00\x00\x00\xff\xff", 7));
  int32_t identifiant[2] = {0, -1};
  ASSERT_TRUE(Requete(0x80280100, identifiant, 4));
  EXPECT_EQ(identifiant[0], 42);
  EXPECT_EQ(identifiant[1], -1);  // the bytes beyond the capacity are not copied
  EXPECT_EQ(evenements, (std::vector<std::string>{"pre", "ordre ordre 1", "ordre ordre 2", "post"}));
  // The request as the server received it, under the session cipher.
  const std::string recue = serveur.Dernier(CM_ENVOYER_REQUETE);
  ASSERT_EQ(recue.size(), 22u);
  EXPECT_EQ(recue.substr(0, 6), std::string("\0\0\x00\x01\x28\x80", 6));
  EXPECT_EQ(recue.substr(10, 1), "\x02");
  EXPECT_EQ(recue.substr(11), std::string("\x4d\0\0\0\x03\0\0\0arg", 11));
  EXPECT_TRUE(serveur.Recus.back().Chiffre);
}

TEST_F(RequetesEtOrdres, RefusalsAnEmptyAnswerAndTheLossOfTheLinkAnswerFalse) {
  for (const std::string& reponse : {std::string(1, '\0'), std::string()}) {
    Repondre({}, reponse);
    int32_t identifiant = 5;
    EXPECT_FALSE(Requete(1, &identifiant, 4));
    EXPECT_EQ(identifiant, 5);
  }
  serveur.CouperA = CM_ENVOYER_REQUETE;
  EXPECT_FALSE(Requete(1));
  EXPECT_TRUE(FenetresTaches::Actives());
  EXPECT_FALSE(client.TcpActif());
  // No link: nothing is sent.
  EXPECT_FALSE(Requete(1));
}

TEST_F(RequetesEtOrdres, ASecondRequestWhileOneWaitsIsRefusedWithoutBeingSent) {
  Repondre({"ordre"}, "\x01");
  bool second = true;
  client.TraiterOrdreModif = [&](TIeClient*, const uint8_t*, uint32_t) { second = Requete(2); };
  EXPECT_TRUE(Requete(1));
  EXPECT_FALSE(second);
  EXPECT_EQ(Nombre(CM_ENVOYER_REQUETE), 1u);
}

TEST_F(RequetesEtOrdres, ARequestThatIsNeverAnsweredEndsAndClosesTheLink) {
  serveur.Muets.insert(CM_ENVOYER_REQUETE);
  client.DelaiRequete = 100ms;
  EXPECT_FALSE(Requete(1));
  EXPECT_FALSE(client.TcpActif());
  EXPECT_FALSE(client.Occupe());
}

TEST_F(RequetesEtOrdres, StreamsOfNoByteOnePieceAndManyPiecesReachTheReaders) {
  std::string grand;
  for (int i = 0; grand.size() < 100000; ++i) grand += std::to_string(i * 40503u);
  for (const std::string& contenu : {std::string(), std::string("une piece"), grand}) {
    SCOPED_TRACE(contenu.size());
    lus.clear();
    streams.Servir(StreamBase, contenu);
    streams.Servir(StreamInfosUtilisateur, "infos");
    ASSERT_TRUE(client.DemanderStream(StreamBase));
    ASSERT_TRUE(Attendre([this] { return lus.size() == 2; }));
    EXPECT_EQ(lus, (std::vector<std::string>{contenu, "infos"}));
    EXPECT_FALSE(client.CanalTcp()->TransfertEnCours());
  }
}

// The base transfer is bracketed from the request of the base to the reading of the user
// information; each piece received moves the progress on by what it held, up to the compressed size.
TEST_F(RequetesEtOrdres, ATransferIsBracketedAndItsProgressFollowsThePieces) {
  std::string grand;
  for (int i = 0; grand.size() < 60000; ++i) grand += std::to_string(i * 2654435761u);
  streams.Servir(StreamBase, grand);
  streams.Servir(StreamInfosUtilisateur, "");
  const auto taille = static_cast<uint32_t>(streams.Compresses[StreamBase].size());
  ASSERT_GT(taille, 2 * 4096u);
  std::vector<std::string> attendus{"debut"};
  for (uint32_t p = 0;; p += 4096) {
    attendus.push_back("0:" + std::to_string(std::min(p, taille)) + "/" + std::to_string(taille));
    if (p >= taille) break;
  }
  attendus.insert(attendus.end(), {"stream 0", "1:0/8", "1:8/8", "stream 1", "fin"});
  evenements.clear();
  client.CanalTcp()->SurDebutTransfert = [this](TCommunicationTcpClient* c) {
    evenements.push_back(c->TransfertEnCours() ? "debut" : "debut hors transfert");
  };
  client.CanalTcp()->SurFinTransfert = [this](TCommunicationTcpClient*) { evenements.push_back("fin"); };
  client.SurProgressionStream = [this](TIeClientServeur*, TypeGenreStream g, uint32_t p, uint32_t n) {
    evenements.push_back(std::to_string(g) + ":" + std::to_string(p) + "/" + std::to_string(n));
  };
  ASSERT_TRUE(client.DemanderStream(StreamBase));
  ASSERT_TRUE(Attendre([this] { return !client.CanalTcp()->TransfertEnCours(); }));
  EXPECT_EQ(evenements, attendus);
}

TEST_F(RequetesEtOrdres, ACorruptStreamClosesTheLinkWithoutReachingTheReader) {
  streams.Compresses[StreamBase] = std::string(5000, 'z');
  ASSERT_TRUE(client.DemanderStream(StreamBase));
  ASSERT_TRUE(Attendre([this] { return !client.TcpActif(); }));
  EXPECT_TRUE(lus.empty());
}

// Orders that arrive from the request of the base until the user information has been read are
// applied right after it, in arrival order, whatever message carried them; later ones at once.
TEST_F(RequetesEtOrdres, HeldOrdersAreReplayedInOrderAfterTheUserInformation) {
  std::string grand;
  for (int i = 0; grand.size() < 30000; ++i) grand += std::to_string(i * 7u);
  streams.Servir(StreamBase, grand);
  streams.Servir(StreamInfosUtilisateur, "infos");
  int n = 0;
  auto suivant = serveur.Traitements[CM_DEMANDER_STREAM_SUIVANT];
  serveur.Traitements[CM_DEMANDER_STREAM_SUIVANT] = [&, suivant](TServeurScripte& s, const TypeMessageRecu& m) {
    ++n;
    if (n == 1) s.Envoyer(CM_ENVOYER_ORDRE_MODIF, "a");
    if (n == 2) s.Envoyer(CM_ENVOYER_ORDRES_MODIFS, Element("b") + Element("c"));
    suivant(s, m);
    if (m.Donnees[0] == StreamInfosUtilisateur) s.Envoyer(CM_ENVOYER_ORDRE_MODIF, "d");
  };
  ASSERT_TRUE(client.DemanderStream(StreamBase));
  ASSERT_TRUE(Attendre([this] { return evenements.size() == 6; }));
  EXPECT_EQ(evenements, (std::vector<std::string>{"stream 0", "stream 1", "ordre a", "ordre b", "ordre c", "ordre d"}));
  EXPECT_EQ(client.OrdresRetenus(), 0u);
  serveur.Envoyer(CM_ENVOYER_ORDRE_MODIF, "e");
  ASSERT_TRUE(Attendre([this] { return evenements.size() == 7; }));
  EXPECT_EQ(evenements.back(), "ordre e");
}

TEST_F(RequetesEtOrdres, UserBaseOrdersAreAppliedThenReported) {
  std::string ordre("\x00\x04\x00\x00\x00\x09\x00\x00\x00", 9);
  ordre += TServeurScripte::AffectationOctets(9, 1, 1, 1);
  ASSERT_TRUE(BaseUtilisateurs::CreerUtilisateur(UnUtilisateur(1, "USR")));
  ASSERT_TRUE(BaseUtilisateurs::CreerGroupeUtilisateurs(UnGroupe(1, "Groupe", kGenreModification, {})));
  int signales = 0;
  client.TraiterOrdreModifUtilisateur = [&](TIeClient*, const uint8_t*, uint32_t n) { signales += n == ordre.size(); };
  serveur.Envoyer(CM_ENVOYER_ORDRE_MODIF_UTIL, ordre);
  ASSERT_TRUE(Attendre([&] { return signales == 1; }));
  EXPECT_TRUE(BaseUtilisateurs::ChercherAffectation(9));
}

TEST_F(RequetesEtOrdres, TheExclusiveModeSendsChangesLocallyAndItsMessagesReachTheOwner) {
  std::vector<std::string> vus;
  client.SurChangementModeExclusif = [&](TIeClientServeur*, bool m, TypeGenreProcess g, uint32_t,
                                         const TCommunicationTcp::TypeDetailsExclusif& d) {
    vus.push_back("mode " + std::to_string(m) + std::to_string(g) + " " + d.InfosDemandeur);
  };
  client.SurChangementVerrouModeExclusif = [&](TIeClientServeur*, bool v, TypeGenreProcess g, uint32_t) {
    vus.push_back("verrou " + std::to_string(v) + std::to_string(g));
  };
  client.SurReponseDemandeModeExclusif = [&](TIeClient*, bool r) { vus.push_back("demande " + std::to_string(r)); };
  client.SurReponseLiberationModeExclusif = [&](TIeClient*, bool r) { vus.push_back("liberation " + std::to_string(r)); };
  const std::string mode = MessagesModeExclusif::EcrireModeModifie({GP_Client, true, 1, AE_ChangementManuelMode, 5, "poste"});
  serveur.Envoyer(CM_REPONDRE_DEM_MODE_EXCLUSIF, "\x01");
  serveur.Envoyer(CM_MODE_EXCLUSIF_MODIFIE, mode);
  serveur.Envoyer(CM_MODE_EXCLUSIF_MODIFIE, mode);  // unchanged: no event
  serveur.Envoyer(CM_VERROU_MODE_EXCLUSIF_MODIFIE, std::string("\x03\x01", 2));
  serveur.Envoyer(CM_MODE_EXCLUSIF_MODIFIE, mode.substr(1));  // wrong length: ignored
  serveur.Envoyer(CM_REPONDRE_LIB_MODE_EXCLUSIF, std::string(1, '\0'));
  ASSERT_TRUE(Attendre([&] { return vus.size() == 4; }));
  EXPECT_EQ(vus, (std::vector<std::string>{"demande 1", "mode 13 poste", "verrou 13", "liberation 0"}));
  EXPECT_FALSE(client.PasserParServeur());
  // The server may now ask for the whole base only while its own exclusive flag is set.
  serveur.Envoyer(CM_DEMANDER_STREAM, std::string(1, '\0'));
  ASSERT_TRUE(Attendre([this] { return Nombre(CM_STREAM_REFUSE) == 1; }));
  client.SurPreparerStream = [](TIeClientServeur*, TStream* f, TypeGenreStream, const TypeCodeUtilisateur&) {
    f->WriteBuffer("parametres", 10);
    return true;
  };
  serveur.Envoyer(CM_DEMANDER_STREAM, "\x01");
  ASSERT_TRUE(Attendre([this] { return Nombre(CM_STREAM_PRET) == 1; }));
}

// The answer to a release of the exclusive mode also ends the exchange waiting, with its value.
TEST_F(RequetesEtOrdres, TheAnswerToAReleaseOfTheExclusiveModeEndsTheWaitWithItsValue) {
  for (const std::string& retour : {std::string("\x01"), std::string(1, '\0')}) {
    SCOPED_TRACE(int(retour[0]));
    serveur.Traitements[CM_ENVOYER_ETAT_BASE] = [retour](TServeurScripte& s, const TypeMessageRecu&) {
      s.Envoyer(CM_REPONDRE_LIB_MODE_EXCLUSIF, retour);
    };
    EXPECT_EQ(client.EnvoyerEtatBase(1), retour[0] != 0);
    EXPECT_TRUE(client.TcpActif());
  }
}

// A server that refuses the user information after the base ends the transfer all the same: the
// orders held are applied, none is kept back for ever.
TEST_F(RequetesEtOrdres, ARefusedStreamEndsTheHoldingOfOrders) {
  streams.Servir(StreamBase, "base");
  serveur.Traitements[CM_STREAM_BIEN_RECU] = [](TServeurScripte& s, const TypeMessageRecu&) {
    s.Envoyer(CM_ENVOYER_ORDRE_MODIF, "retenu");
  };
  std::vector<uint8_t> refus;
  client.SurStreamRefuse = [&](TIeClientServeur*, TStream* f, TypeGenreStream g, const TypeCodeUtilisateur&) {
    EXPECT_EQ(f, nullptr);
    refus.push_back(g);
    return true;
  };
  ASSERT_TRUE(client.DemanderStream(StreamBase));
  ASSERT_TRUE(Attendre([&] { return !refus.empty() && evenements.size() == 2; }));
  EXPECT_EQ(refus, std::vector<uint8_t>{StreamInfosUtilisateur});
  EXPECT_EQ(evenements, (std::vector<std::string>{"stream 0", "ordre retenu"}));
  EXPECT_FALSE(client.CanalTcp()->TransfertEnCours());
}
