// The render target and its settings on a printer: the settings read from and written to the
// printer's device mode, pages printed straight to the printer, the stored pages printed. The printer
// is a scripted spooler's, whose pages are recording canvases.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/data/DataSet.h"
#include "platform/gui/Fiches.h"
#include "platform/gui/Printers.h"
#include "reports/BandRpt.h"
#include "reports/RBCtrls.h"
#include "reports/RBPrinter.h"
#include "reports/RBPrev.h"
#include "tests/reports/PlacedControl.h"
#include "tests/reports/TemporaryRegistry.h"

namespace {

// A laser printer of 600 dots per inch on A4, with margins of 100 and 200 dots.
TImprimanteScriptee Laser(const std::string& Nom = "Laser") {
  TImprimanteScriptee i;
  i.Nom = Nom;
  i.Mode.Fields = TDeviceMode::kOrientation | TDeviceMode::kPaperSize | TDeviceMode::kCopies |
                  TDeviceMode::kDefaultSource | TDeviceMode::kDuplex | TDeviceMode::kPrintQuality |
                  TDeviceMode::kColor | TDeviceMode::kCollate;
  i.Mode.Orientation = TDeviceMode::kPortrait;
  i.Mode.PaperSize = 9;
  i.Mode.Copies = 2;
  i.Mode.DefaultSource = 4;
  i.Mode.Duplex = 2;
  i.Mode.PrintQuality = 600;
  i.Mode.Color = 1;
  i.Mode.Collate = 1;
  i.Metriques = {600, 600, 4761, 6816, 100, 200, 4961, 7016, {1, 9, 11, 256}};
  return i;
}

// Installs a scripted spooler for a test, the shared printer object refreshed around it.
struct ScriptedPrinters {
  TSpouleurScripte Spooler;
  TSpouleur* before;
  explicit ScriptedPrinters(std::vector<TImprimanteScriptee> Printers) {
    Spooler.Imprimantes = std::move(Printers);
    Spooler.ParDefaut = Spooler.Imprimantes.empty() ? "" : Spooler.Imprimantes.front().Nom;
    before = Spouleur::Installer(&Spooler);
    Printers::Printer().Refresh();
  }
  ~ScriptedPrinters() {
    Spouleur::Installer(before);
    Printers::Printer().Refresh();
  }
};

struct Recorder : TRBPrinterReceiver {
  std::vector<std::pair<uint32_t, intptr_t>> Seen;
  void RecevoirMessage(uint32_t Message, intptr_t Parameter) override { Seen.emplace_back(Message, Parameter); }
};

struct OwnerStub : TRBOwnerReport {
  bool Standard = false;
  bool KeepAborted = true;
  bool WantsProgress = false;
  Recorder Progress;
  int Shown = 0, Hidden = 0;
  bool UseStandardprinter() const override { return Standard; }
  int32_t MemoryLimit() const override { return 250000; }
  int32_t PageWidth() const override { return 2100; }
  int32_t PageLength() const override { return 2970; }
  bool KeepsAbortedPage() const override { return KeepAborted; }
  TRBPrinterReceiver* ShowProgressWindow(TRBPrinter&) override {
    if (!WantsProgress) return nullptr;
    ++Shown;
    return &Progress;
  }
  void HideProgressWindow(TRBPrinterReceiver* Window) override {
    EXPECT_EQ(Window, &Progress);
    ++Hidden;
  }
  TRBPrinterReceiver* Window() override { return nullptr; }
};

// Whether a recorded page holds a text.
bool Holds(const std::string& Page, const std::string& Text) { return Page.find("\"" + Text + "\"") != std::string::npos; }

// Builds a document of Pages pages, each with "Page n" at one inch from the top-left corner.
void Draw(TRBPrinter& p, int Pages) {
  p.BeginDocument();
  for (int n = 1; n <= Pages; ++n) {
    p.NewPage();
    if (p.PageCanvas() != nullptr) p.PageCanvas()->TextOut(p.ToDeviceX(254), p.ToDeviceY(254), "Page " + std::to_string(n));
  }
  p.EndDocument();
}

}  // namespace

