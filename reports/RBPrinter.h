// The render target of a report run: it opens a document, hands the report one canvas per page,
// converts report positions into device units and sends each finished page either to the page store,
// from which a preview shows it and which can be saved or printed, or straight to a printer (the
// platform's printer object over the print spooler).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/objects/Exceptions.h"
#include "platform/gui/Controles.h"
#include "platform/gui/ControlesApercu.h"
#include "platform/gui/Messages.h"
#include "platform/gui/Metafichier.h"
#include "platform/gui/Printers.h"
#include "reports/RBPrinterSettings.h"
#include "reports/RBPrntr.h"

class ERBError : public Exception {
 public:
  using Exception::Exception;
};

// The messages the target posts to the window that follows a run.
constexpr uint32_t kRBMessageProgress = Messages::WM_USER;            // the progress percentage
constexpr uint32_t kRBMessagePagesAvailable = Messages::WM_USER + 1;  // the number of pages available
// The messages the target sends to its report's window.
constexpr uint32_t kRBMessagePrint = Messages::WM_USER + 2;         // posted: run the report again to the printer
constexpr uint32_t kRBMessageClosePreview = Messages::WM_USER + 4;  // sent: the preview closes; the parameter is the target

// A window that receives the target's messages (a preview, a progress window, a report): a posted
// message reaches it only while it lives.
class TRBPrinterReceiver : public TRecepteurMessages {};

class TRBPrinter;
class TRBPreview;

// What the target asks of the report that owns it.
class TRBOwnerReport {
 public:
  virtual ~TRBOwnerReport() = default;
  // From the report's printer settings: whether it prints on the shared printer, and the memory the
  // page store may fill before it spills to a file.
  virtual bool UseStandardprinter() const = 0;
  virtual int32_t MemoryLimit() const = 0;
  // The report's page, in tenths of a millimetre.
  virtual int32_t PageWidth() const = 0;
  virtual int32_t PageLength() const = 0;
  // Whether the page open when a run is aborted goes into the store.
  virtual bool KeepsAbortedPage() const = 0;
  // Printing the stored pages: the progress window to show (it becomes the receiver), or none.
  virtual TRBPrinterReceiver* ShowProgressWindow(TRBPrinter& Target) = 0;
  virtual void HideProgressWindow(TRBPrinterReceiver* Window) = 0;
  // The report's window, which receives the print and close messages, or none.
  virtual TRBPrinterReceiver* Window() = 0;
};

// A link area of a page: a rectangle and its link text.
struct TRBPageLink {
  TRect Area;
  std::string Link;
};

class TRBPrinter : public TRBDeviceConversion {
 public:
  enum : uint8_t { RoutePageStore = 0, RoutePrinter = 1 };
  enum : uint8_t { StatusIdle = 0, StatusBuilding = 1, StatusComplete = 2 };

  // A target for Owner (none: a target of its own). With printers it reads the settings of its
  // printer: the shared one when the owner prints on it, else one of its own on the shared one's
  // choice. The platform's printer errors pass to the caller.
  explicit TRBPrinter(TRBOwnerReport* Owner = nullptr);
  ~TRBPrinter();
  TRBPrinter(const TRBPrinter&) = delete;
  TRBPrinter& operator=(const TRBPrinter&) = delete;

  uint8_t Routing = RoutePageStore;
  int32_t FirstPage = 0;
  int32_t LastPage = 0;
  TRBPrinterReceiver* Receiver = nullptr;
  std::string DocumentTitle;

  uint8_t Status() const { return status_; }
  int32_t PageCount() const { return pageCount_; }
  int32_t CurrentPage() const { return currentPage_; }
  int32_t PagesAvailable() const { return pagesAvailable_; }
  bool CancelRequested() const { return cancelRequested_; }
  bool LoadedFromFile() const { return loadedFromFile_; }
  // The canvas of the page being drawn (a page metafile's, or the printer's page when printing
  // straight to it), none between pages.
  TCanvas* PageCanvas() const { return pageCanvas_; }
  TRBOwnerReport* OwnerReport() const { return owner_; }
  // The printer used for printing, none without printers.
  TPrinter* Device() const { return device_; }
  // Whether the platform lists at least one printer (when the target was made).
  bool HasPrinters() const { return hasPrinters_; }
  // Chooses the printer of that index on an own printer object, loads its default device mode and
  // reads the settings again; false (nothing changes) without printers or on the shared printer.
  bool SelectPrinter(int Index);
  std::vector<TRBPageLink>& PageLinks() { return pageLinks_; }
  TRBPageList& Pages() { return pages_; }
  TPrinterSettings& DeviceSettings() { return settings_; }

  int32_t PageWidth() const { return settings_.PageWidth(); }
  int32_t PageHeight() const { return settings_.PageHeight(); }

