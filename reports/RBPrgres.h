// The window a report shows while it prints: a gauge, the percentage and a Cancel button. It follows
// the progress that its render target announces.
#pragma once

#include "platform/gui/ControlesStandard.h"
#include "platform/gui/Fiches.h"
#include "reports/RBPrinter.h"

class TRBProgressForm : public TForm, public TRBPrinterReceiver {
 public:
  explicit TRBProgressForm(TComponent* Owner);

  TProgressBar* Gauge;
  TLabel* Info;
  TBitBtn* CancelButton;
  // The render target whose progress the window shows.
  TRBPrinter* Target = nullptr;

  // The progress message: a multiple of 5 moves the gauge and shows "45%  Completed"; then the
  // pending window messages are handled so that the window repaints and Cancel can be pressed.
  void RecevoirMessage(uint32_t Message, intptr_t Parameter) override;
  void CancelButtonClick(TComponent* Sender);
};
