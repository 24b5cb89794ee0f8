#include "reports/RBPrev.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "core/objects/Exceptions.h"
#include "platform/gui/DialoguesFichiers.h"
#include "platform/gui/DialoguesSaisie.h"
#include "platform/gui/Messages.h"
#include "platform/registry/Registry.h"
#include "platform/ui/BoiteMessage.h"
#include "reports/BandRpt.h"
#include "reports/RBChaines.h"
#include "reports/RBExportLinks.h"
#include "reports/RBSearch.h"

using RBChaines::Text;

namespace RBPrev {

namespace {
std::string gLastTitle;
bool gPagesFromFile = false;
}  // namespace

const std::string& LastTitle() { return gLastTitle; }
bool PagesFromFile() { return gPagesFromFile; }
void SetPagesFromFile(bool Value) { gPagesFromFile = Value; }

}  // namespace RBPrev

namespace {

template <class T>
T* Make(TComponent* Owner, TWinControl* Parent, const char* Name) {
  auto* c = new T(Owner);
  c->SetName(Name);
  c->SetParent(Parent);
  return c;
}

TPanel* MakePanel(TComponent* Owner, TWinControl* Parent, const char* Name, TAlign Align, int Size) {
  auto* p = Make<TPanel>(Owner, Parent, Name);
  p->SetBevelOuter(TBevelCut::bvNone);
  if (Align == TAlign::alLeft || Align == TAlign::alRight) p->SetWidth(Size);
  else p->SetHeight(Size);
  p->SetAlign(Align);
  return p;
}

// A decimal integer with an optional sign, the whole text; false for anything else.
bool ParseInteger(const std::string& Text, int32_t& Value) {
  size_t i = 0;
  bool negative = false;
  if (i < Text.size() && (Text[i] == '+' || Text[i] == '-')) negative = Text[i++] == '-';
  if (i == Text.size()) return false;
  int64_t v = 0;
  for (; i < Text.size(); ++i) {
    if (Text[i] < '0' || Text[i] > '9') return false;
    v = v * 10 + (Text[i] - '0');
    if (v > 2147483648LL) return false;
  }
  if (negative) v = -v;
  if (v > INT32_MAX || v < INT32_MIN) return false;
  Value = static_cast<int32_t>(v);
  return true;
}

std::string TrimBlanksAndTabs(const std::string& Text) {
  const size_t first = Text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const size_t last = Text.find_last_not_of(" \t");
  return Text.substr(first, last - first + 1);
}

}  // namespace

