// The banded report engine. A report (TBandRep) is a panel on a form holding bands; bands hold
// printable controls. Running the report walks its datasets with the report's data controller and
// prints bands one after another into a render target (TRBPrinter), page by page and column by
// column. Every position of a run is a whole number of tenths of a millimetre (the report's units
// are Native for the run); the render target turns them into device units.
//
// Ownership: a report owns its controller, its Functions environment and its settings; bands and
// printables are components of the report's owner (or of the report when it has none) and children
// of the report or of a band. Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/objects/ClassDescriptor.h"
#include "platform/gui/ControlesStandard.h"
#include "platform/gui/Fiches.h"
#include "platform/streaming/ObjectText.h"
#include "reports/BandRptUnits.h"
#include "reports/RBExpr.h"
#include "reports/RBPrinter.h"

class TCustomBandRep;
class TBandRep;
class TRBCustomController;
class TRBController;
class TRBCustomBand;
class TRBGroup;
class TRBReportSeries;

// ---------------------------------------------------------------------------------------------
// Classes by name

// The descriptor of a report component class: it creates a component of its class for an owner (the
// stored form's reader does so by class name).
class TRBComponentClass : public TClass {
 public:
  using Factory = TComponent* (*)(TComponent* Owner);
  TRBComponentClass(const char* Name, const TClass* Parent, Factory Make)
      : TClass(Name, Parent, nullptr), make_(Make) {}
  TComponent* Create(TComponent* Owner) const { return make_(Owner); }

 private:
  Factory make_;
};

// What a report component offers: its class (the readers of stored reports find classes by name).
class IRBStored {
 public:
  virtual ~IRBStored() = default;
  virtual const TRBComponentClass* ComponentClass() const = 0;
  bool Loading = false;
};

#define RB_DECLARE_COMPONENT_CLASS(Self)        \
 public:                                        \
  static const TRBComponentClass* StaticClass(); \
  const TRBComponentClass* ComponentClass() const override { return StaticClass(); }

#define RB_DEFINE_COMPONENT_CLASS(Self, Parent)                                                        \
  const TRBComponentClass* Self::StaticClass() {                                                       \
    static const TRBComponentClass descriptor(#Self, Parent, [](TComponent* O) -> TComponent* {       \
      return new Self(O);                                                                              \
    });                                                                                                \
    return &descriptor;                                                                                \
  }

// ---------------------------------------------------------------------------------------------
// Frames

class TRBFrame {
 public:
  explicit TRBFrame(TControl* Owner) : owner_(Owner) {}

  TColor Color = Couleurs::clBlack;
  bool DrawBottom = false, DrawLeft = false, DrawRight = false, DrawTop = false;
  TPenStyle Style = TPenStyle::psSolid;
  int32_t Width = 1;  // points of 1/72 inch; below -1 acts as -1

  bool AnySide() const { return DrawTop || DrawBottom || DrawLeft || DrawRight; }
  void ApplyPen(TPen& Pen) const;
  // The sides as filled rectangles inside Rect (device units), with factors in device units per tenth
  // of a millimetre. A side is at most as thick as its rectangle.
  void Draw(TCanvas& Canvas, const TRect& Rect, double XFactor, double YFactor) const;
  // The frame's width in tenths of a millimetre, rounded.
  int32_t WidthInTenths() const;
  void Changed();


 private:
  TControl* owner_;
};

// ---------------------------------------------------------------------------------------------
// Printable controls

class TRBPrintableEditorClass;

class TRBPrintable : public TCustomControl, public IRBStored {
  RB_DECLARE_COMPONENT_CLASS(TRBPrintable)
 public:
  explicit TRBPrintable(TComponent* Owner);
  ~TRBPrintable() override;
  // The class of the design-time editor that changes the control (RBLablEd.h).
  virtual const TRBPrintableEditorClass* EditorClass() const;

