#include "reports/BandRpt.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "core/values/ChaineRessource.h"
#include "core/objects/GestionnaireNomsDeClasse.h"
#include "platform/gui/Messages.h"
#include "reports/RBPrgres.h"

namespace BandRpt {

bool BreakTakenForDetail = false;
bool ContinuationRun = false;
bool ManyColours = true;

namespace {
const TChaineRessource kCaptions[kBandTypeCount] = {
    {"BandRpt_RS_Title", 65360, "Title"},
    {"BandRpt_RS_PageHeader", 65361, "Page Header"},
    {"BandRpt_RS_Detail", 65362, "Detail"},
    {"BandRpt_RS_PageFooter", 65363, "Page Footer"},
    {"BandRpt_RS_Summary", 65364, "Summary"},
    {"BandRpt_RS_GroupHeader", 65365, "Group Header"},
    {"BandRpt_RS_GroupFooter", 65366, "Group Footer"},
    {"BandRpt_RS_SubDetail", 65367, "Sub Detail"},
    {"BandRpt_RS_ColumnHeader", 65368, "Column Header"},
    {"BandRpt_RS_Overlay", 65369, "Overlay"},
    {"BandRpt_RS_Child", 65370, "Child"},
};
const TChaineRessource kBaseNames[kBandTypeCount] = {
    {"BandRpt_RS_TitleBand", 65371, "TitleBand"},
    {"BandRpt_RS_PageHeaderBand", 65372, "PageHeaderBand"},
    {"BandRpt_RS_DetailBand", 65373, "DetailBand"},
    {"BandRpt_RS_PageFooterBand", 65374, "PageFooterBand"},
    {"BandRpt_RS_SummaryBand", 65375, "SummaryBand"},
    {"BandRpt_RS_GroupHeaderBand", 65376, "GroupHeaderBand"},
    {"BandRpt_RS_GroupFooterBand", 65377, "GroupFooterBand"},
    {"BandRpt_RS_SubDetailBand", 65378, "SubDetailBand"},
    {"BandRpt_RS_ColumnHeaderBand", 65379, "ColumnHeaderBand"},
    {"BandRpt_RS_OverlayBand", 65380, "OverlayBand"},
    {"BandRpt_RS_ChildBand", 65381, "ChildBand"},
};
// Loaded at the unit's start.
std::string gCaptions[kBandTypeCount];
std::string gBaseNames[kBandTypeCount];
bool gLoaded = false;
}  // namespace

std::string BandCaption(TRBBandType Type) {
  return gLoaded ? gCaptions[Type] : std::string(kCaptions[Type].TexteIntegre);
}
std::string BandBaseName(TRBBandType Type) {
  return gLoaded ? gBaseNames[Type] : std::string(kBaseNames[Type].TexteIntegre);
}

std::string MakeUniqueName(TComponent* Owner, const std::string& Base) {
  for (int n = 1;; ++n) {
    std::string name = Base + std::to_string(n);
    if (Owner == nullptr || Owner->FindComponent(name) == nullptr) return name;
  }
}

void Initialiser() {
  static const TChaineRessource* const kChaines[] = {
      &kCaptions[0], &kCaptions[1], &kCaptions[2], &kCaptions[3], &kCaptions[4], &kCaptions[5],
      &kCaptions[6], &kCaptions[7], &kCaptions[8], &kCaptions[9], &kCaptions[10], &kBaseNames[0],
      &kBaseNames[1], &kBaseNames[2], &kBaseNames[3], &kBaseNames[4], &kBaseNames[5], &kBaseNames[6],
      &kBaseNames[7], &kBaseNames[8], &kBaseNames[9], &kBaseNames[10]};
  static bool registered = false;
  if (!registered) {
    ChaineRessource::Enregistrer(kChaines);
    registered = true;
  }
  for (int i = 0; i < kBandTypeCount; ++i) {
    gCaptions[i] = ChaineRessource::Charger(kCaptions[i]);
    gBaseNames[i] = ChaineRessource::Charger(kBaseNames[i]);
  }
  gLoaded = true;
  ChooseDesignColours(Screen().NombreCouleurs);
  ReadMeasurementSystem();
}

void Finaliser() { gLoaded = false; }

}  // namespace BandRpt

using BandRpt::BreakTakenForDetail;

