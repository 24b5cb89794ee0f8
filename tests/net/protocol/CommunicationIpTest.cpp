// The communication base over a scripted connection: registration, dispatch within the bounds of a
// kind, the receive pass (two frames in one read, a handler that stops the pass, a corrupt frame that
// closes the link), the protocol trace and its rows, activation, and the payloads it sends.
#include <gtest/gtest.h>

#include <boost/asio/post.hpp>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "core/objects/Exceptions.h"
#include "core/values/DateTime.h"
#include "net/protocol/NetProtocol.h"
#include "net/protocol/VclCommIp.h"
#include "net/protocol/VclProtocole.h"
#include "objectdb/Traduction.h"
#include "platform/ui/VclDialogue.h"

using namespace GenresMessages;
using Fin = TCommunicationIp::TypeFinReception;

namespace {

// One connection (key 7) whose queue the test fills; sent frames are kept, enciphered by the
// sending record.
class Composant : public TCommunicationIp {
 public:
  using TCommunicationIp::TCommunicationIp;
  using TCommunicationIp::ChiffrerTrame;

  TBufferDynamique file;
  TypeSecurite reception, envoi;
  TypeAdresseSocket adresseSocket{2, 0, 0xC0, 0x30, 10, 1, 2, 3};
  bool connecte = true;
  int corrompues = 0;
  bool reponseDeconnexion = true;
  std::vector<uint32_t> recues;  // every message before dispatch (the hook)
  std::vector<std::string> envoyees;

  Fin Recevoir(const std::string& octets) {
    file.Ajouter(octets.data(), octets.size());
    return TraiterReception(7);
  }
  // A frame as the peer would send it.
  std::string TrameDe(uint32_t id, const std::string& donnees, const TypeAdresseMessage& a = {7, 2}) {
    std::string t;
    EXPECT_TRUE(Trame::Construire(a, id, donnees.data(), static_cast<uint32_t>(donnees.size()), 0, t));
    return t;
  }

 protected:
  bool ReceptionDe(uint32_t c, TypeReception& r) override {
    if (!connecte || c != 7) return false;
    r.File = &file;
    r.AdresseSocket = adresseSocket;
    r.Securite = reception;
    return true;
  }
  void TrameCorrompue(uint32_t c) override {
    ++corrompues;
    TCommunicationIp::TrameCorrompue(c);
  }
  void SurReceptionTrame(const TypeAdresseMessage&, uint32_t Id) override { recues.push_back(Id); }
  void EnvoyerOctets(const TypeAdresseMessage&, const std::string& t) override {
    std::string x = t;
    ASSERT_TRUE(ChiffrerTrame(envoi, x));
    envoyees.push_back(x);
  }
  bool TraiterDeconnexion(const TypeAdresseSocket&, const TypeAdresseMessage&, const uint8_t*, uint32_t) override {
    recues.push_back(0xDEC);
    return reponseDeconnexion;
  }
  bool TraiterEnvoyerHost(const TypeAdresseSocket&, const TypeAdresseMessage&, const uint8_t*, uint32_t) override {
    return true;
  }
  bool TraiterDemanderHost(const TypeAdresseSocket&, const TypeAdresseMessage&, const uint8_t*, uint32_t) override {
    return true;
  }
};

class CommunicationIp : public ::testing::Test {
 protected:
  void SetUp() override {
    VclProtocole::Finaliser();
    VclProtocole::Initialiser();
    c.EnregistrerMessage(CM_ENVOYER_PROFIL_SRV, Noter());
    c.EnregistrerMessage(CM_ENVOYER_ORDRE_MODIF, Noter());
  }
  TTraitementMessage Noter() {
    return [this](const TypeAdresseSocket&, const TypeAdresseMessage& a, uint32_t id, const uint8_t* d, uint32_t n) {
      journal.push_back(std::to_string(id) + ":" + std::to_string(a.IdentConnexion) + ":" +
                        std::string(reinterpret_cast<const char*>(d), n));
      return true;
    };
  }

  MainLoop loop{[] {}, [] {}};
  Composant c{loop};
  std::vector<std::string> journal;
};

std::string Texte(uint32_t id, const std::string& d) { return std::to_string(id) + ":7:" + d; }

}  // namespace

