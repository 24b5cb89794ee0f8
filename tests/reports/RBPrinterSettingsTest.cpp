#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

#include "reports/RBPrinterSettings.h"

namespace {

using P = TRBPaperSize;

TEST(RBPaperSize, SheetsInTenthsOfAMillimetreFromTheTable) {
  // size, width, length (portrait)
  const std::tuple<P, int32_t, int32_t> cases[] = {
      {P::Letter, 2159, 2794},      {P::Ledger, 4318, 2794},   {P::A3, 2970, 4200},
      {P::A4, 2100, 2970},          {P::A4Small, 2100, 2970},  {P::B4, 2500, 3540},
      {P::Env9, 984, 2254},         {P::EnvPersonal, 920, 1651}, {P::ESheet, 8636, 11176},
      {P::EnvB6, 1760, 1250},       {P::EnvInvite, 2200, 2200}, {P::Reserved2, 1000, 1000},
      {P::TabloidExtra, 2969, 4572}, {P::LetterPlus, 2159, 3223}, {P::A2, 4200, 5940},
      {P::A3ExtraTrans, 4450, 3220},
  };
  for (const auto& [size, w, l] : cases) {
    TPrinterSettings s;
    s.PaperSize = size;
    EXPECT_EQ(s.PaperWidth(), w) << int(size);
    EXPECT_EQ(s.PaperLength(), l) << int(size);
    EXPECT_EQ(s.PageWidth(), w);
    s.Orientation = 1;
    EXPECT_EQ(s.PageWidth(), l) << int(size);
    EXPECT_EQ(s.PageHeight(), w) << int(size);
    EXPECT_EQ(s.PaperWidth(), w);  // the device's sheet does not turn
  }
}

TEST(RBPaperSize, A4LandscapePage) {
  TPrinterSettings s;
  EXPECT_EQ(s.PaperSize, P::A4);  // at creation
  s.Orientation = 1;
  EXPECT_EQ(s.PageWidth(), 2970);
  EXPECT_EQ(s.PageHeight(), 2100);
}

TEST(RBPaperSize, DefaultAndCustomUseTheMeasuredSheet) {
  for (P size : {P::Default, P::Custom}) {
    EXPECT_FALSE(PaperDimensions(size).has_value());
    TPrinterSettings s;
    s.PaperSize = size;
    s.SheetWidth = 2159;
    s.SheetLength = 3000;
    s.Orientation = 1;
    EXPECT_EQ(s.PaperWidth(), 2159);
    EXPECT_EQ(s.PaperLength(), 3000);
    EXPECT_EQ(s.PageWidth(), 3000);
    EXPECT_EQ(s.PageHeight(), 2159);
  }
  for (int n = 1; n <= 68; ++n) EXPECT_TRUE(PaperDimensions(static_cast<P>(n)).has_value()) << n;
}

TEST(RBPaperSize, DriverCodes) {
  EXPECT_EQ(kPaperSizeCount, 70);
  for (int n = 0; n <= 68; ++n) {
    EXPECT_EQ(PaperCode(static_cast<P>(n)), n);
    EXPECT_EQ(PaperFromCode(n), static_cast<P>(n));
  }
  EXPECT_EQ(PaperCode(P::Custom), 256);
  EXPECT_EQ(PaperFromCode(256), P::Custom);
  for (int32_t unknown : {69, 70, 255, 257, -1}) EXPECT_EQ(PaperFromCode(unknown), P::Default) << unknown;
}

TEST(RBBin, DriverCodesAndTheFirstBinOfACode) {
  const std::tuple<TRBBin, int32_t> cases[] = {
      {TRBBin::First, 1},        {TRBBin::Upper, 1},       {TRBBin::Lower, 2},       {TRBBin::Middle, 3},
      {TRBBin::Manual, 4},       {TRBBin::Envelope, 5},    {TRBBin::EnvManual, 6},   {TRBBin::Auto, 7},
      {TRBBin::Tractor, 8},      {TRBBin::SmallFormat, 9}, {TRBBin::LargeFormat, 10}, {TRBBin::LargeCapacity, 11},
      {TRBBin::Cassette, 14},    {TRBBin::Last, 14},
  };
  for (const auto& [bin, code] : cases) EXPECT_EQ(BinCode(bin), code) << int(bin);
  EXPECT_EQ(BinFromCode(1), TRBBin::First);
  EXPECT_EQ(BinFromCode(7), TRBBin::Auto);
  EXPECT_EQ(BinFromCode(14), TRBBin::Cassette);
  for (int32_t unknown : {0, 12, 13, 15, 256}) EXPECT_EQ(BinFromCode(unknown), TRBBin::First) << unknown;
}

TEST(RBDeviceConversion, OneInchAt600DotsPerInch) {
  TRBDeviceConversion c;
  c.DotsPerTenthX = DeviceDotsPerTenth(600);
  c.DotsPerTenthY = DeviceDotsPerTenth(600);
  EXPECT_EQ(c.ToDeviceWidth(254), 600);
  EXPECT_EQ(c.ToDeviceHeight(2540), 6000);
  c.UnprintableLeft = 127;
  c.UnprintableTop = 254;
  EXPECT_EQ(c.ToDeviceX(254), 300);
  EXPECT_EQ(c.ToDeviceY(254), 0);
  EXPECT_EQ(c.ToDeviceX(0), -300);
}

TEST(RBDeviceConversion, ScreenFactorAtCreationAndForAResolutionBelowTheLimit) {
  TRBDeviceConversion c;
  EXPECT_EQ(c.DotsPerTenthX, 0.37795);
  EXPECT_EQ(c.DotsPerTenthY, 0.37795);
  EXPECT_EQ(c.ToDeviceWidth(254), 96);
  EXPECT_EQ(DeviceDotsPerTenth(25), 0.37795);
  EXPECT_EQ(DeviceDotsPerTenth(0), 0.37795);
  EXPECT_EQ(DeviceDotsPerTenth(-300), 0.37795);
  EXPECT_DOUBLE_EQ(DeviceDotsPerTenth(26), 26 / 254.0);
  EXPECT_DOUBLE_EQ(DotsPerTenth(25), 25 / 254.0);
}

TEST(RBDeviceConversion, HalvesRoundToEven) {
  TRBDeviceConversion c;
  c.DotsPerTenthX = 0.5;
  c.DotsPerTenthY = 0.5;
  EXPECT_EQ(c.ToDeviceWidth(5), 2);
  EXPECT_EQ(c.ToDeviceWidth(7), 4);
  EXPECT_EQ(c.ToDeviceHeight(-5), -2);
  EXPECT_EQ(c.ToDeviceHeight(-7), -4);
  EXPECT_EQ(c.ToDeviceWidth(3), 2);
  EXPECT_EQ(RoundHalfEven(2.4999), 2);
  EXPECT_EQ(RoundHalfEven(1e12), INT32_MAX);
  EXPECT_EQ(RoundHalfEven(-1e12), INT32_MIN);
}

TEST(RBPrinterSettings, ValuesAtCreation) {
  TRBPrinterSettings r;
  EXPECT_EQ(r.Copies, 1);
  EXPECT_FALSE(r.Duplex);
  EXPECT_EQ(r.OutputBin, TRBBin::Auto);
  EXPECT_EQ(r.FirstPage, 0);
  EXPECT_EQ(r.LastPage, 0);
  EXPECT_EQ(r.PrinterNumber, -1);
  EXPECT_EQ(r.MemoryLimit, 250000);
  EXPECT_EQ(r.Title, "");
  EXPECT_EQ(r.PaperSize, 1);
  TPrinterSettings s;
  EXPECT_EQ(s.MemoryLimit, 250000);
  EXPECT_FALSE(s.Supports(P::Default));
  EXPECT_FALSE(s.Supports(P::A4));
  s.SupportedPapers[static_cast<int>(P::Custom) - 1] = true;
  EXPECT_TRUE(s.Supports(P::Custom));
}

}  // namespace

