// The protocol trace window: the last messages dispatched to a handler, one row each, oldest first,
// in a six-column list above a "Fermer" button. Created on first use and kept until the toolkit
// ends; its rows follow the trace while it is visible. Main thread only.
#pragma once

#include "platform/gui/ControlesStandard.h"
#include "platform/gui/Fiches.h"
#include "ui/VCLStLst.h"

class TFicheProtocole : public TForm {
 public:
  explicit TFicheProtocole(TComponent* Owner);

  TVokSortedStringList* ListeTraces;
  TBitBtn* BoutonFermer;

  // The number of rows from the trace.
  void Actualiser();

 protected:
  void VisibleChanged() override;
  void BoundsChanged() override;

 private:
  void DessinerCellule(int32_t Col, int32_t Row, TRect Rect);
  int32_t ligne_ = 0;  // the row the list is about to draw
  bool ajustement_ = false;
};

namespace FicheProtocole {

// The window, nil until it was first shown.
TFicheProtocole* Fiche();
// Creates the window on first use and shows it, with its rows.
void Afficher();
// Refreshes the rows of a visible window.
void Actualiser();

// Installs Afficher and Actualiser as the trace's window routines, and takes them back.
void Initialiser();
void Finaliser();

}  // namespace FicheProtocole
