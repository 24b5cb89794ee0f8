#include "net/NetXi.h"

#include <memory>
#include <vector>

namespace NetXi {

namespace {

// Allocated at the first registration since start-up or since LibererTables.
std::vector<std::unique_ptr<TypeTableReseau>>& Entrees() {
  static std::vector<std::unique_ptr<TypeTableReseau>> entrees;
  return entrees;
}

void FluxSansEffet(TMemoryStream*) {}
void ParDefautSansEffet() {}

struct Routines {
  TypeRoutineParametresUtilisateur lire = &FluxSansEffet;
  TypeRoutineParametresUtilisateur ecrire = &FluxSansEffet;
  TypeRoutineParametresParDefaut parDefaut = &ParDefautSansEffet;
};
Routines& LesRoutines() {
  static Routines routines;
  return routines;
}

}  // namespace

TypeRoutineParametresUtilisateur LireParametresUtilisateur() { return LesRoutines().lire; }
TypeRoutineParametresUtilisateur EcrireParametresUtilisateur() { return LesRoutines().ecrire; }
TypeRoutineParametresParDefaut ParametresUtilisateurParDefaut() { return LesRoutines().parDefaut; }

void InstallerParametresUtilisateur(TypeRoutineParametresUtilisateur Lire, TypeRoutineParametresUtilisateur Ecrire,
                                    TypeRoutineParametresParDefaut ParDefaut) {
  Routines& r = LesRoutines();
  if (Lire != nullptr && r.lire == &FluxSansEffet) r.lire = Lire;
  if (Ecrire != nullptr && r.ecrire == &FluxSansEffet) r.ecrire = Ecrire;
  if (ParDefaut != nullptr && r.parDefaut == &ParDefautSansEffet) r.parDefaut = ParDefaut;
}

int32_t EnregistrerTable(const TypeTableReseau& Entree) {
  auto& entrees = Entrees();
  if (entrees.size() >= static_cast<std::size_t>(kTablesMaximum)) return 0;
  if (entrees.empty()) entrees.reserve(kTablesMaximum);
  auto entree = std::make_unique<TypeTableReseau>(Entree);
  if (entree->Extension.size() > kExtensionMaximum) entree->Extension.resize(kExtensionMaximum);
  entrees.push_back(std::move(entree));
  return static_cast<int32_t>(entrees.size());
}

void LibererTables() {
  auto& entrees = Entrees();
  entrees.clear();
  entrees.shrink_to_fit();
}

int32_t NombreTables() { return static_cast<int32_t>(Entrees().size()); }

TypeTableReseau* Table(int32_t NumeroTable) {
  auto& entrees = Entrees();
  if (NumeroTable < 1 || static_cast<std::size_t>(NumeroTable) > entrees.size()) return nullptr;
  return entrees[static_cast<std::size_t>(NumeroTable) - 1].get();
}

void Initialiser() {
  LibererTables();
  LesRoutines() = Routines{};
}
void Finaliser() {
  LibererTables();
  LesRoutines() = Routines{};
}

}  // namespace NetXi
