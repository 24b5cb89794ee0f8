// The toolkit's panels: TVokCustomPanel, with a colour for each side of each bevel, a colour for
// the disabled state, resize events around the platform's handling and enabling that reaches the
// children; TVokPanel, which publishes it; and TVokPanelOmbre, which casts a shadow graded from a
// light to a dark colour on its parent. The message dialogs are built on them. Main thread only.
#pragma once

#include "platform/gui/ControlesStandard.h"

class TVokCustomPanel : public TCustomControl {
 public:
  explicit TVokCustomPanel(TComponent* Owner);

  TColor DisabledColor = Couleurs::clBtnFace;
  TColor BevelInnerLightColor() const { return innerLight_; }
  TColor BevelInnerShadowColor() const { return innerShadow_; }
  TColor BevelOuterLightColor() const { return outerLight_; }
  TColor BevelOuterShadowColor() const { return outerShadow_; }
  void SetBevelInnerLightColor(TColor c) { innerLight_ = c, Invalidate(); }
  void SetBevelInnerShadowColor(TColor c) { innerShadow_ = c, Invalidate(); }
  void SetBevelOuterLightColor(TColor c) { outerLight_ = c, Invalidate(); }
  void SetBevelOuterShadowColor(TColor c) { outerShadow_ = c, Invalidate(); }

  TBevelCut BevelInner() const { return bevelInner_; }
  TBevelCut BevelOuter() const { return bevelOuter_; }
  int BevelWidth() const { return bevelWidth_; }
  int BorderWidth() const { return borderWidth_; }
  TBorderStyle BorderStyle() const { return borderStyle_; }
  // Each recomputes the edge width, realigns the children and repaints.
  void SetBevelInner(TBevelCut v);
  void SetBevelOuter(TBevelCut v);
  void SetBevelWidth(int v);
  void SetBorderWidth(int v);
  void SetBorderStyle(TBorderStyle v);
  // Border width, plus the bevel width for each bevel present, plus 1 with a single border.
  int LargeurBord() const { return largeurBord_; }

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v) { alignment_ = v, Invalidate(); }
  bool Locked = false;
  // Ampersands are shown as they are instead of marking an accelerator.
  bool AmpersandsLitteraux = false;

  TNotifyEvent OnPreResize;
  TNotifyEvent OnPostResize;

  // Resizing raises OnPreResize before the platform's handling and OnPostResize after it.
  void SetBounds(int Left, int Top, int Width, int Height) override;
  // Repaints every child control.
  void RepeindreEnfants();

 protected:
  // Enabling or disabling repaints the panel and gives every child the panel's state.
  void EnabledChanged() override;
  void TextChanged() override { Repaint(); }
  // The colour the panel is filled with: DisabledColor when disabled (unless it is clNone).
  TColor CouleurFond() const;
  // The caption on one line, centred vertically in R, when a "W" of the font fits in the client
  // height.
  void PeindreLegende(TCanvas& C, const TRect& R);
  void RecalculerBord();

  TColor innerLight_ = Couleurs::clBtnHighlight, innerShadow_ = Couleurs::clBtnShadow;
  TColor outerLight_ = Couleurs::clBtnHighlight, outerShadow_ = Couleurs::clBtnShadow;
  TBevelCut bevelInner_ = TBevelCut::bvNone;
  TBevelCut bevelOuter_ = TBevelCut::bvRaised;
  int bevelWidth_ = 1;
  int borderWidth_ = 0;
  TBorderStyle borderStyle_ = TBorderStyle::bsNone;
  int largeurBord_ = 1;
  TAlignment alignment_ = TAlignment::taCenter;
};

// Outer bevel, a border ring in the panel's colour, inner bevel, fill, caption. Children are
// aligned inside the border and the bevels.
class TVokPanel : public TVokCustomPanel {
 public:
  explicit TVokPanel(TComponent* Owner) : TVokCustomPanel(Owner) {}
  void AdjustClientRect(TRect& R) const override;
  void Paint(TCanvas& C) override;
};

// A panel over a graded shadow: the parent shows through the top-left ShadowWidth pixels, the
// shadow runs along the right and bottom from LightShadowColor outside to DarkShadowColor next to
// the panel, then a ring of BorderColor, the fill and the caption.
class TVokPanelOmbre : public TVokCustomPanel {
 public:
  explicit TVokPanelOmbre(TComponent* Owner);
  TColor BorderColor() const { return innerLight_; }
  TColor LightShadowColor() const { return outerLight_; }
  TColor DarkShadowColor() const { return outerShadow_; }
  int ShadowWidth() const { return bevelWidth_; }
  void SetBorderColor(TColor c) { SetBevelInnerLightColor(c); }
  void SetLightShadowColor(TColor c) { SetBevelOuterLightColor(c); }
  void SetDarkShadowColor(TColor c) { SetBevelOuterShadowColor(c); }
  void SetShadowWidth(int v) { SetBevelWidth(v); }
  void AdjustClientRect(TRect& R) const override;
  void Paint(TCanvas& C) override;
};
