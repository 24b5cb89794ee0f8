#include "base/SupTraitement.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <string_view>

#include "core/objects/Exceptions.h"
#include "core/values/Format.h"
#include "objectdb/Traduction.h"

namespace SupTraitement {

namespace {

constexpr int32_t kPas = 50;
constexpr uint32_t kHysteresis = 100;

struct Pile {
  uint32_t profondeur = 0;
  int32_t capacite = 0;
  uint32_t* codes = nullptr;
};
Pile& LaPile() {
  static Pile pile;
  return pile;
}

void Reallouer(Pile& p, int32_t capacite) {
  p.capacite = capacite;
  if (capacite == 0) {
    std::free(p.codes);
    p.codes = nullptr;
    return;
  }
  void* bloc = std::realloc(p.codes, static_cast<std::size_t>(capacite) * sizeof(uint32_t));
  if (bloc == nullptr) throw std::bad_alloc();
  p.codes = static_cast<uint32_t*>(bloc);
}

}  // namespace

uint32_t EmpilerTraitement(uint32_t Code) {
  Pile& p = LaPile();
  if (p.profondeur >= static_cast<uint32_t>(p.capacite)) Reallouer(p, p.capacite + kPas);
  p.codes[p.profondeur++] = Code;
  return p.profondeur;
}

void DepilerTraitement() {
  Pile& p = LaPile();
  if (p.profondeur == 0) return;
  --p.profondeur;
  if (p.profondeur + kHysteresis < static_cast<uint32_t>(p.capacite)) Reallouer(p, p.capacite - kPas);
}

uint32_t TraitementCourant() {
  const Pile& p = LaPile();
  return p.profondeur == 0 ? 0 : p.codes[0];
}

uint32_t Profondeur() { return LaPile().profondeur; }
int32_t Capacite() { return LaPile().capacite; }

void NomTraitement(uint32_t Code, std::string& Nom) {
  std::size_t nombre;
  const TypeNomTraitement* noms = NomsTraitements(nombre);
  const TypeNomTraitement* fin = noms + nombre;
  const TypeNomTraitement* it =
      std::lower_bound(noms, fin, Code, [](const TypeNomTraitement& n, uint32_t c) { return n.Code < c; });
  if (it != fin && it->Code == Code) {
    const std::string_view nom(it->Nom);
    Nom = nom.starts_with("CM_") ? std::string(nom) : Traduction::Traduire(nom);
    return;
  }
  const std::string texte = Traduction::Traduire("SupTraitementInconnu");
  try {
    Nom = Format(texte, {static_cast<int32_t>(Code)});
  } catch (const EConvertError&) {
    Nom = texte;  // a language module whose text is no format for one integer: shown as it is
  }
}

void Initialiser() {}

void Finaliser() {
  Pile& p = LaPile();
  Reallouer(p, 0);
  p.profondeur = 0;
}

}  // namespace SupTraitement
