// The data client against the scripted server on loopback, in the order the web service drives it:
// connection and host records (the version check), the server profiles, the enciphered handshake and
// the login with every refusal, the user base received after an accepted login, the link lost at
// each step, and a server that stays silent.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "core/records/Xi.h"
#include "net/VclClient.h"
#include "net/utilisateurs/Login.h"
#include "tests/net/utilisateurs/UtilisateursFixture.h"
#include "tests/support/ServeurScripte.h"

using namespace GenresMessages;
using namespace std::chrono_literals;

namespace {

struct Reponse {
  uint32_t identEtendu;
  TypeStatutConnection statut;
  TypeResultatReponseLogin resultat;
  size_t utilisateurs;  // users in the table when the answer was raised
};

class ClientDonnees : public BaseUtilisateursTest {
 protected:
  void SetUp() override {
    BaseUtilisateursTest::SetUp();
    serveur.Comptes.push_back({"ABC", "", "alice", "Secret", 4242, AutoriseModif, LoginOk});
    serveur.ProfilsServeurs = {UnProfilServeur(1, "Planning"), UnProfilServeur(2, "Archives")};
    serveur.IdentProfilServeur = 2;
    serveur.BaseUtilisateurs = {
        {CM_ENVOYER_UTILISATEUR, TServeurScripte::UtilisateurCrypte(10, "Alice", "ABC", "alice", "Secret")},
        {CM_ENVOYER_UTILISATEUR, TServeurScripte::UtilisateurCrypte(11, "Bruno", "BRU", "bruno", "x")},
        {CM_ENVOYER_PROFIL_UTIL, TServeurScripte::GroupeCrypte(20, "Modification", 1, {1, 2})},
        // Names a user and a user profile received before it.
        {CM_ENVOYER_AFFECTATION_UTIL, TServeurScripte::AffectationOctets(30, 2, 20, 11)},
    };
    const uint16_t port = serveur.Demarrer();
    client.SetAdresseIpServeur("127.0.0.1");
    client.SetPortTcpServeur(std::to_string(port));
    client.VersionProgramme = {"", 5, 0, 6, 1};
    client.SurReceptionHostServeur = [this](TIeClient*, uint32_t, const TypeEnvoiHostServeur&) {
      hostRecu = true;
      return true;
    };
    client.SurReponseLogin = [this](uint32_t, uint32_t e, TypeStatutConnection s, TypeResultatReponseLogin r) {
      reponse = Reponse{e, s, r, Xi::Nombre(BaseUtilisateurs::Utilisateurs())};
    };
    client.SurDeconnexionServeur = [this](TIeClientServeur*, uint32_t, uint32_t) { ++deconnexions; };
  }
  void TearDown() override {
    serveur.Arreter();
    BaseUtilisateursTest::TearDown();
  }
  bool Attendre(const std::function<bool()>& Condition) {
    return loop.WaitUntil(Condition, 5s) == MainLoop::WaitResult::Satisfied;
  }
  // Connected, host record accepted.
  void Connecter() {
    ASSERT_TRUE(client.Activer(kCanalTcp));
    ASSERT_TRUE(Attendre([this] { return hostRecu; }));
  }
  // Until the login's answer or the loss of the link.
  void Identifier(const std::string& Code, const std::string& Login, const std::string& MotDePasse) {
    client.Identifier(0, Code, "", Login, MotDePasse);
    ASSERT_TRUE(Attendre([this] { return reponse.has_value() || !client.TcpActif(); }));
  }
  size_t Nombre(uint32_t Id) const {
    const auto g = serveur.Genres();
    return static_cast<size_t>(std::count(g.begin(), g.end(), Id));
  }

  MainLoop loop{[] {}, [] {}};
  TServeurScripte serveur{loop};
  TIeClientDonnees client{loop};
  bool hostRecu = false;
  std::optional<Reponse> reponse;
  int deconnexions = 0;
};

}  // namespace

