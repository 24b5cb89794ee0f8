// The HTTP front end under load: Version calls, one connection per call (every answer closes it),
// by 1, 8 and 64 concurrent callers, against the ceiling of the same server component answering a
// canned 200 of the same size on the same loop; and the in-process cost of one call (decode,
// dispatch, encode).
//
// Counters: "appels/s" (calls per second) and "p99_us" (99th percentile of a call's latency,
// connect to close, in microseconds).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include <boost/asio.hpp>

#include "platform/soap/InvocateurSoap.h"
#include "service/FrontalHttp.h"
#include "service/SupSvcWImplementations.h"

namespace {

using Horloge = std::chrono::steady_clock;
using boost::asio::ip::tcp;

const std::string kCorps =
    "<?xml version=\"1.0\"?><s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><s:Body>"
    "<a:Version xmlns:a=\"urn:TzSvcWAdmin-PortAdmin\"/></s:Body></s:Envelope>";

std::string Requete(uint16_t port) {
  return "POST /Admin HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) +
         "\r\nAuthorization: Basic QUJDOnNlY3JldA==\r\nSOAPAction: \"urn:TzSvcWAdmin-PortAdmin#Version\"\r\n"
         "Content-Type: text/xml\r\nContent-Length: " + std::to_string(kCorps.size()) + "\r\n\r\n" + kCorps;
}

// The loop of the server side, on a thread of its own: ready events first, an idle pass when none
// is ready, and a short blocking wait when the idle pass had nothing to do.
class Boucle {
 public:
  explicit Boucle(std::function<bool()> passeInactive) : passe_(std::move(passeInactive)) {}
  boost::asio::io_context io;

  void Lancer() {
    thread_ = std::thread([this] {
      auto garde = boost::asio::make_work_guard(io);
      while (!stop_) {
        if (io.poll_one() > 0) continue;
        if (passe_ && passe_()) continue;
        io.run_one_for(std::chrono::milliseconds(2));
      }
    });
  }
  void Arreter() {
    stop_ = true;
    thread_.join();
  }