TEST_F(CommunicationIp, TwoFramesInOneReadAreBothDispatchedInOrder) {
  EXPECT_EQ(c.Recevoir(c.TrameDe(CM_ENVOYER_ORDRE_MODIF, "un") + c.TrameDe(CM_ENVOYER_ORDRE_MODIF, "deux")), Fin::Attente);
  EXPECT_EQ(journal, (std::vector<std::string>{Texte(CM_ENVOYER_ORDRE_MODIF, "un"), Texte(CM_ENVOYER_ORDRE_MODIF, "deux")}));
}

TEST_F(CommunicationIp, AMessageReachesItsHandlerOnlyWithinItsKindsBounds) {
  c.Recevoir(c.TrameDe(CM_ENVOYER_PROFIL_SRV, std::string(639, 'p')) + c.TrameDe(CM_ENVOYER_PROFIL_SRV, std::string(641, 'p')) +
             c.TrameDe(0x12345, "inconnu") + c.TrameDe(0, "") + c.TrameDe(CM_ENVOYER_PROFIL_SRV, std::string(640, 'p')));
  ASSERT_EQ(journal.size(), 1u);
  EXPECT_EQ(journal[0], Texte(CM_ENVOYER_PROFIL_SRV, std::string(640, 'p')));
  EXPECT_EQ(c.recues.size(), 5u);  // the hook saw them all
  EXPECT_EQ(VclProtocole::NombreTraces(), 1u);  // only what reached a handler is traced
}

TEST_F(CommunicationIp, RegisteringAKindTwiceKeepsTheFirstHandlerAndCapsTheBounds) {
  EXPECT_FALSE(c.EnregistrerMessage(CM_ENVOYER_ORDRE_MODIF, "autre", 0, 0, [](auto&&...) { return true; }));
  EXPECT_FALSE(c.EnregistrerMessage(CM_DECONNEXION, [](auto&&...) { return true; }));
  EXPECT_TRUE(c.MessageEnregistre(CM_DEMANDER_HOST));
  EXPECT_FALSE(c.MessageEnregistre(CM_ENVOYER_REQUETE));
  EXPECT_TRUE(c.EnregistrerMessage(0x777, std::string(60, 'n'), 0, 0xFFFFFFFF, Noter()));
  const std::string grand(Trame::kTailleMaximale, 'g');
  c.Recevoir(c.TrameDe(CM_ENVOYER_ORDRE_MODIF, "x") + c.TrameDe(0x777, grand));
  ASSERT_EQ(journal.size(), 2u);
  EXPECT_EQ(journal[0], Texte(CM_ENVOYER_ORDRE_MODIF, "x"));
  EXPECT_EQ(VclProtocole::Trace(1).Nom, std::string(50, 'n'));
}

TEST_F(CommunicationIp, FramesBehindAHandlerThatAnswersFalseAreHandledOnTheNextTurn) {
  c.reponseDeconnexion = false;
  std::string deconnexion(16, '\0');
  EXPECT_EQ(c.Recevoir(c.TrameDe(CM_DECONNEXION, deconnexion) + c.TrameDe(CM_ENVOYER_ORDRE_MODIF, "suivant")), Fin::Reprise);
  EXPECT_TRUE(journal.empty());
  // No new bytes: the resumption posted on the loop handles it as the next event.
  EXPECT_EQ(loop.WaitUntil([&] { return !journal.empty(); }, std::chrono::seconds(5)), MainLoop::WaitResult::Satisfied);
  EXPECT_EQ(journal, (std::vector<std::string>{Texte(CM_ENVOYER_ORDRE_MODIF, "suivant")}));

  // A handler that raises counts as False; a connection gone before the next turn is left alone.
  c.EnregistrerMessage(0x778, "leve", 0, 0, [](auto&&...) -> bool { throw std::runtime_error("x"); });
  EXPECT_EQ(c.Recevoir(c.TrameDe(0x778, "") + c.TrameDe(CM_ENVOYER_ORDRE_MODIF, "perdu")), Fin::Reprise);
  c.connecte = false;
  bool fin = false;
  boost::asio::post(loop.Context(), [&] { fin = true; });
  EXPECT_EQ(loop.WaitUntil([&] { return fin; }, std::chrono::seconds(5)), MainLoop::WaitResult::Satisfied);
  EXPECT_EQ(journal.size(), 1u);
}

