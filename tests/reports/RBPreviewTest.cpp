// The preview control, the standard preview window with its search dialog, and the print dialog,
// driven as a user would through the modal driver and the input injection.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/cairo/CanvasCairo.h"
#include "platform/cairo/SpouleurPDF.h"
#include "platform/data/DataSet.h"
#include "platform/gui/DialoguesFichiers.h"
#include "platform/gui/DialoguesSaisie.h"
#include "platform/gui/DialoguesImpression.h"
#include "platform/gui/Saisie.h"
#include "platform/loop/MainLoop.h"
#include "platform/registry/Registry.h"
#include "platform/ui/BoiteMessage.h"
#include "reports/BandRpt.h"
#include "reports/RBCtrls.h"
#include "reports/RBPrev.h"
#include "reports/RBPrnSu.h"
#include "tests/reports/PlacedControl.h"
#include "tests/reports/TemporaryRegistry.h"
#include "tests/support/LecturePDF.h"

namespace fs = std::filesystem;

namespace {

// A complete document of Count pages on the page store, page p showing "Page p text".
void BuildPages(TRBPrinter& t, int Count) {
  t.BeginDocument();
  for (int p = 1; p <= Count; ++p) {
    t.NewPage();
    t.PageCanvas()->TextOut(20, 20, "Contenu " + std::to_string(p) + (p == 3 ? " cible" : ""));
  }
  t.EndDocument();
}

struct ScriptedPrintDialog : IFournisseurDialogueImpression {
  bool Accept = false;
  std::vector<TDialogueImpression> Seen;
  std::function<void(TDialogueImpression&)> Change;
  bool Executer(TDialogueImpression& d) override {
    Seen.push_back(d);
    if (Change) Change(d);
    return Accept;
  }
};

struct ScriptedFileDialog : IFournisseurDialoguesFichiers {
  std::string Answer;
  std::vector<TDialogueFichier> Seen;
  bool Executer(TDialogueFichier& d) override {
    Seen.push_back(d);
    if (Answer.empty()) return false;
    d.FileName = Answer;
    return true;
  }
};

class PreviewWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = LecturePDF::NouveauDossier("rbpreview");
    ASSERT_FALSE(folder.empty());
    registry = std::make_unique<TemporaryRegistry>();
    loop = std::make_unique<MainLoop>([] {}, [] {});
    Application().DefinirBoucle(loop.get());
    Application().DefinirPiloteModal(&driver);
  }
  void TearDown() override {
    DialoguesImpression::DefinirFournisseur(nullptr);
    DialoguesFichiers::DefinirFournisseur(nullptr);
    Application().DefinirPiloteModal(nullptr);
    Application().DefinirBoucle(nullptr);
    registry.reset();
    pdf.reset();
    fs::remove_all(folder);
    TCanvasCairo::LibererCaches();
  }
  // Runs the loop until the window has been freed.
  void AwaitFreed(const TForm* Window) {
    (void)loop->WaitUntil([&] { return !Screen().Existe(Window); }, std::chrono::seconds(5));
    ASSERT_FALSE(Screen().Existe(Window));
  }
  std::string Stored(const std::string& Key, const std::string& Name) {
    TRegistryValue v;
    std::string detail;
    if (Registry::Current().Read(TRegistryHive::User, Key, Name, v, detail) != TRegistryStatus::Ok) return "<none>";
    return v.Text;
  }
  void Store(const std::string& Key, const std::string& Name, const std::string& Text) {
    TRegistryValue v;
    v.Text = Text;
    std::string detail;
    ASSERT_EQ(Registry::Current().Write(TRegistryHive::User, Key, Name, v, detail), TRegistryStatus::Ok);
  }
  // A report of Pages pages, one record a page.
  TBandRep* MakeReport(int Pages) {
    auto* report = new TBandRep(&form);
    report->SetParent(&form);
    report->Page.Units = TRBUnit::Native;
    auto* data = new TMemDataSet(&form, "Rows");
    data->DefineFields({{"N", TFieldType::ftInteger}});
    for (int n = 1; n <= Pages; ++n) data->AppendRow({TFieldValue::OfInteger(n)});
    data->Open();
    report->SetDataSet(data);
    TRBCustomBand* detail = report->CreateBand(rbDetail);
    detail->Size.Units = TRBUnit::Native;
    detail->Size.SetHeight(2500);
    auto* e = PlacedControl<TRBExpr>(&form, detail, 100, 100, 1500, 60);
    e->SetExpression("'Ligne ' + N");
    return report;
  }

  fs::path folder;
  std::unique_ptr<TemporaryRegistry> registry;
  std::unique_ptr<MainLoop> loop;
  TPiloteScripte driver;
  TForm form{nullptr};
  std::unique_ptr<TInstallationPDF> pdf;
};

