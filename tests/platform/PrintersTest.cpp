// The platform's printer object over a scripted spooler: its list on both families, the default
// printer, the choice of a printer and its device mode, documents page by page, and its errors.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gui/Printers.h"

namespace {

TImprimanteScriptee Printer(const std::string& Name, const std::string& Ports, int16_t Copies) {
  TImprimanteScriptee i;
  i.Nom = Name;
  i.Ports = Ports;
  i.Mode.Fields = TDeviceMode::kCopies;
  i.Mode.Copies = Copies;
  i.Metriques.DotsPerInchX = i.Metriques.DotsPerInchY = 300;
  return i;
}

struct Installed {
  TSpouleurScripte Spooler;
  TSpouleur* before;
  Installed() {
    Spooler.Imprimantes = {Printer("Laser", "LPT1:, FILE:", 2), Printer("Jet", "USB1:", 3)};
    Spooler.ParDefaut = "Jet";
    before = Spouleur::Installer(&Spooler);
  }
  ~Installed() { Spouleur::Installer(before); }
};

std::string MessageOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const EPrinter& e) {
    return e.Message();
  }
  return "no error";
}

}  // namespace

TEST(Printers, TheListOnBothFamiliesAndTheDefaultPrinter) {
  Installed s;
  TPrinter nt;
  EXPECT_EQ(nt.Printers(), (std::vector<std::string>{"Laser", "Jet"}));
  EXPECT_EQ(nt.PrinterIndex(), 1);
  s.Spooler.NT = false;
  TPrinter older;
  EXPECT_EQ(older.Printers(), (std::vector<std::string>{"Laser on LPT1:", "Laser on FILE:", "Jet on USB1:"}));
  EXPECT_EQ(older.PrinterIndex(), 2);
  std::string device, driver, port;
  TDeviceMode* mode = nullptr;
  older.GetPrinter(device, driver, port, mode);
  EXPECT_EQ(device, "Jet");
  EXPECT_EQ(port, "USB1:");
  ASSERT_NE(mode, nullptr);
  EXPECT_EQ(mode->Copies, 3);
}

TEST(Printers, ChoosingAPrinterAndItsDeviceMode) {
  Installed s;
  TPrinter p;
  p.SetPrinterIndex(0);
  std::string device, driver, port;
  TDeviceMode* mode = nullptr;
  p.GetPrinter(device, driver, port, mode);
  EXPECT_EQ(device, "Laser");
  EXPECT_EQ(mode->Copies, 2);
  mode->Copies = 5;  // the mode belongs to the printer: what it prints uses it
  EXPECT_EQ(p.Metrics().DotsPerInchX, 300);
  EXPECT_EQ(s.Spooler.DernierMode->Copies, 5);
  // Chosen again by index, the printer's default mode comes back.
  p.SetPrinterIndex(0);
  p.GetPrinter(device, driver, port, mode);
  EXPECT_EQ(mode->Copies, 2);
  // A device not in the list is added.
  TDeviceMode given;
  given.Copies = 9;
  p.SetPrinter("Plotter", "drv", "COM1:", &given);
  EXPECT_EQ(p.Printers().back(), "Plotter on COM1:");
  EXPECT_EQ(p.PrinterIndex(), 2);
  p.GetPrinter(device, driver, port, mode);
  EXPECT_EQ(mode->Copies, 9);
}

TEST(Printers, Errors) {
  Installed s;
  TPrinter p;
  EXPECT_EQ(MessageOf([&] { p.SetPrinterIndex(2); }), "Printer index out of range");
  EXPECT_EQ(MessageOf([&] { p.SetPrinterIndex(-5); }), "Printer index out of range");
  EXPECT_EQ(MessageOf([&] { p.NewPage(); }), "Printer is not currently printing");
  EXPECT_EQ(MessageOf([&] { p.EndDoc(); }), "Printer is not currently printing");
  p.BeginDoc();
  EXPECT_EQ(MessageOf([&] { p.BeginDoc(); }), "Printing in progress");
  EXPECT_EQ(MessageOf([&] { p.SetPrinterIndex(0); }), "Printing in progress");
  EXPECT_EQ(MessageOf([&] { p.Refresh(); }), "Printing in progress");
  p.Abort();
  EXPECT_TRUE(p.Aborted());
  s.Spooler.EchecContexte = true;
  EXPECT_EQ(MessageOf([&] { p.BeginDoc(); }), "Printer selected is not valid");
  EXPECT_EQ(MessageOf([&] { p.Metrics(); }), "Printer selected is not valid");
  s.Spooler.ParDefaut = "";
  TPrinter none;
  EXPECT_EQ(MessageOf([&] { none.PrinterIndex(); }), "There is no default printer currently selected");
  s.Spooler.ParDefaut = "Unlisted";
  EXPECT_EQ(MessageOf([&] { none.PrinterIndex(); }), "There is no default printer currently selected");
}

TEST(Printers, ADocumentPageByPage) {
  Installed s;
  TPrinter p;
  p.Title = "Job";
  p.BeginDoc();
  EXPECT_TRUE(p.Printing());
  EXPECT_EQ(p.PageNumber(), 1);
  p.Canvas()->TextOut(1, 2, "one");
  p.NewPage();
  EXPECT_EQ(p.PageNumber(), 2);
  p.Canvas()->TextOut(1, 2, "two");
  p.EndDoc();
  EXPECT_FALSE(p.Printing());
  EXPECT_EQ(p.Canvas(), nullptr);
  ASSERT_EQ(s.Spooler.Documents.size(), 1u);
  EXPECT_EQ(s.Spooler.Documents[0].Titre, "Job");
  ASSERT_EQ(s.Spooler.Documents[0].Pages.size(), 2u);
  EXPECT_NE(s.Spooler.Documents[0].Pages[1].find("\"two\""), std::string::npos);
  {
    // A printer object freed while printing drops its document.
    TPrinter q;
    q.BeginDoc();
  }
  EXPECT_TRUE(s.Spooler.Documents.back().Abandonne);
  EXPECT_EQ(s.Spooler.ContextesOuverts(), 0);
}