TEST_F(CommunicationIp, ACorruptFrameClosesTheLink) {
  ASSERT_TRUE(c.Activer());
  EXPECT_EQ(c.Recevoir(std::string("\x02\x01\x00\x00\x00\x00", 6) + c.TrameDe(CM_ENVOYER_ORDRE_MODIF, "perdu")), Fin::Fermeture);
  EXPECT_EQ(c.corrompues, 1);
  EXPECT_FALSE(c.Actif());
  EXPECT_TRUE(c.file.EstVide());
  EXPECT_TRUE(journal.empty());
}

TEST_F(CommunicationIp, AnEncipheredSessionRoundTripsAndRefusesClearMessages) {
  const TypeSecurite session{Trame::kModeChiffre, std::string("\x00\x11\x22\x00", 4) + std::string(12, '\x7f')};
  c.envoi = session;
  c.reception = session;
  ASSERT_TRUE(c.EnvoyerMessageDonnees({7, 2}, CM_ENVOYER_ORDRE_MODIF, "secret", 6));
  ASSERT_EQ(c.envoyees.size(), 1u);
  EXPECT_EQ(c.envoyees[0][1], 2);
  c.Recevoir(c.TrameDe(CM_ENVOYER_ORDRE_MODIF, "injecte") + c.envoyees[0]);
  EXPECT_EQ(journal, (std::vector<std::string>{Texte(CM_ENVOYER_ORDRE_MODIF, "secret")}));
}

// A server run on another thread of the same process traces beside the client: entries added from two
// threads at once all arrive whole, and the store keeps its bound.
TEST(TraceProtocole, TwoThreadsTracingAtOnceLoseNothingAndKeepTheBound) {
  VclProtocole::Initialiser();
  const auto tracer = [](uint32_t Ident) {
    for (int i = 0; i < 3000; ++i) VclProtocole::TracerMessage({}, {Ident, 2}, 7, "message");
  };
  std::thread autre(tracer, 1u);
  tracer(2u);
  autre.join();
  ASSERT_EQ(VclProtocole::NombreTraces(), VclProtocole::kTracesMaximum);
  for (size_t i = 0; i < VclProtocole::kTracesMaximum; ++i) {
    const TypeTraceProtocole t = VclProtocole::Trace(i);
    ASSERT_TRUE(t.IdentConnexion == 1u || t.IdentConnexion == 2u) << i;
    ASSERT_EQ(t.Nom, "message") << i;
  }
  VclProtocole::Initialiser();
}

TEST_F(CommunicationIp, TheTraceKeepsTheLast2000MessagesAndShowsThemAsRows) {
  DateTime::SetClock([] { return DateTime::EncodeDate(2026, 12, 10) + DateTime::EncodeTime(9, 5, 7, 0); });
  std::string lot;
  for (uint32_t i = 1; i <= 2001; ++i) lot += c.TrameDe(CM_ENVOYER_ORDRE_MODIF, "", {i, 2});
  c.Recevoir(lot);
  DateTime::SetClock(nullptr);
  ASSERT_EQ(VclProtocole::NombreTraces(), 2000u);
  EXPECT_EQ(VclProtocole::Trace(0).IdentConnexion, 2u);  // the first one went
  EXPECT_EQ(VclProtocole::Trace(1999).IdentConnexion, 2001u);
  EXPECT_EQ(NetProtocol::NombreLignes(), 2000u);
  EXPECT_EQ(NetProtocol::Ligne(0),
            (std::array<std::string, 6>{"09:05:07", "CM_ENVOYER_ORDRE_MODIF (589825)", "<--", "???", "10.1.2.3", "2"}));
  EXPECT_EQ(NetProtocol::Colonnes()[1].Titre, "Ordre");
  EXPECT_EQ(NetProtocol::Colonnes()[1].Largeur, 220);
}

// Without the user interface the trace window is a log line; the routines the interface installs
// show the window and follow each new entry traced on the main thread, not those of other threads.
TEST_F(CommunicationIp, TheTraceWindowGoesThroughTheRoutinesTheInterfaceInstalls) {
  EXPECT_NO_THROW(VclProtocole::AfficherTraceProtocole());
  static int affichages = 0, actualisations = 0;
  affichages = actualisations = 0;
  VclProtocole::DefinirFenetreTrace([] { ++affichages; }, [] { ++actualisations; });
  VclProtocole::AfficherTraceProtocole();
  c.Recevoir(c.TrameDe(CM_ENVOYER_ORDRE_MODIF, "", {1, 2}) + c.TrameDe(CM_ENVOYER_ORDRE_MODIF, "", {2, 2}));
  std::thread([] { VclProtocole::TracerMessage({}, {3, 2}, 7, "autre fil"); }).join();
  VclProtocole::DefinirFenetreTrace(nullptr, nullptr);
  EXPECT_EQ(affichages, 1);
  EXPECT_EQ(actualisations, 2);
}