namespace {

bool IsFixedType(TRBBandType T) { return T == rbTitle || T == rbPageHeader || T == rbPageFooter || T == rbOverlay; }

TRect DeviceRect(const TRBPrinter& T, int32_t L, int32_t Top, int32_t R, int32_t B) {
  return {T.ToDeviceX(L), T.ToDeviceY(Top), T.ToDeviceX(R), T.ToDeviceY(B)};
}

// Every dataset component owned by Owner and, recursively, by its windowed controls, in ownership order.
void GatherDataSets(TComponent* Owner, TRBDataSetList& List) {
  if (Owner == nullptr) return;
  for (int i = 0; i < Owner->ComponentCount(); ++i) {
    TComponent* c = Owner->Components(i);
    if (auto* ds = dynamic_cast<IDataSet*>(c)) List.push_back(ds);
    if (dynamic_cast<TWinControl*>(c) != nullptr) GatherDataSets(c, List);
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Frame

void TRBFrame::ApplyPen(TPen& Pen) const {
  Pen.Width = 1;
  Pen.Style = Style;
  Pen.Color = Color;
}

int32_t TRBFrame::WidthInTenths() const { return RoundHalfEven(std::max(Width, -1) / 72.0 * 254); }

void TRBFrame::Draw(TCanvas& Canvas, const TRect& Rect, double XFactor, double YFactor) const {
  const int32_t w = std::max(Width, -1);
  auto thickness = [w](double factor) {
    int32_t t = RoundHalfEven(w / 72.0 * 254 * factor);
    if ((w > 0 && t <= 0) || w == -1) t = 1;
    return t;
  };
  const int32_t vw = std::clamp(thickness(XFactor), 0, std::max(Rect.Width(), 0));
  const int32_t hw = std::clamp(thickness(YFactor), 0, std::max(Rect.Height(), 0));
  Canvas.Brush.Style = TBrushStyle::bsSolid;
  Canvas.Brush.Color = Color;
  ApplyPen(Canvas.Pen);
  if (hw > 0) {
    if (DrawTop) Canvas.FillRect({Rect.Left, Rect.Top, Rect.Right, Rect.Top + hw});
    if (DrawBottom) Canvas.FillRect({Rect.Left, Rect.Bottom - hw, Rect.Right, Rect.Bottom});
  }
  if (vw > 0) {
    if (DrawLeft) Canvas.FillRect({Rect.Left, Rect.Top, Rect.Left + vw, Rect.Bottom});
    if (DrawRight) Canvas.FillRect({Rect.Right - vw, Rect.Top, Rect.Right, Rect.Bottom});
  }
  if (owner_ != nullptr) Canvas.Brush.Style = TBrushStyle::bsClear;
}

void TRBFrame::Changed() {
  if (owner_ != nullptr) owner_->Invalidate();
}

// ---------------------------------------------------------------------------------------------
// Printable

RB_DEFINE_COMPONENT_CLASS(TRBPrintable, nullptr)

TRBPrintable::TRBPrintable(TComponent* Owner) : TCustomControl(Owner), Frame(this), Size(this) {
  SetColor(Couleurs::clWhite);
  SetBounds(0, 0, 10, 10);
}

TRBPrintable::~TRBPrintable() {
  if (ParentReport != nullptr && !ParentReport->Destroying()) {
    if (ParentReport->Controller != nullptr) {
      auto& l = ParentReport->Controller->NotifyList;
      l.erase(std::remove(l.begin(), l.end(), this), l.end());
    }
  }
}

TRBCustomBand* TRBPrintable::Band() const { return dynamic_cast<TRBCustomBand*>(Parent()); }

int32_t TRBPrintable::PanelZoom() const {
  if (auto* p = dynamic_cast<TRBBasePanel*>(Parent())) return p->Zoom;
  return 100;
}

void TRBPrintable::SetAlignment(TAlignment Value) {
  alignment_ = Value;
  if (alignToBand_) AlignToParent();
  Invalidate();
}

void TRBPrintable::SetAlignToBand(bool Value) {
  alignToBand_ = Value;
  AlignToParent();
}

void TRBPrintable::SetTransparent(bool Value) {
  transparent_ = Value;
  Invalidate();
}

void TRBPrintable::AlignToParent() {
  if (!alignToBand_) return;
  AlignUpdating = true;
  TRBCustomBand* band = Band();
  const double width = Size.Stored(TRBPrintableSize::kWidth);
  double left = Size.Stored(TRBPrintableSize::kLeft);
  if (alignment_ == TAlignment::taLeftJustify) {
    left = 0;
  } else if (band != nullptr) {
    const double bandWidth = band->Size.Stored(TRBBandSize::kWidth);
    left = alignment_ == TAlignment::taRightJustify ? bandWidth - width : std::trunc((bandWidth - width) / 2);
  }
  Size.SetStored(TRBPrintableSize::kLeft, left);
  Size.ApplyToControl();
  AlignUpdating = false;
}

void TRBPrintable::Prepare() {
  IsPrinting = true;
  RenderTarget = ParentReport != nullptr ? ParentReport->RenderTarget : nullptr;
}

void TRBPrintable::PrintFrame(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) {
  if (RenderTarget == nullptr || RenderTarget->PageCanvas() == nullptr) return;
  Frame.Draw(*RenderTarget->PageCanvas(), DeviceRect(*RenderTarget, Left, Top, Right, Bottom),
             RenderTarget->DotsPerTenthX, RenderTarget->DotsPerTenthY);
}

void TRBPrintable::Print(int32_t OffsetX, int32_t OffsetY) {
  if (!ShouldPrint() || !Frame.AnySide()) return;
  const int32_t l = OffsetX + RoundHalfEven(Size.Stored(TRBPrintableSize::kLeft));
  const int32_t t = OffsetY + RoundHalfEven(Size.Stored(TRBPrintableSize::kTop));
  PrintFrame(l, t, l + RoundHalfEven(Size.Stored(TRBPrintableSize::kWidth)),
             t + RoundHalfEven(Size.Stored(TRBPrintableSize::kHeight)));
}

void TRBPrintable::ParentChanged(TComponent*, int Reason) {
  if (Reason == 2) AlignToParent();
}

void TRBPrintable::SetParent(TWinControl* P) {
  TCustomControl::SetParent(P);
  if (auto* report = dynamic_cast<TCustomBandRep*>(P)) {
    Size.ChangeUnits(report->Units());
    ParentReport = report;
  } else if (auto* band = dynamic_cast<TRBCustomBand*>(P)) {
    Size.ChangeUnits(band->Size.Units);
    if (band->ParentReport != nullptr) ParentReport = band->ParentReport;
  }
  Size.ParentReport = ParentReport;
  if (P != nullptr) {
    Size.Zoom = PanelZoom();
    Size.ApplyToControl();
  }
}

void TRBPrintable::SetBounds(int L, int T, int W, int H) {
  if (Size.ParentUpdating) {
    TCustomControl::SetBounds(L, T, W, H);
    if (ParentReport != nullptr) ParentReport->RequestRepaint();
  } else if (Loading) {
    TCustomControl::SetBounds(L, T, W, H);
    if (L != 0) LoadedLeft = L;
    if (T != 0) LoadedTop = T;
    if (W != 0) LoadedWidth = W;
    if (H != 0) LoadedHeight = H;
  } else {
    // Only what changed is taken, so that the other stored values keep their exact tenths.
    const int oldLeft = Left(), oldTop = Top(), oldWidth = Width(), oldHeight = Height();
    Size.SwitchToPixels();
    if (H != oldHeight) Size.SetHeight(H);
    if (W != oldWidth) Size.SetWidth(W);
    if (T != oldTop) Size.SetTop(T);
    if (L != oldLeft) Size.SetLeft(L);
    Size.RestoreUnits();
  }
  if (alignToBand_ && !AlignUpdating) AlignToParent();
}

void TRBPrintable::ApplyZoom(int32_t Z) {
  Size.Zoom = Z;
  Size.ApplyToControl();
}

// ---------------------------------------------------------------------------------------------
// Panels and bands

TRBBasePanel::TRBBasePanel(TComponent* Owner) : TCustomControl(Owner), Frame(this) {}

void TRBBasePanel::ApplyZoom(int32_t Value) {
  if (Value == 0) return;
  Zoom = Value;
  for (int i = 0; i < ControlCount(); ++i) {
    if (auto* p = dynamic_cast<TRBPrintable*>(Controls(i))) p->ApplyZoom(Value);
    else if (auto* panel = dynamic_cast<TRBBasePanel*>(Controls(i))) panel->ApplyZoom(Value);
  }
}

TRBCustomBand::TRBCustomBand(TComponent* Owner) : TRBBasePanel(Owner), Size(this) {
  SetColor(Couleurs::clWhite);
  Size.SetStored(TRBBandSize::kHeight, Size.FromUnit(TRBUnit::Pixels, false, 40));
  Size.ApplyToControl();
}

TRBCustomBand::~TRBCustomBand() {
  destroying_ = true;
  if (ParentReport != nullptr && !ParentReport->Destroying()) {
    for (TRBCustomBand* b : ParentReport->BandOrder)
      if (b != this) b->ForgetBand(this);
    if (auto* c = dynamic_cast<TRBController*>(ParentReport->Controller)) {
      if (c->Header == this) c->Header = nullptr;
      if (c->Detail == this) c->Detail = nullptr;
      if (c->Footer == this) c->Footer = nullptr;
    }
    TCustomBandRep* report = ParentReport;
    TRBBasePanel::SetParent(nullptr);
    report->RemoveBand(this);
  }
  // The printables go while the band is still a band.
  while (ControlCount() > 0) delete Controls(ControlCount() - 1);
}

void TRBCustomBand::ForgetBand(TRBCustomBand* Band) {
  if (linkBand_ == Band) linkBand_ = nullptr;
  if (auto* child = dynamic_cast<TRBChildBand*>(this); child != nullptr && child->ParentBand() == Band)
    child->ForgetParentBand();
  if (auto* group = dynamic_cast<TRBGroup*>(this)) group->Forget(Band);
  if (auto* sub = dynamic_cast<TRBSubDetail*>(this)) {
    if (sub->HeaderBand() == Band) sub->Controller()->Header = nullptr;
    if (sub->FooterBand() == Band) sub->Controller()->Footer = nullptr;
    if (sub->Master() == Band) sub->SetMaster(nullptr);
  }
}

void TRBCustomBand::SetBandType(TRBBandType Value) {
  bandType_ = Value;
  if (ParentReport != nullptr) {
    ParentReport->RebuildBandOrder();
    ParentReport->LayoutBands();
  }
}

std::string TRBCustomBand::TypeCaption() const { return BandRpt::BandCaption(bandType_); }
std::string TRBCustomBand::TypeBaseName() const { return BandRpt::BandBaseName(bandType_); }

void TRBCustomBand::SetParentReport(TCustomBandRep* Report) {
  ParentReport = Report;
  Size.ParentReport = Report;
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* p = dynamic_cast<TRBPrintable*>(Controls(i))) {
      p->ParentReport = Report;
      p->Size.ParentReport = Report;
    }
}

bool TRBCustomBand::SetLinkBand(TRBCustomBand* Value) {
  for (TRBCustomBand* b = Value; b != nullptr; b = b->linkBand_)
    if (b == this) return false;
  linkBand_ = Value;
  return true;
}

TRBCustomBand* TRBCustomBand::ChildBand() const {
  if (ParentReport == nullptr) return nullptr;
  for (TRBCustomBand* b : ParentReport->BandOrder)
    if (auto* c = dynamic_cast<TRBChildBand*>(b); c != nullptr && c->BandType() == rbChild && c->ParentBand() == this)
      return c;
  return nullptr;
}

void TRBCustomBand::SetHasChild(bool Value) {
  TRBCustomBand* child = ChildBand();
  if (Value && child == nullptr) {
    auto* c = new TRBChildBand(Owner());
    // Named, so that stored reports can refer to it.
    c->SetName(BandRpt::MakeUniqueName(Owner(), BandRpt::BandBaseName(rbChild)));
    c->SetParentBand(this);
    if (ParentReport != nullptr) c->SetParent(ParentReport);
  } else if (!Value && child != nullptr) {
    TRBCustomBand* grandChild = child->ChildBand();
    if (grandChild != nullptr) static_cast<TRBChildBand*>(grandChild)->SetParentBand(this);
    delete child;
    if (ParentReport != nullptr) {
      ParentReport->RebuildBandOrder();
      ParentReport->LayoutBands();
    }
  }
}

void TRBCustomBand::SetEnabledBand(bool Value) {
  SetEnabled(Value);
  Invalidate();
}

double TRBCustomBand::HeightWithLinks() const {
  double h = 0;
  std::set<const TRBCustomBand*> seen;
  for (const TRBCustomBand* b = this; b != nullptr && seen.insert(b).second; b = b->linkBand_)
    h += b->Size.Stored(TRBBandSize::kHeight);
  return h;
}

bool TRBCustomBand::CanExpand(double Extra) const {
  return ParentReport->SpaceLeft() >= RoundHalfEven(Size.Stored(TRBBandSize::kHeight) + Expanded + Extra);
}

bool TRBCustomBand::Expand(double Extra, bool& Started, double& NewExpanded) {
  if (!CanExpand(Extra)) return false;
  if (!Started && Extra < Expanded) {
    NewExpanded = Expanded;
    Started = true;
    return true;
  }
  Expanded += Extra;
  NewExpanded = Expanded;
  Started = true;
  return false;
}

void TRBCustomBand::MakeRoom() {
  TCustomBandRep& r = *ParentReport;
  const int32_t h = RoundHalfEven(HeightWithLinks());
  const double printable = r.Page.Stored(TRBPage::kLength) - r.Page.Stored(TRBPage::kTopMargin) -
                           r.Page.Stored(TRBPage::kBottomMargin);
  // The bands that open a page or a column (page and column headers, reprinted group headers) are
  // placed where they fall: a break there would open the next column again and again.
  const bool fits = bandType_ == rbPageFooter || h <= r.SpaceLeft() || h > printable || r.OpeningColumn > 0;
  if (fits && r.PageNumber > 0) {
    if (IsDetail()) BreakTakenForDetail = false;
    return;
  }
  BreakTakenForDetail = IsDetail();
  r.NextColumn();
}

void TRBCustomBand::RenderBand() {
  TCustomBandRep& r = *ParentReport;
  TRBPrinter& target = *r.RenderTarget;
  bool print = Enabled();
  if (print && BeforePrint && !r.Designing) BeforePrint(this, print);
  if (!print) {
    if (!Enabled() && NotifyController != nullptr) NotifyController->NotifyExpressions(0);
  } else {
    if (!IsFixedType(bandType_) && r.PageNumber > 0) {
      if (ForceNewPage && !BreakTakenForDetail) {
        r.ForcedPageBreak();
        BreakTakenForDetail = false;
      } else if (ForceNewColumn) {
        r.ForcedColumnBreak();
      } else {
        MakeRoom();
      }
    } else {
      MakeRoom();
    }
    if (NotifyController != nullptr) NotifyController->NotifyExpressions(0);
    if (KeepOnOnePage && PrecalculatedHeight() > r.SpaceLeft()) r.NextColumn();
    const double height = Size.Stored(TRBBandSize::kHeight);
    const int32_t width = RoundHalfEven(Size.Stored(TRBBandSize::kWidth));
    if (!TransparentBand) {
      const double printHeight = PreCaluculateBandHeight ? PrecalculatedHeight() : height;
      BandFrameRect = DeviceRect(target, r.CurrentX, r.CurrentY, r.CurrentX + width,
                                 r.CurrentY + RoundHalfEven(printHeight));
    }
    if (Height() != 0 && target.PageCanvas() != nullptr) {
      if (!TransparentBand) {
        TCanvas& c = *target.PageCanvas();
        c.Brush.Style = TBrushStyle::bsSolid;
        c.Brush.Color = Color();
        c.FillRect(BandFrameRect);
      }
      Expanded = 0;
      PassAfterBreak = false;
      for (;;) {
        bool allDone = true;
        for (int i = 0; i < ControlCount(); ++i) {
          auto* p = dynamic_cast<TRBPrintable*>(Controls(i));
          if (p == nullptr || !p->Enabled()) continue;
          if (!PassAfterBreak || !p->PrintFinished) p->Print(r.CurrentX, r.CurrentY);
          allDone = allDone && p->PrintFinished;
        }
        if (target.PageCanvas() != nullptr && Frame.AnySide()) {
          BandFrameRect = DeviceRect(target, r.CurrentX, r.CurrentY, r.CurrentX + width,
                                     r.CurrentY + RoundHalfEven(height + Expanded) + 1);
          Frame.Draw(*target.PageCanvas(), BandFrameRect, target.DotsPerTenthX, target.DotsPerTenthY);
        }
        if (allDone) break;
        BreakTakenForDetail = true;
        r.NextColumn();
        BreakTakenForDetail = false;
        Expanded = 0;
        PassAfterBreak = true;
      }
      PassAfterBreak = false;
      r.CurrentY += RoundHalfEven(height + Expanded);
    }
  }
  if (AfterPrint && !r.Designing) AfterPrint(this, print);
  if (TRBCustomBand* child = ChildBand()) {
    if (bandType_ == rbPageFooter) child->bandType_ = rbPageFooter;
    r.EmitBand(child);
    child->bandType_ = rbChild;
  }
  BreakTakenForDetail = false;
}

void TRBCustomBand::SetParent(TWinControl* P) {
  if (auto* band = dynamic_cast<TRBCustomBand*>(P)) P = band->ParentReport;
  TCustomBandRep* old = ParentReport;
  auto* report = dynamic_cast<TCustomBandRep*>(P);
  TRBBasePanel::SetParent(P);
  if (old != nullptr && old != report && !old->Destroying()) old->RemoveBand(this);
  if (report != nullptr) {
    SetParentReport(report);
    Size.Zoom = report->Zoom;
    Size.ChangeUnits(report->Units());
    report->AddBand(this);
    ApplyZoom(report->Zoom);
  }
}

void TRBCustomBand::SetBounds(int L, int T, int W, int H) {
  if (Size.ParentUpdating || LayoutInProgress) {
    TRBBasePanel::SetBounds(L, T, W, H);
    if (ParentReport != nullptr && !LayoutInProgress) ParentReport->LayoutBands();
    for (int i = 0; i < ControlCount(); ++i)
      if (auto* p = dynamic_cast<TRBPrintable*>(Controls(i))) p->ParentChanged(this, 2);
  } else if (Loading) {
    TRBBasePanel::SetBounds(L, T, W, H);
    if (H != 40) LoadedHeight = H;
  } else {
    const bool moved = L != Left() || T != Top();
    TRBBasePanel::SetBounds(L, T, W, H);
    Size.SetStored(TRBBandSize::kHeight, Size.FromUnit(TRBUnit::Pixels, false, H));
    if (ParentReport != nullptr) {
      if (moved) ParentReport->LayoutBands();
      ParentReport->RequestRepaint();
    }
  }
}

void TRBCustomBand::ApplyZoom(int32_t Value) {
  if (Value == 0) return;
  TRBBasePanel::ApplyZoom(Value);
  Size.Zoom = Value;
  Size.ApplyToControl();
}

void TRBCustomBand::ChangeUnits(TRBUnit Unit) {
  Size.ChangeUnits(Unit);
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* p = dynamic_cast<TRBPrintable*>(Controls(i))) p->Size.ChangeUnits(Unit);
}

RB_DEFINE_COMPONENT_CLASS(TRBBand, nullptr)
RB_DEFINE_COMPONENT_CLASS(TRBChildBand, TRBBand::StaticClass())

TRBChildBand::TRBChildBand(TComponent* Owner) : TRBCustomBand(Owner) { bandType_ = rbChild; }

bool TRBChildBand::SetParentBand(TRBCustomBand* Value) {
  for (TRBCustomBand* b = Value; b != nullptr;) {
    if (b == this) return false;
    auto* c = dynamic_cast<TRBChildBand*>(b);
    b = c != nullptr ? c->parentBand_ : nullptr;
  }
  parentBand_ = Value;
  if (ParentReport != nullptr) {
    ParentReport->RebuildBandOrder();
    ParentReport->LayoutBands();
  }
  return true;
}

TRBControllerBand::TRBControllerBand(TComponent* Owner) : TRBCustomBand(Owner), controller_(new TRBController(this)) {
  controller_->OwnerObject = this;
  controller_->Detail = this;
}

TRBControllerBand::~TRBControllerBand() = default;

TComponent* TRBControllerBand::Master() const { return controller_->Master(); }

bool TRBControllerBand::SetMaster(TComponent* Value) {
  for (TComponent* m = Value; m != nullptr;) {
    if (m == this) return false;
    auto* cb = dynamic_cast<TRBControllerBand*>(m);
    m = cb != nullptr ? cb->Master() : nullptr;
  }
  if (!controller_->SetMaster(Value)) return false;
  if (ParentReport != nullptr) {
    ParentReport->RebuildBandOrder();
    ParentReport->LayoutBands();
  }
  return true;
}

void TRBControllerBand::SetParent(TWinControl* P) {
  TRBCustomBand::SetParent(P);
  if (ParentReport != nullptr && Master() == nullptr) SetMaster(ParentReport);
}

RB_DEFINE_COMPONENT_CLASS(TRBSubDetail, TRBBand::StaticClass())

TRBSubDetail::TRBSubDetail(TComponent* Owner) : TRBControllerBand(Owner) { bandType_ = rbSubDetail; }

IDataSet* TRBSubDetail::DataSet() const { return controller_->DataSet; }
void TRBSubDetail::SetDataSet(IDataSet* Value) { controller_->DataSet = Value; }
bool TRBSubDetail::PrintBefore() const { return controller_->PrintBefore(); }
void TRBSubDetail::SetPrintBefore(bool Value) {
  controller_->SetPrintBefore(Value);
  if (ParentReport != nullptr) {
    ParentReport->RebuildBandOrder();
    ParentReport->LayoutBands();
  }
}
bool TRBSubDetail::PrintIfEmpty() const { return controller_->PrintIfEmpty; }
void TRBSubDetail::SetPrintIfEmpty(bool Value) { controller_->PrintIfEmpty = Value; }
TRBCustomBand* TRBSubDetail::HeaderBand() const { return controller_->Header; }
TRBCustomBand* TRBSubDetail::FooterBand() const { return controller_->Footer; }
void TRBSubDetail::SetHeaderBand(TRBCustomBand* Band) {
  controller_->Header = Band;
  if (Band != nullptr) Band->SetBandType(rbGroupHeader);
}
void TRBSubDetail::SetFooterBand(TRBCustomBand* Band) {
  controller_->Footer = Band;
  if (Band != nullptr) Band->SetBandType(rbGroupFooter);
}

bool TRBSubDetailGroupBands::HasHeader() const { return owner_->HeaderBand() != nullptr; }
bool TRBSubDetailGroupBands::HasFooter() const { return owner_->FooterBand() != nullptr; }
void TRBSubDetailGroupBands::SetHasHeader(bool Value) {
  if (Value && owner_->HeaderBand() == nullptr && owner_->ParentReport != nullptr)
    owner_->SetHeaderBand(owner_->ParentReport->CreateBand(rbGroupHeader));
  else if (!Value && owner_->HeaderBand() != nullptr) delete owner_->HeaderBand();
}
void TRBSubDetailGroupBands::SetHasFooter(bool Value) {
  if (Value && owner_->FooterBand() == nullptr && owner_->ParentReport != nullptr)
    owner_->SetFooterBand(owner_->ParentReport->CreateBand(rbGroupFooter));
  else if (!Value && owner_->FooterBand() != nullptr) delete owner_->FooterBand();
}

RB_DEFINE_COMPONENT_CLASS(TRBGroup, TRBBand::StaticClass())

TRBGroup::TRBGroup(TComponent* Owner) : TRBCustomBand(Owner) { bandType_ = rbGroupHeader; }
TRBGroup::~TRBGroup() = default;

void TRBGroup::SetFooterBand(TRBCustomBand* Band) {
  footerBand_ = Band;
  if (Band != nullptr) Band->SetBandType(rbGroupFooter);
}

void TRBGroup::SetMaster(TComponent* Value) {
  if (Value != nullptr && dynamic_cast<TRBControllerBand*>(Value) == nullptr &&
      dynamic_cast<TCustomBandRep*>(Value) == nullptr)
    return;
  master_ = Value;
  if (ParentReport != nullptr) {
    ParentReport->RebuildBandOrder();
    ParentReport->LayoutBands();
  }
}

void TRBGroup::Forget(TComponent* Component) {
  if (footerBand_ == Component) footerBand_ = nullptr;
  if (master_ == Component) master_ = nullptr;
}

void TRBGroup::SetParent(TWinControl* P) {
  TRBCustomBand::SetParent(P);
  if (ParentReport != nullptr && master_ == nullptr) SetMaster(ParentReport);
}

namespace {
bool SameValue(const TRBEvResultRecord& a, const TRBEvResultRecord& b) {
  if (a.Kind != b.Kind) return false;
  switch (a.Kind) {
    case rkInteger: return a.IntegerValue == b.IntegerValue;
    case rkFloat: return a.FloatValue == b.FloatValue;
    case rkString: return a.Text == b.Text;
    case rkBoolean: return a.BooleanValue == b.BooleanValue;
    case rkError: return true;
  }
  return true;
}
}  // namespace

void TRBGroup::CheckValue() {
  Changed = false;
  TRBEvResultRecord value;
  Evaluator.RunProgram(value);
  if (!HasValue || !SameValue(value, LastValue)) {
    Changed = true;
    HasValue = true;
    LastValue = value;
  }
}

void TRBGroup::TakeFreshValue() {
  Evaluator.RunProgram(LastValue);
  Changed = true;
  HasValue = true;
}

// ---------------------------------------------------------------------------------------------
// Controllers

TRBCustomController::TRBCustomController(TComponent* Owner)
    : TComponent(Owner), ConstructionOwner(Owner), OwnerObject(this) {}

TRBCustomController::~TRBCustomController() = default;

bool TRBCustomController::SetMaster(TComponent* Value) {
  if (Value == nullptr) {
    master_ = nullptr;
    return true;
  }
  if (Value == this || Value == OwnerObject) return false;
  if (dynamic_cast<TCustomBandRep*>(Value) == nullptr && dynamic_cast<TRBCustomController*>(Value) == nullptr &&
      dynamic_cast<TRBControllerBand*>(Value) == nullptr)
    return false;
  master_ = Value;
  return true;
}

void TRBCustomController::Collect() {
  PrintAfterList.clear();
  PrintBeforeList.clear();
  GroupList.clear();
  TComponent* holder = OwnerObject;
  TComponent* outer = holder == this ? ConstructionOwner : holder->Owner();
  std::set<TComponent*> seen;
  for (TComponent* place : {outer, holder}) {
    if (place == nullptr || !seen.insert(place).second) continue;
    for (int i = 0; i < place->ComponentCount(); ++i) {
      TComponent* c = place->Components(i);
      TRBCustomController* sub = dynamic_cast<TRBCustomController*>(c);
      if (auto* cb = dynamic_cast<TRBControllerBand*>(c)) sub = cb->Controller();
      if (sub != nullptr && sub != this && sub->Master() == OwnerObject) {
        sub->ParentReport = ParentReport;
        (sub->PrintBefore() ? PrintBeforeList : PrintAfterList).push_back(sub);
        sub->Collect();
      }
      if (auto* g = dynamic_cast<TRBGroup*>(c); g != nullptr && g->Master() == OwnerObject) {
        GroupList.push_back(g);
        g->ParentReport = ParentReport;
      }
    }
  }
  AddDataSet();
}

void TRBCustomController::Prepare() {
  NotifyList.clear();
  for (auto* c : PrintBeforeList) c->Prepare();
  for (auto* c : PrintAfterList) c->Prepare();
  for (TRBGroup* g : GroupList) {
    g->Evaluator.SetDataSetList(ParentReport->DataSets.get());
    g->Evaluator.LocalEnvironment = &ParentReport->Functions;
    g->Evaluator.CompileExpression(g->Expression);
    g->HasValue = false;
    g->InGroup = false;
    g->LastHeaderPage = 1;
  }
  prepared_ = true;
}

void TRBCustomController::Unprepare() {
  for (auto* c : PrintBeforeList) c->Unprepare();
  for (auto* c : PrintAfterList) c->Unprepare();
  for (TRBGroup* g : GroupList) {
    g->Evaluator.DiscardProgram();
    g->Evaluator.SetDataSetList(nullptr);
  }
  prepared_ = false;
}

void TRBCustomController::RunAfterControllers() {
  for (auto* c : PrintAfterList) c->Execute();
}
void TRBCustomController::RunBeforeControllers() {
  for (auto* c : PrintBeforeList) c->Execute();
}

void TRBCustomController::PrintEmpty() {
  RunBeforeControllers();
  RunAfterControllers();
}

void TRBCustomController::Execute() {
  if (PrintIfEmpty) PrintEmpty();
}

void TRBCustomController::NotifyExpressions(int Reason) {
  for (TRBPrintable* p : NotifyList) p->ParentChanged(this, Reason);
}

bool TRBCustomController::CheckGroups() {
  for (std::size_t i = 0; i < GroupList.size(); ++i) {
    GroupList[i]->CheckValue();
    if (GroupList[i]->Changed) {
      for (std::size_t j = i + 1; j < GroupList.size(); ++j) GroupList[j]->TakeFreshValue();
      return true;
    }
  }
  return false;
}

void TRBCustomController::ReprintGroupHeaders() {
  for (TRBGroup* g : GroupList)
    if (g->Changed) return;
  for (auto* c : PrintBeforeList) c->ReprintGroupHeaders();
  std::vector<TRBGroup*> flagged;
  for (std::size_t i = 0; i < GroupList.size(); ++i) {
    TRBGroup* g = GroupList[i];
    if (g->ReprintOnNewPage && g->InGroup && ParentReport->PageNumber != g->LastHeaderPage) {
      g->LastHeaderPage = ParentReport->PageNumber;
      g->Changed = true;
      for (std::size_t j = i + 1; j < GroupList.size(); ++j) GroupList[j]->TakeFreshValue();
      break;
    }
  }
  // The flagged headers print with their flags set, so that a header that breaks the page does not
  // reprint the headers again from inside itself; the flags are consumed afterwards.
  for (TRBGroup* g : GroupList)
    if (g->Changed) flagged.push_back(g);
  for (TRBGroup* g : flagged) {
    ParentReport->EmitBand(g);
    g->InGroup = true;
    g->LastHeaderPage = ParentReport->PageNumber;
  }
  for (TRBGroup* g : flagged) g->Changed = false;
  for (auto* c : PrintAfterList) c->ReprintGroupHeaders();
}

void TRBController::Prepare() {
  TRBCustomController::Prepare();
  BindQueryParameters = false;
  if (DataSet != nullptr && DataSet->ParamCount() > 0)
    for (int i = 0; i < DataSet->ParamCount(); ++i)
      if (ParentReport->Functions.IndexOf(DataSet->Params(i)->Name) >= 0) BindQueryParameters = true;
}

void TRBController::PrintEmpty() {
  ParentReport->EmitBand(Header);
  RunBeforeControllers();
  ParentReport->EmitBand(Detail);
  RunAfterControllers();
  ParentReport->EmitBand(Footer);
}

void TRBController::AddDataSet() {
  if (DataSet != nullptr && DataSet->Active() && ParentReport != nullptr && ParentReport->DataSets &&
      std::find(ParentReport->DataSets->begin(), ParentReport->DataSets->end(), DataSet) ==
          ParentReport->DataSets->end())
    ParentReport->DataSets->push_back(DataSet);
}

void TRBController::AddToBandOrder(std::vector<TRBCustomBand*>& Order) {
  auto add = [&](TRBCustomBand* b) {
    if (b != nullptr && ParentReport != nullptr) ParentReport->AddToOrder(b);
  };
  (void)Order;
  add(Header);
  for (TRBGroup* g : GroupList) add(g);
  for (auto* c : PrintBeforeList) c->AddToBandOrder(Order);
  add(Detail);
  for (auto* c : PrintAfterList) c->AddToBandOrder(Order);
  for (auto g = GroupList.rbegin(); g != GroupList.rend(); ++g) add((*g)->FooterBand());
  add(Footer);
}

void TRBController::BindParameters() {
  DataSet->Close();
  for (int i = 0; i < DataSet->ParamCount(); ++i) {
    TParam& p = *DataSet->Params(i);
    if (ParentReport->Functions.IndexOf(p.Name) < 0) continue;
    TRBEvResultRecord v;
    ParentReport->Functions.VariableValue(p.Name, v);
    switch (p.DataType) {
      case TFieldType::ftString:
        if (v.Kind == rkString) p.Value = TFieldValue::OfText(v.Text);
        break;
      case TFieldType::ftSmallint:
      case TFieldType::ftInteger:
      case TFieldType::ftWord:
        if (v.Kind == rkInteger) p.Value = TFieldValue::OfInteger(v.IntegerValue);
        break;
      case TFieldType::ftBoolean:
        if (v.Kind == rkBoolean) p.Value = TFieldValue::OfBoolean(v.BooleanValue);
        break;
      case TFieldType::ftFloat:
      case TFieldType::ftCurrency:
      case TFieldType::ftBCD:
        if (v.Kind == rkFloat) p.Value = TFieldValue::OfFloat(v.FloatValue);
        break;
      case TFieldType::ftDate:
      case TFieldType::ftTime:
      case TFieldType::ftDateTime: {
        TDateTime when = 0;
        const bool parsed = v.Kind == rkString &&
                            (p.DataType == TFieldType::ftDate   ? DataSet::DateFromText(v.Text, when)
                             : p.DataType == TFieldType::ftTime ? DataSet::TimeFromText(v.Text, when)
                                                                : DataSet::DateTimeFromText(v.Text, when));
        if (parsed) p.Value = TFieldValue::OfFloat(when);
        break;
      }
      default: break;
    }
  }
  DataSet->Open();
}

void TRBController::Execute() {
  TCustomBandRep* report = ParentReport;
  int32_t total = 1;
  for (TRBGroup* g : GroupList) g->HasValue = false;
  const bool fromDataSet = DataSet != nullptr && DataSet->Active();
  if ((!fromDataSet && !OnNeedData) || report == nullptr) {
    if (PrintIfEmpty && report != nullptr) PrintEmpty();
    return;
  }
  bool more = true;
  if (fromDataSet) {
    if (BindQueryParameters) BindParameters();
    DataSet->First();
    more = !DataSet->Eof();
    if (auto* bandRep = dynamic_cast<TBandRep*>(report)) {
      IDataSet* ds = bandRep->DataSet();
      try {
        total = ds != nullptr && ds->Active() ? ds->RecordCount() : 1;
      } catch (const std::exception&) {
        total = 1;
      }
    }
    if (!more && PrintIfEmpty) PrintEmpty();
  } else if (!report->Designing) {
    OnNeedData(OwnerObject, more);
  }
  DetailNumber = 0;
  if (Detail != nullptr) Detail->NotifyController = this;
  if (!more) return;
  Messages::TraiterMessagesEnAttente();
  if (report->Cancelled) return;
  if (Header != nullptr) {
    report->EmitBand(Header);
    if (OwnerObject == report) report->AbsorbNextPageBreak = true;
  }
  if (OwnerObject == report && (report->PageNumber <= 1 || BandRpt::ContinuationRun)) {
    TRBCustomBand* columnHeader = report->Bands.Band(rbColumnHeader);
    if (columnHeader != nullptr && columnHeader->Enabled()) {
      report->EmitBand(columnHeader);
      report->AbsorbNextPageBreak = true;
    }
  }
  CheckGroups();
  auto* bandRep = dynamic_cast<TBandRep*>(report);
  while (more) {
    Messages::TraiterMessagesEnAttente();
    if (report->RenderTarget->CancelRequested() || report->Cancelled) return;
    ++DetailNumber;
    // The flags stay set while the headers print (a break inside them reprints nothing), and are
    // consumed afterwards.
    for (TRBGroup* g : GroupList)
      if (g->Changed) {
        report->EmitBand(g);
        g->InGroup = true;
        g->LastHeaderPage = report->PageNumber;
      }
    for (TRBGroup* g : GroupList) g->Changed = false;
    RunBeforeControllers();
    report->EmitBand(Detail);
    RunAfterControllers();
    if (fromDataSet) {
      DataSet->Next();
      more = !DataSet->Eof();
    } else {
      more = false;
      if (!report->Designing) OnNeedData(OwnerObject, more);
    }
    // At the end of the data the last record's values stand: no group changes there.
    if (more && CheckGroups()) {
      if (fromDataSet) DataSet->Prior();
      for (auto g = GroupList.rbegin(); g != GroupList.rend(); ++g)
        if ((*g)->Changed) {
          report->EmitBand((*g)->FooterBand());
          (*g)->InGroup = false;
        }
      if (fromDataSet) DataSet->Next();
    }
    if (bandRep != nullptr && bandRep->DataSet() == DataSet && fromDataSet && total != 0)
      report->RenderTarget->SetProgress(static_cast<int32_t>(int64_t{DetailNumber} * 100 / total));
  }
  for (auto g = GroupList.rbegin(); g != GroupList.rend(); ++g) {
    (*g)->Changed = !(*g)->Changed;
    if ((*g)->Changed) {
      report->EmitBand((*g)->FooterBand());
      (*g)->InGroup = false;
    }
  }
  if (Footer != nullptr) {
    if (report->PageNumber == 0) report->OpenPage();
    if (Footer->Size.Stored(TRBBandSize::kHeight) > report->SpaceLeft()) report->NextColumn();
    report->EmitBand(Footer);
  }
}

// ---------------------------------------------------------------------------------------------
// Report

bool TBandRepBands::Has(TRBBandType Type) const { return Band(Type) != nullptr; }

TRBCustomBand* TBandRepBands::Band(TRBBandType Type) const {
  for (TRBCustomBand* b : report_->BandOrder)
    if (b->BandType() == Type) return b;
  return nullptr;
}

void TBandRepBands::Set(TRBBandType Type, bool Value) {
  TRBCustomBand* b = Band(Type);
  if (Value && b == nullptr) report_->CreateBand(Type);
  if (!Value && b != nullptr) delete b;
}

TCustomBandRep::TCustomBandRep(TComponent* Owner)
    : TRBBasePanel(Owner), Page(this), Bands(this) {
  Controller = new TRBCustomController(this);
  Controller->OwnerObject = this;
  Controller->ParentReport = this;
  Functions.DefineVariable("PAGENUMBER", "0");
  Functions.DefineVariable("COLUMNNUMBER", "0");
  Functions.DefineVariable("REPORTTITLE", "''");
  SetColor(Couleurs::clWhite);
  TFont f = Font();
  f.Name = "Arial";
  SetFont(f);
  SetReportFontSize(10);
  {
    TRBPrinter probe;
    Page.SetPaperSize(probe.DeviceSettings().PaperSize);
  }
  if (auto* form = dynamic_cast<TForm*>(Owner)) form->Scaled = false;
  ResizeToPage();
}

TCustomBandRep::~TCustomBandRep() {
  destroying_ = true;
  if (CompositeLink != nullptr) CompositeLink->Unlink(this);
  // The bands and printables go while the report is whole; they know it is going.
  while (ControlCount() > 0) delete Controls(ControlCount() - 1);
  BandOrder.clear();
}

void TCustomBandRep::SetReportFontSize(int32_t Size) {
  fontSize_ = Size;
  TFont f = Font();
  if (Size < 0) f.Height = -Size;
  else f.SetSize(Size);
  SetFont(f);
  MeasureDC.Font = f;
}

bool TCustomBandRep::PrintIfEmpty() const { return Controller->PrintIfEmpty; }
void TCustomBandRep::SetPrintIfEmpty(bool Value) { Controller->PrintIfEmpty = Value; }

void TCustomBandRep::SetUnits(TRBUnit Unit) {
  Page.ChangeUnits(Unit);
  for (TRBCustomBand* b : BandOrder) b->ChangeUnits(Unit);
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* p = dynamic_cast<TRBPrintable*>(Controls(i))) p->Size.ChangeUnits(Unit);
}

