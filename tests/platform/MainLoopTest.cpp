// The main loop with scripted events: the order of a turn, the idle handler, nested waits that end on
// an answer, a lost link or a time-out, stop requests (from another thread, from a signal), timers
// and exceptions from handlers.
#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <string>
#include <thread>
#include <vector>

#include <boost/asio/local/connect_pair.hpp>
#include <boost/asio/local/stream_protocol.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/read.hpp>
#include <boost/asio/write.hpp>

#include "core/objects/Exceptions.h"
#include "platform/loop/MainLoop.h"
#include "platform/ui/VclDialogue.h"

using namespace std::chrono_literals;
using Journal = std::vector<std::string>;

namespace {

// A loop whose application services write "services" to the journal and count their runs.
class Boucle : public ::testing::Test {
 protected:
  Journal journal;
  std::atomic<int> services{0};
  int desactivations = 0;
  MainLoop loop{[this] {
                  ++services;
                  journal.push_back("services");
                },
                [this] { ++desactivations; }};

  void Poster(const std::string& nom) {
    boost::asio::post(loop.Context(), [this, nom] { journal.push_back(nom); });
  }
};

// One end of a socket pair read the way the transports must read: the next read is armed before the
// bytes just read are dispatched, one byte being one message. The link's loss sets Perdu.
class Lecteur {
 public:
  using Socket = boost::asio::local::stream_protocol::socket;
  Lecteur(MainLoop& loop, std::function<void(char)> traiter) : socket(loop.Context()), traiter_(std::move(traiter)) {}

  void Armer() {
    socket.async_read_some(boost::asio::buffer(tampon_), [this](const boost::system::error_code& ec, std::size_t n) {
      if (ec) {
        Perdu = true;
        return;
      }
      std::string recu(tampon_, n);
      Armer();
      for (char c : recu) traiter_(c);
    });
  }

  Socket socket;
  bool Perdu = false;

 private:
  char tampon_[64];
  std::function<void(char)> traiter_;
};

}  // namespace

TEST_F(Boucle, ATurnRunsTheServicesThenOneReadyEventAndTheIdleHandlerOnlyWhenNoneIsReady) {
  int inactivites = 0;
  bool encoreDuTravail = true;
  loop.SetIdleHandler([&] {
    ++inactivites;
    journal.push_back("inactivite");
    return encoreDuTravail;
  });
  Poster("A");
  Poster("B");
  loop.Turn();
  loop.Turn();
  EXPECT_EQ(journal, (Journal{"services", "A", "services", "B"}));
  EXPECT_EQ(inactivites, 0);

  // No event: the idle handler runs; while it reports more work the turn does not block.
  journal.clear();
  loop.Turn();
  loop.Turn();
  EXPECT_EQ(journal, (Journal{"services", "inactivite", "services", "inactivite"}));

  // Once it reports no more work, the turn blocks until an event arrives and handles it. The event
  // is armed by the idle pass itself, so that it cannot be ready before the pass runs.
  journal.clear();
  encoreDuTravail = false;
  MainLoopTimer minuterie(loop, [&] { journal.push_back("minuterie"); });
  loop.SetIdleHandler([&] {
    journal.push_back("inactivite");
    minuterie.Start(5ms);
    return false;
  });
  loop.Turn();
  EXPECT_EQ(journal, (Journal{"services", "inactivite", "minuterie"}));
}

TEST_F(Boucle, AnAnswerArrivingDuringAWaitEndsItWithoutRunningTheServices) {
  // The first message asks a question and waits for the answer 'R', which comes through the same
  // socket: only a read re-armed before dispatch can deliver it.
  bool reponse = false;
  MainLoop::WaitResult resultat{};
  int profondeur = -1;
  int servicesPendant = -1;
  Lecteur lecteur(loop, [&](char c) {
    if (c == 'R') {
      reponse = true;
      return;
    }
    journal.push_back(std::string("question ") + c);
    const int avant = services;
    resultat = loop.WaitUntil(
        [&] {
          profondeur = loop.Depth();
          return reponse;
        },
        5s);
    servicesPendant = services - avant;
    journal.push_back("fin de l'attente");
  });
  Lecteur::Socket pair(loop.Context());
  boost::asio::local::connect_pair(lecteur.socket, pair);
  lecteur.Armer();
  boost::asio::write(pair, boost::asio::buffer("Q", 1));
  MainLoopTimer serveur(loop, [&] {
    boost::asio::write(pair, boost::asio::buffer("R", 1));
    serveur.Stop();
  });
  serveur.Start(10ms);

  while (journal.empty() || journal.back() != "fin de l'attente") loop.Turn();
  EXPECT_EQ(resultat, MainLoop::WaitResult::Satisfied);
  EXPECT_TRUE(reponse);
  EXPECT_EQ(profondeur, 1);
  EXPECT_EQ(servicesPendant, 0);
  EXPECT_EQ(loop.Depth(), 0);
}

