#include "platform/gui/Metafichier.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

#include "core/objects/Exceptions.h"
#include "core/values/ChaineUnicode.h"

namespace Metafichier {
namespace {

constexpr uint32_t kPatCopy = 0x00F00021, kSrcCopy = 0x00CC0020;
constexpr uint32_t kRgnCopy = 5;
constexpr uint32_t kStock = 0x80000000u;
constexpr uint32_t kEmplacements = 7;  // handle 0 is the metafile; pens 1-2, brushes 3-4, fonts 5-6
constexpr uint32_t kTailleTexteFixe = 76;
constexpr uint32_t kTailleLogFont = 92;
// A played font is at most this many pixels high (text widths stay within int for any text a record
// can hold).
constexpr int kHauteurPoliceMax = 10000;

// Little-endian writer of one record.
class TEcrivain {
 public:
  explicit TEcrivain(uint32_t Type) {
    U32(Type);
    U32(0);
  }
  TEcrivain& U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) o_.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return *this;
  }
  TEcrivain& I32(int32_t v) { return U32(static_cast<uint32_t>(v)); }
  TEcrivain& U16(uint16_t v) {
    o_.push_back(static_cast<uint8_t>(v)), o_.push_back(static_cast<uint8_t>(v >> 8));
    return *this;
  }
  TEcrivain& U8(uint8_t v) {
    o_.push_back(v);
    return *this;
  }
  TEcrivain& Rect(const TRect& R) { return I32(R.Left).I32(R.Top).I32(R.Right).I32(R.Bottom); }
  TEcrivain& Aligner() {
    while (o_.size() % 4) o_.push_back(0);
    return *this;
  }
  std::size_t Taille() const { return o_.size(); }
  std::vector<uint8_t> Fin() {
    Aligner();
    const uint32_t t = static_cast<uint32_t>(o_.size());
    std::memcpy(o_.data() + 4, &t, 4);
    return std::move(o_);
  }
  std::vector<uint8_t> o_;
};

uint32_t U32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }
int32_t I32(const uint8_t* p) { return static_cast<int32_t>(U32(p)); }
TRect LireRect(const uint8_t* p) { return {I32(p), I32(p + 4), I32(p + 8), I32(p + 12)}; }

// A region as the bounding rectangle of its data (which is all the subset writes); false when the
// region data is not well formed within Taille bytes.
bool LireRegion(const uint8_t* p, uint32_t Taille, TRect& Bornes) {
  if (Taille < 32 || U32(p) != 32 || U32(p + 4) != 1) return false;
  const uint32_t n = U32(p + 8);
  if (n > (Taille - 32) / 16) return false;
  Bornes = LireRect(p + 16);
  return true;
}

// The minimum size of each record the subset interprets.
uint32_t TailleMinimale(uint32_t Type) {
  switch (Type) {
    case EMR_HEADER: return kTailleEntete;
    case EMR_EOF: return 20;
    case EMR_SETPIXELV: return 20;
    case EMR_SETBKMODE: case EMR_SETTEXTALIGN: case EMR_SETTEXTCOLOR: case EMR_SETBKCOLOR: case EMR_RESTOREDC:
    case EMR_SELECTOBJECT: case EMR_DELETEOBJECT: return 12;
    case EMR_MOVETOEX: case EMR_LINETO: return 16;
    case EMR_INTERSECTCLIPRECT: case EMR_ELLIPSE: case EMR_RECTANGLE: return 24;
    case EMR_SAVEDC: return 8;
    case EMR_CREATEPEN: return 28;
    case EMR_CREATEBRUSHINDIRECT: return 24;
    case EMR_ROUNDRECT: return 32;
    case EMR_FRAMERGN: return 40;
    case EMR_EXTSELECTCLIPRGN: return 16;
    case EMR_BITBLT: return 100;
    case EMR_STRETCHDIBITS: return 80;
    case EMR_EXTCREATEFONTINDIRECTW: return 12 + kTailleLogFont;
    case EMR_EXTTEXTOUTA: case EMR_EXTTEXTOUTW: return kTailleTexteFixe;
    default: return 8;
  }
}