void TCustomBandRep::SetZoom(int32_t Value) {
  if (Value < 1 || Value > 300) return;
  ApplyZoom(Value);
}

void TCustomBandRep::ApplyZoom(int32_t Value) {
  TRBBasePanel::ApplyZoom(Value);
  Page.Zoom = Value;
  ResizeToPage();
  LayoutBands();
}

void TCustomBandRep::ResizeToPage() {
  TRBBasePanel::SetBounds(Left(), Top(), Page.PixelsOf(TRBPage::kWidth), Page.PixelsOf(TRBPage::kLength));
}

void TCustomBandRep::RequestRepaint() {
  if (RepaintPending) return;
  RepaintPending = true;
  PageImage.reset();
  Invalidate();
}

int32_t TCustomBandRep::PrintableWidth() const {
  return RoundHalfEven(Page.Stored(TRBPage::kWidth) -
                       (Page.Stored(TRBPage::kLeftMargin) + Page.Stored(TRBPage::kRightMargin)));
}

int32_t TCustomBandRep::ColumnWidth() const {
  const int32_t columns = std::max(Page.Columns(), 1);
  return (PrintableWidth() - (columns - 1) * RoundHalfEven(Page.Stored(TRBPage::kColumnSpace))) / columns;
}

TRBCustomBand* TCustomBandRep::CreateBand(TRBBandType Type) {
  TComponent* owner = Owner() != nullptr ? Owner() : this;
  auto* band = new TRBBand(owner);
  band->SetBandTypeQuiet(Type);
  band->SetName(BandRpt::MakeUniqueName(owner, BandRpt::BandBaseName(Type)));
  band->SetParent(this);
  return band;
}

