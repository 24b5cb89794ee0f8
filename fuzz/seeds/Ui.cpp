// Seeds of the toolkit's readers: pictures of each class, straight and as the resource "IMAGE" of a
// module file.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/seeds/Semences.h"
#include "platform/ressources/FormatModule.h"
#include "ui/ImagesToolkit.h"

namespace Semences {
namespace {

void Mot16(std::string& s, uint16_t v) { s += static_cast<char>(v & 0xFF), s += static_cast<char>(v >> 8); }
void Mot32(std::string& s, uint32_t v) { Mot16(s, v & 0xFFFF), Mot16(s, static_cast<uint16_t>(v >> 16)); }

std::string EnteteDib(int32_t Largeur, int32_t Hauteur, uint16_t Bits, uint32_t Couleurs) {
  std::string s;
  Mot32(s, 40), Mot32(s, static_cast<uint32_t>(Largeur)), Mot32(s, static_cast<uint32_t>(Hauteur));
  Mot16(s, 1), Mot16(s, Bits), Mot32(s, 0), Mot32(s, 0), Mot32(s, 0), Mot32(s, 0), Mot32(s, Couleurs), Mot32(s, 0);
  return s;
}

std::string Bmp24() {
  const std::string pixels = std::string("\xFF\x00\x00\x00\xFF\x00\x00\x00\x00\x00\xFF\xFF\xFF\xFF\x00\x00", 16);
  std::string s = "BM";
  Mot32(s, 14 + 40 + 16), Mot32(s, 0), Mot32(s, 14 + 40);
  return s + EnteteDib(2, 2, 24, 0) + pixels;
}

std::string Dib(uint16_t Bits) {
  std::string s = EnteteDib(5, -2, Bits, 2) + std::string("\x00\x00\x00\x00\x00\xFF\xFF\x00", 8);
  s += std::string(8, '\x55');
  return s;
}

std::string Ico(const std::string& Image) {
  std::string s;
  Mot16(s, 0), Mot16(s, 1), Mot16(s, 1);
  s += std::string("\x02\x02\x00\x00", 4), Mot16(s, 1), Mot16(s, 32), Mot32(s, static_cast<uint32_t>(Image.size())),
      Mot32(s, 22);
  return s + Image;
}

std::string Jpeg(J_COLOR_SPACE Espace, int Composantes, bool Progressif) {
  jpeg_compress_struct c;
  jpeg_error_mgr e;
  c.err = jpeg_std_error(&e);
  jpeg_create_compress(&c);
  unsigned char* sortie = nullptr;
  unsigned long taille = 0;
  jpeg_mem_dest(&c, &sortie, &taille);
  c.image_width = 9, c.image_height = 7, c.input_components = Composantes, c.in_color_space = Espace;
  jpeg_set_defaults(&c);
  if (Progressif) jpeg_simple_progression(&c);
  jpeg_start_compress(&c, TRUE);
  std::vector<unsigned char> ligne(9 * static_cast<size_t>(Composantes));
  while (c.next_scanline < c.image_height) {
    for (size_t i = 0; i < ligne.size(); ++i) ligne[i] = static_cast<unsigned char>(i * 17 + c.next_scanline * 31);
    JSAMPROW r = ligne.data();
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::string s(reinterpret_cast<char*>(sortie), taille);
  std::free(sortie);
  return s;
}

}  // namespace

void Ui() {
  const auto& png0 = ImagesToolkit::Images()[0];
  const std::string png(reinterpret_cast<const char*>(png0.Octets), png0.Taille);
  std::string dib32 = EnteteDib(2, 4, 32, 0) + std::string(16, '\x80') + std::string(8, '\0');
  const struct {
    uint8_t classe;
    const char* nom;
    std::string octets;
  } images[] = {{0, "bmp24", Bmp24()},
                {0, "dib1", Dib(1)},
                {0, "dib4", Dib(4)},
                {0, "dib8", Dib(8)},
                {1, "ico-dib", Ico(dib32)},
                {1, "ico-png", Ico(png)},
                {2, "png", png},
                {3, "jpeg-rgb", Jpeg(JCS_RGB, 3, false)},
                {3, "jpeg-gris", Jpeg(JCS_GRAYSCALE, 1, false)},
                {3, "jpeg-progressif", Jpeg(JCS_RGB, 3, true)}};
  for (const auto& i : images) {
    Ecrire("ImageRessource", i.nom, Octets{i.classe} + Texte(i.octets));
    const std::string module = FormatModule::Ecrire({{"IMAGE", i.octets}});
    Ecrire("ImageRessource", std::string("module-") + i.nom, Octets{static_cast<uint8_t>(i.classe | 4)} + Texte(module));
  }
}

}  // namespace Semences
