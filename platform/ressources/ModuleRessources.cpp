#include "platform/ressources/ModuleRessources.h"

#include <unistd.h>

#include <climits>
#include <fstream>
#include <iterator>
#include <map>

#include "platform/ressources/FormatModule.h"

namespace ModuleRessources {

namespace {

constexpr TypeHandleModule kProgramme = 1;

struct Etat {
  TypeHandleModule dernier = kProgramme;
  std::map<TypeHandleModule, std::vector<FormatModule::TypeRessource>> charges;
  std::vector<std::pair<std::string, std::function<std::string()>>> ressourcesProgramme;
  TypeHandleModule ressourcesDuProgramme = kAucunModule;
};

Etat& E() {
  static Etat etat;
  return etat;
}

bool LireFichier(const std::string& chemin, std::string& contenu) {
  std::ifstream f(chemin, std::ios::binary);
  if (!f) return false;
  contenu.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
  return !f.bad();
}

}  // namespace

TypeHandleModule ChargerFichier(const std::string& Chemin) {
  std::string octets;
  std::vector<FormatModule::TypeRessource> ressources;
  if (!LireFichier(Chemin, octets) || !FormatModule::Lire(octets, ressources)) return kAucunModule;
  Etat& e = E();
  // Handles go up and skip 0 and the program's handle should the counter come round.
  do {
    ++e.dernier;
  } while (e.dernier == kAucunModule || e.dernier == kProgramme || e.charges.count(e.dernier) != 0);
  e.charges.emplace(e.dernier, std::move(ressources));
  return e.dernier;
}

bool Liberer(TypeHandleModule Module) { return E().charges.erase(Module) != 0; }

bool LireRessource(TypeHandleModule Module, std::string_view Nom, std::string& Contenu) {
  Etat& e = E();
  if (Module == kProgramme) {
    for (const auto& [nom, fournisseur] : e.ressourcesProgramme)
      if (FormatModule::MemeNom(nom, Nom)) {
        Contenu = fournisseur();
        return true;
      }
    return false;
  }
  const auto it = e.charges.find(Module);
  if (it == e.charges.end()) return false;
  for (const auto& [nom, donnees] : it->second)
    if (FormatModule::MemeNom(nom, Nom)) {
      Contenu = donnees;
      return true;
    }
  return false;
}

TypeHandleModule ModuleProgramme() { return kProgramme; }

std::string FichierProgramme() {
  char chemin[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", chemin, sizeof chemin - 1);
  return n > 0 ? std::string(chemin, static_cast<std::size_t>(n)) : std::string();
}

void DefinirRessourceProgramme(std::string_view Nom, std::function<std::string()> Fournisseur) {
  auto& liste = E().ressourcesProgramme;
  std::erase_if(liste, [&](const auto& r) { return FormatModule::MemeNom(r.first, Nom); });
  if (Fournisseur) liste.emplace_back(std::string(Nom), std::move(Fournisseur));
}

std::vector<TypeHandleModule> ModulesDuProcessus() { return {kProgramme}; }

std::string FichierDuModule(TypeHandleModule Module) {
  return Module == kProgramme ? FichierProgramme() : std::string();
}

TypeHandleModule ModuleDeRessources(TypeHandleModule Module) {
  return Module == kProgramme ? E().ressourcesDuProgramme : kAucunModule;
}

void DefinirModuleDeRessources(TypeHandleModule Module, TypeHandleModule Ressources) {
  if (Module == kProgramme) E().ressourcesDuProgramme = Ressources;
}

int32_t NombreModulesCharges() { return static_cast<int32_t>(E().charges.size()); }

}  // namespace ModuleRessources