TRBStandardPreview::TRBStandardPreview(TComponent* Owner, TRBPrinter* Target) : TForm(Owner) {
  SetName("RBStandardPreview");
  SetVisible(false);
  SetBounds(0, 0, 500, 500);
  KeyPreview = true;
  RBPrev::SetPagesFromFile(false);

  Images = new TComponent(this);
  Images->SetName("Images");
  Panel1 = MakePanel(this, this, "Panel1", TAlign::alTop, 29);
  StatusBar = Make<TStatusBar>(this, this, "StatusBar");
  StatusBar->Panels = {{"0%", 50}, {"Page", 120}, {"", 50}};
  Tabs = Make<TPageControl>(this, this, "Tabs");
  Tabs->SetWidth(150);
  Tabs->SetAlign(TAlign::alLeft);
  TabThumbs = Make<TTabSheet>(this, nullptr, "TabThumbs");
  TabThumbs->SetPageControl(Tabs);
  TabSearchResult = Make<TTabSheet>(this, nullptr, "TabSearchResult");
  TabSearchResult->SetPageControl(Tabs);
  Panel2 = MakePanel(this, TabThumbs, "Panel2", TAlign::alClient, 0);
  ThumbGrid = Make<TDrawGrid>(this, Panel2, "ThumbGrid");
  ThumbGrid->SetAlign(TAlign::alClient);
  GroupBox1 = MakePanel(this, TabSearchResult, "GroupBox1", TAlign::alTop, 40);
  SearchTextLabel = Make<TLabel>(this, GroupBox1, "SearchTextLabel");
  SearchTextLabel->SetBounds(8, 18, 120, 13);
  Splitter2 = MakePanel(this, TabSearchResult, "Splitter2", TAlign::alTop, 3);
  SearchResultBox = Make<TListBox>(this, TabSearchResult, "SearchResultBox");
  SearchResultBox->SetAlign(TAlign::alClient);
  Splitter1 = MakePanel(this, this, "Splitter1", TAlign::alLeft, 3);
  RBPreview = Make<TRBPreview>(this, this, "RBPreview");
  RBPreview->SetAlign(TAlign::alClient);

  // The tool bar: zoom, then paging, then the hidden buttons; on the right the print and close
  // buttons.
  PaletteBouton = MakePanel(this, Panel1, "PaletteBouton", TAlign::alRight, 230);
  PanelBoutonFermer = MakePanel(this, PaletteBouton, "PanelBoutonFermer", TAlign::alRight, 80);
  ExitButton = Make<TBitBtn>(this, PanelBoutonFermer, "ExitButton");
  ExitButton->SetBounds(2, 2, 75, 25);
  PanelSeparation2 = MakePanel(this, PaletteBouton, "PanelSeparation2", TAlign::alRight, 4);
  PanelImprimer = MakePanel(this, PaletteBouton, "PanelImprimer", TAlign::alRight, 80);
  Print = Make<TBitBtn>(this, PanelImprimer, "Print");
  Print->SetBounds(2, 2, 75, 25);
  Print->SetEnabled(false);
  Panel5 = MakePanel(this, PaletteBouton, "Panel5", TAlign::alRight, 4);
  Panel3 = MakePanel(this, PaletteBouton, "Panel3", TAlign::alClient, 0);
  ToolBar3 = Make<TToolBar>(this, Panel3, "ToolBar3");
  ToolBar3->SetAlign(TAlign::alClient);
  PrintSetup = Make<TToolButton>(this, ToolBar3, "PrintSetup");
  PrintSetup->SetBounds(2, 2, 23, 22);
  PrintSetup->SetEnabled(false);
  PanelEspace4 = MakePanel(this, Panel3, "PanelEspace4", TAlign::alRight, 4);
  ToolBar1 = Make<TToolBar>(this, Panel1, "ToolBar1");
  ToolBar1->SetAlign(TAlign::alClient);
  int x = 0;
  auto button = [&](const char* Name, int Width = 23) {
    auto* b = Make<TToolButton>(this, ToolBar1, Name);
    b->SetBounds(x, 2, Width, 22);
    x += Width;
    return b;
  };
  auto edit = [&](const char* Name, int Width) {
    auto* e = Make<TEdit>(this, ToolBar1, Name);
    e->SetBounds(x, 3, Width, 21);
    e->TabStop = true;
    x += Width;
    return e;
  };
  ZoomFit = button("ZoomFit");
  Zoom100 = button("Zoom100");
  ZoomToWidth = button("ZoomToWidth");
  ZoomToWidth->Style = TToolButtonStyle::tbsCheck;
  SpacerZoomMoins = button("SpacerZoomMoins");
  EditZoom = edit("EditZoom", 50);
  SpacerZoomPlus = button("SpacerZoomPlus");
  ToolButton1 = button("ToolButton1", 8);
  ToolButton1->Style = TToolButtonStyle::tbsDivider;
  FirstPage = button("FirstPage");
  PreviousPage = button("PreviousPage");
  EditPage = edit("EditPage", 70);
  nextpage = button("nextpage");
  LastPage = button("LastPage");
  GotoPageButton = button("GotoPageButton");
  FindButton = button("FindButton");
  SaveReport = button("SaveReport");
  LoadReport = button("LoadReport");

  ZoomFit->OnClick = [this](TComponent* s) { ZoomFitClick(s); };
  Zoom100->OnClick = [this](TComponent* s) { Zoom100Click(s); };
  ZoomToWidth->OnClick = [this](TComponent* s) { ZoomToWidthClick(s); };
  SpacerZoomMoins->OnClick = [this](TComponent* s) { SpacerZoomMoinsClick(s); };
  SpacerZoomPlus->OnClick = [this](TComponent* s) { SpacerZoomPlusClick(s); };
  EditZoom->OnExit = [this](TComponent* s) { EditZoomExit(s); };
  EditPage->OnEnter = [this](TComponent* s) { EditPageEnterExit(s); };
  EditPage->OnExit = [this](TComponent* s) { EditPageEnterExit(s); };
  FirstPage->OnClick = [this](TComponent* s) { FirstPageClick(s); };
  PreviousPage->OnClick = [this](TComponent* s) { PreviousPageClick(s); };
  nextpage->OnClick = [this](TComponent* s) { NextPageClick(s); };
  LastPage->OnClick = [this](TComponent* s) { LastPageClick(s); };
  FindButton->OnClick = [this](TComponent* s) { FindButtonClick(s); };
  GotoPageButton->OnClick = [this](TComponent* s) { GotoPageButtonClick(s); };
  SaveReport->OnClick = [this](TComponent* s) { SaveReportClick(s); };
  LoadReport->OnClick = [this](TComponent* s) { LoadReportClick(s); };
  Print->OnClick = [this](TComponent* s) { PrintClick(s); };
  PrintSetup->OnClick = [this](TComponent* s) { PrintSetupClick(s); };
  ExitButton->OnClick = [this](TComponent* s) { ExitButtonClick(s); };
  SearchResultBox->OnClick = [this](TComponent* s) { SearchResultBoxClick(s); };
  ThumbGrid->OnDrawCell = [this](TComponent* s, int c, int r, const TRect& R, TCanvas& C) {
    ThumbGridDrawCell(s, c, r, R, C);
  };
  ThumbGrid->OnSelectCell = [this](TComponent* s, int c, int r, bool& ok) { ThumbGridSelectCell(s, c, r, ok); };
  ThumbGrid->OnMouseDown = [this](TComponent* s, TMouseButton b, uint8_t sh, int X, int Y) {
    ThumbGridMouseDown(s, b, sh, X, Y);
  };
  ThumbGrid->OnMouseUp = [this](TComponent* s, TMouseButton b, uint8_t sh, int X, int Y) {
    ThumbGridMouseUp(s, b, sh, X, Y);
  };
  RBPreview->OnPageAvailable = [this](TComponent* s, int32_t n) { PageAvailable(s, n); };
  RBPreview->OnProgressUpdate = [this](TComponent* s, int32_t p) { ProgressUpdate(s, p); };
  OnShow = [this](TComponent* s) { FormShow(s); };
  OnHide = [this](TComponent* s) { FormHide(s); };
  OnClose = [this](TComponent* s, TCloseAction& a) { FormClose(s, a); };
  OnKeyDown = [this](TComponent* s, int& k, uint8_t sh) { FormKeyDown(s, k, sh); };

  // 1. The report's wishes, when a report made the target.
  auto* report = Target != nullptr ? dynamic_cast<TCustomBandRep*>(Target->OwnerReport()) : nullptr;
  if (report != nullptr) {
    // The platform's form styles: 0 normal, 3 stay on top (the MDI ones do not exist here).
    FormStyle = report->PrevFormStyle == 3 ? TFormStyle::fsStayOnTop : TFormStyle::fsNormal;
    SetWidth(report->PreviewWidth);
    SetHeight(report->PreviewHeight);
    NormalRect = BoundsRect();
    WindowState = static_cast<TWindowState>(std::min<uint8_t>(report->PreviewInitialState, 2));
    ShowThumbnails = report->PrevShowThumbs;
    ShowSearch = report->PrevShowSearch;
    Target->DocumentTitle = report->ReportTitle;
    RBPrev::gLastTitle = report->ReportTitle;
    Landscape = report->Page.Orientation() == 1;
  } else {
    NormalRect = BoundsRect();
    WindowState = TWindowState::wsMaximized;
    ShowThumbnails = ShowSearch = true;
  }
  // 2. The target.
  RBPreview->SetTarget(Target);
  if (Target != nullptr) {
    Target->DeviceSettings().Orientation = Landscape ? 1 : 0;
    // 3. Its title.
    if (!Target->DocumentTitle.empty()) SetCaption(Target->DocumentTitle);
  }
  // 4. The progress bar; the thumbnail and search panel starts hidden.
  ProgressBar = Make<TProgressBar>(this, StatusBar, "ProgressBar");
  ProgressBar->SetBounds(2, 2, 100, 10);
  LastProgressShown = 0;
  Tabs->SetVisible(false);
  // 5. Zoom to the width.
  ResizeZoomMode = rbZoomToWidth;
  RBPreview->ZoomToWidth();
  ZoomToWidth->Down = true;
  ShowZoom();
  // Over pages already finished no page message will come: they are taken as arrived now, so
  // that printing is offered.
  if (Target != nullptr && Target->Status() == TRBPrinter::StatusComplete) PageAvailable(RBPreview, Target->PagesAvailable());
  built_ = true;
}