// A picture of a stretch record: a 24- or 32-bit uncompressed bitmap lying within the record.
bool LireImage(const uint8_t* r, uint32_t Taille, TBitmap* Image) {
  const uint32_t offBmi = U32(r + 48), cbBmi = U32(r + 52), offBits = U32(r + 56), cbBits = U32(r + 60);
  if (cbBmi < 40 || offBmi > Taille || cbBmi > Taille - offBmi || offBits > Taille || cbBits > Taille - offBits) return false;
  const uint8_t* b = r + offBmi;
  const int32_t w = I32(b + 4), h = I32(b + 8);
  const uint32_t bits = U32(b + 14) & 0xFFFF, compression = U32(b + 16);
  if (w <= 0 || h == 0 || h == INT32_MIN || (bits != 24 && bits != 32) || compression != 0) return false;
  const uint64_t hauteur = static_cast<uint64_t>(h < 0 ? -static_cast<int64_t>(h) : h);
  const uint64_t pas = (static_cast<uint64_t>(w) * (bits / 8) + 3) & ~uint64_t{3};
  if (pas * hauteur > cbBits) return false;
  if (!Image) return true;
  Image->Redimensionner(w, static_cast<int>(hauteur));
  for (uint64_t y = 0; y < hauteur; ++y) {
    const uint8_t* ligne = r + offBits + (h > 0 ? hauteur - 1 - y : y) * pas;
    for (int x = 0; x < w; ++x) {
      const uint8_t* p = ligne + static_cast<std::size_t>(x) * (bits / 8);
      Image->DefinirPixel(x, static_cast<int>(y), Couleurs::RGB(p[2], p[1], p[0]));
    }
  }
  return true;
}

// Whether a record of a known type is well formed: its size and, where it has them, its offsets,
// counts and handle indices.
bool EnregistrementValide(const TEnregistrement& E, uint32_t NombreHandles) {
  if (E.Taille < TailleMinimale(E.Type)) return false;
  const uint8_t* r = E.Octets;
  auto handle = [&](uint32_t h) { return h != 0 && h < NombreHandles; };
  switch (E.Type) {
    case EMR_SELECTOBJECT: {
      const uint32_t h = U32(r + 8);
      return (h & kStock) ? (h & ~kStock) <= 17 : handle(h);
    }
    case EMR_DELETEOBJECT: case EMR_CREATEPEN: case EMR_CREATEBRUSHINDIRECT: case EMR_EXTCREATEFONTINDIRECTW:
      return handle(U32(r + 8));
    case EMR_FRAMERGN: {
      const uint32_t cb = U32(r + 24);
      TRect b;
      return handle(U32(r + 28)) && cb <= E.Taille - 40 && LireRegion(r + 40, cb, b);
    }
    case EMR_EXTSELECTCLIPRGN: {
      const uint32_t cb = U32(r + 8);
      TRect b;
      return cb == 0 || (cb <= E.Taille - 16 && LireRegion(r + 16, cb, b));
    }
    case EMR_EXTTEXTOUTA: case EMR_EXTTEXTOUTW: {
      std::string t;
      return TexteEnregistrement(E, t);
    }
    case EMR_STRETCHDIBITS: return LireImage(r, E.Taille, nullptr);
    default: return true;
  }
}

// Walks the records of a metafile image of Taille bytes whose header was checked: each record at
// least 8 bytes, a multiple of 4 and within the image. False at the first bad one.
bool Parcourir(const uint8_t* Octets, std::size_t Taille, const std::function<bool(const TEnregistrement&)>& Visiteur,
               bool* Complet = nullptr) {
  std::size_t p = 0;
  while (p + 8 <= Taille) {
    const uint32_t type = U32(Octets + p), taille = U32(Octets + p + 4);
    if (taille < 8 || taille % 4 || taille > Taille - p) return false;
    if (!Visiteur({type, Octets + p, taille})) {
      if (Complet) *Complet = false;
      return true;
    }
    p += taille;
    if (type == EMR_EOF) break;
  }
  return true;
}

TColor Couleur(const uint8_t* p) { return static_cast<TColor>(U32(p) & 0xFFFFFF); }

std::u16string TexteLarge(const uint8_t* p, std::size_t n) {
  std::u16string t(n, u'\0');
  for (std::size_t i = 0; i < n; ++i) t[i] = static_cast<char16_t>(p[2 * i] | (p[2 * i + 1] << 8));
  return t;
}

}  // namespace

bool TexteEnregistrement(const TEnregistrement& E, std::string& Texte) {
  if ((E.Type != EMR_EXTTEXTOUTA && E.Type != EMR_EXTTEXTOUTW) || E.Taille < kTailleTexteFixe) return false;
  const uint32_t n = U32(E.Octets + 44), off = U32(E.Octets + 48);
  const uint64_t octets = static_cast<uint64_t>(n) * (E.Type == EMR_EXTTEXTOUTW ? 2 : 1);
  if (off < 8 || off > E.Taille || octets > E.Taille - off) return false;
  if (E.Type == EMR_EXTTEXTOUTA)
    Texte.assign(reinterpret_cast<const char*>(E.Octets + off), n);
  else
    Texte = ChaineUnicode::DepuisUnicode(TexteLarge(E.Octets + off, n), ChaineUnicode::CP_WINDOWS_1252);
  return true;
}

