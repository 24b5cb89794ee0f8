#include "core/serial/FormatSerialisation.h"

namespace {
struct TAbstractFormatClass final : TCustomFormatSerialisation::Class {
  using TCustomFormatSerialisation::Class::Class;
  void Ecrire(TObject*, IInterface*) const override {}
  void Lire(TObject*, IInterface*) const override {}
  TObject* CreerEtLire(const TClass*, IInterface*) const override { return nullptr; }
};
}  // namespace

const TCustomFormatSerialisation::Class* TCustomFormatSerialisation::StaticClass() {
  static const TAbstractFormatClass descriptor("TCustomFormatSerialisation", TObjetInterfacable::StaticClass(), nullptr);
  return &descriptor;
}
