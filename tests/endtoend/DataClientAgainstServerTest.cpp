// The web service's data client, wired to its readers, against the real data server on loopback.
// The server's folder is made by its own program (init writes the empty base through the base
// writer), the server runs on a thread of its own and the client on the test's loop: the login and
// the user base, both streams loaded into the record files, a request refused, an order applied, the
// refusals of the handshake, the link lost under a waiting request, and silent peers on both sides.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <future>
#include <optional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "base/SupFichiers.h"
#include "base/SupParametresGrille.h"
#include "base/fichiers/SupPays.h"
#include "core/records/Xi.h"
#include "net/NetBases.h"
#include "net/NetClient.h"
#include "net/NetXi.h"
#include "net/VclClient.h"
#include "net/netmodif.h"
#include "net/protocol/PetitBoutiste.h"
#include "net/utilisateurs/BaseUtilisateurs.h"
#include "net/utilisateurs/Utilisateur.h"
#include "service/ReceptionDonnees.h"
#include "streams/SupToutesTables.h"
#include "tests/server/ServerTestSupport.h"

using namespace GenresMessages;
using namespace std::chrono_literals;

namespace {

// The per-user settings have no reader of their own yet: these stand in and tell that the user
// information reached its reader.
int gDefauts = 0;
void LireReglages(TMemoryStream*) {}
void EcrireReglages(TMemoryStream*) {}
void ReglagesParDefaut() { ++gDefauts; }

// A counted string of n characters.
std::string Chaine(const std::string& Texte, std::size_t n) {
  std::string s(n + 1, '\0');
  s[0] = static_cast<char>(Texte.size());
  s.replace(1, Texte.size(), Texte);
  return s;
}

// A creation order of a country, as the server broadcasts it: the table number is the file's place
// in base order, whether or not a base is loaded here yet.
std::string OrdreCreationPays(int32_t Identifiant, const std::string& Code, const std::string& Nom) {
  uint32_t place = 1;
  while (SupFichiers::Fichier(static_cast<int32_t>(place)) != &SupPays::Fichier()) ++place;
  std::string o(FormatOrdre::kTailleEntete, '\0');
  o[FormatOrdre::kDecalageGenre] = static_cast<char>(GM_Creation);
  PetitBoutiste::EcrireCardinal(reinterpret_cast<uint8_t*>(o.data() + FormatOrdre::kDecalageNumeroTable), place);
  PetitBoutiste::EcrireCardinal(reinterpret_cast<uint8_t*>(o.data() + FormatOrdre::kDecalageIdentifiant),
                                static_cast<uint32_t>(Identifiant));
  return o + Chaine(Code, 3) + Chaine(Nom, 30) + Chaine("", 30);
}

// The data client, with its stream transfer within reach of the tests.
class ClientEssai : public TIeClientDonnees {
 public:
  using TIeClientDonnees::TIeClientDonnees;
  using TIeClientServeur::Transfert;
};

struct Reponse {
  uint32_t IdentEtendu;
  TypeStatutConnection Statut;
  TypeResultatReponseLogin Resultat;
  std::size_t Utilisateurs;  // users in the table when the answer was raised
};

class DataClientAgainstServer : public ::testing::Test {
 protected:
  void SetUp() override {
    debut_ = netmodif::SurDebutRequete();
    fin_ = netmodif::SurFinRequete();
    ASSERT_EQ(ServerTest::Command("init '" + folder_.Path + "' Base 0", "Secret\n"), 0);
    ServerTest::AddAccounts(folder_.Path, profile_);
    DataServer::Options o;
    Tune(o);
    server_ = std::make_unique<ServerTest::ServerThread>(folder_.Path, o);

    BaseUtilisateurs::ToutSupprimer();
    NetXi::InstallerParametresUtilisateur(&LireReglages, &EcrireReglages, &ReglagesParDefaut);
    gDefauts = 0;
    client.SetAdresseIpServeur("127.0.0.1");
    client.SetPortTcpServeur(std::to_string(server_->Port()));
    client.VersionProgramme = DataServer::ServerVersion();
    client.SurReceptionHostServeur = [this](TIeClient*, uint32_t, const TypeEnvoiHostServeur&) {
      hostRecu = true;
      return true;
    };
    client.SurReponseLogin = [this](uint32_t, uint32_t e, TypeStatutConnection s, TypeResultatReponseLogin r) {
      reponse = Reponse{e, s, r, Xi::Nombre(BaseUtilisateurs::Utilisateurs())};
    };
    client.SurDeconnexionServeur = [this](TIeClientServeur*, uint32_t, uint32_t) { ++deconnexions; };
    ReceptionDonnees::Lier(client);
    // The hooks that the record files put around the server's processing of a request, counted.
    netmodif::SurDebutRequete() = [this] {
      ++crochets.first;
      debut_();
    };
    netmodif::SurFinRequete() = [this] {
      ++crochets.second;
      fin_();
    };
  }
  void TearDown() override {
    client.Desactiver(MDA_Aucun, kCanalTcp, true);
    server_.reset();
    netmodif::SurDebutRequete() = debut_;
    netmodif::SurFinRequete() = fin_;
    NetClient::ClientDonnees() = nullptr;
    NetClient::BaseChargee() = false;
    SupToutesTables::LibererToutesLesTables();
    SupParametresGrille::Initialiser();
    BaseUtilisateurs::ToutSupprimer();
    Utilisateur::CodeUtilisateurCourant().clear();
  }
  virtual void Tune(DataServer::Options&) {}

