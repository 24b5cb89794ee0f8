#include <gtest/gtest.h>

#include <tuple>

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
