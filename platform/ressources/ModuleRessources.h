// Resource modules: the stand-in for the host's data-only module loading and for the run-time
// library's list of the modules of the process. A module is a handle from which named raw-data
// resources are read. A language module is a file (FormatModule.h) loaded as data; the program's own
// module carries the resources that the program produces itself (its resource-string map). Each
// module of the process has a resource module, the place where its resources are looked up: none
// (the module itself) until a language module is installed.
//
// Main thread only. Handles are never 0 and never reused while the process lives.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

using TypeHandleModule = uint32_t;

namespace ModuleRessources {

inline constexpr TypeHandleModule kAucunModule = 0;

// Loads a module file as data: a new handle, or kAucunModule when the file cannot be read or is not
// a module.
TypeHandleModule ChargerFichier(const std::string& Chemin);
// Unloads a module loaded from a file; False for any other handle.
bool Liberer(TypeHandleModule Module);
// The bytes of a named resource (names without case); False when the module or the resource is
// missing.
[[nodiscard]] bool LireRessource(TypeHandleModule Module, std::string_view Nom, std::string& Contenu);

// The program's own module and its file (empty when the platform cannot tell).
TypeHandleModule ModuleProgramme();
std::string FichierProgramme();
// A resource of the program's module, produced by Fournisseur each time it is read (an empty
// function removes it).
void DefinirRessourceProgramme(std::string_view Nom, std::function<std::string()> Fournisseur);

// The modules of the process in list order: on this platform, the program alone.
std::vector<TypeHandleModule> ModulesDuProcessus();
// The file of a process module.
std::string FichierDuModule(TypeHandleModule Module);
// The resource module of a process module: kAucunModule until one is set (the module itself then).
TypeHandleModule ModuleDeRessources(TypeHandleModule Module);
void DefinirModuleDeRessources(TypeHandleModule Module, TypeHandleModule Ressources);

// How many modules loaded from files are held.
int32_t NombreModulesCharges();

}  // namespace ModuleRessources
