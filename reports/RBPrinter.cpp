#include "reports/RBPrinter.h"

#include <algorithm>

#include "platform/gui/Fiches.h"
#include "reports/RBExportLinks.h"
#include "reports/RBPrev.h"

TRBPrinter::TRBPrinter(TRBOwnerReport* Owner) : owner_(Owner) {
  hasPrinters_ = !Printers::Printer().Printers().empty();
  settings_.UseStandardprinter = owner_ != nullptr && owner_->UseStandardprinter();
  if (owner_ != nullptr) settings_.MemoryLimit = owner_->MemoryLimit();
  if (settings_.UseStandardprinter) {
    device_ = &Printers::Printer();
  } else {
    ownDevice_ = std::make_unique<TPrinter>();
    device_ = ownDevice_.get();
  }
  if (hasPrinters_) {
    settings_.SetDevice(device_);
    const int shared = Printers::Printer().PrinterIndex();
    if (ownDevice_ && shared < static_cast<int>(ownDevice_->Printers().size())) SelectPrinter(shared);
  }
  UnprintableTop = settings_.UnprintableTop;
  UnprintableLeft = settings_.UnprintableLeft;
  if (owner_ != nullptr) ReportWindow = owner_->Window();
}

TRBPrinter::~TRBPrinter() {
  if (aliveFlag_ != nullptr) *aliveFlag_ = false;
  // A preview that shows the target forgets it.
  if (preview_ != nullptr) preview_->TargetGone(this);
  if (status_ != StatusIdle) Cleanup();
  // A run abandoned while printing straight to the printer leaves no document open on it.
  if (device_ != nullptr && device_->Printing()) device_->Abort();
}

bool TRBPrinter::SelectPrinter(int Index) {
  if (!hasPrinters_ || !ownDevice_) return false;
  ownDevice_->SetPrinterIndex(Index);
  settings_.ReadFromDevice();
  return true;
}

void TRBPrinter::SetOutlineView(TOutlineView* View) {
  outlineView_ = View;
  if (outlineView_ != nullptr) outlineView_->Show(pages_.PageOutline());
}

void TRBPrinter::Announce(uint32_t Message, intptr_t Parameter) {
  Messages::Poster(Receiver, Message, Parameter);
}

void TRBPrinter::ScreenFactors() {
  DotsPerTenthX = DotsPerTenth(TScreen::kPixelsParPouce);
  DotsPerTenthY = DotsPerTenthX;
}

// The device's logical dots per inch, each factor below 0.1 replaced by the screen's.
void TRBPrinter::DeviceFactors() {
  const TDeviceMetrics m = device_->Metrics();
  DotsPerTenthX = DeviceDotsPerTenth(m.DotsPerInchX);
  DotsPerTenthY = DeviceDotsPerTenth(m.DotsPerInchY);
}

void TRBPrinter::FreePage() {
  pageCanvas_ = nullptr;
  metafileCanvas_.reset();
  pageMetafile_.reset();
  pageLinks_.clear();
}

// Closes the open page's canvas (which ends its metafile) and adds the page to the store.
void TRBPrinter::StorePage() {
  metafileCanvas_.reset();
  if (pageMetafile_) pages_.AddPage(*pageMetafile_);
  FreePage();
}

void TRBPrinter::BeginDocument() {
  // Refused before anything changes, so that a running document keeps its open page and counts.
  if (status_ != StatusIdle) throw ERBError("RBPrinter not ready");
  FreePage();
  pagesAvailable_ = 0;
  cancelRequested_ = false;
  if (Routing == RoutePrinter) settings_.WriteToDevice();
  UnprintableTop = Routing == RoutePrinter ? settings_.UnprintableTop : 0;
  UnprintableLeft = Routing == RoutePrinter ? settings_.UnprintableLeft : 0;
  currentPage_ = 0;
  pageCount_ = 0;
  pages_.Clear();
  if (Routing == RoutePrinter) {
    DeviceFactors();
  } else {
    pages_.SetStore(std::make_unique<TRBStream>(settings_.MemoryLimit));
    ScreenFactors();
  }
  status_ = StatusBuilding;
}

// Starts the printer's page for the page being drawn: its first page begins the printer's document.
void TRBPrinter::StartDevicePage() {
  if (device_->Printing()) {
    device_->NewPage();
  } else {
    device_->Title = DocumentTitle;
    device_->BeginDoc();
  }
  pageCanvas_ = device_->Canvas();
  DeviceFactors();
}

