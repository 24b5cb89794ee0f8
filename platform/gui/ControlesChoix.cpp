#include "platform/gui/ControlesChoix.h"

#include <algorithm>

#include "platform/gui/Fiches.h"
#include "platform/gui/Saisie.h"

using namespace FormatTexte;

namespace {

constexpr int kCoteCase = 13;

// The caption of a check box or a radio button, beside its mark, vertically centred.
void PeindreLegende(TControl& Controle, TCanvas& C) {
  C.Brush.Style = TBrushStyle::bsClear;
  C.Font = Controle.Font();
  if (!Controle.Enabled()) C.Font.Color = Couleurs::clGrayText;
  TRect r{kCoteCase + 4, 0, Controle.Width(), Controle.Height()};
  C.DrawText(Controle.Caption(), r, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
}

TRect CaseMarque(const TControl& Controle) {
  const int haut = std::max(0, (Controle.Height() - kCoteCase) / 2);
  return {0, haut, kCoteCase, haut + kCoteCase};
}

}  // namespace

// ---------------------------------------------------------------------------------------------

TCheckBox::TCheckBox(TComponent* Owner) : TWinControl(Owner) {
  SetBounds(0, 0, 97, 17);
  TabStop = true;
}

void TCheckBox::SetChecked(bool Valeur) {
  if (checked_ == Valeur) return;
  checked_ = Valeur;
  Invalidate();
  TWinControl::Click();
}

void TCheckBox::Click() { SetChecked(!checked_); }

void TCheckBox::MouseUp(TMouseButton Bouton, uint8_t Shift, int X, int Y) {
  TWinControl::MouseUp(Bouton, Shift, X, Y);
  if (Bouton == TMouseButton::mbLeft && ClientRect().Contient({X, Y})) Click();
}

void TCheckBox::KeyDown(int& Touche, uint8_t Shift) {
  TWinControl::KeyDown(Touche, Shift);
  if (Touche != VK_SPACE) return;
  Click();
  Touche = 0;
}

bool TCheckBox::DialogChar(char Caractere) {
  if (!EstAccelerateur(Caractere, Caption()) || !Saisie::Accessible(*this)) return false;
  if (CanFocus()) SetFocus();
  Click();
  return true;
}

void TCheckBox::Paint(TCanvas& C) {
  TRect r = CaseMarque(*this);
  Cadre3D(C, r, Couleurs::clBtnShadow, Couleurs::clBtnHighlight, 2);
  C.Brush.Color = Enabled() ? Couleurs::clWindow : Couleurs::clBtnFace;
  C.Brush.Style = TBrushStyle::bsSolid;
  C.FillRect(r);
  if (checked_) {
    C.Pen.Color = Enabled() ? Couleurs::clWindowText : Couleurs::clGrayText;
    C.Pen.Width = 1;
    C.MoveTo(r.Left + 1, r.Top + 3);
    C.LineTo(r.Left + 3, r.Top + 5);
    C.LineTo(r.Right - 1, r.Top);
  }
  PeindreLegende(*this, C);
}

// ---------------------------------------------------------------------------------------------

TRadioButton::TRadioButton(TComponent* Owner) : TWinControl(Owner) {
  SetBounds(0, 0, 113, 17);
  TabStop = true;
}

void TRadioButton::SetChecked(bool Valeur) {
  if (checked_ == Valeur) return;
  checked_ = Valeur;
  Invalidate();
  if (!Valeur) return;
  if (TWinControl* p = Parent())
    for (int i = 0; i < p->ControlCount(); ++i)
      if (auto* autre = dynamic_cast<TRadioButton*>(p->Controls(i)); autre && autre != this) autre->SetChecked(false);
  TWinControl::Click();
}

void TRadioButton::Click() { SetChecked(true); }

void TRadioButton::MouseUp(TMouseButton Bouton, uint8_t Shift, int X, int Y) {
  TWinControl::MouseUp(Bouton, Shift, X, Y);
  if (Bouton == TMouseButton::mbLeft && ClientRect().Contient({X, Y})) Click();
}

void TRadioButton::KeyDown(int& Touche, uint8_t Shift) {
  TWinControl::KeyDown(Touche, Shift);
  if (Touche != VK_SPACE) return;
  Click();
  Touche = 0;
}

bool TRadioButton::DialogChar(char Caractere) {
  if (!EstAccelerateur(Caractere, Caption()) || !Saisie::Accessible(*this)) return false;
  if (CanFocus()) SetFocus();
  Click();
  return true;
}

void TRadioButton::Paint(TCanvas& C) {
  const TRect r = CaseMarque(*this);
  C.Pen.Color = Couleurs::clBtnShadow;
  C.Pen.Width = 1;
  C.Brush.Color = Enabled() ? Couleurs::clWindow : Couleurs::clBtnFace;
  C.Brush.Style = TBrushStyle::bsSolid;
  C.Ellipse(r);
  if (checked_) {
    C.Brush.Color = Enabled() ? Couleurs::clWindowText : Couleurs::clGrayText;
    C.Pen.Color = C.Brush.Color;
    C.Ellipse({r.Left + 4, r.Top + 4, r.Right - 4, r.Bottom - 4});
  }
  PeindreLegende(*this, C);
}

// ---------------------------------------------------------------------------------------------

TGroupBox::TGroupBox(TComponent* Owner) : TCustomControl(Owner) { SetBounds(0, 0, 185, 105); }

void TGroupBox::AdjustClientRect(TRect& R) const {
  R.Top += MetriquesTexte::Hauteur(Font());
  R.Left += 2;
  R.Right -= 2;
  R.Bottom -= 2;
}

void TGroupBox::Paint(TCanvas& C) {
  C.Brush.Color = Color();
  C.Brush.Style = TBrushStyle::bsSolid;
  C.FillRect(ClientRect());
  const int h = MetriquesTexte::Hauteur(Font());
  TRect cadre{0, h / 2, Width(), Height()};
  Cadre3D(C, cadre, Couleurs::clBtnShadow, Couleurs::clBtnHighlight, 1);
  Cadre3D(C, cadre, Couleurs::clBtnHighlight, Couleurs::clBtnShadow, 1);
  if (Caption().empty()) return;
  C.Font = Font();
  if (!Enabled()) C.Font.Color = Couleurs::clGrayText;
  TRect r{8, 0, Width() - 8, h};
  C.DrawText(Caption(), r, DT_SINGLELINE | DT_LEFT);
}

// ---------------------------------------------------------------------------------------------

TListBox::TListBox(TComponent* Owner) : TWinControl(Owner) {
  SetBounds(0, 0, 121, 97);
  SetColor(Couleurs::clWindow);
  TabStop = true;
}

void TListBox::SetItems(std::vector<std::string> Elements) {
  items_ = std::move(Elements);
  itemIndex_ = -1;
  TopIndex = 0;
  Invalidate();
}

void TListBox::Add(std::string Element) {
  items_.push_back(std::move(Element));
  Invalidate();
}

void TListBox::SetItemIndex(int Valeur) {
  itemIndex_ = (Valeur >= 0 && Valeur < Count()) ? Valeur : -1;
  const int visibles = std::max(1, (Height() - 4) / kHauteurElement);
  if (itemIndex_ >= 0 && itemIndex_ < TopIndex) TopIndex = itemIndex_;
  if (itemIndex_ >= TopIndex + visibles) TopIndex = itemIndex_ - visibles + 1;
  Invalidate();
}

int TListBox::ItemAtPos(TPoint P) const {
  if (P.X < 0 || P.X >= Width() || P.Y < 2) return -1;
  const int i = TopIndex + (P.Y - 2) / kHauteurElement;
  return i < Count() ? i : -1;
}

void TListBox::MouseDown(TMouseButton Bouton, uint8_t Shift, int X, int Y) {
  TWinControl::MouseDown(Bouton, Shift, X, Y);
  if (CanFocus()) SetFocus();
  if (Bouton != TMouseButton::mbLeft) return;
  const int i = ItemAtPos({X, Y});
  if (i < 0) return;
  SetItemIndex(i);
  TWinControl::Click();
}

void TListBox::KeyDown(int& Touche, uint8_t Shift) {
  TWinControl::KeyDown(Touche, Shift);
  int cible;
  switch (Touche) {
    case VK_UP: cible = std::max(0, itemIndex_ - 1); break;
    case VK_DOWN: cible = std::min(Count() - 1, itemIndex_ + 1); break;
    case VK_HOME: cible = 0; break;
    case VK_END: cible = Count() - 1; break;
    default: return;
  }
  Touche = 0;
  if (Count() == 0 || cible == itemIndex_) return;
  SetItemIndex(cible);
  TWinControl::Click();
}

void TListBox::Paint(TCanvas& C) {
  TRect r = ClientRect();
  Cadre3D(C, r, Couleurs::clBtnShadow, Couleurs::clBtnHighlight, 2);
  C.Brush.Color = Color();
  C.Brush.Style = TBrushStyle::bsSolid;
  C.FillRect(r);
  C.Font = Font();
  for (int i = TopIndex, y = r.Top; i < Count() && y < r.Bottom; ++i, y += kHauteurElement) {
    const bool choisi = i == itemIndex_;
    C.Brush.Color = choisi ? Couleurs::clHighlight : Color();
    C.Brush.Style = TBrushStyle::bsSolid;
    C.FillRect({r.Left, y, r.Right, std::min(y + kHauteurElement, r.Bottom)});
    C.Font.Color = choisi ? Couleurs::clHighlightText : Font().Color;
    C.Brush.Style = TBrushStyle::bsClear;
    C.TextOut(r.Left + 2, y, items_[static_cast<size_t>(i)]);
  }
}

// ---------------------------------------------------------------------------------------------

TComboBox::TComboBox(TComponent* Owner) : TEdit(Owner) {}

void TComboBox::SetItemIndex(int Valeur) {
  itemIndex_ = (Valeur >= 0 && Valeur < static_cast<int>(Items.size())) ? Valeur : -1;
  if (itemIndex_ >= 0) SetText(Items[static_cast<size_t>(itemIndex_)]);
}

void TComboBox::KeyDown(int& Touche, uint8_t Shift) {
  if (Touche == VK_UP || Touche == VK_DOWN) {
    const int n = static_cast<int>(Items.size());
    if (n > 0) SetItemIndex(std::clamp(itemIndex_ + (Touche == VK_UP ? -1 : 1), 0, n - 1));
    Touche = 0;
    return;
  }
  TEdit::KeyDown(Touche, Shift);
}

// ---------------------------------------------------------------------------------------------

TStringGrid::TStringGrid(TComponent* Owner) : TWinControl(Owner) {
  SetBounds(0, 0, 320, 120);
  SetColor(Couleurs::clWindow);
  TabStop = true;
  cells_.assign(static_cast<size_t>(rowCount_), std::vector<std::string>(static_cast<size_t>(colCount_)));
}

void TStringGrid::SetColCount(int Valeur) {
  colCount_ = std::max(1, Valeur);
  for (auto& ligne : cells_) ligne.resize(static_cast<size_t>(colCount_));
  col_ = std::min(col_, colCount_ - 1);
  Invalidate();
}

void TStringGrid::SetRowCount(int Valeur) {
  rowCount_ = std::max(1, Valeur);
  cells_.resize(static_cast<size_t>(rowCount_), std::vector<std::string>(static_cast<size_t>(colCount_)));
  row_ = std::clamp(row_, std::min(FixedRows, rowCount_ - 1), rowCount_ - 1);
  Invalidate();
}

std::string TStringGrid::Cells(int Col, int Row) const {
  if (Col < 0 || Col >= colCount_ || Row < 0 || Row >= rowCount_) return {};
  return cells_[static_cast<size_t>(Row)][static_cast<size_t>(Col)];
}

void TStringGrid::SetCells(int Col, int Row, std::string Valeur) {
  if (Col < 0 || Col >= colCount_ || Row < 0 || Row >= rowCount_) return;
  cells_[static_cast<size_t>(Row)][static_cast<size_t>(Col)] = std::move(Valeur);
  Invalidate();
}

void TStringGrid::Select(int Col, int Row) {
  EndEdit();
  col_ = std::clamp(Col, 0, colCount_ - 1);
  row_ = std::clamp(Row, std::min(FixedRows, rowCount_ - 1), rowCount_ - 1);
  Invalidate();
}

bool TStringGrid::MouseToCell(TPoint P, int& Col, int& Row) const {
  if (P.X < 0 || P.Y < 0 || DefaultColWidth <= 0 || DefaultRowHeight <= 0) return false;
  const int c = P.X / (DefaultColWidth + 1), r = P.Y / (DefaultRowHeight + 1);
  if (c >= colCount_ || r >= rowCount_) return false;
  Col = c;
  Row = r;
  return true;
}

void TStringGrid::EndEdit() {
  if (!editing_) return;
  editing_ = false;
  std::string texte = std::move(buffer_);
  buffer_.clear();
  SetCells(col_, row_, texte);
  if (OnSetEditText) OnSetEditText(this, col_, row_, texte);
}

void TStringGrid::MouseDown(TMouseButton Bouton, uint8_t Shift, int X, int Y) {
  TWinControl::MouseDown(Bouton, Shift, X, Y);
  if (CanFocus()) SetFocus();
  int c, r;
  if (Bouton == TMouseButton::mbLeft && MouseToCell({X, Y}, c, r) && r >= FixedRows) Select(c, r);
}

uint32_t TStringGrid::CodesDialogue() const {
  return DLGC_WANTARROWS | DLGC_WANTCHARS | (editing_ ? uint32_t{DLGC_WANTALLKEYS} : 0u);
}

void TStringGrid::KeyDown(int& Touche, uint8_t Shift) {
  TWinControl::KeyDown(Touche, Shift);
  switch (Touche) {
    case VK_RETURN:
      if (!editing_) return;
      EndEdit();
      break;
    case VK_ESCAPE:
      if (!editing_) return;
      editing_ = false;
      buffer_.clear();
      Invalidate();
      break;
    case VK_F2:
      if (!Editing || editing_ || row_ < FixedRows) return;
      editing_ = true;
      buffer_ = Cells(col_, row_);
      break;
    case VK_UP: Select(col_, row_ - 1); break;
    case VK_DOWN: Select(col_, row_ + 1); break;
    case VK_LEFT: if (!editing_) Select(col_ - 1, row_); break;
    case VK_RIGHT: if (!editing_) Select(col_ + 1, row_); break;
    default: return;
  }
  Touche = 0;
}

void TStringGrid::KeyPress(char& Caractere) {
  TWinControl::KeyPress(Caractere);
  const auto u = static_cast<unsigned char>(Caractere);
  if (!Editing || row_ < FixedRows) return;
  if (u == 8) {
    if (editing_ && !buffer_.empty()) buffer_.pop_back();
  } else if (u >= 32 && u != 127) {
    if (!editing_) {
      editing_ = true;
      buffer_.clear();
    }
    buffer_.push_back(Caractere);
  } else {
    return;
  }
  Invalidate();
  Caractere = 0;
}

void TStringGrid::Paint(TCanvas& C) {
  TRect r = ClientRect();
  C.Brush.Color = Color();
  C.Brush.Style = TBrushStyle::bsSolid;
  C.FillRect(r);
  C.Font = Font();
  for (int ligne = 0; ligne < rowCount_; ++ligne)
    for (int colonne = 0; colonne < colCount_; ++colonne) {
      const TRect cellule = Bornes(colonne * (DefaultColWidth + 1), ligne * (DefaultRowHeight + 1), DefaultColWidth,
                                   DefaultRowHeight);
      const bool fixe = ligne < FixedRows, choisie = colonne == col_ && ligne == row_;
      C.Brush.Color = fixe ? Couleurs::clBtnFace : (choisie && !editing_ ? Couleurs::clHighlight : Color());
      C.Brush.Style = TBrushStyle::bsSolid;
      C.FillRect(cellule);
      C.Font.Color = choisie && !editing_ && !fixe ? Couleurs::clHighlightText : Font().Color;
      C.Brush.Style = TBrushStyle::bsClear;
      const std::string& texte = choisie && editing_ ? buffer_ : cells_[static_cast<size_t>(ligne)][static_cast<size_t>(colonne)];
      C.TextOut(cellule.Left + 2, cellule.Top + 2, texte);
    }
}

// ---------------------------------------------------------------------------------------------

TScrollBox::TScrollBox(TComponent* Owner) : TWinControl(Owner) { SetBounds(0, 0, 185, 41); }

void TScrollBox::SetRange(int Valeur) {
  range_ = std::max(0, Valeur);
  SetPosition(VertScrollBar.Position);
}

void TScrollBox::SetPosition(int Valeur) {
  const int p = std::clamp(Valeur, 0, std::max(0, range_ - ClientHeight()));
  const int delta = p - VertScrollBar.Position;
  if (delta == 0) return;
  VertScrollBar.Position = p;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    c->SetTop(c->Top() - delta);
  }
  Invalidate();
}