namespace {

TEST(RBPrinterSettings, ReadsTheDeviceModeAndMetrics) {
  TDeviceMode m;
  m.Fields = TDeviceMode::kCopies | TDeviceMode::kDefaultSource | TDeviceMode::kDuplex | TDeviceMode::kPaperSize;
  m.Copies = 3;
  m.DefaultSource = 14;
  m.Duplex = 2;
  m.PaperSize = 5;
  m.PrintQuality = -4;
  m.Collate = 1;
  m.Color = 2;
  TDeviceMetrics d;
  d.DotsPerInchX = 600;
  d.DotsPerInchY = 300;
  d.PhysicalOffsetX = 100;  // 4.23 mm
  d.PhysicalOffsetY = 30;   // 2.54 mm
  d.PhysicalWidth = 5100;   // 8.5 inches
  d.PhysicalHeight = 4200;  // 14 inches
  d.PaperCodes = {1, 9, 256, 300, 0};
  TPrinterSettings s;
  s.SupportedPapers[10] = true;  // replaced by the driver's list
  s.ReadFromDeviceMode(m, d);
  EXPECT_EQ(s.ResolutionX, 600);
  EXPECT_EQ(s.ResolutionY, 300);
  EXPECT_EQ(s.Copies, 3);
  EXPECT_EQ(s.OutputBin, TRBBin::Cassette);
  EXPECT_TRUE(s.Duplex);
  EXPECT_EQ(s.ExtendedDuplex, 2);
  EXPECT_EQ(s.UnprintableLeft, 42);
  EXPECT_EQ(s.UnprintableTop, 25);
  EXPECT_EQ(s.PaperSize, P::Legal);
  EXPECT_EQ(s.SheetWidth, 2159);
  EXPECT_EQ(s.SheetLength, 3556);
  EXPECT_EQ(s.PrintQuality, -4);
  EXPECT_EQ(s.Collate, 1);
  EXPECT_EQ(s.ColorOption, 2);
  for (int n = 1; n <= 69; ++n)
    EXPECT_EQ(s.Supports(static_cast<P>(n)), n == 1 || n == 9 || n == 69) << n;

  // Nothing announced: one copy, the first bin, the default paper; duplex left as it was.
  TDeviceMode bare;
  bare.Copies = 9;
  bare.PaperSize = 9;
  TDeviceMetrics none;  // no resolution: nothing measured rather than a division by zero
  none.PhysicalWidth = 5100;
  s.ReadFromDeviceMode(bare, none);
  EXPECT_EQ(s.Copies, 1);
  EXPECT_EQ(s.OutputBin, TRBBin::First);
  EXPECT_EQ(s.PaperSize, P::Default);
  EXPECT_TRUE(s.Duplex);
  EXPECT_EQ(s.SheetWidth, 0);
  EXPECT_EQ(s.UnprintableLeft, 0);
  EXPECT_TRUE(s.Supports(P::Custom));
  EXPECT_FALSE(s.Supports(P::A4));
}

TEST(RBPrinterSettings, AHandlerSeesTheModeAndMayCancelTheRead) {
  TDeviceMode m;
  m.Fields = TDeviceMode::kCopies;
  m.Copies = 4;
  TPrinterSettings s;
  s.OnGetPrinterSettings = [](TPrinterSettings&, bool& cancel, TDeviceMode& mode) {
    mode.Copies = 6;
    cancel = mode.Fields == 0;
  };
  s.ReadFromDeviceMode(m, {});
  EXPECT_EQ(s.Copies, 6);
  TDeviceMode bare;
  s.ReadFromDeviceMode(bare, {});
  EXPECT_EQ(s.Copies, 6);
}

TEST(RBPrinterSettings, WritesTheSettingsIntoTheDeviceMode) {
  TPrinterSettings s;
  s.PaperSize = P::A3;
  s.Orientation = 1;
  s.Copies = 2;
  s.Duplex = true;
  s.OutputBin = TRBBin::Cassette;
  s.Collate = 1;
  TDeviceMode m;
  m.Fields = TDeviceMode::kPaperSize;
  ASSERT_TRUE(s.WriteToDeviceMode(m));
  EXPECT_EQ(m.PaperWidth, 2970);
  EXPECT_EQ(m.PaperLength, 4200);
  EXPECT_EQ(m.PaperSize, 8);
  EXPECT_EQ(m.Copies, 2);
  EXPECT_EQ(m.Duplex, 3);
  EXPECT_EQ(m.DefaultSource, 14);
  EXPECT_EQ(m.Orientation, 2);
  EXPECT_EQ(m.Collate, 1);
  EXPECT_EQ(m.Fields, TDeviceMode::kPaperSize | TDeviceMode::kPaperLength | TDeviceMode::kPaperWidth |
                          TDeviceMode::kCopies | TDeviceMode::kDuplex | TDeviceMode::kDefaultSource |
                          TDeviceMode::kOrientation);

  // Custom codes, the driver's own duplex code, simplex and portrait.
  s.UseCustomPaperCode = true;
  s.CustomPaperCode = 260;
  s.UseCustomBinCode = true;
  s.CustomBinCode = 270;
  s.ExtendedDuplex = 2;
  s.Orientation = 0;
  ASSERT_TRUE(s.WriteToDeviceMode(m));
  EXPECT_EQ(m.PaperSize, 260);
  EXPECT_EQ(m.DefaultSource, 270);
  EXPECT_EQ(m.Duplex, 2);
  EXPECT_EQ(m.Orientation, 1);
  s.ExtendedDuplex = 0;
  s.Duplex = false;
  ASSERT_TRUE(s.WriteToDeviceMode(m));
  EXPECT_EQ(m.Duplex, 1);

  // A paper code is written only when the mode announces one, and never for Default.
  TDeviceMode noSize;
  noSize.PaperSize = 77;
  s.WriteToDeviceMode(noSize);
  EXPECT_EQ(noSize.PaperSize, 77);
  s.PaperSize = P::Default;
  s.SheetWidth = 2000;
  s.SheetLength = 40000;  // beyond the record's field: held at its largest value
  m.PaperSize = 77;
  s.WriteToDeviceMode(m);
  EXPECT_EQ(m.PaperSize, 77);
  EXPECT_EQ(m.PaperWidth, 2000);
  EXPECT_EQ(m.PaperLength, 32767);

  s.OnApplyPrinterSettings = [](TPrinterSettings&, bool& cancel, TDeviceMode&) { cancel = true; };
  EXPECT_FALSE(s.WriteToDeviceMode(m));
}

TEST(RBPrinterSettings, Capabilities) {
  TDeviceMode m;
  m.Fields = TDeviceMode::kCopies | TDeviceMode::kDuplex;
  EXPECT_TRUE(TPrinterSettings::HasCapability(&m, TDeviceMode::kCopies));
  EXPECT_TRUE(TPrinterSettings::HasCapability(&m, TDeviceMode::kCopies | TDeviceMode::kDuplex));
  EXPECT_FALSE(TPrinterSettings::HasCapability(&m, TDeviceMode::kCopies | TDeviceMode::kOrientation));
  EXPECT_FALSE(TPrinterSettings::HasCapability(nullptr, TDeviceMode::kCopies));
}

TEST(RBPaperGuess, APageOf210By297MillimetresEndsAsA4SmallInPortrait) {
  std::vector<std::pair<P, int>> taken;
  auto take = [&](P size, uint8_t o) { taken.emplace_back(size, o); };
  // 210 x 297 mm drawn at the screen factor.
  GuessPaperOfPage(RoundHalfEven(2100 * 0.37795), RoundHalfEven(2970 * 0.37795), 0.37795, take);
  EXPECT_EQ(taken, (std::vector<std::pair<P, int>>{{P::A4, 0}, {P::A4Small, 0}}));
  taken.clear();
  // Turned: the same sizes, in landscape.
  GuessPaperOfPage(RoundHalfEven(2970 * 0.37795), RoundHalfEven(2100 * 0.37795), 0.37795, take);
  EXPECT_EQ(taken, (std::vector<std::pair<P, int>>{{P::A4, 1}, {P::A4Small, 1}}));
  taken.clear();
  // Letter at 600 dots per inch: Letter, LetterSmall and Note; Ledger is Tabloid turned.
  const double f = 600 / 254.0;
  GuessPaperOfPage(5100, 6600, f, take);
  EXPECT_EQ(taken, (std::vector<std::pair<P, int>>{{P::Letter, 0}, {P::LetterSmall, 0}, {P::Note, 0}}));
  taken.clear();
  GuessPaperOfPage(RoundHalfEven(4318 * f), RoundHalfEven(2794 * f), f, take);
  EXPECT_EQ(taken, (std::vector<std::pair<P, int>>{
                       {P::Tabloid, 1}, {P::Ledger, 0}, {P::rb11X17, 1}}));
  taken.clear();
  // Sizes past ESheet are not looked at; no factor, no guess.
  GuessPaperOfPage(RoundHalfEven(1100 * f), RoundHalfEven(2200 * f), f, take);  // EnvDL
  GuessPaperOfPage(794, 1123, 0, take);
  EXPECT_TRUE(taken.empty());
}

}  // namespace
