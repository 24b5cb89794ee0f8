// The paper sizes and paper bins a report may ask of a printer, with the driver codes they map to;
// the settings a printer is driven with and the page geometry they give; the printer settings a
// report stores; and the conversion of report positions (tenths of a millimetre) into device units.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/gui/Papiers.h"
#include "platform/gui/Printers.h"
#include "platform/gui/Spouleur.h"

enum class TRBPaperSize : uint8_t {
  Default, Letter, LetterSmall, Tabloid, Ledger, Legal, Statement, Executive, A3, A4, A4Small, A5, B4, B5,
  Folio, Quarto, rb10X14, rb11X17, Note, Env9, Env10, Env11, Env12, Env14, CSheet, DSheet, ESheet, EnvDL,
  EnvC5, EnvC3, EnvC4, EnvC6, EnvC65, EnvB4, EnvB5, EnvB6, EnvItaly, EnvMonarch, EnvPersonal, FanfoldUSStd,
  FanfoldGerStd, FanfoldGerLegal, B4ISO, PostcardJap, rb9X11, rb10X11, rb15X11, EnvInvite, Reserved1,
  Reserved2, LetterExtra, LegalExtra, TabloidExtra, A4Extra, LetterTrans, A4Trans, LetterExtraTrans,
  SuperASuperAA4, SuperBSuperBA3, LetterPlus, A4Plus, A5Trans, B5Trans, A3Extra, A5Extra, B5Extra, A2,
  A3Trans, A3ExtraTrans, Custom
};
constexpr int kPaperSizeCount = 70;

// A named sheet in millimetres, portrait.
using TRBPaperDimensions = Papiers::TDimensions;

// The sheet of a named size; none for Default and Custom, whose sheet is measured or given.
std::optional<TRBPaperDimensions> PaperDimensions(TRBPaperSize Size);
// The driver's paper code: the value itself, 256 for Custom.
int32_t PaperCode(TRBPaperSize Size);
// The size with that driver code; Default when no size has it.
TRBPaperSize PaperFromCode(int32_t Code);

enum class TRBBin : uint8_t {
  First, Upper, Lower, Middle, Manual, Envelope, EnvManual, Auto, Tractor, SmallFormat, LargeFormat,
  LargeCapacity, Cassette, Last
};
constexpr int kBinCount = 14;

// The driver's paper source code of a bin.
int32_t BinCode(TRBBin Bin);
// The first bin with that driver code (14 reads as Cassette); First when no bin has it.
TRBBin BinFromCode(int32_t Code);

// Device units per tenth of a millimetre at a resolution in dots per inch.
double DotsPerTenth(int32_t DotsPerInch);
// The factor of a device: its dots per inch / 254, or the factor of a 96-dot screen (0.37795) when
// the device reports less than 25.4 dots per inch.
double DeviceDotsPerTenth(int32_t DotsPerInch);
constexpr double kScreenDotsPerTenth = 0.37795;

// Rounds to the nearest integer, halves to the even neighbour.
int32_t RoundHalfEven(double Value);

class TPrinterSettings;
// A handler that sees (and may change) the device mode before the settings read or write it; setting
// Cancel leaves the settings, or the device, as they are.
using TRBPrinterEvent = std::function<void(TPrinterSettings& Sender, bool& Cancel, TDeviceMode& Mode)>;

// The settings a printer is driven with: the values, their defaults and the geometry they give, and
// their exchange with a platform printer's device mode (ReadFromDevice, WriteToDevice).
class TPrinterSettings {
 public:
  // The chosen printer's names, the driver's cut to 63 characters.
  std::string DeviceName;
  std::string DriverName;
  std::string PortName;
  int32_t Copies = 0;
  bool Duplex = false;
  bool PrintMetaFile = false;
  bool UseStandardprinter = false;
  bool ExtendedDuplexSwitch = false;
  int32_t ExtendedDuplex = 0;
  bool UseCustomBinCode = false;
  int32_t CustomBinCode = 0;
  int32_t PrintQuality = 0;
  int32_t Collate = 0;
  int32_t ColorOption = 0;
  int32_t MemoryLimit = 250000;
  bool UseCustomPaperCode = false;
  int32_t CustomPaperCode = 0;
  uint8_t Orientation = 0;  // 0 portrait, 1 landscape
  TRBBin OutputBin = TRBBin::First;
  TRBPaperSize PaperSize = TRBPaperSize::A4;
  std::array<bool, kPaperSizeCount - 1> SupportedPapers{};  // sizes 1 to 69
  int32_t SheetWidth = 0;  // tenths of a millimetre, measured from the device
  int32_t SheetLength = 0;
  int32_t ResolutionX = 0;  // dots per inch
  int32_t ResolutionY = 0;
  int32_t UnprintableTop = 0;  // tenths of a millimetre
  int32_t UnprintableLeft = 0;
  std::string JobTitle;

