// What the connected user may do: the rights set of the user profile held in the server profile of
// the connection, turned into a record of 42 Boolean bytes, one per right, and one accessor per right
// that the rest of the system tests before it changes anything. Recomputed from the user base on
// every call; nothing is cached.
#pragma once

#include <array>
#include <cstdint>

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

}  // namespace SupDroitFonctionnel
