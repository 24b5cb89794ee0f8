#include "net/cipher/CryptageClientServeur.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <cstring>

#include "core/objects/Exceptions.h"
#include "core/values/Ansi1252.h"
#include "net/protocol/PetitBoutiste.h"

using PetitBoutiste::EcrireCardinal;
using PetitBoutiste::LireCardinal;

namespace {

constexpr uint32_t kTailleCondensat = 16;

void Condensat(const uint8_t* Donnees, size_t Taille, uint8_t (&Resultat)[kTailleCondensat]) {
  unsigned int longueur = 0;
  if (EVP_Digest(Donnees, Taille, Resultat, &longueur, EVP_md5(), nullptr) != 1 || longueur != kTailleCondensat)
    throw Exception("MD5 indisponible");
}

void OctetsAleatoires(uint8_t* Zone, int Taille) {
  if (RAND_bytes(Zone, Taille) != 1) throw Exception(std::string("Générateur aléatoire indisponible"_ansi));
}

}  // namespace

TClassCryptageClientServeur::TClassCryptageClientServeur() : ctx_(EVP_CIPHER_CTX_new()) {
  if (ctx_ == nullptr) throw Exception("AES indisponible");
}

TClassCryptageClientServeur::~TClassCryptageClientServeur() { EVP_CIPHER_CTX_free(ctx_); }

void TClassCryptageClientServeur::DefinirEntree(const uint8_t* Donnees, uint32_t Taille) {
  entree_ = Donnees;
  tailleEntree_ = Taille;
}

bool TClassCryptageClientServeur::BlocValide() const {
  if (tailleEntree_ < kTailleMinimale) return false;
  const uint32_t p = LireCardinal(entree_ + 16);
  const uint32_t n = LireCardinal(entree_ + 20);
  return p == tailleEntree_ && n <= p && TailleBloc(n) == p;
}

uint32_t TClassCryptageClientServeur::TailleSortie() const {
  if (Sens == kChiffrer) {
    if (tailleEntree_ > UINT32_MAX - kTailleMinimale) throw Exception("Bloc trop grand");
    return TailleBloc(tailleEntree_);
  }
  return BlocValide() ? LireCardinal(entree_ + 20) : 0;
}

uint8_t* TClassCryptageClientServeur::Travail(uint32_t Taille) {
  if (Taille > capacite_) {
    capacite_ = Taille;
    utilisationsPlusPetites_ = 0;
  } else if (Taille == capacite_) {
    utilisationsPlusPetites_ = 0;
  } else if (++utilisationsPlusPetites_ > kSeuilReutilisation) {
    capacite_ = Taille;
    utilisationsPlusPetites_ = 0;
  }
  if (travail_.size() != capacite_) {
    travail_.resize(capacite_);
    travail_.shrink_to_fit();
  }
  return travail_.data();
}

void TClassCryptageClientServeur::AppliquerFlux(const uint8_t* Entree, uint8_t* Sortie, uint32_t Taille) {
  uint8_t cle[16];
  Condensat(reinterpret_cast<const uint8_t*>(PhraseSecrete.data()), PhraseSecrete.size(), cle);
  // The first counter block is AES_K of 16 zero bytes.
  static const uint8_t kZeros[16] = {};
  uint8_t compteur[16];
  int n = 0;
  bool ok = EVP_EncryptInit_ex(ctx_, EVP_aes_128_ecb(), nullptr, cle, nullptr) == 1 &&
            EVP_CIPHER_CTX_set_padding(ctx_, 0) == 1 && EVP_EncryptUpdate(ctx_, compteur, &n, kZeros, 16) == 1 &&
            n == 16;
  // OpenSSL's counter mode increments the whole 16-byte block as one big-endian number.
  ok = ok && EVP_EncryptInit_ex(ctx_, EVP_aes_128_ctr(), nullptr, cle, compteur) == 1;
  uint32_t fait = 0;
  while (ok && fait < Taille) {
    const int morceau = static_cast<int>(std::min<uint32_t>(Taille - fait, 1u << 30));
    ok = EVP_EncryptUpdate(ctx_, Sortie + fait, &n, Entree + fait, morceau) == 1 && n == morceau;
    fait += static_cast<uint32_t>(morceau);
  }
  OPENSSL_cleanse(cle, sizeof cle);
  OPENSSL_cleanse(compteur, sizeof compteur);
  EVP_CIPHER_CTX_reset(ctx_);
  if (!ok) throw Exception("AES indisponible");
}

