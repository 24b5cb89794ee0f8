#include "platform/gui/Images.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

#include "platform/ressources/ModuleRessources.h"

namespace Images {
namespace {

constexpr png_uint_32 kCoteMaximal = 4096;

struct Lecture {
  std::string_view octets;
  size_t position = 0;
};

void Lire(png_structp png, png_bytep destination, png_size_t longueur) {
  auto* l = static_cast<Lecture*>(png_get_io_ptr(png));
  if (longueur > l->octets.size() - l->position) png_error(png, "truncated");
  std::memcpy(destination, l->octets.data() + l->position, longueur);
  l->position += longueur;
}

void Avertir(png_structp, png_const_charp) {}

// The decoding proper; the caller clears the picture on failure. No object with a destructor
// lives in this frame across the setjmp: the buffers belong to the caller.
bool Decoder(Lecture& l, TBitmap& Image, std::vector<unsigned char>& pixels, std::vector<png_bytep>& lignes) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, Avertir);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_read_fn(png, &l, Lire);
  png_set_user_limits(png, kCoteMaximal, kCoteMaximal);
  png_read_info(png, info);
  const png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != static_cast<size_t>(w) * 4) png_error(png, "unexpected layout");
  pixels.assign(static_cast<size_t>(w) * h * 4, 0);
  lignes.assign(h, nullptr);
  for (png_uint_32 y = 0; y < h; ++y) lignes[y] = pixels.data() + static_cast<size_t>(y) * w * 4;
  png_read_image(png, lignes.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  Image.Redimensionner(static_cast<int>(w), static_cast<int>(h));
  for (size_t i = 0; i < static_cast<size_t>(w) * h; ++i) {
    const unsigned char* p = &pixels[i * 4];
    const int a = p[3];
    if (a < 128) {
      // Mostly transparent: the picture's transparent colour.
      Image.Pixels[i] = Image.TransparentColor;
      Image.Transparent = true;
      continue;
    }
    // Over white.
    auto sur = [a](int c) { return (c * a + 255 * (255 - a) + 127) / 255; };
    Image.Pixels[i] = Couleurs::RGB(sur(p[0]), sur(p[1]), sur(p[2]));
  }
  return true;
}

}  // namespace

bool DecoderPNG(std::string_view Octets, TBitmap& Image) {
  Image.Liberer();
  Lecture l{Octets, 0};
  // Kept out of the frame that libpng may leave by longjmp.
  std::vector<unsigned char> pixels;
  std::vector<png_bytep> lignes;
  if (Octets.size() < 8 || png_sig_cmp(reinterpret_cast<png_const_bytep>(Octets.data()), 0, 8) != 0) return false;
  if (!Decoder(l, Image, pixels, lignes)) {
    Image.Liberer();
    return false;
  }
  return true;
}

bool LireRessource(std::string_view Nom, std::string& Contenu) {
  const TypeHandleModule programme = ModuleRessources::ModuleProgramme();
  const TypeHandleModule langue = ModuleRessources::ModuleDeRessources(programme);
  if (langue != ModuleRessources::kAucunModule && ModuleRessources::LireRessource(langue, Nom, Contenu)) return true;
  return ModuleRessources::LireRessource(programme, Nom, Contenu);
}

TBitmap ImageParNom(std::string_view Nom) {
  TBitmap image;
  std::string octets;
  if (LireRessource(Nom, octets)) (void)DecoderPNG(octets, image);
  return image;
}

}  // namespace Images
