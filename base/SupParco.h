// The walks between courses and resources: from a resource to its courses and from a course to its
// resources, through the course relations (".RLC"), optionally only where the weeks meet a given
// week set. The walks take the current course or resource as their subject, make each visited record
// current before calling the routine, and restore the current records of the tables they move, and
// the SalleMultipleCourante flag, before they return. The relations are gathered before the routine
// is first called, so that the routine may move, change or delete records freely.
//
// A routine gets one pointer-sized argument (Donnee); when it answers True the walk stops and
// answers True. A multiple room (a room group: one record standing for several identical rooms) may be
// held by a course through several relations. Main thread only.
#pragma once

#include <cstdint>

#include "core/records/Xi.h"
#include "core/values/DomaineHebdomadaire.h"

namespace SupParco {

using TypeRoutineParco = TypeFonctionXi;

// Set, for every visit, to whether the resource visited is a multiple room.
bool& SalleMultipleCourante();

// The courses of the current resource. Unless Toujours, a relation is visited only when its weeks W
// meet Semaines (or, with InclureSansSemaine, W is empty) and the course's weeks meet W and Semaines
// together. From a multiple room, without ChaqueRelation, the relations of one course are visited
// once with the union of their weeks (the last of them current).
bool PourChaqueCoursDeLaRessource(TypeRoutineParco Routine, intptr_t Donnee, bool ChaqueRelation, bool Toujours,
                                  bool InclureSansSemaine, const TypeDomaineHebdomadaire& Semaines);
// The same with a method; the one implementation of both.
bool PourChaqueCoursDeLaRessourceMethode(intptr_t Donnee, bool ChaqueRelation, bool Toujours,
                                         const TypeDomaineHebdomadaire& Semaines, bool InclureSansSemaine,
                                         TypeMethodeXi Methode);
// The resources of the current course, in order 2 (by kind, then resource). A multiple room is
// visited once (its last relation current) or, with ChaqueRelation, once per relation.
bool PourChaqueRessourceDuCours(TypeRoutineParco Routine, intptr_t Donnee, bool ChaqueRelation, bool Toujours,
                                const TypeDomaineHebdomadaire& Semaines);
// The relations of one kind of the current course: a multiple room held through k relations is
// visited k times, each time with the last relation of its run current.
bool PourChaqueRessourceDuGenreDuCours(uint8_t Genre, TypeRoutineParco Routine, intptr_t Donnee, bool Toujours,
                                       const TypeDomaineHebdomadaire& Semaines);
// The courses of the current room and of every room whose room group it is.
bool PourChaqueCoursDeLaSalleOuDuGroupeDeSalles(TypeRoutineParco Routine, intptr_t Donnee, bool ChaqueRelation,
                                                bool Toujours, bool InclureSansSemaine,
                                                const TypeDomaineHebdomadaire& Semaines);
// The rooms of the current room group (through the resource relations).
bool PourChaqueSalleDuGroupe(TypeRoutineParco Routine, intptr_t Donnee);
// The partitions of the current diploma: Genre 3 its named partitions (those of TDs), Genre 4 its
// default partition (that of options); any other Genre none.
bool PourChaquePartitionDuDiplome(uint8_t Genre, TypeRoutineParco Routine, intptr_t Donnee);

// The number of resource relations of the current course, every relation of a multiple room counted.
uint32_t NombreDeRessourcesDuCours();
// The number of TDs and options of a partition (record number in ".PRT").
uint32_t NombreDeRessourcesDeLaPartition(uint32_t Partition);
// The number of resources of a kind other than the kind's default resource.
uint32_t NombreDeRessourcesDuGenre(uint8_t Genre, int32_t Mode);

void Initialiser();

}  // namespace SupParco
