// The byte enumerations of the object database's core (the state of an index, its uniqueness rule,
// what deleting a referenced article does to the articles that designate it) and the texts that
// traces give them and the column sets of indexes.
#pragma once

#include <array>
#include <cstdint>
#include <string>

enum TypeEtatIndex : uint8_t { EI_Valide = 0, EI_EnChargement = 1, EI_Detruite = 2 };
enum TypeRegleUnicite : uint8_t { ruiSansRegle = 0, ruiCleUnique = 1, ruiCleUniqueSiNonNulle = 2 };
enum TypeRegleSuppressionReference : uint8_t {
  RSR_Suppression = 0,
  RSR_SuppressionInterdite = 1,
  RSR_ValeurParDefaut = 2,
};

// A set of numbers 0 to 255: bit n of byte n div 8 holds element n.
using TypeEnsembleOctets = std::array<uint8_t, 32>;

// The texts of the database core's types (class methods only). A value outside its enumeration
// gives "Inconnu".
class TChaineType {
 public:
  TChaineType() = delete;

  static void TexteEtatIndex(uint8_t Etat, std::string& Texte);
  static void TexteRegleUnicite(uint8_t Regle, std::string& Texte);
  static void TexteRegleSuppressionReference(uint8_t Regle, std::string& Texte);
  // "[" + the members in increasing order separated by ",", each run of two or more consecutive
  // members written "first..last", + "]": {0, 1, 2, 5, 7, 8} gives [0..2,5,7..8].
  static void TexteEnsemble(const TypeEnsembleOctets& Ensemble, std::string& Texte);
};
