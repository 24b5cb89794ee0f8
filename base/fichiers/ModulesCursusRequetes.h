// The requests on modules and curricula (".MDL", ".CUR") and on their relation (".RCM"), with the
// reads that decide them. Modules and curricula share their record and their requests; each has its
// own request codes and its own deletion. Creating needs the right to create modules and curricula,
// changing a label or a code and creating or deleting relations the right to change them, deleting a
// module or a curriculum the right to delete them: without it nothing is sent or changed. Routines
// that move a table to look something up keep its position. Main thread only.
#pragma once

#include <cstdint>
#include <string>

#include "core/records/Memoire.h"

namespace SupModule {

// Request 0x80340000.
bool ContenuParDefaut();
// The label is cut to 30 characters, the code to 20. True when the new module exists.
bool CreerModuleAvecCode(const std::string& Libelle, const std::string& Code);
bool ModifierLibelleModule(const std::string& Libelle);
bool ModifierCodeModule(const std::string& Code);
// Deletes the current module with its subject contributions and headings; a module in a curriculum
// is not deleted. True when the request was sent or the module deleted.
bool SupprimerModule();
// The module of that record number (the position kept): True only when it existed and is gone.
bool SupprimerModuleNumero(uint32_t Module);
void SupprimerTableauDeModules(const TypeEnsembleMemoire& Selection);
// True when the current module is linked to at least one curriculum.
bool ModuleDansUnCursus();
// The sum of the durations of the current module's subject contributions.
int32_t TotalApportsDuModule();

}  // namespace SupModule

namespace SupCursus {

// Request 0x80100000.
bool ContenuParDefaut();
bool CreerCursus(const std::string& Libelle, const std::string& Code);
bool ModifierLibelleCursus(const std::string& Libelle);
bool ModifierCodeCursus(const std::string& Code);
// Deletes the current curriculum with its subject contributions, its relations with modules and its
// headings; a curriculum that a diploma follows is not deleted.
bool SupprimerCursus();
bool SupprimerCursusNumero(uint32_t Cursus);
void SupprimerTableauDeCursus(const TypeEnsembleMemoire& Selection);
// True when at least one diploma follows the current curriculum.
bool CursusDUnDiplome();
// The durations of the contributions of the current curriculum's modules and of its own.
int32_t TotalApportsDuCursus();

}  // namespace SupCursus

namespace SupRelationCursusModule {

// Request 0x80350000.
bool ContenuParDefaut();
// Links a module to a curriculum (record numbers; both must exist). Locally refused when the module
// conflicts with the curriculum: it teaches a subject with a course type (or with none) that another
// module of the curriculum, or the curriculum itself, already teaches so. The new relation is current
// when found; the result is the server's verdict, or True when inserted locally.
bool CreerRelationCursusModule(uint32_t Cursus, uint32_t Module);
// Deletes the current relation (locally the period relations of its module's contributions first).
// True when the relation that was current is gone.
bool SupprimerRelationCursusModule();
// Deletes every relation of the curriculum of that record number; False, nothing sent, when it holds
// no curriculum.
bool SupprimerRelationCursusModuleDeCursus(uint32_t Cursus);
// True when linking the module to the curriculum would make it teach twice a subject with a course type.
bool ModuleEnConflitAvecCursus(uint32_t Cursus, uint32_t Module);

}  // namespace SupRelationCursusModule
