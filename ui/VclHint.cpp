#include "ui/VclHint.h"

namespace VclHint {

namespace {

TBulleApplication bulle;
TListCoord derniere{0, 0};

void Annuler(TVokStringList& Liste) {
  Liste.Hint.clear();
  bulle = {};
  derniere = {0, 0};
}

}  // namespace

const TBulleApplication& BulleApplication() { return bulle; }
TListCoord DerniereCellule() { return derniere; }

void Oublier() {
  bulle = {};
  derniere = {0, 0};
}

void AfficherBulleCellule(TVokStringList& Liste, int X, int Y, const TColonnesToujours& Toujours,
                          const TRoutineBulleCellule& Routine) {
  const TListCoord c = Liste.CelluleAuPoint(X, Y);
  const int32_t colonne = c.X + 1, ligne = c.Y - Liste.FixedRows() + 1;
  if (!Liste.ShowHint || colonne <= 0 || ligne <= 0 || c.X < 0 || c.Y < 0) {
    Annuler(Liste);
    return;
  }
  if (TListCoord{colonne, ligne} == derniere) return;
  std::string nom;
  if (Routine) Routine(colonne, ligne, nom);
  const bool toujours = colonne < static_cast<int32_t>(Toujours.size()) && Toujours.test(static_cast<size_t>(colonne));
  if (!toujours && Liste.Canvas().TextWidth(Liste.Hint) <= Liste.LargeurColonne(nom) - 4) {
    Annuler(Liste);
    return;
  }
  bulle = {true, Liste.ClientToScreen({X, Y}), Liste.Hint};
  derniere = {colonne, ligne};
}

}  // namespace VclHint
