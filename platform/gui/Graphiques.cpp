#include "platform/gui/Graphiques.h"

#include <algorithm>
#include <cstdio>

namespace Couleurs {

TColor CouleurRGB(TColor Couleur) {
  const uint32_t v = static_cast<uint32_t>(Couleur);
  if (Couleur == clNone) return clWhite;
  if ((v & 0xFF000000u) != 0x80000000u) return static_cast<TColor>(v & 0xFFFFFF);
  switch (v & 0xFF) {
    case 5: return 0xFFFFFF;    // window
    case 8: return 0x000000;    // window text
    case 13: return 0xD77800;   // highlight
    case 14: return 0xFFFFFF;   // highlight text
    case 15: return 0xF0F0F0;   // button face
    case 16: return 0xA0A0A0;   // button shadow
    case 17: return 0x6D6D6D;   // grey text
    case 18: return 0x000000;   // button text
    case 20: return 0xFFFFFF;   // button highlight
    case 21: return 0x696969;   // dark 3-D shadow
    case 22: return 0xE3E3E3;   // 3-D light
    case 23: return 0x000000;   // hint text
    case 24: return 0xE1FFFF;   // hint background
    default: return 0xF0F0F0;
  }
}

}  // namespace Couleurs

TRect Intersection(const TRect& a, const TRect& b) {
  TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
  if (r.Right < r.Left) r.Right = r.Left;
  if (r.Bottom < r.Top) r.Bottom = r.Top;
  return r;
}

namespace MetriquesTexte {
namespace {

struct Table {
  int UnitesParEm;
  int Ascendante;
  int Descendante;
  int Avances[256];
};

const Table kTables[2] = {
#include "platform/gui/MetriquesPolice.inc"
};

const Table& TableDe(const TFont& Police) { return kTables[Police.Gras() ? 1 : 0]; }

int Echelle(int Unites, const Table& t, int Em) {
  return static_cast<int>((static_cast<int64_t>(Unites) * Em + t.UnitesParEm / 2) / t.UnitesParEm);
}

}  // namespace

int Avance(const TFont& Police, unsigned char c) {
  const Table& t = TableDe(Police);
  return Echelle(t.Avances[c], t, std::max(Police.Height, 0));
}

int Largeur(const TFont& Police, const std::string& Texte) {
  int l = 0;
  for (unsigned char c : Texte) l += Avance(Police, c);
  return l;
}

int Ascendante(const TFont& Police) {
  const Table& t = TableDe(Police);
  return Echelle(t.Ascendante, t, std::max(Police.Height, 0));
}

int Descendante(const TFont& Police) {
  const Table& t = TableDe(Police);
  return Echelle(t.Descendante, t, std::max(Police.Height, 0));
}

int Hauteur(const TFont& Police) { return Ascendante(Police) + Descendante(Police); }

}  // namespace MetriquesTexte

void TBitmap::Redimensionner(int w, int h, TColor Fond) {
  Width = std::max(w, 0);
  Height = std::max(h, 0);
  Pixels.assign(static_cast<size_t>(Width) * Height, Couleurs::CouleurRGB(Fond));
}

void TCanvas::FillRect(const TRect& R) { DoFillRect(Vers(R)); }
void TCanvas::FrameRect(const TRect& R) { DoFrameRect(Vers(R)); }
void TCanvas::Rectangle(const TRect& R) { DoRectangle(Vers(R)); }
void TCanvas::Ellipse(const TRect& R) { DoEllipse(Vers(R)); }
void TCanvas::RoundRect(const TRect& R, int LargeurCoin, int HauteurCoin) { DoRoundRect(Vers(R), LargeurCoin, HauteurCoin); }
void TCanvas::LineTo(int X, int Y) {
  DoLine({PenPos.X + Origine.X, PenPos.Y + Origine.Y}, {X + Origine.X, Y + Origine.Y});
  PenPos = {X, Y};
}
void TCanvas::SetPixel(int X, int Y, TColor Couleur) { DoPixel({X + Origine.X, Y + Origine.Y}, Couleur); }
void TCanvas::TextOut(int X, int Y, const std::string& Texte) { DoTextOut({X + Origine.X, Y + Origine.Y}, Texte); }
void TCanvas::DrawFocusRect(const TRect& R) { DoFocusRect(Vers(R)); }
void TCanvas::Draw(int X, int Y, const TBitmap& Image) {
  if (!Image.Vide()) DoDraw(Vers(Bornes(X, Y, Image.Width, Image.Height)), Image);
}
void TCanvas::StretchDraw(const TRect& R, const TBitmap& Image) {
  if (!Image.Vide() && !R.Vide()) DoDraw(Vers(R), Image);
}