TEST_F(Boucle, ALinkLostDuringAWaitEndsIt) {
  // The caller waits for its answer or the loss of the link, whichever comes first.
  bool reponse = false;
  MainLoop::WaitResult resultat{};
  bool fini = false;
  Lecteur* moi = nullptr;
  Lecteur lecteur(loop, [&](char) {
    resultat = loop.WaitUntil([&] { return reponse || moi->Perdu; }, 5s);
    fini = true;
  });
  moi = &lecteur;
  Lecteur::Socket pair(loop.Context());
  boost::asio::local::connect_pair(lecteur.socket, pair);
  lecteur.Armer();
  boost::asio::write(pair, boost::asio::buffer("Q", 1));
  MainLoopTimer coupure(loop, [&] {
    pair.close();
    coupure.Stop();
  });
  coupure.Start(10ms);

  while (!fini) loop.Turn();
  EXPECT_EQ(resultat, MainLoop::WaitResult::Satisfied);
  EXPECT_TRUE(lecteur.Perdu);
  EXPECT_FALSE(reponse);
}

TEST_F(Boucle, WaitsNestAndTheInnerOneEndsFirst) {
  bool premiere = false, seconde = false;
  int profondeurMax = 0;
  loop.SetIdleHandler([&] {
    profondeurMax = std::max(profondeurMax, loop.Depth());
    return false;
  });
  MainLoopTimer reponse1(loop, [&] {
    premiere = true;
    reponse1.Stop();
  });
  MainLoopTimer reponse2(loop, [&] {
    seconde = true;
    reponse2.Stop();
  });
  boost::asio::post(loop.Context(), [&] {
    reponse1.Start(300ms);  // well after the second answer, even on a loaded machine
    auto r = loop.WaitUntil([&] { return premiere; }, 5s);
    journal.push_back(std::string("attente 1 ") + (r == MainLoop::WaitResult::Satisfied ? "ok" : "ko"));
  });
  MainLoopTimer demande2(loop, [&] {
    demande2.Stop();
    reponse2.Start(5ms);
    auto r = loop.WaitUntil([&] { return seconde; }, 5s);
    journal.push_back(std::string("attente 2 ") + (r == MainLoop::WaitResult::Satisfied ? "ok" : "ko"));
    journal.push_back(premiere ? "premiere deja recue" : "premiere pas encore recue");
  });
  demande2.Start(1ms);

  journal.clear();
  services = 0;
  loop.Turn();  // the turn that starts the first wait ends only when both waits have
  EXPECT_EQ(journal, (Journal{"services", "attente 2 ok", "premiere pas encore recue", "attente 1 ok"}));
  EXPECT_EQ(services, 1);
  EXPECT_EQ(profondeurMax, 2);
}

TEST_F(Boucle, AWaitWithoutAnswerTimesOutAfterItsDelayAndRunsIdlePassesMeanwhile) {
  int inactivites = 0;
  loop.SetIdleHandler([&] {
    ++inactivites;
    return false;
  });
  const auto debut = std::chrono::steady_clock::now();
  EXPECT_EQ(loop.WaitUntil([] { return false; }, 30ms), MainLoop::WaitResult::TimedOut);
  EXPECT_GE(std::chrono::steady_clock::now() - debut, 30ms);
  EXPECT_GT(inactivites, 0);
  EXPECT_EQ(services, 0);
  // A predicate already true returns at once, even with no time at all.
  EXPECT_EQ(loop.WaitUntil([] { return true; }, 0ms), MainLoop::WaitResult::Satisfied);
}

