#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "reports/RBPrinter.h"

namespace fs = std::filesystem;

namespace {

struct Recorder : TRBPrinterReceiver {
  std::vector<std::pair<uint32_t, intptr_t>> Seen;
  void RecevoirMessage(uint32_t Message, intptr_t Parameter) override { Seen.emplace_back(Message, Parameter); }
};

template <typename F>
std::string MessageOf(F&& f) {
  try {
    f();
  } catch (const ERBError& e) {
    return e.Message();
  }
  return "no error";
}

int32_t HeaderPageCount(TRBPageList& pages) {
  // The page list finds a page from the store's position: it is put back.
  TRBStream& s = *pages.Store();
  const int64_t position = s.Position();
  s.Seek(8, TSeekOrigin::soBeginning);
  int32_t n = 0;
  s.ReadBuffer(&n, 4);
  s.Seek(position, TSeekOrigin::soBeginning);
  return n;
}

TEST(RBPrinter, DocumentOrderErrors) {
  TRBPrinter p;
  EXPECT_EQ(MessageOf([&] { p.NewPage(); }), "Illegal call to NewPage");
  p.BeginDocument();
  EXPECT_EQ(MessageOf([&] { p.BeginDocument(); }), "RBPrinter not ready");
  p.EndDocument();
  EXPECT_EQ(MessageOf([&] { p.NewPage(); }), "Illegal call to NewPage");
  EXPECT_EQ(MessageOf([&] { p.BeginDocument(); }), "RBPrinter not ready");
  p.Cleanup();
  EXPECT_EQ(p.Status(), TRBPrinter::StatusIdle);
  EXPECT_EQ(MessageOf([&] { p.BeginDocument(); }), "no error");
}

TEST(RBPrinter, ARefusedBeginDocumentLeavesTheRunningDocumentAlone) {
  TRBPrinter p;
  Recorder r;
  p.Receiver = &r;
  p.BeginDocument();
  p.NewPage();
  p.NewPage();
  p.Cancel();
  EXPECT_THROW(p.BeginDocument(), ERBError);
  // The open page, its canvas, the count of pages announced and the cancel request are kept.
  EXPECT_TRUE(p.CancelRequested());
  ASSERT_NE(p.PageCanvas(), nullptr);
  p.PageCanvas()->TextOut(10, 10, "still open");
  p.NewPage();
  p.EndDocument();
  EXPECT_EQ(r.Seen, (std::vector<std::pair<uint32_t, intptr_t>>{{kRBMessagePagesAvailable, 1},
                                                                {kRBMessagePagesAvailable, 2},
                                                                {kRBMessagePagesAvailable, 3}}));
  EXPECT_EQ(p.Pages().PagesStored(), 3);
}

TEST(RBPrinter, ThreePagesToThePageStore) {
  TRBPrinter p;
  Recorder r;
  p.Receiver = &r;
  EXPECT_EQ(p.DotsPerTenthX, 0.37795);
  p.BeginDocument();
  EXPECT_EQ(p.Status(), TRBPrinter::StatusBuilding);
  EXPECT_EQ(p.PageCanvas(), nullptr);
  for (int n = 1; n <= 3; ++n) {
    p.NewPage();
    EXPECT_EQ(p.CurrentPage(), n);
    ASSERT_NE(p.PageCanvas(), nullptr);
    p.PageCanvas()->TextOut(p.ToDeviceX(100), p.ToDeviceY(100), "Page " + std::to_string(n));
    EXPECT_EQ(p.GetPage(n), nullptr);  // the open page is not stored yet
  }
  p.EndDocument();
  EXPECT_EQ(r.Seen, (std::vector<std::pair<uint32_t, intptr_t>>{{kRBMessagePagesAvailable, 1},
                                                                {kRBMessagePagesAvailable, 2},
                                                                {kRBMessagePagesAvailable, 3}}));
  EXPECT_EQ(p.Status(), TRBPrinter::StatusComplete);
  EXPECT_EQ(p.PageCount(), 3);
  EXPECT_EQ(HeaderPageCount(p.Pages()), 3);
  // An A4 portrait page at the screen's 96 dots per inch.
  auto page = p.GetPage(2);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->Width(), 794);
  EXPECT_EQ(page->Height(), 1123);
  EXPECT_EQ(p.GetPage(0), nullptr);
  EXPECT_EQ(p.GetPage(4), nullptr);
  p.SetCurrentPage(2);  // the document's last page is current: taken
  EXPECT_EQ(p.CurrentPage(), 2);
  p.Cleanup();
  EXPECT_EQ(p.GetPage(1), nullptr);
  EXPECT_EQ(p.Pages().Store(), nullptr);
}

