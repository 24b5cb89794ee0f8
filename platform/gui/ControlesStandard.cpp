#include "platform/gui/ControlesStandard.h"

#include <algorithm>

#include "platform/gui/Fiches.h"
#include "platform/gui/Saisie.h"

using namespace FormatTexte;

bool EstAccelerateur(char Caractere, const std::string& Texte) {
  auto haut = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; };
  for (size_t i = 0; i + 1 < Texte.size(); ++i) {
    if (Texte[i] != '&') continue;
    if (Texte[i + 1] == '&') {
      ++i;
      continue;
    }
    return haut(Texte[i + 1]) == haut(Caractere);
  }
  return false;
}

TLabel::TLabel(TComponent* Owner) : TGraphicControl(Owner) {
  SetBounds(0, 0, 65, 17);
  ParentColor = true;
  AdjustBounds();
}

void TLabel::SetAlignment(TAlignment v) {
  alignment_ = v;
  Invalidate();
}

void TLabel::SetWordWrap(bool v) {
  if (wordWrap_ == v) return;
  wordWrap_ = v;
  AdjustBounds();
}

void TLabel::SetAutoSize(bool v) {
  if (autoSize_ == v) return;
  autoSize_ = v;
  AdjustBounds();
}

void TLabel::TextChanged() {
  TGraphicControl::TextChanged();
  AdjustBounds();
}

void TLabel::FontChanged() {
  TGraphicControl::FontChanged();
  AdjustBounds();
}

void TLabel::BoundsChanged() {
  // A wrapped label's height follows its width.
  if (wordWrap_ && !ajuste_) AdjustBounds();
}

uint32_t TLabel::FormatTexte() const {
  uint32_t f = DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0) | (ShowAccelChar ? 0 : DT_NOPREFIX);
  if (alignment_ == TAlignment::taCenter) f |= DT_CENTER;
  if (alignment_ == TAlignment::taRightJustify) f |= DT_RIGHT;
  return f;
}

void TLabel::AdjustBounds() {
  if (!autoSize_ || ajuste_) return;
  ajuste_ = true;
  TCanvasEnregistreur mesure;
  mesure.Font = Font();
  TRect r{0, 0, Width(), 0};
  const std::string texte = Caption().empty() ? " " : Caption();
  mesure.DrawText(texte, r, (FormatTexte() & ~(DT_CENTER | DT_RIGHT)) | DT_CALCRECT);
  int gauche = Left();
  const int largeur = wordWrap_ ? Width() : r.Width();
  if (!wordWrap_ && alignment_ == TAlignment::taRightJustify) gauche += Width() - largeur;
  SetBounds(gauche, Top(), largeur, r.Height());
  ajuste_ = false;
}

void TLabel::Paint(TCanvas& C) {
  const TRect client = ClientRect();
  if (!Transparent) {
    C.Brush.Color = Color();
    C.Brush.Style = TBrushStyle::bsSolid;
    C.FillRect(client);
  }
  C.Brush.Style = TBrushStyle::bsClear;
  C.Font = Font();
  if (!Enabled()) C.Font.Color = Couleurs::clGrayText;
  TRect r = client;
  if (Layout != TTextLayout::tlTop) {
    TRect calc = client;
    C.DrawText(Caption(), calc, FormatTexte() | DT_CALCRECT);
    const int libre = client.Height() - calc.Height();
    r.Top += Layout == TTextLayout::tlCenter ? libre / 2 : libre;
  }
  C.DrawText(Caption(), r, FormatTexte());
}

TPanel::TPanel(TComponent* Owner) : TCustomControl(Owner) { SetBounds(0, 0, 185, 41); }

void TPanel::SetBevelInner(TBevelCut v) {
  bevelInner_ = v;
  Realign();
  Invalidate();
}
void TPanel::SetBevelOuter(TBevelCut v) {
  bevelOuter_ = v;
  Realign();
  Invalidate();
}
void TPanel::SetBevelWidth(int v) {
  bevelWidth_ = std::max(v, 1);
  Realign();
  Invalidate();
}
void TPanel::SetBorderWidth(int v) {
  borderWidth_ = std::max(v, 0);
  Realign();
  Invalidate();
}

void TPanel::AdjustClientRect(TRect& R) const {
  int bord = borderWidth_;
  if (bevelOuter_ != TBevelCut::bvNone) bord += bevelWidth_;
  if (bevelInner_ != TBevelCut::bvNone) bord += bevelWidth_;
  if (BorderStyle == TBorderStyle::bsSingle) bord += 1;
  R = R.Reduit(bord, bord);
}

