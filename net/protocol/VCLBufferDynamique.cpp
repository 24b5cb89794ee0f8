#include "net/protocol/VCLBufferDynamique.h"

#include <cstring>

void TBufferDynamique::Ajouter(const void* Zone, size_t Taille) {
  if (Taille == 0) return;
  const auto* octets = static_cast<const uint8_t*>(Zone);
  morceaux_.emplace_back(octets, octets + Taille);
  disponible_ += Taille;
  if (marquee_) disponibleMarque_ += Taille;
}

bool TBufferDynamique::Lire(void* Zone, size_t Taille) {
  if (Taille > disponible_) return false;
  auto* sortie = static_cast<uint8_t*>(Zone);
  size_t reste = Taille;
  while (reste > 0) {
    const std::vector<uint8_t>& m = morceaux_[lecture_.morceau];
    const size_t n = std::min(reste, m.size() - lecture_.decalage);
    std::memcpy(sortie, m.data() + lecture_.decalage, n);
    sortie += n;
    reste -= n;
    lecture_.decalage += n;
    if (lecture_.decalage == m.size() && lecture_.morceau + 1 < morceaux_.size()) {
      ++lecture_.morceau;
      lecture_.decalage = 0;
    }
  }
  disponible_ -= Taille;
  return true;
}

void TBufferDynamique::Marquer() {
  marque_ = lecture_;
  disponibleMarque_ = disponible_;
  marquee_ = true;
}

void TBufferDynamique::RevenirMarque() {
  if (!marquee_) return;
  lecture_ = marque_;
  disponible_ = disponibleMarque_;
  marquee_ = false;
}

void TBufferDynamique::ValiderLecture() {
  marquee_ = false;
  // Chunks before the read chunk are wholly read; so is the read chunk when its end is reached.
  size_t liberes = lecture_.morceau;
  if (!morceaux_.empty() && lecture_.decalage == morceaux_[lecture_.morceau].size()) ++liberes;
  morceaux_.erase(morceaux_.begin(), morceaux_.begin() + static_cast<std::ptrdiff_t>(liberes));
  if (liberes > lecture_.morceau) lecture_.decalage = 0;
  lecture_.morceau = 0;
}

void TBufferDynamique::Vider() {
  morceaux_.clear();
  lecture_ = Position{};
  marquee_ = false;
  disponible_ = 0;
}