TEST(RBPrinterDevice, SettingsReadFromThePrinter) {
  const std::string longName(70, 'P');
  ScriptedPrinters printers({Laser(longName)});
  TPrinter device;
  TPrinterSettings s;
  s.SetDevice(&device);
  EXPECT_EQ(s.DeviceName, longName);
  EXPECT_EQ(s.DriverName, longName.substr(0, 63));
  EXPECT_EQ(s.ResolutionX, 600);
  EXPECT_EQ(s.Copies, 2);
  EXPECT_EQ(s.OutputBin, TRBBin::Manual);
  EXPECT_TRUE(s.Duplex);
  EXPECT_EQ(s.ExtendedDuplex, 2);
  EXPECT_EQ(s.UnprintableLeft, 42);  // 100 / 600 x 254
  EXPECT_EQ(s.UnprintableTop, 85);
  EXPECT_EQ(s.PaperSize, TRBPaperSize::A4);
  EXPECT_EQ(s.SheetWidth, 2100);
  EXPECT_EQ(s.SheetLength, 2970);
  EXPECT_TRUE(s.Supports(TRBPaperSize::Letter));
  EXPECT_TRUE(s.Supports(TRBPaperSize::A5));
  EXPECT_FALSE(s.Supports(TRBPaperSize::A4Small));
  EXPECT_TRUE(s.Supports(TRBPaperSize::Custom));
  EXPECT_FALSE(s.Supports(TRBPaperSize::A3));
  EXPECT_EQ(s.PrintQuality, 600);
  EXPECT_EQ(s.Collate, 1);
  ASSERT_TRUE(s.DeviceModeData.has_value());
  EXPECT_TRUE(s.SetCopies(3));

  // A handler that cancels leaves the settings as they were.
  s.OnGetPrinterSettings = [](TPrinterSettings&, bool& Cancel, TDeviceMode&) { Cancel = true; };
  s.Copies = 7;
  s.ReadFromDevice();
  EXPECT_EQ(s.Copies, 7);
}

TEST(RBPrinterDevice, SettingsWrittenToThePrinter) {
  ScriptedPrinters printers({Laser()});
  TPrinter device;
  TPrinterSettings s;
  s.SetDevice(&device);
  s.Orientation = 1;
  s.Copies = 3;
  s.Duplex = true;
  s.ExtendedDuplex = 0;
  s.PaperSize = TRBPaperSize::A5;
  s.WriteToDevice();
  std::string name, driver, port;
  TDeviceMode* m = nullptr;
  device.GetPrinter(name, driver, port, m);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->Orientation, TDeviceMode::kLandscape);
  EXPECT_EQ(m->Copies, 3);
  EXPECT_EQ(m->Duplex, 3);
  EXPECT_EQ(m->PaperSize, 11);
  EXPECT_EQ(m->PaperWidth, 1480);
  EXPECT_EQ(m->PaperLength, 2100);
  EXPECT_EQ(m->DefaultSource, 4);
  // The printer's contexts are made in that mode: its metrics come exchanged in landscape.
  EXPECT_EQ(device.Metrics().PhysicalWidth, 7016);

  // A handler that cancels leaves the printer's mode as it was.
  s.OnApplyPrinterSettings = [](TPrinterSettings&, bool& Cancel, TDeviceMode&) { Cancel = true; };
  s.Copies = 9;
  s.WriteToDevice();
  device.GetPrinter(name, driver, port, m);
  EXPECT_EQ(m->Copies, 3);
}

TEST(RBPrinterDevice, PagesTwoAndThreeOfFivePrintStraightToThePrinter) {
  ScriptedPrinters printers({Laser()});
  TRBPrinter p;
  ASSERT_TRUE(p.HasPrinters());
  Recorder r;
  int afterPrint = 0;
  p.Receiver = &r;
  p.AfterPrintHandler = [&] { ++afterPrint; };
  p.Routing = TRBPrinter::RoutePrinter;
  p.FirstPage = 2;
  p.LastPage = 3;
  p.DocumentTitle = "Report";
  p.BeginDocument();
  EXPECT_EQ(p.ToDeviceWidth(254), 600);
  EXPECT_EQ(p.UnprintableLeft, 42);
  EXPECT_EQ(p.ToDeviceX(254), RoundHalfEven((254 - 42) * 600 / 254.0));
  p.EndDocument();
  p.Cleanup();
  Draw(p, 5);
  ASSERT_EQ(printers.Spooler.Documents.size(), 1u);
  const TDocumentScripte& d = printers.Spooler.Documents[0];
  EXPECT_EQ(d.Titre, "Report");
  EXPECT_TRUE(d.Termine);
  ASSERT_EQ(d.Pages.size(), 2u);
  EXPECT_TRUE(Holds(d.Pages[0], "Page 2"));
  EXPECT_TRUE(Holds(d.Pages[1], "Page 3"));
  EXPECT_FALSE(Holds(d.Pages[1], "Page 4"));
  // One inch less the margins (4.2 and 8.5 mm), in device units.
  EXPECT_NE(d.Pages[0].find("Text 501,399 "), std::string::npos) << d.Pages[0];
  EXPECT_EQ(afterPrint, 2);
  EXPECT_EQ(r.Seen.back(), (std::pair<uint32_t, intptr_t>{kRBMessagePagesAvailable, 5}));
  EXPECT_EQ(p.Pages().PagesStored(), 0);  // nothing goes to the store
  // So printing that document again prints nothing (not five blank pages).
  p.Print();
  EXPECT_EQ(printers.Spooler.Documents.size(), 1u);
}

