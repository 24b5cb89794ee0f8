// The TCP link against the scripted server on loopback: opening (addresses with blanks, host
// names), the connection identity and host exchange, the keep-alive, the synchronous exchanges
// (each with its own result, ended by closing, by the loss of the link or by a silent server),
// writes that the socket cannot take at once, what a lost connection leaves behind, and the
// exclusive-mode flags.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "net/transport/VclCommTcp.h"
#include "objectdb/Traduction.h"
#include "platform/ui/VclDialogue.h"
#include "tests/support/ServeurScripte.h"

using namespace GenresMessages;
using namespace std::chrono_literals;

namespace {

class CommunicationTcp : public ::testing::Test {
 protected:
  void SetUp() override {
    port = serveur.Demarrer();
    client.AdresseServeur = "127.0.0.1";
    client.PortServeur = std::to_string(port);
    client.SurConnexion = [this](auto*, uint32_t, uint32_t) { evenements.push_back("connexion"); };
    client.SurDeconnexion = [this](auto*, uint32_t, uint32_t) { evenements.push_back("deconnexion"); };
    client.SurCommunicationPrete = [this](auto*, uint32_t ident) { evenements.push_back("prete " + std::to_string(ident)); };
    client.SurErreurSocket = [this](auto*, TypeErreurSocket, int32_t&) { evenements.push_back("erreur"); };
  }
  // Runs the loop until the condition holds (at most 5 s).
  bool Attendre(const std::function<bool()>& Condition) {
    return loop.WaitUntil(Condition, 5s) == MainLoop::WaitResult::Satisfied;
  }
  // Opens the link and waits for the server's identity.
  void Connecter() {
    ASSERT_TRUE(client.Activer());
    ASSERT_TRUE(Attendre([this] { return client.IdentServeur() != 0; }));
  }
  size_t Nombre(uint32_t Id) const {
    size_t n = 0;
    for (uint32_t g : serveur.Genres()) n += g == Id;
    return n;
  }

  MainLoop loop{[] {}, [] {}};
  TServeurScripte serveur{loop};
  TCommunicationTcpClient client{loop};
  uint16_t port = 0;
  std::vector<std::string> evenements;
};

}  // namespace

TEST_F(CommunicationTcp, OpeningTakesTheServersIdentityAndAnswersWithThisClientsHostDescription) {
  client.RemplirHost = [](TCommunicationIp*, uint32_t, TypeEnvoiHostClient& h) { h[289] = 5; };
  Connecter();
  EXPECT_EQ(client.IdentServeur(), serveur.PremierIdent);
  ASSERT_TRUE(Attendre([this] { return Nombre(CM_ENVOYER_HOST) == 1; }));
  const std::string host = serveur.Dernier(CM_ENVOYER_HOST);
  ASSERT_EQ(host.size(), 305u);
  EXPECT_EQ(host[289], 5);
  EXPECT_EQ(evenements, (std::vector<std::string>{"connexion", "prete " + std::to_string(serveur.PremierIdent)}));

  // The same identity again changes nothing and raises nothing.
  serveur.Envoyer(CM_ENVOYER_IDENT_CONNEXION, std::string(4, '\0') + std::string("\x64\0\0\0", 4));
  serveur.Envoyer(CM_DEMANDER_HOST);
  ASSERT_TRUE(Attendre([this] { return Nombre(CM_ENVOYER_HOST) == 2; }));
  EXPECT_EQ(evenements.size(), 2u);
}

TEST_F(CommunicationTcp, TheServerAddressMayHoldBlanksOrBeAHostName) {
  for (const char* adresse : {" 127. 0.0.1 ", "localhost"}) {
    SCOPED_TRACE(adresse);
    client.AdresseServeur = adresse;
    Connecter();
    EXPECT_TRUE(client.Desactiver(MDA_Aucun, true));
  }
  EXPECT_EQ(serveur.NombreConnexions(), 2);
}

