// Headings given to records (".RFM"): an assignment gives a record of a family's genre (its element)
// one heading (".SFM") of that family; an element has at most one heading of each family. The file
// of the element follows from the family's genre.
//
// Main thread only.
#pragma once

#include <cstdint>
#include <functional>

#include "base/fichiers/FichierSup.h"

// The in-memory assignment, as the file's declaration lays it out.
struct TypeEnregistrementRelationFamille {
  int32_t Identifiant;
  uint32_t Element;   // record number in the file of the family's genre; 0 for none
  uint32_t Famille;   // record number in ".FMR"
  uint32_t Rubrique;  // record number in ".SFM"
};
static_assert(sizeof(TypeEnregistrementRelationFamille) == 16);

namespace SupRelationFamille {

inline constexpr int32_t kPlace = 21;
inline constexpr uint32_t kTailleStockee = 12;
inline constexpr int32_t kOrdreElement = 1, kOrdreFamilleElement = 2, kOrdreFamilleRubrique = 3,
                         kOrdreIdentifiant = 4;
inline constexpr uint8_t kGenreMatiere = 0, kGenreEleve = 3;
inline constexpr uint32_t kCodeCreerRelationsFamilleParDefaut = 0x80130000, kCodeCreerRelationFamille = 0x80130100,
                          kCodeSupprimerRelationFamille = 0x80130300,
                          kCodeSupprimerRelationsFamilleElementDuGenre = 0x80130302;

TFichierSup& Fichier();
TypeEnregistrementRelationFamille* Article();

// The place in the base order of the file whose records a family of that genre classifies; 0 for a
// genre that names none.
int32_t FichierDuGenre(uint8_t Genre);

// Steps that other files take when the headings of subjects change. The occupancy of the subject's
// courses does not exist yet: nothing is done until the unit that builds it installs its step.
struct TypeEtapesRelationFamille {
  std::function<void(uint32_t Matiere)> MatiereModifiee;
};
TypeEtapesRelationFamille& Etapes();

// --- Housekeeping
void ViderArticle();
bool CreerTable();
void LibererTable();
void EmpilerPosition();
void DepilerPosition();
// The file's search routine: order 4.
bool ChercherParIdentifiant(int32_t Identifiant);
int32_t InscrireFichier();
bool ContenuParDefaut();

// --- Walks: Routine is called with the assignment current until it answers non-zero; that answer,
// else 0. The assignments are those of the start of the walk.
// The assignments of the current record of the genre's file in families of that genre, the heading
// and the family made current.
int32_t PourChaqueRubriqueDeLElementDuGenre(uint8_t Genre, const std::function<int32_t()>& Routine);
// The assignments of the current family.
int32_t PourChaqueRelationDeLaFamilleCourante(const std::function<int32_t()>& Routine);
// The assignments of the current heading.
int32_t PourChaqueRelationDeLaRubriqueCourante(const std::function<int32_t()>& Routine);

// --- Requests (no right is tested)
// Through the server: the request; locally nothing.
bool CreerRelationsFamilleParDefaut();
// Gives an element (record number in the file of the heading's family's genre) a heading (record
// number in ".SFM"). False, nothing sent, when the heading or the element does not exist or the
// element already has a heading of that family. Through the server the new assignment is current.
// The heading table's position is kept.
bool CreerRelationFamille(uint32_t Rubrique, uint32_t Element);
// Deletes the current assignment. Always False: it is a walk routine, and True would stop the walk.
bool SupprimerRelationFamille();
// Removes the element's assignment in that family when there is one. Always False; position kept.
bool EnleverRubriqueDeLElement(uint32_t Famille, uint32_t Element);
// Removes every heading that the element (a record number of the genre's file) has in families of
// that genre.
void SupprimerRelationsFamilleElementDuGenre(uint32_t Element, uint8_t Genre);

}  // namespace SupRelationFamille