const std::string kPortrait = "Software\\Norvane\\Band Report\\Windows\\Portrait\\";
const std::string kPaysage = "Software\\Norvane\\Band Report\\Windows\\Paysage\\";

}  // namespace

// ---------------------------------------------------------------------------------------------
// The preview control

TEST(RBPreviewControl, ZoomLimitsFitAndWidth) {
  TRBPrinter t;
  TRBPreview p(nullptr);
  p.SetTarget(&t);
  EXPECT_EQ(p.Zoom(), 100);
  for (int z : {1, 2001}) {
    p.SetZoom(z);
    EXPECT_EQ(p.Zoom(), 100) << z;
  }
  p.SetZoom(2);
  EXPECT_EQ(p.Zoom(), 2);
  p.SetZoom(2000);
  EXPECT_EQ(p.Zoom(), 2000);
  EXPECT_EQ(p.ZoomMode(), rbZoomOther);

  // An A4 portrait page at 96 per inch is 794 by 1123 pixels.
  p.SetBounds(0, 0, 600, 800);
  p.ZoomToFit();
  EXPECT_EQ(p.Zoom(), 68);
  EXPECT_EQ(p.ZoomMode(), rbZoomToFit);
  EXPECT_EQ(p.PageImage()->Width(), RoundHalfEven(2100 / 100.0 * 68 * t.DotsPerTenthX) + 4);
  EXPECT_EQ(p.PageImage()->Left(), (600 - p.PageImage()->Width()) / 2);
  p.SetBounds(0, 0, 794, 800);
  p.ZoomToWidth();
  EXPECT_EQ(p.Zoom(), 90);
  EXPECT_EQ(p.ZoomMode(), rbZoomToWidth);
  // A resize keeps the mode.
  p.SetBounds(0, 0, 397, 800);
  EXPECT_EQ(p.Zoom(), 45);
}

TEST(RBPreviewControl, APageOfNoSizeZoomsAsALetterSheet) {
  TRBPrinter t;
  t.DeviceSettings().PaperSize = TRBPaperSize::Default;  // no printer: the sheet measures 0
  ASSERT_EQ(t.PageWidth(), 0);
  TRBPreview p(nullptr);
  p.SetTarget(&t);
  p.SetBounds(0, 0, 600, 800);
  p.ZoomToWidth();
  EXPECT_EQ(p.Zoom(), RoundHalfEven(600.0 / t.ToDeviceWidth(2159) * 90));
  p.ZoomToFit();
  EXPECT_EQ(p.Zoom(), std::min(RoundHalfEven(600.0 / t.ToDeviceWidth(2159) * 95),
                               RoundHalfEven(800.0 / t.ToDeviceHeight(2794) * 95)));
  EXPECT_GT(p.PageImage()->Height(), 4);
  // Without a target the page is 215.9 by 279.4 units.
  TRBPreview alone(nullptr);
  alone.SetBounds(0, 0, 432, 800);
  alone.ZoomToWidth();
  EXPECT_EQ(alone.Zoom(), RoundHalfEven(432 / 215.9 * 95));
}

