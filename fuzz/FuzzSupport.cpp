#include "fuzz/FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <unordered_set>

#include "core/arrays/ArrayOfTObject.h"
#include "core/objects/Modules.h"
#include "core/serial/Serialisation.h"
#include "base/ModulesBase.h"
#include "net/ModulesNet.h"
#include "objectdb/ModulesObjectdb.h"
#include "objectdb/parameters/ParametreObject.h"
#include "streams/ModulesStreams.h"

void Fuzz::Demarrer() {
  static const bool demarre = [] {
    Modules::Demarrer({ModulesCore(), ModulesObjectdb(), ModulesNet(), ModulesBase(), ModulesStreams()});
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

// Walks the object arrays of a graph and the objects of object parameters, which own what they read
// (trees hold only trees, which they own); an object is visited once.
void Collecter(TObject* Objet, std::unordered_set<TObject*>& Vus, std::vector<TObject*>& NonPossedes) {
  if (auto* parametre = dynamic_cast<TParametreObject*>(Objet)) {
    TObject* valeur = parametre->GetValeur();
    if (valeur != nullptr && Vus.insert(valeur).second) Collecter(valeur, Vus, NonPossedes);
    return;
  }
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

namespace {

// The object built blank, filled from the stream, then its after-construction hook: what the
// formatter does for an object whose class name it has read.
TObject* LireBlanc(const TClass* Classe, uint8_t Disposition, TStream& Flux) {
  std::unique_ptr<TObject> objet(Classe->NewBlank());
  InterfaceOf<ISerializable>(objet.get())->Lire(Fuzz::Formateur(Disposition, &Flux).get(), nullptr);
  objet->AfterConstruction();
  return objet.release();
}

std::vector<uint8_t> EcrireContenu(TObject* Objet, uint8_t Disposition) {
  TMemoryStream flux;
  InterfaceOf<ISerializable>(Objet)->Ecrire(Fuzz::Formateur(Disposition, &flux).get(), nullptr);
  return flux.Bytes();
}

}  // namespace

void Fuzz::LireDirectement(const TClass* Classe, uint8_t Disposition, std::string_view Octets) {
  TMemoryStream flux;
  flux.Assign(Octets.data(), Octets.size());
  TObject* lu = nullptr;
  try {
    lu = LireBlanc(Classe, Disposition, flux);
  } catch (const Exception&) {
    return;  // a corrupt stream is refused with the system's own exceptions
  }
  const TGraphe objet(lu);
  const std::vector<uint8_t> ecrit = EcrireContenu(lu, Disposition);
  TMemoryStream relu;
  relu.Assign(ecrit.data(), ecrit.size());
  TObject* copie = nullptr;
  try {
    copie = LireBlanc(Classe, Disposition, relu);
  } catch (const Exception&) {
    Verifier(false, "an object read from a stream writes bytes that read back");
  }
  const TGraphe graphe(copie);
  Verifier(relu.Remaining() == 0, "reading back consumes exactly what was written");
  Verifier(EcrireContenu(copie, Disposition) == ecrit, "an object read back writes the same bytes");
}