  // The sheet as the device sees it, in tenths of a millimetre: a named size's table dimension
  // times 10, rounded; the measured sheet for Default and Custom.
  int32_t PaperWidth() const;
  int32_t PaperLength() const;
  // The same exchanged in landscape.
  int32_t PageWidth() const;
  int32_t PageHeight() const;

  // Whether the device supports a size (1 to 69); false for Default.
  bool Supports(TRBPaperSize Size) const;

  TRBPrinterEvent OnGetPrinterSettings;
  TRBPrinterEvent OnApplyPrinterSettings;

  // The device mode of the chosen printer, none without one.
  std::optional<TDeviceMode> DeviceModeData;

  // Setters that take the value only when the device mode announces the matching field; each says
  // whether it took the value.
  bool SetCopies(int32_t Value);
  bool SetOrientation(uint8_t Value);
  bool SetDuplex(bool Value);
  bool SetOutputBin(TRBBin Value);
  // Taken when the device supports the size; Default is stored even then, and the answer is false.
  bool SetPaperSize(TRBPaperSize Value);

  // Whether a device mode exists and announces every field of Fields.
  static bool HasCapability(const TDeviceMode* Mode, uint32_t Fields);

  // The platform printer the settings read and write (not owned), or none.
  TPrinter* Device() const { return device_; }
  // Keeps the printer and, when the platform lists printers, reads the settings from it.
  void SetDevice(TPrinter* Printer);
  // Reads the chosen printer's names, device mode and metrics into the settings (nothing without a
  // device). The device mode is kept in DeviceModeData.
  void ReadFromDevice();
  // Writes the settings into the chosen printer's device mode and hands it back to the printer
  // (nothing without a device or a device mode, or when OnApplyPrinterSettings cancels).
  void WriteToDevice();

  // Takes the settings from a device's mode and metrics, unless OnGetPrinterSettings cancels.
  void ReadFromDeviceMode(TDeviceMode& Mode, const TDeviceMetrics& Metrics);
  // Writes the settings into a device mode; false when OnApplyPrinterSettings cancels, in which case
  // the device keeps its own mode.
  bool WriteToDeviceMode(TDeviceMode& Mode);

 private:
  TPrinter* device_ = nullptr;
};

// The printer settings a report stores, with their values at creation.
class TRBPrinterSettings {
 public:
  int32_t Copies = 1;
  bool Duplex = false;
  TRBBin OutputBin = TRBBin::Auto;
  int32_t FirstPage = 0;  // 0: all pages
  int32_t LastPage = 0;
  int32_t PrinterNumber = -1;  // the current printer
  int32_t MemoryLimit = 250000;
  std::string Title;
  uint8_t PaperSize = 1;
};

// The conversion part of a report's render target: positions in tenths of a millimetre into device
// units, relative to the device's unprintable offsets.
struct TRBDeviceConversion {
  double DotsPerTenthX = kScreenDotsPerTenth;
  double DotsPerTenthY = kScreenDotsPerTenth;
  int32_t UnprintableLeft = 0;
  int32_t UnprintableTop = 0;

  int32_t ToDeviceX(int32_t X) const { return RoundHalfEven((X - UnprintableLeft) * DotsPerTenthX); }
  int32_t ToDeviceWidth(int32_t W) const { return RoundHalfEven(W * DotsPerTenthX); }
  int32_t ToDeviceY(int32_t Y) const { return RoundHalfEven((Y - UnprintableTop) * DotsPerTenthY); }
  int32_t ToDeviceHeight(int32_t H) const { return RoundHalfEven(H * DotsPerTenthY); }
};

// The paper of a loaded page file, guessed from the size of its first page's metafile (device units
// at DotsPerTenthX, which measures both sides) in steps of 4 millimetres: each of the sizes Letter to
// ESheet, in order, whose sheet falls in the same steps is handed to Take, in portrait (orientation 0)
// or turned (1). The caller applies them as its device accepts them, so a later match overrides an
// earlier one.
void GuessPaperOfPage(int32_t MetafileWidth, int32_t MetafileHeight, double DotsPerTenthX,
                      const std::function<void(TRBPaperSize Size, uint8_t Orientation)>& Take);
