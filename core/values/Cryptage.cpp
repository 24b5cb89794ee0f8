#include "core/values/Cryptage.h"

#include "core/values/NombreAleatoire.h"

void TZoneEncryption::CrypterOctets(std::string& Octets) const {
  const std::size_t n = Octets.size();
  TypeEncryptionZone zone(n, 0);
  for (std::size_t b = 0; b < n; ++b)
    zone[b / 2] |= static_cast<uint16_t>(static_cast<unsigned char>(Octets[b]) << (8 * (b % 2)));
  TNombreAleatoire::Graine(cle_);
  // n values are drawn although only the first (n + 1) / 2 words hold data: the sequence of every
  // later scrambling depends on it staying so.
  for (std::size_t j = 0; j < n; ++j) zone[j] ^= TNombreAleatoire::Aleatoire();
  for (std::size_t b = 0; b < n; ++b) Octets[b] = static_cast<char>(zone[b / 2] >> (8 * (b % 2)));
}

void TZoneEncryption::Crypter(TStream& Flux) const {
  const int64_t n = Flux.Size();
  std::string bytes(static_cast<std::size_t>(n), '\0');
  Flux.SetPosition(0);
  Flux.ReadBuffer(bytes.data(), n);
  CrypterOctets(bytes);
  Flux.SetPosition(0);
  Flux.WriteBuffer(bytes.data(), n);
}

void TEncryption::Crypter(const std::string& Texte, uint16_t LongueurCle, std::string& Resultat) {
  if (Texte.size() <= LongueurCle) {
    Resultat = Texte;
    return;
  }
  std::string cle = Texte.substr(0, LongueurCle);
  std::string reste = Texte.substr(LongueurCle);
  TZoneEncryption(cle).CrypterOctets(reste);
  Resultat = cle + reste;
}
