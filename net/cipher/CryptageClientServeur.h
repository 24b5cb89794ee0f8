// The session cipher of the link to the data server: one block format for the login handshake and
// for every enciphered frame of a session. A block carries the MD5 digest of its plain text, its
// padded and plain sizes, and the plain text (with 1 to 16 random filler bytes) enciphered with
// AES-128 in counter mode under the key MD5(pass phrase).
//
// Block layout (little-endian), for a plain text of n bytes and P = n - (n mod 16) + 40:
//   0  16  MD5 digest of the plain text
//   16  4  P, the whole block's size
//   20  4  n
//   24 P-24 AES-128-CTR of the n plain bytes followed by 16 - (n mod 16) filler bytes
// The counter starts at AES_K(16 zero bytes) and is incremented as one big-endian 128-bit number.
// Every block restarts at that first counter: two blocks under one pass phrase share one key stream.
// Both ends of the protocol rely on it, so it stays.
//
// Pass phrases are byte strings (Windows-1252 text, or the 16 raw bytes of a session key, which may
// hold 0x00). A reader takes nothing from a block on trust: a block whose sizes disagree with the
// formula or with the bytes received is refused like a digest mismatch.
// One object is used by one operation at a time, on the main thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct evp_cipher_ctx_st;

class TClassCryptageClientServeur {
 public:
  static constexpr uint8_t kChiffrer = 0;
  static constexpr uint8_t kDechiffrer = 1;
  static constexpr uint32_t kTailleEntete = 24;
  static constexpr uint32_t kTailleMinimale = 40;  // the block of an empty plain text
  // After this many consecutive uses smaller than its capacity, the work buffer is resized.
  static constexpr uint32_t kSeuilReutilisation = 50;

  TClassCryptageClientServeur();
  ~TClassCryptageClientServeur();
  TClassCryptageClientServeur(const TClassCryptageClientServeur&) = delete;
  TClassCryptageClientServeur& operator=(const TClassCryptageClientServeur&) = delete;

  std::string PhraseSecrete;
  uint8_t Sens = kChiffrer;

  // The data to process: the plain text when enciphering, the whole received block when
  // deciphering. The bytes stay the caller's and must outlive Traiter.
  void DefinirEntree(const uint8_t* Donnees, uint32_t Taille);
  // Enciphering: the block size P. Deciphering: the plain size n of a well-formed block, 0 for a
  // block that Traiter will refuse.
  uint32_t TailleSortie() const;
  // Enciphers into a whole block (always true) or deciphers into the n plain bytes: true when the
  // block is well-formed and its digest matches. Sortie holds at least TailleSortie() bytes.
  bool Traiter(uint8_t* Sortie);

  // The block size of a plain text of n bytes.
  static uint32_t TailleBloc(uint32_t n) { return n - n % 16 + kTailleMinimale; }
  // Conveniences over the three steps.
  std::string Chiffrer(std::string_view Clair);
  [[nodiscard]] bool Dechiffrer(std::string_view Bloc, std::string& Clair);

  uint32_t CapaciteTravail() const { return capacite_; }

 private:
  // True when the input is a block whose sizes agree with the formula and with its own length.
  bool BlocValide() const;
  uint8_t* Travail(uint32_t Taille);
  // Enciphers or deciphers Taille bytes in counter mode under MD5(PhraseSecrete).
  void AppliquerFlux(const uint8_t* Entree, uint8_t* Sortie, uint32_t Taille);

  evp_cipher_ctx_st* ctx_ = nullptr;
  const uint8_t* entree_ = nullptr;
  uint32_t tailleEntree_ = 0;
  std::vector<uint8_t> travail_;
  uint32_t capacite_ = 0;
  uint32_t utilisationsPlusPetites_ = 0;
};

namespace CryptageClientServeur {

// The text that stands for an empty password in the handshake pass phrases ("@mavolité52#").
std::string_view SansMotDePasse();
// "$<code>:<login>$".
std::string PhraseIdentification(std::string_view CodeApplication, std::string_view Login);
// "$<code>-<application password>:<login>-<password>$", an empty password standing as SansMotDePasse.
std::string PhraseAuthentification(std::string_view CodeApplication, std::string_view MotDePasseApplication,
                                   std::string_view Login, std::string_view MotDePasse);

}  // namespace CryptageClientServeur
