// The typed arrays' readers: every instance in every storage, read from a stream in the plain or the
// sized layout, strict or not, then changed (insertion, search, removal, moves, packing, options,
// sort) and written back. What it writes must read back and write the same bytes again.
// Input: the instance byte, the layout byte, the byte that steers the changes, then the stream.
#include <memory>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "fuzz/InstancesTableaux.h"

namespace {

// Changes that keep to the array's own elements, so that owned objects stay owned once.
template <class A>
void Changer(TCustomArray& Tableau, uint8_t Choix) {
  auto& a = static_cast<A&>(Tableau);
  using T = typename A::T;
  const int32_t n = a.GetNombreElements();
  if (n > 0) {
    const T premier = a.GetElement(0);
    const T dernier = a.GetElement(n - 1);
    int32_t indice = 0;
    a.Chercher(dernier, indice);
    a.ChercherDernier(premier, indice);
    a.Inserer(dernier, Choix % (n + 1), (Choix & 1) != 0);
    a.Supprimer(premier);
    const int32_t m = a.GetNombreElements();
    if (m > 0) {
      a.Echanger(0, m - 1, false);
      a.Deplacer(m - 1, Choix % m, false);
      a.Retirer(m / 2, (Choix & 2) != 0);
    }
  }
  a.Ajouter(T{});
  if (Choix & 0x08) a.Tasser();
  a.SetAvecDoublons((Choix & 0x10) == 0);
  a.SetTriInverse((Choix & 0x20) != 0);
  a.SetToujoursTrie((Choix & 0x40) != 0);
  if (Choix & 0x80) a.Trier();
}

struct TInstance {
  const TCustomArray::Class* Classe;
  void (*Changer)(TCustomArray&, uint8_t);
};

const std::vector<TInstance>& ToutesLesInstances() {
  static const std::vector<TInstance> instances = [] {
    std::vector<TInstance> v;
    Fuzz::TTableauxLisibles::PourChacun(
        [&]<class A>(std::size_t) { v.push_back({A::StaticClass(), &Changer<A>}); });
    return v;
  }();
  return instances;
}

// A blank array of the class, read from the bytes; nil when the stream is refused.
TCustomArray* Lire(const TCustomArray::Class* Classe, uint8_t Disposition, const void* Octets, std::size_t Taille) {
  TMemoryStream flux;
  flux.Assign(Octets, Taille);
  std::unique_ptr<TObject> tableau(Classe->NewBlank());
  try {
    InterfaceOf<ISerializable>(tableau.get())->Lire(Fuzz::Formateur(Disposition, &flux).get(), nullptr);
  } catch (const Exception&) {
    return nullptr;
  }
  return static_cast<TCustomArray*>(tableau.release());
}

std::vector<uint8_t> Ecrire(TCustomArray* Tableau, uint8_t Disposition) {
  TMemoryStream flux;
  Tableau->Ecrire(Fuzz::Formateur(Disposition, &flux).get(), nullptr);
  return flux.Bytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  Fuzz::TOctets octets(Data, Size);
  const TInstance& instance = ToutesLesInstances()[octets.Octet() % ToutesLesInstances().size()];
  const uint8_t disposition = octets.Octet();
  const uint8_t choix = octets.Octet();
  const std::string_view flux = octets.Reste();

  TCustomArray* lu = Lire(instance.Classe, disposition, flux.data(), flux.size());
  if (lu == nullptr) return 0;
  const Fuzz::TGraphe tableau(lu);
  try {
    instance.Changer(*lu, choix);
  } catch (const Exception&) {
    // Refusals of the changes themselves (a comparison between unrelated objects, say) are results.
  }
  const std::vector<uint8_t> ecrit = Ecrire(lu, disposition);
  TCustomArray* relu = Lire(instance.Classe, disposition, ecrit.data(), ecrit.size());
  Fuzz::Verifier(relu != nullptr, "an array written after changes reads back");
  const Fuzz::TGraphe copie(relu);
  Fuzz::Verifier(Ecrire(relu, disposition) == ecrit, "an array read back writes the same bytes");
  return 0;
}