void TRBPrinter::NewPage() {
  if (status_ != StatusBuilding) throw ERBError("Illegal call to NewPage");
  if (currentPage_ > 0) {
    // A page drawn on the printer stays open until the next printed page or the end of the document;
    // a page outside the print range was drawn on a metafile, which is dropped.
    if (Routing == RoutePageStore)
      StorePage();
    else
      FreePage();
    Announce(kRBMessagePagesAvailable, ++pagesAvailable_);
  }
  ++pageCount_;
  ++currentPage_;
  if (Routing == RoutePrinter && InPrintRange(pageCount_, FirstPage, LastPage)) {
    pageLinks_.clear();
    StartDevicePage();
    return;
  }
  ScreenFactors();
  pageMetafile_ = std::make_unique<TMetafile>(ToDeviceWidth(PageWidth()), ToDeviceHeight(PageHeight()));
  metafileCanvas_ = std::make_unique<Metafichier::TMetafileCanvas>(*pageMetafile_);
  pageCanvas_ = metafileCanvas_.get();
  pageLinks_.clear();
}

void TRBPrinter::EndDocument() {
  if (status_ != StatusBuilding) return;
  if (Routing == RoutePrinter) {
    FreePage();
    if (device_->Printing()) device_->EndDoc();
  } else if (pageCount_ > 0) {
    StorePage();
  }
  status_ = StatusComplete;
  if (Routing == RoutePrinter) {
    Announce(kRBMessagePagesAvailable, ++pagesAvailable_);
    Messages::TraiterMessagesEnAttente();
    if (AfterPrintHandler) AfterPrintHandler();
    return;
  }
  // The last announcement gives the pages there are: a document without pages announces none.
  pagesAvailable_ = pages_.PagesStored();
  Announce(kRBMessagePagesAvailable, pagesAvailable_);
  Messages::TraiterMessagesEnAttente();
  if (pages_.Store() != nullptr) pages_.WriteHeader();
}

void TRBPrinter::AbortDocument() {
  if (Routing == RoutePrinter) {
    FreePage();
    if (device_->Printing()) device_->Abort();
  } else if (pageMetafile_) {
    if (owner_ == nullptr || owner_->KeepsAbortedPage())
      StorePage();
    else
      FreePage();
  }
  status_ = StatusComplete;
}

void TRBPrinter::Cleanup() {
  if (status_ == StatusBuilding) Cancel();
  FreePage();
  pages_.FreeStore();
  pages_.Clear();
  status_ = StatusIdle;
}

std::unique_ptr<TMetafile> TRBPrinter::GetPage(int32_t N) {
  if (status_ == StatusIdle || N < 1 || N > pageCount_) return nullptr;
  return pages_.GetPage(N);
}

bool TRBPrinter::SaveToFile(const std::string& Name) {
  if (status_ != StatusComplete) return false;
  pages_.SaveToFile(Name);
  return true;
}

void TRBPrinter::LoadFromFile(const std::string& Name) {
  if (status_ != StatusIdle) Cleanup();
  pages_.LoadFromFile(Name);
  pageCount_ = pages_.PagesStored();
  ScreenFactors();
  if (pageCount_ > 0) {
    std::unique_ptr<TMetafile> first = pages_.GetPage(1);
    GuessPaperOfPage(first->Width(), first->Height(), DotsPerTenthX, [this](TRBPaperSize Size, uint8_t Orientation) {
      settings_.SetPaperSize(Size);
      settings_.SetOrientation(Orientation);
    });
  }
  status_ = StatusComplete;
  OnExportRequest = nullptr;
  OnPrintSetupRequest = nullptr;
  loadedFromFile_ = true;
}

void TRBPrinter::SetCurrentPage(int32_t N) {
  if (currentPage_ >= 1 && currentPage_ <= pageCount_) currentPage_ = N;
}

void TRBPrinter::SetPreviewShown(bool Flag) {
  if (previewShown_ && !Flag) {
    if (status_ == StatusBuilding) Cancel();
    if (AfterPreviewHandler) AfterPreviewHandler();
  }
  previewShown_ = Flag;
}

void TRBPrinter::ClosePreview() {
  // The report may free its target on this message: nothing of the target is touched after it then.
  bool alive = true;
  aliveFlag_ = &alive;
  Messages::Envoyer(ReportWindow, kRBMessageClosePreview, reinterpret_cast<intptr_t>(this));
  if (!alive) return;
  aliveFlag_ = nullptr;
  previewShown_ = false;
}

void TRBPrinter::RequestExport(const std::string& Filter) {
  if (OnExportRequest) OnExportRequest(*this, Filter);
}

