#include "ui/VclCanva.h"

#include <algorithm>

#include "core/values/Mathematique.h"
#include "platform/gui/Fiches.h"
#include "ui/vclprint.h"

TVokCanvasDestination::TVokCanvasDestination(TComponent* Owner) : TComponent(Owner) {}

TCanvas& TVokCanvasDestination::Canvas() {
  if (surApercu_) return canvasApercu_;
  return vclprint::Printer().Canvas();
}

void TVokCanvasDestination::SetSurImprimante(bool Valeur) {
  if (Valeur == surImprimante_) return;
  surImprimante_ = Valeur;
  Recalculer();
}

void TVokCanvasDestination::SetSurEmail(bool Valeur) {
  if (Valeur == surEmail_) return;
  surEmail_ = Valeur;
  Recalculer();
}

void TVokCanvasDestination::SetAvecZoom(bool Valeur) {
  if (Valeur == avecZoom_) return;
  avecZoom_ = Valeur;
  Recalculer();
}

void TVokCanvasDestination::SetPleinePage(bool Valeur) {
  if (Valeur == pleinePage_) return;
  pleinePage_ = Valeur;
  Recalculer();
}

void TVokCanvasDestination::SetZoom(uint32_t Valeur) {
  if (Valeur == zoom_) return;
  zoom_ = Valeur;
  Recalculer();
}

namespace {

// A x B / C rounded, false for a division by 0 (the destination then stays as it was).
bool Proportion(int32_t A, int32_t B, int32_t C, int32_t& Resultat) {
  if (C == 0) return false;
  Resultat = MulDiv(A, B, C);
  return true;
}

}  // namespace

void TVokCanvasDestination::Recalculer() {
  if (surImprimante_) {
    surApercu_ = false;
    echelle_ = 100;
    return;
  }
  if (!apercu_) return;
  int32_t w = apercu_->Width(), h = apercu_->Height();
  int32_t echelle = 100;
  uint32_t zoom = zoom_;
  if (zone_) {
    TVokPrinter& printer = vclprint::Printer();
    const int32_t largeurPage = printer.LargeurPage(), hauteurPage = printer.HauteurPage();
    if (!Proportion(printer.PixelsParPouceX(), 110, Screen().PixelsPerInch(), echelle)) return;
    int32_t w0 = 0, h0 = 0;
    if (!Proportion(largeurPage, 100, echelle, w0) || !Proportion(hauteurPage, 100, echelle, h0)) return;
    w = w0, h = h0;
    // Scaling by R per cent; a preview keeps at least one pixel each way.
    auto echelonner = [&](int32_t& W, int32_t& H, int32_t r) {
      W = std::max(1, MulDiv(W, r, 100));
      H = std::max(1, MulDiv(H, r, 100));
    };
    int32_t r = 0;
    if (avecZoom_) {
      const auto z = static_cast<int32_t>(std::min<uint32_t>(zoom_, INT32_MAX));
      echelonner(w, h, z);
    } else {
      const int32_t zl = zone_->Width(), zh = zone_->Height();
      if (printer.Paysage()) {
        if (h > zh) {
          if (!Proportion(zh, 100, h, r)) return;
          echelonner(w, h, r - 1);
        }
        if (pleinePage_ && zl < w) {
          if (!Proportion(zl, 100, w, r)) return;
          echelonner(w, h, r - 1);
        } else if (zl < w) {
          if (!Proportion(zh - TScreen::kLargeurBarreDefilement, 100, h0, r)) return;
          w = w0, h = h0;
          echelonner(w, h, r - 1);
        }
      } else {
        if (w > zl) {
          if (!Proportion(zl, 100, w, r)) return;
          echelonner(w, h, r - 1);
        }
        if (pleinePage_ && zh < h) {
          if (!Proportion(zh, 100, h, r)) return;
          echelonner(w, h, r - 1);
        } else if (zh < h) {
          if (!Proportion(zl - TScreen::kLargeurBarreDefilement, 100, w0, r)) return;
          w = w0, h = h0;
          echelonner(w, h, r - 1);
        }
      }
      if (!Proportion(largeurPage, 100, w, echelle)) return;
    }
  } else {
    zoom = 100;
  }
  surApercu_ = true;
  echelle_ = echelle;
  zoom_ = zoom;
  if (zone_) {
    apercu_->SetBounds(0, 0, w, h);
    canvasApercu_.FillRect({0, 0, w, h});
  }
  apercu_->Picture.Redimensionner(std::max(0, w), std::max(0, h));
}