void TCustomBandRep::AddBand(TRBCustomBand* Band) {
  if (std::find(BandOrder.begin(), BandOrder.end(), Band) != BandOrder.end()) return;
  BandOrder.push_back(Band);
  RebuildBandOrder();
  LayoutBands();
}

void TCustomBandRep::RemoveBand(TRBCustomBand* Band) {
  if (destroying_) return;
  auto it = std::find(BandOrder.begin(), BandOrder.end(), Band);
  if (it != BandOrder.end()) BandOrder.erase(it);
  RebuildBandOrder();
  LayoutBands();
}

void TCustomBandRep::AddToOrder(TRBCustomBand* Band) {
  if (Band == nullptr || std::find(BandOrder.begin(), BandOrder.end(), Band) == BandOrder.end()) return;
  if (std::find(pendingOrder_.begin(), pendingOrder_.end(), Band) != pendingOrder_.end()) return;
  pendingOrder_.push_back(Band);
  std::set<TRBCustomBand*> seen{Band};
  for (TRBCustomBand* c = Band->ChildBand(); c != nullptr && seen.insert(c).second; c = c->ChildBand())
    if (std::find(pendingOrder_.begin(), pendingOrder_.end(), c) == pendingOrder_.end()) pendingOrder_.push_back(c);
}

