// A doubly linked list of untyped pointers: the toolkit's lists keep their column orders in it.
// The list never owns the data: freeing a list frees its nodes only. A node remembers the list it
// belongs to, so that it is in one list at most: inserting a node that already belongs to a list
// does nothing, and freeing a node unlinks it from its own list. Positions are 1-based.
// Main thread only.
#pragma once

#include <cstdint>

struct TListe;

struct TNoeud {
  void* Donnee = nullptr;
  TNoeud* Suivant = nullptr;
  TNoeud* Precedent = nullptr;
  TListe* Liste = nullptr;  // the list it belongs to, or nil
};

struct TListe {
  TNoeud* Premier = nullptr;
  TNoeud* Dernier = nullptr;
};

namespace ListeCha {

TListe* CreerListe();
// Unlinks and frees every node, frees the header and sets Liste to nil; nothing for nil.
void DetruireListe(TListe*& Liste);
TNoeud* CreerNoeud();
// Unlinks the node from the list it belongs to (whichever list is given), then frees it; nothing
// for nil.
void DetruireNoeud(TNoeud* Noeud, TListe* Liste);
bool Appartient(const TNoeud* Noeud, const TListe* Liste);
// Unlinks the node when it belongs to Liste; otherwise nothing.
void Retirer(TNoeud* Noeud, TListe* Liste);
// Inserts a node that belongs to no list before the node at Position; at Position 1 or below, or
// in an empty list, first; past the end, last.
void Inserer(TNoeud* Noeud, int32_t Position, TListe* Liste);
// The node at Position, unlinked; nil below 1, past the end or for an empty list.
TNoeud* Extraire(int32_t Position, TListe* Liste);
// 1-based position, 0 when the node is not in Liste.
int32_t PositionDe(const TNoeud* Noeud, const TListe* Liste);
// The node at Position, still linked; nil below 1 or past the end.
TNoeud* NoeudA(int32_t Position, const TListe* Liste);
int32_t Nombre(const TListe* Liste);

}  // namespace ListeCha
