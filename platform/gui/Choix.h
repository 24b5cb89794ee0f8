// The platform's group box and radio button. A group box frames its children under its caption; a
// radio button is checked by a click (or its accelerator), which unchecks the other radio buttons of
// the same parent and raises OnClick. Main thread only.
#pragma once

#include "platform/gui/ControlesStandard.h"

class TGroupBox : public TCustomControl {
 public:
  explicit TGroupBox(TComponent* Owner);
  // The children stand inside the frame, under the caption's line.
  void AdjustClientRect(TRect& R) const override;
  void Paint(TCanvas& C) override;
};

class TRadioButton : public TWinControl {
 public:
  explicit TRadioButton(TComponent* Owner);
  bool Checked() const { return checked_; }
  // Checking unchecks the other radio buttons of the parent; it raises no event.
  void SetChecked(bool Valeur);
  // A click checks the button and raises OnClick.
  void Click() override;
  void MouseUp(TMouseButton Bouton, uint8_t Shift, int X, int Y) override;
  bool DialogChar(char Caractere) override;
  void Paint(TCanvas& C) override;

 private:
  bool checked_ = false;
};
