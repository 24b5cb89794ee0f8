// Subject relations (".RLM"): subjects linked in pairs. Every subject is related to itself from its
// creation, and a relation between two different subjects is held in both directions. The placement
// engine asks whether two subjects are related. Main thread only.
#pragma once

#include <cstdint>
#include <functional>

#include "base/fichiers/FichierSup.h"

struct TypeEnregistrementRelationMatieres {
  int32_t Identifiant;
  uint32_t Premiere;  // record numbers in ".MAT"
  uint32_t Seconde;
};
static_assert(sizeof(TypeEnregistrementRelationMatieres) == 12);

namespace SupRelationMatieres {

inline constexpr int32_t kPlace = 13;
inline constexpr uint32_t kTailleStockee = 8;
inline constexpr int32_t kOrdrePremiere = 1, kOrdreSeconde = 2, kOrdreIdentifiant = 3;
inline constexpr uint32_t kCodeCreerParDefaut = 0x800F0000, kCodeCreerRelation = 0x800F0100,
                          kCodeSupprimerRelation = 0x800F0300, kCodeSupprimerRelationsDeMatiere = 0x800F0302;

TFichierSup& Fichier();
TypeEnregistrementRelationMatieres* Article();

// --- Housekeeping
void ViderArticle();
bool CreerTable();
void LibererTable();
void EmpilerPosition();
void DepilerPosition();
bool ChercherParIdentifiant(int32_t Identifiant);
int32_t InscrireFichier();
// Default contents: the request alone; there are no default relations.
bool CreerRelationsMatieresParDefaut();

// --- Requests
// Relates two subjects (record numbers): (A, B), and (B, A) when they differ. Through the server
// both subjects must exist and the new relation is current on acceptance; locally True when every
// insertion succeeded (a relation that exists already is not inserted again). Subject position kept.
bool CreerRelationMatieres(uint32_t MatiereA, uint32_t MatiereB);
// Deletes the current relation. Locally the result is False, as the request has always answered.
bool SupprimerRelationMatieres();
// Deletes every relation in which the subject appears, in either place, its relation with itself
// among them. Subject position kept.
bool SupprimerRelationsMatieresDeMatiere(uint32_t Matiere);

// --- Reads
// True when the relation (A, B) exists; a subject with itself counts only while that subject has no
// maximum of hours per day. The relation position is kept.
bool RelationMatieresExiste(uint32_t MatiereA, uint32_t MatiereB);
// Calls Routine with each relation of the current subject current (first those where it is the
// first subject, then those where it is the second) until one answers non-zero; that answer, else 0.
int32_t PourChaqueRelationDeLaMatiereCourante(const std::function<int32_t()>& Routine);

}  // namespace SupRelationMatieres