TEST_F(CommunicationIp, ActivationAsksItsEventsAndClosingWithACauseSaysGoodbye) {
  bool accorder = false;
  int activations = 0, desactivations = 0;
  c.SurRequeteActivation = [&](TCommunicationIp*) { return accorder; };
  c.SurActivation = [&](TCommunicationIp*) { ++activations; };
  c.SurRequeteDesactivation = [&](TCommunicationIp*) { return accorder; };
  c.SurDesactivation = [&](TCommunicationIp*) { ++desactivations; };
  EXPECT_FALSE(c.Activer());
  accorder = true;
  EXPECT_TRUE(c.Activer());
  EXPECT_FALSE(c.Activer());  // already active
  EXPECT_EQ(activations, 1);
  accorder = false;
  EXPECT_FALSE(c.Desactiver(MDA_Aucun, false));
  EXPECT_TRUE(c.Actif());
  EXPECT_TRUE(c.Desactiver(MDA_ArretFonctionServeur, true));
  EXPECT_EQ(desactivations, 1);
  EXPECT_FALSE(c.Desactiver(MDA_Aucun, true));  // not active any more
  ASSERT_EQ(c.envoyees.size(), 1u);
  TBufferDynamique f;
  f.Ajouter(c.envoyees[0].data(), c.envoyees[0].size());
  TClassCryptageClientServeur chiffreur;
  TypeMessageRecu m;
  ASSERT_EQ(Trame::Lire(f, {}, chiffreur, m), Trame::TypeLecture::Fait);
  EXPECT_EQ(m.Id, CM_DECONNEXION);
  EXPECT_EQ(m.Adresse, (TypeAdresseMessage{0, 0}));
  EXPECT_EQ(m.Donnees, std::string("\x03", 1) + std::string(15, '\0'));
}

TEST_F(CommunicationIp, RequestsOrdersAndHostsAreSentWithTheirHeaders) {
  c.RemplirHost = [](TCommunicationIp*, uint32_t, TypeEnvoiHostClient& h) { h[289] = 5; };
  ASSERT_TRUE(c.EnvoyerRequete({0x0A0B0C0D, 2}, 0x80190213, 0x11223344, "arg", 3));
  ASSERT_TRUE(c.EnvoyerOrdreReseau({9, 2}, std::string(45, 'N'), 2, "od"));
  ASSERT_TRUE(c.RepondreHost({9, 2}));
  ASSERT_TRUE(c.DemanderHost({9, 2}));
  std::vector<TypeMessageRecu> lus;
  for (const std::string& t : c.envoyees) {
    TBufferDynamique f;
    f.Ajouter(t.data(), t.size());
    TClassCryptageClientServeur chiffreur;
    lus.emplace_back();
    ASSERT_EQ(Trame::Lire(f, {}, chiffreur, lus.back()), Trame::TypeLecture::Fait);
  }
  ASSERT_EQ(lus.size(), 4u);
  EXPECT_EQ(lus[0].Id, CM_ENVOYER_REQUETE);
  EXPECT_EQ(lus[0].Donnees, std::string("\x00\x00\x13\x02\x19\x80\x0D\x0C\x0B\x0A\x02\x44\x33\x22\x11\x03\x00\x00\x00" "arg", 22));
  EXPECT_EQ(lus[1].Id, CM_ENVOYER_OrdreReseau);
  EXPECT_EQ(lus[1].Donnees, std::string("\x00\x00\x09\x00\x00\x00\x02\x28", 8) + std::string(40, 'N') +
                                std::string("\x02\x00\x00\x00" "od", 6));
  EXPECT_EQ(lus[2].Id, CM_ENVOYER_HOST);
  ASSERT_EQ(lus[2].Donnees.size(), 305u);
  EXPECT_EQ(lus[2].Donnees[289], 5);
  EXPECT_EQ(lus[3].Id, CM_DEMANDER_HOST);
  EXPECT_TRUE(lus[3].Donnees.empty());
}