TEST(RBPrinterDevice, ADeviceBelow25DotsPerInchFallsBackToTheScreensFactor) {
  TImprimanteScriptee coarse = Laser();
  coarse.Metriques.DotsPerInchX = 20;
  coarse.Metriques.DotsPerInchY = 10;
  ScriptedPrinters printers({coarse});
  TRBPrinter p;
  p.Routing = TRBPrinter::RoutePrinter;
  p.BeginDocument();
  EXPECT_EQ(p.DotsPerTenthX, kScreenDotsPerTenth);
  EXPECT_EQ(p.DotsPerTenthY, kScreenDotsPerTenth);
  p.NewPage();
  EXPECT_EQ(p.DotsPerTenthY, kScreenDotsPerTenth);
  p.AbortDocument();
  ASSERT_EQ(printers.Spooler.Documents.size(), 1u);
  EXPECT_TRUE(printers.Spooler.Documents[0].Abandonne);
}

TEST(RBPrinterDevice, StoredPagesPrintWithinTheDocumentWithProgress) {
  ScriptedPrinters printers({Laser()});
  OwnerStub owner;
  owner.WantsProgress = true;
  TRBPrinter p(&owner);
  int afterPrint = 0;
  p.AfterPrintHandler = [&] { ++afterPrint; };
  p.DocumentTitle = "Stored";
  Draw(p, 5);

  struct Case {
    int32_t First, Last;
    std::vector<std::string> Pages;
  };
  const Case cases[] = {
      {2, 4, {"Page 2", "Page 3", "Page 4"}},
      {0, 0, {"Page 1", "Page 2", "Page 3", "Page 4", "Page 5"}},
      {4, 9, {"Page 4", "Page 5"}},  // held within the document
      {-3, 1, {"Page 1"}},
      {7, 0, {}},  // nothing to print: no document
      {3, 2, {}},
  };
  for (const Case& c : cases) {
    printers.Spooler.Documents.clear();
    owner.Progress.Seen.clear();
    p.FirstPage = c.First;
    p.LastPage = c.Last;
    p.Print();
    Messages::TraiterMessagesEnAttente();  // the last progress is posted after the last pass
    if (c.Pages.empty()) {
      EXPECT_TRUE(printers.Spooler.Documents.empty()) << c.First << "-" << c.Last;
      continue;
    }
    ASSERT_EQ(printers.Spooler.Documents.size(), 1u);
    const TDocumentScripte& d = printers.Spooler.Documents[0];
    EXPECT_EQ(d.Titre, "Stored");
    ASSERT_EQ(d.Pages.size(), c.Pages.size()) << c.First << "-" << c.Last;
    for (size_t i = 0; i < c.Pages.size(); ++i) EXPECT_TRUE(Holds(d.Pages[i], c.Pages[i])) << d.Pages[i];
    EXPECT_EQ(owner.Progress.Seen.back(), (std::pair<uint32_t, intptr_t>{kRBMessageProgress, 100}));
  }
  // Three pages announce a third, two thirds and all of the run.
  p.FirstPage = 2;
  p.LastPage = 4;
  owner.Progress.Seen.clear();
  p.Print();
  Messages::TraiterMessagesEnAttente();
  EXPECT_EQ(owner.Progress.Seen, (std::vector<std::pair<uint32_t, intptr_t>>{
                                     {kRBMessageProgress, 33}, {kRBMessageProgress, 67}, {kRBMessageProgress, 100}}));
  EXPECT_EQ(owner.Shown, owner.Hidden);
  EXPECT_EQ(afterPrint, 5);

  // A page stretched over the sheet less the device's margins: the text at one inch lands one inch
  // from the sheet's corner, less the margin, at the device's resolution (within a pixel of the
  // screen's rounding).
  const std::string& page = printers.Spooler.Documents.back().Pages[0];
  EXPECT_TRUE(page.find("Text 50") != std::string::npos || page.find("Text 51") != std::string::npos) << page;

  // A cancel request aborts the printer's document after the page being printed.
  printers.Spooler.Documents.clear();
  p.FirstPage = 0;
  p.LastPage = 0;
  p.Cancel();
  p.Print();
  ASSERT_EQ(printers.Spooler.Documents.size(), 1u);
  EXPECT_TRUE(printers.Spooler.Documents[0].Abandonne);
  EXPECT_FALSE(p.Device()->Printing());
}