  // ERBError "RBPrinter not ready" unless idle.
  void BeginDocument();
  // ERBError "Illegal call to NewPage" unless building.
  void NewPage();
  void EndDocument();
  void AbortDocument();
  void Cancel() { cancelRequested_ = true; }
  // The progress of a run in percent, posted to the receiver.
  void SetProgress(int32_t Percent) {
    progress_ = Percent;
    Announce(kRBMessageProgress, Percent);
  }
  void Cleanup();
  // The page N (1-based) while building or complete; none otherwise. The caller owns it.
  std::unique_ptr<TMetafile> GetPage(int32_t N);
  // Saves a complete document; false (nothing written) otherwise.
  bool SaveToFile(const std::string& Name);
  void LoadFromFile(const std::string& Name);
  void SetCompression(bool Flag) { pages_.Compressed = Flag; }
  // Taken only while the present page lies within the document.
  void SetCurrentPage(int32_t N);

  // The owner report's window, which receives the print and close messages, or none.
  TRBPrinterReceiver* ReportWindow = nullptr;
  std::function<void()> AfterPrintHandler;
  std::function<void()> AfterPreviewHandler;
  std::function<void(TRBPrinter& Sender, const std::string& Filter)> OnExportRequest;
  std::function<void(TRBPrinter& Sender)> OnPreviewRequest;
  std::function<void(TRBPrinter& Sender)> OnPrintSetupRequest;

  bool PreviewShown() const { return previewShown_; }
  // Hiding a shown preview cancels a building document and calls AfterPreviewHandler.
  void SetPreviewShown(bool Flag);
  void ClosePreview();
  void RequestExport(const std::string& Filter);
  // Prints the stored pages. A complete document built by a report, not loaded from a file and not
  // printed as a metafile, is handed back to the report's window to run straight to the printer.
  // Otherwise a complete document goes to the printer, pages FirstPage (or 1) to LastPage (or the
  // last), held within the pages stored; an empty range prints nothing, and nothing is printed
  // without printers. A cancel request between pages aborts the printer's document.
  void Print();

  // The tree that shows the run's outline, or none.
  class TOutlineView {
   public:
    virtual ~TOutlineView() = default;
    virtual void Show(const TRBOutline& Outline) = 0;
  };
  TOutlineView* OutlineView() const { return outlineView_; }
  // Keeps the view and shows the page list's outline in it.
  void SetOutlineView(TOutlineView* View);

  // The last progress percentage announced while printing the stored pages.
  int32_t Progress() const { return progress_; }

 private:
  void Announce(uint32_t Message, intptr_t Parameter);
  void ScreenFactors();
  void StorePage();
  void FreePage();
  void DeviceFactors();
  void StartDevicePage();
  void PrintPages(int32_t First, int32_t Last, bool WithProgress);

  TPrinterSettings settings_;
  TRBPageList pages_;
  std::unique_ptr<TMetafile> pageMetafile_;
  std::unique_ptr<Metafichier::TMetafileCanvas> metafileCanvas_;
  TCanvas* pageCanvas_ = nullptr;
  TRBOwnerReport* owner_ = nullptr;
  TPrinter* device_ = nullptr;
  std::unique_ptr<TPrinter> ownDevice_;
  bool hasPrinters_ = false;
  TOutlineView* outlineView_ = nullptr;
  int32_t progress_ = 0;
  std::vector<TRBPageLink> pageLinks_;
  uint8_t status_ = StatusIdle;
  int32_t pageCount_ = 0;
  int32_t currentPage_ = 0;
  int32_t pagesAvailable_ = 0;
  bool cancelRequested_ = false;
  bool loadedFromFile_ = false;
  bool previewShown_ = false;
  // Cleared when the target is freed while it sends its close message.
  bool* aliveFlag_ = nullptr;
  // The preview control showing the target, told when the target goes.
  friend class TRBPreview;
  TRBPreview* preview_ = nullptr;
};

// ---------------------------------------------------------------------------------------------
// The preview control: one page of a render target at a chosen zoom, while the run goes on or after.

enum TRBZoomState : uint8_t { rbZoomToFit = 0, rbZoomToWidth = 1, rbZoomOther = 2 };
enum TRBHyperlinkEventType : uint8_t { heCursorMoveOver = 0, heCursorMoveAway = 1, heGoto = 2, heGotoNewWindow = 3 };

using TRBPageAvailableEvent = std::function<void(TComponent* Sender, int32_t PageNum)>;
using TRBProgressUpdateEvent = std::function<void(TComponent* Sender, int32_t Progress)>;
using TRBPreviewHyperlinkEvent =
    std::function<void(TComponent* Sender, TRBHyperlinkEventType EventType, const std::string& Link, bool& Handled)>;

// The platform's hand cursor, shown over a link.
constexpr int kCursorHandPoint = -21;

// The page on display, its metafile stretched over the control.
class TRBPreviewImage : public TGraphicControl {
 public:
  explicit TRBPreviewImage(TComponent* Owner);