TEST(RBPreviewControl, PagesMessagesAndDetaching) {
  std::vector<int> available, progress;
  {
    TRBPrinter t;
    TRBPreview p(nullptr);
    p.OnPageAvailable = [&](TComponent*, int32_t n) { available.push_back(n); };
    p.OnProgressUpdate = [&](TComponent*, int32_t n) { progress.push_back(n); };
    p.SetTarget(&t);
    EXPECT_EQ(t.Receiver, &p);
    EXPECT_TRUE(t.PreviewShown());
    BuildPages(t, 3);
    Messages::TraiterMessagesEnAttente();
    EXPECT_EQ(available, (std::vector<int>{1, 2, 3}));
    // Page 1 arrived: the image shows it, zoomed to the width.
    EXPECT_NE(p.PageImage()->PageMetafile(), nullptr);
    EXPECT_EQ(p.ZoomMode(), rbZoomToWidth);
    t.SetProgress(0x10000 + 42);
    Messages::TraiterMessagesEnAttente();
    EXPECT_EQ(progress, (std::vector<int>{42}));

    for (int n : {0, 4}) {
      p.SetPageNumber(n);
      EXPECT_EQ(p.PageNumber(), 1) << n;
    }
    p.SetPageNumber(3);
    EXPECT_EQ(p.PageNumber(), 3);
    EXPECT_EQ(p.PageImage()->ShownPage, 3);
    // A count other than the page shown only fires the event.
    const TMetafile* shown = p.PageImage()->PageMetafile();
    p.RecevoirMessage(kRBMessagePagesAvailable, 2);
    EXPECT_EQ(p.PageImage()->PageMetafile(), shown);
    EXPECT_EQ(available.back(), 2);

    // Another target: the first is told that it is no longer shown.
    int afterPreview = 0;
    t.AfterPreviewHandler = [&] { ++afterPreview; };
    TRBPrinter other;
    p.SetTarget(&other);
    EXPECT_EQ(afterPreview, 1);
    EXPECT_EQ(t.Receiver, nullptr);
    EXPECT_FALSE(t.PreviewShown());
    EXPECT_EQ(p.PageNumber(), 1);
  }
  // A target freed before its preview leaves it without one.
  TRBPreview p(nullptr);
  {
    TRBPrinter t;
    p.SetTarget(&t);
  }
  EXPECT_EQ(p.Target(), nullptr);
  p.SetPageNumber(2);
  EXPECT_EQ(p.PageNumber(), 1);
}

// ---------------------------------------------------------------------------------------------
// The standard preview window

