// A record of every file filled with values its file accepts, for the tests and the fuzz seeds.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>

#include "base/fichiers/FichierSup.h"

// Writes a value into every stored field of a file's current record, after ViderArticle: references
// to record 1 of their file (every file before it in base order then holds one), small numbers that
// fit their stored width, texts that fill part of their capacity, kinds that name an existing file.
// A resource is a teacher, whose kind stores every field. `Graine` varies the values.
inline int32_t DecalageDuChamp(const TFichierSup& f, const char* Nom) {
  for (const TypeChampFichier& c : f.Description().Champs)
    if (std::string(c.Nom) == Nom) return c.Decalage;
  return 0;
}

inline void RemplirArticle(TFichierSup& f, int32_t Graine) {
  uint8_t* e = f.Enregistrement();
  const std::string extension = f.Description().Extension;
  if (extension == ".LIE" || extension == ".RCM") e[4] = 1;  // a place's country, a relation's curriculum
  if (extension == ".RCM") e[8] = 1;                         // and its module
  int32_t i = 0;
  for (const TypeChampFichier& c : f.Description().Champs) {
    ++i;
    if (c.Stocke < 0) continue;
    uint8_t* champ = e + c.Decalage;
    const uint32_t valeur = static_cast<uint32_t>(Graine * 100 + i);
    switch (c.Sorte) {
      case TypeSorteChamp::Chaine:
        FichierSup::EcrireChaineCourte(champ, c.Taille - 1, "F" + std::to_string(Graine) + "-" + std::to_string(i));
        break;
      case TypeSorteChamp::Reference:
      case TypeSorteChamp::Booleen:
        champ[0] = 1;
        break;
      case TypeSorteChamp::Octet:
        champ[0] = 2;  // a diploma, a module: a kind every file knows
        break;
      case TypeSorteChamp::Reel: {
        const double v = valeur + 0.25;
        std::memcpy(champ, &v, 8);
        break;
      }
      default:
        for (int32_t k = 0; k < std::min(c.Taille, c.LargeurStockee()); ++k)
          champ[k] = static_cast<uint8_t>(valeur + k);
    }
  }
  // A resource-subject relation of a teacher: the kind of the resource it names.
  if (extension == ".RRM") e[DecalageDuChamp(f, "Genre")] = 0;
  // A student's coded value: 13 bytes, 0x00 and 0xFF among them, then the 14th character 0.
  if (extension == ".ELE") {
    uint8_t* codee = e + DecalageDuChamp(f, "ValeurCodee");
    std::memset(codee, 0, 17);
    codee[0] = 14;
    for (int32_t k = 1; k <= 13; ++k) codee[k] = static_cast<uint8_t>(k % 3 == 0 ? 0x00 : k % 3 == 1 ? 0xFF : Graine + k);
  }
  if (extension == ".RES") {
    for (const TypeChampFichier& c : f.Description().Champs) {
      const std::string nom = c.Nom;
      if (nom == "Genre" || nom == "HorsDecompte") e[c.Decalage] = 0;  // a teacher, counted
      if (nom == "MotA" || nom == "MotB") e[c.Decalage] = 1;          // civility and status
      if (nom == "MotC" || nom.rfind("Quota", 0) == 0 || nom.rfind("MaxT1", 0) == 0 || nom == "NombreMois")
        e[c.Decalage] = static_cast<uint8_t>(i++);
    }
  }
}
