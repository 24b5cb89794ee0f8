// The cost of the envelope on the whole base that travels at every connection: a 4 MiB message
// framed, compressed at level 9, enciphered, then read back through the byte queue and the frame
// reader, against the floor of the same work done by the libraries alone on the same bytes.
//   EnveloppeComplete   Trame::Construire + Trame::Chiffrer, then TBufferDynamique + Trame::Lire
//   ZlibPlusAesSeuls    compress2 level 9 + AES-128-CTR, then AES-128-CTR + uncompress
// The payload is record-like: fixed 64-byte records with a few varying fields and texts.
#include <benchmark/benchmark.h>

#include <openssl/evp.h>
#include <zlib.h>

#include <cstring>
#include <random>
#include <string>

#include "net/cipher/CryptageClientServeur.h"
#include "net/protocol/Trame.h"

namespace {

constexpr size_t kTaille = 4 << 20;

const std::string& Charge() {
  static const std::string charge = [] {
    std::mt19937 alea(42);
    const char* noms[] = {"MATHEMATIQUES", "FRANCAIS", "HISTOIRE", "PHYSIQUE", "ANGLAIS", "SALLE B12"};
    std::string s;
    s.reserve(kTaille);
    while (s.size() < kTaille) {
      char enregistrement[64] = {};
      const uint32_t valeurs[3] = {static_cast<uint32_t>(s.size() / 64), static_cast<uint32_t>(alea() % 5000), static_cast<uint32_t>(alea())};
      std::memcpy(enregistrement, valeurs, sizeof valeurs);
      const char* nom = noms[alea() % 6];
      enregistrement[12] = static_cast<char>(std::strlen(nom));
      std::memcpy(enregistrement + 13, nom, std::strlen(nom));
      s.append(enregistrement, std::min<size_t>(64, kTaille - s.size()));
    }
    return s;
  }();
  return charge;
}

const std::string kPhrase = std::string("\x11\x00\x22\x33\x44\x55\x66\x77\x88\x99\xAA\xBB\xCC\xDD\xEE\xFF", 16);

void EnveloppeComplete(benchmark::State& state) {
  const std::string& charge = Charge();
  const TypeSecurite session{Trame::kModeChiffre, kPhrase};
  TClassCryptageClientServeur chiffreur;
  TBufferDynamique file;
  for (auto _ : state) {
    std::string trame;
    if (!Trame::Construire({1, 2}, 0x50005, charge.data(), static_cast<uint32_t>(charge.size()), 0, trame) ||
        !Trame::Chiffrer(session, chiffreur, trame))
      state.SkipWithError("envoi refusé");
    file.Ajouter(trame.data(), trame.size());
    TypeMessageRecu message;
    if (Trame::Lire(file, session, chiffreur, message) != Trame::TypeLecture::Fait || message.Donnees != charge)
      state.SkipWithError("lecture refusée");
    benchmark::DoNotOptimize(message.Donnees.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * charge.size()));
}

void Ctr(const unsigned char* cle, const std::string& entree, std::string& sortie) {
  static const unsigned char iv[16] = {};
  EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
  int n = 0;
  sortie.resize(entree.size());
  EVP_EncryptInit_ex(ctx, EVP_aes_128_ctr(), nullptr, cle, iv);
  EVP_EncryptUpdate(ctx, reinterpret_cast<unsigned char*>(sortie.data()), &n,
                    reinterpret_cast<const unsigned char*>(entree.data()), static_cast<int>(entree.size()));
  EVP_CIPHER_CTX_free(ctx);
}

void ZlibPlusAesSeuls(benchmark::State& state) {
  const std::string& charge = Charge();
  unsigned char cle[16];
  std::memcpy(cle, kPhrase.data(), 16);
  for (auto _ : state) {
    uLongf taille = compressBound(charge.size());
    std::string z(taille, '\0');
    compress2(reinterpret_cast<Bytef*>(z.data()), &taille, reinterpret_cast<const Bytef*>(charge.data()), charge.size(), 9);
    z.resize(taille);
    std::string chiffre, clair;
    Ctr(cle, z, chiffre);
    Ctr(cle, chiffre, clair);
    std::string retour(charge.size(), '\0');
    uLongf t = retour.size();
    if (uncompress(reinterpret_cast<Bytef*>(retour.data()), &t, reinterpret_cast<const Bytef*>(clair.data()),
                   clair.size()) != Z_OK || retour != charge)
      state.SkipWithError("aller-retour raté");
    benchmark::DoNotOptimize(retour.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * charge.size()));
}

}  // namespace

BENCHMARK(EnveloppeComplete)->Unit(benchmark::kMillisecond);
BENCHMARK(ZlibPlusAesSeuls)->Unit(benchmark::kMillisecond);