  bool Attendre(const std::function<bool()>& Condition, std::chrono::milliseconds Delai = 20s) {
    return loop.WaitUntil(Condition, Delai) == MainLoop::WaitResult::Satisfied;
  }
  // The server's log lines that hold Text.
  std::size_t Lignes(std::string_view Texte) {
    std::size_t n = 0;
    for (const auto& l : server_->LogLines()) n += l.find(Texte) != std::string::npos ? 1 : 0;
    return n;
  }
  // Connected, the server's host record accepted.
  void Connecter() {
    hostRecu = false;
    ASSERT_TRUE(client.Activer(kCanalTcp));
    ASSERT_TRUE(Attendre([this] { return hostRecu || !client.TcpActif(); }));
    ASSERT_TRUE(hostRecu);
  }
  // The server profiles, then the handshake and the login, until the owner hears the outcome or the
  // link goes.
  void Identifier(const std::string& Code, const std::string& MotDePasse) {
    reponse.reset();
    ASSERT_TRUE(client.DemanderProfilsServeurs());
    client.Identifier(0, Code, MotDePasse, "", "");
    ASSERT_TRUE(Attendre([this] { return reponse.has_value() || !client.TcpActif(); }));
  }
  void Connecte(const std::string& Code = "JMA", const std::string& MotDePasse = "pw1") {
    ASSERT_NO_FATAL_FAILURE(Connecter());
    ASSERT_NO_FATAL_FAILURE(Identifier(Code, MotDePasse));
    ASSERT_TRUE(reponse.has_value());
    ASSERT_EQ(reponse->Resultat, LoginOk);
  }
  // Both streams asked for and read, as the service does after its login.
  void ChargerBase() {
    const int defauts = gDefauts;
    ASSERT_TRUE(client.DemanderStream(StreamBase));
    ASSERT_TRUE(Attendre([&] { return gDefauts == defauts + 1 || !client.TcpActif(); }));
    ASSERT_TRUE(client.TcpActif());
    ASSERT_TRUE(Attendre([this] { return !client.CanalTcp()->TransfertEnCours(); }));
  }

  ServerTest::TempFolder folder_;
  uint32_t profile_ = 0;
  std::unique_ptr<ServerTest::ServerThread> server_;
  MainLoop loop{[] {}, [] {}};
  ClientEssai client{loop};
  bool hostRecu = false;
  std::optional<Reponse> reponse;
  int deconnexions = 0;
  std::pair<int, int> crochets;

