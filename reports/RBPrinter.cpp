#include "reports/RBPrinter.h"

#include "platform/gui/Fiches.h"

namespace {

void NotBuiltYet(const char* What) {
  throw ENonConstruit(std::string("RBPrinter: ") + What + " needs the platform's printer, which is not built yet");
}

}  // namespace

TRBPrinter::TRBPrinter() = default;

TRBPrinter::~TRBPrinter() {
  if (status_ != StatusIdle) Cleanup();
}

void TRBPrinter::Announce(uint32_t Message, intptr_t Parameter) {
  if (Receiver != nullptr) Receiver->Receive(Message, Parameter);
}

void TRBPrinter::ScreenFactors() {
  DotsPerTenthX = DotsPerTenth(TScreen::kPixelsParPouce);
  DotsPerTenthY = DotsPerTenthX;
}

void TRBPrinter::FreePage() {
  pageCanvas_.reset();
  pageMetafile_.reset();
  pageLinks_.clear();
}

// Closes the open page's canvas (which ends its metafile) and adds the page to the store.
void TRBPrinter::StorePage() {
  pageCanvas_.reset();
  if (pageMetafile_) pages_.AddPage(*pageMetafile_);
  FreePage();
}

void TRBPrinter::BeginDocument() {
  // Refused before anything changes, so that a running document keeps its open page and counts.
  if (status_ != StatusIdle) throw ERBError("RBPrinter not ready");
  if (Routing == RoutePrinter) NotBuiltYet("printing straight to the printer");
  FreePage();
  pagesAvailable_ = 0;
  cancelRequested_ = false;
  UnprintableTop = 0;
  UnprintableLeft = 0;
  currentPage_ = 0;
  pageCount_ = 0;
  status_ = StatusBuilding;
  pages_.Clear();
  pages_.SetStore(std::make_unique<TRBStream>(settings_.MemoryLimit));
  ScreenFactors();
}

void TRBPrinter::NewPage() {
  if (status_ != StatusBuilding) throw ERBError("Illegal call to NewPage");
  if (currentPage_ > 0) {
    StorePage();
    Announce(kRBMessagePagesAvailable, ++pagesAvailable_);
  }
  ++pageCount_;
  ++currentPage_;
  ScreenFactors();
  pageMetafile_ = std::make_unique<TMetafile>(ToDeviceWidth(PageWidth()), ToDeviceHeight(PageHeight()));
  pageCanvas_ = std::make_unique<Metafichier::TMetafileCanvas>(*pageMetafile_);
  pageLinks_.clear();
}

void TRBPrinter::EndDocument() {
  if (status_ != StatusBuilding) return;
  if (pageCount_ > 0) StorePage();
  status_ = StatusComplete;
  // The last announcement gives the pages there are: a document without pages announces none.
  pagesAvailable_ = pages_.PagesStored();
  Announce(kRBMessagePagesAvailable, pagesAvailable_);
  if (pages_.Store() != nullptr) pages_.WriteHeader();
}

void TRBPrinter::AbortDocument() {
  if (pageMetafile_) StorePage();
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
  if (ReportWindow != nullptr) ReportWindow->Receive(kRBMessageClosePreview, reinterpret_cast<intptr_t>(this));
  previewShown_ = false;
}

void TRBPrinter::RequestExport(const std::string& Filter) {
  if (OnExportRequest) OnExportRequest(*this, Filter);
}

void TRBPrinter::Print() {
  if (ReportWindow != nullptr && !loadedFromFile_ && !settings_.PrintMetaFile && status_ == StatusComplete) {
    ReportWindow->Receive(kRBMessagePrint, 0);
    return;
  }
  NotBuiltYet("printing the stored pages");
}

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