// --- TMetafile -----------------------------------------------------------------------------------

TMetafile::TMetafile(int Largeur, int Hauteur, int PixelsParPouce) {
  Largeur = std::max(Largeur, 0), Hauteur = std::max(Hauteur, 0);
  if (PixelsParPouce <= 0) PixelsParPouce = 96;
  auto centiemes = [&](int v) { return static_cast<int32_t>(std::llround(v * 2540.0 / PixelsParPouce)); };
  auto mm = [&](int v) { return static_cast<int32_t>(std::llround(v * 25.4 / PixelsParPouce)); };
  TEcrivain h(EMR_HEADER);
  h.Rect({0, 0, Largeur - 1, Hauteur - 1})
      .Rect({0, 0, centiemes(Largeur) - 1, centiemes(Hauteur) - 1})
      .U32(kSignature).U32(0x10000)
      .U32(0).U32(0)  // bytes and records, set when the page is closed
      .U16(kEmplacements).U16(0)
      .U32(0).U32(0).U32(0)
      .I32(Largeur).I32(Hauteur).I32(mm(Largeur)).I32(mm(Hauteur));
  octets_ = h.Fin();
  TEcrivain fin(EMR_EOF);
  const std::vector<uint8_t> eof = fin.U32(0).U32(0x10).U32(20).Fin();
  octets_.insert(octets_.end(), eof.begin(), eof.end());
  const uint32_t total = static_cast<uint32_t>(octets_.size()), records = 2;
  std::memcpy(octets_.data() + 48, &total, 4);
  std::memcpy(octets_.data() + 52, &records, 4);
}

int TMetafile::Width() const {
  const TRect b = LireRect(octets_.data() + 8);
  return b.Right >= b.Left ? static_cast<int>(std::min<int64_t>(int64_t{b.Right} - b.Left + 1, INT32_MAX)) : 0;
}

int TMetafile::Height() const {
  const TRect b = LireRect(octets_.data() + 8);
  return b.Bottom >= b.Top ? static_cast<int>(std::min<int64_t>(int64_t{b.Bottom} - b.Top + 1, INT32_MAX)) : 0;
}

std::unique_ptr<TMetafile> TMetafile::LoadFromStream(TStream& Flux) {
  std::vector<uint8_t> octets(kTailleEntete);
  Flux.ReadBuffer(octets.data(), kTailleEntete);
  const uint32_t total = U32(octets.data() + 48);
  if (total < kTailleEntete || total - kTailleEntete > static_cast<uint64_t>(Flux.Remaining()))
    throw EReadError("Invalid metafile: its size runs past the data");
  octets.resize(total);
  Flux.ReadBuffer(octets.data() + kTailleEntete, total - kTailleEntete);
  return LoadFromBytes(octets.data(), octets.size());
}

std::unique_ptr<TMetafile> TMetafile::LoadFromBytes(const uint8_t* Octets, std::size_t Taille) {
  if (Taille < kTailleEntete || U32(Octets) != EMR_HEADER || U32(Octets + 40) != kSignature)
    throw EReadError("Invalid metafile: no metafile header");
  const uint32_t tailleEntete = U32(Octets + 4), total = U32(Octets + 48);
  if (tailleEntete < kTailleEntete || tailleEntete % 4 || tailleEntete > Taille || total < tailleEntete || total > Taille ||
      total % 4)
    throw EReadError("Invalid metafile: bad header sizes");
  const uint32_t handles = U32(Octets + 56) & 0xFFFF;
  bool valide = true;
  if (!Parcourir(Octets, total, [&](const TEnregistrement& E) { return valide = EnregistrementValide(E, handles); }) ||
      !valide)
    throw EReadError("Invalid metafile: bad record");
  std::unique_ptr<TMetafile> m(new TMetafile());
  m->octets_.assign(Octets, Octets + total);
  return m;
}

void TMetafile::Enumerer(const std::function<bool(const TEnregistrement&)>& Visiteur) const {
  (void)Parcourir(octets_.data(), octets_.size(), Visiteur);
}

