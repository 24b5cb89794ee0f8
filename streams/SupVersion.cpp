#include "streams/SupVersion.h"

#include <algorithm>

#include "objectdb/Traduction.h"

namespace SupVersion {

void InitialiserVersion(TypeVersion& Version) {
  Version.Nom = "TEMPRAVO";
  Version.Majeur = 5;
  Version.Mineur = 0;
  Version.Release = 6;
  Version.Build = 1;
}

namespace {

std::string MotDuGenre(int32_t Genre) {
  switch (Genre == 0 ? 6 : Genre) {
    case 2: return " " + Traduction::Traduire("SupVersionControleur") + " ";
    case 3: return " " + Traduction::Traduire("SupVersionServeur") + " ";
    case 4: return " " + Traduction::Traduire("SupVersionClient") + " ";
    case 5: return Traduction::Traduire("SupVersionNet") + " ";
    case 6: return " " + Traduction::Traduire("SupVersionServiceWeb") + " ";
    default: return {};
  }
}

}  // namespace

void TexteVersion(const TypeVersion& Version, int32_t NombreParties, bool AvecGenre, int32_t Genre, bool AvecNom,
                  std::string& Texte) {
  std::string texte = AvecNom ? Version.Nom : std::string();
  texte += AvecGenre ? MotDuGenre(Genre) : " ";
  if (NombreParties >= 1) {
    if (Version.Majeur == 4)
      texte += "2006";
    else if (Version.Majeur == 5)
      texte += "2007";
    else {
      texte += std::to_string(Version.Majeur);
      NombreParties = std::max(NombreParties, 2);
    }
  }
  if (NombreParties >= 2) texte += (Version.Majeur < 4 ? "." : " - ") + std::to_string(Version.Mineur);
  if (NombreParties >= 3) texte += "." + std::to_string(Version.Release);
  if (NombreParties >= 4) texte += "." + std::to_string(Version.Build);
  Texte = std::move(texte);
}

}  // namespace SupVersion
