// Stores of pointers read back last-in-first-out or first-in-first-out, growing and shrinking by
// blocks of 10 entries; TPile is the stack that the record tables use for their saved positions.
// A store never owns what its entries point to.
#pragma once

#include <cstdint>

#include "core/objects/ClassDescriptor.h"

class TStockage : public TObject {
  NV_DECLARE_CLASS(TStockage)

 public:
  static constexpr int32_t kEntreesParBloc = 10;

  // An empty last-in-first-out store.
  TStockage();
  // An empty store in the given mode.
  explicit TStockage(bool dernierEntrePremierSorti);
  explicit TStockage(TBlank) : TStockage() {}
  ~TStockage() override;

  // A new empty store in the given mode, owned by the caller.
  static TStockage* CreateMode(bool dernierEntrePremierSorti);

  // Stores the item after the others.
  void Ajouter(void* element);
  bool NonVide() const { return nombre_ > 0; }
  // Takes one item out: the last stored (last-in-first-out) or the first stored (first-in-first-out);
  // nil when the store is empty.
  void* Extraire();

  int32_t Nombre() const { return nombre_; }
  int32_t NombreBlocs() const { return nombreBlocs_; }
  bool DernierEntrePremierSorti() const { return dernierEntrePremierSorti_; }

 private:
  void Redimensionner(int32_t nombreBlocs);

  int32_t nombre_ = 0;
  int32_t nombreBlocs_ = 0;
  void** elements_ = nullptr;
  bool dernierEntrePremierSorti_ = true;
};

namespace Stockage {
// Unit start-up: writes the module trace line.
void Initialiser();
}  // namespace Stockage

// A last-in-first-out stack.
class TPile : public TStockage {
  NV_DECLARE_CLASS(TPile)

 public:
  TPile() = default;
  explicit TPile(TBlank) : TPile() {}
};
