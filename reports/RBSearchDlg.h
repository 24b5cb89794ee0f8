// The small dialog of the preview window that asks for the text to search in the pages.
#pragma once

#include <string>

#include "platform/gui/ControleEdition.h"
#include "platform/gui/ControlesApercu.h"
#include "platform/gui/Fiches.h"

class TSearchDlg : public TForm {
 public:
  explicit TSearchDlg(TComponent* Owner);

  TEdit* Edit1;
  TLabel* Label1;
  TCheckBox* CheckBox1;
  TBitBtn* SpeedButton1;  // cancel
  TBitBtn* SpeedButton2;  // search
  // Set by the cancel button; a dialog closed otherwise leaves it false.
  bool Cancelled = false;

  // Shows the dialog modally; afterwards SearchText and MatchCase hold what the user gave.
  void Execute();
  std::string SearchText;
  bool MatchCase = false;

  void FormShow(TComponent* Sender);
  void SpeedButton1Click(TComponent* Sender);
  void SpeedButton2Click(TComponent* Sender);
};
