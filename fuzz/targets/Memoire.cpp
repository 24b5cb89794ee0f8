// The record-set loader: a block of a count and 32-bit values read into a set, then the set's
// operations with a second set taken from the rest of the block. A loaded block must write back as
// the same bytes.
#include <algorithm>
#include <vector>

#include "core/records/Memoire.h"
#include "fuzz/FuzzSupport.h"

namespace {

// A set that is freed when it goes.
struct TEnsemble {
  TypeEnsembleMemoire e;
  ~TEnsemble() { Memoire::Liberer(e); }
};

std::vector<uint8_t> Bloc(const TypeEnsembleMemoire& Ensemble) {
  std::size_t taille = 0;
  void* tampon = nullptr;
  Memoire::VersTampon(Ensemble, taille, tampon);
  std::vector<uint8_t> octets(static_cast<uint8_t*>(tampon), static_cast<uint8_t*>(tampon) + taille);
  Memoire::Desallouer(tampon, taille);
  return octets;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  TEnsemble a, b;
  const void* suite = Memoire::DepuisTampon(Data, Size, a.e);
  if (suite == nullptr) {
    Fuzz::Verifier(a.e.Elements == nullptr, "a refused block leaves the set untouched");
    return 0;
  }
  const std::size_t lus = static_cast<std::size_t>(static_cast<const uint8_t*>(suite) - Data);
  Fuzz::Verifier(lus <= Size && Bloc(a.e) == std::vector<uint8_t>(Data, Data + lus),
                 "a loaded block writes back as its own bytes");
  if (Memoire::DepuisTampon(suite, Size - lus, b.e) == nullptr) Memoire::Initialiser(b.e);

  // The loaded values are in no order: sort them, then the set operations that rely on it.
  Memoire::Trier(a.e);
  Fuzz::Verifier(std::is_sorted(a.e.Elements, a.e.Elements + a.e.Nombre), "sorting sorts");
  TEnsemble sa, c;
  Memoire::Initialiser(sa.e);
  Memoire::Initialiser(c.e);
  for (uint32_t i = 0; i < a.e.Nombre; ++i) Memoire::Inserer(a.e.Elements[i], sa.e);
  for (uint32_t i = 0; i < b.e.Nombre; ++i) Memoire::Inserer(b.e.Elements[i], c.e);
  TEnsemble u;
  Memoire::Copier(sa.e, u.e);
  Memoire::Union(c.e, u.e);
  for (uint32_t i = 0; i < c.e.Nombre; ++i) {
    uint32_t position = 0;
    Fuzz::Verifier(Memoire::Chercher(c.e.Elements[i], u.e, position), "a union holds the values of both sets");
  }
  Memoire::Difference(c.e, u.e);
  Memoire::Intersection(u.e, c.e);
  Fuzz::Verifier(u.e.Nombre == 0, "nothing is left of a set once another's values are taken away from it");
  Memoire::Comparer(a.e, c.e);
  if (a.e.Nombre > 0) {
    Memoire::Supprimer(a.e.Elements[0], a.e);
    Memoire::SupprimerA(a.e.Nombre, a.e);
  }
  return 0;
}