  bool AlignUpdating = false;
  bool ButtonDown = false;
  TRBFrame Frame;
  bool IsPrinting = false;
  TCustomBandRep* ParentReport = nullptr;
  bool PrintFinished = true;
  TRBPrinter* RenderTarget = nullptr;
  TRBPrintableSize Size;
  int32_t LoadedTop = 0, LoadedWidth = 0, LoadedHeight = 0, LoadedLeft = 0;

  TAlignment Alignment() const { return alignment_; }
  virtual void SetAlignment(TAlignment Value);
  bool AlignToBand() const { return alignToBand_; }
  void SetAlignToBand(bool Value);
  // Transparent: the control is not opaque and leaves the band's background visible.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool Value);

  virtual bool ShouldPrint() const { return Enabled() || !Visible(); }
  virtual void AlignToParent();
  virtual void Prepare();
  // Prints at the offsets (tenths of a millimetre) into the render target.
  virtual void Print(int32_t OffsetX, int32_t OffsetY);
  // Reason 0: the controller's detail band printed; 2: the band was resized.
  virtual void ParentChanged(TComponent* Sender, int Reason);
  virtual void Unprepare() { IsPrinting = false; }

  void SetParent(TWinControl* Parent) override;
  void SetBounds(int Left, int Top, int Width, int Height) override;
  // The band the control stands on, or none.
  TRBCustomBand* Band() const;
  // The zoom of the panel that holds the control.
  int32_t PanelZoom() const;
  // Applies a panel's zoom.
  void ApplyZoom(int32_t Zoom);

  // The design surface (nothing while the control prints).
  void Paint(TCanvas& C) override;


 protected:
  // The frame around a rectangle of tenths of a millimetre, on the render target.
  void PrintFrame(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom);
  // The design surface of every printable: an opaque control filled white, the corner marks, the
  // frame at the panel's zoom.
  void PaintPrintable(TCanvas& C);
  // An L of 3 pixels at each corner of the client area, in black.
  void PaintCornerMarks(TCanvas& C);
  TAlignment alignment_ = TAlignment::taLeftJustify;
  bool alignToBand_ = false;
  bool transparent_ = false;
};

// ---------------------------------------------------------------------------------------------
// Panels and bands

enum TRBBandType : uint8_t {
  rbTitle = 0, rbPageHeader = 1, rbDetail = 2, rbPageFooter = 3, rbSummary = 4, rbGroupHeader = 5,
  rbGroupFooter = 6, rbSubDetail = 7, rbColumnHeader = 8, rbOverlay = 9, rbChild = 10
};
constexpr int kBandTypeCount = 11;

class TRBBasePanel : public TCustomControl, public IRBStored {
 public:
  explicit TRBBasePanel(TComponent* Owner);
  TRBFrame Frame;
  int32_t FontSize = 12;
  int32_t Zoom = 100;
  // Gives every printable child the zoom (0 is ignored) and every panel child the same.
  virtual void ApplyZoom(int32_t Value);
  // The panel's colour over its client area, silver while disabled.
  void Paint(TCanvas& C) override;
  // The ruler of the unit over the client area, at the panel's zoom.
  virtual void PaintRuler(TCanvas& C, TRBUnit Unit);
};

using TRBBandPrintEvent = std::function<void(TRBCustomBand* Band, bool& PrintBand)>;
using TRBBandAfterPrintEvent = std::function<void(TRBCustomBand* Band, bool Printed)>;

class TRBCustomBand : public TRBBasePanel {
 public:
  explicit TRBCustomBand(TComponent* Owner);
  ~TRBCustomBand() override;

  int32_t LoadedHeight = 40;
  bool PreCaluculateBandHeight = false;
  bool KeepOnOnePage = false;
  TRect BandFrameRect;
  double Expanded = 0;
  TRBBandPrintEvent BeforePrint;
  TRBBandAfterPrintEvent AfterPrint;
  bool AlignToBottom = false;
  bool ForceNewColumn = false;
  bool ForceNewPage = false;
  bool TransparentBand = false;
  TCustomBandRep* ParentReport = nullptr;
  bool LayoutInProgress = false;
  TRBBandSize Size;
  TRBController* NotifyController = nullptr;
  // Set while a band pass runs again after the column or page break an unfinished control asked for.
  bool PassAfterBreak = false;