TEST_F(PreviewWindow, ZoomButtonsFieldsAndProgress) {
  TRBPrinter t;
  auto* w = new TRBStandardPreview(&Application(), &t);
  BuildPages(t, 5);
  Messages::TraiterMessagesEnAttente();
  w->Show();
  ASSERT_TRUE(w->ExitButton->Focused());
  EXPECT_EQ(w->Caption(), "Aper\xE7u avant impression");
  EXPECT_EQ(w->StatusBar->Panels[1].Text, "Page 1 sur 5");
  EXPECT_FALSE(w->FindButton->Visible());
  EXPECT_EQ(w->SpacerZoomPlus->Hint, "Zoom +");
  EXPECT_EQ(w->FirstPage->Hint, "Premi\xE8re page");

  struct Step {
    int Start;
    TToolButton* TRBStandardPreview::*Button;
    int Expected;
  };
  for (const Step& s : {Step{39, &TRBStandardPreview::SpacerZoomMoins, 39}, Step{40, &TRBStandardPreview::SpacerZoomMoins, 20},
                        Step{221, &TRBStandardPreview::SpacerZoomPlus, 221},
                        Step{220, &TRBStandardPreview::SpacerZoomPlus, 240}}) {
    w->RBPreview->SetZoom(s.Start);
    w->UpdateButtons();
    (w->*s.Button)->Click();
    EXPECT_EQ(w->RBPreview->Zoom(), s.Expected) << s.Start;
    EXPECT_EQ(w->EditZoom->Text(), std::to_string(s.Expected) + "%");
  }
  EXPECT_FALSE(w->SpacerZoomPlus->Enabled());

  // Typed zoom values, applied when Enter moves the focus to the close button.
  std::vector<std::string> boxes;
  driver.Script = [&](TForm& f) {
    if (auto* box = dynamic_cast<TBoiteMessage*>(&f)) boxes.push_back(box->Caption() + "|" + box->Texte->Caption());
    f.SetModalResult(mrOk);
  };
  struct Typed {
    std::string Text;
    int Zoom;
  };
  w->RBPreview->SetZoom(100);
  for (const Typed& c : {Typed{"500 %", 240}, Typed{"  15", 20}, Typed{"abc", 20}, Typed{"\t77\t%x", 77}}) {
    w->EditZoom->SetFocus();
    w->EditZoom->SetText("");
    for (char ch : c.Text) ASSERT_TRUE(Saisie::Caractere(*w, ch));
    ASSERT_TRUE(Saisie::Touche(*w, VK_RETURN));
    EXPECT_EQ(w->RBPreview->Zoom(), c.Zoom) << c.Text;
    EXPECT_EQ(w->EditZoom->Text(), std::to_string(c.Zoom) + "%");
  }
  ASSERT_EQ(boxes, (std::vector<std::string>{"Saisie invalide|abc : Nombre entier attendu !"}));

  // Typed pages: clamped to the document.
  for (const Typed& c : {Typed{"Page 7", 5}, Typed{"0", 1}, Typed{"Page 3", 3}}) {
    w->EditPage->SetFocus();
    w->EditPage->SetText(c.Text);
    ASSERT_TRUE(Saisie::Touche(*w, VK_RETURN));
    EXPECT_EQ(w->RBPreview->PageNumber(), c.Zoom) << c.Text;
    EXPECT_EQ(w->EditPage->Text(), "Page " + std::to_string(c.Zoom));
  }
  // Keys: the window sees them first, whatever has the focus.
  w->EditZoom->SetFocus();
  ASSERT_TRUE(Saisie::Touche(*w, VK_NEXT));
  EXPECT_EQ(w->RBPreview->PageNumber(), 4);
  EXPECT_TRUE(w->ExitButton->Focused());
  ASSERT_TRUE(Saisie::Touche(*w, VK_RIGHT));
  ASSERT_TRUE(Saisie::Touche(*w, VK_RIGHT));
  EXPECT_EQ(w->RBPreview->PageNumber(), 5);
  EXPECT_FALSE(w->nextpage->Enabled());
  ASSERT_TRUE(Saisie::Touche(*w, VK_PRIOR));
  ASSERT_TRUE(Saisie::Touche(*w, VK_LEFT));
  EXPECT_EQ(w->RBPreview->PageNumber(), 3);
  EXPECT_EQ(w->StatusBar->Panels[1].Text, "Page 3 sur 5");
  w->RBPreview->SetZoom(100);
  ASSERT_TRUE(Saisie::Touche(*w, VK_UP));
  EXPECT_EQ(w->RBPreview->Zoom(), 120);
  ASSERT_TRUE(Saisie::Touche(*w, VK_DOWN));
  ASSERT_TRUE(Saisie::Touche(*w, VK_DOWN));
  EXPECT_EQ(w->RBPreview->Zoom(), 80);
  ASSERT_TRUE(Saisie::Cliquer(*w->FirstPage));
  EXPECT_EQ(w->RBPreview->PageNumber(), 1);

  // Zoom 100, then a resize: back to the width.
  ASSERT_TRUE(Saisie::Cliquer(*w->Zoom100));
  EXPECT_EQ(w->RBPreview->Zoom(), 100);
  w->SetWidth(w->Width() - 100);
  w->RBPreview->SetBounds(0, 0, 794, 300);
  w->SetWidth(w->Width() + 1);
  EXPECT_EQ(w->RBPreview->ZoomMode(), rbZoomToWidth);
  EXPECT_EQ(w->RBPreview->Zoom(), RoundHalfEven(w->RBPreview->Width() / w->RBPreview->PageDeviceWidth() * 90));

  // Progress from 0: 1, 3, 5, 6, 12 show 5 and 12 only; 100 empties the panel.
  std::vector<std::string> shown;
  for (int v : {1, 3, 5, 6, 12}) {
    const std::string before = w->StatusBar->Panels[0].Text;
    w->ProgressUpdate(w->RBPreview, v);
    if (w->StatusBar->Panels[0].Text != before) shown.push_back(w->StatusBar->Panels[0].Text);
  }
  EXPECT_EQ(shown, (std::vector<std::string>{"5%", "12%"}));
  w->ProgressUpdate(w->RBPreview, 100);
  EXPECT_EQ(w->StatusBar->Panels[0].Text, "");

  ASSERT_TRUE(Saisie::Cliquer(*w->ExitButton));
  AwaitFreed(w);
  EXPECT_EQ(t.Receiver, nullptr);
  EXPECT_FALSE(t.PreviewShown());
}