TRBStandardPreview::~TRBStandardPreview() {
  built_ = false;
  OnShow = nullptr;
  OnHide = nullptr;
  WritePlacement();
  EnableTaskWindows(DisabledWindows);
  DisabledWindows.clear();
}

void TRBStandardPreview::BoundsChanged() {
  TForm::BoundsChanged();
  if (!built_) return;
  if (WindowState == TWindowState::wsNormal) NormalRect = BoundsRect();
  FormResize(this);
}

void TRBStandardPreview::SetWindowState(TWindowState State) {
  WindowState = State;
  if (State == TWindowState::wsMaximized) {
    const TRect keep = NormalRect;
    SetBoundsRect(Screen().DesktopRect());
    NormalRect = keep;
  } else if (State == TWindowState::wsNormal && !NormalRect.Vide()) {
    SetBoundsRect(NormalRect);
  }
}

// ---------------------------------------------------------------------------------------------
// Texts

void TRBStandardPreview::GoToPage(int32_t N) {
  RBPreview->SetPageNumber(N);
  WritePageText();
  if (TRBPrinter* t = Target(); t != nullptr && N >= 1 && N <= t->PageCount()) ThumbGrid->SetRowQuiet(N - 1);
  EditPage->SetText(Text(RBChaines::RS_Page) + " " + std::to_string(RBPreview->PageNumber()));
}