  TRBBandType BandType() const { return bandType_; }
  // Rebuilds the report's band order and layout.
  virtual void SetBandType(TRBBandType Value);
  void SetBandTypeQuiet(TRBBandType Value) { bandType_ = Value; }
  std::string TypeCaption() const;
  std::string TypeBaseName() const;
  virtual void SetParentReport(TCustomBandRep* Report);

  TRBCustomBand* LinkBand() const { return linkBand_; }
  // Refused when the chain of links comes back to this band.
  bool SetLinkBand(TRBCustomBand* Value);
  // The first child band in the report's order continuing this band, or none.
  TRBCustomBand* ChildBand() const;
  bool HasChild() const { return ChildBand() != nullptr; }
  void SetHasChild(bool Value);
  void SetEnabledBand(bool Value);

  // Band printing.
  void RenderBand();
  void MakeRoom();
  double HeightWithLinks() const;
  double PrecalculatedHeight() const { return Size.Stored(TRBBandSize::kHeight); }
  bool CanExpand(double Extra) const;
  bool Expand(double Extra, bool& Started, double& NewExpanded);
  bool IsDetail() const { return bandType_ == rbDetail; }

  void SetParent(TWinControl* Parent) override;
  void SetBounds(int Left, int Top, int Width, int Height) override;
  void ApplyZoom(int32_t Value) override;
  // The design surface: the panel, the report's ruler without numbers, the outline, the frame and the
  // band type's caption.
  void Paint(TCanvas& C) override;
  void PaintRuler(TCanvas& C, TRBUnit Unit) override;
  // The band's units and those of its printables.
  void ChangeUnits(TRBUnit Unit);
  void ForgetBand(TRBCustomBand* Band);


 protected:
  TRBBandType bandType_ = rbDetail;
  TRBCustomBand* linkBand_ = nullptr;
  bool destroying_ = false;
};

class TRBBand : public TRBCustomBand {
  RB_DECLARE_COMPONENT_CLASS(TRBBand)
 public:
  explicit TRBBand(TComponent* Owner) : TRBCustomBand(Owner) {}
};

class TRBChildBand : public TRBCustomBand {
  RB_DECLARE_COMPONENT_CLASS(TRBChildBand)
 public:
  explicit TRBChildBand(TComponent* Owner);
  TRBCustomBand* ParentBand() const { return parentBand_; }
  // Refused when the chain of parent bands comes back to this band.
  bool SetParentBand(TRBCustomBand* Value);
  void ForgetParentBand() { parentBand_ = nullptr; }

 private:
  TRBCustomBand* parentBand_ = nullptr;
};

class TRBControllerBand : public TRBCustomBand {
 public:
  explicit TRBControllerBand(TComponent* Owner);
  ~TRBControllerBand() override;
  TRBController* Controller() const { return controller_; }
  TComponent* Master() const;
  // Refused when the chain of masters comes back to this band.
  bool SetMaster(TComponent* Value);
  bool VariableDefined = false;
  void SetParent(TWinControl* Parent) override;

 protected:
  TRBController* controller_;
};

class TRBSubDetail;
class TRBSubDetailGroupBands {
 public:
  explicit TRBSubDetailGroupBands(TRBSubDetail* Owner) : owner_(Owner) {}
  bool HasHeader() const;
  bool HasFooter() const;
  void SetHasHeader(bool Value);
  void SetHasFooter(bool Value);

 private:
  TRBSubDetail* owner_;
};

