// The base of the classes that hold only class methods (bit-set helpers, file and stream helpers):
// such classes are used through their static members and never created.
#pragma once

class TClasseNonInstanciable {
 public:
  TClasseNonInstanciable() = delete;
};