TEST(RBPrinterDevice, TheTargetsPrinterAndItsChoice) {
  ScriptedPrinters printers({Laser("First"), Laser("Second")});
  printers.Spooler.ParDefaut = "Second";
  Printers::Printer().Refresh();
  OwnerStub owner;
  owner.Standard = true;
  {
    TRBPrinter shared(&owner);
    EXPECT_EQ(shared.Device(), &Printers::Printer());
    EXPECT_EQ(shared.DeviceSettings().DeviceName, "Second");
    EXPECT_FALSE(shared.SelectPrinter(0));  // only an own printer object is chosen by index
  }
  owner.Standard = false;
  TRBPrinter own(&owner);
  EXPECT_NE(own.Device(), &Printers::Printer());
  // The own printer takes the shared one's choice.
  EXPECT_EQ(own.DeviceSettings().DeviceName, "Second");
  EXPECT_EQ(own.Device()->PrinterIndex(), 1);
  EXPECT_TRUE(own.SelectPrinter(0));
  EXPECT_EQ(own.DeviceSettings().DeviceName, "First");
  EXPECT_THROW(own.SelectPrinter(5), EPrinter);
}

TEST(RBPrinterDevice, AnAbortedPageGoesToTheStoreUnlessTheReportSaysOtherwise) {
  OwnerStub owner;
  for (bool keep : {true, false}) {
    owner.KeepAborted = keep;
    TRBPrinter p(&owner);
    p.BeginDocument();
    p.NewPage();
    p.NewPage();
    p.AbortDocument();
    EXPECT_EQ(p.Pages().PagesStored(), keep ? 2 : 1);
  }
}

TEST(RBPrinterDevice, TheOutlineViewShowsThePageListsOutline) {
  struct View : TRBPrinter::TOutlineView {
    const TRBOutline* Shown = nullptr;
    void Show(const TRBOutline& Outline) override { Shown = &Outline; }
  } view;
  TRBPrinter p;
  p.SetOutlineView(&view);
  EXPECT_EQ(p.OutlineView(), &view);
  EXPECT_EQ(view.Shown, &p.Pages().PageOutline());
  p.SetOutlineView(nullptr);
  EXPECT_EQ(p.OutlineView(), nullptr);
}

TEST(RBPrinterDevice, TheStandardPreviewInterfaceIsTheClassInUseFromTheStart) {
  ASSERT_EQ(RBPrinter::PreviewInterfaceClass(), &RBPrinter::StandardPreviewInterface);
  TRBPrinter p;
  std::unique_ptr<TRBPreviewInterface> standard = RBPrinter::PreviewInterfaceClass()(nullptr);
  // The standard one shows the standard window over the target (its placement goes to a store of
  // the test's).
  TemporaryRegistry registry;
  TForm* shown = standard->ShowPreview(p);
  ASSERT_NE(dynamic_cast<TRBStandardPreview*>(shown), nullptr);
  EXPECT_TRUE(shown->Visible());
  EXPECT_EQ(p.Receiver, static_cast<TRBPrinterReceiver*>(static_cast<TRBStandardPreview*>(shown)->RBPreview));
  delete shown;
  EXPECT_EQ(p.Receiver, nullptr);
  TRBPreviewInterface base(nullptr);
  EXPECT_EQ(base.ShowPreview(p), nullptr);
  EXPECT_EQ(base.ShowPreviewModal(p), nullptr);
}