void TRBStandardPreview::WritePageText() {
  const int32_t count = Target() != nullptr ? Target()->PageCount() : 0;
  StatusBar->Panels[1].Text = Text(RBChaines::RS_Page) + " " + std::to_string(RBPreview->PageNumber()) + " " +
                              Text(RBChaines::RS_Of) + " " + std::to_string(count);
  StatusBar->Invalidate();
  UpdateButtons();
}

void TRBStandardPreview::UpdateButtons() {
  const int32_t zoom = RBPreview->Zoom();
  const int32_t page = RBPreview->PageNumber();
  SpacerZoomMoins->SetEnabled(zoom > 20);
  SpacerZoomPlus->SetEnabled(zoom < 240);
  FirstPage->SetEnabled(page > 1);
  PreviousPage->SetEnabled(page > 1);
  const int32_t count = Target() != nullptr ? Target()->PageCount() : 0;
  if (count >= 1) {
    nextpage->SetEnabled(page < count);
    LastPage->SetEnabled(page < count);
  }
}

void TRBStandardPreview::ShowZoom() {
  const std::string text = std::to_string(RBPreview->Zoom()) + "%";
  StatusBar->Panels[0].Text = text;
  StatusBar->Invalidate();
  EditZoom->SetText(text);
}

// ---------------------------------------------------------------------------------------------
// Show, placement, close

void TRBStandardPreview::FormShow(TComponent*) {
  DisabledWindows = DisableTaskWindows(this);
  SaveReport->SetVisible(false);
  LoadReport->SetVisible(false);
  FindButton->SetVisible(false);
  GotoPageButton->SetVisible(false);
  SetCaption(Text(RBChaines::RS_PreviewCaption));
  ExitButton->SetCaption(Text(RBChaines::RS_Close));
  TabSearchResult->SetCaption(Text(RBChaines::RS_SearchResult));
  GroupBox1->SetCaption(" " + Text(RBChaines::RS_SearchedText) + " ");
  TabThumbs->SetCaption(Text(RBChaines::RS_Pages));
  Print->SetCaption(Text(RBChaines::RS_Print));
  const std::pair<TControl*, const TChaineRessource*> hints[] = {
      {ZoomFit, &RBChaines::RS_ZoomFit},         {Zoom100, &RBChaines::RS_Zoom100},
      {ZoomToWidth, &RBChaines::RS_ZoomToWidth}, {FirstPage, &RBChaines::RS_FirstPage},
      {PreviousPage, &RBChaines::RS_PreviousPage}, {nextpage, &RBChaines::RS_NextPage},
      {LastPage, &RBChaines::RS_LastPage},       {GotoPageButton, &RBChaines::RS_GotoPage},
      {FindButton, &RBChaines::RS_Find},         {PrintSetup, &RBChaines::RS_PrintSetup},
      {Print, &RBChaines::RS_Print},             {SaveReport, &RBChaines::RS_SaveReport},
      {LoadReport, &RBChaines::RS_LoadReport},   {ExitButton, &RBChaines::RS_Close},
      {SpacerZoomMoins, &RBChaines::RS_ZoomMinus}, {SpacerZoomPlus, &RBChaines::RS_ZoomPlus}};
  for (const auto& [control, text] : hints) {
    control->Hint = Text(*text);
    control->ShowHint = true;
  }
  ReadPlacement();
  EditZoom->SetText(std::to_string(RBPreview->Zoom()) + "%");
  EditPage->SetText(Text(RBChaines::RS_Page) + " " + std::to_string(RBPreview->PageNumber()));
  if (ExitButton->CanFocus()) ExitButton->SetFocus();
}

void TRBStandardPreview::FormHide(TComponent*) {
  EnableTaskWindows(DisabledWindows);
  DisabledWindows.clear();
}

std::string TRBStandardPreview::PlacementKey() const {
  return std::string(kRegistryKey) + (Landscape ? "Paysage\\" : "Portrait\\");
}

