#include "reports/RBPrinterSettings.h"

#include <cfenv>
#include <cmath>
#include <limits>

#include "platform/gui/Messages.h"

namespace {


constexpr int32_t kBinCodes[kBinCount] = {1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14, 14};

}  // namespace

std::optional<TRBPaperDimensions> PaperDimensions(TRBPaperSize Size) {
  const int n = static_cast<int>(Size);
  if (n < 1 || n > 68) return std::nullopt;
  return Papiers::Dimensions(n);
}

int32_t PaperCode(TRBPaperSize Size) { return Size == TRBPaperSize::Custom ? 256 : static_cast<int32_t>(Size); }

TRBPaperSize PaperFromCode(int32_t Code) {
  for (int n = 0; n < kPaperSizeCount; ++n)
    if (PaperCode(static_cast<TRBPaperSize>(n)) == Code) return static_cast<TRBPaperSize>(n);
  return TRBPaperSize::Default;
}

int32_t BinCode(TRBBin Bin) { return kBinCodes[static_cast<int>(Bin)]; }

TRBBin BinFromCode(int32_t Code) {
  for (int n = 0; n < kBinCount; ++n)
    if (kBinCodes[n] == Code) return static_cast<TRBBin>(n);
  return TRBBin::First;
}

double DotsPerTenth(int32_t DotsPerInch) { return DotsPerInch / 254.0; }

double DeviceDotsPerTenth(int32_t DotsPerInch) {
  const double f = DotsPerTenth(DotsPerInch);
  return f < 0.1 ? kScreenDotsPerTenth : f;
}

int32_t RoundHalfEven(double Value) {
  // Out-of-range and undefined values are held at the ends of the range rather than converted.
  constexpr double lo = std::numeric_limits<int32_t>::min();
  constexpr double hi = std::numeric_limits<int32_t>::max();
  if (std::isnan(Value)) return 0;
  if (Value <= lo) return std::numeric_limits<int32_t>::min();
  if (Value >= hi) return std::numeric_limits<int32_t>::max();
  const int previous = std::fegetround();
  std::fesetround(FE_TONEAREST);
  const double r = std::nearbyint(Value);
  std::fesetround(previous);
  return static_cast<int32_t>(r);
}

// --- TPrinterSettings ----------------------------------------------------------------------------

int32_t TPrinterSettings::PaperWidth() const {
  if (auto d = PaperDimensions(PaperSize)) return RoundHalfEven(d->Width * 10);
  return SheetWidth;
}

int32_t TPrinterSettings::PaperLength() const {
  if (auto d = PaperDimensions(PaperSize)) return RoundHalfEven(d->Length * 10);
  return SheetLength;
}

int32_t TPrinterSettings::PageWidth() const { return Orientation == 1 ? PaperLength() : PaperWidth(); }

int32_t TPrinterSettings::PageHeight() const { return Orientation == 1 ? PaperWidth() : PaperLength(); }

bool TPrinterSettings::Supports(TRBPaperSize Size) const {
  const int n = static_cast<int>(Size);
  return n >= 1 && n < kPaperSizeCount && SupportedPapers[n - 1];
}

bool TPrinterSettings::HasCapability(const TDeviceMode* Mode, uint32_t Fields) {
  return Mode != nullptr && (Mode->Fields & Fields) == Fields;
}

namespace {

// Device units at a resolution as tenths of a millimetre; a device without a resolution measures 0.
int32_t DeviceToTenths(int32_t Units, int32_t DotsPerInch) {
  if (DotsPerInch <= 0) return 0;
  return RoundHalfEven(static_cast<double>(Units) / DotsPerInch * 254);
}

int16_t ToField(int32_t Value) {
  if (Value > INT16_MAX) return INT16_MAX;
  if (Value < INT16_MIN) return INT16_MIN;
  return static_cast<int16_t>(Value);
}

}  // namespace

void TPrinterSettings::ReadFromDeviceMode(TDeviceMode& Mode, const TDeviceMetrics& Metrics) {
  bool cancel = false;
  if (OnGetPrinterSettings) OnGetPrinterSettings(*this, cancel, Mode);
  if (cancel) return;
  ResolutionX = Metrics.DotsPerInchX;
  ResolutionY = Metrics.DotsPerInchY;
  Copies = HasCapability(&Mode, TDeviceMode::kCopies) ? Mode.Copies : 1;
  OutputBin = HasCapability(&Mode, TDeviceMode::kDefaultSource) ? BinFromCode(Mode.DefaultSource) : TRBBin::First;
  if (HasCapability(&Mode, TDeviceMode::kDuplex)) {
    Duplex = Mode.Duplex != 1;
    ExtendedDuplex = Mode.Duplex;
  }
  UnprintableLeft = DeviceToTenths(Metrics.PhysicalOffsetX, Metrics.DotsPerInchX);
  UnprintableTop = DeviceToTenths(Metrics.PhysicalOffsetY, Metrics.DotsPerInchY);
  PaperSize = HasCapability(&Mode, TDeviceMode::kPaperSize) ? PaperFromCode(Mode.PaperSize) : TRBPaperSize::Default;
  SheetWidth = DeviceToTenths(Metrics.PhysicalWidth, Metrics.DotsPerInchX);
  SheetLength = DeviceToTenths(Metrics.PhysicalHeight, Metrics.DotsPerInchY);
  SupportedPapers.fill(false);
  for (int32_t code : Metrics.PaperCodes) {
    const TRBPaperSize size = PaperFromCode(code);
    if (size != TRBPaperSize::Default) SupportedPapers[static_cast<int>(size) - 1] = true;
  }
  SupportedPapers[static_cast<int>(TRBPaperSize::Custom) - 1] = true;
  PrintQuality = Mode.PrintQuality;
  Collate = Mode.Collate;
  ColorOption = Mode.Color;
}