namespace {

// One object of the played metafile's handle table.
struct TObjet {
  enum { Aucun, Plume, Brosse, Police } Sorte = Aucun;
  TPen P;
  TBrush B;
  TFont F;
};

// The state of the played context that saving and restoring keep.
struct TContexte {
  TPen Plume;
  TBrush Brosse;
  TFont Police;
  TColor CouleurTexte = Couleurs::clBlack, CouleurFond = Couleurs::clWhite;
  int ModeFond = 2;
  uint32_t Alignement = 0;
  TPoint Position;
  std::optional<TRect> Clip;  // in page coordinates
};

TObjet ObjetStock(uint32_t n) {
  TObjet o;
  const TColor gris[] = {Couleurs::clWhite, Couleurs::RGB(192, 192, 192), Couleurs::RGB(128, 128, 128),
                         Couleurs::RGB(64, 64, 64), Couleurs::clBlack};
  if (n <= 4) o.Sorte = TObjet::Brosse, o.B.Color = gris[n];
  else if (n == 5) o.Sorte = TObjet::Brosse, o.B.Style = TBrushStyle::bsClear;
  else if (n == 6 || n == 7) o.Sorte = TObjet::Plume, o.P.Color = n == 6 ? Couleurs::clWhite : Couleurs::clBlack;
  else if (n == 8) o.Sorte = TObjet::Plume, o.P.Style = TPenStyle::psClear;
  else if (n >= 10) o.Sorte = TObjet::Police;
  return o;
}

}  // namespace