TEST_F(ClientDonnees, AnAcceptedLoginEnciphersTheSessionAndReceivesTheUserBaseBeforeTheOwnerIsTold) {
  // A user of an earlier load that the server no longer sends.
  ASSERT_TRUE(BaseUtilisateurs::CreerUtilisateur(UnUtilisateur(99, "OLD")));
  int changements = 0;
  client.OnChangementUtilisateur = [&](TIeClient*) { ++changements; };
  Connecter();
  EXPECT_EQ(client.IdentProfilServeur, 2u);
  ASSERT_TRUE(client.DemanderProfilsServeurs());
  EXPECT_EQ(Xi::Nombre(BaseUtilisateurs::ProfilsServeurs()), 2u);

  Identifier("ABC", "alice", "Secret");
  ASSERT_TRUE(reponse.has_value());
  EXPECT_EQ(reponse->resultat, LoginOk);
  EXPECT_EQ(reponse->statut, AutoriseModif);
  EXPECT_EQ(reponse->identEtendu, 4242u);
  EXPECT_EQ(reponse->utilisateurs, 2u);  // the whole user base, the old user gone
  EXPECT_FALSE(BaseUtilisateurs::ChercherUtilisateurParCode("OLD"));
  ASSERT_TRUE(BaseUtilisateurs::ChercherAffectation(30));
  EXPECT_EQ(changements, 2 + 2 + 1);  // profiles, users, assignment

  // From the session key on, every frame is enciphered under it.
  EXPECT_EQ(client.CanalTcp()->Securites()[0].Mode, Trame::kModeChiffre);
  EXPECT_EQ(client.CanalTcp()->Securites()[1].PhraseSecrete, serveur.CleSession());
  std::vector<std::pair<uint32_t, bool>> suite;
  for (const auto& r : serveur.Recus)
    if (r.Id != CM_ENVOYER_HOST && r.Id != 0) suite.emplace_back(r.Id, r.Chiffre);
  EXPECT_EQ(suite, (std::vector<std::pair<uint32_t, bool>>{{CM_DEMANDER_PROFILS_SRV, false},
                                                            {CM_DEMANDER_IDENTIFICATION, false},
                                                            {CM_DEMANDER_AUTHENTIFICATION, false},
                                                            {CM_ENVOYER_LOGIN, true},
                                                            {CM_DEMANDER_INFOS_UTILISATEURS, true}}));
  // The login names the server profile of the host record and the status asked for.
  EXPECT_EQ(serveur.Dernier(CM_ENVOYER_LOGIN), std::string("\2\0\0\0\3\0\0\0", 8));

  // Logging out goes back to clear frames; the server hears it enciphered.
  client.Deconnecter(0);
  EXPECT_EQ(client.CanalTcp()->Securites()[0].Mode, Trame::kModeCompresse);
  client.CanalTcp()->EnvoyerMessage({client.IdentServeur(), 2}, CM_DEMANDER_HOST);
  ASSERT_TRUE(Attendre([this] { return Nombre(CM_DEMANDER_HOST) == 1; }));
  EXPECT_EQ(Nombre(CM_FIN_LOGIN), 1u);
}

TEST_F(ClientDonnees, EveryRecordReadIsReportedEvenWhenTheUserBaseRefusesIt) {
  std::vector<std::string> vus;
  client.OnChangementUtilisateur = [&](TIeClient*) { vus.push_back("utilisateur"); };
  client.OnChangementGroupeUtilisateurs = [&](TIeClient*) { vus.push_back("groupe"); };
  Connecter();
  const std::string alice = TServeurScripte::UtilisateurCrypte(10, "Alice", "ABC", "alice", "Secret");
  serveur.Envoyer(CM_ENVOYER_UTILISATEUR, alice.substr(0, alice.size() - 1));  // cut short: unreadable
  serveur.Envoyer(CM_ENVOYER_AFFECTATION_UTIL, TServeurScripte::AffectationOctets(30, 2, 20, 10));  // no such profile
  serveur.Envoyer(CM_ENVOYER_PROFIL_UTIL, TServeurScripte::GroupeCrypte(20, "Modification", 1, {}));
  serveur.Envoyer(CM_ENVOYER_UTILISATEUR, alice);
  ASSERT_TRUE(Attendre([&] { return vus.size() >= 3; }));
  EXPECT_EQ(vus, (std::vector<std::string>{"utilisateur", "groupe", "utilisateur"}));
  EXPECT_FALSE(BaseUtilisateurs::ChercherAffectation(30));
  EXPECT_TRUE(BaseUtilisateurs::ChercherUtilisateurParCode("ABC"));
}

