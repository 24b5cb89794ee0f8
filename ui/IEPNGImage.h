// Pictures of a given class loaded by name from the resource module: bitmaps (a device-independent
// bitmap, with or without its file header), icons (the first picture of an icon file, a bitmap
// with its mask or a PNG), PNG pictures and JPEG pictures. A picture that is missing, that does not
// decode, or that is larger than 8192 x 8192 pixels gives a 2 x 2 picture, never an error.
// Main thread only.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gui/Graphiques.h"

enum class TClasseImage : uint8_t { Bitmap, Icone, PNG, JPEG };

// A graphic: its class and its pixels.
struct TGraphique {
  TClasseImage Classe = TClasseImage::Bitmap;
  TBitmap Image;
  int Width() const { return Image.Width; }
  int Height() const { return Image.Height; }
};

namespace IEPNGImage {

inline constexpr int kCoteMaximal = 8192;

// The class's name: "TBitmap", "TIcon", "TIEPngObject", "TJPEGImage".
const char* NomClasse(TClasseImage Classe);

// The decoders: false, with Image empty, for bytes that are not a whole picture of their format
// within 8192 x 8192 pixels.
[[nodiscard]] bool DecoderBitmap(std::string_view Octets, TBitmap& Image);
[[nodiscard]] bool DecoderIcone(std::string_view Octets, TBitmap& Image);
[[nodiscard]] bool DecoderJPEG(std::string_view Octets, TBitmap& Image);
// The decoder of a class (PNG pictures up to 4096 x 4096).
[[nodiscard]] bool Decoder(TClasseImage Classe, std::string_view Octets, TBitmap& Image);

// The colour-blind switch and the names of the colour-blind variants ("<class>-#<name>"): when the
// switch is on and the variant of a picture is listed, the resource named after it with
// "Daltonien" appended is loaded instead. The system leaves both as they start (off, none).
bool& Daltonien();
std::vector<std::string>& VariantesDaltoniennes();

// A graphic of the class loaded from the resource Nom; 2 x 2 pixels when it cannot be loaded.
// The caller owns it.
std::unique_ptr<TGraphique> ChargerImageRessource(TClasseImage Classe, std::string_view Nom);

}  // namespace IEPNGImage