TEST_F(PreviewWindow, PlacementIsWrittenOnCloseAndReadBackInTheOrientationsKey) {
  TBandRep* report = MakeReport(2);
  report->Page.SetOrientation(1);
  report->Preview();
  TRBStandardPreview* w = nullptr;
  for (int i = 0; i < Screen().FormCount(); ++i)
    if (auto* p = dynamic_cast<TRBStandardPreview*>(Screen().Forms(i))) w = p;
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(w->Landscape);
  // No stored placement: the default one, 85 % of the screen within 1098 by 739, centred.
  EXPECT_EQ(w->BoundsRect(), (TRect{77, 58, 77 + 870, 58 + 652}));
  w->SetBoundsRect({10, 20, 610, 520});
  ASSERT_TRUE(Saisie::Cliquer(*w->ExitButton));
  AwaitFreed(w);
  EXPECT_EQ(Stored(kPaysage, "FullSize"), "0");  // written "Fullsize": names compare without case
  EXPECT_EQ(Stored(kPaysage, "Top"), "20");
  EXPECT_EQ(Stored(kPaysage, "Right"), "610");
  EXPECT_EQ(Stored(kPortrait, "Top"), "<none>");

  TRBPrinter t(report);
  auto* again = new TRBStandardPreview(&Application(), &t);
  again->Show();
  EXPECT_EQ(again->BoundsRect(), (TRect{10, 20, 610, 520}));
  delete again;

  // Maximized; an empty or off-screen rectangle gives the default placement.
  Store(kPaysage, "FullSize", "1");
  auto* maxi = new TRBStandardPreview(&Application(), &t);
  maxi->Show();
  EXPECT_EQ(maxi->WindowState, TWindowState::wsMaximized);
  EXPECT_EQ(maxi->BoundsRect(), Screen().DesktopRect());
  delete maxi;
  Store(kPaysage, "FullSize", "0");
  for (const TRect& r : {TRect{0, 0, 0, 0}, TRect{3000, 3000, 3500, 3400}}) {
    Store(kPaysage, "Top", std::to_string(r.Top));
    Store(kPaysage, "Left", std::to_string(r.Left));
    Store(kPaysage, "Bottom", std::to_string(r.Bottom));
    Store(kPaysage, "Right", std::to_string(r.Right));
    auto* w2 = new TRBStandardPreview(&Application(), &t);
    w2->Show();
    EXPECT_EQ(w2->BoundsRect(), w2->DefaultPlacement());
    delete w2;
  }
}

TEST_F(PreviewWindow, APreviewOpenedWhileTheReportRunsShowsPagesAsTheyArrive) {
  TBandRep* report = MakeReport(4);
  std::vector<std::string> seen;
  TRBStandardPreview* w = nullptr;
  report->OnPreview = [&](TCustomBandRep* r) {
    w = static_cast<TRBStandardPreview*>(RBPrinter::PreviewInterfaceClass()(nullptr)->ShowPreview(*r->RenderTarget));
  };
  // While the run goes on, each detail band lets the window handle what has arrived.
  report->Bands.Band(rbDetail)->BeforePrint = [&](TRBCustomBand*, bool&) {
    Messages::TraiterMessagesEnAttente();
    if (w != nullptr)
      seen.push_back(w->StatusBar->Panels[1].Text + "|" +
                     (w->RBPreview->PageImage()->PageMetafile() != nullptr ? "shown" : "blank"));
  };
  report->Preview();
  ASSERT_NE(w, nullptr);
  // A page is announced when the next one begins: page 1 shows once page 2 has started.
  EXPECT_EQ(seen, (std::vector<std::string>{"Page 1 sur 0|blank", "Page 1 sur 0|blank", "Page 1 sur 2|shown",
                                            "Page 1 sur 3|shown"}));
  EXPECT_EQ(w->RBPreview->ZoomMode(), rbZoomToWidth);
  EXPECT_NE(w->RBPreview->PageImage()->PageMetafile(), nullptr);
  EXPECT_EQ(w->StatusBar->Panels[1].Text, "Page 1 sur 4");
  EXPECT_TRUE(w->Print->Enabled());
  EXPECT_TRUE(w->PrintSetup->Enabled());
  ASSERT_TRUE(Saisie::Touche(*w, VK_NEXT));
  EXPECT_EQ(w->RBPreview->PageNumber(), 2);
  ASSERT_TRUE(Saisie::Cliquer(*w->ExitButton));
  AwaitFreed(w);
  // The report let its target go with the window.
  EXPECT_EQ(report->RenderTarget, nullptr);
}

TEST_F(PreviewWindow, PrintRerunsTheReportOnThePdfPrinter) {
  pdf = std::make_unique<TInstallationPDF>("PDF", folder.string());
  TBandRep* report = MakeReport(3);
  report->ReportTitle = "Essai";
  report->ShowProgress = false;
  int afterPrint = 0;
  report->AfterPrint = [&](TCustomBandRep*) { ++afterPrint; };
  // The preview shown modally: the user presses Page Down, then Print.
  std::vector<int> pagesSeen;
  driver.Script = [&](TForm& f) {
    auto& w = dynamic_cast<TRBStandardPreview&>(f);
    Messages::TraiterMessagesEnAttente();
    ASSERT_TRUE(Saisie::Touche(w, VK_NEXT));
    pagesSeen.push_back(w.RBPreview->PageNumber());
    ASSERT_TRUE(Saisie::Cliquer(*w.Print));
  };
  // The run first, then the modal window over its pages.
  report->OnPreview = [](TCustomBandRep*) {};
  report->Preview();
  ASSERT_EQ(report->RenderTarget->PageCount(), 3);
  EXPECT_EQ(RBPrinter::PreviewInterfaceClass()(nullptr)->ShowPreviewModal(*report->RenderTarget), nullptr);
  EXPECT_EQ(pagesSeen, (std::vector<int>{2}));
  ASSERT_EQ(pdf->Spouleur().Documents().size(), 1u);
  const std::string file = pdf->Spouleur().Documents()[0];
  EXPECT_EQ(LecturePDF::Info(file, "Pages"), "3");
  std::string words;
  for (const auto& m : LecturePDF::Mots(file, 2)) words += m.Texte + " ";
  EXPECT_NE(words.find("Ligne 2"), std::string::npos) << words;
  EXPECT_EQ(afterPrint, 1);
}

