// The error raised by an operation of the object database whose implementation does not exist yet
// (the tables, columns, bases and articles it reaches). It never answers success in their place.
#pragma once

#include <string>

#include "core/objects/Exceptions.h"

class ENotBuiltYet : public Exception {
 public:
  // Operation names what was called ("TCustomChamp.ComparerLignes").
  explicit ENotBuiltYet(const std::string& Operation) : Exception(Operation + " : not built yet") {}
};