void TMetafile::Jouer(TCanvas& Cible, const TRect& R) const {
  const int largeur = Width(), hauteur = Height();
  if (largeur <= 0 || hauteur <= 0 || R.Vide()) return;
  const TRect bornes = LireRect(octets_.data() + 8);
  const double sx = static_cast<double>(R.Width()) / largeur, sy = static_cast<double>(R.Height()) / hauteur;
  // Played coordinates stay far from the limits of int, so that the canvas may still add its origin.
  auto arrondi = [](double v) { return static_cast<int>(std::clamp(std::nearbyint(v), -1e9, 1e9)); };
  auto X = [&](double x) { return arrondi(R.Left + (x - bornes.Left) * sx); };
  auto Y = [&](double y) { return arrondi(R.Top + (y - bornes.Top) * sy); };
  auto Rect = [&](const TRect& r) { return TRect{X(r.Left), Y(r.Top), X(r.Right), Y(r.Bottom)}; };
  // A rectangle given by its corner and its size, the sum taken without overflow.
  auto RectTaille = [&](const uint8_t* p) {
    const double l = I32(p), t = I32(p + 4);
    return TRect{X(l), Y(t), X(l + I32(p + 8)), Y(t + I32(p + 12))};
  };

  TSauvegardeCanvas sauvegarde(Cible);
  const TPoint positionAppelant = Cible.PenPos;
  const std::optional<TRect> clipAppelant = Cible.Clip() ? std::optional<TRect>(*Cible.Clip()) : std::nullopt;
  const TPoint origine = Cible.Origine;
  auto appliquerClip = [&](const std::optional<TRect>& Clip) {
    std::optional<TRect> c = clipAppelant;
    if (Clip) {
      const TRect d = Rect(*Clip).Decale(origine.X, origine.Y);
      c = c ? Intersection(*c, d) : d;
    }
    if (c) Cible.DefinirClip(c->Decale(-origine.X, -origine.Y));
    else Cible.LibererClip();
  };

  const uint32_t handles = U32(octets_.data() + 56) & 0xFFFF;
  std::vector<TObjet> objets(handles);
  TContexte dc;
  std::vector<TContexte> pile;
  auto echelleTrait = [&](int w) { return w <= 0 ? w : std::max(1, arrondi(w * sx)); };
  auto plumeBrosse = [&] {
    Cible.Pen = dc.Plume;
    Cible.Pen.Width = echelleTrait(dc.Plume.Width);
    Cible.Brush = dc.Brosse;
  };

  Enumerer([&](const TEnregistrement& E) {
    if (!EnregistrementValide(E, handles)) return true;
    const uint8_t* r = E.Octets;
    switch (E.Type) {
      case EMR_SETBKMODE: dc.ModeFond = static_cast<int>(U32(r + 8)); break;
      case EMR_SETTEXTALIGN: dc.Alignement = U32(r + 8); break;
      case EMR_SETTEXTCOLOR: dc.CouleurTexte = Couleur(r + 8); break;
      case EMR_SETBKCOLOR: dc.CouleurFond = Couleur(r + 8); break;
      case EMR_MOVETOEX: dc.Position = {I32(r + 8), I32(r + 12)}; break;
      case EMR_LINETO: {
        const TPoint a{I32(r + 8), I32(r + 12)};
        plumeBrosse();
        Cible.MoveTo(X(dc.Position.X), Y(dc.Position.Y));
        Cible.LineTo(X(a.X), Y(a.Y));
        dc.Position = a;
        break;
      }
      case EMR_SAVEDC: pile.push_back(dc); break;
      case EMR_RESTOREDC: {
        const int32_t n = I32(r + 8);
        // Negative: relative to the last save; positive: the n-th save counted from the first.
        const int64_t niveau = n < 0 ? static_cast<int64_t>(pile.size()) + n : int64_t{n} - 1;
        if (niveau < 0 || niveau >= static_cast<int64_t>(pile.size())) break;
        const std::optional<TRect> clip = dc.Clip;
        dc = pile[static_cast<std::size_t>(niveau)];
        pile.resize(static_cast<std::size_t>(niveau));
        if (dc.Clip != clip) appliquerClip(dc.Clip);
        break;
      }
      case EMR_CREATEPEN: {
        TObjet& o = objets[U32(r + 8)];
        o = TObjet{};
        o.Sorte = TObjet::Plume;
        const uint32_t style = U32(r + 12) & 0xF;
        o.P.Style = style == 5                    ? TPenStyle::psClear
                    : style == 1                  ? TPenStyle::psDash
                    : (style >= 2 && style <= 4)  ? TPenStyle::psDot
                                                  : TPenStyle::psSolid;
        o.P.Width = std::clamp(I32(r + 16), 0, 1000);
        o.P.Color = Couleur(r + 24);
        break;
      }
      case EMR_CREATEBRUSHINDIRECT: {
        TObjet& o = objets[U32(r + 8)];
        o = TObjet{};
        o.Sorte = TObjet::Brosse;
        o.B.Style = U32(r + 12) == 1 ? TBrushStyle::bsClear : TBrushStyle::bsSolid;
        o.B.Color = Couleur(r + 16);
        break;
      }
      case EMR_EXTCREATEFONTINDIRECTW: {
        TObjet& o = objets[U32(r + 8)];
        o = TObjet{};
        o.Sorte = TObjet::Police;
        const uint8_t* lf = r + 12;
        const int32_t h = I32(lf);
        o.F.Height = h == INT32_MIN ? kHauteurPoliceMax : std::min(std::abs(h), kHauteurPoliceMax);
        o.F.Style = static_cast<uint8_t>((I32(lf + 16) >= 600 ? fsBold : 0) | (lf[20] ? fsItalic : 0) |
                                         (lf[21] ? fsUnderline : 0) | (lf[22] ? fsStrikeOut : 0));
        std::u16string nom = TexteLarge(lf + 28, 32);
        nom.resize(std::min(nom.find(u'\0'), nom.size()));
        o.F.Name = ChaineUnicode::DepuisUnicode(nom, ChaineUnicode::CP_WINDOWS_1252);
        break;
      }
      case EMR_SELECTOBJECT: {
        const uint32_t h = U32(r + 8);
        const TObjet o = (h & kStock) ? ObjetStock(h & ~kStock) : objets[h];
        if (o.Sorte == TObjet::Plume) dc.Plume = o.P;
        else if (o.Sorte == TObjet::Brosse) dc.Brosse = o.B;
        else if (o.Sorte == TObjet::Police) dc.Police = o.F;
        break;
      }
      case EMR_DELETEOBJECT: objets[U32(r + 8)] = TObjet{}; break;
      case EMR_RECTANGLE: plumeBrosse(), Cible.Rectangle(Rect(LireRect(r + 8))); break;
      case EMR_ELLIPSE: plumeBrosse(), Cible.Ellipse(Rect(LireRect(r + 8))); break;
      case EMR_ROUNDRECT:
        plumeBrosse();
        Cible.RoundRect(Rect(LireRect(r + 8)), arrondi(I32(r + 24) * sx), arrondi(I32(r + 28) * sy));
        break;
      case EMR_SETPIXELV: Cible.SetPixel(X(I32(r + 8)), Y(I32(r + 12)), Couleur(r + 16)); break;
      case EMR_BITBLT:
        // Only the pattern fill without a source: a rectangle filled with the brush.
        if (U32(r + 40) == kPatCopy && U32(r + 88) == 0) {
          plumeBrosse();
          Cible.FillRect(RectTaille(r + 24));
        }
        break;
      case EMR_FRAMERGN: {
        TRect b;
        (void)LireRegion(r + 40, U32(r + 24), b);
        const TObjet& o = objets[U32(r + 28)];
        plumeBrosse();
        if (o.Sorte == TObjet::Brosse) Cible.Brush = o.B;
        Cible.FrameRect(Rect(b));
        break;
      }
      case EMR_STRETCHDIBITS: {
        TBitmap image;
        (void)LireImage(r, E.Taille, &image);
        const double l = I32(r + 24), t = I32(r + 28);
        Cible.StretchDraw({X(l), Y(t), X(l + I32(r + 72)), Y(t + I32(r + 76))}, image);
        break;
      }
      case EMR_EXTSELECTCLIPRGN: {
        TRect b;
        if (U32(r + 8) == 0) dc.Clip.reset();
        else if (LireRegion(r + 16, U32(r + 8), b)) dc.Clip = b;
        appliquerClip(dc.Clip);
        break;
      }
      case EMR_INTERSECTCLIPRECT: {
        const TRect b = LireRect(r + 8);
        dc.Clip = dc.Clip ? Intersection(*dc.Clip, b) : b;
        appliquerClip(dc.Clip);
        break;
      }
      case EMR_EXTTEXTOUTA: case EMR_EXTTEXTOUTW: {
        std::string texte;
        (void)TexteEnregistrement(E, texte);
        Cible.Font = dc.Police;
        Cible.Font.Color = dc.CouleurTexte;
        Cible.Font.Height = std::clamp(arrondi(dc.Police.Height * sy), 1, kHauteurPoliceMax);
        Cible.Brush = dc.ModeFond == 1 ? TBrush{dc.CouleurFond, TBrushStyle::bsClear} : TBrush{dc.CouleurFond, TBrushStyle::bsSolid};
        int x = X(I32(r + 36)), y = Y(I32(r + 40));
        const int largeurTexte = MetriquesTexte::Largeur(Cible.Font, texte);
        if ((dc.Alignement & 6) == 6) x = arrondi(x - largeurTexte / 2.0);
        else if (dc.Alignement & 2) x = arrondi(static_cast<double>(x) - largeurTexte);
        if ((dc.Alignement & 24) == 24) y -= MetriquesTexte::Ascendante(Cible.Font);
        else if (dc.Alignement & 8) y -= MetriquesTexte::Hauteur(Cible.Font);
        Cible.TextOut(x, y, texte);
        break;
      }
      default: break;
    }
    return true;
  });
  Cible.PenPos = positionAppelant;
}

