// Seeds of the platform layer's readers: the settings store's hive file, the custom colours, the
// pictures (straight and in a module file).
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/seeds/Semences.h"
#include "platform/registry/HiveFile.h"
#include "platform/ressources/FormatModule.h"
#include "platform/ui/Traces.h"
#include "ui/ImagesToolkit.h"

namespace Semences {
namespace {

void SemencesRuche() {
  HiveFile::THive ruche;
  ruche.Create("Software\\Norvane\\Tempravo\\Service web").Values["PORTIP"] = {"PortIp", {HiveFile::kKindNumber, {}, 8080}};
  auto& connexion = ruche.Create("Software\\Norvane\\Tempravo\\Service web\\Connexion");
  for (const char* nom : {"Derniere Sauvegarde", "Adresse IP du Serveur", "Port TCP du Serveur"})
    connexion.Values[HiveFile::Fold(nom)] = {nom, {HiveFile::kKindText, "10/12/2026 14:30:05", 0}};
  ruche.Create("Software\\Norvane\\TEMPRAVO\\5.0\\Session").Values["NOMBREBASESMEMORISEES"] = {
      "NombreBasesMemorisees", {HiveFile::kKindText, "5", 0}};
  Ecrire("Ruche", "ruche", Texte(HiveFile::Serialise(ruche)));
  Ecrire("Ruche", "vide", Texte(HiveFile::Serialise({})));
}

void SemencesCouleurs() {
  Traces::TCouleursPersonnalisees c{};
  for (size_t i = 0; i < c.size(); ++i) c[i] = static_cast<int32_t>(i * 0x111111);
  c[15] = -1;
  std::string lignes;
  for (const std::string& l : Traces::EcrireCouleursPersonnalisees(c)) lignes += l + "\n";
  Ecrire("CouleursPersonnalisees", "seize", Texte(lignes));
  Ecrire("CouleursPersonnalisees", "melange", Texte("colorc=FF0000\nColorD=\nColorE=xyz\nColorF=123456789\nColorA=$1"));
}

void SemencesImages() {
  std::vector<FormatModule::TypeRessource> ressources;
  for (const auto& i : ImagesToolkit::Images()) {
    const std::string png(reinterpret_cast<const char*>(i.Octets), i.Taille);
    Ecrire("ImageModule", std::string("png-") + i.Nom, Octets{0} + Texte(png));
    ressources.emplace_back(i.Nom, png);
  }
  Ecrire("ImageModule", "module", Octets{1} + Texte(FormatModule::Ecrire(ressources)));
}

}  // namespace

void Platform() {
  SemencesRuche();
  SemencesCouleurs();
  SemencesImages();
}

}  // namespace Semences
