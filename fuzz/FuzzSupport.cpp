#include "fuzz/FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <unordered_set>

#include "core/arrays/ArrayOfTObject.h"
#include "core/objects/Modules.h"
#include "core/serial/Serialisation.h"
#include "objectdb/ModulesObjectdb.h"

void Fuzz::Demarrer() {
  static const bool demarre = [] {
    Modules::Demarrer({ModulesCore(), ModulesObjectdb()});
    return true;
  }();
  (void)demarre;
}

std::unique_ptr<TBinaryFormatter> Fuzz::Formateur(uint8_t Disposition, TStream* Flux) {
  std::unique_ptr<TBinaryFormatter> f;
  if (Disposition & 1) f = std::make_unique<TBinaryFormatterWithSize>(Flux);
  else f = std::make_unique<TBinaryFormatter>(Flux);
  f->ModeStrict = (Disposition & 2) != 0;
  return f;
}

void Fuzz::Verifier(bool Condition, const char* Propriete) {
  if (Condition) return;
  std::fprintf(stderr, "fuzz property broken: %s\n", Propriete);
  std::abort();
}

namespace {

// Walks the object arrays of a graph (trees hold only trees, which they own); an object is visited
// once.
void Collecter(TObject* Objet, std::unordered_set<TObject*>& Vus, std::vector<TObject*>& NonPossedes) {
  auto* tableau = dynamic_cast<TCustomArrayTemplate<TArrayOfTObjectTraits>*>(Objet);
  if (tableau == nullptr) return;
  for (int32_t i = 0; i < tableau->GetNombreElements(); ++i) {
    TObject* element = tableau->GetElement(i);
    if (element == nullptr || !Vus.insert(element).second) continue;
    if (!tableau->GetLibererElements()) NonPossedes.push_back(element);
    Collecter(element, Vus, NonPossedes);
  }
}

}  // namespace

Fuzz::TGraphe::TGraphe(TObject* Racine) : racine_(Racine) {
  std::unordered_set<TObject*> vus{Racine};
  Collecter(Racine, vus, nonPossedes_);
}

Fuzz::TGraphe::~TGraphe() {
  delete racine_;
  for (TObject* o : nonPossedes_) delete o;
}
