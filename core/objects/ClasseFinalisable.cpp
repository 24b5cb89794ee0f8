#include "core/objects/ClasseFinalisable.h"

#include <algorithm>
#include <deque>
#include <memory>

namespace {
// The registration list: created by the first registration, freed by FinaliserClasses.
std::unique_ptr<std::deque<const TClasseFinalisable::Class*>>& Liste() {
  static std::unique_ptr<std::deque<const TClasseFinalisable::Class*>> list;
  return list;
}

struct TAbstractFinalisableClass final : TClasseFinalisable::Class {
  using TClasseFinalisable::Class::Class;
  void Finaliser() const override {}
};
}  // namespace

const TClasseFinalisable::Class* TClasseFinalisable::StaticClass() {
  static const TAbstractFinalisableClass descriptor("TClasseFinalisable", TObjetInterfacable::StaticClass(), nullptr);
  return &descriptor;
}

void TClasseFinalisable::Enregistrer(const Class* holder) {
  auto& list = Liste();
  if (!list) list = std::make_unique<std::deque<const Class*>>();
  if (std::find(list->begin(), list->end(), holder) == list->end()) list->push_back(holder);
}

void TClasseFinalisable::FinaliserClasses() {
  auto& list = Liste();
  if (!list) return;
  const std::size_t n = list->size();
  std::size_t calls = 0;
  while (!list->empty()) {
    const Class* holder = list->front();
    list->pop_front();
    holder->Finaliser();
    if (++calls > n + 100) break;
  }
  list.reset();
}

int TClasseFinalisable::NombreEnregistrees() {
  return Liste() ? static_cast<int>(Liste()->size()) : 0;
}

void TracerModule(const std::string&) {}

void ClasseFinalisable::Finaliser() { TClasseFinalisable::FinaliserClasses(); }