void TCustomBandRep::RebuildBandOrder() {
  if (Loading || rebuilding_ || destroying_) return;
  rebuilding_ = true;
  BindControllerBands();
  Controller->ParentReport = this;
  Controller->Collect();
  pendingOrder_.clear();
  const std::vector<TRBCustomBand*> previous = BandOrder;
  auto addType = [&](TRBBandType Type) {
    for (TRBCustomBand* b : previous)
      if (b->BandType() == Type) AddToOrder(b);
  };
  addType(rbPageHeader);
  addType(rbTitle);
  addType(rbColumnHeader);
  std::vector<TRBCustomBand*> unused;
  Controller->AddToBandOrder(unused);
  addType(rbPageFooter);
  for (TRBCustomBand* b : previous) AddToOrder(b);
  BandOrder = std::move(pendingOrder_);
  pendingOrder_.clear();
  rebuilding_ = false;
}

void TCustomBandRep::LayoutBands() {
  if (Loading || destroying_ || layingOut_) return;
  layingOut_ = true;
  double y = Page.Stored(TRBPage::kTopMargin);
  const double left = Page.Stored(TRBPage::kLeftMargin);
  for (TRBCustomBand* b : BandOrder) {
    const TRBCustomBand* rule = b;
    std::set<const TRBCustomBand*> seen;
    while (auto* child = dynamic_cast<const TRBChildBand*>(rule)) {
      if (child->ParentBand() == nullptr || !seen.insert(rule).second) break;
      rule = child->ParentBand();
    }
    const TRBBandType t = rule->BandType();
    const bool whole = t == rbTitle || t == rbPageHeader || t == rbPageFooter || t == rbSummary || t == rbOverlay;
    b->LayoutInProgress = true;
    b->Size.SetStored(TRBBandSize::kWidth, whole ? PrintableWidth() : ColumnWidth());
    b->SetBounds(RoundHalfEven(b->Size.ToUnit(TRBUnit::Pixels, true, left)),
                 RoundHalfEven(b->Size.ToUnit(TRBUnit::Pixels, false, y)), b->Size.PixelsOf(TRBBandSize::kWidth),
                 b->Size.PixelsOf(TRBBandSize::kHeight));
    b->LayoutInProgress = false;
    y += b->Size.Stored(TRBBandSize::kHeight);
  }
  layingOut_ = false;
}