// A refused connection is a socket error told to the owner's handler, which decides: the component is
// still active when it is told. A later successful connection clears the error code.
TEST_F(CommunicationTcp, ASocketErrorGoesToTheOwnersHandlerAloneAndAConnectionClearsItsCode) {
  serveur.Arreter();
  client.SurErreurSocket = [this](TCommunicationTcp* s, TypeErreurSocket, int32_t&) {
    evenements.push_back(s->Actif() ? "erreur, actif" : "erreur, inactif");
    s->Desactiver(MDA_Aucun, true);
  };
  ASSERT_TRUE(client.Activer());
  ASSERT_TRUE(Attendre([this] { return !client.Actif(); }));
  EXPECT_EQ(client.ErreurEvenement(), TypeErreurSocket::Connexion);
  EXPECT_NE(client.CodeErreur(), 0);
  EXPECT_EQ(evenements, std::vector<std::string>{"erreur, actif"});

  TServeurScripte autre{loop};
  client.PortServeur = std::to_string(autre.Demarrer());
  ASSERT_TRUE(client.Activer());
  ASSERT_TRUE(Attendre([this] { return client.IdentServeur() != 0; }));
  EXPECT_EQ(client.CodeErreur(), 0);
  client.Desactiver(MDA_Aucun, true);
}

// Without a handler of its own, a socket error is shown at once as a timed message naming the kind
// of error and the server; the link is lost all the same.
TEST_F(CommunicationTcp, WithoutItsOwnHandlerASocketErrorIsShownAtOnce) {
  std::vector<std::string> affiches;
  VclDialogue::DefinirSortie([&](const std::string& ligne) { affiches.push_back(ligne); });
  Traduction::DefinirTexte("VclCommTcpErreurReseauFormat", "Erreur %s sur %s");
  Traduction::DefinirTexte("VclCommTcpErreurConnexion", "de connexion");
  Traduction::DefinirTexte("VclTcpIpV", "Verifiez");
  client.SurErreurSocket = nullptr;
  serveur.Arreter();
  client.AdresseServeur = " 127.0.0 .1 ";
  ASSERT_TRUE(client.Activer());
  ASSERT_TRUE(Attendre([this] { return !client.Actif(); }));
  EXPECT_EQ(affiches, std::vector<std::string>{VclDialogue::Legende(0, 0) + " : Erreur de connexion sur 127.0.0.1  Verifiez"});
  EXPECT_EQ(VclDialogue::MessagesEnAttente(), 0);
  EXPECT_EQ(evenements, std::vector<std::string>{});  // never connected: no disconnection either
  VclDialogue::DefinirSortie(nullptr);
  for (const char* cle : {"VclCommTcpErreurReseauFormat", "VclCommTcpErreurConnexion", "VclTcpIpV"})
    Traduction::DefinirTexte(cle, "");
}

TEST_F(CommunicationTcp, OnlyMessagesAddressedToTheConnectionGoOnTheLink) {
  Connecter();
  client.EnvoyerMessage({client.IdentServeur(), 5}, CM_FIN_LOGIN);
  client.EnvoyerMessage({client.IdentServeur(), 0}, CM_FIN_LOGIN);
  client.EnvoyerMessage({client.IdentServeur(), 2}, CM_DEMANDER_HOST);
  ASSERT_TRUE(Attendre([this] { return Nombre(CM_DEMANDER_HOST) == 1; }));
  EXPECT_EQ(Nombre(CM_FIN_LOGIN), 0u);
}

TEST_F(CommunicationTcp, TheKeepAliveSendsEmptyMessagesOnlyWhenSwitchedOn) {
  client.IntervallePresence = 30ms;
  Connecter();
  (void)loop.WaitUntil([] { return false; }, 150ms);
  EXPECT_EQ(Nombre(0), 0u);
  client.Desactiver(MDA_Aucun, true);
  client.KeepSocketTcpAlive = true;
  Connecter();
  ASSERT_TRUE(Attendre([this] { return Nombre(0) >= 2; }));
  for (const auto& r : serveur.Recus) {
    if (r.Id == 0) {
      EXPECT_TRUE(r.Donnees.empty());
    }
  }
}

