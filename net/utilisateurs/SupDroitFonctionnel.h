// What the connected user may do: the rights set of the user profile held in the server profile of
// the connection, turned into a record of 42 Boolean bytes, one per right, and one accessor per right
// that the rest of the system tests before it changes anything. Recomputed from the user base on
// every call; nothing is cached.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "net/utilisateurs/BaseUtilisateurs.h"

using TypeDroits = std::array<uint8_t, 42>;

namespace SupDroitFonctionnel {

// The bit of the rights set behind each byte of the rights record.
inline constexpr std::array<uint8_t, 42> kBits = {1,  2,  3,  4,  5,  100, 102, 101, 50, 51, 52, 53, 6,  7,
                                                  8,  9,  10, 11, 12, 13,  14,  15,  16, 17, 18, 19, 20, 21,
                                                  22, 23, 24, 25, 26, 27,  33,  28,  103, 29, 30, 31, 32, 54};

bool Contient(const TypeEnsembleDroits& E, int Bit);
void Ajouter(TypeEnsembleDroits& E, int Bit);
// Bits 1 to 33 and 50 to 54; bits 50 to 54 and 100 to 103; bits 1 to 255 (no user-profile table).
TypeEnsembleDroits MasqueModification();
TypeEnsembleDroits MasqueConsultation();
TypeEnsembleDroits EnsembleComplet();

// Completes a set written before the detailed rights existed (no bit 54): adds bits 6 to 23, 26,
// 30 to 32, 54 and 103; with bit 1, bits 27 and 33; with bit 2, bits 24 and 25. Only adds.
void Completer(TypeEnsembleDroits& E);
// Completes the set, then sets each byte of the record from its bit. Answers byte 34.
bool ConstruireDroits(TypeEnsembleDroits Ensemble, TypeDroits& Droits);

// The rights of the user profile on which the user-profile table is positioned: completed first,
// then limited by the mask of the profile's kind (kinds 0 and 1 modification, others consultation).
void DroitsDuProfilCourant(TypeDroits& Droits);
// The rights of the user table's current record in the server profile of the connection.
void DroitsUtilisateurConnecte(TypeDroits& Droits);
// The rights of the current user code: none when no code is set, the consultation rights when the
// user base does not know it. The user table's position is restored.
void DroitsCourants(TypeDroits& Droits);

bool DroitSallesCoursInaccessibles();
bool DroitCreerMatieres();
bool DroitSupprimerMatieres();
bool DroitModifierMatieres();
bool DroitCreerEnseignants();
bool DroitSupprimerEnseignants();
bool DroitModifierEnseignants();
bool DroitCreerClasses();
bool DroitSupprimerClasses();
bool DroitModifierClasses();
bool DroitCreerGroupes();
bool DroitSupprimerGroupes();
bool DroitModifierGroupes();
bool DroitCreerEleves();
bool DroitSupprimerEleves();
bool DroitModifierEleves();
bool DroitCreerSalles();
bool DroitSupprimerSalles();
bool DroitModifierSalles();
bool DroitCreerCours();
bool DroitSupprimerCours();
bool DroitModifierCours();
// The current user code's right to run the web service (looked up by code, not taken from the
// user table's current record).
bool DroitGererServiceWeb();
bool DroitCreerModulesCursus();
bool DroitSupprimerModulesCursus();
bool DroitModifierModulesCursus();

// Limited access. Which courses and rooms are inaccessible is known to the base's protection units,
// which install these routines when they start; until then the tests below raise ENonConstruit.
struct TypeAccesLimite {
  // The current course of the course table is inaccessible.
  std::function<bool()> CoursCourantInaccessible;
  // The current resource of the resource table is a room (kind 5), and that room is inaccessible.
  std::function<bool()> RessourceCouranteEstSalle;
  std::function<bool()> SalleCouranteInaccessible;
  // Positions the resource table on the record of that number (False when there is none), and puts
  // the table's position back.
  std::function<bool(uint32_t Numero)> AllerARessource;
  std::function<void()> EmpilerPositionRessource;
  std::function<void()> DepilerPositionRessource;
};
TypeAccesLimite& AccesLimite();

// A room: accessible and (the right to inaccessible rooms and courses, or an accessible course);
// another resource: an accessible course.
bool AccesSalleEtCoursCourants();
// A room: an accessible course, or an accessible room with the right to inaccessible rooms and
// courses; another resource: an accessible course.
bool AccesCoursOuSalleCourants();
// The resource of that record number exists and AccesSalleEtCoursCourants is False; the resource
// table's position is put back.
bool RessourceInaccessible(uint32_t Numero);

}  // namespace SupDroitFonctionnel
