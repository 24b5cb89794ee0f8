// A program image with debug information, written field by field: the debug-information tests build
// sound and corrupt images from it, and the fuzz seeds of the debug-information parser come from it.
// The fields that corrupt cases overwrite are marked by name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace ImageDebugEssai {

class TOctetsEssai {
 public:
  std::vector<uint8_t> Octets;
  std::map<std::string, std::size_t> Champs;  // where the fields that corrupt cases overwrite are

  std::size_t Taille() const { return Octets.size(); }
  void Marquer(const std::string& Nom) { Champs[Nom] = Octets.size(); }
  void U8(uint8_t v) { Octets.push_back(v); }
  void U16(uint16_t v) { U8(static_cast<uint8_t>(v)), U8(static_cast<uint8_t>(v >> 8)); }
  void U32(uint32_t v) { U16(static_cast<uint16_t>(v)), U16(static_cast<uint16_t>(v >> 16)); }
  void Texte(const std::string& s) { Octets.insert(Octets.end(), s.begin(), s.end()); }
  void Zeros(std::size_t n) { Octets.insert(Octets.end(), n, 0); }
  void Poser16(std::size_t pos, uint16_t v) {
    Octets.at(pos) = static_cast<uint8_t>(v);
    Octets.at(pos + 1) = static_cast<uint8_t>(v >> 8);
  }
  void Poser32(std::size_t pos, uint32_t v) {
    Poser16(pos, static_cast<uint16_t>(v));
    Poser16(pos + 2, static_cast<uint16_t>(v >> 16));
  }
  void Ajouter(const TOctetsEssai& autre) {
    for (const auto& [nom, pos] : autre.Champs) Champs[nom] = Octets.size() + pos;
    Octets.insert(Octets.end(), autre.Octets.begin(), autre.Octets.end());
  }
};

// Names 1..7.
inline const std::vector<std::string> kNoms = {
    "Principal.Executer", "Compteur", "Tampon", "I", "Outils.Aider", "C:\\src\\Principal.pas", "lib/Outils.pas"};

inline TOctetsEssai SousSectionNoms() {
  TOctetsEssai s;
  s.Marquer("nombre de noms");
  s.U32(static_cast<uint32_t>(kNoms.size()));
  for (const auto& nom : kNoms) {
    s.Marquer("longueur du dernier nom");
    s.U8(static_cast<uint8_t>(nom.size()));
    s.Texte(nom);
    s.U8(0);
  }
  return s;
}

// A procedure record: 2 + 42 bytes, code length at +16, code offset at +28, name index at +40.
inline void Procedure(TOctetsEssai& s, uint16_t genre, uint32_t debut, uint32_t longueur, int32_t nom) {
  const std::size_t r = s.Taille();
  s.U16(42);
  s.U16(genre);
  s.Zeros(40);
  s.Poser32(r + 16, longueur);
  s.Poser32(r + 28, debut);
  s.Poser32(r + 40, static_cast<uint32_t>(nom));
}

inline TOctetsEssai SousSectionSymboles() {
  TOctetsEssai s;
  s.U32(1);  // signature
  s.Marquer("premiere procedure");
  Procedure(s, 0x0205, 0x1000, 0x100, 1);
  // Frame-relative variables: offset at +4, name index at +12.
  for (auto [decalage, nom] : {std::pair{-4, 2}, std::pair{-48, 3}}) {
    s.U16(14), s.U16(0x0200), s.U32(static_cast<uint32_t>(decalage)), s.U32(0), s.U32(static_cast<uint32_t>(nom));
  }
  // A register variable: register at +8, name index at +10.
  s.U16(12), s.U16(0x0002), s.U32(0), s.U16(3), s.U32(4);
  s.U16(6), s.U16(0x0001), s.U32(0xDEADBEEF);  // a kind the reader skips
  Procedure(s, 0x0204, 0x1800, 0x10, 0);        // without a name: skipped
  Procedure(s, 0x0204, 0x2000, 0x80, 5);
  s.U16(0);                                     // end of the records
  s.U16(0xFFFF), s.U16(0x0205);                 // bytes after the end are never read as records
  return s;
}

// Three files: Principal.pas (4 lines), one without a name, Outils.pas (2 lines).
inline TOctetsEssai SousSectionModuleSource() {
  TOctetsEssai s;
  s.Marquer("nombre de fichiers");
  s.U16(3), s.U16(0);
  const std::size_t offsets = s.Taille();
  s.Zeros(12);
  auto fichier = [&](int indice, int32_t nom, std::vector<std::pair<uint32_t, uint16_t>> paires,
                     const std::string& marque) {
    s.Poser32(offsets + 4 * indice, static_cast<uint32_t>(s.Taille()));
    s.U16(1), s.U32(static_cast<uint32_t>(nom));
    const std::size_t table = s.Taille();
    s.Marquer("table de " + marque);
    s.U32(0);
    s.Poser32(table, static_cast<uint32_t>(s.Taille()));
    s.U16(1);
    s.Marquer("paires de " + marque);
    s.U16(static_cast<uint16_t>(paires.size()));
    for (auto [adresse, ligne] : paires) s.U32(adresse);
    for (auto [adresse, ligne] : paires) s.U16(ligne);
    // A further line table of the same file, which the reader ignores.
    s.U16(1), s.U16(1), s.U32(0x9000), s.U16(999);
  };
  fichier(0, 6, {{0x1000, 10}, {0x1008, 11}, {0x1020, 12}, {0x1100, 13}}, "Principal");
  fichier(1, 0, {{0x1800, 1}, {0x1810, 2}}, "sans nom");
  fichier(2, 7, {{0x2000, 5}, {0x2080, 9}}, "Outils");
  return s;
}

// A subsection of a kind the reader does not use.
inline TOctetsEssai Autre() {
  TOctetsEssai s;
  s.Texte("other data");
  return s;
}

// Program bytes, then the debug information: header, subsections, directory, trailer.
inline TOctetsEssai ImageEssai(const std::string& signature = "FB09") {
  TOctetsEssai image;
  image.Texte("\x7F" "program code and data");
  const std::size_t debut = image.Taille();
  image.Texte(signature);
  image.Marquer("repertoire");
  image.U32(0);

  struct Sous { uint16_t genre; TOctetsEssai octets; std::string nom; };
  std::vector<Sous> sous = {{0x125, SousSectionSymboles(), "symboles"},
                            {0x127, SousSectionModuleSource(), "module"},
                            {0x130, SousSectionNoms(), "noms"},
                            {0x120, Autre(), "autre"}};
  std::vector<std::size_t> positions;
  for (auto& s : sous) {
    positions.push_back(image.Taille() - debut);
    image.Ajouter(s.octets);
  }
  image.Poser32(image.Champs["repertoire"], static_cast<uint32_t>(image.Taille() - debut));
  image.Marquer("taille de tete");
  image.U16(16);
  image.Marquer("taille d'entree");
  image.U16(12);
  image.Marquer("nombre d'entrees");
  image.U16(static_cast<uint16_t>(sous.size()));
  image.Zeros(10);
  for (std::size_t i = 0; i < sous.size(); ++i) {
    image.U16(sous[i].genre), image.U16(1);
    image.Marquer("decalage " + sous[i].nom);
    image.U32(static_cast<uint32_t>(positions[i]));
    image.Marquer("taille " + sous[i].nom);
    image.U32(static_cast<uint32_t>(sous[i].octets.Taille()));
  }
  image.Texte("FB0A");
  image.Marquer("distance");
  image.U32(static_cast<uint32_t>(image.Taille() + 4 - debut));
  return image;
}

}  // namespace ImageDebugEssai