TEST_F(ClientDonnees, TheHostRecordsOfBothSidesCarryWhatTheyShould) {
  client.SetGenreApplication(GP_ServiceWeb);
  client.RemplirHost = [](TIeClient*, uint32_t, TypeEnvoiHostClient& h) { h[289] = 5; };
  Connecter();
  ASSERT_TRUE(Attendre([this] { return Nombre(CM_ENVOYER_HOST) == 1; }));
  const std::string host = serveur.Dernier(CM_ENVOYER_HOST);
  ASSERT_EQ(host.size(), 305u);
  EXPECT_EQ(host[0], GP_ServiceWeb);
  char nom[256] = {};
  gethostname(nom, sizeof nom - 1);
  EXPECT_EQ(host.substr(2, static_cast<uint8_t>(host[1])), std::string(nom).substr(0, 31));
  EXPECT_EQ(host[289], 5);
}

TEST_F(ClientDonnees, AServerOfAnotherVersionIsRefusedAndTheLinkClosed) {
  struct Cas {
    TypeVersion serveur;
    bool accepte;
  };
  const Cas cas[] = {{{"", 5, 0, 6, 200}, true}, {{"", 5, 0, 7, 1}, false}, {{"", 5, 1, 6, 1}, false}, {{"", 4, 0, 6, 1}, false}};
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.serveur.Release);
    serveur.Version = c.serveur;
    hostRecu = false;
    const size_t refus = Nombre(CM_DECONNEXION);
    ASSERT_TRUE(client.Activer(kCanalTcp));
    ASSERT_TRUE(Attendre([&] { return hostRecu || !client.TcpActif(); }));
    EXPECT_EQ(hostRecu, c.accepte);
    if (!c.accepte) {
      ASSERT_TRUE(Attendre([&] { return Nombre(CM_DECONNEXION) == refus + 1; }));
      EXPECT_EQ(serveur.Dernier(CM_DECONNEXION)[0], MDA_VersionsIncompatibles);
    }
    client.Desactiver(MDA_Aucun, 0, true);
  }
}

// The owner may decide which server versions it accepts: it sees the version record of the host
// record whole, and its answer replaces the comparison of the first three parts.
TEST_F(ClientDonnees, TheOwnersVersionCheckReplacesTheComparison) {
  std::vector<std::string> vues;
  client.OnVerifierVersionServeur = [&](const TypeVersion& v) {
    vues.push_back(v.Nom + " " + std::to_string(v.Majeur) + "." + std::to_string(v.Mineur) + "." +
                   std::to_string(v.Release) + "." + std::to_string(v.Build));
    return v.Majeur == 4;
  };
  for (const auto& [version, accepte] : {std::pair{TypeVersion{"Ancien", 4, 1, 2, 3}, true},
                                         std::pair{TypeVersion{"Pareil", 5, 0, 6, 1}, false}}) {
    SCOPED_TRACE(version.Nom);
    serveur.Version = version;
    hostRecu = false;
    ASSERT_TRUE(client.Activer(kCanalTcp));
    ASSERT_TRUE(Attendre([&] { return hostRecu || !client.TcpActif(); }));
    EXPECT_EQ(hostRecu, accepte);
    client.Desactiver(MDA_Aucun, 0, true);
  }
  EXPECT_EQ(vues, (std::vector<std::string>{"Ancien 4.1.2.3", "Pareil 5.0.6.1"}));
}

