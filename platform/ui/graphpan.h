// A panel that publishes its canvas and an OnPaint event raised after it has painted itself.
#pragma once

#include "platform/gui/ControlesStandard.h"

class TGraphicPanel : public TPanel {
 public:
  explicit TGraphicPanel(TComponent* Owner) : TPanel(Owner) {}
  // The panel's canvas: measurements in the panel's font; while painting, the canvas painted on.
  TCanvas& Canvas() { return peinture_ ? *peinture_ : mesure_; }
  TNotifyEvent OnPaint;
  void Paint(TCanvas& C) override;

 private:
  TCanvasEnregistreur mesure_;
  TCanvas* peinture_ = nullptr;
};