TEST_F(CommunicationTcp, ASynchronousExchangeEndsWithItsAnswerItsTimeOutOrTheClosingOfTheLink) {
  Connecter();
  // CM_ENVOYER_INFOS_VERSION marks the answer.
  serveur.Traitements[CM_DEMANDER_PROFILS_SRV] = [](TServeurScripte& s, const TypeMessageRecu&) {
    s.Envoyer(CM_ENVOYER_INFOS_VERSION, std::string(272, 'v'));
  };
  EXPECT_TRUE(client.DemanderProfilsServeurs());
  EXPECT_EQ(client.VersionServeur()[0], 'v');
  EXPECT_TRUE(client.ReponseRecue());

  // Unanswered, with a time-out of its own: False, the link stays.
  serveur.Muets.insert(CM_ENVOYER_ETAT_BASE);
  EXPECT_FALSE(client.EnvoyerEtAttendre({client.IdentServeur(), 2}, CM_ENVOYER_ETAT_BASE, "\1", 1, 50));
  EXPECT_TRUE(client.Actif());

  // Closed while it waits: False at once.
  serveur.Traitements[CM_DEMANDER_INFOS_UTILISATEURS] = [this](TServeurScripte&, const TypeMessageRecu&) {
    client.Desactiver(MDA_Aucun, true);
  };
  EXPECT_FALSE(client.DemanderInfosUtilisateurs());
  EXPECT_FALSE(client.Actif());
  // Without a link nothing is sent and nothing waits.
  EXPECT_FALSE(client.DemanderProfilsServeurs());
}

TEST_F(CommunicationTcp, ASilentServerOrALostLinkEndsTheWaitAndClosesTheComponent) {
  client.DelaiSilenceServeur = 200ms;
  Connecter();
  serveur.Muets.insert(CM_DEMANDER_PROFILS_SRV);
  const auto debut = std::chrono::steady_clock::now();
  EXPECT_FALSE(client.DemanderProfilsServeurs());
  EXPECT_LT(std::chrono::steady_clock::now() - debut, 3s);
  EXPECT_FALSE(client.Actif());
  EXPECT_EQ(evenements.back(), "deconnexion");

  evenements.clear();
  Connecter();
  serveur.CouperA = CM_DEMANDER_INFOS_UTILISATEURS;
  EXPECT_FALSE(client.DemanderInfosUtilisateurs());
  EXPECT_FALSE(client.Actif());
  EXPECT_EQ(evenements.back(), "deconnexion");
}

TEST_F(CommunicationTcp, AnExchangeStartedInsideTheWaitOfAnotherKeepsItsOwnResult) {
  Connecter();
  bool interieur = true;
  serveur.Traitements[CM_DEMANDER_PROFILS_SRV] = [](TServeurScripte& s, const TypeMessageRecu&) {
    s.Envoyer(CM_DEBUT_REQUETE);
    s.Envoyer(CM_REPONDRE_TRAITEMENT_LONG, "\1");  // answers the outer exchange: OK
  };
  serveur.Traitements[CM_ENVOYER_ETAT_BASE] = [](TServeurScripte& s, const TypeMessageRecu&) {
    s.Envoyer(CM_REPONDRE_REQUETE, "\0");  // answers the inner exchange: refused
  };
  client.OnReceptionReponseRequete = [this](uint32_t, const uint8_t*, uint32_t) { client.ReponseEchec(); };
  client.SurDebutRequeteServeur = [&](auto*, const TypeAdresseMessage&) {
    interieur = client.EnvoyerEtatBase({client.IdentServeur(), 2}, 1);
  };
  EXPECT_TRUE(client.DemanderProfilsServeurs());
  EXPECT_FALSE(interieur);
  // The inner one was sent only after the outer one had its answer.
  const auto genres = serveur.Genres();
  EXPECT_EQ(std::count(genres.begin(), genres.end(), CM_ENVOYER_ETAT_BASE), 1);
}

TEST_F(CommunicationTcp, WritesTheSocketCannotTakeAreQueuedAndSentInOrder) {
  Connecter();
  // Incompressible messages of 1 MB each, more than the socket takes at once.
  std::vector<std::string> envoyes;
  std::string bloc(1 << 20, '\0');
  for (int m = 0; m < 4; ++m) {
    VclCommTcp::OctetsAleatoires(reinterpret_cast<uint8_t*>(bloc.data()), static_cast<int>(bloc.size()));
    bloc[0] = static_cast<char>(m);
    envoyes.push_back(bloc);
    ASSERT_TRUE(client.EnvoyerMessageDonnees({client.IdentServeur(), 2}, CM_ENVOYER_ORDRE_MODIF, bloc.data(),
                                             static_cast<uint32_t>(bloc.size())));
  }
  ASSERT_TRUE(Attendre([this] { return Nombre(CM_ENVOYER_ORDRE_MODIF) == 4; }));
  std::vector<std::string> recus;
  for (const auto& r : serveur.Recus)
    if (r.Id == CM_ENVOYER_ORDRE_MODIF) recus.push_back(r.Donnees);
  EXPECT_TRUE(recus == envoyes);
}

