#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include <string>
#include <vector>

#include "platform/ressources/ModuleRessources.h"
#include "ui/IEPNGImage.h"

namespace {

void Mot16(std::string& s, uint16_t v) { s += static_cast<char>(v & 0xFF), s += static_cast<char>(v >> 8); }
void Mot32(std::string& s, uint32_t v) { Mot16(s, v & 0xFFFF), Mot16(s, static_cast<uint16_t>(v >> 16)); }

// The 40-byte header of a device-independent bitmap.
std::string EnteteDib(int32_t Largeur, int32_t Hauteur, uint16_t Bits, uint32_t Couleurs = 0) {
  std::string s;
  Mot32(s, 40), Mot32(s, static_cast<uint32_t>(Largeur)), Mot32(s, static_cast<uint32_t>(Hauteur));
  Mot16(s, 1), Mot16(s, Bits), Mot32(s, 0), Mot32(s, 0), Mot32(s, 0), Mot32(s, 0), Mot32(s, Couleurs), Mot32(s, 0);
  return s;
}

// A 2 x 2 bitmap file, bottom-up: blue and green on the lower row, red and white on the upper.
std::string Bmp24() {
  std::string pixels;
  pixels += std::string("\xFF\x00\x00\x00\xFF\x00", 6) + std::string(2, '\0');  // BGR blue, green + padding
  pixels += std::string("\x00\x00\xFF\xFF\xFF\xFF", 6) + std::string(2, '\0');  // red, white
  std::string s = "BM";
  Mot32(s, 14 + 40 + static_cast<uint32_t>(pixels.size())), Mot32(s, 0), Mot32(s, 14 + 40);
  return s + EnteteDib(2, 2, 24) + pixels;
}

// A 3 x 1 top-down 8-bit bitmap without file header, palette black and yellow.
std::string Dib8() {
  std::string s = EnteteDib(3, -1, 8, 2);
  s += std::string("\x00\x00\x00\x00\x00\xFF\xFF\x00", 8);
  s += std::string("\x01\x00\x01\x00", 4);
  return s;
}

// An icon of 2 x 2, 24-bit, whose upper-left pixel the mask makes transparent.
std::string Ico() {
  std::string dib = EnteteDib(2, 4, 24);
  dib += std::string(6, '\x40') + std::string(2, '\0') + std::string(6, '\x40') + std::string(2, '\0');
  dib += std::string("\x00\x00\x00\x00", 4);  // lower row of the mask: opaque
  dib += std::string("\x80\x00\x00\x00", 4);  // upper row: the first pixel transparent
  std::string s;
  Mot16(s, 0), Mot16(s, 1), Mot16(s, 1);
  s += std::string("\x02\x02\x00\x00", 4), Mot16(s, 1), Mot16(s, 24), Mot32(s, static_cast<uint32_t>(dib.size())),
      Mot32(s, 22);
  return s + dib;
}

// A JPEG of 16 x 8 pixels in one colour.
std::string Jpeg(uint8_t R, uint8_t G, uint8_t B) {
  jpeg_compress_struct c;
  jpeg_error_mgr e;
  c.err = jpeg_std_error(&e);
  jpeg_create_compress(&c);
  unsigned char* sortie = nullptr;
  unsigned long taille = 0;
  jpeg_mem_dest(&c, &sortie, &taille);
  c.image_width = 16, c.image_height = 8, c.input_components = 3, c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 95, TRUE);
  jpeg_start_compress(&c, TRUE);
  std::vector<unsigned char> ligne;
  for (int i = 0; i < 16; ++i) ligne.insert(ligne.end(), {R, G, B});
  while (c.next_scanline < c.image_height) {
    JSAMPROW r = ligne.data();
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::string s(reinterpret_cast<char*>(sortie), taille);
  std::free(sortie);
  return s;
}

bool Proche(TColor a, TColor b) {
  return std::abs(Couleurs::Rouge(a) - Couleurs::Rouge(b)) < 8 && std::abs(Couleurs::Vert(a) - Couleurs::Vert(b)) < 8 &&
         std::abs(Couleurs::Bleu(a) - Couleurs::Bleu(b)) < 8;
}

// Resources of the program for the test's life.
class ImagesParClasse : public ::testing::Test {
 protected:
  void Ressource(const std::string& Nom, std::string Octets) {
    ModuleRessources::DefinirRessourceProgramme(Nom, [Octets] { return Octets; });
    noms.push_back(Nom);
  }
  void TearDown() override {
    for (const auto& n : noms) ModuleRessources::DefinirRessourceProgramme(n, nullptr);
    IEPNGImage::Daltonien() = false;
    IEPNGImage::VariantesDaltoniennes().clear();
  }
  std::vector<std::string> noms;
};

TEST_F(ImagesParClasse, EachClassLoadsItsPictureFromTheResources) {
  Ressource("ESSAIBMP", Bmp24());
  Ressource("ESSAIDIB", Dib8());
  Ressource("ESSAIICO", Ico());
  Ressource("ESSAIJPG", Jpeg(200, 40, 40));
  using IEPNGImage::ChargerImageRessource;

  auto bmp = ChargerImageRessource(TClasseImage::Bitmap, "ESSAIBMP");
  ASSERT_EQ(bmp->Width(), 2);
  EXPECT_EQ(bmp->Image.Pixel(0, 0), Couleurs::clRed);
  EXPECT_EQ(bmp->Image.Pixel(1, 0), Couleurs::clWhite);
  EXPECT_EQ(bmp->Image.Pixel(0, 1), Couleurs::clBlue);
  EXPECT_EQ(bmp->Image.Pixel(1, 1), Couleurs::RGB(0, 255, 0));

  auto dib = ChargerImageRessource(TClasseImage::Bitmap, "ESSAIDIB");
  ASSERT_EQ(dib->Width(), 3);
  ASSERT_EQ(dib->Height(), 1);
  EXPECT_EQ(dib->Image.Pixel(0, 0), Couleurs::clYellow);
  EXPECT_EQ(dib->Image.Pixel(1, 0), Couleurs::clBlack);

  auto ico = ChargerImageRessource(TClasseImage::Icone, "ESSAIICO");
  EXPECT_EQ(ico->Classe, TClasseImage::Icone);
  ASSERT_EQ(ico->Width(), 2);
  ASSERT_EQ(ico->Height(), 2);
  EXPECT_TRUE(ico->Image.Transparent);
  EXPECT_EQ(ico->Image.Pixel(0, 0), ico->Image.TransparentColor);
  EXPECT_EQ(ico->Image.Pixel(1, 1), 0x404040);

  auto png = ChargerImageRessource(TClasseImage::PNG, "PATIENCE2");  // a picture of the toolkit
  EXPECT_EQ(png->Width(), 38);
  EXPECT_EQ(png->Height(), 32);

  auto jpg = ChargerImageRessource(TClasseImage::JPEG, "ESSAIJPG");
  ASSERT_EQ(jpg->Width(), 16);
  ASSERT_EQ(jpg->Height(), 8);
  EXPECT_TRUE(Proche(jpg->Image.Pixel(5, 5), Couleurs::RGB(200, 40, 40)));
}

TEST_F(ImagesParClasse, AMissingUndecodableOrOversizedPictureIsTwoByTwo) {
  std::string geante = EnteteDib(8193, 1, 24);
  geante += std::string(8193 * 3 + 1, '\0');
  Ressource("GEANTE", geante);
  Ressource("TRONQUEE", Jpeg(1, 2, 3).substr(0, 40));
  Ressource("COURTE", Bmp24().substr(0, 60));
  const struct {
    TClasseImage classe;
    const char* nom;
  } cas[] = {{TClasseImage::JPEG, "ABSENTE"}, {TClasseImage::PNG, "ABSENTE"}, {TClasseImage::Bitmap, "GEANTE"},
             {TClasseImage::JPEG, "TRONQUEE"}, {TClasseImage::Bitmap, "COURTE"},  {TClasseImage::Icone, "COURTE"},
             {TClasseImage::PNG, "COURTE"}};
  for (const auto& c : cas) {
    auto g = IEPNGImage::ChargerImageRessource(c.classe, c.nom);
    EXPECT_EQ(g->Width(), 2) << c.nom;
    EXPECT_EQ(g->Height(), 2) << c.nom;
    EXPECT_EQ(g->Classe, c.classe);
  }
  // A bitmap of exactly 8192 pixels across is read.
  std::string large = EnteteDib(8192, 1, 24) + std::string(8192 * 3, '\0');
  TBitmap image;
  EXPECT_TRUE(IEPNGImage::DecoderBitmap(large, image));
  EXPECT_EQ(image.Width, 8192);
}

TEST_F(ImagesParClasse, TheColourBlindVariantIsLoadedOnlyWhenSwitchedOnAndListed) {
  Ressource("ESSAI", Bmp24());
  Ressource("ESSAIDaltonien", Dib8());
  IEPNGImage::VariantesDaltoniennes().push_back("TBitmap-#ESSAI");
  EXPECT_EQ(IEPNGImage::ChargerImageRessource(TClasseImage::Bitmap, "ESSAI")->Width(), 2);
  IEPNGImage::Daltonien() = true;
  EXPECT_EQ(IEPNGImage::ChargerImageRessource(TClasseImage::Bitmap, "ESSAI")->Width(), 3);
  EXPECT_EQ(IEPNGImage::ChargerImageRessource(TClasseImage::JPEG, "ESSAI")->Width(), 2);  // not listed for JPEG
}

}  // namespace