void TCustomBandRep::AddNotifyClient(TRBPrintable* Expression) {
  auto& l = Controller->NotifyList;
  if (std::find(l.begin(), l.end(), Expression) == l.end()) l.push_back(Expression);
}

std::vector<TRBCustomBand*> TCustomBandRep::ChildBands() const {
  std::vector<TRBCustomBand*> out;
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* b = dynamic_cast<TRBCustomBand*>(Controls(i))) out.push_back(b);
  return out;
}

std::vector<TRBPrintable*> TCustomBandRep::AllPrintables() const {
  std::vector<TRBPrintable*> out;
  for (int i = 0; i < ControlCount(); ++i) {
    if (auto* p = dynamic_cast<TRBPrintable*>(Controls(i))) out.push_back(p);
    if (auto* b = dynamic_cast<TRBCustomBand*>(Controls(i)))
      for (int j = 0; j < b->ControlCount(); ++j)
        if (auto* p = dynamic_cast<TRBPrintable*>(b->Controls(j))) out.push_back(p);
  }
  return out;
}

void TCustomBandRep::Notification(TComponent* Component, bool Insertion) { TRBBasePanel::Notification(Component, Insertion); }

int32_t TCustomBandRep::DevicePageLength() const {
  const TPrinterSettings& s = RenderTarget->DeviceSettings();
  return Page.Orientation() == 1 && Page.PaperSize() != TRBPaperSize::Custom ? s.PaperWidth() : s.PaperLength();
}

int32_t TCustomBandRep::SpaceLeft() const {
  if (Idle || CurrentY == -1 || RenderTarget == nullptr) return 0;
  const double l = DevicePageLength() - Page.Stored(TRBPage::kBottomMargin);
  return RoundHalfEven(l - PageFooterReserve - CurrentY);
}

void TCustomBandRep::EmitBand(TRBCustomBand* Band) {
  if (Band == nullptr) return;
  if (Band->AlignToBottom) {
    if (Band->BandType() == rbSummary && !(Options & LastPageFooter)) PageFooterReserve = 0;
    const int32_t p = DevicePageLength();
    const double h = Band->Size.Stored(TRBBandSize::kHeight);
    const double bottom = Page.Stored(TRBPage::kBottomMargin) + PageFooterReserve;
    if (RoundHalfEven(h + bottom) <= p - CurrentY) CurrentY = p - RoundHalfEven(h) - RoundHalfEven(bottom);
  }
  Band->RenderBand();
}

void TCustomBandRep::OpenPage() {
  FinishPage();
  ++PageNumber;
  TRBEvEnvironment::StoreInteger(PageNumberVariable, PageNumber);
  RenderTarget->NewPage();
  CurrentY = RoundHalfEven(Page.Stored(TRBPage::kTopMargin));
  if (OnStartPage && !Designing) OnStartPage(this);
  ++OpeningColumn;
  try {
    if (PageNumber > 1 || (Options & FirstPageHeader)) EmitBand(Bands.Band(rbPageHeader));
  } catch (...) {
    --OpeningColumn;
    throw;
  }
  --OpeningColumn;
  ColumnTop = CurrentY;
  if (PageNumber == 1)
    if (TRBCustomBand* title = Bands.Band(rbTitle)) ColumnTop += RoundHalfEven(title->Size.Stored(TRBBandSize::kHeight));
}