bool TScrollBox::MouseWheel(uint8_t Shift, int Delta, TPoint P) {
  (void)Shift, (void)P;
  if (Delta == 0) return false;
  SetPosition(VertScrollBar.Position + (Delta > 0 ? -Increment : Increment));
  return true;
}

void TScrollBox::BoundsChanged() {
  TWinControl::BoundsChanged();
  if (OnResize) OnResize(this);
}

void TScrollBox::Paint(TCanvas& C) {
  TRect r = ClientRect();
  if (BorderStyle == TBorderStyle::bsSingle) Cadre3D(C, r, Couleurs::clBtnShadow, Couleurs::clBtnHighlight, 1);
  C.Brush.Color = Color();
  C.Brush.Style = TBrushStyle::bsSolid;
  C.FillRect(r);
}

// ---------------------------------------------------------------------------------------------

TSpeedButton::TSpeedButton(TComponent* Owner) : TGraphicControl(Owner) { SetBounds(0, 0, 23, 22); }

void TSpeedButton::MouseUp(TMouseButton Bouton, uint8_t Shift, int X, int Y) {
  TGraphicControl::MouseUp(Bouton, Shift, X, Y);
  if (Bouton == TMouseButton::mbLeft && ClientRect().Contient({X, Y})) Click();
}

void TSpeedButton::Paint(TCanvas& C) {
  TRect r = ClientRect();
  Cadre3D(C, r, Couleurs::clBtnHighlight, Couleurs::clBtnShadow, 1);
  C.Brush.Color = Couleurs::clBtnFace;
  C.Brush.Style = TBrushStyle::bsSolid;
  C.FillRect(r);
  C.Brush.Style = TBrushStyle::bsClear;
  C.Font = Font();
  if (!Enabled()) C.Font.Color = Couleurs::clGrayText;
  C.DrawText(Caption(), r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

// ---------------------------------------------------------------------------------------------

void TMaskEdit::KeyPress(char& Caractere) {
  const auto u = static_cast<unsigned char>(Caractere);
  if (!EditMask.empty() && u >= 32 && u != 127) {
    const size_t apres = Text().size() - static_cast<size_t>(SelLength()) + 1;
    const bool chiffre = Caractere >= '0' && Caractere <= '9';
    if (apres > EditMask.size() || (EditMask[static_cast<size_t>(SelStart())] == '9' && !chiffre)) {
      Caractere = 0;  // refused, as the platform's masked edit beeps
      return;
    }
  }
  TEdit::KeyPress(Caractere);
}
