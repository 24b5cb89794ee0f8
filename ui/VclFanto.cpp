#include "ui/VclFanto.h"

#include <algorithm>

namespace {

using namespace FormatTexte;

TFantome* fantome = nullptr;

// Draws with a clear brush, the canvas's brush restored afterwards.
int DessinerTransparent(TCanvas& C, const std::string& Texte, TRect R, uint32_t Format) {
  const TBrush b = C.Brush;
  C.Brush.Style = TBrushStyle::bsClear;
  const int h = C.DrawText(Texte, R, Format);
  C.Brush = b;
  return h;
}

}  // namespace

TFantome::TFantome(TComponent* Owner) : TForm(Owner) {
  SetName("Fantome");
  SetBorderStyle(TFormBorderStyle::bsNone);
  BorderIcons = 0;
  FormStyle = TFormStyle::fsStayOnTop;
  Position = TPosition::poDesigned;
  Scaled = false;
  SetVisible(false);
  SetClientWidth(kLargeur);
  SetClientHeight(kHauteur);
}

TFantome::~TFantome() {
  if (fantome == this) fantome = nullptr;
}

void TFantome::SetBulle(bool Valeur) {
  bulle_ = Valeur;
  AjusterBulle();
}

void TFantome::TextChanged() {
  TForm::TextChanged();
  AjusterBulle();
}

void TFantome::FontChanged() {
  TForm::FontChanged();
  AjusterBulle();
}

TRect TFantome::MesureBulle(TCanvas& C) const {
  C.Font = Font();
  TRect r = ClientRect();
  C.DrawText(Caption(), r, DT_CALCRECT | DT_WORDBREAK | DT_VCENTER | DT_NOPREFIX);
  return r;
}

void TFantome::AjusterBulle() {
  // Without a text yet the balloon keeps the width its text will be wrapped in.
  if (!bulle_ || Caption().empty()) return;
  const TRect r = MesureBulle(Canvas());
  SetBounds(Left(), Top(), r.Width() + 6, r.Height() + 4);
}

void TFantome::Paint(TCanvas& C) {
  TForm::Paint(C);
  C.Font = Font();
  if (bulle_) {
    const TRect mesure = MesureBulle(C);
    SetBounds(Left(), Top(), mesure.Width() + 6, mesure.Height() + 4);
    const TRect texte = Bornes(3, 1, mesure.Width(), mesure.Height());
    DessinerTransparent(C, Caption(), texte, DT_WORDBREAK | DT_VCENTER | DT_NOPREFIX);
    C.Brush.Color = Font().Color;
    C.Brush.Style = TBrushStyle::bsSolid;
    C.FrameRect(ClientRect());
    return;
  }
  const TRect client = ClientRect();
  uint32_t format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
  if (client.Width() >= C.TextWidth(Caption()) + 2) format |= DT_CENTER;
  DessinerTransparent(C, Caption(), client, format);
  if (!SansCadre) {
    C.Brush.Color = Font().Color;
    C.Brush.Style = TBrushStyle::bsSolid;
    C.FrameRect(client);
  }
}

namespace VclFanto {

TFantome* Fantome() { return fantome; }

TFantome& CreerFantome() {
  if (!fantome) fantome = new TFantome(&Application());
  return *fantome;
}

void PlacerFantome(TPoint Point, bool DansEcran) {
  if (!fantome) return;
  const TRect bureau = Screen().DesktopRect();
  const int w = fantome->Width(), h = fantome->Height();
  int gauche = Point.X + 3;
  if (gauche > bureau.Width() - w - 3) gauche = bureau.Width() - w - 3;
  if (gauche < bureau.Left + 3) gauche = bureau.Left + 3;
  int haut = Point.Y + 3;
  if (haut > bureau.Height() - h - 3) haut = bureau.Height() - h - 3;
  if (haut < bureau.Top + 3) haut = bureau.Top + 3;
  if (DansEcran) {
    gauche = std::max(bureau.Left + 3, std::min(gauche, bureau.Right - 3 - w));
    haut = std::max(bureau.Top + 3, std::min(haut, bureau.Bottom - 3 - h));
  }
  fantome->SetBounds(gauche, haut, w, h);
}

void PlacerFantomeLigne(TPoint Point, TPoint Souris, int Largeur, int Hauteur) {
  if (!fantome) return;
  fantome->SetBounds(Point.X, Point.Y, fantome->Width(), fantome->Height());
  const bool dedans = TRect{0, 0, Largeur, Hauteur}.Contient(Souris);
  fantome->SetColor(dedans ? Couleurs::clYellow : Couleurs::clRed);
  TFont f = fantome->Font();
  f.Color = dedans ? Couleurs::clBlack : Couleurs::clWhite;
  fantome->SetFont(f);
}

void CacherFantome() {
  if (!fantome) return;
  TFantome* f = fantome;
  fantome = nullptr;
  f->Hide();
  delete f;
}

void DessinerTexteCentre(TCanvas& Canvas, const TRect& R, const std::string& Texte, bool Actif) {
  Canvas.FillRect(R);
  TRect mesure = R;
  Canvas.DrawText(Texte, mesure, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
  const int retrait = Actif ? 1 : 0;
  const int dx = (R.Width() - mesure.Width()) / 2 - retrait;
  const int dy = (R.Height() - mesure.Height()) / 2 - retrait;
  const TRect r = R.Reduit(dx, dy);
  constexpr uint32_t format = DT_WORDBREAK | DT_CENTER;
  if (Actif) {
    DessinerTransparent(Canvas, Texte, r, format);
    return;
  }
  const TColor couleur = Canvas.Font.Color;
  Canvas.Font.Color = Couleurs::clBtnHighlight;
  DessinerTransparent(Canvas, Texte, r.Decale(1, 1), format);
  Canvas.Font.Color = Couleurs::clBtnShadow;
  DessinerTransparent(Canvas, Texte, r, format);
  Canvas.Font.Color = couleur;
}

void DessinerTexteAvecMarges(TCanvas& Canvas, const TRect& R, int MargeX, int MargeY, const std::string& Texte,
                             uint32_t Format) {
  Canvas.FillRect(R);
  DessinerTexte(Canvas, {R.Left + MargeX, R.Top + MargeY, R.Right - MargeX, R.Bottom}, Texte, Format);
}

void DessinerTexte(TCanvas& Canvas, const TRect& R, const std::string& Texte, uint32_t Format) {
  uint32_t format = Format | DT_NOPREFIX;
  if (!(format & DT_WORDBREAK)) format |= DT_SINGLELINE;
  TRect r = R;
  if ((format & DT_CENTER) && Canvas.TextWidth(Texte) > R.Width() - 3) {
    r = R.Reduit(3, 0);
    format &= ~DT_CENTER;
  }
  DessinerTransparent(Canvas, Texte, r, format);
}

}  // namespace VclFanto
