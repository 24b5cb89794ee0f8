#include "platform/gui/Choix.h"

#include "platform/gui/Saisie.h"

using namespace FormatTexte;

TGroupBox::TGroupBox(TComponent* Owner) : TCustomControl(Owner) { SetBounds(0, 0, 185, 105); }

void TGroupBox::AdjustClientRect(TRect& R) const {
  R.Top += MetriquesTexte::Hauteur(Font());
  R = R.Reduit(2, 2);
}

void TGroupBox::Paint(TCanvas& C) {
  const TRect client = ClientRect();
  C.Brush.Color = Color();
  C.Brush.Style = TBrushStyle::bsSolid;
  C.FillRect(client);
  const int hauteur = MetriquesTexte::Hauteur(Font());
  TRect cadre{client.Left, client.Top + hauteur / 2, client.Right, client.Bottom};
  Cadre3D(C, cadre, Couleurs::clBtnShadow, Couleurs::clBtnHighlight, 1);
  Cadre3D(C, cadre, Couleurs::clBtnHighlight, Couleurs::clBtnShadow, 1);
  if (Caption().empty()) return;
  C.Font = Font();
  if (!Enabled()) C.Font.Color = Couleurs::clGrayText;
  C.Brush.Color = Color();
  TRect texte{8, 0, client.Right - 8, hauteur};
  C.DrawText(Caption(), texte, DT_SINGLELINE);
}

TRadioButton::TRadioButton(TComponent* Owner) : TWinControl(Owner) {
  SetBounds(0, 0, 113, 17);
  TabStop = true;
}

void TRadioButton::SetChecked(bool Valeur) {
  if (checked_ == Valeur) return;
  checked_ = Valeur;
  if (Valeur && Parent())
    for (int i = 0; i < Parent()->ControlCount(); ++i)
      if (auto* autre = dynamic_cast<TRadioButton*>(Parent()->Controls(i)); autre && autre != this)
        autre->SetChecked(false);
  Invalidate();
}

void TRadioButton::Click() {
  SetChecked(true);
  TWinControl::Click();
}

void TRadioButton::MouseUp(TMouseButton Bouton, uint8_t Shift, int X, int Y) {
  TWinControl::MouseUp(Bouton, Shift, X, Y);
  if (Bouton == TMouseButton::mbLeft && ClientRect().Contient({X, Y})) Click();
}

bool TRadioButton::DialogChar(char Caractere) {
  if (!EstAccelerateur(Caractere, Caption()) || !Saisie::Accessible(*this)) return false;
  Click();
  return true;
}

void TRadioButton::Paint(TCanvas& C) {
  const TRect client = ClientRect();
  C.Brush.Color = Color();
  C.Brush.Style = TBrushStyle::bsSolid;
  C.FillRect(client);
  const int haut = (client.Height() - 13) / 2;
  C.Pen.Color = Couleurs::clBtnShadow;
  C.Brush.Color = Enabled() ? Couleurs::clWindow : Couleurs::clBtnFace;
  C.Ellipse({0, haut, 13, haut + 13});
  if (checked_) {
    C.Pen.Color = Couleurs::clWindowText;
    C.Brush.Color = Couleurs::clWindowText;
    C.Ellipse({4, haut + 4, 9, haut + 9});
  }
  C.Font = Font();
  if (!Enabled()) C.Font.Color = Couleurs::clGrayText;
  C.Brush.Style = TBrushStyle::bsClear;
  TRect texte{17, 0, client.Right, client.Bottom};
  C.DrawText(Caption(), texte, DT_SINGLELINE | DT_VCENTER);
}