// --- TMetafileCanvas ----------------------------------------------------------------------------

TMetafileCanvas::TMetafileCanvas(TMetafile& Page) : page_(Page) {
  // Everything but the end record of the page is kept; recording continues after it.
  std::size_t fin = 0;
  Page.Enumerer([&](const TEnregistrement& E) {
    if (E.Type == EMR_EOF) return false;
    fin = static_cast<std::size_t>(E.Octets - Page.octets_.data()) + E.Taille;
    ++nombre_;
    return true;
  });
  corps_.assign(Page.octets_.begin(), Page.octets_.begin() + static_cast<std::ptrdiff_t>(fin));
}

TMetafileCanvas::~TMetafileCanvas() { Fermer(); }

void TMetafileCanvas::Fermer() {
  if (ferme_) return;
  ferme_ = true;
  TEcrivain fin(EMR_EOF);
  Ajouter(fin.U32(0).U32(0x10).U32(20).Fin());
  const uint32_t total = static_cast<uint32_t>(corps_.size());
  std::memcpy(corps_.data() + 48, &total, 4);
  std::memcpy(corps_.data() + 52, &nombre_, 4);
  const uint16_t handles = static_cast<uint16_t>(std::max<uint32_t>(U32(corps_.data() + 56) & 0xFFFF, kEmplacements));
  std::memcpy(corps_.data() + 56, &handles, 2);
  page_.octets_ = std::move(corps_);
}

void TMetafileCanvas::Ajouter(const std::vector<uint8_t>& Enregistrement) {
  if (ferme_ && Enregistrement.size() >= 4 && U32(Enregistrement.data()) != EMR_EOF) return;
  corps_.insert(corps_.end(), Enregistrement.begin(), Enregistrement.end());
  ++nombre_;
}

namespace {
std::vector<uint8_t> Choisir(uint32_t Type, uint32_t Handle) { return TEcrivain(Type).U32(Handle).Fin(); }
}  // namespace

