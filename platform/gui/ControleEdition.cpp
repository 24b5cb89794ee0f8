#include "platform/gui/ControleEdition.h"

#include <algorithm>

TEdit::TEdit(TComponent* Owner) : TWinControl(Owner) {
  SetBounds(0, 0, 121, 21);
  SetColor(Couleurs::clWindow);
  TabStop = true;
}

void TEdit::Changer(std::string Valeur) {
  if (Valeur == Text()) return;
  SetCaption(std::move(Valeur));
  if (OnChange) OnChange(this);
}

void TEdit::SetText(std::string Valeur) {
  if (maxLength_ > 0 && Valeur.size() > static_cast<size_t>(maxLength_)) Valeur.resize(static_cast<size_t>(maxLength_));
  caret_ = ancre_ = static_cast<int>(Valeur.size());
  Changer(std::move(Valeur));
}

void TEdit::SetMaxLength(int Valeur) {
  maxLength_ = std::max(Valeur, 0);
  if (maxLength_ > 0 && Longueur() > maxLength_) {
    caret_ = std::min(caret_, maxLength_);
    ancre_ = std::min(ancre_, maxLength_);
    Changer(Text().substr(0, static_cast<size_t>(maxLength_)));
  }
}

void TEdit::SetSelStart(int Valeur) {
  caret_ = ancre_ = std::clamp(Valeur, 0, Longueur());
  Invalidate();
}

void TEdit::SetSelLength(int Valeur) {
  ancre_ = SelStart();
  caret_ = std::clamp(ancre_ + Valeur, 0, Longueur());
  Invalidate();
}

void TEdit::SelectAll() {
  ancre_ = 0;
  caret_ = Longueur();
  Invalidate();
}

void TEdit::Remplacer(const std::string& Texte) {
  const auto debut = static_cast<size_t>(SelStart());
  std::string t = Text();
  t.erase(debut, static_cast<size_t>(SelLength()));
  size_t place = Texte.size();
  if (maxLength_ > 0) place = std::min(place, static_cast<size_t>(maxLength_) - std::min(t.size(), static_cast<size_t>(maxLength_)));
  t.insert(debut, Texte, 0, place);
  caret_ = ancre_ = static_cast<int>(debut + place);
  Changer(std::move(t));
  Invalidate();
}

void TEdit::KeyDown(int& Touche, uint8_t Shift) {
  TWinControl::KeyDown(Touche, Shift);
  const bool etendre = Shift & ssShift;
  auto deplacer = [&](int Position) {
    caret_ = std::clamp(Position, 0, Longueur());
    if (!etendre) ancre_ = caret_;
    Invalidate();
  };
  switch (Touche) {
    case VK_LEFT:
      if (!etendre && SelLength() > 0) deplacer(SelStart());
      else deplacer(caret_ - 1);
      break;
    case VK_RIGHT:
      if (!etendre && SelLength() > 0) deplacer(SelStart() + SelLength());
      else deplacer(caret_ + 1);
      break;
    case VK_HOME: deplacer(0); break;
    case VK_END: deplacer(Longueur()); break;
    case VK_DELETE:
      if (SelLength() == 0) {
        if (caret_ >= Longueur()) break;
        ancre_ = caret_ + 1;
      }
      Remplacer({});
      break;
    default: return;
  }
  Touche = 0;
}

void TEdit::KeyPress(char& Caractere) {
  TWinControl::KeyPress(Caractere);
  const auto u = static_cast<unsigned char>(Caractere);
  if (u == 8) {
    if (SelLength() == 0) {
      if (caret_ == 0) return;
      ancre_ = caret_ - 1;
    }
    Remplacer({});
  } else if (u >= 32 && u != 127) {
    Remplacer(std::string(1, Caractere));
  } else {
    return;
  }
  Caractere = 0;
}

void TEdit::Paint(TCanvas& C) {
  TRect r = ClientRect();
  if (BorderStyle == TBorderStyle::bsSingle) Cadre3D(C, r, Couleurs::clBtnShadow, Couleurs::clBtnHighlight, 2);
  C.Brush.Color = Color();
  C.Brush.Style = TBrushStyle::bsSolid;
  C.FillRect(r);
  C.Font = Font();
  const int x = r.Left + Marge;
  const int y = r.Top + std::max(0, (r.Height() - C.TextHeight("Hg")) / 2);
  const std::string t = PasswordChar ? std::string(Text().size(), PasswordChar) : Text();
  const auto debut = static_cast<size_t>(SelStart()), longueur = static_cast<size_t>(SelLength());
  C.Brush.Style = TBrushStyle::bsClear;
  C.TextOut(x, y, t.substr(0, debut));
  if (longueur > 0 && Focused()) {
    const int xs = x + C.TextWidth(t.substr(0, debut));
    C.Brush.Color = Couleurs::clHighlight;
    C.Brush.Style = TBrushStyle::bsSolid;
    C.Font.Color = Couleurs::clHighlightText;
    C.TextOut(xs, y, t.substr(debut, longueur));
    C.Font = Font();
    C.Brush.Style = TBrushStyle::bsClear;
  }
  C.TextOut(x + C.TextWidth(t.substr(0, debut + (Focused() ? longueur : 0))), y,
            t.substr(debut + (Focused() ? longueur : 0)));
}
