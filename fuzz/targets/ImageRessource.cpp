// Pictures of each class (bitmap, icon, PNG, JPEG), decoded straight from the bytes or loaded by
// name from a module file installed as the resource module. Input: one byte chooses the class (low
// two bits) and the way (bit 2: a module file whose resource "IMAGE" is loaded), the rest is read.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "platform/ressources/ModuleRessources.h"
#include "ui/IEPNGImage.h"

namespace {

void Verifier(const TBitmap& Image) {
  Fuzz::Verifier(Image.Width > 0 && Image.Height > 0 && Image.Width <= IEPNGImage::kCoteMaximal &&
                     Image.Height <= IEPNGImage::kCoteMaximal,
                 "a picture has a size within the limits");
  Fuzz::Verifier(Image.Pixels.size() == static_cast<size_t>(Image.Width) * Image.Height, "every pixel is there");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  Fuzz::TOctets octets(Data, Size);
  const uint8_t choix = octets.Octet();
  const auto classe = static_cast<TClasseImage>(choix & 3);
  const std::string reste(octets.Reste());
  if (!(choix & 4)) {
    TBitmap image;
    if (IEPNGImage::Decoder(classe, reste, image)) Verifier(image);
    else Fuzz::Verifier(image.Vide(), "a picture that does not decode is empty");
    return 0;
  }
  static const std::string chemin =
      (std::filesystem::temp_directory_path() / ("nv-fuzz-classe-" + std::to_string(::getpid()) + ".lng")).string();
  std::ofstream(chemin, std::ios::binary | std::ios::trunc) << reste;
  const TypeHandleModule module = ModuleRessources::ChargerFichier(chemin);
  std::filesystem::remove(chemin);
  if (module == ModuleRessources::kAucunModule) return 0;
  const TypeHandleModule programme = ModuleRessources::ModuleProgramme();
  ModuleRessources::DefinirModuleDeRessources(programme, module);
  const auto graphique = IEPNGImage::ChargerImageRessource(classe, "IMAGE");
  Fuzz::Verifier(graphique->Classe == classe, "the graphic is of the class asked for");
  Verifier(graphique->Image);
  ModuleRessources::DefinirModuleDeRessources(programme, ModuleRessources::kAucunModule);
  Fuzz::Verifier(ModuleRessources::Liberer(module), "a loaded module is freed");
  return 0;
}