void TRBPrinter::Print() {
  if (ReportWindow != nullptr && !loadedFromFile_ && !settings_.PrintMetaFile && status_ == StatusComplete) {
    Messages::Poster(ReportWindow, kRBMessagePrint, 0);
    return;
  }
  if (status_ != StatusComplete || !hasPrinters_) return;
  // The range held within the pages stored (none when the document went straight to a printer, one
  // less than counted when an aborted page was dropped): a range that holds no page prints nothing.
  const int32_t stored = pages_.PagesStored();
  const int32_t first = std::max(FirstPage > 0 ? FirstPage : 1, 1);
  const int32_t last = std::min(LastPage > 0 ? LastPage : stored, stored);
  if (first > last) return;
  device_->Title = DocumentTitle;
  if (device_->Printing()) device_->Abort();
  settings_.WriteToDevice();
  device_->BeginDoc();
  TRBPrinterReceiver* progress = owner_ != nullptr ? owner_->ShowProgressWindow(*this) : nullptr;
  TRBPrinterReceiver* const previous = Receiver;
  // The progress window follows the printing only while it is shown: the receiver before it returns.
  auto hide = [&] {
    if (progress == nullptr) return;
    Receiver = previous;
    owner_->HideProgressWindow(progress);
  };
  if (progress != nullptr) Receiver = progress;
  try {
    PrintPages(first, last, progress != nullptr);
  } catch (...) {
    // The printer's document is ended whatever happens.
    if (device_->Printing()) device_->EndDoc();
    hide();
    throw;
  }
  if (device_->Printing()) device_->EndDoc();
  hide();
  if (AfterPrintHandler) AfterPrintHandler();
}

// Draws the stored pages First to Last on the printer's pages, each stretched over the whole sheet.
void TRBPrinter::PrintPages(int32_t First, int32_t Last, bool WithProgress) {
  const int32_t width = owner_ != nullptr ? owner_->PageWidth() : PageWidth();
  const int32_t length = owner_ != nullptr ? owner_->PageLength() : PageHeight();
  const TRect area = PrintRectangle(width, length, settings_.UnprintableLeft, settings_.UnprintableTop,
                                    settings_.ResolutionX, settings_.ResolutionY);
  for (int32_t p = First; p <= Last; ++p) {
    Messages::TraiterMessagesEnAttente();
    if (WithProgress) {
      progress_ = RoundHalfEven(static_cast<double>(p - First + 1) / (Last - First + 1) * 100);
      Announce(kRBMessageProgress, progress_);
    }
    SetCurrentPage(p);
    if (std::unique_ptr<TMetafile> page = GetPage(p)) page->Jouer(*device_->Canvas(), area);
    if (cancelRequested_) {
      device_->Abort();
      return;
    }
    if (p < Last) device_->NewPage();
  }
}

// ---------------------------------------------------------------------------------------------
// The preview control

TRBPreviewImage::TRBPreviewImage(TComponent* Owner) : TGraphicControl(Owner) { SetBounds(0, 0, 100, 50); }

void TRBPreviewImage::ShowPage(int32_t N) {
  ShownPage = N;
  pageMetafile_.reset();
  if (Target != nullptr) pageMetafile_ = Target->GetPage(N);
  Repaint();
}

void TRBPreviewImage::Paint(TCanvas& C) {
  if (!pageMetafile_) return;
  TSauvegardeCanvas saved(C);
  C.Brush.Color = Couleurs::clWhite;
  C.Brush.Style = TBrushStyle::bsSolid;
  C.Pen.Color = Couleurs::clWhite;
  C.Rectangle({1, 1, ClientWidth(), ClientHeight()});
  C.DefinirClip(ClientRect());
  pageMetafile_->Jouer(C, ClientRect());
}

std::string TRBPreviewImage::LinkAt(int X, int Y) {
  const int32_t zoom = Zoom > 0 ? Zoom : 100;
  const int px = RoundHalfEven(static_cast<double>(X) / zoom * 100);
  const int py = RoundHalfEven(static_cast<double>(Y) / zoom * 100);
  for (const TRBPageLink& area : LinkAreas) {
    const TRect& r = area.Area;
    if (px >= r.Left && px <= r.Right && py >= r.Top && py <= r.Bottom) {
      currentLink_ = area.Link;
      return area.Link;
    }
  }
  return {};
}

void TRBPreviewImage::SetOverLink(bool Flag) {
  if (Flag == overLink_) return;
  overLink_ = Flag;
  if (!OnHyperlink) return;
  bool handled = false;
  if (Flag) OnHyperlink(this, heCursorMoveOver, currentLink_, handled);
  else OnHyperlink(this, heCursorMoveAway, std::string(), handled);
}

