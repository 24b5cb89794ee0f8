#include "net/netmodif.h"

#include <filesystem>
#include <system_error>

#include "net/NetBases.h"

namespace netmodif {

namespace {
std::function<void()>& Debut() {
  static std::function<void()> hook;
  return hook;
}
std::function<void()>& Fin() {
  static std::function<void()> hook;
  return hook;
}
}  // namespace

void NotifierModification(TypeGenreModif Genre, int32_t NumeroTable, int32_t Identifiant) {
  if (NetBases::NotificationsSuspendues()) return;
  const TypeTableReseau* entree = NetXi::Table(NumeroTable);
  if (entree == nullptr) return;
  // Copies: an observer may register the files again and free the entry.
  const TypeSurModification premier = entree->SurModification1;
  const TypeSurModification second = entree->SurModification2;
  if (premier) premier(Genre, NumeroTable, Identifiant);
  if (second) second(Genre, NumeroTable, Identifiant);
}

int32_t CompterFichiersExistants() {
  int32_t nombre = 0;
  for (int32_t n = 1; n <= NetXi::NombreTables(); ++n) {
    std::filesystem::path nom(NetBases::NomBase());
    nom.replace_extension(NetXi::Table(n)->Extension);
    std::error_code erreur;
    if (std::filesystem::exists(nom, erreur)) ++nombre;
  }
  return nombre;
}

std::function<void()>& SurDebutRequete() { return Debut(); }
std::function<void()>& SurFinRequete() { return Fin(); }

void Initialiser() {
  Debut() = [] {};
  Fin() = [] {};
}
void Finaliser() {
  Debut() = nullptr;
  Fin() = nullptr;
}

}  // namespace netmodif