// An identification answer of 40 bytes or fewer is ignored, whatever its status; from 41 bytes on
// status 4 is an unknown login.
TEST_F(ClientDonnees, IdentificationAnswersOf40BytesOrFewerAndLoginAnswersNotOf2BytesAreIgnored) {
  std::vector<std::pair<TypeStatutConnection, TypeResultatReponseLogin>> reponses;
  client.SurReponseLogin = [&](uint32_t, uint32_t, TypeStatutConnection s, TypeResultatReponseLogin r) {
    reponses.emplace_back(s, r);
  };
  Connecter();
  for (size_t taille : {39u, 40u, 41u}) {
    std::string d(taille, '\0');
    d[36] = 4;
    serveur.Envoyer(CM_REPONDRE_IDENTIFICATION, d);
  }
  serveur.Envoyer(CM_REPONDRE_LOGIN, std::string("\x06\x09\x00", 3));
  serveur.Envoyer(CM_REPONDRE_LOGIN, std::string("\x06\x08", 2));
  ASSERT_TRUE(Attendre([&] { return reponses.size() >= 2; }));
  EXPECT_EQ(reponses, (std::vector<std::pair<TypeStatutConnection, TypeResultatReponseLogin>>{
                          {NonAutorise, LoginInconnu}, {NonAutorise, ConnexionRefusee}}));
  EXPECT_EQ(Nombre(CM_DEMANDER_INFOS_UTILISATEURS), 0u);
}

TEST_F(ClientDonnees, EveryRefusalOfTheHandshakeAndTheLoginReachesTheOwner) {
  struct Cas {
    const char* quoi;
    const char* code;
    const char* login;
    const char* motDePasse;
    bool refuserAuthentification;
    uint8_t resultatServeur;
    TypeResultatReponseLogin attendu;
  };
  const Cas cas[] = {
      {"unknown login", "ABC", "inconnu", "Secret", false, LoginOk, LoginInconnu},
      {"unknown code", "XYZ", "alice", "Secret", false, LoginOk, LoginInconnu},
      {"password refused by the server", "ABC", "alice", "Secret", true, LoginOk, MotDePasseIncorrect},
      {"login refused", "ABC", "alice", "Secret", false, ConnexionRefusee, ConnexionRefusee},
      {"already logged in", "ABC", "alice", "Secret", false, UtilisateurDejaLogue, UtilisateurDejaLogue},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.quoi);
    serveur.RefuserAuthentification = c.refuserAuthentification;
    serveur.Comptes[0].Resultat = c.resultatServeur;
    serveur.Comptes[0].StatutAccorde = c.resultatServeur == LoginOk ? AutoriseModif : NonAutorise;
    reponse.reset();
    hostRecu = false;
    Connecter();
    const size_t demandes = Nombre(CM_DEMANDER_INFOS_UTILISATEURS);
    Identifier(c.code, c.login, c.motDePasse);
    ASSERT_TRUE(reponse.has_value());
    EXPECT_EQ(reponse->resultat, c.attendu);
    EXPECT_EQ(reponse->statut, NonAutorise);
    // No user base is asked for after a refusal.
    EXPECT_EQ(Nombre(CM_DEMANDER_INFOS_UTILISATEURS), demandes);
    client.Desactiver(MDA_Aucun, 0, true);
  }
}

TEST_F(ClientDonnees, AWrongPasswordStallsTheHandshakeUntilItsTimeOutClosesTheLink) {
  client.DelaiPoigneeDeMain = 200ms;
  Connecter();
  Identifier("ABC", "alice", "Faux");
  EXPECT_FALSE(reponse.has_value());
  EXPECT_FALSE(client.TcpActif());
  EXPECT_EQ(deconnexions, 1);
  EXPECT_EQ(Nombre(CM_DEMANDER_AUTHENTIFICATION), 0u);  // the answer did not decipher
}

TEST_F(ClientDonnees, EmptyPasswordsTravelAsTheNoPasswordSentinel) {
  serveur.Comptes.push_back({"NUL", std::string(Login::SansMotDePasse()), "nul", std::string(Login::SansMotDePasse()), 1,
                             AutoriseConsult, LoginOk});
  Connecter();
  Identifier("NUL", "nul", "");
  ASSERT_TRUE(reponse.has_value());
  EXPECT_EQ(reponse->resultat, LoginOk);
}