void TMetafileCanvas::Plume() {
  if (ferme_) return;
  if (plumeChoisie_ && Pen.Color == plume_.Color && Pen.Width == plume_.Width && Pen.Style == plume_.Style) return;
  const uint32_t ancien = slotPlume_, nouveau = slotPlume_ == 1 ? 2 : 1;
  const uint32_t style = Pen.Style == TPenStyle::psClear  ? 5
                         : Pen.Style == TPenStyle::psDot  ? 2
                         : Pen.Style == TPenStyle::psDash ? 1
                                                          : 0;
  Ajouter(TEcrivain(EMR_CREATEPEN).U32(nouveau).U32(style).I32(Pen.Width).I32(0).U32(Couleurs::CouleurRGB(Pen.Color)).Fin());
  Ajouter(Choisir(EMR_SELECTOBJECT, nouveau));
  if (plumeChoisie_) Ajouter(Choisir(EMR_DELETEOBJECT, ancien));
  slotPlume_ = nouveau, plume_ = Pen, plumeChoisie_ = true;
}

void TMetafileCanvas::Brosse() {
  if (ferme_) return;
  if (brosseChoisie_ && Brush.Color == brosse_.Color && Brush.Style == brosse_.Style) return;
  const uint32_t ancien = slotBrosse_, nouveau = slotBrosse_ == 3 ? 4 : 3;
  Ajouter(TEcrivain(EMR_CREATEBRUSHINDIRECT)
              .U32(nouveau).U32(Brush.Style == TBrushStyle::bsClear ? 1 : 0).U32(Couleurs::CouleurRGB(Brush.Color)).U32(0)
              .Fin());
  Ajouter(Choisir(EMR_SELECTOBJECT, nouveau));
  if (brosseChoisie_) Ajouter(Choisir(EMR_DELETEOBJECT, ancien));
  slotBrosse_ = nouveau, brosse_ = Brush, brosseChoisie_ = true;
}

void TMetafileCanvas::Police() {
  if (ferme_) return;
  if (!policeChoisie_ || Font.Name != police_.Name || Font.Height != police_.Height || Font.Style != police_.Style) {
    const uint32_t ancien = slotPolice_, nouveau = slotPolice_ == 5 ? 6 : 5;
    TEcrivain e(EMR_EXTCREATEFONTINDIRECTW);
    e.U32(nouveau).I32(-Font.Height).I32(0).I32(0).I32(0).I32(Font.Gras() ? 700 : 400);
    e.U8(Font.Style & fsItalic ? 1 : 0).U8(Font.Style & fsUnderline ? 1 : 0).U8(Font.Style & fsStrikeOut ? 1 : 0);
    e.U8(1 /* default charset */).U8(0).U8(0).U8(0).U8(0);
    std::u16string nom = ChaineUnicode::VersUnicode(Font.Name, ChaineUnicode::CP_WINDOWS_1252);
    nom.resize(31);
    nom.push_back(u'\0');
    for (char16_t c : nom) e.U16(static_cast<uint16_t>(c));
    Ajouter(e.Fin());
    Ajouter(Choisir(EMR_SELECTOBJECT, nouveau));
    if (policeChoisie_) Ajouter(Choisir(EMR_DELETEOBJECT, ancien));
    slotPolice_ = nouveau, policeChoisie_ = true;
  }
  police_ = Font;
  const TColor couleur = Couleurs::CouleurRGB(Font.Color);
  if (couleur != couleurTexte_) {
    Ajouter(TEcrivain(EMR_SETTEXTCOLOR).U32(couleur).Fin());
    couleurTexte_ = couleur;
  }
}

void TMetafileCanvas::FondTexte() {
  if (ferme_) return;
  const int mode = Brush.Style == TBrushStyle::bsClear ? 1 : 2;
  if (mode != modeFond_) {
    Ajouter(TEcrivain(EMR_SETBKMODE).U32(static_cast<uint32_t>(mode)).Fin());
    modeFond_ = mode;
  }
  const TColor fond = Couleurs::CouleurRGB(Brush.Color);
  if (fond != couleurFond_) {
    Ajouter(TEcrivain(EMR_SETBKCOLOR).U32(fond).Fin());
    couleurFond_ = fond;
  }
}

void TMetafileCanvas::DoFillRect(const TRect& R) {
  Brosse();
  TEcrivain e(EMR_BITBLT);
  e.Rect(R).I32(R.Left).I32(R.Top).I32(R.Width()).I32(R.Height()).U32(kPatCopy).I32(0).I32(0);
  for (float f : {1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f}) {
    uint32_t u;
    std::memcpy(&u, &f, 4);
    e.U32(u);
  }
  Ajouter(e.U32(0).U32(0).U32(0).U32(0).U32(0).U32(0).Fin());
}

