// The HTTP front end under load: Version calls, one connection per call (every answer closes it),
// by 1, 8 and 64 concurrent callers, against the ceiling of the same server component answering a
// canned 200 of the same size on the same loop; and the in-process cost of one call (decode,
// dispatch, encode).
//
// Counters: calls per second through the front end ("version/s") and on the ceiling ("plafond/s"),
// their ratio, and the 99th percentile of a call's latency, connect to close, in microseconds. At 64
// callers the front end's p99 stays below 50 ms with the service's default listen queue.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include <boost/asio.hpp>

#include "bench/support/Bench.h"
#include "platform/loop/MainLoop.h"
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

// A server's main loop, run on a thread of its own (its main thread) without application services.
class Boucle {
 public:
  explicit Boucle(MainLoop::IdleHandler passeInactive) { loop.SetIdleHandler(std::move(passeInactive)); }
  MainLoop loop{[] {}, [] {}};

  void Lancer() {
    thread_ = std::thread([this] { loop.Run(); });
  }
  // Ends the loop; the servers are stopped afterwards, from the calling thread, once no thread runs
  // their handlers.
  void Arreter() {
    loop.RequestStop();
    thread_.join();
  }

 private:
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
      // At least one call each: on a loaded machine a thread can start after the short run's end,
      // and an empty set of latencies has no percentile.
      do {
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
      } while (Horloge::now() < fin);
    });
  for (auto& t : threads) t.join();
  std::vector<double> toutes;
  for (auto& v : parAppelant) toutes.insert(toutes.end(), v.begin(), v.end());
  return toutes;
}

std::string ReponseVersion() {
  SupSvcWImplementations::EnregistrerServicesWeb(SupSvcWImplementations::kEncodage, kOptionsSoapEncode);
  std::string r;
  TInvocateurSoap().Dispatcher("/soap", "urn:TzSvcWAdmin-PortAdmin#Version", kCorps, r);
  return r;
}

std::string EnTete200(size_t longueur) {
  return "HTTP/1.1 200 OK\r\nContent-Type: text/xml; charset=iso-8859-1\r\nContent-Length: " +
         std::to_string(longueur) + "\r\nConnection: Close\r\nProxy-Connection: Close\r\n\r\n";
}

// Version calls through the front end and the ceiling, measured in alternating rounds so that the
// load of the machine weighs on both alike.
void BM_VersionContrePlafond(benchmark::State& state) {
  const int appelants = static_cast<int>(state.range(0));
  const std::string enveloppe = ReponseVersion();
  const std::string figee = EnTete200(enveloppe.size()) + std::string(enveloppe.size(), 'x');

  // The front end, logged in, with its settings' defaults (deferred execution on idle passes).
  TFicheNetClient netClient;
  netClient.DefinirCredentielAttendu("Basic QUJDOnNlY3JldA==");
  TFrontalHttp* frontal = nullptr;
  Boucle boucleVersion([&] {
    bool done = true;
    frontal->TraiterMessagesEnAttente(done);
    return !done;
  });
  TFrontalHttp f(boucleVersion.loop.Context(), &netClient);
  frontal = &f;
  f.Parametres.PortIp = 0;
  f.ServeurHttp.Adresse = "127.0.0.1";
  // The service's own listen queue (the system's deepest): a short one would overflow under 64
  // simultaneous connects, and the kernel's SYN retransmissions (1 s, then 3 s) would show in p99.
  f.DemarrerServeurHttp();

  // The ceiling: the same server component answering every body with a canned answer of the same
  // size, and closing.
  Boucle bouclePlafond(nullptr);
  TServeurHttp plafond(bouclePlafond.loop.Context());
  plafond.Adresse = "127.0.0.1";
  plafond.Port = 0;
  plafond.OnPostDocument = [](TConnexionHttp& c, DrapeauxDocument& d) {
    d.RepondSoiMeme = d.AccepteDonnees = true;
    c.LimiteCorps = 1 << 20;
  };
  plafond.OnPostedData = [&](TConnexionHttp& c, std::string_view, bool fin) {
    if (fin) c.EnvoyerTexte(figee, false);
  };
  plafond.Ecouter();

  boucleVersion.Lancer();
  bouclePlafond.Lancer();
  for (auto _ : state) {
    std::vector<double> latV, latP;
    double secV = 0, secP = 0;
    std::atomic<int> erreurs{0};
    for (int tour = 0; tour < Bench::Taille(3, 1); ++tour) {
      for (bool version : {true, false}) {
        auto debut = Horloge::now();
        auto l = Charger(version ? f.ServeurHttp.PortEcoute() : plafond.PortEcoute(), appelants,
                         std::chrono::milliseconds(Bench::Taille(500, 50)), figee.size(), erreurs);
        double sec = std::chrono::duration<double>(Horloge::now() - debut).count();
        (version ? secV : secP) += sec;
        auto& toutes = version ? latV : latP;
        toutes.insert(toutes.end(), l.begin(), l.end());
      }
    }
    state.SetIterationTime(secV + secP);
    std::sort(latV.begin(), latV.end());
    std::sort(latP.begin(), latP.end());
    double debitV = static_cast<double>(latV.size()) / secV, debitP = static_cast<double>(latP.size()) / secP;
    state.counters["version/s"] = debitV;
    state.counters["plafond/s"] = debitP;
    state.counters["ratio"] = debitV / debitP;
    state.counters["p99_version_us"] = latV[latV.size() * 99 / 100];
    state.counters["p99_plafond_us"] = latP[latP.size() * 99 / 100];
    state.counters["erreurs"] = erreurs.load();
  }
  boucleVersion.Arreter();
  bouclePlafond.Arreter();
  f.ArreterServeurHttp();
  plafond.Arreter();
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

BENCHMARK(BM_VersionContrePlafond)->Arg(1)->Arg(8)->Arg(64)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VersionEnMemoire);

}  // namespace

