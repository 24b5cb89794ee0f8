#include "ui/VCLBtns.h"

#include <algorithm>

#include "platform/gui/Fiches.h"
#include "platform/gui/Saisie.h"

namespace {

struct ListeGlyphes {
  std::vector<TBitmap> images;
  std::vector<bool> occupe;
  int nombre = 0;
};

using Cache = std::map<std::pair<int, int>, ListeGlyphes>;
std::unique_ptr<Cache>& LeCache() {
  static std::unique_ptr<Cache> cache;
  return cache;
}

}  // namespace

int TGlyphCache::Ajouter(const TBitmap& Image) {
  auto& c = LeCache();
  if (!c) c = std::make_unique<Cache>();
  ListeGlyphes& l = (*c)[{Image.Width, Image.Height}];
  ++l.nombre;
  for (size_t i = 0; i < l.occupe.size(); ++i) {
    if (!l.occupe[i]) {
      l.occupe[i] = true;
      l.images[i] = Image;
      return static_cast<int>(i);
    }
  }
  l.images.push_back(Image);
  l.occupe.push_back(true);
  return static_cast<int>(l.images.size() - 1);
}

void TGlyphCache::Liberer(int Largeur, int Hauteur, int Emplacement) {
  auto& c = LeCache();
  if (!c) return;
  auto it = c->find({Largeur, Hauteur});
  if (it == c->end() || Emplacement < 0 || static_cast<size_t>(Emplacement) >= it->second.occupe.size()) return;
  if (!it->second.occupe[static_cast<size_t>(Emplacement)]) return;
  it->second.occupe[static_cast<size_t>(Emplacement)] = false;
  it->second.images[static_cast<size_t>(Emplacement)].Liberer();
  if (--it->second.nombre == 0) c->erase(it);
  if (c->empty()) c.reset();
}

const TBitmap& TGlyphCache::Image(int Largeur, int Hauteur, int Emplacement) {
  return LeCache()->at({Largeur, Hauteur}).images.at(static_cast<size_t>(Emplacement));
}

int TGlyphCache::NombreListes() { return LeCache() ? static_cast<int>(LeCache()->size()) : 0; }
bool TGlyphCache::Existe() { return LeCache() != nullptr; }

void TButtonGlyph::SetSource(const TBitmap& Image) {
  Liberer();
  source_ = Image;
}

void TButtonGlyph::SetNumGlyphs(int n) {
  n = std::clamp(n, 1, 4);
  if (n == numGlyphs_) return;
  Liberer();
  numGlyphs_ = n;
}

void TButtonGlyph::SetTransparentColor(TColor c) {
  if (c == transparent_) return;
  Liberer();
  transparent_ = c;
}

void TButtonGlyph::Liberer() {
  for (int& e : emplacements_) {
    if (e >= 0) TGlyphCache::Liberer(Largeur(), Hauteur(), e);
    e = -1;
  }
}

const TBitmap& TButtonGlyph::ImageEtat(TButtonState Etat) {
  if (source_.Vide() || Largeur() == 0) return vide_;
  const auto index = static_cast<size_t>(Etat);
  if (emplacements_[index] < 0) {
    const int w = Largeur(), h = Hauteur();
    const int n = static_cast<int>(index);
    TBitmap image;
    image.Redimensionner(w, h);
    image.Transparent = true;
    image.TransparentColor = transparent_;
    const int depuis = n < numGlyphs_ ? n : 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) image.DefinirPixel(x, y, source_.Pixel(depuis * w + x, y));
    if (Etat == TButtonState::bsDisabled && numGlyphs_ < 2) {
      // Embossed: the shape in the highlight colour one pixel down and right, then in the shadow.
      TBitmap relief;
      relief.Redimensionner(w, h, transparent_);
      relief.Transparent = true;
      relief.TransparentColor = transparent_;
      const TColor t = Couleurs::CouleurRGB(transparent_);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
          if (image.Pixel(x, y) != t && x + 1 < w && y + 1 < h) relief.DefinirPixel(x + 1, y + 1, Couleurs::CouleurRGB(Couleurs::clBtnHighlight));
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
          if (image.Pixel(x, y) != t) relief.DefinirPixel(x, y, Couleurs::CouleurRGB(Couleurs::clBtnShadow));
      image = relief;
    }
    emplacements_[index] = TGlyphCache::Ajouter(image);
  }
  return TGlyphCache::Image(Largeur(), Hauteur(), emplacements_[index]);
}

TVokSpeedButton::TVokSpeedButton(TComponent* Owner) : TGraphicControl(Owner) { SetBounds(0, 0, 23, 22); }

