// The table of the toolkit's named mouse cursors (numbers 1 to 26, 25 unused), loaded once from
// the resource module into the screen's cursor list by the first list control that asks for it,
// with a count of the controls that use them. Main thread only.
#pragma once

#include <cstdint>

namespace Ressources {

// The resource name of a cursor number, nil for a number without cursor.
const char* NomCurseur(int Numero);
// On the first call, loads every cursor of the table into Screen().Cursors under its number
// (Charge false when the resource module has no such resource); every call adds a user.
void ChargerCurseurs();
// Removes a user; the cursors stay loaded.
void LibererCurseurs();
int32_t Utilisateurs();

}  // namespace Ressources