TEST_F(PreviewWindow, SearchSaveAndLoadThroughTheirHandlers) {
  TRBPrinter t;
  auto* w = new TRBStandardPreview(&Application(), &t);
  BuildPages(t, 4);
  Messages::TraiterMessagesEnAttente();
  w->Show();
  struct Search {
    std::string Text;
    bool MatchCase;
    std::vector<std::string> Lines;
  };
  for (const Search& s : {Search{"CIBLE", false, {"Page 3"}}, Search{"CIBLE", true, {"Texte non trouv\xE9"}},
                          Search{"Contenu", true, {"Page 1", "Page 2", "Page 3", "Page 4"}}}) {
    driver.Script = [&](TForm& f) {
      auto& d = dynamic_cast<TSearchDlg&>(f);
      EXPECT_EQ(d.Caption(), "Recherche de texte");
      EXPECT_EQ(d.CheckBox1->Caption(), "Respecter la casse");
      for (char ch : s.Text) ASSERT_TRUE(Saisie::Caractere(d, ch));
      if (s.MatchCase) {
        ASSERT_TRUE(Saisie::Cliquer(*d.CheckBox1));
      }
      ASSERT_TRUE(Saisie::Cliquer(*d.SpeedButton2));
    };
    w->FindButtonClick(w);
    EXPECT_EQ(w->SearchResultBox->Items(), s.Lines) << s.Text;
    EXPECT_EQ(w->SearchResultBox->Enabled(), s.Lines[0] != "Texte non trouv\xE9");
    EXPECT_EQ(w->Tabs->ActivePage(), w->TabSearchResult);
  }
  // A listed line goes to its page.
  w->SearchResultBox->SetItemIndex(2);
  w->SearchResultBoxClick(w->SearchResultBox);
  EXPECT_EQ(w->RBPreview->PageNumber(), 3);
  // Cancelled: nothing searched.
  driver.Script = [&](TForm& f) { ASSERT_TRUE(Saisie::Cliquer(*dynamic_cast<TSearchDlg&>(f).SpeedButton1)); };
  w->FindButtonClick(w);
  EXPECT_EQ(w->SearchResultBox->Count(), 4);

  // Save through the save dialog; without a provider nothing happens.
  const std::string saved = (folder / "apercu").string();
  w->SaveReportClick(w);
  EXPECT_FALSE(fs::exists(saved + ".RBP"));
  ScriptedFileDialog files;
  DialoguesFichiers::DefinirFournisseur(&files);
  files.Answer = saved;
  w->SaveReportClick(w);
  ASSERT_EQ(files.Seen.size(), 1u);
  EXPECT_EQ(files.Seen[0].Title, "Save report");
  EXPECT_EQ(files.Seen[0].Filter, "BandReport file (*.RBP)|*.RBP");
  EXPECT_TRUE(files.Seen[0].OverwritePrompt);
  ASSERT_TRUE(fs::exists(saved + ".RBP"));

  // Load: a missing file is refused with a message; the saved one comes back at page 1.
  std::vector<std::string> boxes;
  driver.Script = [&](TForm& f) {
    if (auto* box = dynamic_cast<TBoiteMessage*>(&f)) boxes.push_back(box->Texte->Caption());
    f.SetModalResult(mrOk);
  };
  files.Answer = (folder / "absent.RBP").string();
  w->LoadReportClick(w);
  EXPECT_EQ(boxes, (std::vector<std::string>{"File does not exist"}));
  EXPECT_EQ(files.Seen.back().Title, "Load report");
  TRBPrinter other;
  auto* w2 = new TRBStandardPreview(&Application(), &other);
  w2->Show();
  files.Answer = saved + ".RBP";
  w2->LoadReportClick(w2);
  EXPECT_TRUE(other.LoadedFromFile());
  EXPECT_EQ(other.PageCount(), 4);
  EXPECT_EQ(w2->StatusBar->Panels[1].Text, "Page 1 sur 4");
  EXPECT_NE(w2->RBPreview->PageImage()->PageMetafile(), nullptr);
  EXPECT_TRUE(w2->Print->Enabled());
  EXPECT_TRUE(RBPrev::PagesFromFile());
  delete w2;
  delete w;
}

