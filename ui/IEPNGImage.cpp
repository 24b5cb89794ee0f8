#include "ui/IEPNGImage.h"

#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstring>

#include "core/values/Format.h"
#include "platform/gui/Images.h"

namespace IEPNGImage {
namespace {

uint16_t Lire16(std::string_view o, size_t p) {
  return static_cast<uint16_t>(static_cast<uint8_t>(o[p]) | static_cast<uint8_t>(o[p + 1]) << 8);
}
uint32_t Lire32(std::string_view o, size_t p) { return Lire16(o, p) | static_cast<uint32_t>(Lire16(o, p + 2)) << 16; }
uint8_t Octet(std::string_view o, size_t p) { return static_cast<uint8_t>(o[p]); }

// A device-independent bitmap: its header at 0 of Dib, its pixels at Bits (or after the header and
// the palette when Bits is 0). In an icon the height counts the picture and its mask, and the mask
// (one bit per pixel, set where the picture is transparent) follows the pixels.
bool DecoderDib(std::string_view Dib, size_t Bits, bool Icone, TBitmap& Image) {
  if (Dib.size() < 40) return false;
  const uint32_t tailleEntete = Lire32(Dib, 0);
  if (tailleEntete < 40 || tailleEntete > Dib.size()) return false;
  const auto largeur = static_cast<int32_t>(Lire32(Dib, 4));
  auto hauteur = static_cast<int32_t>(Lire32(Dib, 8));
  const uint16_t bits = Lire16(Dib, 14);
  const uint32_t compression = Lire32(Dib, 16);
  uint32_t couleurs = Lire32(Dib, 32);
  const bool basEnHaut = hauteur > 0 || Icone;
  if (hauteur == INT32_MIN || largeur <= 0 || hauteur == 0) return false;
  hauteur = hauteur < 0 ? -hauteur : hauteur;
  if (Icone) hauteur /= 2;
  if (largeur > kCoteMaximal || hauteur <= 0 || hauteur > kCoteMaximal) return false;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return false;
  // Uncompressed only; 32-bit pixels with masks are read as blue, green, red, alpha.
  if (compression != 0 && !(compression == 3 && bits == 32)) return false;
  size_t position = tailleEntete + (compression == 3 && tailleEntete == 40 ? 12 : 0);
  std::vector<TColor> palette;
  if (bits <= 8) {
    if (couleurs == 0 || couleurs > (1u << bits)) couleurs = 1u << bits;
    if (position + 4ull * couleurs > Dib.size()) return false;
    for (uint32_t i = 0; i < couleurs; ++i, position += 4)
      palette.push_back(Couleurs::RGB(Octet(Dib, position + 2), Octet(Dib, position + 1), Octet(Dib, position)));
  }
  if (Bits != 0) position = Bits;
  const uint64_t pas = (static_cast<uint64_t>(largeur) * bits + 31) / 32 * 4;
  const uint64_t pasMasque = (static_cast<uint64_t>(largeur) + 31) / 32 * 4;
  const uint64_t besoin = pas * hauteur + (Icone ? pasMasque * hauteur : 0);
  if (position > Dib.size() || besoin > Dib.size() - position) return false;
  Image.Redimensionner(largeur, hauteur);
  bool alpha = false;
  for (int32_t y = 0; y < hauteur; ++y) {
    const size_t ligne = position + static_cast<size_t>(pas) * y;
    const int32_t yImage = basEnHaut ? hauteur - 1 - y : y;
    for (int32_t x = 0; x < largeur; ++x) {
      TColor c;
      if (bits >= 24) {
        const size_t p = ligne + static_cast<size_t>(x) * (bits / 8);
        c = Couleurs::RGB(Octet(Dib, p + 2), Octet(Dib, p + 1), Octet(Dib, p));
        if (bits == 32 && Icone && Octet(Dib, p + 3) < 128) {
          c = Image.TransparentColor;
          alpha = true;
        }
      } else {
        const size_t bit = static_cast<size_t>(x) * bits;
        const uint8_t o = Octet(Dib, ligne + bit / 8);
        const unsigned indice = (o >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
        c = indice < palette.size() ? palette[indice] : Couleurs::clBlack;
      }
      Image.DefinirPixel(x, yImage, c);
    }
  }
  if (Icone) {
    const size_t masque = position + static_cast<size_t>(pas) * hauteur;
    for (int32_t y = 0; y < hauteur; ++y)
      for (int32_t x = 0; x < largeur; ++x) {
        const uint8_t o = Octet(Dib, masque + static_cast<size_t>(pasMasque) * y + x / 8);
        if (o & (0x80 >> (x % 8))) Image.DefinirPixel(x, hauteur - 1 - y, Image.TransparentColor), alpha = true;
      }
    Image.Transparent = alpha;
  }
  return true;
}

struct ErreurJpeg {
  jpeg_error_mgr mgr;
  std::jmp_buf saut;
};

void SortirErreur(j_common_ptr c) { std::longjmp(reinterpret_cast<ErreurJpeg*>(c->err)->saut, 1); }
void Silence(j_common_ptr, int) {}
void SilenceMessage(j_common_ptr) {}

// The decoding proper, between setjmp and the decoder's end; no object with a destructor lives in
// it. The caller owns the pixels.
bool LireJpeg(jpeg_decompress_struct& d, std::string_view Octets, std::vector<uint8_t>& Pixels, int& L, int& H) {
  jpeg_mem_src(&d, reinterpret_cast<const unsigned char*>(Octets.data()), static_cast<unsigned long>(Octets.size()));
  if (jpeg_read_header(&d, TRUE) != JPEG_HEADER_OK) return false;
  if (d.image_width == 0 || d.image_height == 0 || d.image_width > kCoteMaximal || d.image_height > kCoteMaximal)
    return false;
  d.out_color_space = JCS_RGB;
  jpeg_start_decompress(&d);
  if (d.output_components != 3) return false;
  L = static_cast<int>(d.output_width);
  H = static_cast<int>(d.output_height);
  Pixels.resize(static_cast<size_t>(L) * H * 3);
  while (d.output_scanline < d.output_height) {
    JSAMPROW ligne = Pixels.data() + static_cast<size_t>(d.output_scanline) * L * 3;
    if (jpeg_read_scanlines(&d, &ligne, 1) != 1) return false;
  }
  jpeg_finish_decompress(&d);
  return true;
}

}  // namespace

const char* NomClasse(TClasseImage Classe) {
  switch (Classe) {
    case TClasseImage::Bitmap: return "TBitmap";
    case TClasseImage::Icone: return "TIcon";
    case TClasseImage::PNG: return "TIEPngObject";
    case TClasseImage::JPEG: return "TJPEGImage";
  }
  return "";
}

bool DecoderBitmap(std::string_view Octets, TBitmap& Image) {
  Image.Liberer();
  bool ok;
  if (Octets.size() >= 14 && Octets.substr(0, 2) == "BM") {
    // The file header gives where the pixels are, from the start of the file.
    const uint32_t bits = Lire32(Octets, 10);
    ok = bits >= 14 && DecoderDib(Octets.substr(14), bits - 14, false, Image);
  } else {
    ok = DecoderDib(Octets, 0, false, Image);
  }
  if (!ok) Image.Liberer();
  return ok;
}

bool DecoderIcone(std::string_view Octets, TBitmap& Image) {
  Image.Liberer();
  if (Octets.size() < 6 + 16 || Lire16(Octets, 0) != 0 || Lire16(Octets, 2) != 1 || Lire16(Octets, 4) == 0) return false;
  const uint32_t taille = Lire32(Octets, 6 + 8), debut = Lire32(Octets, 6 + 12);
  if (debut > Octets.size() || taille > Octets.size() - debut) return false;
  const std::string_view donnees = Octets.substr(debut, taille);
  bool ok;
  if (donnees.size() >= 8 && donnees.substr(0, 8) == "\x89PNG\r\n\x1a\n") ok = Images::DecoderPNG(donnees, Image);
  else ok = DecoderDib(donnees, 0, true, Image);
  if (!ok) Image.Liberer();
  return ok;
}

bool DecoderJPEG(std::string_view Octets, TBitmap& Image) {
  Image.Liberer();
  jpeg_decompress_struct d;
  ErreurJpeg erreur;
  d.err = jpeg_std_error(&erreur.mgr);
  erreur.mgr.error_exit = SortirErreur;
  erreur.mgr.emit_message = Silence;
  erreur.mgr.output_message = SilenceMessage;
  std::vector<uint8_t> pixels;
  int l = 0, h = 0;
  bool ok = false;
  jpeg_create_decompress(&d);
  if (setjmp(erreur.saut) == 0) ok = LireJpeg(d, Octets, pixels, l, h);
  jpeg_destroy_decompress(&d);
  if (!ok) return false;
  Image.Redimensionner(l, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < l; ++x) {
      const uint8_t* p = pixels.data() + (static_cast<size_t>(y) * l + x) * 3;
      Image.DefinirPixel(x, y, Couleurs::RGB(p[0], p[1], p[2]));
    }
  return true;
}

bool Decoder(TClasseImage Classe, std::string_view Octets, TBitmap& Image) {
  switch (Classe) {
    case TClasseImage::Bitmap: return DecoderBitmap(Octets, Image);
    case TClasseImage::Icone: return DecoderIcone(Octets, Image);
    case TClasseImage::PNG: return Images::DecoderPNG(Octets, Image);
    case TClasseImage::JPEG: return DecoderJPEG(Octets, Image);
  }
  return false;
}

bool& Daltonien() {
  static bool valeur = false;
  return valeur;
}

std::vector<std::string>& VariantesDaltoniennes() {
  static std::vector<std::string> liste;
  return liste;
}

std::unique_ptr<TGraphique> ChargerImageRessource(TClasseImage Classe, std::string_view Nom) {
  auto graphique = std::make_unique<TGraphique>();
  graphique->Classe = Classe;
  std::string nom(Nom);
  if (Daltonien()) {
    const auto& l = VariantesDaltoniennes();
    if (std::find(l.begin(), l.end(), Format("%s-#%s", {NomClasse(Classe), nom})) != l.end()) nom += "Daltonien";
  }
  std::string octets;
  if (!Images::LireRessource(nom, octets) || !Decoder(Classe, octets, graphique->Image))
    graphique->Image.Redimensionner(2, 2);
  return graphique;
}

}  // namespace IEPNGImage