void TCanvas::DefinirClip(const TRect& R) {
  clip_ = Vers(R);
  clipActif_ = true;
  DoClip(&clip_);
}

void TCanvas::LibererClip() {
  clipActif_ = false;
  DoClip(nullptr);
}

namespace {

// The text without its accelerator marks: "&&" stands for "&", a lone "&" is dropped.
std::string SansPrefixes(const std::string& Texte) {
  std::string r;
  r.reserve(Texte.size());
  for (size_t i = 0; i < Texte.size(); ++i) {
    if (Texte[i] == '&') {
      if (i + 1 < Texte.size() && Texte[i + 1] == '&') {
        r += '&';
        ++i;
      }
      continue;
    }
    r += Texte[i];
  }
  return r;
}

std::vector<std::string> Paragraphes(const std::string& Texte) {
  std::vector<std::string> p(1);
  for (size_t i = 0; i < Texte.size(); ++i) {
    const char c = Texte[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < Texte.size() && Texte[i + 1] == '\n') ++i;
      p.emplace_back();
    } else {
      p.back() += c;
    }
  }
  return p;
}

// Greedy word wrapping at blanks: a word that does not fit starts a new line; a word wider than
// the line stands alone on it. Blanks at the break are dropped.
void Couper(const TFont& Police, const std::string& Paragraphe, int Largeur, std::vector<std::string>& Lignes) {
  size_t i = 0;
  const size_t n = Paragraphe.size();
  if (n == 0) {
    Lignes.emplace_back();
    return;
  }
  while (i < n) {
    std::string ligne;
    size_t fin = i;  // end of the last word that fits
    size_t j = i;
    while (j < n) {
      size_t debutMot = j;
      while (debutMot < n && Paragraphe[debutMot] == ' ') ++debutMot;
      size_t finMot = debutMot;
      while (finMot < n && Paragraphe[finMot] != ' ') ++finMot;
      if (finMot == debutMot) {  // trailing blanks
        j = n;
        break;
      }
      const std::string essai = Paragraphe.substr(i, finMot - i);
      if (fin != i && MetriquesTexte::Largeur(Police, essai) > Largeur) break;
      fin = finMot;
      j = finMot;
    }
    if (fin == i) fin = j;  // nothing but blanks left
    ligne = Paragraphe.substr(i, fin - i);
    Lignes.push_back(ligne);
    i = fin;
    while (i < n && Paragraphe[i] == ' ') ++i;
  }
}

}  // namespace

int TCanvas::DrawText(const std::string& Texte, TRect& R, uint32_t Format) {
  using namespace FormatTexte;
  const std::string texte = (Format & DT_NOPREFIX) ? Texte : SansPrefixes(Texte);
  std::vector<std::string> lignes;
  if (Format & DT_SINGLELINE) {
    lignes.push_back(texte);
  } else {
    for (const std::string& p : Paragraphes(texte)) {
      if (Format & DT_WORDBREAK) Couper(Font, p, R.Width(), lignes);
      else lignes.push_back(p);
    }
  }
  const int h = MetriquesTexte::Hauteur(Font);
  const int total = h * static_cast<int>(lignes.size());
  if (Format & DT_CALCRECT) {
    int large = 0;
    for (const auto& l : lignes) large = std::max(large, MetriquesTexte::Largeur(Font, l));
    R.Right = R.Left + large;
    R.Bottom = R.Top + total;
    return total;
  }
  int y = R.Top;
  if (Format & DT_SINGLELINE) {
    if (Format & DT_VCENTER) y = R.Top + (R.Height() - h) / 2;
    else if (Format & DT_BOTTOM) y = R.Bottom - h;
  }
  for (const auto& l : lignes) {
    const int w = MetriquesTexte::Largeur(Font, l);
    int x = R.Left;
    if (Format & DT_CENTER) x = R.Left + (R.Width() - w) / 2;
    else if (Format & DT_RIGHT) x = R.Right - w;
    if (!l.empty()) TextOut(x, y, l);
    y += h;
  }
  return total;
}

TSauvegardeCanvas::TSauvegardeCanvas(TCanvas& C)
    : c_(C), origine_(C.Origine), clip_(C.Clip() ? *C.Clip() : TRect{}), clipActif_(C.Clip() != nullptr),
      font_(C.Font), pen_(C.Pen), brush_(C.Brush) {}