class TRBSubDetail : public TRBControllerBand {
  RB_DECLARE_COMPONENT_CLASS(TRBSubDetail)
 public:
  explicit TRBSubDetail(TComponent* Owner);
  TRBSubDetailGroupBands Bands{this};
  IDataSet* DataSet() const;
  void SetDataSet(IDataSet* Value);
  bool PrintBefore() const;
  void SetPrintBefore(bool Value);
  bool PrintIfEmpty() const;
  void SetPrintIfEmpty(bool Value);
  TRBCustomBand* HeaderBand() const;
  TRBCustomBand* FooterBand() const;
  void SetHeaderBand(TRBCustomBand* Band);
  void SetFooterBand(TRBCustomBand* Band);

 private:
};

class TRBGroup : public TRBCustomBand {
  RB_DECLARE_COMPONENT_CLASS(TRBGroup)
 public:
  explicit TRBGroup(TComponent* Owner);
  ~TRBGroup() override;

  TRBEvaluator Evaluator;
  std::string Expression;
  bool Changed = false;
  bool ReprintOnNewPage = false;
  TRBEvResultRecord LastValue;
  bool HasValue = false;
  bool InGroup = false;
  int32_t LastHeaderPage = 1;

  TRBCustomBand* FooterBand() const { return footerBand_; }
  void SetFooterBand(TRBCustomBand* Band);
  TComponent* Master() const { return master_; }
  // Only a controller band or a report.
  void SetMaster(TComponent* Value);
  // Evaluates the group's value: Changed and HasValue as a first or changed value sets them.
  void CheckValue();
  // Evaluates and stores the value afresh, flagged as changed.
  void TakeFreshValue();
  void SetParent(TWinControl* Parent) override;
  void Forget(TComponent* Component);


 private:
  TRBCustomBand* footerBand_ = nullptr;
  TComponent* master_ = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Controllers

using TRBOnNeedDataEvent = std::function<void(TComponent* Sender, bool& MoreData)>;

class TRBCustomController : public TComponent {
 public:
  explicit TRBCustomController(TComponent* Owner);
  ~TRBCustomController() override;

  TComponent* ConstructionOwner;
  std::vector<TRBCustomController*> PrintAfterList, PrintBeforeList;
  std::vector<TRBGroup*> GroupList;
  bool PrintIfEmpty = true;
  TComponent* OwnerObject;
  TCustomBandRep* ParentReport = nullptr;
  std::vector<TRBPrintable*> NotifyList;

  TComponent* Master() const { return master_; }
  // Only a report, a controller or a controller band other than itself; none clears it.
  bool SetMaster(TComponent* Value);
  bool PrintBefore() const { return printBefore_; }
  virtual void SetPrintBefore(bool Value) { printBefore_ = Value; }

  virtual void Collect();
  virtual void Execute();
  virtual void Prepare();
  virtual void Unprepare();
  void RunAfterControllers();
  void RunBeforeControllers();
  virtual void PrintEmpty();
  virtual void AddToBandOrder(std::vector<TRBCustomBand*>& Order) { (void)Order; }
  virtual void AddDataSet() {}
  // Calls every control of NotifyList with the reason.
  void NotifyExpressions(int Reason);
  void ReprintGroupHeaders();
  bool CheckGroups();

 protected:
  TComponent* master_ = nullptr;
  bool printBefore_ = false;
  bool prepared_ = false;
};

class TRBController : public TRBCustomController {
 public:
  explicit TRBController(TComponent* Owner) : TRBCustomController(Owner) {}

  IDataSet* DataSet = nullptr;
  TRBCustomBand* Detail = nullptr;
  TRBCustomBand* Footer = nullptr;
  TRBCustomBand* Header = nullptr;
  bool BindQueryParameters = false;
  TRBOnNeedDataEvent OnNeedData;
  int32_t DetailNumber = 0;

