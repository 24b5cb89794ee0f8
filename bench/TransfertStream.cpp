// Receiving the whole base: a 40 MiB compressed stream asked for in 4096-byte pieces over loopback
// from the scripted data server, acknowledged and inflated, against the floor of inflating the same
// compressed bytes from memory.
//   Reception/0, /1     TCommunicationTcpClient + TTransfertStream against TServeurScripte, the
//                       server on the client's thread (0) or on a thread of its own (1), its
//                       frames built beforehand (their cost is not ours)
//   InflaterEnMemoire   the reception's own inflation alone
//   InflationSeule      zlib's uncompress into a buffer of the known size, the same at every run
//   InflationNeuve      the same into a buffer allocated for the run (fresh memory, as a receiver has)
// The content is record-like: fixed 64-byte records with a few varying fields and texts.
#include <benchmark/benchmark.h>

#include <zlib.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bench/support/Bench.h"
#include "net/protocol/GenresMessages.h"
#include "net/transport/TransfertStream.h"
#include "net/transport/VclCommTcp.h"
#include "tests/support/ServeurScripte.h"

using namespace std::chrono_literals;

namespace {

const std::size_t kCompresse = Bench::Taille(std::size_t{40} << 20, std::size_t{1} << 20);

struct Flux {
  std::string contenu;
  std::string compresse;
};

// Records deflated until the compressed stream reaches 40 MiB.
const Flux& LeFlux() {
  static const Flux flux = [] {
    Flux f;
    std::mt19937 alea(42);
    const char* noms[] = {"MATHEMATIQUES", "FRANCAIS", "HISTOIRE", "PHYSIQUE", "ANGLAIS", "SALLE B12"};
    z_stream z{};
    deflateInit(&z, Z_DEFAULT_COMPRESSION);
    f.compresse.resize(kCompresse + (1 << 20));
    z.next_out = reinterpret_cast<Bytef*>(f.compresse.data());
    z.avail_out = static_cast<uInt>(f.compresse.size());
    char bloc[64 * 1024];
    while (z.total_out < kCompresse - (64 << 10)) {
      for (std::size_t i = 0; i < sizeof bloc; i += 64) {
        char* e = bloc + i;
        std::memset(e, 0, 64);
        const uint32_t valeurs[3] = {static_cast<uint32_t>(f.contenu.size() / 64 + i / 64),
                                     static_cast<uint32_t>(alea() % 5000), static_cast<uint32_t>(alea())};
        std::memcpy(e, valeurs, sizeof valeurs);
        const char* nom = noms[alea() % 6];
        e[12] = static_cast<char>(std::strlen(nom));
        std::memcpy(e + 13, nom, std::strlen(nom));
      }
      f.contenu.append(bloc, sizeof bloc);
      z.next_in = reinterpret_cast<Bytef*>(bloc);
      z.avail_in = sizeof bloc;
      deflate(&z, Z_NO_FLUSH);
    }
    deflate(&z, Z_FINISH);
    f.compresse.resize(z.total_out);
    deflateEnd(&z);
    return f;
  }();
  return flux;
}

void Reception(benchmark::State& state) {
  const Flux& flux = LeFlux();
  MainLoop boucle{[] {}, [] {}};
  // Argument 1: the data server is a program of its own, its loop on a thread of its own;
  // argument 0: it shares the client's thread.
  const bool filPropre = state.range(0) != 0;
  MainLoop boucleServeur{[] {}, [] {}};
  TServeurScripte serveur{filPropre ? boucleServeur : boucle};
  const uint16_t port = serveur.Demarrer();
  // Every piece framed beforehand, as the server sends it.
  std::vector<std::string> trames;
  for (std::size_t pos = 0; pos < flux.compresse.size(); pos += TransfertStream::kTaillePiece) {
    const auto n = static_cast<uint32_t>(std::min<std::size_t>(TransfertStream::kTaillePiece, flux.compresse.size() - pos));
    const auto piece = TransfertStream::EnvoyerStream(StreamBase, flux.compresse.data() + pos, n);
    std::string trame;
    if (!Trame::Construire({serveur.PremierIdent, 2}, GenresMessages::CM_ENVOYER_STREAM, piece.data(),
                           static_cast<uint32_t>(piece.size()), 0, trame))
      state.SkipWithError("frame");
    trames.push_back(std::move(trame));
  }
  const auto total = static_cast<uint32_t>(flux.compresse.size());
  serveur.Traitements[GenresMessages::CM_DEMANDER_STREAM] = [&](TServeurScripte& s, const TypeMessageRecu&) {
    const auto pret = TransfertStream::StreamPret(StreamBase, total);
    s.Envoyer(GenresMessages::CM_STREAM_PRET, std::string(pret.begin(), pret.end()));
  };
  serveur.Traitements[GenresMessages::CM_DEMANDER_STREAM_SUIVANT] = [&](TServeurScripte& s, const TypeMessageRecu& m) {
    TransfertStream::TypeSuivant suivant;
    if (TransfertStream::LireSuivant(reinterpret_cast<const uint8_t*>(m.Donnees.data()), 12, suivant))
      s.EnvoyerBrut(trames[suivant.Position / TransfertStream::kTaillePiece]);
  };
  serveur.Traitements[GenresMessages::CM_STREAM_BIEN_RECU] = [](TServeurScripte&, const TypeMessageRecu&) {};

  std::thread filServeur;
  if (filPropre) filServeur = std::thread([&] { boucleServeur.Run(); });
  TCommunicationTcpClient client{boucle};
  client.AdresseServeur = "127.0.0.1";
  client.PortServeur = std::to_string(port);
  TransfertStream::TTransfertStream transfert;
  transfert.Enregistrer(client, [&] { return TypeAdresseMessage{client.IdentServeur(), 2}; });
  int64_t lus = -1;
  transfert.SurLire = [&](TStream& f, uint8_t) { lus = f.Size(); };
  if (!client.Activer() ||
      boucle.WaitUntil([&] { return client.IdentServeur() != 0; }, 5s) != MainLoop::WaitResult::Satisfied)
    state.SkipWithError("no connection");
  for (auto _ : state) {
    if (client.IdentServeur() == 0) break;
    lus = -1;
    (void)transfert.Demander(StreamBase);
    if (boucle.WaitUntil([&] { return lus >= 0; }, 120s) != MainLoop::WaitResult::Satisfied ||
        lus != static_cast<int64_t>(flux.contenu.size()))
      state.SkipWithError("stream not received whole");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * total);
  (void)client.Desactiver(0, true);
  boucleServeur.RequestStop();
  if (filServeur.joinable()) filServeur.join();
  serveur.Arreter();
}

void InflationSeule(benchmark::State& state) {
  const Flux& flux = LeFlux();
  std::vector<uint8_t> sortie(flux.contenu.size());
  for (auto _ : state) {
    uLongf taille = static_cast<uLongf>(sortie.size());
    if (uncompress(sortie.data(), &taille, reinterpret_cast<const Bytef*>(flux.compresse.data()),
                   static_cast<uLong>(flux.compresse.size())) != Z_OK ||
        taille != sortie.size())
      state.SkipWithError("uncompress");
    benchmark::DoNotOptimize(sortie.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * flux.compresse.size()));
}

// The inflation the reception ends with, alone: into blocks, the size not being known.
void InflaterEnMemoire(benchmark::State& state) {
  const Flux& flux = LeFlux();
  for (auto _ : state) {
    TransfertStream::TFluxInflate sortie;
    TransfertStream::Inflater(reinterpret_cast<const uint8_t*>(flux.compresse.data()), flux.compresse.size(), sortie);
    if (sortie.Size() != static_cast<int64_t>(flux.contenu.size())) state.SkipWithError("inflate");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * flux.compresse.size()));
  state.counters["inflated_MiB"] = static_cast<double>(flux.contenu.size() >> 20);
}

void InflationNeuve(benchmark::State& state) {
  const Flux& flux = LeFlux();
  for (auto _ : state) {
    const auto sortie = std::make_unique_for_overwrite<uint8_t[]>(flux.contenu.size());
    uLongf taille = static_cast<uLongf>(flux.contenu.size());
    if (uncompress(sortie.get(), &taille, reinterpret_cast<const Bytef*>(flux.compresse.data()),
                   static_cast<uLong>(flux.compresse.size())) != Z_OK ||
        taille != flux.contenu.size())
      state.SkipWithError("uncompress");
    benchmark::DoNotOptimize(sortie.get());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * flux.compresse.size()));
}

}  // namespace

BENCHMARK(InflationNeuve)->Unit(benchmark::kMillisecond);
BENCHMARK(InflaterEnMemoire)->Unit(benchmark::kMillisecond);
BENCHMARK(InflationSeule)->Unit(benchmark::kMillisecond);
BENCHMARK(Reception)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
