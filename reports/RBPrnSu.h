// The print dialog of the report library: the system print dialog (the platform's provider) run
// with the application's other windows disabled, returning besides the usual choices the paper,
// bin, quality, colour, duplex and collation the user set in the printer's properties.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/gui/Controles.h"
#include "platform/gui/Printers.h"
#include "reports/RBPrinterSettings.h"

class TRBCommonDialog : public TComponent {
 public:
  explicit TRBCommonDialog(TComponent* Owner) : TComponent(Owner) {}
  bool Ctl3D = true;
  int32_t HelpContext = 0;
  // Around the dialog: when it shows and when it goes.
  TNotifyEvent OnClose;
  TNotifyEvent OnShow;

  // Runs DialogFunction with the application's other windows disabled; they are enabled again
  // afterwards, also when it raises. The function's answer.
  virtual bool RunModal(const std::function<bool()>& DialogFunction);
  virtual bool Execute() = 0;
};

class TRBBasePrintDialog : public TRBCommonDialog {
 public:
  // On the platform's shared printer.
  explicit TRBBasePrintDialog(TComponent* Owner);
  TPrinter* Printer;
  std::string Device, Driver, Port;
};

// Print ranges and options.
enum TRBPrintRange : uint8_t { prAllPages = 0, prSelection = 1, prPageNums = 2 };
enum : uint8_t { poPrintToFile = 1, poPageNums = 2, poSelection = 4, poWarning = 8, poHelp = 16, poDisablePrintToFile = 32 };

class TRBPrintDialog : public TRBBasePrintDialog {
 public:
  using TRBBasePrintDialog::TRBBasePrintDialog;

  int32_t FromPage = 0;
  int32_t ToPage = 0;
  bool Collate = false;
  uint8_t Options = 0;
  bool PrintToFile = false;
  TRBPrintRange PrintRange = prAllPages;
  int32_t MinPage = 0;
  int32_t MaxPage = 0;
  int32_t Copies() const { return copies_; }
  // Stores the count and sets it in the printer's device mode.
  void SetCopies(int32_t Value);
  int32_t PrintQuality = 0;
  int32_t ColorOption = 0;
  int32_t OutputBin = 0;
  int32_t PaperSize = 0;
  bool Duplex = false;
  int32_t Paperwidth = 0;
  double Paperlength = 0;
  int16_t Orientation = 1;  // the device mode's: 1 portrait, 2 landscape
  int32_t DuplexCode = 0;
  // The fields the returned device mode announced.
  uint32_t DeviceModeFields = 0;

  // Runs the system print dialog: false when cancelled (nothing changes); accepted, the printer
  // takes the chosen device and mode and the choices are read back.
  bool Execute() override;

 private:
  int32_t copies_ = 1;
};

namespace RBPrnSu {

// The bin whose driver code equals Code (256 taken off codes above 255), the first match winning;
// none when no bin has it.
bool BinOfDialogCode(int32_t Code, TRBBin& Bin);

}  // namespace RBPrnSu
