// A record file declared by a field table: its in-memory record as a list of fields (the in-memory
// offsets follow from their order, each field aligned on its natural boundary), where each field sits
// in the current stored record, and its orders by field name. The declaration gives the file's
// description with the generic converters of the current layout: counted strings cut to their
// capacity, numbers widened or narrowed to their stored width, Booleans read as 0 or 1, references
// turned between record numbers in memory and identifiers (or permanent numbers) stored.
#pragma once

#include <cstdint>
#include <vector>

#include "base/fichiers/FichierSup.h"

// One column of an order: a field by name; its comparison follows the field's kind unless given.
struct TypeCleDeclaree {
  TypeCleDeclaree(const char* Champ, TypeComparaison Comparaison = nullptr) : Champ(Champ), Comparaison(Comparaison) {}
  const char* Champ;
  TypeComparaison Comparaison;
};

struct TypeOrdreDeclare {
  bool Unique;
  std::vector<TypeCleDeclaree> Colonnes;
};

struct TypeDeclarationFichier {
  const char* Unite;
  const char* Extension;
  uint8_t CodeTable;
  int32_t Place;
  uint32_t TailleStockee;  // of the current layout
  bool Verifie;
  std::vector<TypeChampFichier> Champs;  // the identifier first
  std::vector<TypeOrdreDeclare> Ordres;
  // The file's own converters where the generic ones are not enough (they may call them); nil: generic.
  TypeLireStocke Lire = nullptr;
  TypeEcrireStocke Ecrire = nullptr;
  // Default values that depend on the base (after the fields' own); may be nil.
  void (*Defauts)(uint8_t* Enregistrement) = nullptr;
  // The older stored layouts, oldest first, each with its version limit and its own reader.
  std::vector<TypeDispositionStockee> Anciennes = {};
};

namespace Champ {

TypeChampFichier Identifiant();
TypeChampFichier Entier(const char* Nom, int32_t Stocke = -1);
TypeChampFichier Cardinal(const char* Nom, int32_t Stocke = -1);
TypeChampFichier Octet(const char* Nom, int32_t Stocke = -1);
TypeChampFichier Booleen(const char* Nom, int32_t Stocke = -1);
TypeChampFichier Reel(const char* Nom, int32_t Stocke = -1);
TypeChampFichier Octets(const char* Nom, int32_t Taille, int32_t Stocke = -1);
TypeChampFichier Semaines(const char* Nom, int32_t Stocke = -1);  // a week set, 7 bytes
TypeChampFichier Chaine(const char* Nom, int32_t Capacite, int32_t Stocke = -1);
TypeChampFichier Reference(const char* Nom, int32_t Cible, int32_t Stocke,
                           TypeSiAbsente SiAbsente = TypeSiAbsente::Refuser, int32_t OrdreCible = 0);
// A reference whose file the record itself tells (converted after the other fields).
TypeChampFichier ReferenceSelon(const char* Nom, int32_t (*CibleDe)(const uint8_t*), int32_t Stocke);

}  // namespace Champ

// A byte column sorted from the highest value down.
TypeCleDeclaree Decroissant(const char* Champ);

namespace DeclarationFichier {

// The description of a declared file. A column naming no field keeps a nil comparison and offset -1,
// which the file's orders then show.
TypeDescriptionFichier Decrire(const TypeDeclarationFichier& Declaration);

// The field of that name, nil when none.
const TypeChampFichier* ChampNomme(const TypeDescriptionFichier& Description, const char* Nom);

// The converters of the current layout, through the file's field table.
bool LireChamps(TFichierSup& Fichier, const uint8_t* Stocke, TypeGenreModif Genre);
bool EcrireChamps(TFichierSup& Fichier, uint8_t* Stocke);

// A stored reference of a field turned into a record number by its rule; False refuses the record.
bool NumeroReference(const TypeChampFichier& Champ, int32_t Cible, uint32_t Stocke, uint32_t& Numero);
// What a record number of a field is stored as: the referenced record's identifier (or key), 0 for none.
uint32_t ValeurReference(const TypeChampFichier& Champ, int32_t Cible, uint32_t Numero);

}  // namespace DeclarationFichier