TRect TRBStandardPreview::DefaultPlacement() const {
  // Without a main window the screen stands for it.
  const TForm* main = Application().MainForm();
  const TRect over = main != nullptr && main != this ? main->BoundsRect() : Screen().DesktopRect();
  const double factor = Landscape ? 0.85 : 0.95;
  const int height = std::min(static_cast<int>(std::floor(over.Height() * factor)), Landscape ? 739 : 889);
  const int width = std::min(static_cast<int>(std::floor(over.Width() * factor)), Landscape ? 1098 : 839);
  const TRect desktop = Screen().DesktopRect();
  const int left = std::max(over.Left + (over.Width() - width) / 2, desktop.Left);
  const int top = std::max(over.Top + (over.Height() - height) / 2, desktop.Top);
  return {left, top, left + width, top + height};
}

namespace {

// A value stored as decimal text (a number is taken too); false when absent or unreadable.
bool ReadPlacementValue(const std::string& Key, const char* Name, int32_t& Value, TRegistryStatus& Status) {
  TRegistryValue v;
  std::string detail;
  Status = Registry::Current().Read(TRegistryHive::User, Key, Name, v, detail);
  if (Status == TRegistryStatus::WrongKind) {
    v.Kind = HiveFile::kKindNumber;
    Status = Registry::Current().Read(TRegistryHive::User, Key, Name, v, detail);
    if (Status != TRegistryStatus::Ok) return false;
    Value = static_cast<int32_t>(v.Number);
    return true;
  }
  return Status == TRegistryStatus::Ok && ParseInteger(TrimBlanksAndTabs(v.Text), Value);
}

}  // namespace

void TRBStandardPreview::ReadPlacement() {
  const std::string key = PlacementKey();
  int32_t full = 0;
  TRegistryStatus status;
  const bool hasFull = ReadPlacementValue(key, "FullSize", full, status);
  if (status == TRegistryStatus::KeyMissing || status == TRegistryStatus::Failed) {
    NormalRect = DefaultPlacement();
    SetWindowState(TWindowState::wsNormal);
    return;
  }
  TRect r;
  TRegistryStatus ignored;
  if (!ReadPlacementValue(key, "Top", r.Top, ignored)) r.Top = 0;
  if (!ReadPlacementValue(key, "Left", r.Left, ignored)) r.Left = 0;
  if (!ReadPlacementValue(key, "Bottom", r.Bottom, ignored)) r.Bottom = 0;
  if (!ReadPlacementValue(key, "Right", r.Right, ignored)) r.Right = 0;
  // A rectangle of no size, or one that lies wholly off the desktop, would leave the window out of
  // reach: the default placement takes its place.
  const TRect d = Screen().DesktopRect();
  const bool onScreen = r.Left < d.Right && r.Right > d.Left && r.Top < d.Bottom && r.Bottom > d.Top;
  NormalRect = r.Vide() || !onScreen ? DefaultPlacement() : r;
  SetWindowState(hasFull && full != 0 ? TWindowState::wsMaximized : TWindowState::wsNormal);
}

void TRBStandardPreview::WritePlacement() {
  const std::string key = PlacementKey();
  std::string detail;
  auto write = [&](const char* Name, int32_t Value) {
    TRegistryValue v;
    v.Kind = HiveFile::kKindText;
    v.Text = std::to_string(Value);
    (void)Registry::Current().Write(TRegistryHive::User, key, Name, v, detail);
  };
  write("Fullsize", WindowState == TWindowState::wsMaximized ? 1 : 0);
  write("Top", NormalRect.Top);
  write("Left", NormalRect.Left);
  write("Bottom", NormalRect.Bottom);
  write("Right", NormalRect.Right);
}

void TRBStandardPreview::CloseSteps() {
  if (closed_) return;
  closed_ = true;
  // The report may free its target on the close message: the preview lets it go first.
  TRBPrinter* t = Target();
  RBPreview->SetTarget(nullptr);
  if (t != nullptr) t->ClosePreview();
  Messages::TraiterMessagesEnAttente();
}

void TRBStandardPreview::FormClose(TComponent*, TCloseAction& Action) {
  CloseSteps();
  Action = TCloseAction::caFree;
}

void TRBStandardPreview::FormResize(TComponent*) {
  RBPreview->UpdateImageSize();
  if (ResizeZoomMode == rbZoomToFit) RBPreview->ZoomToFit();
  else if (ResizeZoomMode == rbZoomToWidth) RBPreview->ZoomToWidth();
  else RBPreview->SetZoom(100);
  ShowZoom();
}

void TRBStandardPreview::FormKeyDown(TComponent*, int& Key, uint8_t) {
  switch (Key) {
    case VK_PRIOR:
    case VK_LEFT: PreviousPageClick(this); break;
    case VK_NEXT:
    case VK_RIGHT: NextPageClick(this); break;
    case VK_UP: SpacerZoomPlusClick(this); break;
    case VK_DOWN: SpacerZoomMoinsClick(this); break;
    case VK_RETURN: break;
    default: return;
  }
  if (ExitButton->CanFocus()) ExitButton->SetFocus();
  Key = 0;
}