void TRBPreviewImage::MouseMove(uint8_t Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  const bool over = !LinkAt(X, Y).empty();
  Cursor = over ? kCursorHandPoint : 0;
  SetOverLink(over);
}

void TRBPreviewImage::MouseDown(TMouseButton Button, uint8_t Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (!overLink_ || !OnHyperlink) return;
  bool handled = false;
  OnHyperlink(this, heGoto, currentLink_, handled);
  if (!handled) RBExportLinks::FollowLink(Target, currentLink_);
}

TRBPreview::TRBPreview(TComponent* Owner) : TScrollBox(Owner) {
  pageImage_ = new TRBPreviewImage(this);
  pageImage_->SetParent(this);
  pageImage_->SetBounds(0, 0, 100, 50);
  HorzScrollBar.Tracking = VertScrollBar.Tracking = true;
  SetBounds(Left(), Top(), 250, 250);
  OnResize = [this](TComponent*) { ApplyZoomMode(); };
}

TRBPreview::~TRBPreview() {
  OnResize = nullptr;
  SetTarget(nullptr);
}

void TRBPreview::SetTarget(TRBPrinter* Target) {
  if (target_ != nullptr) {
    if (target_->preview_ == this) target_->preview_ = nullptr;
    if (target_->Receiver == this) {
      target_->SetPreviewShown(false);
      target_->Receiver = nullptr;
    }
  }
  target_ = Target;
  pageImage_->Target = Target;
  if (Target != nullptr) {
    Target->preview_ = this;
    Target->Receiver = this;
    Target->SetPreviewShown(true);
  }
  pageNumber_ = 1;
  pageImage_->ShowPage(1);
  Repaint();
  pageImage_->OnClick = OnClick;
  pageImage_->OnDblClick = OnDblClick;
  pageImage_->OnMouseDown = OnMouseDown;
  pageImage_->OnMouseMove = OnMouseMove;
  pageImage_->OnMouseUp = OnMouseUp;
  if (Target != nullptr) Target->SetOutlineView(outline_);
}

void TRBPreview::TargetGone(const TRBPrinter* Target) {
  if (Target != target_ || Target == nullptr) return;
  target_ = nullptr;
  pageImage_->Target = nullptr;
}

void TRBPreview::SetPageNumber(int32_t N) {
  if (N == pageNumber_ && pageImage_->PageMetafile() != nullptr) return;
  if (N <= 0 || target_ == nullptr || N > target_->PageCount()) return;
  pageImage_->ShowPage(N);
  pageNumber_ = N;
  HorzScrollBar.Position = VertScrollBar.Position = 0;
}

void TRBPreview::SetZoom(int32_t Z) {
  if (Z < 2 || Z > 2000) return;
  zoomMode_ = rbZoomOther;
  zoom_ = Z;
  UpdateImageSize();
}

void TRBPreview::SetOutline(TRBPrinter::TOutlineView* View) {
  outline_ = View;
  if (target_ != nullptr) target_->SetOutlineView(View);
}

namespace {
// A sheet of 215.9 by 279.4 millimetres, in tenths.
constexpr int32_t kFallbackWidth = 2159;
constexpr int32_t kFallbackHeight = 2794;
}  // namespace

double TRBPreview::PageDeviceWidth() const {
  if (target_ == nullptr) return 215.9;
  const int32_t w = target_->PageWidth();
  return target_->ToDeviceWidth(w > 0 ? w : kFallbackWidth);
}

double TRBPreview::PageDeviceHeight() const {
  if (target_ == nullptr) return 279.4;
  const int32_t h = target_->PageHeight();
  return target_->ToDeviceHeight(h > 0 ? h : kFallbackHeight);
}

void TRBPreview::UpdateImageSize() {
  int w, h;
  if (target_ != nullptr) {
    const int32_t pw = target_->PageWidth() > 0 ? target_->PageWidth() : kFallbackWidth;
    const int32_t ph = target_->PageHeight() > 0 ? target_->PageHeight() : kFallbackHeight;
    w = RoundHalfEven(pw / 100.0 * zoom_ * target_->DotsPerTenthX) + 4;
    h = RoundHalfEven(ph / 100.0 * zoom_ * target_->DotsPerTenthY) + 4;
  } else {
    w = RoundHalfEven(215.9 / 100 * zoom_) + 4;
    h = RoundHalfEven(279.4 / 100 * zoom_) + 4;
  }
  const int left = w < Width() ? (Width() - w) / 2 : 0;
  const int top = h < Height() ? (Height() - h) / 2 : 0;
  pageImage_->SetBounds(left, top, w, h);
  HorzScrollBar.Position = VertScrollBar.Position = 0;
  pageImage_->Zoom = zoom_;
}

