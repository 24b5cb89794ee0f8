// The byte queue of one direction of one connection: the transport appends what the socket
// delivered, the frame reader reads whole frames out of it. A frame may arrive over several appends,
// so the reader marks its starting point, reads, and either validates what it read (the chunks wholly
// read are freed) or returns to the mark to try again when more bytes have come.
// Main thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

class TBufferDynamique {
 public:
  // Appends a copy of Taille bytes as one chunk; 0 bytes append nothing.
  void Ajouter(const void* Zone, size_t Taille);
  // The unread bytes.
  size_t Disponible() const { return disponible_; }
  bool EstVide() const { return disponible_ == 0; }
  // Copies Taille unread bytes out and advances past them; false (nothing copied, nothing moved)
  // when fewer are there.
  [[nodiscard]] bool Lire(void* Zone, size_t Taille);
  // Remembers the read position (one mark at a time).
  void Marquer();
  // Goes back to the remembered position and forgets it; nothing without a mark.
  void RevenirMarque();
  // Frees every chunk wholly read and forgets the mark.
  void ValiderLecture();
  // Frees every chunk: empty, no mark.
  void Vider();

  size_t NombreMorceaux() const { return morceaux_.size(); }

 private:
  struct Position {
    size_t morceau = 0;
    size_t decalage = 0;
  };

  std::deque<std::vector<uint8_t>> morceaux_;
  Position lecture_;
  Position marque_;
  bool marquee_ = false;
  size_t disponibleMarque_ = 0;
  size_t disponible_ = 0;
};