// A server's text message goes to the component's event; when nobody takes it (no event, or the
// event answers False) the message dialog shows it under the translated title. Either way the pass
// goes on with the frame behind it.
TEST_F(CommunicationIp, AServerMessageGoesToItsEventAndOtherwiseToTheMessageDialog) {
  std::vector<std::string> affiches;
  VclDialogue::DefinirSortie([&](const std::string& ligne) { affiches.push_back(ligne); });
  Traduction::DefinirTexte("VclCommIpMessageDuServeur", "Message du serveur");
  std::string message(288, '\x5a');  // bytes outside the text belong to the application
  message[24] = 5;
  std::memcpy(message.data() + 25, "Salut", 5);
  std::string long255(288, '\0');
  long255[24] = char(255);
  std::memset(long255.data() + 25, 'L', 255);
  const std::string ligne = VclDialogue::Legende(VclDialogue::kInformation, VclDialogue::kOk) + " : Message du serveur : ";

  enum class Evenement { Aucun, Accepte, Refuse };
  struct Cas {
    const char* quoi;
    Evenement evenement;
    const std::string& donnees;
    std::vector<std::string> attendus;  // the dialog's lines
  };
  const Cas cas[] = {
      {"taken by the event", Evenement::Accepte, message, {}},
      {"refused by the event", Evenement::Refuse, message, {ligne + "Salut"}},
      {"no event", Evenement::Aucun, message, {ligne + "Salut"}},
      {"the longest text", Evenement::Aucun, long255, {ligne + std::string(255, 'L')}},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.quoi);
    affiches.clear();
    journal.clear();
    std::vector<std::string> vus;
    c.OnReceptionMessage = nullptr;
    if (k.evenement != Evenement::Aucun)
      c.OnReceptionMessage = [&, accepte = k.evenement == Evenement::Accepte](const TypeMessageStr& m) {
        vus.push_back(VclCommIp::TexteMessage(m) + "/" + std::to_string(m[0]) + "/" + std::to_string(m[287]));
        return accepte;
      };
    EXPECT_EQ(c.Recevoir(c.TrameDe(CM_ENVOYER_MESSAGE, k.donnees) + c.TrameDe(CM_ENVOYER_ORDRE_MODIF, "suivant")),
              Fin::Attente);
    EXPECT_EQ(affiches, k.attendus);
    EXPECT_EQ(journal, std::vector<std::string>{Texte(CM_ENVOYER_ORDRE_MODIF, "suivant")});
    // The event sees the whole record.
    const std::vector<std::string> vusAttendus =
        k.evenement == Evenement::Aucun ? std::vector<std::string>{} : std::vector<std::string>{k.donnees == message ? "Salut/90/90" : std::string(255, 'L') + "/0/0"};
    EXPECT_EQ(vus, vusAttendus);
  }
  VclDialogue::DefinirSortie(nullptr);
  Traduction::DefinirTexte("VclCommIpMessageDuServeur", "");
}

TEST(GenresMessages, TheTableHoldsEveryKindWithItsNumberAndBounds) {
  EXPECT_EQ(Tous().size(), 47u);
  for (size_t i = 1; i < Tous().size(); ++i) EXPECT_LT(Tous()[i - 1].Id, Tous()[i].Id);
  const TypeGenreMessage* profil = Genre(0xD0002);
  ASSERT_NE(profil, nullptr);
  EXPECT_EQ(profil->Nom, "CM_ENVOYER_PROFIL_SRV");
  EXPECT_EQ(profil->TailleMin, 640u);
  EXPECT_EQ(profil->TailleMax, 640u);
  EXPECT_EQ(Genre(CM_ENVOYER_HOST)->TailleMin, 33u);
  EXPECT_EQ(Genre(CM_ENVOYER_HOST)->TailleEnvoyee, 305);
  EXPECT_EQ(Genre(CM_ENVOYER_REQUETE)->TailleMax, kToutes);
  EXPECT_FALSE(Genre(CM_DEMANDER_PROFILS_SRV)->Recu);
  EXPECT_EQ(Genre(CM_ENVOYER_IDENT_CONNEXION)->Id, 0x110002u);
  EXPECT_EQ(Genre(0x4), nullptr);
}