namespace {

// A report of three records, one "Line" each, on a form.
struct ThreeLineReport {
  TForm form{nullptr};
  TBandRep* report = new TBandRep(&form);
  ThreeLineReport() {
    report->SetParent(&form);
    report->Page.Units = TRBUnit::Native;
    report->ReportTitle = "Three lines";
    auto* data = new TMemDataSet(&form, "Data");
    data->DefineFields({{"N", TFieldType::ftInteger}});
    for (int n = 1; n <= 3; ++n) data->AppendRow({TFieldValue::OfInteger(n)});
    data->Open();
    report->SetDataSet(data);
    TRBCustomBand* detail = report->CreateBand(rbDetail);
    detail->Size.Units = TRBUnit::Native;
    detail->Size.SetHeight(100);
    PlacedControl<TRBLabel>(&form, detail, 300, 0, 600, 50)->SetLabelCaption("Line");
  }
};

std::size_t Count(const std::string& Page, const std::string& Text) {
  std::size_t n = 0;
  for (std::size_t at = Page.find("\"" + Text + "\""); at != std::string::npos; at = Page.find("\"" + Text + "\"", at + 1)) ++n;
  return n;
}

}  // namespace

TEST(RBPrinterDevice, AReportPrintsToThePrinterThroughItsOwnSettings) {
  ScriptedPrinters printers({Laser()});
  ThreeLineReport r;
  TBandRep& report = *r.report;
  report.PrinterSettings.MemoryLimit = 4096;
  {
    TRBPrinter target(&report);  // the report's target takes its settings and its window
    EXPECT_EQ(target.DeviceSettings().MemoryLimit, 4096);
    EXPECT_EQ(target.ReportWindow, &report);
    EXPECT_FALSE(target.DeviceSettings().UseStandardprinter);
  }
  int afterPrint = 0;
  report.AfterPrint = [&](TCustomBandRep*) { ++afterPrint; };
  report.PrintToPrinter();
  ASSERT_EQ(printers.Spooler.Documents.size(), 1u);
  const TDocumentScripte& d = printers.Spooler.Documents[0];
  EXPECT_EQ(d.Titre, "Three lines");
  EXPECT_TRUE(d.Termine);
  ASSERT_EQ(d.Pages.size(), 1u);
  EXPECT_EQ(Count(d.Pages[0], "Line"), 3u) << d.Pages[0];
  EXPECT_EQ(afterPrint, 1);
  EXPECT_EQ(report.RenderTarget, nullptr);  // the fresh target went, the remembered one is back
  EXPECT_TRUE(report.Idle);
  EXPECT_EQ(Messages::NombreEnAttente(), 0u);  // the progress window took its messages with it

  // The stored pages of a run hand printing back to the report, which runs again to the printer
  // when its window's messages are handled.
  report.RunReport(false);
  TRBPrinter& stored = *report.OwnedRenderTarget();
  ASSERT_EQ(stored.PageCount(), 1);
  stored.Print();
  EXPECT_EQ(printers.Spooler.Documents.size(), 1u);
  Messages::TraiterMessagesEnAttente();
  ASSERT_EQ(printers.Spooler.Documents.size(), 2u);
  EXPECT_EQ(Count(printers.Spooler.Documents[1].Pages.at(0), "Line"), 3u);
  EXPECT_EQ(afterPrint, 2);
  // Printed as metafiles, the stored pages go to the printer with the report's progress window.
  stored.DeviceSettings().PrintMetaFile = true;
  stored.Print();
  ASSERT_EQ(printers.Spooler.Documents.size(), 3u);
  EXPECT_EQ(Count(printers.Spooler.Documents[2].Pages.at(0), "Line"), 3u);
  EXPECT_EQ(stored.Receiver, nullptr);  // the closed progress window no longer follows the target
  Messages::TraiterMessagesEnAttente();
}

TEST(RBPrinterDevice, WithoutPrintersAReportPrintsNothing) {
  ScriptedPrinters printers({});
  ThreeLineReport r;
  int afterPrint = 0, beforePrint = 0;
  r.report->AfterPrint = [&](TCustomBandRep*) { ++afterPrint; };
  r.report->BeforePrint = [&](TCustomBandRep*, bool&) { ++beforePrint; };
  r.report->PrintToPrinter();
  EXPECT_TRUE(printers.Spooler.Documents.empty());
  EXPECT_EQ(beforePrint, 0);
  EXPECT_EQ(afterPrint, 0);
  EXPECT_EQ(r.report->RenderTarget, nullptr);
}
