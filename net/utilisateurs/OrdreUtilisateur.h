// The server's orders on the user base (CM_ENVOYER_ORDRE_MODIF_UTIL), applied to the client's copy:
//
//   0  kind (TypeGenreModif)
//   1  table: 1 server profiles, 2 users, 3 user profiles, 4 assignments (u32)
//   5  identifier of the record concerned (u32)
//   9  the record, absent for a deletion: a 640-byte server profile, a user in its plain serialised
//      form, a 72-byte user profile, a 20-byte assignment
//
// Each change goes through the user base's own operations, which tell their subscribers. The
// record always takes the identifier that the order names. Main thread only.
#pragma once

#include <cstdint>
#include <functional>

#include "net/utilisateurs/BaseUtilisateurs.h"

namespace OrdreUtilisateur {

enum : int32_t { kProfilsServeurs = 1, kUtilisateurs = 2, kProfilsUtilisateurs = 3, kAffectations = 4 };
inline constexpr int32_t kTailleEntete = 9;
inline constexpr int32_t kTailleProfilUtilisateur = 72;

// Run before and after an order is applied to a table, with (table, kind); empty by default.
std::function<void(int32_t Table, TypeGenreModif Genre)>& Avant();
std::function<void(int32_t Table, TypeGenreModif Genre)>& Apres();

// The 72-byte user profile: identifier at 0, name (counted string of 32) at 4, kind at 37, rights
// at 38 (32 bytes), received at 70.
TypeGroupeUtilisateurs LireProfilUtilisateur(const uint8_t* Octets);

// Applies one order. False when nothing was changed: an order too short for its header or its
// record, an unknown table or kind, a change or deletion of a record that does not exist, or an
// operation that the user base refused. The table's position is kept.
bool Appliquer(const void* Donnees, int32_t Taille);

void Initialiser();
void Finaliser();

}  // namespace OrdreUtilisateur
