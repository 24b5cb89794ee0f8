#include "core/objects/ObjetInterfacable.h"

#include <stdexcept>

NV_DEFINE_CLASS(TObjetInterfacable, TObject)
NV_DEFINE_CLASS(TObjectList, TObject)
NV_DEFINE_CLASS(TListeObjetsInterfacable, TObjectList)

int32_t TObjetInterfacable::QueryInterface(const TGUID& iid, void** obj) {
  *obj = GetInterfaceEntry(iid);
  return *obj ? S_OK : E_NOINTERFACE;
}

void* TObjetInterfacable::GetInterfaceEntry(const TGUID& iid) {
  return iid == IInterface::IID ? static_cast<IInterface*>(this) : nullptr;
}

int32_t TListeObjetsInterfacable::QueryInterface(const TGUID& iid, void** obj) {
  *obj = GetInterfaceEntry(iid);
  return *obj ? S_OK : E_NOINTERFACE;
}

void* TListeObjetsInterfacable::GetInterfaceEntry(const TGUID& iid) {
  return iid == IInterface::IID ? static_cast<IInterface*>(this) : nullptr;
}

void TObjectList::SetItem(int i, TObject* o) {
  TObject*& slot = items_.at(static_cast<std::size_t>(i));
  if (slot == o) return;
  TObject* old = slot;
  slot = o;
  if (owns_) delete old;
}

int TObjectList::Add(TObject* o) {
  items_.push_back(o);
  return Count() - 1;
}

void TObjectList::Insert(int i, TObject* o) {
  if (i < 0 || i > Count()) throw std::out_of_range("TObjectList::Insert");
  items_.insert(items_.begin() + i, o);
}

int TObjectList::IndexOf(const TObject* o) const {
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (items_[i] == o) return static_cast<int>(i);
  return -1;
}

void TObjectList::Delete(int i) {
  TObject* o = items_.at(static_cast<std::size_t>(i));
  items_.erase(items_.begin() + i);
  if (owns_) delete o;
}

int TObjectList::Remove(TObject* o) {
  int i = IndexOf(o);
  if (i >= 0) Delete(i);
  return i;
}

TObject* TObjectList::Extract(TObject* o) {
  int i = IndexOf(o);
  if (i < 0) return nullptr;
  items_.erase(items_.begin() + i);
  return o;
}

void TObjectList::Clear() {
  // Items are taken out before being freed, so a destructor that looks at the list sees it consistent.
  while (!items_.empty()) {
    TObject* o = items_.back();
    items_.pop_back();
    if (owns_) delete o;
  }
}
