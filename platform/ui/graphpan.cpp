#include "platform/ui/graphpan.h"

void TGraphicPanel::Paint(TCanvas& C) {
  TPanel::Paint(C);
  if (!OnPaint) return;
  peinture_ = &C;
  struct Fin {
    TCanvas*& c;
    ~Fin() { c = nullptr; }
  } fin{peinture_};
  OnPaint(this);
}
