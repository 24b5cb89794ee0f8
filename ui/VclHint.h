// The cell hint of the lists: on a mouse move, the owner's routine gives the text of the cell under
// the mouse; the application's hint shows it when it does not fit in its column (or always, for
// the columns asked). The last hinted cell is shared by every list that uses the helper.
// Main thread only.
#pragma once

#include <bitset>
#include <cstdint>
#include <functional>
#include <string>

#include "ui/vclliste.h"

// The routine sets the list's hint text for the cell (Colonne and Ligne 1-based over the grid
// column and the data rows) and gives the column's name.
using TRoutineBulleCellule = std::function<void(int32_t Colonne, int32_t Ligne, std::string& NomColonne)>;
// The grid columns (1-based) whose hint shows whether it fits or not; those above 103 never are.
using TColonnesToujours = std::bitset<104>;

namespace VclHint {

// The application's hint window: shown at a screen position with a text, or not.
struct TBulleApplication {
  bool Active = false;
  TPoint Position;
  std::string Texte;
};
const TBulleApplication& BulleApplication();

void AfficherBulleCellule(TVokStringList& Liste, int X, int Y, const TColonnesToujours& Toujours,
                          const TRoutineBulleCellule& Routine);

// The last hinted cell, (0, 0) when none.
TListCoord DerniereCellule();
// Forgets the last cell and hides the application's hint.
void Oublier();

}  // namespace VclHint