TEST(RBPrinter, EmptyAndAbortedDocuments) {
  TRBPrinter p;
  Recorder r;
  p.Receiver = &r;
  EXPECT_FALSE(p.SaveToFile("/nonexistent/never"));  // only a complete document is saved
  p.BeginDocument();
  p.SetCurrentPage(5);  // before the first page: not taken
  EXPECT_EQ(p.CurrentPage(), 0);
  p.EndDocument();
  EXPECT_EQ(r.Seen, (std::vector<std::pair<uint32_t, intptr_t>>{{kRBMessagePagesAvailable, 0}}));
  EXPECT_EQ(p.PageCount(), 0);
  p.Cleanup();

  p.BeginDocument();
  p.NewPage();
  p.NewPage();
  p.Cancel();
  EXPECT_TRUE(p.CancelRequested());
  p.AbortDocument();  // the open page is kept
  EXPECT_EQ(p.Status(), TRBPrinter::StatusComplete);
  EXPECT_EQ(p.Pages().PagesStored(), 2);
  EXPECT_NE(p.GetPage(2), nullptr);
  EXPECT_THROW(p.BeginDocument(), ERBError);  // a new document needs a clean-up first
  EXPECT_EQ(p.Status(), TRBPrinter::StatusComplete);
}

TEST(RBPrinter, PrintingStraightToThePrinterWithoutPrintersRaisesThePlatformsError) {
  TRBPrinter p;
  EXPECT_FALSE(p.HasPrinters());
  p.Routing = TRBPrinter::RoutePrinter;
  EXPECT_THROW(p.BeginDocument(), EPrinter);
  EXPECT_EQ(p.Status(), TRBPrinter::StatusIdle);
}

TEST(RBPrinter, ASavedDocumentLoadsWithItsPaperGuessed) {
  std::string modele = (fs::temp_directory_path() / "printerXXXXXX").string();
  const fs::path dir = ::mkdtemp(modele.data());
  const std::string file = (dir / "run.rbp").string();
  {
    TRBPrinter p;
    p.BeginDocument();
    p.NewPage();
    p.NewPage();
    p.EndDocument();
    ASSERT_TRUE(p.SaveToFile(file));
  }
  // A device that accepts A4 and A4Small and announces orientation, set to landscape.
  TRBPrinter q;
  TPrinterSettings& s = q.DeviceSettings();
  s.SupportedPapers[static_cast<int>(TRBPaperSize::A4) - 1] = true;
  s.SupportedPapers[static_cast<int>(TRBPaperSize::A4Small) - 1] = true;
  TDeviceMode m;
  m.Fields = TDeviceMode::kOrientation;
  s.DeviceModeData = m;
  s.PaperSize = TRBPaperSize::Letter;
  s.Orientation = 1;
  q.OnExportRequest = [](TRBPrinter&, const std::string&) {};
  q.OnPrintSetupRequest = [](TRBPrinter&) {};
  q.LoadFromFile(file);
  EXPECT_FALSE(q.OnExportRequest);
  EXPECT_FALSE(q.OnPrintSetupRequest);
  EXPECT_EQ(q.Status(), TRBPrinter::StatusComplete);
  EXPECT_TRUE(q.LoadedFromFile());
  EXPECT_EQ(q.PageCount(), 2);
  EXPECT_EQ(s.PaperSize, TRBPaperSize::A4Small);
  EXPECT_EQ(s.Orientation, 0);
  EXPECT_NE(q.GetPage(2), nullptr);

  // A device without those sizes or an orientation keeps its own.
  TRBPrinter plain;
  plain.DeviceSettings().PaperSize = TRBPaperSize::Letter;
  plain.DeviceSettings().Orientation = 1;
  plain.LoadFromFile(file);
  EXPECT_EQ(plain.DeviceSettings().PaperSize, TRBPaperSize::Letter);
  EXPECT_EQ(plain.DeviceSettings().Orientation, 1);
  fs::remove_all(dir);
}