  void Execute() override;
  void Prepare() override;
  void PrintEmpty() override;
  void AddToBandOrder(std::vector<TRBCustomBand*>& Order) override;
  void AddDataSet() override;
  void BindParameters();
};

// ---------------------------------------------------------------------------------------------
// The report

class TBandRepPrinterSettings : public TRBPrinterSettings {
 public:
  bool UseStandardprinter = false;
  bool UseCustomBinCode = false;
  int32_t CustomBinCode = 0;
  int32_t ExtendedDuplex = 0;
  bool UseCustomPaperCode = false;
  int32_t CustomPaperCode = 0;
  bool PrintMetaFile = false;
  int32_t PrintQuality = 0;
  int32_t Collate = 0;
  int32_t ColorOption = 0;
  uint8_t Orientation = 0;

};

class TBandRepBands {
 public:
  explicit TBandRepBands(TCustomBandRep* Report) : report_(Report) {}
  bool Has(TRBBandType Type) const;
  void Set(TRBBandType Type, bool Value);
  bool HasTitle() const { return Has(rbTitle); }
  bool HasPageHeader() const { return Has(rbPageHeader); }
  bool HasColumnHeader() const { return Has(rbColumnHeader); }
  bool HasDetail() const { return Has(rbDetail); }
  bool HasPageFooter() const { return Has(rbPageFooter); }
  bool HasSummary() const { return Has(rbSummary); }
  void SetHasTitle(bool V) { Set(rbTitle, V); }
  void SetHasPageHeader(bool V) { Set(rbPageHeader, V); }
  void SetHasColumnHeader(bool V) { Set(rbColumnHeader, V); }
  void SetHasDetail(bool V) { Set(rbDetail, V); }
  void SetHasPageFooter(bool V) { Set(rbPageFooter, V); }
  void SetHasSummary(bool V) { Set(rbSummary, V); }
  // The first band of the type in the report's band order, or none.
  TRBCustomBand* Band(TRBBandType Type) const;

 private:
  TCustomBandRep* report_;
};

enum TRBReportOption : uint8_t { FirstPageHeader = 1, LastPageFooter = 2, Compression = 4 };

using TRBReportEvent = std::function<void(TCustomBandRep* Sender)>;
using TRBReportBeforePrintEvent = std::function<void(TCustomBandRep* Sender, bool& PrintReport)>;

class TRBProgressForm;

class TCustomBandRep : public TRBBasePanel, public TRBPrinterReceiver, public TRBOwnerReport {
 public:
  explicit TCustomBandRep(TComponent* Owner);
  ~TCustomBandRep() override;

  // Run state.
  std::string BackImageControl;
  std::unique_ptr<TRBDataSetList> DataSets;
  bool Idle = true;
  std::vector<TRBCustomBand*> BandOrder;
  bool Cancelled = false;
  TRBCustomController* Controller = nullptr;
  int32_t ColumnTop = 0;
  int32_t CurrentColumn = 0;
  int32_t CurrentX = 0;
  int32_t CurrentY = -1;
  TRBEvEnvironment Functions;
  bool Finishing = false;
  int32_t PageNumber = 0;
  double PageFooterReserve = 0;
  TRBPrinter* RenderTarget = nullptr;
  bool ColumnBreakAbsorbed = false;
  TCanvasEnregistreur MeasureDC;
  TRBEvElement* PageNumberVariable = nullptr;
  TRBEvElement* ColumnNumberVariable = nullptr;
  TRBEvElement* ReportTitleVariable = nullptr;
  bool AbsorbNextPageBreak = false;
  // Above 0 while the headers of a new page or column print: they never break again.
  int32_t OpeningColumn = 0;
  TBandRepPrinterSettings PrinterSettings;
  TBandRepPrinterSettings LastDialogSettings;
  TRBReportSeries* CompositeLink = nullptr;
  // The design-time image of page 1, kept after a run.
  std::unique_ptr<TMetafile> PageImage;
  bool RepaintPending = false;
  // Design-time state: events do not run while designing.
  bool Designing = false;

  // Published settings.
  TRBPage Page;
  TBandRepBands Bands;
  std::vector<std::string> Description;
  uint8_t Options = FirstPageHeader | LastPageFooter;
  std::string ReportTitle;
  bool ShowProgress = true;
  bool SnapToGrid = true;
  int32_t PreviewWidth = 500, PreviewHeight = 500;
  bool PrevShowThumbs = true, PrevShowSearch = true;
  uint8_t PrevFormStyle = 0, PreviewInitialState = 0, PrevInitialZoom = 0;

