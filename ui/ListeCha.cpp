#include "ui/ListeCha.h"

namespace ListeCha {

TListe* CreerListe() { return new TListe; }

void DetruireListe(TListe*& Liste) {
  if (!Liste) return;
  for (TNoeud* n = Liste->Premier; n;) {
    TNoeud* suivant = n->Suivant;
    delete n;
    n = suivant;
  }
  delete Liste;
  Liste = nullptr;
}

TNoeud* CreerNoeud() { return new TNoeud; }

void DetruireNoeud(TNoeud* Noeud, TListe*) {
  if (!Noeud) return;
  if (Noeud->Liste) Retirer(Noeud, Noeud->Liste);
  delete Noeud;
}

bool Appartient(const TNoeud* Noeud, const TListe* Liste) { return Noeud && Liste && Noeud->Liste == Liste; }

void Retirer(TNoeud* Noeud, TListe* Liste) {
  if (!Appartient(Noeud, Liste)) return;
  if (Noeud->Precedent) Noeud->Precedent->Suivant = Noeud->Suivant;
  else Liste->Premier = Noeud->Suivant;
  if (Noeud->Suivant) Noeud->Suivant->Precedent = Noeud->Precedent;
  else Liste->Dernier = Noeud->Precedent;
  Noeud->Suivant = Noeud->Precedent = nullptr;
  Noeud->Liste = nullptr;
}

void Inserer(TNoeud* Noeud, int32_t Position, TListe* Liste) {
  if (!Noeud || !Liste || Noeud->Liste) return;
  Noeud->Liste = Liste;
  TNoeud* avant = Position <= 1 ? Liste->Premier : NoeudA(Position, Liste);
  if (!Liste->Premier) {
    Liste->Premier = Liste->Dernier = Noeud;
  } else if (!avant) {  // past the end
    Noeud->Precedent = Liste->Dernier;
    Liste->Dernier->Suivant = Noeud;
    Liste->Dernier = Noeud;
  } else {
    Noeud->Suivant = avant;
    Noeud->Precedent = avant->Precedent;
    if (avant->Precedent) avant->Precedent->Suivant = Noeud;
    else Liste->Premier = Noeud;
    avant->Precedent = Noeud;
  }
}

TNoeud* Extraire(int32_t Position, TListe* Liste) {
  TNoeud* n = NoeudA(Position, Liste);
  Retirer(n, Liste);
  return n;
}

int32_t PositionDe(const TNoeud* Noeud, const TListe* Liste) {
  if (!Appartient(Noeud, Liste)) return 0;
  int32_t p = 1;
  for (const TNoeud* n = Liste->Premier; n; n = n->Suivant, ++p)
    if (n == Noeud) return p;
  return 0;
}

TNoeud* NoeudA(int32_t Position, const TListe* Liste) {
  if (!Liste || Position < 1) return nullptr;
  TNoeud* n = Liste->Premier;
  for (int32_t p = 1; n && p < Position; ++p) n = n->Suivant;
  return n;
}

int32_t Nombre(const TListe* Liste) {
  int32_t k = 0;
  if (Liste)
    for (const TNoeud* n = Liste->Premier; n; n = n->Suivant) ++k;
  return k;
}

}  // namespace ListeCha