namespace {
void Biseau(TCanvas& C, TRect& R, TBevelCut Coupe, int Largeur) {
  if (Coupe == TBevelCut::bvNone) return;
  TColor haut = Couleurs::clBtnHighlight, bas = Couleurs::clBtnShadow;
  if (Coupe == TBevelCut::bvLowered) std::swap(haut, bas);
  if (Coupe == TBevelCut::bvSpace) haut = bas = Couleurs::clBtnFace;
  Cadre3D(C, R, haut, bas, Largeur);
}
}  // namespace

void TPanel::PeindreCadre(TCanvas& C, TRect& R) {
  if (BorderStyle == TBorderStyle::bsSingle) Cadre3D(C, R, Couleurs::clBlack, Couleurs::clBlack, 1);
  Biseau(C, R, bevelOuter_, bevelWidth_);
  Cadre3D(C, R, Color(), Color(), borderWidth_);
  Biseau(C, R, bevelInner_, bevelWidth_);
  C.Brush.Color = Color();
  C.Brush.Style = TBrushStyle::bsSolid;
  C.FillRect(R);
}

void TPanel::PeindreLegende(TCanvas& C, const TRect& R) {
  if (Caption().empty()) return;
  C.Font = Font();
  C.Brush.Style = TBrushStyle::bsClear;
  TRect r = R;
  uint32_t f = DT_EXPANDTABS | DT_VCENTER | DT_SINGLELINE;
  if (Alignment == TAlignment::taCenter) f |= DT_CENTER;
  if (Alignment == TAlignment::taRightJustify) f |= DT_RIGHT;
  C.DrawText(Caption(), r, f);
}

void TPanel::Paint(TCanvas& C) {
  TRect r = ClientRect();
  PeindreCadre(C, r);
  PeindreLegende(C, r);
}

TImage::TImage(TComponent* Owner) : TGraphicControl(Owner) { SetBounds(0, 0, 105, 105); }

TRect TImage::DestRect() const {
  int w = Picture.Width, h = Picture.Height;
  const int cw = ClientWidth(), ch = ClientHeight();
  if (Stretch || (Proportional && (w > cw || h > ch))) {
    if (Proportional && w > 0 && h > 0) {
      const double ratio = static_cast<double>(w) / h;
      if (w > h) {
        w = cw;
        h = static_cast<int>(cw / ratio);
        if (h > ch) {
          h = ch;
          w = static_cast<int>(ch * ratio);
        }
      } else {
        h = ch;
        w = static_cast<int>(ch * ratio);
        if (w > cw) {
          w = cw;
          h = static_cast<int>(cw / ratio);
        }
      }
    } else {
      w = cw;
      h = ch;
    }
  }
  TRect r{0, 0, w, h};
  if (Center) r = r.Decale((cw - w) / 2, (ch - h) / 2);
  return r;
}

void TImage::Paint(TCanvas& C) {
  if (Picture.Vide()) return;
  TBitmap image = Picture;
  if (Transparent) image.Transparent = true;
  C.StretchDraw(DestRect(), image);
}

TProgressBar::TProgressBar(TComponent* Owner) : TWinControl(Owner) { SetBounds(0, 0, 150, 16); }

void TProgressBar::SetMin(int v) {
  min_ = v;
  if (max_ < min_) max_ = min_;
  SetPosition(position_);
}
void TProgressBar::SetMax(int v) {
  max_ = std::max(v, min_);
  SetPosition(position_);
}
void TProgressBar::SetPosition(int v) {
  position_ = std::clamp(v, min_, max_);
  Invalidate();
}

void TProgressBar::Paint(TCanvas& C) {
  TRect r = ClientRect();
  Cadre3D(C, r, Couleurs::clBtnShadow, Couleurs::clBtnHighlight, 1);
  C.Brush.Color = Couleurs::clBtnFace;
  C.Brush.Style = TBrushStyle::bsSolid;
  C.FillRect(r);
  const int etendue = max_ - min_;
  if (etendue <= 0) return;
  const int plein = static_cast<int>(static_cast<int64_t>(r.Width()) * (position_ - min_) / etendue);
  C.Brush.Color = Couleurs::clHighlight;
  C.FillRect({r.Left, r.Top, r.Left + plein, r.Bottom});
}

TMemo::TMemo(TComponent* Owner) : TWinControl(Owner) {
  SetBounds(0, 0, 185, 89);
  SetColor(Couleurs::clWindow);
}