 private:
  std::function<void()> debut_, fin_;
};

TEST_F(DataClientAgainstServer, AnAcceptedLoginBringsTheUserBaseProfilesThenUsersThenAssignments) {
  ASSERT_NO_FATAL_FAILURE(Connecter());
  EXPECT_EQ(client.IdentProfilServeur, profile_);
  // Each record received, the sizes of the three tables then.
  std::vector<std::tuple<std::size_t, std::size_t, std::size_t>> suite;
  auto noter = [&](TIeClient*) {
    suite.emplace_back(Xi::Nombre(BaseUtilisateurs::GroupesUtilisateurs()), Xi::Nombre(BaseUtilisateurs::Utilisateurs()),
                       Xi::Nombre(BaseUtilisateurs::Affectations()));
  };
  client.OnChangementUtilisateur = noter;
  client.OnChangementGroupeUtilisateurs = noter;
  ASSERT_TRUE(client.DemanderProfilsServeurs());
  ASSERT_EQ(Xi::Nombre(BaseUtilisateurs::ProfilsServeurs()), 1u);
  suite.clear();
  client.Identifier(0, "JMA", "pw1", "", "");
  ASSERT_TRUE(Attendre([this] { return reponse.has_value() || !client.TcpActif(); }));
  ASSERT_TRUE(reponse.has_value());
  EXPECT_EQ(reponse->Resultat, LoginOk);
  EXPECT_EQ(reponse->Statut, AutoriseModif);
  EXPECT_EQ(reponse->IdentEtendu, server_->Call([](DataServer& s) { return s.Accounts().FindUserByCode("JMA")->Id; }));
  EXPECT_EQ(reponse->Utilisateurs, 4u) << "the owner heard of the login before the user base was in";
  std::vector<std::tuple<std::size_t, std::size_t, std::size_t>> attendue;
  for (std::size_t g = 1; g <= 3; ++g) attendue.emplace_back(g, 0, 0);
  for (std::size_t u = 1; u <= 4; ++u) attendue.emplace_back(3, u, 0);
  for (std::size_t a = 1; a <= 2; ++a) attendue.emplace_back(3, 4, a);
  EXPECT_EQ(suite, attendue);
  // The frames are enciphered under the session key from the authentication on.
  EXPECT_EQ(client.CanalTcp()->Securites()[0].Mode, Trame::kModeChiffre);
  // Only the user's own record carries the coding of its password.
  int32_t statut = -1;
  EXPECT_TRUE(BaseUtilisateurs::VerifierLogin("JMA", "pw1", statut, false));
  EXPECT_FALSE(BaseUtilisateurs::VerifierLogin("CON", "pw2", statut, false));
  EXPECT_EQ(statut, 2);
  EXPECT_TRUE(BaseUtilisateurs::UtilisateurAffecteAuProfilServeur(reponse->IdentEtendu, profile_));
}

TEST_F(DataClientAgainstServer, TheEmptyBaseTheServerWasInitialisedWithLoadsIntoEveryRecordFile) {
  ASSERT_NO_FATAL_FAILURE(Connecte());
  // Other dimensions than the base's, so that reading them back shows the base's block was read.
  SupParametresGrille::Definir(12, 5, 6);
  ASSERT_NO_FATAL_FAILURE(ChargerBase());
  EXPECT_TRUE(NetClient::BaseChargee());
  EXPECT_EQ(NetBases::NomBase(), "Base");
  const TypeParametresGrille& g = SupParametresGrille::Parametres();
  EXPECT_EQ(std::tie(g.PlacesParJour, g.NombreJours, g.HeuresParJour), std::make_tuple(20, 1, 10));
  for (int32_t place = 1; place <= SupFichiers::kNombreFichiers; ++place) {
    const TypeTableReseau* t = NetXi::Table(SupFichiers::NumerosTables()[static_cast<std::size_t>(place - 1)]);
    ASSERT_TRUE(t != nullptr && t->Table != nullptr && *t->Table != nullptr) << "file " << place;
    EXPECT_EQ(t->Extension, std::string(SupFichiers::Fichier(place)->Description().Extension)) << "file " << place;
    EXPECT_EQ(Xi::Nombre(*t->Table), 0u) << t->Extension;
  }
  EXPECT_EQ(gDefauts, 1) << "the empty user information installs the defaults";
  EXPECT_TRUE(client.TcpActif());
}

TEST_F(DataClientAgainstServer, ARequestComesBackRefusedAndAnInjectedOrderReachesItsRecordFile) {
  ASSERT_NO_FATAL_FAILURE(Connecte());
  ASSERT_NO_FATAL_FAILURE(ChargerBase());
  // The server refuses every change: the country is not created, the server's brackets around
  // the request reached the record files, and the link stays.
  EXPECT_FALSE(SupPays::CreerPays("France", "francaise", "FR"));
  EXPECT_EQ(Xi::Nombre(SupPays::Fichier().Table), 0u);
  // The end of the brackets follows the verdict.
  EXPECT_TRUE(Attendre([this] { return crochets == std::make_pair(1, 1); }));
  uint8_t reponseRequete[4] = {0xAA, 0xAA, 0xAA, 0xAA};
  EXPECT_FALSE(NetClient::EnvoyerRequeteServeur(SupPays::kCodeCreerPays, 0, 0, nullptr, false, reponseRequete, 4));
  EXPECT_EQ(reponseRequete[0], 0xAA) << "a refusal carries no answer bytes";
  EXPECT_TRUE(client.TcpActif());

  const int32_t s = static_cast<int32_t>(SupPays::kTailleStockee);
  const std::string ordre = OrdreCreationPays(s, "IT", "Italie");
  EXPECT_EQ(server_->Call([&](DataServer& d) { return d.InjectOrder(profile_, CM_ENVOYER_ORDRE_MODIF, ordre); }), 1u);
  ASSERT_TRUE(Attendre([] { return Xi::Nombre(SupPays::Fichier().Table) == 1; }));
  ASSERT_TRUE(SupPays::Fichier().ChercherParIdentifiant(s));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(SupPays::Article()->Nom) + 1, SupPays::Article()->Nom[0]), "Italie");
}