void TVokSpeedButton::SetAllowAllUp(bool v) {
  if (allowAllUp_ == v) return;
  allowAllUp_ = v;
  if (groupIndex_ != 0 && Parent()) Parent()->Broadcast(kMessageBoutonEnfonce, reinterpret_cast<intptr_t>(this));
}

void TVokSpeedButton::SetGroupIndex(int v) {
  if (groupIndex_ == v) return;
  groupIndex_ = v;
  if (down_ && groupIndex_ != 0 && Parent()) Parent()->Broadcast(kMessageBoutonEnfonce, reinterpret_cast<intptr_t>(this));
}

void TVokSpeedButton::SetDown(bool v) {
  if (groupIndex_ == 0) v = false;
  if (v == down_) return;
  if (down_ && !allowAllUp_) return;
  down_ = v;
  if (v) {
    state_ = TButtonState::bsExclusive;
    Invalidate();
    if (Parent()) Parent()->Broadcast(kMessageBoutonEnfonce, reinterpret_cast<intptr_t>(this));
  } else {
    state_ = TButtonState::bsUp;
    Repaint();
  }
}

void TVokSpeedButton::Diffusion(int Message, intptr_t Parametre) {
  if (Message != kMessageBoutonEnfonce) return;
  auto* autre = reinterpret_cast<TVokSpeedButton*>(Parametre);
  if (autre == this || autre->groupIndex_ != groupIndex_ || groupIndex_ == 0) return;
  if (autre->down_ && down_) {
    down_ = false;
    state_ = TButtonState::bsUp;
    Invalidate();
  }
  allowAllUp_ = autre->allowAllUp_;
}

void TVokSpeedButton::SetDefault(bool v) {
  // The form looks its default button up when Enter is pressed, so nothing else is kept.
  default_ = v;
  Invalidate();
}

void TVokSpeedButton::SetColorBtn(int Index, TColor c) {
  TColor& cible = colors_.at(static_cast<size_t>(Index));
  if (cible == c) return;
  cible = c;
  Invalidate();
}

void TVokSpeedButton::SetGlyph(const TBitmap& Image) {
  glyph_.SetSource(Image);
  Invalidate();
}

void TVokSpeedButton::SetNumGlyphs(int n) {
  glyph_.SetNumGlyphs(n);
  Invalidate();
}

void TVokSpeedButton::Click() {
  if (TForm* f = FormeParente()) f->SetModalResult(ModalResult);
  TGraphicControl::Click();
}

void TVokSpeedButton::MouseDown(TMouseButton Bouton, uint8_t Shift, int X, int Y) {
  TGraphicControl::MouseDown(Bouton, Shift, X, Y);
  if (Bouton != TMouseButton::mbLeft || !Enabled()) return;
  if (!down_) {
    state_ = TButtonState::bsDown;
    Invalidate();
  }
  dragging_ = true;
}

void TVokSpeedButton::MouseMove(uint8_t Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!dragging_) return;
  TButtonState nouveau = down_ ? TButtonState::bsExclusive : TButtonState::bsUp;
  if (Dedans(X, Y)) nouveau = down_ ? TButtonState::bsExclusive : TButtonState::bsDown;
  if (nouveau != state_) {
    state_ = nouveau;
    Invalidate();
  }
}

void TVokSpeedButton::MouseUp(TMouseButton Bouton, uint8_t Shift, int X, int Y) {
  TGraphicControl::MouseUp(Bouton, Shift, X, Y);
  if (!dragging_) return;
  dragging_ = false;
  const bool clic = Dedans(X, Y);
  if (groupIndex_ == 0) {
    state_ = TButtonState::bsUp;
    mouseInControl_ = false;
    Invalidate();
  } else if (clic) {
    SetDown(!down_);
    if (down_) Repaint();
  } else {
    if (down_) state_ = TButtonState::bsExclusive;
    Repaint();
  }
  if (clic) Click();
}

void TVokSpeedButton::MouseEnter() {
  if (!Enabled() || mouseInControl_) return;
  mouseInControl_ = true;
  if (Flat) Repaint();
}

void TVokSpeedButton::MouseLeave() {
  if (!mouseInControl_ || dragging_) return;
  mouseInControl_ = false;
  if (Flat) Repaint();
}

void TVokSpeedButton::DblClick() {
  if (down_) TGraphicControl::DblClick();
}

bool TVokSpeedButton::DialogKey(int Touche, uint8_t Shift) {
  if (Shift & (ssShift | ssAlt | ssCtrl)) return false;
  if (!((Touche == VK_RETURN && default_) || (Touche == VK_ESCAPE && Cancel))) return false;
  if (!Saisie::Accessible(*this)) return false;
  Click();
  return true;
}

