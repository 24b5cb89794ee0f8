// The drawing destination: a non-visual component that tells drawing code where to draw, on the
// printer's canvas or on the canvas of a preview picture sized to fit a visible area at a zoom
// factor. Main thread only.
#pragma once

#include <cstdint>

#include "platform/gui/ControlesStandard.h"

class TVokCanvasDestination : public TComponent {
 public:
  explicit TVokCanvasDestination(TComponent* Owner);

  // Where to draw: the printer's canvas (after creation and with SurImprimante) or the preview's.
  TCanvas& Canvas();
  // How many hundredths of a printer pixel one preview pixel stands for.
  int32_t Echelle() const { return echelle_; }

  bool SurImprimante() const { return surImprimante_; }
  bool SurEmail() const { return surEmail_; }
  bool AvecZoom() const { return avecZoom_; }
  bool PleinePage() const { return pleinePage_; }
  uint32_t Zoom() const { return zoom_; }
  // Each stores a different value and recomputes the destination.
  void SetSurImprimante(bool Valeur);
  void SetSurEmail(bool Valeur);
  void SetAvecZoom(bool Valeur);
  void SetPleinePage(bool Valeur);
  void SetZoom(uint32_t Valeur);

  // The preview picture and the control whose size bounds it; the caller keeps them alive while
  // they are set, and recomputes.
  TImage* Apercu() const { return apercu_; }
  void SetApercu(TImage* Image) { apercu_ = Image; }
  TControl* ZoneVisible() const { return zone_; }
  void SetZoneVisible(TControl* Zone) { zone_ = Zone; }
  // The canvas drawing on the preview: it records.
  TCanvasEnregistreur& CanvasApercu() { return canvasApercu_; }

  // Recomputes the destination canvas, the scale and the preview's size from the printer's page.
  void Recalculer();

 private:
  bool surApercu_ = false;
  TImage* apercu_ = nullptr;
  TControl* zone_ = nullptr;
  TCanvasEnregistreur canvasApercu_;
  int32_t echelle_ = 100;
  uint32_t zoom_ = 90;
  bool avecZoom_ = false;
  bool pleinePage_ = false;
  bool surImprimante_ = false;
  bool surEmail_ = false;
};
