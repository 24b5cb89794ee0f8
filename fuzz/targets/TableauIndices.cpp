// The row-number array reader: a count and that many values, in the plain or the sized layout, strict
// or not. An array read holds together (count within the capacity, the capacity whole pages) and
// writes back exactly the bytes it consumed; the ordered-set and positional operations then keep it so.
// Input: the choice byte (bit 0 the sized layout, bit 1 the strict mode, the rest the page size of the
// array read into, 0 for an array built blank), then the stream.
#include <memory>
#include <string_view>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "objectdb/arrays/TableauIndices.h"

namespace {

void VerifierForme(const TTableauIndices& t) {
  Fuzz::Verifier(t.TaillePage() >= 1, "the page size is at least 1");
  Fuzz::Verifier(t.NombreElements() >= 0 && t.NombreElements() <= t.NombreMaxElements(),
                 "the count lies within the capacity");
  Fuzz::Verifier(t.NombreMaxElements() % t.TaillePage() == 0, "the capacity is whole pages");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  Fuzz::TOctets octets(Data, Size);
  const uint8_t choix = octets.Octet();
  const uint8_t disposition = choix & 3;
  const int32_t page = choix >> 2;
  const std::string_view reste = octets.Reste();

  std::unique_ptr<TTableauIndices> t(page == 0 ? static_cast<TTableauIndices*>(TTableauIndices::StaticClass()->NewBlank())
                                               : new TTableauIndices(page));
  TMemoryStream flux;
  flux.Assign(reste.data(), reste.size());
  try {
    t->Lire(Fuzz::Formateur(disposition, &flux).get(), nullptr);
  } catch (const Exception&) {
    Fuzz::Verifier(t->NombreElements() == 0 && t->NombreMaxElements() == 0, "a refused stream leaves the array as it was");
    return 0;
  }
  VerifierForme(*t);
  TMemoryStream ecrit;
  t->Ecrire(Fuzz::Formateur(disposition, &ecrit).get(), nullptr);
  const auto consommes = static_cast<std::size_t>(flux.Position());
  Fuzz::Verifier(ecrit.Bytes() == std::vector<uint8_t>(reste.begin(), reste.begin() + static_cast<std::ptrdiff_t>(consommes)),
                 "an array writes back exactly the bytes it was read from");

  // The values read steer a few changes of each kind.
  const int32_t n = t->NombreElements();
  for (int32_t p = 1; p <= n && p <= 64; ++p) {
    const uint32_t v = t->Elements(p);
    t->Inserer(v, static_cast<int32_t>(v % static_cast<uint32_t>(n + 2)));
    t->SupprimerIndice(static_cast<int32_t>(v % static_cast<uint32_t>(n + 2)));
    VerifierForme(*t);
  }
  TTableauIndices ensemble(page == 0 ? 16 : page);
  for (int32_t p = 1; p <= n && p <= 64; ++p) {
    const uint32_t v = t->Elements(p);
    ensemble.Ajouter(v);
    if (v & 1) ensemble.Supprimer(v / 2);
    for (int32_t q = 2; q <= ensemble.NombreElements(); ++q)
      Fuzz::Verifier(ensemble.Elements(q - 1) < ensemble.Elements(q), "an ordered set stays strictly ascending");
  }
  return 0;
}