TEST(RBPrinter, PreviewAndPrintRequests) {
  TRBPrinter p;
  Recorder report;
  int afterPreview = 0;
  std::vector<std::string> exports;
  p.AfterPreviewHandler = [&] { ++afterPreview; };
  p.OnExportRequest = [&](TRBPrinter& sender, const std::string& filter) {
    EXPECT_EQ(&sender, &p);
    exports.push_back(filter);
  };
  p.SetPreviewShown(false);  // not shown: nothing to hide
  EXPECT_EQ(afterPreview, 0);
  p.BeginDocument();
  p.SetPreviewShown(true);
  p.SetPreviewShown(false);  // hiding a shown preview cancels the building document
  EXPECT_EQ(afterPreview, 1);
  EXPECT_TRUE(p.CancelRequested());
  p.RequestExport("TXT");
  EXPECT_EQ(exports, std::vector<std::string>{"TXT"});
  p.NewPage();
  p.EndDocument();

  // Printing a report's complete document goes back to the report's window.
  p.ReportWindow = &report;
  p.SetPreviewShown(true);
  p.Print();
  EXPECT_TRUE(report.Seen.empty());  // posted
  p.ClosePreview();                  // sent: handled at once
  EXPECT_FALSE(p.PreviewShown());
  EXPECT_EQ(report.Seen, (std::vector<std::pair<uint32_t, intptr_t>>{
                             {kRBMessageClosePreview, reinterpret_cast<intptr_t>(&p)}}));
  Messages::TraiterMessagesEnAttente();
  EXPECT_EQ(report.Seen, (std::vector<std::pair<uint32_t, intptr_t>>{
                             {kRBMessageClosePreview, reinterpret_cast<intptr_t>(&p)}, {kRBMessagePrint, 0}}));
  // Printed as metafiles, or without a report, the stored pages go to the printer: without one,
  // nothing happens.
  p.DeviceSettings().PrintMetaFile = true;
  p.Print();
  p.DeviceSettings().PrintMetaFile = false;
  p.ReportWindow = nullptr;
  p.Print();
  Messages::TraiterMessagesEnAttente();
  EXPECT_EQ(report.Seen.size(), 2u);
}

TEST(RBPrinter, PrintRangeAndPageRectangle) {
  // Pages 2 and 3 of five.
  std::vector<int> printed;
  for (int page = 1; page <= 5; ++page)
    if (InPrintRange(page, 2, 3)) printed.push_back(page);
  EXPECT_EQ(printed, (std::vector<int>{2, 3}));
  EXPECT_TRUE(InPrintRange(9, 0, 0));
  EXPECT_TRUE(InPrintRange(9, 3, -1));
  EXPECT_FALSE(InPrintRange(2, 3, 0));
  // An A4 page at 600 dots per inch with offsets of 1/10 and 1/5 inch.
  const TRect r = PrintRectangle(2100, 2970, 254, 508, 600, 600);
  EXPECT_EQ(r.Left, -600);
  EXPECT_EQ(r.Top, -1200);
  EXPECT_EQ(r.Right, 4361);   // (2100 - 254) x 600 / 254 = 4360.6
  EXPECT_EQ(r.Bottom, 5816);  // (2970 - 508) x 600 / 254 = 5815.7
}

TEST(RBPrinterSettings, SettersTakeOnlyWhatTheDeviceAnnounces) {
  TPrinterSettings s;
  EXPECT_FALSE(s.SetCopies(3));
  EXPECT_FALSE(s.SetOrientation(1));
  EXPECT_FALSE(s.SetDuplex(true));
  EXPECT_FALSE(s.SetOutputBin(TRBBin::Manual));
  EXPECT_EQ(s.Copies, 0);
  TDeviceMode m;
  m.Fields = TDeviceMode::kCopies | TDeviceMode::kOrientation | TDeviceMode::kDuplex | TDeviceMode::kDefaultSource;
  s.DeviceModeData = m;
  EXPECT_TRUE(s.SetCopies(3));
  EXPECT_TRUE(s.SetOrientation(1));
  EXPECT_TRUE(s.SetDuplex(true));
  EXPECT_TRUE(s.SetOutputBin(TRBBin::Manual));
  EXPECT_EQ(s.Copies, 3);
  EXPECT_EQ(s.Orientation, 1);
  EXPECT_TRUE(s.Duplex);
  EXPECT_EQ(s.OutputBin, TRBBin::Manual);
  // Paper: a supported size is taken; an unsupported Default is still stored.
  EXPECT_FALSE(s.SetPaperSize(TRBPaperSize::A3));
  EXPECT_EQ(s.PaperSize, TRBPaperSize::A4);
  s.SupportedPapers[static_cast<int>(TRBPaperSize::A3) - 1] = true;
  EXPECT_TRUE(s.SetPaperSize(TRBPaperSize::A3));
  EXPECT_EQ(s.PaperSize, TRBPaperSize::A3);
  EXPECT_FALSE(s.SetPaperSize(TRBPaperSize::Default));
  EXPECT_EQ(s.PaperSize, TRBPaperSize::Default);
}

}  // namespace
