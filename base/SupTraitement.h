// Request codes of the changes of the timetable base and the stack of requests in progress. A code is
// 0x80TTOOFF: TT the table code of the file or settings block changed, OO the operation, FF the field
// or variant. Every modification operation pushes its code before it acts and pops it when it ends,
// so that code running inside a request knows the outermost request that caused it. Main thread only.
#pragma once

#include <cstdint>
#include <string>

namespace SupTraitement {

// Pushes a code; returns the new depth. The stack grows by 50 entries when full.
uint32_t EmpilerTraitement(uint32_t Code);
// Pops the top code; nothing on an empty stack. The stack shrinks by 50 entries when the depth plus
// 100 falls below the capacity.
void DepilerTraitement();
// The bottom code (the outermost request in progress), 0 when none.
uint32_t TraitementCourant();
// The depth and the capacity, in entries.
uint32_t Profondeur();
int32_t Capacite();

// The display name of a code: the fixed "CM_..." name, the translation of its "SupTraitement..." key,
// or the translation of "SupTraitementInconnu" formatted with the code as a signed 32-bit integer.
void NomTraitement(uint32_t Code, std::string& Nom);

// The names, sorted by code: a "CM_" name is fixed, any other is a dictionary key.
struct TypeNomTraitement {
  uint32_t Code;
  const char* Nom;
};
const TypeNomTraitement* NomsTraitements(std::size_t& Nombre);

// Pushes a code for the life of the object: the code is popped on every way out of a request.
class TraitementEmpile {
 public:
  explicit TraitementEmpile(uint32_t Code) { EmpilerTraitement(Code); }
  ~TraitementEmpile() { DepilerTraitement(); }
  TraitementEmpile(const TraitementEmpile&) = delete;
  TraitementEmpile& operator=(const TraitementEmpile&) = delete;
};

void Initialiser();
void Finaliser();

}  // namespace SupTraitement