// ---------------------------------------------------------------------------------------------
// Zoom and paging

void TRBStandardPreview::ZoomFitClick(TComponent*) {
  Messages::TraiterMessagesEnAttente();
  RBPreview->ZoomToFit();
  ShowZoom();
}

void TRBStandardPreview::Zoom100Click(TComponent*) {
  Messages::TraiterMessagesEnAttente();
  RBPreview->SetZoom(100);
  RBPreview->UpdateImageSize();
  ShowZoom();
}

void TRBStandardPreview::ZoomToWidthClick(TComponent*) {
  Messages::TraiterMessagesEnAttente();
  RBPreview->ZoomToWidth();
  ShowZoom();
}

void TRBStandardPreview::SpacerZoomMoinsClick(TComponent*) {
  if (RBPreview->Zoom() > 39) RBPreview->SetZoom(RBPreview->Zoom() - 20);
  RBPreview->UpdateImageSize();
  ShowZoom();
  UpdateButtons();
}

void TRBStandardPreview::SpacerZoomPlusClick(TComponent*) {
  if (RBPreview->Zoom() <= 220) RBPreview->SetZoom(RBPreview->Zoom() + 20);
  RBPreview->UpdateImageSize();
  ShowZoom();
  UpdateButtons();
}

void TRBStandardPreview::InputError(TEdit* Field) {
  BoiteMessage::Afficher(Field->Text() + " : " + Text(RBChaines::RS_IntegerExpected), Text(RBChaines::RS_InvalidInput),
                         BoiteMessage::MB_OK | BoiteMessage::MB_ICONERROR);
  if (Field->CanFocus()) Field->SetFocus();
}

void TRBStandardPreview::EditZoomExit(TComponent*) {
  const std::string& text = EditZoom->Text();
  const size_t percent = text.find('%');
  int32_t value = 0;
  if (ParseInteger(TrimBlanksAndTabs(percent == std::string::npos ? text : text.substr(0, percent)), value)) {
    RBPreview->SetZoom(std::clamp(value, 20, 240));
    RBPreview->UpdateImageSize();
  } else {
    InputError(EditZoom);
  }
  EditZoom->SetText(std::to_string(RBPreview->Zoom()) + "%");
  UpdateButtons();
}

void TRBStandardPreview::EditPageEnterExit(TComponent*) {
  const std::string& text = EditPage->Text();
  const std::string word = Text(RBChaines::RS_Page);
  const std::string number = text.compare(0, word.size(), word) == 0 ? text.substr(word.size()) : text;
  int32_t value = RBPreview->PageNumber();
  if (ParseInteger(TrimBlanksAndTabs(number), value)) {
    const int32_t count = Target() != nullptr ? Target()->PageCount() : 0;
    if (value > count) value = count;
    if (value < 1) value = 1;
    GoToPage(value);
  } else {
    value = RBPreview->PageNumber();
    InputError(EditPage);
  }
  EditPage->SetText(word + " " + std::to_string(value));
  UpdateButtons();
}

void TRBStandardPreview::FirstPageClick(TComponent*) {
  GoToPage(1);
  UpdateButtons();
}

void TRBStandardPreview::PreviousPageClick(TComponent*) {
  GoToPage(RBPreview->PageNumber() - 1);
  UpdateButtons();
}

void TRBStandardPreview::NextPageClick(TComponent*) {
  GoToPage(RBPreview->PageNumber() + 1);
  UpdateButtons();
}

void TRBStandardPreview::LastPageClick(TComponent*) {
  GoToPage(Target() != nullptr ? Target()->PageCount() : 1);
  UpdateButtons();
}

// ---------------------------------------------------------------------------------------------
// Events of the preview control

void TRBStandardPreview::PageAvailable(TComponent*, int32_t) {
  WritePageText();
  LayoutThumbnails();
  ThumbGrid->Invalidate();
  if (Target() != nullptr && Target()->Status() == TRBPrinter::StatusComplete) {
    PrintSetup->SetEnabled(true);
    Print->SetEnabled(true);
  }
}

void TRBStandardPreview::ProgressUpdate(TComponent*, int32_t Progress) {
  if (Progress >= LastProgressShown + 5) {
    const std::string text = std::to_string(Progress) + "%";
    StatusBar->Panels[0].Text = text;
    EditZoom->SetText(text);
    LastProgressShown = Progress;
  }
  if (Progress == 0 || Progress == 100) StatusBar->Panels[0].Text.clear();
  StatusBar->Invalidate();
}