bool TVokSpeedButton::DialogChar(char Caractere) {
  if (!EstAccelerateur(Caractere, Caption()) || !Saisie::Accessible(*this)) return false;
  Click();
  return true;
}

void TVokSpeedButton::Disposer(const TRect& R, TRect& Glyphe, TRect& Texte) const {
  const int gw = glyph_.Largeur(), gh = glyph_.Hauteur();
  const int cw = R.Width(), ch = R.Height();
  TCanvasEnregistreur mesure;
  mesure.Font = Font();
  TRect t{0, 0, cw, 0};
  if (!Caption().empty())
    mesure.DrawText(Caption(), t, FormatTexte::DT_CALCRECT | (WordWrap ? FormatTexte::DT_WORDBREAK : FormatTexte::DT_SINGLELINE));
  else
    t = {0, 0, 0, 0};
  const int tw = std::min(t.Width(), cw), th = t.Height();
  TVokButtonLayout layout = Layout;
  if (RightToLeft && layout == TVokButtonLayout::blGlyphLeft) layout = TVokButtonLayout::blGlyphRight;
  else if (RightToLeft && layout == TVokButtonLayout::blGlyphRight) layout = TVokButtonLayout::blGlyphLeft;
  auto marge = [](int m) { return m < 0 ? 0 : m; };

  if (GlyphAlign == CaptionAlign) {
    const bool horizontal = layout == TVokButtonLayout::blGlyphLeft || layout == TVokButtonLayout::blGlyphRight;
    int espace = (gw == 0 || tw == 0) ? 0 : Spacing;
    int bw, bh;
    if (layout == TVokButtonLayout::blGlyphCenter) {
      bw = std::max(gw, tw);
      bh = std::max(gh, th);
      espace = 0;
    } else if (horizontal) {
      if (espace < 0) espace = std::max(cw - gw - tw, 0) / 3;
      bw = gw + tw + espace;
      bh = std::max(gh, th);
    } else {
      if (espace < 0) espace = std::max(ch - gh - th, 0) / 3;
      bw = std::max(gw, tw);
      bh = gh + th + espace;
    }
    int x = (cw - bw) / 2, y = (ch - bh) / 2;
    const int mh = CaptionHorizMargin >= 0 ? CaptionHorizMargin : GlyphHorizMargin;
    const int mv = CaptionVertMargin >= 0 ? CaptionVertMargin : GlyphVertMargin;
    switch (CaptionAlign) {
      case TVokButtonAlign::baLeft: x = marge(mh); break;
      case TVokButtonAlign::baRight: x = cw - bw - marge(mh); break;
      case TVokButtonAlign::baTop: y = marge(mv); break;
      case TVokButtonAlign::baBottom: y = ch - bh - marge(mv); break;
      default:
        if (mh >= 0) x = mh;
        if (mv >= 0) y = mv;
        break;
    }
    switch (layout) {
      case TVokButtonLayout::blGlyphLeft:
        Glyphe = Bornes(x, y + (bh - gh) / 2, gw, gh);
        Texte = Bornes(x + gw + espace, y + (bh - th) / 2, tw, th);
        break;
      case TVokButtonLayout::blGlyphRight:
        Texte = Bornes(x, y + (bh - th) / 2, tw, th);
        Glyphe = Bornes(x + tw + espace, y + (bh - gh) / 2, gw, gh);
        break;
      case TVokButtonLayout::blGlyphTop:
        Glyphe = Bornes(x + (bw - gw) / 2, y, gw, gh);
        Texte = Bornes(x + (bw - tw) / 2, y + gh + espace, tw, th);
        break;
      case TVokButtonLayout::blGlyphBottom:
        Texte = Bornes(x + (bw - tw) / 2, y, tw, th);
        Glyphe = Bornes(x + (bw - gw) / 2, y + th + espace, gw, gh);
        break;
      case TVokButtonLayout::blGlyphCenter:
        Glyphe = Bornes(x + (bw - gw) / 2, y + (bh - gh) / 2, gw, gh);
        Texte = Bornes(x + (bw - tw) / 2, y + (bh - th) / 2, tw, th);
        break;
    }
  } else {
    // The glyph alone at its side, the caption at its own side, narrowed so as not to cover it.
    auto placer = [&](TVokButtonAlign a, int w, int h, int mh, int mv) {
      int x = (cw - w) / 2, y = (ch - h) / 2;
      switch (a) {
        case TVokButtonAlign::baLeft: x = marge(mh); break;
        case TVokButtonAlign::baRight: x = cw - w - marge(mh); break;
        case TVokButtonAlign::baTop: y = marge(mv); break;
        case TVokButtonAlign::baBottom: y = ch - h - marge(mv); break;
        default: break;
      }
      return Bornes(x, y, w, h);
    };
    Glyphe = placer(GlyphAlign, gw, gh, GlyphHorizMargin, GlyphVertMargin);
    TRect zone{0, 0, cw, ch};
    if (gw > 0) {
      if (GlyphAlign == TVokButtonAlign::baLeft) zone.Left = Glyphe.Right;
      else if (GlyphAlign == TVokButtonAlign::baRight) zone.Right = Glyphe.Left;
      else if (GlyphAlign == TVokButtonAlign::baTop) zone.Top = Glyphe.Bottom;
      else if (GlyphAlign == TVokButtonAlign::baBottom) zone.Bottom = Glyphe.Top;
    }
    const int w = std::min(tw, zone.Width()), h = std::min(th, zone.Height());
    TRect p = placer(CaptionAlign, w, h, CaptionHorizMargin, CaptionVertMargin);
    p = p.Decale(std::clamp(p.Left, zone.Left, std::max(zone.Left, zone.Right - w)) - p.Left,
                 std::clamp(p.Top, zone.Top, std::max(zone.Top, zone.Bottom - h)) - p.Top);
    Texte = p;
  }
  Glyphe = Glyphe.Decale(R.Left, R.Top);
  Texte = Texte.Decale(R.Left, R.Top);
}

