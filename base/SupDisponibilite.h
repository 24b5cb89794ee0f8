// Time slots: spans of places of the week grid for a set of weeks, attached to an owner. Two record
// files hold them with one record and the same stored layouts: the resource time slots (".IRS",
// owner a resource) and the course time slots (".ICR", owner a course). The placement engine reads
// them as unavailabilities.
//
// This unit also keeps the connected user's access mode for the whole base: 1 modification,
// 2 consultation. Both values start at 1; each accepted login updates them. Main thread only.
#pragma once

#include <cstdint>
#include <functional>

#include "base/fichiers/FichierSup.h"
#include "core/values/DomaineHebdomadaire.h"

struct TypeEnregistrementDisponibilite {
  int32_t Identifiant;
  uint8_t Genre;          // the kind of slot; 1 for the slots of the older layout
  uint32_t Proprietaire;  // record number in ".RES" or ".CRS"; 0 for a slot whose span could not be kept
  uint32_t Debut;         // first place of the week grid
  uint32_t Fin;           // last place, included
  TypeDomaineHebdomadaire Semaines;
};
static_assert(sizeof(TypeEnregistrementDisponibilite) == 28);

namespace SupDisponibilite {

inline constexpr int32_t kModeModification = 1;
inline constexpr int32_t kModeConsultation = 2;

int32_t& ModeDAcces();
int32_t& AncienModeDAcces();

// The slots of a file: its index in NumerosTables.
inline constexpr int32_t kFichierRessources = 30, kFichierCours = 31;
inline constexpr int32_t kOrdreProprietaire = 1, kOrdreIdentifiant = 2;
inline constexpr uint32_t kTailleStockee = 24, kTailleAncienne = 20;
inline constexpr uint32_t kCodeCopier = 0x801F0101, kCodeSupprimer = 0x801F0301;

// Every slot of Source gets a copy owned by Cible (record numbers in the file's owner file). Through
// the server: False when an owner is missing, else the verdict. Locally the copies get identifier 0
// and the base is marked modified, also when Source has no slot. A file index other than 30 or 31
// answers False.
bool CopierCreneauxDuProprietaire(int32_t Fichier, uint32_t Source, uint32_t Cible);
// Deletes every slot of the owner, each deletion notified; False when the owner does not exist.
bool SupprimerCreneauxDuProprietaire(uint32_t Proprietaire, int32_t Fichier);

// A week grid as the span adjustment sees it.
struct TypeGrillePlaces {
  int32_t PlacesParJour;
  int32_t PlacesParHeure;
  uint8_t JoursOuvres;  // bit d for day d (1 Monday .. 7 Sunday)
};
// Moves a slot span from the old grid to the new one: the start moves to the first place that exists
// from it on (a later working day when its day is gone or its hour past the new day), the end back to
// the last one up to it. False when no such day is found, when the end falls before the start, or when
// a divisor (old places per day, old places per hour, new places per day) is 0.
bool AjusterPlagePlaces(uint32_t& Debut, uint32_t& Fin, const TypeGrillePlaces& Ancienne, const TypeGrillePlaces& Nouvelle);
// The same from the grid the base being read was stored with to the base's grid.
bool AjusterPlagePlaces(uint32_t& Debut, uint32_t& Fin);

// At each accepted login: the previous access mode takes the current one, which becomes modification
// for a granted status that allows changes (full or restricted), else consultation.
void ActualiserModeDAcces(uint8_t StatutAccorde);

}  // namespace SupDisponibilite

// The housekeeping of each file (the same for both), and the walk over a resource's slots.
namespace SupDisponibiliteRessource {
inline constexpr int32_t kPlace = 31;
inline constexpr uint32_t kCodeContenuParDefaut = 0x801D0000;
TFichierSup& Fichier();
// The current-record buffer; nil while the table does not exist.
TypeEnregistrementDisponibilite* Article();
void ViderArticle();
bool CreerTable();
void LibererTable();
// On order 2.
bool ChercherParIdentifiant(int32_t Identifiant);
void EmpilerPosition();
void DepilerPosition();
// The default-contents request alone: there are no default slots.
bool ContenuParDefaut();
int32_t InscrireFichier();
// For the current resource: calls Routine for each of its slots of that kind whose weeks meet Semaines
// (every one with Toutes), in order 1, the slot current; the resource and the slot are made current
// again after each call. Stops at the first non-zero answer, which it gives; both positions restored.
int32_t PourChaqueIndisponibiliteDeLaRessource(const std::function<int32_t(intptr_t)>& Routine, intptr_t Donnee,
                                               uint8_t Genre, const TypeDomaineHebdomadaire& Semaines, bool Toutes);
}  // namespace SupDisponibiliteRessource

namespace SupDisponibiliteCours {
inline constexpr int32_t kPlace = 32;
inline constexpr uint32_t kCodeContenuParDefaut = 0x801E0000;
TFichierSup& Fichier();
// The current-record buffer; nil while the table does not exist.
TypeEnregistrementDisponibilite* Article();
void ViderArticle();
bool CreerTable();
void LibererTable();
// On order 2.
bool ChercherParIdentifiant(int32_t Identifiant);
void EmpilerPosition();
void DepilerPosition();
// The default-contents request alone: there are no default slots.
bool ContenuParDefaut();
int32_t InscrireFichier();
}  // namespace SupDisponibiliteCours
