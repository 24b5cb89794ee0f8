#include "net/services/DynaZip.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/objects/Exceptions.h"

TLPStr::TLPStr(uint16_t Taille) : taille_(Taille), fixe_(Taille != 0), libere_(Taille == 0) {}

void TLPStr::Vider() {
  texte_.clear();
  if (!fixe_) libere_ = true;
}

void TLPStr::SetText(std::string_view Texte) {
  Vider();
  Texte = Texte.substr(0, Texte.find('\0'));
  if (fixe_) Texte = Texte.substr(0, taille_ - 1u);
  texte_.assign(Texte);
  libere_ = false;
}

void TLPStr::SetTaille(uint16_t Taille) {
  taille_ = Taille;
  fixe_ = Taille != 0;
  if (fixe_ && texte_.size() > taille_ - 1u) texte_.resize(taille_ - 1u);
}

void TLPStr::LoadFromStream(TStream& Flux) {
  const int64_t maximum = fixe_ ? taille_ : kLectureMaximale;
  std::vector<char> octets(static_cast<size_t>(maximum));
  const int64_t lus = Flux.Read(octets.data(), maximum);
  SetText(std::string_view(octets.data(), static_cast<size_t>(std::max<int64_t>(lus, 0))));
}

void TLPStr::SaveToStream(TStream& Flux) const { Flux.WriteBuffer(texte_.data(), static_cast<int64_t>(texte_.size())); }

void TLPStr::EcrirePropriete(TStream& Flux) const {
  const uint8_t genre = 10;
  const uint32_t longueur = static_cast<uint32_t>(texte_.size() + 1);
  Flux.WriteBuffer(&genre, 1);
  Flux.WriteBuffer(&longueur, 4);
  Flux.WriteBuffer(texte_.c_str(), longueur);
}

void TLPStr::LirePropriete(TStream& Flux) {
  uint8_t genre;
  uint32_t longueur;
  Flux.ReadBuffer(&genre, 1);
  Flux.ReadBuffer(&longueur, 4);
  if (longueur > Flux.Size() - Flux.Position()) throw EReadError("Erreur de lecture du flux");
  std::string octets(longueur, '\0');
  Flux.ReadBuffer(octets.data(), longueur);
  SetText(octets);
}