// ---------------------------------------------------------------------------------------------
// Buttons

void TRBStandardPreview::PrintClick(TComponent*) {
  if (TRBPrinter* t = Target()) {
    auto* report = dynamic_cast<TBandRep*>(t->OwnerReport());
    if (!RBPrev::PagesFromFile() && !t->LoadedFromFile() && report != nullptr) report->PrintToPrinter();
    else t->Print();
  }
  Close();
}

void TRBStandardPreview::PrintSetupClick(TComponent*) {
  TRBPrinter* t = Target();
  auto* report = t != nullptr ? dynamic_cast<TCustomBandRep*>(t->OwnerReport()) : nullptr;
  if (report != nullptr) {
    report->ChoosePrinter();
    if (report->Tag != 1) {
      const TBandRepPrinterSettings& chosen = report->LastDialogSettings;
      (void)t->SelectPrinter(chosen.PrinterNumber);
      TPrinterSettings& s = t->DeviceSettings();
      s.OutputBin = chosen.OutputBin;
      s.Collate = chosen.Collate;
      s.ColorOption = chosen.ColorOption;
      s.PrintQuality = chosen.PrintQuality;
      s.Copies = chosen.Copies;
      s.Duplex = chosen.Duplex;
      s.CustomBinCode = chosen.CustomBinCode;
      s.UseCustomBinCode = chosen.UseCustomBinCode;
      t->FirstPage = chosen.FirstPage;
      t->LastPage = chosen.LastPage;
      s.ExtendedDuplex = chosen.ExtendedDuplex;
      s.ExtendedDuplexSwitch = chosen.ExtendedDuplex != 0;
      if (!RBPrev::PagesFromFile()) {
        TBandRepPrinterSettings& r = report->PrinterSettings;
        r.OutputBin = chosen.OutputBin;
        r.Collate = chosen.Collate;
        r.ColorOption = chosen.ColorOption;
        r.PrintQuality = chosen.PrintQuality;
        r.Copies = chosen.Copies;
        r.Duplex = chosen.Duplex;
        r.CustomBinCode = chosen.CustomBinCode;
        r.UseCustomBinCode = chosen.UseCustomBinCode;
        r.FirstPage = chosen.FirstPage;
        r.LastPage = chosen.LastPage;
        r.ExtendedDuplex = chosen.ExtendedDuplex;
      }
    }
  }
  PrintSetup->Down = false;
}

void TRBStandardPreview::ExitButtonClick(TComponent*) { Close(); }

// ---------------------------------------------------------------------------------------------
// The hidden features

void TRBStandardPreview::FindButtonClick(TComponent*) {
  TRBPrinter* t = Target();
  std::unique_ptr<TSearchDlg> dialog(new TSearchDlg(&Application()));
  dialog->Execute();
  if (dialog->Cancelled) return;
  Tabs->SetActivePage(TabSearchResult);
  SearchTextLabel->SetCaption(dialog->SearchText);
  SearchResultBox->Clear();
  SearchResultBox->SetEnabled(true);
  const int32_t count = t != nullptr ? t->PageCount() : 0;
  for (int32_t p = 1; p <= count; ++p) {
    std::unique_ptr<TMetafile> page = t->GetPage(p);
    if (page && RBSearch::FindTextInPage(dialog->SearchText, *page, dialog->MatchCase))
      SearchResultBox->Add(Text(RBChaines::RS_Page) + " " + std::to_string(p));
  }
  if (SearchResultBox->Count() == 0) {
    SearchResultBox->Add(Text(RBChaines::RS_TextNotFound));
    SearchResultBox->SetEnabled(false);
  }
}

void TRBStandardPreview::SearchResultBoxClick(TComponent*) {
  const int i = SearchResultBox->ItemIndex();
  if (i < 0) return;
  const std::string& line = SearchResultBox->Items()[static_cast<size_t>(i)];
  const std::string word = Text(RBChaines::RS_Page) + " ";
  const size_t at = line.find(word);
  int32_t n = 0;
  if (at != std::string::npos && ParseInteger(TrimBlanksAndTabs(line.substr(at + word.size())), n)) GoToPage(n);
}

void TRBStandardPreview::GotoPageButtonClick(TComponent*) {
  const int32_t count = Target() != nullptr ? Target()->PageCount() : 0;
  GotoPageAnswer(InputBox(Text(RBChaines::RS_SelectPageBetween) + " " + std::to_string(count),
                          Text(RBChaines::RS_GotoPage), std::to_string(RBPreview->PageNumber())));
}