  // Link areas, in page coordinates at 100 %. Nothing in the library fills them.
  std::vector<TRBPageLink> LinkAreas;
  TRBPrinter* Target = nullptr;
  int32_t ShownPage = 0;
  int32_t Zoom = 100;
  TRBPreviewHyperlinkEvent OnHyperlink;
  bool OverLink() const { return overLink_; }
  const std::string& CurrentLink() const { return currentLink_; }
  const TMetafile* PageMetafile() const { return pageMetafile_.get(); }

  // Frees the page shown and shows page N of the target (none when the target cannot give it).
  void ShowPage(int32_t N);
  // The link under a point of the control (the first area holding it, edges included), which also
  // becomes the current link; empty when none.
  std::string LinkAt(int X, int Y);
  void SetOverLink(bool Flag);

  void Paint(TCanvas& C) override;
  void MouseMove(uint8_t Shift, int X, int Y) override;
  void MouseDown(TMouseButton Button, uint8_t Shift, int X, int Y) override;

 private:
  std::unique_ptr<TMetafile> pageMetafile_;
  bool overLink_ = false;
  std::string currentLink_;
};

// A scrolling box showing one page of a render target. The target names the box its receiver while
// attached: its progress and page messages reach the box's events.
class TRBPreview : public TScrollBox, public TRBPrinterReceiver {
 public:
  explicit TRBPreview(TComponent* Owner);
  ~TRBPreview() override;

  TRBPageAvailableEvent OnPageAvailable;
  TRBProgressUpdateEvent OnProgressUpdate;
  TRBPreviewImage* PageImage() const { return pageImage_; }
  TRBPrinter* Target() const { return target_; }
  int32_t PageNumber() const { return pageNumber_; }
  int32_t Zoom() const { return zoom_; }
  TRBZoomState ZoomMode() const { return zoomMode_; }
  TRBPrinter::TOutlineView* Outline() const { return outline_; }

  // Detaches the former target (told that it is no longer shown) and attaches the new one (none
  // allowed) at its page 1.
  void SetTarget(TRBPrinter* Target);
  // Ignored for the page already shown, N <= 0, without a target or above its page count.
  void SetPageNumber(int32_t N);
  // Ignored outside 2..2000; otherwise the zoom becomes a zoom of its own.
  void SetZoom(int32_t Z);
  void SetOutline(TRBPrinter::TOutlineView* View);
  void ZoomToFit();
  void ZoomToWidth();
  void UpdateImageSize();
  void ApplyZoomMode();
  // The target is going: forgotten without telling it anything.
  void TargetGone(const TRBPrinter* Target);

  void RecevoirMessage(uint32_t Message, intptr_t Parameter) override;

  // The page in device units at 100 % as the zoom computations see it: a target's page (a page of
  // no size counts as a sheet of 215.9 by 279.4 millimetres), else 215.9 by 279.4 units.
  double PageDeviceWidth() const;
  double PageDeviceHeight() const;

 private:
  void ShowArrivedPage();
  TRBPreviewImage* pageImage_;
  int32_t pageNumber_ = 1;
  TRBPrinter* target_ = nullptr;
  int32_t zoom_ = 100;
  TRBZoomState zoomMode_ = rbZoomOther;
  TRBPrinter::TOutlineView* outline_ = nullptr;
};

// The factory through which a report opens the preview window of its target. The base class opens
// none; the standard one opens the standard preview window.
class TRBPreviewInterface : public TComponent {
 public:
  using TComponent::TComponent;
  // The preview window shown for Target, or none.
  virtual TForm* ShowPreview(TRBPrinter& Target);
  virtual TForm* ShowPreviewModal(TRBPrinter& Target);
};

// The standard interface: ShowPreview shows a standard preview window (owned by the application,
// freed when closed) and answers it; ShowPreviewModal shows one modally, frees it once closed and
// answers none.
class TRBStandardPreviewInterface : public TRBPreviewInterface {
 public:
  using TRBPreviewInterface::TRBPreviewInterface;
  TForm* ShowPreview(TRBPrinter& Target) override;
  TForm* ShowPreviewModal(TRBPrinter& Target) override;
};

namespace RBPrinter {

// A preview interface class: makes an interface owned by Owner.
using TRBPreviewInterfaceClass = std::unique_ptr<TRBPreviewInterface> (*)(TComponent* Owner);
// The class in use: the standard one from the unit's start (none before it and after its end).
TRBPreviewInterfaceClass PreviewInterfaceClass();
void SetPreviewInterfaceClass(TRBPreviewInterfaceClass Class);
std::unique_ptr<TRBPreviewInterface> StandardPreviewInterface(TComponent* Owner);

void Initialiser();
void Finaliser();

}  // namespace RBPrinter

// Whether page P lies within a print range (a bound of 0 or less is open).
bool InPrintRange(int32_t P, int32_t FirstPage, int32_t LastPage);
// The rectangle, in device units, into which a stored page is drawn on a printer: the whole page
// (in tenths of a millimetre) moved by the device's unprintable offsets.
TRect PrintRectangle(int32_t PageWidth, int32_t PageLength, int32_t UnprintableLeft, int32_t UnprintableTop,
                     int32_t DotsPerInchX, int32_t DotsPerInchY);
