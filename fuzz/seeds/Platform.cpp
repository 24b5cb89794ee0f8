// Seeds of the platform layer's readers: the settings store's hive file, the custom colours, the
// pictures (straight and in a module file).
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/seeds/Semences.h"
#include "platform/gui/Metafichier.h"
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

// A page with every kind of record the metafile canvas writes.
Octets PageMetafichier() {
  Metafichier::TMetafile page(400, 300);
  {
    Metafichier::TMetafileCanvas c(page);
    c.Brush.Color = Couleurs::clSilver;
    c.FillRect({0, 0, 400, 300});
    c.FrameRect({1, 1, 399, 299});
    c.Pen.Width = 3;
    c.Rectangle({10, 10, 100, 60});
    c.Ellipse({110, 10, 200, 60});
    c.RoundRect({210, 10, 300, 60}, 10, 10);
    c.MoveTo(0, 70);
    c.LineTo(400, 70);
    c.SetPixel(5, 5, Couleurs::clRed);
    c.DefinirClip({0, 80, 400, 200});
    c.Font.Name = "Arial";
    c.Font.Style = fsBold;
    c.TextOut(10, 90, "\xC9l\xE8ve");
    c.Brush.Style = TBrushStyle::bsClear;
    c.TextOut(10, 120, "Page 1");
    c.LibererClip();
    TBitmap image;
    image.Redimensionner(2, 2, Couleurs::clBlue);
    c.Draw(300, 250, image);
  }
  return page.Octets();
}

void SemencesMetafichier() {
  Ecrire("Metafichier", "page", PageMetafichier());
  Ecrire("Metafichier", "vide", Metafichier::TMetafile(10, 10).Octets());
}

}  // namespace

void Platform() {
  SemencesMetafichier();
  SemencesRuche();
  SemencesCouleurs();
  SemencesImages();
}

}  // namespace Semences
