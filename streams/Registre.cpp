#include "streams/Registre.h"

#include <openssl/evp.h>

#include <algorithm>
#include <charconv>
#include <memory>
#include <vector>

#include "core/objects/Exceptions.h"
#include "core/values/Format.h"

namespace Registre {

namespace {

constexpr size_t kLongueurSessionMaximale = 16383;
constexpr int32_t kNombreBasesParDefaut = 5;

std::unique_ptr<TRegistre>& Instance() {
  static std::unique_ptr<TRegistre> instance;
  return instance;
}

std::string& Racine() {
  static std::string racine;
  return racine;
}

int32_t& NombreBases() {
  static int32_t nombre = kNombreBasesParDefaut;
  return nombre;
}

}  // namespace

void TRegistre::LireChaine(TRegistryHive Ruche, const std::string& Chemin, const std::string& Nom, std::string& Valeur) {
  TRegistryValue valeur = VCLRegis::Chaine({});
  Valeur.clear();
  if (!VCLRegis::Lire(Ruche, Chemin, Nom, valeur, etat_)) return;
  if (valeur.Text.size() > kLongueurSessionMaximale) {
    // The system reads these values into a buffer of that size: a longer one cannot be read.
    etat_.Erreur = true;
    etat_.Texte = Format("Key \"%s\" not found in path \"%s\"", {Nom, Chemin});
    etat_.Detail = "value longer than 16383 bytes";
    return;
  }
  Valeur = std::move(valeur.Text);
}

void TRegistre::EcrireChaineMachine(const std::string& Chemin, const std::string& Nom, const std::string& Valeur) {
  VCLRegis::Ecrire(TRegistryHive::Machine, Chemin, Nom, VCLRegis::Chaine(Valeur), etat_);
}

void TRegistre::LireChaineMachine(const std::string& Chemin, const std::string& Nom, std::string& Valeur) {
  LireChaine(TRegistryHive::Machine, Chemin, Nom, Valeur);
}

void TRegistre::LireChaineUtilisateur(const std::string& Chemin, const std::string& Nom, std::string& Valeur) {
  LireChaine(TRegistryHive::User, Chemin, Nom, Valeur);
}

void TRegistre::EcrireValeurSession(const std::string& Nom, const std::string& Valeur) {
  EcrireChaineMachine(Racine() + "Session", Nom, Valeur);
}

void TRegistre::LireValeurSession(const std::string& Nom, std::string& Valeur) {
  LireChaineMachine(Racine() + "Session", Nom, Valeur);
  if (Valeur.empty()) LireChaineUtilisateur(Racine() + "Session", Nom, Valeur);
}

void InitialiserRegistre(TLireVersion LireVersion) {
  Instance() = std::make_unique<TRegistre>();
  TypeVersion version;
  LireVersion(version);
  Racine() = "Software\\Norvane\\" + version.Nom + "\\" + std::to_string(version.Majeur) + "." +
             std::to_string(version.Mineur) + "\\";
  std::string texte;
  Instance()->LireValeurSession("NombreBasesMemorisees", texte);
  int32_t nombre = kNombreBasesParDefaut;
  // A text that is not a number counts as missing rather than stopping the start-up.
  if (auto [fin, erreur] = std::from_chars(texte.data(), texte.data() + texte.size(), nombre);
      erreur != std::errc() || fin != texte.data() + texte.size())
    nombre = kNombreBasesParDefaut;
  NombreBases() = nombre;
  Instance()->EcrireValeurSession("NombreBasesMemorisees", std::to_string(nombre));
}

TRegistre* Registre() { return Instance().get(); }
const std::string& RacineProgramme() { return Racine(); }
int32_t NombreBasesMemorisees() { return NombreBases(); }

void Finaliser() {
  Instance().reset();
  Racine().clear();
  NombreBases() = kNombreBasesParDefaut;
}

// ---- The encoding of values ----------------------------------------------------------------
//
// Texts are byte strings. Empreinte is the upper-case hexadecimal MD5 digest; a key K enciphers
// with AES-128 keyed by MD5(K); Chiffrer cuts a text into 16-byte blocks (the last one completed
// with "0"), enciphers each as one ECB block and writes it in hexadecimal; Dechiffrer does the
// reverse from hexadecimal. A value is wrapped as its digest, its decimal length on 10 digits and
// its enciphered bytes, then passed through 100 rounds that encipher with one key and decipher
// with the next.

namespace {

constexpr char kPhrase[] = "7C2E4B19D03A6F5E8";
constexpr int kTours = 100;
constexpr size_t kBloc = 16;
constexpr char kChiffres[] = "0123456789ABCDEF";

[[noreturn]] void ErreurCrypto(const char* Operation) {
  throw Exception(std::string("Registre.CoderValeur: ") + Operation + " failed in libcrypto");
}

std::string Md5(const std::string& Texte) {
  unsigned char empreinte[EVP_MAX_MD_SIZE];
  unsigned int taille = 0;
  if (EVP_Digest(Texte.data(), Texte.size(), empreinte, &taille, EVP_md5(), nullptr) != 1) ErreurCrypto("MD5");
  return std::string(reinterpret_cast<const char*>(empreinte), taille);
}

std::string EnHexa(const std::string& Octets) {
  std::string hexa;
  hexa.reserve(Octets.size() * 2);
  for (unsigned char c : Octets) {
    hexa.push_back(kChiffres[c >> 4]);
    hexa.push_back(kChiffres[c & 0x0F]);
  }
  return hexa;
}

int ValeurChiffre(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// False for an odd length or a character that is not a hexadecimal digit.
bool DepuisHexa(const std::string& Hexa, std::string& Octets) {
  if (Hexa.size() % 2 != 0) return false;
  Octets.resize(Hexa.size() / 2);
  for (size_t i = 0; i < Octets.size(); ++i) {
    const int fort = ValeurChiffre(Hexa[2 * i]), faible = ValeurChiffre(Hexa[2 * i + 1]);
    if (fort < 0 || faible < 0) return false;
    Octets[i] = static_cast<char>(fort << 4 | faible);
  }
  return true;
}

std::string Empreinte(const std::string& Texte) { return EnHexa(Md5(Texte)); }

// AES-128 in ECB mode over whole blocks, keyed by the MD5 digest of a key text.
std::string Aes(const std::string& Cle, const std::string& Octets, bool Chiffrement) {
  const std::string cle = Md5(Cle);
  std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> contexte(EVP_CIPHER_CTX_new(), EVP_CIPHER_CTX_free);
  std::string sortie(Octets.size(), '\0');
  int taille = 0;
  if (!contexte ||
      EVP_CipherInit_ex(contexte.get(), EVP_aes_128_ecb(), nullptr, reinterpret_cast<const unsigned char*>(cle.data()),
                        nullptr, Chiffrement ? 1 : 0) != 1 ||
      EVP_CIPHER_CTX_set_padding(contexte.get(), 0) != 1 ||
      EVP_CipherUpdate(contexte.get(), reinterpret_cast<unsigned char*>(sortie.data()), &taille,
                       reinterpret_cast<const unsigned char*>(Octets.data()), static_cast<int>(Octets.size())) != 1 ||
      static_cast<size_t>(taille) != Octets.size())
    ErreurCrypto("AES");
  return sortie;
}

std::string Chiffrer(std::string Texte, const std::string& Cle) {
  if (Texte.size() % kBloc != 0) Texte.append(kBloc - Texte.size() % kBloc, '0');
  return EnHexa(Aes(Cle, Texte, true));
}

// Empty when the length is not a multiple of 32 or a digit is not hexadecimal.
std::string Dechiffrer(const std::string& Hexa, const std::string& Cle) {
  std::string octets;
  if (Hexa.size() % (2 * kBloc) != 0 || !DepuisHexa(Hexa, octets)) return {};
  return Aes(Cle, octets, false);
}

std::string Envelopper(const std::string& Texte, const std::string& Phrase) {
  std::string longueur = std::to_string(Texte.size());
  longueur.insert(0, 10 - std::min<size_t>(10, longueur.size()), '0');
  return Empreinte(Texte + Phrase) + longueur + Chiffrer(Texte, Phrase);
}

// The text of an envelope, or empty when its shape or its digest is wrong.
std::string Deballer(std::string R, const std::string& Phrase) {
  constexpr size_t kEntete = 42;
  if (R.size() <= kEntete || (R.size() - kEntete) % (2 * kBloc) != 0) return {};
  for (char& c : R)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  const std::string empreinte = R.substr(0, 32);
  const std::string longueur = R.substr(32, 10);
  int64_t n = 0;
  if (auto [fin, erreur] = std::from_chars(longueur.data(), longueur.data() + longueur.size(), n);
      erreur != std::errc() || fin != longueur.data() + longueur.size())
    n = 0;
  std::string texte;
  if (n > 0) {
    texte = Dechiffrer(R.substr(kEntete), Phrase);
    if (texte.empty()) return {};
    texte.resize(std::min<size_t>(texte.size(), static_cast<size_t>(n)));
  }
  return Empreinte(texte + Phrase) == empreinte ? texte : std::string();
}

// The keys of the rounds, computed from the pass phrase at each use.
std::vector<std::string> ClesDesTours(const std::string& Phrase) {
  std::vector<std::string> cles{Phrase};
  for (int i = 0; i < kTours; ++i)
    cles.push_back(Empreinte(cles[i] + static_cast<char>(((i + 1) * 100 / 7) % 200)) + Phrase);
  return cles;
}

}  // namespace

void CoderValeur(const std::string& Texte, bool Coder, std::string& Resultat) {
  const std::string phrase = kPhrase;
  const std::vector<std::string> cles = ClesDesTours(phrase);
  if (Coder) {
    std::string r = Envelopper(Texte, phrase) + "000000";
    for (int i = 0; i < kTours; ++i) r = Dechiffrer(Chiffrer(r, cles[i]), cles[i + 1]);
    Resultat = EnHexa(r);
    return;
  }
  std::string r;
  if (!DepuisHexa(Texte, r)) {
    Resultat.clear();
    return;
  }
  for (int i = kTours; i >= 1; --i) r = Dechiffrer(Chiffrer(r, cles[i]), cles[i - 1]);
  Resultat = r.size() < 6 ? std::string() : Deballer(r.substr(0, r.size() - 6), phrase);
}

}  // namespace Registre
