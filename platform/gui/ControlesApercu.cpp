#include "platform/gui/ControlesApercu.h"

#include <algorithm>

#include "platform/gui/Saisie.h"

namespace {

void PeindreFond(TCanvas& C, const TRect& R, TColor Couleur) {
  C.Brush.Color = Couleur;
  C.Brush.Style = TBrushStyle::bsSolid;
  C.FillRect(R);
}

void PeindreTexte(TCanvas& C, int X, int Y, const std::string& Texte, const TFont& Police, bool Actif) {
  C.Font = Police;
  if (!Actif) C.Font.Color = Couleurs::clGrayText;
  C.Brush.Style = TBrushStyle::bsClear;
  C.TextOut(X, Y, Texte);
}

}  // namespace

TToolBar::TToolBar(TComponent* Owner) : TWinControl(Owner) { SetBounds(0, 0, 150, 29); }

void TToolBar::Paint(TCanvas& C) { PeindreFond(C, ClientRect(), Color()); }

TToolButton::TToolButton(TComponent* Owner) : TGraphicControl(Owner) { SetBounds(0, 0, 23, 22); }

void TToolButton::MouseUp(TMouseButton Bouton, uint8_t Shift, int X, int Y) {
  TGraphicControl::MouseUp(Bouton, Shift, X, Y);
  if (Bouton == TMouseButton::mbLeft && ClientRect().Contient({X, Y})) Click();
}

void TToolButton::Click() {
  if (Style == TToolButtonStyle::tbsDivider || Style == TToolButtonStyle::tbsSeparator) return;
  if (Style == TToolButtonStyle::tbsCheck) Down = !Down;
  TGraphicControl::Click();
}

void TToolButton::Paint(TCanvas& C) {
  TRect r = ClientRect();
  PeindreFond(C, r, Couleurs::clBtnFace);
  if (Style == TToolButtonStyle::tbsDivider) {
    C.Pen.Color = Couleurs::clBtnShadow;
    C.MoveTo(r.Width() / 2, 0);
    C.LineTo(r.Width() / 2, r.Height());
    return;
  }
  if (Down) Cadre3D(C, r, Couleurs::clBtnShadow, Couleurs::clBtnHighlight, 1);
  if (!Caption().empty()) {
    const int l = MetriquesTexte::Largeur(Font(), Caption());
    PeindreTexte(C, (Width() - l) / 2, (Height() - MetriquesTexte::Hauteur(Font())) / 2, Caption(), Font(), Enabled());
  }
}

TStatusBar::TStatusBar(TComponent* Owner) : TWinControl(Owner) {
  SetBounds(0, 0, 150, 19);
  SetAlign(TAlign::alBottom);
}

void TStatusBar::Paint(TCanvas& C) {
  PeindreFond(C, ClientRect(), Color());
  int x = 0;
  for (size_t i = 0; i < Panels.size(); ++i) {
    // The last panel takes what is left.
    const int largeur = i + 1 == Panels.size() ? std::max(0, Width() - x) : Panels[i].Width;
    TRect r{x, 2, x + largeur - 2, Height()};
    Cadre3D(C, r, Couleurs::clBtnShadow, Couleurs::clBtnHighlight, 1);
    PeindreTexte(C, r.Left + 2, r.Top + 1, Panels[i].Text, Font(), true);
    x += largeur;
  }
}

TTabSheet::TTabSheet(TComponent* Owner) : TWinControl(Owner) {}

TTabSheet::~TTabSheet() {
  if (pageControl_ == nullptr) return;
  auto& v = pageControl_->pages_;
  v.erase(std::remove(v.begin(), v.end(), this), v.end());
  if (pageControl_->activePage_ == this) pageControl_->activePage_ = nullptr;
}

void TTabSheet::SetPageControl(TPageControl* P) {
  if (P == pageControl_) return;
  if (pageControl_ != nullptr) {
    auto& v = pageControl_->pages_;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
    if (pageControl_->activePage_ == this) pageControl_->activePage_ = v.empty() ? nullptr : v.front();
  }
  pageControl_ = P;
  SetParent(P);
  if (P != nullptr) {
    P->pages_.push_back(this);
    SetAlign(TAlign::alClient);
    if (P->activePage_ == nullptr) P->SetActivePage(this);
    else SetVisible(false);
  }
}

void TTabSheet::Paint(TCanvas& C) { PeindreFond(C, ClientRect(), Color()); }

TPageControl::TPageControl(TComponent* Owner) : TWinControl(Owner) { SetBounds(0, 0, 289, 193); }

TPageControl::~TPageControl() {
  for (TTabSheet* p : pages_) p->pageControl_ = nullptr;
}

void TPageControl::SetActivePage(TTabSheet* Page) {
  if (Page != nullptr && Page->PageControl() != this) return;
  activePage_ = Page;
  for (TTabSheet* p : pages_) p->SetVisible(p == Page);
  Invalidate();
}

void TPageControl::AdjustClientRect(TRect& R) const {
  // The tabs take a row at the top, a frame the edges.
  R = {R.Left + 4, R.Top + 24, R.Right - 4, R.Bottom - 4};
}

void TPageControl::Paint(TCanvas& C) {
  PeindreFond(C, ClientRect(), Color());
  int x = 2;
  for (TTabSheet* p : pages_) {
    const int l = MetriquesTexte::Largeur(Font(), p->Caption()) + 12;
    TRect r{x, 2, x + l, 22};
    Cadre3D(C, r, Couleurs::clBtnHighlight, Couleurs::clBtnShadow, 1);
    PeindreTexte(C, x + 6, 4, p->Caption(), Font(), Enabled());
    x += l;
  }
}

TDrawGrid::TDrawGrid(TComponent* Owner) : TWinControl(Owner) {
  SetBounds(0, 0, 320, 120);
  SetColor(Couleurs::clWindow);
  TabStop = true;
}

void TDrawGrid::SetRowCount(int Valeur) {
  rowCount_ = std::max(0, Valeur);
  if (row_ >= rowCount_) row_ = std::max(0, rowCount_ - 1);
  Invalidate();
}

void TDrawGrid::SetRow(int Valeur) {
  if (Valeur < 0 || Valeur >= rowCount_ || Valeur == row_) return;
  bool accepte = true;
  if (OnSelectCell) OnSelectCell(this, 0, Valeur, accepte);
  if (accepte) SetRowQuiet(Valeur);
}

void TDrawGrid::SetRowQuiet(int Valeur) {
  if (Valeur < 0 || Valeur >= rowCount_) return;
  row_ = Valeur;
  Invalidate();
}

TRect TDrawGrid::CellRect(int Col, int Row) const {
  const int l = Col * (DefaultColWidth + 1);
  const int t = Row * (DefaultRowHeight + 1);
  return {l, t, l + DefaultColWidth, t + DefaultRowHeight};
}

void TDrawGrid::MouseDown(TMouseButton Bouton, uint8_t Shift, int X, int Y) {
  TWinControl::MouseDown(Bouton, Shift, X, Y);
  if (Bouton != TMouseButton::mbLeft || Y < 0) return;
  SetRow(Y / (DefaultRowHeight + 1));
}

void TDrawGrid::Paint(TCanvas& C) {
  PeindreFond(C, ClientRect(), Color());
  for (int r = 0; r < rowCount_; ++r)
    for (int c = 0; c < ColCount; ++c) {
      const TRect cellule = CellRect(c, r);
      if (cellule.Top >= Height()) return;
      if (OnDrawCell) OnDrawCell(this, c, r, cellule, C);
    }
}