void TMetafileCanvas::DoFrameRect(const TRect& R) {
  Brosse();
  Ajouter(TEcrivain(EMR_FRAMERGN).Rect(R).U32(48).U32(slotBrosse_).I32(1).I32(1)
              .U32(32).U32(1).U32(1).U32(16).Rect(R).Rect(R).Fin());
}

void TMetafileCanvas::DoRectangle(const TRect& R) {
  Plume(), Brosse();
  Ajouter(TEcrivain(EMR_RECTANGLE).Rect(R).Fin());
}

void TMetafileCanvas::DoEllipse(const TRect& R) {
  Plume(), Brosse();
  Ajouter(TEcrivain(EMR_ELLIPSE).Rect(R).Fin());
}

void TMetafileCanvas::DoRoundRect(const TRect& R, int LargeurCoin, int HauteurCoin) {
  Plume(), Brosse();
  Ajouter(TEcrivain(EMR_ROUNDRECT).Rect(R).I32(LargeurCoin).I32(HauteurCoin).Fin());
}

void TMetafileCanvas::DoLine(TPoint De, TPoint A) {
  Plume();
  if (!(De == position_)) Ajouter(TEcrivain(EMR_MOVETOEX).I32(De.X).I32(De.Y).Fin());
  Ajouter(TEcrivain(EMR_LINETO).I32(A.X).I32(A.Y).Fin());
  position_ = A;
}

void TMetafileCanvas::DoPixel(TPoint P, TColor Couleur) {
  Ajouter(TEcrivain(EMR_SETPIXELV).I32(P.X).I32(P.Y).U32(Couleurs::CouleurRGB(Couleur)).Fin());
}

void TMetafileCanvas::DoTextOut(TPoint P, const std::string& Texte) {
  Police();
  FondTexte();
  const std::u16string large = ChaineUnicode::VersUnicode(Texte, ChaineUnicode::CP_WINDOWS_1252);
  const uint32_t n = static_cast<uint32_t>(large.size());
  const uint32_t offDx = kTailleTexteFixe + ((n * 2 + 3) & ~3u);
  const TRect boite = Bornes(P.X, P.Y, MetriquesTexte::Largeur(Font, Texte), MetriquesTexte::Hauteur(Font));
  TEcrivain e(EMR_EXTTEXTOUTW);
  e.Rect(boite).U32(1).U32(0).U32(0);
  e.I32(P.X).I32(P.Y).U32(n).U32(kTailleTexteFixe).U32(0).Rect({0, 0, -1, -1}).U32(offDx);
  for (char16_t c : large) e.U16(static_cast<uint16_t>(c));
  e.Aligner();
  // The advance of each character, as the platform records it.
  for (std::size_t i = 0; i < n; ++i)
    e.I32(MetriquesTexte::Avance(Font, i < Texte.size() ? static_cast<unsigned char>(Texte[i]) : ' '));
  Ajouter(e.Fin());
}

void TMetafileCanvas::DoDraw(const TRect& R, const TBitmap& Image) {
  const uint32_t pas = static_cast<uint32_t>(Image.Width) * 4, bits = pas * static_cast<uint32_t>(Image.Height);
  TEcrivain e(EMR_STRETCHDIBITS);
  e.Rect(R).I32(R.Left).I32(R.Top).I32(0).I32(0).I32(Image.Width).I32(Image.Height);
  e.U32(80).U32(40).U32(120).U32(bits).U32(0).U32(kSrcCopy).I32(R.Width()).I32(R.Height());
  e.U32(40).I32(Image.Width).I32(Image.Height).U16(1).U16(32).U32(0).U32(bits).U32(0).U32(0).U32(0).U32(0);
  for (int y = Image.Height - 1; y >= 0; --y)
    for (int x = 0; x < Image.Width; ++x) {
      const TColor c = Couleurs::CouleurRGB(Image.Pixel(x, y));
      e.U8(static_cast<uint8_t>(Couleurs::Bleu(c))).U8(static_cast<uint8_t>(Couleurs::Vert(c)))
          .U8(static_cast<uint8_t>(Couleurs::Rouge(c))).U8(0);
    }
  Ajouter(e.Fin());
}

void TMetafileCanvas::DoClip(const TRect* R) {
  if (!R) {
    Ajouter(TEcrivain(EMR_EXTSELECTCLIPRGN).U32(0).U32(kRgnCopy).Fin());
    return;
  }
  Ajouter(TEcrivain(EMR_EXTSELECTCLIPRGN).U32(48).U32(kRgnCopy).U32(32).U32(1).U32(1).U32(16).Rect(*R).Rect(*R).Fin());
}

}  // namespace Metafichier