void TCustomBandRep::FinishPage() {
  if (PageNumber == 0) return;
  CurrentY = RoundHalfEven(Page.Stored(TRBPage::kLength) - Page.Stored(TRBPage::kBottomMargin) - PageFooterReserve);
  CurrentX = RoundHalfEven(Page.Stored(TRBPage::kLeftMargin));
  if (!(Finishing && !(Options & LastPageFooter))) EmitBand(Bands.Band(rbPageFooter));
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* p = dynamic_cast<TRBPrintable*>(Controls(i))) p->Print(0, 0);
  if (Frame.AnySide() && RenderTarget->PageCanvas() != nullptr) {
    const TRect r = {RenderTarget->ToDeviceX(RoundHalfEven(Page.Stored(TRBPage::kLeftMargin))),
                     RenderTarget->ToDeviceY(RoundHalfEven(Page.Stored(TRBPage::kTopMargin))),
                     RenderTarget->ToDeviceX(RoundHalfEven(Page.Stored(TRBPage::kWidth) - Page.Stored(TRBPage::kRightMargin))),
                     RenderTarget->ToDeviceY(RoundHalfEven(Page.Stored(TRBPage::kLength) - Page.Stored(TRBPage::kBottomMargin)))};
    Frame.Draw(*RenderTarget->PageCanvas(), r, RenderTarget->DotsPerTenthX, RenderTarget->DotsPerTenthY);
  }
  if (OnEndPage && !Designing) OnEndPage(this);
}

void TCustomBandRep::NextColumn() {
  if (CurrentColumn >= Page.Columns()) {
    CurrentColumn = 1;
    CurrentX = RoundHalfEven(Page.Stored(TRBPage::kLeftMargin));
    OpenPage();
  } else {
    TRBCustomBand* detail = Bands.Band(rbDetail);
    const double width = detail != nullptr ? detail->Size.Stored(TRBBandSize::kWidth) : ColumnWidth();
    CurrentX += RoundHalfEven(width) + RoundHalfEven(Page.Stored(TRBPage::kColumnSpace));
    CurrentY = ColumnTop;
    ++CurrentColumn;
  }
  TRBEvEnvironment::StoreInteger(ColumnNumberVariable, CurrentColumn);
  if (!(PageNumber == 1 && CurrentColumn == 1)) {
    ++OpeningColumn;
    try {
      EmitBand(Bands.Band(rbColumnHeader));
      Controller->ReprintGroupHeaders();
    } catch (...) {
      --OpeningColumn;
      throw;
    }
    --OpeningColumn;
  }
}

void TCustomBandRep::ForcedColumnBreak() {
  if (Idle) return;
  if (ColumnBreakAbsorbed || CurrentColumn > 1) NextColumn();
  else ColumnBreakAbsorbed = true;
}

void TCustomBandRep::ForcedPageBreak() {
  if (Idle) return;
  if (AbsorbNextPageBreak) {
    AbsorbNextPageBreak = false;
    return;
  }
  do NextColumn();
  while (CurrentColumn != 1);
}

void TCustomBandRep::CancelRun() {
  if (Idle) return;
  Cancelled = true;
  if (RenderTarget != nullptr) RenderTarget->Cancel();
}

void TCustomBandRep::TransferPrinterSettings() {
  TPrinterSettings& s = RenderTarget->DeviceSettings();
  s.PaperSize = Page.PaperSize();
  if (Page.PaperSize() == TRBPaperSize::Custom || Page.PaperSize() == TRBPaperSize::Default) {
    s.SheetWidth = RoundHalfEven(Page.Stored(TRBPage::kWidth));
    s.SheetLength = RoundHalfEven(Page.Stored(TRBPage::kLength));
  }
  s.Orientation = Page.Orientation();
  s.Copies = PrinterSettings.Copies;
  s.OutputBin = PrinterSettings.OutputBin;
  RenderTarget->FirstPage = PrinterSettings.FirstPage;
  RenderTarget->LastPage = PrinterSettings.LastPage;
  s.Duplex = PrinterSettings.Duplex;
  s.UseStandardprinter = PrinterSettings.UseStandardprinter;
  s.PrintMetaFile = PrinterSettings.PrintMetaFile;
  s.UseCustomBinCode = PrinterSettings.UseCustomBinCode;
  s.CustomBinCode = PrinterSettings.CustomBinCode;
  s.UseCustomPaperCode = PrinterSettings.UseCustomPaperCode;
  s.CustomPaperCode = PrinterSettings.CustomPaperCode;
  s.PrintQuality = PrinterSettings.PrintQuality;
  s.Collate = PrinterSettings.Collate;
  s.ColorOption = PrinterSettings.ColorOption;
  s.ExtendedDuplex = PrinterSettings.ExtendedDuplex;
  s.OnApplyPrinterSettings = OnApplyPrinterSettings;
  s.OnGetPrinterSettings = OnGetPrinterSettings;
}

void TCustomBandRep::RunReport(bool Continuation) {
  if (!Idle) return;
  const bool wasVisible = Visible();
  PageImage.reset();
  if (Page.Stored(TRBPage::kWidth) - Page.Stored(TRBPage::kLeftMargin) - Page.Stored(TRBPage::kRightMargin) < 0) {
    Page.SetStored(TRBPage::kLeftMargin, 0);
    Page.SetStored(TRBPage::kRightMargin, 0);
  }
  if (Page.Stored(TRBPage::kLength) - Page.Stored(TRBPage::kTopMargin) - Page.Stored(TRBPage::kBottomMargin) < 0) {
    Page.SetStored(TRBPage::kTopMargin, 0);
    Page.SetStored(TRBPage::kBottomMargin, 0);
  }
  Idle = false;
  Cancelled = Finishing = AbsorbNextPageBreak = ColumnBreakAbsorbed = false;
  OpeningColumn = 0;
  bool printReport = true;
  if (RenderTarget == nullptr) {
    if (!ownedTarget_) ownedTarget_ = std::make_unique<TRBPrinter>(this);
    RenderTarget = ownedTarget_.get();
  }
  auto endRun = [&] {
    DataSets.reset();
    SetVisible(wasVisible);
    Idle = true;
  };
  try {
    DataSets = std::make_unique<TRBDataSetList>();
    TComponent* form = FormeParente();
    if (form == nullptr) form = Owner();
    GatherDataSets(form, *DataSets);
    if (BeforePrint && !Designing) BeforePrint(this, printReport);
    if (printReport) {
      // What the run did, so that a failure undoes exactly that.
      const TRBUnit savedUnits = Units();
      bool begun = false, sharedActive = false, functionsActive = false, controllerPrepared = false;
      std::vector<TRBPrintable*> prepared;
      auto cleanUp = [&](bool failed) {
        SetUnits(savedUnits);
        for (TRBPrintable* p : prepared) p->Unprepare();
        if (controllerPrepared) Controller->Unprepare();
        if (functionsActive) {
          Functions.Deactivate();
          Functions.SetDataSetList(nullptr);
        }
        if (sharedActive) SharedEnvironment()->Deactivate();
        PageNumberVariable = ColumnNumberVariable = ReportTitleVariable = nullptr;
        if (Cancelled || (failed && begun)) {
          if (begun || Continuation) RenderTarget->AbortDocument();
        } else if (!Continuation && begun) {
          RenderTarget->EndDocument();
        }
      };
      try {
        SetUnits(TRBUnit::Native);
        if (!Continuation) {
          TransferPrinterSettings();
          RenderTarget->DocumentTitle = ReportTitle;
          RenderTarget->SetCompression((Options & Compression) != 0);
          // A finished document of an earlier run makes room for this one.
          if (RenderTarget->Status() == TRBPrinter::StatusComplete) RenderTarget->Cleanup();
          RenderTarget->BeginDocument();
          begun = true;
          CurrentY = -1;
          PageNumber = 0;
        } else {
          const TPrinterSettings& s = RenderTarget->DeviceSettings();
          Page.SetOrientation(s.Orientation);
          Page.SetPaperSize(s.PaperSize);
        }
        // A continuation keeps the column the series hands over.
        if (!Continuation) CurrentColumn = Page.Columns();
        PageFooterReserve = 0;
        for (TRBCustomBand* b : ChildBands())
          if (b->BandType() == rbPageFooter && b->Enabled()) {
            std::set<TRBCustomBand*> seen;
            for (TRBCustomBand* c = b; c != nullptr && seen.insert(c).second; c = c->ChildBand())
              PageFooterReserve += c->Size.Stored(TRBBandSize::kHeight);
          }
        for (TRBCustomBand* b : ChildBands()) b->SetParentReport(this);
        for (TRBPrintable* p : AllPrintables()) p->ParentReport = this;
        CurrentX = RoundHalfEven(Page.Stored(TRBPage::kLeftMargin));
        Controller->ParentReport = this;
        Controller->Collect();
        SharedEnvironment()->Activate();
        sharedActive = true;
        Functions.SetDataSetList(DataSets.get());
        Functions.Activate();
        functionsActive = true;
        PageNumberVariable = Functions.ConstantElement("PAGENUMBER");
        ColumnNumberVariable = Functions.ConstantElement("COLUMNNUMBER");
        ReportTitleVariable = Functions.ConstantElement("REPORTTITLE");
        TRBEvEnvironment::StoreText(ReportTitleVariable, ReportTitle);
        TRBEvEnvironment::StoreInteger(PageNumberVariable, PageNumber);
        Controller->Prepare();
        controllerPrepared = true;
        for (TRBPrintable* p : AllPrintables()) {
          prepared.push_back(p);
          p->Prepare();
        }
        BandRpt::ContinuationRun = Continuation;
        ExecuteReport();
        if (!Continuation) {
          CurrentX = RoundHalfEven(Page.Stored(TRBPage::kLeftMargin));
          Finishing = true;
          if (!Cancelled) FinishPage();
        } else if (Tag == 999) {
          Finishing = true;
          FinishPage();
        }
      } catch (...) {
        cleanUp(true);
        throw;
      }
      cleanUp(false);
    }
  } catch (...) {
    endRun();
    throw;
  }
  endRun();
}