bool TClassCryptageClientServeur::Traiter(uint8_t* Sortie) {
  if (Sens == kChiffrer) {
    const uint32_t n = tailleEntree_;
    const uint32_t p = TailleSortie();
    const uint32_t region = p - kTailleEntete;
    uint8_t remplissage[16];
    OctetsAleatoires(remplissage, 16);
    for (uint8_t& b : remplissage) b %= 255;  // filler bytes are 0..254
    uint8_t condensat[kTailleCondensat];
    Condensat(entree_, n, condensat);
    std::memcpy(Sortie, condensat, kTailleCondensat);
    EcrireCardinal(Sortie + 16, p);
    EcrireCardinal(Sortie + 20, n);
    uint8_t* travail = Travail(region);
    std::memcpy(travail + region - 16, remplissage, 16);
    if (n > 0) std::memcpy(travail, entree_, n);
    AppliquerFlux(travail, Sortie + kTailleEntete, region);
    return true;
  }
  if (!BlocValide()) return false;
  const uint32_t n = LireCardinal(entree_ + 20);
  const uint32_t region = tailleEntree_ - kTailleEntete;
  uint8_t* travail = Travail(region);
  AppliquerFlux(entree_ + kTailleEntete, travail, region);
  if (n > 0) std::memcpy(Sortie, travail, n);
  uint8_t condensat[kTailleCondensat];
  Condensat(Sortie, n, condensat);
  return CRYPTO_memcmp(condensat, entree_, kTailleCondensat) == 0;
}

std::string TClassCryptageClientServeur::Chiffrer(std::string_view Clair) {
  Sens = kChiffrer;
  DefinirEntree(reinterpret_cast<const uint8_t*>(Clair.data()), static_cast<uint32_t>(Clair.size()));
  std::string bloc(TailleSortie(), '\0');
  Traiter(reinterpret_cast<uint8_t*>(bloc.data()));
  return bloc;
}

bool TClassCryptageClientServeur::Dechiffrer(std::string_view Bloc, std::string& Clair) {
  Sens = kDechiffrer;
  Clair.clear();
  if (Bloc.size() > UINT32_MAX) return false;
  DefinirEntree(reinterpret_cast<const uint8_t*>(Bloc.data()), static_cast<uint32_t>(Bloc.size()));
  if (!BlocValide()) return false;
  Clair.resize(TailleSortie());
  if (Traiter(reinterpret_cast<uint8_t*>(Clair.data()))) return true;
  Clair.clear();
  return false;
}

namespace CryptageClientServeur {

std::string_view SansMotDePasse() { return "@mavolité52#"_ansi; }

std::string PhraseIdentification(std::string_view CodeApplication, std::string_view Login) {
  std::string s = "$";
  s.append(CodeApplication).append(":").append(Login).append("$");
  return s;
}

std::string PhraseAuthentification(std::string_view CodeApplication, std::string_view MotDePasseApplication,
                                   std::string_view Login, std::string_view MotDePasse) {
  auto motDePasse = [](std::string_view m) { return m.empty() ? SansMotDePasse() : m; };
  std::string s = "$";
  s.append(CodeApplication).append("-").append(motDePasse(MotDePasseApplication)).append(":");
  s.append(Login).append("-").append(motDePasse(MotDePasse)).append("$");
  return s;
}

}  // namespace CryptageClientServeur