  TRBReportBeforePrintEvent BeforePrint;
  TRBReportEvent AfterPrint;
  TRBReportEvent AfterPreview;
  TRBReportEvent OnStartPage;
  TRBReportEvent OnEndPage;
  TRBPrinterEvent OnGetPrinterSettings;
  TRBPrinterEvent OnApplyPrinterSettings;

  bool PrintIfEmpty() const;
  virtual void SetPrintIfEmpty(bool Value);
  TRBUnit Units() const { return Page.Units; }
  void SetUnits(TRBUnit Unit);
  void SetZoom(int32_t Value);
  void ApplyZoom(int32_t Value) override;
  // The signed size of the report's font (negative: a height in pixels).
  int32_t ReportFontSize() const { return fontSize_; }
  void SetReportFontSize(int32_t Size);

  // The run.
  virtual void RunReport(bool Continuation);
  virtual void ExecuteReport();
  void OpenPage();
  void FinishPage();
  void NextColumn();
  int32_t SpaceLeft() const;
  void EmitBand(TRBCustomBand* Band);
  void ForcedColumnBreak();
  void ForcedPageBreak();
  void CancelRun();
  void PrintToPrinter();
  void TransferPrinterSettings();
  // Shows the print dialog: cancelled, Tag becomes 1 and nothing changes; accepted, the printer
  // settings, the page's orientation and LastDialogSettings take the choices and Tag becomes 0.
  void ChoosePrinter();
  // Previews the report: a fresh render target, shown by OnPreview when set, else by the preview
  // interface class in use, then the run.
  void Preview();
  std::function<void(TCustomBandRep* Sender)> OnPreview;
  // The page length as the render target sees the sheet (tenths of a millimetre).
  int32_t DevicePageLength() const;
  // The printable width and the width of one column (tenths of a millimetre).
  int32_t PrintableWidth() const;
  int32_t ColumnWidth() const;
  // The render target the report made itself (RunReport without one), kept until the report goes.
  TRBPrinter* OwnedRenderTarget() const { return ownedTarget_.get(); }

  // The band registry.
  TRBCustomBand* CreateBand(TRBBandType Type);
  void AddBand(TRBCustomBand* Band);
  void RemoveBand(TRBCustomBand* Band);
  void AddToOrder(TRBCustomBand* Band);
  void RebuildBandOrder();
  void LayoutBands();
  virtual void BindControllerBands() {}
  void RequestRepaint();
  // Resizes the report control to the page at its zoom.
  void ResizeToPage();
  bool Destroying() const { return destroying_; }
  bool InLoading() const { return Loading; }
  void AddNotifyClient(TRBPrintable* Expression);

  // The design surface: the panel, the design-time page image, the ruler, the margins, the frame and
  // the column marks; the pending repaint is done.
  void Paint(TCanvas& C) override;
  void PaintRuler(TCanvas& C, TRBUnit Unit) override;
  virtual void PaintColumns(TCanvas& C);
  virtual void PaintMargins(TCanvas& C);
  virtual void PaintFrame(TCanvas& C);
  // The margins in pixels at the report's zoom.
  TRect MarginRect() const;
  // The printables of the report's bands and those placed directly on it.
  std::vector<TRBPrintable*> AllPrintables() const;
  std::vector<TRBCustomBand*> ChildBands() const;

  // The window messages of its render target and of the preview.
  void RecevoirMessage(uint32_t Message, intptr_t Parameter) override;

  // What its render targets ask of it: the printer settings, the page (tenths of a millimetre), the
  // progress window shown while stored pages print (when ShowProgress is set) and its own window.
  bool UseStandardprinter() const override { return PrinterSettings.UseStandardprinter; }
  int32_t MemoryLimit() const override { return PrinterSettings.MemoryLimit; }
  int32_t PageWidth() const override;
  int32_t PageLength() const override;
  bool KeepsAbortedPage() const override { return true; }
  TRBPrinterReceiver* ShowProgressWindow(TRBPrinter& Target) override;
  void HideProgressWindow(TRBPrinterReceiver* Window) override;
  TRBPrinterReceiver* Window() override { return this; }