void TCustomBandRep::ExecuteReport() { Controller->Execute(); }

void TCustomBandRep::PrintToPrinter() {
  if (CompositeLink != nullptr) {
    CompositeLink->Print();
    return;
  }
  if (!Idle) return;
  TRBPrinter* remembered = RenderTarget;
  auto fresh = std::make_unique<TRBPrinter>(this);
  if (!fresh->HasPrinters()) return;
  fresh->AfterPrintHandler = [this] {
    if (AfterPrint) AfterPrint(this);
  };
  fresh->AfterPreviewHandler = [this] {
    if (AfterPreview) AfterPreview(this);
  };
  fresh->Routing = TRBPrinter::RoutePrinter;
  TRBProgressForm progress(nullptr);
  progress.Target = fresh.get();
  if (ShowProgress) progress.Show();
  fresh->Receiver = &progress;
  // The progress window goes before the target: the target forgets it first.
  struct Detach {
    TRBPrinter* Target;
    ~Detach() { Target->Receiver = nullptr; }
  } detach{fresh.get()};
  RenderTarget = fresh.get();
  try {
    RunReport(false);
  } catch (...) {
    RenderTarget = remembered;
    throw;
  }
  RenderTarget = remembered;
}

void TCustomBandRep::Preview() {
  if (!Idle) return;
  auto fresh = std::make_unique<TRBPrinter>(this);
  fresh->AfterPrintHandler = [this] {
    if (AfterPrint) AfterPrint(this);
  };
  fresh->AfterPreviewHandler = [this] {
    if (AfterPreview) AfterPreview(this);
  };
  // The target of an earlier preview goes (a window still showing it forgets it).
  if (RenderTarget == ownedTarget_.get()) RenderTarget = nullptr;
  ownedTarget_ = std::move(fresh);
  RenderTarget = ownedTarget_.get();
  if (OnPreview) {
    OnPreview(this);
  } else if (RBPrinter::TRBPreviewInterfaceClass make = RBPrinter::PreviewInterfaceClass()) {
    std::unique_ptr<TRBPreviewInterface> interface = make(nullptr);
    interface->ShowPreview(*RenderTarget);
  }
  RunReport(false);
}

int32_t TCustomBandRep::PageWidth() const { return RoundHalfEven(Page.Stored(TRBPage::kWidth)); }
int32_t TCustomBandRep::PageLength() const { return RoundHalfEven(Page.Stored(TRBPage::kLength)); }

TRBPrinterReceiver* TCustomBandRep::ShowProgressWindow(TRBPrinter& Target) {
  if (!ShowProgress) return nullptr;
  printProgress_ = std::make_unique<TRBProgressForm>(nullptr);
  printProgress_->Target = &Target;
  printProgress_->Show();
  return printProgress_.get();
}

void TCustomBandRep::HideProgressWindow(TRBPrinterReceiver* Window) {
  if (Window == printProgress_.get()) printProgress_.reset();
}

void TCustomBandRep::RecevoirMessage(uint32_t Message, intptr_t Parameter) {
  if (Message == kRBMessagePagesAvailable && Parameter == 1 && RenderTarget != nullptr) {
    PageImage = RenderTarget->GetPage(1);
    Invalidate();
  } else if (Message == kRBMessagePrint) {
    PrintToPrinter();
  } else if (Message == kRBMessageClosePreview) {
    if (!Idle) {
      CancelRun();
    } else if (RenderTarget != nullptr) {
      if (RenderTarget->PreviewShown()) RenderTarget->SetPreviewShown(false);
      if (RenderTarget == ownedTarget_.get()) ownedTarget_.reset();
      RenderTarget = nullptr;
    }
  }
}

RB_DEFINE_COMPONENT_CLASS(TBandRep, nullptr)

TBandRep::TBandRep(TComponent* Owner) : TCustomBandRep(Owner) {
  delete Controller;
  auto* c = new TRBController(this);
  c->OwnerObject = this;
  c->ParentReport = this;
  Controller = c;
}

void TBandRep::BindControllerBands() {
  TRBController* c = ReportController();
  c->Header = Bands.Band(rbTitle);
  c->Detail = Bands.Band(rbDetail);
  c->Footer = Bands.Band(rbSummary);
}

void TBandRep::ExecuteReport() {
  BindControllerBands();
  ReportController()->OnNeedData = OnNeedData;
  Controller->Execute();
}

void TBandRep::Notification(TComponent* Component, bool Insertion) { TCustomBandRep::Notification(Component, Insertion); }

// ---------------------------------------------------------------------------------------------
// Report series

TRBReportSeries::~TRBReportSeries() {
  for (TCustomBandRep* r : linked_) r->CompositeLink = nullptr;
}

void TRBReportSeries::Link(TCustomBandRep* Report) {
  Report->CompositeLink = this;
  if (std::find(linked_.begin(), linked_.end(), Report) == linked_.end()) linked_.push_back(Report);
}

void TRBReportSeries::Unlink(TCustomBandRep* Report) {
  if (Report->CompositeLink == this) Report->CompositeLink = nullptr;
  linked_.erase(std::remove(linked_.begin(), linked_.end(), Report), linked_.end());
}

void TRBReportSeries::Print() {
  Reports.clear();
  if (OnAddReports) OnAddReports(this);
  if (Reports.empty()) return;
  TCustomBandRep& first = *Reports.front();
  PrinterSettings.Orientation = first.Page.Orientation();
  PrinterSettings.PaperSize = static_cast<uint8_t>(first.Page.PaperSize());
  Target = std::make_unique<TRBPrinter>();
  TRBPrinter* previous = RenderTarget;
  RenderTarget = Target.get();
  Reports.clear();
  if (OnAddReports) OnAddReports(this);
  if (Reports.empty()) {
    RenderTarget = previous;
    return;
  }
  TPrinterSettings& s = Target->DeviceSettings();
  s.Orientation = PrinterSettings.Orientation;
  s.PaperSize = static_cast<TRBPaperSize>(PrinterSettings.PaperSize);
  if (s.PaperSize == TRBPaperSize::Custom || s.PaperSize == TRBPaperSize::Default) {
    s.SheetWidth = RoundHalfEven(first.Page.Stored(TRBPage::kWidth));
    s.SheetLength = RoundHalfEven(first.Page.Stored(TRBPage::kLength));
  }
  s.Copies = PrinterSettings.Copies;
  s.OutputBin = PrinterSettings.OutputBin;
  Target->FirstPage = PrinterSettings.FirstPage;
  Target->LastPage = PrinterSettings.LastPage;
  Target->DocumentTitle = first.ReportTitle;
  Target->BeginDocument();
  int32_t y = RoundHalfEven(first.Page.Stored(TRBPage::kLength));
  int32_t page = 0;
  int32_t column = first.Page.Columns();
  bool cancelled = false;
  for (std::size_t i = 0; i < Reports.size(); ++i) {
    TCustomBandRep& r = *Reports[i];
    TRBPrinter* ownTarget = r.RenderTarget;
    const int savedTag = r.Tag;
    r.RenderTarget = Target.get();
    r.CurrentY = y;
    r.PageNumber = page;
    r.CurrentColumn = column;
    if (i + 1 == Reports.size()) r.Tag = 999;
    try {
      r.RunReport(true);
    } catch (...) {
      r.Tag = savedTag;
      r.RenderTarget = ownTarget;
      Target->AbortDocument();
      RenderTarget = previous;
      throw;
    }
    r.Tag = savedTag;
    r.RenderTarget = ownTarget;
    if (r.AfterPrint) r.AfterPrint(&r);
    if (r.Cancelled) {
      cancelled = true;
      break;
    }
    if (AfterReport) AfterReport(&r);
    y = r.CurrentY;
    page = r.PageNumber;
    column = r.CurrentColumn;
  }
  if (cancelled) Target->AbortDocument();
  else Target->EndDocument();
  if (AfterReport) AfterReport(this);
  RenderTarget = previous;
}
