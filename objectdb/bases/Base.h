// The base: the set of tables of one database of the object database. This unit holds what the
// tables and the schema registry need of it so far: a class that bases derive from, whose class the
// registry records for the tables a base holds.
#pragma once

#include <string>

#include "core/objects/ObjetEvent.h"

class TBase : public TObjetAbonnant {
  NV_DECLARE_CLASS(TBase)
 public:
  TBase() = default;
  explicit TBase(TBlank b) : TObjetAbonnant(b) {}

  // The base's summary text: the base's tables are not built yet (ENonConstruit).
  virtual void TexteResume(std::string& Texte);
};
