#include "core/records/Memoire.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "core/objects/ClasseFinalisable.h"

namespace Memoire {
namespace {

constexpr uint32_t kPas = 5;  // capacity step

void Redimensionner(TypeEnsembleMemoire& e, uint32_t capacite) {
  void* bloc = e.Elements;
  Reallouer(bloc, std::size_t{e.Capacite} * 4, std::size_t{capacite} * 4);
  e.Elements = static_cast<uint32_t*>(bloc);
  e.Capacite = capacite;
}

// Growth rule: a full set grows by one step before a value is added.
void PreparerAjout(TypeEnsembleMemoire& e) {
  if (e.Nombre == e.Capacite) Redimensionner(e, e.Capacite + kPas);
}

// Shrink rule, applied after each single removal from `avant` values down to the current count:
// whenever the count equals the capacity minus one step, the capacity drops by one step.
void ReduireApresRetraits(TypeEnsembleMemoire& e, uint32_t avant) {
  uint32_t capacite = e.Capacite;
  for (uint32_t n = avant; n-- > e.Nombre;)
    if (capacite >= kPas && n == capacite - kPas) capacite -= kPas;
  if (capacite != e.Capacite) Redimensionner(e, capacite);
}

// Replaces the values by `valeurs` (never more than before), clears the freed entries, then
// applies the shrink rule as if the values had been removed one at a time.
void RemplacerParMoins(TypeEnsembleMemoire& e, const std::vector<uint32_t>& valeurs) {
  const uint32_t avant = e.Nombre;
  std::copy(valeurs.begin(), valeurs.end(), e.Elements);
  std::fill(e.Elements + valeurs.size(), e.Elements + avant, 0u);
  e.Nombre = static_cast<uint32_t>(valeurs.size());
  ReduireApresRetraits(e, avant);
}

void EcrireLE(unsigned char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

uint32_t LireLE(const unsigned char* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

}  // namespace

void Initialiser() { TracerModule("Initialisation du module Memoire."); }

void Initialiser(TypeEnsembleMemoire& ensemble) {
  ensemble.Capacite = kPas;
  ensemble.Nombre = 0;
  ensemble.Elements = static_cast<uint32_t*>(Allouer(kPas * 4));
}

void Liberer(TypeEnsembleMemoire& ensemble) {
  std::free(ensemble.Elements);
  ensemble = TypeEnsembleMemoire{};
}

void Reinitialiser(TypeEnsembleMemoire& ensemble) {
  Liberer(ensemble);
  Initialiser(ensemble);
}

uint32_t Rechercher(uint32_t valeur, const TypeEnsembleMemoire& ensemble) {
  uint64_t bas = 0, haut = uint64_t{ensemble.Nombre} + 1;
  while (bas + 1 < haut) {
    const uint64_t milieu = (bas + haut) / 2;
    const uint32_t v = ensemble.Elements[milieu - 1];
    if (valeur <= v) haut = milieu;
    if (v <= valeur) bas = milieu;
  }
  return static_cast<uint32_t>(haut);
}

bool Chercher(uint32_t valeur, const TypeEnsembleMemoire& ensemble, uint32_t& position) {
  position = Rechercher(valeur, ensemble);
  return position <= ensemble.Nombre && ensemble.Elements[position - 1] == valeur;
}

bool Inserer(uint32_t valeur, TypeEnsembleMemoire& ensemble) {
  uint32_t position;
  if (Chercher(valeur, ensemble, position)) return false;
  PreparerAjout(ensemble);
  uint32_t* a = ensemble.Elements;
  std::memmove(a + position, a + position - 1, std::size_t{ensemble.Nombre - (position - 1)} * 4);
  a[position - 1] = valeur;
  ++ensemble.Nombre;
  return true;
}

bool Ajouter(uint32_t valeur, TypeEnsembleMemoire& ensemble) {
  PreparerAjout(ensemble);
  ensemble.Elements[ensemble.Nombre++] = valeur;
  return true;
}

void SupprimerA(uint32_t position, TypeEnsembleMemoire& ensemble) {
  if (position < 1 || position > ensemble.Nombre) return;
  uint32_t* a = ensemble.Elements;
  std::memmove(a + position - 1, a + position, std::size_t{ensemble.Nombre - position} * 4);
  a[ensemble.Nombre - 1] = 0;
  --ensemble.Nombre;
  ReduireApresRetraits(ensemble, ensemble.Nombre + 1);
}

bool Supprimer(uint32_t valeur, TypeEnsembleMemoire& ensemble) {
  uint32_t position;
  if (!Chercher(valeur, ensemble, position)) return false;
  SupprimerA(position, ensemble);
  return true;
}

void Copier(const TypeEnsembleMemoire& source, TypeEnsembleMemoire& cible) {
  cible.Capacite = source.Capacite;
  cible.Nombre = source.Nombre;
  cible.Elements = nullptr;
  if (source.Elements != nullptr && source.Capacite > 0) {
    cible.Elements = static_cast<uint32_t*>(Allouer(std::size_t{source.Capacite} * 4));
    std::memcpy(cible.Elements, source.Elements, std::size_t{source.Capacite} * 4);
  }
}

// A merge in which each source value is inserted before the first target value not below it,
// unless it equals that value; once the target is passed, the rest of the source is appended.
void Union(const TypeEnsembleMemoire& source, TypeEnsembleMemoire& cible) {
  if (cible.Elements == nullptr) {
    Copier(source, cible);
    return;
  }
  const uint64_t besoin = uint64_t{cible.Nombre} + source.Nombre;
  uint64_t capacite = cible.Capacite;
  while (capacite < besoin) capacite += kPas;
  if (capacite != cible.Capacite) Redimensionner(cible, static_cast<uint32_t>(capacite));

  std::vector<uint32_t> fusion;
  fusion.reserve(static_cast<std::size_t>(besoin));
  const uint32_t* t = cible.Elements;
  uint32_t i = 0;
  for (uint32_t j = 0; j < source.Nombre; ++j) {
    const uint32_t s = source.Elements[j];
    while (i < cible.Nombre && s > t[i]) fusion.push_back(t[i++]);
    if (i >= cible.Nombre) {
      fusion.insert(fusion.end(), source.Elements + j, source.Elements + source.Nombre);
      break;
    }
    if (s != t[i]) fusion.push_back(s);
  }
  fusion.insert(fusion.end(), t + i, t + cible.Nombre);
  std::copy(fusion.begin(), fusion.end(), cible.Elements);
  cible.Nombre = static_cast<uint32_t>(fusion.size());
}

// Each source value removes one equal value of the target, as Supprimer called once per source value.
void Difference(const TypeEnsembleMemoire& source, TypeEnsembleMemoire& cible) {
  if (cible.Elements == nullptr) {
    Initialiser(cible);
    return;
  }
  if (source.Nombre == 0 || cible.Nombre == 0) return;
  std::vector<uint32_t> retirees(source.Elements, source.Elements + source.Nombre);
  std::sort(retirees.begin(), retirees.end());
  std::vector<uint32_t> restantes;
  restantes.reserve(cible.Nombre);
  std::set_difference(cible.Elements, cible.Elements + cible.Nombre, retirees.begin(), retirees.end(),
                      std::back_inserter(restantes));
  RemplacerParMoins(cible, restantes);
}

bool Intersection(TypeEnsembleMemoire& ensemble, const TypeEnsembleMemoire& autre) {
  std::vector<uint32_t> gardees;
  gardees.reserve(ensemble.Nombre);
  for (uint32_t j = 0; j < ensemble.Nombre; ++j) {
    uint32_t position;
    if (Chercher(ensemble.Elements[j], autre, position)) gardees.push_back(ensemble.Elements[j]);
  }
  if (gardees.size() != ensemble.Nombre) RemplacerParMoins(ensemble, gardees);
  return ensemble.Nombre > 0;
}

int32_t Comparer(const TypeEnsembleMemoire& a, const TypeEnsembleMemoire& b) {
  if (a.Nombre != b.Nombre) return a.Nombre < b.Nombre ? -1 : 1;
  for (uint32_t i = 0; i < a.Nombre; ++i)
    if (a.Elements[i] != b.Elements[i]) return a.Elements[i] < b.Elements[i] ? -1 : 1;
  return 0;
}

void Trier(TypeEnsembleMemoire& ensemble) {
  if (ensemble.Nombre > 1) std::sort(ensemble.Elements, ensemble.Elements + ensemble.Nombre);
}

void VersTampon(const TypeEnsembleMemoire& ensemble, std::size_t& taille, void*& tampon) {
  taille = kTailleEnteteTampon + std::size_t{ensemble.Nombre} * 4;
  tampon = Allouer(taille);
  auto p = static_cast<unsigned char*>(tampon);
  EcrireLE(p, ensemble.Nombre);
  for (uint32_t i = 0; i < ensemble.Nombre; ++i) EcrireLE(p + 4 + 4 * std::size_t{i}, ensemble.Elements[i]);
}

const void* DepuisTampon(const void* tampon, std::size_t taille, TypeEnsembleMemoire& ensemble) {
  if (tampon == nullptr || taille < kTailleEnteteTampon) return nullptr;
  auto p = static_cast<const unsigned char*>(tampon);
  const uint32_t n = LireLE(p);
  if ((taille - kTailleEnteteTampon) / 4 < n) return nullptr;
  Initialiser(ensemble);
  // The capacity that appending the n values one by one would reach.
  if (n > kPas) Redimensionner(ensemble, (n + kPas - 1) / kPas * kPas);
  for (uint32_t i = 0; i < n; ++i) ensemble.Elements[i] = LireLE(p + 4 + 4 * std::size_t{i});
  ensemble.Nombre = n;
  return p + kTailleEnteteTampon + 4 * std::size_t{n};
}

void* Allouer(std::size_t taille) {
  if (taille == 0) return nullptr;
  void* bloc = std::calloc(1, taille);
  if (bloc == nullptr) throw std::bad_alloc();
  return bloc;
}

void* Reallouer(void*& bloc, std::size_t ancienneTaille, std::size_t nouvelleTaille) {
  if (bloc == nullptr) ancienneTaille = 0;
  if (ancienneTaille == nouvelleTaille) return bloc;
  if (nouvelleTaille == 0) {
    Desallouer(bloc, ancienneTaille);
    return nullptr;
  }
  void* nouveau = std::realloc(bloc, nouvelleTaille);
  if (nouveau == nullptr) throw std::bad_alloc();
  if (nouvelleTaille > ancienneTaille)
    std::memset(static_cast<unsigned char*>(nouveau) + ancienneTaille, 0, nouvelleTaille - ancienneTaille);
  bloc = nouveau;
  return bloc;
}

void Desallouer(void*& bloc, std::size_t) {
  std::free(bloc);
  bloc = nullptr;
}

}  // namespace Memoire