TEST_F(CommunicationTcp, BytesLeftByALostConnectionNeverPrecedeTheNextOnesBytes) {
  Connecter();
  ASSERT_TRUE(Attendre([this] { return Nombre(CM_ENVOYER_HOST) == 1; }));
  bool debut = false;
  client.SurDebutRequeteServeur = [&](auto*, const TypeAdresseMessage&) { debut = true; };
  // A whole frame and the head of another, then the link goes.
  std::string entiere, coupee;
  ASSERT_TRUE(Trame::Construire({serveur.IdentCourant(), 2}, CM_DEBUT_REQUETE, nullptr, 0, 0, entiere));
  ASSERT_TRUE(Trame::Construire({serveur.IdentCourant(), 2}, CM_FIN_REQUETE, nullptr, 0, 0, coupee));
  serveur.EnvoyerBrut(entiere + coupee.substr(0, 9));
  serveur.Couper();
  ASSERT_TRUE(Attendre([this] { return !client.Actif(); }));
  EXPECT_TRUE(debut);
  // A message written while there is no link goes nowhere, not even ahead of the next connection.
  client.EnvoyerMessage({client.IdentServeur(), 2}, CM_FIN_LOGIN);
  Connecter();
  EXPECT_EQ(client.IdentServeur(), serveur.PremierIdent + 1);
  ASSERT_TRUE(Attendre([this] { return Nombre(CM_ENVOYER_HOST) == 2; }));
  EXPECT_EQ(Nombre(CM_FIN_LOGIN), 0u);
}

TEST_F(CommunicationTcp, ClosingWithACauseTellsTheServerAndResetsTheSecurityRecords) {
  Connecter();
  client.Desactiver(MDA_VersionsIncompatibles, true);
  ASSERT_TRUE(Attendre([this] { return Nombre(CM_DECONNEXION) == 1; }));
  EXPECT_EQ(serveur.Dernier(CM_DECONNEXION)[0], MDA_VersionsIncompatibles);
  EXPECT_EQ(evenements.back(), "deconnexion");
  Connecter();
  client.DefinirSecurites({TypeSecurite{Trame::kModeChiffre, "cle"}, TypeSecurite{Trame::kModeChiffre, "cle"}});
  client.Desactiver(MDA_Aucun, true);
  EXPECT_EQ(client.Securites()[0].Mode, Trame::kModeCompresse);
  EXPECT_TRUE(client.Securites()[1].PhraseSecrete.empty());
}

TEST_F(CommunicationTcp, TheServersDisconnectionIsReportedWithItsCause) {
  Connecter();
  uint8_t cause = 0;
  client.OnDeconnexionApplicatif = [&](auto*, uint32_t, uint8_t c, double) { cause = c; };
  std::string d(16, '\0');
  d[0] = MDA_DeconnexionParAdministrateur;
  serveur.Envoyer(CM_DECONNEXION, d);
  ASSERT_TRUE(Attendre([&] { return cause != 0; }));
  EXPECT_EQ(cause, MDA_DeconnexionParAdministrateur);
  EXPECT_TRUE(client.Actif());  // the application decides
}