void TMemo::Paint(TCanvas& C) {
  TRect r = ClientRect();
  Cadre3D(C, r, Couleurs::clBtnShadow, Couleurs::clBtnHighlight, 1);
  C.Brush.Color = Color();
  C.Brush.Style = TBrushStyle::bsSolid;
  C.FillRect(r);
  if (ScrollBars == TScrollStyle::ssVertical || ScrollBars == TScrollStyle::ssBoth)
    r.Right -= TScreen::kLargeurBarreDefilement;
  C.Font = Font();
  C.Brush.Style = TBrushStyle::bsClear;
  TRect texte = r.Reduit(2, 1);
  C.DrawText(Text(), texte, DT_NOPREFIX | DT_WORDBREAK);
}

TScrollBar::TScrollBar(TComponent* Owner) : TWinControl(Owner) { SetBounds(0, 0, 121, TScreen::kLargeurBarreDefilement); }

void TScrollBar::SetKind(TScrollBarKind v) {
  if (kind_ == v) return;
  kind_ = v;
  SetBounds(Left(), Top(), Height(), Width());
}

void TScrollBar::SetParams(int Position, int Min, int Max) {
  if (Max < Min) throw EInvalidOperation("Scroll bar property out of range");
  min_ = Min;
  max_ = Max;
  const int haut = pageSize_ > 0 ? std::max(min_, max_ - pageSize_ + 1) : max_;
  const int p = std::clamp(Position, min_, haut);
  Invalidate();
  if (p == position_) return;
  position_ = p;
  if (OnChange) OnChange(this);
}

void TScrollBar::SetPageSize(int v) {
  pageSize_ = std::max(v, 0);
  SetParams(position_, min_, max_);
}

void TScrollBar::Paint(TCanvas& C) {
  const TRect r = ClientRect();
  C.Brush.Color = Couleurs::cl3DLight;
  C.Brush.Style = TBrushStyle::bsSolid;
  C.FillRect(r);
  // The thumb, in proportion of the position.
  const bool vertical = kind_ == TScrollBarKind::sbVertical;
  const int fleche = vertical ? r.Width() : r.Height();
  const int course = (vertical ? r.Height() : r.Width()) - 3 * fleche;
  const int etendue = max_ - min_;
  const int decalage = fleche + (etendue > 0 && course > 0 ? static_cast<int>(static_cast<int64_t>(course) * (position_ - min_) / etendue) : 0);
  TRect pouce = vertical ? Bornes(0, decalage, r.Width(), fleche) : Bornes(decalage, 0, fleche, r.Height());
  C.Brush.Color = Couleurs::clBtnFace;
  C.FillRect(pouce);
  Cadre3D(C, pouce, Couleurs::clBtnHighlight, Couleurs::clBtnShadow, 1);
}

TBitBtn::TBitBtn(TComponent* Owner) : TWinControl(Owner) {
  SetBounds(0, 0, 75, 25);
  TabStop = true;
}

void TBitBtn::Click() {
  if (TForm* f = FormeParente()) f->SetModalResult(ModalResult);
  TWinControl::Click();
}

void TBitBtn::MouseUp(TMouseButton Bouton, uint8_t Shift, int X, int Y) {
  TWinControl::MouseUp(Bouton, Shift, X, Y);
  if (Bouton == TMouseButton::mbLeft && ClientRect().Contient({X, Y})) Click();
}

bool TBitBtn::DialogKey(int Touche, uint8_t Shift) {
  if (Shift & (ssShift | ssAlt | ssCtrl)) return false;
  if (!((Touche == VK_RETURN && Default) || (Touche == VK_ESCAPE && Cancel)) || !Saisie::Accessible(*this)) return false;
  Click();
  return true;
}

bool TBitBtn::DialogChar(char Caractere) {
  if (!EstAccelerateur(Caractere, Caption()) || !Saisie::Accessible(*this)) return false;
  Click();
  return true;
}

void TBitBtn::Paint(TCanvas& C) {
  TRect r = ClientRect();
  Cadre3D(C, r, Couleurs::clBtnHighlight, Couleurs::cl3DDkShadow, 1);
  Cadre3D(C, r, Couleurs::cl3DLight, Couleurs::clBtnShadow, 1);
  C.Brush.Color = Couleurs::clBtnFace;
  C.Brush.Style = TBrushStyle::bsSolid;
  C.FillRect(r);
  int x = r.Left + 4;
  if (!Glyph.Vide()) {
    C.Draw(x, r.Top + (r.Height() - Glyph.Height) / 2, Glyph);
    x += Glyph.Width + 4;
  }
  C.Font = Font();
  if (!Enabled()) C.Font.Color = Couleurs::clGrayText;
  C.Brush.Style = TBrushStyle::bsClear;
  TRect t{x, r.Top, r.Right - 4, r.Bottom};
  C.DrawText(Caption(), t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}