// ---------------------------------------------------------------------------------------------
// The print dialog

TEST_F(PreviewWindow, ChoosePrinterCancelledOrAccepted) {
  pdf = std::make_unique<TInstallationPDF>("PDF", folder.string());
  Printers::Printer().Refresh();
  TBandRep* report = MakeReport(12);
  const TBandRepPrinterSettings before = report->PrinterSettings;
  // Without a provider the dialog is cancelled.
  report->Tag = 5;
  report->ChoosePrinter();
  EXPECT_EQ(report->Tag, 1);

  ScriptedPrintDialog dialog;
  DialoguesImpression::DefinirFournisseur(&dialog);
  report->ChoosePrinter();
  EXPECT_EQ(report->Tag, 1);
  EXPECT_EQ(report->PrinterSettings.Copies, before.Copies);
  EXPECT_EQ(report->PrinterSettings.FirstPage, before.FirstPage);
  EXPECT_EQ(report->LastDialogSettings.CustomBinCode, 0);
  ASSERT_EQ(dialog.Seen.size(), 1u);
  EXPECT_EQ(dialog.Seen[0].MinPage, 0);
  EXPECT_EQ(dialog.Seen[0].MaxPage, 9999);
  EXPECT_TRUE(dialog.Seen[0].PageNumbers);
  EXPECT_TRUE(dialog.Seen[0].Avertissement);
  EXPECT_FALSE(dialog.Seen[0].Selection);
  EXPECT_EQ(dialog.Seen[0].Peripherique, "PDF");

  // After a finished preview of 12 pages: pages 1 to 12, preselected. Accepted with bin 257, two
  // copies, pages 3 to 5, landscape.
  report->OnPreview = [](TCustomBandRep*) {};
  report->Preview();
  ASSERT_EQ(report->RenderTarget->PageCount(), 12);
  dialog.Accept = true;
  dialog.Change = [](TDialogueImpression& d) {
    d.Etendue = DialoguesImpression::kNumerosDePage;
    d.FromPage = 3;
    d.ToPage = 5;
    d.Copies = 2;
    ASSERT_TRUE(d.Mode.has_value());
    d.Mode->DefaultSource = 257;
    d.Mode->Orientation = TDeviceMode::kLandscape;
    d.Mode->Duplex = 1;
  };
  report->ChoosePrinter();
  ASSERT_EQ(dialog.Seen.size(), 2u);
  EXPECT_EQ(dialog.Seen[1].MinPage, 1);
  EXPECT_EQ(dialog.Seen[1].MaxPage, 12);
  EXPECT_EQ(dialog.Seen[1].FromPage, 1);
  EXPECT_EQ(dialog.Seen[1].ToPage, 12);
  EXPECT_EQ(dialog.Seen[1].Etendue, DialoguesImpression::kNumerosDePage);
  EXPECT_EQ(report->Tag, 0);
  EXPECT_EQ(report->LastDialogSettings.OutputBin, TRBBin::First);
  EXPECT_EQ(report->LastDialogSettings.CustomBinCode, 257);
  EXPECT_EQ(report->PrinterSettings.Copies, 2);
  EXPECT_EQ(report->PrinterSettings.FirstPage, 3);
  EXPECT_EQ(report->PrinterSettings.LastPage, 5);
  EXPECT_EQ(report->Page.Orientation(), 1);
  EXPECT_FALSE(report->LastDialogSettings.Duplex);
  EXPECT_EQ(report->RenderTarget->FirstPage, 3);  // handed on to the render target

  // All pages: the range is opened again.
  dialog.Change = [](TDialogueImpression& d) { d.Etendue = DialoguesImpression::kToutesLesPages; };
  report->ChoosePrinter();
  EXPECT_EQ(report->PrinterSettings.FirstPage, 0);
  EXPECT_EQ(report->PrinterSettings.LastPage, 0);
  TRBBin bin = TRBBin::Tractor;
  EXPECT_FALSE(RBPrnSu::BinOfDialogCode(12, bin));
  EXPECT_TRUE(RBPrnSu::BinOfDialogCode(14, bin));
  EXPECT_EQ(bin, TRBBin::Cassette);
  Printers::Printer().Refresh();
}