// What the server sends unasked or in answer reaches the owner with its values: a request to run
// (its declared argument must lie within the message), the answer to a user-base order (which also
// ends the exchange waiting), a change of a long processing (202 bytes exactly).
TEST_F(CommunicationTcp, TheServersRequestsAnswersAndNoticesReachTheOwnerWithTheirValues) {
  Connecter();
  std::vector<std::string> vus;
  client.ExecuterRequete = [&](TCommunicationTcp*, uint32_t i, uint32_t code, uint32_t valeur, const uint8_t* p,
                               uint32_t n) {
    vus.push_back("requete " + std::to_string(i) + " " + std::to_string(code) + " " + std::to_string(valeur) + " " +
                  std::string(reinterpret_cast<const char*>(p), n));
    client.EnvoyerReponseRequete({i, 2}, "\x01ok", 3);
  };
  client.SurReponseOrdreUtilisateur = [&](uint32_t, uint8_t o, uint32_t v) {
    vus.push_back("ordre util " + std::to_string(o) + " " + std::to_string(v));
  };
  client.SurTraitementLongModifie = [&](TCommunicationTcpClient*, const TypeEtatTraitementLong& e) {
    vus.push_back("traitement long " + std::to_string(e[0]) + " " + std::to_string(e[201]));
  };
  // Code 0x80010203, value 9, a 3-byte argument; then the same declaring 4 bytes: ignored.
  const std::string entete("\0\0\x03\x02\x01\x80\0\0\0\0\x02\x09\0\0\0", 15);
  serveur.Envoyer(CM_ENVOYER_REQUETE, entete + std::string("\x03\0\0\0", 4) + "arg");
  serveur.Envoyer(CM_ENVOYER_REQUETE, entete + std::string("\x04\0\0\0", 4) + "arg");
  std::string etat(202, '\0');
  etat[0] = 1;
  etat[201] = 2;
  serveur.Envoyer(CM_TRAITEMENT_LONG_MODIFIE, etat);
  serveur.Envoyer(CM_TRAITEMENT_LONG_MODIFIE, etat.substr(1));  // wrong length: ignored
  serveur.Traitements[CM_ENVOYER_ETAT_BASE] = [](TServeurScripte& s, const TypeMessageRecu&) {
    s.Envoyer(CM_REPONDRE_ORDRE_UTIL, std::string("\x07\x04\x03\x02\x01", 5));
  };
  EXPECT_TRUE(client.EnvoyerEtatBase({client.IdentServeur(), 2}, 1));
  EXPECT_EQ(client.ReponseOrdreUtilOctet(), 7);
  EXPECT_EQ(client.ReponseOrdreUtilValeur(), 0x01020304u);
  ASSERT_TRUE(Attendre([this] { return Nombre(CM_REPONDRE_REQUETE) == 1; }));
  EXPECT_EQ(serveur.Dernier(CM_REPONDRE_REQUETE), "\x01ok");
  EXPECT_EQ(vus, (std::vector<std::string>{"requete " + std::to_string(serveur.IdentCourant()) + " 2147549699 9 arg",
                                           "traitement long 1 2", "ordre util 7 16909060"}));
}

// Bytes that cannot leave pile up in the send queue; beyond 10 MiB the link is closed instead of
// growing without end. While the connection is still being made nothing leaves.
TEST_F(CommunicationTcp, ASendQueueBeyondItsBoundClosesTheLink) {
  ASSERT_TRUE(client.Activer());
  ASSERT_FALSE(client.EstConnecte());
  std::string bloc(VclCommTcp::kFileEnvoiMaximale / 2, '\0');
  VclCommTcp::OctetsAleatoires(reinterpret_cast<uint8_t*>(bloc.data()), static_cast<int>(bloc.size()));
  ASSERT_TRUE(client.EnvoyerMessageDonnees({0, 2}, CM_ENVOYER_ORDRE_MODIF, bloc.data(), uint32_t(bloc.size())));
  EXPECT_TRUE(client.Actif());  // half the bound, and a frame's header
  ASSERT_TRUE(client.EnvoyerMessageDonnees({0, 2}, CM_ENVOYER_ORDRE_MODIF, bloc.data(), uint32_t(bloc.size())));
  EXPECT_FALSE(client.Actif());
  EXPECT_FALSE(client.EstConnecte());
}

TEST_F(CommunicationTcp, AnExclusiveModeChangeIsRaisedOnlyWhenTheFlagChanges) {
  int changements = 0;
  client.SurChangementModeExclusif = [&](auto*, bool, TypeGenreProcess, uint32_t, const auto&) { ++changements; };
  EXPECT_TRUE(client.ChangerModeExclusif(true, GP_Client, 1));
  EXPECT_FALSE(client.ChangerModeExclusif(true, GP_Client, 1));
  EXPECT_FALSE(client.ChangerModeExclusif(true, GP_ServiceWeb, 1));
  EXPECT_TRUE(client.ChangerModeExclusif(true, GP_Serveur, 1));
  EXPECT_EQ(changements, 2);
  EXPECT_TRUE(client.ModeExclusif());
  EXPECT_TRUE(client.ModeExclusifServeur());
  client.FinLogin(0);
  EXPECT_FALSE(client.ModeExclusif());
  EXPECT_FALSE(client.ModeExclusifServeur());
}