// The link lost while the user base is fetched after an accepted login is told to the owner as a
// refused connection: it never waits for an answer that cannot come.
TEST_F(ClientDonnees, TheLinkLostAtAnyStepEndsEverythingWithoutALogin) {
  client.DelaiPoigneeDeMain = 2s;
  for (uint32_t etape : {CM_DEMANDER_PROFILS_SRV, CM_DEMANDER_IDENTIFICATION, CM_DEMANDER_AUTHENTIFICATION,
                         CM_ENVOYER_LOGIN, CM_DEMANDER_INFOS_UTILISATEURS}) {
    SCOPED_TRACE(etape);
    serveur.CouperA = etape;
    reponse.reset();
    hostRecu = false;
    deconnexions = 0;
    Connecter();
    if (client.DemanderProfilsServeurs()) Identifier("ABC", "alice", "Secret");
    EXPECT_FALSE(client.TcpActif());
    EXPECT_EQ(deconnexions, 1);
    if (etape != CM_DEMANDER_INFOS_UTILISATEURS) {
      EXPECT_FALSE(reponse.has_value());
      continue;
    }
    ASSERT_TRUE(reponse.has_value());
    EXPECT_EQ(reponse->resultat, ConnexionRefusee);
    EXPECT_EQ(reponse->statut, NonAutorise);
  }
}

TEST_F(ClientDonnees, ASilentServerIsTimedOut) {
  client.CanalTcp()->DelaiSilenceServeur = 200ms;
  client.DelaiPoigneeDeMain = 200ms;
  for (uint32_t muet : {CM_DEMANDER_PROFILS_SRV, CM_DEMANDER_IDENTIFICATION, CM_ENVOYER_LOGIN,
                        CM_DEMANDER_INFOS_UTILISATEURS}) {
    SCOPED_TRACE(muet);
    serveur.Muets = {muet};
    reponse.reset();
    hostRecu = false;
    Connecter();
    const auto debut = std::chrono::steady_clock::now();
    if (client.DemanderProfilsServeurs()) Identifier("ABC", "alice", "Secret");
    EXPECT_FALSE(client.TcpActif());
    // A user base that never comes after an accepted login is a refused connection.
    if (muet == CM_DEMANDER_INFOS_UTILISATEURS) {
      ASSERT_TRUE(reponse.has_value());
      EXPECT_EQ(reponse->resultat, ConnexionRefusee);
    } else {
      EXPECT_FALSE(reponse.has_value());
    }
    EXPECT_LT(std::chrono::steady_clock::now() - debut, 3s);
  }
}

TEST_F(ClientDonnees, TheGlobalDataClientIsThisOneUntilItGoes) {
  {
    TIeClientDonnees autre(loop);
    VclClient::DefinirClientDonnees(&autre);
    EXPECT_EQ(NetClient::ClientDonnees(), &autre);
    EXPECT_TRUE(NetClient::PasserParServeur());
    autre.CanalTcp()->ChangerModeExclusif(true, GP_Client, 0);
    EXPECT_FALSE(NetClient::PasserParServeur());
  }
  EXPECT_EQ(NetClient::ClientDonnees(), nullptr);
}

TEST_F(ClientDonnees, TheServerMayRestartTheHandshakeOrEndTheConnection) {
  Connecter();
  Identifier("ABC", "alice", "Secret");
  ASSERT_EQ(reponse->resultat, LoginOk);
  reponse.reset();
  serveur.Envoyer(CM_RECONNEXION);
  ASSERT_TRUE(Attendre([this] { return reponse.has_value(); }));
  EXPECT_EQ(reponse->resultat, LoginOk);
  EXPECT_EQ(Nombre(CM_DEMANDER_IDENTIFICATION), 2u);

  uint8_t cause = 0;
  bool actifALaNouvelle = true;
  client.DeconnexionApplicatif = [&](TIeClientServeur* c, uint32_t, uint8_t Cause, double) {
    cause = Cause;
    actifALaNouvelle = c->TcpActif();
  };
  std::string d(16, '\0');
  d[0] = MDA_ArretFonctionServeur;
  serveur.Envoyer(CM_DECONNEXION, d);
  ASSERT_TRUE(Attendre([&] { return cause != 0; }));
  EXPECT_EQ(cause, MDA_ArretFonctionServeur);
  EXPECT_FALSE(actifALaNouvelle);  // closed before the owner is told
}