 protected:
  void Notification(TComponent* Component, bool Insertion) override;
  std::vector<TRBCustomBand*> pendingOrder_;
  std::unique_ptr<TRBPrinter> ownedTarget_;
  std::unique_ptr<TRBProgressForm> printProgress_;
  int32_t fontSize_ = 10;
  bool destroying_ = false;
  bool layingOut_ = false;
  bool rebuilding_ = false;
};

class TBandRep : public TCustomBandRep {
  RB_DECLARE_COMPONENT_CLASS(TBandRep)
 public:
  explicit TBandRep(TComponent* Owner);
  TRBController* ReportController() const { return static_cast<TRBController*>(Controller); }
  IDataSet* DataSet() const { return ReportController()->DataSet; }
  void SetDataSet(IDataSet* Value) { ReportController()->DataSet = Value; }
  TRBOnNeedDataEvent OnNeedData;
  void ExecuteReport() override;
  void BindControllerBands() override;

 protected:
  void Notification(TComponent* Component, bool Insertion) override;

};

// ---------------------------------------------------------------------------------------------
// Report series

// Several reports printed as one document in a shared render target.
class TRBReportSeries : public TComponent {
 public:
  explicit TRBReportSeries(TComponent* Owner) : TComponent(Owner) {}
  ~TRBReportSeries() override;

  std::vector<TCustomBandRep*> Reports;
  TBandRepPrinterSettings PrinterSettings;
  TRBPrinter* RenderTarget = nullptr;
  // Fills Reports.
  std::function<void(TRBReportSeries* Sender)> OnAddReports;
  // After each report with that report, and once more at the end with the series.
  std::function<void(TComponent* Item)> AfterReport;
  // Links a report to the series (its PrintToPrinter prints the series), or unlinks it.
  void Link(TCustomBandRep* Report);
  void Unlink(TCustomBandRep* Report);
  // Prints the series into a fresh page-store target, kept in Target until the next print.
  void Print();
  std::unique_ptr<TRBPrinter> Target;

 private:
  std::vector<TCustomBandRep*> linked_;
};

// ---------------------------------------------------------------------------------------------
// The unit

namespace BandRpt {

// The engine's module-wide flags.
extern bool BreakTakenForDetail;
extern bool ContinuationRun;

// The band captions and base names (resource strings).
std::string BandCaption(TRBBandType Type);
std::string BandBaseName(TRBBandType Type);
// Base followed by the smallest number from 1 that no component of Owner has as its name.
std::string MakeUniqueName(TComponent* Owner, const std::string& Base);
// Whether the screen shows more than 256 colours (the design colour set).
extern bool ManyColours;

// The pens and colours of the design surface.
struct TRBDesignColours {
  TPen MinorRuler;
  TPen MajorRuler;
  TColor RulerFont;
  TPen Margin;
  TPen BandFrame;
};
// The set for many colours, or the one for 256 colours or fewer.
const TRBDesignColours& DesignColours();
// Chooses the set from the screen's colour count: more than 256, or -1 (not limited), gives the first.
void ChooseDesignColours(int ScreenColours);
// The font of rulers and band captions: "Small Fonts" at size 6 in the ruler font colour.
TFont RulerFont();
// Draws a ruler of the unit over a Width x Height area at a zoom: the graduations of inches, of
// millimetres or of characters (FontSize the report's font size); with Numbers, the major lines carry
// their counts. Other units draw nothing.
void PaintRuler(TCanvas& C, TRBUnit Unit, int Width, int Height, int32_t Zoom, int32_t FontSize, bool Numbers);

void Initialiser();
void Finaliser();

}  // namespace BandRpt
