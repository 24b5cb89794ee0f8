// The base of nearly every class of the system: an object that answers interface queries by GUID
// without reference counting, so it can be handed out through several interfaces while its owner
// still frees it explicitly. TListeObjetsInterfacable does the same for a list of objects.
#pragma once

#include <cstdint>
#include <vector>

#include "core/objects/ClassDescriptor.h"
#include "core/objects/Interfaces.h"

class TObjetInterfacable : public TObject, public virtual IInterface {
  NV_DECLARE_CLASS(TObjetInterfacable)
 public:
  TObjetInterfacable() = default;
  explicit TObjetInterfacable(TBlank b) : TObject(b) {}

  // S_OK and the interface when the class or an ancestor declares it; E_NOINTERFACE and nil otherwise.
  int32_t QueryInterface(const TGUID& iid, void** obj) override;
  int32_t _AddRef() override { return 1; }
  int32_t _Release() override { return 1; }

 protected:
  // The interfaces a class declares: an override answers its own and defers to its parent's.
  virtual void* GetInterfaceEntry(const TGUID& iid);
};

// The identity order of references (objects, classes): their addresses, compared unsigned.
inline int ComparerAdresses(const void* a, const void* b) {
  const auto x = reinterpret_cast<uintptr_t>(a), y = reinterpret_cast<uintptr_t>(b);
  return x < y ? -1 : x > y ? 1 : 0;
}

// The interface I of any object (nil when the object is nil or does not declare I).
template <class I>
I* InterfaceOf(TObject* o) {
  auto* intf = dynamic_cast<IInterface*>(o);
  return intf ? Supports<I>(intf) : nullptr;
}

// The object list of the class library: object references, freed on removal when the list owns
// them (ownership chosen at creation).
class TObjectList : public TObject {
  NV_DECLARE_CLASS(TObjectList)
 public:
  explicit TObjectList(bool ownsObjects = true) : owns_(ownsObjects) {}
  explicit TObjectList(TBlank b) : TObject(b) {}
  ~TObjectList() override { Clear(); }

  int Count() const { return static_cast<int>(items_.size()); }
  TObject* Items(int i) const { return items_.at(static_cast<std::size_t>(i)); }
  void SetItem(int i, TObject* o);
  bool OwnsObjects() const { return owns_; }
  void SetOwnsObjects(bool v) { owns_ = v; }

  int Add(TObject* o);
  void Insert(int i, TObject* o);
  int IndexOf(const TObject* o) const;
  // Removes the item at i (freeing it when the list owns its objects).
  void Delete(int i);
  // Removes the first occurrence of o (freeing it when owned); returns its index or -1.
  int Remove(TObject* o);
  // Removes o without freeing it; returns it, or nil when absent.
  TObject* Extract(TObject* o);
  void Clear();

 private:
  std::vector<TObject*> items_;
  bool owns_ = true;
};

class TListeObjetsInterfacable : public TObjectList, public virtual IInterface {
  NV_DECLARE_CLASS(TListeObjetsInterfacable)
 public:
  explicit TListeObjetsInterfacable(bool ownsObjects = true) : TObjectList(ownsObjects) {}
  explicit TListeObjetsInterfacable(TBlank b) : TObjectList(b) {}

  int32_t QueryInterface(const TGUID& iid, void** obj) override;
  int32_t _AddRef() override { return 1; }
  int32_t _Release() override { return 1; }

 protected:
  virtual void* GetInterfaceEntry(const TGUID& iid);
};
