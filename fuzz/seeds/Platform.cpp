// Seeds of the platform layer's readers: the settings store's hive file.
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/seeds/Semences.h"
#include "platform/registry/HiveFile.h"

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

}  // namespace

void Platform() {
  SemencesRuche();
}

}  // namespace Semences