TEST_F(DataClientAgainstServer, AnOrderSentWhileTheBaseTravelsIsAppliedOnceBothStreamsAreRead) {
  ASSERT_NO_FATAL_FAILURE(Connecte());
  const std::string ordre = OrdreCreationPays(static_cast<int32_t>(SupPays::kTailleStockee), "IT", "Italie");
  std::size_t envoyes = 0;
  client.SurProgressionStream = [&](TIeClientServeur*, TypeGenreStream Genre, uint32_t Position, uint32_t) {
    if (Genre != StreamBase || Position != 0) return;
    envoyes = server_->Call([&](DataServer& d) { return d.InjectOrder(profile_, CM_ENVOYER_ORDRE_MODIF, ordre); });
  };
  ASSERT_NO_FATAL_FAILURE(ChargerBase());
  EXPECT_EQ(envoyes, 1u) << "the session holds the base from the moment it asked for it";
  ASSERT_TRUE(Attendre([] { return SupPays::Fichier().Table != nullptr && Xi::Nombre(SupPays::Fichier().Table) == 1; }));
  EXPECT_EQ(client.OrdresRetenus(), 0u);
  EXPECT_TRUE(SupPays::Fichier().ChercherParIdentifiant(static_cast<int32_t>(SupPays::kTailleStockee)));
}

TEST_F(DataClientAgainstServer, TheBaseStateIsAcknowledgedAndTheLogoutEndsWhatTheLoginGave) {
  ASSERT_NO_FATAL_FAILURE(Connecte());
  const auto debut = std::chrono::steady_clock::now();
  EXPECT_TRUE(client.EnvoyerEtatBase(1));
  EXPECT_LT(std::chrono::steady_clock::now() - debut, 10s) << "the wait ended by the server's silence";
  EXPECT_TRUE(client.TcpActif());
  // Logged out, the frames go clear again and the base is no longer served.
  client.Deconnecter(0);
  EXPECT_EQ(client.CanalTcp()->Securites()[0].Mode, Trame::kModeCompresse);
  std::optional<TypeGenreStream> refuse;
  client.SurStreamRefuse = [&](TIeClientServeur*, TStream*, TypeGenreStream Genre, const TypeCodeUtilisateur&) {
    refuse = Genre;
    return true;
  };
  ASSERT_TRUE(client.DemanderStream(StreamBase));
  ASSERT_TRUE(Attendre([&] { return refuse.has_value() || !client.TcpActif(); }));
  EXPECT_EQ(refuse, std::optional<TypeGenreStream>(StreamBase));
  EXPECT_FALSE(client.CanalTcp()->TransfertEnCours());
  EXPECT_FALSE(NetClient::BaseChargee());
}