void TPrinterSettings::SetDevice(TPrinter* Printer) {
  device_ = Printer;
  if (device_ != nullptr && !device_->Printers().empty()) ReadFromDevice();
}

void TPrinterSettings::ReadFromDevice() {
  if (device_ == nullptr) return;
  Messages::TraiterMessagesEnAttente();
  TDeviceMode* mode = nullptr;
  device_->GetPrinter(DeviceName, DriverName, PortName, mode);
  if (mode == nullptr) {
    // Chosen again, the printer loads its driver's default mode.
    device_->SetPrinter(DeviceName, DriverName, PortName, nullptr);
    device_->GetPrinter(DeviceName, DriverName, PortName, mode);
  }
  DriverName = DeviceName.substr(0, 63);
  TDeviceMode none;
  TDeviceMode& m = mode != nullptr ? *mode : none;
  ReadFromDeviceMode(m, device_->Metrics());
  DeviceModeData = mode != nullptr ? std::optional<TDeviceMode>(*mode) : std::nullopt;
}

void TPrinterSettings::WriteToDevice() {
  if (device_ == nullptr) return;
  TDeviceMode* mode = nullptr;
  std::string device, driver, port;
  device_->GetPrinter(device, driver, port, mode);
  if (mode == nullptr) return;
  TDeviceMode m = *mode;
  if (!WriteToDeviceMode(m)) return;
  device_->SetPrinter(device, driver, port, &m);
  DeviceModeData = m;
}

bool TPrinterSettings::WriteToDeviceMode(TDeviceMode& Mode) {
  Mode.Fields |= TDeviceMode::kPaperLength | TDeviceMode::kPaperWidth;
  Mode.PaperLength = ToField(PaperLength());
  Mode.PaperWidth = ToField(PaperWidth());
  if (HasCapability(&Mode, TDeviceMode::kPaperSize) && PaperSize != TRBPaperSize::Default)
    Mode.PaperSize = ToField(UseCustomPaperCode ? CustomPaperCode : PaperCode(PaperSize));
  Mode.Fields |= TDeviceMode::kCopies | TDeviceMode::kDuplex | TDeviceMode::kDefaultSource | TDeviceMode::kOrientation;
  Mode.Copies = ToField(Copies);
  Mode.Duplex = ToField(ExtendedDuplex != 0 ? ExtendedDuplex : (Duplex ? 3 : 1));
  Mode.DefaultSource = ToField(UseCustomBinCode ? CustomBinCode : BinCode(OutputBin));
  Mode.Orientation = Orientation == 1 ? 2 : 1;
  Mode.Collate = ToField(Collate);
  bool cancel = false;
  if (OnApplyPrinterSettings) OnApplyPrinterSettings(*this, cancel, Mode);
  return !cancel;
}

void GuessPaperOfPage(int32_t MetafileWidth, int32_t MetafileHeight, double DotsPerTenthX,
                      const std::function<void(TRBPaperSize Size, uint8_t Orientation)>& Take) {
  if (!(DotsPerTenthX > 0)) return;
  const double wSteps = MetafileWidth / DotsPerTenthX / 40;
  const double hSteps = MetafileHeight / DotsPerTenthX / 40;
  if (!(std::fabs(wSteps) < 1e9 && std::fabs(hSteps) < 1e9)) return;
  const auto w = static_cast<int64_t>(wSteps);
  const auto h = static_cast<int64_t>(hSteps);
  for (int n = 1; n <= static_cast<int>(TRBPaperSize::ESheet); ++n) {
    const TRBPaperDimensions d = *Papiers::Dimensions(n);
    const auto W = static_cast<int64_t>(d.Width / 4);
    const auto H = static_cast<int64_t>(d.Length / 4);
    if (W == w && H == h) Take(static_cast<TRBPaperSize>(n), 0);
    if (W == h && H == w) Take(static_cast<TRBPaperSize>(n), 1);
  }
}

bool TPrinterSettings::SetCopies(int32_t Value) {
  if (!HasCapability(DeviceModeData ? &*DeviceModeData : nullptr, TDeviceMode::kCopies)) return false;
  Copies = Value;
  return true;
}

bool TPrinterSettings::SetOrientation(uint8_t Value) {
  if (!HasCapability(DeviceModeData ? &*DeviceModeData : nullptr, TDeviceMode::kOrientation)) return false;
  Orientation = Value;
  return true;
}

bool TPrinterSettings::SetDuplex(bool Value) {
  if (!HasCapability(DeviceModeData ? &*DeviceModeData : nullptr, TDeviceMode::kDuplex)) return false;
  Duplex = Value;
  return true;
}

bool TPrinterSettings::SetOutputBin(TRBBin Value) {
  if (!HasCapability(DeviceModeData ? &*DeviceModeData : nullptr, TDeviceMode::kDefaultSource)) return false;
  OutputBin = Value;
  return true;
}

bool TPrinterSettings::SetPaperSize(TRBPaperSize Value) {
  if (Supports(Value)) {
    PaperSize = Value;
    return true;
  }
  if (Value == TRBPaperSize::Default) PaperSize = Value;
  return false;
}
