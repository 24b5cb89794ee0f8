// The collector of temporary objects: an application service (level 1) that owns every object handed
// to it and frees them all, oldest registration first, on the next turn of the main loop. Errors
// without a parent, visitors, collected parameters and lists rely on it, so no code keeps such an
// object across turns.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "core/objects/ServiceNorvane.h"

// Registration and taking back are constant time whatever the number of objects held, and a pass is
// linear in the objects it frees: one request may hand over tens of thousands of objects. The objects
// are kept in a structure of the collector's own, not in Objets() (which stays empty): Nombre counts
// them and RangDe finds them.
class TServiceRamasseMiettes : public TServiceObjets {
  NV_DECLARE_CLASS(TServiceRamasseMiettes)
 public:
  TServiceRamasseMiettes();
  explicit TServiceRamasseMiettes(TBlank b);
  // Runs the last pass while the service is active; frees what is still held, last registered first.
  ~TServiceRamasseMiettes() override;

  // A collectable handed over is no longer collected (its CollecteActive becomes False); the object is
  // appended unless already held. True when it was appended.
  bool Ajouter(TObject* Objet) override;
  // Takes the object back without freeing it; True when it was held.
  bool Retirer(TObject* Objet) override;
  // The object's index among the objects held, in registration order; -1 when not held. Linear in the
  // objects held: an inspection, used by no hot path.
  int RangDe(const TObject* Objet) const override;
  int Nombre() const { return static_cast<int>(vivants_); }

 protected:
  // Frees every object held, oldest first, including those registered while it runs; returns nil.
  TObject* Traiter() override;

 private:
  class IndexAdresses;
  void Compacter();

  std::vector<TObject*> rangs_;  // registration order; nil where an object was taken back or freed
  std::size_t tete_ = 0;          // no object is held before this slot
  std::size_t vivants_ = 0;
  std::unique_ptr<IndexAdresses> index_;  // object address -> slot in rangs_
};

// The accessor of the collector: TRamasseMiettes::Ajouter(o), Retirer(o), RangDe(o).
class TRamasseMiettes : public TServiceObjetsAppOf<TRamasseMiettes> {
 public:
  static const Class* StaticClass();
  static TServiceObjets* CreerService();
};
