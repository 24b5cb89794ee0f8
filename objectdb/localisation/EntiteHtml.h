// Named HTML entities and decimal character references: a table of entities (its content is the
// caller's), searched by code and by name, and the conversions between the two forms of a text.
// Only decimal references ("&#233;") are read and written. Every malformed entity raises
// EConvertError with one of the unit's resource strings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/values/ChaineRessource.h"

struct TypeEntreeEntiteHtml {
  uint32_t Code = 0;  // the UTF-16 code unit
  std::string Nom;    // the whole entity, "&" to ";" (at most 255 characters)
};

// Entries with an index by code and one by name. Codes compare as unsigned numbers, names byte by
// byte (case included, a shorter name before a longer one with the same beginning).
struct TypeTableEntitesHtml {
  std::vector<TypeEntreeEntiteHtml> Entrees;
  std::vector<int32_t> IndexParCode;
  std::vector<int32_t> IndexParNom;
  // When set, a search by code stops at the first equal entry it meets.
  bool PremiereCorrespondance = false;
  // The name given for a code without entry.
  std::string NomParDefaut;

  // A table of these entries with both indexes sorted.
  static TypeTableEntitesHtml Construire(std::vector<TypeEntreeEntiteHtml> Entrees);

  int32_t Nombre() const;
  // Bisection over an index; True when found; Position is the match (the leftmost equal one) or the
  // insertion point.
  bool ChercherCode(uint32_t Code, int32_t& Position) const;
  bool ChercherNom(std::string_view Nom, int32_t& Position) const;
  // The name of a code, or NomParDefaut.
  std::string NomEntite(uint32_t Code) const;
  bool CodeEntite(std::string_view Nom, uint32_t& Code) const;
};

namespace EntiteHtml {

extern const TChaineRessource RS_EntiteHtmlNonTerminee_SD;
extern const TChaineRessource RS_EntiteHtmlHorsBorne_SSD;
extern const TChaineRessource RS_EntiteHtmlInconnue_S;

// Every named entity replaced by its decimal reference (a reference stays as written).
std::string EntitesNommeesVersNumeriques(const TypeTableEntitesHtml& Table, std::string_view Texte);
// Every decimal reference that the table names replaced by its name.
std::string EntitesNumeriquesVersNommees(const TypeTableEntitesHtml& Table, std::string_view Texte);
std::u16string EntitesNumeriquesVersNommeesUnicode(const TypeTableEntitesHtml& Table, std::u16string_view Texte);

// Registers the unit's resource strings.
void Initialiser();

}  // namespace EntiteHtml