void TRBPreview::ZoomToFit() {
  const double pw = PageDeviceWidth(), ph = PageDeviceHeight();
  const int32_t z = std::min(RoundHalfEven(Width() / pw * 95), RoundHalfEven(Height() / ph * 95));
  SetZoom(z);
  UpdateImageSize();
  zoomMode_ = rbZoomToFit;
}

void TRBPreview::ZoomToWidth() {
  const double pw = PageDeviceWidth();
  // Without a target the page keeps the margin of a fitted one.
  const int32_t z = RoundHalfEven(Width() / pw * (target_ != nullptr ? 90 : 95));
  SetZoom(z);
  UpdateImageSize();
  zoomMode_ = rbZoomToWidth;
}

void TRBPreview::ApplyZoomMode() {
  if (zoomMode_ == rbZoomToFit) ZoomToFit();
  else if (zoomMode_ == rbZoomToWidth) ZoomToWidth();
  UpdateImageSize();
}

void TRBPreview::ShowArrivedPage() {
  if (target_ == nullptr || pageImage_->PageMetafile() != nullptr) return;
  if (target_->PagesAvailable() < pageImage_->ShownPage) return;
  ZoomToWidth();
  pageImage_->ShowPage(pageImage_->ShownPage);
}

void TRBPreview::RecevoirMessage(uint32_t Message, intptr_t Parameter) {
  const int32_t value = static_cast<int32_t>(Parameter & 0xFFFF);
  if (Message == kRBMessageProgress) {
    if (OnProgressUpdate) OnProgressUpdate(this, value);
  } else if (Message == kRBMessagePagesAvailable) {
    if (value == pageNumber_) ShowArrivedPage();
    if (OnPageAvailable) OnPageAvailable(this, value);
  }
}

// ---------------------------------------------------------------------------------------------
// Preview interfaces

TForm* TRBPreviewInterface::ShowPreview(TRBPrinter&) { return nullptr; }
TForm* TRBPreviewInterface::ShowPreviewModal(TRBPrinter&) { return nullptr; }

TForm* TRBStandardPreviewInterface::ShowPreview(TRBPrinter& Target) {
  auto* window = new TRBStandardPreview(&Application(), &Target);
  window->Show();
  window->WritePageText();
  return window;
}

TForm* TRBStandardPreviewInterface::ShowPreviewModal(TRBPrinter& Target) {
  auto* window = new TRBStandardPreview(&Application(), &Target);
  try {
    window->ShowModal();
  } catch (...) {
    window->CloseSteps();
    delete window;
    throw;
  }
  // The window has closed: it is freed before the answer.
  window->CloseSteps();
  delete window;
  return nullptr;
}

namespace RBPrinter {

namespace {

TRBPreviewInterfaceClass gPreviewInterfaceClass = nullptr;

}  // namespace

TRBPreviewInterfaceClass PreviewInterfaceClass() { return gPreviewInterfaceClass; }
void SetPreviewInterfaceClass(TRBPreviewInterfaceClass Class) { gPreviewInterfaceClass = Class; }

std::unique_ptr<TRBPreviewInterface> StandardPreviewInterface(TComponent* Owner) {
  return std::make_unique<TRBStandardPreviewInterface>(Owner);
}

void Initialiser() { gPreviewInterfaceClass = StandardPreviewInterface; }
void Finaliser() { gPreviewInterfaceClass = nullptr; }

}  // namespace RBPrinter

bool InPrintRange(int32_t P, int32_t FirstPage, int32_t LastPage) {
  return (FirstPage <= 0 || P >= FirstPage) && (LastPage <= 0 || P <= LastPage);
}

TRect PrintRectangle(int32_t PageWidth, int32_t PageLength, int32_t UnprintableLeft, int32_t UnprintableTop,
                     int32_t DotsPerInchX, int32_t DotsPerInchY) {
  auto units = [](int64_t tenths, int32_t dpi) { return RoundHalfEven(static_cast<double>(tenths) * dpi / 254); };
  return {-units(UnprintableLeft, DotsPerInchX), -units(UnprintableTop, DotsPerInchY),
          units(int64_t{PageWidth} - UnprintableLeft, DotsPerInchX),
          units(int64_t{PageLength} - UnprintableTop, DotsPerInchY)};
}
