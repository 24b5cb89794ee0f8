#include "reports/RBPrinter.h"

#include <algorithm>

#include "platform/gui/Fiches.h"

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
  Messages::Envoyer(ReportWindow, kRBMessageClosePreview, reinterpret_cast<intptr_t>(this));
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

TForm* TRBPreviewInterface::ShowPreview(TRBPrinter&) { return nullptr; }
TForm* TRBPreviewInterface::ShowPreviewModal(TRBPrinter&) { return nullptr; }

TForm* TRBStandardPreviewInterface::ShowPreview(TRBPrinter&) {
  throw ENonConstruit("RBPrinter: the standard preview window is not built yet");
}

TForm* TRBStandardPreviewInterface::ShowPreviewModal(TRBPrinter&) {
  throw ENonConstruit("RBPrinter: the standard preview window is not built yet");
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