void TVokSpeedButton::PeindreCadre(TCanvas& C, TRect R, bool Enfonce) {
  auto anneau = [&](TColor clair, TColor sombre, int largeur) {
    if (Enfonce) std::swap(clair, sombre);
    Cadre3D(C, R, clair, sombre, largeur);
  };
  if (BorderStyle == TBorderStyle::bsSingle) anneau(Couleurs::clWhite, Couleurs::clBlack, 1);
  anneau(BevelOuterLightColor, BevelOuterShadowColor, BevelOuterWidth);
  anneau(BevelInnerLightColor, BevelInnerShadowColor, BevelInnerWidth);
}

void TVokSpeedButton::Paint(TCanvas& C) {
  if (!Enabled()) {
    state_ = TButtonState::bsDisabled;
    dragging_ = false;
  } else if (state_ == TButtonState::bsDisabled) {
    state_ = down_ && groupIndex_ != 0 ? TButtonState::bsExclusive : TButtonState::bsUp;
  }
  TRect r = ClientRect();
  if (!transparent_) {
    C.Brush.Color = colors_[static_cast<size_t>(state_)];
    C.Brush.Style = TBrushStyle::bsSolid;
    C.FillRect(r);
  }
  if (Flat) r = r.Reduit(1, 1);
  const bool enfonce = state_ == TButtonState::bsDown || state_ == TButtonState::bsExclusive;
  TRect glyphe, texte;
  Disposer(r, glyphe, texte);
  if (enfonce) {
    const int d = BevelInnerWidth + BevelOuterWidth;
    glyphe = glyphe.Decale(d, d);
    texte = texte.Decale(d, d);
  }
  const TBitmap& image = glyph_.ImageEtat(state_);
  if (!image.Vide()) C.Draw(glyphe.Left, glyphe.Top, image);
  if (!Caption().empty()) {
    using namespace FormatTexte;
    uint32_t f = WordWrap ? DT_WORDBREAK : DT_SINGLELINE;
    if (CaptionAlignment == TAlignment::taCenter) f |= DT_CENTER;
    if (CaptionAlignment == TAlignment::taRightJustify) f |= DT_RIGHT;
    C.Font = Font();
    C.Brush.Style = TBrushStyle::bsClear;
    if (state_ == TButtonState::bsDisabled && WithFontDisabled) {
      TRect ombre = texte.Decale(1, 1);
      C.Font.Color = Couleurs::clBtnHighlight;
      C.DrawText(Caption(), ombre, f);
      C.Font.Color = Couleurs::clBtnShadow;
    }
    TRect t = texte;
    C.DrawText(Caption(), t, f);
  }
  if (default_) {
    const TRect autour = !Caption().empty() ? TRect{texte.Left + 1, texte.Top, texte.Right - 1, texte.Bottom} : glyphe;
    C.DrawFocusRect(autour);
  }
  const bool cadre = !Flat || enfonce || mouseInControl_;
  if (cadre) PeindreCadre(C, r, enfonce);
}

void PlacerBoutonAGauche(TVokSpeedButton* Bouton, TVokSpeedButton* Voisin, int Ecart) {
  if (!Bouton) return;
  const int reference = Voisin ? Voisin->Left() : (Bouton->Parent() ? Bouton->Parent()->ClientWidth() : 0);
  Bouton->SetLeft(reference - Bouton->Width() - Ecart);
}