TEST_F(Boucle, AStopRequestEndsRunAndEveryWaitAndSwitchesTheServicesOff) {
  // From an event inside a wait: the wait ends with Stopped and Run returns after that turn.
  MainLoop::WaitResult resultat{};
  boost::asio::post(loop.Context(), [&] {
    MainLoopTimer arret(loop, [&] { loop.RequestStop(); });
    arret.Start(5ms);
    resultat = loop.WaitUntil([] { return false; }, 5s);
  });
  loop.Run();
  EXPECT_EQ(resultat, MainLoop::WaitResult::Stopped);
  EXPECT_EQ(desactivations, 1);

  // From another thread, while Run blocks with nothing to do.
  std::thread autre([&] {
    while (services == 0) std::this_thread::yield();
    loop.RequestStop();
  });
  loop.Run();
  autre.join();
  EXPECT_EQ(desactivations, 2);

  // SIGTERM and SIGINT.
  loop.StopOnSignals();
  for (int signal : {SIGTERM, SIGINT}) {
    boost::asio::post(loop.Context(), [signal] { std::raise(signal); });
    loop.Run();
  }
  EXPECT_EQ(desactivations, 4);

  // A request made before Run is kept until Run consumes it.
  loop.RequestStop();
  const int avant = services;
  loop.Run();
  EXPECT_EQ(services, avant);
  EXPECT_EQ(desactivations, 5);
}

TEST_F(Boucle, AnExceptionFromAHandlerIsReportedAndTheLoopGoesOn) {
  std::vector<std::string> rapports;
  loop.SetExceptionHandler([&](std::exception_ptr e) {
    try {
      std::rethrow_exception(e);
    } catch (const std::exception& x) {
      rapports.push_back(x.what());
    }
  });
  boost::asio::post(loop.Context(), [] { throw Exception("evenement"); });
  Poster("suivant");
  loop.Turn();
  loop.Turn();
  boost::asio::post(loop.Context(), [] { throw Exception("pendant l'attente"); });
  bool fin = false;
  boost::asio::post(loop.Context(), [&] { fin = true; });
  EXPECT_EQ(loop.WaitUntil([&] { return fin; }, 5s), MainLoop::WaitResult::Satisfied);
  // The idle handler throws; the turn then blocks until the timer's event as if it had said "no more".
  // The handler arms the timer itself, so that the timer cannot be ready before the idle pass.
  MainLoopTimer minuterie(loop, [&] {
    journal.push_back("minuterie");
    minuterie.Stop();
  });
  loop.SetIdleHandler([&]() -> bool {
    minuterie.Start(5ms);
    throw Exception("inactivite");
  });
  loop.Turn();
  EXPECT_EQ(rapports, (std::vector<std::string>{"evenement", "pendant l'attente", "inactivite"}));
  EXPECT_EQ(journal, (Journal{"services", "services", "suivant", "services", "minuterie"}));
}

TEST_F(Boucle, WithoutAHandlerAnExceptionReachesTheProgramsLogWhereTheOperatorSeesIt) {
  std::vector<std::string> log;
  VclDialogue::DefinirSortie([&](const std::string& l) { log.push_back(l); });
  boost::asio::post(loop.Context(), [] { throw Exception("Trop grand"); });
  loop.Turn();
  VclDialogue::DefinirSortie(nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"Exception dans la boucle principale : Trop grand"}));
}

TEST_F(Boucle, ATimerRepeatsUntilStoppedAndAStoppedOrDestroyedTimerNeverFires) {
  int ticks = 0;
  MainLoopTimer minuterie(loop, [&] {
    if (++ticks == 3) minuterie.Stop();
  });
  minuterie.Start(1ms);
  EXPECT_TRUE(minuterie.Active());
  EXPECT_EQ(loop.WaitUntil([&] { return !minuterie.Active(); }, 5s), MainLoop::WaitResult::Satisfied);
  EXPECT_EQ(ticks, 3);

  // Two timers expire in the same pass of the loop; the first to run stops (then destroys) the other,
  // whose completion is already queued: that completion must not run its action.
  for (bool detruire : {false, true}) {
    int actions = 0;
    std::unique_ptr<MainLoopTimer> a, b;
    a = std::make_unique<MainLoopTimer>(loop, [&] {
      ++actions;
      a->Stop();
      b->Stop();
      if (detruire) b.reset();
    });
    b = std::make_unique<MainLoopTimer>(loop, [&] {
      ++actions;
      b->Stop();
      a->Stop();
      if (detruire) a.reset();
    });
    a->Start(1ms);
    b->Start(1ms);
    std::this_thread::sleep_for(3ms);  // both expire before the loop looks at its timers
    bool fin = false;
    MainLoopTimer temoin(loop, [&] { fin = true; });
    temoin.Start(10ms);
    EXPECT_EQ(loop.WaitUntil([&] { return fin; }, 5s), MainLoop::WaitResult::Satisfied);
    EXPECT_EQ(actions, 1) << detruire;
  }
}