 private:
  std::function<bool()> passe_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// `appelants` threads each make calls one connection at a time for about the given duration;
// answers the latencies of all calls.
std::vector<double> Charger(uint16_t port, int appelants, std::chrono::milliseconds duree, size_t tailleAttendue,
                            std::atomic<int>& erreurs) {
  std::vector<std::vector<double>> parAppelant(static_cast<size_t>(appelants));
  std::vector<std::thread> threads;
  const std::string requete = Requete(port);
  auto fin = Horloge::now() + duree;
  for (int i = 0; i < appelants; ++i)
    threads.emplace_back([&, i] {
      boost::asio::io_context io;
      std::vector<char> buf(8192);
      while (Horloge::now() < fin) {
        auto debut = Horloge::now();
        tcp::socket s(io);
        boost::system::error_code ec;
        s.connect(tcp::endpoint(boost::asio::ip::address_v4::loopback(), port), ec);
        if (!ec) boost::asio::write(s, boost::asio::buffer(requete), ec);
        size_t total = 0;
        while (!ec) total += s.read_some(boost::asio::buffer(buf), ec);
        if (total != tailleAttendue) ++erreurs;
        parAppelant[static_cast<size_t>(i)].push_back(
            std::chrono::duration<double, std::micro>(Horloge::now() - debut).count());
      }
    });
  for (auto& t : threads) t.join();
  std::vector<double> toutes;
  for (auto& v : parAppelant) toutes.insert(toutes.end(), v.begin(), v.end());
  return toutes;
}

void Rapporter(benchmark::State& state, std::vector<double> latences, double secondes, int erreurs) {
  std::sort(latences.begin(), latences.end());
  state.counters["appels/s"] = static_cast<double>(latences.size()) / secondes;
  state.counters["p99_us"] = latences.empty() ? 0 : latences[latences.size() * 99 / 100];
  state.counters["erreurs"] = erreurs;
}

std::string ReponseVersion() {
  SupSvcWImplementations::EnregistrerServicesWeb(SupSvcWImplementations::kEncodage, kOptionsSoapEncode);
  std::string r;
  TInvocateurSoap().Dispatcher("/soap", "urn:TzSvcWAdmin-PortAdmin#Version", kCorps, r);
  return r;
}

void BM_VersionParHttp(benchmark::State& state) {
  TFicheNetClient netClient;
  netClient.DefinirCredentielAttendu("Basic QUJDOnNlY3JldA==");
  TFrontalHttp* frontal = nullptr;
  Boucle boucle([&] {
    bool done = true;
    frontal->TraiterMessagesEnAttente(done);
    return !done;
  });
  TFrontalHttp f(boucle.io, &netClient);
  frontal = &f;
  f.Parametres.PortIp = 0;
  f.ServeurHttp.Adresse = "127.0.0.1";
  f.DemarrerServeurHttp();
  // The whole answer as a caller reads it: the header and the envelope.
  size_t taille = std::string("HTTP/1.1 200 OK\r\nContent-Type: text/xml; charset=iso-8859-1\r\nContent-Length: ").size() +
                  std::to_string(ReponseVersion().size()).size() +
                  std::string("\r\nConnection: Close\r\nProxy-Connection: Close\r\n\r\n").size() + ReponseVersion().size();
  boucle.Lancer();
  for (auto _ : state) {
    std::atomic<int> erreurs{0};
    auto debut = Horloge::now();
    auto latences = Charger(f.ServeurHttp.PortEcoute(), static_cast<int>(state.range(0)), std::chrono::milliseconds(1000),
                            taille, erreurs);
    double secondes = std::chrono::duration<double>(Horloge::now() - debut).count();
    state.SetIterationTime(secondes);
    Rapporter(state, std::move(latences), secondes, erreurs);
  }
  boost::asio::post(boucle.io, [&] { f.ArreterServeurHttp(); });
  boucle.Arreter();
}

// The ceiling: the same server component on the same kind of loop, answering every body with a
// canned answer of the Version answer's size, and closing.
void BM_PlafondReponseFigee(benchmark::State& state) {
  Boucle boucle(nullptr);
  TServeurHttp serveur(boucle.io);
  serveur.Adresse = "127.0.0.1";
  serveur.Port = 0;
  std::string envelope = ReponseVersion();
  std::string figee = "HTTP/1.1 200 OK\r\nContent-Type: text/xml; charset=iso-8859-1\r\nContent-Length: " +
                      std::to_string(envelope.size()) + "\r\nConnection: Close\r\nProxy-Connection: Close\r\n\r\n" +
                      std::string(envelope.size(), 'x');
  serveur.OnPostDocument = [](TConnexionHttp& c, DrapeauxDocument& d) {
    d.RepondSoiMeme = d.AccepteDonnees = true;
    c.LimiteCorps = 1 << 20;
  };
  serveur.OnPostedData = [&](TConnexionHttp& c, std::string_view, bool fin) {
    if (fin) c.EnvoyerTexte(figee, false);
  };
  serveur.Ecouter();
  boucle.Lancer();
  for (auto _ : state) {
    std::atomic<int> erreurs{0};
    auto debut = Horloge::now();
    auto latences = Charger(serveur.PortEcoute(), static_cast<int>(state.range(0)), std::chrono::milliseconds(1000),
                            figee.size(), erreurs);
    double secondes = std::chrono::duration<double>(Horloge::now() - debut).count();
    state.SetIterationTime(secondes);
    Rapporter(state, std::move(latences), secondes, erreurs);
  }
  boost::asio::post(boucle.io, [&] { serveur.Arreter(); });
  boucle.Arreter();
}

void BM_VersionEnMemoire(benchmark::State& state) {
  ReponseVersion();
  TInvocateurSoap invocateur;
  std::string r;
  for (auto _ : state) {
    invocateur.Dispatcher("/soap", "urn:TzSvcWAdmin-PortAdmin#Version", kCorps, r);
    benchmark::DoNotOptimize(r);
  }
}

BENCHMARK(BM_PlafondReponseFigee)->Arg(1)->Arg(8)->Arg(64)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VersionParHttp)->Arg(1)->Arg(8)->Arg(64)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VersionEnMemoire);

}  // namespace

BENCHMARK_MAIN();