TEST_F(DataClientAgainstServer, AStreamThatInflatesPastTheBoundClosesTheLinkAndLeavesTheBaseAsItWas) {
  ASSERT_NO_FATAL_FAILURE(Connecte());
  ASSERT_NO_FATAL_FAILURE(ChargerBase());
  const std::string ordre = OrdreCreationPays(static_cast<int32_t>(SupPays::kTailleStockee), "IT", "Italie");
  EXPECT_EQ(server_->Call([&](DataServer& d) { return d.InjectOrder(profile_, CM_ENVOYER_ORDRE_MODIF, ordre); }), 1u);
  ASSERT_TRUE(Attendre([] { return Xi::Nombre(SupPays::Fichier().Table) == 1; }));

  // The same base again, now past what the client lets a stream inflate to.
  client.Transfert().TailleInflateeMaximale = 1000;
  ASSERT_TRUE(client.DemanderStream(StreamBase));
  ASSERT_TRUE(Attendre([this] { return !client.TcpActif(); }));
  EXPECT_EQ(deconnexions, 1);
  EXPECT_TRUE(NetClient::BaseChargee()) << "the base in memory is whole";
  EXPECT_EQ(Xi::Nombre(SupPays::Fichier().Table), 1u);
  EXPECT_EQ(gDefauts, 1) << "no user information was asked after the corrupt base";
}

TEST_F(DataClientAgainstServer, RefusedIdentitiesReachTheOwnerOrEndTheHandshake) {
  client.DelaiPoigneeDeMain = 500ms;
  struct Cas {
    const char* Quoi;
    std::string Code, MotDePasse;
    std::optional<std::pair<TypeStatutConnection, TypeResultatReponseLogin>> Attendu;  // none: the link goes
  };
  const Cas cas[] = {
      {"unknown code", "XYZ", "pw1", std::make_pair(NonAutorise, LoginInconnu)},
      // The server's challenge does not decipher under a wrong password: the handshake stalls until
      // the client gives up.
      {"wrong password", "JMA", "pw2", std::nullopt},
      {"a user assigned nowhere", "NOA", "pw3", std::make_pair(NonAutorise, ConnexionRefusee)},
      {"modification asked by a consultant", "CON", "pw2", std::make_pair(AutoriseConsult, LoginOk)},
      {"the right password after a wrong one", "JMA", "pw1", std::make_pair(AutoriseModif, LoginOk)},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.Quoi);
    ASSERT_NO_FATAL_FAILURE(Connecter());
    ASSERT_NO_FATAL_FAILURE(Identifier(c.Code, c.MotDePasse));
    if (c.Attendu) {
      ASSERT_TRUE(reponse.has_value());
      EXPECT_EQ(std::make_pair(reponse->Statut, reponse->Resultat), *c.Attendu);
      EXPECT_EQ(reponse->Utilisateurs, c.Attendu->second == LoginOk ? 4u : 0u);
    } else {
      EXPECT_FALSE(reponse.has_value());
      EXPECT_FALSE(client.TcpActif());
    }
    client.Desactiver(MDA_Aucun, kCanalTcp, true);
    BaseUtilisateurs::ToutSupprimer();
  }
  EXPECT_TRUE(server_->WaitForLog("identification failed"));
}

// A guard that locks a code at its second failed login.
class GuardedServer : public DataClientAgainstServer {
  void Tune(DataServer::Options& o) override {
    o.Guard.FreeFailures = 1;
    o.Guard.DelayStep = 50ms;
    o.Guard.LockAfter = 2;
    o.Guard.LockFor = 1h;
  }
};

TEST_F(GuardedServer, TheClientsWrongPasswordsCountAsFailedLoginsUntilTheCodeIsLocked) {
  client.DelaiPoigneeDeMain = 300ms;
  for (std::size_t essai = 1; essai <= 2; ++essai) {
    SCOPED_TRACE(essai);
    ASSERT_NO_FATAL_FAILURE(Connecter());
    ASSERT_NO_FATAL_FAILURE(Identifier("JMA", "faux"));
    EXPECT_FALSE(reponse.has_value());
    // The server hears of the abandoned challenge on its own thread: its log is awaited there.
    ASSERT_TRUE(server_->WaitForLogLines("the challenge was not answered", essai));
    EXPECT_EQ(Lignes("the challenge was not answered"), essai);
  }
  EXPECT_EQ(Lignes("locked after repeated failed logins"), 1u);
  ASSERT_NO_FATAL_FAILURE(Connecter());
  ASSERT_NO_FATAL_FAILURE(Identifier("JMA", "pw1"));
  ASSERT_TRUE(reponse.has_value());
  EXPECT_EQ(reponse->Resultat, LoginInconnu) << "a locked code is answered as unknown";
}