void TRBStandardPreview::GotoPageAnswer(const std::string& Answer) {
  const int32_t count = Target() != nullptr ? Target()->PageCount() : 0;
  int32_t n = 0;
  if (!ParseInteger(TrimBlanksAndTabs(Answer), n) || n < 1 || n > count) n = 1;
  GoToPage(n);
}

void TRBStandardPreview::SaveReportClick(TComponent*) {
  TRBPrinter* t = Target();
  TSaveDialog dialog;
  dialog.Title = Text(RBChaines::RS_SaveReportTitle);
  dialog.Filter = RBExportLinks::ExportFilterLibrary().SaveDialogFilter();
  dialog.DefaultExt = "RBP";
  dialog.OverwritePrompt = true;
  if (!dialog.Execute() || t == nullptr) return;
  if (dialog.FilterIndex <= 1) {
    (void)t->SaveToFile(dialog.FileName);
    return;
  }
  // No export filter can be made for a file yet.
  throw ENonConstruit("RBPrev: exporting the pages through an export filter");
}

void TRBStandardPreview::LoadReportClick(TComponent*) {
  TRBPrinter* t = Target();
  TOpenDialog dialog;
  dialog.Title = Text(RBChaines::RS_LoadReportTitle);
  dialog.Filter = Text(RBChaines::RS_ReportFile) + " (*." + "RBP" + ")|*." + "RBP";
  if (!dialog.Execute() || t == nullptr) return;
  std::error_code error;
  if (!std::filesystem::is_regular_file(dialog.FileName, error)) {
    BoiteMessage::Afficher(Text(RBChaines::RS_FileDoesNotExist), Caption(), BoiteMessage::MB_OK);
    return;
  }
  t->LoadFromFile(dialog.FileName);
  Landscape = t->DeviceSettings().Orientation == 1;
  RBPrev::gLastTitle = dialog.FileName;
  RBPreview->PageImage()->ShowPage(1);
  RBPreview->SetPageNumber(1);
  RBPreview->UpdateImageSize();
  PageAvailable(RBPreview, 1);
  ThumbGrid->SetRowQuiet(0);
  RBPrev::SetPagesFromFile(true);
  Print->SetEnabled(true);
  ZoomToWidthClick(this);
}

void TRBStandardPreview::LayoutThumbnails() {
  TRBPrinter* t = Target();
  ThumbGrid->ColCount = 1;
  ThumbGrid->DefaultColWidth = std::max(0, ThumbGrid->Width() - 4);
  ThumbWidth = ThumbGrid->DefaultColWidth - 20;
  // A sheet of no size counts as one of 215.9 by 279.4 millimetres.
  int32_t width = t != nullptr ? t->DeviceSettings().PaperWidth() : 0;
  int32_t length = t != nullptr ? t->DeviceSettings().PaperLength() : 0;
  if (width <= 0 || length <= 0) width = 2159, length = 2794;
  if (Landscape) std::swap(width, length);
  ThumbTextHeight = MetriquesTexte::Hauteur(ThumbGrid->Font());
  ThumbHeight = RoundHalfEven(static_cast<double>(ThumbWidth) / width * length - ThumbTextHeight);
  ThumbLeft = 10;
  ThumbTop = 10;
  ThumbGrid->DefaultRowHeight = std::max(1, ThumbHeight + 20);
  ThumbGrid->SetRowCount(t != nullptr ? t->PageCount() : 0);
}

void TRBStandardPreview::ThumbGridDrawCell(TComponent*, int, int Row, const TRect& Rect, TCanvas& Canvas) {
  TRBPrinter* t = Target();
  if (t == nullptr) return;
  const TRect area{Rect.Left + ThumbLeft, Rect.Top + 10, Rect.Right - 30, Rect.Bottom - 10};
  Canvas.Brush.Color = Couleurs::clWhite;
  Canvas.Brush.Style = TBrushStyle::bsSolid;
  Canvas.FillRect(area);
  if (std::unique_ptr<TMetafile> page = t->GetPage(Row + 1)) page->Jouer(Canvas, area);
  Canvas.Brush.Color = Couleurs::clBtnFace;
  Canvas.TextOut(Rect.Left, Rect.Top, std::to_string(Row + 1));
}

void TRBStandardPreview::ThumbGridSelectCell(TComponent*, int, int Row, bool&) { GoToPage(Row + 1); }

void TRBStandardPreview::ThumbGridMouseDown(TComponent*, TMouseButton, uint8_t, int, int) { PressedRow = ThumbGrid->Row(); }

void TRBStandardPreview::ThumbGridMouseUp(TComponent*, TMouseButton, uint8_t, int, int) {
  ThumbGrid->SetRowQuiet(PressedRow);
}