TEST_F(PreviewWindow, PrintSetupButtonCancelledChangesNothing) {
  TBandRep* report = MakeReport(2);
  report->OnPreview = [](TCustomBandRep*) {};
  report->Preview();
  TRBPrinter& t = *report->RenderTarget;
  auto* w = new TRBStandardPreview(&Application(), &t);
  w->Show();
  Messages::TraiterMessagesEnAttente();
  const int32_t copies = t.DeviceSettings().Copies;
  ScriptedPrintDialog dialog;
  DialoguesImpression::DefinirFournisseur(&dialog);
  ASSERT_TRUE(Saisie::Cliquer(*w->PrintSetup));
  EXPECT_EQ(dialog.Seen.size(), 1u);
  EXPECT_EQ(report->Tag, 1);
  EXPECT_EQ(t.DeviceSettings().Copies, copies);
  EXPECT_FALSE(w->PrintSetup->Down);
  delete w;
}

TEST_F(PreviewWindow, ThumbnailsAndGoToPage) {
  TRBPrinter t;
  auto* w = new TRBStandardPreview(&Application(), &t);
  BuildPages(t, 6);
  Messages::TraiterMessagesEnAttente();
  w->Show();
  w->LayoutThumbnails();
  const int width = w->ThumbGrid->Width();
  ASSERT_GT(width, 40);
  // One column as wide as the grid less 4, one row per page; an A4 portrait thumbnail.
  EXPECT_EQ(w->ThumbGrid->ColCount, 1);
  EXPECT_EQ(w->ThumbGrid->DefaultColWidth, width - 4);
  EXPECT_EQ(w->ThumbGrid->RowCount(), 6);
  EXPECT_EQ(w->ThumbWidth, width - 24);
  EXPECT_EQ(w->ThumbHeight, RoundHalfEven((width - 24) / 2100.0 * 2970 - w->ThumbTextHeight));
  // A sheet of no size counts as a letter sheet instead of dividing by 0.
  t.DeviceSettings().PaperSize = TRBPaperSize::Default;
  w->LayoutThumbnails();
  EXPECT_EQ(w->ThumbHeight, RoundHalfEven((width - 24) / 2159.0 * 2794 - w->ThumbTextHeight));
  // Selecting a row shows its page; the page shown selects its row.
  w->ThumbGrid->SetRow(3);
  EXPECT_EQ(w->RBPreview->PageNumber(), 4);
  w->GoToPage(6);
  EXPECT_EQ(w->ThumbGrid->Row(), 5);
  // The cells draw their page on white with the number on top.
  TCanvasEnregistreur c;
  w->ThumbGridDrawCell(w->ThumbGrid, 0, 1, w->ThumbGrid->CellRect(0, 1), c);
  EXPECT_NE(c.Dump().find("Contenu 2"), std::string::npos) << c.Dump();

  struct Answer {
    std::string Text;
    int Page;
  };
  for (const Answer& a : {Answer{"4", 4}, Answer{"x", 1}, Answer{"7", 1}, Answer{" 5 ", 5}, Answer{"0", 1}}) {
    w->GotoPageAnswer(a.Text);
    EXPECT_EQ(w->RBPreview->PageNumber(), a.Page) << a.Text;
  }
  // The button asks in an input box that offers the page shown; a cancelled box stays there.
  std::vector<std::string> asked;
  std::optional<std::string> typed = "3";
  DialoguesSaisie::DefinirFournisseurSaisie([&](const std::string& Caption, const std::string& Prompt, std::string& Value) {
    asked.push_back(Caption + "|" + Prompt + "|" + Value);
    if (!typed) return false;
    Value = *typed;
    return true;
  });
  w->GotoPageButtonClick(w);
  EXPECT_EQ(w->RBPreview->PageNumber(), 3);
  typed.reset();
  w->GotoPageButtonClick(w);
  EXPECT_EQ(w->RBPreview->PageNumber(), 3);
  DialoguesSaisie::DefinirFournisseurSaisie(nullptr);
  EXPECT_EQ(asked, (std::vector<std::string>{"S\xE9lectionnez une page entre 1 et 6|Allez \xE0 la page >>|1",
                                              "S\xE9lectionnez une page entre 1 et 6|Allez \xE0 la page >>|3"}));
  delete w;
}