TSauvegardeCanvas::~TSauvegardeCanvas() {
  c_.Font = font_;
  c_.Pen = pen_;
  c_.Brush = brush_;
  if (clipActif_) {
    c_.Origine = {0, 0};
    c_.DefinirClip(clip_);
  } else if (c_.Clip()) {
    c_.LibererClip();
  }
  c_.Origine = origine_;
}

std::string TexteCouleur(TColor Couleur) {
  char b[8];
  std::snprintf(b, sizeof b, "#%02X%02X%02X", Couleurs::Rouge(Couleur), Couleurs::Vert(Couleur), Couleurs::Bleu(Couleur));
  return b;
}

namespace {

std::string TexteRect(const TRect& R) {
  return std::to_string(R.Left) + "," + std::to_string(R.Top) + "," + std::to_string(R.Right) + "," +
         std::to_string(R.Bottom);
}

std::string EtatBrosse(const TBrush& B) {
  return " brush=" + (B.Style == TBrushStyle::bsClear ? std::string("clear") : TexteCouleur(B.Color));
}

std::string EtatPlume(const TPen& P) {
  if (P.Style == TPenStyle::psClear) return " pen=none";
  const char* style = P.Style == TPenStyle::psDot ? "/dot" : P.Style == TPenStyle::psDash ? "/dash" : "";
  return " pen=" + TexteCouleur(P.Color) + "/" + std::to_string(P.Width) + style;
}

std::string EtatPolice(const TFont& F) {
  std::string style;
  if (F.Style & fsBold) style += "bold";
  if (F.Style & fsItalic) style += style.empty() ? "italic" : "+italic";
  if (F.Style & fsUnderline) style += style.empty() ? "underline" : "+underline";
  if (style.empty()) style = "regular";
  return " font=" + F.Name + "/" + std::to_string(F.Height) + "/" + style + "/" + TexteCouleur(F.Color);
}

}  // namespace

std::string TCanvasEnregistreur::Dump() const {
  std::string d;
  for (const auto& a : appels_) d += a + "\n";
  return d;
}

void TCanvasEnregistreur::DoFillRect(const TRect& R) { appels_.push_back("FillRect " + TexteRect(R) + EtatBrosse(Brush)); }
void TCanvasEnregistreur::DoFrameRect(const TRect& R) { appels_.push_back("FrameRect " + TexteRect(R) + EtatBrosse(Brush)); }
void TCanvasEnregistreur::DoRectangle(const TRect& R) {
  appels_.push_back("Rectangle " + TexteRect(R) + EtatPlume(Pen) + EtatBrosse(Brush));
}
void TCanvasEnregistreur::DoEllipse(const TRect& R) {
  appels_.push_back("Ellipse " + TexteRect(R) + EtatPlume(Pen) + EtatBrosse(Brush));
}
void TCanvasEnregistreur::DoRoundRect(const TRect& R, int LargeurCoin, int HauteurCoin) {
  appels_.push_back("RoundRect " + TexteRect(R) + " corner=" + std::to_string(LargeurCoin) + "," +
                    std::to_string(HauteurCoin) + EtatPlume(Pen) + EtatBrosse(Brush));
}
void TCanvasEnregistreur::DoLine(TPoint De, TPoint A) {
  appels_.push_back("Line " + std::to_string(De.X) + "," + std::to_string(De.Y) + "-" + std::to_string(A.X) + "," +
                    std::to_string(A.Y) + EtatPlume(Pen));
}
void TCanvasEnregistreur::DoPixel(TPoint P, TColor Couleur) {
  appels_.push_back("Pixel " + std::to_string(P.X) + "," + std::to_string(P.Y) + " " + TexteCouleur(Couleur));
}
void TCanvasEnregistreur::DoTextOut(TPoint P, const std::string& Texte) {
  appels_.push_back("Text " + std::to_string(P.X) + "," + std::to_string(P.Y) + " \"" + Texte + "\"" + EtatPolice(Font) +
                    EtatBrosse(Brush));
}
void TCanvasEnregistreur::DoFocusRect(const TRect& R) { appels_.push_back("FocusRect " + TexteRect(R)); }
void TCanvasEnregistreur::DoDraw(const TRect& R, const TBitmap& Image) {
  appels_.push_back("Draw " + TexteRect(R) + " picture=" + std::to_string(Image.Width) + "x" + std::to_string(Image.Height));
}
void TCanvasEnregistreur::DoClip(const TRect* R) { appels_.push_back("Clip " + (R ? TexteRect(*R) : std::string("none"))); }
