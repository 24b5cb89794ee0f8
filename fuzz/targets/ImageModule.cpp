// Pictures: PNG decoding, straight from the bytes or from a resource of a module file loaded as
// the language module would be. Input: one byte chooses the reader, the rest is its bytes.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "platform/gui/Images.h"
#include "platform/ressources/ModuleRessources.h"

namespace {

void Verifier(const TBitmap& Image, bool Decode) {
  if (!Decode) {
    Fuzz::Verifier(Image.Vide(), "a picture that does not decode is empty");
    return;
  }
  Fuzz::Verifier(Image.Width > 0 && Image.Height > 0 && Image.Width <= 4096 && Image.Height <= 4096,
                 "a decoded picture has a size within the limits");
  Fuzz::Verifier(Image.Pixels.size() == static_cast<size_t>(Image.Width) * Image.Height, "every pixel is there");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  Fuzz::TOctets octets(Data, Size);
  const uint8_t choix = octets.Octet();
  const std::string reste(octets.Reste());
  if (choix % 2 == 0) {
    TBitmap image;
    const bool decode = Images::DecoderPNG(reste, image);
    Verifier(image, decode);
    return 0;
  }
  static const std::string chemin =
      (std::filesystem::temp_directory_path() / ("nv-fuzz-image-" + std::to_string(::getpid()) + ".lng")).string();
  std::ofstream(chemin, std::ios::binary | std::ios::trunc) << reste;
  const TypeHandleModule module = ModuleRessources::ChargerFichier(chemin);
  std::filesystem::remove(chemin);
  if (module == ModuleRessources::kAucunModule) return 0;
  // The module stands as the program's resource module while the pictures are looked up.
  const TypeHandleModule programme = ModuleRessources::ModuleProgramme();
  ModuleRessources::DefinirModuleDeRessources(programme, module);
  for (const char* nom : {"PATIENCE2", "IMAGEINFORMATION"}) {
    std::string contenu;
    TBitmap image;
    const bool decode = Images::LireRessource(nom, contenu) && Images::DecoderPNG(contenu, image);
    Verifier(image, decode);
    Verifier(Images::ImageParNom(nom), decode);
  }
  ModuleRessources::DefinirModuleDeRessources(programme, ModuleRessources::kAucunModule);
  Fuzz::Verifier(ModuleRessources::Liberer(module), "a loaded module is freed");
  return 0;
}
