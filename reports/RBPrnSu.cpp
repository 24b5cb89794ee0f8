#include "reports/RBPrnSu.h"

#include "platform/gui/DialoguesImpression.h"
#include "platform/gui/Fiches.h"
#include "reports/BandRpt.h"

bool TRBCommonDialog::RunModal(const std::function<bool()>& DialogFunction) {
  const TListeFenetres disabled = DisableTaskWindows(nullptr);
  struct Restore {
    const TListeFenetres& l;
    ~Restore() { EnableTaskWindows(l); }
  } restore{disabled};
  if (OnShow) OnShow(this);
  const bool answer = DialogFunction();
  if (OnClose) OnClose(this);
  return answer;
}

TRBBasePrintDialog::TRBBasePrintDialog(TComponent* Owner) : TRBCommonDialog(Owner), Printer(&Printers::Printer()) {}

void TRBPrintDialog::SetCopies(int32_t Value) {
  copies_ = Value;
  if (Printer->Printers().empty()) return;
  std::string device, driver, port;
  TDeviceMode* mode = nullptr;
  Printer->GetPrinter(device, driver, port, mode);
  if (mode != nullptr) mode->Copies = static_cast<int16_t>(Value);
}

bool TRBPrintDialog::Execute() {
  TDialogueImpression d;
  const bool printers = !Printer->Printers().empty();
  if (printers) {
    TDeviceMode* mode = nullptr;
    Printer->GetPrinter(Device, Driver, Port, mode);
    if (mode != nullptr) d.Mode = *mode;
  }
  d.Peripherique = Device;
  d.Pilote = Driver;
  d.Port = Port;
  if (d.Mode) {
    d.Mode->Orientation = Orientation;
    d.Mode->Fields |= TDeviceMode::kOrientation;
  }
  d.MinPage = MinPage;
  d.MaxPage = MaxPage;
  d.FromPage = FromPage;
  d.ToPage = ToPage;
  d.Etendue = PrintRange;
  d.Copies = copies_;
  d.Collate = Collate;
  d.PrintToFile = PrintToFile;
  d.OffrirFichier = (Options & poPrintToFile) != 0;
  d.PageNumbers = (Options & poPageNums) != 0;
  d.Selection = (Options & poSelection) != 0;
  d.FichierDesactive = (Options & poDisablePrintToFile) != 0;
  d.Aide = (Options & poHelp) != 0;
  d.Avertissement = (Options & poWarning) != 0;

  if (!RunModal([&] { return DialoguesImpression::Executer(d); })) return false;

  // The chosen device keeps the driver and port of the current printer.
  if (printers && !d.Peripherique.empty())
    Printer->SetPrinter(d.Peripherique, Driver, Port, d.Mode ? &*d.Mode : nullptr);
  PrintToFile = d.PrintToFile;
  PrintRange = d.Etendue == DialoguesImpression::kSelection   ? prSelection
               : d.Etendue == DialoguesImpression::kNumerosDePage ? prPageNums
                                                                  : prAllPages;
  FromPage = d.FromPage;
  ToPage = d.ToPage;
  // A driver that makes the copies itself leaves 1 in the dialog and its count in the device mode.
  if (d.Copies == 1 && d.Mode && (d.Mode->Fields & TDeviceMode::kCopies) != 0) copies_ = d.Mode->Copies;
  else copies_ = d.Copies;
  if (d.Mode) {
    const TDeviceMode& m = *d.Mode;
    DeviceModeFields = m.Fields;
    OutputBin = m.DefaultSource;
    PaperSize = m.PaperSize;
    Paperwidth = m.PaperWidth;
    Paperlength = m.PaperLength;
    Orientation = m.Orientation;
    PrintQuality = m.PrintQuality;
    ColorOption = m.Color;
    DuplexCode = m.Duplex;
    Duplex = DuplexCode != 1;
    Collate = m.Collate != 0;
  } else {
    Collate = d.Collate;
  }
  return true;
}

namespace RBPrnSu {

bool BinOfDialogCode(int32_t Code, TRBBin& Bin) {
  if (Code > 255) Code -= 256;
  for (int b = 0; b < kBinCount; ++b)
    if (BinCode(static_cast<TRBBin>(b)) == Code) {
      Bin = static_cast<TRBBin>(b);
      return true;
    }
  return false;
}

}  // namespace RBPrnSu

void TCustomBandRep::ChoosePrinter() {
  TRBPrintDialog dialog(nullptr);
  TPrinter& printer = Printers::Printer();
  const bool printers = !printer.Printers().empty();
  const int index = printers ? printer.PrinterIndex() : -1;
  PrinterSettings.PrinterNumber = index;
  dialog.MinPage = 0;
  dialog.MaxPage = 9999;
  if (RenderTarget != nullptr && RenderTarget->Status() == TRBPrinter::StatusComplete) {
    dialog.MinPage = 1;
    dialog.MaxPage = RenderTarget->PageCount();
    dialog.FromPage = 1;
    dialog.ToPage = RenderTarget->PageCount();
    dialog.PrintRange = prPageNums;
  }
  dialog.Options = poPageNums | poWarning;
  dialog.Orientation = Page.Orientation() == 1 ? TDeviceMode::kLandscape : TDeviceMode::kPortrait;
  dialog.SetCopies(PrinterSettings.Copies);
  if (!dialog.Execute()) {
    Tag = 1;
    return;
  }
  const int chosen = printers ? printer.PrinterIndex() : -1;
  PrinterSettings.Copies = dialog.Copies();
  PrinterSettings.PrinterNumber = chosen;
  Page.SetOrientation(dialog.Orientation == TDeviceMode::kLandscape ? 1 : 0);
  TBandRepPrinterSettings& last = LastDialogSettings;
  last.CustomBinCode = dialog.OutputBin;
  last.ExtendedDuplex = dialog.DuplexCode;
  last.PrintQuality = dialog.PrintQuality;
  last.Collate = dialog.Collate ? 1 : 0;
  last.ColorOption = dialog.ColorOption;
  last.Copies = dialog.Copies();
  last.Orientation = dialog.Orientation == TDeviceMode::kLandscape ? 1 : 0;
  last.FirstPage = dialog.FromPage;
  last.LastPage = dialog.ToPage;
  last.OutputBin = PrinterSettings.OutputBin;
  TRBBin bin;
  if (RBPrnSu::BinOfDialogCode(dialog.OutputBin, bin)) last.OutputBin = bin;
  last.CustomPaperCode = dialog.PaperSize;
  last.PrinterNumber = chosen;
  last.Duplex = dialog.Duplex;
  if (dialog.PrintRange == prPageNums) {
    PrinterSettings.FirstPage = dialog.FromPage;
    PrinterSettings.LastPage = dialog.ToPage;
  } else {
    PrinterSettings.FirstPage = PrinterSettings.LastPage = 0;
  }
  Tag = 0;
  // Without a render target there is nothing to hand the settings to yet: a run transfers them.
  if (RenderTarget != nullptr) TransferPrinterSettings();
}