TEST_F(DataClientAgainstServer, TheLinkLostWhileARequestWaitsEndsItAsARefusal) {
  ASSERT_NO_FATAL_FAILURE(Connecte());
  client.DelaiRequete = 60s;
  // The server goes as soon as the request is on its way.
  auto avant = client.OnPreRequeteAuServeur;
  client.OnPreRequeteAuServeur = [&](TIeClient* c, bool a) {
    avant(c, a);
    server_->Call([](DataServer& s) { s.Stop(); });
  };
  const auto debut = std::chrono::steady_clock::now();
  EXPECT_FALSE(NetClient::EnvoyerRequeteServeur(SupPays::kCodeCreerPays, 0, 0, nullptr, false, nullptr));
  EXPECT_LT(std::chrono::steady_clock::now() - debut, 20s) << "the request waited for its time-out";
  EXPECT_FALSE(client.TcpActif());
  EXPECT_EQ(deconnexions, 1);
  client.OnPreRequeteAuServeur = avant;
  EXPECT_FALSE(NetClient::EnvoyerRequeteServeur(SupPays::kCodeCreerPays, 0, 0, nullptr, false, nullptr));
}

// A short keep-alive period on the server (silence of three periods closes a session) and a
// handshake time that is longer than those three periods.
class SilentPeers : public DataClientAgainstServer {
  void Tune(DataServer::Options& o) override {
    o.KeepAlive = 100ms;
    o.HandshakeIdle = 1s;
  }
};

TEST_F(SilentPeers, TheClientsKeepAliveHoldsTheSessionAndItsSilenceLosesIt) {
  client.SetKeepSocketTcpAlive(true);
  client.CanalTcp()->IntervallePresence = 40ms;
  ASSERT_NO_FATAL_FAILURE(Connecte());
  // A connection that never logs in is closed after the handshake's time, well past three of the
  // server's keep-alive periods: the client's session still stands then.
  ServerTest::Client muet(server_->Port());
  ASSERT_TRUE(Attendre([this] { return Lignes("no login within the handshake's time") == 1; }));
  EXPECT_TRUE(client.TcpActif());
  EXPECT_FALSE(NetClient::EnvoyerRequeteServeur(SupPays::kCodeCreerPays, 0, 0, nullptr, false, nullptr));
  EXPECT_TRUE(Attendre([this] { return crochets == std::make_pair(1, 1); })) << "the request was answered inside the server's brackets";

  client.SetKeepSocketTcpAlive(false);
  ASSERT_TRUE(Attendre([this] { return !client.TcpActif(); }));
  EXPECT_EQ(deconnexions, 1);
  EXPECT_TRUE(server_->WaitForLog("silent for three keep-alive periods"));

  // The next connection starts from clear frames and brings everything afresh.
  client.SetKeepSocketTcpAlive(true);
  ASSERT_NO_FATAL_FAILURE(Connecte("CON", "pw2"));
  EXPECT_EQ(reponse->Utilisateurs, 4u);
  ASSERT_NO_FATAL_FAILURE(ChargerBase());
  EXPECT_TRUE(NetClient::BaseChargee());
}

TEST_F(DataClientAgainstServer, AServerThatDoesNotAnswerIsTimedOutByTheClient) {
  ASSERT_NO_FATAL_FAILURE(Connecte());
  client.DelaiRequete = 300ms;
  // The server's loop held still until the test lets it go.
  std::promise<void> gele, libere;
  std::future<void> geleFait = gele.get_future(), liberation = libere.get_future();
  std::thread bloqueur([&] {
    server_->Call([&](DataServer&) {
      gele.set_value();
      liberation.wait();
    });
  });
  geleFait.wait();
  EXPECT_FALSE(NetClient::EnvoyerRequeteServeur(SupPays::kCodeCreerPays, 0, 0, nullptr, false, nullptr));
  EXPECT_FALSE(client.TcpActif()) << "a request not answered in time closes the link";
  EXPECT_EQ(crochets, std::make_pair(0, 0));
  libere.set_value();
  bloqueur.join();
}

}  // namespace
