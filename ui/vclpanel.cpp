#include "ui/vclpanel.h"

#include <algorithm>

TVokCustomPanel::TVokCustomPanel(TComponent* Owner) : TCustomControl(Owner) {
  SetBounds(0, 0, 185, 41);
  RecalculerBord();
}

void TVokCustomPanel::RecalculerBord() {
  largeurBord_ = borderWidth_;
  if (bevelOuter_ != TBevelCut::bvNone) largeurBord_ += bevelWidth_;
  if (bevelInner_ != TBevelCut::bvNone) largeurBord_ += bevelWidth_;
  if (borderStyle_ == TBorderStyle::bsSingle) largeurBord_ += 1;
  Realign();
  Invalidate();
}

void TVokCustomPanel::SetBevelInner(TBevelCut v) { bevelInner_ = v, RecalculerBord(); }
void TVokCustomPanel::SetBevelOuter(TBevelCut v) { bevelOuter_ = v, RecalculerBord(); }
void TVokCustomPanel::SetBevelWidth(int v) { bevelWidth_ = std::max(v, 0), RecalculerBord(); }
void TVokCustomPanel::SetBorderWidth(int v) { borderWidth_ = std::max(v, 0), RecalculerBord(); }
void TVokCustomPanel::SetBorderStyle(TBorderStyle v) { borderStyle_ = v, RecalculerBord(); }

void TVokCustomPanel::SetBounds(int Left, int Top, int Width, int Height) {
  const bool taille = Width != this->Width() || Height != this->Height();
  if (taille && OnPreResize) OnPreResize(this);
  TCustomControl::SetBounds(Left, Top, Width, Height);
  if (taille && OnPostResize) OnPostResize(this);
}

void TVokCustomPanel::RepeindreEnfants() {
  for (int i = 0; i < ControlCount(); ++i) Controls(i)->Repaint();
}

void TVokCustomPanel::EnabledChanged() {
  Repaint();
  for (int i = 0; i < ControlCount(); ++i) Controls(i)->SetEnabled(Enabled());
}

TColor TVokCustomPanel::CouleurFond() const {
  return !Enabled() && DisabledColor != Couleurs::clNone ? DisabledColor : Color();
}

void TVokCustomPanel::PeindreLegende(TCanvas& C, const TRect& R) {
  if (Caption().empty()) return;
  C.Font = Font();
  if (C.TextHeight("W") > ClientHeight()) return;
  C.Brush.Style = TBrushStyle::bsClear;
  using namespace FormatTexte;
  uint32_t f = DT_EXPANDTABS | DT_VCENTER | DT_SINGLELINE | (AmpersandsLitteraux ? DT_NOPREFIX : 0);
  if (alignment_ == TAlignment::taCenter) f |= DT_CENTER;
  if (alignment_ == TAlignment::taRightJustify) f |= DT_RIGHT;
  TRect r = R;
  C.DrawText(Caption(), r, f);
}

namespace {

void Biseau(TCanvas& C, TRect& R, TBevelCut Coupe, TColor Clair, TColor Sombre, int Largeur) {
  if (Coupe == TBevelCut::bvNone) return;
  if (Coupe == TBevelCut::bvLowered) std::swap(Clair, Sombre);
  Cadre3D(C, R, Clair, Sombre, Largeur);
}

}  // namespace

void TVokPanel::AdjustClientRect(TRect& R) const { R = R.Reduit(largeurBord_, largeurBord_); }

void TVokPanel::Paint(TCanvas& C) {
  TRect r = ClientRect();
  if (borderStyle_ == TBorderStyle::bsSingle) Cadre3D(C, r, Couleurs::clBlack, Couleurs::clBlack, 1);
  Biseau(C, r, bevelOuter_, outerLight_, outerShadow_, bevelWidth_);
  Cadre3D(C, r, Color(), Color(), borderWidth_);
  Biseau(C, r, bevelInner_, innerLight_, innerShadow_, bevelWidth_);
  C.Brush.Color = CouleurFond();
  C.Brush.Style = TBrushStyle::bsSolid;
  C.FillRect(r);
  PeindreLegende(C, r);
}

TVokPanelOmbre::TVokPanelOmbre(TComponent* Owner) : TVokCustomPanel(Owner) {
  borderWidth_ = 2;
  bevelWidth_ = 2;
  innerLight_ = Couleurs::clBtnHighlight;
  outerLight_ = Couleurs::clBtnShadow;
  outerShadow_ = Couleurs::clBtnShadow;
  RecalculerBord();
}

void TVokPanelOmbre::AdjustClientRect(TRect& R) const {
  const int d = borderWidth_ + bevelWidth_;
  R = R.Reduit(d, d);
}

void TVokPanelOmbre::Paint(TCanvas& C) {
  TRect r = ClientRect();
  C.Brush.Color = Parent() ? Parent()->Color() : Couleurs::clBtnFace;
  C.Brush.Style = TBrushStyle::bsSolid;
  C.FillRect(r);
  const int largeur = bevelWidth_;
  r.Left += largeur;
  r.Top += largeur;
  const int rc = Couleurs::Rouge(outerLight_), vc = Couleurs::Vert(outerLight_), bc = Couleurs::Bleu(outerLight_);
  const int rs = Couleurs::Rouge(outerShadow_), vs = Couleurs::Vert(outerShadow_), bs = Couleurs::Bleu(outerShadow_);
  C.Pen.Width = 1;
  C.Pen.Style = TPenStyle::psSolid;
  for (int a = 0; a < largeur; ++a) {
    // Integer division truncating toward zero, from the light colour outside to the dark inside.
    auto part = [&](int clair, int sombre) { return largeur < 2 ? clair : clair + a * (sombre - clair) / (largeur - 1); };
    C.Pen.Color = Couleurs::RGB(part(rc, rs), part(vc, vs), part(bc, bs));
    C.MoveTo(r.Right - 1, largeur + a);
    C.LineTo(r.Right - 1, r.Bottom - 1);
    C.LineTo(largeur + a - 1, r.Bottom - 1);
    --r.Right;
    --r.Bottom;
  }
  Cadre3D(C, r, innerLight_, innerLight_, borderWidth_);
  C.Brush.Color = CouleurFond();
  C.Brush.Style = TBrushStyle::bsSolid;
  C.FillRect(r);
  PeindreLegende(C, r);
}
