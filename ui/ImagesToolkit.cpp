#include "ui/ImagesToolkit.h"

#include <string>

#include "platform/ressources/ModuleRessources.h"

namespace ImagesToolkit {

void Initialiser() {
  for (const TImageIntegree& i : Images()) {
    const TImageIntegree* image = &i;
    ModuleRessources::DefinirRessourceProgramme(i.Nom, [image] {
      return std::string(reinterpret_cast<const char*>(image->Octets), image->Taille);
    });
  }
}

void Finaliser() {
  for (const TImageIntegree& i : Images()) ModuleRessources::DefinirRessourceProgramme(i.Nom, nullptr);
}

}  // namespace ImagesToolkit
